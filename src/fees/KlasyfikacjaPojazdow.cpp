#include "KlasyfikacjaPojazdow.h"

#include "Funkcje.h"

#include <cmath>

namespace {

// One line of a row group: the vehicle is in `wiersz` when its class is
// `klasa`, or when it was first registered on or after `od` (a null date:
// the class alone decides).
struct Prog {
    char klasa;
    QDate od;
    int wiersz;
};

// The row of the first line that holds, `inaczej` when none does. An empty
// registration is earlier than every date.
template <size_t N>
int PierwszyProg(QChar e, const QDate& r, const Prog (&progi)[N], int inaczej)
{
    for (const Prog& p : progi)
        if (e == QLatin1Char(p.klasa) || (r.isValid() && !p.od.isNull() && r >= p.od))
            return p.wiersz;
    return inaczej;
}

// Passenger cars go by the registration year: from the first day of it.
const Prog kOsobowe[] = {
    {'5', QDate(), 6},
    {'4', QDate(2006, 1, 1), 5},
    {'3', QDate(2001, 1, 1), 4},
    {'2', QDate(1997, 1, 1), 3},
    {'1', QDate(1993, 1, 1), 2},
};

// Other vehicles up to 3.5 Mg; row 11 takes the days after 2006-06-30.
const Prog kDo35[] = {
    {'5', QDate(), 12},
    {'4', QDate(2006, 7, 1), 11},
    {'3', QDate(2001, 7, 1), 10},
    {'2', QDate(1997, 7, 1), 9},
    {'1', QDate(1993, 10, 1), 8},
};

// Lorries and buses over 3.5 Mg; row 19 takes the days after 2009-09-30.
const Prog kPonad35[] = {
    {'5', QDate(2009, 10, 1), 19},
    {'4', QDate(2006, 10, 1), 18},
    {'3', QDate(2001, 10, 1), 17},
    {'2', QDate(1996, 10, 1), 16},
    {'1', QDate(1993, 10, 1), 15},
};

// Agricultural tractors by emission stage; row 23 takes the days after
// 2007-01-01.
const Prog kCiagniki[] = {
    {'3', QDate(2007, 1, 2), 23},
    {'2', QDate(2004, 1, 1), 22},
    {'1', QDate(2001, 7, 1), 21},
};

} // namespace

QChar KlasaEuro(const QString& normaEuro, const QString& rodzajPojazdu)
{
    if (!normaEuro.isEmpty())
        return normaEuro.at(0);
    const double rodzaj = std::trunc(TekstNaLiczbe(rodzajPojazdu));
    if (rodzaj == 4.0)
        return QLatin1Char('1');
    if (rodzaj == 5.0)
        return QLatin1Char('2');
    if (rodzaj == 6.0)
        return QLatin1Char('3');
    return QLatin1Char('0');
}

int WierszTabeliD(int rodzaj, QChar e, const QDate& r, int p)
{
    switch (rodzaj) {
    case 1:
    case 2:
        return PierwszyProg(e, r, kOsobowe, 1);
    case 3:
        return PierwszyProg(e, r, kDo35, 7);
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
        return PierwszyProg(e, r, kPonad35, rodzaj == 8 ? 14 : 13);
    case 9:
        return PierwszyProg(e, r, kCiagniki, 20);
    case 10:
        // Working machines by stage or production year.
        if (e == QLatin1Char('3'))
            return 27;
        if (e == QLatin1Char('2') || p >= 2004)
            return 26;
        if (e == QLatin1Char('1') || p >= 2000)
            return 25;
        return 24;
    case 11:
        if (e == QLatin1Char('3') || p >= 2008)
            return 29;
        return 28;
    default:
        return 0;
    }
}

KlasaPojazdu KlasyfikujPojazd(const DanePojazdu& v)
{
    KlasaPojazdu k;
    // The row goes by the whole number: a kind beyond 8 bits is no kind.
    const int rodzaj = TekstNaCalkowita(v.rodzajPojazdu);
    k.rodzaj = static_cast<quint8>(rodzaj);
    const QChar e = KlasaEuro(v.normaEuro, v.rodzajPojazdu);
    const QDate& r = v.dataPierwszejRejestracji;
    const int ry = r.isValid() ? r.year() : 0;
    const int p = (v.rokProdukcji && *v.rokProdukcji >= 1900) ? *v.rokProdukcji : ry;
    k.wiersz = WierszTabeliD(rodzaj, e, r, p);
    // Older rows may keep the flag in lower case; the register shows "t" as
    // "Tak" as well.
    k.gaz = v.fabrycznaInstalacjaGazu.compare(QLatin1String("T"), Qt::CaseInsensitive) == 0;
    return k;
}
