#include "FunkcjeSrodowiska.h"

#include "DaneSrodowiska.h"

#include "Dane.h"

GestosciPaliw& Gestosci()
{
    static GestosciPaliw gestosci;
    return gestosci;
}

ZuzyciePaliwaDlaPolrocza& ZuzyciePaliwa()
{
    static ZuzyciePaliwaDlaPolrocza zuzycie;
    return zuzycie;
}

namespace {

Pojazdy& Indeks()
{
    static Pojazdy indeks;
    return indeks;
}

} // namespace

Pojazdy& IndeksPojazdow()
{
    PolaczModulDanych();
    return Indeks();
}

OplatyTabelaC& OplatyC()
{
    static OplatyTabelaC oplaty(false);
    return oplaty;
}

OplatyTabelaD& OplatyD()
{
    static OplatyTabelaD oplaty(false);
    return oplaty;
}

int KodPaliwaZuzycia()
{
    return DM ? KodPaliwa(DM->TZuzycieRodzajPaliwa->AsString()) : 0;
}

void InicjalizujFunkcjeSrodowiska()
{
    // The five shared objects come into being in this order (and, being
    // function statics, go in the reverse order when the program ends).
    Gestosci();
    ZuzyciePaliwa();
    Indeks();
    OplatyC();
    OplatyD();
    Gestosci().Wyczysc();
    Indeks().Wyczysc();
    OdlaczModulDanych();
    if (!DM)
        return;
    DM->PrzeliczTabeleC = [] { OplatyC().Przelicz(); };
    DM->PrzeliczTabeleD = [] { OplatyD().Przelicz(); };
    DM->DodajPojazdDoIndeksu = [] { IndeksPojazdow().Dodaj(); };
    PolaczModulDanych();
}

void ZwolnijFunkcjeSrodowiska()
{
    if (DM) {
        DM->PrzeliczTabeleC = nullptr;
        DM->PrzeliczTabeleD = nullptr;
        DM->DodajPojazdDoIndeksu = nullptr;
    }
    Gestosci().Wyczysc();
    Indeks().Wyczysc();
    // The next use meets the module afresh and connects again.
    OdlaczModulDanych();
}
