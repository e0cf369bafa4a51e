// Values the engine holds equal although they are written differently: a
// blank text searched for finds a blank field, and -0.0 is the same key as 0.0.
#include "DbSchema.h"
#include "Exceptions.h"
#include "TestDir.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

class BlankTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        towns.T.Open();
        towns.add("Płock", 1.0);
        towns.T.Append();
        towns.Nazwa->Clear(); // the one town without a name
        towns.Kwota->setAsFloat(2.0);
        towns.T.Post();
        towns.add("Sopot", 3.0);
    }
    TestDir dir;
    Towns towns;
};

} // namespace

TEST_F(BlankTextTest, LocateWithABlankTextFindsTheBlankField)
{
    towns.T.Last();
    EXPECT_TRUE(towns.T.Locate("Nazwa", QString("")));
    EXPECT_EQ(towns.Kwota->AsFloat(), 2.0);
    EXPECT_TRUE(towns.Nazwa->IsNull());

    towns.T.Last();
    EXPECT_TRUE(towns.T.Locate("Nazwa", QString()));
    EXPECT_EQ(towns.Kwota->AsFloat(), 2.0);

    towns.T.Last();
    EXPECT_TRUE(towns.T.Locate("Nazwa", QString(""), loCaseInsensitive));
    EXPECT_EQ(towns.Kwota->AsFloat(), 2.0);

    // With the amount as well: the blank name and 2.0 are one row.
    towns.T.First();
    EXPECT_TRUE(towns.T.Locate("Nazwa;Kwota", QVariantList{QString(""), 2.0}));
    EXPECT_EQ(towns.T.RecNo(), 2);
    EXPECT_FALSE(towns.T.Locate("Nazwa;Kwota", QVariantList{QString(""), 3.0}));
}

TEST_F(BlankTextTest, LookupWithABlankTextReadsTheBlankFieldsRow)
{
    EXPECT_EQ(towns.T.Lookup("Nazwa", {QString("")}, "Kwota").toDouble(), 2.0);
}

namespace {

// Kwoty.db: Id autoincrement, Kwota float with a unique index.
class NegativeZeroTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TTable def;
        def.setTableName(QStringLiteral("Kwoty.db"));
        def.FieldDefs().Add(QStringLiteral("Id"), ftAutoInc);
        def.FieldDefs().Add(QStringLiteral("Kwota"), ftFloat);
        def.IndexDefs().Add(QString(), QStringLiteral("Kwota"), ixPrimary | ixUnique);
        def.CreateTable();
        t.setTableName(QStringLiteral("Kwoty.db"));
        kwota = t.AddField(QStringLiteral("Kwota"), ftFloat);
        t.setIndexFieldNames(QStringLiteral("Kwota"));
        t.Open();
    }
    void dopisz(double x)
    {
        t.Append();
        kwota->setAsFloat(x);
        t.Post();
    }
    TestDir dir;
    TTable t{QStringLiteral("TKwoty")};
    TField* kwota = nullptr;
};

} // namespace

TEST_F(NegativeZeroTest, MinusZeroAndZeroAreOneKeyOfAUniqueIndex)
{
    dopisz(-1.0);
    dopisz(-0.0);
    dopisz(1.0);
    t.Append();
    kwota->setAsFloat(0.0);
    try {
        t.Post();
        FAIL() << "0.0 was taken as a key of its own";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Naruszenie klucza unikalnego w zbiorze Kwoty.db");
    }
    EXPECT_EQ(t.State(), dsInsert);
    t.Cancel();
    EXPECT_EQ(t.RecordCount(), 3);
}

TEST_F(NegativeZeroTest, AKeySearchForZeroFindsMinusZero)
{
    dopisz(-1.0);
    dopisz(-0.0);
    dopisz(1.0);
    t.First();
    ASSERT_TRUE(t.FindKey({0.0}));
    EXPECT_EQ(t.RecNo(), 2);
    t.First();
    t.SetKey();
    kwota->setAsFloat(0.0);
    EXPECT_TRUE(t.GotoKey());
    EXPECT_EQ(t.RecNo(), 2);
}
