// The register windows as the user works them: the save prompt on close, the
// registration search, the fuel-use window on its half-year file, the density
// window, the company window and the vehicle's mileage and repairs.

#include "test_rejestr_wspolne.h"

#include "DaneSrodowiskaTabel.h"
#include "FunkcjeSrodowiska.h"

#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace rejestr_test {
namespace {

const QString kKontrolaPojazdow = QStringLiteral("Kontrola wprowadzania pojazdów.");
const unsigned kTakNieAnuluj = kal::MbYes | kal::MbNo | kal::MbCancel;

class Okna : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        dialogi.clear();
    }

    QString marka(int id)
    {
        EXPECT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), id));
        return dm->TPojazdyMarka->AsString();
    }
};

// ------------------------------------------------------------------ save prompt

TEST_F(Okna, ClosingWithAChangedVehicleAsksYesSavesNoDropsCancelStaysOpen)
{
    const int id = pojazd(QStringLiteral("WA 11111"), QStringLiteral("Audi"));

    przyPokazie([&](QWidget*) {
        dm->TPojazdy->Edit();
        dm->TPojazdyMarka->setAsString(QStringLiteral("Fiat"));
        dialogi.answer(kal::MbYes);
        pojazdy->BitBtn1->click();
    });
    EXPECT_EQ(pojazdy->Pokaz(0), TOknoRejestru::mrCancel);
    EXPECT_EQ(marka(id), "Fiat");

    // Esc closes through the same prompt.
    przyPokazie([&](QWidget*) {
        dm->TPojazdy->Edit();
        dm->TPojazdyMarka->setAsString(QStringLiteral("Opel"));
        dialogi.answer(kal::MbNo);
        klawisz(pojazdy->DBEdit1, Qt::Key_Escape);
    });
    pojazdy->Pokaz(0);
    EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
    EXPECT_EQ(marka(id), "Fiat");

    bool otwarte = false;
    przyPokazie([&](QWidget* okno) {
        dm->TPojazdy->Insert();
        dialogi.answer(kal::MbCancel);
        pojazdy->BitBtn1->click();
        otwarte = !okno->isHidden() && dm->TPojazdy->State() == kal::dsInsert;
        dm->TPojazdy->Cancel();
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
    EXPECT_TRUE(otwarte);

    EXPECT_EQ(zamkniete, (std::vector<bool>{true, true, true}));
    ASSERT_EQ(dialogi.boxes().size(), 3u);
    oczekujKomunikatu(dialogi.boxes()[0], "Czy chcesz zmienić dane o pojeździe ?", kKontrolaPojazdow,
                      kal::MsgIcon::Question, kTakNieAnuluj);
    oczekujKomunikatu(dialogi.boxes()[1], "Czy chcesz zmienić dane o pojeździe ?", kKontrolaPojazdow,
                      kal::MsgIcon::Question, kTakNieAnuluj);
    oczekujKomunikatu(dialogi.boxes()[2], "Czy chcesz dopisać nowy pojazd ?", kKontrolaPojazdow,
                      kal::MsgIcon::Question, kTakNieAnuluj);
    EXPECT_EQ(dm->TPojazdy->RecordCount(), 1);
}

TEST_F(Okna, ASaveRefusedByARuleShowsItsMessageAndKeepsTheWindowOpen)
{
    bool otwarte = false;
    przyPokazie([&](QWidget* okno) {
        dm->TPojazdy->Insert();
        dm->TPojazdyMarka->setAsString(QStringLiteral("Audi"));
        dialogi.answer(kal::MbYes);
        pojazdy->BitBtn1->click();
        otwarte = !okno->isHidden() && dm->TPojazdy->State() == kal::dsInsert;
        dialogi.answer(kal::MbNo);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_TRUE(otwarte);
    EXPECT_EQ(zamkniete, std::vector<bool>{true});
    ASSERT_EQ(dialogi.boxes().size(), 3u);
    oczekujKomunikatu(dialogi.boxes()[0], "Czy chcesz dopisać nowy pojazd ?", kKontrolaPojazdow,
                      kal::MsgIcon::Question, kTakNieAnuluj);
    EXPECT_EQ(dialogi.boxes()[1].kind, DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[1].text, "Numer rejestracyjny pojazdu musi być wprowadzony !!!");
    EXPECT_EQ(dialogi.boxes()[2].text, "Czy chcesz dopisać nowy pojazd ?");
    EXPECT_TRUE(dm->TPojazdy->IsEmpty());
}

TEST_F(Okna, EachRegisterAsksWithItsOwnTexts)
{
    struct Przypadek {
        TOknoRejestru* okno;
        std::function<void()> pokaz;
        kal::TTable* tabela;
        QString dopisanie;
        QString naglowek;
    };
    const int id = pojazd(QStringLiteral("WA 11111"), QStringLiteral("Audi"));
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), id));
    const Przypadek przypadki[] = {
        {zuzycie.get(), [&] { zuzycie->Pokaz(); }, dm->TZuzycie, "Czy chcesz dopisać nowe zużycie paliwa ?",
         "Kontrola wprowadzania zużycia paliw."},
        {miejscaUz.get(), [&] { miejscaUz->Pokaz(0); }, dm->TMiejsceUz,
         "Czy chcesz dopisać nowe miejsce użytkowania ?", "Kontrola wprowadzania miejsc użytkowania."},
        {miejscaTank.get(), [&] { miejscaTank->Pokaz(0); }, dm->TMiejscTank,
         "Czy chcesz dopisać nowe miejsce tankowania ?", "Kontrola wprowadzania miejsc tankowania."},
        {przebieg.get(), [&] { przebieg->Pokaz(); }, dm->TPrzebieg, "Czy chcesz dopisać nowy przebieg samochodu ?",
         "Kontrola wprowadzania przebiegu samochodu."},
        {naprawy.get(), [&] { naprawy->Pokaz(); }, dm->TPrzegl, "Czy chcesz dopisać nową naprawę/przegląd ?",
         "Kontrola wprowadzania napraw i przeglądów."},
        {kotly.get(), [&] { kotly->Pokaz(0); }, dm->TKotly, "Czy chcesz dopisać nowy kocioł ?",
         "Kontrola wprowadzania kotłów."},
        {gminy.get(), [&] { gminy->Pokaz(0); }, dm->TGminy, "Czy chcesz dopisać nowa gminę ?",
         "Kontrola wprowadzania gmin."},
        {substancje.get(), [&] { substancje->Pokaz(0); }, dm->TSubsatncje, "Czy chcesz dopisać nową substancję ?",
         "Kontrola wprowadzania substancji."},
        {zrodla.get(), [&] { zrodla->Pokaz(0); }, dm->TZrodla, "Czy chcesz dopisać nowe żródło ?",
         "Kontrola wprowadzania źródel powstania substancji wprowadzanych dośrodowiska."},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.okno->objectName().toStdString());
        dialogi.clear();
        przyPokazie([&](QWidget*) {
            p.tabela->Insert();
            dialogi.answer(kal::MbNo);
            p.okno->ZamknijZWynikiem(TOknoRejestru::mrCancel);
        });
        p.pokaz();
        ASSERT_EQ(dialogi.boxes().size(), 1u);
        oczekujKomunikatu(dialogi.boxes()[0], p.dopisanie, p.naglowek, kal::MsgIcon::Question, kTakNieAnuluj);
        EXPECT_EQ(p.tabela->State(), kal::dsBrowse);
        EXPECT_TRUE(zamkniete.back());
    }
}

// ------------------------------------------------------------------ search

class Szukanie : public Okna {
protected:
    void SetUp() override
    {
        Okna::SetUp();
        pojazd(QStringLiteral("WA 12345"), QStringLiteral("Audi"));
        pojazd(QStringLiteral("KR5X678"), QStringLiteral("Fiat"));
        pojazd(QStringLiteral("GD 0001"), QStringLiteral("Skoda"));
        dm->TPojazdy->First();
        dialogi.clear();
    }

    QString szukaj(const QString& tekst)
    {
        pojazdy->Edit1->setText(tekst);
        pojazdy->BitBtn3->click();
        return dm->TPojazdyNrRejestracyjny->AsString();
    }
};

TEST_F(Szukanie, FindsANumberTypedInLowerCaseWithBlanksAndInTheMiddle)
{
    EXPECT_EQ(szukaj(QStringLiteral("kr 5x")), "KR5X678");
    EXPECT_EQ(szukaj(QStringLiteral("2345")), "WA 12345");
    EXPECT_EQ(szukaj(QStringLiteral(" 0 0 0 1")), "GD 0001");
    EXPECT_TRUE(dialogi.boxes().empty());
}

TEST_F(Szukanie, OfSeveralMatchesTheFirstInTheRegistersOrderWins)
{
    // Order is kind, make, registration number: the kind 3 car comes after the others.
    pojazd(QStringLiteral("WA 1234"), QStringLiteral("Citroen"), QStringLiteral("3"));
    pojazd(QStringLiteral("WA 1239"), QStringLiteral("BMW"));
    EXPECT_EQ(szukaj(QStringLiteral("wa123")), "WA 12345");
    EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Audi");
}

TEST_F(Szukanie, ANumberThatIsNotThereIsReportedAndLeavesTheLastVehicle)
{
    EXPECT_EQ(szukaj(QStringLiteral("PO")), "GD 0001");
    EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Skoda");
    dm->TPojazdy->First();
    szukaj(QString());
    EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Skoda");
    ASSERT_EQ(dialogi.boxes().size(), 2u);
    for (const DialogCall& c : dialogi.boxes())
        oczekujKomunikatu(c, "Brak numeru rejestracyjnego !!!", kKontrolaPojazdow);
}

TEST_F(Szukanie, TheSearchIsOffWhileAVehicleIsBeingChanged)
{
    dm->TPojazdy->Edit();
    EXPECT_FALSE(pojazdy->Edit1->isEnabled());
    EXPECT_FALSE(pojazdy->BitBtn3->isEnabled());
    dm->TPojazdy->Cancel();
    EXPECT_TRUE(pojazdy->Edit1->isEnabled());
    EXPECT_TRUE(pojazdy->BitBtn3->isEnabled());
}

TEST_F(Szukanie, TheFuelWindowSearchesTheFuelRecordsByTheirVehiclesNumber)
{
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("NrRejestracyjny"), QStringLiteral("KR5X678")));
    const int fiat = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("NrRejestracyjny"), QStringLiteral("GD 0001")));
    const int skoda = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    tankowanie(fiat, 3);
    tankowanie(skoda, 4);
    dm->TZuzycie->First();
    zuzycie->Edit1->setText(QStringLiteral("gd00"));
    zuzycie->BitBtn3->click();
    EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), skoda);
    zuzycie->Edit1->setText(QStringLiteral("XX"));
    zuzycie->BitBtn3->click();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], "Brak numeru rejestracyjnego !!!", kKontrolaPojazdow);
}

// ------------------------------------------------------------------ fuel-use window

TEST_F(Okna, FuelWindowCreatesTheFileOfANewHalfYearAndShowsItEmpty)
{
    dm->TOkres->Insert();
    dm->TOkresRok->setAsInteger(2009);
    dm->TOkresPolrocze->setAsInteger(2);
    dm->TOkres->Post();
    ASSERT_FALSE(QFileInfo::exists(QStringLiteral("Zuz20092.db")));
    QString tytul;
    bool powiazana = false;
    int wiersze = -1;
    przyPokazie([&](QWidget*) {
        tytul = zuzycie->windowTitle();
        powiazana = zuzycie->DBGrid1->DataSource() == dm->DZuzycie;
        wiersze = dm->TZuzycie->RecordCount();
        zuzycie->BitBtn1->click();
    });
    EXPECT_EQ(zuzycie->Pokaz(), TOknoRejestru::mrCancel);

    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("Zuz20092.db")));
    EXPECT_EQ(tytul, "Zużycie paliwa za półrocze: 2 2009 roku.");
    EXPECT_TRUE(powiazana);
    EXPECT_EQ(wiersze, 0);
    EXPECT_EQ(zuzycie->DBGrid1->DataSource(), nullptr);
    EXPECT_TRUE(dialogi.boxes().empty());
}

TEST_F(Okna, FuelWindowWhoseHalfYearFileCannotBeOpenedSaysSoAndDoesNotShow)
{
    QFile zepsuty(QStringLiteral("Zuz20091.db"));
    ASSERT_TRUE(zepsuty.open(QIODevice::WriteOnly));
    zepsuty.write(QByteArray("SQLite format 3", 16) + QByteArray(4080, 'x'));
    zepsuty.close();

    EXPECT_EQ(zuzycie->Pokaz(), -1);
    EXPECT_TRUE(pokazane.empty());
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0],
                      "Bład otwarcia zbioru półrocznego na zużycie paliwa !!!\n"
                      "Zbiór danych Zuz20091.db jest uszkodzony. Odtwórz go z kopii zapasowej.",
                      "Kontrola wprowadzania zużycia paliw.", kal::MsgIcon::None);
}

TEST_F(Okna, FleetImportIsOfferedOnceTheFleetFileHasBeenSeen)
{
    bool widoczny = true;
    auto pokaz = [&] {
        przyPokazie([&](QWidget*) {
            widoczny = !zuzycie->BitBtn2->isHidden();
            zuzycie->BitBtn1->click();
        });
        zuzycie->Pokaz();
    };
    pokaz();
    EXPECT_FALSE(widoczny);
    QFile plik(QStringLiteral("Orlen.xls"));
    ASSERT_TRUE(plik.open(QIODevice::WriteOnly));
    plik.close();
    pokaz();
    EXPECT_TRUE(widoczny);
    ASSERT_TRUE(QFile::remove(QStringLiteral("Orlen.xls")));
    pokaz();
    EXPECT_TRUE(widoczny);
}

// ------------------------------------------------------------------ density window

TEST_F(Okna, ClosingTheDensityWindowSavesTheEditWithoutAskingAndTheNextComputationReadsIt)
{
    // The fee engine reads the densities from this data module.
    TabeleSrodowiska tabele;
    tabele.TTabelaGest = dm->TTabelaGest;
    DaneSrodowiskaTabel dane(tabele);
    UstawDaneSrodowiska(&dane);
    Gestosci().Wyczysc();
    EXPECT_DOUBLE_EQ(Gestosci().Gestosc(IndeksPaliwa(5)), 0.835);
    przyPokazie([&](QWidget*) {
        EXPECT_EQ(gestosci->DBGrid1->DataSource(), dm->DTabelaGest);
        ASSERT_TRUE(dm->TTabelaGest->Locate(QStringLiteral("IdentyfikatorPaliwa"), QStringLiteral("5")));
        dm->TTabelaGest->Edit();
        dm->TTabelaGestGestosc->setAsFloat(0.84);
        gestosci->BitBtn1->click();
    });
    gestosci->Pokaz();

    EXPECT_EQ(zamkniete, std::vector<bool>{true});
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(dm->TTabelaGest->State(), kal::dsBrowse);
    EXPECT_EQ(gestosci->DBGrid1->DataSource(), nullptr);
    EXPECT_FALSE(Gestosci().Wczytane());
    EXPECT_DOUBLE_EQ(Gestosci().Gestosc(IndeksPaliwa(5)), 0.84);
    Gestosci().Wyczysc();
    UstawDaneSrodowiska(nullptr);
}

TEST_F(Okna, AZeroDensityIsRefusedOnCloseAndTheWindowStaysOpen)
{
    bool otwarte = false;
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(dm->TTabelaGest->Locate(QStringLiteral("IdentyfikatorPaliwa"), QStringLiteral("1")));
        dm->TTabelaGest->Edit();
        dm->TTabelaGestGestosc->setAsFloat(0.0);
        gestosci->BitBtn1->click();
        otwarte = !okno->isHidden();
        dm->TTabelaGest->Cancel();
        gestosci->BitBtn1->click();
    });
    gestosci->Pokaz();

    EXPECT_TRUE(otwarte);
    EXPECT_EQ(zamkniete, std::vector<bool>{true});
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, "Gęstość paliwa jest wielokością większą od zera !!!");
    Gestosci().Wyczysc();
}

// ------------------------------------------------------------------ company window

class BezFirmy : public Rejestry {};

TEST_F(BezFirmy, ACompanyCanBeEnteredWhenThereIsNone)
{
    ASSERT_TRUE(dm->TFirma->IsEmpty());
    bool dopisywana = false;
    przyPokazie([&](QWidget*) {
        dopisywana = dm->TFirma->State() == kal::dsInsert;
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon"));
        dm->TFirmaNIP->setAsString(QStringLiteral("123-456-78-90"));
        firma->BitBtn1->click();
    });
    EXPECT_EQ(firma->Pokaz(0), TOknoRejestru::mrOk);

    EXPECT_TRUE(dopisywana);
    EXPECT_EQ(zamkniete, std::vector<bool>{true});
    EXPECT_EQ(firma->windowTitle(), "Wprowadzanie danych firmy.");
    EXPECT_EQ(dm->TFirma->State(), kal::dsBrowse);
    ASSERT_EQ(dm->TFirma->RecordCount(), 1);
    EXPECT_EQ(dm->TFirmaNazwa1->AsString(), "Ruvelkon");
    EXPECT_EQ(dm->TFirmaNIP->AsString(), "123-456-78-90");
}

TEST_F(Okna, ACompanyChangeLeftUnsavedIsDroppedWhenTheWindowCloses)
{
    przyPokazie([&](QWidget*) {
        dm->TFirma->Edit();
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Inna nazwa"));
        firma->BitBtn2->click();
    });
    EXPECT_EQ(firma->Pokaz(0), TOknoRejestru::mrCancel);
    EXPECT_EQ(dm->TFirma->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TFirmaNazwa1->AsString(), "Ruvelkon sp. z o.o.");
    EXPECT_TRUE(dialogi.boxes().empty());
}

// ------------------------------------------------------------------ mileage and repairs

TEST_F(Okna, RepairsOfANewVehicleAreSavedWithItsId)
{
    int idRepairs = -1;
    int idPojazdu = 0;
    przyPokazie([&](QWidget*) {
        dm->TPojazdy->Insert();
        dm->TPojazdyMarka->setAsString(QStringLiteral("Volvo"));
        dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("PO 44444"));
        pojazdy->BitBtn5->click();
        pojazdy->BitBtn1->click();
    });
    przyPokazie([&](QWidget* okno) {
        EXPECT_EQ(okno, naprawy.get());
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        idPojazdu = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
        EXPECT_EQ(naprawy->windowTitle(),
                  "Naprawy i przeglady samochodu: PO 44444 Volvo 1 -samochód osobowy z katalizatorem");
        EXPECT_EQ(naprawy->DBGrid1->DataSource(), dm->DPrzegl);
        dm->TPrzegl->Insert();
        dm->TPrzeglData->setAsDateTime(QDate(2009, 4, 1));
        dm->TPrzeglWartosc->setAsFloat(12.345);
        dm->TPrzegl->Post();
        idRepairs = dm->TPrzeglIdentyfikatorPojazdu->AsInteger();
        naprawy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_EQ(zamkniete, (std::vector<bool>{true, true}));
    EXPECT_NE(idPojazdu, 0);
    EXPECT_EQ(idRepairs, idPojazdu);
    EXPECT_EQ(naprawy->DBGrid1->DataSource(), nullptr);
    EXPECT_TRUE(dialogi.boxes().empty());
}

TEST_F(Okna, MileageAndRepairsDoNotOpenWithoutAVehicle)
{
    przyPokazie([&](QWidget*) {
        pojazdy->BitBtn5->click();
        pojazdy->BitBtn4->click();
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_EQ(pokazane.size(), 1u);
    ASSERT_EQ(dialogi.boxes().size(), 2u);
    for (const DialogCall& c : dialogi.boxes())
        oczekujKomunikatu(c, "Najpierw wprowadź i zapisz dane pojazdu !!!", kKontrolaPojazdow);
}

TEST_F(Okna, MileageOfAChangedVehicleOpensAfterTheChangeIsSavedWithTheVehicleInItsCaption)
{
    const int id = pojazd(QStringLiteral("WA 11111"), QStringLiteral("Audi"), QStringLiteral("2"));
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), id));
    QString tytul;
    przyPokazie([&](QWidget*) {
        dm->TPojazdy->Edit();
        dm->TPojazdyMarka->setAsString(QStringLiteral("Audi A4"));
        pojazdy->BitBtn4->click();
        pojazdy->BitBtn1->click();
    });
    przyPokazie([&](QWidget*) {
        tytul = przebieg->windowTitle();
        EXPECT_EQ(przebieg->DBGrid1->DataSource(), dm->DPrzebieg);
        przebieg->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_EQ(tytul, "Przebieg pojazdu: WA 11111 Audi A4 2 -samochód osobowy bez katalizatora");
    EXPECT_EQ(marka(id), "Audi A4");
    // The mileage grid stays bound after its window closes.
    EXPECT_EQ(przebieg->DBGrid1->DataSource(), dm->DPrzebieg);
    EXPECT_TRUE(dialogi.boxes().empty());
}

TEST_F(Okna, EnterInTheVehicleRegisterMovesToTheNextControl)
{
    pojazd(QStringLiteral("WA 11111"), QStringLiteral("Audi"));
    QWidget* poEnter = nullptr;
    przyPokazie([&](QWidget* okno) {
        okno->activateWindow();
        pojazdy->DBComboBox1->setFocus();
        klawisz(pojazdy->DBComboBox1, Qt::Key_Return);
        poEnter = okno->focusWidget();
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);
    EXPECT_EQ(poEnter, pojazdy->DBEdit1);
}

} // namespace
} // namespace rejestr_test
