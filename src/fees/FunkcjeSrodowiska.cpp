#include "FunkcjeSrodowiska.h"

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
    Gestosci().Wyczysc();
    if (!DM)
        return;
    DM->PrzeliczTabeleC = [] { OplatyC().Przelicz(); };
    DM->PrzeliczTabeleD = [] { OplatyD().Przelicz(); };
}

void ZwolnijFunkcjeSrodowiska()
{
    if (DM) {
        DM->PrzeliczTabeleC = nullptr;
        DM->PrzeliczTabeleD = nullptr;
    }
    Gestosci().Wyczysc();
}
