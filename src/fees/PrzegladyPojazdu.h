#pragma once
// What the reports ask about the current vehicle of TPojazdy: its last
// inspection with the date and the odometer reading at which the next one is
// due, and the highest odometer reading on record. Both read the vehicle's
// inspection rows (TPrzegl) and mileage rows (TPrzebieg), the details of the
// current vehicle, and leave them standing at their end.

#include "Funkcjedatyiczasu.h"

class DanePojazduDoPrzegladu {
public:
    bool znaleziony = false;      // an inspection with a next-inspection date exists
    DataKalendarzowa data;        // Data of that inspection
    DataKalendarzowa dataNastepnego; // its DataNastepnegoPrzegladu
    double km = 0.0;              // its IloscKm
    double kmNastepnego = 0.0;    // km + the vehicle's IloscKmMiedzyPrzegl

    DanePojazduDoPrzegladu() { Wyczysc(); }
    // The last inspection (in the order date, then invoice number) that names
    // a next-inspection date; the empty state when there is none. An empty or
    // non-numeric reading counts as 0.
    void Wczytaj();
    void Wyczysc();
};

class PrzebiegSamochodu {
public:
    bool znaleziony = false; // a reading above 0 exists
    DataKalendarzowa data;   // the date of the highest reading
    double km = 0.0;         // the highest reading

    PrzebiegSamochodu() { Wyczysc(); }
    // The highest reading of the inspection rows and then the mileage rows;
    // among equal readings the first met wins (an inspection before a mileage
    // row). Readings of 0 or less are never taken.
    void Wczytaj();
    void Wyczysc();
};
