#include "WydrukTabeliA.h"

#include "Dane.h"
#include "DrukujRaport.h"
#include "WriteGroup.h"
#include "Funkcje.h"
#include "NumberText.h"

#include <vector>

using namespace kal::report;

TQRWydrukTabeliA* QRWydrukTabeliA = nullptr;

namespace {

constexpr double Linia = 3.6;
constexpr double Szerokosc = 277.0;
// Texts of a ruled cell keep this far from its left and right lines.
constexpr double Odstep = 0.8;

QStringList L(std::initializer_list<const char*> teksty)
{
    QStringList l;
    for (const char* t : teksty)
        l << QString::fromUtf8(t);
    return l;
}

// A framed cell of lines.
Memo* Komorka(Band* b, const QString& nazwa, double x1, double x2, double y, double h, const QStringList& linie = {},
              Align wyrownanie = Align::Center)
{
    Memo* m = b->addMemo(nazwa, x1, y, x2 - x1, h, linie);
    m->alignment = wyrownanie;
    m->frame = FrameAll;
    m->padding = Odstep;
    return m;
}

// A framed one-line cell filled at run time.
Label* Pole(Band* b, const QString& nazwa, double x1, double x2, double y, double h, Align wyrownanie = Align::Center)
{
    Label* l = b->addLabel(nazwa, x1, y, x2 - x1, h);
    l->alignment = wyrownanie;
    l->frame = FrameAll;
    l->padding = Odstep;
    return l;
}

Label* Napis(Band* b, const QString& nazwa, double x, double y, double w, const QString& tekst, bool gruby = false,
             Align wyrownanie = Align::Left)
{
    Label* l = b->addLabel(nazwa, x, y, w, Linia, tekst);
    l->font.bold = gruby;
    l->alignment = wyrownanie;
    return l;
}

// Headings of a ruled table over `kolumny` and the row of column numbers
// under them; returns the y below the numbers.
double Glowki(Band* b, const QString& prefiks, const double* kolumny, const std::vector<QStringList>& glowki, double y,
              double h)
{
    for (size_t k = 0; k < glowki.size(); ++k) {
        if (glowki[k].isEmpty())
            continue;
        // A heading line too wide for its column breaks rather than runs
        // over the column's lines.
        Komorka(b, QStringLiteral("%1Glowka%2").arg(prefiks).arg(k + 1), kolumny[k], kolumny[k + 1], y, h, glowki[k])
            ->wordWrap = true;
    }
    for (size_t k = 0; k < glowki.size(); ++k)
        Komorka(b, QStringLiteral("%1Kolumna%2").arg(prefiks).arg(k + 1), kolumny[k], kolumny[k + 1], y + h, Linia + 0.6,
                {QString::number(k + 1)});
    return y + h + Linia + 0.6;
}

// The first line of a memo, cleared and set.
void Ustaw(Band& b, const QString& memo, const QString& tekst)
{
    Memo* m = b.find<Memo>(memo);
    m->lines.clear();
    m->lines << tekst;
}

QString Tekst(const kal::TField* f)
{
    return f ? f->AsString() : QString();
}

// Two texts joined the way the heading joins name lines and address lines.
QString Polacz(const QString& a, const QString& b)
{
    return b.isEmpty() ? a : a.trimmed() + QLatin1Char(' ') + b.trimmed();
}

// A commune in the summary: its sum and the name it was first met under.
struct Gmina {
    int id = 0;
    double suma = 0.0;
    QString nazwa;
};

} // namespace

const double TQRWydrukTabeliA::KolumnyZrodla[9] = {0, 12, 57, 97, 127, 157, 202, 227, 277};
const double TQRWydrukTabeliA::KolumnySubstancji[8] = {0, 12, 92, 132, 172, 207, 242, 277};
const double TQRWydrukTabeliA::KolumnyPaliw[7] = {0, 12, 112, 152, 192, 232, 277};
const double TQRWydrukTabeliA::KolumnyGmin[4] = {0, 12, 132, 277};

TQRWydrukTabeliA::TQRWydrukTabeliA(TDM& dm)
    : m_dm(dm), m_roboczy(dm.TRoboczy), m_firma(dm.TFirma)
{
    zbuduj();
}

QString TQRWydrukTabeliA::pole(int nr) const
{
    return m_roboczy.fieldText(QStringLiteral("Pole%1").arg(nr));
}

bool TQRWydrukTabeliA::wierszRodzaju(int rodzaj) const
{
    const kal::TField* f = m_dm.TRoboczy->FindField(QStringLiteral("Calkowity"));
    return f && !f->IsNull() && f->AsInteger() == rodzaj;
}

void TQRWydrukTabeliA::zbuduj()
{
    title = QStringLiteral("Wydruk Tabeli A");
    orientation = Orientation::Landscape;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 8.0, false, false, false};
    printIfEmpty = true;
    dataSource = &m_roboczy;

    // ---- kind 0: the heading, the company and the place of use.
    Band* d = addBand(BandType::Detail, QStringLiteral("DetailBand1"));
    {
        Memo* t = d->addMemo(QStringLiteral("QRMemo1"), 0, 0, Szerokosc, 2 * Linia,
                             L({"Wykaz zawierający informacje o ilości i rodzajach gazów lub pyłów wprowadzanych do "
                                "powietrza oraz dane, na podstawie których określono te ilości",
                                "oraz informacje o wysokości należnych opłat"}));
        t->font.bold = true;
        t->alignment = Align::Center;
        double y = 2 * Linia + 2;
        d->addShape(QStringLiteral("QRShapeRamka"), 0, y, Szerokosc, Linia + 2, Shape::Type::Rectangle);
        Napis(d, QStringLiteral("QRLabel98"), 2, y + 1, 150, QStringLiteral("WPROWADZENIE GAZÓW LUB PYŁÓW DO POWIETRZA*"),
              true);
        Napis(d, QStringLiteral("QRLabel97a"), 180, y + 1, 32, QStringLiteral("półrocze **/ rok**:"));
        Napis(d, QStringLiteral("QRLabel99"), 213, y + 1, 60, QString(), true);
        y += Linia + 4;
        Napis(d, QStringLiteral("QRLabel2"), 0, y, 150, QStringLiteral("Podmiot korzystający ze środowiska"), true);
        y += Linia + 1;
        Napis(d, QStringLiteral("QRLabel3"), 0, y, 25, QStringLiteral("Nazwa:"));
        d->addMemo(QStringLiteral("QRMemo3"), 25, y, Szerokosc - 25, Linia);
        y += Linia + 1;
        Napis(d, QStringLiteral("QRLabel4"), 0, y, 25, QStringLiteral("Adres:"));
        d->addMemo(QStringLiteral("QRMemo4"), 25, y, Szerokosc - 25, Linia);
        y += Linia + 1;
        Napis(d, QStringLiteral("QRLabel5"), 0, y, 25, QStringLiteral("REGON:"));
        d->addDataText(QStringLiteral("QRDBText1"), 25, y, 60, Linia, QStringLiteral("REGON"))->source = &m_firma;
        Napis(d, QStringLiteral("QRLabel6"), 100, y, 30, QStringLiteral("Telefon / faks:"));
        d->addDataText(QStringLiteral("QRDBText2"), 130, y, 100, Linia, QStringLiteral("Telefon"))->source = &m_firma;
        y += Linia + 2;
        Napis(d, QStringLiteral("QRLabel7"), 0, y, 150, QStringLiteral("Miejsce/ miejsca korzystania ze środowiska"), true);
        y += Linia + 1;
        const double miejsce[5] = {0, 15, 160, 220, 277};
        const QStringList glowki[4] = {{QStringLiteral("Lp.")}, {QStringLiteral("Adres")}, {QStringLiteral("Gmina")},
                                       {QStringLiteral("Powiat")}};
        for (int k = 0; k < 4; ++k)
            Komorka(d, QStringLiteral("QRMiejsceGlowka%1").arg(k + 1), miejsce[k], miejsce[k + 1], y, Linia + 1,
                    glowki[k]);
        y += Linia + 1;
        Pole(d, QStringLiteral("QRLabel13"), miejsce[0], miejsce[1], y, Linia + 1);
        const QString memo[3] = {QStringLiteral("QRMemo5"), QStringLiteral("QRMemo6"), QStringLiteral("QRMemo7")};
        for (int k = 0; k < 3; ++k)
            Komorka(d, memo[k], miejsce[k + 1], miejsce[k + 2], y, Linia + 1, {}, Align::Left);
        y += Linia + 3;
        Memo* n1 = d->addMemo(
            QStringLiteral("QRMemo15"), 0, y, Szerokosc, 2 * Linia,
            L({"* W niniejszym wykazie wypełnia się tylko te tabele, które dotyczą danego podmiotu korzystającego ze "
               "środowiska. W tabelach należy podać wielkości wraz z jednostkami miary, w których zostały wyrażone."}));
        n1->wordWrap = true;
        n1->font.pointSize = 7;
        y += 2 * Linia;
        Memo* n2 = d->addMemo(QStringLiteral("QRMemo16"), 0, y, Szerokosc, 2 * Linia,
                              L({"** Należy podać rok, którego dotyczy wykaz. W przypadku przedkładania wykazu za okres "
                                 "półrocza, należy dodatkowo podać, którego półroca dotyczy"}));
        n2->wordWrap = true;
        n2->font.pointSize = 7;
        d->height = y + 2 * Linia + 2;
    }
    d->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = wierszRodzaju(WierszNaglowek);
        if (!drukuj)
            return;
        Ustaw(b, QStringLiteral("QRMemo3"), Polacz(pole(1), pole(2)));
        const QString adres = Polacz(pole(3), pole(4));
        Ustaw(b, QStringLiteral("QRMemo4"), adres);
        ++NumerMiejsca;
        b.find<Label>(QStringLiteral("QRLabel13"))->caption = QString::number(NumerMiejsca);
        Ustaw(b, QStringLiteral("QRMemo5"), pole(5).isEmpty() ? adres : pole(5));
        Ustaw(b, QStringLiteral("QRMemo6"), pole(6));
        Ustaw(b, QStringLiteral("QRMemo7"), pole(7));
    };

    // ---- kind 1: ends the page.
    Band* c1 = d->child(QStringLiteral("ChildBand1"));
    c1->height = 0;
    c1->beforePrint = [this](Band&, bool& drukuj) {
        drukuj = false;
        if (wierszRodzaju(WierszNowaStrona))
            newPage();
    };

    // ---- kind 2: the source.
    Band* c2 = c1->child(QStringLiteral("ChildBand2"));
    {
        const double* k = KolumnyZrodla;
        Napis(c2, QStringLiteral("QRLabel40"), 0, 0, Szerokosc, QStringLiteral("TABELA A"), true, Align::Center);
        Napis(c2, QStringLiteral("QRLabel41"), 0, Linia + 1, Szerokosc,
              QStringLiteral("CHARAKTERYSTYKA  ŹRÓDEŁ POWSTAWANIA SUBSTANCJI WPROWADZANYCH DO POWIETRZA"), true,
              Align::Center);
        double y = 2 * Linia + 3;
        const double h = 5 * Linia + 1;
        Komorka(c2, QStringLiteral("QRZrodloPozwolenie"), k[5], k[7], y, 2 * Linia + 1,
                L({"Pozwolenie na wprowadzanie gazów lub pyłów", "do powietrza/zintegrowane 1)"}));
        Komorka(c2, QStringLiteral("QRZrodloGlowka6"), k[5], k[6], y + 2 * Linia + 1, 3 * Linia,
                L({"nr i data wydania oraz organ,", "który wydał"}));
        Komorka(c2, QStringLiteral("QRZrodloGlowka7"), k[6], k[7], y + 2 * Linia + 1, 3 * Linia,
                L({"Termin", "obowiązywania"}));
        y = Glowki(c2, QStringLiteral("QRZrodlo"), k,
                   {L({"Lp."}), L({"Adres"}), L({"Rodzaj instalacji /", "działalności"}),
                    L({"Nominalna moc cieplna", "urządzenia spalającego", "paliwo [MW]"}),
                    L({"Rodzaj urządzenia", "ochronnego"}), {}, {},
                    L({"Zużycie", "surowców", "materiałów, ilość", "produktów lub", "inna wielkość 2)"})},
                   y, h);
        // The memos break their lines; every cell of the row, the one-line
        // ones too, reaches down to the tallest, so the ruled row stays closed.
        Pole(c2, QStringLiteral("QRLabel45"), k[0], k[1], y, Linia + 1)->stretch = true;
        const char* nazwy[7] = {"QRMemo8", "QRMemo9", "QRLabel66", "QRMemo10", "QRMemo11", "QRLabel64", "QRMemo12"};
        for (int i = 0; i < 7; ++i) {
            const QString n = QString::fromLatin1(nazwy[i]);
            if (n.startsWith(QStringLiteral("QRLabel"))) {
                Pole(c2, n, k[i + 1], k[i + 2], y, Linia + 1)->stretch = true;
            } else {
                Memo* m = Komorka(c2, n, k[i + 1], k[i + 2], y, Linia + 1, {}, Align::Left);
                m->wordWrap = true;
                m->stretch = true;
            }
        }
        // The band ends with the row, which may grow; the line under it
        // opens the next band, so that it always stands below the row.
        c2->height = y + Linia + 1;
    }
    c2->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = wierszRodzaju(WierszZrodlo);
        if (!drukuj)
            return;
        ++NumerZrodla;
        b.find<Label>(QStringLiteral("QRLabel45"))->caption = QString::number(NumerZrodla);
        QString adres = pole(4);
        if (adres.isEmpty())
            adres = pole(3);
        if (adres.isEmpty())
            adres = pole(1).trimmed() + QLatin1Char(' ') + pole(2).trimmed();
        Ustaw(b, QStringLiteral("QRMemo8"), adres);
        Ustaw(b, QStringLiteral("QRMemo9"), pole(5));
        b.find<Label>(QStringLiteral("QRLabel66"))->caption = pole(6);
        Ustaw(b, QStringLiteral("QRMemo10"), pole(7));
        Ustaw(b, QStringLiteral("QRMemo11"), pole(8));
        b.find<Label>(QStringLiteral("QRLabel64"))->caption = pole(9);
        Ustaw(b, QStringLiteral("QRMemo12"), pole(10));
    };

    // ---- kind 3: the substance table heading.
    Band* c3 = c2->child(QStringLiteral("ChildBand3"));
    {
        // Under the source row (a source row is always followed by this one).
        Napis(c3, QStringLiteral("QRLabel46"), 0, 2, Szerokosc,
              QStringLiteral("Wielkość emisji ze wskazanej instalacji lub działalności3):..."));
        const double y0 = Linia + 4;
        Napis(c3, QStringLiteral("QRLabel47"), 0, y0, Szerokosc,
              QStringLiteral("Źródło powstawania wprowadzanych do powietrza substancji 4):..."));
        const double y = Glowki(c3, QStringLiteral("QRSubst"), KolumnySubstancji,
                                {L({"Lp."}), L({"Nazwa i kod substancji 5)"}),
                                 L({"Skuteczność/", "dyspozycyjność urządzenia", "ochronnego [%]"}),
                                 L({"Wskaźnik emisji/", "Wyniki pomiarów 6) 7)"}), L({"Wielkość emisji [kg]"}),
                                 L({"Jednostkowa stawka", "opłaty 8) [zł/kg]"}), L({"Wysokość opłaty", "[zł]"})},
                                y0 + Linia + 1, 3 * Linia + 1);
        c3->height = y;
    }
    c3->beforePrint = [this](Band&, bool& drukuj) { drukuj = wierszRodzaju(WierszNaglowekSubst); };

    // ---- kind 4: a substance.
    Band* c4 = c3->child(QStringLiteral("ChildBand4"));
    for (int i = 0; i < 7; ++i)
        Pole(c4, QStringLiteral("QRLabel%1").arg(68 + i), KolumnySubstancji[i], KolumnySubstancji[i + 1], 0, Linia + 1,
             i == 1 ? Align::Left : (i == 0 ? Align::Center : Align::Right));
    c4->height = Linia + 1;
    c4->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = wierszRodzaju(WierszSubstancja);
        if (drukuj)
            for (int i = 0; i < 7; ++i)
                b.find<Label>(QStringLiteral("QRLabel%1").arg(68 + i))->caption = pole(i + 1);
    };

    // ---- kind 5: the fee total of the source.
    Band* c5 = c4->child(QStringLiteral("ChildBand5"));
    Komorka(c5, QStringLiteral("QRMemo13"), KolumnySubstancji[0], KolumnySubstancji[6], 0, Linia + 1,
            {QStringLiteral("Wysokość opłaty ogółem [zł]")}, Align::Right);
    Pole(c5, QStringLiteral("QRLabel76"), KolumnySubstancji[6], KolumnySubstancji[7], 0, Linia + 1, Align::Right);
    c5->height = Linia + 3;
    c5->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = wierszRodzaju(WierszSumaZrodla);
        if (drukuj)
            b.find<Label>(QStringLiteral("QRLabel76"))->caption = pole(1);
    };

    // ---- kind 6: the fuel table heading.
    Band* c6 = c5->child(QStringLiteral("ChildBand6"));
    {
        Napis(c6, QStringLiteral("QRLabel80"), 0, 0, Szerokosc, QStringLiteral("Charakterystyka paliw"), true);
        c6->height = Glowki(c6, QStringLiteral("QRPaliwa"), KolumnyPaliw,
                            {L({"Lp."}), L({"Rodzaj paliwa"}), L({"Zużycie", "[Mg lub m3]"}),
                             L({"Wartość opałowa", "[kJ/kg lub kJ/m3]"}), L({"Zawartość", "popiołu [% ]"}),
                             L({"Zawartość", "siarki [% lub mg/m3]"})},
                            Linia + 1, 2 * Linia + 1);
    }
    c6->beforePrint = [this](Band&, bool& drukuj) { drukuj = wierszRodzaju(WierszNaglowekPaliw); };

    // ---- kind 7: a fuel.
    Band* c7 = c6->child(QStringLiteral("ChildBand7"));
    for (int i = 0; i < 6; ++i)
        Pole(c7, QStringLiteral("QRLabel%1").arg(86 + i), KolumnyPaliw[i], KolumnyPaliw[i + 1], 0, Linia + 1,
             i == 1 ? Align::Left : (i == 0 ? Align::Center : Align::Right));
    c7->height = Linia + 1;
    c7->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = wierszRodzaju(WierszPaliwo);
        if (drukuj)
            for (int i = 0; i < 6; ++i)
                b.find<Label>(QStringLiteral("QRLabel%1").arg(86 + i))->caption = pole(i + 1);
    };

    // ---- kind 8: the commune summary heading.
    Band* c8 = c7->child(QStringLiteral("ChildBand8"));
    {
        const QStringList glowki[3] = {
            {QStringLiteral("Lp.")},
            {QStringLiteral("Gmina")},
            {QStringLiteral("Suma opłat za wprowadzanie gazów do powietrza w poszczególnych gminach [zł]")}};
        for (int k = 0; k < 3; ++k)
            Komorka(c8, QStringLiteral("QRGminyGlowka%1").arg(k + 1), KolumnyGmin[k], KolumnyGmin[k + 1], 4,
                    2 * Linia, glowki[k]);
        c8->height = 4 + 2 * Linia;
    }
    c8->beforePrint = [this](Band&, bool& drukuj) { drukuj = wierszRodzaju(WierszNaglowekGmin); };

    // ---- kind 9: the fee sum of a commune.
    Band* c9 = c8->child(QStringLiteral("ChildBand9"));
    Pole(c9, QStringLiteral("QRLabel95"), KolumnyGmin[0], KolumnyGmin[1], 0, Linia + 1);
    Pole(c9, QStringLiteral("QRLabel96"), KolumnyGmin[1], KolumnyGmin[2], 0, Linia + 1, Align::Left);
    Pole(c9, QStringLiteral("QRLabel97"), KolumnyGmin[2], KolumnyGmin[3], 0, Linia + 1, Align::Right);
    c9->height = Linia + 1;
    c9->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = wierszRodzaju(WierszSumaGminy);
        if (!drukuj)
            return;
        b.find<Label>(QStringLiteral("QRLabel95"))->caption = pole(1);
        b.find<Label>(QStringLiteral("QRLabel96"))->caption = pole(2);
        b.find<Label>(QStringLiteral("QRLabel97"))->caption = pole(3);
    };

    // ---- kind 10: the fee total of table A.
    Band* c10 = c9->child(QStringLiteral("ChildBand10"));
    Memo* razem = Komorka(c10, QStringLiteral("QRMemo17"), KolumnyGmin[0], KolumnyGmin[2], 0, Linia + 1,
                          {QStringLiteral("Wysokość opłaty ogółem [zł]")}, Align::Right);
    razem->font.bold = true;
    Pole(c10, QStringLiteral("QRLabel100"), KolumnyGmin[2], KolumnyGmin[3], 0, Linia + 1, Align::Right)->font.bold = true;
    c10->height = Linia + 1;
    c10->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = wierszRodzaju(WierszRazem);
        if (drukuj)
            b.find<Label>(QStringLiteral("QRLabel100"))->caption = pole(1);
    };

    beforePrint = [this](bool&) {
        NumerMiejsca = 0;
        NumerZrodla = 0;
    };
}

void TQRWydrukTabeliA::zapiszWiersz(int rodzaj, const QStringList& pola)
{
    kal::TTable& r = *m_dm.TRoboczy;
    r.Insert();
    r.FieldByName(QStringLiteral("Klucz"))->setAsString(QString::asprintf("%010d", LicznikWierszy));
    ++LicznikWierszy;
    r.FieldByName(QStringLiteral("Calkowity"))->setAsInteger(rodzaj);
    for (int i = 0; i < pola.size() && i < 10; ++i)
        r.FieldByName(QStringLiteral("Pole%1").arg(i + 1))->setAsString(pola[i]);
    r.Post();
}

double TQRWydrukTabeliA::PrzygotujIDrukuj(bool podglad, bool tylkoSuma)
{
    TDM& dm = m_dm;
    // The summary holds every commune met, in the order first met; a source
    // always reaches its commune's sum and the total.
    std::vector<Gmina> gminy;
    double razem = 0.0;
    LicznikWierszy = 0;
    NumerMiejsca = 0;
    int numerSubstancji = 0;

    // The rows of the work table are stored as one, with a single sync.
    kal::TWriteGroup grupa;
    dm.TRoboczy->EmptyTable();

    for (dm.TTabelaAGmina->First(); !dm.TTabelaAGmina->Eof(); dm.TTabelaAGmina->Next()) {
        for (dm.TTabelaAZrodla->First(); !dm.TTabelaAZrodla->Eof(); dm.TTabelaAZrodla->Next()) {
            zapiszWiersz(WierszNaglowek,
                         {Tekst(dm.TFirmaNazwa1), Tekst(dm.TFirmaNazwa2), Tekst(dm.TFirmaAdres1), Tekst(dm.TFirmaAdres2),
                          Tekst(dm.TTabelaAGminaAdres), Tekst(dm.TTabelaAGminaNazwaGminy),
                          Tekst(dm.TTabelaAGminaPowiat)});

            const int idZrodla = dm.TTabelaAZrodlaIdentyfikatorZrodla->AsInteger();
            bool jest = false;
            for (dm.TZrodla->First(); !dm.TZrodla->Eof(); dm.TZrodla->Next())
                if (!dm.TZrodlaIdentyfikator->IsNull() && dm.TZrodlaIdentyfikator->AsInteger() == idZrodla) {
                    jest = true;
                    break;
                }
            // A source missing from the register prints blank characteristics,
            // never those of another source.
            auto zRejestru = [jest](const kal::TField* f) { return jest ? Tekst(f) : QString(); };
            zapiszWiersz(WierszZrodlo,
                         {Tekst(dm.TFirmaAdres1), Tekst(dm.TFirmaAdres2), Tekst(dm.TTabelaAGminaAdres),
                          Tekst(dm.TTabelaAZrodlaAdres), Tekst(dm.TTabelaAZrodlaRodzajInstalacji),
                          zRejestru(dm.TZrodlaNominalnaMocCieplna), zRejestru(dm.TZrodlaRodzajUrzadzeniaOchronneg),
                          zRejestru(dm.TZrodlaPozwoleniezData), zRejestru(dm.TZrodlaTerminObowiazywania),
                          Tekst(dm.TTabelaAZrodlaIlosc) + QLatin1Char(' ') + Tekst(dm.TTabelaAZrodlaNazwaSurowcow)});
            zapiszWiersz(WierszNaglowekSubst, {});

            double sumaZrodla = 0.0;
            for (dm.TTabelaASubstancje->First(); !dm.TTabelaASubstancje->Eof(); dm.TTabelaASubstancje->Next()) {
                ++numerSubstancji;
                zapiszWiersz(WierszSubstancja,
                             {QString::number(numerSubstancji),
                              Tekst(dm.TTabelaASubstancjeNazwaSubstancji) + QLatin1Char(' ') +
                                  Tekst(dm.TTabelaASubstancjeKodSubstancji),
                              Tekst(dm.TTabelaASubstancjeSkutUrzOchronnego), Tekst(dm.TTabelaASubstancjeWskaznikEmisji),
                              Tekst(dm.TTabelaASubstancjeWielkoscEmisji), Tekst(dm.TTabelaASubstancjeJednostkowaStawka),
                              Tekst(dm.TTabelaASubstancjeWysokoscOpaty)});
                sumaZrodla += PoleNaLiczbe(dm.TTabelaASubstancjeWysokoscOpaty);
            }
            sumaZrodla = Zaokraglij(sumaZrodla, 2);

            const int idGminy = dm.TTabelaAGminaIdentyfikatorGminy->AsInteger();
            auto it = std::find_if(gminy.begin(), gminy.end(), [idGminy](const Gmina& g) { return g.id == idGminy; });
            if (it != gminy.end())
                it->suma = Zaokraglij(it->suma + sumaZrodla, 2);
            else
                gminy.push_back({idGminy, sumaZrodla, Tekst(dm.TTabelaAGminaNazwaGminy)});
            razem = Zaokraglij(razem + sumaZrodla, 2);

            zapiszWiersz(WierszSumaZrodla, {kal::FormatNumber(sumaZrodla, QStringLiteral("### ##0.00"))});
            zapiszWiersz(WierszNowaStrona, {});
        }
    }

    dm.TTabelaAPaliwa->First();
    if (!dm.TTabelaAPaliwa->Eof()) {
        zapiszWiersz(WierszNaglowekPaliw, {});
        int n = 0;
        for (; !dm.TTabelaAPaliwa->Eof(); dm.TTabelaAPaliwa->Next())
            zapiszWiersz(WierszPaliwo,
                         {QString::number(++n), Tekst(dm.TTabelaAPaliwaRodzajPaliwa), Tekst(dm.TTabelaAPaliwaZuzycie),
                          Tekst(dm.TTabelaAPaliwaWartoscOpalowa), Tekst(dm.TTabelaAPaliwaZawartoscPopiolu),
                          Tekst(dm.TTabelaAPaliwaZawartoscSiarki)});
    }

    zapiszWiersz(WierszNaglowekGmin, {});
    int n = 0;
    for (const Gmina& g : gminy)
        zapiszWiersz(WierszSumaGminy,
                     {QString::number(++n), g.nazwa, kal::FormatNumber(g.suma, QStringLiteral("# ### ##0.00"))});
    zapiszWiersz(WierszRazem, {kal::FormatNumber(razem, QStringLiteral("# ### ##0.00"))});
    grupa.Commit();

    band(QStringLiteral("DetailBand1"))->find<Label>(QStringLiteral("QRLabel99"))->caption =
        Tekst(dm.TOkresPolrocze) + QStringLiteral(" / ") + Tekst(dm.TOkresRok) + QStringLiteral(" roku.");

    if (!tylkoSuma)
        DrukujRaport(this, podglad, QStringLiteral("Wydruk Tabeli A."), 1);
    return razem;
}
