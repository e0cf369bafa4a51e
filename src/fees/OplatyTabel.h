#pragma once
// The fee objects of tables C and D: each cell's fee is its quantity times
// its unit rate, rounded to the grosz, with a ready-made text for labels and
// printouts ("### ### ##0.00"; a zero fee gives "0,00", never an empty text).

#include "KomorkiTabel.h"

#include <QString>

#include <array>
#include <functional>

// Texts of the table C fee object: the 24 fee texts, the total's text, and
// the five group-sum texts (groups I..V).
struct OplatyTabelaCTekst {
    std::array<QString, LiczbaPozycjiTabeliC> oplaty;
    QString razem;
    std::array<QString, 5> grupy;
};

class OplatyTabelaC {
public:
    // Builds the object with zero fees and empty texts; with `oblicz` true it
    // computes at once from the current table C records.
    explicit OplatyTabelaC(bool oblicz = false);

    // Recomputes everything from the current TTabelaC and TStawkiTabC records.
    void Oblicz();
    // The same from given quantities and rates, in fee order.
    void Oblicz(const WartosciTabeliC& ilosci, const WartosciTabeliC& stawki);
    // While the Tag of TTabelaC is not 0: Oblicz, and when that Tag is 1,
    // the table C window's refresh.
    void Przelicz();

    std::array<double, LiczbaPozycjiTabeliC> oplaty{};
    double razem = 0.0;              // all 24 fees, reserves included
    std::array<double, 5> grupy{};   // groups I, II, III, IV, V (no reserves)
    OplatyTabelaCTekst teksty;
};

class OplatyTabelaD {
public:
    explicit OplatyTabelaD(bool oblicz = false);

    // Recomputes the 122 fees and texts from the current TTabelaD and
    // TStawkiTabD records.
    void Oblicz();
    void Oblicz(const WartosciTabeliD& ilosci, const WartosciTabeliD& stawki);
    // While the Tag of TTabelaD is not 0: Oblicz, and when that Tag is 1,
    // the table D window's refresh.
    void Przelicz();
    // The sum of all 122 fees, reserves included, rounded to 2 decimals.
    double Razem() const;
    QString RazemTekst() const;

    std::array<double, LiczbaKomorekTabeliD> oplaty{};
    std::array<QString, LiczbaKomorekTabeliD> teksty;
};

// The text of a fee: "### ### ##0.00".
QString TekstOplaty(double oplata);

// The refresh of the table C and table D windows' labels, registered by the
// windows themselves (an empty function: nothing to refresh).
void UstawOdswiezanieTabeliC(std::function<void()> odswiez);
void UstawOdswiezanieTabeliD(std::function<void()> odswiez);
