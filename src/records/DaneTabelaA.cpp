// Table A: communes, substances and emission sources, and the period's
// table A rows (commune, sources, substances, fuels, quantity items) with
// their calculated emissions and fees.

#include "Dane.h"
#include "DaneWspolne.h"

#include "Funkcje.h"

using namespace dane;

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
    } else if (&tabela == TTabAPozWart) {
        // A quantity item takes the key of a saved source: without one it
        // would be stored where no source finds it.
        if (edytowana(TTabelaAZrodla))
            throw kal::Exception(zrodla);
        if (TTabelaAZrodla->IsEmpty())
            throw kal::Exception(brakZrodla);
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
    sprawdzWymogi({{TGminyNazwaGminy, Pusty, "Nazwa gminy nie może być pusta !!!"}});
}

void TDM::TSubsatncjeBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({
        {TSubsatncjeNazwaSubstancji, Pusty, "Nazwa substancji nie może być pusta !!!"},
        {TSubsatncjeKodSubstancji, Pusty, "Musisz wprowadzić kod substancji !!!"},
        {TSubsatncjeJednostkowaStawka, Pusty, "Jednostkowa stawka opłaty jest obowiązkowa !!!"},
        {TSubsatncjeJednostkowaStawka, Ponizej(0.0001), "Jednostkowa stawka opłaty musi być dodatnia !!!"},
    });
}

void TDM::TZrodlaTerminObowiazywaniaSetText(kal::TField& Sender, const QString& Text)
{
    wpiszDate(Sender, Text, QStringLiteral("Termin obowiązywania musi być dobrze określony !!!"));
}

void TDM::TZrodlaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({
        {TZrodlaRodzajInstalacji, Pusty, "Rodzaj instalacji/działalności musi być wypełniony !!!"},
        {TZrodlaPozwoleniezData, Pusty, "Nr, data wydania oraz organ wydający pozwolenie są obowiązkowe !!!"},
        {TZrodlaTerminObowiazywania, Pusty, "Termin obowiązywania jest obowiązkowy !!!"},
    });
}

void TDM::TTabelaAGminaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({
        {TTabelaAGminaIdentyfikatorGminy, Pusty, "Musisz wybrać gminę !!!"},
        {TTabelaAGminaPowiat, Pusty, "Powiat musi być wprowadzony !!!"},
    });
}

void TDM::TTabelaAZrodlaBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({
        {TTabelaAZrodlaIdentyfikatorZrodla, Pusty, "Musisz wybrać źródło !!!"},
        {TTabelaAZrodlaNazwaSurowcow, Pusty, "Musisz podać nazwę surowców lub materiałów !!!"},
        {TTabelaAZrodlaIlosc, Pusty, "Ilość zużytych surowców lub materiałów musi być określona !!!"},
        {TTabelaAZrodlaIlosc, Ponizej(0.0001), "Ilość zużytych surowców lub materiałów musi być dodatnia !!!"},
    });
}

void TDM::TTabelaASubstancjeBeforePost(kal::TDataSet& DataSet)
{
    (void)DataSet;
    sprawdzWymogi({
        {TTabelaASubstancjeIdentyfikatorSubstancji, Pusty, "Musisz wybrać substancję !!!"},
        {TTabelaASubstancjeWskaznikEmisji, Pusty, "Wskażnik emisji jest obowiązkowy !!!"},
        {TTabelaASubstancjeJednostkowaStawka, Pusty, "Jednostkowa stawka opłaty jest obowiązkowa !!!"},
    });
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
    sprawdzWymogi({
        {TTabelaAPaliwaRodzajPaliwa, Pusty, "Musisz wpisać rodzaj paliwa !!!"},
        {TTabelaAPaliwaZuzycie, Pusty, "Zużycie paliwa jest obowiązkowe !!!"},
    });
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
    sprawdzWymogi({{TTabAPozWartData, BezWartosci, "Data ilości źródła musi być dobrze określona !!!"}});
    kontrolaDatyPozycji(TTabAPozWartData, TOkresRok, TOkresPolrocze);
    if (TTabAPozWartProcent->IsNull())
        TTabAPozWartProcent->setAsFloat(100.0);
    if (TTabAPozWartGestosc->IsNull())
        TTabAPozWartGestosc->setAsFloat(1.0);
    if (TTabAPozWartIlosc->IsNull())
        TTabAPozWartIlosc->setAsFloat(0.0);
    sprawdzWymogi({
        {TTabAPozWartIlosc, Ponizej(0.001), "Ilość musi być dodatnia !!!"},
        {TTabAPozWartProcent, Ponizej(0.001), "Procent musi być dodatni !!!"},
        {TTabAPozWartGestosc, Ponizej(0.001), "Gęstość musi być dodatnia !!!"},
    });
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
