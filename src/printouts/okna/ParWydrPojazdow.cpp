#include "ParWydrPojazdow.h"

#include "DBGrid.h"
#include "Dane.h"
#include "WydrukPojazdow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

TFParWydrPoj* FParWydrPoj = nullptr;

TFParWydrPoj::TFParWydrPoj(TDM* dm, QWidget* parent)
    : TOknoParametrowWydruku(dm, parent, QStringLiteral("FParWydrPoj"), QStringLiteral("Parametry wydruku pojazdów"))
{
    if (!FParWydrPoj)
        FParWydrPoj = this;
    setWindowFlags(windowFlags() | Qt::Tool);
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
    DBGrid1 = NowaSiatka(QStringLiteral("DBGrid1"));
    DBGrid1->addColumn(QStringLiteral("Nazwa"));
    prawa->addWidget(DBGrid1);
    gora->addLayout(prawa);
    Uklad()->addLayout(gora);
    DodajPrzyciski();
}

TFParWydrPoj::~TFParWydrPoj()
{
    if (FParWydrPoj == this)
        FParWydrPoj = nullptr;
}

int TFParWydrPoj::Pokaz()
{
    // The ticks and the images are set on the first show only; later shows
    // keep the ticks as the user left them.
    const bool pierwsze = PierwszePokazanie;
    if (pierwsze) {
        for (int i = 0; i < CheckListBox1->count(); ++i)
            CheckListBox1->item(i)->setCheckState(Qt::Checked);
        PierwszePokazanie = false;
    }
    return PokazModalnie({{DBGrid1, dm().DMiejsceUz}}, pierwsze);
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
