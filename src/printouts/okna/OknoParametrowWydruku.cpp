#include "OknoParametrowWydruku.h"

#include "Application.h"
#include "DBGrid.h"
#include "Dane.h"
#include "Dialogs.h"

#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

TOknoParametrowWydruku::TOknoParametrowWydruku(TDM* dm, QWidget* parent, const QString& nazwa,
                                               const QString& tytul)
    : QDialog(parent), m_dm(dm), m_uklad(new QVBoxLayout(this))
{
    setObjectName(nazwa);
    setWindowTitle(tytul);
}

void TOknoParametrowWydruku::DodajPrzyciski(const QString& nazwaPodgladu, const QString& nazwaDruku,
                                            const QString& tekstDruku)
{
    auto* dol = new QHBoxLayout;
    Przyciski = UtworzPrzyciski(this, dol, nazwaPodgladu, nazwaDruku, tekstDruku, QStringLiteral("BitBtn1"));
    m_uklad->addLayout(dol);
    connect(Przyciski.podglad, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(true); }); });
    connect(Przyciski.drukuj, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(false); }); });
}

kal::TDBGrid* TOknoParametrowWydruku::NowaSiatka(const QString& nazwa)
{
    auto* g = new kal::TDBGrid(this);
    g->setObjectName(nazwa);
    g->setOptions(kal::dgTitles | kal::dgIndicator | kal::dgRowSelect);
    g->setReadOnly(true);
    return g;
}

QSpinBox* TOknoParametrowWydruku::NowePoleLiczby(const QString& nazwa, int od, int doWlacznie)
{
    auto* s = new QSpinBox(this);
    s->setObjectName(nazwa);
    s->setRange(od, doWlacznie);
    return s;
}

int TOknoParametrowWydruku::PokazModalnie(std::initializer_list<std::pair<kal::TDBGrid*, kal::TDataSource*>> siatki,
                                          bool obrazy)
{
    if (obrazy)
        UstawObrazy(Przyciski);
    for (const auto& [siatka, zrodlo] : siatki)
        siatka->setDataSource(zrodlo);
    const int wynik = kal::Dialogs().execModal(this);
    for (const auto& s : siatki)
        s.first->setDataSource(nullptr);
    return wynik;
}

TDM& TOknoParametrowWydruku::dm() const
{
    return m_dm ? *m_dm : *DM;
}
