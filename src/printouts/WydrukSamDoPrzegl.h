#pragma once
// The vehicles whose next technical inspection is near on the current day,
// by date or by mileage; the rows are the vehicles of the register, each
// decided on in its own band.

#include "Report.h"
#include "ZrodloTabeli.h"

class TDM;

class TQRSamochodyDoPrzegladu final : public kal::report::Report {
public:
    explicit TQRSamochodyDoPrzegladu(TDM& dm);

    // What the parameter window hands over: days and kilometres before the
    // inspection, and whether every vehicle with the data is printed.
    int Dni = 30;
    int Km = 1000;
    bool Wszystkie = false;

    // Titles the report with today's date and prints or previews it under
    // "Wydruk samochodów dp przeglądu."; the current vehicle stays current.
    void PrzygotujIDrukuj(bool podglad);

private:
    void zbuduj();
    void przedWierszem(kal::report::Band& b, bool& drukuj);
    TDM& m_dm;
    ZrodloTabeli m_pojazdy;
};

extern TQRSamochodyDoPrzegladu* QRSamochodyDoPrzegladu;
