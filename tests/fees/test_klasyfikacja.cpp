#include "KlasyfikacjaPojazdow.h"

#include <gtest/gtest.h>

namespace {

int Wiersz(const char* rodzaj, const char* euro, QDate rej = QDate(), std::optional<int> rok = std::nullopt)
{
    return KlasyfikujPojazd(DanePojazdu{QString::fromLatin1(rodzaj), QString::fromLatin1(euro), rej, rok,
                                        QStringLiteral("N")})
        .wiersz;
}

QDate D(int r, int m, int d) { return QDate(r, m, d); }

} // namespace

TEST(KlasaEuro, EmptyClassTakesTheKindsOwn)
{
    EXPECT_EQ(KlasaEuro(QString(), QStringLiteral("4")), QLatin1Char('1'));
    EXPECT_EQ(KlasaEuro(QString(), QStringLiteral("5")), QLatin1Char('2'));
    EXPECT_EQ(KlasaEuro(QString(), QStringLiteral("6")), QLatin1Char('3'));
    EXPECT_EQ(KlasaEuro(QString(), QStringLiteral("7")), QLatin1Char('0'));
    EXPECT_EQ(KlasaEuro(QString(), QStringLiteral("1")), QLatin1Char('0'));
    EXPECT_EQ(KlasaEuro(QString(), QString()), QLatin1Char('0'));
    // Only an empty class takes the default.
    EXPECT_EQ(KlasaEuro(QStringLiteral("0"), QStringLiteral("4")), QLatin1Char('0'));
    EXPECT_EQ(KlasaEuro(QStringLiteral("3"), QStringLiteral("5")), QLatin1Char('3'));
}

TEST(WierszTabeliD, PassengerCars)
{
    EXPECT_EQ(Wiersz("1", "0"), 1);
    EXPECT_EQ(Wiersz("1", ""), 1);
    EXPECT_EQ(Wiersz("1", "", D(1992, 12, 31)), 1);
    EXPECT_EQ(Wiersz("2", "", D(1993, 1, 1)), 2);
    EXPECT_EQ(Wiersz("1", "1"), 2);
    EXPECT_EQ(Wiersz("1", "", D(1997, 1, 1)), 3);
    EXPECT_EQ(Wiersz("1", "2"), 3);
    EXPECT_EQ(Wiersz("1", "", D(2001, 3, 1)), 4);
    EXPECT_EQ(Wiersz("1", "3"), 4);
    EXPECT_EQ(Wiersz("1", "", D(2006, 1, 1)), 5);
    EXPECT_EQ(Wiersz("1", "4", D(1990, 1, 1)), 5);
    EXPECT_EQ(Wiersz("1", "5", D(1990, 1, 1)), 6);
    // The year counts: a car registered in 2010 with Euro 1 is row 5, not 2.
    EXPECT_EQ(Wiersz("2", "1", D(2010, 5, 5)), 5);
}

TEST(WierszTabeliD, PassengerCarYearBoundaries)
{
    // Only the registration year counts: the last day of a year stays below,
    // the first day of the next one is above.
    EXPECT_EQ(Wiersz("1", "0", D(1996, 12, 31)), 2);
    EXPECT_EQ(Wiersz("1", "0", D(1997, 1, 1)), 3);
    EXPECT_EQ(Wiersz("1", "0", D(2000, 12, 31)), 3);
    EXPECT_EQ(Wiersz("1", "0", D(2001, 1, 1)), 4);
    EXPECT_EQ(Wiersz("2", "0", D(2005, 12, 31)), 4);
    EXPECT_EQ(Wiersz("2", "0", D(2006, 1, 1)), 5);
    // The date lifts a lower class; a higher class lifts an earlier date.
    EXPECT_EQ(Wiersz("1", "2", D(2001, 1, 1)), 4);
    EXPECT_EQ(Wiersz("1", "3", D(1993, 1, 1)), 4);
    EXPECT_EQ(Wiersz("2", "4", QDate()), 5);
}

TEST(WierszTabeliD, LightVehiclesDateBoundaries)
{
    EXPECT_EQ(Wiersz("3", ""), 7);
    EXPECT_EQ(Wiersz("3", "", D(1993, 9, 30)), 7);
    EXPECT_EQ(Wiersz("3", "", D(1993, 10, 1)), 8);
    EXPECT_EQ(Wiersz("3", "1"), 8);
    EXPECT_EQ(Wiersz("3", "", D(1997, 6, 30)), 8);
    EXPECT_EQ(Wiersz("3", "", D(1997, 7, 1)), 9);
    EXPECT_EQ(Wiersz("3", "2"), 9);
    EXPECT_EQ(Wiersz("3", "", D(2001, 6, 30)), 9);
    EXPECT_EQ(Wiersz("3", "", D(2001, 7, 1)), 10);
    EXPECT_EQ(Wiersz("3", "3"), 10);
    EXPECT_EQ(Wiersz("3", "", D(2006, 6, 30)), 10);
    EXPECT_EQ(Wiersz("3", "", D(2006, 7, 1)), 11);
    EXPECT_EQ(Wiersz("3", "4"), 11);
    EXPECT_EQ(Wiersz("3", "5", D(1990, 1, 1)), 12);
    // Row 12 only by class: a late date alone stops at 11.
    EXPECT_EQ(Wiersz("3", "0", D(2012, 1, 1)), 11);
    EXPECT_EQ(Wiersz("3", "1", D(2001, 7, 1)), 10);
}

TEST(WierszTabeliD, HeavyVehiclesAndBuses)
{
    // Kind 7 has no Euro class of its own.
    EXPECT_EQ(Wiersz("7", ""), 13);
    EXPECT_EQ(Wiersz("7", "", D(1993, 9, 30)), 13);
    EXPECT_EQ(Wiersz("5", "0", D(1993, 9, 30)), 13);
    EXPECT_EQ(Wiersz("8", "0", D(1993, 9, 30)), 14);
    EXPECT_EQ(Wiersz("8", "0", D(1993, 10, 1)), 15);
    EXPECT_EQ(Wiersz("7", "", D(1996, 9, 30)), 15);
    EXPECT_EQ(Wiersz("7", "", D(1996, 10, 1)), 16);
    EXPECT_EQ(Wiersz("7", "", D(2001, 9, 30)), 16);
    EXPECT_EQ(Wiersz("7", "", D(2001, 10, 1)), 17);
    EXPECT_EQ(Wiersz("7", "", D(2006, 9, 30)), 17);
    EXPECT_EQ(Wiersz("7", "", D(2006, 10, 1)), 18);
    EXPECT_EQ(Wiersz("4", "", D(2009, 9, 30)), 18);
    EXPECT_EQ(Wiersz("4", "", D(2009, 10, 1)), 19);
    // An empty class takes the kind's own: kinds 4, 5, 6 are Euro 1, 2, 3.
    EXPECT_EQ(Wiersz("4", ""), 15);
    EXPECT_EQ(Wiersz("5", ""), 16);
    EXPECT_EQ(Wiersz("6", ""), 17);
    EXPECT_EQ(Wiersz("8", "4"), 18);
    EXPECT_EQ(Wiersz("8", "5"), 19);
    // Kind 4's own Euro 1 does not hold back a later date, nor a bus's
    // missing class.
    EXPECT_EQ(Wiersz("4", "", D(2001, 10, 1)), 17);
    EXPECT_EQ(Wiersz("8", "", D(2009, 10, 1)), 19);
    EXPECT_EQ(Wiersz("6", "", D(1990, 1, 1)), 17);
}

TEST(WierszTabeliD, Tractors)
{
    EXPECT_EQ(Wiersz("9", ""), 20);
    EXPECT_EQ(Wiersz("9", "", D(2001, 6, 30)), 20);
    EXPECT_EQ(Wiersz("9", "", D(2001, 7, 1)), 21);
    EXPECT_EQ(Wiersz("9", "1"), 21);
    EXPECT_EQ(Wiersz("9", "", D(2003, 12, 31)), 21);
    EXPECT_EQ(Wiersz("9", "", D(2004, 1, 1)), 22);
    EXPECT_EQ(Wiersz("9", "2"), 22);
    EXPECT_EQ(Wiersz("9", "", D(2007, 1, 1)), 22);
    EXPECT_EQ(Wiersz("9", "", D(2007, 1, 2)), 23);
    EXPECT_EQ(Wiersz("9", "3"), 23);
    // Tractors have no class of their kind: "0", so the date decides.
    EXPECT_EQ(Wiersz("9", "1", D(2004, 1, 1)), 22);
    EXPECT_EQ(Wiersz("9", "", D(2012, 1, 1)), 23);
}

TEST(WierszTabeliD, MachinesByProductionYear)
{
    EXPECT_EQ(Wiersz("10", ""), 24);
    EXPECT_EQ(Wiersz("10", "", QDate(), 1999), 24);
    EXPECT_EQ(Wiersz("10", "", QDate(), 2000), 25);
    EXPECT_EQ(Wiersz("10", "1"), 25);
    EXPECT_EQ(Wiersz("10", "", QDate(), 2003), 25);
    EXPECT_EQ(Wiersz("10", "", QDate(), 2004), 26);
    EXPECT_EQ(Wiersz("10", "2"), 26);
    EXPECT_EQ(Wiersz("10", "3", QDate(), 1980), 27);
    // An empty production year, or one below 1900, takes the registration year.
    EXPECT_EQ(Wiersz("10", "", D(2005, 3, 1)), 26);
    EXPECT_EQ(Wiersz("10", "", D(2005, 3, 1), 1850), 26);
    EXPECT_EQ(Wiersz("10", "", D(2005, 3, 1), 1995), 24);
    EXPECT_EQ(Wiersz("10", "", D(2005, 3, 1), 1900), 24);
    // Row 27 only by stage: a late year alone stops at 26.
    EXPECT_EQ(Wiersz("10", "0", QDate(), 2015), 26);
}

TEST(WierszTabeliD, RailVehiclesAndUnknownKinds)
{
    EXPECT_EQ(Wiersz("11", "", QDate(), 2007), 28);
    EXPECT_EQ(Wiersz("11", "", QDate(), 2008), 29);
    EXPECT_EQ(Wiersz("11", "3", QDate(), 1970), 29);
    EXPECT_EQ(Wiersz("0", "5"), 0);
    EXPECT_EQ(Wiersz("12", "5"), 0);
    EXPECT_EQ(Wiersz("x", "5"), 0);
    // 260 is 4 in 8 bits; it is still no kind of vehicle.
    EXPECT_EQ(Wiersz("260", "1"), 0);
    EXPECT_EQ(Wiersz("", ""), 0);
}

TEST(KlasyfikujPojazd, GasFlagTInEitherCase)
{
    DanePojazdu v{QStringLiteral("4"), QString(), QDate(), std::nullopt, QStringLiteral("T")};
    EXPECT_TRUE(KlasyfikujPojazd(v).gaz);
    EXPECT_EQ(KlasyfikujPojazd(v).rodzaj, 4);
    // An old row with "t", which the register shows as "Tak".
    v.fabrycznaInstalacjaGazu = QStringLiteral("t");
    EXPECT_TRUE(KlasyfikujPojazd(v).gaz);
    for (const char* nie : {"N", "n", "", "?", "TT"}) {
        v.fabrycznaInstalacjaGazu = QString::fromLatin1(nie);
        EXPECT_FALSE(KlasyfikujPojazd(v).gaz) << nie;
    }
    v.fabrycznaInstalacjaGazu = QString();
    EXPECT_FALSE(KlasyfikujPojazd(v).gaz);
}
