#pragma once
// Table D from the half-year's fuel purchases: every fuel record of the
// current company is classified by its vehicle, its litres are summed per
// (fuel, vehicle kind, row, factory gas) in aggregation slots, each slot's
// mass is rounded to 0.01 kg and added to its table D cell, and the cells are
// written into the period's table D row in Mg.

#include "DaneSrodowiska.h"
#include "KodyPaliw.h"
#include "KomorkiTabel.h"

#include <QList>

#include <unordered_map>
#include <vector>

// The key of an aggregation slot.
struct KluczPozycji {
    int paliwo = 0;        // fuel index; 0 marks an empty slot
    quint8 rodzaj = 0;     // vehicle kind
    int wiersz = 0;        // table D row, 0 for none
    bool gaz = false;      // factory gas installation
    bool operator==(const KluczPozycji&) const = default;
};

// One aggregation slot.
struct PozycjaZuzycia {
    KluczPozycji klucz;
    double litry = 0.0;
    double masa = 0.0;     // kilograms: density of the fuel x litres

    bool Pusta() const { return klucz.paliwo == 0; }
    // With `polacz` true: adds the litres when the slot is in use and has the
    // same key. With `polacz` false: takes the key and litres when the slot
    // is empty. True when the litres were taken; the mass is then recomputed.
    bool Dodaj(bool polacz, const KluczPozycji& k, double ilosc, GestosciPaliw& gestosci);
    void ObliczMase(GestosciPaliw& gestosci);
    void Wyczysc();
    void WyczyscIlosci();
};

class ZuzyciePaliwaDlaPolrocza {
public:
    static constexpr int LiczbaPozycji = 1500;

    // The density cache used for the masses; the shared one when none is given.
    explicit ZuzyciePaliwaDlaPolrocza(GestosciPaliw* gestosci = nullptr);

    // The whole computation: reads the half-year, and writes all 122 values
    // of the current period's table D row (left in edit state). Messages:
    // the half-year file cannot be opened; records whose vehicle is not in
    // the register (left out, one message with their number); fuels with
    // litres but no density (the row is then not written).
    void WypelnijTabeleD();
    // Half-year file, clearing, placing every fuel record, filling the cells;
    // false when the half-year file cannot be opened.
    bool Wczytaj();
    // All cells 0 and every slot cleared.
    void Wyczysc();
    void WyczyscMacierz();
    // Places litres under a key: merged into the slot of the same key, else
    // into the first free slot; with every slot in use the box "Zbyt mała
    // tablica rodzajów paliw !!!" is shown and false returned.
    bool Umiesc(const KluczPozycji& klucz, double litry);
    // Adds slot `nr`'s mass, rounded to 0.01 kg, to its cell.
    void DodajDoMacierzy(int nr);

    // Kilograms per cell, in cell order.
    const WartosciTabeliD& Macierz() const { return m_macierz; }
    // The values written into table D: each cell x 0.001, rounded to 0.01 Mg.
    WartosciTabeliD WartosciMg() const;
    const PozycjaZuzycia& Pozycja(int nr) const { return m_pozycje[static_cast<size_t>(nr)]; }
    int UzytePozycje() const { return m_uzyte; }

    // Of the last read: records left out because their vehicle is not in the
    // register, and the fuels (indexes) that have litres in a counted cell
    // but no density.
    int PominieteBezPojazdu() const { return m_pominiete; }
    const QList<int>& PaliwaBezGestosci() const { return m_bezGestosci; }

private:
    GestosciPaliw& Gestosci();

    GestosciPaliw* m_gestosci;
    WartosciTabeliD m_macierz{};
    std::vector<PozycjaZuzycia> m_pozycje;
    std::unordered_map<quint64, int> m_indeks; // key -> slot in use
    int m_uzyte = 0;
    int m_pominiete = 0;
    QList<int> m_bezGestosci;
};
