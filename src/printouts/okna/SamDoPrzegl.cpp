#include "SamDoPrzegl.h"

#include "WydrukSamDoPrzegl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFSamochodyDoPrzegladu* FSamochodyDoPrzegladu = nullptr;

TFSamochodyDoPrzegladu::TFSamochodyDoPrzegladu(QWidget* parent)
    : TOknoParametrowWydruku(nullptr, parent, QStringLiteral("FSamochodyDoPrzegladu"),
                             QStringLiteral("Samochody do przeglądu."))
{
    if (!FSamochodyDoPrzegladu)
        FSamochodyDoPrzegladu = this;
    auto* pola = new QGridLayout;
    pola->addWidget(new QLabel(QStringLiteral("Ile dni do przeglądu:"), this), 0, 0);
    CSDni = NowePoleLiczby(QStringLiteral("CSDni"), 1, 100);
    CSDni->setValue(30);
    pola->addWidget(CSDni, 0, 1);
    pola->addWidget(new QLabel(QStringLiteral("Ile km do przeglądu:"), this), 1, 0);
    CSKm = NowePoleLiczby(QStringLiteral("CSKm"), 100, 10000);
    CSKm->setSingleStep(100);
    CSKm->setValue(1000);
    pola->addWidget(CSKm, 1, 1);
    ChBWszystkie = new QCheckBox(QStringLiteral("Wszystkie pojazdy"), this);
    ChBWszystkie->setObjectName(QStringLiteral("ChBWszystkie"));
    pola->addWidget(ChBWszystkie, 2, 0, 1, 2);
    Uklad()->addLayout(pola);
    DodajPrzyciski(QStringLiteral("BBPodglad"), QStringLiteral("BBWydruk"), QStringLiteral("Wydruk"));
}

TFSamochodyDoPrzegladu::~TFSamochodyDoPrzegladu()
{
    if (FSamochodyDoPrzegladu == this)
        FSamochodyDoPrzegladu = nullptr;
}

int TFSamochodyDoPrzegladu::Pokaz()
{
    return PokazModalnie();
}

void TFSamochodyDoPrzegladu::Drukuj(bool podglad)
{
    if (!QRSamochodyDoPrzegladu)
        return;
    QRSamochodyDoPrzegladu->Dni = CSDni->value();
    QRSamochodyDoPrzegladu->Km = CSKm->value();
    QRSamochodyDoPrzegladu->Wszystkie = ChBWszystkie->isChecked();
    QRSamochodyDoPrzegladu->PrzygotujIDrukuj(podglad);
}
