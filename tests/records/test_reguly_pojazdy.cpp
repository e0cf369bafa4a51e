// Vehicles: kind, Euro class, gas flag, registration number, clean-up of the
// numbers, the date fields, the delete guard and the duplicate-key box.

#include "test_reguly_wspolne.h"

TEST_F(Reguly, VehicleKindIsAWholeNumberFromOneToEleven)
{
    dm->TPojazdy->Insert();
    dm->TPojazdyNrRejestracyjny->setAsString("WA 1");
    const char* zakres = "Rodzaj pojazdu jest z zakresu 1-11 !!!";
    for (const char* zly : {"0", "12", "-1", "x", ""})
        EXPECT_EQ(komunikat([&] { dm->TPojazdyRodzajPojazdu->setAsString(zly); }), zakres) << zly;
    // Texts that a cut-down number would let through, but that name no kind
    // when the fee engine reads them.
    for (const char* zly : {"1,", "2,", "1.", "9,"})
        EXPECT_EQ(komunikat([&] { dm->TPojazdyRodzajPojazdu->setAsString(zly); }), zakres) << zly;
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->AsString(), "1");

    dm->TPojazdyRodzajPojazdu->setAsString("11");
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->DisplayText(), "11- pojazd szynowy");
    dm->TPojazdyRodzajPojazdu->setAsString("07");
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->DisplayText(), "7 -samochód ciężarowy powyżej 3,5 Mg bez EURO");
    dm->TPojazdyRodzajPojazdu->setAsString("8");
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->Text(), "8 - autobus inny niż w Lp 4-6");
    dm->TPojazdy->Post();
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->AsString(), "8");
}

TEST_F(Reguly, NewVehicleDefaultsAndTheChecksOfItsPost)
{
    dm->TPojazdy->Insert();
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->DisplayText(), "1 -samochód osobowy z katalizatorem");
    EXPECT_EQ(dm->TPojazdyNormaEuro->AsString(), "0");
    EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->AsString(), "N");
    EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->DisplayText(), "Nie");
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }), "Numer rejestracyjny pojazdu musi być wprowadzony !!!");

    const char* euro = "Dopuszczalne rodzaje norm EURO: 0 - bez normy\n 1 - EURO 1, 2 - EURO 2\n 3 - EURO 3, 4 - EURO 4, "
                       "5 - EURO 5.";
    EXPECT_EQ(komunikat([&] { dm->TPojazdyNormaEuro->setAsString("6"); }), euro);
    EXPECT_EQ(komunikat([&] { dm->TPojazdyNormaEuro->setAsString("a"); }), euro);
    EXPECT_EQ(komunikat([&] { dm->TPojazdyNormaEuro->setAsString("5"); }), "");
    EXPECT_EQ(dm->TPojazdyNormaEuro->DisplayText(), "5 - EURO 5");
    EXPECT_EQ(komunikat([&] { dm->TPojazdyNormaEuro->setAsString(""); }), "");

    // Numbers below their floor are saved as 0, empty ones too; 1 stays.
    dm->TPojazdyNrRejestracyjny->setAsString("KR 77");
    dm->TPojazdyRokProdukcji->setAsInteger(-5);
    dm->TPojazdyIloscMiejsc->setAsInteger(1);
    dm->TPojazdyPojemnoscSilnika->Clear();
    dm->TPojazdyLadownosc->Clear();
    dm->TPojazdyWartoscEwidencyjna->setAsFloat(-0.01);
    dm->TPojazdyNormaLetnia->setAsFloat(0.01);
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }), "");
    EXPECT_EQ(dm->TPojazdyRokProdukcji->AsString(), "0");
    EXPECT_EQ(dm->TPojazdyIloscMiejsc->AsString(), "1");
    EXPECT_EQ(dm->TPojazdyPojemnoscSilnika->AsString(), "0");
    EXPECT_EQ(dm->TPojazdyLadownosc->AsString(), "0");
    EXPECT_EQ(dm->TPojazdyWartoscEwidencyjna->AsString(), "0");
    EXPECT_EQ(dm->TPojazdyNormaLetnia->AsString(), "0,01");
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Delete(); }), "Nie można kasować pojazdów !!!");
    EXPECT_EQ(dm->TPojazdy->RecordCount(), 1);
}

// "Km między przegl." typed as a negative number is saved as 0, as the other
// whole numbers of a vehicle are; an empty one stays empty (no interval).
TEST_F(Reguly, NegativeKilometresBetweenInspectionsAreSavedAsZero)
{
    const int id = pojazd("PO 77777", "5");
    for (const auto& [tekst, zapisany] : {std::pair{"-40000", "0"}, {"-1", "0"}, {"120 000", "120000"}, {"0", "0"},
                                          {"1", "1"}, {"", ""}}) {
        ASSERT_TRUE(dm->TPojazdy->Locate("IdentyfikatorPojazdu", id));
        dm->TPojazdy->Edit();
        dm->TPojazdyIloscKmMiedzyPrzegl->setText(tekst);
        EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }), "") << tekst;
        dm->TPojazdy->Refresh();
        EXPECT_EQ(dm->TPojazdyIloscKmMiedzyPrzegl->AsString(), zapisany) << tekst;
    }
}

TEST_F(Reguly, GasFlagTakesTakOrNieAndKeepsALowerCaseFlag)
{
    dm->TPojazdy->Insert();
    const char* gaz = "Fabtyczna instalacja gazu: Tak, lub Nie !!!";
    EXPECT_EQ(komunikat([&] { dm->TPojazdyFabrycznaInstalacjaGazu->setAsString(""); }), gaz);
    EXPECT_EQ(komunikat([&] { dm->TPojazdyFabrycznaInstalacjaGazu->setAsString("X"); }), gaz);
    EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->AsString(), "N");
    dm->TPojazdyFabrycznaInstalacjaGazu->setAsString("t");
    EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->DisplayText(), "Tak");
    dm->TPojazdyNrRejestracyjny->setAsString("GD 1");
    dm->TPojazdy->Post();
    EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->AsString(), "T");
    const int gd1 = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    const int gd2 = pojazd("GD 2");
    const int gd3 = pojazd("GD 3");
    dm.reset();
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", gd1,
                 [](kal::TTable& t) { t.FieldByName("FabrycznaInstalacjaGazu")->setAsString("t"); });
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", gd2,
                 [](kal::TTable& t) { t.FieldByName("FabrycznaInstalacjaGazu")->setAsString("n"); });
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", gd3,
                 [](kal::TTable& t) { t.FieldByName("FabrycznaInstalacjaGazu")->setAsString("X"); });
    dm = std::make_unique<TDM>();

    // A lower-case flag reads as its capital and is saved as it; any other
    // letter reads "???" and is saved as "N".
    const std::pair<int, const char*> oczekiwane[] = {{gd1, "Tak"}, {gd2, "Nie"}, {gd3, "???"}};
    for (const auto& [id, tekst] : oczekiwane) {
        ASSERT_TRUE(dm->TPojazdy->Locate("IdentyfikatorPojazdu", id));
        EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->DisplayText(), tekst) << id;
        dm->TPojazdy->Edit();
        dm->TPojazdyMarka->setAsString("Autosan");
        dm->TPojazdy->Post();
    }
    const std::pair<int, const char*> zapisane[] = {{gd1, "T"}, {gd2, "N"}, {gd3, "N"}};
    for (const auto& [id, kod] : zapisane) {
        ASSERT_TRUE(dm->TPojazdy->Locate("IdentyfikatorPojazdu", id));
        EXPECT_EQ(dm->TPojazdyFabrycznaInstalacjaGazu->AsString(), kod) << id;
    }
}

TEST_F(Reguly, OldVehicleKindsOutsideTheRangeAreRefusedWhenNextSaved)
{
    const int a = pojazd("PO 1", "3");
    const int b = pojazd("PO 2", "3");
    const int c = pojazd("PO 3", "3");
    dm.reset();
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", a,
                 [](kal::TTable& t) { t.FieldByName("RodzajPojazdu")->setAsString("12"); });
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", b,
                 [](kal::TTable& t) { t.FieldByName("RodzajPojazdu")->setAsString("1,"); });
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", c,
                 [](kal::TTable& t) { t.FieldByName("NormaEuro")->setAsString("9"); });
    dm = std::make_unique<TDM>();

    ASSERT_TRUE(dm->TPojazdy->Locate("IdentyfikatorPojazdu", a));
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->DisplayText(), "????");
    for (int id : {a, b}) {
        ASSERT_TRUE(dm->TPojazdy->Locate("IdentyfikatorPojazdu", id));
        dm->TPojazdy->Edit();
        dm->TPojazdyUwagi->setAsString("po przeglądzie");
        EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }), "Rodzaj pojazdu jest z zakresu 1-11 !!!") << id;
        dm->TPojazdy->Cancel();
    }
    ASSERT_TRUE(dm->TPojazdy->Locate("IdentyfikatorPojazdu", c));
    dm->TPojazdy->Edit();
    dm->TPojazdyUwagi->setAsString("po przeglądzie");
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }),
              "Dopuszczalne rodzaje norm EURO: 0 - bez normy\n 1 - EURO 1, 2 - EURO 2\n 3 - EURO 3, 4 - EURO 4, 5 - EURO 5.");
    dm->TPojazdy->Cancel();
}

TEST_F(Reguly, VehicleDatesKeepTheirValueAfterAMistypedText)
{
    pojazd("WE 5");
    dm->TPojazdy->Edit();
    struct Pole {
        kal::TField* pole;
        const char* komunikat;
    };
    const Pole pola[] = {
        {dm->TPojazdyDataPierwszejRejestracji, "Data pierwszej rejestracji musi być dobrze określona !!!"},
        {dm->TPojazdyDataKonca, "Data końca musi być dobrze określona !!!"},
        {dm->TPojazdyDataSkresleniaZEwidencji, "Data skreślenia z ewidencji musi być dobrze określona !!!"},
    };
    for (const Pole& p : pola) {
        const std::string nazwa = p.pole->FieldName().toStdString();
        p.pole->setText("2008-02-29");
        EXPECT_EQ(p.pole->DisplayText(), "2008-02-29") << nazwa;
        for (const char* zly : {"2009-02-29", "2009-13-01", "2009-1", "abc"}) {
            EXPECT_EQ(komunikat([&] { p.pole->setText(zly); }), p.komunikat) << nazwa << " " << zly;
            EXPECT_EQ(p.pole->AsString(), "2008-02-29") << nazwa << " " << zly;
        }
        // An empty text clears the date.
        EXPECT_EQ(komunikat([&] { p.pole->setText(""); }), "") << nazwa;
        EXPECT_TRUE(p.pole->IsNull()) << nazwa;
        EXPECT_EQ(komunikat([&] { p.pole->setText("   "); }), "") << nazwa;
        EXPECT_TRUE(p.pole->IsNull()) << nazwa;
    }
    dm->TPojazdyDataPierwszejRejestracji->setText(" 2006-7-1 ");
    dm->TPojazdy->Post();
    EXPECT_EQ(dm->TPojazdyDataPierwszejRejestracji->AsString(), "2006-07-01");
    EXPECT_TRUE(dm->TPojazdyDataKonca->IsNull());
}

TEST_F(Reguly, DuplicateVehicleShowsThePostErrorBox)
{
    pojazd("WA 100", "2");
    dm->TPojazdy->Insert();
    dm->TPojazdyRodzajPojazdu->setAsString("2");
    dm->TPojazdyNrRejestracyjny->setAsString("WA 100");
    bladZapisu(dm->TPojazdy, "Dane pojazdu powtarzają się !!!");
    // The same number with another kind is another vehicle.
    pojazd("WA 100", "3");
    EXPECT_EQ(dm->TPojazdy->RecordCount(), 2);
}

TEST_F(Reguly, OldVehicleWithoutANumberIsRefusedWhenNextSaved)
{
    const int id = pojazd("RZ 1", "9");
    dm.reset();
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", id, [](kal::TTable& t) {
        t.FieldByName("NrRejestracyjny")->Clear();
        t.FieldByName("RokProdukcji")->setAsInteger(-1);
    });
    dm = std::make_unique<TDM>();
    ASSERT_TRUE(dm->TPojazdy->Locate("IdentyfikatorPojazdu", id));
    EXPECT_EQ(dm->TPojazdyRodzajPojazdu->DisplayText(), "9 - ciągnik rolniczy");
    dm->TPojazdy->Edit();
    dm->TPojazdyMarka->setAsString("Ursus");
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }), "Numer rejestracyjny pojazdu musi być wprowadzony !!!");
    dm->TPojazdyNrRejestracyjny->setAsString("RZ 1");
    EXPECT_EQ(komunikat([&] { dm->TPojazdy->Post(); }), "");
    EXPECT_EQ(dm->TPojazdyRokProdukcji->AsString(), "0");
}
