#include "Zuzycie.h"

#include "Okna.h"

#include "ImportFloty.h"

#include "Dane.h"
#include "EwidencjaPojazdow.h"
#include "MiejscaTank.h"
#include "MiejscaUz.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFZuzycie* FZuzycie = nullptr;

namespace {

const QString kNaglowek = QStringLiteral("Kontrola wprowadzania zużycia paliw.");

kal::TDBLookupComboBox* lista(QWidget* okno, const char* nazwa, kal::TDataSource* z, const QString& pole, int wiersze)
{
    auto* c = new kal::TDBLookupComboBox(okno);
    c->setObjectName(QString::fromLatin1(nazwa));
    c->setDataSource(z);
    c->setDataField(pole);
    c->setDropDownRows(wiersze);
    return c;
}

QHBoxLayout* zPrzyciskiem(QWidget* pole, QWidget* przycisk)
{
    auto* l = new QHBoxLayout;
    l->addWidget(pole, 1);
    l->addWidget(przycisk);
    return l;
}

} // namespace

QStringList ListaRodzajowPaliwa()
{
    return {QStringLiteral("1 - etylina 94"),
            QStringLiteral("2 - etylina 98"),
            QStringLiteral("3 - benzyna bezołowiowa"),
            QStringLiteral("4 - gaz płynny propan-butan"),
            QStringLiteral("5 - olej napędowy"),
            QStringLiteral("6 -olej napędowy o zawartości siarki poniżej 0,02% m/m"),
            QStringLiteral("a - biodiesel"),
            QStringLiteral("b - biometan"),
            QStringLiteral("c - sprężony gaz ziemny")};
}

TFZuzycie::TFZuzycie(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FZuzycie"));
    setWindowTitle(QStringLiteral("Zużycie paliwa"));
    kal::TDataSource* z = DM ? DM->DZuzycie : nullptr;

    DBGrid1 = NowaSiatka("DBGrid1", false);
    DodajKolumny(DBGrid1, {{"Marka", "Marka"},
                           {"NumerRejestracyjny", "Numer rejestr."},
                           {"DataTankowania", "Data"},
                           {"RodzajPaliwa", "Rodzaj paliwa"},
                           {"IloscPaliwa", "Ilość paliwa"},
                           {"CenaPaliwa", "Cena paliwa"},
                           {"RodzajPojazdu", "Rodzaj pojazdu"},
                           {"NazwaMiejscaTankowania", "Miejsce tankowania"}});
    DBNavigator1 = NowyNawigator("DBNavigator1", z);

    Edit1 = NowePoleSzukania("Edit1", 10);
    BitBtn3 = NowyPrzycisk("BitBtn3", QStringLiteral("Szukaj"));

    DBLookupComboBox1 = lista(this, "DBLookupComboBox1", z, QStringLiteral("IdentyfikatorPojazdu"), 15);
    // The list source comes last: each setting reads the vehicle list again.
    DBLookupComboBox1->setKeyField(QStringLiteral("IdentyfikatorPojazdu"));
    DBLookupComboBox1->setListField(QStringLiteral("Marka;NrRejestracyjny"));
    DBLookupComboBox1->setListSource(DM ? DM->DPojazdy : nullptr);
    DBLookupComboBox2 = lista(this, "DBLookupComboBox2", z, QStringLiteral("NazwaMiejscaTankowania"), 8);
    DBLookupComboBox3 = lista(this, "DBLookupComboBox3", z, QStringLiteral("NazwaMiejscaUzytkowania"), 8);
    Button1 = NowyPrzycisk("Button1", QStringLiteral("···"));
    Button2 = NowyPrzycisk("Button2", QStringLiteral("···"));
    Button3 = NowyPrzycisk("Button3", QStringLiteral("···"));
    DBEdit1 = NowePole("DBEdit1", z, QStringLiteral("DataTankowania"), 10);
    DBComboBox1 = new kal::TDBComboBox(this);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->setItems(ListaRodzajowPaliwa());
    DBComboBox1->setValueLength(1);
    DBComboBox1->setDataSource(z);
    DBComboBox1->setDataField(QStringLiteral("RodzajPaliwa"));

    auto* panel = new QFormLayout;
    panel->addRow(QStringLiteral("Pojazd:"), zPrzyciskiem(DBLookupComboBox1, Button1));
    panel->addRow(QStringLiteral("Data tankowania:"), DBEdit1);
    panel->addRow(QStringLiteral("Miejsce tankowania:"), zPrzyciskiem(DBLookupComboBox2, Button2));
    panel->addRow(QStringLiteral("Inne miejsce użytkowania"), zPrzyciskiem(DBLookupComboBox3, Button3));
    panel->addRow(QStringLiteral("Rodzaj paliwa:"), DBComboBox1);
    panel->addRow(QStringLiteral("Ilość paliwa:"), NowePole("DBEdit2", z, QStringLiteral("IloscPaliwa")));
    panel->addRow(QStringLiteral("Cena paliwa:"), NowePole("DBEdit3", z, QStringLiteral("CenaPaliwa")));
    panel->addRow(QStringLiteral("Numer faktury:"), NowePole("DBEdit4", z, QStringLiteral("NumerFaktury")));
    panel->addRow(QStringLiteral("Przebieg:"), NowePole("DBEdit5", z, QStringLiteral("IloscKm")));

    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("Import FLOTA"));
    BitBtn2->setVisible(false);
    BitBtn10 = NowyPrzycisk("BitBtn10", QStringLiteral("Drukuj"));

    auto* uklad = new QVBoxLayout(this);
    auto* gora = new QHBoxLayout;
    gora->addWidget(DBNavigator1);
    gora->addStretch(1);
    gora->addWidget(NowaEtykieta(QStringLiteral("Szukaj nr. rejestracyjnego")));
    gora->addWidget(Edit1);
    gora->addWidget(BitBtn3);
    uklad->addLayout(gora);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(panel);
    uklad->addLayout(RzadPrzyciskow({BitBtn10, BitBtn2}, {BitBtn1}));
    // The search above the grid comes before it, as it stands.
    QWidget::setTabOrder(BitBtn3, DBGrid1);

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    Podlacz(BitBtn3, [this] { BitBtn3Click(); });
    Podlacz(BitBtn10, [this] { BitBtn10Click(); });
    for (QPushButton* b : {Button1, Button2, Button3})
        Podlacz(b, [this, b] { Button1Click(b); });

    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o zużyciu paliwa ?"),
                             QStringLiteral("Czy chcesz dopisać nowe zużycie paliwa ?"), kNaglowek, DM->TZuzycie);
    if (!FZuzycie)
        FZuzycie = this;
}

TFZuzycie::~TFZuzycie()
{
    if (FZuzycie == this)
        FZuzycie = nullptr;
}

int TFZuzycie::Pokaz()
{
    Maksymalizuj();
    // Once the fleet file has been seen the import stays offered for the run.
    if (!QDir().entryList({QStringLiteral("Orlen.xls")}, QDir::Files).isEmpty())
        BitBtn2->setVisible(true);
    setWindowTitle(QStringLiteral("Zużycie paliwa za półrocze: ") + DM->TOkresPolrocze->AsString() +
                   QStringLiteral(" ") + DM->TOkresRok->AsString() + QStringLiteral(" roku."));
    const QString otwarty = DM->TZuzycie->Active() ? DM->TZuzycie->TableName() : QString();
    if (!DM->UstawZbiorZuzycia()) {
        kal::Dialogs().messageBox(DM->KomunikatBleduZbioruZuzycia(), kNaglowek, kal::MbOk, kal::MsgIcon::None);
        return -1;
    }
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn10, QStringLiteral("Drukuj"));
    PowiazanieSiatki siatka(DBGrid1, DM->DZuzycie);
    // All the columns side by side on the screen: the fuel and the vehicle
    // type are shown by their names.
    DopasujKolumny(DBGrid1, 18, {{QStringLiteral("RodzajPaliwa"), 30}, {QStringLiteral("RodzajPojazdu"), 36}});
    // A half-year file opened just now is read fresh; one that stayed open is
    // read again (reading a million keys costs a few hundred milliseconds).
    if (DM->TZuzycie->TableName() == otwarty)
        DM->TZuzycie->Refresh();
    return PokazModalnie();
}

void TFZuzycie::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFZuzycie::BitBtn2Click()
{
    if (FImportFloty)
        FImportFloty->Pokaz();
}

void TFZuzycie::BitBtn3Click()
{
    SzukajNumeruRejestracyjnego(DM->TZuzycie, DM->TZuzycieNumerRejestracyjny, Edit1->text());
}

void TFZuzycie::BitBtn10Click()
{
    if (ZbiorWEdycji(DM->TZuzycie))
        DM->TZuzycie->Post();
    PokazOkno(QStringLiteral("FParWydrZuzMiejTank"));
}

void TFZuzycie::Button1Click(QObject* Sender)
{
    if (Sender == Button1) {
        if (FEwidencjaPojazdow)
            FEwidencjaPojazdow->Pokaz(1);
    } else if (Sender == Button2) {
        if (FMiejscaTankowania)
            FMiejscaTankowania->Pokaz(1);
    } else if (Sender == Button3) {
        if (FMiejscaUzutk)
            FMiejscaUzutk->Pokaz(2);
    }
}
