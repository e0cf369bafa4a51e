// The table D printout: its 32 rows in their layouts, the blank rules of
// quantities, rates and fees, the total, and the texts of a PDF.

#include "DaneWydrukow.h"

#include "FunkcjeSrodowiska.h"
#include "OplatyTabel.h"
#include "Render.h"
#include "TextMetrics.h"
#include "WydrukTabelaD.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <array>

using namespace kal::report;
using testy::Tekst;

namespace {

constexpr double Margines = 10.0;

// One printed row of table D: its text lines and, per fuel column,
// the fuel kind and the three values (fuel used, unit rate, fee).
struct Wiersz {
    int strona = -1;
    QStringList opis;
    std::vector<std::array<QString, 4>> kolumny;
};

double X(int kolumna)
{
    return Margines + TQRTabelaD::Kolumny[kolumna];
}

bool W(const Tekst& t, int kolumna)
{
    return t.x >= X(kolumna) - 0.01 && t.x < X(kolumna + 1) - 0.01;
}

// Reads row `nr` off the pages: the row starts at its number in the "Lp."
// column; its fuel columns are separated by the lines drawn across the fuel
// and value columns.
Wiersz Odczytaj(const PageModel& m, int nr)
{
    Wiersz w;
    const auto teksty = testy::Teksty(m);
    double gora = -1;
    for (const Tekst& t : teksty)
        if (W(t, 0) && t.tekst == QString::number(nr)) {
            w.strona = t.strona;
            gora = t.y - 1.0;
        }
    if (w.strona < 0)
        return w;
    // The row ends where the next row (or the total) begins.
    double dol = 1e9;
    for (const Tekst& t : teksty)
        if (t.strona == w.strona && t.y > gora + 1.5 && t.y < dol
            && (W(t, 0) || t.tekst == QStringLiteral("Wysokość opłaty ogółem [zł]")))
            dol = t.y - 1.0;
    std::vector<double> granice{gora};
    for (const auto page = m.page(w.strona); const auto& it : page->items)
        if (it.kind == PageItem::Kind::Line && std::abs(it.y1 - it.y2) < 1e-6 && std::abs(it.x1 - X(2)) < 1e-6
            && it.y1 > gora + 0.5 && it.y1 < dol)
            granice.push_back(it.y1);
    std::sort(granice.begin(), granice.end());
    granice.push_back(dol);
    for (size_t i = 0; i + 1 < granice.size(); ++i) {
        std::array<QString, 4> k;
        for (const Tekst& t : teksty) {
            if (t.strona != w.strona || t.y < granice[i] || t.y >= granice[i + 1])
                continue;
            for (int c = 2; c < 6; ++c)
                if (W(t, c))
                    k[size_t(c - 2)] += (k[size_t(c - 2)].isEmpty() ? QString() : QStringLiteral(" ")) + t.tekst;
        }
        w.kolumny.push_back(k);
    }
    for (const Tekst& t : teksty)
        if (t.strona == w.strona && W(t, 1) && t.y >= gora && t.y < dol)
            w.opis << t.tekst;
    return w;
}

struct TabelaD : ::testing::Test {
    testy::Okres okres;
    TQRTabelaD raport{okres.tabelaD.get(), okres.stawkiD.get()};

    void Dane()
    {
        testy::Okres::Wiersz(*okres.tabelaD, {{"1a", 1234.5678}, {"5", 1.5}, {"5b", 0.004}, {"32d", 2.0},
                                             {"Rezerwa1", 1.0}, {"14b", 3.0}});
        testy::Okres::Wiersz(*okres.stawkiD, {{"1a", 1000.0}, {"5", 2.0}, {"5b", 10.0}, {"5c", 7.0}, {"32d", 0.0},
                                             {"Rezerwa1", 0.5}, {"14b", 0.25}});
        OplatyD().Oblicz();
    }
};

} // namespace

TEST_F(TabelaD, RowFiveReadsCellFiveThenFiveBToFiveF)
{
    Dane();
    const auto strony = raport.prepare();
    const Wiersz w = Odczytaj(*strony, 5);
    EXPECT_EQ(w.opis, QStringList({"Silniki w samochodach osobowych zarejestrowanych po raz pierwszu po dniu",
                                   "31.12.2005 r. lub z dokumentem potwierdzającym spełnienie", "wymagań EURO 4 **"}));
    ASSERT_EQ(w.kolumny.size(), 6u);
    using K = std::array<QString, 4>;
    EXPECT_EQ(w.kolumny[0], (K{"Benzyna silnikowa 10)", "1,50", "2,00", "3,00"}));
    // 0,004 Mg is not blank; its fee 0,04 zł.
    EXPECT_EQ(w.kolumny[1], (K{"gaz płynny propan - butan", "0,00", "10,00", "0,04"}));
    // A null quantity prints blank, and so does its zero fee.
    EXPECT_EQ(w.kolumny[2], (K{"sprężony gaz ziemny(silniki fabrycznie przystosowane do zasilania gazem", "", "7,00", ""}));
    EXPECT_EQ(w.kolumny[3], (K{"sprężony gaz ziemny(silniki przebudowane", "", "", ""}));
    EXPECT_EQ(w.kolumny[4], (K{"olej napędowy", "", "", ""}));
    EXPECT_EQ(w.kolumny[5], (K{"biodiesel", "", "", ""}));
}

TEST_F(TabelaD, ThousandsAreGroupedAndAZeroRatePrintsBlank)
{
    Dane();
    const auto strony = raport.prepare();
    using K = std::array<QString, 4>;
    const Wiersz w1 = Odczytaj(*strony, 1);
    ASSERT_EQ(w1.kolumny.size(), 4u);
    EXPECT_EQ(w1.kolumny[0], (K{"Benzyna silnikowa 10)", "1 234,57", "1 000,00", "1 234 567,80"}));
    EXPECT_EQ(w1.kolumny[3], (K{"biodiesel", "", "", ""}));
    const Wiersz w32 = Odczytaj(*strony, 32);
    ASSERT_EQ(w32.kolumny.size(), 4u);
    EXPECT_EQ(w32.kolumny[3], (K{"biodiesel", "2,00", "", ""}));
    const Wiersz w14 = Odczytaj(*strony, 14);
    EXPECT_EQ(w14.opis, QStringList({"Silniki w autobusach o dpuszczalnej masie całkowitej powyżej 3,5 Mg",
                                    "zarejestrowanych po raz pierwszy do dnia 30.09.1993 r."}));
    ASSERT_EQ(w14.kolumny.size(), 2u);
    EXPECT_EQ(w14.kolumny[0], (K{"olej napędowy", "", "", ""}));
    EXPECT_EQ(w14.kolumny[1], (K{"biodiesel", "3,00", "0,25", "0,75"}));
}

TEST_F(TabelaD, TheTotalAddsEveryFeeAndTheReserves)
{
    Dane();
    const QStringList t = testy::WszystkieTeksty(*raport.prepare());
    // 1 234 567,80 + 3,00 + 0,04 + 0,75 + reserve 0,50
    const int i = int(t.indexOf(QStringLiteral("Wysokość opłaty ogółem [zł]")));
    ASSERT_GE(i, 0);
    ASSERT_LT(i + 1, t.size());
    EXPECT_EQ(t[i + 1], QStringLiteral("1 234 572,09"));
    EXPECT_EQ(t.mid(i + 2),
              QStringList({"*      W niniejszej tabeli wypełnia się tylko te pozycje, które dotyczą danego podmiotu korzystajacego ze środowiska",
                           "**     EURO 1,  EURO 2. EURO 3, EURO 4, EURO 5 - oznaczją europejskie normy emisji spalin z silników  pojazdów samochodowych( samochodów osobowych,",
                           "samochodów ciężarowych i autobusów).",
                           "***   Etap I, Etap II i etap IIIA - oznaczją europejskie normy emisji spalin z silników maszyn i urządzeń, pojazdów wolnobieżnych, ciągników rolniczych, pojazdów ",
                           "szynowych i jednostek pływających."}));
}

TEST_F(TabelaD, AllThirtyTwoRowsPrintInOrderWithTheirFuelColumns)
{
    Dane();
    const auto strony = raport.prepare();
    // Fuel columns per row, as the statutory table has them.
    const int kolumny[33] = {0, 4, 4, 4, 6, 6, 6, 4, 4, 4, 6, 6, 6, 3, 2, 3, 3, 4, 4, 4,
                             2, 2, 2, 2, 4, 4, 4, 2, 2, 2, 2, 2, 4};
    int strona = 0;
    int wszystkie = 0;
    for (int nr = 1; nr <= 32; ++nr) {
        const Wiersz w = Odczytaj(*strony, nr);
        ASSERT_GE(w.strona, strona) << "row " << nr;
        strona = w.strona;
        EXPECT_EQ(int(w.kolumny.size()), kolumny[nr]) << "row " << nr;
        EXPECT_FALSE(w.opis.isEmpty()) << "row " << nr;
        wszystkie += int(w.kolumny.size());
    }
    EXPECT_EQ(wszystkie, 117);
    const QStringList t = testy::WszystkieTeksty(*strony);
    EXPECT_EQ(t.mid(0, 2), QStringList({"TABELA D",
                                        "WPROWADZANIE GAZÓW LUB PYŁÓW DO POWIETRZA Z PROCESÓW SPALANIA W SILNIKACH SPALINOWYCH *)"}));
    EXPECT_EQ(t.count(QStringLiteral("TABELA D")), 1); // heads on the first page only
    EXPECT_EQ(strony->orientation, Orientation::Landscape);
}

TEST_F(TabelaD, MendedDatesAndOriginalWordingOfTheRows)
{
    Dane();
    const auto strony = raport.prepare();
    EXPECT_EQ(Odczytaj(*strony, 3).opis,
              QStringList({"Silniki w samochodach osobowych zarejestrowanych po raz pierwszu w okresie",
                           "01.01.1997 r. - 31.12.2000 r. lub z dokumentem potwierdzającym spełnienie",
                           "wymagań EURO 2 **"}));
    EXPECT_EQ(Odczytaj(*strony, 6).opis,
              QStringList({"Silniki w samochodach osobowych z dokumentem potwierdzającym spełnienie",
                           "wymagań EURO 5 **"}));
    const Wiersz w13 = Odczytaj(*strony, 13);
    ASSERT_EQ(w13.kolumny.size(), 3u);
    EXPECT_EQ(w13.kolumny[2][0], QStringLiteral("biodesiel"));
    const Wiersz w17 = Odczytaj(*strony, 17);
    ASSERT_EQ(w17.kolumny.size(), 4u);
    EXPECT_EQ(w17.kolumny[0][0], QStringLiteral("sprężony gaz ziemny(silniki fabrycznie przystosowane do zasilania gazem"));
    EXPECT_EQ(Odczytaj(*strony, 28).opis, QStringList({"Silniki w pojazdach szynowych wyprodukowanych do 2007 r."}));
}

TEST_F(TabelaD, APeriodWithoutFuelPrintsEmptyRowsAndAnEmptyTotal)
{
    testy::Okres::Wiersz(*okres.tabelaD, {});
    testy::Okres::Wiersz(*okres.stawkiD, {});
    OplatyD().Oblicz();
    const auto strony = raport.prepare();
    for (int nr = 1; nr <= 32; ++nr) {
        const Wiersz w = Odczytaj(*strony, nr);
        for (const auto& k : w.kolumny)
            EXPECT_TRUE(k[1].isEmpty() && k[2].isEmpty() && k[3].isEmpty()) << "row " << nr;
    }
    const QStringList t = testy::WszystkieTeksty(*strony);
    const int i = int(t.indexOf(QStringLiteral("Wysokość opłaty ogółem [zł]")));
    ASSERT_GE(i, 0);
    EXPECT_TRUE(t[i + 1].startsWith(QStringLiteral("*      W niniejszej")));
}

TEST_F(TabelaD, ASecondRunPrintsTheSamePages)
{
    Dane();
    const auto pierwszy = raport.prepare();
    EXPECT_EQ(raport.Licznik(), 34);
    const auto drugi = raport.prepare();
    EXPECT_TRUE(*pierwszy == *drugi);
}

TEST_F(TabelaD, EveryTextFitsItsBox)
{
    Dane();
    const auto strony = raport.prepare();
    for (int s = 0; s < strony->pageCount(); ++s) {
        for (const auto p = strony->page(s); const PageItem& it : p->items) {
            if (it.kind == PageItem::Kind::Text) {
                EXPECT_LE(TextMetrics::width(strony->fontOf(it), it.text), it.x2 - it.x1 + 0.01) << it.text.toStdString();
            }
        }
    }
}

TEST_F(TabelaD, ThePdfCarriesTheRowsAndTheTotal)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    Dane();
    const QString pdf = okres.katalog.file(QStringLiteral("tabelad.pdf"));
    WritePdf(*raport.prepare(), pdf);
    QProcess proces;
    proces.start(pdftotext, {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(proces.waitForFinished(60000));
    const QString tekst = QString::fromUtf8(proces.readAllStandardOutput());
    for (const char* t : {"TABELA D", "Silniki w samochodach osobowych zarejestrowanych po raz pierwszu do dnia",
                          "01.01.1997 r. - 31.12.2000 r. lub z dokumentem", "wymagań EURO 5 **",
                          "i w motorowerach", "gaz płynny propan - butan", "1 234 567,80",
                          "Wysokość opłaty ogółem [zł]", "1 234 572,09"})
        EXPECT_TRUE(tekst.contains(QString::fromUtf8(t))) << t;
}

TEST_F(TabelaD, WithoutAPeriodRowAndFeesEveryValueIsBlank)
{
    const OplatyTabelaD niepoliczone;
    raport.UstawOplaty(&niepoliczone);
    const auto strony = raport.prepare();
    int wiersze = 0;
    for (int nr = 1; nr <= 32; ++nr) {
        const Wiersz w = Odczytaj(*strony, nr);
        wiersze += w.strona >= 0;
        for (const auto& k : w.kolumny)
            EXPECT_TRUE(k[1].isEmpty() && k[2].isEmpty() && k[3].isEmpty()) << "row " << nr;
    }
    EXPECT_EQ(wiersze, 32);
    const QStringList t = testy::WszystkieTeksty(*strony);
    const int i = int(t.indexOf(QStringLiteral("Wysokość opłaty ogółem [zł]")));
    ASSERT_GE(i, 0);
    EXPECT_TRUE(t[i + 1].startsWith(QStringLiteral("*      W niniejszej")));
}
