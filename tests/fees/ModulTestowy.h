#pragma once
// The real data module on a fresh data directory, with the fee engine
// connected, for the tests of what the engine reads from the vehicle register.

#include "DataDir.h"
#include "FunkcjeSrodowiska.h"

#include "Table.h"

#include <gtest/gtest.h>

#include <QDate>

class ModulTestowy : public kal::test::DataDir {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DataDir::SetUp());
        InicjalizujFunkcjeSrodowiska();
    }
    void TearDown() override
    {
        ZwolnijFunkcjeSrodowiska();
        DataDir::TearDown();
    }

    // Posts a vehicle of kind `rodzaj` and gives its id.
    int Pojazd(const char* rodzaj, const QString& nr, const char* marka = "Fiat", int kmMiedzyPrzegl = -1)
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(QString::fromLatin1(rodzaj));
        dm->TPojazdyMarka->setAsString(QString::fromLatin1(marka));
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        if (kmMiedzyPrzegl >= 0)
            dm->TPojazdyIloscKmMiedzyPrzegl->setAsInteger(kmMiedzyPrzegl);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }
    // Puts TPojazdy on vehicle `id`.
    void NaPojezdzie(int id)
    {
        ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), id));
    }
    // An inspection of the current vehicle; an invalid `nastepny` leaves the
    // next-inspection date empty, a negative `km` the reading.
    void Przeglad(QDate data, const char* faktura, QDate nastepny, double km)
    {
        dm->TPrzegl->Insert();
        dm->TPrzeglData->setAsDateTime(data);
        dm->TPrzeglNrFaktury->setAsString(QString::fromLatin1(faktura));
        if (nastepny.isValid())
            dm->TPrzeglDataNastepnegoPrzegladu->setAsDateTime(nastepny);
        if (km >= 0)
            dm->TPrzeglIloscKm->setAsFloat(km);
        dm->TPrzegl->Post();
    }
    // A mileage row of the current vehicle.
    void Przebieg(QDate data, double km)
    {
        dm->TPrzebieg->Insert();
        dm->TPrzebiegData->setAsDateTime(data);
        dm->TPrzebiegIloscKilometrow->setAsFloat(km);
        dm->TPrzebieg->Post();
    }
};
