#include "KodyPaliw.h"

#include "DaneSrodowiska.h"
#include "Dialogs.h"
#include "Funkcje.h"

#include <cmath>

int KodPaliwa(const QString& kod)
{
    if (kod.isEmpty())
        return 0;
    const QChar c = kod.at(0);
    if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (kod == QLatin1String("a"))
        return 10;
    if (kod == QLatin1String("b"))
        return 11;
    if (kod == QLatin1String("c"))
        return 12;
    if (c >= QLatin1Char('0'))
        return 0;
    return -1;
}

QString KodPaliwaTekst(int indeks)
{
    if (indeks >= 1 && indeks <= 9)
        return QString::number(indeks);
    if (indeks >= 10 && indeks <= 12)
        return QString(QLatin1Char(char('a' + indeks - 10)));
    return QString();
}

QString NazwaPaliwa(int indeks)
{
    switch (indeks) {
    case 1: return QStringLiteral("etylina 94");
    case 2: return QStringLiteral("etylina 98");
    case 3: return QStringLiteral("benzyna bezołowiowa");
    case 4: return QStringLiteral("gaz płynny propan-butan");
    case 5: return QStringLiteral("olej napędowy");
    case 6: return QStringLiteral("olej napędowy o zawartości siarki poniżej 0,02% m/m");
    case 10: return QStringLiteral("biodiesel");
    case 11: return QStringLiteral("biometan");
    case 12: return QStringLiteral("sprężony gaz ziemny");
    default: return QString();
    }
}

double GestosciPaliw::Gestosc(IndeksPaliwa indeks)
{
    if (!m_wczytane)
        Wczytaj();
    if (indeks.wartosc < 1 || indeks.wartosc > 12)
        return 0.0;
    return m_gestosci[static_cast<size_t>(indeks.wartosc - 1)];
}

double GestosciPaliw::GestoscKodu(QChar kod)
{
    return Gestosc(IndeksPaliwa(KodPaliwa(QString(kod))));
}

void GestosciPaliw::Wczytaj()
{
    const std::vector<WierszGestosci> wiersze = m_czytnik ? m_czytnik() : DaneSrodowiska().WierszeGestosci();
    std::array<double, 12> gestosci{};
    for (const WierszGestosci& w : wiersze) {
        const QString kod = w.kod.left(1);
        int numer = 0;
        if (kod == QLatin1String("a"))
            numer = 10;
        else if (kod == QLatin1String("b"))
            numer = 11;
        else if (kod == QLatin1String("c"))
            numer = 12;
        else {
            const double x = TekstNaLiczbe(w.kod);
            numer = std::fabs(x) < 1e9 ? static_cast<int>(std::trunc(x)) : 0;
        }
        const int i = numer - 1;
        if (i < 0 || i > 11) {
            kal::ShowErrorBox(QStringLiteral("Błąd odczytu gęstości paliwa !!!\nKod gęstości:") + w.kod
                              + QStringLiteral(" numer:") + QString::number(i));
            continue;
        }
        gestosci[static_cast<size_t>(i)] = w.gestosc;
    }
    m_gestosci = gestosci;
    m_wczytane = true;
}

void GestosciPaliw::Wyczysc()
{
    m_wczytane = false;
    m_gestosci.fill(0.0);
}
