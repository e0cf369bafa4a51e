// The fee engine inside the real data module, on a data directory made by the
// new-data-directory routine.

#include "DataDir.h"
#include "FunkcjeSrodowiska.h"

#include "Exceptions.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

class ModulDanych : public kal::test::DataDir {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DataDir::SetUp());
        if (inicjalizuj)
            InicjalizujFunkcjeSrodowiska();
        UstawOdswiezanieTabeliD([this] { ++odswiezeniaD; });
        UstawOdswiezanieTabeliC([this] { ++odswiezeniaC; });
        firmaIOkres();
        ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
    }
    void TearDown() override
    {
        UstawOdswiezanieTabeliD({});
        UstawOdswiezanieTabeliC({});
        ZwolnijFunkcjeSrodowiska();
        DataDir::TearDown();
    }

    // A fuel record of the first quarter.
    void Tankowanie(int pojazd, const char* paliwo, double litry)
    {
        tankowanie(pojazd, QString::fromLatin1(paliwo), QDate(2009, 3, 2), litry);
    }
    double D(const char* pole) const { return dm->TTabelaD->FieldByName(QString::fromLatin1(pole))->AsFloat(); }
    QString TekstD(const char* pole) const
    {
        return OplatyD().teksty[static_cast<size_t>(IndeksKomorkiTabeliD(QString::fromLatin1(pole)))];
    }

    bool inicjalizuj = true;
    int odswiezeniaD = 0;
    int odswiezeniaC = 0;
};

} // namespace

TEST_F(ModulDanych, ComputeFromFuelUseAndRecomputeFees)
{
    const int osobowy = pojazd(QStringLiteral("WX 12345"), QStringLiteral("1"), QDate(2006, 5, 1)); // row 5
    const int bus = pojazd(QStringLiteral("WX 777"), QStringLiteral("8"), QDate(1993, 9, 30));      // row 14
    Tankowanie(osobowy, "5", 400.0);
    Tankowanie(osobowy, "5", 600.0); // 1000 l x 0.835 = 835 kg
    Tankowanie(bus, "a", 250.0);     // 250 l x 0.88 = 220 kg
    Tankowanie(bus, "1", 100.0);     // petrol in row 14: not counted
    EXPECT_EQ(KodPaliwaZuzycia(), 1);
    ASSERT_TRUE(QFile::exists(QStringLiteral("Zuz20091.db")));
    dm->TTabelaD->Edit();
    dm->TTabelaD->FieldByName(QStringLiteral("Rezerwa3"))->setAsFloat(5.0);
    dm->TTabelaD->Post();

    ZuzyciePaliwa().WypelnijTabeleD();

    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(dm->TTabelaD->State(), kal::dsEdit);
    EXPECT_DOUBLE_EQ(D("5e"), 0.84); // 0.835 Mg, half away from zero
    EXPECT_DOUBLE_EQ(D("14b"), 0.22);
    EXPECT_EQ(D("5"), 0.0);
    EXPECT_EQ(D("Rezerwa3"), 0.0);

    // The table D window is open: typed rates recompute its fees at once.
    dm->TTabelaD->setTag(1);
    dm->TStawkiTabD->Edit();
    dm->TStawkiTabD->FieldByName(QStringLiteral("5e"))->setText(QStringLiteral("100,5"));
    EXPECT_EQ(TekstD("5e"), QStringLiteral("84,42"));
    EXPECT_EQ(odswiezeniaD, 1);
    dm->TStawkiTabD->FieldByName(QStringLiteral("14b"))->setText(QStringLiteral("-3"));
    EXPECT_EQ(dm->TStawkiTabD->FieldByName(QStringLiteral("14b"))->AsFloat(), 0.0);
    EXPECT_EQ(TekstD("14b"), QStringLiteral("0,00"));
    dm->TTabelaD->FieldByName(QStringLiteral("14b"))->setText(QStringLiteral("1 000,5"));
    dm->TStawkiTabD->FieldByName(QStringLiteral("14b"))->setText(QStringLiteral("2"));
    EXPECT_EQ(TekstD("14b"), QStringLiteral("2 001,00"));
    EXPECT_EQ(OplatyD().RazemTekst(), QStringLiteral("2 085,42"));
    EXPECT_EQ(odswiezeniaD, 4);

    // Closed: typing changes nothing in the fee object.
    dm->TTabelaD->setTag(0);
    dm->TTabelaD->FieldByName(QStringLiteral("14b"))->setText(QString());
    EXPECT_EQ(D("14b"), 0.0);
    EXPECT_EQ(TekstD("14b"), QStringLiteral("2 001,00"));
    EXPECT_EQ(odswiezeniaD, 4);
    EXPECT_EQ(odswiezeniaC, 0);

    dm->TTabelaD->Post();
    dm->TTabelaD->Refresh();
    EXPECT_DOUBLE_EQ(D("5e"), 0.84);
}

TEST_F(ModulDanych, TypedTableCValuesRecomputeTableC)
{
    dm->TTabelaC->setTag(1);
    dm->TTabelaC->Edit();
    dm->TTabelaC->FieldByName(QStringLiteral("II1"))->setText(QStringLiteral("2,5"));
    dm->TStawkiTabC->Edit();
    dm->TStawkiTabC->FieldByName(QStringLiteral("II1"))->setText(QStringLiteral("10,01"));
    EXPECT_EQ(OplatyC().teksty.oplaty[6], QStringLiteral("25,03"));
    EXPECT_EQ(OplatyC().teksty.grupy[1], QStringLiteral("25,03"));
    EXPECT_EQ(odswiezeniaC, 2);
    dm->TTabelaC->FieldByName(QStringLiteral("II1"))->setText(QString());
    EXPECT_EQ(dm->TTabelaC->FieldByName(QStringLiteral("II1"))->AsFloat(), 0.0);
    EXPECT_EQ(OplatyC().teksty.oplaty[6], QStringLiteral("0,00"));
    EXPECT_EQ(OplatyC().teksty.razem, QStringLiteral("0,00"));
    EXPECT_EQ(odswiezeniaC, 3);

    // A count: stored, recomputed; beyond the field's range refused, the old
    // count stays and nothing is recomputed.
    kal::TField* lk = dm->TTabelaC->FieldByName(QStringLiteral("LKII1"));
    lk->setText(QStringLiteral("3"));
    EXPECT_EQ(lk->AsInteger(), 3);
    EXPECT_EQ(odswiezeniaC, 4);
    EXPECT_THROW(lk->setText(QStringLiteral("40000")), kal::EConvertError);
    EXPECT_EQ(lk->AsInteger(), 3);
    EXPECT_EQ(odswiezeniaC, 4);
    lk->setText(QStringLiteral("32767"));
    EXPECT_EQ(lk->AsInteger(), 32767);
    EXPECT_EQ(odswiezeniaC, 5);
    EXPECT_THROW(lk->setText(QStringLiteral("32768")), kal::EConvertError);
    EXPECT_EQ(lk->AsInteger(), 32767);
    // Not a whole number: refused as well.
    EXPECT_THROW(lk->setText(QStringLiteral("2,5")), kal::EConvertError);
    EXPECT_THROW(lk->setText(QStringLiteral("abc")), kal::EConvertError);
    EXPECT_EQ(lk->AsInteger(), 32767);
    EXPECT_EQ(odswiezeniaC, 5);
    // A negative count, however large, is a whole number and stores 0.
    lk->setText(QStringLiteral("-40000"));
    EXPECT_EQ(lk->AsInteger(), 0);
    lk->setText(QStringLiteral("7"));
    lk->setText(QStringLiteral("-3"));
    EXPECT_EQ(lk->AsInteger(), 0);
    lk->setText(QStringLiteral("7"));
    lk->setText(QString());
    EXPECT_EQ(lk->AsInteger(), 0);
    EXPECT_EQ(odswiezeniaC, 10);
    EXPECT_EQ(odswiezeniaD, 0);
}

TEST_F(ModulDanych, TypedTableDValuesWhileTheWindowIsOpen)
{
    dm->TTabelaD->setTag(1);
    dm->TTabelaD->Edit();
    dm->TStawkiTabD->Edit();
    kal::TField* ilosc = dm->TTabelaD->FieldByName(QStringLiteral("17c"));
    kal::TField* stawka = dm->TStawkiTabD->FieldByName(QStringLiteral("17c"));
    stawka->setText(QStringLiteral("3"));
    ilosc->setText(QStringLiteral("2,5"));
    EXPECT_DOUBLE_EQ(ilosc->AsFloat(), 2.5);
    EXPECT_EQ(TekstD("17c"), QStringLiteral("7,50"));
    EXPECT_EQ(odswiezeniaD, 2);
    // Minus five and an empty text store 0, and each recomputes; letters
    // are refused, the quantity and its fee stay.
    ilosc->setText(QStringLiteral("-5"));
    EXPECT_EQ(ilosc->AsFloat(), 0.0);
    EXPECT_EQ(TekstD("17c"), QStringLiteral("0,00"));
    ilosc->setText(QStringLiteral("2,5"));
    EXPECT_EQ(TekstD("17c"), QStringLiteral("7,50"));
    EXPECT_THROW(ilosc->setText(QStringLiteral("dwa")), kal::Exception);
    EXPECT_DOUBLE_EQ(ilosc->AsFloat(), 2.5);
    EXPECT_EQ(TekstD("17c"), QStringLiteral("7,50"));
    ilosc->setText(QString());
    EXPECT_EQ(ilosc->AsFloat(), 0.0);
    EXPECT_EQ(OplatyD().RazemTekst(), QStringLiteral("0,00"));
    EXPECT_EQ(odswiezeniaD, 5);
    // The stored value is not rounded.
    ilosc->setText(QStringLiteral("0,005"));
    EXPECT_DOUBLE_EQ(ilosc->AsFloat(), 0.005);
    EXPECT_EQ(TekstD("17c"), QStringLiteral("0,02"));
    EXPECT_EQ(odswiezeniaC, 0);
}

TEST_F(ModulDanych, RecordOfAVehicleMissingFromTheRegister)
{
    const int osobowy = pojazd(QStringLiteral("WX 12345"), QStringLiteral("1"), QDate(2006, 5, 1));
    pojazd(QStringLiteral("WX 999"), QStringLiteral("7"), QDate(1990, 1, 1)); // row 13, last in the register
    Tankowanie(osobowy, "5", 1000.0);
    // A record whose vehicle has gone from the register.
    {
        kal::TTable obcy(QStringLiteral("TObcy"));
        obcy.setTableName(QStringLiteral("Zuz20091.db"));
        obcy.Open();
        obcy.Append();
        obcy.FieldByName(QStringLiteral("IdentyfikatorFirmy"))->setAsInteger(dm->TFirmaIdentyfikator->AsInteger());
        obcy.FieldByName(QStringLiteral("IdentyfikatorPojazdu"))->setAsInteger(4242);
        obcy.FieldByName(QStringLiteral("DataTankowania"))->setAsDateTime(QDate(2009, 2, 1));
        obcy.FieldByName(QStringLiteral("RodzajPaliwa"))->setAsString(QStringLiteral("5"));
        obcy.FieldByName(QStringLiteral("IloscPaliwa"))->setAsFloat(1000.0);
        obcy.Post();
    }
    dm->TPojazdy->First();
    const int stoi = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();

    ZuzyciePaliwa().WypelnijTabeleD();

    EXPECT_DOUBLE_EQ(D("5e"), 0.84);
    EXPECT_EQ(D("13b"), 0.0);
    EXPECT_EQ(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), stoi);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, QStringLiteral("Liczba pominiętych zapisów zużycia paliwa: 1.\n"
                                                      "Pojazdów tych zapisów nie ma w ewidencji pojazdów, "
                                                      "więc ich paliwo nie zostało wliczone do tabeli D !!!"));
}

TEST_F(ModulDanych, EditedDensityCountsOnceTheCacheIsReset)
{
    const int osobowy = pojazd(QStringLiteral("WX 12345"), QStringLiteral("1"), QDate(2006, 5, 1)); // row 5
    Tankowanie(osobowy, "5", 1000.0);
    ZuzyciePaliwa().WypelnijTabeleD();
    EXPECT_DOUBLE_EQ(D("5e"), 0.84); // 0.835 kg/l
    dm->TTabelaD->Post();

    ASSERT_TRUE(dm->TTabelaGest->Locate(QStringLiteral("IdentyfikatorPaliwa"), QStringLiteral("5")));
    dm->TTabelaGest->Edit();
    dm->TTabelaGestGestosc->setAsFloat(0.845);
    dm->TTabelaGest->Post();
    ZuzyciePaliwa().WypelnijTabeleD();
    EXPECT_DOUBLE_EQ(D("5e"), 0.84); // still the cached density

    Gestosci().Wyczysc(); // the density register closes
    ZuzyciePaliwa().WypelnijTabeleD();
    EXPECT_DOUBLE_EQ(D("5e"), 0.85); // 845 kg
}

namespace {

// The program that never calls InicjalizujFunkcjeSrodowiska.
class ModulBezInicjalizacji : public ModulDanych {
protected:
    void SetUp() override
    {
        inicjalizuj = false;
        ModulDanych::SetUp();
    }
};

} // namespace

TEST_F(ModulBezInicjalizacji, OpeningTheWindowConnectsTheEngine)
{
    // As the table D window opens: Tag 1, then a recompute.
    dm->TTabelaD->setTag(1);
    OplatyD().Przelicz();
    EXPECT_EQ(odswiezeniaD, 1);
    dm->TTabelaD->Edit();
    dm->TTabelaD->FieldByName(QStringLiteral("32a"))->setText(QStringLiteral("2"));
    dm->TStawkiTabD->Edit();
    dm->TStawkiTabD->FieldByName(QStringLiteral("32a"))->setText(QStringLiteral("3,5"));
    EXPECT_EQ(TekstD("32a"), QStringLiteral("7,00"));
    EXPECT_EQ(odswiezeniaD, 3);
}
