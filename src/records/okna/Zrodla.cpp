#include "Zrodla.h"

#include "Dane.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFZrodla* FZrodla = nullptr;

TFZrodla::TFZrodla(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FZrodla"));
    setWindowTitle(QStringLiteral("Źródła powstawania substancji wprowadzanych do powietrza"));
    kal::TDataSource* z = DM ? DM->DZrodla : nullptr;
    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->addColumn(QStringLiteral("RodzajInstalacji"), QStringLiteral("Rodzaj instalacji/działalności"));
    DBGrid1->addColumn(QStringLiteral("PozwoleniezData"), QStringLiteral("Pozwolenie"));
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", z);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("&Użyj"));

    auto* panel = new QFormLayout;
    panel->addRow(QStringLiteral("Rodzaj instalacji/działalności:"),
                  NowePole("DBEdit1", z, QStringLiteral("RodzajInstalacji")));
    panel->addRow(QStringLiteral("Nr data wydania organ:"), NowePole("DBEdit2", z, QStringLiteral("PozwoleniezData")));
    panel->addRow(QStringLiteral("Termin obowiązywania:"),
                  NowePole("DBEdit3", z, QStringLiteral("TerminObowiazywania"), 10));
    panel->addRow(QStringLiteral("Nominalna moc cieplna:"),
                  NowePole("DBEdit4", z, QStringLiteral("NominalnaMocCieplna")));
    panel->addRow(QStringLiteral("Rodzaj urządzenia ochronnego:"),
                  NowePole("DBEdit5", z, QStringLiteral("RodzajUrzadzeniaOchronneg")));
    panel->addRow(QStringLiteral("Adres:"), NowePole("DBEdit6", z, QStringLiteral("Adres")));
    panel->addRow(NowaEtykieta(QStringLiteral("Gdy pole puste, to będzie adres gminy lub firmy.")));

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
        UstawZapytanieOZapis(
            QStringLiteral("Czy chcesz zmienić dane o żródle ?"), QStringLiteral("Czy chcesz dopisać nowe żródło ?"),
            QStringLiteral("Kontrola wprowadzania źródel powstania substancji wprowadzanych dośrodowiska."),
            DM->TZrodla);
    if (!FZrodla)
        FZrodla = this;
}

TFZrodla::~TFZrodla()
{
    if (FZrodla == this)
        FZrodla = nullptr;
}

int TFZrodla::Pokaz(int tryb)
{
    this->tryb = tryb;
    BitBtn2->setEnabled(tryb != 0);
    if (tryb == 1) {
        ZapamietajWywolanie(DM->TTabelaAZrodla, DM->TTabelaAZrodlaIdentyfikatorZrodla);
        const int klucz = DM->TTabelaAZrodla->Active() ? DM->TTabelaAZrodlaIdentyfikatorZrodla->AsInteger() : 0;
        PozycjonujNa(DM->TZrodla, DM->TZrodlaIdentyfikator, klucz);
    } else {
        ZapomnijWywolanie();
    }
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn2, QStringLiteral("Uzyj"));
    int wynik = mrNone;
    {
        PowiazanieSiatki siatka(DBGrid1, DM->DZrodla);
        wynik = PokazModalnie();
    }
    ZapomnijWywolanie();
    this->tryb = 0;
    return wynik;
}

void TFZrodla::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFZrodla::BitBtn2Click()
{
    Uzyj(DM->TZrodla, DM->TZrodlaIdentyfikator, QStringLiteral("Najpierw zapisz lub porzuć nowe dane o źródle !!!"));
}
