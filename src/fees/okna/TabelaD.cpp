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
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
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
    auto* naglowek1 = new QLabel(QStringLiteral("Rodzaj paliwa                 Zużycie paliwa    [Mg]      Jednostkowa "
                                                "stawka       Wysokość opłaty [zł]"),
                                 this);
    naglowek1->setObjectName(QStringLiteral("Label1"));
    auto* naglowek2 = new QLabel(QStringLiteral("opłaty [zł/Mg] [Mg]"), this);
    naglowek2->setObjectName(QStringLiteral("Label2"));
    LabelNaliczanie = new QLabel(QStringLiteral("Trwa naliczanie, proszę czekać !!!"), this);
    LabelNaliczanie->setObjectName(QStringLiteral("LabelNaliczanie"));
    LabelNaliczanie->setVisible(false);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBDrukPrzMonitor = NowyPrzycisk("BitBDrukPrzMonitor", QStringLiteral("Podgląd"));
    BitBDrukPrzDrukarka = NowyPrzycisk("BitBDrukPrzDrukarka", QStringLiteral("Drukuj"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("Wylicz według zużycia"));

    // The scroll box: the row memo on the left, one line per cell beside it.
    auto* tresc = new QWidget;
    auto* siatka = new QGridLayout(tresc);
    siatka->setVerticalSpacing(0);
    Memo1 = new QTextEdit(tresc);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QTextEdit::NoWrap);

    kal::TDBEdit wzor;
    const int wysokosc = wzor.sizeHint().height();
    // Room for "99 999,999" in each quantity and rate edit, however narrow the window.
    const int szerokoscPola = wzor.fontMetrics().horizontalAdvance(QStringLiteral("99 999,999")) + 16;
    QStringList linie;
    int wiersz = 0;
    int numer = 0;
    const int liczba = LiczbaKomorekTabeliD - 5;
    for (const WierszOknaTabeliD& w : WierszeOknaTabeliD()) {
        const int wysokoscWiersza = std::max<int>(int(w.opis.size()), int(w.komorki.size()));
        for (int i = 0; i < wysokoscWiersza; ++i) {
            linie << (i < w.opis.size() ? w.opis[i] : QString());
            siatka->setRowMinimumHeight(wiersz + i, wysokosc);
        }
        for (size_t i = 0; i < w.komorki.size(); ++i) {
            const KomorkaOknaTabeliD& k = w.komorki[i];
            const int r = wiersz + int(i);
            // The fuel names give way (cut at the right, whole in the hint)
            // so that the fee column stays in sight on a narrow screen.
            auto* nazwa = new QLabel(k.paliwo, tresc);
            nazwa->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            nazwa->setMinimumWidth(160);
            nazwa->setToolTip(k.paliwo);
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
            l->setMinimumWidth(110);
            siatka->addWidget(l, r, 4);
            m_etykiety.push_back(l);
        }
        wiersz += wysokoscWiersza;
    }
    DBEdit1 = m_ilosci.front();

    // One memo line per grid line, each as high as an edit.
    Memo1->setPlainText(linie.join(QLatin1Char('\n')));
    QTextCursor c(Memo1->document());
    c.select(QTextCursor::Document);
    QTextBlockFormat f;
    f.setLineHeight(wysokosc, QTextBlockFormat::FixedHeight);
    f.setLeftMargin(4);
    c.mergeBlockFormat(f);
    Memo1->setFixedHeight(wysokosc * wiersz + 2 * Memo1->frameWidth() + 8);
    Memo1->setMinimumWidth(420);
    siatka->addWidget(Memo1, 0, 0, wiersz, 1, Qt::AlignTop);
    siatka->setColumnStretch(1, 1);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setWidget(tresc);
    // Enter walks each cell's quantity, then its rate, cell by cell.
    for (size_t i = 0; i < m_ilosci.size(); ++i) {
        QWidget::setTabOrder(i == 0 ? static_cast<QWidget*>(BitBtn2) : m_stawki[i - 1], m_ilosci[i]);
        QWidget::setTabOrder(m_ilosci[i], m_stawki[i]);
    }

    auto* gora = new QGridLayout;
    gora->addWidget(naglowek1, 0, 0);
    gora->addWidget(naglowek2, 1, 0);
    gora->addWidget(LabelNaliczanie, 0, 1);
    auto* przyciski = new QHBoxLayout;
    przyciski->addWidget(BitBtn2);
    przyciski->addWidget(BitBDrukPrzMonitor);
    przyciski->addWidget(BitBDrukPrzDrukarka);
    przyciski->addWidget(BitBtn1);
    gora->addLayout(przyciski, 1, 1);
    gora->setColumnStretch(0, 1);
    auto* uklad = new QVBoxLayout(this);
    uklad->addLayout(gora);
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
