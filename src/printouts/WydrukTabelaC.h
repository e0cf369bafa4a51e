#pragma once
// The statutory table C of one commune: fuel burnt in boilers, 19 positions
// in five groups, each with the number of boilers, the fuel used, the unit
// rate and the fee, and the total fee. One page for the current record of
// the quantity table (TTabelaC) with the rates of the period (TStawkiTabC)
// and the fees of the table C fee object.

#include "Report.h"
#include "ZrodloTabeli.h"

#include <QStringList>
#include <vector>

class OplatyTabelaC;

namespace kal {
class TTable;
}

// A line of table C: a group heading (no field) or a position.
struct PozycjaTabeliC {
    QString lp;
    QStringList opis;
    QString pole; // quantity and rate field; "LK" + pole is the boiler count
};

// The lines of table C, top to bottom.
const std::vector<PozycjaTabeliC>& PozycjeTabeliC();

class TQRTabelaC final : public kal::report::Report {
public:
    // `oplaty` null: the fee engine's table C fee object.
    explicit TQRTabelaC(kal::TTable* tabelaC = nullptr, kal::TTable* stawkiC = nullptr,
                        const OplatyTabelaC* oplaty = nullptr);

    void UstawTabele(kal::TTable* tabelaC, kal::TTable* stawkiC);
    void UstawOplaty(const OplatyTabelaC* oplaty) { m_oplaty = oplaty; }

    // Left edges of the columns (mm from the left margin): Lp., kind of
    // boiler, number of boilers, fuel used, unit rate, fee; [6] the right edge.
    static const double Kolumny[7];

private:
    void zbuduj();
    void przedWydrukiem();
    const OplatyTabelaC& oplaty() const;

    ZrodloTabeli m_ilosci;
    ZrodloTabeli m_stawki;
    const OplatyTabelaC* m_oplaty;
};

extern TQRTabelaC* QRTabelaC;
