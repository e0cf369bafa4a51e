#include "GminaTabC.h"

#include "Dane.h"
#include "TabelaC.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFGminaDoTabeliC* FGminaDoTabeliC = nullptr;

TFGminaDoTabeliC::TFGminaDoTabeliC(QWidget* parent) : TOknoZestawienia(parent)
{
    setObjectName(QStringLiteral("FGminaDoTabeliC"));
    setWindowTitle(QStringLiteral("Edycja nazw gmin dla tabeli C."));
    setWindowFlag(Qt::Tool);
    // The grid keeps Enter for its own editing.
    UstawKlawisze(false, false);
    kal::TDataSource* z = DM ? DM->DTabelaC : nullptr;
    DBGrid1 = NowaSiatka("DBGrid1", true);
    DBGrid1->addColumn(QStringLiteral("NazwaGminy"), QStringLiteral("Nazwa gminy dla tabeli C"));
    DBGrid1->columnsChanged();
    DBNavigator1 = new kal::TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(z);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn3 = NowyPrzycisk("BitBtn3", QStringLiteral("Edycja tabeli &C"));

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(DBNavigator1);
    uklad->addWidget(DBGrid1, 1);
    auto* dol = new QHBoxLayout;
    dol->addStretch(1);
    dol->addWidget(BitBtn3);
    dol->addWidget(BitBtn1);
    uklad->addLayout(dol);

    Podlacz(BitBtn1, [this] { ZamknijZWynikiem(mrCancel); });
    Podlacz(BitBtn3, [this] { BitBtn3Click(); });
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o tabeli C dla gminy ?"),
                             QStringLiteral("Czy chcesz dopisać nową tabelę C dla gminy ?"),
                             QStringLiteral("Kontrola wprowadzania tabeli C."), DM->TTabelaC);
    if (!FGminaDoTabeliC)
        FGminaDoTabeliC = this;
}

TFGminaDoTabeliC::~TFGminaDoTabeliC()
{
    if (FGminaDoTabeliC == this)
        FGminaDoTabeliC = nullptr;
}

int TFGminaDoTabeliC::Pokaz()
{
    KopiujObrazZZalacznika(BitBtn1, "BitBtn1");
    // "Edycja tabeli &C" wears the picture of the main window's "TABELA &D".
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("FGlowny"))
            if (auto* b = w->findChild<QAbstractButton*>(QStringLiteral("BitBtn2")))
                BitBtn3->setIcon(b->icon());
    PowiazanieSiatki siatka(DBGrid1, DM->DTabelaC);
    return PokazModalnie();
}

void TFGminaDoTabeliC::BitBtn3Click()
{
    kal::TTable* t = DM->TTabelaC;
    if (WTrakcieZmian(t))
        t->Post();
    if (WTrakcieZmian(t))
        return;
    if (t->IsEmpty()) {
        kal::Dialogs().messageBox(QStringLiteral("Wprowadź pierwszą tabelę C dlaokresu."),
                                  QStringLiteral("Kontrola wprowadzania tabeli C."), kal::MbOk, kal::MsgIcon::Stop);
        return;
    }
    if (FTabelaC)
        FTabelaC->Pokaz();
}
