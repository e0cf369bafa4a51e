// Components that go away or close while others still point at them, and
// handlers that close their own table in the middle of an operation.
#include "DbSchema.h"
#include "Exceptions.h"
#include "TestDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace kal;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

// A data link that runs an action on the first notification after it is armed.
class TrapLink : public TDataLink {
public:
    std::function<void()> action;
    int fired = 0;
    void dataSetChanged() override { fire(); }
    void dataSetScrolled(int) override { fire(); }
    void recordChanged(TField*) override { fire(); }
    void editingChanged() override { fire(); }

private:
    void fire()
    {
        if (!action)
            return;
        auto a = std::move(action);
        action = nullptr;
        ++fired;
        a();
    }
};

class LifetimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        towns.T.Open();
        towns.add("Kraków", 1);
        towns.add("Gdańsk", 2);
        towns.add("Opole", 3);
        link.setDataSource(&source);
    }
    TestDir dir;
    Towns towns;
    TDataSource source{&towns.T};
    TrapLink link;
};

} // namespace

// A control that closes the table when told of a change: every operation
// ends with the table closed and the next open shows what was posted.
TEST_F(LifetimeTest, ALinkClosingTheTableInTheMiddleOfAnOperation)
{
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"First", [&] { towns.T.First(); }},
        {"Last", [&] { towns.T.Last(); }},
        {"Next", [&] { towns.T.Next(); }},
        {"Prior", [&] { towns.T.Prior(); }},
        {"MoveBy", [&] { towns.T.MoveBy(2); }},
        {"Refresh", [&] { towns.T.Refresh(); }},
        {"Edit", [&] { towns.T.Edit(); }},
        {"Insert", [&] { towns.T.Insert(); }},
        {"Append", [&] { towns.T.Append(); }},
        {"FindKey", [&] { towns.T.FindKey({QString("Opole")}); }},
        {"Locate", [&] { towns.T.Locate("Nazwa", QString("Gdańsk")); }},
        {"SetRange", [&] { towns.T.SetRange({QString("G")}, {QString("P")}); }},
        {"CancelRange", [&] { towns.T.CancelRange(); }},
        {"EmptyTable", [&] { towns.T.EmptyTable(); }},
    };
    for (const auto& [name, op] : operations) {
        SCOPED_TRACE(name);
        if (!towns.T.Active())
            towns.T.Open();
        towns.T.setIndexName("PoNazwie");
        if (std::string(name) == "CancelRange")
            towns.T.SetRange({QString("G")}, {QString("P")});
        towns.T.First();
        towns.T.Next();
        link.action = [&] { towns.T.Close(); };
        try {
            op();
        } catch (const EDatabaseError&) {
            // a closed table may refuse the rest of the operation
        }
        EXPECT_EQ(link.fired, 1);
        link.fired = 0;
        link.action = nullptr;
        EXPECT_FALSE(towns.T.Active());
    }
}

TEST_F(LifetimeTest, ALinkClosingTheTableWhilePostingCancellingOrDeleting)
{
    towns.T.setIndexName("PoNazwie");
    towns.T.First();

    towns.T.Edit();
    towns.Kwota->setAsFloat(10);
    link.action = [&] { towns.T.Close(); };
    try {
        towns.T.Post();
    } catch (const EDatabaseError&) {
    }
    EXPECT_FALSE(towns.T.Active());
    towns.T.Open();
    towns.T.setIndexName("PoNazwie");
    towns.T.First();
    EXPECT_EQ(towns.Nazwa->AsString(), "Gdańsk");
    EXPECT_EQ(towns.Kwota->AsFloat(), 10.0);

    towns.T.Insert();
    towns.Nazwa->setAsString("Bytom");
    link.action = [&] { towns.T.Close(); };
    try {
        towns.T.Cancel();
    } catch (const EDatabaseError&) {
    }
    EXPECT_FALSE(towns.T.Active());
    towns.T.Open();
    EXPECT_EQ(towns.T.RecordCount(), 3);

    towns.T.setIndexName("PoNazwie");
    towns.T.Last(); // Opole
    link.action = [&] { towns.T.Close(); };
    try {
        towns.T.Delete();
    } catch (const EDatabaseError&) {
    }
    EXPECT_FALSE(towns.T.Active());
    towns.T.Open();
    EXPECT_EQ(towns.names(), (QStringList{"Gdańsk", "Kraków"})); // still in name order
}

// The last component on a file closes and the looked-up table opens another
// file: the lookup field shows the values of the file now open.
TEST_F(LifetimeTest, LookupFollowsTheLookedUpTableToAnotherFile)
{
    kal::test::CreateTowns("Miasta2.db");
    {
        Towns other("Miasta2.db");
        other.T.Open();
        other.add("Tarnów", 1);
        other.add("Radom", 2);
    }
    TTable readings(QStringLiteral("TOdczyty"));
    kal::test::CreateReadings();
    readings.setTableName("Odczyty.db");
    TField* id = readings.AddField("IdMiasta", ftInteger);
    TField* name = readings.AddField("NazwaMiasta", ftString, 12, fkLookup);
    name->setLookupDefinition(&towns.T, "IdMiasta", "Id", "Nazwa");
    readings.Open();
    readings.Append();
    id->setAsInteger(2);
    readings.Post();
    EXPECT_EQ(name->AsString(), "Gdańsk");

    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const bool second = round % 2 == 0;
        towns.T.Close();
        towns.T.setTableName(second ? "Miasta2.db" : "Miasta.db");
        towns.T.Open();
        EXPECT_EQ(name->AsString(), second ? "Radom" : "Gdańsk");
    }
}

// Whichever of a master table, its data source, a detail table and a
// control goes first, the others carry on without it.
TEST_F(LifetimeTest, ComponentsGoingAwayInAnyOrder)
{
    kal::test::CreateReadings();
    for (int order = 0; order < 4; ++order) {
        SCOPED_TRACE(order);
        auto master = std::make_unique<Towns>();
        master->T.Open();
        auto masterSource = std::make_unique<TDataSource>(&master->T);
        auto detail = std::make_unique<TTable>(QStringLiteral("TOdczyty"));
        detail->setTableName("Odczyty.db");
        detail->setIndexFieldNames("IdMiasta;Data;Nr");
        detail->setMasterSource(masterSource.get());
        detail->setMasterFields("Id");
        detail->Open();
        auto detailSource = std::make_unique<TDataSource>(detail.get());
        auto control = std::make_unique<TrapLink>();
        control->setDataSource(detailSource.get());
        auto masterControl = std::make_unique<TrapLink>();
        masterControl->setDataSource(masterSource.get());

        switch (order) {
        case 0: // the master source first, then the master moves
            masterSource.reset();
            master->T.Last();
            EXPECT_EQ(detail->MasterSource(), nullptr);
            detail->First();
            break;
        case 1: // the master table first
            master.reset();
            EXPECT_EQ(masterSource->DataSet(), nullptr);
            EXPECT_FALSE(masterControl->Active());
            detail->First();
            break;
        case 2: // the detail table first, then the master moves
            detail.reset();
            EXPECT_EQ(detailSource->DataSet(), nullptr);
            EXPECT_FALSE(control->Active());
            master->T.Last();
            break;
        case 3: // the data sources first, the controls after them
            detailSource.reset();
            EXPECT_EQ(control->DataSource(), nullptr);
            masterSource.reset();
            master->T.First();
            detail->Last();
            break;
        }
        control.reset();
        masterControl.reset();
        detailSource.reset();
        detail.reset();
        masterSource.reset();
        master.reset();
    }
}

// A control that leaves its data source, or sends another control away,
// while the table tells them of a change.
TEST_F(LifetimeTest, LinksLeavingDuringANotification)
{
    auto other = std::make_unique<TrapLink>();
    other->setDataSource(&source);
    link.action = [&] {
        other.reset();
        link.setDataSource(nullptr);
    };
    towns.T.Last();
    EXPECT_EQ(link.fired, 1);
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_TRUE(source.Links().empty());
}
