#include "FunkcjeSrodowiska.h"

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
