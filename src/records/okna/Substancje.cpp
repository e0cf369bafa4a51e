#include "Substancje.h"

#include "Dane.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFSubstancje* FSubstancje = nullptr;

TFSubstancje::TFSubstancje(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FSubstancje"));
    setWindowTitle(QStringLiteral("Kartoteka substancji wprowadzanych do powietrza"));
    kal::TDataSource* z = DM ? DM->DSubstancje : nullptr;
    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->addColumn(QStringLiteral("NazwaSubstancji"), QStringLiteral("Nazwa substancji"));
    DBGrid1->addColumn(QStringLiteral("KodSubstancji"), QStringLiteral("Kod substancji"));
    DBGrid1->addColumn(QStringLiteral("JednostkowaStawka"), QStringLiteral("Stawka jednostkowa"));
    DBGrid1->addColumn(QStringLiteral("IdentyfikatorSubstancju"), QStringLiteral("Identyfikator"));
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", z);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("&Użyj"));

    auto* panel = new QFormLayout;
    panel->addRow(QStringLiteral("Nazwa substancji:"), NowePole("DBEdit1", z, QStringLiteral("NazwaSubstancji")));
    panel->addRow(QStringLiteral("Kod substancji:"), NowePole("DBEdit2", z, QStringLiteral("KodSubstancji")));
    panel->addRow(QStringLiteral("Stawka jednostkowa:"), NowePole("DBEdit3", z, QStringLiteral("JednostkowaStawka")));

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
    this->tryb = tryb;
    BitBtn2->setEnabled(tryb != 0);
    if (tryb == 1) {
        ZapamietajWywolanie(DM->TTabelaASubstancje, DM->TTabelaASubstancjeIdentyfikatorSubstancji);
        const int klucz =
            DM->TTabelaASubstancje->Active() ? DM->TTabelaASubstancjeIdentyfikatorSubstancji->AsInteger() : 0;
        PozycjonujNa(DM->TSubsatncje, DM->TSubsatncjeIdentyfikatorSubstancju, klucz);
    } else {
        ZapomnijWywolanie();
    }
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn2, QStringLiteral("Uzyj"));
    int wynik = mrNone;
    {
        PowiazanieSiatki siatka(DBGrid1, DM->DSubstancje);
        wynik = PokazModalnie();
    }
    ZapomnijWywolanie();
    this->tryb = 0;
    return wynik;
}

void TFSubstancje::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFSubstancje::BitBtn2Click()
{
    Uzyj(DM->TSubsatncje, DM->TSubsatncjeIdentyfikatorSubstancju,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o substancjach !!!"));
}
