#include "DaneSrodowiska.h"

#include "Exceptions.h"

namespace {

IDaneSrodowiska* g_dane = nullptr;

// Until the data module is connected, any access is a rule error.
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

} // namespace

IDaneSrodowiska& DaneSrodowiska()
{
    if (g_dane)
        return *g_dane;
    static BrakDanych brak;
    return brak;
}

void UstawDaneSrodowiska(IDaneSrodowiska* dane)
{
    g_dane = dane;
}
