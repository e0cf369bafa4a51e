#pragma once
// The settlement of the current half-year on one landscape page set: a line
// for every table D cell with a quantity, a line for every table C group with
// a fee (summed over every commune of the period), the table A total and the
// total fee of the half-year. No dataset drives it: its before-print event
// fills the memos from the current table D record, every commune record of
// table C, the rate records and the table A preparation.

#include "Report.h"

#include <QString>
#include <vector>

class TDM;
class TQRWydrukTabeliA;

namespace kal {
class TField;
}

// A line of the table D part: the row label and, per cell of the row, its
// field name and the name of its fuel.
struct WierszRozliczeniaD {
    QString etykieta;
    std::vector<std::pair<QString, QString>> komorki;
};

// The 32 table D rows in order (the reserves have no line).
const std::vector<WierszRozliczeniaD>& WierszeRozliczeniaD();
// The labels of the table C groups I..V.
const std::vector<QString>& GrupyRozliczeniaC();

class TQRRozliczPolrocze final : public kal::report::Report {
public:
    // `tabelaA` null: the program's table A form.
    explicit TQRRozliczPolrocze(TDM& dm, TQRWydrukTabeliA* tabelaA = nullptr);

    // Appends one table D line when the quantity is above the zero tolerance.
    void DodajPozycje(const QString& etykieta, const QString& paliwo, const kal::TField* ilosc,
                      const kal::TField* stawka, const QString& oplata);

    // Left edges of the four columns (mm from the left margin) and [4] the
    // right edge: description, quantity, rate, fee.
    static const double Kolumny[5];

private:
    void zbuduj();
    void QuickRepBeforePrint();
    kal::report::Memo* memo(int nr) const;

    TDM& m_dm;
    TQRWydrukTabeliA* m_tabelaA;
};

extern TQRRozliczPolrocze* QRRozliczPolrocze;
