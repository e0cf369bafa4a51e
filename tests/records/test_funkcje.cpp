#include "Funkcje.h"

#include "Clock.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <optional>
#include <ostream>

// Readable QString values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

struct Result {
    double value;
    int error;
};

Result Eval(const char* text, int error = 0)
{
    std::string buffer = text;
    const double value = ObliczWyrazenie(buffer, error);
    return {value, error};
}

// Sets or unsets an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, std::optional<QString> value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qEnvironmentVariable(name);
        if (value)
            qputenv(name, value->toLocal8Bit());
        else
            qunsetenv(name);
    }
    ~EnvVar()
    {
        if (m_old)
            qputenv(m_name, m_old->toLocal8Bit());
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<QString> m_old;
};

class FixedToday {
public:
    explicit FixedToday(QDate d) { kal::SetTodayForTests(d); }
    ~FixedToday() { kal::SetTodayForTests(QDate()); }
};

void Touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

// ---- Zaokraglij ------------------------------------------------------------

TEST(Zaokraglij, HalfAwayFromZero)
{
    EXPECT_EQ(Zaokraglij(2.345, 2), 2.35);
    EXPECT_EQ(Zaokraglij(-2.345, 2), -2.35);
    EXPECT_EQ(Zaokraglij(1.025, 2), 1.03);      // 1,025 kg as Mg with two decimals stays 1,03
    EXPECT_EQ(Zaokraglij(1025 * 0.001, 2), 1.03);
    EXPECT_EQ(Zaokraglij(2.5, 0), 3.0);
    EXPECT_EQ(Zaokraglij(-2.5, 0), -3.0);
    EXPECT_EQ(Zaokraglij(1.4999999995, 0), 2.0);  // scaled remainder 0.4999999995 rounds up
    EXPECT_EQ(Zaokraglij(0.0, 2), 0.0);
    EXPECT_EQ(Zaokraglij(12.34, 2), 12.34);
    EXPECT_EQ(Zaokraglij(1234.56789, 4), 1234.5679);
    EXPECT_FALSE(std::signbit(Zaokraglij(-0.001, 2)));
}

// ---- ObliczWyrazenie ---------------------------------------------------------

TEST(ObliczWyrazenie, ArithmeticAndGrouping)
{
    EXPECT_EQ(Eval("2*-3+1").value, -5.0);
    EXPECT_EQ(Eval("2*-3+1").error, 0);
    EXPECT_EQ(Eval("10-2-3").value, 5.0);
    EXPECT_EQ(Eval("8/2/2").value, 2.0);
    EXPECT_EQ(Eval("6/2*3").value, 9.0);
    EXPECT_EQ(Eval("2+3*4").value, 14.0);
    EXPECT_EQ(Eval("(2+3)*4").value, 20.0);
    EXPECT_EQ(Eval("-(2+3)").value, -5.0);
    EXPECT_EQ(Eval("-2*3").value, -6.0);
    EXPECT_EQ(Eval("-2+3").value, 1.0);
    EXPECT_EQ(Eval("1e3+1").value, 1001.0);
    EXPECT_EQ(Eval("1.5*2").value, 3.0);
    EXPECT_EQ(Eval("000000000000000235").value, 235.0);
    EXPECT_EQ(Eval("").value, 0.0);
}

TEST(ObliczWyrazenie, DoubleMinusReadsAsPlusInTheBuffer)
{
    std::string buffer = "2--3";
    int error = 0;
    EXPECT_EQ(ObliczWyrazenie(buffer, error), 5.0);
    EXPECT_EQ(buffer, "2+3");
    EXPECT_EQ(error, 0);
}

TEST(ObliczWyrazenie, SingleCharacters)
{
    EXPECT_EQ(Eval("=").value, 1.0);
    for (const char* op : {"#", "*", "+", "-", "<", ">"}) {
        EXPECT_EQ(Eval(op).value, 0.0) << op;
        EXPECT_EQ(Eval(op).error, 0) << op;
    }
    EXPECT_EQ(Eval("/").error, 9);
    EXPECT_EQ(Eval("/").value, 1.657);
    EXPECT_EQ(Eval("x").error, 2);
    EXPECT_EQ(Eval("x").value, 1.657);
    EXPECT_EQ(Eval("7").value, 7.0);
}

TEST(ObliczWyrazenie, Comparisons)
{
    EXPECT_EQ(Eval("1<2").value, 1.0);
    EXPECT_EQ(Eval("2<2").value, 0.0);
    EXPECT_EQ(Eval("2<=2").value, 1.0);
    EXPECT_EQ(Eval("2.00000005<=2").value, 1.0);   // within the 1e-07 tolerance
    EXPECT_EQ(Eval("2.0000002<=2").value, 0.0);
    EXPECT_EQ(Eval("1.99999995>=2").value, 1.0);
    EXPECT_EQ(Eval("1.9999998>=2").value, 0.0);
    EXPECT_EQ(Eval("3>2").value, 1.0);
    EXPECT_EQ(Eval("1=1").value, 1.0);
    EXPECT_EQ(Eval("1=1.00000001").value, 0.0);    // "=" is exact
    EXPECT_EQ(Eval("1#2").value, 1.0);
    EXPECT_EQ(Eval("1+1=2").value, 1.0);
    EXPECT_EQ(Eval("-1<2").value, 1.0);
}

TEST(ObliczWyrazenie, QuotedOperandsCompareAsTexts)
{
    EXPECT_EQ(Eval("\"ab\"=\"ab\"").value, 1.0);
    EXPECT_EQ(Eval("\"ab\"=\"ac\"").value, 0.0);
    EXPECT_EQ(Eval("\"ab\"#\"ac\"").value, 1.0);
    EXPECT_EQ(Eval("\"ab\"#\"ab\"").value, 0.0);
    EXPECT_EQ(Eval("\"ab\"=\"ab\"").error, 0);
}

TEST(ObliczWyrazenie, OrAndShortCircuit)
{
    EXPECT_EQ(Eval("1|0").value, 1.0);
    EXPECT_EQ(Eval("0|0").value, 0.0);
    EXPECT_EQ(Eval("0|0.5").value, 1.0);
    EXPECT_EQ(Eval("1&1").value, 1.0);
    EXPECT_EQ(Eval("0&1").value, 0.0);
    EXPECT_EQ(Eval("1&0").value, 0.0);
    // The right side is evaluated only when needed.
    EXPECT_EQ(Eval("1|(1/0)").error, 0);
    EXPECT_EQ(Eval("0&(1/0)").error, 0);
    EXPECT_EQ(Eval("0|(1/0)").error, 9);
    EXPECT_EQ(Eval("1&(1/0)").error, 9);
    // "|" binds weaker than "&", which binds weaker than comparisons.
    EXPECT_EQ(Eval("1|0&0").value, 1.0);
    EXPECT_EQ(Eval("1<2&3<2").value, 0.0);
}

TEST(ObliczWyrazenie, Functions)
{
    EXPECT_EQ(Eval("IF(0,1,2)").value, 2.0);
    EXPECT_EQ(Eval("IF(1,5,7)").value, 5.0);
    EXPECT_EQ(Eval("IF(0.00000005,1,2)").value, 2.0);  // |c| at most 1e-07 counts as false
    EXPECT_EQ(Eval("IF(0,1/0,2)").error, 0);           // only the chosen branch runs
    EXPECT_EQ(Eval("max(2,3)").value, 3.0);
    EXPECT_EQ(Eval("min(2,3)").value, 2.0);
    EXPECT_EQ(Eval("max(2,(1+5)*2)").value, 12.0);
    EXPECT_EQ(Eval("round(2.345,2)").value, 2.35);
    EXPECT_EQ(Eval("round(2.5,0.9)").value, 3.0);  // places cut to 0
    EXPECT_EQ(Eval("pow(2,10)").value, 1024.0);
    EXPECT_EQ(Eval("mod(7,3)").value, 1.0);
    EXPECT_EQ(Eval("abs(-4)").value, 4.0);
    EXPECT_EQ(Eval("sqrt(16)").value, 4.0);
    EXPECT_EQ(Eval("log10(1000)").value, 3.0);
    EXPECT_EQ(Eval("log(1)").value, 0.0);
    EXPECT_EQ(Eval("exp(0)").value, 1.0);
    EXPECT_EQ(Eval("sinh(0)").value, 0.0);
    EXPECT_EQ(Eval("cos(0)").value, 1.0);
    EXPECT_EQ(Eval("floor(2.7)").value, 2.0);
    EXPECT_EQ(Eval("ceil(2.1)").value, 3.0);
    EXPECT_EQ(Eval("floor(-2.5)").value, -3.0);
    EXPECT_EQ(Eval("2*max(1,2)+1").value, 5.0);
}

TEST(ObliczWyrazenie, ErrorCodes)
{
    EXPECT_EQ(Eval("1/0").error, 9);
    EXPECT_EQ(Eval("1/0").value, 1.657);
    EXPECT_EQ(Eval("ctan(0)").error, 9);
    EXPECT_EQ(Eval("1+2)").error, 3);
    EXPECT_EQ(Eval(")(").error, 3);
    EXPECT_EQ(Eval("(1+2").error, 4);
    EXPECT_EQ(Eval("(1+2").value, 1.657);
    EXPECT_EQ(Eval("(1)x").error, 5);
    EXPECT_EQ(Eval("min(1)").error, 6);
    EXPECT_EQ(Eval("IF(1,2)").error, 6);
    EXPECT_EQ(Eval("max(1,2,3)").error, 7);
    EXPECT_EQ(Eval("IF(1,2,3,4)").error, 7);
    EXPECT_EQ(Eval("foo(1)").error, 8);
    EXPECT_EQ(Eval("if(0,1,2)").error, 8);  // names are case-sensitive
    EXPECT_EQ(Eval("12a").error, 8);
}

TEST(ObliczWyrazenie, SecondArgumentIsEvaluatedFirst)
{
    // The first failure writes the code; later evaluations see it and stop.
    EXPECT_EQ(Eval("max(zz,1/0)").error, 9);
    EXPECT_EQ(Eval("max(1/0,zz)").error, 8);
}

TEST(ObliczWyrazenie, ErrorAlreadySetEvaluatesNothing)
{
    std::string buffer = "2--2";
    int error = 5;
    EXPECT_EQ(ObliczWyrazenie(buffer, error), 1.232323232343);
    EXPECT_EQ(error, 5);
    EXPECT_EQ(buffer, "2--2");
}

// ---- conversions -----------------------------------------------------------

TEST(TekstNaLiczbe, BlanksAndSeparators)
{
    EXPECT_EQ(TekstNaLiczbe(QStringLiteral(" 1 234,5 ")), 1234.5);
    EXPECT_EQ(TekstNaLiczbe(QStringLiteral("1 234 , 5")), 1234.5);
    EXPECT_EQ(TekstNaLiczbe(QStringLiteral("12.5")), 12.5);  // a typed point does not become 0
    EXPECT_EQ(TekstNaLiczbe(QStringLiteral("-3,25")), -3.25);
    EXPECT_EQ(TekstNaLiczbe(QStringLiteral("7")), 7.0);
}

TEST(TekstNaLiczbe, WhatDoesNotConvertIsZero)
{
    for (const char* text : {"", "   ", "abc", "inf", "nan", "0x10", "1,2,3", "12 zł"})
        EXPECT_EQ(TekstNaLiczbe(QString::fromUtf8(text)), 0.0) << text;
}

TEST(TekstNaCalkowita, WholeNumbersOnly)
{
    EXPECT_EQ(TekstNaCalkowita(QStringLiteral("1 234")), 1234);
    EXPECT_EQ(TekstNaCalkowita(QStringLiteral(" -7 ")), -7);
    EXPECT_EQ(TekstNaCalkowita(QStringLiteral("2147483647")), INT_MAX);
    EXPECT_EQ(TekstNaCalkowita(QStringLiteral("-2147483648")), INT_MIN);
    for (const char* text : {"", "abc", "12,5", "12.5", "0x10", "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_EQ(TekstNaCalkowita(QString::fromLatin1(text)), 0) << text;
}

TEST(UsunSpacje, TrimsAndDropsBlanks)
{
    EXPECT_EQ(UsunSpacje(QStringLiteral("  WA 123 45\t")), QStringLiteral("WA12345"));
    EXPECT_EQ(UsunSpacje(QStringLiteral("\tab c\n")), QStringLiteral("abc"));
    EXPECT_EQ(UsunSpacje(QStringLiteral("a\tb")), QStringLiteral("a\tb"));  // only " " inside
    EXPECT_EQ(UsunSpacje(QString()), QString());
}

TEST(PorownajBezSpacji, IgnoresCaseAndBlanks)
{
    EXPECT_TRUE(PorownajBezSpacji(QStringLiteral("wa 12345"), QStringLiteral("WA12345")));
    EXPECT_TRUE(PorownajBezSpacji(QStringLiteral("źół 1"), QStringLiteral("ŹÓŁ1")));
    EXPECT_TRUE(PorownajBezSpacji(QStringLiteral("ąćęłńóśźż"), QStringLiteral("ĄĆĘŁŃÓŚŹŻ")));
    EXPECT_TRUE(PorownajBezSpacji(QString(), QStringLiteral("   ")));
    EXPECT_FALSE(PorownajBezSpacji(QStringLiteral("WA12345"), QStringLiteral("WA12346")));
    EXPECT_FALSE(PorownajBezSpacji(QStringLiteral("ŁDZ"), QStringLiteral("LDZ")));
}

TEST(NumerRzymski, QuartersOnly)
{
    EXPECT_EQ(NumerRzymski(1), QStringLiteral("I"));
    EXPECT_EQ(NumerRzymski(2), QStringLiteral("II"));
    EXPECT_EQ(NumerRzymski(3), QStringLiteral("III"));
    EXPECT_EQ(NumerRzymski(4), QStringLiteral("IV"));
    EXPECT_EQ(NumerRzymski(0), QString());
    EXPECT_EQ(NumerRzymski(5), QString());
    EXPECT_EQ(NumerRzymski(-1), QString());
}

// ---- temporary file name -----------------------------------------------------

TEST(NazwaZbioruTymczasowego, FirstFreeNameInTemp)
{
    kal::test::TestDir temp;
    EnvVar tempVar("TEMP", temp.path());
    FixedToday today(QDate(2009, 6, 12));
    const QString base = temp.path() + QStringLiteral("/Tym2009612");
    // A name is taken by making its file: two copies of the program asking
    // at the same moment never get one name.
    EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB")), base + QStringLiteral("aaaa.DB"));
    EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB")), base + QStringLiteral("aaab.DB"));
    EXPECT_EQ(QFileInfo(base + QStringLiteral("aaab.DB")).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("aaac.DB")));

    for (char c = 'a'; c <= 'z'; ++c)
        Touch(base + QStringLiteral("aaa") + QLatin1Char(c) + QStringLiteral(".DB"));
    EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB")), base + QStringLiteral("aaba.DB"));
    // Another extension is another name.
    EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("px")), base + QStringLiteral("aaaa.px"));
}

TEST(NazwaZbioruTymczasowego, DirectoryChoice)
{
    kal::test::TestDir tmp;
    kal::test::TestDir work; // the working directory
    FixedToday today(QDate(2010, 1, 5));
    {
        // TEMP wins over TMP; a trailing "/" is not doubled.
        kal::test::TestDir temp;
        EnvVar tempVar("TEMP", temp.path() + QLatin1Char('/'));
        EnvVar tmpVar("TMP", tmp.path());
        EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB")),
                  temp.path() + QStringLiteral("/Tym201015aaaa.DB"));
    }
    {
        EnvVar tempVar("TEMP", std::nullopt);
        EnvVar tmpVar("TMP", tmp.path());
        EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB")),
                  tmp.path() + QStringLiteral("/Tym201015aaaa.DB"));
    }
    {
        // A directory that cannot be found: the working directory.
        EnvVar tempVar("TEMP", work.path() + QStringLiteral("/brak"));
        EnvVar tmpVar("TMP", tmp.path());
        EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB")), QStringLiteral("Tym201015aaaa.DB"));
    }
    {
        // Neither set: the working directory, whose first name is taken.
        EnvVar tempVar("TEMP", std::nullopt);
        EnvVar tmpVar("TMP", std::nullopt);
        EXPECT_EQ(NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB")), QStringLiteral("Tym201015aaab.DB"));
    }
}

TEST(NazwaZbioruTymczasowego, EveryNameTakenShowsTheBoxAndGivesEmptyText)
{
    kal::test::ScriptedDialogs dialogs;
    EnvVar tempVar("TEMP", std::nullopt);
    EnvVar tmpVar("TMP", std::nullopt);
    FixedToday today(QDate(2009, 6, 12));
    long asked = 0;
    QString last;
    const QString name = NazwaZbioruTymczasowego(QStringLiteral("Tym"), QStringLiteral("DB"), [&](const QString& p) {
        ++asked;
        last = p;
        return true;
    });
    EXPECT_EQ(name, QString());
    EXPECT_EQ(asked, 26L * 26 * 26 * 26);
    EXPECT_EQ(last, QStringLiteral("Tym2009612zzzz.DB"));
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("Błąd generowania zbioru tymczsowego !!!"));
    EXPECT_EQ(dialogs.boxes()[0].caption, QStringLiteral("Tymczasowa nazwa zbioru"));
    EXPECT_EQ(dialogs.boxes()[0].buttons, unsigned(kal::MbOk));
    EXPECT_EQ(dialogs.boxes()[0].icon, kal::MsgIcon::None);
}
