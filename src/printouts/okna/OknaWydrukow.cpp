#include "OknaWydrukow.h"

#include "ParWNaprPrz.h"
#include "ParWydrPojazdow.h"
#include "ParZuzMiejscTank.h"
#include "SamDoPrzegl.h"

void UtworzOknaWydrukow(TDM& dm, QWidget* parent)
{
    ZwolnijOknaWydrukow();
    FParWydrPoj = new TFParWydrPoj(dm, parent);
    FParWydrZuzMiejTank = new TFParWydrZuzMiejTank(dm, parent);
    FParWydrNaprawiPrzegl = new TFParWydrNaprawiPrzegl(dm, parent);
    FSamochodyDoPrzegladu = new TFSamochodyDoPrzegladu(parent);
}

void ZwolnijOknaWydrukow()
{
    delete FParWydrPoj;
    FParWydrPoj = nullptr;
    delete FParWydrZuzMiejTank;
    FParWydrZuzMiejTank = nullptr;
    delete FParWydrNaprawiPrzegl;
    FParWydrNaprawiPrzegl = nullptr;
    delete FSamochodyDoPrzegladu;
    FSamochodyDoPrzegladu = nullptr;
}
