// The registration-number index over the vehicle register.

#include "ModulTestowy.h"

#include "LookupyIndeksPojazdow.h"

namespace {

struct IndeksRejestracji : testy::ModulTestowy {
    void SetUp() override
    {
        testy::ModulTestowy::SetUp();
        ZwolnijIndeksPojazdow();
        PodlaczIndeksPojazdow(*dm);
    }
    void TearDown() override
    {
        dm->DodajPojazdDoIndeksu = nullptr;
        ZwolnijIndeksPojazdow();
        testy::ModulTestowy::TearDown();
    }
    int Pojazd(const QString& marka, const QString& nr)
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(QStringLiteral("1"));
        dm->TPojazdyMarka->setAsString(marka);
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdyDataPierwszejRejestracji->setAsDateTime(QDate(2006, 5, 1));
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }
};

} // namespace

TEST_F(IndeksRejestracji, AnEmptyRegisterFindsNothing)
{
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("PO 1")), -2);
    EXPECT_TRUE(IndeksPojazdow().Wczytany());
}

TEST_F(IndeksRejestracji, CaseAndBlanksDoNotMatterAndTheFirstAddedWins)
{
    const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    const int audi = Pojazd(QStringLiteral("Audi"), QStringLiteral("PO1"));
    const int fiat = Pojazd(QStringLiteral("Fiat"), QStringLiteral("WX 777"));
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), fiat));
    // Loaded in the register's order: Audi, Fiat, Opel.
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral(" po 1 ")), audi);
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("wx777")), fiat);
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("WX 778")), -2);
    EXPECT_NE(opel, audi);
    // The first lookup leaves the register where it stood.
    EXPECT_EQ(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), fiat);
}

TEST_F(IndeksRejestracji, PostsAfterTheFirstLookupKeepTheIndexCurrent)
{
    const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("PO 1")), opel);
    const int fiat = Pojazd(QStringLiteral("Fiat"), QStringLiteral("WX 777"));
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("WX 777")), fiat);

    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), opel));
    dm->TPojazdy->Edit();
    dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("PO 2"));
    dm->TPojazdy->Post();
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("PO 1")), -2);
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("PO 2")), opel);
}

TEST_F(IndeksRejestracji, PostsBeforeTheFirstLookupAddNothingButTheLoadFindsThem)
{
    const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    EXPECT_EQ(IndeksPojazdow().Pierwszy(), nullptr);
    EXPECT_EQ(IndeksPojazdow().ZnajdzIdentyfikator(QStringLiteral("PO 1")), opel);
}

TEST(LancuchPojazdow, ALongChainIsFreedWithoutRecursion)
{
    auto p = std::make_unique<Pojazd>();
    Pojazd* w = p.get();
    for (int i = 0; i < 500000; ++i) {
        w->Identyfikator = i;
        w->Nastepny = std::make_unique<Pojazd>();
        w = w->Nastepny.get();
    }
    EXPECT_EQ(p->ZnajdzIdentyfikator(QStringLiteral("X")), -2);
    p.reset();
    SUCCEED();
}
