#include "TabelaAGmina.h"

#include "Dane.h"
#include "Gminy.h"
#include "WprowadzanieTabeliA.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFTabelaAGmina* FTabelaAGmina = nullptr;

namespace {

bool wEdycji(const kal::TTable* t)
{
    return t->State() == kal::dsEdit || t->State() == kal::dsInsert;
}

} // namespace

TFTabelaAGmina::TFTabelaAGmina(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FTabelaAGmina"));
    setWindowTitle(QStringLiteral("Wybór gminy do tabeli A"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(640, 480);
    kal::TDataSource* z = DM ? DM->DTabelaAGmina : nullptr;

    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    DBNavigator1 = NowyNawigator("DBNavigator1", z);
    BitBtn3 = NowyPrzycisk("BitBtn3", QStringLiteral("Edycja Tabeli A"));
    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->addColumn(QStringLiteral("NazwaGminy"), QStringLiteral("Nazwa gminy"));
    DBGrid1->addColumn(QStringLiteral("Powiat"), QStringLiteral("Powiat"));
    DBGrid1->addColumn(QStringLiteral("Adres"), QStringLiteral("Adres"));
    DBGrid1->columnsChanged();

    DBLookupComboBox1 = new kal::TDBLookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setDataSource(z);
    DBLookupComboBox1->setDataField(QStringLiteral("NazwaGminy"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QString());
    BitBtn2->setToolTip(QStringLiteral("Kartoteka gmin."));
    DBEdit1 = NowePole("DBEdit1", z, QStringLiteral("Powiat"));
    DBEdit2 = NowePole("DBEdit2", z, QStringLiteral("Adres"));
    Label4 = NowaEtykieta(QStringLiteral("Gdy nie wprowadzimy adresu, będzie użyty adres firmy."));
    Label4->setObjectName(QStringLiteral("Label4"));

    auto* gora = new QHBoxLayout;
    gora->addWidget(DBNavigator1);
    gora->addStretch(1);
    gora->addWidget(BitBtn3);
    gora->addWidget(BitBtn1);
    auto* gmina = new QHBoxLayout;
    gmina->addWidget(DBLookupComboBox1, 1);
    gmina->addWidget(BitBtn2);
    auto* panel = new QFormLayout;
    panel->addRow(QStringLiteral("Gmina:"), gmina);
    panel->addRow(QStringLiteral("Powiat:"), DBEdit1);
    panel->addRow(QStringLiteral("Adres:"), DBEdit2);
    panel->addRow(Label4);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(panel);

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    Podlacz(BitBtn3, [this] { BitBtn3Click(); });
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o gminie do Tabeli A ?"),
                             QStringLiteral("Czy chcesz dopisać nową gminę do Tabeli A ?"),
                             QStringLiteral("Kontrola wprowadzania gmin do Tabeli A."), DM->TTabelaAGmina);
    if (!FTabelaAGmina)
        FTabelaAGmina = this;
}

TFTabelaAGmina::~TFTabelaAGmina()
{
    if (FTabelaAGmina == this)
        FTabelaAGmina = nullptr;
}

int TFTabelaAGmina::Pokaz()
{
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn2, QStringLiteral("Kartoteka"));
    KopiujObraz(BitBtn3, QStringLiteral("Edytor"));
    PowiazanieSiatki siatka(DBGrid1, DM->DTabelaAGmina);
    return PokazModalnie();
}

void TFTabelaAGmina::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFTabelaAGmina::BitBtn2Click()
{
    if (FGminy)
        FGminy->Pokaz(1);
}

void TFTabelaAGmina::BitBtn3Click()
{
    kal::TTable* gminy = DM->TTabelaAGmina;
    if (wEdycji(gminy))
        gminy->Post();
    if (wEdycji(gminy))
        return;
    if (gminy->IsEmpty()) {
        kal::Dialogs().messageBox(QStringLiteral("Nie wprowadzono żadnej gminy !!!"),
                                  QStringLiteral("Kontrola danych."), kal::MbOk, kal::MsgIcon::Stop);
        return;
    }
    if (FWprowadzanieTabeliA)
        FWprowadzanieTabeliA->Pokaz();
}
