#include "DateText.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

using namespace kal;

TEST(ParseDate, ReadsYearMonthDay)
{
    EXPECT_EQ(ParseDate(QStringLiteral("2009-06-12")), QDate(2009, 6, 12));
    EXPECT_EQ(ParseDate(QStringLiteral("2009-6-5")), QDate(2009, 6, 5));
    EXPECT_EQ(ParseDate(QStringLiteral("  2009-06-12 ")), QDate(2009, 6, 12));
    EXPECT_EQ(ParseDate(QStringLiteral("2008-02-29")), QDate(2008, 2, 29));
    EXPECT_EQ(ParseDate(QStringLiteral("2000-02-29")), QDate(2000, 2, 29));
    EXPECT_EQ(ParseDate(QStringLiteral("0001-01-01")), QDate(1, 1, 1));
}

TEST(ParseDate, RejectsDatesThatDoNotExist)
{
    for (const char* text : {"2009-02-29", "1900-02-29", "2009-06-31", "2009-13-01", "2009-00-10", "2009-01-00",
                             "0000-01-01"})
        EXPECT_EQ(ParseDate(QString::fromLatin1(text)), std::nullopt) << text;
}

TEST(ParseDate, RejectsOtherLayouts)
{
    for (const char* text : {"", "    -  -  ", "09-06-12", "2009/06/12", "12-06-2009", "2009-006-12", "2009-06-123",
                             "2009-06-12x", "20090-06-12", "2009 -06-12", "2009-06", "2009--06-12", "+2009-06-12",
                             "2009-06-12 10:00"})
        EXPECT_EQ(ParseDate(QString::fromLatin1(text)), std::nullopt) << text;
}

TEST(DateToText, FourTwoTwoDigits)
{
    EXPECT_EQ(DateToText(QDate(2009, 6, 5)), QStringLiteral("2009-06-05"));
    EXPECT_EQ(DateToText(QDate(2010, 12, 31)), QStringLiteral("2010-12-31"));
    EXPECT_EQ(DateToText(QDate(987, 1, 2)), QStringLiteral("0987-01-02"));
    EXPECT_EQ(DateToText(QDate()), QString());
    EXPECT_EQ(ParseDate(DateToText(QDate(987, 1, 2))), QDate(987, 1, 2));
}
