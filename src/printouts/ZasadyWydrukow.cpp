#include "ZasadyWydrukow.h"

#include "Funkcje.h"
#include "NumberText.h"
#include "ZrodloTabeli.h"

#include <cmath>

namespace wydruki {

QString TekstKwoty(double v)
{
    if (!(std::fabs(v) >= ::ProgZera)) // NaN prints blank too
        return {};
    return kal::FormatNumber(v, QStringLiteral("### ### ##0.00"));
}

QString TekstPola(const ZrodloTabeli& zrodlo, const QString& pole)
{
    const std::optional<double> v = zrodlo.wartosc(pole);
    return v ? TekstKwoty(*v) : QString();
}

double LiczbaZTekstu(const QString& tekst)
{
    return TekstNaLiczbe(tekst);
}

} // namespace wydruki
