#include "DaneTestowe.h"
#include "FunkcjeSrodowiska.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const QString kKontrola = QStringLiteral("Kontrola wprowadzania zużycia paliw.");

// The table D values that a test expects: every cell 0 but the ones named.
WartosciTabeliD Oczekiwane(const std::map<QString, double>& niezerowe)
{
    WartosciTabeliD w{};
    for (const auto& [pole, wartosc] : niezerowe) {
        const int i = IndeksKomorkiTabeliD(pole);
        EXPECT_GE(i, 0) << pole.toStdString();
        if (i >= 0)
            w[static_cast<size_t>(i)] = wartosc;
    }
    return w;
}

void PorownajTabele(const WartosciTabeliD& jest, const WartosciTabeliD& ma)
{
    for (int i = 0; i < LiczbaKomorekTabeliD; ++i)
        EXPECT_DOUBLE_EQ(jest[static_cast<size_t>(i)], ma[static_cast<size_t>(i)])
            << "pole " << PolaTabeliD()[static_cast<size_t>(i)].toStdString();
}

// A run of the whole computation on its own density cache and aggregator.
struct Przebieg {
    DaneTestowe dane;
    kal::test::ScriptedDialogs dialogs;
    GestosciPaliw gestosci;
    ZuzyciePaliwaDlaPolrocza zuzycie{&gestosci};

    Przebieg()
    {
        // Densities in kg per litre; 0.5 for the petrols, LPG and diesels
        // keeps the hand arithmetic plain.
        dane.gestosci = {{"1", 0.5}, {"2", 0.5}, {"3", 0.5}, {"4", 0.5}, {"5", 0.5}, {"6", 0.5},
                         {"7", 0.86}, {"8", 0.9}, {"9", 0.95}, {"a", 0.88}, {"b", 0.75}, {"c", 0.8}};
    }
    void Pojazd(int id, const char* rodzaj, const char* euro, QDate rej, const char* gaz = "N",
                std::optional<int> rok = std::nullopt)
    {
        dane.pojazdy[id] = DanePojazdu{QString::fromLatin1(rodzaj), QString::fromLatin1(euro), rej, rok,
                                       QString::fromLatin1(gaz)};
    }
    void Zapis(int id, const char* paliwo, double litry)
    {
        dane.zapisy.push_back(ZapisZuzycia{id, QString::fromLatin1(paliwo), litry});
    }
};

} // namespace

TEST(TabelaD, EmptyHalfYearWritesZeroEverywhere)
{
    Przebieg p;
    WartosciTabeliD stare;
    stare.fill(7.0);
    p.dane.tabelaD = stare;
    p.zuzycie.WypelnijTabeleD();
    EXPECT_EQ(p.dane.zapisyTabeliD, 1);
    PorownajTabele(p.dane.tabelaD, WartosciTabeliD{});
    EXPECT_TRUE(p.dialogs.boxes().empty());
}

TEST(TabelaD, MassIsRoundedHalfAwayIntoMg)
{
    Przebieg p;
    p.Pojazd(1, "1", "", QDate(2006, 5, 1)); // row 5
    p.Pojazd(2, "3", "", QDate(2001, 7, 1)); // row 10
    p.Zapis(1, "5", 2470.0);                 // 1235 kg of diesel
    p.Zapis(2, "3", 2050.0);                 // 1025 kg of petrol: 1.025 Mg, up
    p.zuzycie.WypelnijTabeleD();
    PorownajTabele(p.dane.tabelaD, Oczekiwane({{"5e", 1.24}, {"10", 1.03}}));
}

TEST(TabelaD, EachSlotIsRoundedOnItsOwn)
{
    // 1234.988 l and 1235.002 l of diesel at 0.5 kg/l: 617.494 kg and
    // 617.501 kg, both in cell 15b. One slot: 1234.995 kg, rounded to
    // 1235.00 kg, written as 1.24 Mg. Two slots: 617.49 kg + 617.50 kg =
    // 1234.99 kg, written as 1.23 Mg.
    struct Przypadek {
        const char* opis;
        const char* rodzaj2;   // kind and gas flag of the second vehicle; the
        const char* gaz2;      // first is kind 4 (Euro 1 by its kind: row 15)
        bool tenSamPojazd;     // both records on the first vehicle
        double mg;
        int pozycje;
    };
    const Przypadek przypadki[] = {
        {"one key merges", "4", "N", true, 1.24, 1},
        {"another kind, same row", "7", "N", false, 1.23, 2},
        {"another gas flag, same cell", "4", "T", false, 1.23, 2},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.opis);
        Przebieg p;
        p.Pojazd(1, "4", "", QDate(1994, 1, 1));
        p.Pojazd(2, c.rodzaj2, "", QDate(1994, 1, 1), c.gaz2);
        p.Zapis(1, "5", 1234.988);
        p.Zapis(c.tenSamPojazd ? 1 : 2, "5", 1235.002);
        p.zuzycie.WypelnijTabeleD();
        PorownajTabele(p.dane.tabelaD, Oczekiwane({{"15b", c.mg}}));
        EXPECT_EQ(p.zuzycie.UzytePozycje(), c.pozycje);
    }
}

TEST(TabelaD, TwoPetrolsOfOneRowAreSeparateSlotsOfOneCell)
{
    Przebieg p;
    p.Pojazd(1, "1", "", QDate(2006, 5, 1)); // row 5
    p.Zapis(1, "1", 1234.988);
    p.Zapis(1, "2", 1235.002);
    p.zuzycie.WypelnijTabeleD();
    PorownajTabele(p.dane.tabelaD, Oczekiwane({{"5", 1.23}}));
}

TEST(TabelaD, GasGoesByFactoryInstallation)
{
    Przebieg p;
    p.Pojazd(1, "7", "", QDate(2002, 1, 1), "T"); // row 17
    p.Pojazd(2, "7", "", QDate(2002, 1, 1), "N"); // row 17
    p.Pojazd(3, "4", "", QDate(1994, 1, 1), "T"); // row 15
    p.Pojazd(4, "4", "", QDate(1994, 1, 1), "N"); // row 15
    p.Pojazd(5, "7", "", QDate(1990, 1, 1), "N"); // row 13: no gas column
    p.Pojazd(6, "1", "", QDate(2001, 2, 1), "T"); // row 4
    p.Pojazd(7, "1", "", QDate(2001, 2, 1), "N"); // row 4
    p.Pojazd(8, "1", "", QDate(1994, 2, 1), "T"); // row 2: no gas column
    p.Zapis(1, "b", 2000.0); // 1500 kg
    p.Zapis(2, "c", 1000.0); // 800 kg
    p.Zapis(3, "c", 100.0);  // 80 kg
    p.Zapis(4, "b", 200.0);  // 150 kg
    p.Zapis(5, "b", 1000.0);
    p.Zapis(6, "b", 400.0);  // 300 kg
    p.Zapis(7, "c", 500.0);  // 400 kg
    p.Zapis(8, "c", 500.0);
    p.zuzycie.WypelnijTabeleD();
    PorownajTabele(p.dane.tabelaD,
                   Oczekiwane({{"17a", 1.5}, {"17b", 0.8}, {"15a", 0.23}, {"4c", 0.3}, {"4d", 0.4}}));
}

TEST(TabelaD, FuelsThatFeedNoCellOfTheirRow)
{
    Przebieg p;
    p.Pojazd(1, "8", "0", QDate(1990, 1, 1)); // row 14: diesel and biodiesel only
    p.Pojazd(2, "9", "", QDate(2000, 1, 1));  // row 20
    p.Pojazd(3, "10", "3", QDate());          // row 27
    p.Pojazd(4, "12", "", QDate(2005, 1, 1)); // no row
    p.Pojazd(5, "1", "", QDate(2006, 1, 1));  // row 5
    p.Zapis(1, "1", 1000.0);
    p.Zapis(1, "4", 1000.0);
    p.Zapis(1, "a", 1000.0);   // 880 kg of biodiesel into 14b
    p.Zapis(2, "4", 1000.0);
    p.Zapis(2, "6", 100.0);    // 50 kg into 20a
    p.Zapis(3, "3", 1000.0);
    p.Zapis(4, "5", 1000.0);
    p.Zapis(5, "7", 1000.0);   // heating oil in a vehicle
    p.Zapis(5, "0", 1000.0);   // no fuel
    p.Zapis(5, "", 1000.0);
    p.zuzycie.WypelnijTabeleD();
    PorownajTabele(p.dane.tabelaD, Oczekiwane({{"14b", 0.88}, {"20a", 0.05}}));
    EXPECT_TRUE(p.dialogs.boxes().empty());
}

TEST(TabelaD, RecordsWithoutAVehicleAreLeftOutAndCounted)
{
    Przebieg p;
    p.Pojazd(1, "1", "", QDate(2006, 5, 1)); // row 5
    p.Pojazd(9, "7", "", QDate(1990, 1, 1)); // row 13, last in the register
    p.Zapis(1, "5", 1000.0);
    p.Zapis(5, "5", 1000.0);
    p.Zapis(6, "1", 300.0);
    p.zuzycie.WypelnijTabeleD();
    // Nothing of the unknown vehicles lands in row 13 (or anywhere).
    PorownajTabele(p.dane.tabelaD, Oczekiwane({{"5e", 0.5}}));
    const auto boxes = p.dialogs.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Liczba pominiętych zapisów zużycia paliwa: 2.\n"
                                            "Pojazdów tych zapisów nie ma w ewidencji pojazdów, "
                                            "więc ich paliwo nie zostało wliczone do tabeli D !!!"));
    EXPECT_EQ(boxes[0].caption, kKontrola);
    EXPECT_EQ(boxes[0].icon, kal::MsgIcon::Warning);
    EXPECT_EQ(boxes[0].buttons, unsigned(kal::MbOk));
}

TEST(TabelaD, FuelWithoutDensityIsNamedAndNothingIsWritten)
{
    Przebieg p;
    p.dane.gestosci = {{"1", 0.75}, {"5", 0.84}};
    p.Pojazd(1, "1", "", QDate(2006, 5, 1)); // row 5
    p.Pojazd(2, "8", "0", QDate(1990, 1, 1)); // row 14
    p.Zapis(1, "5", 1000.0);
    p.Zapis(1, "c", 10.0);
    p.Zapis(1, "a", 10.0);
    p.Zapis(1, "8", 10.0);   // heating oil: never counted, no message
    p.Zapis(2, "3", 10.0);   // petrol in row 14: not counted, no message
    p.zuzycie.WypelnijTabeleD();
    EXPECT_EQ(p.dane.zapisyTabeliD, 0);
    const auto boxes = p.dialogs.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Brak gęstości paliwa w tabeli gęstości paliw:\n"
                                            "a - biodiesel\nc - sprężony gaz ziemny\n"
                                            "Tabela D nie została wypełniona. "
                                            "Wpisz gęstość paliwa i wylicz tabelę ponownie !!!"));
    EXPECT_EQ(boxes[0].caption, kKontrola);
    EXPECT_EQ(boxes[0].icon, kal::MsgIcon::Stop);
}

TEST(TabelaD, HalfYearFileThatCannotBeOpened)
{
    Przebieg p;
    p.dane.zbiorOtwarty = false;
    p.zuzycie.WypelnijTabeleD();
    EXPECT_EQ(p.dane.zapisyTabeliD, 0);
    const auto boxes = p.dialogs.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Bład otwarcia zbioru półrocznego na zużycie paliwa !!!"));
    EXPECT_EQ(boxes[0].caption, kKontrola);
    EXPECT_EQ(boxes[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Błąd czytania danych półrocza !!!"));
    EXPECT_EQ(boxes[1].caption, QStringLiteral("Kontrola operacji."));
    EXPECT_EQ(boxes[1].icon, kal::MsgIcon::Stop);
}

TEST(TabelaD, FullSlotTableRefusesANewKeyButKeepsMerging)
{
    Przebieg p;
    // 125 kinds without a row x 12 fuels take all 1500 slots.
    const char* paliwa[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "a", "b", "c"};
    for (int k = 0; k < 125; ++k) {
        const QByteArray rodzaj = QByteArray::number(12 + k);
        p.Pojazd(100 + k, rodzaj.constData(), "", QDate());
        for (const char* f : paliwa)
            p.Zapis(100 + k, f, 1.0);
    }
    p.Pojazd(1, "1", "", QDate(1990, 1, 1)); // row 1
    p.Zapis(1, "5", 1000.0);                 // a new key: refused
    p.Zapis(100, "1", 1.0);                  // merges into the first slot
    p.Zapis(1, "1", 1000.0);                 // refused again
    p.zuzycie.WypelnijTabeleD();
    EXPECT_EQ(p.zuzycie.UzytePozycje(), 1500);
    EXPECT_EQ(p.zuzycie.Pozycja(0).litry, 2.0);
    const auto boxes = p.dialogs.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Zbyt mała tablica rodzajów paliw !!!"));
    EXPECT_EQ(boxes[0].caption, kKontrola);
    EXPECT_EQ(boxes[0].icon, kal::MsgIcon::Stop);
    PorownajTabele(p.dane.tabelaD, WartosciTabeliD{});
}

TEST(TabelaD, EachComputationStartsClean)
{
    Przebieg p;
    p.Pojazd(1, "1", "", QDate(2006, 5, 1));
    p.Zapis(1, "5", 2000.0);
    p.zuzycie.WypelnijTabeleD();
    p.zuzycie.WypelnijTabeleD();
    PorownajTabele(p.dane.tabelaD, Oczekiwane({{"5e", 1.0}}));
}

TEST(KomorkaTabeliD, CellOrderAndGroupTable)
{
    ASSERT_EQ(PolaTabeliD().size(), 122u);
    EXPECT_EQ(PolaTabeliD()[18], QStringLiteral("5"));
    EXPECT_EQ(PolaTabeliD()[42], QStringLiteral("10"));
    EXPECT_EQ(PolaTabeliD()[116], QStringLiteral("32d"));
    EXPECT_EQ(PolaTabeliD()[117], QStringLiteral("Rezerwa1"));
    auto nazwa = [](int w, int f, bool g) {
        const int i = KomorkaTabeliD(w, f, g);
        return i < 0 ? QStringLiteral("-") : PolaTabeliD()[static_cast<size_t>(i)];
    };
    EXPECT_EQ(nazwa(7, 2, false), QStringLiteral("7"));
    EXPECT_EQ(nazwa(9, 6, false), QStringLiteral("9c"));
    EXPECT_EQ(nazwa(12, 12, true), QStringLiteral("12c"));
    EXPECT_EQ(nazwa(13, 1, false), QStringLiteral("13a"));
    EXPECT_EQ(nazwa(13, 4, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(16, 11, true), QStringLiteral("16a"));
    EXPECT_EQ(nazwa(16, 12, false), QStringLiteral("16a"));
    EXPECT_EQ(nazwa(19, 10, false), QStringLiteral("19d"));
    EXPECT_EQ(nazwa(23, 5, false), QStringLiteral("23a"));
    EXPECT_EQ(nazwa(26, 4, false), QStringLiteral("26b"));
    EXPECT_EQ(nazwa(29, 10, false), QStringLiteral("29b"));
    EXPECT_EQ(nazwa(29, 1, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(30, 5, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(0, 5, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(5, 7, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(5, 13, false), QStringLiteral("-"));
    // The gas split in the rows with two gas columns.
    EXPECT_EQ(nazwa(5, 11, true), QStringLiteral("5c"));
    EXPECT_EQ(nazwa(5, 12, false), QStringLiteral("5d"));
    EXPECT_EQ(nazwa(10, 11, false), QStringLiteral("10d"));
    EXPECT_EQ(nazwa(18, 12, true), QStringLiteral("18a"));
    EXPECT_EQ(nazwa(19, 11, false), QStringLiteral("19b"));
    // Columns a row does not have.
    EXPECT_EQ(nazwa(3, 11, true), QStringLiteral("-"));
    EXPECT_EQ(nazwa(13, 12, true), QStringLiteral("-"));
    EXPECT_EQ(nazwa(14, 1, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(15, 2, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(19, 4, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(21, 3, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(24, 11, true), QStringLiteral("-"));
    EXPECT_EQ(nazwa(24, 1, false), QStringLiteral("24a"));
    EXPECT_EQ(nazwa(27, 4, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(28, 6, false), QStringLiteral("28a"));
    // Heating oils feed no row.
    EXPECT_EQ(nazwa(9, 7, false), QStringLiteral("-"));
    EXPECT_EQ(nazwa(12, 9, true), QStringLiteral("-"));
}

TEST(KomorkaTabeliD, RowsOfWorkingMachinesTakeEachFuelGroupInItsOwnColumn)
{
    // Rows 24, 25 and 26 have four columns: petrol a, LPG b, diesel c,
    // biodiesel d; no gas column.
    auto nazwa = [](int w, int f, bool g) {
        const int i = KomorkaTabeliD(w, f, g);
        return i < 0 ? QStringLiteral("-") : PolaTabeliD()[static_cast<size_t>(i)];
    };
    for (int w = 24; w <= 26; ++w) {
        SCOPED_TRACE(w);
        const QString r = QString::number(w);
        for (int benzyna : {1, 2, 3})
            EXPECT_EQ(nazwa(w, benzyna, false), r + QLatin1Char('a')) << benzyna;
        EXPECT_EQ(nazwa(w, 4, false), r + QLatin1Char('b'));
        EXPECT_EQ(nazwa(w, 5, false), r + QLatin1Char('c'));
        EXPECT_EQ(nazwa(w, 6, true), r + QLatin1Char('c'));
        EXPECT_EQ(nazwa(w, 10, false), r + QLatin1Char('d'));
        for (int gaz : {11, 12}) {
            EXPECT_EQ(nazwa(w, gaz, true), QStringLiteral("-")) << gaz;
            EXPECT_EQ(nazwa(w, gaz, false), QStringLiteral("-")) << gaz;
        }
    }
}

TEST(TabelaD, DieselAndBiodieselOfAWorkingMachineGoToTheirOwnCells)
{
    // A working machine built in 1995 without a stage: row 24. 1000 l of
    // diesel at 0.5 kg/l is 500 kg, 1000 l of biodiesel at 0.88 kg/l 880 kg.
    Przebieg p;
    p.Pojazd(1, "10", "0", QDate(), "N", 1995);
    p.Zapis(1, "5", 1000.0);
    p.Zapis(1, "a", 1000.0);
    p.zuzycie.WypelnijTabeleD();
    PorownajTabele(p.dane.tabelaD, Oczekiwane({{"24c", 0.5}, {"24d", 0.88}}));
}

TEST(TabelaD, AFuelWithoutDensityButWithoutLitresDoesNotStopTheTable)
{
    // Biodiesel has no density; its one record has 0 l, so there is nothing
    // to weigh and the table is written: 1000 l of diesel at 0.5 kg/l in row 5.
    Przebieg p;
    p.dane.gestosci = {{"5", 0.5}};
    p.Pojazd(1, "1", "", QDate(2006, 5, 1));
    p.Zapis(1, "5", 1000.0);
    p.Zapis(1, "a", 0.0);
    p.zuzycie.WypelnijTabeleD();
    EXPECT_TRUE(p.dialogs.boxes().empty());
    EXPECT_EQ(p.dane.zapisyTabeliD, 1);
    PorownajTabele(p.dane.tabelaD, Oczekiwane({{"5e", 0.5}}));
}
