#include "ZuzycieKotla.h"

#include "Dane.h"
#include "Kotly.h"

#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBControls.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFZuzycieKotla* FZuzycieKotla = nullptr;

QString JednostkaIlosciKotla(int kod, bool wTonach)
{
    switch (kod) {
    case 111: case 112: case 120: case 130: case 140: case 150: // coal
    case 210: case 220: case 230:                               // coke
    case 300:                                                   // wood
        return QStringLiteral("Mg");
    case 410: case 420: case 430: case 440: // the oils
    case 530:                               // propane-butane
        return wTonach ? QStringLiteral("Mg") : QStringLiteral("l");
    case 511: case 512: case 521: case 522: // natural gas
        return QStringLiteral("10⁶ m³");
    default:
        return {};
    }
}

TFZuzycieKotla::TFZuzycieKotla(QWidget* parent) : TOknoZestawienia(parent)
{
    setObjectName(QStringLiteral("FZuzycieKotla"));
    setWindowTitle(QStringLiteral("Zużycie paliwa do kotłów"));
    UstawKlawisze(false, false);
    kal::TDataSource* z = DM ? DM->DZuzycieKotla : nullptr;

    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    DBNavigator1 = new kal::TDBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(z);

    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->addColumn(QStringLiteral("DataZuzycia"), QStringLiteral("Data"));
    DBGrid1->addColumn(QStringLiteral("Ilosc"), QStringLiteral("Ilość"));
    DBGrid1->addColumn(QStringLiteral("OpisKotla"), QStringLiteral("Opis kotła"));
    DBGrid1->addColumn(QStringLiteral("Uwagi"));
    DBGrid1->addColumn(QStringLiteral("IloscKotl"), QStringLiteral("Ilość kotłów"));
    DBGrid1->columnsChanged();

    DBEdit1 = NowePole("DBEdit1", z, QStringLiteral("DataZuzycia"), 10);
    DBEdit2 = NowePole("DBEdit2", z, QStringLiteral("Ilosc"));
    DBEdit3 = NowePole("DBEdit3", z, QStringLiteral("Uwagi"));
    DBLookupComboBox1 = new kal::TDBLookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setDataSource(z);
    DBLookupComboBox1->setDataField(QStringLiteral("OpisKotla"));
    Button1 = NowyPrzycisk("Button1", QStringLiteral("···"));
    Button1->setFixedWidth(Button1->fontMetrics().horizontalAdvance(Button1->text()) + 28); // no wider than its dots
    DBCheckBox1 = new kal::TDBCheckBox(this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setText(QStringLiteral("Ilość przeliczona na Mg"));
    DBCheckBox1->setValueChecked(QStringLiteral("True"));
    DBCheckBox1->setValueUnchecked(QStringLiteral("False"));
    DBCheckBox1->setDataSource(z);
    DBCheckBox1->setDataField(QStringLiteral("IloscPrzNaTony"));

    auto* gora = new QHBoxLayout;
    gora->addWidget(DBNavigator1);
    gora->addStretch(1);
    gora->addWidget(BitBtn1);
    auto* dol = new QFormLayout;
    dol->addRow(QStringLiteral("Data"), DBEdit1);
    auto* ilosc = new QHBoxLayout;
    ilosc->addWidget(DBEdit2);
    LabelJednostki = new QLabel(this);
    LabelJednostki->setObjectName(QStringLiteral("LabelJednostki"));
    // Room for the longest unit, so that the edit does not move.
    LabelJednostki->setMinimumWidth(LabelJednostki->fontMetrics().horizontalAdvance(QStringLiteral("10⁶ m³")) + 8);
    ilosc->addWidget(LabelJednostki);
    ilosc->addStretch(1);
    dol->addRow(QStringLiteral("Ilość"), ilosc);
    auto* kociol = new QHBoxLayout;
    kociol->addWidget(DBLookupComboBox1, 1);
    kociol->addWidget(Button1);
    dol->addRow(QStringLiteral("Opis kotła"), kociol);
    dol->addRow(QStringLiteral("Uwagi"), DBEdit3);
    dol->addRow(QString(), DBCheckBox1);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(dol);
    // Wide enough for all the grid's columns; kept inside the screen when shown.
    resize(840, 540);

    Podlacz(BitBtn1, [this] { ZamknijZWynikiem(mrCancel); });
    Podlacz(Button1, [this] { Button1Click(); });
    // The boiler kind is a lookup: any change of the record may change it.
    m_rodzajKotla.onDataChange = [this] { PokazJednostke(); };
    m_rodzajKotla.onEditingChange = [this] { PokazJednostke(); };
    m_rodzajKotla.setFieldName(QStringLiteral("RodzajKotla"));
    m_rodzajKotla.setDataSource(z);
    PokazJednostke();
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o zużyciu kotła ?"),
                             QStringLiteral("Czy chcesz dopisać nowe zużycie kotła ?"),
                             QStringLiteral("Kontrola wprowadzania danych o zuzyciu kotłów."), DM->TZuzycieKotla);
    if (!FZuzycieKotla)
        FZuzycieKotla = this;
}

TFZuzycieKotla::~TFZuzycieKotla()
{
    if (FZuzycieKotla == this)
        FZuzycieKotla = nullptr;
}

int TFZuzycieKotla::Pokaz()
{
    KopiujObrazZZalacznika(BitBtn1, "BitBtn1");
    if (!DM->UstawZbiorZuzyciaKotlow())
        return -2;
    PowiazanieSiatki siatka(DBGrid1, DM->DZuzycieKotla);
    return PokazModalnie();
}

void TFZuzycieKotla::PokazJednostke()
{
    QString jednostka;
    if (DM && m_rodzajKotla.Active()) {
        if (const kal::TField* rodzaj = m_rodzajKotla.Field()) {
            const kal::TField* wTonach = m_rodzajKotla.DataSet()->FindField(QStringLiteral("IloscPrzNaTony"));
            jednostka = JednostkaIlosciKotla(DM->KodRodzajuKotla(*rodzaj), wTonach && wTonach->AsBoolean());
        }
    }
    LabelJednostki->setText(jednostka);
}

void TFZuzycieKotla::Button1Click()
{
    if (FKotly)
        FKotly->Pokaz(1);
}
