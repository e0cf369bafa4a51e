// Table A: communes, substances and emission sources, and the period's
// table A rows (commune, sources, substances, fuels, quantity items) with
// their calculated emissions and fees.

#include "Dane.h"
#include "DaneWspolne.h"

#include "Funkcje.h"

using dane::edytowana;
using dane::wpiszDate;

// ============================================================ table A

namespace {

bool pusty(const kal::TField* pole)
{
    return pole->AsString().isEmpty();
}

} // namespace

void TDM::KontrolaWierszaTabA(kal::TDataSet& tabela)
{
    const QString substancje = QStringLiteral("Najpierw zapisz dane o substancjach !!!");
    const QString paliwa = QStringLiteral("Najpierw zapisz dane o paliwach !!!");
    const QString zrodla = QStringLiteral("Najpierw zapisz dane o źródłach !!!");
    const QString brakZrodla = QStringLiteral("Najpierw załóż źródło !!!");
    if (&tabela == TTabelaAZrodla) {
        if (edytowana(TTabelaASubstancje))
            throw kal::Exception(substancje);
        if (edytowana(TTabelaAPaliwa))
            throw kal::Exception(paliwa);
    } else if (&tabela == TTabelaASubstancje) {
        if (edytowana(TTabelaAZrodla))
            throw kal::Exception(zrodla);
        if (TTabelaAZrodla->IsEmpty())
            throw kal::Exception(brakZrodla);
        if (edytowana(TTabelaAPaliwa))
            throw kal::Exception(paliwa);
    } else if (&tabela == TTabelaAPaliwa) {
        if (edytowana(TTabelaAZrodla))
            throw kal::Exception(zrodla);
        if (TTabelaAZrodla->IsEmpty())
            throw kal::Exception(brakZrodla);
        if (edytowana(TTabelaASubstancje))
            throw kal::Exception(substancje);
    }
}

void TDM::PrzedDopisemWierszTabA(kal::TDataSet& DataSet)
{
    KontrolaWierszaTabA(DataSet);
}

void TDM::PrzedEdycjaWierszaTabA(kal::TDataSet& DataSet)
{
    KontrolaWierszaTabA(DataSet);
}

void TDM::PrzedKasowaniemWierszaTabA(kal::TDataSet& DataSet)
{
    KontrolaWierszaTabA(DataSet);
}

void TDM::TGminyBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TGminyNazwaGminy))
        throw kal::Exception(QStringLiteral("Nazwa gminy nie może być pusta !!!"));
}

void TDM::TSubsatncjeBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TSubsatncjeNazwaSubstancji))
        throw kal::Exception(QStringLiteral("Nazwa substancji nie może być pusta !!!"));
    if (pusty(TSubsatncjeKodSubstancji))
        throw kal::Exception(QStringLiteral("Musisz wprowadzić kod substancji !!!"));
    if (pusty(TSubsatncjeJednostkowaStawka))
        throw kal::Exception(QStringLiteral("Jednostkowa stawka opłaty jest obowiązkowa !!!"));
    if (TSubsatncjeJednostkowaStawka->AsFloat() < 0.0001)
        throw kal::Exception(QStringLiteral("Jednostkowa stawka opłaty musi być dodatnia !!!"));
}

void TDM::TZrodlaTerminObowiazywaniaSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Termin obowiązywania musi być dobrze określony !!!"));
}

void TDM::TZrodlaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TZrodlaRodzajInstalacji))
        throw kal::Exception(QStringLiteral("Rodzaj instalacji/działalności musi być wypełniony !!!"));
    if (pusty(TZrodlaPozwoleniezData))
        throw kal::Exception(QStringLiteral("Nr, data wydania oraz organ wydający pozwolenie są obowiązkowe !!!"));
    if (pusty(TZrodlaTerminObowiazywania))
        throw kal::Exception(QStringLiteral("Termin obowiązywania jest obowiązkowy !!!"));
}

void TDM::TTabelaAGminaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaAGminaIdentyfikatorGminy))
        throw kal::Exception(QStringLiteral("Musisz wybrać gminę !!!"));
    if (pusty(TTabelaAGminaPowiat))
        throw kal::Exception(QStringLiteral("Powiat musi być wprowadzony !!!"));
}

void TDM::TTabelaAZrodlaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaAZrodlaIdentyfikatorZrodla))
        throw kal::Exception(QStringLiteral("Musisz wybrać źródło !!!"));
    if (pusty(TTabelaAZrodlaNazwaSurowcow))
        throw kal::Exception(QStringLiteral("Musisz podać nazwę surowców lub materiałów !!!"));
    if (pusty(TTabelaAZrodlaIlosc))
        throw kal::Exception(QStringLiteral("Ilość zużytych surowców lub materiałów musi być określona !!!"));
    if (TTabelaAZrodlaIlosc->AsFloat() < 0.0001)
        throw kal::Exception(QStringLiteral("Ilość zużytych surowców lub materiałów musi być dodatnia !!!"));
}

void TDM::TTabelaASubstancjeBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaASubstancjeIdentyfikatorSubstancji))
        throw kal::Exception(QStringLiteral("Musisz wybrać substancję !!!"));
    if (pusty(TTabelaASubstancjeWskaznikEmisji))
        throw kal::Exception(QStringLiteral("Wskażnik emisji jest obowiązkowy !!!"));
    if (pusty(TTabelaASubstancjeJednostkowaStawka))
        throw kal::Exception(QStringLiteral("Jednostkowa stawka opłaty jest obowiązkowa !!!"));
}

void TDM::TTabelaASubstancjeCalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaASubstancjeWskaznikEmisji) || pusty(TTabelaASubstancjeJednostkowaStawka))
        return;
    const double emisja =
        Zaokraglij(TTabelaAZrodlaIlosc->AsFloat() * TTabelaASubstancjeWskaznikEmisji->AsFloat(), 2);
    TTabelaASubstancjeWielkoscEmisji->setAsFloat(emisja);
    TTabelaASubstancjeWysokoscOpaty->setAsFloat(
        Zaokraglij(TTabelaASubstancjeJednostkowaStawka->AsFloat() * emisja, 2));
}

void TDM::TTabelaAPaliwaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (pusty(TTabelaAPaliwaRodzajPaliwa))
        throw kal::Exception(QStringLiteral("Musisz wpisać rodzaj paliwa !!!"));
    if (pusty(TTabelaAPaliwaZuzycie))
        throw kal::Exception(QStringLiteral("Zużycie paliwa jest obowiązkowe !!!"));
}

namespace {

// The period date rule for the date of a quantity item, already stored: a
// date that is not a proper one fails on its year.
void kontrolaDatyPozycji(const kal::TField* data, const kal::TField* rok, const kal::TField* polrocze)
{
    dane::kontrolaDatyOkresu(data, rok, polrocze, QString(),
                             QStringLiteral("Data ilości źródła musi dotyczyć roku: "));
}

} // namespace

void TDM::TTabAPozWartAfterInsert(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TTabAPozWartProcent->setAsFloat(100.0);
    TTabAPozWartGestosc->setAsFloat(1.0);
}

void TDM::TTabAPozWartDataSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Data ilości źródła musi być dobrze określona !!!"));
    kontrolaDatyPozycji(TTabAPozWartData, TOkresRok, TOkresPolrocze);
}

void TDM::TTabAPozWartBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    if (TTabAPozWartData->IsNull())
        throw kal::Exception(QStringLiteral("Data ilości źródła musi być dobrze określona !!!"));
    kontrolaDatyPozycji(TTabAPozWartData, TOkresRok, TOkresPolrocze);
    if (TTabAPozWartProcent->IsNull())
        TTabAPozWartProcent->setAsFloat(100.0);
    if (TTabAPozWartGestosc->IsNull())
        TTabAPozWartGestosc->setAsFloat(1.0);
    if (TTabAPozWartIlosc->IsNull())
        TTabAPozWartIlosc->setAsFloat(0.0);
    if (TTabAPozWartIlosc->AsFloat() < 0.001)
        throw kal::Exception(QStringLiteral("Ilość musi być dodatnia !!!"));
    if (TTabAPozWartProcent->AsFloat() < 0.001)
        throw kal::Exception(QStringLiteral("Procent musi być dodatni !!!"));
    if (TTabAPozWartGestosc->AsFloat() < 0.001)
        throw kal::Exception(QStringLiteral("Gęstość musi być dodatnia !!!"));
}

void TDM::TTabAPozWartCalcFields(kal::TDataSet& DataSet)
{
    (void)DataSet;
    TTabAPozWartIloscKoncowa->setAsFloat(0.0);
    if (TTabAPozWartProcent->IsNull() || TTabAPozWartGestosc->IsNull() || TTabAPozWartIlosc->IsNull())
        return;
    TTabAPozWartIloscKoncowa->setAsFloat(Zaokraglij(
        TTabAPozWartIlosc->AsFloat() * TTabAPozWartProcent->AsFloat() * 0.01 * TTabAPozWartGestosc->AsFloat(), 4));
}
