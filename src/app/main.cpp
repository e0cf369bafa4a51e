#include "FunkcjeSrodowiska.h"
#include "Start.h"

int main(int argc, char** argv)
{
    // The fee engine's shared objects exist before the program starts and
    // outlive it.
    InicjalizujFunkcjeSrodowiska();
    const int wynik = UruchomKalmore(argc, argv);
    ZwolnijFunkcjeSrodowiska();
    return wynik;
}
