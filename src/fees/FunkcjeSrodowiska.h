#pragma once
// The fee engine's shared objects, one of each for the whole run: the fuel
// density cache, the half-year fuel aggregator, and the table C and table D
// fee objects. Each is built on first use, empty and without computing.

#include "KodyPaliw.h"
#include "OplatyTabel.h"
#include "ZuzyciePaliwaDlaPolrocza.h"

GestosciPaliw& Gestosci();
ZuzyciePaliwaDlaPolrocza& ZuzyciePaliwa();
OplatyTabelaC& OplatyC();
OplatyTabelaD& OplatyD();
