#pragma once
// The table C commune summary: one line per commune of the period (the
// records of the quantity table TTabelaC as the data module shows them),
// each with the total fee of its table C, and the grand total.

#include "Report.h"
#include "ZrodloTabeli.h"

#include <functional>

class OplatyTabelaC;

namespace kal {
class TTable;
}

class TQRZestTabC final : public kal::report::Report {
public:
    // The fees of each line are computed by a table C fee object of its
    // own, which reads the current record of the fee engine's table C, so
    // `tabelaC` must be that table.
    explicit TQRZestTabC(kal::TTable* tabelaC = nullptr);

    void UstawTabele(kal::TTable* tabelaC);

    // Left edges of the columns (mm): L.p., commune, fee total; [3] the right edge.
    static const double Kolumny[4];

    // The fees of the commune the table C stands on: its own quantities at
    // the period's rates.
    static OplatyTabelaC OplatyGminy();
    // Walks every commune of `tabelaC` as the summary does, handing each
    // commune's fees to `naGmine`; the table goes back to the commune it
    // stood on.
    static void DlaKazdejGminy(kal::TTable* tabelaC, const std::function<void(const OplatyTabelaC&)>& naGmine);

    double Suma() const { return m_suma; }
    int LiczbaWierszy() const { return m_licznik; }

private:
    void zbuduj();

    ZrodloTabeli m_tabelaC;
    double m_suma = 0.0; // the communes' fee totals printed so far
    int m_licznik = 0;   // detail lines printed so far
    qint64 m_znak = 0;   // the commune the table stood on before the run
};

extern TQRZestTabC* QRZestTabC;
