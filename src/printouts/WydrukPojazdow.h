#pragma once
// The vehicle list: the vehicle register as a table of up to 16 columns that
// the user ticks in the parameter window, among them a row number, the date
// and reading of the last mileage, and the average fuel use in the current
// half-year; optionally only the vehicles of one place of use. The rows are
// written into the work table (TRoboczy), which the detail band prints.

#include "Report.h"
#include "ZrodloTabeli.h"

#include <array>
#include <vector>

class TDM;

namespace kal {
class TField;
}

// The average fuel use of each vehicle over the current half-year's fuel
// records, in litres per 100 km.
class SredniePojazdow {
public:
    SredniePojazdow() { Wyczysc(); }
    void Wyczysc();
    // Computes the averages from the half-year file of the current period.
    // When that file cannot be opened, says so and stores nothing.
    void Oblicz(TDM& dm);
    void Ustaw(int pojazd, double srednia);
    // The vehicle's average; 0.0 when it has none.
    double Srednia(int pojazd) const;

private:
    std::vector<std::pair<int, double>> m_srednie;
};

// One possible column of the list.
struct KolumnaWydruku {
    QString Tytul;
    kal::TField* Pole = nullptr; // null for a computed column
    int Szerokosc = 0;           // report units
    int Rodzaj = 0;              // 0 field, 1 row number, 2 last mileage, 3 average use
    kal::report::Shape* LiniaNaglowka = nullptr;
    kal::report::Shape* LiniaWiersza = nullptr;
    kal::report::Label* EtykietaNaglowka = nullptr;
    kal::report::Label* EtykietaWiersza = nullptr;
};

// The 16 items of the parameter window's check list, in order.
struct PozycjaListyKolumn {
    QString pozycja; // the check-list text
    QString tytul;   // the printed caption
    QString pole;    // the field component, empty for a computed column
    int rodzaj;
};
const std::array<PozycjaListyKolumn, 16>& PozycjeListyKolumn();

class TQRPojazdy final : public kal::report::Report {
public:
    explicit TQRPojazdy(TDM& dm);

    // Report units of the layout, in millimetres.
    static constexpr double Jednostka = 0.25;

    // What the parameter window hands over before each run: the ticked
    // items of the check list, and whether only the place of use on which
    // the places table stands is to be printed.
    std::array<bool, 16> Zaznaczone{};
    bool WybraneMiejsceUzytkowania = false;

    // Builds the columns and rows and prints or previews the list under the
    // title "Wydruk pojazdów.".
    void PrzygotujIDrukuj(bool podglad);

    // The columns of the last preparation.
    const std::array<KolumnaWydruku, 16>& Kolumny() const { return m_kolumny; }
    int IloscKolumn = 0;
    int WysokoscWiersza = 26;
    int WybraneMiejsce = -1;

    // The width of a text in the font of the run-time labels, report units.
    int SzerokoscTekstu(const QString& tekst) const;
    // `tekst` as it fits a column of `szerokosc` units: whole, or cut with "…".
    QString TekstWKolumnie(const QString& tekst, int szerokosc) const;

private:
    void zbuduj();
    void WyczyscKolumny();
    void DodajKolumne(const QString& tytul, kal::TField* pole, int rodzaj);
    void UstalSzerokosci();
    // Columns wider together than the page: the widest text columns narrow.
    void ZmiescNaStronie();
    void RozmiescKolumny();

    TDM& m_dm;
    ZrodloTabeli m_roboczy;
    std::array<KolumnaWydruku, 16> m_kolumny;
};

extern TQRPojazdy* QRPojazdy;
