#pragma once
// The fee engine's shared objects, one of each for the whole run: the fuel
// density cache, the half-year fuel aggregator, the registration-number index,
// and the table C and table D fee objects. Each is built on first use, empty
// and without computing.

#include "IndeksPojazdow.h"
#include "KodyPaliw.h"
#include "OplatyTabel.h"
#include "ZuzyciePaliwaDlaPolrocza.h"

GestosciPaliw& Gestosci();
ZuzyciePaliwaDlaPolrocza& ZuzyciePaliwa();
// The registration-number index of the data module `DM`: emptied whenever
// the engine meets a new data module, so that it never gives the vehicles of
// another data directory.
Pojazdy& IndeksPojazdow();
OplatyTabelaC& OplatyC();
OplatyTabelaD& OplatyD();

// The fuel index of the current fuel record's `RodzajPaliwa` (0 without a
// data module).
int KodPaliwaZuzycia();

// Connects the fee engine to the data module `DM` once it exists: a value
// typed into a table C or table D quantity or rate then recomputes the
// matching fee object (while its window is open), a saved vehicle enters the
// registration-number index, and the density cache and the index are read
// afresh from the module's tables. The engine also connects itself the
// first time it reaches a new data module.
void InicjalizujFunkcjeSrodowiska();
// Cuts that connection before the data module goes.
void ZwolnijFunkcjeSrodowiska();
