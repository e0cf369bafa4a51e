#include "Funkcjedatyiczasu.h"

#include "Exceptions.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
[[maybe_unused]] static void PrintTo(const DataKalendarzowa& d, std::ostream* os)
{
    *os << d.rok << '-' << int(d.miesiac) << '-' << int(d.dzien);
}

namespace {
DataKalendarzowa D(int y, int m, int d) { return DataKalendarzowa(y, static_cast<char>(m), static_cast<char>(d)); }
const DataKalendarzowa Pusta;
} // namespace

TEST(Kalendarz, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(RokPrzestepny(2000));
    EXPECT_TRUE(RokPrzestepny(2004));
    EXPECT_FALSE(RokPrzestepny(1900));
    EXPECT_FALSE(RokPrzestepny(2009));
    EXPECT_EQ(DniWMiesiacu(2008, 2), 29);
    EXPECT_EQ(DniWMiesiacu(2009, 2), 28);
    EXPECT_EQ(DniWMiesiacu(1900, 2), 28);
    EXPECT_EQ(DniWMiesiacu(2000, 2), 29);
    const int dni[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(DniWMiesiacu(2009, m), dni[m - 1]) << m;
    EXPECT_EQ(DniWMiesiacu(2009, 0), 0);
    EXPECT_EQ(DniWMiesiacu(2009, 13), 0);
}

TEST(DataKalendarzowa, ValidityAndTheEmptyDate)
{
    EXPECT_EQ(Pusta.rok, 0);
    EXPECT_EQ(Pusta.miesiac, 0);
    EXPECT_EQ(Pusta.dzien, 0);
    EXPECT_TRUE(Pusta.Pusta());
    EXPECT_FALSE(CzyPoprawnaData(Pusta));
    EXPECT_TRUE(D(2009, 6, 12).Poprawna());
    EXPECT_TRUE(D(1, 1, 1).Poprawna());
    EXPECT_TRUE(D(2008, 2, 29).Poprawna());
    EXPECT_FALSE(D(2009, 2, 29).Poprawna());
    EXPECT_FALSE(D(2009, 13, 1).Poprawna());
    EXPECT_FALSE(D(2009, 4, 31).Poprawna());
    EXPECT_FALSE(D(0, 1, 1).Poprawna());
}

TEST(DataKalendarzowa, ThreeValuesAreStoredAsGiven)
{
    const DataKalendarzowa d = D(2009, 2, 30);
    EXPECT_EQ(d.rok, 2009);
    EXPECT_EQ(d.miesiac, 2);
    EXPECT_EQ(d.dzien, 30);
    EXPECT_TRUE(d.Pusta());
}

TEST(DataKalendarzowa, NextDay)
{
    EXPECT_EQ(++D(2009, 12, 31), D(2010, 1, 1));
    EXPECT_EQ(++D(2008, 2, 28), D(2008, 2, 29));
    EXPECT_EQ(++D(2008, 2, 29), D(2008, 3, 1));
    EXPECT_EQ(++D(2009, 2, 28), D(2009, 3, 1));
    EXPECT_EQ(++D(2009, 4, 30), D(2009, 5, 1));
    EXPECT_EQ(++D(2009, 6, 12), D(2009, 6, 13));
    DataKalendarzowa empty;
    ++empty;
    EXPECT_EQ(empty, Pusta);
    DataKalendarzowa wrong = D(2009, 2, 30);
    ++wrong;
    EXPECT_EQ(wrong, D(2009, 2, 30));
    DataKalendarzowa d = D(2009, 1, 31);
    EXPECT_EQ(d++, D(2009, 1, 31));
    EXPECT_EQ(d, D(2009, 2, 1));
}

TEST(DataKalendarzowa, DayDifference)
{
    EXPECT_EQ(RoznicaDni(D(2009, 3, 1), D(2009, 2, 1)), 28);
    EXPECT_EQ(RoznicaDni(D(2009, 2, 1), D(2009, 3, 1)), -28);
    EXPECT_EQ(RoznicaDni(D(2008, 3, 1), D(2008, 2, 1)), 29);
    EXPECT_EQ(RoznicaDni(D(2010, 1, 1), D(2009, 1, 1)), 365);
    EXPECT_EQ(RoznicaDni(D(2009, 1, 1), D(2008, 1, 1)), 366);
    EXPECT_EQ(RoznicaDni(D(2001, 1, 1), D(1901, 1, 1)), 36525);  // 100 years, 25 leap days
    EXPECT_EQ(RoznicaDni(D(9999, 12, 31), D(1, 1, 1)), 3652058);
    EXPECT_EQ(RoznicaDni(D(2009, 6, 12), D(2009, 6, 12)), 0);
    EXPECT_EQ(D(2010, 1, 1) - D(2009, 12, 31), 1);
    EXPECT_EQ(D(2009, 12, 31) - D(2010, 1, 1), -1);
}

TEST(DataKalendarzowa, DayDifferenceWithDatesThatAreNotValid)
{
    EXPECT_EQ(RoznicaDni(Pusta, D(2009, 2, 1)), 100000);
    EXPECT_EQ(RoznicaDni(D(2009, 2, 1), Pusta), -100000);
    EXPECT_EQ(RoznicaDni(Pusta, Pusta), 100000);  // the first date is looked at first
    EXPECT_EQ(RoznicaDni(D(2009, 2, 30), D(2009, 2, 1)), 100000);
    EXPECT_EQ(Pusta - D(2009, 2, 1), 100000);
}

TEST(DataKalendarzowa, ChronologicalOrder)
{
    EXPECT_TRUE(Pusta < D(1, 1, 1));
    EXPECT_TRUE(D(2009, 6, 5) < D(2009, 6, 12));
    EXPECT_TRUE(D(2009, 5, 31) < D(2009, 6, 1));
    EXPECT_TRUE(D(2008, 12, 31) < D(2009, 1, 1));
    EXPECT_FALSE(D(2009, 6, 12) < D(2009, 6, 12));
    EXPECT_TRUE(D(2009, 6, 12) > D(2009, 6, 11));
    EXPECT_TRUE(D(2009, 6, 12) >= D(2009, 6, 12));
    EXPECT_TRUE(D(2009, 6, 12) <= D(2009, 6, 12));
    EXPECT_FALSE(D(2009, 6, 13) <= D(2009, 6, 12));
    EXPECT_TRUE(D(2009, 6, 12) == D(2009, 6, 12));
    EXPECT_TRUE(D(2009, 6, 12) != D(2009, 12, 6));
}

TEST(DataKalendarzowa, ThreeWayComparison)
{
    EXPECT_EQ(PorownajDaty(D(2009, 6, 12), D(2009, 6, 11)), 1);
    EXPECT_EQ(PorownajDaty(D(2009, 6, 11), D(2009, 6, 12)), -1);
    EXPECT_EQ(PorownajDaty(D(2009, 6, 12), D(2009, 6, 12)), 0);
    EXPECT_EQ(PorownajDaty(Pusta, D(1, 1, 1)), -1);
    EXPECT_EQ(PorownajDaty(D(1, 1, 1), Pusta), 1);
    EXPECT_EQ(PorownajDaty(D(2009, 2, 30), D(1, 1, 1)), -1);  // not valid: earlier than any valid date
    EXPECT_EQ(PorownajDaty(Pusta, D(2009, 2, 30)), 0);        // two dates that are not valid are equal
}

TEST(DataKalendarzowa, TextWithTheDayFirst)
{
    EXPECT_EQ(D(2009, 6, 5).NaTekst('U', true), QStringLiteral("05 czerwca 2009"));
    EXPECT_EQ(D(2009, 6, 5).NaTekst('U', false), QStringLiteral("05-06-2009"));
    EXPECT_EQ(D(2009, 9, 1).NaTekst('U', true), QStringLiteral("01 września 2009"));
    EXPECT_EQ(D(2010, 10, 31).NaTekst('U', true), QStringLiteral("31 października 2010"));
    EXPECT_EQ(D(2010, 12, 24).NaTekst('U', false), QStringLiteral("24-12-2010"));
    EXPECT_EQ(Pusta.NaTekst('U', true), QStringLiteral("__-__ - ____"));
    EXPECT_EQ(Pusta.NaTekst('U', false), QStringLiteral("__-__ - ____"));
    EXPECT_EQ(D(2009, 2, 30).NaTekst('U', true), QStringLiteral("__-__ - ____"));
}

TEST(DataKalendarzowa, GenitiveMonthNames)
{
    const char* const names[12] = {"stycznia", "lutego",   "marca",     "kwietnia", "maja",      "czerwca",
                                   "lipca",    "sierpnia", "września", "października", "listopada", "grudnia"};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(D(2011, m, 15).NaTekst('U', true), QStringLiteral("15 ") + QString::fromUtf8(names[m - 1]) + QStringLiteral(" 2011"));
}

TEST(DataKalendarzowa, FrameworkDates)
{
    DataKalendarzowa d;
    d = QDate(2009, 6, 12);
    EXPECT_EQ(d, D(2009, 6, 12));
    d = QDate();  // no date
    EXPECT_EQ(d, Pusta);
    EXPECT_EQ(DataZTDateTime(QDate(2008, 2, 29)), D(2008, 2, 29));
    EXPECT_EQ(DataZTDateTime(QDate()), Pusta);
    EXPECT_EQ(D(2009, 6, 12).NaTDateTime(), QDate(2009, 6, 12));
    EXPECT_THROW(Pusta.NaTDateTime(), kal::EConvertError);
    EXPECT_THROW(D(2009, 2, 30).NaTDateTime(), kal::EConvertError);
    EXPECT_TRUE(CzyPoprawnaData(QDate(2009, 6, 12)));
    EXPECT_FALSE(CzyPoprawnaData(QDate()));
}

TEST(CzyPoprawnaData, TypedTexts)
{
    EXPECT_TRUE(CzyPoprawnaData(QStringLiteral("2009-06-12")));
    EXPECT_TRUE(CzyPoprawnaData(QStringLiteral(" 2009-6-1 ")));
    EXPECT_TRUE(CzyPoprawnaData(QStringLiteral("2008-02-29")));
    for (const char* text : {"", "    -  -  ", "2009-02-29", "2009-13-01", "abc", "12-06-2009", "2009/06/12", "09-06-12"})
        EXPECT_FALSE(CzyPoprawnaData(QString::fromLatin1(text))) << text;
}
