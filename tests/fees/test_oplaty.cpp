#include "DaneTestowe.h"
#include "FunkcjeSrodowiska.h"

#include "Exceptions.h"

#include <gtest/gtest.h>

namespace {

size_t PozC(const char* pole)
{
    for (size_t i = 0; i < PolaTabeliC().size(); ++i)
        if (PolaTabeliC()[i] == QLatin1String(pole))
            return i;
    ADD_FAILURE() << pole;
    return 0;
}

size_t PozD(const char* pole)
{
    const int i = IndeksKomorkiTabeliD(QString::fromLatin1(pole));
    EXPECT_GE(i, 0) << pole;
    return static_cast<size_t>(i);
}

void UstawC(DaneTestowe& d, const char* pole, double ilosc, double stawka)
{
    d.ilosciC[PozC(pole)] = ilosc;
    d.stawkiC[PozC(pole)] = stawka;
}

void UstawD(DaneTestowe& d, const char* pole, double ilosc, double stawka)
{
    d.ilosciD[PozD(pole)] = ilosc;
    d.stawkiD[PozD(pole)] = stawka;
}

} // namespace

TEST(OplatyTabelaC, FeesGroupSumsAndTotalWithReserves)
{
    DaneTestowe d;
    UstawC(d, "I1", 2.5, 10.01);      // 25.025 -> 25.03
    UstawC(d, "I1a", 1.0, 0.004);     // 0.004 -> 0.00
    UstawC(d, "I5", 3.0, 1.5);        // 4.50
    UstawC(d, "II2", 10.0, 2.0);      // 20.00
    UstawC(d, "III", 0.333, 3.0);     // 0.999 -> 1.00
    UstawC(d, "IV4", 7.0, 0.125);     // 0.875 -> 0.88
    UstawC(d, "V3", 1000.0, 1.23456); // 1234.56
    UstawC(d, "Rezerwa1", 1.0, 100.0);   // 100.00
    UstawC(d, "Rezerwa5", 0.5, 0.01);    // 0.005 -> 0.01
    UstawC(d, "V1a", 5.0, 0.0);          // a zero rate
    OplatyTabelaC o(true);

    EXPECT_EQ(o.teksty.oplaty[PozC("I1")], QStringLiteral("25,03"));
    EXPECT_EQ(o.teksty.oplaty[PozC("I1a")], QStringLiteral("0,00"));
    EXPECT_EQ(o.teksty.oplaty[PozC("I5")], QStringLiteral("4,50"));
    EXPECT_EQ(o.teksty.oplaty[PozC("III")], QStringLiteral("1,00"));
    EXPECT_EQ(o.teksty.oplaty[PozC("IV4")], QStringLiteral("0,88"));
    EXPECT_EQ(o.teksty.oplaty[PozC("V3")], QStringLiteral("1 234,56"));
    EXPECT_EQ(o.teksty.oplaty[PozC("V1a")], QStringLiteral("0,00"));
    EXPECT_EQ(o.teksty.oplaty[PozC("Rezerwa5")], QStringLiteral("0,01"));
    EXPECT_EQ(o.teksty.oplaty[PozC("II1")], QStringLiteral("0,00"));
    EXPECT_DOUBLE_EQ(o.oplaty[PozC("I1")], 25.03);

    EXPECT_EQ(o.teksty.grupy[0], QStringLiteral("29,53"));
    EXPECT_EQ(o.teksty.grupy[1], QStringLiteral("20,00"));
    EXPECT_EQ(o.teksty.grupy[2], QStringLiteral("1,00"));
    EXPECT_EQ(o.teksty.grupy[3], QStringLiteral("0,88"));
    EXPECT_EQ(o.teksty.grupy[4], QStringLiteral("1 234,56"));
    // The total holds the reserves, the groups never do.
    EXPECT_DOUBLE_EQ(o.razem, 1385.98);
    EXPECT_EQ(o.teksty.razem, QStringLiteral("1 385,98"));
}

TEST(OplatyTabelaC, BuiltWithoutComputingHasEmptyTexts)
{
    DaneTestowe d;
    UstawC(d, "I1", 1.0, 1.0);
    OplatyTabelaC o(false);
    EXPECT_EQ(o.oplaty[0], 0.0);
    EXPECT_TRUE(o.teksty.oplaty[0].isEmpty());
    EXPECT_TRUE(o.teksty.razem.isEmpty());
}

TEST(OplatyTabelaD, FeesTextsAndTotalWithReserves)
{
    DaneTestowe d;
    UstawD(d, "1a", 1.24, 1000.5);         // 1240.62
    UstawD(d, "32d", 1000.0, 1234.5678);   // 1 234 567.80
    UstawD(d, "Rezerwa5", 2.0, 0.5);       // 1.00
    UstawD(d, "5", 2.5, 10.01);            // 25.025 -> 25.03
    OplatyTabelaD o(true);
    EXPECT_EQ(o.teksty[PozD("1a")], QStringLiteral("1 240,62"));
    EXPECT_EQ(o.teksty[PozD("32d")], QStringLiteral("1 234 567,80"));
    EXPECT_EQ(o.teksty[PozD("Rezerwa5")], QStringLiteral("1,00"));
    EXPECT_EQ(o.teksty[PozD("5")], QStringLiteral("25,03"));
    EXPECT_EQ(o.teksty[PozD("1b")], QStringLiteral("0,00"));
    EXPECT_DOUBLE_EQ(o.Razem(), 1235834.45);
    EXPECT_EQ(o.RazemTekst(), QStringLiteral("1 235 834,45"));
}

TEST(OplatyTabelaD, NegativeHalfRoundsAwayFromZero)
{
    DaneTestowe d;
    UstawD(d, "2c", -2.5, 10.01);
    OplatyTabelaD o(true);
    EXPECT_EQ(o.teksty[PozD("2c")], QStringLiteral("-25,03"));
}

namespace {

// The shared fee objects with refresh counters; all are reset after.
struct WspolneObiekty : ::testing::Test {
    DaneTestowe d;
    int odswiezeniaC = 0;
    int odswiezeniaD = 0;
    void SetUp() override
    {
        UstawOdswiezanieTabeliD([this] { ++odswiezeniaD; });
        UstawOdswiezanieTabeliC([this] { ++odswiezeniaC; });
        OplatyD().Oblicz(WartosciTabeliD{}, WartosciTabeliD{});
        OplatyC().Oblicz(WartosciTabeliC{}, WartosciTabeliC{});
    }
    void TearDown() override
    {
        UstawOdswiezanieTabeliD({});
        UstawOdswiezanieTabeliC({});
    }
};

} // namespace

TEST_F(WspolneObiekty, TableDTagSwitchesRecomputeAndRefresh)
{
    UstawD(d, "7", 3.0, 2.0);
    d.tagD = 0;
    OplatyD().Przelicz();
    EXPECT_EQ(OplatyD().teksty[PozD("7")], QStringLiteral("0,00"));
    EXPECT_EQ(odswiezeniaD, 0);

    d.tagD = 1;
    OplatyD().Przelicz();
    EXPECT_EQ(OplatyD().teksty[PozD("7")], QStringLiteral("6,00"));
    EXPECT_EQ(odswiezeniaD, 1);

    UstawD(d, "7", 4.0, 2.0);
    d.tagD = 2;
    OplatyD().Przelicz();
    EXPECT_EQ(OplatyD().teksty[PozD("7")], QStringLiteral("8,00"));
    EXPECT_EQ(odswiezeniaD, 1);
}

TEST_F(WspolneObiekty, TableCTagSwitchesRecomputeAndRefresh)
{
    UstawC(d, "IV2", 3.0, 2.0);
    UstawC(d, "Rezerwa2", 1.0, 0.5);
    d.tagC = 0;
    OplatyC().Przelicz();
    EXPECT_EQ(OplatyC().teksty.oplaty[PozC("IV2")], QStringLiteral("0,00"));
    EXPECT_EQ(OplatyC().teksty.razem, QStringLiteral("0,00"));
    EXPECT_EQ(odswiezeniaC, 0);

    d.tagC = 1;
    OplatyC().Przelicz();
    EXPECT_EQ(OplatyC().teksty.oplaty[PozC("IV2")], QStringLiteral("6,00"));
    EXPECT_EQ(OplatyC().teksty.grupy[3], QStringLiteral("6,00"));
    EXPECT_EQ(OplatyC().teksty.razem, QStringLiteral("6,50"));
    EXPECT_EQ(odswiezeniaC, 1);

    // Any other non-zero Tag recomputes without a refresh.
    UstawC(d, "IV2", 4.0, 2.0);
    d.tagC = 2;
    OplatyC().Przelicz();
    EXPECT_EQ(OplatyC().teksty.grupy[3], QStringLiteral("8,00"));
    EXPECT_EQ(odswiezeniaC, 1);
    d.tagC = -1;
    OplatyC().Przelicz();
    EXPECT_EQ(odswiezeniaC, 1);

    // Table C's switch does not reach table D's window.
    EXPECT_EQ(odswiezeniaD, 0);
}

TEST(OplatyTabelaD, TheTotalAddsTheFeesRoundedToTheGrosz)
{
    // Three fees of 0.334 zł are 0.33 zł each: the total is 0.99, not the
    // 1.00 that the unrounded 1.002 would give.
    DaneTestowe d;
    UstawD(d, "1a", 0.334, 1.0);
    UstawD(d, "17c", 1.0, 0.334);
    UstawD(d, "Rezerwa2", 0.5, 0.668);
    OplatyTabelaD o(true);
    EXPECT_EQ(o.teksty[PozD("1a")], QStringLiteral("0,33"));
    EXPECT_EQ(o.teksty[PozD("17c")], QStringLiteral("0,33"));
    EXPECT_EQ(o.teksty[PozD("Rezerwa2")], QStringLiteral("0,33"));
    EXPECT_DOUBLE_EQ(o.Razem(), 0.99);
    EXPECT_EQ(o.RazemTekst(), QStringLiteral("0,99"));
}
