// The table D window: its lines, the labels following typed values, the
// computation from the half-year's fuel use, and what is left behind when
// something fails.

#include "OknaTestowe.h"

#include "DaneSrodowiska.h"
#include "KomorkiTabel.h"
#include "WydrukTabelaD.h"

#include "platform/core/Exceptions.h"

#include <QFile>
#include <QPushButton>
#include <QTextEdit>

using namespace okna_test;

namespace {

const QString kBenzyna = QStringLiteral("benzyna silnikowa 10)");
const QString kGazFabryczny =
    QStringLiteral("sprężony gaz ziemny (silniki fabrycznie przystosowane do zasilania gazem), w tym biometan");
const QString kGazPrzebudowany = QStringLiteral("sprężony gaz ziemny (silniki przebudowane), w tym biometan");

class TabelaD : public Okna {
protected:
    int Pojazd(const char* rodzaj, const char* nr, QDate rejestracja)
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(QString::fromLatin1(rodzaj));
        dm->TPojazdyNrRejestracyjny->setAsString(QString::fromLatin1(nr));
        dm->TPojazdyDataPierwszejRejestracji->setAsDateTime(rejestracja);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }
    void Tankowanie(int pojazd, const char* paliwo, double litry)
    {
        dm->TZuzycie->Insert();
        dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(pojazd);
        dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 3, 2));
        dm->TZuzycieRodzajPaliwa->setAsString(QString::fromLatin1(paliwo));
        dm->TZuzycieIloscPaliwa->setAsFloat(litry);
        dm->TZuzycie->Post();
    }
    QString Etykieta(const char* kod) const { return tabelaD->Etykieta(QString::fromLatin1(kod))->text(); }
};

// The fee engine's data with a half-year file that cannot be read.
class ZepsutyOdczyt final : public IDaneSrodowiska {
public:
    explicit ZepsutyOdczyt(IDaneSrodowiska& prawdziwe) : m_p(prawdziwe) { UstawDaneSrodowiska(this); }
    ~ZepsutyOdczyt() override { UstawDaneSrodowiska(nullptr); }
    std::vector<WierszGestosci> WierszeGestosci() override { return m_p.WierszeGestosci(); }
    bool UstawZbiorZuzycia() override { throw kal::Exception(QStringLiteral("Nie można odczytać zbioru zużycia.")); }
    void Pojazdy(const std::function<void(int, const DanePojazdu&)>& wez) override { m_p.Pojazdy(wez); }
    void ZapisyZuzycia(const std::function<void(const ZapisZuzycia&)>& wez) override { m_p.ZapisyZuzycia(wez); }
    void ZapiszTabeleD(const WartosciTabeliD& w) override { m_p.ZapiszTabeleD(w); }
    int TagTabeliC() override { return m_p.TagTabeliC(); }
    int TagTabeliD() override { return m_p.TagTabeliD(); }
    WartosciTabeliC IlosciTabeliC() override { return m_p.IlosciTabeliC(); }
    WartosciTabeliC StawkiTabeliC() override { return m_p.StawkiTabeliC(); }
    WartosciTabeliD IlosciTabeliD() override { return m_p.IlosciTabeliD(); }
    WartosciTabeliD StawkiTabeliD() override { return m_p.StawkiTabeliD(); }

private:
    IDaneSrodowiska& m_p;
};

} // namespace

TEST(OknoTabeliD, LinesFollowTheCellsOfTheTable)
{
    int komorki = 0;
    for (const WierszOknaTabeliD& w : WierszeOknaTabeliD())
        for (const KomorkaOknaTabeliD& k : w.komorki)
            EXPECT_EQ(k.kod, PolaTabeliD()[size_t(komorki++)]);
    EXPECT_EQ(komorki, 117);
    const auto& w = WierszeOknaTabeliD();
    ASSERT_EQ(w.size(), 32u);
    EXPECT_EQ(w[4].komorki[0].kod, QStringLiteral("5"));
    EXPECT_EQ(w[4].komorki[0].paliwo, kBenzyna);
    EXPECT_EQ(w[4].komorki[4].paliwo, QStringLiteral("olej napędowy"));
    EXPECT_EQ(w[14].komorki[0].paliwo, kGazPrzebudowany);  // 15a
    EXPECT_EQ(w[16].komorki[0].paliwo, kGazFabryczny);     // 17a
    EXPECT_EQ(w[13].komorki[1].paliwo, QStringLiteral("biodiesel")); // 14b
    EXPECT_EQ(w[31].komorki[1].paliwo, QStringLiteral("gaz płynny propan - butan")); // 32b
    EXPECT_EQ(w[0].opis, (QStringList{QStringLiteral("1. Silniki w samochodach osobowych zarejestrowanych po raz"),
                                      QStringLiteral("pierwszy  do dnia  31.12.1992 r.")}));
    EXPECT_EQ(w[5].opis.last(), QStringLiteral("potwirdzającym spełnienie wymagań EURO 5 **"));
    EXPECT_EQ(w[9].opis.first(), QStringLiteral("10. Silniki w samochodach o dopuszczalnej masie"));
    EXPECT_EQ(w[9].opis.last(), QStringLiteral("EURO 3 **"));
    EXPECT_EQ(w[27].opis, QStringList{QStringLiteral("28. Silniki w pojazdach szynowych wyprodukowanych do 2007 r.")});
}

TEST_F(TabelaD, OpensWithTheFeesOfTheStoredRowsAndFollowsTypedValues)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Zapisz(dm->TTabelaD, "5e", 1234.5);
    Zapisz(dm->TStawkiTabD, "5e", 2.0);
    Zapisz(dm->TTabelaD, "32d", 0.5);
    Zapisz(dm->TStawkiTabD, "32d", 3.0);

    QString podpis, przedWpisaniem5e, przedWpisaniem32d, pusta;
    dialogi.onModal = [&](QWidget* w) {
        EXPECT_EQ(w, tabelaD.get());
        EXPECT_EQ(dm->TTabelaD->Tag(), 1);
        podpis = w->windowTitle();
        przedWpisaniem5e = Etykieta("5e");
        przedWpisaniem32d = Etykieta("32d");
        pusta = Etykieta("1a");

        Wpisz(tabelaD->EdycjaIlosci(QStringLiteral("1a")), QStringLiteral("1 000,5"));
        EXPECT_EQ(Etykieta("1a"), QStringLiteral("0,00"));
        Wpisz(tabelaD->EdycjaStawki(QStringLiteral("1a")), QStringLiteral("2"));
        EXPECT_EQ(Etykieta("1a"), QStringLiteral("2 001,00"));
        // A negative rate is stored as 0 and its fee shows the formatted zero.
        Wpisz(tabelaD->EdycjaStawki(QStringLiteral("5e")), QStringLiteral("-4"));
        EXPECT_EQ(StawkaD("5e")->AsFloat(), 0.0);
        EXPECT_EQ(Etykieta("5e"), QStringLiteral("0,00"));
        return int(TOknoRejestru::mrCancel);
    };
    EXPECT_EQ(tabelaD->Pokaz(), TOknoRejestru::mrCancel);

    EXPECT_EQ(podpis, QStringLiteral("TABELA D za półroczerr: 1 2009 roku."));
    EXPECT_EQ(przedWpisaniem5e, QStringLiteral("2 469,00"));
    EXPECT_EQ(przedWpisaniem32d, QStringLiteral("1,50"));
    EXPECT_EQ(pusta, QStringLiteral("0,00"));
    // Closed: the switch is off and the typed values are posted.
    EXPECT_EQ(dm->TTabelaD->Tag(), 0);
    EXPECT_EQ(dm->TTabelaD->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TStawkiTabD->State(), kal::dsBrowse);
    dm->TTabelaD->Refresh();
    EXPECT_DOUBLE_EQ(PoleD("1a")->AsFloat(), 1000.5);
    // Typing with the window closed recomputes nothing.
    dm->TStawkiTabD->Edit();
    StawkaD("1a")->setText(QStringLiteral("3"));
    EXPECT_EQ(Etykieta("1a"), QStringLiteral("2 001,00"));
    dm->TStawkiTabD->Cancel();
}

TEST_F(TabelaD, RefusedPeriodStopsTheComputationWithItsRule)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Zapisz(dm->TTabelaD, "5", 3.0);
    // The period is being edited with a half-year the rules refuse.
    dm->TOkres->Edit();
    dm->TOkresPolrocze->setAsInteger(3);
    dialogi.clear();
    tabelaD->BitBtn2->click();
    // The rule first, then the fuel read's own two boxes; the row keeps its values.
    ASSERT_EQ(dialogi.boxes().size(), 3u);
    EXPECT_EQ(dialogi.boxes()[0].kind, kal::test::DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, QStringLiteral("Wprowadzono niewłaściwe półrocze !!!"));
    EXPECT_EQ(dialogi.boxes()[1].text, QStringLiteral("Bład otwarcia zbioru półrocznego na zużycie paliwa !!!"));
    EXPECT_EQ(dialogi.boxes()[1].caption, QStringLiteral("Kontrola wprowadzania zużycia paliw."));
    EXPECT_EQ(dialogi.boxes()[2].text, QStringLiteral("Błąd czytania danych półrocza !!!"));
    EXPECT_EQ(dialogi.boxes()[2].caption, QStringLiteral("Kontrola operacji."));
    EXPECT_EQ(dm->TTabelaD->State(), kal::dsBrowse);
    EXPECT_DOUBLE_EQ(PoleD("5")->AsFloat(), 3.0);
    EXPECT_EQ(dm->TZuzycie->TableName(), QStringLiteral("Zuzycie.DB"));
    dm->TOkres->Cancel();
}

TEST_F(TabelaD, DamagedHalfYearFileIsToldWithItsNameAndCause)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    QFile zepsuty(katalog.file("Zuz20091.db"));
    ASSERT_TRUE(zepsuty.open(QIODevice::WriteOnly));
    zepsuty.write(QByteArray("SQLite format 3", 16) + QByteArray(4080, 'x'));
    zepsuty.close();
    dialogi.clear();
    tabelaD->BitBtn2->click();
    EXPECT_EQ(dialogi.texts(), QStringList({"Bład otwarcia zbioru półrocznego na zużycie paliwa !!!\n"
                                            "Zbiór danych Zuz20091.db jest uszkodzony. Odtwórz go z kopii zapasowej.",
                                            "Błąd czytania danych półrocza !!!"}));
}

TEST_F(TabelaD, ComputesTheRowFromTheHalfYearsFuelUse)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    const int osobowy = Pojazd("1", "WX 12345", QDate(2006, 5, 1)); // row 5
    const int autobus = Pojazd("8", "WX 777", QDate(1993, 9, 30));  // row 14
    Tankowanie(osobowy, "1", 700.0);
    Tankowanie(osobowy, "3", 500.0); // petrol: 1200 l x 0.745 = 894 kg
    Tankowanie(autobus, "5", 2000.0); // diesel: 2000 l x 0.835 = 1670 kg
    Zapisz(dm->TTabelaD, "1a", 7.0);   // overwritten by the computation
    Zapisz(dm->TStawkiTabD, "5", 100.0);
    Zapisz(dm->TStawkiTabD, "14a", 300.0);
    Zapisz(dm->TStawkiTabD, "1a", 10.0);

    dialogi.onModal = [&](QWidget*) {
        EXPECT_EQ(Etykieta("1a"), QStringLiteral("70,00"));
        tabelaD->BitBtn2->click();
        EXPECT_TRUE(dialogi.boxes().empty());
        EXPECT_EQ(dm->TTabelaD->State(), kal::dsEdit);
        EXPECT_DOUBLE_EQ(PoleD("5")->AsFloat(), 0.89);
        EXPECT_DOUBLE_EQ(PoleD("14a")->AsFloat(), 1.67);
        EXPECT_EQ(PoleD("1a")->AsFloat(), 0.0);
        EXPECT_EQ(Etykieta("5"), QStringLiteral("89,00"));
        EXPECT_EQ(Etykieta("14a"), QStringLiteral("501,00"));
        EXPECT_EQ(Etykieta("1a"), QStringLiteral("0,00"));
        EXPECT_TRUE(tabelaD->BitBtn2->isEnabled());
        EXPECT_TRUE(tabelaD->LabelNaliczanie->isHidden());
        return int(TOknoRejestru::mrCancel);
    };
    tabelaD->Pokaz();
    // Posted when the window closed.
    EXPECT_EQ(dm->TTabelaD->State(), kal::dsBrowse);
    dm->TTabelaD->Refresh();
    EXPECT_DOUBLE_EQ(PoleD("14a")->AsFloat(), 1.67);
}

TEST_F(TabelaD, BusyLabelAndButtonComeBackWhenTheComputationFails)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Zapisz(dm->TTabelaD, "2a", 3.0);
    Zapisz(dm->TStawkiTabD, "2a", 5.0);
    EXPECT_EQ(tabelaD->LabelNaliczanie->text(), QStringLiteral("Trwa naliczanie, proszę czekać !!!"));
    EXPECT_EQ(tabelaD->BitBtn2->text(), QStringLiteral("Wylicz według zużycia"));
    dialogi.onModal = [&](QWidget*) {
        ZepsutyOdczyt zepsuty(DaneSrodowiska());
        // A stale label: the row changes behind the window's back.
        tabelaD->Etykieta(QStringLiteral("2a"))->setText(QStringLiteral("stare"));
        tabelaD->BitBtn2->click();
        EXPECT_EQ(dialogi.texts(), QStringList{QStringLiteral("Nie można odczytać zbioru zużycia.")});
        EXPECT_TRUE(tabelaD->BitBtn2->isEnabled());
        EXPECT_TRUE(tabelaD->LabelNaliczanie->isHidden());
        EXPECT_EQ(Etykieta("2a"), QStringLiteral("15,00"));
        return int(TOknoRejestru::mrCancel);
    };
    tabelaD->Pokaz();
}

TEST_F(TabelaD, SwitchIsOffAfterAShowThatFails)
{
    dialogi.onModal = [&](QWidget*) -> int {
        EXPECT_EQ(dm->TTabelaD->Tag(), 1);
        throw kal::Exception(QStringLiteral("Błąd okna."));
    };
    EXPECT_THROW(tabelaD->Pokaz(), kal::Exception);
    EXPECT_EQ(dm->TTabelaD->Tag(), 0);
}

TEST_F(TabelaD, AFailedPostKeepsTheWindowOpenAndNothingInEditState)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    auto przedZapisem = dm->TTabelaD->BeforePost;
    bool odmowa = true;
    dm->TTabelaD->BeforePost = [&](kal::TTable& t) {
        if (odmowa)
            throw kal::Exception(QStringLiteral("Zapis odrzucony."));
        if (przedZapisem)
            przedZapisem(t);
    };
    bool zamknietoZaPierwszym = true;
    dialogi.onModal = [&](QWidget* w) {
        Wpisz(tabelaD->EdycjaIlosci(QStringLiteral("3b")), QStringLiteral("4"));
        zamknietoZaPierwszym = w->close();
        EXPECT_EQ(dialogi.texts(), QStringList{QStringLiteral("Zapis odrzucony.")});
        EXPECT_EQ(dm->TTabelaD->State(), kal::dsEdit);
        odmowa = false;
        EXPECT_TRUE(w->close());
        EXPECT_EQ(dm->TTabelaD->State(), kal::dsBrowse);
        return kal::ModalResult(w);
    };
    EXPECT_EQ(tabelaD->Pokaz(), TOknoRejestru::mrCancel);
    EXPECT_FALSE(zamknietoZaPierwszym);
    dm->TTabelaD->Refresh();
    EXPECT_EQ(PoleD("3b")->AsFloat(), 4.0);
    dm->TTabelaD->BeforePost = przedZapisem;
}

TEST_F(TabelaD, PrintsAndPreviewsWithTheTitleAfterPosting)
{
    dialogi.answerPrinter(true);
    dialogi.onModal = [&](QWidget*) {
        Wpisz(tabelaD->EdycjaIlosci(QStringLiteral("4c")), QStringLiteral("2"));
        tabelaD->BitBDrukPrzMonitor->click();
        EXPECT_EQ(dm->TTabelaD->State(), kal::dsBrowse);
        Wpisz(tabelaD->EdycjaStawki(QStringLiteral("4c")), QStringLiteral("3"));
        tabelaD->BitBDrukPrzDrukarka->click();
        EXPECT_EQ(dm->TStawkiTabD->State(), kal::dsBrowse);
        return int(TOknoRejestru::mrCancel);
    };
    tabelaD->Pokaz();
    EXPECT_EQ(podglad.tytuly, QStringList{QStringLiteral("Wydruk Tabeli D za półrocze: 1 2009 roku.")});
    ASSERT_EQ(podglad.raporty.size(), 1u);
    EXPECT_EQ(podglad.raporty[0], static_cast<kal::report::Report*>(QRTabelaD));
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk Tabeli D za półrocze: 1 2009 roku."));
    // The preview shows no printer dialog, the print one.
    int dialogiDrukarki = 0;
    for (const auto& c : dialogi.calls())
        dialogiDrukarki += c.kind == kal::test::DialogCall::Printer;
    EXPECT_EQ(dialogiDrukarki, 1);
}

TEST_F(TabelaD, EnterHandsTheTypedValueOverAndMovesOn)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Zapisz(dm->TStawkiTabD, "1b", 4.0);
    QWidget* poEnterze = nullptr;
    QString etykieta;
    dialogi.onModal = [&](QWidget* w) {
        w->show();
        w->activateWindow();
        QApplication::setActiveWindow(w);
        kal::TDBEdit* e = tabelaD->EdycjaIlosci(QStringLiteral("1b"));
        e->setFocus();
        e->selectAll();
        for (QChar c : QStringLiteral("2,5")) {
            QKeyEvent k(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &k);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(e, &enter);
        poEnterze = QApplication::focusWidget();
        etykieta = Etykieta("1b");
        w->close();
        return kal::ModalResult(w);
    };
    tabelaD->Pokaz();
    EXPECT_EQ(poEnterze, tabelaD->EdycjaStawki(QStringLiteral("1b")));
    EXPECT_EQ(etykieta, QStringLiteral("10,00"));
    EXPECT_DOUBLE_EQ(PoleD("1b")->AsFloat(), 2.5);
}
