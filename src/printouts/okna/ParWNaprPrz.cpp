#include "ParWNaprPrz.h"

#include "Clock.h"
#include "Dane.h"
#include "UkladWydrukowPojazdow.h"
#include "WydrukNaprawPrz.h"
#include "WydrukPrzeglPoj.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFParWydrNaprawiPrzegl* FParWydrNaprawiPrzegl = nullptr;

TFParWydrNaprawiPrzegl::TFParWydrNaprawiPrzegl(TDM* dm, QWidget* parent)
    : TOknoParametrowWydruku(dm, parent, QStringLiteral("FParWydrNaprawiPrzegl"),
                             QStringLiteral("Parametry wydruku napraw i przeglądów."))
{
    if (!FParWydrNaprawiPrzegl)
        FParWydrNaprawiPrzegl = this;
    auto* pola = new QGridLayout;
    pola->addWidget(new QLabel(QStringLiteral("Rok:"), this), 0, 0);
    CSRok = NowePoleLiczby(QStringLiteral("CSRok"), 2000, 2100);
    pola->addWidget(CSRok, 0, 1);
    pola->addWidget(new QLabel(QStringLiteral("Miesiące"), this), 1, 0);
    pola->addWidget(new QLabel(QStringLiteral("od:"), this), 2, 0);
    CSMcOd = NowePoleLiczby(QStringLiteral("CSMcOd"), 1, 12);
    pola->addWidget(CSMcOd, 2, 1);
    pola->addWidget(new QLabel(QStringLiteral("do:"), this), 3, 0);
    CSMcDo = NowePoleLiczby(QStringLiteral("CSMcDo"), 1, 12);
    pola->addWidget(CSMcDo, 3, 1);
    CheckBox1 = new QCheckBox(QStringLiteral("Dane do przeglądów"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    pola->addWidget(CheckBox1, 4, 0, 1, 2);
    Uklad()->addLayout(pola);
    DodajPrzyciski();
}

TFParWydrNaprawiPrzegl::~TFParWydrNaprawiPrzegl()
{
    if (FParWydrNaprawiPrzegl == this)
        FParWydrNaprawiPrzegl = nullptr;
}

int TFParWydrNaprawiPrzegl::Pokaz()
{
    const QDate dzis = kal::Today();
    CSRok->setValue(dzis.year());
    CSMcOd->setValue(dzis.month());
    CSMcDo->setValue(dzis.month());
    return PokazModalnie();
}

void TFParWydrNaprawiPrzegl::Drukuj(bool podglad)
{
    wydrukiPojazdow::ZachowajPojazd zachowaj(dm());
    if (CheckBox1->isChecked()) {
        if (QRPrzegladyPojazdow)
            QRPrzegladyPojazdow->PrzygotujIDrukuj(podglad);
    } else if (QRNaprawyiPrzegl) {
        QRNaprawyiPrzegl->Rok = CSRok->value();
        QRNaprawyiPrzegl->McOd = CSMcOd->value();
        QRNaprawyiPrzegl->McDo = CSMcDo->value();
        QRNaprawyiPrzegl->PrzygotujIDrukuj(podglad);
    }
}
