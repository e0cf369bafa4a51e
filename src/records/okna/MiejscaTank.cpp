#include "MiejscaTank.h"

#include "Dane.h"

#include <QPushButton>

TFMiejscaTankowania* FMiejscaTankowania = nullptr;

TFMiejscaTankowania::TFMiejscaTankowania(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FMiejscaTankowania"));
    setWindowTitle(QStringLiteral("Miejsca tankowanioa"));
    ZbudujRejestr(DBGrid1, DBNavigator1, BitBtn1, BitBtn2, DM ? DM->DMiejscTank : nullptr, true,
                  {{"Nazwa", "Nazwa"}, {"Identyfikator", "Identyfikator", true, true}}, false);
    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
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

void TFMiejscaTankowania::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFMiejscaTankowania::BitBtn2Click()
{
    Uzyj(DM->TMiejscTank, DM->TMiejscTankIdentyfikator,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o miejscu tankowania !!!"));
}
