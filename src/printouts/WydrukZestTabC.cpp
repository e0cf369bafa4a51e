#include "WydrukZestTabC.h"

#include "Funkcje.h"
#include "NumberText.h"
#include "OplatyTabel.h"
#include "Table.h"

using namespace kal::report;

TQRZestTabC* QRZestTabC = nullptr;

namespace {
constexpr double Linia = 4.0;
constexpr double Odstep = 1.0;

// The record a table stands on, to go back to after a walk; 0: none.
qint64 ZnakRekordu(kal::TTable* t)
{
    return t && t->Active() && !t->IsEmpty() && t->State() == kal::dsBrowse ? t->GetBookmark() : 0;
}

void WrocDoRekordu(kal::TTable* t, qint64 znak)
{
    if (znak != 0 && t && t->Active() && t->BookmarkValid(znak))
        t->GotoBookmark(znak);
}
} // namespace

OplatyTabelaC TQRZestTabC::OplatyGminy()
{
    return OplatyTabelaC(true);
}

void TQRZestTabC::DlaKazdejGminy(kal::TTable* tabelaC, const std::function<void(const OplatyTabelaC&)>& naGmine)
{
    const qint64 znak = ZnakRekordu(tabelaC);
    struct Powrot {
        kal::TTable* t;
        qint64 znak;
        ~Powrot()
        {
            try {
                WrocDoRekordu(t, znak);
            } catch (...) {
            }
        }
    } powrot{tabelaC, znak};
    ZrodloTabeli gminy(tabelaC);
    for (gminy.first(); !gminy.eof(); gminy.next())
        naGmine(OplatyGminy());
}

const double TQRZestTabC::Kolumny[4] = {0, 15, 140, 277};

TQRZestTabC::TQRZestTabC(kal::TTable* tabelaC) : m_tabelaC(tabelaC)
{
    zbuduj();
}

void TQRZestTabC::UstawTabele(kal::TTable* tabelaC)
{
    m_tabelaC.setTabela(tabelaC);
}

void TQRZestTabC::zbuduj()
{
    orientation = Orientation::Landscape;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 9.0, false, false, false};
    dataSource = &m_tabelaC;
    FontDef gruba = font;
    gruba.bold = true;

    Band* naglowek = addBand(BandType::ColumnHeader, QStringLiteral("ColumnHeaderBand1"));
    const double wysNaglowka = 2 * Linia + 2 * Odstep;
    const QString glowki[3] = {
        QStringLiteral("L.p."), QStringLiteral("Gmina"),
        QStringLiteral("Suma opłat za wprowadzanie gazów lub pyłów do powietrza z kotłów w poszczególnych gminach [zł]")};
    for (int k = 0; k < 3; ++k) {
        Label* l = naglowek->addLabel(QStringLiteral("QRLabel%1").arg(k + 1), Kolumny[k], 0, Kolumny[k + 1] - Kolumny[k],
                                      wysNaglowka, glowki[k]);
        l->font = gruba;
        l->alignment = Align::Center;
        l->wordWrap = true;
        l->frame = FrameAll;
    }
    naglowek->height = wysNaglowka;

    Band* wiersz = addBand(BandType::Detail, QStringLiteral("DetailBand1"));
    const double h = Linia + 2 * Odstep;
    Label* lp = wiersz->addLabel(QStringLiteral("QRLabel4"), Kolumny[0] + Odstep, Odstep,
                                 Kolumny[1] - Kolumny[0] - 2 * Odstep, Linia);
    lp->alignment = Align::Right;
    DataText* gmina = wiersz->addDataText(QStringLiteral("QRDBText1"), Kolumny[1] + Odstep, Odstep,
                                          Kolumny[2] - Kolumny[1] - 2 * Odstep, Linia, QStringLiteral("NazwaGminy"));
    gmina->alignment = Align::Left;
    Label* suma = wiersz->addLabel(QStringLiteral("QRLabel5"), Kolumny[2] + Odstep, Odstep,
                                   Kolumny[3] - Kolumny[2] - 2 * Odstep, Linia);
    suma->alignment = Align::Right;
    for (int k = 1; k < 3; ++k)
        wiersz->addShape(QStringLiteral("Pion%1").arg(k), Kolumny[k], 0, 0, h, Shape::Type::VertLine);
    wiersz->frame = FrameAll;
    wiersz->height = h;
    wiersz->beforePrint = [this](Band& b, bool&) {
        // The commune's fees, from its record and the period's rates.
        const OplatyTabelaC oplaty = OplatyGminy();
        ++m_licznik;
        b.find<Label>(QStringLiteral("QRLabel4"))->caption = QString::number(m_licznik) + QLatin1Char('.');
        b.find<Label>(QStringLiteral("QRLabel5"))->caption = oplaty.teksty.razem;
        m_suma += oplaty.razem;
    };

    Band* podsumowanie = addBand(BandType::Summary, QStringLiteral("SummaryBand1"));
    podsumowanie->addShape(QStringLiteral("Ramka1"), Kolumny[0], 0, Kolumny[2], h, Shape::Type::Rectangle);
    podsumowanie->addShape(QStringLiteral("Ramka2"), Kolumny[2], 0, Kolumny[3] - Kolumny[2], h, Shape::Type::Rectangle);
    Label* napis = podsumowanie->addLabel(QStringLiteral("QRLabel6"), Kolumny[0] + Odstep, Odstep,
                                          Kolumny[2] - 2 * Odstep, Linia, QStringLiteral("Wysokość opłaty ogółem [zł]"));
    napis->font = gruba;
    napis->alignment = Align::Right;
    Label* razem = podsumowanie->addLabel(QStringLiteral("QRLabel7"), Kolumny[2] + Odstep, Odstep,
                                          Kolumny[3] - Kolumny[2] - 2 * Odstep, Linia);
    razem->font = gruba;
    razem->alignment = Align::Right;
    podsumowanie->height = h;
    podsumowanie->beforePrint = [this](Band& b, bool&) {
        m_suma = Zaokraglij(m_suma, 2);
        b.find<Label>(QStringLiteral("QRLabel7"))->caption =
            kal::FormatNumber(m_suma, QStringLiteral("# ### ##0.00# ### ###"));
    };

    beforePrint = [this](bool&) {
        m_suma = 0.0;
        m_licznik = 0;
        m_znak = ZnakRekordu(m_tabelaC.tabela());
    };
    // The table goes back to the commune it stood on.
    afterPrint = [this] {
        WrocDoRekordu(m_tabelaC.tabela(), m_znak);
        m_znak = 0;
    };
}
