#include "ParWydrPojazdow.h"

#include "Application.h"
#include "DBGrid.h"
#include "Dane.h"
#include "Dialogs.h"
#include "WydrukPojazdow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

TFParWydrPoj* FParWydrPoj = nullptr;

TFParWydrPoj::TFParWydrPoj(TDM* dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    if (!FParWydrPoj)
        FParWydrPoj = this;
    setObjectName(QStringLiteral("FParWydrPoj"));
    setWindowTitle(QStringLiteral("Parametry wydruku pojazdów"));
    setWindowFlags(windowFlags() | Qt::Tool);
    auto* uklad = new QVBoxLayout(this);
    auto* gora = new QHBoxLayout;
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    for (const PozycjaListyKolumn& p : PozycjeListyKolumn()) {
        auto* item = new QListWidgetItem(p.pozycja, CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    gora->addWidget(CheckListBox1);
    auto* prawa = new QVBoxLayout;
    ChBMiejsceUzytkowania = new QCheckBox(QStringLiteral("Wybrane miejsce użytkowania."), this);
    ChBMiejsceUzytkowania->setObjectName(QStringLiteral("ChBMiejsceUzytkowania"));
    prawa->addWidget(ChBMiejsceUzytkowania);
    DBGrid1 = new kal::TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->addColumn(QStringLiteral("Nazwa"));
    DBGrid1->setOptions(kal::dgTitles | kal::dgIndicator | kal::dgRowSelect);
    DBGrid1->setReadOnly(true);
    prawa->addWidget(DBGrid1);
    gora->addLayout(prawa);
    uklad->addLayout(gora);
    auto* dol = new QHBoxLayout;
    Przyciski = UtworzPrzyciski(this, dol, QStringLiteral("BitBtn9"), QStringLiteral("BitBtn10"), QStringLiteral("Drukuj"),
                                QStringLiteral("BitBtn1"));
    uklad->addLayout(dol);
    connect(Przyciski.podglad, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(true); }); });
    connect(Przyciski.drukuj, &QPushButton::clicked, this, [this] { kal::RunGuarded([this] { Drukuj(false); }); });
}

TFParWydrPoj::~TFParWydrPoj()
{
    if (FParWydrPoj == this)
        FParWydrPoj = nullptr;
}

TDM& TFParWydrPoj::dm() const
{
    return m_dm ? *m_dm : *DM;
}

int TFParWydrPoj::Pokaz()
{
    if (PierwszePokazanie) {
        for (int i = 0; i < CheckListBox1->count(); ++i)
            CheckListBox1->item(i)->setCheckState(Qt::Checked);
        PierwszePokazanie = false;
        UstawObrazy(Przyciski);
    }
    DBGrid1->setDataSource(dm().DMiejsceUz);
    const int wynik = kal::Dialogs().execModal(this);
    DBGrid1->setDataSource(nullptr);
    return wynik;
}

void TFParWydrPoj::Drukuj(bool podglad)
{
    if (!QRPojazdy)
        return;
    for (int i = 0; i < CheckListBox1->count() && i < 16; ++i)
        QRPojazdy->Zaznaczone[size_t(i)] = CheckListBox1->item(i)->checkState() == Qt::Checked;
    QRPojazdy->WybraneMiejsceUzytkowania = ChBMiejsceUzytkowania->isChecked();
    QRPojazdy->PrzygotujIDrukuj(podglad);
}
