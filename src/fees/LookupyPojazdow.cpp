#include "LookupyPojazdow.h"

#include "Dane.h"
#include "Funkcje.h"

void DanePojazduDoPrzegladu::Wyczysc()
{
    Znaleziony = false;
    Data = DataKalendarzowa();
    DataNastepnego = DataKalendarzowa();
    Km = 0.0;
    KmDoPrzegladu = 0.0;
}

void DanePojazduDoPrzegladu::Wczytaj(TDM* dm)
{
    Wyczysc();
    TDM& m = dm ? *dm : *DM;
    for (m.TPrzegl->First(); !m.TPrzegl->Eof(); m.TPrzegl->Next()) {
        if (m.TPrzeglDataNastepnegoPrzegladu->IsNull())
            continue;
        Znaleziony = true;
        Data = m.TPrzeglData;
        DataNastepnego = m.TPrzeglDataNastepnegoPrzegladu;
        Km = PoleNaLiczbe(m.TPrzeglIloscKm);
        KmDoPrzegladu = Km + PoleNaLiczbe(m.TPojazdyIloscKmMiedzyPrzegl);
    }
}

void PrzebiegSamochodu::Wyczysc()
{
    Znaleziony = false;
    Data = DataKalendarzowa();
    Km = 0.0;
}

void PrzebiegSamochodu::Wczytaj(TDM* dm)
{
    Wyczysc();
    TDM& m = dm ? *dm : *DM;
    for (m.TPrzegl->First(); !m.TPrzegl->Eof(); m.TPrzegl->Next()) {
        const double km = PoleNaLiczbe(m.TPrzeglIloscKm);
        if (km > Km) {
            Znaleziony = true;
            Km = km;
            Data = m.TPrzeglData;
        }
    }
    for (m.TPrzebieg->First(); !m.TPrzebieg->Eof(); m.TPrzebieg->Next()) {
        const double km = PoleNaLiczbe(m.TPrzebiegIloscKilometrow);
        if (km > Km) {
            Znaleziony = true;
            Km = km;
            Data = m.TPrzebiegData;
        }
    }
}
