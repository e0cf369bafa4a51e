#include "MiejscaUz.h"

#include "Dane.h"


TFMiejscaUzutk* FMiejscaUzutk = nullptr;

TFMiejscaUzutk::TFMiejscaUzutk(QWidget* parent) : TOknoWyboru(parent)
{
    setObjectName(QStringLiteral("FMiejscaUzutk"));
    setWindowTitle(QStringLiteral("Miejsca użytkowania."));
    ZbudujRejestr(DM ? DM->DMiejsceUz : nullptr, true,
                  {{"Nazwa", "Nazwa"}, {"Identyfiklator", "Identyfiklator", true, true}}, false);
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o miejscu użytkowania ?"),
                             QStringLiteral("Czy chcesz dopisać nowe miejsce użytkowania ?"),
                             QStringLiteral("Kontrola wprowadzania miejsc użytkowania."), DM->TMiejsceUz);
    if (!FMiejscaUzutk)
        FMiejscaUzutk = this;
}

TFMiejscaUzutk::~TFMiejscaUzutk()
{
    if (FMiejscaUzutk == this)
        FMiejscaUzutk = nullptr;
}

int TFMiejscaUzutk::Pokaz(int tryb)
{
    // Mode 1 is called by the vehicle window, mode 2 by the fuel-use window.
    TWywolanieRejestru w{nullptr, nullptr, DM->TMiejsceUz, DM->TMiejsceUzIdentyfiklator};
    if (tryb == 1)
        w = {DM->TPojazdy, DM->TPojazdyMiejsceUzytkowania, w.rejestr, w.id};
    else if (tryb == 2)
        w = {DM->TZuzycie, DM->TZuzycieMiejsceUzytkowania, w.rejestr, w.id};
    return PokazRejestr(tryb, w, DM->DMiejsceUz, false);
}

void TFMiejscaUzutk::BitBtn2Click()
{
    Uzyj(DM->TMiejsceUz, DM->TMiejsceUzIdentyfiklator,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o miejscu użytkowania !!!"));
}
