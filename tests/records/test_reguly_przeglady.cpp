// Inspections and repairs: a date is required, the amount is rounded to the
// grosz, the kilometres are kept as typed, the next-inspection date may be
// cleared but not mistyped.

#include "test_reguly_wspolne.h"

TEST_F(Reguly, InspectionDateAndAmounts)
{
    pojazd("LU 1");
    const char* data = "Data przeglądu/naprawy musi być dobrze określona !!!";
    dm->TPrzegl->Insert();
    EXPECT_EQ(komunikat([&] { dm->TPrzegl->Post(); }), data);
    EXPECT_EQ(komunikat([&] { dm->TPrzeglData->setText("2009-06-31"); }), data);
    EXPECT_TRUE(dm->TPrzeglData->IsNull());
    dm->TPrzeglData->setText("2009-06-30");
    EXPECT_EQ(komunikat([&] { dm->TPrzeglData->setText(""); }), data);
    EXPECT_EQ(dm->TPrzeglData->AsString(), "2009-06-30");
    // Empty amounts are saved as 0.
    EXPECT_EQ(komunikat([&] { dm->TPrzegl->Post(); }), "");
    EXPECT_EQ(dm->TPrzeglWartosc->AsString(), "0");
    EXPECT_EQ(dm->TPrzeglIloscKm->AsString(), "0");

    dm->TPrzegl->Edit();
    dm->TPrzeglWartosc->setAsFloat(12.345);
    dm->TPrzeglIloscKm->setAsFloat(1000.125);
    dm->TPrzegl->Post();
    EXPECT_EQ(dm->TPrzeglWartosc->AsString(), "12,35");
    EXPECT_EQ(dm->TPrzeglIloscKm->AsString(), "1000,125");
    dm->TPrzegl->Edit();
    dm->TPrzeglWartosc->setAsFloat(-7.125);
    dm->TPrzegl->Post();
    EXPECT_EQ(dm->TPrzeglWartosc->AsString(), "-7,13");
}

TEST_F(Reguly, NextInspectionDateCanBeClearedButNotMistyped)
{
    pojazd("LU 2");
    dm->TPrzegl->Insert();
    dm->TPrzeglData->setText("2009-01-15");
    dm->TPrzeglDataNastepnegoPrzegladu->setText("2010-01-15");
    const char* nastepny = "Data następnego przeglądu musi być dobrze określona !!!";
    for (const char* zly : {"2010-02-30", "2010-1", "x"}) {
        EXPECT_EQ(komunikat([&] { dm->TPrzeglDataNastepnegoPrzegladu->setText(zly); }), nastepny) << zly;
        EXPECT_EQ(dm->TPrzeglDataNastepnegoPrzegladu->AsString(), "2010-01-15") << zly;
    }
    dm->TPrzegl->Post();
    EXPECT_EQ(dm->TPrzeglDataNastepnegoPrzegladu->DisplayText(), "2010-01-15");
    dm->TPrzegl->Edit();
    dm->TPrzeglDataNastepnegoPrzegladu->setText("");
    dm->TPrzegl->Post();
    EXPECT_TRUE(dm->TPrzeglDataNastepnegoPrzegladu->IsNull());
}

TEST_F(Reguly, OldInspectionAmountIsRoundedWhenNextSaved)
{
    pojazd("LU 3");
    dm->TPrzegl->Insert();
    dm->TPrzeglData->setText("2009-03-03");
    dm->TPrzegl->Post();
    dm.reset();
    zapiszSurowo("Przegl.DB", {}, {}, [](kal::TTable& t) { t.FieldByName("Wartosc")->setAsFloat(7.125); });
    dm = std::make_unique<TDM>();
    ASSERT_FALSE(dm->TPrzegl->IsEmpty());
    EXPECT_EQ(dm->TPrzeglWartosc->AsString(), "7,125");
    dm->TPrzegl->Edit();
    dm->TPrzeglNrFaktury->setAsString("FV 9");
    dm->TPrzegl->Post();
    EXPECT_EQ(dm->TPrzeglWartosc->AsString(), "7,13");
}
