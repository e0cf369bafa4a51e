#include "NumberText.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

#include <cmath>
#include <limits>

using namespace kal;

namespace {
const QString P1 = QStringLiteral("### ### ##0.00");
const QString P2 = QStringLiteral("# ### ##0.00# ### ###");
const QString P3 = QStringLiteral("# ### ##0.### ###");
const QString P4 = QStringLiteral("###0.00");
const QString P5 = QStringLiteral("## ##0.00");
const QString P6 = QStringLiteral("# ### ##0.00");
} // namespace

// ---- rounding -------------------------------------------------------------

TEST(RoundHalfAway, HalvesGoAwayFromZeroWhateverTheBinaryError)
{
    // 2.345 is held as 2.34499999...; scaled remainder 0.4999999999 counts as a half.
    EXPECT_EQ(RoundHalfAway(2.345, 2), 2.35);
    EXPECT_EQ(RoundHalfAway(-2.345, 2), -2.35);
    EXPECT_EQ(RoundHalfAway(1.025, 2), 1.03);
    EXPECT_EQ(RoundHalfAway(2.0005, 3), 2.001);
    // Exact halves: the formatter would round 12.5 to 12 (to even); the half rule lifts it.
    EXPECT_EQ(RoundHalfAway(0.125, 2), 0.13);
    EXPECT_EQ(RoundHalfAway(-0.125, 2), -0.13);
    EXPECT_EQ(RoundHalfAway(2.5, 0), 3.0);
    EXPECT_EQ(RoundHalfAway(-2.5, 0), -3.0);
    EXPECT_EQ(RoundHalfAway(0.5, 0), 1.0);
}

TEST(RoundHalfAway, RemainderThresholdIsJustBelowAHalf)
{
    EXPECT_EQ(RoundHalfAway(1.4999999995, 0), 2.0);  // remainder 0.4999999995
    EXPECT_EQ(RoundHalfAway(1.4999999985, 0), 1.0);  // remainder 0.4999999985
    EXPECT_EQ(RoundHalfAway(-1.4999999985, 0), -1.0);
    EXPECT_EQ(RoundHalfAway(1234.5678, 2), 1234.57);
    EXPECT_EQ(RoundHalfAway(1234.5638, 2), 1234.56);
    EXPECT_EQ(RoundHalfAway(7.6, 0), 8.0);
    EXPECT_EQ(RoundHalfAway(12.34567, 4), 12.3457);
}

TEST(RoundHalfAway, ValuesAlreadyRoundedAndZeroStay)
{
    EXPECT_EQ(RoundHalfAway(1.23, 2), 1.23);
    EXPECT_EQ(RoundHalfAway(0.07, 2), 0.07);
    EXPECT_EQ(RoundHalfAway(100.0, 0), 100.0);
    EXPECT_EQ(RoundHalfAway(0.0, 2), 0.0);
    EXPECT_FALSE(std::signbit(RoundHalfAway(0.0, 2)));
}

TEST(RoundHalfAway, NeverGivesNegativeZero)
{
    EXPECT_FALSE(std::signbit(RoundHalfAway(-0.0, 2)));
    EXPECT_FALSE(std::signbit(RoundHalfAway(-0.001, 2)));
    EXPECT_FALSE(std::signbit(RoundHalfAway(-0.4, 0)));
    EXPECT_EQ(RoundHalfAway(-0.001, 2), 0.0);
}

TEST(RoundHalfAway, OutOfRangeAndNonFiniteComeBackUnchanged)
{
    EXPECT_EQ(RoundHalfAway(1e18, 0), 1e18);
    const double big = 123456789012345.678;  // scaled by 1e4 it passes 1e18
    EXPECT_EQ(RoundHalfAway(big, 4), big);
    EXPECT_EQ(RoundHalfAway(-big, 4), -big);
    EXPECT_TRUE(std::isnan(RoundHalfAway(std::nan(""), 2)));
    EXPECT_EQ(RoundHalfAway(std::numeric_limits<double>::infinity(), 2), std::numeric_limits<double>::infinity());
    EXPECT_EQ(RoundHalfAway(-std::numeric_limits<double>::infinity(), 0), -std::numeric_limits<double>::infinity());
    // Just below the bound it still rounds.
    EXPECT_EQ(RoundHalfAway(99999999999999.5, 0), 100000000000000.0);
    // Places so many that the scale itself overflows or vanishes: unchanged, never NaN.
    EXPECT_EQ(RoundHalfAway(2.345, 400), 2.345);
    EXPECT_EQ(RoundHalfAway(2.345, -400), 2.345);
}

TEST(RoundHalfAway, NegativePlacesRoundToTensAndHundreds)
{
    EXPECT_EQ(RoundHalfAway(1250.0, -2), 1300.0);
    EXPECT_EQ(RoundHalfAway(-1249.0, -2), -1200.0);
    EXPECT_EQ(RoundHalfAway(15.0, -1), 20.0);
}

// ---- display patterns -----------------------------------------------------

TEST(FormatNumber, Zero)
{
    EXPECT_EQ(FormatNumber(0, P1), QStringLiteral("0,00"));
    EXPECT_EQ(FormatNumber(0, P2), QStringLiteral("0,00"));
    EXPECT_EQ(FormatNumber(0, P3), QStringLiteral("0"));
    EXPECT_EQ(FormatNumber(0, P4), QStringLiteral("0,00"));
    EXPECT_EQ(FormatNumber(0, P5), QStringLiteral("0,00"));
    EXPECT_EQ(FormatNumber(-0.0, P1), QStringLiteral("0,00"));
}

TEST(FormatNumber, SmallValueRoundsAwayOrShowsItsDecimals)
{
    EXPECT_EQ(FormatNumber(0.004, P1), QStringLiteral("0,00"));
    EXPECT_EQ(FormatNumber(0.004, P2), QStringLiteral("0,004"));
    EXPECT_EQ(FormatNumber(0.004, P3), QStringLiteral("0,004"));
    EXPECT_EQ(FormatNumber(0.004, P4), QStringLiteral("0,00"));
    EXPECT_EQ(FormatNumber(0.004, P5), QStringLiteral("0,00"));
    EXPECT_EQ(FormatNumber(-0.004, P1), QStringLiteral("0,00"));  // no "-0,00"
    EXPECT_EQ(FormatNumber(0.005, P1), QStringLiteral("0,01"));
}

TEST(FormatNumber, LargeValueIsGroupedByThree)
{
    EXPECT_EQ(FormatNumber(1234567.891, P1), QStringLiteral("1 234 567,89"));
    EXPECT_EQ(FormatNumber(1234567.891, P2), QStringLiteral("1 234 567,891"));
    EXPECT_EQ(FormatNumber(1234567.891, P3), QStringLiteral("1 234 567,891"));
    EXPECT_EQ(FormatNumber(1234567.891, P4), QStringLiteral("1234567,89"));
    EXPECT_EQ(FormatNumber(1234567.891, P5), QStringLiteral("1 234 567,89"));
    EXPECT_EQ(FormatNumber(1234567.891, P6), QStringLiteral("1 234 567,89"));
    EXPECT_EQ(FormatNumber(1234567890123.0, P1), QStringLiteral("1 234 567 890 123,00"));
    EXPECT_EQ(FormatNumber(100, P1), QStringLiteral("100,00"));
    EXPECT_EQ(FormatNumber(1000, P1), QStringLiteral("1 000,00"));
    EXPECT_EQ(FormatNumber(12345.6, P4), QStringLiteral("12345,60"));
}

TEST(FormatNumber, NegativeValues)
{
    EXPECT_EQ(FormatNumber(-5.5, P1), QStringLiteral("-5,50"));
    EXPECT_EQ(FormatNumber(-5.5, P2), QStringLiteral("-5,50"));
    EXPECT_EQ(FormatNumber(-5.5, P3), QStringLiteral("-5,5"));
    EXPECT_EQ(FormatNumber(-5.5, P4), QStringLiteral("-5,50"));
    EXPECT_EQ(FormatNumber(-5.5, P5), QStringLiteral("-5,50"));
    EXPECT_EQ(FormatNumber(-1234.5, P1), QStringLiteral("-1 234,50"));
}

TEST(FormatNumber, RoundsHalfAwayLikeTheRoundingRoutine)
{
    EXPECT_EQ(FormatNumber(2.345, P1), QStringLiteral("2,35"));
    EXPECT_EQ(FormatNumber(-2.345, P1), QStringLiteral("-2,35"));
    EXPECT_EQ(FormatNumber(0.125, P4), QStringLiteral("0,13"));
    EXPECT_EQ(FormatNumber(999.995, P1), QStringLiteral("1 000,00"));
    EXPECT_EQ(FormatNumber(1.0000004, P3), QStringLiteral("1"));
    EXPECT_EQ(FormatNumber(1.0000005, P3), QStringLiteral("1,000 001"));
}

TEST(FormatNumber, BeyondTheRoundingRangeAndNonFinite)
{
    EXPECT_EQ(FormatNumber(1e18, P1), QStringLiteral("1 000 000 000 000 000 000,00"));
    EXPECT_EQ(FormatNumber(-1e18, P4), QStringLiteral("-1000000000000000000,00"));
    // Nine decimals do not fit beside ten whole digits: the decimals that fit still count.
    EXPECT_EQ(FormatNumber(1234567890.5, P2), QStringLiteral("1 234 567 890,50"));
    EXPECT_EQ(FormatNumber(-1234567890123.25, P3), QStringLiteral("-1 234 567 890 123,25"));
    // Whole parts longer than 32 digits are written in full, up to the largest double.
    EXPECT_EQ(FormatNumber(1e40, P4), QStringLiteral("10000000000000000303786028427003666890752,00"));
    const QString largest = FormatNumber(-std::numeric_limits<double>::max(), P4);
    EXPECT_EQ(largest.size(), 1 + 309 + 3);
    EXPECT_TRUE(largest.startsWith(QStringLiteral("-17976931348623157")));
    EXPECT_TRUE(largest.endsWith(QStringLiteral("124858368,00")));
    EXPECT_EQ(FormatNumber(std::nan(""), P1), QStringLiteral("NAN"));
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), P1), QStringLiteral("-INF"));
}

TEST(FormatNumber, BlankInsideDecimalsOnlyBeforeDigits)
{
    EXPECT_EQ(FormatNumber(0.1234, P2), QStringLiteral("0,123 4"));
    EXPECT_EQ(FormatNumber(1.123456789, P2), QStringLiteral("1,123 456 789"));
    EXPECT_EQ(FormatNumber(1.123, P2), QStringLiteral("1,123"));
    EXPECT_EQ(FormatNumber(1.1, P2), QStringLiteral("1,10"));
    EXPECT_EQ(FormatNumber(1.1234567, P3), QStringLiteral("1,123 457"));
    EXPECT_EQ(FormatNumber(1.5, P3), QStringLiteral("1,5"));
}

// ---- float text and decimal reading --------------------------------------

TEST(FloatToText, DecimalCommaNoGrouping)
{
    EXPECT_EQ(FloatToText(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(FloatToText(100), QStringLiteral("100"));
    EXPECT_EQ(FloatToText(-0.25), QStringLiteral("-0,25"));
    EXPECT_EQ(FloatToText(0.0), QStringLiteral("0"));
    EXPECT_EQ(FloatToText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(FloatToText(0.1 + 0.2), QStringLiteral("0,30000000000000004"));
}

TEST(FloatToText, ReadsBackExactly)
{
    for (double v : {0.1, 1.0 / 3.0, 2.345, -1234567.891, 1e-7, 123456789.123456, 1e20, 5e-324, 1.7976931348623157e308}) {
        const auto back = ParseDecimal(FloatToText(v));
        ASSERT_TRUE(back.has_value()) << FloatToText(v).toStdString();
        EXPECT_EQ(*back, v) << FloatToText(v).toStdString();
    }
}

TEST(ParseDecimal, BlanksAndEitherSeparator)
{
    EXPECT_EQ(ParseDecimal(QStringLiteral("1 234,5")), 1234.5);
    EXPECT_EQ(ParseDecimal(QStringLiteral("12.5")), 12.5);
    EXPECT_EQ(ParseDecimal(QStringLiteral("12,5")), 12.5);
    EXPECT_EQ(ParseDecimal(QStringLiteral(" 7 ")), 7.0);
    EXPECT_EQ(ParseDecimal(QStringLiteral("\t8\n")), 8.0);
    EXPECT_EQ(ParseDecimal(QStringLiteral("1\u00a0234,5")), 1234.5);
    EXPECT_EQ(ParseDecimal(QStringLiteral("- 2,5")), -2.5);
    EXPECT_EQ(ParseDecimal(QStringLiteral("+3")), 3.0);
    EXPECT_EQ(ParseDecimal(QStringLiteral(",5")), 0.5);
    EXPECT_EQ(ParseDecimal(QStringLiteral("5,")), 5.0);
}

TEST(ParseDecimal, Exponent)
{
    EXPECT_EQ(ParseDecimal(QStringLiteral("1e3")), 1000.0);
    EXPECT_EQ(ParseDecimal(QStringLiteral("1E+2")), 100.0);
    EXPECT_EQ(ParseDecimal(QStringLiteral("2,5e-1")), 0.25);
    EXPECT_EQ(ParseDecimal(QStringLiteral("1e-999")), 0.0);
    EXPECT_EQ(ParseDecimal(QStringLiteral("1e999")), std::nullopt);
    EXPECT_EQ(ParseDecimal(QStringLiteral("1e")), std::nullopt);
}

TEST(ParseDecimal, RejectsWhatIsNotADecimalNumber)
{
    for (const char* text : {"", " ", "abc", "inf", "-inf", "INF", "infinity", "nan", "NaN", "0x10", "0X1p3", "12a",
                             "1,2,3", "1.234,5", ",", "-", "+", "e5", "1e+", "--1", "1-"}) {
        EXPECT_EQ(ParseDecimal(QString::fromLatin1(text)), std::nullopt) << text;
    }
}

TEST(ParseDecimal, NegativeZeroReadsAsZero)
{
    const auto v = ParseDecimal(QStringLiteral("-0"));
    ASSERT_TRUE(v.has_value());
    EXPECT_FALSE(std::signbit(*v));
}

// A typed number takes only the comma: "2.587" (2 587 litres as an invoice
// groups them) is no number, where a file's "2.587" is 2,587.
TEST(ParseTypedDecimal, OnlyTheCommaSeparatesTheDecimals)
{
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"2,587", 2.587}, {"2 587", 2587.0}, {"1e3", 1000.0}, {" -1 234,5 ", -1234.5}, {"2,5e-1", 0.25},
        {"2.587", std::nullopt}, {"1.234,56", std::nullopt}, {"2.", std::nullopt}, {".5", std::nullopt},
        {"1,5t", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseTypedDecimal(QString::fromUtf8(text)), value) << text;
    EXPECT_EQ(ParseDecimal(QStringLiteral("2.587")), 2.587);
}

TEST(ParseWhole, DigitsWithOptionalSign)
{
    EXPECT_EQ(ParseWhole(QStringLiteral("12")), 12);
    EXPECT_EQ(ParseWhole(QStringLiteral(" 1 234 ")), 1234);
    EXPECT_EQ(ParseWhole(QStringLiteral("-7")), -7);
    EXPECT_EQ(ParseWhole(QStringLiteral("+7")), 7);
    EXPECT_EQ(ParseWhole(QStringLiteral("007")), 7);
    EXPECT_EQ(ParseWhole(QStringLiteral("9223372036854775807")), std::numeric_limits<qint64>::max());
    EXPECT_EQ(ParseWhole(QStringLiteral("-9223372036854775808")), std::numeric_limits<qint64>::min());
}

TEST(ParseWhole, RejectsFractionsHexOverflowAndJunk)
{
    for (const char* text : {"", "12.5", "12,5", "1e3", "0x10", "$10", "-", "+", "abc", "9223372036854775808", "1-"})
        EXPECT_EQ(ParseWhole(QString::fromLatin1(text)), std::nullopt) << text;
}
