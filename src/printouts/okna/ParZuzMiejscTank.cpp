#include "ParZuzMiejscTank.h"

#include "Application.h"
#include "DBGrid.h"
#include "Dane.h"
#include "Dialogs.h"
#include "WydrukZuzyciaPaliwa.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

TFParWydrZuzMiejTank* FParWydrZuzMiejTank = nullptr;

namespace {
kal::TDBGrid* Siatka(QWidget* okno, const QString& nazwa)
{
    auto* g = new kal::TDBGrid(okno);
    g->setObjectName(nazwa);
    g->setOptions(kal::dgTitles | kal::dgIndicator | kal::dgRowSelect);
    g->setReadOnly(true);
    return g;
}
QSpinBox* Miesiac(QWidget* okno, const QString& nazwa)
{
    auto* s = new QSpinBox(okno);
    s->setObjectName(nazwa);
    s->setRange(1, 12);
    return s;
}
} // namespace

TFParWydrZuzMiejTank::TFParWydrZuzMiejTank(TDM* dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    if (!FParWydrZuzMiejTank)
        FParWydrZuzMiejTank = this;
    setObjectName(QStringLiteral("FParWydrZuzMiejTank"));
    setWindowTitle(QStringLiteral("Parametry wydruku miejsc tankowania"));
    auto* uklad = new QVBoxLayout(this);
    auto* siatki = new QGridLayout;
    siatki->addWidget(new QLabel(QStringLiteral("Wybierz miejsce tankowania."), this), 0, 0);
    DBGrid1 = Siatka(this, QStringLiteral("DBGrid1"));
    DBGrid1->addColumn(QStringLiteral("Nazwa"));
    siatki->addWidget(DBGrid1, 1, 0);
    ChBWszystkieMiejscaTankowania = new QCheckBox(QStringLiteral("Wszystkie miejsca tankowania"), this);
    ChBWszystkieMiejscaTankowania->setObjectName(QStringLiteral("ChBWszystkieMiejscaTankowania"));
    siatki->addWidget(ChBWszystkieMiejscaTankowania, 2, 0);
    siatki->addWidget(new QLabel(QStringLiteral("Wybierz miejsce użytkowania."), this), 0, 1);
    DBGrid2 = Siatka(this, QStringLiteral("DBGrid2"));
    DBGrid2->addColumn(QStringLiteral("Nazwa"));
    DBGrid2->addColumn(QStringLiteral("Identyfiklator"));
    siatki->addWidget(DBGrid2, 1, 1);
    ChBWszystkieMiejscaUzytkowania = new QCheckBox(QStringLiteral("Wszystkie miejsca użytkowania"), this);
    ChBWszystkieMiejscaUzytkowania->setObjectName(QStringLiteral("ChBWszystkieMiejscaUzytkowania"));
    siatki->addWidget(ChBWszystkieMiejscaUzytkowania, 2, 1);
    uklad->addLayout(siatki);

    auto* pola = new QHBoxLayout;
    pola->addWidget(new QLabel(QStringLiteral("Nr rejestracyjny:"), this));
    EdNumerRejestracyjny = new QLineEdit(this);
    EdNumerRejestracyjny->setObjectName(QStringLiteral("EdNumerRejestracyjny"));
    pola->addWidget(EdNumerRejestracyjny);
    // "Miesiąc od:           do:" with the first month's box in the gap:
    // each box stands right after its own caption.
    CSEOd = Miesiac(this, QStringLiteral("CSEOd"));
    CSEDo = Miesiac(this, QStringLiteral("CSEDo"));
    auto* od = new QLabel(QStringLiteral("Miesiąc od:"), this);
    od->setBuddy(CSEOd);
    auto* doMiesiaca = new QLabel(QStringLiteral("do:"), this);
    doMiesiaca->setBuddy(CSEDo);
    pola->addWidget(od);
    pola->addWidget(CSEOd);
    pola->addWidget(doMiesiaca);
    pola->addWidget(CSEDo);
    uklad->addLayout(pola);

    auto* dol = new QHBoxLayout;
    Przyciski = UtworzPrzyciski(this, dol, QStringLiteral("BitBtn9"), QStringLiteral("BitBtn10"), QStringLiteral("Drukuj"),
                                QStringLiteral("BitBtn1"));
    uklad->addLayout(dol);
    connect(Przyciski.podglad, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(true); }); });
    connect(Przyciski.drukuj, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(false); }); });
}

TFParWydrZuzMiejTank::~TFParWydrZuzMiejTank()
{
    if (FParWydrZuzMiejTank == this)
        FParWydrZuzMiejTank = nullptr;
}

TDM& TFParWydrZuzMiejTank::dm() const
{
    return m_dm ? *m_dm : *DM;
}

int TFParWydrZuzMiejTank::Pokaz()
{
    UstawObrazy(Przyciski);
    DBGrid1->setDataSource(dm().DMiejscTank);
    DBGrid2->setDataSource(dm().DMiejsceUz);
    const int polrocze = dm().TOkresPolrocze->IsNull() ? 0 : dm().TOkresPolrocze->AsInteger();
    CSEOd->setValue(polrocze == 2 ? 7 : 1);
    CSEDo->setValue(polrocze == 1 ? 6 : 12);
    const int wynik = kal::Dialogs().execModal(this);
    DBGrid1->setDataSource(nullptr);
    DBGrid2->setDataSource(nullptr);
    return wynik;
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
