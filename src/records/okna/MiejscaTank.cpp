#include "MiejscaTank.h"

#include "Dane.h"


TFMiejscaTankowania* FMiejscaTankowania = nullptr;

TFMiejscaTankowania::TFMiejscaTankowania(QWidget* parent) : TOknoWyboru(parent)
{
    setObjectName(QStringLiteral("FMiejscaTankowania"));
    setWindowTitle(QStringLiteral("Miejsca tankowanioa"));
    ZbudujRejestr(DM ? DM->DMiejscTank : nullptr, true,
                  {{"Nazwa", "Nazwa"}, {"Identyfikator", "Identyfikator", true, true}}, false);
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o miejscu tankowania ?"),
                             QStringLiteral("Czy chcesz dopisać nowe miejsce tankowania ?"),
                             QStringLiteral("Kontrola wprowadzania miejsc tankowania."), DM->TMiejscTank);
    if (!FMiejscaTankowania)
        FMiejscaTankowania = this;
}

TFMiejscaTankowania::~TFMiejscaTankowania()
{
    if (FMiejscaTankowania == this)
        FMiejscaTankowania = nullptr;
}

int TFMiejscaTankowania::Pokaz(int tryb)
{
    kal::TField* pole = tryb == 1 ? DM->TZuzycieMiejsceTankowania : nullptr;
    return PokazRejestr(tryb, {DM->TZuzycie, pole, DM->TMiejscTank, DM->TMiejscTankIdentyfikator}, DM->DMiejscTank, false);
}

void TFMiejscaTankowania::BitBtn2Click()
{
    Uzyj(DM->TMiejscTank, DM->TMiejscTankIdentyfikator,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o miejscu tankowania !!!"));
}
