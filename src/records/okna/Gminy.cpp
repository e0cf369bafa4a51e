#include "Gminy.h"

#include "Dane.h"

#include <QFormLayout>

TFGminy* FGminy = nullptr;

TFGminy::TFGminy(QWidget* parent) : TOknoWyboru(parent)
{
    setObjectName(QStringLiteral("FGminy"));
    setWindowTitle(QStringLiteral("Kartoteka gmin."));
    kal::TDataSource* z = DM ? DM->DGminy : nullptr;
    QFormLayout* panel = ZbudujRejestr(z, false,
                                       {{"NazwaGminy", "Nazwa gminy"},
                                        {"KodGminy", "KodGminy"},
                                        {"IdentyfikatorGminy", "IdentyfikatorGminy", true}},
                                       true);
    DodajPola(panel, z, {{"Nazwa gminy:", "DBEdit1", "NazwaGminy"}, {"Kod gminy:", "DBEdit2", "KodGminy"}});
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o gminie ?"),
                             QStringLiteral("Czy chcesz dopisać nowa gminę ?"),
                             QStringLiteral("Kontrola wprowadzania gmin."), DM->TGminy);
    if (!FGminy)
        FGminy = this;
}

TFGminy::~TFGminy()
{
    if (FGminy == this)
        FGminy = nullptr;
}

int TFGminy::Pokaz(int tryb)
{
    kal::TField* pole = tryb == 1 ? DM->TTabelaAGminaIdentyfikatorGminy : nullptr;
    return PokazRejestr(tryb, {DM->TTabelaAGmina, pole, DM->TGminy, DM->TGminyIdentyfikatorGminy}, DM->DGminy, true);
}

void TFGminy::BitBtn2Click()
{
    Uzyj(DM->TGminy, DM->TGminyIdentyfikatorGminy, QStringLiteral("Najpierw zapisz lub porzuć nowe dane o gminie !!!"));
}
