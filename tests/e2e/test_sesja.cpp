// A whole working session in the program's own windows, as a user goes
// through it: the company, the period, two vehicles, three fuel purchases,
// then table D filled from the fuel use, its rates typed, its preview shown
// and exported as HTML, CSV and text. Every window is the real one, made by
// the program's start-up, shown on the screen and driven with key presses and
// mouse clicks; message boxes are answered and recorded. Under Xvfb (the
// CTest entry runs it there when xvfb-run exists) a screenshot of the whole
// screen is written after every step into the folder named by
// KALMORA_E2E_ZRZUTY, or "zrzuty-e2e" beside the test program.
//
// The table D figures, worked out by hand from the densities of a new data
// directory (diesel "5" 0.835 kg/l, unleaded petrol "3" 0.745 kg/l):
//  - the passenger car first registered 2007-03-15 (kind 1, no Euro class) is
//    in row 5; its diesel, 1000 l + 1400 l = 2400 l, is 2004 kg, cell "5e"
//    2.00 Mg;
//  - the delivery van first registered 1995-05-10 (kind 3) is in row 8; its
//    petrol, 600 l, is 447 kg, cell "8a" 0.45 Mg;
//  - with the rates 17.45 zł/Mg ("5e") and 32.00 zł/Mg ("8a") the fees are
//    2.00 x 17.45 = 34.90 and 0.45 x 32.00 = 14.40, together 49.30 zł, shown
//    with the decimal comma: "34,90", "14,40", "49,30".

#include "Start.h"

#include "DaneFirmy.h"
#include "EwidencjaPojazdow.h"
#include "Glowny.h"
#include "Okna.h"
#include "Reportviewer.h"
#include "TabelaC.h"
#include "TabelaD.h"
#include "Zuzycie.h"

#include "Dane.h"
#include "Schemat.h"

#include "Clock.h"
#include "TestDir.h"

#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>

namespace {

using Krok = std::function<void(QWidget*)>;

// The dialog seam of the session: a modal window is really shown (by the Qt
// seam) and the step queued for it runs inside its modal loop; message
// boxes are recorded and answered (Yes, else OK, unless an answer is queued);
// the save dialog gives the queued file and format.
class SesjaDialogi final : public kal::IDialogs {
public:
    SesjaDialogi() { kal::SetDialogs(this); }
    ~SesjaDialogi() override { kal::SetDialogs(nullptr); }

    struct Okno {
        QString tekst;
        QString naglowek;
    };
    std::vector<Okno> komunikaty;
    std::map<QString, std::deque<Krok>> kroki;
    std::deque<std::pair<QString, int>> pliki; // path, filter index (0-based)
    QStringList pokazane;                      // modal windows shown, in order

    kal::MsgButton messageBox(const QString& text, const QString& caption, unsigned buttons, kal::MsgIcon) override
    {
        komunikaty.push_back({text, caption});
        if (buttons & kal::MbYes)
            return kal::MbYes;
        return kal::MbOk;
    }
    void errorBox(const QString& text) override { komunikaty.push_back({text, kal::ApplicationTitle()}); }
    QString openFileName(kal::FileDialogRequest&) override { return {}; }
    QString saveFileName(kal::FileDialogRequest& request) override
    {
        if (pliki.empty())
            return {};
        const auto [plik, filtr] = pliki.front();
        pliki.pop_front();
        request.selectedFilter = request.filter.split(QStringLiteral(";;")).value(filtr);
        return plik;
    }
    bool printerDialog(QPrinter*, QWidget*) override { return false; }
    int execModal(QWidget* window) override
    {
        pokazane << window->objectName();
        auto it = kroki.find(window->objectName());
        if (it != kroki.end() && !it->second.empty()) {
            Krok krok = std::move(it->second.front());
            it->second.pop_front();
            QTimer::singleShot(0, window, [window, krok] {
                krok(window);
                // A step that failed half-way still ends the window's loop.
                if (window->isVisible())
                    window->hide();
            });
        } else {
            // Nothing to do in it: the user closes it at once.
            QTimer::singleShot(0, window, [window] { window->hide(); });
        }
        return m_qt.execModal(window);
    }

    QStringList teksty() const
    {
        QStringList t;
        for (const Okno& o : komunikaty)
            t << o.tekst;
        return t;
    }

private:
    kal::QtDialogs m_qt;
};

// The screen as it is now, into the screenshot folder (nothing without a
// real screen).
QString g_zrzuty;
QStringList g_zapisaneZrzuty;

void Zrzut(const QString& nazwa)
{
    QApplication::processEvents();
    QTest::qWait(150);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QScreen* ekran = QGuiApplication::primaryScreen();
    if (!ekran)
        return;
    const QPixmap obraz = ekran->grabWindow(0);
    const QString plik = QDir(g_zrzuty).filePath(nazwa + QStringLiteral(".png"));
    if (!obraz.isNull() && obraz.save(plik))
        g_zapisaneZrzuty << plik;
}

template <class T> T* Dziecko(QWidget* okno, const QString& nazwa)
{
    T* w = okno->findChild<T*>(nazwa);
    EXPECT_NE(w, nullptr) << nazwa.toStdString();
    return w;
}

// The data edit of a field in a window.
kal::TDBEdit* PoleEdycji(QWidget* okno, const QString& pole)
{
    for (kal::TDBEdit* e : okno->findChildren<kal::TDBEdit*>())
        if (e->DataField() == pole)
            return e;
    ADD_FAILURE() << "no edit of " << pole.toStdString();
    return nullptr;
}

// Clicks into the edit, selects what it shows, types the text and leaves it
// with Tab, as the user does.
void Wpisz(kal::TDBEdit* e, const QString& tekst)
{
    ASSERT_NE(e, nullptr);
    QTest::mouseClick(e, Qt::LeftButton);
    e->setFocus();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(e, tekst);
    QTest::keyClick(e, Qt::Key_Tab);
    QApplication::processEvents();
}

// Picks the list entry that begins with `poczatek` as a click in the open
// list does.
template <class C> void Wybierz(C* lista, const QString& poczatek)
{
    ASSERT_NE(lista, nullptr);
    int i = 0;
    for (; i < lista->count(); ++i)
        if (lista->itemText(i).startsWith(poczatek))
            break;
    ASSERT_LT(i, lista->count()) << poczatek.toStdString();
    lista->setFocus();
    lista->setCurrentIndex(i);
    emit lista->activated(i);
    QApplication::processEvents();
}

void Kliknij(QAbstractButton* b)
{
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString() << " " << b->text().toStdString();
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}

QString Czytaj(const QString& plik)
{
    QFile f(plik);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// What a person checks on a statement window: it lies on the screen, centred
// (or filling it), it is the active window, no scroll box needs a horizontal
// scroll bar and every text in it is whole: not cut at the right or below and
// not beyond the window's or its scroll box's right edge.
void SprawdzOkno(QWidget* okno)
{
    const QString nazwa = okno->objectName();
    const QScreen* ekran = okno->screen();
    ASSERT_NE(ekran, nullptr);
    const QRect wolne = ekran->availableGeometry();
    const QRect ramka = okno->frameGeometry();
    EXPECT_TRUE(wolne.contains(ramka)) << nazwa.toStdString();
    EXPECT_LE(std::abs(ramka.center().x() - wolne.center().x()), 1) << nazwa.toStdString();
    EXPECT_LE(std::abs(ramka.center().y() - wolne.center().y()), 1) << nazwa.toStdString();
    EXPECT_EQ(QApplication::activeWindow(), okno) << nazwa.toStdString();
    for (QScrollArea* s : okno->findChildren<QScrollArea*>())
        EXPECT_FALSE(s->horizontalScrollBar()->isVisible()) << nazwa.toStdString();
    for (QLabel* l : okno->findChildren<QLabel*>()) {
        if (!l->isVisible() || l->text().isEmpty() || l->text().startsWith(QLatin1Char('<')))
            continue;
        const std::string opis = nazwa.toStdString() + ": " + l->text().toStdString();
        if (l->wordWrap())
            EXPECT_GE(l->height(), l->heightForWidth(l->width())) << opis;
        else
            EXPECT_GE(l->width(), l->sizeHint().width()) << opis;
        auto* przewijanie = qobject_cast<QScrollArea*>(l->parentWidget() ? l->parentWidget()->parentWidget() : nullptr);
        for (QWidget* p = l->parentWidget(); p && !przewijanie; p = p->parentWidget())
            przewijanie = qobject_cast<QScrollArea*>(p);
        QWidget* granica = przewijanie ? przewijanie->viewport() : okno;
        const QPoint prawy = l->mapTo(granica, QPoint(l->width(), 0));
        EXPECT_LE(prawy.x(), granica->width()) << opis;
    }
    for (QPlainTextEdit* m : okno->findChildren<QPlainTextEdit*>()) {
        if (!m->isVisible())
            continue;
        EXPECT_FALSE(m->horizontalScrollBar()->isVisible());
        int najdluzsza = 0;
        for (const QString& linia : m->toPlainText().split(QLatin1Char('\n')))
            najdluzsza = std::max(najdluzsza, m->fontMetrics().horizontalAdvance(linia));
        EXPECT_LE(najdluzsza, m->viewport()->width()) << m->objectName().toStdString();
    }
}

// A column heading stands over its column: the centre of the column's edit
// lies under the heading.
void SprawdzNaglowek(QWidget* okno, const QString& naglowek, QWidget* kolumna)
{
    auto* n = okno->findChild<QLabel*>(naglowek);
    ASSERT_NE(n, nullptr) << naglowek.toStdString();
    ASSERT_NE(kolumna, nullptr);
    const int lewy = n->mapTo(okno, QPoint(0, 0)).x();
    const int srodek = kolumna->mapTo(okno, QPoint(kolumna->width() / 2, 0)).x();
    EXPECT_GE(srodek, lewy) << naglowek.toStdString();
    EXPECT_LE(srodek, lewy + n->width()) << naglowek.toStdString();
    EXPECT_LE(n->mapTo(okno, QPoint(0, n->height())).y(), kolumna->mapTo(okno, QPoint(0, 0)).y())
        << naglowek.toStdString();
}

class Sesja : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_zrzuty = qEnvironmentVariable("KALMORA_E2E_ZRZUTY",
                                        QCoreApplication::applicationDirPath() + QStringLiteral("/zrzuty-e2e"));
        QDir().mkpath(g_zrzuty);
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        kal::SetTodayForTests(QDate(2009, 6, 12));
        kal::SetApplicationTitle(QStringLiteral("System Kalmora."));
        // A session that hangs on a window ends it after a minute.
        straznik.setSingleShot(true);
        QObject::connect(&straznik, &QTimer::timeout, [this] {
            przerwana = true;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w != FGlowny)
                    w->hide();
        });
        straznik.start(60000);
        obiekty.Utworz();
        ASSERT_NE(FGlowny, nullptr);
        ASSERT_NE(DM, nullptr);
        // The register windows that start-up does not make yet are made here
        // the same way, so that the main window's launchers reach them.
        if (!OknoZarejestrowane(QStringLiteral("FDaneFirmy"))) {
            brakujace << QStringLiteral("FDaneFirmy");
            firmy = std::make_unique<TFDaneFirmy>();
            ZarejestrujOkno(QStringLiteral("FDaneFirmy"), [](int t) { return FDaneFirmy->Pokaz(t); });
        }
        if (!OknoZarejestrowane(QStringLiteral("FEwidencjaPojazdow"))) {
            brakujace << QStringLiteral("FEwidencjaPojazdow");
            pojazdy = std::make_unique<TFEwidencjaPojazdow>();
            ZarejestrujOkno(QStringLiteral("FEwidencjaPojazdow"), [](int t) { return FEwidencjaPojazdow->Pokaz(t); });
        }
        if (!OknoZarejestrowane(QStringLiteral("FZuzycie"))) {
            brakujace << QStringLiteral("FZuzycie");
            zuzycie = std::make_unique<TFZuzycie>();
            ZarejestrujOkno(QStringLiteral("FZuzycie"), [](int) { return FZuzycie->Pokaz(); });
        }
        FGlowny->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        straznik.stop();
        if (FGlowny)
            FGlowny->hide();
        zuzycie.reset();
        pojazdy.reset();
        firmy.reset();
        obiekty.Zwolnij();
        kal::SetTodayForTests(QDate());
        if (!brakujace.isEmpty())
            std::printf("start-up does not make: %s\n", qPrintable(brakujace.join(QStringLiteral(", "))));
        for (const QString& z : g_zapisaneZrzuty)
            std::printf("screenshot: %s\n", qPrintable(z));
        g_zapisaneZrzuty.clear();
    }

    // A vehicle typed into the register: kind, make, number, first registration.
    static void NowyPojazd(QWidget* okno, const QString& rodzaj, const QString& marka, const QString& nr,
                           const QString& rejestracja)
    {
        auto* nawigator = Dziecko<kal::TDBNavigator>(okno, QStringLiteral("DBNavigator1"));
        ASSERT_NE(nawigator, nullptr);
        Kliknij(nawigator->Button(kal::nbInsert));
        Wybierz(Dziecko<kal::TDBComboBox>(okno, QStringLiteral("DBComboBox1")), rodzaj);
        Wpisz(PoleEdycji(okno, QStringLiteral("Marka")), marka);
        Wpisz(PoleEdycji(okno, QStringLiteral("NrRejestracyjny")), nr);
        Wpisz(PoleEdycji(okno, QStringLiteral("DataPierwszejRejestracji")), rejestracja);
        Kliknij(nawigator->Button(kal::nbPost));
    }

    // A fuel purchase typed into the fuel window.
    static void NoweTankowanie(QWidget* okno, const QString& pojazd, const QString& data, const QString& paliwo,
                               const QString& litry)
    {
        auto* nawigator = Dziecko<kal::TDBNavigator>(okno, QStringLiteral("DBNavigator1"));
        ASSERT_NE(nawigator, nullptr);
        Kliknij(nawigator->Button(kal::nbInsert));
        Wybierz(Dziecko<kal::TDBLookupComboBox>(okno, QStringLiteral("DBLookupComboBox1")), pojazd);
        Wpisz(PoleEdycji(okno, QStringLiteral("DataTankowania")), data);
        Wybierz(Dziecko<kal::TDBComboBox>(okno, QStringLiteral("DBComboBox1")), paliwo);
        Wpisz(PoleEdycji(okno, QStringLiteral("IloscPaliwa")), litry);
        Kliknij(nawigator->Button(kal::nbPost));
    }

    kal::test::TestDir katalog;
    SesjaDialogi dialogi;
    QTimer straznik;
    bool przerwana = false;
    ObiektyProgramu obiekty;
    std::unique_ptr<TFDaneFirmy> firmy;
    std::unique_ptr<TFEwidencjaPojazdow> pojazdy;
    std::unique_ptr<TFZuzycie> zuzycie;
    QStringList brakujace;
};

TEST_F(Sesja, FromANewDataDirectoryToTheTableDPreviewAndItsExports)
{
    Zrzut(QStringLiteral("01_start"));

    // ---- the company: a double click on the company list opens its window
    dialogi.kroki[QStringLiteral("FDaneFirmy")].push_back([](QWidget* okno) {
        Wpisz(PoleEdycji(okno, QStringLiteral("Nazwa1")), QStringLiteral("Ruvelkon sp. z o.o."));
        Wpisz(PoleEdycji(okno, QStringLiteral("Adres1")), QStringLiteral("ul. Lipowa 7, 00-950 Warszawa"));
        Wpisz(PoleEdycji(okno, QStringLiteral("REGON")), QStringLiteral("012345678"));
        Zrzut(QStringLiteral("02_firma"));
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn1")));
    });
    QTest::mouseDClick(FGlowny->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(40, 12));
    ASSERT_FALSE(przerwana);
    ASSERT_EQ(DM->TFirma->RecordCount(), 1);
    EXPECT_EQ(DM->TFirmaNazwa1->AsString(), "Ruvelkon sp. z o.o.");

    // ---- the period, in the main window
    Kliknij(FGlowny->DBNavigator1->Button(kal::nbInsert));
    Wpisz(FGlowny->DBEdit1, QStringLiteral("2009"));
    Wpisz(FGlowny->DBEdit2, QStringLiteral("1"));
    Kliknij(FGlowny->DBNavigator1->Button(kal::nbPost));
    Zrzut(QStringLiteral("03_okres"));
    ASSERT_EQ(DM->TOkres->RecordCount(), 1);
    EXPECT_EQ(DM->TOkres->State(), kal::dsBrowse);

    // ---- two vehicles
    dialogi.kroki[QStringLiteral("FEwidencjaPojazdow")].push_back([](QWidget* okno) {
        NowyPojazd(okno, QStringLiteral("1"), QStringLiteral("Skoda Octavia"), QStringLiteral("WA 12345"),
                   QStringLiteral("2007-03-15"));
        NowyPojazd(okno, QStringLiteral("3"), QStringLiteral("Ford Transit"), QStringLiteral("WB 55501"),
                   QStringLiteral("1995-05-10"));
        Zrzut(QStringLiteral("04_pojazdy"));
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn1")));
    });
    Kliknij(FGlowny->BitBtn4);
    ASSERT_FALSE(przerwana);
    ASSERT_EQ(DM->TPojazdy->RecordCount(), 2) << dialogi.teksty().join(" | ").toStdString();

    // ---- three fuel purchases
    dialogi.kroki[QStringLiteral("FZuzycie")].push_back([](QWidget* okno) {
        NoweTankowanie(okno, QStringLiteral("Skoda"), QStringLiteral("2009-02-10"), QStringLiteral("5"),
                       QStringLiteral("1000"));
        NoweTankowanie(okno, QStringLiteral("Skoda"), QStringLiteral("2009-04-20"), QStringLiteral("5"),
                       QStringLiteral("1400"));
        NoweTankowanie(okno, QStringLiteral("Ford"), QStringLiteral("2009-03-05"), QStringLiteral("3"),
                       QStringLiteral("600"));
        Zrzut(QStringLiteral("05_zuzycie"));
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn1")));
    });
    Kliknij(FGlowny->BitBtn5);
    ASSERT_FALSE(przerwana);
    ASSERT_EQ(DM->TZuzycie->TableName(), "Zuz20091.db");
    ASSERT_EQ(DM->TZuzycie->RecordCount(), 3) << dialogi.teksty().join(" | ").toStdString();

    // ---- table D: filled from the fuel use, rates typed, preview, exports
    const QString html = katalog.file(QStringLiteral("tabela_d.htm"));
    const QString csv = katalog.file(QStringLiteral("tabela_d.csv"));
    const QString txt = katalog.file(QStringLiteral("tabela_d.txt"));
    dialogi.pliki = {{html, 1}, {csv, 2}, {txt, 3}};
    QString etykieta5e, etykieta8a;
    dialogi.kroki[QStringLiteral("QuickReportViewer")].push_back([](QWidget* okno) {
        Zrzut(QStringLiteral("08_podglad"));
        Kliknij(Dziecko<QToolButton>(okno, QStringLiteral("Next")));
        Zrzut(QStringLiteral("08b_podglad_strona_2"));
        Kliknij(Dziecko<QToolButton>(okno, QStringLiteral("Last")));
        Zrzut(QStringLiteral("08c_podglad_ostatnia_strona"));
        auto* zapisz = Dziecko<QToolButton>(okno, QStringLiteral("SaveReport"));
        for (int i = 0; i < 3; ++i)
            Kliknij(zapisz);
        Kliknij(Dziecko<QToolButton>(okno, QStringLiteral("Exit")));
    });
    dialogi.kroki[QStringLiteral("FTabelaD")].push_back([&](QWidget* okno) {
        auto* d = static_cast<TFTabelaD*>(okno);
        Zrzut(QStringLiteral("06_tabela_d"));
        Kliknij(d->BitBtn2);
        Wpisz(d->EdycjaStawki(QStringLiteral("5e")), QStringLiteral("17,45"));
        Wpisz(d->EdycjaStawki(QStringLiteral("8a")), QStringLiteral("32"));
        d->ScrollBox1->ensureWidgetVisible(d->EdycjaStawki(QStringLiteral("5e")));
        Zrzut(QStringLiteral("07_tabela_d_wyliczona"));
        etykieta5e = d->Etykieta(QStringLiteral("5e"))->text();
        etykieta8a = d->Etykieta(QStringLiteral("8a"))->text();
        Kliknij(d->BitBDrukPrzMonitor);
        Kliknij(d->BitBtn1);
    });
    Kliknij(FGlowny->BitBtn2);
    ASSERT_FALSE(przerwana);
    Zrzut(QStringLiteral("09_koniec"));

    // What the window showed and what was stored.
    EXPECT_EQ(dialogi.pokazane.mid(3), QStringList({"FTabelaD", "QuickReportViewer"}));
    EXPECT_EQ(etykieta5e.trimmed(), "34,90");
    EXPECT_EQ(etykieta8a.trimmed(), "14,40");
    EXPECT_DOUBLE_EQ(DM->TTabelaDBDEDesigner5e->AsFloat(), 2.00);
    EXPECT_DOUBLE_EQ(DM->TTabelaDBDEDesigner8a->AsFloat(), 0.45);
    EXPECT_DOUBLE_EQ(DM->TStawkiTabDBDEDesigner5e->AsFloat(), 17.45);
    EXPECT_DOUBLE_EQ(DM->TStawkiTabDBDEDesigner8a->AsFloat(), 32.0);
    EXPECT_EQ(DM->TTabelaD->State(), kal::dsBrowse);

    // The three exports carry the figures and the total.
    const QString tekst = Czytaj(txt);
    const QString tabela = Czytaj(csv);
    const QString strona = Czytaj(html);
    for (const QString& plik : {html, csv, txt}) {
        const QString kopia = QDir(g_zrzuty).filePath(QFileInfo(plik).fileName());
        QFile::remove(kopia);
        QFile::copy(plik, kopia);
    }
    ASSERT_FALSE(tekst.isEmpty());
    ASSERT_FALSE(tabela.isEmpty());
    ASSERT_FALSE(strona.isEmpty());
    // The total line of the report, as the CSV and the text carry it; in the
    // CSV each figure stands in the column of its heading.
    EXPECT_TRUE(tabela.contains(QStringLiteral("\r\nWysokość opłaty ogółem [zł],,,,,\"49,30\"\r\n")))
        << tabela.right(600).toStdString();
    EXPECT_TRUE(tabela.contains(QStringLiteral("\r\n,,olej napędowy,\"2,00\",\"17,45\",\"34,90\"\r\n")));
    bool razem = false;
    for (const QString& linia : tekst.split(QLatin1Char('\n')))
        if (linia.contains(QStringLiteral("Wysokość opłaty ogółem [zł]")))
            razem = linia.simplified().endsWith(QStringLiteral("[zł] 49,30"));
    EXPECT_TRUE(razem) << tekst.right(600).toStdString();
    for (const QString* s : {&tekst, &tabela, &strona}) {
        EXPECT_TRUE(s->contains(QStringLiteral("49,30"))) << s->left(4000).toStdString();
        EXPECT_TRUE(s->contains(QStringLiteral("34,90")));
        EXPECT_TRUE(s->contains(QStringLiteral("14,40")));
    }
    std::printf("boxes: %s\n", qPrintable(dialogi.teksty().join(QStringLiteral(" | "))));
}


TEST_F(Sesja, StatementWindowsAreReadableCentredAndOnTop)
{
    // The sizes are those of a real screen, not of the offscreen stand-in.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs a real screen";
    dialogi.kroki[QStringLiteral("FDaneFirmy")].push_back([](QWidget* okno) {
        Wpisz(PoleEdycji(okno, QStringLiteral("Nazwa1")), QStringLiteral("Ruvelkon sp. z o.o."));
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn1")));
    });
    QTest::mouseDClick(FGlowny->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(40, 12));
    Kliknij(FGlowny->DBNavigator1->Button(kal::nbInsert));
    Wpisz(FGlowny->DBEdit1, QStringLiteral("2009"));
    Wpisz(FGlowny->DBEdit2, QStringLiteral("1"));
    Kliknij(FGlowny->DBNavigator1->Button(kal::nbPost));
    ASSERT_EQ(DM->TOkres->RecordCount(), 1);

    // The annex, maximised.
    dialogi.kroki[QStringLiteral("FZalacznik1")].push_back([](QWidget* okno) {
        Zrzut(QStringLiteral("10_zalacznik1"));
        SprawdzOkno(okno);
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn1")));
    });
    Kliknij(FGlowny->BitBtn1);

    // The communes of table C (centred), then table C itself (maximised) on top of them.
    dialogi.kroki[QStringLiteral("FTabelaC")].push_back([](QWidget* okno) {
        auto* c = static_cast<TFTabelaC*>(okno);
        Zrzut(QStringLiteral("12_tabela_c"));
        SprawdzOkno(okno);
        SprawdzNaglowek(okno, QStringLiteral("LabelNaglowek1"), c->EdycjaLiczbyKotlow(QStringLiteral("I1")));
        SprawdzNaglowek(okno, QStringLiteral("LabelNaglowek2"), c->EdycjaIlosci(QStringLiteral("I1")));
        SprawdzNaglowek(okno, QStringLiteral("LabelNaglowek3"), c->EdycjaStawki(QStringLiteral("I1")));
        SprawdzNaglowek(okno, QStringLiteral("LabelNaglowek4"), c->Etykieta(QStringLiteral("I1")));
        Kliknij(c->BitBtn2);
        Kliknij(c->BitBtn1);
    });
    // "Zużycie" of table C: the boiler use of the commune, centred over table C.
    dialogi.kroki[QStringLiteral("FZuzycieKotla")].push_back([](QWidget* okno) {
        Zrzut(QStringLiteral("12b_zuzycie_kotlow"));
        SprawdzOkno(okno);
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn1")));
    });
    dialogi.kroki[QStringLiteral("FGminaDoTabeliC")].push_back([](QWidget* okno) {
        Zrzut(QStringLiteral("11_gminy_tabeli_c"));
        SprawdzOkno(okno);
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn3")));
        Kliknij(Dziecko<QPushButton>(okno, QStringLiteral("BitBtn1")));
    });
    Kliknij(FGlowny->BitBtn3);

    // Table D, maximised, its headings over its columns.
    dialogi.kroki[QStringLiteral("FTabelaD")].push_back([](QWidget* okno) {
        auto* d = static_cast<TFTabelaD*>(okno);
        Zrzut(QStringLiteral("13_tabela_d"));
        SprawdzOkno(okno);
        SprawdzNaglowek(okno, QStringLiteral("LabelIlosc"), d->EdycjaIlosci(QStringLiteral("1a")));
        SprawdzNaglowek(okno, QStringLiteral("LabelStawka"), d->EdycjaStawki(QStringLiteral("1a")));
        SprawdzNaglowek(okno, QStringLiteral("LabelOplata"), d->Etykieta(QStringLiteral("1a")));
        Kliknij(d->BitBtn1);
    });
    Kliknij(FGlowny->BitBtn2);
    ASSERT_FALSE(przerwana);
    EXPECT_EQ(dialogi.pokazane.mid(1), QStringList({"FZalacznik1", "FGminaDoTabeliC", "FTabelaC", "FZuzycieKotla", "FTabelaD"}));
}

} // namespace
