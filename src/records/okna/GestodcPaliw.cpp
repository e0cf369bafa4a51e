#include "GestodcPaliw.h"

#include "Dane.h"

#include "FunkcjeSrodowiska.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TFGestoscPakiw* FGestoscPakiw = nullptr;

TFGestoscPakiw::TFGestoscPakiw(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FGestoscPakiw"));
    setWindowTitle(QStringLiteral("Wprowadzanie gęstości paliw."));
    DBGrid1 = NowaSiatka("DBGrid1", true);
    DBGrid1->addColumn(QStringLiteral("IdentyfikatorPaliwa"), QStringLiteral("Identyfikator"))
        .setReadOnly(true)
        .setAlignment(kal::taCenter);
    DBGrid1->addColumn(QStringLiteral("NazwaPaliwa"), QStringLiteral("Nazwa paliwa")).setReadOnly(true);
    DBGrid1->addColumn(QStringLiteral("Gestosc"), QStringLiteral("Gestość(kg/l)"));
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", DM ? DM->DTabelaGest : nullptr, false);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(DBNavigator1);
    uklad->addWidget(DBGrid1, 1);
    uklad->addLayout(RzadPrzyciskow({}, {BitBtn1}));
    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    if (!FGestoscPakiw)
        FGestoscPakiw = this;
}

TFGestoscPakiw::~TFGestoscPakiw()
{
    if (FGestoscPakiw == this)
        FGestoscPakiw = nullptr;
}

int TFGestoscPakiw::Pokaz()
{
    KopiujObraz(BitBtn1, QStringLiteral("Zamknij"));
    int wynik = mrNone;
    {
        PowiazanieSiatki siatka(DBGrid1, DM->DTabelaGest);
        // Whole fuel names and all the fuels without scrolling (the window
        // opens as wide as the columns).
        DopasujKolumny(DBGrid1, 60);
        const int wiersze = std::clamp(DM->TTabelaGest->RecordCount(), 5, 15);
        DBGrid1->setMinimumHeight(2 * DBGrid1->frameWidth() + DBGrid1->horizontalHeader()->sizeHint().height() +
                                  wiersze * DBGrid1->verticalHeader()->defaultSectionSize() +
                                  DBGrid1->horizontalScrollBar()->sizeHint().height());
        wynik = PokazModalnie();
    }
    // The next computation reads the densities as they are now.
    Gestosci().Wyczysc();
    return wynik;
}

void TFGestoscPakiw::FormClose(TCloseAction& Action)
{
    (void)Action;
    if (DM->TTabelaGest->State() == kal::dsEdit)
        DM->TTabelaGest->Post();
}

void TFGestoscPakiw::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}
