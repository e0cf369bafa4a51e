#include "DaneFirmy.h"

#include "Dane.h"

#include "platform/ui/DBEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFDaneFirmy* FDaneFirmy = nullptr;

TFDaneFirmy::TFDaneFirmy(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FDaneFirmy"));
    setWindowTitle(QStringLiteral("Wprowadzanie danych firmy."));
    kal::TDataSource* z = DM ? DM->DFirma : nullptr;
    DBEdit1 = NowePole("DBEdit1", z, QStringLiteral("Nazwa1"));
    DBEdit2 = NowePole("DBEdit2", z, QStringLiteral("Nazwa2"));
    DBEdit3 = NowePole("DBEdit3", z, QStringLiteral("Adres1"));
    DBEdit4 = NowePole("DBEdit4", z, QStringLiteral("Adres2"));
    DBEdit5 = NowePole("DBEdit5", z, QStringLiteral("NIP"));
    DBEdit6 = NowePole("DBEdit6", z, QStringLiteral("REGON"));
    DBEdit7 = NowePole("DBEdit7", z, QStringLiteral("Telefon"));
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("Zapisz"));
    BitBtn1->setDefault(true);
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("Porzuć"));

    // The edits show their whole text: a name, an address and a telephone
    // take up to 50 characters, NIP and REGON up to 20.
    // Names are often written in capitals: the width is that of capitals.
    const QFontMetrics miara = fontMetrics();
    for (kal::TDBEdit* e : {DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit7})
        e->setMinimumWidth(miara.horizontalAdvance(QString(50, u'X')) + 12);
    for (kal::TDBEdit* e : {DBEdit5, DBEdit6})
        e->setMinimumWidth(miara.horizontalAdvance(QString(20, u'0')) + 12);

    auto* siatka = new QGridLayout;
    siatka->addWidget(NowaEtykieta(QStringLiteral("Nazwa firmy")), 0, 0);
    siatka->addWidget(DBEdit1, 0, 1);
    siatka->addWidget(DBEdit2, 1, 1);
    siatka->addWidget(NowaEtykieta(QStringLiteral("Adres")), 2, 0);
    siatka->addWidget(DBEdit3, 2, 1);
    siatka->addWidget(DBEdit4, 3, 1);
    siatka->addWidget(NowaEtykieta(QStringLiteral("NIP")), 4, 0);
    siatka->addWidget(DBEdit5, 4, 1, Qt::AlignLeft);
    siatka->addWidget(NowaEtykieta(QStringLiteral("REGON")), 5, 0);
    siatka->addWidget(DBEdit6, 5, 1, Qt::AlignLeft);
    siatka->addWidget(NowaEtykieta(QStringLiteral("Telefon")), 6, 0);
    siatka->addWidget(DBEdit7, 6, 1);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(siatka);
    uklad->addLayout(RzadPrzyciskow({}, {BitBtn1, BitBtn2}));

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    if (!FDaneFirmy)
        FDaneFirmy = this;
}

TFDaneFirmy::~TFDaneFirmy()
{
    if (FDaneFirmy == this)
        FDaneFirmy = nullptr;
}

int TFDaneFirmy::Pokaz(int tryb)
{
    (void)tryb;
    // Without any company the edits would have no record: begin the first one.
    if (DM->TFirma->IsEmpty() && DM->TFirma->State() == kal::dsBrowse)
        DM->TFirma->Insert();
    const int wynik = PokazModalnie();
    if (ZbiorWEdycji(DM->TFirma))
        DM->TFirma->Cancel();
    return wynik;
}

void TFDaneFirmy::BitBtn1Click()
{
    if (ZbiorWEdycji(DM->TFirma))
        DM->TFirma->Post();
    if (!ZbiorWEdycji(DM->TFirma))
        ZamknijZWynikiem(mrOk);
}

void TFDaneFirmy::BitBtn2Click()
{
    ZamknijZWynikiem(mrCancel);
}
