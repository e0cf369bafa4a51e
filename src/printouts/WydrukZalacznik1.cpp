#include "WydrukZalacznik1.h"

#include "ZasadyWydrukow.h"

using namespace kal::report;

TQRZalacznik1* QRZalacznik1 = nullptr;

namespace {

constexpr double Linia = 4.0;
constexpr double Odstep = 0.75;
constexpr double Szerokosc = 190.0;
// A fee shows only from one tenth of a grosz up.
constexpr double ProgOplaty = 0.001;

QStringList L(std::initializer_list<const char*> teksty)
{
    QStringList l;
    for (const char* t : teksty)
        l << QString::fromUtf8(t);
    return l;
}

PozycjaZalacznika1 P(const char* lp, QStringList opis, const char* kod, const char* kodTekst, const char* pole)
{
    return {QString::fromUtf8(lp), std::move(opis), QString::fromUtf8(kod), QString::fromUtf8(kodTekst),
            QString::fromUtf8(pole)};
}

// Texts bound to the annex's fields print nothing below one tenth of a grosz.
void NieDrukujMalych(Control&, QString& tekst, bool&)
{
    if (wydruki::LiczbaZTekstu(tekst) < ProgOplaty)
        tekst.clear();
}

} // namespace

const double TQRZalacznik1::Kolumny[5] = {0, 16, 132, 152, Szerokosc};

const std::vector<PozycjaZalacznika1>& PozycjeZalacznika1()
{
    static const std::vector<PozycjaZalacznika1> pozycje = {
        P("1.1.", L({"Żródła powstawania substancji wprowadzanych do powietrza"}), "K11", " A ", "P11"),
        P("1.2.", L({"Przeładunek benzyn silnikowych"}), "K12", " B ", "P12"),
        P("1.3.", L({"Spalanie paliw w kotłach o nominalnej mocy cieplnej do 5 MW"}), "K13", " C ", "P13"),
        P("1.4.", L({"Silniki spalinowe"}), "K14", " D ", "P14"),
        P("1.5.", L({"Chów lub hodowla drobiu"}), "K15", " E ", "P15"),
        P("I", L({"Wysokość opłaty za wprowadzanie gazów lub pyłów do powietrza", "ogółem 4)"}), "", "", "PI"),
        P("2.1", L({"Woda podziemna"}), "K21", " A ", "P21"),
        P("2.2.", L({"Woda powierzchniowa śródlądowa"}), "K22", " B ", "P22"),
        P("2.3.", L({"Morskie wody wewnętrzne"}), "K23", " C ", "P23"),
        P("II", L({"Wysokość opłaty za pobór wód ogółem 4)"}), "", "", "PII"),
        P("3.1.1.", L({"Ścieki o kodzie a 5)"}), "K311", " A ", "P311"),
        P("3.1.2.", L({"Ścieki o kodzie b 5)"}), "K312", " A ", "P312"),
        P("3.1.3.", L({"Ścieki o kodzie c 5)"}), "K313", " A ", "P313"),
        P("3.1.4.", L({"Ścieki o kodzie d 5)"}), "K314", " A ", "P314"),
        P("3.1.5", L({"Ścieki rolniczo wykorzystane"}), "K315", " A ", "P315"),
        P("3.1.6", L({"Wody wykorzystane, odprowadzane z obiektów chowu lub hodowli ryb", "łososiowatych"}), "K316",
          " A ", "Rezerwa1"),
        P("3.2.", L({"Wody chłodnicze"}), "K32", " B ", "P32"),
        P("3.3.", L({"Wody opadowe lub roztopowe ujęte w otwarte lub zamknięte systemy", "kanalizacyjne"}), "K33", " C ",
          "P33"),
        P("3.4.", L({"Wody zasolone"}), "K34", " D ", "P34"),
        P("3.5.", L({"Wody wykorzystane, odprowadzane z obiektów chowu lub hodowli ryb innych",
                     "niż łososiowate oraz innych organizmów wodnych"}),
          "K35", " E ", "P35"),
        P("III", L({"Wysokość opłaty za wprowadzanie ścieków do wód lub do ziemi", "ogółem 4)"}), "", "", "PIII"),
        P("4.1.", L({"Odpady składowane selektywnie"}), "K41", " A ", "P41"),
        P("4.2.", L({"Odpady składowane nieselektywnie"}), "K42", " A ", "P42"),
        P("IV", L({"Wysokość opłaty za składowanie odpadów ogółem 4)"}), "", "", "PIV"),
    };
    return pozycje;
}

TQRZalacznik1::TQRZalacznik1(kal::TTable* firma, kal::TTable* okres, kal::TTable* zalacznik1)
    : m_firma(firma), m_okres(okres), m_zalacznik(zalacznik1)
{
    zbuduj();
}

void TQRZalacznik1::UstawTabele(kal::TTable* firma, kal::TTable* okres, kal::TTable* zalacznik1)
{
    m_firma.setTabela(firma);
    m_okres.setTabela(okres);
    m_zalacznik.setTabela(zalacznik1);
}

void TQRZalacznik1::zbuduj()
{
    orientation = Orientation::Portrait;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 9.0, false, false, false};
    printIfEmpty = true;
    FontDef gruba = font;
    gruba.bold = true;
    FontDef mala = font;
    mala.pointSize = 7.0;
    constexpr double LiniaMala = 3.2;

    Band* b = addBand(BandType::Title, QStringLiteral("TitleBand1"));
    double y = 0;
    auto etykieta = [&](const QString& nazwa, double x, double yy, double w, const QString& tekst, Align a = Align::Left) {
        Label* l = b->addLabel(nazwa, x, yy, w, Linia, tekst);
        l->alignment = a;
        return l;
    };

    etykieta(QStringLiteral("QRLabel1"), 0, y, Szerokosc, QStringLiteral("Załącznik nr 1"), Align::Right)->font = gruba;
    y += Linia + 2;
    Memo* wykaz = b->addMemo(QStringLiteral("QRMemo1"), 0, y, Szerokosc, 2 * Linia,
                             {QStringLiteral("Wykaz zawierający zbiorcze zestawienia informacji o zakresie korzystania ze "
                                             "środowiska oraz wysokości należnych opłat")});
    wykaz->wordWrap = true;
    wykaz->alignment = Align::Center;
    y += 2 * Linia + 3;
    Memo* tytul = b->addMemo(QStringLiteral("QRMemo2"), 0, y, Szerokosc, 2 * Linia,
                             L({"ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE",
                                "ŚRODOWISKA ORAZ WYSOKOŚCI NALEŻNYCH OPŁAT 1)"}));
    tytul->font = gruba;
    tytul->alignment = Align::Center;
    y += 2 * Linia + 3;

    // The period.
    etykieta(QStringLiteral("QRLabel2"), 50, y, 20, QStringLiteral("rok 2):"), Align::Right);
    DataText* rok = b->addDataText(QStringLiteral("QRDBText1"), 71, y, 20, Linia, QStringLiteral("Rok"));
    rok->source = &m_okres;
    rok->font = gruba;
    etykieta(QStringLiteral("QRLabel3"), 100, y, 25, QStringLiteral("półrocze 2):"), Align::Right);
    DataText* polrocze = b->addDataText(QStringLiteral("QRDBText2"), 126, y, 20, Linia, QStringLiteral("Polrocze"));
    polrocze->source = &m_okres;
    polrocze->font = gruba;
    y += Linia + 3;

    // The company.
    const double gora = y;
    etykieta(QStringLiteral("QRLabel4"), Odstep + 1, y + Odstep, Szerokosc, QStringLiteral("Podmiot korzystający ze środowiska"))
        ->font = gruba;
    y += Linia + 1.5;
    etykieta(QStringLiteral("QRLabel5"), 2, y, 20, QStringLiteral("Nazwa:"));
    etykieta(QStringLiteral("QRLNazwa1"), 24, y, Szerokosc - 26, QString());
    etykieta(QStringLiteral("QRLNazwa2"), 24, y + Linia, Szerokosc - 26, QString());
    y += 2 * Linia + 1;
    etykieta(QStringLiteral("QRLabel6"), 2, y, 20, QStringLiteral("Adres:"));
    etykieta(QStringLiteral("QRLAdres1"), 24, y, Szerokosc - 26, QString());
    etykieta(QStringLiteral("QRLAdres2"), 24, y + Linia, Szerokosc - 26, QString());
    y += 2 * Linia + 1;
    etykieta(QStringLiteral("QRLabel7"), 2, y, 20, QStringLiteral("REGON"));
    DataText* regon = b->addDataText(QStringLiteral("QRDBText3"), 24, y, 60, Linia, QStringLiteral("REGON"));
    regon->source = &m_firma;
    etykieta(QStringLiteral("QRLabel8"), 90, y, 25, QStringLiteral("Telefon/fax:"));
    DataText* telefon = b->addDataText(QStringLiteral("QRDBText4"), 116, y, Szerokosc - 118, Linia,
                                       QStringLiteral("Telefon"));
    telefon->source = &m_firma;
    y += Linia + 1.5;
    b->addShape(QStringLiteral("QRShape1"), 0, gora, Szerokosc, y - gora, Shape::Type::Rectangle);
    y += 3;

    // The table.
    const QStringList glowki[4] = {L({"L.p."}), L({"Rodzaj korzystania ze środowiska"}), L({"Kod", "tabeli"}),
                                   L({"Wysokość opłaty", "[zł] 3)"})};
    const double wysGlowki = 2 * Linia + 2 * Odstep;
    for (int k = 0; k < 4; ++k) {
        Memo* m = b->addMemo(QStringLiteral("Glowka%1").arg(k + 1), Kolumny[k], y, Kolumny[k + 1] - Kolumny[k], wysGlowki,
                             glowki[k]);
        m->alignment = Align::Center;
        m->font = gruba;
        m->frame = FrameAll;
    }
    y += wysGlowki;

    int tekst = 5; // the bound texts are QRDBText5 onwards
    for (const PozycjaZalacznika1& p : PozycjeZalacznika1()) {
        const bool suma = p.kod.isEmpty();
        const double h = p.opis.size() * Linia + 2 * Odstep;
        b->addShape(QStringLiteral("Ramka") + p.pole, 0, y, Szerokosc, h, Shape::Type::Rectangle);
        for (int k = 1; k < 4; ++k)
            b->addShape(QStringLiteral("Pion%1_%2").arg(p.pole).arg(k), Kolumny[k], y, 0, h, Shape::Type::VertLine);
        Label* lp = etykieta(QStringLiteral("Lp") + p.pole, Kolumny[0] + Odstep, y + Odstep,
                             Kolumny[1] - Kolumny[0] - 2 * Odstep, p.lp);
        Memo* opis = b->addMemo(QStringLiteral("Opis") + p.pole, Kolumny[1] + Odstep, y + Odstep,
                                Kolumny[2] - Kolumny[1] - 2 * Odstep, h - 2 * Odstep, p.opis);
        if (suma) {
            lp->font = gruba;
            opis->font = gruba;
        } else {
            etykieta(p.kod, Kolumny[2] + Odstep, y + Odstep, Kolumny[3] - Kolumny[2] - 2 * Odstep, p.kodTekst,
                     Align::Center);
        }
        DataText* t = b->addDataText(QStringLiteral("QRDBText%1").arg(tekst++), Kolumny[3] + Odstep, y + Odstep,
                                     Kolumny[4] - Kolumny[3] - 2 * Odstep, Linia, p.pole);
        t->source = &m_zalacznik;
        t->alignment = Align::Right;
        t->onPrint = NieDrukujMalych;
        if (suma)
            t->font = gruba;
        y += h;
    }
    // The grand total.
    const double h = Linia + 2 * Odstep;
    b->addShape(QStringLiteral("RamkaPOgolem"), Kolumny[3], y, Kolumny[4] - Kolumny[3], h, Shape::Type::Rectangle);
    Label* napis = etykieta(QStringLiteral("QRLabelSuma"), Kolumny[0], y + Odstep, Kolumny[3] - Kolumny[0] - 2,
                            QStringLiteral("Suma opłat ogółem 6)"), Align::Right);
    napis->font = gruba;
    DataText* ogolem = b->addDataText(QStringLiteral("QRDBText%1").arg(tekst), Kolumny[3] + Odstep, y + Odstep,
                                      Kolumny[4] - Kolumny[3] - 2 * Odstep - 5, Linia, QStringLiteral("POgolem"));
    ogolem->source = &m_zalacznik;
    ogolem->alignment = Align::Right;
    ogolem->font = gruba;
    ogolem->onPrint = NieDrukujMalych;
    etykieta(QStringLiteral("QRLabelZl"), Kolumny[4] - 5, y + Odstep, 5, QStringLiteral("zł"))->font = gruba;
    y += h + 8;

    // Signatures.
    const QStringList podpisy[3] = {L({"(data)"}), L({"(podpis osoby wypełniającej)"}),
                                    L({"(podpis osoby upoważnionej do", "reprezentowania podmiotu)"})};
    for (int k = 0; k < 3; ++k) {
        const double x = k * Szerokosc / 3;
        b->addShape(QStringLiteral("Kropki%1").arg(k + 1), x + 5, y, Szerokosc / 3 - 10, 0, Shape::Type::HorLine);
        Memo* m = b->addMemo(QStringLiteral("QRMemoPodpis%1").arg(k + 1), x, y + 1, Szerokosc / 3, 2 * LiniaMala,
                             podpisy[k]);
        m->font = mala;
        m->alignment = Align::Center;
    }
    y += 2 * LiniaMala + 4;

    // Explanations.
    const QStringList objasnienia = L({
        "Objaśnienia:",
        "1) Zestawienie sporządza podmiot korzystający ze środowiska i przedkłada je marszałkowi województwa wraz z "
        "wykazami zawierającymi informacje i dane o zakresie korzystania ze środowiska oraz o wysokości należnych opłat.",
        "2) Należy wpisać rok i półrocze, których dotyczy zestawienie.",
        "3) Wysokość opłaty podaje się w złotych z dokładnością do grosza.",
        "4) Wysokość opłaty ogółem za dany rodzaj korzystania ze środowiska podaje się w pełnych złotych.",
        "5) Kody ścieków a, b, c i d oznaczają rodzaje ścieków określone w przepisach w sprawie opłat za korzystanie "
        "ze środowiska.",
        "6) Suma opłat ogółem jest sumą wysokości opłat ogółem z pozycji I, II, III i IV.",
    });
    Memo* m = b->addMemo(QStringLiteral("QRMemoObjasnienia"), 0, y, Szerokosc, 10 * LiniaMala, objasnienia);
    m->font = mala;
    m->wordWrap = true;
    y += 10 * LiniaMala;
    b->height = y;

    beforePrint = [this](bool&) { przedWydrukiem(); };
}

void TQRZalacznik1::przedWydrukiem()
{
    Band* b = band(QStringLiteral("TitleBand1"));
    // A one-line name or address stands on the second of its two lines.
    auto dwieLinie = [&](const QString& pole1, const QString& pole2, const QString& etykieta1, const QString& etykieta2) {
        const QString t1 = m_firma.fieldText(pole1);
        const QString t2 = m_firma.fieldText(pole2);
        Label* l1 = b->find<Label>(etykieta1);
        Label* l2 = b->find<Label>(etykieta2);
        if (t2.isEmpty()) {
            l1->caption.clear();
            l2->caption = t1;
        } else {
            l1->caption = t1;
            l2->caption = t2;
        }
    };
    dwieLinie(QStringLiteral("Nazwa1"), QStringLiteral("Nazwa2"), QStringLiteral("QRLNazwa1"), QStringLiteral("QRLNazwa2"));
    dwieLinie(QStringLiteral("Adres1"), QStringLiteral("Adres2"), QStringLiteral("QRLAdres1"), QStringLiteral("QRLAdres2"));

    // The code of a table is underlined exactly when its position carries a fee.
    for (const PozycjaZalacznika1& p : PozycjeZalacznika1()) {
        if (p.kod.isEmpty())
            continue;
        Label* kod = b->find<Label>(p.kod);
        kod->font.underline = wydruki::LiczbaZTekstu(m_zalacznik.fieldText(p.pole)) >= ProgOplaty;
    }
}
