#pragma once
// The company of the benchmarks that go through the data module.

#include "Dane.h"

#include <QString>

namespace kal::bench {

// Posts the company "Ruvelkon sp. z o.o." and its period 2009/1 through the
// data module, which is left on both.
inline void FirmaZOkresem(TDM& dm)
{
    dm.TFirma->Insert();
    dm.TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
    dm.TFirma->Post();
    dm.TOkres->Insert();
    dm.TOkresRok->setAsInteger(2009);
    dm.TOkresPolrocze->setAsInteger(1);
    dm.TOkres->Post();
}

} // namespace kal::bench
