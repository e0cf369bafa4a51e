// Master/detail links, lookup fields, data links and grid reads.
#include "DbSchema.h"
#include "Exceptions.h"
#include "TestDir.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TestDir;
using kal::test::Readings;
using kal::test::Towns;

namespace {

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        kal::test::CreateReadings();
        towns.T.Open();
        towns.add("Kraków"); // Id 1
        towns.add("Gdańsk"); // Id 2
        towns.add("Bydgoszcz"); // Id 3, no readings
        readings.T.setIndexFieldNames("IdMiasta;Data;Nr");
        readings.T.Open();
        auto add = [this](int town, const char* date, double v) {
            readings.T.Append();
            readings.IdMiasta->setAsInteger(town);
            readings.Data->setAsString(date);
            readings.Wartosc->setAsFloat(v);
            readings.T.Post();
        };
        add(1, "2009-03-02", 12);
        add(2, "2009-01-10", 20);
        add(1, "2009-01-15", 11);
        add(2, "2009-02-10", 21);
        readings.T.setMasterSource(&source);
        readings.T.setMasterFields("Id");
    }
    TestDir dir;
    Towns towns;
    TDataSource source{&towns.T};
    Readings readings;
};

TEST_F(LinkTest, DetailShowsAndFollowsTheMastersRows)
{
    towns.T.First();
    EXPECT_EQ(readings.values(), (QStringList{"11", "12"})); // by date within the town
    towns.T.Next();
    EXPECT_EQ(readings.values(), (QStringList{"20", "21"}));
    towns.T.Next();
    EXPECT_TRUE(readings.T.IsEmpty());
    EXPECT_TRUE(readings.T.Eof());
    towns.T.First();
    EXPECT_EQ(readings.T.RecordCount(), 2);
    EXPECT_EQ(readings.Wartosc->AsFloat(), 11.0); // the detail starts at its first row
}

TEST_F(LinkTest, UntouchedDetailDoesNotFollowEachMasterMove)
{
    readings.T.Close();
    int fetched = 0;
    readings.T.OnCalcFields = [&](TTable&) { ++fetched; };
    readings.T.AddField("Licznik", ftInteger, 0, fkCalculated);
    readings.T.Open();
    fetched = 0;
    for (int round = 0; round < 20; ++round)
        for (towns.T.First(); !towns.T.Eof(); towns.T.Next()) {
        }
    EXPECT_EQ(fetched, 0); // nobody looked at the detail
    towns.T.Locate("Nazwa", QString("Gdańsk"));
    EXPECT_EQ(readings.Wartosc->AsFloat(), 20.0);
    EXPECT_EQ(fetched, 1);
}

TEST_F(LinkTest, NewMasterRowShowsNoDetails)
{
    towns.T.First();
    EXPECT_EQ(readings.T.RecordCount(), 2);
    towns.T.Append();
    EXPECT_TRUE(readings.T.IsEmpty());
    towns.T.Cancel();
    EXPECT_EQ(readings.T.RecordCount(), 0); // back on Bydgoszcz, the last town
    EXPECT_EQ(towns.Nazwa->AsString(), "Bydgoszcz");
}

TEST_F(LinkTest, NewDetailRowGetsTheMasterKeyBeforeOnNewRecord)
{
    towns.T.Locate("Nazwa", QString("Bydgoszcz"));
    int seenKey = -1;
    readings.T.OnNewRecord = [&](TTable&) { seenKey = readings.IdMiasta->AsInteger(); };
    readings.T.Insert();
    EXPECT_EQ(seenKey, 3);
    readings.Wartosc->setAsFloat(30);
    readings.T.Post();
    EXPECT_EQ(readings.values(), QStringList{"30"});
    towns.T.First();
    EXPECT_EQ(readings.T.RecordCount(), 2);
}

// A before-insert handler may look at every row of the detail (link cut,
// last row read, link restored) before the insert goes on.
TEST_F(LinkTest, BeforeInsertMayCutAndRestoreTheLink)
{
    towns.T.First(); // Kraków, readings 11 and 12
    double carried = -1;
    readings.T.BeforeInsert = [&](TTable& t) {
        TMasterLinkGuard guard(t);
        t.Last();
        carried = t.FieldByName("Wartosc")->AsFloat();
    };
    readings.T.AfterInsert = [&](TTable& t) { t.FieldByName("Wartosc")->setAsFloat(carried); };
    readings.T.Insert();
    EXPECT_EQ(carried, 21.0); // the last row of all towns
    EXPECT_EQ(readings.IdMiasta->AsInteger(), 1);
    readings.Data->setAsString("2009-04-01");
    readings.T.Post();
    EXPECT_EQ(readings.values(), (QStringList{"11", "12", "21"}));
}

TEST_F(LinkTest, MasterMovePostsThePendingDetailEdit)
{
    towns.T.First();
    readings.T.First();
    readings.T.Edit();
    readings.Wartosc->setAsFloat(111);
    towns.T.Next();
    EXPECT_EQ(readings.T.State(), dsBrowse);
    towns.T.First();
    EXPECT_EQ(readings.values(), (QStringList{"111", "12"}));
}

TEST_F(LinkTest, GuardCutsTheLinkAndRestoresIt)
{
    towns.T.First();
    {
        TMasterLinkGuard guard(readings.T);
        EXPECT_EQ(readings.T.MasterSource(), nullptr);
        EXPECT_EQ(readings.T.RecordCount(), 4);
        readings.T.Last();
        EXPECT_EQ(readings.Wartosc->AsFloat(), 21.0);
    }
    EXPECT_EQ(readings.T.MasterSource(), &source);
    EXPECT_EQ(readings.values(), (QStringList{"11", "12"}));
    try {
        TMasterLinkGuard guard(readings.T);
        throw Exception(QStringLiteral("przerwane"));
    } catch (const Exception&) {
    }
    EXPECT_EQ(readings.T.MasterSource(), &source);
    EXPECT_EQ(readings.T.RecordCount(), 2);
}

// A control that raises while the guard cuts the link (the detail is told it
// changed) must not leave the detail showing the rows of every master.
TEST_F(LinkTest, GuardGivesTheLinkBackWhenCuttingItRaises)
{
    towns.T.First();
    struct Control : TDataLink {
        bool raise = true;
        void dataSetChanged() override
        {
            if (raise && DataSet() && DataSet()->MasterSource() == nullptr) {
                raise = false;
                throw Exception(QStringLiteral("przerwane"));
            }
        }
    } control;
    TDataSource readingsSource(&readings.T);
    control.setDataSource(&readingsSource);
    EXPECT_THROW(TMasterLinkGuard guard(readings.T), Exception);
    EXPECT_FALSE(control.raise);
    control.setDataSource(nullptr);
    EXPECT_EQ(readings.T.MasterSource(), &source);
    EXPECT_EQ(readings.values(), (QStringList{"11", "12"}));
}

TEST_F(LinkTest, LookupFieldReadsOtherTableWithoutMovingIt)
{
    readings.T.Close();
    TField* nazwa = readings.T.AddField("NazwaMiasta", ftString, 12, fkLookup);
    nazwa->setLookupDefinition(&towns.T, "IdMiasta", "Id", "Nazwa");
    readings.T.setMasterSource(nullptr);
    readings.T.Open();
    towns.T.Last();
    QStringList names;
    for (readings.T.First(); !readings.T.Eof(); readings.T.Next())
        names << nazwa->DisplayText();
    EXPECT_EQ(names, (QStringList{"Kraków", "Kraków", "Gdańsk", "Gdańsk"}));
    EXPECT_EQ(towns.Nazwa->AsString(), "Bydgoszcz"); // not moved
    // A change of the looked-up file shows at once.
    towns.T.First();
    towns.T.Edit();
    towns.Nazwa->setAsString("Kraków Płd.");
    towns.T.Post();
    readings.T.First();
    EXPECT_EQ(nazwa->AsString(), "Kraków Płd.");
    EXPECT_THROW(nazwa->setAsString("x"), EDatabaseError);
}

class RecordingLink : public TDataLink {
public:
    QStringList log;
    std::function<void()> onUpdate;
    void activeChanged() override { log << "active"; }
    void dataSetChanged() override { log << "changed"; }
    void dataSetScrolled(int d) override { log << QStringLiteral("scrolled %1").arg(d); }
    void recordChanged(TField* f) override { log << (f ? "field " + f->FieldName() : QStringLiteral("record")); }
    void editingChanged() override { log << "editing"; }
    void updateData() override
    {
        log << "update";
        if (onUpdate)
            onUpdate();
    }
};

TEST_F(LinkTest, DataLinksGetNotificationsAndUpdateDataBeforeBeforePost)
{
    RecordingLink link;
    link.setDataSource(&source);
    EXPECT_EQ(link.log, QStringList{"active"});
    link.log.clear();
    towns.T.First();
    towns.T.Next();
    towns.T.Edit();
    link.onUpdate = [&] { towns.Kwota->setAsFloat(5); }; // a control hands over its text
    QString kwotaAtBeforePost;
    towns.T.BeforePost = [&](TTable&) { kwotaAtBeforePost = towns.Kwota->AsString(); };
    towns.T.Post();
    EXPECT_EQ(kwotaAtBeforePost, "5");
    EXPECT_EQ(link.log, (QStringList{"changed", "scrolled 1", "editing", "record", "update", "field Kwota",
                                     "editing", "changed"}));
    link.log.clear();
    towns.T.DisableControls();
    towns.T.DisableControls();
    towns.T.First();
    towns.T.Next();
    towns.T.EnableControls();
    EXPECT_TRUE(link.log.isEmpty());
    towns.T.EnableControls();
    EXPECT_EQ(link.log, QStringList{"changed"});
    link.log.clear();
    source.setEnabled(false);
    towns.T.Next();
    EXPECT_EQ(link.log, QStringList{"active"}); // from disabling only
    link.setDataSource(nullptr);
    EXPECT_TRUE(source.Links().empty());
}

TEST_F(LinkTest, DetailWithVisibleLinksFollowsAtOnce)
{
    TDataSource detailSource(&readings.T);
    RecordingLink link;
    link.setDataSource(&detailSource);
    link.log.clear();
    towns.T.First();
    EXPECT_TRUE(link.log.contains("changed"));
}

TEST_F(LinkTest, GridReadsRowsWithoutMovingTheCursor)
{
    readings.T.Close();
    TField* podwojna = readings.T.AddField("Podwojna", ftFloat, 0, fkCalculated);
    readings.T.OnCalcFields = [&](TTable&) { podwojna->setAsFloat(readings.Wartosc->AsFloat() * 2); };
    readings.T.setMasterSource(nullptr);
    readings.T.Open();
    readings.T.setRecNo(2);
    ASSERT_EQ(readings.T.GridRowCount(), 4);
    QStringList cells;
    for (int row = 0; row < readings.T.GridRowCount(); ++row) {
        TTable::ActiveRecordScope scope(readings.T, row);
        ASSERT_TRUE(scope.valid());
        cells << readings.Wartosc->DisplayText() + "/" + podwojna->DisplayText();
        EXPECT_THROW(readings.Wartosc->setAsFloat(0), EDatabaseError);
    }
    EXPECT_EQ(cells, (QStringList{"11/22", "12/24", "20/40", "21/42"}));
    EXPECT_EQ(readings.T.RecNo(), 2);
    EXPECT_EQ(readings.Wartosc->AsFloat(), 12.0);
    EXPECT_EQ(podwojna->AsFloat(), 24.0);
    // While inserting, the new row shows at the cursor's place.
    readings.T.Insert();
    readings.Wartosc->setAsFloat(99);
    EXPECT_EQ(readings.T.GridRowCount(), 5);
    EXPECT_EQ(readings.T.GridRowOfCurrent(), 1);
    {
        TTable::ActiveRecordScope scope(readings.T, 2);
        EXPECT_EQ(readings.Wartosc->AsFloat(), 12.0);
    }
    EXPECT_EQ(readings.Wartosc->AsFloat(), 99.0);
    readings.T.Cancel();
}

} // namespace

namespace {

class RecordingLinkForSwitch : public TDataLink {
public:
    int changes = 0;
    void activeChanged() override { ++changes; }
};

TEST(Components, TagsPropertiesAndSourceSwitching)
{
    TestDir dir;
    kal::test::CreateTowns();
    Towns a;
    Towns b;
    a.T.setTag(1);
    a.Kwota->setTag(7);
    a.T.setExclusive(true);
    EXPECT_EQ(a.T.Tag(), 1);
    EXPECT_EQ(a.Kwota->Tag(), 7);
    EXPECT_EQ(a.Kwota->Alignment(), taRightJustify);
    EXPECT_EQ(a.Nazwa->Alignment(), taLeftJustify);
    EXPECT_EQ(a.Nazwa->DisplayWidth(), 12);
    a.Nazwa->setDisplayLabel("Miasto");
    EXPECT_EQ(a.Nazwa->DisplayLabel(), "Miasto");
    EXPECT_EQ(a.Kwota->DisplayLabel(), "Kwota");
    a.T.Open();
    b.T.Open();
    a.add("Oleśnica");
    b.T.Refresh();
    TDataSource source(&a.T, "DMiasta");
    source.setTag(3);
    RecordingLinkForSwitch link;
    link.setDataSource(&source);
    EXPECT_TRUE(link.Active());
    source.setDataSet(&b.T);
    EXPECT_EQ(link.DataSet(), &b.T);
    b.T.Edit();
    EXPECT_TRUE(link.Editing());
    b.T.Cancel();
    source.setDataSet(nullptr);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.changes, 3); // attached, switched, unbound
}

} // namespace
