// The registration-number index on the real vehicle register.

#include "ModulTestowy.h"

#include "IndeksPojazdow.h"

namespace {

using IndeksPojazdowTest = ModulTestowy;

TEST_F(IndeksPojazdowTest, EmptyRegisterFindsNothing)
{
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("WX 12345")), -2);
    EXPECT_TRUE(IndeksPojazdow().Wczytany());
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QString()), -2);
    EXPECT_TRUE(dm->TPojazdy->IsEmpty());
}

TEST_F(IndeksPojazdowTest, NumberMatchesWhateverTheCaseAndBlanks)
{
    const int fiat = Pojazd("1", QStringLiteral("WX 12345"));
    const int star = Pojazd("8", QStringLiteral("łdz 4ę1"), "Star");
    Pojazdy& indeks = IndeksPojazdow();
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QStringLiteral("WX 12345")), fiat);
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QStringLiteral("wx12345")), fiat);
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QStringLiteral("  W X 1 2 3 4 5\t")), fiat);
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QStringLiteral("ŁDZ4Ę1")), star);
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QStringLiteral("WX 1234")), -2);
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QStringLiteral("WX 123456")), -2);
    // A transaction without a number names no vehicle.
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QString()), -2);
    EXPECT_EQ(indeks.ZnajdzIdentyfikator(QStringLiteral("   ")), -2);
    EXPECT_EQ(indeks.Liczba(), 2);
}

TEST_F(IndeksPojazdowTest, EqualNumbersGiveTheVehicleAddedFirst)
{
    // The load reads the register in its order (kind, make, number): the
    // kind "1" vehicle comes before the kind "8" one although it was saved
    // later.
    const int ciezarowy = Pojazd("8", QStringLiteral("KR 1A"), "Star");
    const int osobowy = Pojazd("1", QStringLiteral("kr1a"), "Opel");
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("KR1A")), osobowy);
    // Saved after the load: added at the end, so it does not win either.
    Pojazd("1", QStringLiteral("K R 1 A"), "Audi");
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("KR1A")), osobowy);
    EXPECT_NE(ciezarowy, osobowy);
}

TEST_F(IndeksPojazdowTest, SavedVehiclesKeepTheIndexCurrent)
{
    const int pierwszy = Pojazd("1", QStringLiteral("WE 100"));
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("WE 200")), -2);

    const int drugi = Pojazd("1", QStringLiteral("WE 200"));
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("WE 200")), drugi);

    // A changed number replaces the old one.
    NaPojezdzie(pierwszy);
    dm->TPojazdy->Edit();
    dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("WE 999"));
    dm->TPojazdy->Post();
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("WE 100")), -2);
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("we999")), pierwszy);
    EXPECT_EQ(IndeksPojazdow().Liczba(), 2);
}

TEST_F(IndeksPojazdowTest, VehiclesSavedBeforeTheFirstLookupAreReadByTheLoad)
{
    // A data module the engine has not met yet: its saves reach no index
    // until the first lookup connects the engine, and the load reads them.
    ZwolnijFunkcjeSrodowiska();
    const int a = Pojazd("1", QStringLiteral("PO 1"));
    EXPECT_FALSE(IndeksPojazdow().Wczytany());
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("PO1")), a);
    const int b = Pojazd("1", QStringLiteral("PO 2"));
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("PO2")), b);
}

TEST_F(IndeksPojazdowTest, FirstLookupLeavesTheRegisterWhereItStood)
{
    Pojazd("1", QStringLiteral("GD 1"), "Audi");
    const int srodkowy = Pojazd("1", QStringLiteral("GD 2"), "Opel");
    Pojazd("8", QStringLiteral("GD 3"), "Star");
    NaPojezdzie(srodkowy);
    const int pozycja = dm->TPojazdy->RecNo();

    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("GD 3")) > 0, true);
    EXPECT_EQ(dm->TPojazdy->RecNo(), pozycja);
    EXPECT_EQ(dm->TPojazdyNrRejestracyjny->AsString(), QStringLiteral("GD 2"));
    EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
}

TEST_F(IndeksPojazdowTest, FirstLookupDuringAnEditKeepsTheEditUnsaved)
{
    const int id = Pojazd("1", QStringLiteral("GD 10"));
    dm->TPojazdy->Edit();
    dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("GD 11"));

    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("GD 10")), id);
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("GD 11")), -2);
    EXPECT_EQ(dm->TPojazdy->State(), kal::dsEdit);
    EXPECT_EQ(dm->TPojazdyNrRejestracyjny->AsString(), QStringLiteral("GD 11"));

    // Saving it moves the vehicle to its new number.
    dm->TPojazdy->Post();
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("GD 11")), id);
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("GD 10")), -2);
}

TEST_F(IndeksPojazdowTest, NewDataModuleStartsWithAnEmptyIndex)
{
    Pojazd("1", QStringLiteral("EL 5"));
    EXPECT_GT(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("EL 5")), 0);

    dm.reset();
    kal::test::TestDir inny;
    ASSERT_EQ(Schemat::UtworzKatalogDanych(inny.path()), QString());
    dm = std::make_unique<TDM>();
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("EL 5")), -2);
    const int nowy = Pojazd("1", QStringLiteral("EL 6"));
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("EL6")), nowy);
    dm.reset();
}

TEST(IndeksPojazdowPamiec, LongChainIsFreedWithoutRunningOutOfStack)
{
    auto indeks = std::make_unique<Pojazdy>();
    for (int i = 1; i <= 300000; ++i)
        indeks->Dodaj(i, QString::number(i));
    EXPECT_EQ(indeks->Liczba(), 300000);
    indeks->Dodaj(7, QStringLiteral("X"));
    EXPECT_EQ(indeks->Liczba(), 300000);
    indeks.reset();
    SUCCEED();
}

} // namespace
