// Places of use and refuelling places: a name is required and unique, and a
// place is never deleted.

#include "test_reguly_wspolne.h"

TEST_F(Reguly, PlaceNamesAreRequired)
{
    dm->TMiejsceUz->Append();
    EXPECT_EQ(komunikat([&] { dm->TMiejsceUz->Post(); }), "Nazwa miejsca użytkowania nie może być pusta !!!");
    dm->TMiejsceUzNazwa->setAsString("B");
    EXPECT_EQ(komunikat([&] { dm->TMiejsceUz->Post(); }), "");
    dm->TMiejscTank->Append();
    EXPECT_EQ(komunikat([&] { dm->TMiejscTank->Post(); }), "Nazwa miejsca tankowania nie może być pusta !!!");
    EXPECT_EQ(dm->TMiejscTank->State(), kal::dsInsert);
    dm->TMiejscTankNazwa->setAsString("C");
    EXPECT_EQ(komunikat([&] { dm->TMiejscTank->Post(); }), "");
}

TEST_F(Reguly, PlacesCannotBeDeleted)
{
    dm->TMiejsceUz->Append();
    dm->TMiejsceUzNazwa->setAsString("Baza Kutno");
    dm->TMiejsceUz->Post();
    dm->TMiejscTank->Append();
    dm->TMiejscTankNazwa->setAsString("Stacja Łęczyca");
    dm->TMiejscTank->Post();
    EXPECT_EQ(komunikat([&] { dm->TMiejsceUz->Delete(); }), "Nie można kasować miejsc użytkowania !!!");
    EXPECT_EQ(komunikat([&] { dm->TMiejscTank->Delete(); }), "Nie można kasować miejsc tankowania !!!");
    EXPECT_EQ(dm->TMiejsceUz->RecordCount(), 1);
    EXPECT_EQ(dm->TMiejscTank->RecordCount(), 1);
}

TEST_F(Reguly, DuplicatePlaceNamesShowThePostErrorBox)
{
    dm->TMiejsceUz->Append();
    dm->TMiejsceUzNazwa->setAsString("Baza Kutno");
    dm->TMiejsceUz->Post();
    dm->TMiejsceUz->Append();
    dm->TMiejsceUzNazwa->setAsString("Baza Kutno");
    dialogi.clear();
    EXPECT_THROW(dm->TMiejsceUz->Post(), kal::EAbort);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith(
        "Nazwa miejsca użytkowania powtarza się !!!\nDokładna specyfikacja błędu:\n"));
    EXPECT_EQ(dialogi.boxes()[0].caption, "Błąd komponentu: TMiejsceUz");
    EXPECT_EQ(dm->TMiejsceUzNazwa->AsString(), "Baza Kutno");
    dm->TMiejsceUz->Cancel();

    dm->TMiejscTank->Append();
    dm->TMiejscTankNazwa->setAsString("Stacja Łęczyca");
    dm->TMiejscTank->Post();
    dm->TMiejscTank->Append();
    dm->TMiejscTankNazwa->setAsString("Stacja Łęczyca");
    dialogi.clear();
    EXPECT_THROW(dm->TMiejscTank->Post(), kal::EAbort);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith(
        "Nazwa miejsca tankowania powtarza się !!!\nDokładna specyfikacja błędu:\n"));
    EXPECT_EQ(dialogi.boxes()[0].caption, "Błąd komponentu: TMiejscTank");
    dm->TMiejscTank->Cancel();
    EXPECT_EQ(dm->TMiejsceUz->RecordCount(), 1);
    EXPECT_EQ(dm->TMiejscTank->RecordCount(), 1);
}

TEST_F(Reguly, OldPlaceWithoutANameIsRefusedWhenNextSaved)
{
    dm->TMiejscTank->Append();
    dm->TMiejscTankNazwa->setAsString("Stacja");
    dm->TMiejscTank->Post();
    dm.reset();
    zapiszSurowo("MiejTank.db", {}, {}, [](kal::TTable& t) { t.FieldByName("Nazwa")->Clear(); });
    dm = std::make_unique<TDM>();
    dm->TMiejscTank->First();
    dm->TMiejscTank->Edit();
    dm->TMiejscTankNazwa->setAsString("");
    EXPECT_EQ(komunikat([&] { dm->TMiejscTank->Post(); }), "Nazwa miejsca tankowania nie może być pusta !!!");
    dm->TMiejscTank->Cancel();
}
