// Positions and record numbers on tables larger than one page of keys: the
// order's rows are read from the file a page at a time, so every way of
// reaching a row far from the start must still find its place.
#include "Exceptions.h"
#include "Storage.h"
#include "TestDir.h"

#include <QVariantList>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace kal;
using kal::test::TestDir;

namespace {

constexpr int kRows = 40000; // nearly ten pages of keys
constexpr int kGroups = 7;

// Liczby.db: Nr autoincrement, Grupa = Nr mod 7 (or as `group` says),
// Wartosc = 3 * Nr; primary index Grupa;Nr, unique index "PoWartosci" on
// Wartosc. Rows 1 .. `rows` are written in one transaction.
void CreateNumbers(int rows = kRows, int (*group)(int) = [](int nr) { return nr % kGroups; })
{
    {
        TTable t;
        t.setTableName(QStringLiteral("Liczby.db"));
        t.FieldDefs().Add(QStringLiteral("Nr"), ftAutoInc);
        t.FieldDefs().Add(QStringLiteral("Grupa"), ftInteger);
        t.FieldDefs().Add(QStringLiteral("Wartosc"), ftInteger);
        t.IndexDefs().Add(QString(), QStringLiteral("Grupa;Nr"), ixPrimary | ixUnique);
        t.IndexDefs().Add(QStringLiteral("PoWartosci"), QStringLiteral("Wartosc"), ixUnique);
        t.CreateTable();
    }
    using namespace db_detail;
    auto f = DbFile::open(QDir::cleanPath(QDir::current().absoluteFilePath(QStringLiteral("Liczby.db"))),
                          QStringLiteral("Liczby.db"));
    f->begin();
    Stmt& s = f->insertStmt();
    for (int nr = 1; nr <= rows; ++nr) {
        const std::vector<QVariant> row{nr, group(nr), 3 * nr};
        s.bindInt(1, nr);
        s.bindValue(2, ftInteger, row[1]);
        s.bindValue(3, ftInteger, row[2]);
        int n = 4;
        for (const IndexInfo& ix : f->indexes())
            s.bindBlob(n++, f->indexKey(ix, row));
        s.step();
        s.reset();
    }
    f->commit();
}

// The numbers in the primary order, worked out here: by group (the number's
// remainder, unless `groups` says else), then number.
std::vector<int> Expected(const std::vector<int>& numbers, const std::vector<std::pair<int, int>>& groups = {})
{
    std::vector<std::pair<int, int>> rows;
    for (int nr : numbers) {
        int g = nr % kGroups;
        for (const auto& [n, other] : groups)
            if (n == nr)
                g = other;
        rows.emplace_back(g, nr);
    }
    std::sort(rows.begin(), rows.end());
    std::vector<int> out;
    for (const auto& r : rows)
        out.push_back(r.second);
    return out;
}

std::vector<int> AllNumbers()
{
    std::vector<int> v;
    for (int nr = 1; nr <= kRows; ++nr)
        v.push_back(nr);
    return v;
}

struct Numbers {
    TTable T{QStringLiteral("TLiczby")};
    TField* Nr;
    TField* Grupa;
    TField* Wartosc;
    Numbers()
    {
        T.setTableName(QStringLiteral("Liczby.db"));
        Nr = T.AddField(QStringLiteral("Nr"), ftAutoInc);
        Grupa = T.AddField(QStringLiteral("Grupa"), ftInteger);
        Wartosc = T.AddField(QStringLiteral("Wartosc"), ftInteger);
        T.Open();
    }
};

class Keyset : public ::testing::Test {
protected:
    void SetUp() override { CreateNumbers(); }
    TestDir m_dir;
};

TEST_F(Keyset, OpenCountsEveryRowAndEveryPositionShowsItsRow)
{
    Numbers t;
    const std::vector<int> order = Expected(AllNumbers());
    EXPECT_EQ(t.T.RecordCount(), kRows);
    EXPECT_EQ(t.T.RecNo(), 1);
    EXPECT_EQ(t.Nr->AsInteger(), order.front());
    t.T.Last();
    EXPECT_EQ(t.T.RecNo(), kRows);
    EXPECT_EQ(t.Nr->AsInteger(), order.back());
    EXPECT_TRUE(t.T.Eof());
    for (int recNo : {9000, 4097, 4096, 8193, 1, 5555, 30000, 39990, 25001, 21000, kRows}) {
        t.T.setRecNo(recNo);
        EXPECT_EQ(t.T.RecNo(), recNo);
        EXPECT_EQ(t.Nr->AsInteger(), order[size_t(recNo - 1)]) << recNo;
    }
    // Rows of a grid far down, without moving.
    t.T.setRecNo(10);
    for (int row : {7000, 9999, 4500, 35000, 21000}) {
        TTable::ActiveRecordScope scope(t.T, row);
        ASSERT_TRUE(scope.valid());
        EXPECT_EQ(t.Nr->AsInteger(), order[size_t(row)]) << row;
    }
    EXPECT_EQ(t.T.RecNo(), 10);
    EXPECT_EQ(t.T.GridRowCount(), kRows);
}

TEST_F(Keyset, AWalkEachWayMeetsEveryRowInOrderWithItsRecordNumber)
{
    Numbers t;
    const std::vector<int> order = Expected(AllNumbers());
    int i = 0;
    bool right = true;
    for (t.T.First(); !t.T.Eof(); t.T.Next(), ++i)
        right = right && t.T.RecNo() == i + 1 && t.Nr->AsInteger() == order[size_t(i)];
    EXPECT_TRUE(right);
    EXPECT_EQ(i, kRows);
    i = kRows - 1;
    right = true;
    for (t.T.Last(); !t.T.Bof(); t.T.Prior(), --i)
        right = right && t.T.RecNo() == i + 1 && t.Nr->AsInteger() == order[size_t(i)];
    EXPECT_TRUE(right);
    EXPECT_EQ(i, -1);
}

TEST_F(Keyset, InsertsAndDeletesFarFromTheStartKeepPositionsRight)
{
    Numbers t;
    std::vector<int> numbers = AllNumbers();
    // A new row of group 3 lands in the middle, past the first page.
    t.T.Append();
    t.Grupa->setAsInteger(3);
    t.Wartosc->setAsInteger(-1);
    t.T.Post();
    const int added = t.Nr->AsInteger();
    EXPECT_EQ(added, kRows + 1);
    numbers.push_back(added);
    const std::vector<std::pair<int, int>> groups{{added, 3}};
    std::vector<int> order = Expected(numbers, groups);
    const int at = int(std::find(order.begin(), order.end(), added) - order.begin());
    EXPECT_EQ(t.T.RecNo(), at + 1);
    EXPECT_EQ(t.T.RecordCount(), kRows + 1);
    t.T.Next();
    EXPECT_EQ(t.Nr->AsInteger(), order[size_t(at + 1)]);

    // A row deep down goes; the one after it takes its place.
    t.T.setRecNo(36000);
    const int gone = t.Nr->AsInteger();
    t.T.Delete();
    numbers.erase(std::find(numbers.begin(), numbers.end(), gone));
    order = Expected(numbers, groups);
    EXPECT_EQ(t.T.RecNo(), 36000);
    EXPECT_EQ(t.Nr->AsInteger(), order[35999]);
    EXPECT_EQ(t.T.RecordCount(), kRows);

    // A key changed far down moves the row to its new place.
    t.T.setRecNo(30000);
    const int moved = t.Nr->AsInteger();
    t.T.Edit();
    t.Grupa->setAsInteger(-1); // before every group
    t.T.Post();
    EXPECT_EQ(t.T.RecNo(), 1);
    EXPECT_EQ(t.Nr->AsInteger(), moved);
    t.T.Last();
    EXPECT_EQ(t.T.RecNo(), kRows);
    EXPECT_EQ(t.Nr->AsInteger(), order.back());

    // Another component sees all of it.
    Numbers other;
    EXPECT_EQ(other.T.RecordCount(), kRows);
    other.T.setRecNo(36000);
    EXPECT_EQ(other.Nr->AsInteger(), order[35999]); // one row left from before it for the front
}

// The last row, reached with Last far past the rows read so far, goes: the
// table holds one row less and stands on the row before it, now the last.
TEST_F(Keyset, DeletingTheLastRowReachedWithLastLeavesOneRowLess)
{
    Numbers t;
    const std::vector<int> order = Expected(AllNumbers());
    t.T.Last();
    ASSERT_EQ(t.Nr->AsInteger(), order[size_t(kRows - 1)]);
    t.T.Delete();
    EXPECT_EQ(t.T.RecordCount(), kRows - 1);
    EXPECT_EQ(t.T.RecNo(), kRows - 1);
    EXPECT_EQ(t.Nr->AsInteger(), order[size_t(kRows - 2)]);
    t.T.Next();
    EXPECT_TRUE(t.T.Eof());
    EXPECT_EQ(t.T.RecNo(), kRows - 1);
}

// A range over a group of 20,000 rows in a file of 90,000, the other 70,000
// in the group after it: more rows lie outside the range than the count of
// those outside is let to reach, so the range's own rows are counted.
TEST(KeysetRange, AGroupAmongManyMoreRowsCountsItsOwnRows)
{
    TestDir dir;
    CreateNumbers(90000, [](int nr) { return nr <= 20000 ? 1 : 2; });
    Numbers t;
    t.T.SetRange({1}, {1});
    EXPECT_EQ(t.T.RecordCount(), 20000);
    t.T.Last();
    EXPECT_EQ(t.T.RecNo(), 20000);
    EXPECT_EQ(t.Nr->AsInteger(), 20000);
}

TEST_F(Keyset, RangesKeySearchLocateAndBookmarksFindRowsFarDown)
{
    Numbers t;
    const std::vector<int> order = Expected(AllNumbers());
    // Groups 2 to 4.
    t.T.SetRange({2}, {4});
    std::vector<int> inRange;
    for (int nr : order)
        if (nr % kGroups >= 2 && nr % kGroups <= 4)
            inRange.push_back(nr);
    EXPECT_EQ(t.T.RecordCount(), int(inRange.size()));
    t.T.Last();
    EXPECT_EQ(t.T.RecNo(), int(inRange.size()));
    EXPECT_EQ(t.Nr->AsInteger(), inRange.back());
    ASSERT_TRUE(t.T.FindKey({4, 4}));
    EXPECT_EQ(t.Nr->AsInteger(), 4);
    EXPECT_EQ(t.T.RecNo(), int(std::find(inRange.begin(), inRange.end(), 4) - inRange.begin()) + 1);
    EXPECT_FALSE(t.T.FindKey({5, 5}));
    t.T.CancelRange();
    EXPECT_EQ(t.T.RecordCount(), kRows);

    t.T.FindNearest({6, 9000});
    const int nearest = int(std::lower_bound(order.begin(), order.end(), 9000,
                                             [](int nr, int v) { return nr % kGroups < 6 || nr < v; })
                            - order.begin());
    EXPECT_EQ(t.T.RecNo(), nearest + 1);
    EXPECT_EQ(t.Nr->AsInteger(), order[size_t(nearest)]);

    // Locate of a value far down, and a bookmark taken there.
    ASSERT_TRUE(t.T.Locate(QStringLiteral("Wartosc"), 3 * 39994));
    const int p = int(std::find(order.begin(), order.end(), 39994) - order.begin());
    EXPECT_EQ(t.T.RecNo(), p + 1);
    const TTable::TBookmark mark = t.T.GetBookmark();
    t.T.First();
    Numbers fresh; // a component that never walked: its keys are a page
    EXPECT_TRUE(fresh.T.BookmarkValid(mark));
    fresh.T.GotoBookmark(mark);
    EXPECT_EQ(fresh.T.RecNo(), p + 1);
    EXPECT_EQ(fresh.Nr->AsInteger(), 39994);
    t.T.GotoBookmark(mark);
    EXPECT_EQ(t.T.RecNo(), p + 1);

    // The second index orders by value, that is by number.
    t.T.setIndexName(QStringLiteral("PoWartosci"));
    EXPECT_EQ(t.Nr->AsInteger(), 39994); // stays on its record
    EXPECT_EQ(t.T.RecNo(), 39994);
    t.T.setRecNo(7777);
    EXPECT_EQ(t.Nr->AsInteger(), 7777);
}

TEST_F(Keyset, MasterChangesShowEachGroupWithItsCountAndLastRow)
{
    {
        TTable m;
        m.setTableName(QStringLiteral("Grupy.db"));
        m.FieldDefs().Add(QStringLiteral("Grupa"), ftInteger);
        m.IndexDefs().Add(QString(), QStringLiteral("Grupa"), ixPrimary | ixUnique);
        m.CreateTable();
        m.Open();
        for (int g = 0; g < kGroups; ++g) {
            m.Append();
            m.FieldByName(QStringLiteral("Grupa"))->setAsInteger(g);
            m.Post();
        }
    }
    TTable master;
    master.setTableName(QStringLiteral("Grupy.db"));
    master.Open();
    TDataSource source(&master);
    Numbers t;
    t.T.setMasterSource(&source);
    t.T.setMasterFields(QStringLiteral("Grupa"));
    for (master.First(); !master.Eof(); master.Next()) {
        const int g = master.FieldByName(QStringLiteral("Grupa"))->AsInteger();
        const int count = (kRows - g) / kGroups + (g == 0 ? 0 : 1);
        EXPECT_EQ(t.T.RecordCount(), count) << g;
        EXPECT_EQ(t.Nr->AsInteger(), g == 0 ? kGroups : g);
        t.T.Last();
        EXPECT_EQ(t.T.RecNo(), count);
        EXPECT_EQ(t.Nr->AsInteger() % kGroups, g);
        EXPECT_GT(t.Nr->AsInteger(), kRows - kGroups);
    }
}

TEST_F(Keyset, AWalkInterruptedByPostsGoesOnInOrder)
{
    Numbers t;
    std::vector<int> numbers = AllNumbers();
    std::vector<std::pair<int, int>> groups;
    std::vector<int> seen;
    t.T.First();
    while (!t.T.Eof()) {
        seen.push_back(t.Nr->AsInteger());
        const int recNo = t.T.RecNo();
        ASSERT_EQ(recNo, int(seen.size()));
        if (recNo == 5000 || recNo == 9100 || recNo == 30000) {
            // a field outside the key: the walk stays where it was
            t.T.Edit();
            t.Wartosc->setAsInteger(-recNo);
            t.T.Post();
            EXPECT_EQ(t.T.RecNo(), recNo);
        }
        if (recNo == 6000) {
            // a new row after the current one in the order
            const int here = t.Nr->AsInteger();
            t.T.Append();
            t.Grupa->setAsInteger(here % kGroups);
            t.Wartosc->setAsInteger(-1);
            t.T.Post();
            numbers.push_back(t.Nr->AsInteger());
            groups.emplace_back(t.Nr->AsInteger(), here % kGroups);
            ASSERT_TRUE(t.T.Locate(QStringLiteral("Nr"), here));
            EXPECT_EQ(t.T.RecNo(), recNo);
        }
        t.T.Next();
    }
    EXPECT_EQ(seen, Expected(numbers, groups));
    ASSERT_TRUE(t.T.Locate(QStringLiteral("Wartosc"), -5000));
    EXPECT_EQ(t.T.RecNo(), 5000);
}

} // namespace

namespace {

// The typed readers take a walk's values straight from its statement: they
// give what the values read through Value() give, blanks included.
TEST(WalkReads, TypedReadsInAWalkMatchTheStoredValues)
{
    TestDir dir;
    {
        TTable t;
        t.setTableName(QStringLiteral("Rozne.db"));
        t.FieldDefs().Add(QStringLiteral("Nr"), ftAutoInc);
        t.FieldDefs().Add(QStringLiteral("Tekst"), ftString, 10);
        t.FieldDefs().Add(QStringLiteral("Liczba"), ftInteger);
        t.FieldDefs().Add(QStringLiteral("Kwota"), ftFloat);
        t.FieldDefs().Add(QStringLiteral("Dzien"), ftDate);
        t.IndexDefs().Add(QString(), QStringLiteral("Nr"), ixPrimary | ixUnique);
        t.CreateTable();
        t.Open();
        for (int i = 0; i < 40; ++i) {
            t.Append();
            if (i % 3 != 0) {
                t.FieldByName(QStringLiteral("Tekst"))->setAsString(QStringLiteral("t%1").arg(i));
                t.FieldByName(QStringLiteral("Liczba"))->setAsInteger(i - 20);
                t.FieldByName(QStringLiteral("Kwota"))->setAsFloat(i * 0.25);
                t.FieldByName(QStringLiteral("Dzien"))->setAsDateTime(QDate(2009, 1, 1).addDays(i));
            }
            t.Post();
        }
    }
    TTable t;
    t.setTableName(QStringLiteral("Rozne.db"));
    t.Open();
    TField* tekst = t.FieldByName(QStringLiteral("Tekst"));
    TField* liczba = t.FieldByName(QStringLiteral("Liczba"));
    TField* kwota = t.FieldByName(QStringLiteral("Kwota"));
    TField* dzien = t.FieldByName(QStringLiteral("Dzien"));
    int i = 0;
    for (t.First(); !t.Eof(); t.Next(), ++i) {
        const bool blank = i % 3 == 0;
        EXPECT_EQ(tekst->IsNull(), blank) << i;
        EXPECT_EQ(liczba->IsNull(), blank) << i;
        EXPECT_EQ(kwota->IsNull(), blank) << i;
        EXPECT_EQ(dzien->IsNull(), blank) << i;
        EXPECT_EQ(tekst->AsString(), blank ? QString() : QStringLiteral("t%1").arg(i)) << i;
        EXPECT_EQ(liczba->AsInteger(), blank ? 0 : i - 20) << i;
        EXPECT_EQ(kwota->AsFloat(), blank ? 0.0 : i * 0.25) << i;
        EXPECT_EQ(dzien->AsDateTime(), blank ? QDate() : QDate(2009, 1, 1).addDays(i)) << i;
        EXPECT_EQ(liczba->Value(), blank ? QVariant() : QVariant(i - 20)) << i;
        EXPECT_EQ(tekst->AsString(), tekst->Value().toString()) << i;
    }
    EXPECT_EQ(i, 40);
}

} // namespace
