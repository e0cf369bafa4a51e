#include "ParZuzMiejscTank.h"

#include "DBGrid.h"
#include "Dane.h"
#include "WydrukZuzyciaPaliwa.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

TFParWydrZuzMiejTank* FParWydrZuzMiejTank = nullptr;

TFParWydrZuzMiejTank::TFParWydrZuzMiejTank(TDM* dm, QWidget* parent)
    : TOknoParametrowWydruku(dm, parent, QStringLiteral("FParWydrZuzMiejTank"),
                             QStringLiteral("Parametry wydruku miejsc tankowania"))
{
    if (!FParWydrZuzMiejTank)
        FParWydrZuzMiejTank = this;
    auto* siatki = new QGridLayout;
    siatki->addWidget(new QLabel(QStringLiteral("Wybierz miejsce tankowania."), this), 0, 0);
    DBGrid1 = NowaSiatka(QStringLiteral("DBGrid1"));
    DBGrid1->addColumn(QStringLiteral("Nazwa"));
    siatki->addWidget(DBGrid1, 1, 0);
    ChBWszystkieMiejscaTankowania = new QCheckBox(QStringLiteral("Wszystkie miejsca tankowania"), this);
    ChBWszystkieMiejscaTankowania->setObjectName(QStringLiteral("ChBWszystkieMiejscaTankowania"));
    siatki->addWidget(ChBWszystkieMiejscaTankowania, 2, 0);
    siatki->addWidget(new QLabel(QStringLiteral("Wybierz miejsce użytkowania."), this), 0, 1);
    DBGrid2 = NowaSiatka(QStringLiteral("DBGrid2"));
    DBGrid2->addColumn(QStringLiteral("Nazwa"));
    DBGrid2->addColumn(QStringLiteral("Identyfiklator"));
    siatki->addWidget(DBGrid2, 1, 1);
    ChBWszystkieMiejscaUzytkowania = new QCheckBox(QStringLiteral("Wszystkie miejsca użytkowania"), this);
    ChBWszystkieMiejscaUzytkowania->setObjectName(QStringLiteral("ChBWszystkieMiejscaUzytkowania"));
    siatki->addWidget(ChBWszystkieMiejscaUzytkowania, 2, 1);
    Uklad()->addLayout(siatki);

    auto* pola = new QHBoxLayout;
    pola->addWidget(new QLabel(QStringLiteral("Nr rejestracyjny:"), this));
    EdNumerRejestracyjny = new QLineEdit(this);
    EdNumerRejestracyjny->setObjectName(QStringLiteral("EdNumerRejestracyjny"));
    pola->addWidget(EdNumerRejestracyjny);
    // "Miesiąc od:           do:" with the first month's box in the gap:
    // each box stands right after its own caption.
    CSEOd = NowePoleLiczby(QStringLiteral("CSEOd"), 1, 12);
    CSEDo = NowePoleLiczby(QStringLiteral("CSEDo"), 1, 12);
    auto* od = new QLabel(QStringLiteral("Miesiąc od:"), this);
    od->setBuddy(CSEOd);
    auto* doMiesiaca = new QLabel(QStringLiteral("do:"), this);
    doMiesiaca->setBuddy(CSEDo);
    pola->addWidget(od);
    pola->addWidget(CSEOd);
    pola->addWidget(doMiesiaca);
    pola->addWidget(CSEDo);
    Uklad()->addLayout(pola);
    DodajPrzyciski();
}

TFParWydrZuzMiejTank::~TFParWydrZuzMiejTank()
{
    if (FParWydrZuzMiejTank == this)
        FParWydrZuzMiejTank = nullptr;
}

int TFParWydrZuzMiejTank::Pokaz()
{
    const int polrocze = dm().TOkresPolrocze->IsNull() ? 0 : dm().TOkresPolrocze->AsInteger();
    CSEOd->setValue(polrocze == 2 ? 7 : 1);
    CSEDo->setValue(polrocze == 1 ? 6 : 12);
    return PokazModalnie({{DBGrid1, dm().DMiejscTank}, {DBGrid2, dm().DMiejsceUz}});
}

void TFParWydrZuzMiejTank::Drukuj(bool podglad)
{
    if (!QRZyzyciePaliwa)
        return;
    QRZyzyciePaliwa->WszystkieMiejscaTankowania = ChBWszystkieMiejscaTankowania->isChecked();
    QRZyzyciePaliwa->WszystkieMiejscaUzytkowania = ChBWszystkieMiejscaUzytkowania->isChecked();
    QRZyzyciePaliwa->NumerRejestracyjnyFiltru = EdNumerRejestracyjny->text();
    QRZyzyciePaliwa->McOd = CSEOd->value();
    QRZyzyciePaliwa->McDo = CSEDo->value();
    QRZyzyciePaliwa->PrzygotujIDrukuj(podglad);
}
