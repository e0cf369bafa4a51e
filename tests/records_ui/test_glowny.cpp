// The main window on a new data directory: the launchers' checks and what
// they open, the company grid's double click, the settlement and summary
// buttons, the close question, the first activation, and Enter and the
// wheel on the window's own controls.

#include "DataDir.h"
#include "Funkcje.h"
#include "Glowny.h"
#include "Okna.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QPushButton>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <memory>
#include <utility>
#include <vector>

using kal::test::DialogCall;

namespace {

const QString kKontrola = QStringLiteral("Kontrola danych.");

class Glowny : public kal::test::DataDir {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DataDir::SetUp());
        okno = std::make_unique<TFGlowny>();
        okno->PowiazZrodla();
        // Every window the main window opens is there, and says so.
        for (const char* nazwa : {"FZalacznik1", "FTabelaD", "FGminaDoTabeliC", "FEwidencjaPojazdow", "FZuzycie",
                                  "FGestoscPakiw", "FTabelaAGmina", "FDaneFirmy", "FSamochodyDoPrzegladu"}) {
            const QString okno = QString::fromLatin1(nazwa);
            ZarejestrujOkno(okno, [this, okno](int tryb) {
                otwarte.emplace_back(okno, tryb);
                return 1;
            });
        }
        for (const char* nazwa : {"QRRozliczPolrocze", "QRZestTabC"}) {
            const QString formularz = QString::fromLatin1(nazwa);
            ZarejestrujWydruk(formularz, [this, formularz](bool podglad, const QString& tytul) {
                wydruki.push_back({formularz, podglad, tytul});
            });
        }
    }
    void TearDown() override
    {
        WyczyscRejestrOkien();
        okno.reset();
        DataDir::TearDown();
    }

    // The launchers that check the company and the period, with the window
    // each opens.
    std::vector<std::pair<QPushButton*, QString>> wyrzutnie() const
    {
        return {{okno->BitBtn1, "FZalacznik1"},     {okno->BitBtn2, "FTabelaD"},
                {okno->BitBtn3, "FGminaDoTabeliC"}, {okno->BitBtn4, "FEwidencjaPojazdow"},
                {okno->BitBtn5, "FZuzycie"},        {okno->BitBtn6, "FGestoscPakiw"},
                {okno->BitBtn11, "FTabelaAGmina"}};
    }
    static void expectBox(const DialogCall& box, const QString& tekst, const QString& podpis, kal::MsgIcon ikona)
    {
        EXPECT_EQ(box.kind, DialogCall::Message);
        EXPECT_EQ(box.text, tekst);
        EXPECT_EQ(box.caption, podpis);
        EXPECT_EQ(box.icon, ikona);
    }

    struct Wydruk {
        QString formularz;
        bool podglad;
        QString tytul;
    };

    std::unique_ptr<TFGlowny> okno;
    std::vector<std::pair<QString, int>> otwarte;
    std::vector<Wydruk> wydruki;
};

// ---------------------------------------------------------------- the window

TEST_F(Glowny, CompanyAndPeriodGridsShowTheirColumns)
{
    EXPECT_DOUBLE_EQ(ProgZera, 1e-07);
    firma(QStringLiteral("Ąbc"));
    firma(QStringLiteral("Żak"));
    ASSERT_EQ(okno->DBGrid1->model()->rowCount(), 2);
    QStringList tytuly;
    for (int i = 0; i < okno->DBGrid1->model()->columnCount(); ++i)
        tytuly << okno->DBGrid1->model()->headerData(i, Qt::Horizontal).toString();
    EXPECT_EQ(tytuly, QStringList({"Nazwa", "Nazwa cd.", "Adres", "Adres cd", "REGON", "Telefon", "Identyfikator"}));
    EXPECT_EQ(okno->DBGrid1->cellText(0, 0), "Ąbc");
    EXPECT_EQ(okno->DBGrid1->cellText(1, 0), "Żak");

    okres(2009, 2);
    ASSERT_EQ(okno->DBGrid2->model()->rowCount(), 1);
    EXPECT_EQ(okno->DBGrid2->model()->headerData(1, Qt::Horizontal).toString(), "Półrocze");
    EXPECT_EQ(okno->DBGrid2->cellText(0, 0), "2009");
    EXPECT_EQ(okno->DBGrid2->cellText(0, 1), "2");
    const QModelIndex komorka = okno->DBGrid2->model()->index(0, 1);
    EXPECT_TRUE(okno->DBGrid2->model()->data(komorka, Qt::TextAlignmentRole).toInt() & Qt::AlignHCenter);
    EXPECT_EQ(okno->DBEdit1->text(), "2009");
    EXPECT_EQ(okno->DBEdit2->text(), "2");
}

// ---------------------------------------------------------------- launchers

TEST_F(Glowny, LaunchersRefuseAnEmptyCompanyTableButTheInspectionListOpens)
{
    for (const auto& [przycisk, nazwa] : wyrzutnie()) {
        dialogi.clear();
        przycisk->click();
        ASSERT_EQ(dialogi.boxes().size(), 1u) << nazwa.toStdString();
        expectBox(dialogi.boxes()[0], "Brak danych firmy !!!", kKontrola, kal::MsgIcon::Stop);
        EXPECT_EQ(dialogi.boxes()[0].buttons, unsigned(kal::MbOk));
    }
    EXPECT_TRUE(otwarte.empty());

    dialogi.clear();
    okno->BitBtn12->click();
    EXPECT_TRUE(dialogi.boxes().empty());
    ASSERT_EQ(otwarte.size(), 1u);
    EXPECT_EQ(otwarte[0].first, "FSamochodyDoPrzegladu");
}

TEST_F(Glowny, LaunchersRefuseACompanyWithoutPeriods)
{
    firma();
    for (const auto& [przycisk, nazwa] : wyrzutnie()) {
        dialogi.clear();
        przycisk->click();
        ASSERT_EQ(dialogi.boxes().size(), 1u) << nazwa.toStdString();
        expectBox(dialogi.boxes()[0], "Brak okresów !!!", kKontrola, kal::MsgIcon::Stop);
    }
    EXPECT_TRUE(otwarte.empty());
    okno->BitBtn12->click();
    EXPECT_EQ(otwarte.size(), 1u);
}

TEST_F(Glowny, EachLauncherOpensItsOwnWindowInBrowseMode)
{
    firmaIOkres();
    for (const auto& [przycisk, nazwa] : wyrzutnie()) {
        otwarte.clear();
        przycisk->click();
        ASSERT_EQ(otwarte.size(), 1u) << nazwa.toStdString();
        EXPECT_EQ(otwarte[0].first, nazwa);
        EXPECT_EQ(otwarte[0].second, 0);
    }
    EXPECT_TRUE(dialogi.boxes().empty());
}

TEST_F(Glowny, WindowNotThereYetIsAnsweredWithAPlainBox)
{
    firmaIOkres();
    WyczyscRejestrOkien();
    okno->BitBtn2->click();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "To okno nie jest jeszcze dostępne.");
    EXPECT_EQ(dialogi.boxes()[0].caption, "System Kalmora.");
}

TEST_F(Glowny, PendingNewPeriodCountsAsAPeriodAndIsSavedBeforeTheWindowOpens)
{
    firma();
    dm->TOkres->Insert();
    dm->TOkresRok->setAsInteger(2009);
    dm->TOkresPolrocze->setAsInteger(2);
    okno->BitBtn5->click();
    EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();
    EXPECT_EQ(dm->TOkres->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TOkres->RecordCount(), 1);
    ASSERT_EQ(otwarte.size(), 1u);
    EXPECT_EQ(otwarte[0].first, "FZuzycie");
}

TEST_F(Glowny, PendingNewFirstCompanyCountsAsACompany)
{
    dm->TFirma->Insert();
    dm->TFirmaNazwa1->setAsString(QStringLiteral("Nowa"));
    okno->BitBtn1->click();
    // The company passes the first check; it has no period yet.
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, "Brak okresów !!!");
    EXPECT_TRUE(otwarte.empty());
}

TEST_F(Glowny, RefusedPeriodPostKeepsTheWindowClosed)
{
    firmaIOkres();
    dm->TOkres->Edit();
    dm->TOkresRok->setAsInteger(1999);
    okno->BitBtn4->click();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    EXPECT_EQ(dm->TOkres->State(), kal::dsEdit);
    EXPECT_TRUE(otwarte.empty());
}

// ---------------------------------------------------------------- company grid

TEST_F(Glowny, DoubleClickOnTheCompanyGridWaitsForAPendingPeriod)
{
    firmaIOkres();
    dm->TOkres->Edit();
    dm->TOkresPolrocze->setAsInteger(2);
    okno->DBGrid1DblClick();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    expectBox(dialogi.boxes()[0], "Najpierw zapisz dane o okresach !!!", kKontrola, kal::MsgIcon::Stop);
    EXPECT_TRUE(otwarte.empty());
    EXPECT_EQ(dm->TOkres->State(), kal::dsEdit);

    dm->TOkres->Post();
    dialogi.clear();
    okno->DBGrid1DblClick();
    EXPECT_TRUE(dialogi.boxes().empty());
    ASSERT_EQ(otwarte.size(), 1u);
    EXPECT_EQ(otwarte[0], std::make_pair(QStringLiteral("FDaneFirmy"), 0));
}

// ---------------------------------------------------------------- settlement

TEST_F(Glowny, SettlementAndSummaryTitlesAndPreviewFlags)
{
    firma();
    okres(2010, 2);
    okno->BitBtn7->click();
    okno->BitBtn8->click();
    okno->BitBtn9->click();
    okno->BitBtn10->click();
    EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();
    ASSERT_EQ(wydruki.size(), 4u);
    EXPECT_EQ(wydruki[0].formularz, "QRRozliczPolrocze");
    EXPECT_TRUE(wydruki[0].podglad);
    EXPECT_EQ(wydruki[0].tytul, "Rozliczenie opłat za półrocze: 2 2010 roku.");
    EXPECT_EQ(wydruki[1].formularz, "QRRozliczPolrocze");
    EXPECT_FALSE(wydruki[1].podglad);
    EXPECT_EQ(wydruki[2].formularz, "QRZestTabC");
    EXPECT_TRUE(wydruki[2].podglad);
    EXPECT_EQ(wydruki[2].tytul, "Rozliczenie zbiorcze tablic c za półrocze: 2 2010 roku.");
    EXPECT_EQ(wydruki[3].formularz, "QRZestTabC");
    EXPECT_FALSE(wydruki[3].podglad);
    // The period's statement rows were made on the way.
    EXPECT_EQ(dm->TTabelaC->RecordCount(), 1);
    EXPECT_EQ(dm->TTabelaD->RecordCount(), 1);
    EXPECT_EQ(dm->TZalacznik1->RecordCount(), 1);
    EXPECT_EQ(dm->TStawkiTabC->RecordCount(), 1);
    EXPECT_EQ(dm->TStawkiTabD->RecordCount(), 1);
}

TEST_F(Glowny, SettlementSavesAPendingPeriodFirstAndTitlesItWithTheSavedValues)
{
    firmaIOkres();
    dm->TOkres->Edit();
    dm->TOkresPolrocze->setAsInteger(2);
    okno->BitBtn8->click();
    EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();
    EXPECT_EQ(dm->TOkres->State(), kal::dsBrowse);
    ASSERT_EQ(wydruki.size(), 1u);
    EXPECT_EQ(wydruki[0].tytul, "Rozliczenie opłat za półrocze: 2 2009 roku.");
    EXPECT_EQ(dm->TTabelaD->RecordCount(), 1);
}

TEST_F(Glowny, SettlementStopsWhenThePendingPeriodCannotBeSaved)
{
    firmaIOkres();
    dm->TOkres->Edit();
    dm->TOkresPolrocze->setAsInteger(3);
    okno->BitBtn9->click();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, "Wprowadzono niewłaściwe półrocze !!!");
    EXPECT_TRUE(wydruki.empty());
    EXPECT_EQ(dm->TOkres->State(), kal::dsEdit);
    EXPECT_EQ(dm->TTabelaC->RecordCount(), 0);
}

TEST_F(Glowny, SettlementDoesNothingWhenTheStatementRowsCannotBeMade)
{
    firma();
    okno->BitBtn7->click();
    EXPECT_TRUE(wydruki.empty());
    // The statement-row routine has told the user why.
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].caption, "Otwarcie załączników do półrocza.");
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith("Nieznany błąd dopisu do tabeli C !!!"));
}

// ---------------------------------------------------------------- close

TEST_F(Glowny, CloseAsksAndYesCloses)
{
    QSignalSpy zamkniete(okno.get(), &TFGlowny::zamkniete);
    okno->show();
    dialogi.answer(kal::MbYes);
    okno->Image3Click();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    const DialogCall pytanie = dialogi.boxes()[0];
    EXPECT_EQ(pytanie.text, "Czy chcesz zakończyć pracę z programem ?");
    EXPECT_EQ(pytanie.caption, "Zakończenie programu \"Kalmora\".");
    EXPECT_EQ(pytanie.icon, kal::MsgIcon::Question);
    EXPECT_EQ(pytanie.buttons, unsigned(kal::MbYes | kal::MbNo));
    EXPECT_EQ(zamkniete.count(), 1);
    EXPECT_FALSE(okno->isVisible());
}

// Counts the clearly red pixels of the exit picture as the window shows it.
int czerwonePiksele(QWidget* w)
{
    const QImage obraz = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < obraz.height(); ++y)
        for (int x = 0; x < obraz.width(); ++x) {
            const QColor c = obraz.pixelColor(x, y);
            if (c.red() > c.green() + 80 && c.red() > c.blue() + 80)
                ++n;
        }
    return n;
}

TEST_F(Glowny, ExitPictureStaysVisibleUnderTheMouse)
{
    okno->show();
    ASSERT_GT(czerwonePiksele(okno->Image3), 0);
    okno->SpeedButton3->setAttribute(Qt::WA_UnderMouse, true);
    EXPECT_GT(czerwonePiksele(okno->Image3), 0);
}

TEST_F(Glowny, NoKeepsTheProgramWithThePendingEditsSaved)
{
    firmaIOkres();
    QSignalSpy zamkniete(okno.get(), &TFGlowny::zamkniete);
    okno->show();
    dm->TOkres->Edit();
    dm->TOkresRok->setAsInteger(2011);
    dialogi.answer(kal::MbNo);
    okno->close();
    EXPECT_EQ(dialogi.texts(), QStringList({"Czy chcesz zakończyć pracę z programem ?"}));
    EXPECT_EQ(zamkniete.count(), 0);
    EXPECT_TRUE(okno->isVisible());
    EXPECT_EQ(dm->TOkres->State(), kal::dsBrowse);
    dm->TOkres->Refresh();
    EXPECT_EQ(dm->TOkresRok->AsInteger(), 2011);
}

TEST_F(Glowny, CloseIsRefusedWhileAModalWindowIsOpenAndPostsNothing)
{
    firmaIOkres();
    dm->TOkres->Edit();
    dm->TOkresRok->setAsInteger(2012);
    QDialog modalne;
    modalne.setWindowModality(Qt::ApplicationModal);
    modalne.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &modalne);

    EXPECT_FALSE(okno->FormCloseQuery());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, "Najpierw zamknij poprawnie program \"Obsługa programu Kalmora\".");
    EXPECT_EQ(dm->TOkres->State(), kal::dsEdit);

    modalne.hide();
    dialogi.clear();
    dialogi.answer(kal::MbNo);
    EXPECT_FALSE(okno->FormCloseQuery());
    EXPECT_EQ(dialogi.texts(), QStringList({"Czy chcesz zakończyć pracę z programem ?"}));
}

TEST_F(Glowny, CloseStopsWhenThePendingCompanyCannotBeSaved)
{
    firma(QStringLiteral("Pierwsza"));
    firma(QStringLiteral("Druga"));
    // The second company renamed to the first one's name: a repeated key.
    dm->TFirma->Edit();
    dm->TFirmaNazwa1->setAsString(QStringLiteral("Pierwsza"));
    QSignalSpy zamkniete(okno.get(), &TFGlowny::zamkniete);
    okno->show();
    dialogi.clear();
    okno->close();
    // The post-error box of the data module, and no question.
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].caption, "Błąd komponentu: TFirma");
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith("Dane firmy powtarzają się !!!\nDokładna specyfikacja błędu:\n"));
    EXPECT_EQ(dm->TFirma->State(), kal::dsEdit);
    EXPECT_EQ(zamkniete.count(), 0);
    EXPECT_TRUE(okno->isVisible());
}

// ---------------------------------------------------------------- activation

TEST_F(Glowny, FirstActivationUnbindsTheHiddenWindowsGridsOnce)
{
    QWidget zuzycie;
    zuzycie.setObjectName(QStringLiteral("FZuzycie"));
    auto* siatka = new kal::TDBGrid(&zuzycie);
    siatka->setObjectName(QStringLiteral("DBGrid1"));
    siatka->setDataSource(dm->DZuzycie);
    QWidget daneFirmy; // not among the windows whose grids are unbound
    daneFirmy.setObjectName(QStringLiteral("FDaneFirmy"));
    auto* obca = new kal::TDBGrid(&daneFirmy);
    obca->setObjectName(QStringLiteral("DBGrid1"));
    obca->setDataSource(dm->DFirma);
    QWidget zalacznik;
    zalacznik.setObjectName(QStringLiteral("FZalacznik1"));
    QPixmap obraz(16, 16);
    obraz.fill(Qt::red);
    const QIcon podglad(obraz);
    obraz.fill(Qt::blue);
    const QIcon drukarka(obraz);
    auto* monitor = new QPushButton(&zalacznik);
    monitor->setObjectName(QStringLiteral("BitBDrukPrzMonitor"));
    monitor->setIcon(podglad);
    auto* doDrukarki = new QPushButton(&zalacznik);
    doDrukarki->setObjectName(QStringLiteral("BitBDrukPrzDrukarka"));
    doDrukarki->setIcon(drukarka);

    EXPECT_TRUE(okno->PierwszaAktywacja());
    okno->FormActivate();
    EXPECT_FALSE(okno->PierwszaAktywacja());
    EXPECT_EQ(siatka->DataSource(), nullptr);
    EXPECT_EQ(obca->DataSource(), dm->DFirma);
    EXPECT_EQ(okno->DBGrid1->DataSource(), dm->DFirma);
    EXPECT_EQ(okno->DBGrid2->DataSource(), dm->DOkres);
    // The annex window's pictures go onto the printout buttons.
    EXPECT_EQ(okno->BitBtn7->icon().cacheKey(), podglad.cacheKey());
    EXPECT_EQ(okno->BitBtn9->icon().cacheKey(), podglad.cacheKey());
    EXPECT_EQ(okno->BitBtn8->icon().cacheKey(), drukarka.cacheKey());
    EXPECT_EQ(okno->BitBtn10->icon().cacheKey(), drukarka.cacheKey());

    // The window binds its grid while it is shown; later activations leave it.
    siatka->setDataSource(dm->DZuzycie);
    okno->FormActivate();
    EXPECT_EQ(siatka->DataSource(), dm->DZuzycie);
    OdlaczZrodlaDanych();
    OdlaczZrodlaDanych();
    EXPECT_EQ(siatka->DataSource(), nullptr);
}

// ---------------------------------------------------------------- Enter and wheel

class GlownyKlawisze : public Glowny {
protected:
    void aktywuj()
    {
        okno->show();
        okno->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(okno.get()));
    }
    static void kolko(QWidget* cel, int delta)
    {
        QWidget* w = cel;
        if (auto* widok = qobject_cast<QAbstractScrollArea*>(cel))
            w = widok->viewport();
        const QPointF pos(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(GlownyKlawisze, EnterInThePeriodEditsMovesToTheNextField)
{
    firmaIOkres();
    aktywuj();
    okno->DBEdit1->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), okno->DBEdit1);
    QTest::keyClick(okno->DBEdit1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), okno->DBEdit2);
}

TEST_F(GlownyKlawisze, WheelOverTheCompanyGridMovesOneRecordButNotWhileEditing)
{
    firma(QStringLiteral("A"));
    firma(QStringLiteral("B"));
    firma(QStringLiteral("C"));
    dm->TFirma->First();
    aktywuj();
    okno->DBGrid1->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), okno->DBGrid1);

    kolko(okno->DBGrid1, -120); // one notch towards the user
    EXPECT_EQ(dm->TFirmaNazwa1->AsString(), "B");
    kolko(okno->DBGrid1, 120);
    EXPECT_EQ(dm->TFirmaNazwa1->AsString(), "A");

    dm->TFirma->Edit();
    dm->TFirmaTelefon->setAsString(QStringLiteral("123"));
    kolko(okno->DBGrid1, -120);
    EXPECT_EQ(dm->TFirma->State(), kal::dsEdit);
    EXPECT_EQ(dm->TFirmaNazwa1->AsString(), "A");
    EXPECT_EQ(dm->TFirmaTelefon->AsString(), "123");
    EXPECT_EQ(okno->DBGrid1->verticalScrollBar()->value(), 0);
}

} // namespace
