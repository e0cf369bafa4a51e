#include "RozliczPolrocze.h"

#include "Dane.h"
#include "Funkcje.h"
#include "NumberText.h"
#include "OplatyTabel.h"
#include "WydrukTabelaD.h"
#include "WydrukTabeliA.h"
#include "WydrukZestTabC.h"

#include <array>
#include <stdexcept>

using namespace kal::report;

TQRRozliczPolrocze* QRRozliczPolrocze = nullptr;

namespace {

constexpr double Linia = 4.0;
constexpr double Szerokosc = 277.0;
const QString Kreska = QStringLiteral("==================================");

// Fuel names of the settlement, column by column, for each layout of the
// table D rows (the layouts of the table D printout).
const std::vector<QString>& PaliwaUkladu(int uklad)
{
    static const QString benzyna = QStringLiteral("benzyna silnikowa");
    static const QString lpg = QStringLiteral("gaz płynny propan-butan");
    static const QString cngF = QStringLiteral("sprężony gaz zie.Sil,fabryczna");
    static const QString cngP = QStringLiteral("sprężony gaz zie.Sil.przbudowane");
    static const QString olej = QStringLiteral("olej napędowy");
    static const QString bio = QStringLiteral("biodiesl");
    static const std::vector<QString> uklady[7] = {
        {},
        {benzyna, lpg, olej, bio},
        {benzyna, lpg, cngF, cngP, olej, bio},
        {benzyna, olej, bio},
        {olej, bio},
        {cngP, olej, bio},
        {cngF, cngP, olej, bio},
    };
    return uklady[std::clamp(uklad, 0, 6)];
}

} // namespace

const double TQRRozliczPolrocze::Kolumny[5] = {0, 170, 205, 240, 277};

const std::vector<WierszRozliczeniaD>& WierszeRozliczeniaD()
{
    static const std::vector<WierszRozliczeniaD> wiersze = [] {
        static const char* etykiety[LiczbaWierszyTabeliD] = {
            "Samochód os. zarejestrowany do 31.12.1992 r.",
            "Samochód os. zarejestrowany 01.01.1993-31.12.1996 lub EURO1",
            "Samochód os. zarejestrowany 01.01.1997-31.12.2000 lub EURO2",
            "Samochód os. zarejestrowany 01.01.2001-31.12.2005 lub EURO3",
            "Samochód os. zarejestrowany po 31.12.2005 lub EURO4",
            "Samochód os. EURO5",
            "Samochód do 3,5 Mg zarejestrowany do 31.09.1993 r.",
            "Samochód do 3,5 Mg zarejestrowany 01.10.1993-30.06.1997 lub EURO1",
            "Samochód do 3,5 Mg zarejestrowany 01.07.1997-30.06.2001 lub EURO2",
            "Samochód do 3,5 Mg zarejestrowany 01.07.2001-30.06.2006 lub EURO3",
            "Samochód do 3,5 Mg zarejestrowany po dniu 30.06.2006 lub EURO4",
            "Samochód do 3,5 Mg  EURO5",
            "Samochód powyżej 3,5 Mg(bez autobusów) zarej.do 30.09.1993",
            "Autobusy powyżej 3,5 Mg zarej.do 30.09.1993",
            "Samochód powyżej 3,5 Mg zarej. 01.10.1993-30.09.1996 lub EURO1",
            "Samochód powyżej 3,5 Mg zarej. 01.10.1996-30.09.2001 lub EURO2",
            "Samochód powyżej 3,5 Mg zarej. 01.10.2001-30.09.2006 lub EURO3",
            "Samochód powyżej 3,5 Mg zarej. 01.10.2006-30.09.2009 lub EURO4",
            "Samochód powyżej 3,5 Mg EURO5",
            "Ciągniki rolnicze do dnia 30.06.2001",
            "Ciągniki rolnicze zarej.01.07.2001-31.12.2003 lub Etap I",
            "Ciągniki rolnicze zarej.01.01.2004-31.12.2007 lub Etap II",
            "Ciągniki rolnicze zarej. po 01.01.2007 lub Etap IIIA",
            "Poj.wonobież. maszyny,urządz. wyprod.do 1999 r",
            "Poj.wonobież. maszyny,urządz. wyprod. w latach 2000-2003 lub Etap I",
            "Poj.wonobież. maszyny,urządz. wyprod. w latach 2004-2008 lub Etap II",
            "Poj.wonobież. maszyny,urządz. Etap IIIA",
            "Poj.szynowe wyprodukowane do 2007 r",
            "Poj.szynowe wyprodukowane po 2007 r lub Etap IIIA",
            "Jednoski pływające wyprodukowane do 2007 r.",
            "Jednoski pływające wyprodukowane po 2007 r. lub Etap IIIA",
            "Inne pojazdy sam. do 3,5 Mg i motorowery",
        };
        const auto& opisy = OpisyWierszyTabeliD();
        if (opisy.size() != size_t(LiczbaWierszyTabeliD))
            throw std::logic_error("table D rows");
        std::vector<WierszRozliczeniaD> w;
        for (size_t i = 0; i < opisy.size(); ++i) {
            const auto& paliwa = PaliwaUkladu(opisy[i].uklad);
            if (paliwa.size() != size_t(opisy[i].komorki.size()))
                throw std::logic_error("table D fuels");
            WierszRozliczeniaD r{QString::fromUtf8(etykiety[i]), {}};
            for (size_t k = 0; k < paliwa.size(); ++k)
                r.komorki.emplace_back(opisy[i].komorki[qsizetype(k)], paliwa[k]);
            w.push_back(std::move(r));
        }
        return w;
    }();
    return wiersze;
}

const std::vector<QString>& GrupyRozliczeniaC()
{
    static const std::vector<QString> grupy = {
        QStringLiteral("I Kotły opalane węglem kamiennym "),
        QStringLiteral("II Kotły o mocy cieplne <=5MW opalane koksem "),
        QStringLiteral("III Kotły o mocy cieplne <=5MW opalane drewnem "),
        QStringLiteral("IV Kotły o mocy cieplne <=5MW opalane olejem "),
        QStringLiteral("V Kotły opalane paliwem gazowym "),
    };
    return grupy;
}

TQRRozliczPolrocze::TQRRozliczPolrocze(TDM& dm, TQRWydrukTabeliA* tabelaA) : m_dm(dm), m_tabelaA(tabelaA)
{
    zbuduj();
}

Memo* TQRRozliczPolrocze::memo(int nr) const
{
    const QString nazwa = QStringLiteral("QRMemo%1").arg(nr);
    for (const char* b : {"ChildBand1", "ChildBand2", "ChildBand3"})
        if (Memo* m = band(QString::fromLatin1(b))->find<Memo>(nazwa))
            return m;
    return nullptr;
}

void TQRRozliczPolrocze::zbuduj()
{
    title = QStringLiteral("Rozliczenie opłat za półrocze");
    orientation = Orientation::Landscape;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 9.0, false, false, false};
    printIfEmpty = true;
    firstPageHeader = true;
    lastPageFooter = true;

    Band* t = addBand(BandType::Title, QStringLiteral("TitleBand1"));
    Label* tytul = t->addLabel(QStringLiteral("QRLabel1"), 0, 0, Szerokosc, Linia + 1);
    tytul->font.bold = true;
    tytul->font.pointSize = 11;
    const double y = Linia + 4;
    t->addShape(QStringLiteral("QRShapeGora"), 0, y - 0.5, Szerokosc, 1, Shape::Type::HorLine);
    Memo* g = t->addMemo(QStringLiteral("QRMemoGlowka"), Kolumny[0], y + 0.5, Kolumny[1] - Kolumny[0], 2 * Linia,
                         {QStringLiteral("Rodzaj silnika i paliwa."), QStringLiteral("Źródła mocy  ")});
    g->alignment = Align::Right;
    const QString glowki[3] = {QStringLiteral("Ilość [Mg] "), QStringLiteral("Stawka "), QStringLiteral("Opłata ")};
    for (int k = 0; k < 3; ++k)
        t->addLabel(QStringLiteral("QRLabelGlowka%1").arg(k + 2), Kolumny[k + 1], y + 0.5 + Linia,
                    Kolumny[k + 2] - Kolumny[k + 1], Linia, glowki[k])
            ->alignment = Align::Right;
    t->addShape(QStringLiteral("QRShapeDol"), 0, y + 2 * Linia + 0.5, Szerokosc, 1, Shape::Type::HorLine);
    t->height = y + 2 * Linia + 2;

    // Table D and table C: four memos side by side whose lines make the lines of the report.
    Band* poprzedni = t;
    for (int c = 1; c <= 2; ++c) {
        Band* b = poprzedni->child(QStringLiteral("ChildBand%1").arg(c));
        for (int k = 0; k < 4; ++k) {
            Memo* m = b->addMemo(QStringLiteral("QRMemo%1").arg(c == 1 ? k + 1 : k + 9), Kolumny[k], 1,
                                 Kolumny[k + 1] - Kolumny[k], Linia);
            m->alignment = Align::Right;
            m->stretch = true;
        }
        b->height = Linia + 2;
        poprzedni = b;
    }

    Band* a = poprzedni->child(QStringLiteral("ChildBand3"));
    Memo* napis = a->addMemo(QStringLiteral("QRMemo13"), Kolumny[0], 1, Kolumny[1] - Kolumny[0], Linia + 1,
                             {QStringLiteral("Wykaz opłat wynikających z tabeli A   ")});
    napis->alignment = Align::Right;
    napis->frame = FrameAll;
    Memo* sumaA = a->addMemo(QStringLiteral("QRMemo14"), Kolumny[3], 1, Kolumny[4] - Kolumny[3], Linia + 1);
    sumaA->alignment = Align::Right;
    sumaA->frame = FrameAll;
    a->height = Linia + 4;

    Band* r = a->child(QStringLiteral("ChildBand4"));
    Label* razem = r->addLabel(QStringLiteral("QRLabel2"), 0, 2, Szerokosc, Linia + 2);
    razem->font.bold = true;
    razem->font.pointSize = 12;
    r->height = Linia + 6;

    beforePrint = [this](bool&) { QuickRepBeforePrint(); };
}

void TQRRozliczPolrocze::DodajPozycje(const QString& etykieta, const QString& paliwo, const kal::TField* ilosc,
                                      const kal::TField* stawka, const QString& oplata)
{
    if (!(ilosc && !ilosc->IsNull() && ilosc->AsFloat() > 1e-07))
        return;
    memo(1)->lines << etykieta + QLatin1Char(' ') + paliwo + QLatin1Char(' ');
    memo(2)->lines << ilosc->DisplayText();
    memo(3)->lines << (stawka ? stawka->DisplayText() : QString()) + QLatin1Char(' ');
    memo(4)->lines << oplata + QLatin1Char(' ');
}

void TQRRozliczPolrocze::QuickRepBeforePrint()
{
    TDM& dm = m_dm;
    const OplatyTabelaD d(true);
    // Table C: the fees of every commune of the period, group by group.
    std::array<double, 5> grupyC{};
    double razemC = 0.0;
    TQRZestTabC::DlaKazdejGminy(dm.TTabelaC, [&](const OplatyTabelaC& gmina) {
        for (size_t g = 0; g < grupyC.size(); ++g)
            grupyC[g] += gmina.grupy[g];
        razemC += gmina.razem;
    });
    for (double& g : grupyC)
        g = Zaokraglij(g, 2);
    razemC = Zaokraglij(razemC, 2);

    band(QStringLiteral("TitleBand1"))->find<Label>(QStringLiteral("QRLabel1"))->caption = title;

    for (int i = 1; i <= 4; ++i)
        memo(i)->lines.clear();
    for (const WierszRozliczeniaD& w : WierszeRozliczeniaD())
        for (const auto& [pole, paliwo] : w.komorki)
            DodajPozycje(w.etykieta, paliwo, dm.TTabelaD->FindField(pole), dm.TStawkiTabD->FindField(pole),
                         d.teksty[size_t(IndeksKomorkiTabeliD(pole))]);
    memo(1)->lines << QString() << QString();
    memo(3)->lines << QString() << QString();
    memo(2)->lines << Kreska << dm.TTabelaDRazem->DisplayText() + QLatin1Char(' ');
    memo(4)->lines << Kreska << d.RazemTekst() + QLatin1Char(' ');

    for (int i = 9; i <= 12; ++i)
        memo(i)->lines.clear();
    const auto& grupy = GrupyRozliczeniaC();
    for (size_t g = 0; g < grupy.size(); ++g) {
        if (!(grupyC[g] > 1e-07))
            continue;
        memo(9)->lines << grupy[g];
        memo(10)->lines << QString();
        memo(11)->lines << QString();
        memo(12)->lines << TekstOplaty(grupyC[g]) + QLatin1Char(' ');
    }
    for (int i = 9; i <= 11; ++i)
        memo(i)->lines << QString() << QString();
    memo(12)->lines << Kreska << TekstOplaty(razemC) + QLatin1Char(' ');

    memo(14)->lines.clear();
    TQRWydrukTabeliA* tabelaA = m_tabelaA ? m_tabelaA : QRWydrukTabeliA;
    const double sumaA = tabelaA ? tabelaA->PrzygotujIDrukuj(true, true) : 0.0;
    memo(14)->lines << kal::FormatNumber(sumaA, QStringLiteral("# ### ##0.00")) + QLatin1Char(' ');

    const double razem = Zaokraglij(d.Razem() + razemC + sumaA, 2);
    band(QStringLiteral("ChildBand4"))->find<Label>(QStringLiteral("QRLabel2"))->caption =
        QStringLiteral("Razem opłata za pólrocze: ") + kal::FormatNumber(razem, QStringLiteral("### ### ##0.00")) +
        QStringLiteral(" zł.");
}
