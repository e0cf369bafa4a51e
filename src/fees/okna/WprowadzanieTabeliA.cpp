#include "WprowadzanieTabeliA.h"

#include "Dane.h"
#include "Funkcje.h"
#include "Okna.h"
#include "PozIlTabA.h"
#include "Substancje.h"
#include "Zrodla.h"

#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBControls.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

TFWprowadzanieTabeliA* FWprowadzanieTabeliA = nullptr;
std::function<double(bool podglad, bool tylkoSuma)> WydrukTabeliA;

namespace {

bool wEdycji(const kal::TTable* t)
{
    return t->State() == kal::dsEdit || t->State() == kal::dsInsert;
}

// Posts a pending change of `t`; false when it is still pending.
bool zapisz(kal::TTable* t)
{
    if (wEdycji(t))
        t->Post();
    return !wEdycji(t);
}

const QString kNaglowek = QStringLiteral("Kontrola wprowadzania źródel tabeli A.");

} // namespace

TFWprowadzanieTabeliA::TFWprowadzanieTabeliA(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FWprowadzanieTabeliA"));
    setWindowTitle(QStringLiteral("Wprowadzanie tabeli A"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(1000, 720);
    kal::TDataSource* zz = DM ? DM->DTabelaAZrodla : nullptr;
    kal::TDataSource* zs = DM ? DM->DTabelaASubstancje : nullptr;
    kal::TDataSource* zp = DM ? DM->DTabelaAPaliwa : nullptr;

    Splitter = new QSplitter(Qt::Vertical, this);

    // ---- sources
    auto* zrodla = new QWidget(Splitter);
    DBGrid1 = NowaSiatka("DBGrid1", false);
    DBGrid1->setParent(zrodla);
    DBGrid1->addColumn(QStringLiteral("RodzajInstalacji"), QStringLiteral("Rodzaj instalacji"));
    DBGrid1->addColumn(QStringLiteral("Ilosc"), QStringLiteral("Ilość"));
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", zz);
    DBNavigator1->setParent(zrodla);
    DBLookupComboBox1 = new kal::TDBLookupComboBox(zrodla);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setDataSource(zz);
    DBLookupComboBox1->setDataField(QStringLiteral("RodzajInstalacji"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QString());
    BitBtn2->setParent(zrodla);
    BitBtn2->setToolTip(QStringLiteral("Źródła powstawania substancji wprowadzanych do powietrza"));
    DBEdit1 = NowePole("DBEdit1", zz, QStringLiteral("NazwaSurowcow"));
    DBEdit1->setParent(zrodla);
    DBEdit2 = NowePole("DBEdit2", zz, QStringLiteral("Ilosc"));
    DBEdit2->setParent(zrodla);
    BitBtn4 = NowyPrzycisk("BitBtn4", QStringLiteral("Zużycie"));
    BitBtn5 = NowyPrzycisk("BitBtn5", QStringLiteral("Wylicz"));
    LabelWydruk = new QLabel(QStringLiteral("Wydruk Tabeli A"), zrodla);
    BBPodglad = NowyPrzycisk("BBPodglad", QStringLiteral("Podgląd"));
    BBDrukuj = NowyPrzycisk("BBDrukuj", QStringLiteral("Drukuj"));
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    {
        auto* u = new QGridLayout(zrodla);
        auto* zrodlo = new QHBoxLayout;
        zrodlo->addWidget(DBLookupComboBox1, 1);
        zrodlo->addWidget(BitBtn2);
        auto* f = new QFormLayout;
        f->addRow(QStringLiteral("Rodzaj instalacji/działalności:"), zrodlo);
        f->addRow(QStringLiteral("Nazwa surowców:"), DBEdit1);
        auto* ilosc = new QHBoxLayout;
        ilosc->addWidget(DBEdit2, 1);
        ilosc->addWidget(BitBtn4);
        ilosc->addWidget(BitBtn5);
        f->addRow(QStringLiteral("Ilość:"), ilosc);
        auto* wydruk = new QHBoxLayout;
        wydruk->addWidget(LabelWydruk);
        wydruk->addWidget(BBPodglad);
        wydruk->addWidget(BBDrukuj);
        wydruk->addStretch(1);
        wydruk->addWidget(BitBtn1);
        u->addWidget(DBNavigator1, 0, 0);
        u->addWidget(DBGrid1, 1, 0, 3, 1);
        u->addLayout(f, 1, 1);
        u->addLayout(wydruk, 2, 1);
        u->setColumnStretch(0, 1);
        u->setColumnStretch(1, 1);
    }

    // ---- substances
    auto* substancje = new QWidget(Splitter);
    DBNavigator2 = new kal::TDBNavigator(substancje);
    DBNavigator2->setObjectName(QStringLiteral("DBNavigator2"));
    DBNavigator2->setDataSource(zs);
    DBGrid2 = NowaSiatka("DBGrid2", false);
    DBGrid2->setParent(substancje);
    DBGrid2->addColumn(QStringLiteral("NazwaSubstancji"), QStringLiteral("Nazwa substancji"));
    DBGrid2->addColumn(QStringLiteral("KodSubstancji"), QStringLiteral("Kod"));
    DBGrid2->addColumn(QStringLiteral("SkutUrzOchronnego"), QStringLiteral("Skut. urz. ochronnego"));
    DBGrid2->addColumn(QStringLiteral("WskaznikEmisji"), QStringLiteral("Wskaznik emisji"));
    DBGrid2->addColumn(QStringLiteral("WielkoscEmisji"), QStringLiteral("Wielkosc emisji"));
    DBGrid2->addColumn(QStringLiteral("JednostkowaStawka"), QStringLiteral("Jednostkowa stawka"));
    DBGrid2->addColumn(QStringLiteral("WysokoscOpłaty"), QStringLiteral("Wysokosc opłaty"));
    DBGrid2->columnsChanged();
    DBLookupComboBox2 = new kal::TDBLookupComboBox(substancje);
    DBLookupComboBox2->setObjectName(QStringLiteral("DBLookupComboBox2"));
    DBLookupComboBox2->setDataSource(zs);
    DBLookupComboBox2->setDataField(QStringLiteral("IdentyfikatorSubstancji"));
    DBLookupComboBox2->setListSource(DM ? DM->DSubstancje : nullptr);
    DBLookupComboBox2->setListField(QStringLiteral("NazwaSubstancji;KodSubstancji"));
    DBLookupComboBox2->setKeyField(QStringLiteral("IdentyfikatorSubstancju"));
    DBLookupComboBox2->view()->setMinimumWidth(400);
    BitBtn3 = NowyPrzycisk("BitBtn3", QString());
    BitBtn3->setParent(substancje);
    BitBtn3->setToolTip(QStringLiteral("Kartoteka substancji wprowadzanych do powietrza"));
    DBEdit3 = NowePole("DBEdit3", zs, QStringLiteral("SkutUrzOchronnego"));
    DBEdit4 = NowePole("DBEdit4", zs, QStringLiteral("WskaznikEmisji"));
    DBEdit5 = NowePole("DBEdit5", zs, QStringLiteral("JednostkowaStawka"));
    DBText1 = new kal::TDBText(substancje);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText1->setDataSource(zs);
    DBText1->setDataField(QStringLiteral("WielkoscEmisji"));
    DBText1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    DBText2 = new kal::TDBText(substancje);
    DBText2->setObjectName(QStringLiteral("DBText2"));
    DBText2->setDataSource(zs);
    DBText2->setDataField(QStringLiteral("WysokoscOpłaty"));
    DBText2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    {
        auto* u = new QGridLayout(substancje);
        auto* substancja = new QHBoxLayout;
        substancja->addWidget(DBLookupComboBox2, 1);
        substancja->addWidget(BitBtn3);
        auto* f = new QFormLayout;
        f->addRow(QStringLiteral("Substancja:"), substancja);
        f->addRow(QStringLiteral("Skut. urz. ochronnego:"), DBEdit3);
        f->addRow(QStringLiteral("Wskaznik emisji:"), DBEdit4);
        f->addRow(QStringLiteral("Jednostkowa stawka:"), DBEdit5);
        f->addRow(QStringLiteral("Wielkosc emisji:"), DBText1);
        f->addRow(QStringLiteral("Wysokosc opłaty:"), DBText2);
        u->addWidget(DBNavigator2, 0, 0);
        u->addWidget(DBGrid2, 1, 0);
        u->addLayout(f, 1, 1);
        u->setColumnStretch(0, 2);
        u->setColumnStretch(1, 1);
    }

    // ---- fuels
    auto* paliwa = new QWidget(Splitter);
    DBNavigator3 = new kal::TDBNavigator(paliwa);
    DBNavigator3->setObjectName(QStringLiteral("DBNavigator3"));
    DBNavigator3->setDataSource(zp);
    DBGrid3 = NowaSiatka("DBGrid3", false);
    DBGrid3->setParent(paliwa);
    DBGrid3->addColumn(QStringLiteral("RodzajPaliwa"), QStringLiteral("Rodzaj paliwa"));
    DBGrid3->addColumn(QStringLiteral("Zuzycie"), QStringLiteral("Zużycie"));
    DBGrid3->addColumn(QStringLiteral("WartoscOpalowa"), QStringLiteral("Wartosc opałowa"));
    DBGrid3->addColumn(QStringLiteral("ZawartoscPopiolu"), QStringLiteral("Zawartosc popiołu"));
    DBGrid3->addColumn(QStringLiteral("ZawartoscSiarki"), QStringLiteral("Zawartosc siarki"));
    DBGrid3->columnsChanged();
    DBEdit6 = NowePole("DBEdit6", zp, QStringLiteral("RodzajPaliwa"));
    DBEdit7 = NowePole("DBEdit7", zp, QStringLiteral("Zuzycie"));
    DBEdit8 = NowePole("DBEdit8", zp, QStringLiteral("WartoscOpalowa"));
    DBEdit9 = NowePole("DBEdit9", zp, QStringLiteral("ZawartoscPopiolu"));
    DBEdit10 = NowePole("DBEdit10", zp, QStringLiteral("ZawartoscSiarki"));
    {
        auto* u = new QGridLayout(paliwa);
        auto* f = new QFormLayout;
        f->addRow(QStringLiteral("Rodzaj paliwa:"), DBEdit6);
        f->addRow(QStringLiteral("Zużycie:"), DBEdit7);
        f->addRow(QStringLiteral("Wartosc opałowa:"), DBEdit8);
        f->addRow(QStringLiteral("Zawartosc popiołu:"), DBEdit9);
        f->addRow(QStringLiteral("Zawartosc siarki:"), DBEdit10);
        u->addWidget(DBNavigator3, 0, 0);
        u->addWidget(DBGrid3, 1, 0);
        u->addLayout(f, 1, 1);
        u->setColumnStretch(0, 2);
        u->setColumnStretch(1, 1);
    }

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(Splitter);

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    Podlacz(BitBtn3, [this] { BitBtn3Click(); });
    Podlacz(BitBtn4, [this] { BitBtn4Click(); });
    Podlacz(BitBtn5, [this] { BitBtn5Click(); });
    Podlacz(BBPodglad, [this] { Drukuj(BBPodglad); });
    Podlacz(BBDrukuj, [this] { Drukuj(BBDrukuj); });
    if (!FWprowadzanieTabeliA)
        FWprowadzanieTabeliA = this;
}

TFWprowadzanieTabeliA::~TFWprowadzanieTabeliA()
{
    if (FWprowadzanieTabeliA == this)
        FWprowadzanieTabeliA = nullptr;
}

void TFWprowadzanieTabeliA::powiazSiatki(bool powiaz)
{
    if (powiaz) {
        DBGrid1->setDataSource(DM->DTabelaAZrodla);
        DBGrid2->setDataSource(DM->DTabelaASubstancje);
        DBGrid3->setDataSource(DM->DTabelaAPaliwa);
    } else {
        DBGrid3->setDataSource(nullptr);
        DBGrid2->setDataSource(nullptr);
        DBGrid1->setDataSource(nullptr);
    }
}

int TFWprowadzanieTabeliA::Pokaz()
{
    Maksymalizuj();
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    KopiujObraz(BitBtn2, QStringLiteral("Kartoteka"));
    KopiujObraz(BitBtn3, QStringLiteral("Kartoteka"));
    KopiujObraz(BBPodglad, QStringLiteral("Monitor"));
    KopiujObraz(BBDrukuj, QStringLiteral("Drukuj"));
    struct Siatki {
        TFWprowadzanieTabeliA* okno;
        ~Siatki() { okno->powiazSiatki(false); }
    } siatki{this};
    powiazSiatki(true);
    return PokazModalnie();
}

void TFWprowadzanieTabeliA::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFWprowadzanieTabeliA::BitBtn2Click()
{
    if (FZrodla)
        FZrodla->Pokaz(1);
}

void TFWprowadzanieTabeliA::BitBtn3Click()
{
    if (FSubstancje)
        FSubstancje->Pokaz(1);
}

bool TFWprowadzanieTabeliA::ZapiszPrzedAkcja()
{
    return zapisz(DM->TTabelaAZrodla) && zapisz(DM->TTabelaAPaliwa) && zapisz(DM->TTabelaASubstancje);
}

void TFWprowadzanieTabeliA::Drukuj(QPushButton* Sender)
{
    if (!ZapiszPrzedAkcja())
        return;
    kal::TTable* gminy = DM->TTabelaAGmina;
    const kal::TTable::TBookmark zakladka = gminy->IsEmpty() ? 0 : gminy->GetBookmark();
    // The grids must not follow the printout's walk over the tables.
    struct Powrot {
        TFWprowadzanieTabeliA* okno;
        kal::TTable* gminy;
        kal::TTable::TBookmark zakladka;
        ~Powrot()
        {
            try {
                if (zakladka && gminy->BookmarkValid(zakladka))
                    gminy->GotoBookmark(zakladka);
                gminy->FreeBookmark(zakladka);
            } catch (...) {
            }
            okno->powiazSiatki(true);
        }
    } powrot{this, gminy, zakladka};
    powiazSiatki(false);
    const bool podglad = Sender == BBPodglad;
    if (WydrukTabeliA)
        WydrukTabeliA(podglad, false);
    else
        DrukujFormularz(QStringLiteral("QRWydrukTabeliA"), podglad, QString());
}

void TFWprowadzanieTabeliA::BitBtn4Click()
{
    if (!ZapiszPrzedAkcja())
        return;
    // The items belong to a source: with none yet, the window refuses as
    // inserting an item would, before anything is typed.
    DM->KontrolaWierszaTabA(*DM->TTabAPozWart);
    if (FPozycjeIlosci)
        FPozycjeIlosci->Pokaz();
}

void TFWprowadzanieTabeliA::BitBtn5Click()
{
    kal::TTable* zrodla = DM->TTabelaAZrodla;
    // Without a source row there is nothing to compute the quantity for.
    if (zrodla->IsEmpty() && zrodla->State() != kal::dsInsert)
        return;
    kal::TTable* pozycje = DM->TTabAPozWart;
    double suma = 0.0;
    for (pozycje->First(); !pozycje->Eof(); pozycje->Next())
        suma += DM->TTabAPozWartIloscKoncowa->AsFloat();
    suma = Zaokraglij(suma, 2);
    if (!wEdycji(zrodla))
        zrodla->Edit();
    if (!wEdycji(zrodla))
        return;
    DM->TTabelaAZrodlaIlosc->setAsFloat(suma);
}

void TFWprowadzanieTabeliA::FormClose(TCloseAction& Action)
{
    ZapytajOZapis(QStringLiteral("Czy chcesz zmienić dane o żródle w tabeli A?"),
                  QStringLiteral("Czy chcesz dopisać nowe żródło tabeli A?"), kNaglowek, Action, DM->TTabelaAZrodla);
    if (Action == caHide)
        ZapytajOZapis(QStringLiteral("Czy chcesz zmienić dane o substancji w tabeli A?"),
                      QStringLiteral("Czy chcesz dopisać nową substancję tabeli A?"), kNaglowek, Action,
                      DM->TTabelaASubstancje);
    if (Action == caHide)
        ZapytajOZapis(QStringLiteral("Czy chcesz zmienić dane o paliwach w tabeli A?"),
                      QStringLiteral("Czy chcesz dopisać nowe paliwa tabeli A?"), kNaglowek, Action,
                      DM->TTabelaAPaliwa);
}
