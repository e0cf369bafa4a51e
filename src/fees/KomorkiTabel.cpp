#include "KomorkiTabel.h"

#include <QHash>

namespace {

template <size_t N>
std::array<QString, N> Teksty(const char* const (&nazwy)[N])
{
    std::array<QString, N> a;
    for (size_t i = 0; i < N; ++i)
        a[i] = QString::fromLatin1(nazwy[i]);
    return a;
}

} // namespace

const std::array<QString, LiczbaKomorekTabeliD>& PolaTabeliD()
{
    static const char* const nazwy[LiczbaKomorekTabeliD] = {
        "1a", "1b", "1c", "1d", "2a", "2b", "2c", "2d", "3a", "3b", "3c", "3d",
        "4a", "4b", "4c", "4d", "4e", "4f", "5", "5b", "5c", "5d", "5e", "5f",
        "6", "6b", "6c", "6d", "6e", "6f", "7", "7b", "7c", "7d", "8a", "8b", "8c", "8d",
        "9", "9b", "9c", "9d", "10", "10b", "10c", "10d", "10e", "10f",
        "11a", "11b", "11c", "11d", "11e", "11f", "12", "12b", "12c", "12d", "12e", "12f",
        "13a", "13b", "13c", "14a", "14b", "15a", "15b", "15c", "16a", "16b", "16c",
        "17a", "17b", "17c", "17d", "18a", "18b", "18c", "18d", "19a", "19b", "19c", "19d",
        "20a", "20b", "21a", "21b", "22a", "22b", "23a", "23b",
        "24a", "24b", "24c", "24d", "25a", "25b", "25c", "25d", "26a", "26b", "26c", "26d",
        "27a", "27b", "28a", "28b", "29a", "29b", "30a", "30b", "31a", "31b",
        "32a", "32b", "32c", "32d",
        "Rezerwa1", "Rezerwa2", "Rezerwa3", "Rezerwa4", "Rezerwa5"};
    static const std::array pola = Teksty(nazwy);
    return pola;
}

const std::array<QString, LiczbaPozycjiTabeliC>& PolaTabeliC()
{
    static const char* const nazwy[LiczbaPozycjiTabeliC] = {
        "I1", "I1a", "I2", "I3", "I4", "I5", "II1", "II2", "II3", "III",
        "IV1", "IV2", "IV3", "IV4", "V1a", "V1b", "V2a", "V2b", "V3",
        "Rezerwa1", "Rezerwa2", "Rezerwa3", "Rezerwa4", "Rezerwa5"};
    static const std::array pola = Teksty(nazwy);
    return pola;
}

int IndeksKomorkiTabeliD(const QString& pole)
{
    static const QHash<QString, int> indeksy = [] {
        QHash<QString, int> h;
        for (int i = 0; i < LiczbaKomorekTabeliD; ++i)
            h.insert(PolaTabeliD()[static_cast<size_t>(i)], i);
        return h;
    }();
    return indeksy.value(pole, -1);
}

GrupaPaliwa GrupaPaliwaIndeksu(int paliwo)
{
    switch (paliwo) {
    case 1: case 2: case 3: return GrupaPaliwa::Benzyna;
    case 4: return GrupaPaliwa::Lpg;
    case 5: case 6: return GrupaPaliwa::OlejNapedowy;
    case 10: return GrupaPaliwa::Biodiesel;
    case 11: case 12: return GrupaPaliwa::Gaz;
    default: return GrupaPaliwa::Brak;
    }
}

namespace {

// Columns of a row: petrol, LPG, gas with factory installation, gas without
// it, diesel, biodiesel; nullptr where the row does not count that fuel.
struct KolumnyWiersza {
    const char* benzyna;
    const char* lpg;
    const char* gazFabryczny;
    const char* gazInny;
    const char* olej;
    const char* biodiesel;
};

const KolumnyWiersza kKolumny[30] = {
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}, // no row 0
    {"1a", "1b", nullptr, nullptr, "1c", "1d"},
    {"2a", "2b", nullptr, nullptr, "2c", "2d"},
    {"3a", "3b", nullptr, nullptr, "3c", "3d"},
    {"4a", "4b", "4c", "4d", "4e", "4f"},
    {"5", "5b", "5c", "5d", "5e", "5f"},
    {"6", "6b", "6c", "6d", "6e", "6f"},
    {"7", "7b", nullptr, nullptr, "7c", "7d"},
    {"8a", "8b", nullptr, nullptr, "8c", "8d"},
    {"9", "9b", nullptr, nullptr, "9c", "9d"},
    {"10", "10b", "10c", "10d", "10e", "10f"},
    {"11a", "11b", "11c", "11d", "11e", "11f"},
    {"12", "12b", "12c", "12d", "12e", "12f"},
    {"13a", nullptr, nullptr, nullptr, "13b", "13c"},
    {nullptr, nullptr, nullptr, nullptr, "14a", "14b"},
    {nullptr, nullptr, "15a", "15a", "15b", "15c"},
    {nullptr, nullptr, "16a", "16a", "16b", "16c"},
    {nullptr, nullptr, "17a", "17b", "17c", "17d"},
    {nullptr, nullptr, "18a", "18b", "18c", "18d"},
    {nullptr, nullptr, "19a", "19b", "19c", "19d"},
    {nullptr, nullptr, nullptr, nullptr, "20a", "20b"},
    {nullptr, nullptr, nullptr, nullptr, "21a", "21b"},
    {nullptr, nullptr, nullptr, nullptr, "22a", "22b"},
    {nullptr, nullptr, nullptr, nullptr, "23a", "23b"},
    {"24a", "24b", nullptr, nullptr, "24c", "24d"},
    {"25a", "25b", nullptr, nullptr, "25c", "25d"},
    {"26a", "26b", nullptr, nullptr, "26c", "26d"},
    {nullptr, nullptr, nullptr, nullptr, "27a", "27b"},
    {nullptr, nullptr, nullptr, nullptr, "28a", "28b"},
    {nullptr, nullptr, nullptr, nullptr, "29a", "29b"},
};

// [row][group column] -> cell index, built once from the names above.
struct TablicaKomorek {
    int komorka[30][6];
    TablicaKomorek()
    {
        for (int w = 0; w < 30; ++w) {
            const KolumnyWiersza& k = kKolumny[w];
            const char* const nazwy[6] = {k.benzyna, k.lpg, k.gazFabryczny, k.gazInny, k.olej, k.biodiesel};
            for (int g = 0; g < 6; ++g)
                komorka[w][g] = nazwy[g] ? IndeksKomorkiTabeliD(QString::fromLatin1(nazwy[g])) : -1;
        }
    }
};

} // namespace

int KomorkaTabeliD(int wiersz, int paliwo, bool gaz)
{
    static const TablicaKomorek tablica;
    if (wiersz < 1 || wiersz > 29)
        return -1;
    int kolumna = -1;
    switch (GrupaPaliwaIndeksu(paliwo)) {
    case GrupaPaliwa::Benzyna: kolumna = 0; break;
    case GrupaPaliwa::Lpg: kolumna = 1; break;
    case GrupaPaliwa::Gaz: kolumna = gaz ? 2 : 3; break;
    case GrupaPaliwa::OlejNapedowy: kolumna = 4; break;
    case GrupaPaliwa::Biodiesel: kolumna = 5; break;
    case GrupaPaliwa::Brak: return -1;
    }
    return tablica.komorka[wiersz][kolumna];
}
