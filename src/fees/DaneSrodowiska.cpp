#include "DaneSrodowiska.h"

#include "DaneSrodowiskaTabel.h"
#include "Exceptions.h"
#include "FunkcjeSrodowiska.h"

#include "Dane.h"

#include <memory>

namespace {

IDaneSrodowiska* g_dane = nullptr;

// Without a data module, any access is a rule error.
class BrakDanych final : public IDaneSrodowiska {
    [[noreturn]] static void Brak() { throw kal::Exception(QStringLiteral("Brak modułu danych !!!")); }

public:
    std::vector<WierszGestosci> WierszeGestosci() override { Brak(); }
    bool UstawZbiorZuzycia() override { Brak(); }
    void Pojazdy(const std::function<void(int, const DanePojazdu&)>&) override { Brak(); }
    void ZapisyZuzycia(const std::function<void(const ZapisZuzycia&)>&) override { Brak(); }
    void ZapiszTabeleD(const WartosciTabeliD&) override { Brak(); }
    int TagTabeliC() override { return 0; }
    int TagTabeliD() override { return 0; }
    WartosciTabeliC IlosciTabeliC() override { Brak(); }
    WartosciTabeliC StawkiTabeliC() override { Brak(); }
    WartosciTabeliD IlosciTabeliD() override { Brak(); }
    WartosciTabeliD StawkiTabeliD() override { Brak(); }
};

TabeleSrodowiska TabeleModulu(TDM& dm)
{
    TabeleSrodowiska t;
    t.TTabelaGest = dm.TTabelaGest;
    t.TZuzycie = dm.TZuzycie;
    t.TPojazdy = dm.TPojazdy;
    t.TTabelaC = dm.TTabelaC;
    t.TStawkiTabC = dm.TStawkiTabC;
    t.TTabelaD = dm.TTabelaD;
    t.TStawkiTabD = dm.TStawkiTabD;
    t.UstawZbiorZuzycia = [&dm] { return dm.UstawZbiorZuzycia(); };
    t.PrzyczynaBleduZbioruZuzycia = [&dm] { return dm.PrzyczynaBleduZbioruZuzycia(); };
    return t;
}

} // namespace

namespace {

// The tables of the data module the engine last met, and that module's number.
std::unique_ptr<DaneSrodowiskaTabel>& TabeleOstatniegoModulu()
{
    static std::unique_ptr<DaneSrodowiskaTabel> tabele;
    return tabele;
}
quint64 g_numerModulu = 0;

} // namespace

void PolaczModulDanych()
{
    if (!DM)
        return;
    std::unique_ptr<DaneSrodowiskaTabel>& tabele = TabeleOstatniegoModulu();
    if (tabele && g_numerModulu == DM->Numer)
        return;
    g_numerModulu = DM->Numer;
    tabele = std::make_unique<DaneSrodowiskaTabel>(TabeleModulu(*DM));
    // A new module: its densities and its vehicles are read afresh, its typed
    // fee values recompute the fee objects from now on, and its saved vehicles
    // enter the index. (The tables are remembered first, so the index's own
    // call back here finds them the same.)
    Gestosci().Wyczysc();
    IndeksPojazdow().Wyczysc();
    if (!DM->PrzeliczTabeleC)
        DM->PrzeliczTabeleC = [] { OplatyC().Przelicz(); };
    if (!DM->PrzeliczTabeleD)
        DM->PrzeliczTabeleD = [] { OplatyD().Przelicz(); };
    if (!DM->DodajPojazdDoIndeksu)
        DM->DodajPojazdDoIndeksu = [] { IndeksPojazdow().Dodaj(); };
}

void OdlaczModulDanych()
{
    TabeleOstatniegoModulu().reset();
}

IDaneSrodowiska& DaneSrodowiska()
{
    if (g_dane)
        return *g_dane;
    if (DM) {
        PolaczModulDanych();
        return *TabeleOstatniegoModulu();
    }
    static BrakDanych brak;
    return brak;
}

void UstawDaneSrodowiska(IDaneSrodowiska* dane)
{
    g_dane = dane;
}
