// The fee engine on real table files through the dataset engine.

#include "DaneSrodowiskaTabel.h"
#include "FunkcjeSrodowiska.h"
#include "ScriptedDialogs.h"
#include "Table.h"
#include "TestDir.h"

#include <gtest/gtest.h>

#include <memory>

using kal::TTable;

namespace {

std::unique_ptr<TTable> Utworz(const QString& nazwa, const QString& plik,
                               const std::vector<std::tuple<QString, kal::TFieldType, int>>& pola,
                               const QString& indeks)
{
    auto t = std::make_unique<TTable>(nazwa);
    t->setTableName(plik);
    for (const auto& [pole, typ, rozmiar] : pola)
        t->FieldDefs().Add(pole, typ, rozmiar);
    if (!indeks.isEmpty())
        t->IndexDefs().Add(QString(), indeks, kal::ixPrimary | kal::ixUnique);
    t->CreateTable();
    if (!indeks.isEmpty())
        t->setIndexFieldNames(indeks);
    t->Open();
    return t;
}

template <size_t N>
std::vector<std::tuple<QString, kal::TFieldType, int>> PolaWartosci(const std::array<QString, N>& nazwy)
{
    std::vector<std::tuple<QString, kal::TFieldType, int>> p{{QStringLiteral("IdentyfikatorOkresu"), kal::ftInteger, 0}};
    for (const QString& n : nazwy)
        p.emplace_back(n, kal::ftFloat, 0);
    return p;
}

struct Pliki : ::testing::Test {
    kal::test::TestDir katalog;
    kal::test::ScriptedDialogs dialogs;
    std::unique_ptr<TTable> gest, pojazdy, zuzycie, tabD, stawkiD, tabC, stawkiC;
    std::unique_ptr<DaneSrodowiskaTabel> dane;
    GestosciPaliw gestosci;
    std::unique_ptr<ZuzyciePaliwaDlaPolrocza> zuz;

    void SetUp() override
    {
        gest = Utworz("TTabelaGest", "TabGest.db",
                      {{"IdentyfikatorPaliwa", kal::ftString, 1}, {"NazwaPaliwa", kal::ftString, 60},
                       {"Gestosc", kal::ftFloat, 0}},
                      "IdentyfikatorPaliwa");
        pojazdy = Utworz("TPojazdy", "Pojazdy.db",
                         {{"RodzajPojazdu", kal::ftString, 2}, {"Marka", kal::ftString, 35},
                          {"IdentyfikatorPojazdu", kal::ftAutoInc, 0},
                          {"DataPierwszejRejestracji", kal::ftDate, 0}, {"RokProdukcji", kal::ftSmallint, 0},
                          {"NormaEuro", kal::ftString, 1}, {"FabrycznaInstalacjaGazu", kal::ftString, 1}},
                         "RodzajPojazdu;Marka;IdentyfikatorPojazdu");
        zuzycie = Utworz("TZuzycie", "Zuz20091.db",
                         {{"IdentyfikatorFirmy", kal::ftInteger, 0}, {"IdentyfikatorPojazdu", kal::ftInteger, 0},
                          {"DataTankowania", kal::ftDate, 0}, {"Identyfikator", kal::ftAutoInc, 0},
                          {"IloscPaliwa", kal::ftFloat, 0}, {"RodzajPaliwa", kal::ftString, 1}},
                         "IdentyfikatorFirmy;IdentyfikatorPojazdu;DataTankowania;Identyfikator");
        tabD = Utworz("TTabelaD", "TabelaD2009.DB", PolaWartosci(PolaTabeliD()), "IdentyfikatorOkresu");
        stawkiD = Utworz("TStawkiTabD", "StawkiTabD2009.DB", PolaWartosci(PolaTabeliD()), "IdentyfikatorOkresu");
        tabC = Utworz("TTabelaC", "TabelaC.DB", PolaWartosci(PolaTabeliC()), "IdentyfikatorOkresu");
        stawkiC = Utworz("TStawkiTabC", "StawkiTabC.db", PolaWartosci(PolaTabeliC()), "IdentyfikatorOkresu");

        TabeleSrodowiska t;
        t.TTabelaGest = gest.get();
        t.TZuzycie = zuzycie.get();
        t.TPojazdy = pojazdy.get();
        t.TTabelaC = tabC.get();
        t.TStawkiTabC = stawkiC.get();
        t.TTabelaD = tabD.get();
        t.TStawkiTabD = stawkiD.get();
        t.UstawZbiorZuzycia = [] { return true; };
        dane = std::make_unique<DaneSrodowiskaTabel>(t);
        UstawDaneSrodowiska(dane.get());
        zuz = std::make_unique<ZuzyciePaliwaDlaPolrocza>(&gestosci);
    }
    void TearDown() override { UstawDaneSrodowiska(nullptr); }

    void Gestosc(const char* kod, double g)
    {
        gest->Append();
        gest->FieldByName("IdentyfikatorPaliwa")->setAsString(QString::fromLatin1(kod));
        gest->FieldByName("Gestosc")->setAsFloat(g);
        gest->Post();
    }
    int Pojazd(const char* rodzaj, const char* marka, QDate rej, const char* euro, const char* gaz)
    {
        pojazdy->Append();
        pojazdy->FieldByName("RodzajPojazdu")->setAsString(QString::fromLatin1(rodzaj));
        pojazdy->FieldByName("Marka")->setAsString(QString::fromLatin1(marka));
        if (rej.isValid())
            pojazdy->FieldByName("DataPierwszejRejestracji")->setAsDateTime(rej);
        if (*euro)
            pojazdy->FieldByName("NormaEuro")->setAsString(QString::fromLatin1(euro));
        pojazdy->FieldByName("FabrycznaInstalacjaGazu")->setAsString(QString::fromLatin1(gaz));
        pojazdy->Post();
        return pojazdy->FieldByName("IdentyfikatorPojazdu")->AsInteger();
    }
    void Zapis(int pojazd, const char* paliwo, double litry)
    {
        zuzycie->Append();
        zuzycie->FieldByName("IdentyfikatorFirmy")->setAsInteger(1);
        zuzycie->FieldByName("IdentyfikatorPojazdu")->setAsInteger(pojazd);
        zuzycie->FieldByName("DataTankowania")->setAsDateTime(QDate(2009, 3, 1));
        zuzycie->FieldByName("RodzajPaliwa")->setAsString(QString::fromLatin1(paliwo));
        zuzycie->FieldByName("IloscPaliwa")->setAsFloat(litry);
        zuzycie->Post();
    }
    static void Wiersz(TTable& t, double wartosc)
    {
        t.Append();
        t.FieldByName("IdentyfikatorOkresu")->setAsInteger(7);
        for (int i = 1; i < t.FieldCount(); ++i)
            t.Fields(i)->setAsFloat(wartosc);
        t.Post();
    }
};

} // namespace

TEST_F(Pliki, TableDRowIsOverwrittenAndLeftInEdit)
{
    Gestosc("5", 0.84);
    Gestosc("1", 0.75);
    const int osobowy = Pojazd("1", "Fiat", QDate(2006, 5, 1), "", "N");          // row 5
    const int ciezarowy = Pojazd("7", "Star", QDate(1990, 1, 1), "", "N");        // row 13
    const int maszyna = Pojazd("10", "Koparka", QDate(), "3", "N");               // row 27
    Zapis(osobowy, "5", 1000.0);   // 840 kg
    Zapis(osobowy, "5", 500.0);    // + 420 kg = 1260 kg
    Zapis(ciezarowy, "1", 100.0);  // 75 kg into 13a
    Zapis(maszyna, "5", 12.5);     // 10.5 kg into 27a
    Zapis(9999, "5", 100.0);       // no such vehicle
    Wiersz(*tabD, 9.0);
    pojazdy->First();
    pojazdy->Next();
    const int stoi = pojazdy->FieldByName("IdentyfikatorPojazdu")->AsInteger();

    zuz->WypelnijTabeleD();

    EXPECT_EQ(tabD->State(), kal::dsEdit);
    EXPECT_DOUBLE_EQ(tabD->FieldByName("5e")->AsFloat(), 1.26);
    EXPECT_DOUBLE_EQ(tabD->FieldByName("13a")->AsFloat(), 0.08);
    EXPECT_DOUBLE_EQ(tabD->FieldByName("27a")->AsFloat(), 0.01);
    EXPECT_EQ(tabD->FieldByName("1a")->AsFloat(), 0.0);
    EXPECT_EQ(tabD->FieldByName("32d")->AsFloat(), 0.0);
    EXPECT_EQ(tabD->FieldByName("Rezerwa5")->AsFloat(), 0.0);
    EXPECT_EQ(pojazdy->FieldByName("IdentyfikatorPojazdu")->AsInteger(), stoi);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("Liczba pominiętych zapisów zużycia paliwa: 1.")));

    tabD->Post();
    tabD->Close();
    tabD->Open();
    EXPECT_EQ(tabD->FieldByName("5e")->AsString(), QStringLiteral("1,26"));
    EXPECT_EQ(tabD->FieldByName("Rezerwa1")->AsString(), QStringLiteral("0"));
}

TEST_F(Pliki, FeesFollowAnUnpostedEdit)
{
    Wiersz(*tabD, 0.0);
    Wiersz(*stawkiD, 0.0);
    stawkiD->Edit();
    stawkiD->FieldByName("8b")->setAsFloat(350.25);
    stawkiD->FieldByName("8c")->Clear();
    stawkiD->Post();
    tabD->Edit();
    tabD->FieldByName("8b")->setAsFloat(2.0);
    tabD->FieldByName("8c")->setAsFloat(5.0);
    OplatyTabelaD o(true);
    EXPECT_EQ(o.teksty[static_cast<size_t>(IndeksKomorkiTabeliD("8b"))], QStringLiteral("700,50"));
    EXPECT_EQ(o.teksty[static_cast<size_t>(IndeksKomorkiTabeliD("8c"))], QStringLiteral("0,00"));
    EXPECT_EQ(o.RazemTekst(), QStringLiteral("700,50"));
}

TEST_F(Pliki, DensitiesComeFromTheTable)
{
    Gestosc("a", 0.88);
    Gestosc("0", 1.0);
    EXPECT_EQ(gestosci.Gestosc(IndeksPaliwa(10)), 0.88);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("Błąd odczytu gęstości paliwa !!!\nKod gęstości:0 numer:-1."));
}
