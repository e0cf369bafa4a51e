#pragma once
// The cells of tables C and D: field names in fee order, and where each fuel
// of each table D row goes.

#include <QString>

#include <array>

inline constexpr int LiczbaKomorekTabeliD = 122;
inline constexpr int LiczbaWierszyTabeliD = 32;
inline constexpr int LiczbaPozycjiTabeliC = 24;

using WartosciTabeliD = std::array<double, LiczbaKomorekTabeliD>;
using WartosciTabeliC = std::array<double, LiczbaPozycjiTabeliC>;

// Field names of the 122 table D cells, in cell (fee) order: "1a" .. "32d",
// then "Rezerwa1" .. "Rezerwa5".
const std::array<QString, LiczbaKomorekTabeliD>& PolaTabeliD();

// Field names of the 24 table C positions, in fee order: "I1" .. "V3", then
// "Rezerwa1" .. "Rezerwa5".
const std::array<QString, LiczbaPozycjiTabeliC>& PolaTabeliC();

// The cell index of a table D field name, or -1.
int IndeksKomorkiTabeliD(const QString& pole);

// Fuel groups of table D columns.
enum class GrupaPaliwa { Brak, Benzyna, Lpg, Gaz, OlejNapedowy, Biodiesel };

// The group of a fuel index: 1, 2, 3 petrol; 4 LPG; 5, 6 diesel; 10
// biodiesel; 11, 12 gas (biomethane, compressed natural gas). The heating
// oils 7..9 and anything else belong to no group.
GrupaPaliwa GrupaPaliwaIndeksu(int paliwo);

// The table D cell that fuel `paliwo` of table D row `wiersz` (1..29) feeds,
// with `gaz` the factory gas installation (it picks one of two gas columns
// where the row has them); -1 when the fuel is not counted in that row, for
// a row outside 1..29 and for a fuel outside 1..12.
int KomorkaTabeliD(int wiersz, int paliwo, bool gaz);
