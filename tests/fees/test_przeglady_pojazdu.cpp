// The last inspection and the highest odometer reading of the current vehicle,
// as the vehicle reports print them.

#include "ModulTestowy.h"

#include "PrzegladyPojazdu.h"

namespace {

using PrzegladyTest = ModulTestowy;

const QDate kBrak;

TEST_F(PrzegladyTest, VehicleWithoutInspectionsHasNoneDue)
{
    Pojazd("1", QStringLiteral("WA 1"), "Fiat", 15000);
    // An inspection that names no next date does not count.
    Przeglad(QDate(2009, 4, 2), "F/1", kBrak, 12000);

    DanePojazduDoPrzegladu p;
    p.Wczytaj();
    EXPECT_FALSE(p.znaleziony);
    EXPECT_EQ(p.data.NaTekst(), QStringLiteral("__-__ - ____"));
    EXPECT_EQ(p.dataNastepnego.NaTekst(), QStringLiteral("__-__ - ____"));
    EXPECT_EQ(p.km, 0.0);
    EXPECT_EQ(p.kmNastepnego, 0.0);
}

TEST_F(PrzegladyTest, LastInspectionByDateThenInvoiceWins)
{
    const int inny = Pojazd("1", QStringLiteral("WA 2"), "Opel", 10000);
    Przeglad(QDate(2009, 12, 1), "Z/1", QDate(2010, 12, 1), 99000); // another vehicle's
    Pojazd("1", QStringLiteral("WA 3"), "Fiat", 20000);
    Przeglad(QDate(2008, 3, 1), "A/7", QDate(2009, 3, 1), 15000);
    Przeglad(QDate(2009, 2, 10), "F/2", QDate(2010, 2, 10), 30000);
    // "F/10" sorts before "F/2", so the "F/2" row of the same day is the last.
    Przeglad(QDate(2009, 2, 10), "F/10", QDate(2010, 2, 11), 30500);
    Przeglad(QDate(2009, 5, 1), "N/1", kBrak, 40000); // a repair, no next date

    DanePojazduDoPrzegladu p;
    p.Wczytaj();
    EXPECT_TRUE(p.znaleziony);
    EXPECT_EQ(p.data.NaTekst(), QStringLiteral("10-02-2009"));
    EXPECT_EQ(p.dataNastepnego.NaTekst(), QStringLiteral("10-02-2010"));
    EXPECT_EQ(p.km, 30000.0);
    EXPECT_EQ(p.kmNastepnego, 50000.0); // 30 000 + 20 000 between inspections
    EXPECT_TRUE(dm->TPrzegl->Eof());

    // Read again for the other vehicle: nothing of the first is left over.
    NaPojezdzie(inny);
    p.Wczytaj();
    EXPECT_EQ(p.data.NaTekst(), QStringLiteral("01-12-2009"));
    EXPECT_EQ(p.kmNastepnego, 109000.0);
}

TEST_F(PrzegladyTest, NoDistanceBetweenInspectionsMakesTheDueReadingTheLastOne)
{
    Pojazd("1", QStringLiteral("WA 4"));
    Przeglad(QDate(2009, 1, 5), "P/1", QDate(2010, 1, 5), 8123.5);
    // No reading at all counts as 0.
    Przeglad(QDate(2009, 6, 1), "P/2", QDate(2010, 6, 1), -1);

    DanePojazduDoPrzegladu p;
    p.Wczytaj();
    EXPECT_TRUE(p.znaleziony);
    EXPECT_EQ(p.data.NaTekst(), QStringLiteral("01-06-2009"));
    EXPECT_EQ(p.km, 0.0);
    EXPECT_EQ(p.kmNastepnego, 0.0);

    dm->TPrzegl->Last();
    dm->TPrzegl->Delete();
    p.Wczytaj();
    EXPECT_EQ(p.km, 8123.5);
    EXPECT_EQ(p.kmNastepnego, 8123.5);
}

TEST_F(PrzegladyTest, HighestReadingOfInspectionsAndMileage)
{
    Pojazd("1", QStringLiteral("WB 1"));
    Przeglad(QDate(2009, 1, 10), "P/1", kBrak, 52000);
    Przeglad(QDate(2009, 3, 10), "P/2", kBrak, 51000);
    Przebieg(QDate(2009, 2, 1), 50500);
    Przebieg(QDate(2009, 4, 30), 61000.5);
    Przebieg(QDate(2009, 5, 31), 60000);

    PrzebiegSamochodu p;
    p.Wczytaj();
    EXPECT_TRUE(p.znaleziony);
    EXPECT_EQ(p.km, 61000.5);
    EXPECT_EQ(p.data.NaTekst(), QStringLiteral("30-04-2009"));
    EXPECT_TRUE(dm->TPrzegl->Eof());
    EXPECT_TRUE(dm->TPrzebieg->Eof());
}

TEST_F(PrzegladyTest, EqualHighestReadingGivesTheInspectionDate)
{
    Pojazd("1", QStringLiteral("WB 2"));
    Przebieg(QDate(2009, 1, 1), 70000);
    Przeglad(QDate(2009, 2, 15), "P/1", QDate(2010, 2, 15), 70000);
    Przeglad(QDate(2009, 3, 15), "P/2", kBrak, 70000);

    PrzebiegSamochodu p;
    p.Wczytaj();
    EXPECT_TRUE(p.znaleziony);
    EXPECT_EQ(p.km, 70000.0);
    EXPECT_EQ(p.data.NaTekst(), QStringLiteral("15-02-2009"));
}

TEST_F(PrzegladyTest, ZeroReadingsAreNoMileage)
{
    Pojazd("1", QStringLiteral("WB 3"));
    PrzebiegSamochodu p;
    p.Wczytaj();
    EXPECT_FALSE(p.znaleziony);

    Przeglad(QDate(2009, 2, 15), "P/1", QDate(2010, 2, 15), 0);
    Przebieg(QDate(2009, 1, 1), 0);
    p.Wczytaj();
    EXPECT_FALSE(p.znaleziony);
    EXPECT_EQ(p.km, 0.0);
    EXPECT_EQ(p.data.NaTekst(), QStringLiteral("__-__ - ____"));
}

} // namespace
