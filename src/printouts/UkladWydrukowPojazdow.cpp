#include "UkladWydrukowPojazdow.h"

#include "Clock.h"
#include "Dane.h"

using namespace kal::report;

namespace wydrukiPojazdow {

namespace {
constexpr double Szerokosc = 190.0;
constexpr double Linia = 5.0;
// Texts of a ruled cell keep this far from its side lines.
constexpr double Odstep = 0.8;
} // namespace

void UstawStrone(Report& r, IDataSource* dane)
{
    r.orientation = Orientation::Portrait;
    r.margins = QMarginsF(10, 10, 10, 10);
    r.font = FontDef{QStringLiteral("Arial"), 9.0, false, false, false};
    r.printIfEmpty = true;
    r.firstPageHeader = true;
    r.lastPageFooter = true;
    r.dataSource = dane;
}

void Tytul(Report& r)
{
    Band* t = r.addBand(BandType::Title, QStringLiteral("TitleBand1"));
    Label* l = t->addLabel(QStringLiteral("QRLabel1"), 0, 0, Szerokosc, 6);
    l->font.bold = true;
    l->font.pointSize = 11;
    t->height = 9;
}

void UstawTytul(Report& r, const QString& poczatek)
{
    DataKalendarzowa dzis;
    dzis = kal::Today();
    r.band(QStringLiteral("TitleBand1"))->find<Label>(QStringLiteral("QRLabel1"))->caption =
        poczatek + dzis.NaTekst('U', true) + QStringLiteral(" roku.");
}

std::vector<double> Kolumny(int n)
{
    std::vector<double> k;
    for (int i = 0; i <= n; ++i)
        k.push_back(Szerokosc * i / n);
    return k;
}

Band* Tabela(Report& r, const std::vector<std::pair<QString, QString>>& kolumny)
{
    const int n = int(kolumny.size());
    const std::vector<double> k = Kolumny(n);
    Band* g = r.addBand(BandType::ColumnHeader, QStringLiteral("ColumnHeaderBand1"));
    Band* d = r.addBand(BandType::Detail, QStringLiteral("DetailBand1"));
    for (int i = 0; i < n; ++i) {
        Memo* m = g->addMemo(QStringLiteral("Naglowek%1").arg(i + 1), k[size_t(i)], 0, k[size_t(i) + 1] - k[size_t(i)],
                             2 * Linia, {kolumny[size_t(i)].first});
        m->alignment = Align::Center;
        m->wordWrap = true;
        m->frame = FrameAll;
        m->font.bold = true;
        m->padding = Odstep;
        // A text too long for its cell breaks into lines; the whole row grows
        // with it.
        Label* l = d->addLabel(kolumny[size_t(i)].second, k[size_t(i)], 0, k[size_t(i) + 1] - k[size_t(i)], Linia);
        l->alignment = i == 0 ? Align::Left : Align::Center;
        l->frame = FrameAll;
        l->padding = Odstep;
        l->wordWrap = true;
        l->stretch = true;
    }
    g->height = 2 * Linia;
    d->height = Linia;
    return d;
}

bool WEwidencji(TDM& dm, const DataKalendarzowa& dzis)
{
    if (dm.TPojazdyDataSkresleniaZEwidencji->IsNull())
        return true;
    const DataKalendarzowa skreslenie(dm.TPojazdyDataSkresleniaZEwidencji);
    return dzis < skreslenie;
}

ZachowajPojazd::ZachowajPojazd(TDM& dm) : m_dm(dm)
{
    if (m_dm.TPojazdy->Active() && !m_dm.TPojazdy->IsEmpty()) {
        m_jest = true;
        m_id = m_dm.TPojazdyIdentyfikatorPojazdu->AsInteger();
    }
}

ZachowajPojazd::~ZachowajPojazd()
{
    if (!m_jest)
        return;
    try {
        m_dm.TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), m_id);
    } catch (...) {
        // The position is a courtesy; a failure to return leaves the table where it is.
    }
}

} // namespace wydrukiPojazdow
