#include "MiejscaUz.h"

#include "Dane.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFMiejscaUzutk* FMiejscaUzutk = nullptr;

TFMiejscaUzutk::TFMiejscaUzutk(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FMiejscaUzutk"));
    setWindowTitle(QStringLiteral("Miejsca użytkowania."));
    DBGrid1 = NowaSiatka("DBGrid1", true);
    DBGrid1->addColumn(QStringLiteral("Nazwa"), QStringLiteral("Nazwa"));
    DBGrid1->addColumn(QStringLiteral("Identyfiklator"), QStringLiteral("Identyfiklator"))
        .setColor(QColor(QRgb(tekstyRejestrow::kolorInfo)))
        .setReadOnly(true);
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", DM ? DM->DMiejsceUz : nullptr);
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
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o miejscu użytkowania ?"),
                             QStringLiteral("Czy chcesz dopisać nowe miejsce użytkowania ?"),
                             QStringLiteral("Kontrola wprowadzania miejsc użytkowania."), DM->TMiejsceUz);
    if (!FMiejscaUzutk)
        FMiejscaUzutk = this;
}

TFMiejscaUzutk::~TFMiejscaUzutk()
{
    if (FMiejscaUzutk == this)
        FMiejscaUzutk = nullptr;
}

int TFMiejscaUzutk::Pokaz(int tryb)
{
    this->tryb = tryb;
    BitBtn2->setEnabled(tryb != 0);
    kal::TTable* wywolujaca = nullptr;
    kal::TField* pole = nullptr;
    if (tryb == 1) {
        wywolujaca = DM->TPojazdy;
        pole = DM->TPojazdyMiejsceUzytkowania;
    } else if (tryb == 2) {
        wywolujaca = DM->TZuzycie;
        pole = DM->TZuzycieMiejsceUzytkowania;
    }
    if (pole) {
        ZapamietajWywolanie(wywolujaca, pole);
        const int klucz = wywolujaca->Active() ? pole->AsInteger() : 0;
        PozycjonujNa(DM->TMiejsceUz, DM->TMiejsceUzIdentyfiklator, klucz);
    } else {
        ZapomnijWywolanie();
    }
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn2, QStringLiteral("Uzyj"));
    PowiazanieSiatki siatka(DBGrid1, DM->DMiejsceUz);
    const int wynik = PokazModalnie();
    ZapomnijWywolanie();
    return wynik;
}

void TFMiejscaUzutk::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFMiejscaUzutk::BitBtn2Click()
{
    Uzyj(DM->TMiejsceUz, DM->TMiejsceUzIdentyfiklator,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o miejscu użytkowania !!!"));
}
