#include "WprowadzanieWartosci.h"

#include "Exceptions.h"
#include "FunkcjeSrodowiska.h"
#include "NumberText.h"

#include <cmath>

double WartoscNieujemna(const QString& tekst)
{
    const double x = kal::ParseDecimal(tekst).value_or(0.0);
    if (!(x >= 0.0))
        return 0.0;
    return x + 0.0; // never -0.0
}

qint16 LiczbaNieujemnaCalk(const QString& tekst)
{
    if (tekst.isEmpty())
        return 0;
    const QString t = tekst.trimmed();
    bool wewnatrzOdstep = false;
    for (QChar c : t)
        if (c.isSpace())
            wewnatrzOdstep = true;
    const std::optional<qint64> n = wewnatrzOdstep || t.isEmpty() ? std::nullopt : kal::ParseWhole(t);
    if (!n)
        throw kal::EConvertError(QStringLiteral("'%1' nie jest poprawną liczbą całkowitą.").arg(tekst));
    if (*n < 0)
        return 0;
    if (*n > 32767)
        throw kal::EConvertError(
            QStringLiteral("Liczba %1 przekracza dozwolony zakres od 0 do 32767.").arg(t));
    return static_cast<qint16>(*n);
}

void PrzeliczPoWpisie(const QString& tabela)
{
    if (tabela == QLatin1String("TTabelaC") || tabela == QLatin1String("TStawkiTabC"))
        OplatyC().Przelicz();
    else if (tabela == QLatin1String("TTabelaD") || tabela == QLatin1String("TStawkiTabD"))
        OplatyD().Przelicz();
}
