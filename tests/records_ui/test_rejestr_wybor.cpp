// The registers as pickers: positioning on the calling record's id, "&Użyj"
// into the calling record, the guard while the register has a pending
// change, and the modes of the vehicle register.

#include "test_rejestr_wspolne.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

namespace rejestr_test {
namespace {

const QString kKontrolaPojazdow = QStringLiteral("Kontrola wprowadzania pojazdów.");

class Wybor : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
        audi = pojazd(QStringLiteral("WA 11111"), QStringLiteral("Audi"));
        fiat = pojazd(QStringLiteral("KR 22222"), QStringLiteral("Fiat"));
        skoda = pojazd(QStringLiteral("GD 33333"), QStringLiteral("Skoda"), QStringLiteral("3"));
        dialogi.clear();
    }

    int audi = 0, fiat = 0, skoda = 0;
};

TEST_F(Wybor, VehiclePickerStartsOnTheFuelRecordsVehicleAndWritesThePickedOne)
{
    tankowanie(fiat, 5);
    dm->TPojazdy->First();
    przyPokazie([&](QWidget* okno) {
        EXPECT_EQ(okno, pojazdy.get());
        EXPECT_EQ(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), fiat);
        EXPECT_EQ(dm->TPojazdy->Tag(), 1);
        EXPECT_EQ(pojazdy->DBGrid1->DataSource(), dm->DPojazdy);
        EXPECT_TRUE(pojazdy->BitBtn2->isEnabled());
        EXPECT_TRUE(pojazdy->Panel3->isHidden());
        EXPECT_EQ(pojazdy->windowTitle(), "Ewidencja pojazdów");
        dm->TPojazdy->Last();
        pojazdy->BitBtn2->click();
    });
    EXPECT_EQ(pojazdy->Pokaz(1), TOknoRejestru::mrOk);

    EXPECT_EQ(zamkniete, std::vector<bool>{true});
    EXPECT_TRUE(dialogi.boxes().empty());
    // The fuel record is left in edit state with the new vehicle, not posted.
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsEdit);
    EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), skoda);
    EXPECT_EQ(dm->TZuzycieRodzajPojazdu->AsString().trimmed(), "3");
    EXPECT_EQ(dm->TPojazdy->Tag(), 0);
    EXPECT_EQ(pojazdy->DBGrid1->DataSource(), nullptr);
    dm->TZuzycie->Cancel();
}

TEST_F(Wybor, PickedVehicleGoesIntoTheCallingFuelRecordEvenAfterTheFuelTableMoved)
{
    const int pierwsze = tankowanie(audi, 5);
    const int drugie = tankowanie(fiat, 6);
    ASSERT_TRUE(dm->TZuzycie->Locate(QStringLiteral("Identyfikator"), pierwsze));
    przyPokazie([&](QWidget*) {
        // Something in the register (a printout) moves the fuel table meanwhile.
        ASSERT_TRUE(dm->TZuzycie->Locate(QStringLiteral("Identyfikator"), drugie));
        ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), skoda));
        pojazdy->BitBtn2->click();
    });
    pojazdy->Pokaz(1);

    EXPECT_EQ(zamkniete, std::vector<bool>{true});
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsEdit);
    EXPECT_EQ(dm->TZuzycieIdentyfikator->AsInteger(), pierwsze);
    EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), skoda);
    dm->TZuzycie->Post();
    ASSERT_TRUE(dm->TZuzycie->Locate(QStringLiteral("Identyfikator"), drugie));
    EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), fiat);
}

TEST_F(Wybor, EveryPickerRefusesUseWhileItsOwnRecordIsPending)
{
    tankowanie(fiat, 5);
    struct Przypadek {
        const char* nazwa;
        std::function<int()> pokaz;
        QPushButton* uzyj;
        QPushButton* zamknij;
        kal::TTable* rejestr;
        QString komunikat;
        QString naglowek;
    };
    const Przypadek przypadki[] = {
        {"pojazdy", [&] { return pojazdy->Pokaz(1); }, pojazdy->BitBtn2, pojazdy->BitBtn1, dm->TPojazdy,
         "Najpierw zapisz lub porzuć nowe dane o pojeździe !!!", kKontrolaPojazdow},
        {"miejsca uzytkowania", [&] { return miejscaUz->Pokaz(2); }, miejscaUz->BitBtn2, miejscaUz->BitBtn1,
         dm->TMiejsceUz, "Najpierw zapisz lub porzuć nowe dane o miejscu użytkowania !!!",
         "Kontrola wprowadzania miejsc użytkowania."},
        {"miejsca tankowania", [&] { return miejscaTank->Pokaz(1); }, miejscaTank->BitBtn2, miejscaTank->BitBtn1,
         dm->TMiejscTank, "Najpierw zapisz lub porzuć nowe dane o miejscu tankowania !!!",
         "Kontrola wprowadzania miejsc tankowania."},
        {"kotly", [&] { return kotly->Pokaz(1); }, kotly->BitBtn2, kotly->BitBtn1, dm->TKotly,
         "Najpierw zapisz lub porzuć nowe dane o kotłach !!!", "Kontrola wprowadzania kotłów."},
        {"gminy", [&] { return gminy->Pokaz(1); }, gminy->BitBtn2, gminy->BitBtn1, dm->TGminy,
         "Najpierw zapisz lub porzuć nowe dane o gminie !!!", "Kontrola wprowadzania gmin."},
        {"substancje", [&] { return substancje->Pokaz(1); }, substancje->BitBtn2, substancje->BitBtn1,
         dm->TSubsatncje, "Najpierw zapisz lub porzuć nowe dane o substancjach !!!",
         "Kontrola wprowadzania substancji."},
        {"zrodla", [&] { return zrodla->Pokaz(1); }, zrodla->BitBtn2, zrodla->BitBtn1, dm->TZrodla,
         "Najpierw zapisz lub porzuć nowe dane o źródle !!!",
         "Kontrola wprowadzania źródel powstania substancji wprowadzanych dośrodowiska."},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        dialogi.clear();
        zamkniete.clear();
        bool otwartePoUzyj = false;
        przyPokazie([&](QWidget* okno) {
            p.rejestr->Insert();
            p.uzyj->click();
            otwartePoUzyj = !okno->isHidden();
            p.rejestr->Cancel();
            p.zamknij->click();
        });
        EXPECT_EQ(p.pokaz(), TOknoRejestru::mrCancel);
        EXPECT_TRUE(otwartePoUzyj);
        EXPECT_EQ(zamkniete, std::vector<bool>{true});
        ASSERT_EQ(dialogi.boxes().size(), 1u);
        oczekujKomunikatu(dialogi.boxes()[0], p.komunikat, p.naglowek);
        // Nothing was written into the fuel record.
        EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
        EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), fiat);
    }
}

TEST_F(Wybor, UseOnAnEmptyRegisterWritesNothingAndSaysSo)
{
    tankowanie(fiat, 5);
    ASSERT_TRUE(dm->TMiejscTank->IsEmpty());
    bool otwarte = false;
    przyPokazie([&](QWidget* okno) {
        miejscaTank->BitBtn2->click();
        otwarte = !okno->isHidden();
        miejscaTank->BitBtn1->click();
    });
    miejscaTank->Pokaz(1);

    EXPECT_TRUE(otwarte);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], "Brak danych do wybrania !!!", "Kontrola wprowadzania miejsc tankowania.");
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
    EXPECT_TRUE(dm->TZuzycieMiejsceTankowania->IsNull());
}

TEST_F(Wybor, APickForANewFuelRecordThatWasDroppedMeanwhileIsNotWrittenElsewhere)
{
    tankowanie(fiat, 5);
    miejsce(dm->TMiejscTank, dm->TMiejscTankNazwa, dm->TMiejscTankIdentyfikator, QStringLiteral("Stacja"));
    dm->TZuzycie->Insert();
    bool otwarte = false;
    przyPokazie([&](QWidget* okno) {
        dm->TZuzycie->Cancel();
        miejscaTank->BitBtn2->click();
        otwarte = !okno->isHidden();
        miejscaTank->BitBtn1->click();
    });
    miejscaTank->Pokaz(1);

    EXPECT_TRUE(otwarte);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], "Nie można odnaleźć danych, dla których dokonywano wyboru !!!",
                      "Kontrola wprowadzania miejsc tankowania.");
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
    EXPECT_TRUE(dm->TZuzycieMiejsceTankowania->IsNull());
}

TEST_F(Wybor, PlaceOfUsePickedFromTheVehicleRegisterIsSavedWithTheVehicle)
{
    miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Baza"));
    const int magazyn =
        miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Magazyn"));
    const int warsztat =
        miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Warsztat"));
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), fiat));
    dm->TPojazdy->Edit();
    dm->TPojazdyMiejsceUzytkowania->setAsInteger(magazyn);
    dm->TPojazdy->Post();
    dm->TMiejsceUz->First();

    przyPokazie([&](QWidget*) {
        pojazdy->Button1->click();
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsEdit);
        dialogi.answer(kal::MbYes);
        pojazdy->BitBtn1->click();
    });
    przyPokazie([&](QWidget* okno) {
        EXPECT_EQ(okno, miejscaUz.get());
        EXPECT_EQ(dm->TMiejsceUzNazwa->AsString(), "Magazyn");
        EXPECT_EQ(miejscaUz->DBGrid1->DataSource(), dm->DMiejsceUz);
        dm->TMiejsceUz->Last();
        miejscaUz->BitBtn2->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_EQ(zamkniete, (std::vector<bool>{true, true}));
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], "Czy chcesz zmienić dane o pojeździe ?", kKontrolaPojazdow,
                      kal::MsgIcon::Question, kal::MbYes | kal::MbNo | kal::MbCancel);
    EXPECT_EQ(miejscaUz->DBGrid1->DataSource(), nullptr);
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), fiat));
    EXPECT_EQ(dm->TPojazdyMiejsceUzytkowania->AsInteger(), warsztat);
    EXPECT_EQ(dm->TPojazdyNazwaMiejscaUzytkowania->AsString(), "Warsztat");
}

TEST_F(Wybor, ANewVehicleAfterThePlacePickerStillStartsOnTheMake)
{
    miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Baza"));
    QWidget* fokus = nullptr;
    przyPokazie([&](QWidget* okno) {
        okno->activateWindow();
        pojazdy->Button1->click();
        dm->TPojazdy->Cancel();
        okno->activateWindow();
        pojazdy->BitBtn1->setFocus();
        pojazdy->DBNavigator1->BtnClick(kal::nbInsert);
        fokus = okno->focusWidget();
        dialogi.answer(kal::MbNo);
        pojazdy->BitBtn1->click();
    });
    przyPokazie([&](QWidget*) { miejscaUz->BitBtn2->click(); });
    pojazdy->Pokaz(0);
    EXPECT_EQ(fokus, pojazdy->DBEdit1);
    EXPECT_EQ(dm->TPojazdy->Tag(), 0);
}

TEST_F(Wybor, AZeroKeyLeavesThePickerWhereItIsAndAnUnknownKeyOnItsLastRow)
{
    tankowanie(fiat, 5);
    miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Baza"));
    miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Magazyn"));
    miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Warsztat"));
    ASSERT_TRUE(dm->TMiejsceUz->Locate(QStringLiteral("Nazwa"), QStringLiteral("Magazyn")));
    QString naPoczatku;
    przyPokazie([&](QWidget*) {
        naPoczatku = dm->TMiejsceUzNazwa->AsString();
        miejscaUz->BitBtn1->click();
    });
    miejscaUz->Pokaz(2);
    EXPECT_EQ(naPoczatku, "Magazyn");

    dm->TZuzycie->Edit();
    dm->TZuzycieMiejsceUzytkowania->setAsInteger(999);
    dm->TMiejsceUz->First();
    przyPokazie([&](QWidget*) {
        naPoczatku = dm->TMiejsceUzNazwa->AsString();
        miejscaUz->BitBtn1->click();
    });
    miejscaUz->Pokaz(2);
    EXPECT_EQ(naPoczatku, "Warsztat");
    EXPECT_EQ(zamkniete, (std::vector<bool>{true, true}));
    dm->TZuzycie->Cancel();
}

TEST_F(Wybor, FuelWindowsPickersWriteTheRefuellingPlaceAndTheOtherPlaceOfUse)
{
    tankowanie(fiat, 5);
    const int stacja =
        miejsce(dm->TMiejscTank, dm->TMiejscTankNazwa, dm->TMiejscTankIdentyfikator, QStringLiteral("Stacja Orlen"));
    const int baza = miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QStringLiteral("Baza"));
    przyPokazie([&](QWidget*) {
        zuzycie->Button2->click();
        zuzycie->Button3->click();
        EXPECT_EQ(dm->TZuzycie->State(), kal::dsEdit);
        dialogi.answer(kal::MbYes);
        zuzycie->BitBtn1->click();
    });
    przyPokazie([&](QWidget* okno) {
        EXPECT_EQ(okno, miejscaTank.get());
        miejscaTank->BitBtn2->click();
    });
    przyPokazie([&](QWidget* okno) {
        EXPECT_EQ(okno, miejscaUz.get());
        EXPECT_EQ(miejscaUz->Tryb(), 2);
        miejscaUz->BitBtn2->click();
    });
    zuzycie->Pokaz();

    EXPECT_EQ(zamkniete, (std::vector<bool>{true, true, true}));
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], "Czy chcesz zmienić dane o zużyciu paliwa ?",
                      "Kontrola wprowadzania zużycia paliw.", kal::MsgIcon::Question,
                      kal::MbYes | kal::MbNo | kal::MbCancel);
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TZuzycieMiejsceTankowania->AsInteger(), stacja);
    EXPECT_EQ(dm->TZuzycieMiejsceUzytkowania->AsInteger(), baza);
    EXPECT_EQ(dm->TZuzycieNazwaMiejscaTankowania->AsString(), "Stacja Orlen");
}

TEST_F(Wybor, VehicleRegisterInBrowseModeOffersNoUseAndInCompletionModeOnlyClosesOncePosted)
{
    tankowanie(fiat, 5);
    bool uzyjWlaczone = true;
    przyPokazie([&](QWidget*) {
        uzyjWlaczone = pojazdy->BitBtn2->isEnabled();
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
    EXPECT_FALSE(uzyjWlaczone);

    // The fleet import has inserted a vehicle for the user to complete.
    dm->TPojazdy->Insert();
    dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("PO 44444"));
    bool panel = false, otwartePoPierwszym = false;
    przyPokazie([&](QWidget* okno) {
        panel = !pojazdy->Panel3->isHidden();
        pojazdy->BitBtn2->click();
        otwartePoPierwszym = !okno->isHidden();
        dm->TPojazdyMarka->setAsString(QStringLiteral("Volvo"));
        dm->TPojazdy->Post();
        pojazdy->BitBtn2->click();
    });
    EXPECT_EQ(pojazdy->Pokaz(2), TOknoRejestru::mrOk);
    EXPECT_TRUE(panel);
    EXPECT_TRUE(otwartePoPierwszym);
    EXPECT_EQ(zamkniete, (std::vector<bool>{true, true}));
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], "Najpierw zapisz lub porzuć nowe dane o pojeździe !!!", kKontrolaPojazdow);
    // Completion writes into no fuel record.
    EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), fiat);
}

TEST_F(Wybor, TheTableAPickersAndTheBoilerPickerAreBackInBrowseModeAfterTheShow)
{
    for (auto* okno : std::initializer_list<TOknoRejestru*>{kotly.get(), gminy.get(), substancje.get(), zrodla.get()}) {
        SCOPED_TRACE(okno->objectName().toStdString());
        przyPokazie([&](QWidget*) { okno->ZamknijZWynikiem(TOknoRejestru::mrCancel); });
        if (okno == kotly.get())
            kotly->Pokaz(1);
        else if (okno == gminy.get())
            gminy->Pokaz(1);
        else if (okno == substancje.get())
            substancje->Pokaz(1);
        else
            zrodla->Pokaz(1);
        EXPECT_EQ(okno->Tryb(), 0);
    }
    EXPECT_EQ(gminy->windowTitle(), "Kartoteka gmin.");
    EXPECT_EQ(zrodla->windowTitle(), "Źródła powstawania substancji wprowadzanych do powietrza");
}

} // namespace
} // namespace rejestr_test
