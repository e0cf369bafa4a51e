#pragma once
// What the fee engine reads and writes in the data module, behind one small
// interface: the engine computes over plain values, and the data module's
// tables are reached only here. Tests install an implementation of their own.

#include "KlasyfikacjaPojazdow.h"
#include "KodyPaliw.h"
#include "KomorkiTabel.h"

#include <functional>
#include <vector>

// One fuel record of the half-year file, as the aggregation reads it.
struct ZapisZuzycia {
    int idPojazdu = 0;        // IdentyfikatorPojazdu
    QString rodzajPaliwa;     // RodzajPaliwa, the fuel kind code
    double iloscPaliwa = 0.0; // IloscPaliwa, litres
};

class IDaneSrodowiska {
public:
    virtual ~IDaneSrodowiska() = default;

    // Every row of the fuel density table (TTabelaGest), first to last.
    virtual std::vector<WierszGestosci> WierszeGestosci() = 0;

    // Switches the fuel table to the current period's half-year file; false
    // when that fails.
    virtual bool UstawZbiorZuzycia() = 0;
    // Why the last switch failed on the half-year file, naming the file (as
    // the engine tells it); empty when nothing more is known.
    virtual QString PrzyczynaBleduZbioruZuzycia() { return {}; }
    // Every vehicle of the register (TPojazdy) with its id.
    virtual void Pojazdy(const std::function<void(int id, const DanePojazdu&)>& wez) = 0;
    // Every fuel record of the current company in the half-year file, in the
    // fuel table's order.
    virtual void ZapisyZuzycia(const std::function<void(const ZapisZuzycia&)>& wez) = 0;
    // Writes the 122 table D values (Mg, in cell order) into the current
    // period's TTabelaD row and leaves it in edit state.
    virtual void ZapiszTabeleD(const WartosciTabeliD& wartosci) = 0;

    // The "statement window open" switches: the Tag of TTabelaC and TTabelaD.
    virtual int TagTabeliC() = 0;
    virtual int TagTabeliD() = 0;
    // The current records of TTabelaC/TStawkiTabC and TTabelaD/TStawkiTabD,
    // in fee order, read from the record buffer (an empty field reads as 0).
    virtual WartosciTabeliC IlosciTabeliC() = 0;
    virtual WartosciTabeliC StawkiTabeliC() = 0;
    virtual WartosciTabeliD IlosciTabeliD() = 0;
    virtual WartosciTabeliD StawkiTabeliD() = 0;
};

// The installed implementation; the data module's one when none is installed.
IDaneSrodowiska& DaneSrodowiska();
// Connects the engine to the data module `DM` the first time it meets it
// (nothing without a module, or when it is the one met last).
void PolaczModulDanych();
// Forgets the module met last: the next use connects to `DM` again.
void OdlaczModulDanych();
// Installs `dane` (not owned); nullptr restores the data module's one.
void UstawDaneSrodowiska(IDaneSrodowiska* dane);
