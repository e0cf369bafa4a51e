#pragma once
// A data source of the tests' own in place of the data module.

#include "DaneSrodowiska.h"

#include <map>

class DaneTestowe final : public IDaneSrodowiska {
public:
    DaneTestowe() { UstawDaneSrodowiska(this); }
    ~DaneTestowe() override { UstawDaneSrodowiska(nullptr); }

    std::vector<WierszGestosci> gestosci;
    int odczytyGestosci = 0;
    bool zbiorOtwarty = true;
    std::map<int, DanePojazdu> pojazdy;
    std::vector<ZapisZuzycia> zapisy;
    int zapisyTabeliD = 0;
    WartosciTabeliD tabelaD{};
    int tagC = 0;
    int tagD = 0;
    WartosciTabeliC ilosciC{}, stawkiC{};
    WartosciTabeliD ilosciD{}, stawkiD{};

    std::vector<WierszGestosci> WierszeGestosci() override
    {
        ++odczytyGestosci;
        return gestosci;
    }
    bool UstawZbiorZuzycia() override { return zbiorOtwarty; }
    void Pojazdy(const std::function<void(int, const DanePojazdu&)>& wez) override
    {
        for (const auto& [id, v] : pojazdy)
            wez(id, v);
    }
    void ZapisyZuzycia(const std::function<void(const ZapisZuzycia&)>& wez) override
    {
        for (const ZapisZuzycia& z : zapisy)
            wez(z);
    }
    void ZapiszTabeleD(const WartosciTabeliD& w) override
    {
        ++zapisyTabeliD;
        tabelaD = w;
    }
    int TagTabeliC() override { return tagC; }
    int TagTabeliD() override { return tagD; }
    WartosciTabeliC IlosciTabeliC() override { return ilosciC; }
    WartosciTabeliC StawkiTabeliC() override { return stawkiC; }
    WartosciTabeliD IlosciTabeliD() override { return ilosciD; }
    WartosciTabeliD StawkiTabeliD() override { return stawkiD; }

    // A vehicle of kind `rodzaj` with class, registration date, production
    // year and gas flag.
    static DanePojazdu Pojazd(const QString& rodzaj, const QString& euro = QString(), QDate rej = QDate(),
                              std::optional<int> rok = std::nullopt, const QString& gaz = QStringLiteral("N"))
    {
        return DanePojazdu{rodzaj, euro, rej, rok, gaz};
    }
};
