// The "Plik CSV" export of the program's own reports, read back as a
// spreadsheet reads it: every figure under its heading, an empty field for
// an empty cell, a cell of several lines one field, a record of a list one
// row.

#include "CsvTools.h"
#include "ModulTestowy.h"

#include "DrukujRaport.h"
#include "Export.h"
#include "FunkcjeSrodowiska.h"
#include "OplatyTabel.h"
#include "RozliczPolrocze.h"
#include "WydrukPojazdow.h"
#include "WydrukPrzeglPoj.h"
#include "WydrukTabelaD.h"

using namespace kal::report;
using kal::test::FindRecord;
using kal::test::ReadCsv;

namespace {

using Rekordy = std::vector<QStringList>;

// Every record has as many fields as the first one.
void JednaSzerokosc(const Rekordy& r)
{
    ASSERT_FALSE(r.empty());
    for (size_t i = 0; i < r.size(); ++i)
        EXPECT_EQ(r[i].size(), r[0].size()) << "record " << i << ": " << r[i].join(QLatin1Char('|')).toStdString();
}

struct EksportTabeliD : ::testing::Test {
    testy::Okres okres;
    TQRTabelaD raport{okres.tabelaD.get(), okres.stawkiD.get()};
};

} // namespace

TEST_F(EksportTabeliD, EachFigureStandsUnderItsHeading)
{
    // 1a: 0,5 Mg at 100,00 = 50,00 zł; 1c: a rate of 10,00 and no quantity
    // (no fee); 4c: 0,72 Mg of CNG at 2,00 = 1,44 zł. Total 51,44 zł.
    testy::Okres::Wiersz(*okres.tabelaD, {{"1a", 0.5}, {"4c", 0.72}});
    testy::Okres::Wiersz(*okres.stawkiD, {{"1a", 100.0}, {"1c", 10.0}, {"4c", 2.0}});
    OplatyD().Oblicz();
    const Rekordy r = ReadCsv(ExportCsv(*raport.prepare()));
    ASSERT_NO_FATAL_FAILURE(JednaSzerokosc(r));

    const int glowka = FindRecord(r, 0, QStringLiteral("Lp."));
    ASSERT_GE(glowka, 0);
    EXPECT_EQ(r[size_t(glowka)], QStringList({"Lp.", "Rodzaj silnika spalinowego", "Rodzaj paliwa",
                                              "Zużycie paliwa 9) [Mg]", "Jednostkowa stawka opłaty [zł/Mg]",
                                              "Wysokość opłaty [zł]"}));
    EXPECT_EQ(r[size_t(glowka) + 1], QStringList({"1", "2", "3", "4", "5", "6"}));

    const int w1 = FindRecord(r, 0, QStringLiteral("1"), glowka + 2);
    ASSERT_GE(w1, 0);
    EXPECT_EQ(r[size_t(w1)], QStringList({"1",
                                          "Silniki w samochodach osobowych zarejestrowanych po raz pierwszu do dnia "
                                          "31.12.1992 r.",
                                          "Benzyna silnikowa 10)", "0,50", "100,00", "50,00"}));
    EXPECT_EQ(r[size_t(w1) + 1], QStringList({"", "", "gaz płynny propan - butan", "", "", ""}));
    EXPECT_EQ(r[size_t(w1) + 2], QStringList({"", "", "olej napędowy", "", "10,00", ""}));
    EXPECT_EQ(r[size_t(w1) + 3], QStringList({"", "", "biodiesel", "", "", ""}));

    const int w4 = FindRecord(r, 0, QStringLiteral("4"), w1);
    ASSERT_GE(w4, 0);
    EXPECT_EQ(r[size_t(w4) + 2], QStringList({"", "", "sprężony gaz ziemny(silniki fabrycznie przystosowane do zasilania gazem",
                                              "0,72", "2,00", "1,44"}));

    const int razem = FindRecord(r, 0, QStringLiteral("Wysokość opłaty ogółem [zł]"));
    ASSERT_GE(razem, 0);
    EXPECT_EQ(r[size_t(razem)], QStringList({"Wysokość opłaty ogółem [zł]", "", "", "", "", "51,44"}));

    // Each of the 32 rows gives its number and its whole description once.
    int opisy = 0;
    for (const QStringList& rekord : r)
        if (rekord.size() < 2)
            ADD_FAILURE() << rekord.join(QLatin1Char('|')).toStdString();
        else if (rekord[1].startsWith(QStringLiteral("Silniki w ")))
            ++opisy;
        else
            EXPECT_TRUE(rekord[1].isEmpty() || rekord[0] == QStringLiteral("Lp.") || rekord[0] == QStringLiteral("1"))
                << rekord.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(opisy, 32);
}

namespace {

struct EksportRozliczenia : testy::ModulTestowy {};

} // namespace

TEST_F(EksportRozliczenia, QuantityRateAndFeeStandInTheirColumnsDownToTheTotals)
{
    // Table D: 1a 0,5 Mg at 100 = 50,00 zł; 14b 2,25 Mg at 12,5 = 28,125 ->
    // 28,13 zł. Total 2,75 Mg and 78,13 zł; nothing of table C or A. The
    // rules of "=" over the totals are drawings, not fields; the blanks that
    // keep the figures off the column's edge are not part of them.
    Ustaw(dm->TTabelaD, {{"1a", 0.5}, {"14b", 2.25}});
    Ustaw(dm->TStawkiTabD, {{"1a", 100}, {"14b", 12.5}});
    dialogi.answerPrinter(true);
    DrukujRaport(QRRozliczPolrocze, false, QStringLiteral("Rozliczenie opłat za półrocze: 1 2009 roku."), 1);
    ASSERT_EQ(drukarka.wydruki.size(), 1u);
    const Rekordy r = ReadCsv(ExportCsv(drukarka.wydruki.back()));
    ASSERT_NO_FATAL_FAILURE(JednaSzerokosc(r));
    const Rekordy oczekiwane = {
        {"Rozliczenie opłat za półrocze: 1 2009 roku.", "", "", ""},
        {"Rodzaj silnika i paliwa.", "", "", ""},
        {"Źródła mocy", "Ilość [Mg]", "Stawka", "Opłata"},
        {"Samochód os. zarejestrowany do 31.12.1992 r. benzyna silnikowa", "0,50", "100,00", "50,00"},
        {"Autobusy powyżej 3,5 Mg zarej.do 30.09.1993 biodiesl", "2,25", "12,50", "28,13"},
        {"", "2,75", "", "78,13"},
        {"", "", "", "0,00"},
        {"Wykaz opłat wynikających z tabeli A", "", "", "0,00"},
        {"Razem opłata za pólrocze: 78,13 zł.", "", "", ""},
    };
    EXPECT_EQ(r, oczekiwane);
}

namespace {

struct EksportPojazdow : testy::ModulTestowy {
    void SetUp() override
    {
        testy::ModulTestowy::SetUp();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
    }
    // A posted vehicle of kind 1; an empty body number stays empty.
    void Pojazd(const QString& marka, const QString& nr, const QString& nadwozie = QString())
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(QStringLiteral("1"));
        dm->TPojazdyMarka->setAsString(marka);
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdyDataPierwszejRejestracji->setAsDateTime(QDate(2006, 5, 1));
        if (!nadwozie.isEmpty())
            dm->TPojazdyNrNadwozia->setAsString(nadwozie);
        dm->TPojazdy->Post();
    }
    Rekordy Eksport()
    {
        EXPECT_FALSE(drukarka.wydruki.empty());
        return drukarka.wydruki.empty() ? Rekordy() : ReadCsv(ExportCsv(drukarka.wydruki.back()));
    }
};

} // namespace

TEST_F(EksportPojazdow, EveryVehicleIsOneRecordWithAnEmptyFieldForAnEmptyCell)
{
    Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    Pojazd(QStringLiteral("Audi"), QStringLiteral("PO 4"), QStringLiteral("WAUZZZ8E"));
    Pojazd(QStringLiteral("Volkswagen Transporter"), QStringLiteral("PO 11"), QStringLiteral("WV2ZZZ70"));
    // L.p., make, registration, body number, date and reading of the last mileage.
    QRPojazdy->Zaznaczone.fill(false);
    for (int k : {0, 1, 2, 3, 12})
        QRPojazdy->Zaznaczone[size_t(k)] = true;
    dialogi.answerPrinter(true);
    QRPojazdy->PrzygotujIDrukuj(false);
    const Rekordy r = Eksport();
    ASSERT_NO_FATAL_FAILURE(JednaSzerokosc(r));
    const Rekordy oczekiwane = {
        {"Wydruk wszystkich pojazdów", "", "", "", ""},
        {"L.p.", "Marka", "Nr rejestrac.", "Nr nadwozia", "Data i przebieg"},
        {"1", "Audi", "PO 4", "WAUZZZ8E", "Brak danych"},
        {"2", "Fiat", "PO 2", "", "Brak danych"},
        {"3", "Volkswagen Transporter", "PO 11", "WV2ZZZ70", "Brak danych"},
    };
    EXPECT_EQ(r, oczekiwane);
}

TEST_F(EksportPojazdow, AMakeBrokenOverTwoLinesOfItsCellStaysOneField)
{
    Pojazd(QStringLiteral("Volkswagen Transporter T4 długi"), QStringLiteral("EL 9876A"));
    dm->TPrzegl->Insert();
    dm->TPrzeglData->setAsDateTime(QDate(2009, 4, 5));
    dm->TPrzeglNrFaktury->setAsString(QStringLiteral("F/1"));
    dm->TPrzeglDataNastepnegoPrzegladu->setAsDateTime(QDate(2009, 6, 1));
    dm->TPrzeglIloscKm->setAsFloat(240100);
    dm->TPrzegl->Post();
    dialogi.answerPrinter(true);
    QRPrzegladyPojazdow->PrzygotujIDrukuj(false);
    const Rekordy r = Eksport();
    ASSERT_NO_FATAL_FAILURE(JednaSzerokosc(r));
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1], QStringList({"Nr rejestracyjny i marka", "Data ostatniego przeglądu i przebieg", "Data następnego",
                                 "Przebieg aktualny i do przeglądu"}));
    EXPECT_EQ(r[2], QStringList({"EL 9876A Volkswagen Transporter T4 długi", "05-04-2009 240 100 km", "01-06-2009",
                                 "Brak przebiegów"}));
}
