// String values: a text is stored without its trailing blanks, so that
// texts differing only by them are one value for comparisons, order, search
// and unique keys; a text stored with trailing blanks by an older program
// reads as if it had none.
#include "DbSchema.h"
#include "Exceptions.h"
#include "TestDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace kal;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

// Rodzaje.db: Rodzaj string 2, Marka string 20, primary key on both.
struct Kinds {
    TTable T{QStringLiteral("TRodzaje")};
    TField* Rodzaj;
    TField* Marka;

    Kinds()
    {
        T.setTableName(QStringLiteral("Rodzaje.db"));
        Rodzaj = T.AddField(QStringLiteral("Rodzaj"), ftString, 2);
        Marka = T.AddField(QStringLiteral("Marka"), ftString, 20);
        T.IndexDefs().Add(QString(), QStringLiteral("Rodzaj;Marka"), ixPrimary | ixUnique);
        T.CreateTable();
        T.Open();
    }

    void add(const QString& rodzaj, const QString& marka)
    {
        T.Append();
        Rodzaj->setAsString(rodzaj);
        Marka->setAsString(marka);
        T.Post();
    }
};

// Kind 1 picked from a list keeps the item's first two characters, "1 ";
// typed or set by default it is "1". Both are stored as "1", so the second
// vehicle of the same make is refused by the unique key, and "1" finds it.
TEST(StringValues, TrailingBlanksAreNotPartOfTheValue)
{
    TestDir dir;
    Kinds k;
    k.add(QStringLiteral("1"), QStringLiteral("Fiat"));
    k.T.Append();
    k.Rodzaj->setAsString(QStringLiteral("1 -samochód osobowy z katalizatorem"));
    EXPECT_EQ(k.Rodzaj->AsString(), "1");
    k.Marka->setAsString(QStringLiteral("Fiat   "));
    EXPECT_EQ(k.Marka->AsString(), "Fiat");
    EXPECT_THROW(k.T.Post(), EDatabaseError);
    k.T.Cancel();
    EXPECT_EQ(k.T.RecordCount(), 1);

    k.add(QStringLiteral("2 "), QStringLiteral("Opel "));
    EXPECT_TRUE(k.T.Locate(QStringLiteral("Rodzaj;Marka"), {QStringLiteral("2"), QStringLiteral("Opel")}));
    k.T.First();
    EXPECT_TRUE(k.T.Locate(QStringLiteral("Marka"), QStringLiteral("Opel  ")));
    EXPECT_EQ(k.T.Lookup(QStringLiteral("Rodzaj"), {QStringLiteral("2 ")}, QStringLiteral("Marka")), "Opel");
    EXPECT_TRUE(k.T.FindKey({QStringLiteral("2"), QStringLiteral("Opel")}));
    EXPECT_EQ(k.Marka->AsString(), "Opel");

    // Leading blanks and blanks inside stay; a text of blanks is empty.
    k.add(QStringLiteral(" 3"), QStringLiteral("Star 200 "));
    EXPECT_EQ(k.Rodzaj->AsString(), " 3");
    EXPECT_EQ(k.Marka->AsString(), "Star 200");
    k.T.Edit();
    k.Marka->setAsString(QStringLiteral("   "));
    EXPECT_TRUE(k.Marka->IsNull());
    k.T.Cancel();
}

// A memo keeps its text as typed, trailing blanks and line ends included.
TEST(StringValues, AMemoKeepsItsTrailingBlanks)
{
    TestDir dir;
    kal::test::CreateTowns();
    Towns towns;
    towns.T.Open();
    towns.T.Append();
    towns.Nazwa->setAsString(QStringLiteral("Płock"));
    towns.Uwagi->setAsString(QStringLiteral("wymiana oleju \n"));
    towns.T.Post();
    towns.T.Refresh();
    EXPECT_EQ(towns.Uwagi->AsString(), "wymiana oleju \n");
}

// A file written by an older program holds "Płock  " and "Kutno ": both read
// without the blanks, and a search or a look-up of "Płock" finds the row.
TEST(StringValues, TextsStoredWithTrailingBlanksReadWithout)
{
    TestDir dir;
    kal::test::CreateTowns();
    {
        Towns towns;
        towns.T.Open();
        for (const char* n : {"Płock", "Kutno"}) {
            towns.T.Append();
            towns.Nazwa->setAsString(QString::fromUtf8(n));
            towns.T.Post();
        }
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open("Miasta.db", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE data SET \"Nazwa\" = \"Nazwa\" || '  ' WHERE \"Nazwa\" = 'Płock';"
                               "UPDATE data SET \"Nazwa\" = \"Nazwa\" || ' ' WHERE \"Nazwa\" = 'Kutno';",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    Towns towns;
    towns.T.Open();
    QStringList names;
    for (towns.T.First(); !towns.T.Eof(); towns.T.Next())
        names << towns.Nazwa->AsString();
    EXPECT_EQ(names, (QStringList{"Płock", "Kutno"})); // read in a walk
    towns.T.First();
    towns.T.Edit();
    EXPECT_EQ(towns.Nazwa->AsString(), "Płock"); // read into the record
    towns.T.Cancel();
    EXPECT_TRUE(towns.T.Locate(QStringLiteral("Nazwa"), QStringLiteral("Płock")));
    EXPECT_EQ(towns.Nazwa->AsString(), "Płock");
    EXPECT_EQ(towns.T.Lookup(QStringLiteral("Nazwa"), {QStringLiteral("Kutno")}, QStringLiteral("Nazwa")), "Kutno");
}

} // namespace
