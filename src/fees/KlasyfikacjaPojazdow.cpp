#include "KlasyfikacjaPojazdow.h"

#include "Funkcje.h"

#include <cmath>

namespace {

// On or after the day.
bool Od(const QDate& r, int rok, int miesiac, int dzien)
{
    return r.isValid() && r >= QDate(rok, miesiac, dzien);
}

// Strictly after the day.
bool Po(const QDate& r, int rok, int miesiac, int dzien)
{
    return r.isValid() && r > QDate(rok, miesiac, dzien);
}

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
    const int ry = r.isValid() ? r.year() : 0;
    switch (rodzaj) {
    case 1:
    case 2:
        if (e == QLatin1Char('5'))
            return 6;
        if (ry >= 2006 || e == QLatin1Char('4'))
            return 5;
        if (ry >= 2001 || e == QLatin1Char('3'))
            return 4;
        if (ry >= 1997 || e == QLatin1Char('2'))
            return 3;
        if (ry >= 1993 || e == QLatin1Char('1'))
            return 2;
        return 1;
    case 3:
        if (e == QLatin1Char('5'))
            return 12;
        if (e == QLatin1Char('4') || Po(r, 2006, 6, 30))
            return 11;
        if (e == QLatin1Char('3') || Od(r, 2001, 7, 1))
            return 10;
        if (e == QLatin1Char('2') || Od(r, 1997, 7, 1))
            return 9;
        if (e == QLatin1Char('1') || Od(r, 1993, 10, 1))
            return 8;
        return 7;
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
        if (e == QLatin1Char('5') || Po(r, 2009, 9, 30))
            return 19;
        if (e == QLatin1Char('4') || Od(r, 2006, 10, 1))
            return 18;
        if (e == QLatin1Char('3') || Od(r, 2001, 10, 1))
            return 17;
        if (e == QLatin1Char('2') || Od(r, 1996, 10, 1))
            return 16;
        if (e == QLatin1Char('1') || Od(r, 1993, 10, 1))
            return 15;
        return rodzaj == 8 ? 14 : 13;
    case 9:
        if (e == QLatin1Char('3') || Po(r, 2007, 1, 1))
            return 23;
        if (e == QLatin1Char('2') || Od(r, 2004, 1, 1))
            return 22;
        if (e == QLatin1Char('1') || Od(r, 2001, 7, 1))
            return 21;
        return 20;
    case 10:
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
    k.rodzaj = static_cast<quint8>(TekstNaCalkowita(v.rodzajPojazdu));
    const QChar e = KlasaEuro(v.normaEuro, v.rodzajPojazdu);
    const QDate& r = v.dataPierwszejRejestracji;
    const int ry = r.isValid() ? r.year() : 0;
    const int p = (v.rokProdukcji && *v.rokProdukcji >= 1900) ? *v.rokProdukcji : ry;
    k.wiersz = WierszTabeliD(k.rodzaj, e, r, p);
    k.gaz = v.fabrycznaInstalacjaGazu == QLatin1String("T");
    return k;
}
