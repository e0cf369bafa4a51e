#include "WydrukZuzyciaPaliwa.h"

#include "Dane.h"
#include "DrukujRaport.h"
#include "Funkcje.h"
#include "NumberText.h"

using namespace kal::report;

TQRZyzyciePaliwa* QRZyzyciePaliwa = nullptr;

namespace {
constexpr double Linia = 4.5;
const QString KodyPaliw = QStringLiteral("123456abc");

// The fuel column follows the right-aligned quantities: it keeps 2 mm off
// them.
double OdstepPoLiczbie(int kolumna)
{
    return kolumna == 5 ? 2.0 : 0.0;
}

QString Kwota(double v)
{
    return kal::FormatNumber(v, QStringLiteral("# ### ##0.00"));
}
} // namespace

const double TQRZyzyciePaliwa::Kolumny[9] = {0, 30, 62, 86, 104, 120, 158, 172, 190};

const std::array<QString, 9>& TQRZyzyciePaliwa::NazwyPaliw()
{
    static const std::array<QString, 9> nazwy = {
        QStringLiteral("etylina 94"),
        QStringLiteral("etylina 98"),
        QStringLiteral("benzyna bezołowiowa"),
        QStringLiteral("gaz płynny propan-butan"),
        QStringLiteral("olej napędowy"),
        QStringLiteral("olej napędowy o zawartości siarki poniżej 0,02% m/m"),
        QStringLiteral("biodiesel"),
        QStringLiteral("biometan"),
        QStringLiteral("sprężony gaz ziemny"),
    };
    return nazwy;
}

TQRZyzyciePaliwa::TQRZyzyciePaliwa(TDM& dm) : m_dm(dm), m_zuzycie(dm.TZuzycie)
{
    title = QStringLiteral("Wydruk zużycia paliwa.");
    orientation = Orientation::Portrait;
    margins = QMarginsF(10, 10, 10, 10);
    font = FontDef{QStringLiteral("Arial"), 8.0, false, false, false};
    printIfEmpty = true;
    firstPageHeader = true;
    lastPageFooter = true;
    dataSource = &m_zuzycie;
    const double szer = Kolumny[8];

    Band* n = addBand(BandType::PageHeader, QStringLiteral("PageHeaderBand1"));
    SysData* czas = n->addSysData(QStringLiteral("QRSysData1"), 0, 0, szer, Linia, SysData::Data::DateTime);
    czas->prefix = QStringLiteral("Data i czas druku: ");
    czas->alignment = Align::Right;
    const char* etykiety[3] = {"QRLabel1", "QRLabel2", "QRLabel13"};
    for (int i = 0; i < 3; ++i)
        n->addLabel(QString::fromLatin1(etykiety[i]), 0, Linia * (i + 1) + 1, szer, Linia)->font.bold = i == 1;
    n->height = 4 * Linia + 2;

    Band* g = addBand(BandType::ColumnHeader, QStringLiteral("ColumnHeaderBand1"));
    const QString naglowki[8] = {QStringLiteral("Pojazd"),     QStringLiteral("Miejsce tankowania"),
                                 QStringLiteral("Numer faktury"), QStringLiteral("Data tank."),
                                 QStringLiteral("Ilość"),      QStringLiteral("Rodzaj paliwa"),
                                 QStringLiteral("Cena"),       QStringLiteral("Wartość")};
    for (int i = 0; i < 8; ++i) {
        Label* l = g->addLabel(QStringLiteral("Naglowek%1").arg(i + 1), Kolumny[i] + OdstepPoLiczbie(i), 0,
                               Kolumny[i + 1] - Kolumny[i] - OdstepPoLiczbie(i), Linia, naglowki[i]);
        l->font.bold = true;
        l->alignment = (i == 4 || i >= 6) ? Align::Right : Align::Left;
    }
    // One rule under all the headings, across the gaps between columns.
    g->frame = FrameBottom;
    g->height = Linia + 1;

    Band* d = addBand(BandType::Detail, QStringLiteral("DetailBand1"));
    const QString pola[7] = {QStringLiteral("Marka"),        QStringLiteral("NazwaMiejscaTankowania"),
                             QStringLiteral("NumerFaktury"), QStringLiteral("DataTankowania"),
                             QStringLiteral("IloscPaliwa"),  QStringLiteral("RodzajPaliwa"),
                             QStringLiteral("CenaPaliwa")};
    for (int i = 0; i < 7; ++i) {
        DataText* t = d->addDataText(QStringLiteral("QRDBText%1").arg(i + 1), Kolumny[i] + OdstepPoLiczbie(i), 0,
                                     Kolumny[i + 1] - Kolumny[i] - 1 - OdstepPoLiczbie(i), Linia, pola[i]);
        t->alignment = (i == 4 || i == 6) ? Align::Right : Align::Left;
        // A text too long for its column breaks into lines instead of
        // running into the next column.
        t->wordWrap = t->alignment == Align::Left;
        t->stretch = t->wordWrap;
    }
    d->addLabel(QStringLiteral("QRLabel11"), Kolumny[7], 0, Kolumny[8] - Kolumny[7], Linia)->alignment = Align::Right;
    d->height = Linia;
    d->beforePrint = [this](Band& b, bool& drukuj) { przedWierszem(b, drukuj); };

    Band* s = addBand(BandType::Summary, QStringLiteral("SummaryBand1"));
    s->addLabel(QStringLiteral("QRLabel12"), 0, 2, szer, Linia)->font.bold = true;
    Memo* m = s->addMemo(QStringLiteral("QRMemo1"), 0, 2 + Linia + 1, szer, 10 * Linia);
    m->stretch = true;
    s->height = 2 + 11 * Linia + 1;
    s->beforePrint = [this](Band& b, bool&) {
        b.find<Label>(QStringLiteral("QRLabel12"))->caption = QStringLiteral("Razem ilość: ") + Kwota(IloscRazem) +
                                                              QStringLiteral("    Razem wartość sprzedaży: ") +
                                                              Kwota(WartoscRazem);
        Memo* memo = b.find<Memo>(QStringLiteral("QRMemo1"));
        memo->lines.clear();
        memo->lines << QStringLiteral("W tym:");
        for (size_t i = 0; i < IlosciPaliw.size(); ++i)
            memo->lines << NazwyPaliw()[i] + QStringLiteral(": ") + Kwota(IlosciPaliw[i]);
    };

    // The run walks the fuel purchases; the fuel window is left on the one
    // it stood on, also when the run stops.
    m_zuzycie.setWracaNaRekord(true);
    beforePrint = [this](bool&) { zeruj(); };
}

void TQRZyzyciePaliwa::zeruj()
{
    IloscRazem = 0.0;
    WartoscRazem = 0.0;
    IlosciPaliw.fill(0.0);
}

bool TQRZyzyciePaliwa::przepusc() const
{
    TDM& dm = m_dm;
    if (MiejsceTankowania != -1 &&
        (dm.TZuzycieMiejsceTankowania->IsNull() || dm.TZuzycieMiejsceTankowania->AsInteger() != MiejsceTankowania))
        return false;
    if (MiejsceUzytkowania != -1) {
        const kal::TField* miejsce = !dm.TZuzycieMiejsceUzytkowania->IsNull() ? dm.TZuzycieMiejsceUzytkowania
                                     : !dm.TZuzycieIdMiejscaUzytkowaniaPojazdu->IsNull()
                                         ? dm.TZuzycieIdMiejscaUzytkowaniaPojazdu
                                         : nullptr;
        if (!miejsce || miejsce->AsInteger() != MiejsceUzytkowania)
            return false;
    }
    if (!NumerRejestracyjny.isEmpty() &&
        !PorownajBezSpacji(NumerRejestracyjny, dm.TZuzycieNumerRejestracyjny->AsString()))
        return false;
    if (dm.TZuzycieDataTankowania->IsNull())
        return false;
    const int mc = dm.TZuzycieDataTankowania->AsDateTime().month();
    return McOd <= mc && mc <= McDo;
}

void TQRZyzyciePaliwa::przedWierszem(Band& b, bool& drukuj)
{
    drukuj = przepusc();
    if (!drukuj)
        return;
    TDM& dm = m_dm;
    const double ilosc = PoleNaLiczbe(dm.TZuzycieIloscPaliwa);
    IloscRazem = Zaokraglij(IloscRazem + ilosc, 2);
    const double wartosc = Zaokraglij(ilosc * PoleNaLiczbe(dm.TZuzycieCenaPaliwa), 2);
    b.find<Label>(QStringLiteral("QRLabel11"))->caption = Kwota(wartosc);
    WartoscRazem = Zaokraglij(WartoscRazem + wartosc, 2);
    const QString kod = dm.TZuzycieRodzajPaliwa->AsString();
    const qsizetype i = kod.isEmpty() ? -1 : KodyPaliw.indexOf(kod.at(0));
    if (i >= 0)
        IlosciPaliw[size_t(i)] += ilosc;
    for (double& q : IlosciPaliw)
        q = Zaokraglij(q, 2);
}

void TQRZyzyciePaliwa::PrzygotujIDrukuj(bool podglad)
{
    TDM& dm = m_dm;
    zeruj();
    band(QStringLiteral("PageHeaderBand1"))->find<Label>(QStringLiteral("QRLabel2"))->caption =
        QStringLiteral("Zestawienie zużycia paliwa za miesiące ") + QString::number(McOd) + QStringLiteral(" - ") +
        QString::number(McDo) + QLatin1Char(' ') + dm.TOkresRok->AsString() + QStringLiteral(" roku.");
    Label* tank = band(QStringLiteral("PageHeaderBand1"))->find<Label>(QStringLiteral("QRLabel1"));
    if (WszystkieMiejscaTankowania) {
        tank->caption = QStringLiteral("Wszystkie miejsca tankowania.");
        MiejsceTankowania = -1;
    } else {
        tank->caption = QStringLiteral("Tankowano w: ") + dm.TMiejscTankNazwa->AsString();
        MiejsceTankowania = dm.TMiejscTankIdentyfikator->AsInteger();
    }
    NumerRejestracyjny = NumerRejestracyjnyFiltru.trimmed();
    const QString numer = NumerRejestracyjny.isEmpty()
                              ? QStringLiteral("   Wszystkie numery rejestracyjne.")
                              : QStringLiteral("   Wybrano numer rejestarcyjny: ") + NumerRejestracyjny + QLatin1Char('.');
    Label* uz = band(QStringLiteral("PageHeaderBand1"))->find<Label>(QStringLiteral("QRLabel13"));
    if (WszystkieMiejscaUzytkowania) {
        uz->caption = QStringLiteral("Wszystkie miejsca użytkowania.") + numer;
        MiejsceUzytkowania = -1;
    } else {
        uz->caption = QStringLiteral("Miejsce użytkowania: ") + dm.TMiejsceUzNazwa->AsString() + numer;
        MiejsceUzytkowania = dm.TMiejsceUzIdentyfiklator->AsInteger();
    }
    DrukujRaport(this, podglad, QStringLiteral("Wydruk zużycia paliwa."), 1);
}
