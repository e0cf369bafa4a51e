#include "PrzegladyPojazdu.h"

#include "Dane.h"
#include "Funkcje.h"

#include "Table.h"

void DanePojazduDoPrzegladu::Wyczysc()
{
    znaleziony = false;
    data = DataKalendarzowa();
    dataNastepnego = DataKalendarzowa();
    km = 0.0;
    kmNastepnego = 0.0;
}

void DanePojazduDoPrzegladu::Wczytaj()
{
    Wyczysc();
    if (!DM)
        return;
    kal::TTable& przeglady = *DM->TPrzegl;
    for (przeglady.First(); !przeglady.Eof(); przeglady.Next()) {
        if (DM->TPrzeglDataNastepnegoPrzegladu->IsNull())
            continue;
        znaleziony = true;
        data = DM->TPrzeglData;
        dataNastepnego = DM->TPrzeglDataNastepnegoPrzegladu;
        km = PoleNaLiczbe(DM->TPrzeglIloscKm);
        kmNastepnego = km + PoleNaLiczbe(DM->TPojazdyIloscKmMiedzyPrzegl);
    }
}

void PrzebiegSamochodu::Wyczysc()
{
    znaleziony = false;
    data = DataKalendarzowa();
    km = 0.0;
}

void PrzebiegSamochodu::Wczytaj()
{
    Wyczysc();
    if (!DM)
        return;
    const auto przejdz = [this](kal::TTable& tabela, kal::TField* pole, kal::TField* dataPola) {
        for (tabela.First(); !tabela.Eof(); tabela.Next()) {
            const double odczyt = PoleNaLiczbe(pole);
            if (odczyt > km) {
                znaleziony = true;
                km = odczyt;
                data = dataPola;
            }
        }
    };
    przejdz(*DM->TPrzegl, DM->TPrzeglIloscKm, DM->TPrzeglData);
    przejdz(*DM->TPrzebieg, DM->TPrzebiegIloscKilometrow, DM->TPrzebiegData);
}
