// Order, navigation, search, ranges and bookmarks of a table component.
#include "DbSchema.h"
#include "Exceptions.h"
#include "TestDir.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        towns.T.Open();
        for (const char* n : {"Łódź", "Lublin", "Zabrze", "Żary", "ąb", "Ab"})
            towns.add(QString::fromUtf8(n), 1.0);
    }
    TestDir dir;
    Towns towns;
};

TEST_F(NavigationTest, PrimaryOrderIsInsertionOrder)
{
    EXPECT_EQ(towns.names(), (QStringList{"Łódź", "Lublin", "Zabrze", "Żary", "ąb", "Ab"}));
    EXPECT_EQ(towns.T.RecordCount(), 6);
}

TEST_F(NavigationTest, IndexOrderFollowsPolishAlphabet)
{
    towns.T.setIndexFieldNames("Nazwa");
    EXPECT_EQ(towns.names(), (QStringList{"Ab", "ąb", "Lublin", "Łódź", "Zabrze", "Żary"}));
    towns.T.setIndexName("PoNazwie");
    EXPECT_EQ(towns.T.IndexFieldList(), QStringList{"Nazwa"});
    EXPECT_EQ(towns.names().first(), "Ab");
}

TEST_F(NavigationTest, OrderWithoutIndexSortsNullsFirstAndTiesStable)
{
    // Kwota has no index: sorted in memory; the null amount first, equal
    // amounts in insertion order.
    towns.T.First();
    towns.T.Edit();
    towns.Kwota->Clear();
    towns.T.Post(); // Łódź
    towns.T.setIndexFieldNames("Kwota");
    EXPECT_EQ(towns.names(), (QStringList{"Łódź", "Lublin", "Zabrze", "Żary", "ąb", "Ab"}));
    towns.T.Locate("Nazwa", QString("Zabrze"));
    towns.T.Edit();
    towns.Kwota->setAsFloat(-2.5);
    towns.T.Post();
    EXPECT_EQ(towns.Nazwa->AsString(), "Zabrze");
    EXPECT_EQ(towns.T.RecNo(), 2); // after the null, before the 1.0 amounts
    EXPECT_EQ(towns.names(), (QStringList{"Łódź", "Zabrze", "Lublin", "Żary", "ąb", "Ab"}));
}

TEST_F(NavigationTest, BofEofMoveByAndRecNo)
{
    towns.T.setIndexFieldNames("Nazwa");
    towns.T.First();
    EXPECT_TRUE(towns.T.Bof());
    EXPECT_FALSE(towns.T.Eof());
    towns.T.Prior();
    EXPECT_TRUE(towns.T.Bof());
    EXPECT_EQ(towns.Nazwa->AsString(), "Ab");
    EXPECT_EQ(towns.T.MoveBy(3), 3);
    EXPECT_EQ(towns.Nazwa->AsString(), "Łódź");
    EXPECT_EQ(towns.T.RecNo(), 4);
    EXPECT_EQ(towns.T.MoveBy(10), 2);
    EXPECT_TRUE(towns.T.Eof());
    EXPECT_EQ(towns.Nazwa->AsString(), "Żary");
    towns.T.setRecNo(2);
    EXPECT_EQ(towns.Nazwa->AsString(), "ąb");
    towns.T.Last();
    EXPECT_TRUE(towns.T.Eof());
    towns.T.Next();
    EXPECT_EQ(towns.Nazwa->AsString(), "Żary");
}

TEST_F(NavigationTest, InsertAndPostRepositionInIndexOrder)
{
    towns.T.setIndexFieldNames("Nazwa");
    towns.T.First();
    towns.T.Insert();
    towns.Nazwa->setAsString("Łomża");
    towns.T.Post();
    EXPECT_EQ(towns.Nazwa->AsString(), "Łomża");
    EXPECT_EQ(towns.T.RecNo(), 4); // Ab ąb Lublin Łomża Łódź Zabrze Żary (o before ó)
    towns.T.Edit();
    towns.Nazwa->setAsString("Aleksandrów");
    towns.T.Post();
    EXPECT_EQ(towns.T.RecNo(), 2);
    towns.T.Next();
    EXPECT_EQ(towns.Nazwa->AsString(), "ąb");
}

TEST_F(NavigationTest, LocateWithOptions)
{
    towns.T.setIndexFieldNames("Nazwa");
    EXPECT_TRUE(towns.T.Locate("Nazwa", QString("Lublin")));
    EXPECT_EQ(towns.T.RecNo(), 3);
    EXPECT_FALSE(towns.T.Locate("Nazwa", QString("lublin")));
    EXPECT_EQ(towns.Nazwa->AsString(), "Lublin"); // not found: no move
    EXPECT_TRUE(towns.T.Locate("Nazwa", QString("ŁÓDŹ"), loCaseInsensitive));
    EXPECT_EQ(towns.Nazwa->AsString(), "Łódź");
    EXPECT_TRUE(towns.T.Locate("Nazwa", QString("Za"), loPartialKey));
    EXPECT_EQ(towns.Nazwa->AsString(), "Zabrze");
    // several matches: the first in the current order
    EXPECT_TRUE(towns.T.Locate("Kwota", 1.0));
    EXPECT_EQ(towns.Nazwa->AsString(), "Ab");
    EXPECT_TRUE(towns.T.Locate("Kwota;Nazwa", QVariantList{1.0, QString("Żary")}));
    EXPECT_EQ(towns.T.RecNo(), 6);
}

TEST_F(NavigationTest, LookupReadsWithoutMoving)
{
    towns.T.Last();
    towns.T.First();
    towns.T.Edit();
    towns.Kwota->setAsFloat(7.25);
    towns.T.Post(); // Łódź
    towns.T.Last();
    EXPECT_EQ(towns.T.Lookup("Nazwa", {QString("Łódź")}, "Kwota").toDouble(), 7.25);
    EXPECT_FALSE(towns.T.Lookup("Nazwa", {QString("Kraków")}, "Kwota").isValid());
    EXPECT_EQ(towns.Nazwa->AsString(), "Ab"); // still on the last record
    EXPECT_EQ(towns.T.FieldValues("Nazwa").toString(), "Ab");
}

TEST_F(NavigationTest, FindKeyNearestAndSetKey)
{
    towns.T.setIndexFieldNames("Nazwa");
    EXPECT_TRUE(towns.T.FindKey({QString("zabrze")})); // the order is case-insensitive
    EXPECT_EQ(towns.Nazwa->AsString(), "Zabrze");
    EXPECT_FALSE(towns.T.FindKey({QString("Łomża")}));
    towns.T.FindNearest({QString("Łomża")});
    EXPECT_EQ(towns.Nazwa->AsString(), "Łódź");
    towns.T.FindNearest({QString("Źródło")});
    EXPECT_EQ(towns.Nazwa->AsString(), "Żary");
    towns.T.SetKey();
    EXPECT_EQ(towns.T.State(), dsSetKey);
    towns.Nazwa->setAsString("Lublin");
    EXPECT_TRUE(towns.T.GotoKey());
    EXPECT_EQ(towns.T.State(), dsBrowse);
    EXPECT_EQ(towns.T.RecNo(), 3);
    towns.T.EditKey();
    towns.Nazwa->setAsString("M");
    towns.T.GotoNearest();
    EXPECT_EQ(towns.Nazwa->AsString(), "Zabrze");
}

TEST_F(NavigationTest, RangeShowsOnlyKeysBetween)
{
    towns.T.setIndexFieldNames("Nazwa");
    towns.T.SetRange({QString("b")}, {QString("Łódź")});
    EXPECT_EQ(towns.names(), (QStringList{"Lublin", "Łódź"}));
    EXPECT_EQ(towns.T.RecordCount(), 2);
    towns.T.CancelRange();
    EXPECT_EQ(towns.T.RecordCount(), 6);
}

TEST_F(NavigationTest, BookmarksAndRefreshKeepTheRecord)
{
    towns.T.setIndexFieldNames("Nazwa");
    towns.T.Locate("Nazwa", QString("Zabrze"));
    const auto mark = towns.T.GetBookmark();
    towns.T.First();
    EXPECT_TRUE(towns.T.BookmarkValid(mark));
    towns.T.GotoBookmark(mark);
    EXPECT_EQ(towns.Nazwa->AsString(), "Zabrze");
    towns.T.Refresh();
    EXPECT_EQ(towns.Nazwa->AsString(), "Zabrze");
    towns.T.Delete();
    EXPECT_EQ(towns.Nazwa->AsString(), "Żary"); // the next record becomes current
    EXPECT_FALSE(towns.T.BookmarkValid(mark));
    EXPECT_THROW(towns.T.GotoBookmark(mark), EDatabaseError);
}

TEST_F(NavigationTest, DeleteOfEmptyTableIsRefused)
{
    towns.T.Close();
    towns.T.EmptyTable();
    towns.T.Open();
    EXPECT_TRUE(towns.T.IsEmpty());
    EXPECT_TRUE(towns.T.Eof());
    EXPECT_TRUE(towns.T.Bof());
    EXPECT_EQ(towns.T.RecNo(), 0);
    try {
        towns.T.Delete();
        FAIL() << "delete of nothing accepted";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Nie można wykonać tej operacji na pustym zbiorze danych");
    }
    // Edit of an empty table starts an insert, as the framework does.
    towns.T.Edit();
    EXPECT_EQ(towns.T.State(), dsInsert);
    towns.T.Cancel();
}

TEST(TwoComponents, EachSeesTheOtherAfterRefreshOrMove)
{
    TestDir dir;
    kal::test::CreateTowns();
    Towns a;
    Towns b;
    a.T.Open();
    b.T.Open();
    a.add("Kalisz");
    EXPECT_TRUE(b.Nazwa->IsNull()); // b has not moved yet
    b.T.First();
    EXPECT_EQ(b.Nazwa->AsString(), "Kalisz");
    b.T.Edit();
    b.Nazwa->setAsString("Konin");
    b.T.Post();
    a.T.Refresh();
    EXPECT_EQ(a.Nazwa->AsString(), "Konin");
    b.add("Gniezno");
    EXPECT_EQ(a.T.RecordCount(), 2);
    // Editing re-reads the record another component changed.
    a.T.First();
    b.T.First();
    b.T.Edit();
    b.Kwota->setAsFloat(5);
    b.T.Post();
    a.T.Edit();
    EXPECT_EQ(a.Kwota->AsFloat(), 5.0);
    a.T.Cancel();
}

} // namespace

namespace {

// Long walks read rows through one streaming statement; what they see must
// stay the rows of the order, also when the file changes under the walk.
class LongWalkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateReadings();
        t.setTableName("Odczyty.db");
        t.setIndexFieldNames("IdMiasta;Data;Nr");
        t.Open();
        // 300 rows in reverse key order: town 300 - i, value i
        for (int i = 0; i < 300; ++i) {
            t.Append();
            t.FieldByName("IdMiasta")->setAsInteger(300 - i);
            t.FieldByName("Wartosc")->setAsFloat(i);
            t.Post();
        }
    }
    TestDir dir;
    TTable t{QStringLiteral("TOdczyty")};
};

TEST_F(LongWalkTest, WalkReadsEveryRowOnceInOrder)
{
    std::vector<int> seen;
    for (t.First(); !t.Eof(); t.Next())
        seen.push_back(t.FieldByName("Wartosc")->AsInteger());
    ASSERT_EQ(seen.size(), 300u);
    for (int k = 0; k < 300; ++k)
        ASSERT_EQ(seen[size_t(k)], 299 - k) << "row " << k;
    // backwards too
    seen.clear();
    for (t.Last(); !t.Bof(); t.Prior())
        seen.push_back(t.FieldByName("IdMiasta")->AsInteger());
    ASSERT_EQ(seen.size(), 300u);
    EXPECT_EQ(seen.front(), 300);
    EXPECT_EQ(seen.back(), 1);
}

TEST_F(LongWalkTest, WalkFollowsRowsPostedByAnotherComponent)
{
    TTable other;
    other.setTableName("Odczyty.db");
    other.Open();
    int count = 0;
    int last = 0;
    for (t.First(); !t.Eof(); t.Next()) {
        ++count;
        last = t.FieldByName("IdMiasta")->AsInteger();
        if (count == 150) {
            // one row behind the walk, one ahead of it
            other.Append();
            other.FieldByName("IdMiasta")->setAsInteger(0);
            other.Post();
            other.Append();
            other.FieldByName("IdMiasta")->setAsInteger(1000);
            other.Post();
        }
    }
    EXPECT_EQ(count, 301);
    EXPECT_EQ(last, 1000);
    EXPECT_EQ(t.RecordCount(), 302);
}

TEST_F(LongWalkTest, EditDuringWalkMovesTheRowAndKeepsTheWalkGoing)
{
    int count = 0;
    for (t.First(); !t.Eof(); t.Next()) {
        ++count;
        if (t.FieldByName("IdMiasta")->AsInteger() == 10) {
            t.Edit();
            t.FieldByName("Wartosc")->setAsFloat(-1); // key unchanged
            t.Post();
        }
    }
    EXPECT_EQ(count, 300);
    EXPECT_TRUE(t.Locate("Wartosc", -1.0));
    EXPECT_EQ(t.FieldByName("IdMiasta")->AsInteger(), 10);
    EXPECT_EQ(t.RecNo(), 10);
}

// A walk that has gone some rows reads only the fields asked for so far; a
// field asked for later, and the whole row of an edit, still come right.
TEST_F(LongWalkTest, FieldFirstReadDeepInAWalkShowsTheRowsValue)
{
    int row = 0;
    int wrong = 0;
    for (t.First(); !t.Eof(); t.Next(), ++row) {
        const int town = t.FieldByName("IdMiasta")->AsInteger();
        ASSERT_EQ(town, row + 1);
        // value i belongs to town 300 - i
        if (row >= 50 && t.FieldByName("Wartosc")->AsInteger() != 300 - town)
            ++wrong;
        // the id is read on some rows only
        if (row % 40 == 39 && t.FieldByName("Nr")->AsInteger() != 301 - town)
            ++wrong;
    }
    EXPECT_EQ(row, 300);
    EXPECT_EQ(wrong, 0);
}

TEST_F(LongWalkTest, EditDeepInAWalkThatReadOneFieldKeepsTheOtherFields)
{
    for (t.First(); !t.Eof(); t.Next())
        if (t.FieldByName("IdMiasta")->AsInteger() == 120) {
            t.Edit();
            t.FieldByName("Data")->setAsDateTime(QDate(2026, 3, 1));
            t.Post();
        }
    TTable check;
    check.setTableName("Odczyty.db");
    check.Open();
    ASSERT_TRUE(check.Locate("IdMiasta", 120));
    EXPECT_EQ(check.FieldByName("Wartosc")->AsInteger(), 180);
    EXPECT_EQ(check.FieldByName("Nr")->AsInteger(), 181);
    EXPECT_EQ(check.FieldByName("Data")->AsDateTime(), QDate(2026, 3, 1));
    EXPECT_EQ(check.RecordCount(), 300);
}

TEST_F(LongWalkTest, WalkAfterARangeIsCancelledReadsEveryRow)
{
    t.SetRange({10}, {20});
    int inRange = 0;
    for (t.First(); !t.Eof(); t.Next())
        ++inRange;
    EXPECT_EQ(inRange, 11);
    t.CancelRange();
    double sum = 0;
    int count = 0;
    for (t.First(); !t.Eof(); t.Next(), ++count)
        sum += t.FieldByName("Wartosc")->AsFloat();
    EXPECT_EQ(count, 300);
    EXPECT_EQ(sum, 299.0 * 300 / 2);
}

} // namespace

namespace {

// The change stamp tells a reader of the rows (a lookup list) whether what
// they show may have changed since it last read them.
TEST(ChangeStamp, StaysWhileOnlyScrollingAndMovesWithEveryChangeOfTheRows)
{
    TestDir dir;
    kal::test::CreateTowns();
    Towns a;
    a.T.Open();
    a.add("Gniezno");
    a.add("Kalisz");
    a.add("Opole");
    Towns b;
    b.T.Open();

    quint64 last = a.T.ChangeStamp();
    EXPECT_NE(last, 0u);
    auto moved = [&] {
        const quint64 now = a.T.ChangeStamp();
        const bool changed = now != last;
        last = now;
        return changed;
    };
    a.T.First();
    a.T.Next();
    a.T.Last();
    EXPECT_FALSE(moved()) << "scrolling";

    b.T.First();
    b.T.Edit();
    b.Kwota->setAsFloat(3);
    b.T.Post();
    EXPECT_TRUE(moved()) << "post by another component on the file";

    a.T.Edit();
    EXPECT_TRUE(moved()) << "edit state";
    a.Nazwa->setAsString("Koło");
    EXPECT_TRUE(moved()) << "field written";
    a.T.Cancel();
    EXPECT_TRUE(moved()) << "cancel";

    a.T.Insert();
    EXPECT_TRUE(moved()) << "pending new row";
    a.T.Cancel();
    EXPECT_TRUE(moved());

    a.T.SetRange({1}, {2});
    EXPECT_TRUE(moved()) << "range";
    a.T.CancelRange();
    EXPECT_TRUE(moved());

    a.T.Close();
    EXPECT_TRUE(moved()) << "close";
    a.T.Open();
    EXPECT_TRUE(moved()) << "open";
    EXPECT_FALSE(moved());
}

} // namespace
