#include "NaprPrzegl.h"

#include "Okna.h"

#include "Dane.h"
#include "Przebieg.h"

#include "platform/ui/DBControls.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFNaprPrzegl* FNaprPrzegl = nullptr;

namespace {

kal::TDBMemo* memo(QWidget* okno, const char* nazwa, kal::TDataSource* z, const QString& pole)
{
    auto* m = new kal::TDBMemo(okno);
    m->setObjectName(QString::fromLatin1(nazwa));
    m->setDataSource(z);
    m->setDataField(pole);
    return m;
}

} // namespace

TFNaprPrzegl::TFNaprPrzegl(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FNaprPrzegl"));
    setWindowTitle(QStringLiteral("Naprawy i przeglądy"));
    kal::TDataSource* z = DM ? DM->DPrzegl : nullptr;
    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->addColumn(QStringLiteral("Data"), QStringLiteral("Data"));
    DBGrid1->addColumn(QStringLiteral("NrFaktury"), QStringLiteral("Numer faktury"));
    DBGrid1->addColumn(QStringLiteral("Wartosc"), QStringLiteral("Wartość"));
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", z);
    DBEdit1 = NowePole("DBEdit1", z, QStringLiteral("Data"), 10);
    DBMemo1 = memo(this, "DBMemo1", z, QStringLiteral("ZakresRobot"));
    DBMemo2 = memo(this, "DBMemo2", z, QStringLiteral("ZakupioneCzesci"));

    auto* panel = new QFormLayout;
    panel->addRow(QStringLiteral("Data"), DBEdit1);
    panel->addRow(QStringLiteral("Numer Faktury"), NowePole("DBEdit2", z, QStringLiteral("NrFaktury")));
    panel->addRow(QStringLiteral("Wartość"), NowePole("DBEdit3", z, QStringLiteral("Wartosc")));
    panel->addRow(QStringLiteral("Opis"), NowePole("DBEdit4", z, QStringLiteral("Opis")));
    panel->addRow(QStringLiteral("Zakres robót:"), DBMemo1);
    panel->addRow(QStringLiteral("Zakupione części:"), DBMemo2);
    panel->addRow(QStringLiteral("Data następnego przeglądu:"),
                  NowePole("DBEdit5", z, QStringLiteral("DataNastepnegoPrzegladu"), 10));
    panel->addRow(QStringLiteral("Przebieg:"), NowePole("DBEdit6", z, QStringLiteral("IloscKm")));

    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn10 = NowyPrzycisk("BitBtn10", QStringLiteral("Drukuj"));
    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(DBNavigator1);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(panel);
    uklad->addLayout(RzadPrzyciskow({BitBtn10}, {BitBtn1}));
    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn10, [this] { BitBtn10Click(); });
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o naprawie/przeglądzie ?"),
                             QStringLiteral("Czy chcesz dopisać nową naprawę/przegląd ?"),
                             QStringLiteral("Kontrola wprowadzania napraw i przeglądów."), DM->TPrzegl);
    if (!FNaprPrzegl)
        FNaprPrzegl = this;
}

TFNaprPrzegl::~TFNaprPrzegl()
{
    if (FNaprPrzegl == this)
        FNaprPrzegl = nullptr;
}

int TFNaprPrzegl::Pokaz()
{
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn10, QStringLiteral("Drukuj"));
    PowiazanieSiatki siatka(DBGrid1, DM->DPrzegl);
    setWindowTitle(QStringLiteral("Naprawy i przeglady samochodu: ") + OpisBiezacegoPojazdu());
    return PokazModalnie();
}

void TFNaprPrzegl::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFNaprPrzegl::BitBtn10Click()
{
    PokazOkno(QStringLiteral("FParWydrNaprawiPrzegl"));
}
