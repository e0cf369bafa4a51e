#include "OknaWydrukow.h"

#include "ParWNaprPrz.h"
#include "ParWydrPojazdow.h"
#include "ParZuzMiejscTank.h"
#include "SamDoPrzegl.h"

void UtworzOknaWydrukow(TDM& dm, QWidget* parent)
{
    ZwolnijOknaWydrukow();
    new TFParWydrPoj(&dm, parent);
    new TFParWydrZuzMiejTank(&dm, parent);
    new TFParWydrNaprawiPrzegl(&dm, parent);
    new TFSamochodyDoPrzegladu(parent);
}

void ZwolnijOknaWydrukow()
{
    // Each window clears its own pointer.
    delete FParWydrPoj;
    delete FParWydrZuzMiejTank;
    delete FParWydrNaprawiPrzegl;
    delete FSamochodyDoPrzegladu;
}
