// Fuel densities: a fixed set of rows whose values only can change.

#include "test_reguly_wspolne.h"

TEST_F(Reguly, DensityRowsCannotBeAddedNorDeleted)
{
    EXPECT_EQ(dm->TTabelaGest->RecordCount(), 12);
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Insert(); }), "Nie można dopisywać nowych rodzajów paliwa !!!");
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Append(); }), "Nie można dopisywać nowych rodzajów paliwa !!!");
    dm->TTabelaGest->Last();
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Delete(); }), "Nie można kasować rodzajów paliwa !!!");
    EXPECT_EQ(dm->TTabelaGest->RecordCount(), 12);
    EXPECT_EQ(dm->TTabelaGest->State(), kal::dsBrowse);
}

TEST_F(Reguly, DensityMustBeAboveTheZeroTolerance)
{
    dm->TTabelaGest->First();
    const QString kod = dm->TTabelaGestIdentyfikatorPaliwa->AsString();
    dm->TTabelaGest->Edit();
    const char* gestosc = "Gęstość paliwa jest wielokością większą od zera !!!";
    dm->TTabelaGestGestosc->setAsFloat(0.0);
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Post(); }), gestosc);
    dm->TTabelaGestGestosc->Clear();
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Post(); }), gestosc);
    dm->TTabelaGestGestosc->setAsFloat(-0.75);
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Post(); }), gestosc);
    dm->TTabelaGestGestosc->setAsFloat(0.00000009);
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Post(); }), gestosc);
    EXPECT_EQ(dm->TTabelaGest->State(), kal::dsEdit);
    dm->TTabelaGestGestosc->setAsFloat(0.0000001);
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Post(); }), "");
    dm->TTabelaGest->Edit();
    dm->TTabelaGestGestosc->setAsFloat(0.84);
    dm->TTabelaGest->Post();

    // What was saved is in the file.
    kal::TTable t;
    t.setTableName("TabGest.db");
    t.Open();
    ASSERT_TRUE(t.Locate("IdentyfikatorPaliwa", kod));
    EXPECT_DOUBLE_EQ(t.FieldByName("Gestosc")->AsFloat(), 0.84);
}

TEST_F(Reguly, DensityRowTakingAnotherFuelsCodeShowsTheUnknownErrorBox)
{
    dm->TTabelaGest->First();
    dm->TTabelaGest->Next();
    const QString drugi = dm->TTabelaGestIdentyfikatorPaliwa->AsString();
    dm->TTabelaGest->First();
    dm->TTabelaGest->Edit();
    dm->TTabelaGestIdentyfikatorPaliwa->setAsString(drugi);
    dialogi.clear();
    EXPECT_THROW(dm->TTabelaGest->Post(), kal::EAbort);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith("Nieznany błąd danych !!!\nDokładna specyfikacja błędu:\n"))
        << dialogi.boxes()[0].text.toStdString();
    EXPECT_EQ(dialogi.boxes()[0].caption, "Błąd komponentu: TTabelaGest");
    EXPECT_EQ(dm->TTabelaGest->State(), kal::dsEdit);
    dm->TTabelaGest->Cancel();
}

TEST_F(Reguly, OldDensityOfZeroIsRefusedWhenTheRowIsNextSaved)
{
    dm.reset();
    zapiszSurowo("TabGest.db", {}, {}, [](kal::TTable& t) { t.FieldByName("Gestosc")->setAsFloat(0.0); });
    dm = std::make_unique<TDM>();
    dm->TTabelaGest->First();
    EXPECT_EQ(dm->TTabelaGestGestosc->AsFloat(), 0.0);
    dm->TTabelaGest->Edit();
    dm->TTabelaGestNazwaPaliwa->setAsString("olej");
    EXPECT_EQ(komunikat([&] { dm->TTabelaGest->Post(); }), "Gęstość paliwa jest wielokością większą od zera !!!");
    dm->TTabelaGest->Cancel();
}
