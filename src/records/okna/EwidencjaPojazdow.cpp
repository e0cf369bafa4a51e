#include "EwidencjaPojazdow.h"

#include "Okna.h"

#include "MiejscaUz.h"
#include "NaprPrzegl.h"
#include "Przebieg.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>
#include <vector>

TFEwidencjaPojazdow* FEwidencjaPojazdow = nullptr;

namespace {

const QString kNaglowek = QStringLiteral("Kontrola wprowadzania pojazdów.");

// The Tag of the vehicle table is 1 exactly while the register is shown.
class FlagaOtwarcia {
public:
    explicit FlagaOtwarcia(kal::TTable* t) : m_t(t) { m_t->setTag(1); }
    ~FlagaOtwarcia() { m_t->setTag(0); }
    FlagaOtwarcia(const FlagaOtwarcia&) = delete;
    FlagaOtwarcia& operator=(const FlagaOtwarcia&) = delete;

private:
    kal::TTable* m_t;
};

// The controls of an edit panel's field that take the focus by Tab, in
// their order: the field itself, or those of a row of several.
std::vector<QWidget*> FokusKolejno(QWidget* pole)
{
    if (pole->focusPolicy() & Qt::TabFocus)
        return {pole};
    std::vector<QWidget*> kolejne;
    for (QWidget* w : pole->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->focusPolicy() & Qt::TabFocus)
            kolejne.push_back(w);
    return kolejne;
}

} // namespace

QStringList ListaRodzajowPojazdow()
{
    return {QStringLiteral("1 -samochód osobowy z katalizatorem"),
            QStringLiteral("2 -samochód osobowy bez katalizatora"),
            QStringLiteral("3 -samochód nieosobowy o masie poniżej 3,5 Mg"),
            QStringLiteral("4 -samochód ciężarowy powyżej 3,5 Mg z EURO 1"),
            QStringLiteral("5 -samochód ciężarowy powyżej 3,5 Mg z EURO 2"),
            QStringLiteral("6 -samochód ciężarowy powyżej 3,5 Mg z EURO 3"),
            QStringLiteral("7 -samochód ciężarowy powyżej 3,5 Mg bez EURO"),
            QStringLiteral("8 - autobus inny niż w Lp 4-6"),
            QStringLiteral("9 - ciągnik rolniczy"),
            QStringLiteral("10- maszyny robocze"),
            QStringLiteral("11- pojazd szynowy")};
}

bool SzukajNumeruRejestracyjnego(kal::TTable* tabela, kal::TField* nrRej, const QString& tekst)
{
    const QString szukany = UsunSpacje(tekst.toUpper());
    if (!szukany.isEmpty()) {
        for (tabela->First(); !tabela->Eof(); tabela->Next())
            if (UsunSpacje(nrRej->AsString().toUpper()).contains(szukany))
                return true;
    } else {
        // Nothing matches an empty text: the walk ends on the last row.
        tabela->Last();
    }
    kal::Dialogs().messageBox(QStringLiteral("Brak numeru rejestracyjnego !!!"), kNaglowek, kal::MbOk,
                              kal::MsgIcon::Stop);
    return false;
}

bool PojazdGotowyDoRejestru()
{
    if (ZbiorWEdycji(DM->TPojazdy))
        DM->TPojazdy->Post();
    if (DM->TPojazdy->IsEmpty()) {
        kal::Dialogs().messageBox(QStringLiteral("Najpierw wprowadź i zapisz dane pojazdu !!!"), kNaglowek, kal::MbOk,
                                  kal::MsgIcon::Stop);
        return false;
    }
    return true;
}

TFEwidencjaPojazdow::TFEwidencjaPojazdow(QWidget* parent) : TOknoRejestru(parent)
{
    setObjectName(QStringLiteral("FEwidencjaPojazdow"));
    setWindowTitle(QStringLiteral("Ewidencja pojazdów"));
    kal::TDataSource* z = DM ? DM->DPojazdy : nullptr;

    DBGrid1 = NowaSiatka("DBGrid1", false);
    DodajKolumny(DBGrid1, {{"RodzajPojazdu", "Rodzaj pojazdu"},
                           {"Marka", "Marka"},
                           {"NrRejestracyjny", "Nr rejestracyjny"},
                           {"Uwagi", "Uwagi"},
                           {"IdentyfikatorPojazdu", "Identyfikator pojazdu"},
                           {"DataPierwszejRejestracji", "Dat. rejestracji"},
                           {"DMasaCalkowita", "Masa całkowita"}});
    DBNavigator1 = NowyNawigator("DBNavigator1", z);

    Edit1 = NowePoleSzukania("Edit1", 10);
    BitBtn3 = NowyPrzycisk("BitBtn3", QStringLiteral("Szukaj"));

    Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameShape(QFrame::StyledPanel);
    {
        auto* l = new QVBoxLayout(Panel3);
        l->addWidget(new QLabel(QStringLiteral("Uzupełnij dane pojazdu."), Panel3));
        l->addWidget(new QLabel(QStringLiteral("Numer rejestarcyjny przeniesiono  z FLOTY."), Panel3));
    }
    Panel3->hide();

    // The edit panel: its fields in three columns, in the order of the
    // vehicle's record (down the first column, then the second, the third),
    // so that every field shows at once on a common screen; on a smaller
    // one the panel scrolls.
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("PanelPol"));
    DBComboBox1 = new kal::TDBComboBox(panel);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->setItems(ListaRodzajowPojazdow());
    DBComboBox1->setValueLength(2);
    DBComboBox1->setDataSource(z);
    DBComboBox1->setDataField(QStringLiteral("RodzajPojazdu"));
    DBEdit1 = NowePole("DBEdit1", z, QStringLiteral("Marka"));
    DBEdit2 = NowePole("DBEdit2", z, QStringLiteral("NrRejestracyjny"), 20);
    auto* normy = new QWidget(panel);
    {
        auto* l = new QHBoxLayout(normy);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(NowePole("DBEdit14", z, QStringLiteral("NormaLetnia")), 1);
        QLabel* zimowa = NowaEtykieta(QStringLiteral("zimowa:"));
        l->addWidget(zimowa);
        kal::TDBEdit* edycjaZimowa = NowePole("DBEdit15", z, QStringLiteral("NormaZimowa"));
        l->addWidget(edycjaZimowa, 1);
        zimowa->setBuddy(edycjaZimowa); // the label names its own edit, not the pair
    }
    auto* miejsce = new QWidget(panel);
    {
        auto* l = new QHBoxLayout(miejsce);
        l->setContentsMargins(0, 0, 0, 0);
        DBLookupComboBox1 = new kal::TDBLookupComboBox(miejsce);
        DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
        DBLookupComboBox1->setDataSource(z);
        DBLookupComboBox1->setDataField(QStringLiteral("NazwaMiejscaUzytkowania"));
        DBLookupComboBox1->setDropDownRows(10);
        l->addWidget(DBLookupComboBox1, 1);
        Button1 = NowyPrzycisk("Button1", QStringLiteral("···"));
        Button1->setFixedWidth(Button1->fontMetrics().horizontalAdvance(Button1->text()) + 28); // no wider than its dots
        l->addWidget(Button1);
    }
    DBComboBox2 = new kal::TDBComboBox(panel);
    DBComboBox2->setObjectName(QStringLiteral("DBComboBox2"));
    DBComboBox2->setItems({QStringLiteral("0 - bez EURO"), QStringLiteral("1 - EURO 1/Etap I"),
                           QStringLiteral("2 - EURO 2/Etap II"), QStringLiteral("3 - EURO 3/Etap IIIA"),
                           QStringLiteral("4 - EURO 4"), QStringLiteral("5 - EURO 5")});
    DBComboBox2->setValueLength(1);
    DBComboBox2->setDataSource(z);
    DBComboBox2->setDataField(QStringLiteral("NormaEuro"));
    DBComboBox3 = new kal::TDBComboBox(panel);
    DBComboBox3->setObjectName(QStringLiteral("DBComboBox3"));
    DBComboBox3->setItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    DBComboBox3->setValueLength(1);
    DBComboBox3->setDataSource(z);
    DBComboBox3->setDataField(QStringLiteral("FabrycznaInstalacjaGazu"));

    const std::vector<std::pair<QString, QWidget*>> pola = {
        {QStringLiteral("Rodzaj pojazdu:"), DBComboBox1},
        {QStringLiteral("Marka:"), DBEdit1},
        {QStringLiteral("Numer rejestracyjny:"), DBEdit2},
        {QStringLiteral("Uwagi:"), NowePole("DBEdit3", z, QStringLiteral("Uwagi"))},
        {QStringLiteral("Data pierwszej rejestracji:"), NowePole("DBEdit4", z, QStringLiteral("DataPierwszejRejestracji"), 10)},
        {QStringLiteral("dopuszczalna masa całkowita:"), NowePole("DBEdit5", z, QStringLiteral("DMasaCalkowita"))},
        {QStringLiteral("ładowność:"), NowePole("DBEdit6", z, QStringLiteral("Ladownosc"))},
        {QStringLiteral("Ilość miejsc:"), NowePole("DBEdit7", z, QStringLiteral("IloscMiejsc"))},
        {QStringLiteral("Nr nadwozia:"), NowePole("DBEdit8", z, QStringLiteral("NrNadwozia"))},
        {QStringLiteral("Nr silnika:"), NowePole("DBEdit9", z, QStringLiteral("NrSilnika"))},
        {QStringLiteral("Pojemność silnika:"), NowePole("DBEdit10", z, QStringLiteral("PojemnoscSilnika"))},
        {QStringLiteral("Rok produkcji:"), NowePole("DBEdit11", z, QStringLiteral("RokProdukcji"))},
        {QStringLiteral("Nr inwentarzowy:"), NowePole("DBEdit12", z, QStringLiteral("NumerInwentarzowy"))},
        {QStringLiteral("Wartość ewidencyjna:"), NowePole("DBEdit13", z, QStringLiteral("WartoscEwidencyjna"))},
        {QStringLiteral("Norma letnia:"), normy},
        {QStringLiteral("Data skreślenia z ewidencji:"),
         NowePole("DBEdit16", z, QStringLiteral("DataSkresleniaZEwidencji"), 10)},
        {QStringLiteral("Miejsce użytkowania:"), miejsce},
        {QStringLiteral("Km między przegl.:"), NowePole("DBEdit17", z, QStringLiteral("IloscKmMiedzyPrzegl"))},
        {QStringLiteral("Norma EURO:"), DBComboBox2},
        {QStringLiteral("Fabryczna instalacja gazu:"), DBComboBox3},
    };
    constexpr int kolumny = 3;
    const int wierszy = (int(pola.size()) + kolumny - 1) / kolumny;
    auto* siatka = new QGridLayout(panel);
    siatka->setHorizontalSpacing(6);
    QWidget* poprzednie = nullptr;
    for (int i = 0; i < int(pola.size()); ++i) {
        const int kolumna = 2 * (i / wierszy);
        auto* etykieta = new QLabel(pola[size_t(i)].first, panel);
        etykieta->setBuddy(pola[size_t(i)].second);
        if (kolumna > 0)
            etykieta->setContentsMargins(18, 0, 0, 0); // room between the columns
        pola[size_t(i)].second->setParent(panel);
        siatka->addWidget(etykieta, i % wierszy, kolumna);
        siatka->addWidget(pola[size_t(i)].second, i % wierszy, kolumna + 1);
        // Tab and Enter go down a column and on to the top of the next.
        for (QWidget* w : FokusKolejno(pola[size_t(i)].second)) {
            if (poprzednie)
                QWidget::setTabOrder(poprzednie, w);
            poprzednie = w;
        }
    }
    // The first column holds the longest list, the vehicle kinds.
    for (int k = 0; k < kolumny; ++k)
        siatka->setColumnStretch(2 * k + 1, k == 0 ? 3 : 2);
    siatka->setRowStretch(wierszy, 1);
    // Lists as wide as a column allows.
    for (QComboBox* lista : panel->findChildren<QComboBox*>()) {
        lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        lista->setMinimumContentsLength(12);
    }

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setWidget(panel);
    ScrollBox1->setFrameShape(QFrame::NoFrame);

    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("&Użyj"));
    BitBtn4 = NowyPrzycisk("BitBtn4", QStringLiteral("Przebieg"));
    BitBtn5 = NowyPrzycisk("BitBtn5", QStringLiteral("Naprawy i przeglądy"));
    BitBtn10 = NowyPrzycisk("BitBtn10", QStringLiteral("Drukuj"));

    auto* uklad = new QVBoxLayout(this);
    auto* gora = new QHBoxLayout;
    gora->addWidget(DBNavigator1);
    gora->addStretch(1);
    gora->addWidget(NowaEtykieta(QStringLiteral("Szukaj nr. rejestracyjnego")));
    gora->addWidget(Edit1);
    gora->addWidget(BitBtn3);
    uklad->addLayout(gora);
    uklad->addWidget(DBGrid1, 1);
    uklad->addWidget(Panel3);
    uklad->addWidget(ScrollBox1);
    // On a low screen the grid keeps a few vehicles in view and the panel
    // scrolls.
    DBGrid1->setMinimumHeight(DBGrid1->horizontalHeader()->sizeHint().height() +
                              6 * DBGrid1->verticalHeader()->defaultSectionSize() + 2 * DBGrid1->frameWidth());
    uklad->addLayout(RzadPrzyciskow({BitBtn4, BitBtn5, BitBtn10}, {BitBtn2, BitBtn1}));

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    Podlacz(BitBtn3, [this] { BitBtn3Click(); });
    Podlacz(BitBtn4, [this] { BitBtn4Click(); });
    Podlacz(BitBtn5, [this] { BitBtn5Click(); });
    Podlacz(BitBtn10, [this] { BitBtn10Click(); });
    Podlacz(Button1, [this] { Button1Click(); });

    UstawKlawisze(true, true);
    if (DM) {
        UstawZapytanieOZapis(QStringLiteral("Czy chcesz zmienić dane o pojeździe ?"),
                             QStringLiteral("Czy chcesz dopisać nowy pojazd ?"), kNaglowek, DM->TPojazdy);
        DM->OknoPojazdow = this;
    }
    if (!FEwidencjaPojazdow)
        FEwidencjaPojazdow = this;
}

TFEwidencjaPojazdow::~TFEwidencjaPojazdow()
{
    if (DM && DM->OknoPojazdow == this)
        DM->OknoPojazdow = nullptr;
    if (FEwidencjaPojazdow == this)
        FEwidencjaPojazdow = nullptr;
}

int TFEwidencjaPojazdow::Pokaz(int tryb)
{
    Maksymalizuj();
    // Mode 1 keeps the calling fuel record, so that "&Użyj" writes into it
    // whatever moves the fuel table meanwhile.
    kal::TField* pole = tryb == 1 ? DM->TZuzycieIdentyfikatorPojazdu : nullptr;
    PrzygotujWybor(tryb, BitBtn1, BitBtn2, {DM->TZuzycie, pole, DM->TPojazdy, DM->TPojazdyIdentyfikatorPojazdu});
    KopiujObraz(BitBtn10, QStringLiteral("Drukuj"));
    DM->OknoPojazdow = this;
    PowiazanieSiatki siatka(DBGrid1, DM->DPojazdy);
    // All the columns side by side on the screen; the vehicle type is shown
    // by its name.
    DopasujKolumny(DBGrid1, 20, {{QStringLiteral("RodzajPojazdu"), 45}});
    FlagaOtwarcia flaga(DM->TPojazdy);
    if (tryb == 2) {
        Panel3->show();
    } else {
        Panel3->hide();
        DM->TPojazdy->Refresh();
    }
    const int wynik = PokazModalnie();
    ZapomnijWywolanie();
    return wynik;
}

QWidget* TFEwidencjaPojazdow::PierwszePoleNowegoRekordu(kal::TDataSource* zrodlo)
{
    return zrodlo == DBEdit1->DataSource() ? DBEdit1 : TOknoRejestru::PierwszePoleNowegoRekordu(zrodlo);
}

void TFEwidencjaPojazdow::UstawFokusNaMarke()
{
    DBEdit1->setFocus();
}

void TFEwidencjaPojazdow::WlaczWyszukiwanie(bool wlaczone)
{
    Edit1->setEnabled(wlaczone);
    BitBtn3->setEnabled(wlaczone);
}

void TFEwidencjaPojazdow::PoPrzejsciuEnterem()
{
    if (focusWidget() == DBEdit1)
        ScrollBox1->verticalScrollBar()->setValue(0);
}

void TFEwidencjaPojazdow::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

void TFEwidencjaPojazdow::BitBtn2Click()
{
    Uzyj(DM->TPojazdy, DM->TPojazdyIdentyfikatorPojazdu,
         QStringLiteral("Najpierw zapisz lub porzuć nowe dane o pojeździe !!!"));
}

void TFEwidencjaPojazdow::BitBtn3Click()
{
    SzukajNumeruRejestracyjnego(DM->TPojazdy, DM->TPojazdyNrRejestracyjny, Edit1->text());
}

void TFEwidencjaPojazdow::BitBtn4Click()
{
    if (!PojazdGotowyDoRejestru())
        return;
    if (FPrzebieg)
        FPrzebieg->Pokaz();
}

void TFEwidencjaPojazdow::BitBtn5Click()
{
    // A new vehicle is posted first, so that no repair is saved without its vehicle.
    if (!PojazdGotowyDoRejestru())
        return;
    if (FNaprPrzegl)
        FNaprPrzegl->Pokaz();
}

void TFEwidencjaPojazdow::BitBtn10Click()
{
    // The list and its parameter window sit above the registers: opened by name.
    PokazOkno(QStringLiteral("FParWydrPoj"));
}

void TFEwidencjaPojazdow::Button1Click()
{
    if (FMiejscaUzutk)
        FMiejscaUzutk->Pokaz(1);
}
