#include "Przebieg.h"

#include "Dane.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFPrzebieg* FPrzebieg = nullptr;

QString OpisBiezacegoPojazdu()
{
    return DM->TPojazdyNrRejestracyjny->AsString() + QStringLiteral(" ") + DM->TPojazdyMarka->AsString() +
           QStringLiteral(" ") + DM->TPojazdyRodzajPojazdu->DisplayText();
}

TFPrzebieg::TFPrzebieg(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FPrzebieg"));
    setWindowTitle(QStringLiteral("Przebieg pojazdu"));
    kal::TDataSource* z = DM ? DM->DPrzebieg : nullptr;
    DBGrid1 = NowaSiatka("DBGrid1", true);
    DBGrid1->addColumn(QStringLiteral("Data"), QStringLiteral("Data"));
    DBGrid1->addColumn(QStringLiteral("IloscKilometrow"), QStringLiteral("Ilość kilometrów"));
    DBGrid1->columnsChanged();
    DBGrid1->setDataSource(z);
    DBNavigator1 = NowyNawigator("DBNavigator1", z);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(DBNavigator1);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(RzadPrzyciskow({}, {BitBtn1}));
    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    if (DM)
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o przebiegu samochodu ?"),
                             QStringLiteral("Czy chcesz dopisać nowy przebieg samochodu ?"),
                             QStringLiteral("Kontrola wprowadzania przebiegu samochodu."), DM->TPrzebieg);
    if (!FPrzebieg)
        FPrzebieg = this;
}

TFPrzebieg::~TFPrzebieg()
{
    if (FPrzebieg == this)
        FPrzebieg = nullptr;
}

int TFPrzebieg::Pokaz()
{
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    setWindowTitle(QStringLiteral("Przebieg pojazdu: ") + OpisBiezacegoPojazdu());
    return PokazModalnie();
}

void TFPrzebieg::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}
