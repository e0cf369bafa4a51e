#include "Substancje.h"

#include "Dane.h"

#include <QFormLayout>

TFSubstancje* FSubstancje = nullptr;

TFSubstancje::TFSubstancje(QWidget* parent) : TOknoWyboru(parent)
{
    setObjectName(QStringLiteral("FSubstancje"));
    setWindowTitle(QStringLiteral("Kartoteka substancji wprowadzanych do powietrza"));
    kal::TDataSource* z = DM ? DM->DSubstancje : nullptr;
    QFormLayout* panel = ZbudujRejestr(z, false,
                                       {{"NazwaSubstancji", "Nazwa substancji"},
                                        {"KodSubstancji", "Kod substancji"},
                                        {"JednostkowaStawka", "Stawka jednostkowa"},
                                        {"IdentyfikatorSubstancju", "Identyfikator"}},
                                       true);
    DodajPola(panel, z,
              {{"Nazwa substancji:", "DBEdit1", "NazwaSubstancji"},
               {"Kod substancji:", "DBEdit2", "KodSubstancji"},
               {"Stawka jednostkowa:", "DBEdit3", "JednostkowaStawka"}});
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o substancjach ?"),
                             QStringLiteral("Czy chcesz dopisać nową substancję ?"),
                             QStringLiteral("Kontrola wprowadzania substancji."), DM->TSubsatncje);
    if (!FSubstancje)
        FSubstancje = this;
}

TFSubstancje::~TFSubstancje()
{
    if (FSubstancje == this)
        FSubstancje = nullptr;
}

int TFSubstancje::Pokaz(int tryb)
{
    kal::TField* pole = tryb == 1 ? DM->TTabelaASubstancjeIdentyfikatorSubstancji : nullptr;
    return PokazRejestr(tryb, {DM->TTabelaASubstancje, pole, DM->TSubsatncje, DM->TSubsatncjeIdentyfikatorSubstancju},
                        DM->DSubstancje, true);
}

void TFSubstancje::BitBtn2Click()
{
    Uzyj(DM->TSubsatncje, DM->TSubsatncjeIdentyfikatorSubstancju,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o substancjach !!!"));
}
