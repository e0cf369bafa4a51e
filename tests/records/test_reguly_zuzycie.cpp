// Fuel use: the period date rule at the edges of each half-year, the typed
// date, the fuel kind, the vehicle, the quantity, and old rows saved again.

#include "test_reguly_wspolne.h"

#include "VfsShim.h"

namespace {

// The message of typing `tekst` into the fuel date; "" when accepted.
QString wpisz(TDM& dm, const QString& tekst)
{
    try {
        dm.TZuzycieDataTankowania->setText(tekst);
    } catch (const kal::Exception& e) {
        return e.message();
    }
    return {};
}

const char* const kPierwsze = "Pierwsze pólrocze dotyczy miesięcy od stycznia do czerwca !!!";
const char* const kDrugie = "Drugie półrocze dotyczy miesięcy od lipca do grudnia !!!";
const char* const kZlaData = "Data tankowania musi być dobrze określona !!!";

} // namespace

TEST_F(Reguly, FuelDateAtTheEdgesOfTheFirstHalfYear)
{
    okres(2009, 1);
    pojazd("WA 1");
    dm->TZuzycie->Insert();
    EXPECT_EQ(wpisz(*dm, "2009-01-01"), "");
    EXPECT_EQ(wpisz(*dm, "2009-06-30"), "");
    EXPECT_EQ(wpisz(*dm, "2009-07-01"), kPierwsze);
    EXPECT_EQ(wpisz(*dm, "2009-12-31"), kPierwsze);
    EXPECT_EQ(wpisz(*dm, "2008-12-31"), "Data tankowania musi dotyczyć roku: 2009 roku.");
    EXPECT_EQ(wpisz(*dm, "2008-06-30"), "Data tankowania musi dotyczyć roku: 2009 roku.");
    EXPECT_EQ(wpisz(*dm, "2010-01-01"), "Data tankowania musi dotyczyć roku: 2009 roku.");
    // A valid date outside the period stays in the field, and the post is
    // refused until it is put right.
    EXPECT_EQ(dm->TZuzycieDataTankowania->AsString(), "2010-01-01");
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(dm->TPojazdyIdentyfikatorPojazdu->AsInteger());
    dm->TZuzycieRodzajPaliwa->setAsString("5");
    dm->TZuzycieIloscPaliwa->setAsFloat(40);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Data tankowania musi dotyczyć roku: 2009 roku.");
    EXPECT_EQ(wpisz(*dm, "2009-06-30"), "");
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "");
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 1);
}

TEST_F(Reguly, FuelDateAtTheEdgesOfTheSecondHalfYear)
{
    okres(2010, 2);
    dm->TZuzycie->Insert();
    EXPECT_EQ(wpisz(*dm, "2010-07-01"), "");
    EXPECT_EQ(wpisz(*dm, "2010-12-31"), "");
    EXPECT_EQ(wpisz(*dm, "2010-06-30"), kDrugie);
    EXPECT_EQ(wpisz(*dm, "2010-01-01"), kDrugie);
    EXPECT_EQ(wpisz(*dm, "2011-01-01"), "Data tankowania musi dotyczyć roku: 2010 roku.");
    EXPECT_EQ(wpisz(*dm, "2009-12-31"), "Data tankowania musi dotyczyć roku: 2010 roku.");
    EXPECT_EQ(wpisz(*dm, "2009-07-01"), "Data tankowania musi dotyczyć roku: 2010 roku.");
    dm->TZuzycie->Cancel();
}

TEST_F(Reguly, MistypedFuelDateKeepsTheDateBefore)
{
    okres(2009, 1);
    dm->TZuzycie->Insert();
    ASSERT_EQ(wpisz(*dm, "2009-03-15"), "");
    for (const char* zly : {"2009-02-29", "2009-00-10", "15.03.2009", "2009-03-", ""}) {
        EXPECT_EQ(wpisz(*dm, zly), kZlaData) << zly;
        EXPECT_EQ(dm->TZuzycieDataTankowania->AsString(), "2009-03-15") << zly;
    }
    dm->TZuzycie->Cancel();
    // An empty date is refused on post with the same text.
    dm->TZuzycie->Insert();
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(1);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), kZlaData);
    dm->TZuzycie->Cancel();
}

TEST_F(Reguly, FuelKindVehicleAndQuantityChecksInTheirOrder)
{
    okres(2009, 2);
    const int wa = pojazd("WA 2", "3");
    dm->TZuzycie->Insert();
    EXPECT_EQ(dm->TZuzycieRodzajPaliwa->DisplayText(), "????");
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Musisz wybrać pojazd !!!");
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), kZlaData);
    dm->TZuzycieDataTankowania->setText("2009-08-08");
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Musisz wybrać rodzaj paliwa !!!");

    const char* zlePaliwo = "Rodzaj paliwa jest niewłaściwy !!!";
    for (const char* zly : {"0", "7", "8", "9", "d", "A", ""})
        EXPECT_EQ(komunikat([&] { dm->TZuzycieRodzajPaliwa->setAsString(zly); }), zlePaliwo) << zly;
    const std::pair<const char*, const char*> dobre[] = {
        {"1", "1 - etylina 94"},
        {"6", "6 -olej napędowy o zawartości siarki poniżej 0,02% m/m"},
        {"a", "a - biodiesel"},
        {"c", "c - sprężony gaz ziemny"},
    };
    for (const auto& [kod, tekst] : dobre) {
        EXPECT_EQ(komunikat([&] { dm->TZuzycieRodzajPaliwa->setAsString(kod); }), "") << kod;
        EXPECT_EQ(dm->TZuzycieRodzajPaliwa->DisplayText(), tekst) << kod;
    }

    // Quantity: empty and negative become 0 and are refused; the tolerance
    // itself passes.
    const char* ilosc = "Ilość paliwa musi być większa od zera !!!";
    dm->TZuzycieIloscPaliwa->Clear();
    dm->TZuzycieCenaPaliwa->setAsFloat(-4.5);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), ilosc);
    EXPECT_EQ(dm->TZuzycieIloscPaliwa->AsString(), "0");
    EXPECT_EQ(dm->TZuzycieCenaPaliwa->AsString(), "0");
    dm->TZuzycieIloscPaliwa->setAsFloat(-3);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), ilosc);
    dm->TZuzycieIloscPaliwa->setAsFloat(0.00000009);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), ilosc);
    dm->TZuzycieIloscPaliwa->setAsFloat(0.0000001);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "");
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->AsString(), "3");
}

TEST_F(Reguly, FuelRecordTakesTheKindOfItsVehicleAtThePost)
{
    okres(2009, 1);
    const int wa = pojazd("WA 3", "3");
    const int bez = pojazd("WA 4", "5");
    dm->TZuzycie->Insert();
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa);
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->AsString(), "3");
    dm->TZuzycieDataTankowania->setText("2009-02-02");
    dm->TZuzycieRodzajPaliwa->setAsString("5");
    dm->TZuzycieIloscPaliwa->setAsFloat(12.5);
    // The vehicle's kind changes before the fuel record is posted.
    dm->TPojazdy->Locate("IdentyfikatorPojazdu", wa);
    dm->TPojazdy->Edit();
    dm->TPojazdyRodzajPojazdu->setAsString("8");
    dm->TPojazdy->Post();
    dm->TZuzycie->Post();
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->DisplayText(), "8 - autobus inny niż w Lp 4-6");

    // A vehicle without a kind, written past the checks, is no vehicle for fuel.
    zapiszSurowo("Pojazdy.db", "IdentyfikatorPojazdu", bez,
                 [](kal::TTable& t) { t.FieldByName("RodzajPojazdu")->Clear(); });
    dm->TPojazdy->Refresh();
    dm->TZuzycie->Insert();
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(bez);
    dm->TZuzycieDataTankowania->setText("2009-02-03");
    dm->TZuzycieRodzajPaliwa->setAsString("5");
    dm->TZuzycieIloscPaliwa->setAsFloat(10);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Niewłaściwe dane wybranego pojazdu !!!");
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->AsString(), "");
    dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(bez + 50);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Niewłaściwe dane wybranego pojazdu !!!");
    dm->TZuzycie->Cancel();
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 1);
}

TEST_F(Reguly, OldFuelRowsAreCheckedWhenNextSaved)
{
    okres(2009, 1);
    const int wa = pojazd("WA 5", "1");
    for (int i = 0; i < 2; ++i) {
        dm->TZuzycie->Insert();
        dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa);
        dm->TZuzycieDataTankowania->setText(i == 0 ? "2009-04-01" : "2009-04-02");
        dm->TZuzycieRodzajPaliwa->setAsString("3");
        dm->TZuzycieIloscPaliwa->setAsFloat(30);
        dm->TZuzycie->Post();
    }
    const QString plik = dm->TZuzycie->TableName();
    ASSERT_EQ(plik, "Zuz20091.db");
    dm.reset();
    zapiszSurowo(plik, "DataTankowania", QDate(2009, 4, 1),
                 [](kal::TTable& t) { t.FieldByName("RodzajPaliwa")->setAsString("7"); });
    zapiszSurowo(plik, "DataTankowania", QDate(2009, 4, 2),
                 [](kal::TTable& t) { t.FieldByName("DataTankowania")->setAsDateTime(QDate(2009, 9, 2)); });
    dm = std::make_unique<TDM>();
    ASSERT_TRUE(dm->UstawZbiorZuzycia());

    ASSERT_TRUE(dm->TZuzycie->Locate("DataTankowania", QDate(2009, 4, 1)));
    EXPECT_EQ(dm->TZuzycieRodzajPaliwa->DisplayText(), "!????");
    dm->TZuzycie->Edit();
    dm->TZuzycieNumerFaktury->setAsString("FV 1/2009");
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), "Rodzaj paliwa jest niewłaściwy !!!");
    dm->TZuzycie->Cancel();

    ASSERT_TRUE(dm->TZuzycie->Locate("DataTankowania", QDate(2009, 9, 2)));
    dm->TZuzycie->Edit();
    dm->TZuzycieIloscPaliwa->setAsFloat(31);
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Post(); }), kPierwsze);
    dm->TZuzycie->Cancel();
}

// A post the engine refuses for another cause than a repeated key (here a
// full disk) is told as a record not saved, with the cause; a repeated key
// keeps the table's own text.
TEST_F(Reguly, RefusedPostIsToldAsARepeatOnlyForARepeatedKey)
{
    using kal::test::VfsShim;
    VfsShim::install();
    VfsShim::reset();
    dm.reset();
    dm = std::make_unique<TDM>(); // its files open through the test's file layer
    okres(2009, 1);
    const int wa = pojazd("WA 1");
    const auto nowyOkres = [&](int polrocze) {
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(2009);
        dm->TOkresPolrocze->setAsInteger(polrocze);
    };
    const QString nieZapisane = "Dane nie zostały zapisane !!!\nDokładna specyfikacja błędu:\n";
    const struct {
        kal::TTable* tabela;
        std::function<void()> wpisz;
        bool pelnyDysk;
        QString tekst;
    } przypadki[] = {
        {dm->TZuzycie,
         [&] {
             dm->TZuzycie->Insert();
             dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(wa);
             dm->TZuzycieDataTankowania->setText("2009-04-01");
             dm->TZuzycieRodzajPaliwa->setAsString("5");
             dm->TZuzycieIloscPaliwa->setAsFloat(40);
         },
         true, nieZapisane + "Brak miejsca na dysku: nie można zapisać zbioru danych Zuz20091.db"},
        {dm->TOkres, [&] { nowyOkres(2); }, true,
         nieZapisane + "Brak miejsca na dysku: nie można zapisać zbioru danych Okresy.db"},
        {dm->TOkres, [&] { nowyOkres(1); }, false,
         "Dane okresu powtarzają się !!!\nDokładna specyfikacja błędu:\n"
         "Naruszenie klucza unikalnego w zbiorze Okresy.db"},
    };
    for (const auto& p : przypadki) {
        p.wpisz();
        dialogi.clear();
        VfsShim::diskFull = p.pelnyDysk;
        EXPECT_THROW(p.tabela->Post(), kal::EAbort);
        VfsShim::diskFull = false;
        jednoOkno(p.tekst, "Błąd komponentu: " + p.tabela->Name());
        EXPECT_EQ(p.tabela->State(), kal::dsInsert);
        p.tabela->Cancel();
    }
    EXPECT_EQ(dm->TZuzycie->RecordCount(), 0);
}
