#pragma once
// "Załącznik nr 1": the summary of the period's statement, with the company,
// the period and the fee of each kind of use of the environment, its group
// totals and the grand total. One page from the current records of the
// company (TFirma), the period (TOkres) and the annex (TZalacznik1).

#include "Report.h"
#include "ZrodloTabeli.h"

#include <QStringList>
#include <vector>

namespace kal {
class TTable;
}

// A line of the annex table: its number, text lines, the name and caption
// of its table-code label (none for a total) and the annex field it prints.
struct PozycjaZalacznika1 {
    QString lp;
    QStringList opis;
    QString kod;        // code label, e.g. "K11"
    QString kodTekst;   // its caption, e.g. " A "
    QString pole;       // field of TZalacznik1
};

const std::vector<PozycjaZalacznika1>& PozycjeZalacznika1();

class TQRZalacznik1 final : public kal::report::Report {
public:
    explicit TQRZalacznik1(kal::TTable* firma = nullptr, kal::TTable* okres = nullptr,
                           kal::TTable* zalacznik1 = nullptr);

    void UstawTabele(kal::TTable* firma, kal::TTable* okres, kal::TTable* zalacznik1);

    // Left edges of the table's columns (mm): L.p., kind of use, table code,
    // fee; [4] the right edge.
    static const double Kolumny[5];

private:
    void zbuduj();
    void przedWydrukiem();

    ZrodloTabeli m_firma;
    ZrodloTabeli m_okres;
    ZrodloTabeli m_zalacznik;
};

extern TQRZalacznik1* QRZalacznik1;
