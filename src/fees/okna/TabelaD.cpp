#include "TabelaD.h"

#include "Dane.h"
#include "FunkcjeSrodowiska.h"
#include "WydrukTabelaD.h"

#include "platform/ui/DBEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QEvent>
#include <QFrame>
#include <QVBoxLayout>

TFTabelaD* FTabelaD = nullptr;

namespace {

enum Paliwo { B, L, GF, GP, O, Bio };

QString NazwaPaliwa(Paliwo p)
{
    switch (p) {
    case B: return QStringLiteral("benzyna silnikowa 10)");
    case L: return QStringLiteral("gaz płynny propan - butan");
    case GF:
        return QStringLiteral("sprężony gaz ziemny (silniki fabrycznie przystosowane do zasilania gazem), w tym biometan");
    case GP: return QStringLiteral("sprężony gaz ziemny (silniki przebudowane), w tym biometan");
    case O: return QStringLiteral("olej napędowy");
    case Bio: return QStringLiteral("biodiesel");
    }
    return QString();
}

// The fuel columns of a row, by the kinds of vehicles it counts.
const std::vector<Paliwo> kCztery = {B, L, O, Bio};
const std::vector<Paliwo> kSzesc = {B, L, GF, GP, O, Bio};
const std::vector<Paliwo> kBenzynaOlej = {B, O, Bio};
const std::vector<Paliwo> kOlej = {O, Bio};
const std::vector<Paliwo> kGazPrzebudowany = {GP, O, Bio};
const std::vector<Paliwo> kGaz = {GF, GP, O, Bio};

struct OpisWiersza {
    const std::vector<Paliwo>* paliwa;
    bool pierwszaBezLitery; // the row's first cell has no letter ("5", "6" ...)
    std::vector<const char*> opis;
};

const char* const kSamochodyOsobowe = "Silniki w samochodach osobowych zarejestrowanych po raz";
const char* const kDoTrzechIPol1 = "Silniki w samochodach o dopuszczalnej masie";
const char* const kDoTrzechIPol2 = "całkowitej do 3,5 Mg innych niż osobowe zrejestrowanych";
const char* const kPowyzej1 = "Silniki w pojazdach samochodowych o dopuszczalnej masie";
const char* const kPowyzej2 = "całkowitej powyżej 3,5 Mg   zarejestrowanych po raz pierwszy";
const char* const kDokument = "lub z dokumentem potwierdzającym spełnienie wymagań";
const char* const kDokumentEtap = "dokumentem potwierdzającym spełnienie wymagań";
const char* const kCiagniki = "Silniki w ciągnikach rolniczych zarejestrowanych po raz";
const char* const kWolnobiezne = "Silniki w pojazdach wolnobieżnych, maszynach i";

const std::vector<OpisWiersza>& OpisyWierszy()
{
    static const std::vector<OpisWiersza> w = {
        {&kCztery, false, {kSamochodyOsobowe, "pierwszy  do dnia  31.12.1992 r."}},
        {&kCztery, false,
         {kSamochodyOsobowe, "pierwszy w okresie 01.01.1993 r. - 31.12.1996 r. lub z dokumentem",
          "potwierdzającym spełnienie wymagań EURO 1 **"}},
        {&kCztery, false,
         {kSamochodyOsobowe, "pierwszy w okresie 01.01.1997 r. - 31.12.2000 r. lub z dokumentem",
          "potwierdzającym spełnienie wymagań EURO 2 **"}},
        {&kSzesc, false,
         {kSamochodyOsobowe, "pierwszy w okresie 01.01.2001 r. - 31.12.2005 r. lub z dokumentem",
          "potwierdzającym spełnienie wymagań EURO 3 **"}},
        {&kSzesc, true,
         {kSamochodyOsobowe, "pierwszy po dniu  31.12.2005 r. lub z dokumentem",
          "potwierdzającym spełnienie wymagań EURO 4 **"}},
        {&kSzesc, true,
         {"Silniki w samochodach osobowych z dokumentem", "potwirdzającym spełnienie wymagań EURO 5 **"}},
        {&kCztery, true, {kDoTrzechIPol1, kDoTrzechIPol2, "po raz pierwszy do dnia 30.09.1993 r."}},
        {&kCztery, false,
         {kDoTrzechIPol1, kDoTrzechIPol2, "po raz pierwszy w okresie 01.10.1993 r. - 30.06.1997 r.", kDokument,
          "EURO 1 **"}},
        {&kCztery, true,
         {kDoTrzechIPol1, kDoTrzechIPol2, "po raz pierwszy w okresie 01.07.1997 r. - 30.06.2001 r.", kDokument,
          "EURO 2 **"}},
        {&kSzesc, true,
         {kDoTrzechIPol1, kDoTrzechIPol2, "po raz pierwszy w okresie 01.07.2001 r. - 30.06.2006 r.", kDokument,
          "EURO 3 **"}},
        {&kSzesc, false,
         {kDoTrzechIPol1, kDoTrzechIPol2, "po raz pierwszy po dniu 30.06.2006 r.", kDokument, "EURO 4 **"}},
        {&kSzesc, true,
         {kDoTrzechIPol1, "całkowitej do 3,5 Mg innych niż osobowe", kDokument, "EURO 5 **"}},
        {&kBenzynaOlej, false,
         {kPowyzej1, "całkowitej powyżej 3,5 Mg z wyjątkiem autobusów,",
          "zarejestrowanych po raz pierwszy do dnia 30.09.1993 r."}},
        {&kOlej, false,
         {"Silniki w autobusach o dopuszczalnej masie", "całkowitej powyżej 3,5 Mg",
          "zarejestrowanych po raz pierwszy do dnia 30.09.1993 r."}},
        {&kGazPrzebudowany, false,
         {kPowyzej1, kPowyzej2, "w okresie 01.10.1993 r. - 30.09.1996 r.", kDokument, "EURO 1 **"}},
        {&kGazPrzebudowany, false,
         {kPowyzej1, kPowyzej2, "w okresie 01.10.1996 r. - 30.09.2001 r.", kDokument, "EURO 2 **"}},
        {&kGaz, false, {kPowyzej1, kPowyzej2, "w okresie 01.10.2001 r. - 30.09.2006 r.", kDokument, "EURO 3 **"}},
        {&kGaz, false, {kPowyzej1, kPowyzej2, "w okresie 01.10.2006 r. - 30.09.2009 r.", kDokument, "EURO 4 **"}},
        {&kGaz, false,
         {kPowyzej1, "całkowitej powyżej 3,5 Mg z dokumentem potwierdzającym", "spełnienie wymagań EURO 5 **"}},
        {&kOlej, false, {kCiagniki, "pierwszy do dnia 30.06.2001 r."}},
        {&kOlej, false,
         {kCiagniki, "pierwszy w okresie 01.07.2001 r. - 31.12.2003 r lub z", kDokumentEtap, "etapu I ***"}},
        {&kOlej, false,
         {kCiagniki, "pierwszy w okresie 01.01.2004 r. - 31.12.2007 r lub z", kDokumentEtap, "etapu II ***"}},
        {&kOlej, false, {kCiagniki, "pierwszy po dniu 01.01.2007 r. lub z", kDokumentEtap, "etapu IIIA ***"}},
        {&kCztery, false, {kWolnobiezne, "urządzeniach wyprodukowanych do 1999 r."}},
        {&kCztery, false,
         {kWolnobiezne, "urządzeniach wyprodukowanych w", "latach 2000 - 2003 lub z", kDokumentEtap, "etapu I ***"}},
        {&kCztery, false,
         {kWolnobiezne, "urządzeniach wyprodukowanych w", "latach 2004 - 2008 lub z", kDokumentEtap,
          "etapu II ***"}},
        {&kOlej, false, {kWolnobiezne, "urządzeniach  lub z", kDokumentEtap, "etapu IIIA ***"}},
        {&kOlej, false, {"Silniki w pojazdach szynowych wyprodukowanych do 2007 r."}},
        {&kOlej, false,
         {"Silniki w pojazdach szynowych wyprodukowanych po 2007 r.", kDokument, "etapu IIIA ***"}},
        {&kOlej, false, {"Silniki w jednostkach pływających żeglugi śródlądowej", "wyprodukowanych do 2007 r."}},
        {&kOlej, false,
         {"Silniki w jednostkach pływających żeglugi śródlądowej", "wyprodukowanych po 2007 r.", kDokument,
          "etapu IIIA ***"}},
        {&kCztery, false,
         {"Silniki w innych pojazdach samochodowych o dopuszczalnej", "masie do 3,5 Mg i motorowerach."}},
    };
    return w;
}

} // namespace

const std::vector<WierszOknaTabeliD>& WierszeOknaTabeliD()
{
    static const std::vector<WierszOknaTabeliD> wiersze = [] {
        std::vector<WierszOknaTabeliD> w;
        int nr = 0;
        for (const OpisWiersza& o : OpisyWierszy()) {
            ++nr;
            WierszOknaTabeliD wiersz;
            for (size_t i = 0; i < o.opis.size(); ++i) {
                const QString linia = QString::fromUtf8(o.opis[i]);
                wiersz.opis << (i == 0 ? QString::number(nr) + QStringLiteral(". ") + linia : linia);
            }
            char litera = 'a';
            for (size_t i = 0; i < o.paliwa->size(); ++i, ++litera) {
                QString kod = QString::number(nr);
                if (!(i == 0 && o.pierwszaBezLitery))
                    kod += QLatin1Char(litera);
                wiersz.komorki.push_back({kod, NazwaPaliwa((*o.paliwa)[i])});
            }
            w.push_back(std::move(wiersz));
        }
        return w;
    }();
    return wiersze;
}

TFTabelaD::TFTabelaD(QWidget* parent) : TOknoZestawienia(parent)
{
    setObjectName(QStringLiteral("FTabelaD"));
    setWindowFlag(Qt::Tool);
    kal::TDataSource* ilosci = DM ? DM->DTabelaD : nullptr;
    kal::TDataSource* stawki = DM ? DM->DStawkiTabD : nullptr;

    // Top panel.
    LabelNaliczanie = new QLabel(QStringLiteral("Trwa naliczanie, proszę czekać !!!"), this);
    LabelNaliczanie->setObjectName(QStringLiteral("LabelNaliczanie"));
    LabelNaliczanie->setVisible(false);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBDrukPrzMonitor = NowyPrzycisk("BitBDrukPrzMonitor", QStringLiteral("Podgląd"));
    BitBDrukPrzDrukarka = NowyPrzycisk("BitBDrukPrzDrukarka", QStringLiteral("Drukuj"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("Wylicz według zużycia"));

    // The column headings stay above the scroll box, each over its column.
    m_naglowki = new QWidget(this);
    m_naglowki->setObjectName(QStringLiteral("PanelNaglowkow"));
    const char* const nazwyNaglowkow[] = {"LabelPaliwo", "LabelIlosc", "LabelStawka", "LabelOplata"};
    const QString tekstyNaglowkow[] = {QStringLiteral("Rodzaj paliwa"), QStringLiteral("Zużycie paliwa [Mg]"),
                                       QStringLiteral("Jednostkowa stawka opłaty [zł/\u2060Mg]"),
                                       QStringLiteral("Wysokość opłaty [zł]")};
    for (int i = 0; i < 4; ++i) {
        auto* n = new QLabel(tekstyNaglowkow[i], m_naglowki);
        n->setObjectName(QString::fromLatin1(nazwyNaglowkow[i]));
        n->setWordWrap(true);
        n->setAlignment((i == 0 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignBottom);
        QFont f = n->font();
        f.setBold(true);
        n->setFont(f);
        m_etykietyNaglowkow.push_back(n);
    }

    // The scroll box: each row's text on the left, one line per cell beside it.
    auto* tresc = new QWidget;
    tresc->setObjectName(QStringLiteral("TrescTabeliD"));
    m_siatka = new QGridLayout(tresc);
    QGridLayout* siatka = m_siatka;
    siatka->setVerticalSpacing(2);

    kal::TDBEdit wzor;
    // Room for "99 999,999" in each quantity and rate edit.
    const int szerokoscPola = wzor.fontMetrics().horizontalAdvance(QStringLiteral("99 999,999")) + 16;
    int wiersz = 0;
    int numer = 0;
    const int liczba = LiczbaKomorekTabeliD - 5;
    for (const WierszOknaTabeliD& w : WierszeOknaTabeliD()) {
        if (wiersz > 0) {
            // A rule between the rows of the table.
            auto* linia = new QFrame(tresc);
            linia->setFrameShape(QFrame::HLine);
            linia->setFrameShadow(QFrame::Sunken);
            siatka->addWidget(linia, wiersz++, 0, 1, 5);
        }
        const int wysokoscWiersza = std::max<int>(int(w.opis.size()), int(w.komorki.size()));
        auto* opis = new QLabel(w.opis.join(QLatin1Char('\n')), tresc);
        opis->setObjectName(QStringLiteral("LabelWiersz") + QString::number(m_opisy.size() + 1));
        opis->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        siatka->addWidget(opis, wiersz, 0, wysokoscWiersza, 1);
        m_opisy.push_back(opis);
        for (size_t i = 0; i < w.komorki.size(); ++i) {
            const KomorkaOknaTabeliD& k = w.komorki[i];
            const int r = wiersz + int(i);
            // A long fuel name goes on to a second line.
            auto* nazwa = new QLabel(k.paliwo, tresc);
            nazwa->setWordWrap(true);
            nazwa->setMinimumWidth(200);
            siatka->addWidget(nazwa, r, 1);
            const QByteArray nazwaIlosci = "DBEdit" + QByteArray::number(++numer);
            kal::TDBEdit* e = NowePole(nazwaIlosci.constData(), ilosci, k.kod);
            e->setParent(tresc);
            e->setAlignment(Qt::AlignRight);
            e->setMinimumWidth(szerokoscPola);
            siatka->addWidget(e, r, 2);
            m_ilosci.push_back(e);
            const QByteArray nazwaStawki = "DBEdit" + QByteArray::number(numer + liczba);
            kal::TDBEdit* s = NowePole(nazwaStawki.constData(), stawki, k.kod);
            s->setParent(tresc);
            s->setAlignment(Qt::AlignRight);
            s->setMinimumWidth(szerokoscPola);
            siatka->addWidget(s, r, 3);
            m_stawki.push_back(s);
            auto* l = new QLabel(tresc);
            l->setObjectName(QStringLiteral("L") + k.kod);
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            l->setMinimumWidth(szerokoscPola + 10);
            siatka->addWidget(l, r, 4);
            m_etykiety.push_back(l);
        }
        wiersz += wysokoscWiersza;
    }
    DBEdit1 = m_ilosci.front();
    siatka->setColumnStretch(1, 1);
    siatka->setRowStretch(wiersz, 1);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setWidget(tresc);
    // The headings follow the columns whenever the grid is laid out anew.
    tresc->installEventFilter(this);
    // Enter walks each cell's quantity, then its rate, cell by cell.
    for (size_t i = 0; i < m_ilosci.size(); ++i) {
        QWidget::setTabOrder(i == 0 ? static_cast<QWidget*>(BitBtn2) : m_stawki[i - 1], m_ilosci[i]);
        QWidget::setTabOrder(m_ilosci[i], m_stawki[i]);
    }

    auto* gora = new QHBoxLayout;
    gora->addWidget(LabelNaliczanie);
    gora->addStretch(1);
    gora->addWidget(BitBtn2);
    gora->addWidget(BitBDrukPrzMonitor);
    gora->addWidget(BitBDrukPrzDrukarka);
    gora->addWidget(BitBtn1);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
    uklad->addWidget(m_naglowki);
    uklad->addWidget(ScrollBox1, 1);

    Podlacz(BitBtn1, [this] { ZamknijZWynikiem(mrCancel); });
    Podlacz(BitBDrukPrzMonitor, [this] { Drukuj(BitBDrukPrzMonitor); });
    Podlacz(BitBDrukPrzDrukarka, [this] { Drukuj(BitBDrukPrzDrukarka); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    if (DM)
        UstawZbioryDoZapisu({DM->TTabelaD, DM->TStawkiTabD});
    if (!FTabelaD) {
        FTabelaD = this;
        UstawOdswiezanieTabeliD([this] { Odswiez(false); });
    }
}

TFTabelaD::~TFTabelaD()
{
    if (FTabelaD == this) {
        UstawOdswiezanieTabeliD({});
        FTabelaD = nullptr;
    }
}

kal::TDBEdit* TFTabelaD::EdycjaIlosci(const QString& kod) const
{
    const int i = IndeksKomorkiTabeliD(kod);
    return i >= 0 && size_t(i) < m_ilosci.size() ? m_ilosci[size_t(i)] : nullptr;
}

kal::TDBEdit* TFTabelaD::EdycjaStawki(const QString& kod) const
{
    const int i = IndeksKomorkiTabeliD(kod);
    return i >= 0 && size_t(i) < m_stawki.size() ? m_stawki[size_t(i)] : nullptr;
}

QLabel* TFTabelaD::Etykieta(const QString& kod) const
{
    const int i = IndeksKomorkiTabeliD(kod);
    return i >= 0 && size_t(i) < m_etykiety.size() ? m_etykiety[size_t(i)] : nullptr;
}

int TFTabelaD::Pokaz()
{
    if (!DM->OtworzZalacznikiPolrocza())
        return -100;
    setWindowTitle(QStringLiteral("TABELA D za półroczerr: ") + TekstOkresu());
    KopiujObrazZZalacznika(BitBtn1, "BitBtn1");
    KopiujObrazZZalacznika(BitBDrukPrzMonitor, "BitBDrukPrzMonitor");
    KopiujObrazZZalacznika(BitBDrukPrzDrukarka, "BitBDrukPrzDrukarka");
    ScrollBox1->verticalScrollBar()->setValue(0);
    int wynik = mrNone;
    {
        // The fee object follows every typed value while the window is open,
        // and stops on every way out.
        PrzelacznikTag przelacznik(DM->TTabelaD);
        OplatyD().Przelicz();
        NaCalyEkran();
        wynik = PokazModalnie();
    }
    ZapiszOczekujace();
    return wynik;
}

void TFTabelaD::Odswiez(bool przelicz)
{
    if (przelicz)
        OplatyD().Przelicz();
    const OplatyTabelaD& o = OplatyD();
    for (size_t i = 0; i < m_etykiety.size(); ++i)
        m_etykiety[i]->setText(o.teksty[i]);
}

void TFTabelaD::Drukuj(QAbstractButton* Sender)
{
    DrukujZestawienie(QRTabelaD, Sender == BitBDrukPrzMonitor, QStringLiteral("Wydruk Tabeli D za półrocze: "));
}

void TFTabelaD::BitBtn2Click()
{
    LabelNaliczanie->setVisible(true);
    LabelNaliczanie->repaint();
    BitBtn2->setEnabled(false);
    BitBtn2->repaint();
    // The button and the busy label come back on every way out.
    struct Przywroc {
        TFTabelaD* okno;
        ~Przywroc()
        {
            okno->LabelNaliczanie->setVisible(false);
            okno->BitBtn2->setEnabled(true);
        }
    } przywroc{this};
    try {
        ZuzyciePaliwa().WypelnijTabeleD();
    } catch (...) {
        // The labels follow whatever the row holds now, then the error goes on.
        try {
            Odswiez(true);
        } catch (...) {
        }
        throw;
    }
    Odswiez(true);
}

void TFTabelaD::PoPrzejsciuEnterem()
{
    if (focusWidget() == DBEdit1)
        ScrollBox1->verticalScrollBar()->setValue(0);
}

bool TFTabelaD::eventFilter(QObject* watched, QEvent* event)
{
    if (ScrollBox1 && watched == ScrollBox1->widget() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest || event->type() == QEvent::Move))
        UlozNaglowki();
    return TOknoZestawienia::eventFilter(watched, event);
}

void TFTabelaD::resizeEvent(QResizeEvent* event)
{
    TOknoZestawienia::resizeEvent(event);
    UlozNaglowki();
}

void TFTabelaD::UlozNaglowki()
{
    if (!m_siatka || !ScrollBox1 || !ScrollBox1->widget())
        return;
    QWidget* tresc = ScrollBox1->widget();
    m_siatka->activate();
    // Columns 1 to 4 of the grid: fuel, quantity, rate, fee.
    int wysokosc = 0;
    std::vector<QRect> miejsca;
    for (int i = 0; i < 4; ++i) {
        const QRect komorka = m_siatka->cellRect(0, i + 1);
        if (!komorka.isValid())
            return;
        const QPoint lewy = m_naglowki->mapFrom(this, tresc->mapTo(this, komorka.topLeft()));
        QLabel* n = m_etykietyNaglowkow[size_t(i)];
        // A heading may reach over the spacing on both sides of its column.
        const int zapas = i == 0 ? 0 : m_siatka->horizontalSpacing() / 2;
        const QRect miejsce(lewy.x() - zapas, 0, komorka.width() + 2 * zapas, 0);
        miejsca.push_back(miejsce);
        wysokosc = std::max(wysokosc, n->heightForWidth(miejsce.width()));
    }
    for (int i = 0; i < 4; ++i) {
        QRect r = miejsca[size_t(i)];
        r.setHeight(wysokosc);
        m_etykietyNaglowkow[size_t(i)]->setGeometry(r);
    }
    if (m_naglowki->minimumHeight() != wysokosc)
        m_naglowki->setFixedHeight(wysokosc);
}
