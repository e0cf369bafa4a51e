// The table C printout of one commune and the table C commune summary.

#include "DaneWydrukow.h"

#include "FunkcjeSrodowiska.h"
#include "OplatyTabel.h"
#include "PdfTools.h"
#include "Render.h"
#include "TextMetrics.h"
#include "WydrukTabelaC.h"
#include "WydrukZestTabC.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kal::report;

namespace {

QStringList Linia(const PageModel& m, const QString& opis, int ktory = 0)
{
    return testy::TekstyLinii(testy::Linia(m, opis, TQRTabelaC::Kolumny, 6, 1, ktory));
}

struct TabelaC : ::testing::Test {
    testy::Okres okres;
    TQRTabelaC raport{okres.tabelaC.get(), okres.stawkiC.get()};

    void Dane()
    {
        testy::Okres::Wiersz(*okres.tabelaC,
                             {{"LKI1", 2}, {"I1", 10.5}, {"LKI2", 0}, {"I2", 0}, {"LKI3", 0}, {"I3", 0}, {"III", 0.00000005},
                              {"LKV1a", 1}, {"V1a", 1234.5}, {"Rezerwa1", 2}},
                             QStringLiteral("Kórnik"));
        testy::Okres::Wiersz(*okres.stawkiC,
                             {{"I1", 3.2}, {"I2", 5}, {"I3", 0}, {"III", 1}, {"V1a", 0.125}, {"Rezerwa1", 1}});
        OplatyC().Oblicz();
    }
};

} // namespace

TEST_F(TabelaC, PositionsPrintCountQuantityRateAndFee)
{
    Dane();
    const auto strony = raport.prepare();
    ASSERT_EQ(strony->pageCount(), 1);
    EXPECT_EQ(Linia(*strony, QStringLiteral("Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,")),
              QStringList({"1", "Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,",
                           "2", "10,50", "3,20", "33,60"}));
    EXPECT_EQ(Linia(*strony, QStringLiteral("Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,"), 1),
              QStringList({"1a", "Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,", "", "", "", ""}));
    // Rates keep their own decimals; thousands are grouped.
    EXPECT_EQ(Linia(*strony, QStringLiteral("Gaz ziemny wysokometanowy, nominalna moc cieplna <= 1,4 MW")),
              QStringList({"1a", "Gaz ziemny wysokometanowy, nominalna moc cieplna <= 1,4 MW", "1", "1 234,50", "0,125",
                           "154,31"}));
}

TEST_F(TabelaC, ZeroCountsQuantitiesRatesAndFeesPrintBlank)
{
    Dane();
    const auto strony = raport.prepare();
    EXPECT_EQ(Linia(*strony, QStringLiteral("Kocioł z rusztem mechanicznym, bez urządzenia odpylającego")),
              QStringList({"2", "Kocioł z rusztem mechanicznym, bez urządzenia odpylającego", "", "", "5,00", ""}));
    EXPECT_EQ(Linia(*strony, QStringLiteral("Kocioł z rusztem stałym i ciągiem naturalnym")).mid(2),
              QStringList({"", "", "", ""}));
    // A quantity below one ten-millionth is zero too.
    EXPECT_EQ(Linia(*strony, QStringLiteral("Kotły opalane drewnem")),
              QStringList({"III", "Kotły opalane drewnem", "", "", "1,00", ""}));
}

TEST_F(TabelaC, TheTotalIncludesTheReservesAndTheCommuneIsNamed)
{
    Dane();
    const auto strony = raport.prepare();
    const QStringList t = testy::WszystkieTeksty(*strony);
    // 33,60 + 154,31 + reserve 2,00
    const int i = int(t.indexOf(QStringLiteral("Wysokość opłat ogółem [zł]")));
    ASSERT_GE(i, 0);
    EXPECT_EQ(t[i + 1], QStringLiteral("189,91"));
    EXPECT_TRUE(t.contains(QStringLiteral(" Gmina: Kórnik")));
    EXPECT_EQ(t.first(), QStringLiteral("TABELA C"));
    EXPECT_EQ(t.last(), QStringLiteral("*) Niniejszą tabelę wypełnia się oddzielnie dla każdej gminy. W tabeli wypełnia się "
                                       "tylko te pozycje, które dotyczą danego podmiotu korzystajacego ze środowiska."));
    EXPECT_FALSE(t.join(QLatin1Char('|')).contains(QStringLiteral("mł")));
}

// The statutory units: fuel in Mg or millions of cubic metres, the rate in
// zł per Mg or zł per million cubic metres, the exponent in print.
TEST_F(TabelaC, TheHeadsCarryTheStatutoryUnits)
{
    Dane();
    const auto strony = raport.prepare();
    // The head of column k: its texts from the top down, above the column numbers.
    const auto glowka = [&](int k) {
        QStringList t;
        for (const testy::Tekst& tekst : testy::Teksty(*strony))
            if (tekst.x >= 10 + TQRTabelaC::Kolumny[k] - 0.01 && tekst.x2 <= 10 + TQRTabelaC::Kolumny[k + 1] + 0.01 &&
                tekst.y > 20 && tekst.y < 50 && tekst.tekst != QString::number(k + 1))
                t << tekst.tekst;
        return t;
    };
    EXPECT_EQ(glowka(3), QStringList({"Zużycie", "paliwa", "[Mg lub 10⁶ m³]"}));
    EXPECT_EQ(glowka(4), QStringList({"Jednostkowa stawka", "opłaty", "[zł/Mg lub", "zł/10⁶ m³]"}));
    const QString wszystko = testy::WszystkieTeksty(*strony).join(QLatin1Char('|'));
    EXPECT_FALSE(wszystko.contains(QStringLiteral("zł/10|")));
    EXPECT_FALSE(wszystko.contains(QStringLiteral("Mg lub m³")));
}

// In the PDF file the exponent of the units reads back and shows as the
// painter draws it, whether the face has it or it comes from the face the
// screen takes it from.
TEST_F(TabelaC, ThePdfFileShowsTheExponentOfTheUnits)
{
    using namespace kal::test;
    if (!HasTool("pdftoppm") || !HasTool("pdftotext"))
        GTEST_SKIP() << "poppler's tools are not installed";
    Dane();
    const auto strony = raport.prepare();
    const QString nasz = okres.katalog.file(QStringLiteral("tabelac.pdf"));
    const QString malarza = okres.katalog.file(QStringLiteral("malarz.pdf"));
    WritePdf(*strony, nasz);
    {
        QFile plik(malarza);
        ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
        ASSERT_TRUE(PaintPdf(*strony, plik, 0, 0, strony->title));
    }
    const QString tekst = PdfText(nasz, QStringLiteral("-raw"));
    EXPECT_TRUE(tekst.contains(QStringLiteral("[Mg lub 10⁶ m³]"))) << tekst.toStdString();
    EXPECT_TRUE(tekst.contains(QStringLiteral("zł/10⁶ m³]"))) << tekst.toStdString();

    // The two heads with the unit, each in a box a millimetre larger than its
    // text's, at 200 dpi: the same ink as the painter's, in the same places.
    constexpr int dpi = 200;
    const QImage obraz = PageImage(nasz, 1, dpi);
    const QImage wzor = PageImage(malarza, 1, dpi);
    ASSERT_EQ(obraz.size(), wzor.size());
    const auto px = [](double mm) { return static_cast<int>(mm / 25.4 * dpi); };
    int glowy = 0;
    for (const testy::Tekst& t : testy::Teksty(*strony)) {
        if (!t.tekst.contains(QStringLiteral("10⁶ m³")))
            continue;
        ++glowy;
        const QRect pole(px(t.x - 1), px(t.y - 1), px(t.x2 - t.x + 2), px(7));
        int tusz = 0, tuszWzoru = 0;
        EXPECT_EQ(UnmatchedInk(obraz.copy(pole), wzor.copy(pole), &tusz), 0) << t.tekst.toStdString();
        EXPECT_EQ(UnmatchedInk(wzor.copy(pole), obraz.copy(pole), &tuszWzoru), 0) << t.tekst.toStdString();
        EXPECT_GT(tusz, 100);
        EXPECT_NEAR(tusz, tuszWzoru, tuszWzoru / 20) << t.tekst.toStdString();
    }
    EXPECT_EQ(glowy, 2);
}

TEST_F(TabelaC, NineteenPositionsInFiveGroups)
{
    Dane();
    const auto strony = raport.prepare();
    QStringList lp;
    for (const testy::Tekst& t : testy::Teksty(*strony))
        if (t.x2 < 10 + TQRTabelaC::Kolumny[1] + 0.01 && t.y > 40)
            lp << t.tekst;
    // After the column number "1": the numbers of the lines.
    EXPECT_EQ(lp, QStringList({"1", "I", "1", "1a", "2", "3", "4", "5", "II", "1", "2", "3", "III", "IV", "1", "2", "3", "4",
                               "V", "1a", "1b", "2a", "2b", "3"}));
    for (int s = 0; s < strony->pageCount(); ++s) {
        for (const auto p = strony->page(s); const PageItem& it : p->items) {
            if (it.kind == PageItem::Kind::Text) {
                EXPECT_LE(TextMetrics::width(strony->fontOf(it), it.text), it.x2 - it.x1 + 0.01) << it.text.toStdString();
                EXPECT_LE(it.y2, 200.0) << it.text.toStdString();
            }
        }
    }
}

TEST_F(TabelaC, AnUncomputedFeeObjectPrintsNoFees)
{
    Dane();
    const OplatyTabelaC pusty;
    raport.UstawOplaty(&pusty);
    const auto strony = raport.prepare();
    EXPECT_EQ(Linia(*strony, QStringLiteral("Gaz ziemny wysokometanowy, nominalna moc cieplna <= 1,4 MW")).mid(2),
              QStringList({"1", "1 234,50", "0,125", ""}));
}

namespace {

struct Zestawienie : ::testing::Test {
    testy::Okres okres;
    TQRZestTabC raport{okres.tabelaC.get()};

    void Dane()
    {
        testy::Okres::Wiersz(*okres.stawkiC, {{"I1", 1.5}, {"V3", 2}});
        testy::Okres::Wiersz(*okres.tabelaC, {{"I1", 10}}, QStringLiteral("Czempiń"));
        testy::Okres::Wiersz(*okres.tabelaC, {{"I1", 1000}, {"V3", 0.25}}, QStringLiteral("Śrem"));
        testy::Okres::Wiersz(*okres.tabelaC, {{"I1", 0.2}}, QStringLiteral("Kórnik"));
    }
    QStringList Linia(const PageModel& m, const QString& gmina)
    {
        return testy::TekstyLinii(testy::Linia(m, gmina, TQRZestTabC::Kolumny, 3, 1));
    }
};

} // namespace

TEST_F(Zestawienie, OneNumberedLinePerCommuneAndTheGrandTotal)
{
    Dane();
    const auto strony = raport.prepare();
    // Communes in the table's order; each total computed from its own row.
    EXPECT_EQ(Linia(*strony, QStringLiteral("Czempiń")), QStringList({"1.", "Czempiń", "15,00"}));
    EXPECT_EQ(Linia(*strony, QStringLiteral("Kórnik")), QStringList({"2.", "Kórnik", "0,30"}));
    EXPECT_EQ(Linia(*strony, QStringLiteral("Śrem")), QStringList({"3.", "Śrem", "1 500,50"}));
    const QStringList t = testy::WszystkieTeksty(*strony);
    const int i = int(t.indexOf(QStringLiteral("Wysokość opłaty ogółem [zł]")));
    ASSERT_GE(i, 0);
    EXPECT_EQ(t[i + 1], QStringLiteral("1 515,80"));
    EXPECT_EQ(t.mid(0, 2), QStringList({"L.p.", "Gmina"}));
    EXPECT_EQ(t[2] + QLatin1Char(' ') + t[3],
              QStringLiteral("Suma opłat za wprowadzanie gazów lub pyłów do powietrza z kotłów w poszczególnych gminach [zł]"));
}

TEST_F(Zestawienie, ASecondRunGivesTheSameTotalAndTheTableStaysOnItsCommune)
{
    Dane();
    ASSERT_TRUE(okres.tabelaC->Locate(QStringLiteral("NazwaGminy"), QStringLiteral("Kórnik")));
    raport.prepare();
    EXPECT_EQ(okres.tabelaC->FieldByName(QStringLiteral("NazwaGminy"))->AsString(), QStringLiteral("Kórnik"));
    const QStringList t = testy::WszystkieTeksty(*raport.prepare());
    EXPECT_EQ(t[t.indexOf(QStringLiteral("Wysokość opłaty ogółem [zł]")) + 1], QStringLiteral("1 515,80"));
    EXPECT_EQ(raport.LiczbaWierszy(), 3);
}

TEST_F(Zestawienie, APeriodWithoutCommunesPrintsAZeroTotal)
{
    testy::Okres::Wiersz(*okres.stawkiC, {{"I1", 1.5}});
    const QStringList t = testy::WszystkieTeksty(*raport.prepare());
    EXPECT_EQ(t.mid(4), QStringList({"Wysokość opłaty ogółem [zł]", "0,00"}));
}
