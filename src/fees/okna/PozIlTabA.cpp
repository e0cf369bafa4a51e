#include "PozIlTabA.h"

#include "Dane.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFPozycjeIlosci* FPozycjeIlosci = nullptr;

TFPozycjeIlosci::TFPozycjeIlosci(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FPozycjeIlosci"));
    setWindowTitle(QStringLiteral("Pozycje do ilości do tabeli A."));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(720, 480);
    kal::TDataSource* z = DM ? DM->DTabAPozWart : nullptr;

    DBNavigator1 = new kal::TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(z);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->addColumn(QStringLiteral("Data"), QStringLiteral("Data"));
    DBGrid1->addColumn(QStringLiteral("Ilosc"), QStringLiteral("Ilość"));
    DBGrid1->addColumn(QStringLiteral("Procent"), QStringLiteral("Procent"));
    DBGrid1->addColumn(QStringLiteral("Gestosc"), QStringLiteral("Gestość"));
    DBGrid1->addColumn(QStringLiteral("IloscKoncowa"), QStringLiteral("Ilosc do tabeli A"));
    DBGrid1->addColumn(QStringLiteral("Opis"), QStringLiteral("Opis"));
    DBGrid1->columnsChanged();
    DBEdit1 = NowePole("DBEdit1", z, QStringLiteral("Data"), 10);
    DBEdit2 = NowePole("DBEdit2", z, QStringLiteral("Ilosc"));
    DBEdit3 = NowePole("DBEdit3", z, QStringLiteral("Procent"));
    DBEdit4 = NowePole("DBEdit4", z, QStringLiteral("Gestosc"));
    DBEdit5 = NowePole("DBEdit5", z, QStringLiteral("Opis"));

    auto* gora = new QHBoxLayout;
    gora->addWidget(DBNavigator1);
    gora->addStretch(1);
    gora->addWidget(BitBtn1);
    auto* f = new QFormLayout;
    f->addRow(QStringLiteral("Data:"), DBEdit1);
    f->addRow(QStringLiteral("Ilość:"), DBEdit2);
    f->addRow(QStringLiteral("Procent:"), DBEdit3);
    f->addRow(QStringLiteral("Gestość:"), DBEdit4);
    f->addRow(QStringLiteral("Opis:"), DBEdit5);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(f);

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o pozycji  w tabeli A?"),
                             QStringLiteral("Czy chcesz dopisać nową pozycję ilości tabeli A?"),
                             QStringLiteral("Kontrola wprowadzania źródel tabeli A."), DM->TTabAPozWart);
    if (!FPozycjeIlosci)
        FPozycjeIlosci = this;
}

TFPozycjeIlosci::~TFPozycjeIlosci()
{
    if (FPozycjeIlosci == this)
        FPozycjeIlosci = nullptr;
}

int TFPozycjeIlosci::Pokaz()
{
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    PowiazanieSiatki siatka(DBGrid1, DM->DTabAPozWart);
    return PokazModalnie();
}

void TFPozycjeIlosci::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}
