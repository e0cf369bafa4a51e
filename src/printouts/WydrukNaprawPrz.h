#pragma once
// The repairs and inspections made in chosen months of a year, vehicle by
// vehicle: a vehicle line, then its rows of the period.

#include "Report.h"
#include "ZrodloTabeli.h"

class TDM;

class TQRNaprawyiPrzegl final : public kal::report::Report {
public:
    explicit TQRNaprawyiPrzegl(TDM& dm);

    // The year and months chosen in the parameter window.
    int Rok = 2000;
    int McOd = 1;
    int McDo = 12;

    // True when the current repair row's date lies in the year and months.
    bool WierszWOkresie() const;
    // Titles the report with the months and the year and prints or previews
    // it under "Wydruk napraw i przeglądów.".
    void PrzygotujIDrukuj(bool podglad);

    // Left edges (mm from the left margin): [0] the vehicle line, [1] the
    // invoice and date, [2] to [4] the works, parts and value; [5] the right edge.
    static const double Kolumny[6];

private:
    TDM& m_dm;
    ZrodloTabeli m_pojazdy;
    ZrodloTabeli m_przeglady;
};

extern TQRNaprawyiPrzegl* QRNaprawyiPrzegl;
