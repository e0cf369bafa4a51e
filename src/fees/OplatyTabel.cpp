#include "OplatyTabel.h"

#include "DaneSrodowiska.h"
#include "Funkcje.h"
#include "NumberText.h"

namespace {

std::function<void()>& OdswiezanieC()
{
    static std::function<void()> f;
    return f;
}

std::function<void()>& OdswiezanieD()
{
    static std::function<void()> f;
    return f;
}

double Zaokraglij2(double x)
{
    return Zaokraglij(x, 2);
}

// Sum of fees [od, do] in extended precision, rounded once.
template <size_t N>
double Suma(const std::array<double, N>& oplaty, size_t od, size_t doIncl)
{
    long double s = 0.0L;
    for (size_t i = od; i <= doIncl; ++i)
        s += oplaty[i];
    return Zaokraglij2(static_cast<double>(s));
}

// The window's Tag: 0 closed, nothing is done; otherwise a recompute, and
// with exactly 1 the open window's labels are refreshed.
template <class Oplaty>
void PrzeliczGdyOtwarte(Oplaty& oplaty, int tag, const std::function<void()>& odswiez)
{
    if (tag == 0)
        return;
    oplaty.Oblicz();
    if (tag == 1 && odswiez)
        odswiez();
}

} // namespace

QString TekstOplaty(double oplata)
{
    return kal::FormatNumber(oplata, QStringLiteral("### ### ##0.00"));
}

void UstawOdswiezanieTabeliC(std::function<void()> odswiez)
{
    OdswiezanieC() = std::move(odswiez);
}

void UstawOdswiezanieTabeliD(std::function<void()> odswiez)
{
    OdswiezanieD() = std::move(odswiez);
}

OplatyTabelaC::OplatyTabelaC(bool oblicz)
{
    if (oblicz)
        Oblicz();
}

void OplatyTabelaC::Oblicz()
{
    IDaneSrodowiska& dane = DaneSrodowiska();
    Oblicz(dane.IlosciTabeliC(), dane.StawkiTabeliC());
}

void OplatyTabelaC::Oblicz(const WartosciTabeliC& ilosci, const WartosciTabeliC& stawki)
{
    for (size_t i = 0; i < oplaty.size(); ++i) {
        oplaty[i] = Zaokraglij2(ilosci[i] * stawki[i]);
        teksty.oplaty[i] = TekstOplaty(oplaty[i]);
    }
    razem = Suma(oplaty, 0, 23);
    teksty.razem = TekstOplaty(razem);

    // Groups I (I1..I5), II (II1..II3), III, IV (IV1..IV4), V (V1a..V3).
    static const size_t granice[5][2] = {{0, 5}, {6, 8}, {9, 9}, {10, 13}, {14, 18}};
    for (size_t g = 0; g < 5; ++g) {
        grupy[g] = Suma(oplaty, granice[g][0], granice[g][1]);
        teksty.grupy[g] = TekstOplaty(grupy[g]);
    }
}

void OplatyTabelaC::Przelicz()
{
    PrzeliczGdyOtwarte(*this, DaneSrodowiska().TagTabeliC(), OdswiezanieC());
}

OplatyTabelaD::OplatyTabelaD(bool oblicz)
{
    if (oblicz)
        Oblicz();
}

void OplatyTabelaD::Oblicz()
{
    IDaneSrodowiska& dane = DaneSrodowiska();
    Oblicz(dane.IlosciTabeliD(), dane.StawkiTabeliD());
}

void OplatyTabelaD::Oblicz(const WartosciTabeliD& ilosci, const WartosciTabeliD& stawki)
{
    for (size_t i = 0; i < oplaty.size(); ++i) {
        oplaty[i] = Zaokraglij2(ilosci[i] * stawki[i]);
        teksty[i] = TekstOplaty(oplaty[i]);
    }
}

void OplatyTabelaD::Przelicz()
{
    PrzeliczGdyOtwarte(*this, DaneSrodowiska().TagTabeliD(), OdswiezanieD());
}

double OplatyTabelaD::Razem() const
{
    return Suma(oplaty, 0, oplaty.size() - 1);
}

QString OplatyTabelaD::RazemTekst() const
{
    return TekstOplaty(Razem());
}
