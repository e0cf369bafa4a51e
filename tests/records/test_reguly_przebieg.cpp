// Mileage: a date is required, a mistyped one is refused, and one vehicle has
// one reading a day.

#include "test_reguly_wspolne.h"

TEST_F(Reguly, MileageDateIsRequiredAndAMistypedOneIsRefused)
{
    pojazd("EL 1");
    const char* data = "Data przebiegu musi być dobrze określona !!!";
    dm->TPrzebieg->Insert();
    EXPECT_EQ(komunikat([&] { dm->TPrzebieg->Post(); }), data);
    EXPECT_EQ(dm->TPrzebieg->State(), kal::dsInsert);
    EXPECT_EQ(komunikat([&] { dm->TPrzebiegData->setText("2009-04-31"); }), data);
    EXPECT_EQ(komunikat([&] { dm->TPrzebiegData->setText("2009-04-30"); }), "");
    for (const char* zly : {"2009-04-31", "30-04-2009", ""}) {
        EXPECT_EQ(komunikat([&] { dm->TPrzebiegData->setText(zly); }), data) << zly;
        EXPECT_EQ(dm->TPrzebiegData->AsString(), "2009-04-30") << zly;
    }
    dm->TPrzebiegIloscKilometrow->setText("120500");
    EXPECT_EQ(komunikat([&] { dm->TPrzebieg->Post(); }), "");
    EXPECT_EQ(dm->TPrzebieg->RecordCount(), 1);
}

TEST_F(Reguly, SecondReadingOfTheSameDayShowsThePostErrorBox)
{
    const int el = pojazd("EL 2");
    dm->TPrzebieg->Insert();
    dm->TPrzebiegData->setText("2009-05-01");
    dm->TPrzebieg->Post();
    dm->TPrzebieg->Insert();
    dm->TPrzebiegData->setText("2009-05-01");
    bladZapisu(dm->TPrzebieg, "Data przebiegu powtarza się !!!");
    // Another vehicle may have a reading that day.
    pojazd("EL 3");
    dm->TPrzebieg->Insert();
    dm->TPrzebiegData->setText("2009-05-01");
    EXPECT_EQ(komunikat([&] { dm->TPrzebieg->Post(); }), "");
    EXPECT_NE(dm->TPrzebiegIdentyfikatorPojazdu->AsInteger(), el);
}

TEST_F(Reguly, OldReadingWithoutADateIsRefusedWhenNextSaved)
{
    pojazd("EL 4");
    dm->TPrzebieg->Insert();
    dm->TPrzebiegData->setText("2009-05-02");
    dm->TPrzebiegIloscKilometrow->setAsFloat(500);
    dm->TPrzebieg->Post();
    dm.reset();
    zapiszSurowo("Przebieg.db", {}, {}, [](kal::TTable& t) { t.FieldByName("Data")->Clear(); });
    dm = std::make_unique<TDM>();
    ASSERT_FALSE(dm->TPrzebieg->IsEmpty());
    ASSERT_TRUE(dm->TPrzebiegData->IsNull());
    dm->TPrzebieg->Edit();
    dm->TPrzebiegIloscKilometrow->setAsFloat(600);
    EXPECT_EQ(komunikat([&] { dm->TPrzebieg->Post(); }), "Data przebiegu musi być dobrze określona !!!");
    dm->TPrzebiegData->setText("2009-05-03");
    EXPECT_EQ(komunikat([&] { dm->TPrzebieg->Post(); }), "");
}
