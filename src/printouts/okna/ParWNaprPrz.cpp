#include "ParWNaprPrz.h"

#include "Application.h"
#include "Clock.h"
#include "Dane.h"
#include "Dialogs.h"
#include "UkladWydrukowPojazdow.h"
#include "WydrukNaprawPrz.h"
#include "WydrukPrzeglPoj.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFParWydrNaprawiPrzegl* FParWydrNaprawiPrzegl = nullptr;

TFParWydrNaprawiPrzegl::TFParWydrNaprawiPrzegl(TDM* dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    if (!FParWydrNaprawiPrzegl)
        FParWydrNaprawiPrzegl = this;
    setObjectName(QStringLiteral("FParWydrNaprawiPrzegl"));
    setWindowTitle(QStringLiteral("Parametry wydruku napraw i przeglądów."));
    auto* uklad = new QVBoxLayout(this);
    auto* pola = new QGridLayout;
    auto spin = [this](const QString& nazwa, int od, int d) {
        auto* s = new QSpinBox(this);
        s->setObjectName(nazwa);
        s->setRange(od, d);
        return s;
    };
    pola->addWidget(new QLabel(QStringLiteral("Rok:"), this), 0, 0);
    CSRok = spin(QStringLiteral("CSRok"), 2000, 2100);
    pola->addWidget(CSRok, 0, 1);
    pola->addWidget(new QLabel(QStringLiteral("Miesiące"), this), 1, 0);
    pola->addWidget(new QLabel(QStringLiteral("od:"), this), 2, 0);
    CSMcOd = spin(QStringLiteral("CSMcOd"), 1, 12);
    pola->addWidget(CSMcOd, 2, 1);
    pola->addWidget(new QLabel(QStringLiteral("do:"), this), 3, 0);
    CSMcDo = spin(QStringLiteral("CSMcDo"), 1, 12);
    pola->addWidget(CSMcDo, 3, 1);
    CheckBox1 = new QCheckBox(QStringLiteral("Dane do przeglądów"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    pola->addWidget(CheckBox1, 4, 0, 1, 2);
    uklad->addLayout(pola);
    auto* dol = new QHBoxLayout;
    Przyciski = UtworzPrzyciski(this, dol, QStringLiteral("BitBtn9"), QStringLiteral("BitBtn10"), QStringLiteral("Drukuj"),
                                QStringLiteral("BitBtn1"));
    uklad->addLayout(dol);
    connect(Przyciski.podglad, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(true); }); });
    connect(Przyciski.drukuj, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(false); }); });
}

TFParWydrNaprawiPrzegl::~TFParWydrNaprawiPrzegl()
{
    if (FParWydrNaprawiPrzegl == this)
        FParWydrNaprawiPrzegl = nullptr;
}

TDM& TFParWydrNaprawiPrzegl::dm() const
{
    return m_dm ? *m_dm : *DM;
}

int TFParWydrNaprawiPrzegl::Pokaz()
{
    const QDate dzis = kal::Today();
    CSRok->setValue(dzis.year());
    CSMcOd->setValue(dzis.month());
    CSMcDo->setValue(dzis.month());
    UstawObrazy(Przyciski);
    return kal::Dialogs().execModal(this);
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
