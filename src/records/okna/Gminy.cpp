#include "Gminy.h"

#include "Dane.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFGminy* FGminy = nullptr;

TFGminy::TFGminy(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FGminy"));
    setWindowTitle(QStringLiteral("Kartoteka gmin."));
    kal::TDataSource* z = DM ? DM->DGminy : nullptr;
    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->addColumn(QStringLiteral("NazwaGminy"), QStringLiteral("Nazwa gminy"));
    DBGrid1->addColumn(QStringLiteral("KodGminy"), QStringLiteral("KodGminy"));
    DBGrid1->addColumn(QStringLiteral("IdentyfikatorGminy"), QStringLiteral("IdentyfikatorGminy"))
        .setColor(QColor(QRgb(tekstyRejestrow::kolorInfo)));
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", z);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("&Użyj"));

    auto* panel = new QFormLayout;
    panel->addRow(QStringLiteral("Nazwa gminy:"), NowePole("DBEdit1", z, QStringLiteral("NazwaGminy")));
    panel->addRow(QStringLiteral("Kod gminy:"), NowePole("DBEdit2", z, QStringLiteral("KodGminy")));

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(DBNavigator1);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(panel);
    auto* dol = new QHBoxLayout;
    dol->addStretch(1);
    dol->addWidget(BitBtn2);
    dol->addWidget(BitBtn1);
    uklad->addLayout(dol);

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
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
    this->tryb = tryb;
    BitBtn2->setEnabled(tryb != 0);
    if (tryb == 1) {
        ZapamietajWywolanie(DM->TTabelaAGmina, DM->TTabelaAGminaIdentyfikatorGminy);
        const int klucz = DM->TTabelaAGmina->Active() ? DM->TTabelaAGminaIdentyfikatorGminy->AsInteger() : 0;
        PozycjonujNa(DM->TGminy, DM->TGminyIdentyfikatorGminy, klucz);
    } else {
        ZapomnijWywolanie();
    }
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn2, QStringLiteral("Uzyj"));
    int wynik = mrNone;
    {
        PowiazanieSiatki siatka(DBGrid1, DM->DGminy);
        wynik = PokazModalnie();
    }
    ZapomnijWywolanie();
    this->tryb = 0;
    return wynik;
}

void TFGminy::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFGminy::BitBtn2Click()
{
    Uzyj(DM->TGminy, DM->TGminyIdentyfikatorGminy, QStringLiteral("Najpierw zapisz lub porzuć nowe dane o gminie !!!"));
}
