#include "MiejscaTank.h"

#include "Dane.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFMiejscaTankowania* FMiejscaTankowania = nullptr;

TFMiejscaTankowania::TFMiejscaTankowania(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FMiejscaTankowania"));
    setWindowTitle(QStringLiteral("Miejsca tankowanioa"));
    DBGrid1 = NowaSiatka("DBGrid1", true);
    DBGrid1->addColumn(QStringLiteral("Nazwa"), QStringLiteral("Nazwa"));
    DBGrid1->addColumn(QStringLiteral("Identyfikator"), QStringLiteral("Identyfikator"))
        .setColor(QColor(QRgb(tekstyRejestrow::kolorInfo)))
        .setReadOnly(true);
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", DM ? DM->DMiejscTank : nullptr);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("&Użyj"));

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(DBNavigator1);
    uklad->addWidget(DBGrid1, 1);
    auto* dol = new QHBoxLayout;
    dol->addStretch(1);
    dol->addWidget(BitBtn2);
    dol->addWidget(BitBtn1);
    uklad->addLayout(dol);

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o miejscu tankowania ?"),
                             QStringLiteral("Czy chcesz dopisać nowe miejsce tankowania ?"),
                             QStringLiteral("Kontrola wprowadzania miejsc tankowania."), DM->TMiejscTank);
    if (!FMiejscaTankowania)
        FMiejscaTankowania = this;
}

TFMiejscaTankowania::~TFMiejscaTankowania()
{
    if (FMiejscaTankowania == this)
        FMiejscaTankowania = nullptr;
}

int TFMiejscaTankowania::Pokaz(int tryb)
{
    this->tryb = tryb;
    BitBtn2->setEnabled(tryb != 0);
    kal::TTable* wywolujaca = nullptr;
    kal::TField* pole = nullptr;
    if (tryb == 1) {
        wywolujaca = DM->TZuzycie;
        pole = DM->TZuzycieMiejsceTankowania;
    }
    if (pole) {
        ZapamietajWywolanie(wywolujaca, pole);
        const int klucz = wywolujaca->Active() ? pole->AsInteger() : 0;
        PozycjonujNa(DM->TMiejscTank, DM->TMiejscTankIdentyfikator, klucz);
    } else {
        ZapomnijWywolanie();
    }
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn2, QStringLiteral("Uzyj"));
    PowiazanieSiatki siatka(DBGrid1, DM->DMiejscTank);
    const int wynik = PokazModalnie();
    ZapomnijWywolanie();
    return wynik;
}

void TFMiejscaTankowania::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFMiejscaTankowania::BitBtn2Click()
{
    Uzyj(DM->TMiejscTank, DM->TMiejscTankIdentyfikator,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o miejscu tankowania !!!"));
}
