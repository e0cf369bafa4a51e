#include "SamDoPrzegl.h"

#include "Application.h"
#include "Dialogs.h"
#include "WydrukSamDoPrzegl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFSamochodyDoPrzegladu* FSamochodyDoPrzegladu = nullptr;

TFSamochodyDoPrzegladu::TFSamochodyDoPrzegladu(QWidget* parent) : QDialog(parent)
{
    if (!FSamochodyDoPrzegladu)
        FSamochodyDoPrzegladu = this;
    setObjectName(QStringLiteral("FSamochodyDoPrzegladu"));
    setWindowTitle(QStringLiteral("Samochody do przeglądu."));
    auto* uklad = new QVBoxLayout(this);
    auto* pola = new QGridLayout;
    pola->addWidget(new QLabel(QStringLiteral("Ile dni do przeglądu:"), this), 0, 0);
    CSDni = new QSpinBox(this);
    CSDni->setObjectName(QStringLiteral("CSDni"));
    CSDni->setRange(1, 100);
    CSDni->setValue(30);
    pola->addWidget(CSDni, 0, 1);
    pola->addWidget(new QLabel(QStringLiteral("Ile km do przeglądu:"), this), 1, 0);
    CSKm = new QSpinBox(this);
    CSKm->setObjectName(QStringLiteral("CSKm"));
    CSKm->setRange(100, 10000);
    CSKm->setSingleStep(100);
    CSKm->setValue(1000);
    pola->addWidget(CSKm, 1, 1);
    ChBWszystkie = new QCheckBox(QStringLiteral("Wszystkie pojazdy"), this);
    ChBWszystkie->setObjectName(QStringLiteral("ChBWszystkie"));
    pola->addWidget(ChBWszystkie, 2, 0, 1, 2);
    uklad->addLayout(pola);
    auto* dol = new QHBoxLayout;
    Przyciski = UtworzPrzyciski(this, dol, QStringLiteral("BBPodglad"), QStringLiteral("BBWydruk"), QStringLiteral("Wydruk"),
                                QStringLiteral("BitBtn1"));
    uklad->addLayout(dol);
    connect(Przyciski.podglad, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(true); }); });
    connect(Przyciski.drukuj, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(false); }); });
}

TFSamochodyDoPrzegladu::~TFSamochodyDoPrzegladu()
{
    if (FSamochodyDoPrzegladu == this)
        FSamochodyDoPrzegladu = nullptr;
}

int TFSamochodyDoPrzegladu::Pokaz()
{
    UstawObrazy(Przyciski);
    return kal::Dialogs().execModal(this);
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
