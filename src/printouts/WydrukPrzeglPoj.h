#pragma once
// The inspection state of every vehicle on the current day: last inspection
// and its mileage, next inspection, current mileage and the mileage at which
// the next inspection is due.

#include "Report.h"
#include "ZrodloTabeli.h"

class TDM;

class TQRPrzegladyPojazdow final : public kal::report::Report {
public:
    explicit TQRPrzegladyPojazdow(TDM& dm);
    // Titles the report with today's date and prints or previews it under
    // "Wydruk przeglądów pojazdów.".
    void PrzygotujIDrukuj(bool podglad);

private:
    void przedWierszem(kal::report::Band& b, bool& drukuj);
    TDM& m_dm;
    ZrodloTabeli m_pojazdy;
};

extern TQRPrzegladyPojazdow* QRPrzegladyPojazdow;
