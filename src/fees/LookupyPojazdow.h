#pragma once
// Questions about the current vehicle of the vehicle register that the
// vehicle reports ask: its last inspection with a next date, and its highest
// recorded odometer reading. Both read the vehicle's inspection rows
// (TPrzegl) and mileage rows (TPrzebieg), which follow the current vehicle,
// and leave them at their end.

#include "Funkcjedatyiczasu.h"

class TDM;

class DanePojazduDoPrzegladu {
public:
    DanePojazduDoPrzegladu() { Wyczysc(); }
    // Fills the object for the current vehicle of `dm` (the program's data
    // module when null): the last inspection, in the inspection table's
    // order, that names a next inspection date.
    void Wczytaj(TDM* dm = nullptr);
    void Wyczysc();

    bool Znaleziony = false;
    DataKalendarzowa Data;
    DataKalendarzowa DataNastepnego;
    double Km = 0.0;
    double KmDoPrzegladu = 0.0; // Km + the vehicle's kilometres between inspections
};

class PrzebiegSamochodu {
public:
    PrzebiegSamochodu() { Wyczysc(); }
    // The highest reading above 0 of the current vehicle, inspections first,
    // then mileage rows; among equal readings the first met wins.
    void Wczytaj(TDM* dm = nullptr);
    void Wyczysc();

    bool Znaleziony = false;
    DataKalendarzowa Data;
    double Km = 0.0;
};
