#include "WydrukPojazdow.h"

#include "Dane.h"
#include "DataSource.h"
#include "Dialogs.h"
#include "DrukujRaport.h"
#include "Funkcje.h"
#include "PrzegladyPojazdu.h"
#include "NumberText.h"
#include "TextMetrics.h"
#include "WriteGroup.h"

#include <algorithm>
#include <cmath>

using namespace kal::report;

TQRPojazdy* QRPojazdy = nullptr;

namespace {

// Room of a column beyond its width: two units on each side of its labels
// and the unit of the labels' own width beyond the text.
constexpr int OdstepKolumny = 5;

// Keeps a table's current record and quiets its controls (and those of the
// tables walked with it) while it is scanned; wroc (or the end of the scope)
// goes back.
class PowrotNaPojazd {
public:
    explicit PowrotNaPojazd(kal::TTable& t, std::initializer_list<kal::TTable*> wedrujace = {}) : m_t(t)
    {
        if (m_t.Active() && !m_t.IsEmpty() && m_t.State() == kal::dsBrowse)
            m_znak = m_t.GetBookmark();
        m_spiace.usypiaj(&m_t);
        for (kal::TTable* w : wedrujace)
            m_spiace.usypiaj(w);
    }
    ~PowrotNaPojazd()
    {
        try {
            wroc();
        } catch (...) {
        }
    }
    PowrotNaPojazd(const PowrotNaPojazd&) = delete;
    PowrotNaPojazd& operator=(const PowrotNaPojazd&) = delete;
    void wroc()
    {
        if (m_znak != 0 && m_t.Active() && m_t.BookmarkValid(m_znak))
            m_t.GotoBookmark(m_znak);
        m_znak = 0;
        m_spiace.obudz();
    }

private:
    kal::TTable& m_t;
    kal::TTable::TBookmark m_znak = 0;
    SpiaceKontrolki m_spiace;
};

double mm(int jednostki)
{
    return jednostki * TQRPojazdy::Jednostka;
}

// A column of texts (names, numbers of a body or an engine), which may give
// up width; the other columns hold figures and keep theirs.
bool Tekstowa(const KolumnaWydruku& k)
{
    return k.Pole && k.Pole->DataType() == kal::ftString;
}

} // namespace

// ============================================================ averages

void SredniePojazdow::Wyczysc()
{
    m_srednie.clear();
}

void SredniePojazdow::Ustaw(int pojazd, double srednia)
{
    for (auto& [id, s] : m_srednie)
        if (id == pojazd) {
            s = srednia;
            return;
        }
    m_srednie.emplace_back(pojazd, srednia);
}

double SredniePojazdow::Srednia(int pojazd) const
{
    for (const auto& [id, s] : m_srednie)
        if (id == pojazd)
            return s;
    return 0.0;
}

void SredniePojazdow::Oblicz(TDM& dm)
{
    kal::TTable* zuzycie = dm.TZuzycie;
    // The controls bound to the fuel records must not follow the scan.
    dm.DZuzycie->setDataSet(nullptr);
    struct Podlacz {
        TDM& dm;
        kal::TTable* t;
        ~Podlacz() { dm.DZuzycie->setDataSet(t); }
    } podlacz{dm, zuzycie};

    if (!dm.UstawZbiorZuzycia()) {
        kal::Dialogs().messageBox(dm.KomunikatBleduZbioruZuzycia(),
                                  QStringLiteral("Kontrola wprowadzania zużycia paliw."), kal::MbOk, kal::MsgIcon::None);
        return;
    }
    // The fuel window opens afterwards on the purchase it stood on.
    PowrotNaPojazd powrot(*zuzycie);

    int pojazd = -1;
    double poczatek = -1.0, koniec = -1.0, suma = 0.0, poprzednia = 0.0;
    auto zamknij = [&] {
        if (poczatek > -0.01 && koniec > 0.0 && koniec - poczatek > 0.5)
            Ustaw(pojazd, Zaokraglij(100.0 * suma / (koniec - poczatek), 2));
    };
    bool pierwszy = true;
    for (zuzycie->First(); !zuzycie->Eof(); zuzycie->Next()) {
        const int id = dm.TZuzycieIdentyfikatorPojazdu->AsInteger();
        if (!pierwszy && id == pojazd) {
            suma += poprzednia;
            koniec = PoleNaLiczbe(dm.TZuzycieIloscKm);
            poprzednia = PoleNaLiczbe(dm.TZuzycieIloscPaliwa);
        } else {
            if (!pierwszy)
                zamknij();
            pierwszy = false;
            koniec = -1.0;
            suma = 0.0;
            poczatek = PoleNaLiczbe(dm.TZuzycieIloscKm);
            poprzednia = PoleNaLiczbe(dm.TZuzycieIloscPaliwa);
            pojazd = id;
        }
    }
    if (!pierwszy)
        zamknij();
}

// ============================================================ the columns

const std::array<PozycjaListyKolumn, 16>& PozycjeListyKolumn()
{
    static const std::array<PozycjaListyKolumn, 16> pozycje = {{
        {QStringLiteral("L.p."), QStringLiteral("L.p."), {}, 1},
        {QStringLiteral("Marka"), QStringLiteral("Marka"), QStringLiteral("TPojazdyMarka"), 0},
        {QStringLiteral("Numer rejestracyjny"), QStringLiteral("Nr rejestrac."), QStringLiteral("TPojazdyNrRejestracyjny"), 0},
        {QStringLiteral("Numer nadwozia"), QStringLiteral("Nr nadwozia"), QStringLiteral("TPojazdyNrNadwozia"), 0},
        {QStringLiteral("Numer silnika"), QStringLiteral("Nr silnika"), QStringLiteral("TPojazdyNrSilnika"), 0},
        {QStringLiteral("Ładowność"), QStringLiteral("Ładown."), QStringLiteral("TPojazdyLadownosc"), 0},
        {QStringLiteral("Ilość miejsc"), QStringLiteral("Il.miejsc"), QStringLiteral("TPojazdyIloscMiejsc"), 0},
        {QStringLiteral("Pojemność silnika"), QStringLiteral("Poj.siln."), QStringLiteral("TPojazdyPojemnoscSilnika"), 0},
        {QStringLiteral("Rok produkcji"), QStringLiteral("Rok pr."), QStringLiteral("TPojazdyRokProdukcji"), 0},
        {QStringLiteral("Numer inwentarzowy"), QStringLiteral("Nr inwent."), QStringLiteral("TPojazdyNumerInwentarzowy"), 0},
        {QStringLiteral("Wartość ewidencyjna"), QStringLiteral("Wart.ewiden."), QStringLiteral("TPojazdyWartoscEwidencyjna"), 0},
        {QStringLiteral("Obwód drogowy"), QStringLiteral("Miejsce użytkowania"),
         QStringLiteral("TPojazdyNazwaMiejscaUzytkowania"), 0},
        {QStringLiteral("Ostatni przebieg"), QStringLiteral("Data i przebieg"), {}, 2},
        {QStringLiteral("Norma letnia"), QStringLiteral("Nor.let."), QStringLiteral("TPojazdyNormaLetnia"), 0},
        {QStringLiteral("Norma zimowa"), QStringLiteral("Nor.zim."), QStringLiteral("TPojazdyNormaZimowa"), 0},
        {QStringLiteral("Średnie zużycie"), QStringLiteral("Sred.zużycie"), {}, 3},
    }};
    return pozycje;
}

// ============================================================ the report

TQRPojazdy::TQRPojazdy(TDM& dm) : m_dm(dm), m_roboczy(dm.TRoboczy)
{
    zbuduj();
}

void TQRPojazdy::zbuduj()
{
    title = QStringLiteral("Wydruk pojazdów.");
    orientation = Orientation::Landscape;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 9.0, false, false, false};
    printIfEmpty = true;
    dataSource = &m_roboczy;

    Band* tytul = addBand(BandType::Title, QStringLiteral("TitleBand1"));
    Label* l = tytul->addLabel(QStringLiteral("QRLabel1"), 0, 0, 277, 6, QStringLiteral("Wydruk pojazdów."));
    l->font.bold = true;
    l->font.pointSize = 12;
    Label* parametry = tytul->addLabel(QStringLiteral("QRLParametry"), 0, 7, 40, 4);
    parametry->font.pointSize = 8;
    parametry->enabled = false;
    tytul->height = 12;

    Band* glowka = addBand(BandType::ColumnHeader, QStringLiteral("ColumnHeaderBand1"));
    Band* wiersz = addBand(BandType::Detail, QStringLiteral("DetailBand1"));
    glowka->height = mm(WysokoscWiersza);
    wiersz->height = mm(WysokoscWiersza);

    auto pozioma = [](Band* b, const QString& nazwa, int top) {
        Shape* s = b->addShape(nazwa, mm(1), mm(top - 1), 0, mm(2), Shape::Type::HorLine);
        return s;
    };
    auto pionowa = [](Band* b, const QString& nazwa, int left, int top, int h) {
        return b->addShape(nazwa, mm(left - 1), mm(top), mm(2), mm(h), Shape::Type::VertLine);
    };
    pozioma(glowka, QStringLiteral("QRSGlGora"), 1);
    pozioma(glowka, QStringLiteral("QRSGlDol"), WysokoscWiersza - 2);
    pionowa(glowka, QStringLiteral("QRSGlLewa"), 0, 2, 26);
    pozioma(wiersz, QStringLiteral("QRSDetailDol"), WysokoscWiersza - 3);
    // The detail's left line reaches up into the band above, so that rows join.
    pionowa(wiersz, QStringLiteral("QRSDetailLewa"), 0, -2, 26);

    for (int i = 0; i < 16; ++i) {
        KolumnaWydruku& k = m_kolumny[size_t(i)];
        k.LiniaNaglowka = pionowa(glowka, QStringLiteral("LiniaNaglowka%1").arg(i), 30 * i + 31, 2, 26);
        k.LiniaWiersza = pionowa(wiersz, QStringLiteral("LiniaWiersza%1").arg(i), 30 * i + 31, -2, 26);
        k.EtykietaNaglowka = glowka->addLabel(QStringLiteral("EtykietaNaglowka%1").arg(i), mm(30 * i + 3), mm(4), mm(28),
                                              mm(WysokoscWiersza - 8), QString::number(i));
        k.EtykietaWiersza = wiersz->addLabel(QStringLiteral("EtykietaWiersza%1").arg(i), mm(30 * i + 3), mm(1), mm(28),
                                             mm(WysokoscWiersza - 8), QString::number(i));
        for (Label* e : {k.EtykietaNaglowka, k.EtykietaWiersza}) {
            e->alignment = Align::Center;
            e->font = parametry->font;
        }
    }
    WyczyscKolumny();
    WybraneMiejsce = -1;

    wiersz->beforePrint = [this](Band&, bool& drukuj) {
        drukuj = true;
        for (int j = 0; j < IloscKolumn; ++j) {
            KolumnaWydruku& k = m_kolumny[size_t(j)];
            k.EtykietaWiersza->caption =
                TekstWKolumnie(m_roboczy.fieldText(QStringLiteral("Pole%1").arg(j + 1)).trimmed(), k.Szerokosc);
        }
    };
}

void TQRPojazdy::WyczyscKolumny()
{
    for (KolumnaWydruku& k : m_kolumny) {
        k.Tytul.clear();
        k.Pole = nullptr;
        k.Szerokosc = 0;
        k.Rodzaj = 0;
    }
}

void TQRPojazdy::DodajKolumne(const QString& tytul, kal::TField* pole, int rodzaj)
{
    if (IloscKolumn >= 16)
        return;
    KolumnaWydruku& k = m_kolumny[size_t(IloscKolumn++)];
    k.Tytul = tytul;
    k.Pole = pole;
    k.Rodzaj = rodzaj;
}

int TQRPojazdy::SzerokoscTekstu(const QString& tekst) const
{
    const Label* wzor = band(QStringLiteral("TitleBand1"))->find<Label>(QStringLiteral("QRLParametry"));
    return int(std::ceil(TextMetrics::width(wzor->font, tekst) / Jednostka - 1e-9));
}

QString TQRPojazdy::TekstWKolumnie(const QString& tekst, int szerokosc) const
{
    if (SzerokoscTekstu(tekst) <= szerokosc)
        return tekst;
    // Cut where it shows: what is left, and "…".
    const QString kropki(QChar(0x2026));
    for (qsizetype n = tekst.size() - 1; n > 0; --n) {
        if (tekst.at(n).isLowSurrogate())
            continue;
        const QString krotszy = tekst.left(n).trimmed() + kropki;
        if (SzerokoscTekstu(krotszy) <= szerokosc)
            return krotszy;
    }
    return kropki;
}

void TQRPojazdy::ZmiescNaStronie()
{
    // The columns and the top and bottom lines, which reach a unit beyond
    // the last column's line, stay within the page's margins.
    const int strona = int(std::floor((A4Size(orientation).width() - margins.left() - margins.right()) / Jednostka + 1e-9));
    // A text column narrowed to `najwyzej` units, keeping the width of its
    // caption when `tytul` is true.
    const auto szerokosc = [this](const KolumnaWydruku& k, int najwyzej, bool tytul) {
        if (!Tekstowa(k))
            return k.Szerokosc;
        return std::min(k.Szerokosc, std::max(najwyzej, tytul ? SzerokoscTekstu(k.Tytul) : 0));
    };
    const auto razem = [&](int najwyzej, bool tytul) {
        int x = 1;
        for (int j = 0; j < IloscKolumn; ++j)
            x += szerokosc(m_kolumny[size_t(j)], najwyzej, tytul) + OdstepKolumny;
        return x;
    };
    int najwyzej = 0;
    for (int j = 0; j < IloscKolumn; ++j)
        if (Tekstowa(m_kolumny[size_t(j)]))
            najwyzej = std::max(najwyzej, m_kolumny[size_t(j)].Szerokosc);
    if (razem(najwyzej, true) <= strona)
        return;
    // The widest text columns give up width, down to one width for them all
    // at which the list fits the page; their captions stay whole while they
    // can.
    const bool tytul = razem(1, true) <= strona;
    while (najwyzej > 1 && razem(najwyzej, tytul) > strona)
        --najwyzej;
    for (int j = 0; j < IloscKolumn; ++j) {
        KolumnaWydruku& k = m_kolumny[size_t(j)];
        k.Szerokosc = szerokosc(k, najwyzej, tytul);
    }
}

void TQRPojazdy::UstalSzerokosci()
{
    for (int j = 0; j < IloscKolumn; ++j) {
        KolumnaWydruku& k = m_kolumny[size_t(j)];
        k.Szerokosc = SzerokoscTekstu(k.Tytul) + (k.Pole ? 0 : 4);
    }
}

void TQRPojazdy::RozmiescKolumny()
{
    for (KolumnaWydruku& k : m_kolumny)
        for (Control* c : std::initializer_list<Control*>{k.LiniaNaglowka, k.LiniaWiersza, k.EtykietaNaglowka,
                                                          k.EtykietaWiersza})
            c->enabled = false;
    int x = 0;
    for (int j = 0; j < IloscKolumn; ++j) {
        KolumnaWydruku& k = m_kolumny[size_t(j)];
        for (Control* c : std::initializer_list<Control*>{k.LiniaNaglowka, k.LiniaWiersza, k.EtykietaNaglowka,
                                                          k.EtykietaWiersza})
            c->enabled = true;
        for (Label* e : {k.EtykietaNaglowka, k.EtykietaWiersza}) {
            e->width = mm(k.Szerokosc + 1);
            e->left = mm(x + 2);
        }
        k.EtykietaNaglowka->caption = TekstWKolumnie(k.Tytul, k.Szerokosc);
        // The column is two units wider than its labels on either side, so
        // that its widest text, centred, keeps clear of both lines.
        for (Shape* s : {k.LiniaNaglowka, k.LiniaWiersza})
            s->left = mm(x + k.Szerokosc + OdstepKolumny - 1);
        x += k.Szerokosc + OdstepKolumny;
    }
    Band* glowka = band(QStringLiteral("ColumnHeaderBand1"));
    glowka->find<Shape>(QStringLiteral("QRSGlGora"))->width = mm(x);
    glowka->find<Shape>(QStringLiteral("QRSGlDol"))->width = mm(x);
    band(QStringLiteral("DetailBand1"))->find<Shape>(QStringLiteral("QRSDetailDol"))->width = mm(x);
}

void TQRPojazdy::PrzygotujIDrukuj(bool podglad)
{
    TDM& dm = m_dm;
    PrzebiegSamochodu przebieg;
    SredniePojazdow srednie;

    Label* tytul = band(QStringLiteral("TitleBand1"))->find<Label>(QStringLiteral("QRLabel1"));
    if (WybraneMiejsceUzytkowania) {
        tytul->caption = QStringLiteral("Wydruk pojazdów z miejsca użytkowania: ") + dm.TMiejsceUzNazwa->AsString();
        WybraneMiejsce = dm.TMiejsceUzIdentyfiklator->AsInteger();
    } else {
        tytul->caption = QStringLiteral("Wydruk wszystkich pojazdów");
        WybraneMiejsce = -1;
    }

    WyczyscKolumny();
    IloscKolumn = 0;
    const auto& pozycje = PozycjeListyKolumn();
    for (size_t i = 0; i < pozycje.size(); ++i) {
        if (!Zaznaczone[i])
            continue;
        DodajKolumne(pozycje[i].tytul, pozycje[i].pole.isEmpty() ? nullptr : dm.Pole(pozycje[i].pole),
                     pozycje[i].rodzaj);
        if (i == 15)
            srednie.Oblicz(dm);
    }
    UstalSzerokosci();

    kal::TTable& r = *dm.TRoboczy;
    // The rows of the work table are stored as one, with a single sync.
    kal::TWriteGroup grupa;
    r.EmptyTable();
    // The scan leaves the vehicle register on the vehicle the user stands on,
    // and its windows (the vehicle's repairs and readings too) do not follow
    // the scan.
    PowrotNaPojazd powrot(*dm.TPojazdy, {dm.TPrzegl, dm.TPrzebieg});
    int n = 1;
    for (dm.TPojazdy->First(); !dm.TPojazdy->Eof(); dm.TPojazdy->Next()) {
        if (WybraneMiejsce != -1 && dm.TPojazdyMiejsceUzytkowania->AsInteger() != WybraneMiejsce)
            continue;
        r.Insert();
        for (int j = 0; j < IloscKolumn; ++j) {
            KolumnaWydruku& k = m_kolumny[size_t(j)];
            QString tekst;
            switch (k.Rodzaj) {
            case 1: tekst = QString::number(n); break;
            case 2:
                przebieg.Wczytaj();
                tekst = przebieg.znaleziony
                            ? przebieg.data.NaTekst('U', false) + QLatin1Char(' ') + kal::FloatToText(przebieg.km)
                            : QStringLiteral("Brak danych");
                break;
            case 3: {
                const double s = srednie.Srednia(dm.TPojazdyIdentyfikatorPojazdu->AsInteger());
                tekst = s > 0.0 ? kal::FloatToText(s) : QStringLiteral("-");
                break;
            }
            default: tekst = k.Pole ? k.Pole->AsString() : QString(); break;
            }
            k.Szerokosc = std::max(k.Szerokosc, SzerokoscTekstu(tekst));
            r.FieldByName(QStringLiteral("Pole%1").arg(j + 1))->setAsString(tekst);
        }
        // Ten digits, so that the key order stays the row order past row 999.
        r.FieldByName(QStringLiteral("Klucz"))->setAsString(QString::asprintf("%010d", n));
        r.Post();
        ++n;
    }
    grupa.Commit();

    powrot.wroc();
    ZmiescNaStronie();
    RozmiescKolumny();
    DrukujRaport(this, podglad, QStringLiteral("Wydruk pojazdów."), 1);
}
