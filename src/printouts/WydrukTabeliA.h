#pragma once
// Table A of the statement for the current period: for every source of every
// commune a page with the heading, the company and the place of use, the
// characteristics of the source, its substances with emission and fee and the
// source's fee total; then the fuels of the period, the fee sums per commune
// and the fee total of table A.
//
// The preparation writes the whole printout into the work table (TRoboczy),
// one row per printed block, its kind in `Calkowity` and its texts in
// `Pole1`..`Pole10`; the report's eleven chained bands print the rows, each
// band only for its own kind.

#include "Report.h"
#include "ZrodloTabeli.h"

class TDM;

// Kinds of the work-table rows.
enum RodzajWierszaTabeliA : int {
    WierszNaglowek = 0,      // company and place of use
    WierszNowaStrona = 1,    // page break after a source
    WierszZrodlo = 2,        // characteristics of the source
    WierszNaglowekSubst = 3, // substance table heading
    WierszSubstancja = 4,
    WierszSumaZrodla = 5,
    WierszNaglowekPaliw = 6,
    WierszPaliwo = 7,
    WierszNaglowekGmin = 8,
    WierszSumaGminy = 9,
    WierszRazem = 10,
};

class TQRWydrukTabeliA final : public kal::report::Report {
public:
    explicit TQRWydrukTabeliA(TDM& dm);

    // Fills the work table for the current period and returns the fee total
    // of table A. Unless `tylkoSuma`, prints (or, with `podglad`, previews)
    // the report under the title "Wydruk Tabeli A.". Leaves the table A
    // cursors and the source register at their ends.
    double PrzygotujIDrukuj(bool podglad, bool tylkoSuma);

    // Left edges of the columns (mm from the left margin), the last entry
    // being the right edge: the source table (8 columns), the substance
    // table (7), the fuel table (6) and the commune summary (3).
    static const double KolumnyZrodla[9];
    static const double KolumnySubstancji[8];
    static const double KolumnyPaliw[7];
    static const double KolumnyGmin[4];

    int LicznikWierszy = 0;
    int NumerMiejsca = 0;
    int NumerZrodla = 0;

private:
    void zbuduj();
    void zapiszWiersz(int rodzaj, const QStringList& pola);
    QString pole(int nr) const;
    bool wierszRodzaju(int rodzaj) const;

    TDM& m_dm;
    ZrodloTabeli m_roboczy;
    ZrodloTabeli m_firma;
};

extern TQRWydrukTabeliA* QRWydrukTabeliA;
