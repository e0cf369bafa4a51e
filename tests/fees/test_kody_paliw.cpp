#include "DaneTestowe.h"
#include "FunkcjeSrodowiska.h"
#include "ScriptedDialogs.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

TEST(KodPaliwa, DigitsLettersAndNoFuel)
{
    EXPECT_EQ(KodPaliwa(QStringLiteral("1")), 1);
    EXPECT_EQ(KodPaliwa(QStringLiteral("6")), 6);
    EXPECT_EQ(KodPaliwa(QStringLiteral("9")), 9);
    EXPECT_EQ(KodPaliwa(QStringLiteral("12")), 1); // the first digit decides
    EXPECT_EQ(KodPaliwa(QStringLiteral("a")), 10);
    EXPECT_EQ(KodPaliwa(QStringLiteral("b")), 11);
    EXPECT_EQ(KodPaliwa(QStringLiteral("c")), 12);
    EXPECT_EQ(KodPaliwa(QStringLiteral("A")), 0);
    EXPECT_EQ(KodPaliwa(QStringLiteral("ab")), 0);
    EXPECT_EQ(KodPaliwa(QString()), 0);
    EXPECT_EQ(KodPaliwa(QStringLiteral("0")), 0);
    EXPECT_EQ(KodPaliwa(QStringLiteral("d")), 0);
    const int spacja = KodPaliwa(QStringLiteral(" 1"));
    EXPECT_TRUE(spacja < 0 || spacja > 12);
}

namespace {

std::vector<WierszGestosci> DwanascieGestosci()
{
    std::vector<WierszGestosci> w;
    const char* kody[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "a", "b", "c"};
    for (int i = 0; i < 12; ++i)
        w.push_back({QString::fromLatin1(kody[i]), 0.5 + 0.01 * (i + 1)});
    return w;
}

} // namespace

TEST(GestosciPaliw, ReadsOnFirstUseEvenForAnIndexOutOfRange)
{
    DaneTestowe dane;
    dane.gestosci = DwanascieGestosci();
    GestosciPaliw g;
    EXPECT_FALSE(g.Wczytane());
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(13)), 0.0);
    EXPECT_TRUE(g.Wczytane());
    EXPECT_EQ(dane.odczytyGestosci, 1);
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(0)), 0.0);
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(1)), 0.51);
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(12)), 0.62);
    EXPECT_EQ(dane.odczytyGestosci, 1); // loaded once
}

TEST(GestosciPaliw, CodeCharacterAndIndexAreDistinct)
{
    DaneTestowe dane;
    dane.gestosci = DwanascieGestosci();
    GestosciPaliw g;
    // The character '1' is fuel "1" (index 1), never the character code 49.
    EXPECT_EQ(g.GestoscKodu(QLatin1Char('1')), 0.51);
    EXPECT_EQ(g.GestoscKodu(QLatin1Char('a')), 0.60);
    EXPECT_EQ(g.GestoscKodu(QLatin1Char('c')), 0.62);
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(10)), 0.60);
    EXPECT_EQ(g.GestoscKodu(QLatin1Char('x')), 0.0);
}

TEST(GestosciPaliw, BadCodeIsReportedAndSkipped)
{
    DaneTestowe dane;
    dane.gestosci = {{QStringLiteral("0"), 0.9}, {QStringLiteral("5"), 0.84}, {QStringLiteral("x"), 0.7},
                     {QStringLiteral(""), 0.6}};
    kal::test::ScriptedDialogs dialogs;
    GestosciPaliw g;
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(5)), 0.84);
    const auto boxes = dialogs.boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Błąd odczytu gęstości paliwa !!!\nKod gęstości:0 numer:-1."));
    EXPECT_EQ(boxes[0].caption, QStringLiteral("System Kalmora."));
    EXPECT_EQ(boxes[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Błąd odczytu gęstości paliwa !!!\nKod gęstości:x numer:-1."));
    EXPECT_EQ(boxes[2].text, QStringLiteral("Błąd odczytu gęstości paliwa !!!\nKod gęstości: numer:-1."));
    EXPECT_TRUE(g.Wczytane());
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(1)), 0.0); // no row for fuel 1
}

TEST(GestosciPaliw, FailedReadLeavesTheCacheUnloaded)
{
    DaneTestowe dane;
    int proby = 0;
    GestosciPaliw g;
    g.UstawCzytnik([&]() -> std::vector<WierszGestosci> {
        if (++proby == 1)
            throw kal::EDatabaseError(QStringLiteral("Nie można odczytać TabGest.db"));
        return {{QStringLiteral("5"), 0.84}};
    });
    EXPECT_THROW(g.Gestosc(IndeksPaliwa(5)), kal::EDatabaseError);
    EXPECT_FALSE(g.Wczytane());
    // The next use reads again and gets the density, not a silent 0.
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(5)), 0.84);
    EXPECT_EQ(proby, 2);
}

TEST(GestosciPaliw, ResetReadsTheEditedDensity)
{
    DaneTestowe dane;
    dane.gestosci = {{QStringLiteral("5"), 0.84}};
    GestosciPaliw g;
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(5)), 0.84);
    dane.gestosci = {{QStringLiteral("5"), 0.85}};
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(5)), 0.84); // still the cached one
    g.Wyczysc();
    EXPECT_FALSE(g.Wczytane());
    EXPECT_EQ(g.Gestosc(IndeksPaliwa(5)), 0.85);
    EXPECT_EQ(dane.odczytyGestosci, 2);
}
