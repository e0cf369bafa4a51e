#include "WydrukNaprawPrz.h"

#include "Dane.h"
#include "DrukujRaport.h"
#include "TextMetrics.h"
#include "UkladWydrukowPojazdow.h"

using namespace kal::report;

TQRNaprawyiPrzegl* QRNaprawyiPrzegl = nullptr;

const double TQRNaprawyiPrzegl::Kolumny[6] = {0, 10, 64, 110, 160, 190};

TQRNaprawyiPrzegl::TQRNaprawyiPrzegl(TDM& dm) : m_dm(dm), m_pojazdy(dm.TPojazdy), m_przeglady(dm.TPrzegl)
{
    constexpr double Linia = 5.0;
    m_pojazdy.setTabeleZalezne({dm.TPrzebieg});
    wydrukiPojazdow::UstawStrone(*this, &m_pojazdy);
    wydrukiPojazdow::Tytul(*this);

    // The vehicle's heading stands on a line of its own over the vehicle
    // lines; the headings of the repair rows under it, over their columns,
    // indented as the rows are.
    Band* g = addBand(BandType::ColumnHeader, QStringLiteral("ColumnHeaderBand1"));
    const QString naglowki[5] = {QStringLiteral("Numer rejestracyjny marka pojazdu"),
                                 QStringLiteral("Nr faktury          Data"), QStringLiteral("Zakres robót"),
                                 QStringLiteral("Zakupione części"), QStringLiteral("Wartość")};
    Label* pierwszy = g->addLabel(QStringLiteral("Naglowek1"), Kolumny[0], 0, Kolumny[5], Linia, naglowki[0]);
    pierwszy->font.bold = true;
    for (int i = 1; i < 5; ++i) {
        Label* l = g->addLabel(QStringLiteral("Naglowek%1").arg(i + 1), Kolumny[i], Linia,
                               Kolumny[i + 1] - Kolumny[i] - 1, Linia, naglowki[i]);
        l->font.bold = true;
        if (i == 4)
            l->alignment = Align::Right;
    }
    g->height = 2 * Linia + 1;
    g->frame = FrameBottom;

    Band* d = addBand(BandType::Detail, QStringLiteral("DetailBand1"));
    d->addLabel(QStringLiteral("QRLabel3"), 0, 1, Kolumny[5], Linia)->font.bold = true;
    d->height = Linia + 1;
    d->beforePrint = [this](Band& b, bool& drukuj) {
        drukuj = false;
        for (m_dm.TPrzegl->First(); !m_dm.TPrzegl->Eof(); m_dm.TPrzegl->Next())
            if (WierszWOkresie()) {
                drukuj = true;
                break;
            }
        if (!drukuj)
            return;
        m_dm.TPrzegl->First();
        b.find<Label>(QStringLiteral("QRLabel3"))->caption =
            m_dm.TPojazdyNrRejestracyjny->AsString() + QLatin1Char(' ') + m_dm.TPojazdyMarka->AsString();
    };

    Band* s = addBand(BandType::SubDetail, QStringLiteral("SubDetailBand1"));
    s->dataSource = &m_przeglady;
    // The invoice number and the date share the second heading: the date
    // starts where "Data" does in it.
    const double data = Kolumny[1] + TextMetrics::width(pierwszy->font, QStringLiteral("Nr faktury          "));
    const QString pola[5] = {QStringLiteral("NrFaktury"), QStringLiteral("Data"), QStringLiteral("ZakresRobot"),
                             QStringLiteral("ZakupioneCzesci"), QStringLiteral("Wartosc")};
    const double lewe[5] = {Kolumny[1], data, Kolumny[2], Kolumny[3], Kolumny[4]};
    const double prawe[5] = {data, Kolumny[2], Kolumny[3], Kolumny[4], Kolumny[5]};
    for (int i = 0; i < 5; ++i) {
        DataText* t = s->addDataText(QStringLiteral("QRDBText%1").arg(i + 1), lewe[i], 0, prawe[i] - lewe[i] - 1, Linia,
                                     pola[i]);
        t->source = &m_przeglady;
        t->wordWrap = i == 0 || i == 2 || i == 3;
        t->stretch = t->wordWrap;
        if (i == 4)
            t->alignment = Align::Right;
    }
    s->height = Linia;
    s->beforePrint = [this](Band&, bool& drukuj) { drukuj = WierszWOkresie(); };
}

bool TQRNaprawyiPrzegl::WierszWOkresie() const
{
    const kal::TField* data = m_dm.TPrzeglData;
    if (data->IsNull())
        return false;
    const QDate d = data->AsDateTime();
    return d.year() == Rok && McOd <= d.month() && d.month() <= McDo;
}

void TQRNaprawyiPrzegl::PrzygotujIDrukuj(bool podglad)
{
    band(QStringLiteral("TitleBand1"))->find<Label>(QStringLiteral("QRLabel1"))->caption =
        QStringLiteral("Naprawy i przeglądy za miesiące: ") + QString::number(McOd) + QStringLiteral(" - ") +
        QString::number(McDo) + QStringLiteral(" .") + QString::number(Rok) + QLatin1Char('.');
    wydrukiPojazdow::ZachowajPojazd zachowaj(m_dm);
    DrukujRaport(this, podglad, QStringLiteral("Wydruk napraw i przeglądów."), 1);
}
