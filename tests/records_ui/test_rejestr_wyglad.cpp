// How the register windows come up on the screen: the big registers take the
// whole screen even where nothing maximises a window, a small window opens
// centred, and the grids and edits are wide enough for what they hold.

#include "test_rejestr_wspolne.h"

#include "GminaTabC.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>

namespace rejestr_test {
namespace {

class Wyglad : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        dialogi.clear();
    }

    static QRect obszar() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // The column of `siatka` that shows `pole`.
    static int kolumna(kal::TDBGrid* siatka, const QString& pole)
    {
        for (int i = 0; i < siatka->ColumnCount(); ++i)
            if (siatka->Columns(i).FieldName == pole)
                return i;
        ADD_FAILURE() << "no column of " << pole.toStdString();
        return 0;
    }

    // True when the title of every column is whole in its column.
    static bool tytulyCale(kal::TDBGrid* siatka)
    {
        const QFontMetrics miara = siatka->horizontalHeader()->fontMetrics();
        bool cale = true;
        for (int i = 0; i < siatka->ColumnCount(); ++i) {
            const QString tytul = siatka->Columns(i).Title;
            if (miara.horizontalAdvance(tytul) + 8 > siatka->columnWidth(i)) {
                ADD_FAILURE() << "title cut: " << tytul.toStdString();
                cale = false;
            }
        }
        return cale;
    }
};

TEST_F(Wyglad, TheVehicleAndFuelRegistersTakeTheWholeScreenArea)
{
    QRect geometriaPojazdow;
    bool pojazdyZmaksymalizowane = false;
    przyPokazie([&](QWidget* okno) {
        geometriaPojazdow = okno->geometry();
        pojazdyZmaksymalizowane = okno->windowState() & Qt::WindowMaximized;
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
    QRect geometriaZuzycia;
    przyPokazie([&](QWidget* okno) {
        geometriaZuzycia = okno->geometry();
        zuzycie->BitBtn1->click();
    });
    zuzycie->Pokaz();

    EXPECT_TRUE(pojazdyZmaksymalizowane);
    EXPECT_EQ(geometriaPojazdow.size(), obszar().size());
    EXPECT_EQ(geometriaZuzycia.size(), obszar().size());
}

TEST_F(Wyglad, TheDensityAndCompanyWindowsOpenCentredOnTheScreen)
{
    QRect gestosc;
    przyPokazie([&](QWidget* okno) {
        gestosc = okno->frameGeometry();
        gestosci->BitBtn1->click();
    });
    gestosci->Pokaz();
    QRect dane;
    przyPokazie([&](QWidget* okno) {
        dane = okno->frameGeometry();
        firma->BitBtn2->click();
    });
    firma->Pokaz(0);

    for (const QRect& r : {gestosc, dane}) {
        EXPECT_LE(std::abs(r.center().x() - obszar().center().x()), 2);
        EXPECT_LE(std::abs(r.center().y() - obszar().center().y()), 2);
        // Neither as small as a bare window.
        EXPECT_GT(r.width(), 400);
    }
}

TEST_F(Wyglad, TheDensityWindowShowsEveryFuelNameAndTheDensityColumnWhole)
{
    QStringList nazwyUciete;
    int wiersze = 0;
    bool wszystkieKolumnyWidac = false;
    bool tytuly = false;
    przyPokazie([&](QWidget*) {
        kal::TDBGrid* g = gestosci->DBGrid1;
        const QFontMetrics miara = g->fontMetrics();
        const int nazwa = kolumna(g, QStringLiteral("NazwaPaliwa"));
        wiersze = g->model()->rowCount();
        for (int r = 0; r < wiersze; ++r) {
            const QString tekst = g->cellText(r, nazwa);
            if (miara.horizontalAdvance(tekst) + 8 > g->columnWidth(nazwa))
                nazwyUciete << tekst;
        }
        wszystkieKolumnyWidac = g->horizontalHeader()->length() <= g->viewport()->width();
        tytuly = tytulyCale(g);
        gestosci->BitBtn1->click();
    });
    gestosci->Pokaz();

    EXPECT_EQ(wiersze, 12);
    EXPECT_TRUE(nazwyUciete.isEmpty()) << nazwyUciete.join(u'|').toStdString();
    EXPECT_TRUE(wszystkieKolumnyWidac);
    EXPECT_TRUE(tytuly);
}

TEST_F(Wyglad, AFiftyCharacterCompanyNameInCapitalsFitsItsEdit)
{
    // 50 characters, the most the name holds.
    const QString nazwa = QStringLiteral("ZAKŁAD GOSPODARKI KOMUNALNEJ I MIESZKANIOWEJ SP.J.");
    ASSERT_EQ(nazwa.size(), 50);
    int wolne = -1;
    przyPokazie([&](QWidget*) {
        kal::TDBEdit* e = firma->DBEdit1;
        // The text area of a line edit: its frame and the margins inside it.
        wolne = e->contentsRect().width() - 8 - e->fontMetrics().horizontalAdvance(nazwa);
        firma->BitBtn2->click();
    });
    firma->Pokaz(0);

    EXPECT_GE(wolne, 0);
}

TEST_F(Wyglad, FuelAndVehicleGridsShowAllTheirColumnsSideBySideOnAWideScreen)
{
    // The program is made for a screen 1280 pixels wide; the grids take the
    // window's width less its margins and the row header.
    int zuzycieSzerokosc = 0;
    bool zuzycieTytuly = false;
    int iloscPaliwa = 0;
    przyPokazie([&](QWidget*) {
        zuzycieSzerokosc = zuzycie->DBGrid1->horizontalHeader()->length();
        zuzycieTytuly = tytulyCale(zuzycie->DBGrid1);
        iloscPaliwa = zuzycie->DBGrid1->columnWidth(kolumna(zuzycie->DBGrid1, QStringLiteral("IloscPaliwa")));
        zuzycie->BitBtn1->click();
    });
    zuzycie->Pokaz();
    int pojazdySzerokosc = 0;
    bool pojazdyTytuly = false;
    przyPokazie([&](QWidget*) {
        pojazdySzerokosc = pojazdy->DBGrid1->horizontalHeader()->length();
        pojazdyTytuly = tytulyCale(pojazdy->DBGrid1);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_LE(zuzycieSzerokosc, 1200);
    EXPECT_TRUE(zuzycieTytuly);
    // A quantity of 11 digits.
    EXPECT_GE(iloscPaliwa, zuzycie->DBGrid1->fontMetrics().horizontalAdvance(QStringLiteral("12345678,90")) + 8);
    EXPECT_LE(pojazdySzerokosc, 1200);
    EXPECT_TRUE(pojazdyTytuly);
}

TEST_F(Wyglad, TheVehicleTypeShowsItsWholeNameInTheVehicleRegister)
{
    pojazd(QStringLiteral("WA 12345"), QStringLiteral("Jelcz"), QStringLiteral("7"));
    QString tekst;
    int wolne = -1;
    przyPokazie([&](QWidget*) {
        kal::TDBGrid* g = pojazdy->DBGrid1;
        const int k = kolumna(g, QStringLiteral("RodzajPojazdu"));
        tekst = g->cellText(0, k);
        wolne = g->columnWidth(k) - 8 - g->fontMetrics().horizontalAdvance(tekst);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_EQ(tekst, "7 -samochód ciężarowy powyżej 3,5 Mg bez EURO");
    EXPECT_GE(wolne, 0);
}

// Every register window opens wide enough for all the columns of its grid,
// without a horizontal scroll bar, unless the columns need more than the
// whole width of the screen (then the window takes it). The test also runs on screens of 1024x768 and 1280x1024
// (KALMORA_TEST_EKRAN names the screen the run was given).
TEST_F(Wyglad, EveryRegisterWindowOpensWideEnoughForItsGridsColumns)
{
    const QByteArray ekran = qgetenv("KALMORA_TEST_EKRAN");
    if (!ekran.isEmpty()) {
        const QSize s = QGuiApplication::primaryScreen()->geometry().size();
        ASSERT_EQ(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()), QString::fromLatin1(ekran));
    }
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    TFGminaDoTabeliC gminyC;
    std::vector<Okno> okna = oknaRejestrow();
    okna.push_back({"pojazdy", [&] { return pojazdy->Pokaz(0); }, pojazdy->BitBtn1});
    okna.push_back({"gminy tabeli C", [&] { return gminyC.Pokaz(); }, gminyC.BitBtn1});
    for (const Okno& o : okna) {
        SCOPED_TRACE(o.nazwa);
        int siatek = 0;
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            // The window with its frame.
            const int szerokosc = okno->frameGeometry().width();
            EXPECT_LE(szerokosc, obszar().width());
            for (kal::TDBGrid* g : okno->findChildren<kal::TDBGrid*>()) {
                if (!g->isVisible())
                    continue;
                ++siatek;
                const int kolumny = g->horizontalHeader()->length();
                EXPECT_GT(kolumny, 0);
                // The columns, the row header, the scroll bar and the
                // margins fit the screen, or the window is narrower than it.
                if (kolumny + 80 <= obszar().width() || szerokosc < obszar().width()) {
                    EXPECT_LE(kolumny, g->viewport()->width())
                        << "window " << szerokosc << " of " << obszar().width();
                    EXPECT_FALSE(g->horizontalScrollBar()->isVisible());
                }
            }
            o.zamknij->click();
        });
        o.pokaz();
        EXPECT_EQ(siatek, 1);
    }
}

} // namespace
} // namespace rejestr_test
