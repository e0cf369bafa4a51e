#include "WydrukTabelaD.h"

#include "FunkcjeSrodowiska.h"
#include "KomorkiTabel.h"
#include "OplatyTabel.h"
#include "ZasadyWydrukow.h"

#include <algorithm>

using namespace kal::report;

TQRTabelaD* QRTabelaD = nullptr;

namespace {

constexpr int LiczbaRekordow = 34;  // heads, 32 rows, total
constexpr double Linia = 4.0;       // one line of text, mm
constexpr double Odstep = 1.0;      // text from the cell's edges, mm

QStringList L(std::initializer_list<const char*> teksty)
{
    QStringList l;
    for (const char* t : teksty)
        l << QString::fromUtf8(t);
    return l;
}

const QString MemoUkladu[7] = {QString(), QStringLiteral("QRMemo1"), QStringLiteral("QRMemo2"),
                               QStringLiteral("QRMemo5"), QStringLiteral("QRMemo6"), QStringLiteral("QRMemo7"),
                               QStringLiteral("QRMemo9")};

int LiczbaLinii(const QStringList& l)
{
    return std::max<int>(1, static_cast<int>(l.size()));
}

// Heights of the fuel sub-rows of layout `uklad`: each as tall as its lines,
// the last one taking whatever the tallest row text of the layout needs.
std::vector<double> WysokosciPodwierszy(int uklad)
{
    const auto& paliwa = PaliwaUkladuTabeliD(uklad);
    std::vector<double> h;
    double suma = 0;
    for (const QStringList& p : paliwa) {
        h.push_back(LiczbaLinii(p) * Linia + 2 * Odstep);
        suma += h.back();
    }
    int opis = 1;
    for (const OpisWierszaTabeliD& w : OpisyWierszyTabeliD())
        if (w.uklad == uklad)
            opis = std::max(opis, LiczbaLinii(w.opis));
    const double potrzeba = opis * Linia + 2 * Odstep;
    if (suma < potrzeba)
        h.back() += potrzeba - suma;
    return h;
}

} // namespace

const double TQRTabelaD::Kolumny[7] = {0, 10, 132, 180, 212, 244, 277};

const std::vector<QStringList>& PaliwaUkladuTabeliD(int uklad)
{
    static const QStringList benzyna = L({"Benzyna silnikowa 10)"});
    static const QStringList lpg = L({"gaz płynny propan - butan"});
    static const QStringList cngFabryczny = L({"sprężony gaz ziemny(silniki", "fabrycznie przystosowane do", "zasilania gazem"});
    static const QStringList cngPrzebudowany = L({"sprężony gaz ziemny(silniki", "przebudowane"});
    static const QStringList olej = L({"olej napędowy"});
    static const QStringList bio = L({"biodiesel"});
    static const std::vector<QStringList> uklady[7] = {
        {},
        {benzyna, lpg, olej, bio},
        {benzyna, lpg, cngFabryczny, cngPrzebudowany, olej, bio},
        {benzyna, olej, L({"biodesiel"})},
        {olej, bio},
        {cngPrzebudowany, olej, bio},
        {cngFabryczny, cngPrzebudowany, olej, bio},
    };
    return uklady[std::clamp(uklad, 0, 6)];
}

const std::vector<OpisWierszaTabeliD>& OpisyWierszyTabeliD()
{
    static const std::vector<OpisWierszaTabeliD> wiersze = {
        {1, L({"Silniki w samochodach osobowych zarejestrowanych po raz pierwszu do dnia", "31.12.1992 r."}),
         L({"1a", "1b", "1c", "1d"})},
        {1, L({"Silniki w samochodach osobowych zarejestrowanych po raz pierwszu w okresie",
               "01.01.1993 r. - 31.12.1996 r. lub z dokumentem potwierdzającym spełnienie", "wymagań EURO 1 **"}),
         L({"2a", "2b", "2c", "2d"})},
        {1, L({"Silniki w samochodach osobowych zarejestrowanych po raz pierwszu w okresie",
               "01.01.1997 r. - 31.12.2000 r. lub z dokumentem potwierdzającym spełnienie", "wymagań EURO 2 **"}),
         L({"3a", "3b", "3c", "3d"})},
        {2, L({"Silniki w samochodach osobowych zarejestrowanych po raz pierwszu w oresie",
               "01.01.2001 r. - 31.12.2005 r. lub z dokumentem potwierdzającym spełnienie", "wymagań EURO 3 **"}),
         L({"4a", "4b", "4c", "4d", "4e", "4f"})},
        {2, L({"Silniki w samochodach osobowych zarejestrowanych po raz pierwszu po dniu",
               "31.12.2005 r. lub z dokumentem potwierdzającym spełnienie", "wymagań EURO 4 **"}),
         L({"5", "5b", "5c", "5d", "5e", "5f"})},
        {2, L({"Silniki w samochodach osobowych z dokumentem potwierdzającym spełnienie", "wymagań EURO 5 **"}),
         L({"6", "6b", "6c", "6d", "6e", "6f"})},
        {1, L({"Silniki w samochodach o dopuszczalnej masie całkowitej do 3,5 Mg innych niż",
               "osobowe zarejestrowanych po raz pierwszy do dnia 30.09.1993 r."}),
         L({"7", "7b", "7c", "7d"})},
        {1, L({"Silniki w samochodach o dopuszczalnej masie całkowitej do 3,5 Mg innych niż",
               "osobowe zarejestrowanych po raz pierwszy w okresie 01.10.1993 r. - ",
               "30.06.1997 r. lub z dokumentem potwierdzającym spełnienie wymagań EURO 1 **"}),
         L({"8a", "8b", "8c", "8d"})},
        {1, L({"Silniki w samochodach o dopuszczalnej masie całkowitej do 3,5 Mg innych niż",
               "osobowe zarejestrowanych po raz pierwszy w okresie 01.07.1997 r. - ",
               "30.06.2001 r. lub z dokumentem potwierdzającym spełnienie wymagań EURO 2 **"}),
         L({"9", "9b", "9c", "9d"})},
        {2, L({"Silniki w samochodach o dopuszczalnej masie całkowitej do 3,5 Mg innych niż",
               "osobowe zarejestrowanych po raz pierwszy w okresie 01.07.2001 r. - ",
               "30.06.2006 r. lub z dokumentem potwierdzającym spełnienie wymagań EURO 3 **"}),
         L({"10", "10b", "10c", "10d", "10e", "10f"})},
        {2, L({"Silniki w samochodach o dopuszczalnej masie całkowitej do 3,5 Mg innych niż",
               "osobowe zarejestrowanych po raz pierwszy po dniu 30.06.2006 r. ",
               "lub z dokumentem potwierdzającym spełnienie wymagań EURO 4 **"}),
         L({"11a", "11b", "11c", "11d", "11e", "11f"})},
        {2, L({"Silniki w samochodach o dopuszczalnej masie całkowitej do 3,5 Mg innych niż",
               "osobowe z dokumentem potwierdzającym spełnienie wymagań EURO 5 **"}),
         L({"12", "12b", "12c", "12d", "12e", "12f"})},
        {3, L({"Silniki w samochodach o dopuszczalnej masie całkowitej powyżej",
               "3,5 Mg z wyjątkiem autobusów, zarejestrowanych po raz pierwszy do dnia ", "30.09.1993 r."}),
         L({"13a", "13b", "13c"})},
        {4, L({"Silniki w autobusach o dpuszczalnej masie całkowitej powyżej 3,5 Mg",
               "zarejestrowanych po raz pierwszy do dnia 30.09.1993 r."}),
         L({"14a", "14b"})},
        {5, L({"Silniki w pojazdach samochodowych o dopuszczalnej masie całkowitej powyżej",
               "3,5 Mg zarejestrowanych po raz pierwszy w okresie 01.10.1993 r. - 30.09.1996 r",
               "lub z dokumentem potwierdzającym spełnienie wymagań EURO 1 **"}),
         L({"15a", "15b", "15c"})},
        {5, L({"Silniki w pojazdach samochodowych o dopuszczalnej masie całkowitej powyżej",
               "3,5 Mg zarejestrowanych po raz pierwszy w okresie 01.10.1996 r. - 30.09.2001 r",
               "lub z dokumentem potwierdzającym spełnienie wymagań EURO 2 **"}),
         L({"16a", "16b", "16c"})},
        {6, L({"Silniki w pojazdach samochodowych o dopuszczalnej masie całkowitej powyżej",
               "3,5 Mg zarejestrowanych po raz pierwszy w okresie 01.10.2001 r. - 30.09.2006 r",
               "lub z dokumentem potwierdzającym spełnienie wymagań EURO 3 **"}),
         L({"17a", "17b", "17c", "17d"})},
        {6, L({"Silniki w pojazdach samochodowych o dopuszczalnej masie całkowitej powyżej",
               "3,5 Mg zarejestrowanych po raz pierwszy w okresie 01.10.2006 r. - 30.09.2009 r",
               "lub z dokumentem potwierdzającym spełnienie wymagań EURO 4 **"}),
         L({"18a", "18b", "18c", "18d"})},
        {6, L({"Silniki w pojazdach samochodowych o dopuszczalnej masie całkowitej powyżej",
               "3,5 Mg z dokumentem potwierdzającym spełnienie wymagań EURO 5 **"}),
         L({"19a", "19b", "19c", "19d"})},
        {4, L({"Silniki w ciągnikach rolniczych zarejestrowanych po raz pierwszy do dnia", "30.06.2001 r."}),
         L({"20a", "20b"})},
        {4, L({"Silniki w ciągnikach rolniczych zarejestrowanych po raz pierwszy w okresie",
               "01.07.2001 r. - 31.12.2003 r. lub z dokumentem potwierdzającym spełnienie", "wymagań etapu I ***"}),
         L({"21a", "21b"})},
        {4, L({"Silniki w ciągnikach rolniczych zarejestrowanych po raz pierwszy w okresie",
               "01.01.2004 r. - 31.12.2007 r. lub z dokumentem potwierdzającym spełnienie", "wymagań etapu II ***"}),
         L({"22a", "22b"})},
        {4, L({"Silniki w ciągnikach rolniczych zarejestrowanych po raz pierwszy po dniu",
               "01.01.2007 r.lub z dokumentem potwierdzającym spełnienie wymagań", "etapu IIIA ***"}),
         L({"23a", "23b"})},
        {1, L({"Silniki w pojazdach wolnobieżnych, maszynach i urządzeniach wyprodukowanych", "do 1999 r."}),
         L({"24a", "24b", "24c", "24d"})},
        {1, L({"Silniki w pojazdach wolnobieżnych, maszynach i urządzeniach wyprodukowanych",
               "w latach 2000 - 2003 lub z dokumentem potwierdzającym spełnienie wymagań", "etapu I ***"}),
         L({"25a", "25b", "25c", "25d"})},
        {1, L({"Silniki w pojazdach wolnobieżnych, maszynach i urządzeniach wyprodukowanych",
               "w latach 2004 - 2008 lub z dokumentem potwierdzającym spełnienie wymagań", "etapu II ***"}),
         L({"26a", "26b", "26c", "26d"})},
        {4, L({"Silniki w pojazdach wolnobieżnych, maszynach i urządzeniach z dokumemtem",
               "z dokumentem potwierdzającym spełnienie wymagań etapu IIIA ***"}),
         L({"27a", "27b"})},
        {4, L({"Silniki w pojazdach szynowych wyprodukowanych do 2007 r."}), L({"28a", "28b"})},
        {4, L({"Silniki w pojazdach szynowych wyprodukowanych po 2007 r. lub z dokumentem",
               "potwierdzającym spełnienie wymagań etapu IIIA ***"}),
         L({"29a", "29b"})},
        {4, L({"Silniki w jednostkach pływjących żeglugi śródlądowej wyprodukowanych do", "2007 r."}),
         L({"30a", "30b"})},
        {4, L({"Silniki w jednostkach pływjących żeglugi śródlądowej wyprodukowanych po",
               "2007 r.  lub z dokumentem potwierdzającym spełnienie wymagań etapu IIIA ***"}),
         L({"31a", "31b"})},
        {1, L({"Silniki w innych pojazdach samochodowych o dopuszczalnej masie do 3,5 Mg", "i w motorowerach"}),
         L({"32a", "32b", "32c", "32d"})},
    };
    return wiersze;
}

TQRTabelaD::TQRTabelaD(kal::TTable* tabelaD, kal::TTable* stawkiD, const OplatyTabelaD* oplaty)
    : m_ilosci(tabelaD), m_stawki(stawkiD), m_oplaty(oplaty)
{
    zbuduj();
}

void TQRTabelaD::UstawTabele(kal::TTable* tabelaD, kal::TTable* stawkiD)
{
    m_ilosci.setTabela(tabelaD);
    m_stawki.setTabela(stawkiD);
}

const OplatyTabelaD& TQRTabelaD::oplaty() const
{
    return m_oplaty ? *m_oplaty : OplatyD();
}

void TQRTabelaD::zbuduj()
{
    orientation = Orientation::Landscape;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 9.0, false, false, false};
    printIfEmpty = true;

    beforePrint = [this](bool&) { m_licznik = -1; };
    onNeedData = [this](bool& dalej) {
        ++m_licznik;
        dalej = m_licznik < LiczbaRekordow;
    };

    zbudujNaglowek();
    Band* poprzedni = band(QStringLiteral("DetailBand1"));
    for (int uklad = 1; uklad <= 6; ++uklad) {
        Band* b = poprzedni->child(QStringLiteral("ChildBand%1").arg(uklad));
        zbudujWiersz(uklad, b);
        poprzedni = b;
    }
    zbudujRazem(poprzedni->child(QStringLiteral("ChildBand7")));
}

void TQRTabelaD::zbudujNaglowek()
{
    Band* b = addBand(BandType::Detail, QStringLiteral("DetailBand1"));
    const double szer = Kolumny[6];
    FontDef gruba = font;
    gruba.bold = true;

    Label* l = b->addLabel(QStringLiteral("QRLabel1"), 0, 0, szer, Linia, QStringLiteral("TABELA D"));
    l->font = gruba;
    l->alignment = Align::Center;
    l = b->addLabel(QStringLiteral("QRLabel2"), 0, Linia + 2, szer, Linia,
                    QStringLiteral("WPROWADZANIE GAZÓW LUB PYŁÓW DO POWIETRZA Z PROCESÓW SPALANIA W SILNIKACH SPALINOWYCH *)"));
    l->font = gruba;
    l->alignment = Align::Center;

    const double gora = 2 * Linia + 6;
    const double wys = 3 * Linia + 2 * Odstep;
    const QStringList glowki[6] = {
        {QStringLiteral("Lp.")},
        {QStringLiteral("Rodzaj silnika spalinowego")},
        {QStringLiteral("Rodzaj paliwa")},
        {QStringLiteral("Zużycie paliwa 9) [Mg]")},
        {QStringLiteral("Jednostkowa stawka"), QStringLiteral("opłaty [zł/Mg]")},
        {QStringLiteral("Wysokość opłaty [zł]")},
    };
    for (int k = 0; k < 6; ++k) {
        const double x = Kolumny[k], w = Kolumny[k + 1] - Kolumny[k];
        Memo* m = b->addMemo(QStringLiteral("Glowka%1").arg(k + 1), x, gora, w, wys, glowki[k]);
        m->alignment = Align::Center;
        m->wordWrap = true;
        m->frame = FrameAll;
        Label* n = b->addLabel(QStringLiteral("Kolumna%1").arg(k + 1), x, gora + wys, w, Linia + 2 * Odstep,
                               QString::number(k + 1));
        n->alignment = Align::Center;
        n->frame = FrameAll;
    }
    b->height = gora + wys + Linia + 2 * Odstep;
    b->beforePrint = [this](Band&, bool& drukuj) { drukuj = m_licznik == 0; };
}

void TQRTabelaD::zbudujWiersz(int uklad, Band* b)
{
    const std::vector<double> wys = WysokosciPodwierszy(uklad);
    double wysokosc = 0;
    for (double h : wys)
        wysokosc += h;
    b->height = wysokosc;
    b->frame = FrameAll;

    FontDef gruba = font;
    gruba.bold = true;
    Label* lp = b->addLabel(QStringLiteral("Lp%1").arg(uklad), Kolumny[0], Odstep, Kolumny[1] - Kolumny[0], Linia);
    lp->alignment = Align::Center;
    b->addMemo(MemoUkladu[uklad], Kolumny[1] + Odstep, Odstep, Kolumny[2] - Kolumny[1] - 2 * Odstep, 3 * Linia);

    // Column lines over the whole band.
    for (int k = 1; k < 6; ++k)
        b->addShape(QStringLiteral("Pion%1_%2").arg(uklad).arg(k), Kolumny[k], 0, 0, wysokosc, Shape::Type::VertLine);

    const auto& paliwa = PaliwaUkladuTabeliD(uklad);
    double y = 0;
    for (size_t i = 0; i < paliwa.size(); ++i) {
        const QChar x = QChar('a' + static_cast<int>(i));
        if (i > 0)
            b->addShape(QStringLiteral("Poziom%1%2").arg(uklad).arg(x), Kolumny[2], y, Kolumny[6] - Kolumny[2], 0,
                        Shape::Type::HorLine);
        b->addMemo(QStringLiteral("Paliwo%1%2").arg(uklad).arg(x), Kolumny[2] + Odstep, y + Odstep,
                   Kolumny[3] - Kolumny[2] - 2 * Odstep, LiczbaLinii(paliwa[i]) * Linia, paliwa[i]);
        const QString nazwy[3] = {QStringLiteral("Z"), QStringLiteral("J"), QStringLiteral("W")};
        for (int k = 0; k < 3; ++k) {
            Label* v = b->addLabel(nazwy[k] + QString::number(uklad) + x, Kolumny[3 + k] + Odstep, y + Odstep,
                                   Kolumny[4 + k] - Kolumny[3 + k] - 2 * Odstep, Linia);
            v->font = gruba;
            v->alignment = Align::Center;
        }
        y += wys[i];
    }
    b->beforePrint = [this, uklad](Band& band, bool& drukuj) { wypelnijWiersz(uklad, band, drukuj); };
}

void TQRTabelaD::wypelnijWiersz(int uklad, Band& b, bool& drukuj)
{
    Memo* opis = b.find<Memo>(MemoUkladu[uklad]);
    opis->lines.clear();
    const auto& wiersze = OpisyWierszyTabeliD();
    if (m_licznik < 1 || m_licznik > static_cast<int>(wiersze.size())
        || wiersze[static_cast<size_t>(m_licznik - 1)].uklad != uklad) {
        drukuj = false;
        return;
    }
    const OpisWierszaTabeliD& w = wiersze[static_cast<size_t>(m_licznik - 1)];
    opis->lines = w.opis;
    const OplatyTabelaD& o = oplaty();
    for (int i = 0; i < w.komorki.size(); ++i) {
        const QString& kod = w.komorki[i];
        const QString x = QString(QChar('a' + i));
        const QString n = QString::number(uklad);
        b.find<Label>(QStringLiteral("Z") + n + x)->caption = wydruki::TekstPola(m_ilosci, kod);
        b.find<Label>(QStringLiteral("J") + n + x)->caption = wydruki::TekstPola(m_stawki, kod);
        const int indeks = IndeksKomorkiTabeliD(kod);
        b.find<Label>(QStringLiteral("W") + n + x)->caption =
            indeks >= 0 ? wydruki::TekstKwoty(o.oplaty[static_cast<size_t>(indeks)]) : QString();
    }
    b.find<Label>(QStringLiteral("Lp%1").arg(uklad))->caption = QString::number(m_licznik);
    drukuj = true;
}

void TQRTabelaD::zbudujRazem(Band* b)
{
    FontDef gruba = font;
    gruba.bold = true;
    const double wys = Linia + 2 * Odstep;
    b->addShape(QStringLiteral("Ramka33"), Kolumny[0], 0, Kolumny[5] - Kolumny[0], wys, Shape::Type::Rectangle);
    Label* napis = b->addLabel(QStringLiteral("QRLabel33"), Kolumny[0] + Odstep, Odstep,
                               Kolumny[5] - Kolumny[0] - 2 * Odstep, Linia, QStringLiteral("Wysokość opłaty ogółem [zł]"));
    napis->font = gruba;
    napis->alignment = Align::Right;
    b->addShape(QStringLiteral("Ramka34"), Kolumny[5], 0, Kolumny[6] - Kolumny[5], wys, Shape::Type::Rectangle);
    Label* razem = b->addLabel(QStringLiteral("QRLabel34"), Kolumny[5] + Odstep, Odstep,
                               Kolumny[6] - Kolumny[5] - 2 * Odstep, Linia);
    razem->font = gruba;
    razem->alignment = Align::Center;
    const QStringList przypisy = {
        QStringLiteral("*      W niniejszej tabeli wypełnia się tylko te pozycje, które dotyczą danego podmiotu korzystajacego ze środowiska"),
        QStringLiteral("**     EURO 1,  EURO 2. EURO 3, EURO 4, EURO 5 - oznaczją europejskie normy emisji spalin z silników  pojazdów samochodowych( samochodów osobowych,"),
        QStringLiteral("samochodów ciężarowych i autobusów)."),
        QStringLiteral("***   Etap I, Etap II i etap IIIA - oznaczją europejskie normy emisji spalin z silników maszyn i urządzeń, pojazdów wolnobieżnych, ciągników rolniczych, pojazdów "),
        QStringLiteral("szynowych i jednostek pływających."),
    };
    b->addMemo(QStringLiteral("QRMemo12"), 0, wys + 3, Kolumny[6], przypisy.size() * Linia, przypisy);
    b->height = wys + 3 + przypisy.size() * Linia;
    b->beforePrint = [this](Band& band, bool& drukuj) {
        drukuj = m_licznik == LiczbaRekordow - 1;
        if (drukuj)
            band.find<Label>(QStringLiteral("QRLabel34"))->caption = wydruki::TekstKwoty(oplaty().Razem());
    };
}
