#pragma once
// The fee engine's access to the data module's tables, by field name.

#include "DaneSrodowiska.h"

#include <functional>

namespace kal {
class TTable;
}

// The table components that the fee engine reads and writes.
struct TabeleSrodowiska {
    kal::TTable* TTabelaGest = nullptr;
    kal::TTable* TZuzycie = nullptr;
    kal::TTable* TPojazdy = nullptr;
    kal::TTable* TTabelaC = nullptr;
    kal::TTable* TStawkiTabC = nullptr;
    kal::TTable* TTabelaD = nullptr;
    kal::TTable* TStawkiTabD = nullptr;
    // Switches TZuzycie to the current period's half-year file.
    std::function<bool()> UstawZbiorZuzycia;
    // Why its last switch failed on the file.
    std::function<QString()> PrzyczynaBleduZbioruZuzycia;
};

class DaneSrodowiskaTabel final : public IDaneSrodowiska {
public:
    explicit DaneSrodowiskaTabel(TabeleSrodowiska tabele) : m_t(std::move(tabele)) {}
    const TabeleSrodowiska& Tabele() const { return m_t; }

    // The density table from its first row to its end (left at its end).
    std::vector<WierszGestosci> WierszeGestosci() override;
    bool UstawZbiorZuzycia() override;
    QString PrzyczynaBleduZbioruZuzycia() override;
    // The whole register; the vehicle table comes back to the record it
    // stood on.
    void Pojazdy(const std::function<void(int, const DanePojazdu&)>& wez) override;
    // The fuel table from its first record to its end (left at its end).
    void ZapisyZuzycia(const std::function<void(const ZapisZuzycia&)>& wez) override;
    // Puts the table D row into edit state unless it is already being edited
    // or inserted, and sets every value field; the row is not posted.
    void ZapiszTabeleD(const WartosciTabeliD& wartosci) override;
    int TagTabeliC() override;
    int TagTabeliD() override;
    WartosciTabeliC IlosciTabeliC() override;
    WartosciTabeliC StawkiTabeliC() override;
    WartosciTabeliD IlosciTabeliD() override;
    WartosciTabeliD StawkiTabeliD() override;

private:
    TabeleSrodowiska m_t;
};
