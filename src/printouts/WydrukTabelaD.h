#pragma once
// The statutory table D: fuel burnt in combustion engines, one line per
// vehicle or machine class (32 rows in six layouts), with the fuel used, the
// unit rate and the fee of each fuel kind, and the total fee.
//
// The report has no dataset: its need-data event runs 34 records, record 0
// printing the heads, records 1 to 32 the rows, record 33 the total and the
// footnotes. It reads the current records of the quantity table (TTabelaD)
// and the rate table (TStawkiTabD) and the fees held by the table D fee
// object, which must have been computed for the same period.

#include "Report.h"
#include "ZrodloTabeli.h"

#include <QStringList>
#include <vector>

class OplatyTabelaD;

namespace kal {
class TTable;
}

// One row of table D: its layout (1..6), its row text lines and the
// cell codes of its fuel columns a, b, c ... in order.
struct OpisWierszaTabeliD {
    int uklad = 0;
    QStringList opis;
    QStringList komorki;
};

// The 32 rows, row 1 first.
const std::vector<OpisWierszaTabeliD>& OpisyWierszyTabeliD();
// The fuel kinds of layout 1..6, one entry (of one or more lines) per column.
const std::vector<QStringList>& PaliwaUkladuTabeliD(int uklad);

class TQRTabelaD final : public kal::report::Report {
public:
    // `oplaty` null: the fee engine's table D fee object.
    explicit TQRTabelaD(kal::TTable* tabelaD = nullptr, kal::TTable* stawkiD = nullptr,
                        const OplatyTabelaD* oplaty = nullptr);

    void UstawTabele(kal::TTable* tabelaD, kal::TTable* stawkiD);
    void UstawOplaty(const OplatyTabelaD* oplaty) { m_oplaty = oplaty; }

    // Left edges of the columns (mm from the left margin): 1 Lp., 2 the
    // row text, 3 the fuel kind, 4 fuel used, 5 unit rate, 6 fee; [6]
    // is the right edge of the table.
    static const double Kolumny[7];

    // Number of the current record: -1 before the run, then 0 to 33.
    int Licznik() const { return m_licznik; }

private:
    void zbuduj();
    void zbudujNaglowek();
    void zbudujWiersz(int uklad, kal::report::Band* band);
    void zbudujRazem(kal::report::Band* band);
    void wypelnijWiersz(int uklad, kal::report::Band& band, bool& drukuj);
    const OplatyTabelaD& oplaty() const;

    ZrodloTabeli m_ilosci;
    ZrodloTabeli m_stawki;
    const OplatyTabelaD* m_oplaty;
    int m_licznik = -1;
};

// The form, created with the program's other forms.
extern TQRTabelaD* QRTabelaD;
