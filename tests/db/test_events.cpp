// Dataset states and events: their order, post errors, refusals, closing.
#include "DbSchema.h"
#include "Exceptions.h"
#include "TestDir.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

class EventTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        towns.T.Open();
        towns.add("Płock");
        towns.add("Sopot");
        TTable& t = towns.T;
        auto rec = [this](const char* name) { return [this, name](TTable&) { log << name; }; };
        t.BeforeInsert = rec("BeforeInsert");
        t.AfterInsert = rec("AfterInsert");
        t.OnNewRecord = rec("OnNewRecord");
        t.BeforeEdit = rec("BeforeEdit");
        t.AfterEdit = rec("AfterEdit");
        t.BeforePost = rec("BeforePost");
        t.AfterPost = rec("AfterPost");
        t.BeforeCancel = rec("BeforeCancel");
        t.AfterCancel = rec("AfterCancel");
        t.BeforeDelete = rec("BeforeDelete");
        t.AfterDelete = rec("AfterDelete");
        t.BeforeScroll = rec("BeforeScroll");
        t.AfterScroll = rec("AfterScroll");
        t.BeforeClose = rec("BeforeClose");
        t.AfterClose = rec("AfterClose");
        t.BeforeOpen = rec("BeforeOpen");
        t.AfterOpen = rec("AfterOpen");
    }
    TestDir dir;
    Towns towns;
    QStringList log;
};

TEST_F(EventTest, InsertPostOrder)
{
    towns.T.Insert();
    EXPECT_EQ(towns.T.State(), dsInsert);
    towns.Nazwa->setAsString("Gdynia");
    towns.T.Post();
    EXPECT_EQ(log, (QStringList{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll",
                                "BeforePost", "AfterPost"}));
    EXPECT_EQ(towns.T.State(), dsBrowse);
}

TEST_F(EventTest, EditCancelDeleteScrollOrder)
{
    towns.T.First();
    log.clear();
    towns.T.Edit();
    towns.Nazwa->setAsString("Kutno");
    towns.T.Cancel();
    EXPECT_EQ(towns.Nazwa->AsString(), "Płock"); // the edit is undone
    towns.T.Next();
    towns.T.Delete();
    EXPECT_EQ(log, (QStringList{"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel", "BeforeScroll", "AfterScroll",
                                "BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
    EXPECT_EQ(towns.names(), QStringList{"Płock"});
}

TEST_F(EventTest, OpenCloseOrder)
{
    towns.T.Close();
    towns.T.Open();
    EXPECT_EQ(log, (QStringList{"BeforeClose", "AfterClose", "BeforeOpen", "AfterOpen", "AfterScroll"}));
}

TEST_F(EventTest, MovingPostsAModifiedRecordAndCancelsAnUnmodifiedInsert)
{
    towns.T.First();
    towns.T.Edit();
    towns.Kwota->setAsFloat(12.5);
    towns.T.Next(); // posts
    EXPECT_EQ(towns.T.State(), dsBrowse);
    towns.T.First();
    EXPECT_EQ(towns.Kwota->AsFloat(), 12.5);
    towns.T.Append();
    log.clear();
    towns.T.First(); // nothing typed: the insert is cancelled
    EXPECT_EQ(log, (QStringList{"BeforeCancel", "AfterCancel", "BeforeScroll", "AfterScroll"}));
    EXPECT_EQ(towns.T.RecordCount(), 2);
}

TEST_F(EventTest, BeforeHandlerExceptionLeavesStateAsItWas)
{
    towns.T.BeforeEdit = [](TTable&) { throw Exception(QStringLiteral("Najperw zapisz dane firmy !!!")); };
    EXPECT_THROW(towns.T.Edit(), Exception);
    EXPECT_EQ(towns.T.State(), dsBrowse);
    towns.T.BeforeEdit = nullptr;
    towns.T.BeforePost = [](TTable& t) {
        if (t.FieldByName("Kwota")->AsFloat() < 0)
            throw Exception(QStringLiteral("Kwota ujemna"));
    };
    towns.T.Edit();
    towns.Kwota->setAsFloat(-1);
    EXPECT_THROW(towns.T.Post(), Exception);
    EXPECT_EQ(towns.T.State(), dsEdit);
    EXPECT_EQ(towns.Kwota->AsFloat(), -1.0); // the typed value is kept
    towns.T.BeforeDelete = [](TTable&) { throw Exception(QStringLiteral("Nie wolno")); };
    towns.T.Cancel();
    EXPECT_THROW(towns.T.Delete(), Exception);
    EXPECT_EQ(towns.T.RecordCount(), 2);
}

TEST_F(EventTest, PostInBrowseStateIsRefused)
{
    EXPECT_THROW(towns.T.Post(), EDatabaseError);
}

TEST_F(EventTest, KeyViolationGoesToPostErrorWithEachAction)
{
    QString engineText;
    TDataAction answer = daAbort;
    int calls = 0;
    towns.T.OnPostError = [&](TTable&, EDatabaseError& e, TDataAction& action) {
        ++calls;
        engineText = e.message();
        action = answer;
        if (answer == daRetry) {
            towns.Nazwa->setAsString("Sopot 2"); // mend the key, then retry
        }
    };
    towns.T.Append();
    towns.Nazwa->setAsString("sopot"); // equal to "Sopot" in a case-insensitive key
    EXPECT_THROW(towns.T.Post(), EAbort);
    EXPECT_EQ(engineText, "Naruszenie klucza unikalnego w zbiorze Miasta.db");
    EXPECT_EQ(towns.T.State(), dsInsert);
    EXPECT_EQ(towns.Nazwa->AsString(), "sopot");

    answer = daFail;
    try {
        towns.T.Post();
        FAIL() << "key violation accepted";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Naruszenie klucza unikalnego w zbiorze Miasta.db");
    }
    EXPECT_EQ(towns.T.State(), dsInsert);

    answer = daRetry;
    towns.T.Post();
    EXPECT_EQ(towns.T.State(), dsBrowse);
    EXPECT_EQ(towns.Nazwa->AsString(), "Sopot 2");
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(towns.T.RecordCount(), 3);
}

TEST_F(EventTest, UniqueKeyTreatsBlankAsEqualToBlank)
{
    towns.T.OnPostError = nullptr;
    towns.T.Append();
    towns.Nazwa->Clear();
    towns.Kwota->setAsFloat(1);
    towns.T.Post();
    towns.T.Append();
    towns.Kwota->setAsFloat(2);
    EXPECT_THROW(towns.T.Post(), EDatabaseError);
    EXPECT_EQ(towns.T.State(), dsInsert);
    towns.T.Cancel();
    EXPECT_EQ(towns.T.RecordCount(), 3);
}

TEST_F(EventTest, CloseWithPendingEditPostsIt)
{
    towns.T.First();
    towns.T.Edit();
    towns.Kwota->setAsFloat(99);
    towns.T.Close();
    EXPECT_FALSE(towns.T.Active());
    towns.T.Open();
    EXPECT_EQ(towns.Kwota->AsFloat(), 99.0);
}

TEST_F(EventTest, CloseRefusesWhenThePendingPostFails)
{
    towns.T.Append();
    towns.Nazwa->setAsString("Płock"); // duplicate key
    EXPECT_THROW(towns.T.Close(), EDatabaseError);
    EXPECT_TRUE(towns.T.Active());
    EXPECT_EQ(towns.T.State(), dsInsert);
    EXPECT_EQ(towns.Nazwa->AsString(), "Płock");
    towns.Nazwa->setAsString("Puck");
    towns.T.Close();
    towns.T.Open();
    EXPECT_EQ(towns.T.RecordCount(), 3);
}

TEST_F(EventTest, CalculatedFieldsPerFetchAndPerChange)
{
    towns.T.Close();
    TField* dwa = towns.T.AddField("Podwojna", ftFloat, 0, fkCalculated);
    int runs = 0;
    towns.T.OnCalcFields = [&](TTable& t) {
        ++runs;
        EXPECT_EQ(t.State(), dsCalcFields);
        EXPECT_THROW(t.FieldByName("Kwota")->setAsFloat(1), EDatabaseError);
        dwa->setAsFloat(t.FieldByName("Kwota")->AsFloat() * 2);
    };
    towns.T.Open();
    towns.T.First();
    towns.T.Edit();
    towns.Kwota->setAsFloat(21);
    EXPECT_EQ(dwa->AsFloat(), 42.0);
    EXPECT_EQ(towns.T.State(), dsEdit);
    towns.T.Post();
    runs = 0;
    QStringList values;
    for (towns.T.First(); !towns.T.Eof(); towns.T.Next())
        values << dwa->AsString();
    EXPECT_EQ(values, (QStringList{"42", "0"}));
    EXPECT_EQ(runs, 2);
}

TEST_F(EventTest, ReadOnlyTableRefusesChanges)
{
    towns.T.setReadOnly(true);
    EXPECT_THROW(towns.T.Edit(), EDatabaseError);
    EXPECT_THROW(towns.T.Append(), EDatabaseError);
    EXPECT_THROW(towns.T.Delete(), EDatabaseError);
}

} // namespace
