#pragma once
// A working list of the current company's fuel purchases in the half-year
// file, filtered by refuelling place, place of use, registration number and
// months, with the value of each purchase, the totals and the quantity per
// fuel kind.

#include "Report.h"
#include "ZrodloTabeli.h"

#include <array>

class TDM;

class TQRZyzyciePaliwa final : public kal::report::Report {
public:
    explicit TQRZyzyciePaliwa(TDM& dm);

    // What the parameter window hands over; the chosen places are the
    // current rows of the refuelling places and the places of use.
    bool WszystkieMiejscaTankowania = true;
    bool WszystkieMiejscaUzytkowania = true;
    QString NumerRejestracyjnyFiltru;
    int McOd = 1;
    int McDo = 12;

    // Titles the list and prints or previews it under "Wydruk zużycia paliwa.".
    void PrzygotujIDrukuj(bool podglad);

    // The fuel names of the summary, in the order of the codes "1".."6", "a", "b", "c".
    static const std::array<QString, 9>& NazwyPaliw();

    int MiejsceTankowania = -1;
    int MiejsceUzytkowania = -1;
    QString NumerRejestracyjny;
    double IloscRazem = 0.0;
    double WartoscRazem = 0.0;
    std::array<double, 9> IlosciPaliw{};

    // Left edges of the columns (mm from the left margin), [8] the right edge:
    // vehicle, refuelling place, invoice, date, quantity, fuel, price, value.
    static const double Kolumny[9];

private:
    void zeruj();
    bool przepusc() const;
    void przedWierszem(kal::report::Band& b, bool& drukuj);
    TDM& m_dm;
    ZrodloTabeli m_zuzycie;
};

extern TQRZyzyciePaliwa* QRZyzyciePaliwa;
