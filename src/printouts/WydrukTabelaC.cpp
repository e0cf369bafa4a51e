#include "WydrukTabelaC.h"

#include "Funkcje.h"
#include "FunkcjeSrodowiska.h"
#include "KomorkiTabel.h"
#include "OplatyTabel.h"
#include "ZasadyWydrukow.h"

#include <cmath>

using namespace kal::report;

TQRTabelaC* QRTabelaC = nullptr;

namespace {

constexpr double Linia = 4.0;
constexpr double Odstep = 0.75;

QStringList L(std::initializer_list<const char*> teksty)
{
    QStringList l;
    for (const char* t : teksty)
        l << QString::fromUtf8(t);
    return l;
}

// The name of the fee label of a position.
QString EtykietaOplaty(const QString& pole)
{
    return pole == QStringLiteral("I1") ? QStringLiteral("QRLI1_") : QStringLiteral("QRL") + pole;
}

// Data-aware texts print nothing for a value that is zero.
void NieDrukujZer(Control&, QString& tekst, bool&)
{
    if (std::fabs(wydruki::LiczbaZTekstu(tekst)) < ::ProgZera)
        tekst.clear();
}

} // namespace

const double TQRTabelaC::Kolumny[7] = {0, 14, 139, 164, 202, 240, 277};

const std::vector<PozycjaTabeliC>& PozycjeTabeliC()
{
    static const std::vector<PozycjaTabeliC> pozycje = {
        {QStringLiteral("I"), L({"Kotły opalane węglem kamiennym"}), QString()},
        {QStringLiteral("1"), L({"Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,", "o nominalnej mocy cieplnej <= 3 MW"}), QStringLiteral("I1")},
        {QStringLiteral("1a"), L({"Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,", "o nominalnej mocy cieplnej > 3 MW i <= 5 MW"}), QStringLiteral("I1a")},
        {QStringLiteral("2"), L({"Kocioł z rusztem mechanicznym, bez urządzenia odpylającego"}), QStringLiteral("I2")},
        {QStringLiteral("3"), L({"Kocioł z rusztem stałym i ciągiem naturalnym"}), QStringLiteral("I3")},
        {QStringLiteral("4"), L({"Kocioł z rusztem stałym, z ciągiem sztucznym, z urządzeniem odpylającym"}), QStringLiteral("I4")},
        {QStringLiteral("5"), L({"Kocioł z rusztem stałym, z ciągiem sztucznym, bez urządzenia odpylającego"}), QStringLiteral("I5")},
        {QStringLiteral("II"), L({"Kotły opalane koksem"}), QString()},
        {QStringLiteral("1"), L({"Kocioł z rusztem stałym i ciągiem naturalnym"}), QStringLiteral("II1")},
        {QStringLiteral("2"), L({"Kocioł z rusztem stałym, z ciągiem sztucznym, z urządzeniem odpylającym"}), QStringLiteral("II2")},
        {QStringLiteral("3"), L({"Kocioł z rusztem stałym, z ciągiem sztucznym, bez urządzenia odpylającego"}), QStringLiteral("II3")},
        {QStringLiteral("III"), L({"Kotły opalane drewnem"}), QStringLiteral("III")},
        {QStringLiteral("IV"), L({"Kotły opalane olejem"}), QString()},
        {QStringLiteral("1"), L({"Olej lekki (zawartość siarki nie większa niż 0,5 %)"}), QStringLiteral("IV1")},
        {QStringLiteral("2"), L({"Olej opałowy (zawartość siarki nie większa niż 1 %)"}), QStringLiteral("IV2")},
        {QStringLiteral("3"), L({"Olej opałowy (zawartość siarki od 1 % do 5 %)"}), QStringLiteral("IV3")},
        {QStringLiteral("4"), L({"Olej napędowy"}), QStringLiteral("IV4")},
        {QStringLiteral("V"), L({"Kotły opalane paliwem gazowym"}), QString()},
        {QStringLiteral("1a"), L({"Gaz ziemny wysokometanowy, nominalna moc cieplna <= 1,4 MW"}), QStringLiteral("V1a")},
        {QStringLiteral("1b"), L({"Gaz ziemny wysokometanowy, nominalna moc cieplna > 1,4 MW i <= 5 MW"}), QStringLiteral("V1b")},
        {QStringLiteral("2a"), L({"Gaz ziemny zaazotowany, nominalna moc cieplna <= 1,4 MW"}), QStringLiteral("V2a")},
        {QStringLiteral("2b"), L({"Gaz ziemny zaazotowany, nominalna moc cieplna > 1,4 MW i <= 5 MW"}), QStringLiteral("V2b")},
        {QStringLiteral("3"), L({"Gaz płynny propan-butan, nominalna moc cieplna <= 5 MW"}), QStringLiteral("V3")},
    };
    return pozycje;
}

TQRTabelaC::TQRTabelaC(kal::TTable* tabelaC, kal::TTable* stawkiC, const OplatyTabelaC* oplaty)
    : m_ilosci(tabelaC), m_stawki(stawkiC), m_oplaty(oplaty)
{
    zbuduj();
}

void TQRTabelaC::UstawTabele(kal::TTable* tabelaC, kal::TTable* stawkiC)
{
    m_ilosci.setTabela(tabelaC);
    m_stawki.setTabela(stawkiC);
}

const OplatyTabelaC& TQRTabelaC::oplaty() const
{
    return m_oplaty ? *m_oplaty : OplatyC();
}

void TQRTabelaC::zbuduj()
{
    orientation = Orientation::Landscape;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 9.0, false, false, false};
    printIfEmpty = true;

    Band* b = addBand(BandType::Title, QStringLiteral("TitleBand1"));
    const double szer = Kolumny[6];
    FontDef gruba = font;
    gruba.bold = true;

    double y = 0;
    Label* l = b->addLabel(QStringLiteral("QRLabel1"), 0, y, szer, Linia, QStringLiteral("TABELA C"));
    l->font = gruba;
    l->alignment = Align::Center;
    y += Linia + 1.5;
    Memo* tytul = b->addMemo(QStringLiteral("QRMemo1"), 0, y, szer, 2 * Linia,
                             {QStringLiteral("WPROWADZANIE GAZÓW LUB PYŁÓW DO POWIETRZA Z KOTŁÓW O NOMINALNEJ MOCY CIEPLNEJ DO 5 MW *)")});
    tytul->font = gruba;
    tytul->alignment = Align::Center;
    y += Linia + 1.5;
    b->addMemo(QStringLiteral("QRMemo6"), 0, y, szer, Linia);
    y += Linia + 1.5;

    // Heads and column numbers.
    const QStringList glowki[6] = {
        L({"Lp."}),
        L({"Rodzaje kotłów"}),
        L({"Liczba kotłów"}),
        L({"Zużycie", "paliwa", "[Mg lub 10⁶ m³]"}),
        L({"Jednostkowa stawka", "opłaty", "[zł/Mg lub", "zł/10⁶ m³]"}),
        L({"Wysokość", "opłaty", "[zł]"}),
    };
    const double wysGlowki = 4 * Linia + 2 * Odstep;
    for (int k = 0; k < 6; ++k) {
        const double x = Kolumny[k], w = Kolumny[k + 1] - Kolumny[k];
        Memo* m = b->addMemo(QStringLiteral("Glowka%1").arg(k + 1), x, y, w, wysGlowki, glowki[k]);
        m->alignment = Align::Center;
        m->wordWrap = true;
        m->frame = FrameAll;
        Label* n = b->addLabel(QStringLiteral("Kolumna%1").arg(k + 1), x, y + wysGlowki, w, Linia + 2 * Odstep,
                               QString::number(k + 1));
        n->alignment = Align::Center;
        n->frame = FrameAll;
    }
    y += wysGlowki + Linia + 2 * Odstep;

    // The positions.
    for (const PozycjaTabeliC& p : PozycjeTabeliC()) {
        const double h = p.opis.size() * Linia + 2 * Odstep;
        // Groups are numbered I to V.
        const bool grupa = p.lp.at(0) == QLatin1Char('I') || p.lp.at(0) == QLatin1Char('V');
        Label* lp = b->addLabel(QStringLiteral("Lp") + (p.pole.isEmpty() ? p.lp : p.pole), Kolumny[0], y + Odstep,
                                Kolumny[1], Linia, p.lp);
        lp->alignment = Align::Center;
        b->addShape(QStringLiteral("RamkaLp") + (p.pole.isEmpty() ? p.lp : p.pole), Kolumny[0], y, Kolumny[1], h,
                    Shape::Type::Rectangle);
        Memo* opis = b->addMemo(QStringLiteral("Opis") + (p.pole.isEmpty() ? p.lp : p.pole), Kolumny[1] + Odstep,
                                y + Odstep, Kolumny[2] - Kolumny[1] - 2 * Odstep, h - 2 * Odstep, p.opis);
        if (grupa)
            opis->font = gruba;
        b->addShape(QStringLiteral("Ramka") + (p.pole.isEmpty() ? p.lp : p.pole), Kolumny[1], y,
                    Kolumny[6] - Kolumny[1], h, Shape::Type::Rectangle);
        for (int k = 2; k < 6; ++k)
            b->addShape(QStringLiteral("Pion%1_%2").arg(p.pole.isEmpty() ? p.lp : p.pole).arg(k), Kolumny[k], y, 0, h,
                        Shape::Type::VertLine);
        if (!p.pole.isEmpty()) {
            const QString pola[3] = {QStringLiteral("LK") + p.pole, p.pole, p.pole};
            ZrodloTabeli* zrodloPola[3] = {&m_ilosci, &m_ilosci, &m_stawki};
            const QString nazwy[3] = {QStringLiteral("QRDBTextLK"), QStringLiteral("QRDBTextZ"), QStringLiteral("QRDBTextS")};
            for (int k = 0; k < 3; ++k) {
                DataText* t = b->addDataText(nazwy[k] + p.pole, Kolumny[2 + k] + Odstep, y + Odstep,
                                             Kolumny[3 + k] - Kolumny[2 + k] - 2 * Odstep, Linia, pola[k]);
                t->source = zrodloPola[k];
                t->alignment = Align::Right;
                t->onPrint = NieDrukujZer;
            }
            Label* oplata = b->addLabel(EtykietaOplaty(p.pole), Kolumny[5] + Odstep, y + Odstep,
                                        Kolumny[6] - Kolumny[5] - 2 * Odstep, Linia);
            oplata->alignment = Align::Right;
        }
        y += h;
    }

    // The total.
    const double h = Linia + 2 * Odstep;
    b->addShape(QStringLiteral("RamkaRazem"), Kolumny[0], y, Kolumny[6], h, Shape::Type::Rectangle);
    b->addShape(QStringLiteral("PionRazem"), Kolumny[5], y, 0, h, Shape::Type::VertLine);
    Label* napis = b->addLabel(QStringLiteral("QRLabelRazem"), Kolumny[0] + Odstep, y + Odstep,
                               Kolumny[5] - Kolumny[0] - 2 * Odstep, Linia, QStringLiteral("Wysokość opłat ogółem [zł]"));
    napis->font = gruba;
    napis->alignment = Align::Right;
    Label* razem = b->addLabel(QStringLiteral("QRLRazem"), Kolumny[5] + Odstep, y + Odstep,
                               Kolumny[6] - Kolumny[5] - 2 * Odstep, Linia);
    razem->font = gruba;
    razem->alignment = Align::Right;
    y += h + 2;

    const QStringList przypis = {
        QStringLiteral("*) Niniejszą tabelę wypełnia się oddzielnie dla każdej gminy. W tabeli wypełnia się tylko te pozycje, "
                       "które dotyczą danego podmiotu korzystajacego ze środowiska.")};
    Memo* m = b->addMemo(QStringLiteral("QRMemo7"), 0, y, szer, 2 * Linia, przypis);
    m->wordWrap = true;
    b->height = y + 2 * Linia;

    beforePrint = [this](bool&) { przedWydrukiem(); };
}

void TQRTabelaC::przedWydrukiem()
{
    Band* b = band(QStringLiteral("TitleBand1"));
    Memo* gmina = b->find<Memo>(QStringLiteral("QRMemo6"));
    gmina->lines.clear();
    gmina->lines << QStringLiteral(" Gmina: ") + m_ilosci.fieldText(QStringLiteral("NazwaGminy"));

    const OplatyTabelaC& o = oplaty();
    const auto& pola = PolaTabeliC();
    for (size_t i = 0; i < pola.size(); ++i)
        if (Label* l = b->find<Label>(EtykietaOplaty(pola[i])))
            l->caption = wydruki::TekstKwoty(o.oplaty[i]);
    b->find<Label>(QStringLiteral("QRLRazem"))->caption = wydruki::TekstKwoty(o.razem);
}
