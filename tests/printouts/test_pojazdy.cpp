// The vehicle list with its chosen columns, last mileage and average fuel
// use; the lists of inspections, repairs and vehicles due for inspection;
// the fuel-use list.

#include "ModulTestowy.h"

#include "DataSource.h"
#include "TextMetrics.h"
#include "VfsShim.h"

#include <QDir>
#include <functional>
#include "WydrukNaprawPrz.h"
#include "WydrukPojazdow.h"
#include "WydrukPrzeglPoj.h"
#include "WydrukSamDoPrzegl.h"
#include "WydrukZuzyciaPaliwa.h"

using namespace kal::report;

namespace {

// A control of a window bound to a data source: how many times it was told
// to show another record.
struct Kontrolka final : kal::TDataLink {
    explicit Kontrolka(kal::TDataSource* zrodlo) { setDataSource(zrodlo); }
    ~Kontrolka() override { setDataSource(nullptr); }
    int pokazan = 0;
    void dataSetChanged() override { ++pokazan; }
    void dataSetScrolled(int) override { ++pokazan; }
};

struct Pojazdy : testy::ModulTestowy {
    void SetUp() override
    {
        testy::ModulTestowy::SetUp();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
    }
    int Miejsce(const QString& nazwa)
    {
        dm->TMiejsceUz->Insert();
        dm->TMiejsceUzNazwa->setAsString(nazwa);
        dm->TMiejsceUz->Post();
        return dm->TMiejsceUzIdentyfiklator->AsInteger();
    }
    // A vehicle, left current.
    int Pojazd(const QString& marka, const QString& nr, int miejsce = -1, double kmMiedzy = -1)
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(QStringLiteral("1"));
        dm->TPojazdyMarka->setAsString(marka);
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdyDataPierwszejRejestracji->setAsDateTime(QDate(2006, 5, 1));
        if (miejsce >= 0)
            dm->TPojazdyMiejsceUzytkowania->setAsInteger(miejsce);
        if (kmMiedzy >= 0)
            dm->TPojazdyIloscKmMiedzyPrzegl->setAsFloat(kmMiedzy);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }
    void Przeglad(QDate data, QDate nastepny, double km, const QString& faktura = QStringLiteral("F/1"))
    {
        dm->TPrzegl->Insert();
        dm->TPrzeglData->setAsDateTime(data);
        dm->TPrzeglNrFaktury->setAsString(faktura);
        if (nastepny.isValid())
            dm->TPrzeglDataNastepnegoPrzegladu->setAsDateTime(nastepny);
        dm->TPrzeglIloscKm->setAsFloat(km);
        dm->TPrzegl->Post();
    }
    void Przebieg(QDate data, double km)
    {
        dm->TPrzebieg->Insert();
        dm->TPrzebiegData->setAsDateTime(data);
        dm->TPrzebiegIloscKilometrow->setAsFloat(km);
        dm->TPrzebieg->Post();
    }
    // A refuelling of the first half of 2009; km < 0 leaves the reading empty.
    void Tankowanie(int pojazd, QDate data, double litry, double km)
    {
        dm->TZuzycie->Insert();
        dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(pojazd);
        dm->TZuzycieDataTankowania->setAsDateTime(data);
        dm->TZuzycieRodzajPaliwa->setAsString(QStringLiteral("5"));
        dm->TZuzycieIloscPaliwa->setAsFloat(litry);
        if (km >= 0)
            dm->TZuzycieIloscKm->setAsFloat(km);
        dm->TZuzycie->Post();
    }
    void Idz(int pojazd) { ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), pojazd)); }

    std::vector<QStringList> Robocze(int kolumn)
    {
        std::vector<QStringList> w;
        kal::TTable* r = dm->TRoboczy;
        for (r->First(); !r->Eof(); r->Next()) {
            QStringList x{r->FieldByName(QStringLiteral("Klucz"))->AsString()};
            for (int i = 1; i <= kolumn; ++i)
                x << r->FieldByName(QStringLiteral("Pole%1").arg(i))->AsString();
            w.push_back(x);
        }
        return w;
    }
    void Zaznacz(std::initializer_list<int> pozycje)
    {
        QRPojazdy->Zaznaczone.fill(false);
        for (int p : pozycje)
            QRPojazdy->Zaznaczone[size_t(p)] = true;
    }
    const PageModel& Drukuj()
    {
        dialogi.answerPrinter(true);
        QRPojazdy->PrzygotujIDrukuj(false);
        EXPECT_FALSE(drukarka.wydruki.empty());
        return drukarka.wydruki.back();
    }
};

} // namespace

TEST_F(Pojazdy, TheListHoldsTheChosenColumnsWithMileageAndAverageUse)
{
    // Opel: 40 l at 100 km, 35 l at 400 km, 30 l at 700 km -> 100 x 75 / 600 = 12,5.
    const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    Tankowanie(opel, QDate(2009, 3, 1), 40, 100);
    Tankowanie(opel, QDate(2009, 3, 2), 35, 400);
    Tankowanie(opel, QDate(2009, 3, 3), 30, 700);
    // Fiat: 500 km and 500,4 km are too close for an average.
    const int fiat = Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    Tankowanie(fiat, QDate(2009, 2, 1), 10, 500);
    Tankowanie(fiat, QDate(2009, 2, 2), 10, 500.4);
    // Skoda: the first refuelling has no reading, so the distance runs from 0:
    // 100 x 20 / 400 = 5.
    const int skoda = Pojazd(QStringLiteral("Skoda"), QStringLiteral("PO 3"));
    Tankowanie(skoda, QDate(2009, 4, 1), 20, -1);
    Tankowanie(skoda, QDate(2009, 4, 2), 99, 400);
    // Audi: nothing.
    Pojazd(QStringLiteral("Audi"), QStringLiteral("PO 4"));

    Zaznacz({0, 1, 2, 12, 15});
    Drukuj();
    // Vehicles in the register's order: kind, make, registration.
    const auto w = Robocze(5);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[0], QStringList({"0000000001", "1", "Audi", "PO 4", "Brak danych", "-"}));
    EXPECT_EQ(w[1], QStringList({"0000000002", "2", "Fiat", "PO 2", "02-02-2009 500,4", "-"}));
    EXPECT_EQ(w[2], QStringList({"0000000003", "3", "Opel", "PO 1", "03-03-2009 700", "12,5"}));
    EXPECT_EQ(w[3], QStringList({"0000000004", "4", "Skoda", "PO 3", "02-04-2009 400", "5"}));
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk pojazdów."));
}

TEST_F(Pojazdy, AnAverageNeedsMoreThanHalfAKilometre)
{
    const int fiat = Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    Tankowanie(fiat, QDate(2009, 2, 1), 3, 500);
    Tankowanie(fiat, QDate(2009, 2, 2), 10, 500.6);
    Zaznacz({15});
    Drukuj();
    // 100 x 3 / 0,6
    EXPECT_EQ(Robocze(1)[0][1], QStringLiteral("500"));
}

TEST_F(Pojazdy, ThePrintedListShowsCaptionsAndCellsInColumns)
{
    Pojazd(QStringLiteral("Volkswagen Transporter"), QStringLiteral("PO 11"));
    Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    Zaznacz({1, 2, 12});
    const PageModel& m = Drukuj();
    const QStringList t = testy::WszystkieTeksty(m);
    EXPECT_EQ(t, QStringList({"Wydruk wszystkich pojazdów", "Marka", "Nr rejestrac.", "Data i przebieg", "Fiat", "PO 2",
                              "Brak danych", "Volkswagen Transporter", "PO 11", "Brak danych"}));
    // Each cell stands centred under its caption, and no column overlaps the next.
    const auto teksty = testy::Teksty(m);
    auto srodek = [&](const QString& s) {
        for (const auto& x : teksty)
            if (x.tekst == s)
                return (x.x + x.x2) / 2;
        return -1.0;
    };
    auto prawy = [&](const QString& s) {
        for (const auto& x : teksty)
            if (x.tekst == s)
                return x.x2;
        return -1.0;
    };
    EXPECT_NEAR(srodek(QStringLiteral("Fiat")), srodek(QStringLiteral("Marka")), 0.01);
    EXPECT_NEAR(srodek(QStringLiteral("PO 2")), srodek(QStringLiteral("Nr rejestrac.")), 0.01);
    EXPECT_NEAR(srodek(QStringLiteral("Brak danych")), srodek(QStringLiteral("Data i przebieg")), 0.01);
    // The make column is as wide as its widest cell.
    EXPECT_LE(prawy(QStringLiteral("Volkswagen Transporter")), srodek(QStringLiteral("PO 11")));
    const auto& k = QRPojazdy->Kolumny();
    EXPECT_EQ(k[0].Szerokosc, QRPojazdy->SzerokoscTekstu(QStringLiteral("Volkswagen Transporter")));
    EXPECT_EQ(k[2].Szerokosc, QRPojazdy->SzerokoscTekstu(QStringLiteral("Data i przebieg")) + 4);
}

TEST_F(Pojazdy, TheListLeavesTheUserOnHisVehicleAndKeepsCellsClearOfTheColumnLines)
{
    const int audi = Pojazd(QStringLiteral("Audi"), QStringLiteral("PO 4"));
    Pojazd(QStringLiteral("Volkswagen Transporter"), QStringLiteral("PO 11"));
    Idz(audi);
    Zaznacz({0, 1, 2});
    const PageModel& m = Drukuj();
    // The scan of the register does not move the user off his vehicle.
    EXPECT_EQ(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), audi);
    // The widest cell of each column keeps at least 0,6 mm from the lines on
    // both its sides (two units of 0,25 mm and a half-unit of rounding).
    std::vector<double> linie;
    for (const auto page = m.page(0); const auto& it : page->items)
        if (it.kind == PageItem::Kind::Line && std::abs(it.x1 - it.x2) < 1e-9)
            linie.push_back(it.x1);
    ASSERT_FALSE(linie.empty());
    for (const QString& s : {QStringLiteral("Volkswagen Transporter"), QStringLiteral("PO 11"), QStringLiteral("Nr rejestrac.")}) {
        SCOPED_TRACE(s.toStdString());
        for (const auto page = m.page(0); const auto& t : page->items) {
            if (t.kind != PageItem::Kind::Text || t.text != s)
                continue;
            const double w = TextMetrics::width(m.fontOf(t), s);
            const double srodek = (t.x1 + t.x2) / 2;
            double lewa = -1e9, prawa = 1e9;
            for (double x : linie) {
                if (x <= srodek)
                    lewa = std::max(lewa, x);
                else
                    prawa = std::min(prawa, x);
            }
            EXPECT_GE(srodek - w / 2 - lewa, 0.6);
            EXPECT_GE(prawa - (srodek + w / 2), 0.6);
        }
    }
}

// All sixteen columns with a place name of 30 characters are wider than the
// A4 landscape page: the widest text columns give up width and their texts
// are cut with "…"; every figure, the average use last, stays whole, and
// every line and text stays within the margins.
TEST_F(Pojazdy, EveryColumnStaysOnThePageWithItsFiguresWhole)
{
    const QString miejsce = QStringLiteral("Zakład Gospodarki Komunalnej 1");
    const int id = Pojazd(QStringLiteral("Mercedes-Benz Sprinter 313 CDI"), QStringLiteral("PZ 12345AB"), Miejsce(miejsce));
    dm->TPojazdy->Edit();
    dm->TPojazdyNrNadwozia->setAsString(QStringLiteral("WDB9066331S123456"));
    dm->TPojazdyNrSilnika->setAsString(QStringLiteral("OM651955-30123456"));
    dm->TPojazdyNumerInwentarzowy->setAsString(QStringLiteral("ST-0812/2009/TR"));
    for (auto [pole, v] : {std::pair{dm->TPojazdyLadownosc, 1250.5}, {dm->TPojazdyIloscMiejsc, 3.0},
                           {dm->TPojazdyPojemnoscSilnika, 2148.0}, {dm->TPojazdyRokProdukcji, 2008.0},
                           {dm->TPojazdyWartoscEwidencyjna, 123456.78}, {dm->TPojazdyNormaLetnia, 10.5},
                           {dm->TPojazdyNormaZimowa, 11.25}})
        pole->setAsFloat(v);
    dm->TPojazdy->Post();
    Przebieg(QDate(2009, 4, 1), 123456);
    Tankowanie(id, QDate(2009, 3, 1), 40, 100);
    Tankowanie(id, QDate(2009, 3, 2), 35, 400);
    Tankowanie(id, QDate(2009, 3, 3), 30, 700);
    QRPojazdy->Zaznaczone.fill(true);
    const PageModel& m = Drukuj();

    QStringList teksty;
    for (int p = 0; p < m.pageCount(); ++p)
        for (const auto page = m.page(p); const PageItem& it : page->items) {
            double lewy = std::min(it.x1, it.x2), prawy = std::max(it.x1, it.x2);
            if (it.kind == PageItem::Kind::Text) {
                teksty << it.text;
                const double w = TextMetrics::width(m.fontOf(it), it.text);
                lewy = it.align == Align::Center ? (it.x1 + it.x2 - w) / 2 : it.align == Align::Right ? it.x2 - w : it.x1;
                prawy = lewy + w;
            }
            EXPECT_GE(lewy, 10 - 1e-6) << it.text.toStdString();
            EXPECT_LE(prawy, 297 - 10 + 1e-6) << it.text.toStdString();
        }
    for (const char* calosc : {"L.p.", "1", "Ładown.", "1250,5", "Il.miejsc", "3", "Poj.siln.", "2148", "Rok pr.", "2008",
                               "Wart.ewiden.", "123456,78", "Data i przebieg", "01-04-2009 123456", "Nor.let.", "10,5",
                               "Nor.zim.", "11,25", "Sred.zużycie", "12,5"})
        EXPECT_TRUE(teksty.contains(QString::fromUtf8(calosc))) << calosc;
    for (const auto& pozycja : PozycjeListyKolumn())
        EXPECT_TRUE(teksty.contains(pozycja.tytul)) << pozycja.tytul.toStdString();
    // A cut text is the start of a text of the vehicle.
    const QStringList dlugie{QStringLiteral("Mercedes-Benz Sprinter 313 CDI"), QStringLiteral("WDB9066331S123456"),
                             QStringLiteral("OM651955-30123456"), QStringLiteral("ST-0812/2009/TR"), miejsce};
    for (const QString& t : teksty) {
        if (t.endsWith(QChar(0x2026))) {
            EXPECT_TRUE(std::any_of(dlugie.begin(), dlugie.end(), [&](const QString& d) { return d.startsWith(t.chopped(1)); }))
                << t.toStdString();
        }
    }
    EXPECT_FALSE(teksty.contains(miejsce));
}

TEST_F(Pojazdy, AChosenPlaceKeepsOnlyItsVehicles)
{
    const int baza = Miejsce(QStringLiteral("Baza Kórnik"));
    Miejsce(QStringLiteral("Baza Mosina"));
    Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"), baza);
    Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    ASSERT_TRUE(dm->TMiejsceUz->Locate(QStringLiteral("Identyfiklator"), baza));
    QRPojazdy->WybraneMiejsceUzytkowania = true;
    Zaznacz({1});
    const QStringList t = testy::WszystkieTeksty(Drukuj());
    EXPECT_EQ(t, QStringList({"Wydruk pojazdów z miejsca użytkowania: Baza Kórnik", "Marka", "Opel"}));
    QRPojazdy->WybraneMiejsceUzytkowania = false;
}

TEST_F(Pojazdy, WithNothingTickedEveryVehicleGetsAnEmptyRow)
{
    Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    Zaznacz({});
    const QStringList t = testy::WszystkieTeksty(Drukuj());
    EXPECT_EQ(t, QStringList({"Wydruk wszystkich pojazdów"}));
    EXPECT_EQ(Robocze(0).size(), 2u);
}

// ============================================================ vehicles due for inspection

namespace {

struct DoPrzegladu : Pojazdy {
    // Prints `raport` as the only job under `tytul`; `teksty` gets its texts.
    template <class Raport>
    void JedenWydruk(Raport& raport, const QString& tytul, QStringList& teksty)
    {
        dialogi.answerPrinter(true);
        raport.PrzygotujIDrukuj(false);
        ASSERT_EQ(drukarka.zadania.size(), 1u);
        EXPECT_EQ(drukarka.zadania[0].title, tytul);
        teksty = testy::WszystkieTeksty(drukarka.wydruki[0]);
    }
    void Skresl(QDate data)
    {
        dm->TPojazdy->Edit();
        dm->TPojazdyDataSkresleniaZEwidencji->setAsDateTime(data);
        dm->TPojazdy->Post();
    }
    // Today is 2009-06-12.
    void Dane()
    {
        // 30 days and exactly 1000 km left: not due with the defaults.
        Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"), -1, 15000);
        Przeglad(QDate(2009, 1, 10), QDate(2009, 7, 12), 10000);
        Przebieg(QDate(2009, 6, 1), 24000);
        // 29 days.
        Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"), -1, 15000);
        Przeglad(QDate(2009, 1, 10), QDate(2009, 7, 11), 10000);
        Przebieg(QDate(2009, 6, 1), 20000);
        // 999 km.
        Pojazd(QStringLiteral("Skoda"), QStringLiteral("PO 3"), -1, 15000);
        Przeglad(QDate(2009, 1, 10), QDate(2010, 1, 1), 10000);
        Przebieg(QDate(2009, 6, 1), 24001);
        // Deregistered today, overdue.
        Pojazd(QStringLiteral("Audi"), QStringLiteral("PO 4"));
        Przeglad(QDate(2008, 6, 1), QDate(2009, 6, 1), 50);
        Przebieg(QDate(2009, 6, 1), 100);
        Skresl(QDate(2009, 6, 12));
        // Deregistered tomorrow, overdue, no kilometres between inspections.
        Pojazd(QStringLiteral("Ford"), QStringLiteral("PO 5"));
        Przeglad(QDate(2008, 6, 1), QDate(2009, 6, 1), 50);
        Przebieg(QDate(2009, 6, 1), 100);
        Skresl(QDate(2009, 6, 13));
        // No mileage at all.
        Pojazd(QStringLiteral("Kia"), QStringLiteral("PO 6"), -1, 15000);
        Przeglad(QDate(2009, 1, 10), QDate(2009, 6, 20), 0);
        // No inspection.
        Pojazd(QStringLiteral("Seat"), QStringLiteral("PO 7"));
        Przebieg(QDate(2009, 6, 1), 100);
    }
    QStringList Wiersze(const PageModel& m)
    {
        QStringList t = testy::WszystkieTeksty(m);
        return t.mid(5);
    }
};

} // namespace

TEST_F(DoPrzegladu, WithTheDefaultsOnlyVehiclesUnder30DaysOr1000KmPrint)
{
    Dane();
    const int fiat = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    Idz(fiat);
    QStringList t;
    ASSERT_NO_FATAL_FAILURE(JedenWydruk(*QRSamochodyDoPrzegladu, QStringLiteral("Wydruk samochodów dp przeglądu."), t));
    EXPECT_EQ(t.mid(0, 5), QStringList({"Wydruk samochodów do przeglądu w dniu: 12 czerwca 2009 roku.",
                                        "Marka i numer rejestrcyjny", "Data przeglądu", "Przebieg do przeglądu",
                                        "Aktualny przebieg"}));
    EXPECT_EQ(t.mid(5), QStringList({"Fiat PO 2", "11-07-2009", "25 000", "20 000", "Ford PO 5", "01-06-2009", "50",
                                     "100", "Skoda PO 3", "01-01-2010", "25 000", "24 001"}));
    EXPECT_EQ(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), fiat);
}

TEST_F(DoPrzegladu, AllVehiclesStillNeedAnInspectionDateAMileageAndTheRegister)
{
    Dane();
    QRSamochodyDoPrzegladu->Wszystkie = true;
    dialogi.answerPrinter(true);
    QRSamochodyDoPrzegladu->PrzygotujIDrukuj(false);
    QRSamochodyDoPrzegladu->Wszystkie = false;
    QStringList marki;
    for (const QString& s : testy::WszystkieTeksty(drukarka.wydruki[0]).mid(5))
        if (s.contains(QStringLiteral(" PO ")))
            marki << s;
    EXPECT_EQ(marki, QStringList({"Fiat PO 2", "Ford PO 5", "Opel PO 1", "Skoda PO 3"}));
}

TEST_F(DoPrzegladu, NoVehicleDueStillPrintsTitleAndHeaders)
{
    Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    dialogi.answerPrinter(true);
    QRSamochodyDoPrzegladu->PrzygotujIDrukuj(false);
    EXPECT_EQ(testy::WszystkieTeksty(drukarka.wydruki[0]).size(), 5);
}

// ============================================================ inspections of every vehicle

TEST_F(DoPrzegladu, TheInspectionStateOfEveryVehicleInTheRegister)
{
    Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"), -1, 15000);
    Przeglad(QDate(2009, 1, 10), QDate(2010, 1, 10), 12000);
    Przeglad(QDate(2009, 3, 1), QDate(), 13000);
    Przebieg(QDate(2009, 5, 1), 14000);
    Przebieg(QDate(2009, 6, 1), 13900);
    Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"), -1, 15000);
    Przebieg(QDate(2009, 5, 1), 5000);
    Pojazd(QStringLiteral("Skoda"), QStringLiteral("PO 3"));
    Przeglad(QDate(2009, 1, 10), QDate(2010, 1, 10), 1234.5);
    Pojazd(QStringLiteral("Kia"), QStringLiteral("PO 6"));
    Przeglad(QDate(2009, 1, 10), QDate(2010, 1, 10), 50);
    Przebieg(QDate(2009, 5, 1), 100);
    Pojazd(QStringLiteral("Audi"), QStringLiteral("PO 4"));
    Skresl(QDate(2009, 6, 12));
    Pojazd(QStringLiteral("Ford"), QStringLiteral("PO 5"));
    Skresl(QDate(2009, 6, 13));

    QStringList t;
    ASSERT_NO_FATAL_FAILURE(JedenWydruk(*QRPrzegladyPojazdow, QStringLiteral("Wydruk przeglądów pojazdów."), t));
    // The long headings break within their columns.
    EXPECT_EQ(t.mid(0, 7), QStringList({"Wydruk przeglądów pojazdów w dniu: 12 czerwca 2009 roku.",
                                        "Nr rejestracyjny i marka", "Data ostatniego przeglądu i", "Data następnego",
                                        "Przebieg aktualny i do", "przebieg", "przeglądu"}));
    // Fiat and Ford have no inspection; the Ford has no mileage either.
    EXPECT_EQ(t.mid(7), QStringList({"PO 2 Fiat", "brak danych.", "5000 : 15000",
                                     "PO 5 Ford", "brak danych.", "Brak przebiegów",
                                     "PO 6 Kia", "10-01-2009 50 km", "10-01-2010", "100 : Brak danych",
                                     "PO 1 Opel", "10-01-2009 12 000 km", "10-01-2010", "13900 : 27000",
                                     "PO 3 Skoda", "10-01-2009 1 234,5 km", "10-01-2010", "Brak przebiegów"}));
}

// The vehicle register's window and its repairs and readings stay on their
// records while a list walks the vehicles and reads each one's repairs and
// readings: they are told at most twice (at the end, and when the register
// goes back to the vehicle the user stood on), not for every row passed.
TEST_F(DoPrzegladu, TheRegisterWindowsDoNotFollowTheWalkOfTheLists)
{
    Dane();
    for (int i = 0; i < 6; ++i) {
        Pojazd(QStringLiteral("Kia"), QStringLiteral("PO 1%1").arg(i), -1, 10000);
        Przeglad(QDate(2009, 1, 10), QDate(2009, 7, 1), 1000);
        Przeglad(QDate(2009, 2, 10), QDate(2009, 7, 2), 2000);
        Przebieg(QDate(2009, 3, 1), 3000);
        Przebieg(QDate(2009, 4, 1), 4000);
    }
    dm->TPojazdy->First();
    const int pierwszy = dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    const auto sprawdz = [&](const char* lista, const std::function<void()>& drukuj) {
        SCOPED_TRACE(lista);
        Kontrolka rejestr(dm->DPojazdy), naprawy(dm->DPrzegl), przebiegi(dm->DPrzebieg);
        const std::size_t wydruki = drukarka.wydruki.size();
        dialogi.answerPrinter(true);
        drukuj();
        EXPECT_EQ(drukarka.wydruki.size(), wydruki + 1);
        EXPECT_LE(rejestr.pokazan, 2);
        EXPECT_LE(naprawy.pokazan, 2);
        EXPECT_LE(przebiegi.pokazan, 2);
        EXPECT_EQ(dm->TPojazdyIdentyfikatorPojazdu->AsInteger(), pierwszy);
    };
    QRSamochodyDoPrzegladu->Wszystkie = true;
    sprawdz("due for inspection", [&] { QRSamochodyDoPrzegladu->PrzygotujIDrukuj(false); });
    QRSamochodyDoPrzegladu->Wszystkie = false;
    sprawdz("inspections", [&] { QRPrzegladyPojazdow->PrzygotujIDrukuj(false); });
    sprawdz("repairs", [&] { QRNaprawyiPrzegl->PrzygotujIDrukuj(false); });
    Zaznacz({1, 12});
    sprawdz("vehicle list", [&] { QRPojazdy->PrzygotujIDrukuj(false); });
    // Each Kia with its last reading (of the repairs and the readings) in
    // the vehicle list.
    int kie = 0;
    for (const QStringList& w : Robocze(2))
        kie += w.mid(1) == QStringList({"Kia", "01-04-2009 4000"});
    EXPECT_EQ(kie, 6);
}

TEST_F(DoPrzegladu, ALongMakeBreaksWithinItsCellAndTheRowGrows)
{
    Pojazd(QStringLiteral("Volkswagen Transporter T4 długi"), QStringLiteral("EL 9876A"));
    Przeglad(QDate(2009, 4, 5), QDate(2009, 6, 1), 240100);
    dialogi.answerPrinter(true);
    QRPrzegladyPojazdow->PrzygotujIDrukuj(false);
    ASSERT_EQ(drukarka.wydruki.size(), 1u);
    const auto& m = drukarka.wydruki[0];
    // Four columns over 190 mm: the first ends 47,5 mm from the margin; its
    // texts keep 0,8 mm from the lines.
    QStringList komorka;
    double dol = 0;
    for (const auto page = m.page(0); const auto& it : page->items) {
        // The rows start under the title (9 mm) and the headings (10 mm).
        if (it.kind != PageItem::Kind::Text || it.x1 > 10 + 47.5 || it.y1 < 10 + 9 + 10 - 0.01)
            continue;
        komorka << it.text;
        EXPECT_GE(it.x1, 10 + 0.8 - 0.01);
        EXPECT_LE(it.x1 + TextMetrics::width(m.fontOf(it), it.text), 10 + 47.5 - 0.8 + 0.01) << it.text.toStdString();
        dol = std::max(dol, it.y2);
    }
    ASSERT_GE(komorka.size(), 2) << komorka.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(komorka.join(QLatin1Char(' ')), QStringLiteral("EL 9876A Volkswagen Transporter T4 długi"));
    // The lines under the row's cells all stand below the make's last line.
    int podRzedem = 0;
    for (const auto page = m.page(0); const auto& it : page->items)
        if (it.kind == PageItem::Kind::Line && std::abs(it.y1 - it.y2) < 1e-9 && it.y1 >= dol - 0.01)
            ++podRzedem;
    EXPECT_EQ(podRzedem, 4);
}

// ============================================================ repairs of chosen months

TEST_F(DoPrzegladu, RepairsOfTheChosenMonthsVehicleByVehicle)
{
    Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    Przeglad(QDate(2009, 1, 10), QDate(), 100, QStringLiteral("F/1"));
    dm->TPrzegl->Insert();
    dm->TPrzeglData->setAsDateTime(QDate(2009, 3, 1));
    dm->TPrzeglNrFaktury->setAsString(QStringLiteral("F/2"));
    dm->TPrzeglZakresRobot->setAsString(QStringLiteral("wymiana oleju"));
    dm->TPrzeglZakupioneCzesci->setAsString(QStringLiteral("filtr"));
    dm->TPrzeglWartosc->setAsFloat(1250.5);
    dm->TPrzegl->Post();
    Przeglad(QDate(2009, 5, 31), QDate(), 100, QStringLiteral("F/3"));
    Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
    Przeglad(QDate(2008, 4, 1), QDate(), 100, QStringLiteral("F/9"));

    QRNaprawyiPrzegl->Rok = 2009;
    QRNaprawyiPrzegl->McOd = 3;
    QRNaprawyiPrzegl->McDo = 5;
    QStringList t;
    ASSERT_NO_FATAL_FAILURE(JedenWydruk(*QRNaprawyiPrzegl, QStringLiteral("Wydruk napraw i przeglądów."), t));
    EXPECT_EQ(t, QStringList({"Naprawy i przeglądy za miesiące: 3 - 5 .2009.", "Numer rejestracyjny marka pojazdu",
                              "Nr faktury          Data", "Zakres robót", "Zakupione części", "Wartość", "PO 1 Opel",
                              "F/2", "2009-03-01", "wymiana oleju", "filtr", "1 250,50", "F/3", "2009-05-31", "0,00"}));
    // The vehicle's heading has a line of its own; the invoice stands under
    // "Nr faktury", the date under "Data" and clear of the works.
    {
        const auto teksty = testy::Teksty(drukarka.wydruki[0]);
        auto znajdz = [&](const QString& s) {
            for (const auto& x : teksty)
                if (x.tekst == s)
                    return x;
            ADD_FAILURE() << s.toStdString();
            return testy::Tekst{};
        };
        const auto pojazd = znajdz(QStringLiteral("Numer rejestracyjny marka pojazdu"));
        const auto faktura = znajdz(QStringLiteral("Nr faktury          Data"));
        EXPECT_LT(pojazd.y + 4, faktura.y);
        EXPECT_NEAR(znajdz(QStringLiteral("F/2")).x, faktura.x, 0.01);
        const auto data = znajdz(QStringLiteral("2009-03-01"));
        const auto& m = drukarka.wydruki[0];
        kal::report::FontDef gruby = m.fontOf(m.page(0)->items.front());
        for (const auto page = m.page(0); const auto& it : page->items)
            if (it.text == QStringLiteral("Nr faktury          Data"))
                gruby = m.fontOf(it);
        EXPECT_NEAR(data.x, faktura.x + TextMetrics::width(gruby, QStringLiteral("Nr faktury          ")), 0.01);
        double dataKoniec = 0;
        for (const auto page = m.page(0); const auto& it : page->items)
            if (it.text == QStringLiteral("2009-03-01"))
                dataKoniec = it.x1 + TextMetrics::width(m.fontOf(it), it.text);
        EXPECT_LT(dataKoniec, znajdz(QStringLiteral("wymiana oleju")).x);
    }

    // Months in the wrong order: no row passes.
    QRNaprawyiPrzegl->McOd = 5;
    QRNaprawyiPrzegl->McDo = 3;
    dialogi.answerPrinter(true);
    QRNaprawyiPrzegl->PrzygotujIDrukuj(false);
    EXPECT_EQ(testy::WszystkieTeksty(drukarka.wydruki[1]).size(), 6);
}

// ============================================================ fuel use

namespace {

struct ZuzyciePaliwa : Pojazdy {
    int orlen = 0, baza = 0, kornik = 0, mosina = 0;
    int MiejsceTank(const QString& nazwa)
    {
        dm->TMiejscTank->Insert();
        dm->TMiejscTankNazwa->setAsString(nazwa);
        dm->TMiejscTank->Post();
        return dm->TMiejscTankIdentyfikator->AsInteger();
    }
    void Zakup(int pojazd, QDate data, const char* paliwo, double litry, double cena, int tank, int miejsce,
               const QString& faktura)
    {
        dm->TZuzycie->Insert();
        dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(pojazd);
        dm->TZuzycieDataTankowania->setAsDateTime(data);
        dm->TZuzycieRodzajPaliwa->setAsString(QString::fromLatin1(paliwo));
        dm->TZuzycieIloscPaliwa->setAsFloat(litry);
        dm->TZuzycieCenaPaliwa->setAsFloat(cena);
        dm->TZuzycieMiejsceTankowania->setAsInteger(tank);
        if (miejsce > 0)
            dm->TZuzycieMiejsceUzytkowania->setAsInteger(miejsce);
        dm->TZuzycieNumerFaktury->setAsString(faktura);
        dm->TZuzycie->Post();
    }
    // Opel (place Kórnik): 40 l diesel at 4,50 = 180,00 in March at Orlen;
    //                      12,25 l petrol 94 at 4 = 49,00 in June at Orlen.
    // Fiat (no place): 20 l biodiesel at 3,50 = 70,00 in May at the depot,
    //                  its own place Mosina; 5 l diesel at 4 = 20,00 in April
    //                  at the depot, no place at all.
    void Dane()
    {
        orlen = MiejsceTank(QStringLiteral("Orlen Kórnik"));
        baza = MiejsceTank(QStringLiteral("Baza"));
        kornik = Miejsce(QStringLiteral("Kórnik"));
        mosina = Miejsce(QStringLiteral("Mosina"));
        const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"), kornik);
        const int fiat = Pojazd(QStringLiteral("Fiat"), QStringLiteral("PO 2"));
        Zakup(opel, QDate(2009, 3, 1), "5", 40, 4.5, orlen, 0, QStringLiteral("FV 1"));
        Zakup(opel, QDate(2009, 6, 10), "1", 12.25, 4, orlen, 0, QStringLiteral("FV 2"));
        Zakup(fiat, QDate(2009, 5, 5), "a", 20, 3.5, baza, mosina, QStringLiteral("FV 3"));
        Zakup(fiat, QDate(2009, 4, 2), "5", 5, 4, baza, 0, QStringLiteral("FV 4"));
    }
    QStringList Druk()
    {
        dialogi.answerPrinter(true);
        QRZyzyciePaliwa->PrzygotujIDrukuj(false);
        EXPECT_FALSE(drukarka.wydruki.empty());
        QStringList t = testy::WszystkieTeksty(drukarka.wydruki.back());
        t.removeFirst(); // the print date and time
        return t;
    }
    QStringList Podsumowanie(const QStringList& t) { return t.mid(t.size() - 11); }
    void SetUp() override
    {
        Pojazdy::SetUp();
        QRZyzyciePaliwa->WszystkieMiejscaTankowania = true;
        QRZyzyciePaliwa->WszystkieMiejscaUzytkowania = true;
        QRZyzyciePaliwa->NumerRejestracyjnyFiltru.clear();
        QRZyzyciePaliwa->McOd = 1;
        QRZyzyciePaliwa->McDo = 6;
    }
};

QStringList Paliwa(std::initializer_list<const char*> ilosci)
{
    QStringList l{QStringLiteral("W tym:")};
    size_t i = 0;
    for (const char* q : ilosci)
        l << TQRZyzyciePaliwa::NazwyPaliw()[i++] + QStringLiteral(": ") + QString::fromUtf8(q);
    return l;
}

} // namespace

TEST_F(ZuzyciePaliwa, EveryPurchaseWithItsValueTotalsAndFuelKinds)
{
    Dane();
    const QStringList t = Druk();
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk zużycia paliwa."));
    EXPECT_EQ(t.mid(0, 3), QStringList({"Wszystkie miejsca tankowania.",
                                        "Zestawienie zużycia paliwa za miesiące 1 - 6 2009 roku.",
                                        "Wszystkie miejsca użytkowania.   Wszystkie numery rejestracyjne."}));
    EXPECT_EQ(t.mid(3, 8), QStringList({"Pojazd", "Miejsce tankowania", "Numer faktury", "Data tank.", "Ilość",
                                        "Rodzaj paliwa", "Cena", "Wartość"}));
    const int i = int(t.indexOf(QStringLiteral("FV 1")));
    ASSERT_GE(i, 2);
    EXPECT_EQ(t.mid(i - 2, 8), QStringList({"Opel", "Orlen Kórnik", "FV 1", "2009-03-01", "40,00", "5 - olej napędowy",
                                            "4,50", "180,00"}));
    // 40 + 12,25 + 20 + 5 litres; 180 + 49 + 70 + 20 zł.
    const QStringList s = Podsumowanie(t);
    EXPECT_EQ(s[0], QStringLiteral("Razem ilość: 77,25    Razem wartość sprzedaży: 319,00"));
    EXPECT_EQ(s.mid(1), Paliwa({"12,25", "0,00", "0,00", "0,00", "45,00", "0,00", "20,00", "0,00", "0,00"}));
}

TEST_F(ZuzyciePaliwa, NothingPassesAndTheSummaryStillPrints)
{
    const QStringList t = Druk();
    EXPECT_EQ(Podsumowanie(t)[0], QStringLiteral("Razem ilość: 0,00    Razem wartość sprzedaży: 0,00"));
    EXPECT_EQ(Podsumowanie(t).mid(1), Paliwa({"0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00", "0,00"}));
}

TEST_F(ZuzyciePaliwa, ARefuellingPlaceAndMonthsNarrowTheList)
{
    Dane();
    ASSERT_TRUE(dm->TMiejscTank->Locate(QStringLiteral("Identyfikator"), orlen));
    QRZyzyciePaliwa->WszystkieMiejscaTankowania = false;
    QRZyzyciePaliwa->McOd = 1;
    QRZyzyciePaliwa->McDo = 5;
    const QStringList t = Druk();
    EXPECT_EQ(t.mid(0, 2), QStringList({"Tankowano w: Orlen Kórnik", "Zestawienie zużycia paliwa za miesiące 1 - 5 2009 roku."}));
    EXPECT_TRUE(t.contains(QStringLiteral("FV 1")));
    EXPECT_FALSE(t.contains(QStringLiteral("FV 2")));
    EXPECT_FALSE(t.contains(QStringLiteral("FV 3")));
    EXPECT_EQ(Podsumowanie(t)[0], QStringLiteral("Razem ilość: 40,00    Razem wartość sprzedaży: 180,00"));
}

TEST_F(ZuzyciePaliwa, APlaceOfUseCountsTheVehiclesPlaceForRecordsWithoutTheirOwn)
{
    Dane();
    ASSERT_TRUE(dm->TMiejsceUz->Locate(QStringLiteral("Identyfiklator"), kornik));
    QRZyzyciePaliwa->WszystkieMiejscaUzytkowania = false;
    QStringList t = Druk();
    EXPECT_EQ(t[2], QStringLiteral("Miejsce użytkowania: Kórnik   Wszystkie numery rejestracyjne."));
    EXPECT_EQ(Podsumowanie(t)[0], QStringLiteral("Razem ilość: 52,25    Razem wartość sprzedaży: 229,00"));

    ASSERT_TRUE(dm->TMiejsceUz->Locate(QStringLiteral("Identyfiklator"), mosina));
    t = Druk();
    EXPECT_EQ(Podsumowanie(t)[0], QStringLiteral("Razem ilość: 20,00    Razem wartość sprzedaży: 70,00"));
}

TEST_F(ZuzyciePaliwa, TheRegistrationMatchesWhateverTheCaseAndBlanks)
{
    Dane();
    QRZyzyciePaliwa->NumerRejestracyjnyFiltru = QStringLiteral("  po2 ");
    const QStringList t = Druk();
    EXPECT_EQ(t[2], QStringLiteral("Wszystkie miejsca użytkowania.   Wybrano numer rejestarcyjny: po2."));
    EXPECT_EQ(Podsumowanie(t)[0], QStringLiteral("Razem ilość: 25,00    Razem wartość sprzedaży: 90,00"));
}

TEST_F(ZuzyciePaliwa, TheListLeavesTheWindowOnItsPurchaseAndKeepsLongMakesInTheirColumn)
{
    const int vw = Pojazd(QStringLiteral("Volkswagen Transporter T4 długi"), QStringLiteral("EL 9876A"));
    Zakup(vw, QDate(2009, 2, 20), "3", 600, 4.1, orlen, 0, QStringLiteral("FV 8"));
    dm->TZuzycie->First();
    dm->TZuzycie->Next();
    const QString faktura = dm->TZuzycieNumerFaktury->AsString();
    ASSERT_FALSE(faktura.isEmpty());
    dialogi.answerPrinter(true);
    QRZyzyciePaliwa->PrzygotujIDrukuj(false);
    ASSERT_FALSE(drukarka.wydruki.empty());
    // The run does not move the fuel window off the purchase shown in it.
    EXPECT_EQ(dm->TZuzycieNumerFaktury->AsString(), faktura);
    // The make breaks into lines inside the first column (30 mm from the
    // 10 mm margin, 1 mm short of the next); the fuel names keep 2 mm off the
    // quantities' column.
    const auto& m = drukarka.wydruki.back();
    QStringList marka;
    for (const auto page = m.page(0); const auto& it : page->items) {
        if (it.kind != PageItem::Kind::Text)
            continue;
        const double koniec = it.x1 + TextMetrics::width(m.fontOf(it), it.text);
        if (it.x1 < 10 + 30 && it.y1 > 10 + 4 * 4.5)
            marka << it.text;
        if (it.x1 < 10 + 30 && (it.text.contains(QStringLiteral("Volkswagen")) || it.text.contains(QStringLiteral("długi")))) {
            EXPECT_LE(koniec, 10 + 29 + 0.01) << it.text.toStdString();
        }
        if (it.text == QStringLiteral("Rodzaj paliwa") || it.text.startsWith(QStringLiteral("3 - "))) {
            EXPECT_NEAR(it.x1, 10 + TQRZyzyciePaliwa::Kolumny[5] + 2, 0.01) << it.text.toStdString();
            EXPECT_LE(koniec, 10 + TQRZyzyciePaliwa::Kolumny[6] - 1 + 0.01) << it.text.toStdString();
        }
    }
    EXPECT_TRUE(marka.join(QLatin1Char(' ')).contains(QStringLiteral("Volkswagen Transporter T4 długi")))
        << marka.join(QLatin1Char('|')).toStdString();
}

// The fuel window stays on its purchase while the list walks the records:
// its controls are told once, at the end, not for every purchase passed.
TEST_F(ZuzyciePaliwa, TheFuelWindowDoesNotFollowTheWalkOfTheList)
{
    Dane();
    const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 7"));
    for (int i = 0; i < 30; ++i)
        Zakup(opel, QDate(2009, 1, 1 + i), "5", 10, 4, orlen, 0, QStringLiteral("FV 1%1").arg(i));
    dm->TZuzycie->First();
    Kontrolka okno(dm->DZuzycie);
    const QStringList t = Druk();
    EXPECT_LE(okno.pokazan, 1);
    // 77,25 + 300 litres; 319 + 1200 zł.
    EXPECT_EQ(Podsumowanie(t)[0], QStringLiteral("Razem ilość: 377,25    Razem wartość sprzedaży: 1 519,00"));
}

TEST_F(ZuzyciePaliwa, APreviewPrintedAgainCountsOnce)
{
    Dane();
    Druk();
    const auto drugi = QRZyzyciePaliwa->prepare();
    QStringList t = testy::WszystkieTeksty(*drugi);
    EXPECT_EQ(Podsumowanie(t)[0], QStringLiteral("Razem ilość: 77,25    Razem wartość sprzedaży: 319,00"));
}

TEST_F(Pojazdy, TheAverageUseLeavesTheFuelWindowOnItsPurchase)
{
    // Opel: 40 l at 100 km, 35 l at 400 km, 30 l at 700 km -> 100 x 75 / 600 = 12,5.
    const int opel = Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    Tankowanie(opel, QDate(2009, 3, 1), 40, 100);
    Tankowanie(opel, QDate(2009, 3, 2), 35, 400);
    Tankowanie(opel, QDate(2009, 3, 3), 30, 700);
    dm->TZuzycie->First();
    dm->TZuzycie->Next();
    ASSERT_EQ(dm->TZuzycieIloscKm->AsFloat(), 400.0);

    SredniePojazdow srednie;
    srednie.Oblicz(*dm);
    EXPECT_EQ(srednie.Srednia(opel), 12.5);
    // The fuel window opens on the purchase it showed, not on the last one.
    EXPECT_EQ(dm->TZuzycieIloscKm->AsFloat(), 400.0);
    EXPECT_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 35.0);
    EXPECT_EQ(dm->DZuzycie->DataSet(), dm->TZuzycie);

    // The same through the list with its average column.
    Zaznacz({1, 15});
    Drukuj();
    EXPECT_EQ(Robocze(2)[0].mid(1), QStringList({"Opel", "12,5"}));
    EXPECT_EQ(dm->TZuzycieIloscKm->AsFloat(), 400.0);
    EXPECT_EQ(dm->TZuzycieDataTankowania->AsDateTime(), QDate(2009, 3, 2));
}

namespace {
// The file layer counts the syncs from the start of the data module.
struct PojazdyLiczonychZapisow : Pojazdy {
    void SetUp() override
    {
        kal::test::VfsShim::install();
        Pojazdy::SetUp();
    }
};
} // namespace

// The rows of the work table (and its emptying) are stored as one: a sync or
// two, not one for every vehicle.
TEST_F(PojazdyLiczonychZapisow, TheWorkRowsOfTheListAreStoredAsOne)
{
    for (int i = 0; i < 30; ++i)
        Pojazd(QStringLiteral("Opel"), QStringLiteral("PO %1").arg(i, 2, 10, QLatin1Char('0')));
    Zaznacz({0, 2});
    kal::test::VfsShim::reset();
    Drukuj();
    EXPECT_LE(kal::test::VfsShim::syncs, 2);
    const auto w = Robocze(2);
    ASSERT_EQ(w.size(), 30u);
    EXPECT_EQ(w[29].mid(1), QStringList({"30", "PO 29"}));
}

TEST_F(Pojazdy, PastRow999TheRowsStillPrintInOrder)
{
    for (int i = 0; i < 1001; ++i)
        Pojazd(QStringLiteral("Opel"), QStringLiteral("PO %1").arg(i, 4, 10, QLatin1Char('0')));
    Zaznacz({0});
    const QStringList t = testy::WszystkieTeksty(Drukuj());
    QStringList numery;
    for (int i = 1; i <= 1001; ++i)
        numery << QString::number(i);
    QStringList wiersze;
    for (const QString& s : t)
        if (s != QStringLiteral("L.p.") && !s.startsWith(QStringLiteral("Wydruk")))
            wiersze << s;
    EXPECT_EQ(wiersze, numery);
}

TEST_F(Pojazdy, WithoutTheHalfYearFileTheListPrintsWithoutAverages)
{
    Pojazd(QStringLiteral("Opel"), QStringLiteral("PO 1"));
    // The file of the second half of 2010 cannot be made: a folder has its name.
    ASSERT_TRUE(QDir().mkdir(QStringLiteral("Zuz20102.db")));
    dm->TOkres->Insert();
    dm->TOkresRok->setAsInteger(2010);
    dm->TOkresPolrocze->setAsInteger(2);
    dm->TOkres->Post();
    Zaznacz({1, 15});
    Drukuj();
    ASSERT_FALSE(dialogi.boxes().empty());
    const auto k = dialogi.boxes().back();
    EXPECT_EQ(k.text, QStringLiteral("Bład otwarcia zbioru półrocznego na zużycie paliwa !!!\n"
                                     "Nie znaleziono zbioru danych Zuz20102.db."));
    EXPECT_EQ(k.caption, QStringLiteral("Kontrola wprowadzania zużycia paliw."));
    EXPECT_EQ(k.icon, kal::MsgIcon::None);
    EXPECT_EQ(Robocze(2)[0].mid(1), QStringList({"Opel", "-"}));
    EXPECT_EQ(dm->DZuzycie->DataSet(), dm->TZuzycie);
}
