// Components that go away or close while others still point at them.
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
