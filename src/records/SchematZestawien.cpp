// The tables of the statements: "Załącznik nr 1", table D and its rates,
// table C with its rates and the boilers' fuel use, and the table A rows.

#include "Schemat.h"
#include "SchematBudowa.h"

namespace Schemat::budowa {

namespace {

using Z = Zdarzenie;

void zdarzeniaWierszaOkresu(Tabela& t, const QString& afterInsert, const QString& beforePost)
{
    t.zdarzenia.push_back({Z::BeforeInsert, "TOkresBeforeInsert"});
    t.zdarzenia.push_back({Z::AfterInsert, afterInsert});
    t.zdarzenia.push_back({Z::BeforeEdit, "TOkresBeforeEdit"});
    if (!beforePost.isEmpty())
        t.zdarzenia.push_back({Z::BeforePost, beforePost});
    t.zdarzenia.push_back({Z::AfterPost, "TFirmaAfterPost"});
    t.zdarzenia.push_back({Z::AfterDelete, "TFirmaAfterDelete"});
}

Tabela zalacznik1()
{
    Tabela t = nowa("TZalacznik1", "Zalacznik1.db", "IdentyfikatorOkresu", "DZalacznik1");
    nadrzedna(t, "TOkres", "DOkres", "IdentyfikatorOkresu");
    zdarzeniaWierszaOkresu(t, "TZalacznik1AfterInsert", {});
    t.zdarzenia.push_back({Z::OnCalcFields, "TZalacznik1CalcFields"});
    dodaj(t, "IdentyfikatorOkresu", Typ::Calkowity);
    dodaj(t, "IdDodatkowy", Typ::Krotki);
    for (const QString& n : PolaZalacznika1())
        dodajWartosc(t, n, n == QLatin1String("Rezerwa1") ? QStringLiteral("TZalacznik1Rezerwa1P316") : QString());
    for (const char* n : {"PI", "PII", "PIII", "PIV", "POgolem"})
        dodajObliczane(t, n, Typ::Rzeczywisty);
    formatPrzyTworzeniu(t, PolaZalacznika1(), FormatKwot);
    formatPrzyTworzeniu(t, {"PI", "PII", "PIII", "PIV"}, FormatSumZalacznika);
    indeks(t, true);
    return t;
}

Tabela tabelaD()
{
    Tabela t = nowa("TTabelaD", "TabelaD2009.DB", "IdentyfikatorOkresu", "DTabelaD");
    nadrzedna(t, "TOkres", "DOkres", "IdentyfikatorOkresu");
    zdarzeniaWierszaOkresu(t, "TTabelaDAfterInsert", "TTabelaDBeforePost");
    t.zdarzenia.push_back({Z::OnCalcFields, "TTabelaDCalcFields"});
    dodaj(t, "IdentyfikatorOkresu", Typ::Calkowity);
    dodaj(t, "IdentyfikatorJednMiary", Typ::Krotki);
    for (const QString& k : KolumnyTabeliD())
        dodajWartosc(t, k, QStringLiteral("TTabelaDBDEDesigner") + k);
    for (const QString& r : rezerwy())
        dodajWartosc(t, r);
    dodajObliczane(t, "Razem", Typ::Rzeczywisty);
    formatWszystkichRzeczywistych(t);
    indeks(t, true);
    return t;
}

Tabela stawkiTabD()
{
    Tabela t = nowa("TStawkiTabD", "StawkiTabD2009.DB", "IdentyfikatorOkresu", "DStawkiTabD");
    nadrzedna(t, "TOkres", "DOkres", "IdentyfikatorOkresu");
    zdarzeniaWierszaOkresu(t, "TStawkiTabDAfterInsert", "TStawkiTabDBeforePost");
    dodaj(t, "IdentyfikatorOkresu", Typ::Calkowity);
    dodaj(t, "IdentyfikatorJednMiary", Typ::Krotki);
    // The rate file keeps the first 22 columns, then the reserves, then the
    // columns added later; fields are always addressed by name.
    const QStringList& kolumny = KolumnyStawekTabeliD();
    for (int i = 0; i < kolumny.size(); ++i) {
        dodajWartosc(t, kolumny[i], QStringLiteral("TStawkiTabDBDEDesigner") + kolumny[i]);
        if (kolumny[i] == QLatin1String("12"))
            for (const QString& r : rezerwy())
                dodajWartosc(t, r);
    }
    formatWszystkichRzeczywistych(t);
    indeks(t, true);
    return t;
}

Tabela tabelaC()
{
    Tabela t = nowa("TTabelaC", "TabelaC.DB", "IdentyfikatorOkresu;NazwaGminy", "DTabelaC");
    nadrzedna(t, "TOkres", "DOkres", "IdentyfikatorOkresu");
    zdarzeniaWierszaOkresu(t, "TTabelaCAfterInsert", "TTabelaCBeforePost");
    t.zdarzenia.push_back({Z::OnPostError, "TFirmaPostError"});
    dodaj(t, "IdentyfikatorOkresu", Typ::Calkowity);
    dodaj(t, "NazwaGminy", Typ::Tekst, 40);
    dodaj(t, "IdentyfikatorJednMiary", Typ::Krotki);
    auto liczba = [&t](const QString& n) { dodaj(t, n, Typ::Krotki).onSetText = "UstalNieujemnaCalk"; };
    const QStringList ilosci = PolaIlosciTabeliC();
    // I1 .. I5 first, then their six counts, then each later position with its count.
    for (int i = 0; i < 6; ++i)
        dodajWartosc(t, ilosci[i]);
    for (int i = 0; i < 6; ++i)
        liczba(QStringLiteral("LK") + ilosci[i]);
    for (int i = 6; i < 19; ++i) {
        dodajWartosc(t, ilosci[i]);
        liczba(QStringLiteral("LK") + ilosci[i]);
    }
    for (const QString& r : rezerwy())
        dodajWartosc(t, r);
    for (const char* n : {"Calk5", "Calk4", "Calk3", "Calk2", "Calk1"})
        liczba(n);
    dodaj(t, "Identyfikator", Typ::Autonumer);
    formatWszystkichRzeczywistych(t);
    indeks(t, true);
    return t;
}

Tabela stawkiTabC()
{
    Tabela t = nowa("TStawkiTabC", "StawkiTabC.db", "IdentyfikatorOkresu", "DStawkiTabC");
    nadrzedna(t, "TOkres", "DOkres", "IdentyfikatorOkresu");
    zdarzeniaWierszaOkresu(t, "TStawkiTabCAfterInsert", "TStawkiTabCBeforePost");
    dodaj(t, "IdentyfikatorOkresu", Typ::Calkowity);
    dodaj(t, "IdentyfikatorJednMiary", Typ::Krotki);
    for (const QString& n : PolaIlosciTabeliC())
        dodajWartosc(t, n);
    formatWszystkichRzeczywistych(t, rezerwy());
    indeks(t, true);
    return t;
}

Tabela zuzycieKotla()
{
    Tabela t = nowa("TZuzycieKotla", "ZuzKotla.db", "IdentyfikatorTabC;DataZuzycia;IdentyfikatorKotla",
                    "DZuzycieKotla");
    nadrzedna(t, "TTabelaC", "DTabelaC", "Identyfikator");
    zdarzenia(t, {{Z::AfterInsert, "TZuzycieKotlaAfterInsert"},
                  {Z::BeforePost, "TZuzycieKotlaBeforePost"},
                  {Z::AfterPost, "AAAZrzucBufory"},
                  {Z::AfterDelete, "AAAZrzucBufory"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentyfikatorTabC", Typ::Calkowity);
    dodajDate(t, "DataZuzycia", "TZuzycieKotlaDataZuzyciaSetText");
    dodaj(t, "IdentyfikatorKotla", Typ::Calkowity);
    dodaj(t, "Ilosc", Typ::Rzeczywisty);
    dodaj(t, "Uwagi", Typ::Tekst, 50);
    dodajWyszukiwane(t, "OpisKotla", Typ::Tekst, 50, "TKotly", "Identyfikator", "OpisKotla", "IdentyfikatorKotla");
    dodajWyszukiwane(t, "IloscKotl", Typ::Krotki, 0, "TKotly", "Identyfikator", "Ilosc", "IdentyfikatorKotla");
    dodaj(t, "SymbolJednostkiMiary", Typ::Krotki);
    dodaj(t, "Przelicznik", Typ::Rzeczywisty);
    dodaj(t, "Rezerwa", Typ::Tekst, 50);
    dodaj(t, "IloscPrzNaTony", Typ::Logiczny);
    dodajWyszukiwane(t, "RodzajKotla", Typ::Tekst, 5, "TKotly", "Identyfikator", "RodzajKotla", "IdentyfikatorKotla");
    indeks(t, true);
    return t;
}

Tabela tabelaAGmina()
{
    Tabela t = nowa("TTabelaAGmina", "TabelaAGmina.DB", "IdentyfikatorOkresu;IdentyfikatorGminy;Adres",
                    "DTabelaAGmina");
    nadrzedna(t, "TOkres", "DOkres", "IdentyfikatorOkresu");
    zdarzenia(t, {{Z::BeforePost, "TTabelaAGminaBeforePost"},
                  {Z::AfterPost, "AAAZrzucBufory"},
                  {Z::AfterDelete, "AAAZrzucBufory"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentyfikatorOkresu", Typ::Calkowity);
    dodaj(t, "IdentyfikatorGminy", Typ::Calkowity);
    dodaj(t, "Adres", Typ::Tekst, 100);
    dodaj(t, "Powiat", Typ::Tekst, 40);
    dodajWyszukiwane(t, "NazwaGminy", Typ::Tekst, 50, "TGminy", "IdentyfikatorGminy", "NazwaGminy",
                     "IdentyfikatorGminy");
    dodaj(t, "Identyfikator", Typ::Autonumer);
    indeks(t, true);
    return t;
}

void zdarzeniaTabeliA(Tabela& t, const QString& beforePost, const QString& calc)
{
    t.zdarzenia.push_back({Z::BeforeInsert, "PrzedDopisemWierszTabA"});
    t.zdarzenia.push_back({Z::BeforeEdit, "PrzedEdycjaWierszaTabA"});
    t.zdarzenia.push_back({Z::BeforePost, beforePost});
    t.zdarzenia.push_back({Z::AfterPost, "AAAZrzucBufory"});
    t.zdarzenia.push_back({Z::BeforeDelete, "PrzedKasowaniemWierszaTabA"});
    t.zdarzenia.push_back({Z::AfterDelete, "AAAZrzucBufory"});
    if (!calc.isEmpty())
        t.zdarzenia.push_back({Z::OnCalcFields, calc});
    t.zdarzenia.push_back({Z::OnPostError, "TFirmaPostError"});
}

Tabela tabelaAZrodla()
{
    Tabela t = nowa("TTabelaAZrodla", "TabAZrodla.db", "IdentyfikatorGminyTabA;IdentyfikatorZrodla;NazwaSurowcow",
                    "DTabelaAZrodla");
    nadrzedna(t, "TTabelaAGmina", "DTabelaAGmina", "Identyfikator");
    zdarzeniaTabeliA(t, "TTabelaAZrodlaBeforePost", {});
    dodaj(t, "IdentyfikatorGminyTabA", Typ::Calkowity);
    dodaj(t, "IdentyfikatorZrodla", Typ::Calkowity);
    dodaj(t, "NazwaSurowcow", Typ::Tekst, 50);
    dodaj(t, "Ilosc", Typ::Rzeczywisty);
    dodajWyszukiwane(t, "RodzajInstalacji", Typ::Tekst, 50, "TZrodla", "Identyfikator", "RodzajInstalacji",
                     "IdentyfikatorZrodla");
    dodaj(t, "IdTabAZrodla", Typ::Autonumer);
    dodajWyszukiwane(t, "Adres", Typ::Tekst, 100, "TZrodla", "Identyfikator", "Adres", "IdentyfikatorZrodla");
    indeks(t, true);
    return t;
}

Tabela tabelaASubstancje()
{
    Tabela t = nowa("TTabelaASubstancje", "TabAWielkEmisji.db", "IdentyfTabAZrodla;IdentyfikatorSubstancji",
                    "DTabelaASubstancje");
    nadrzedna(t, "TTabelaAZrodla", "DTabelaAZrodla", "IdTabAZrodla");
    zdarzeniaTabeliA(t, "TTabelaASubstancjeBeforePost", "TTabelaASubstancjeCalcFields");
    dodaj(t, "IdentyfTabAZrodla", Typ::Calkowity);
    dodaj(t, "IdentyfikatorSubstancji", Typ::Calkowity);
    dodaj(t, "SkutUrzOchronnego", Typ::Rzeczywisty);
    dodaj(t, "WskaznikEmisji", Typ::Rzeczywisty);
    dodaj(t, "JednostkowaStawka", Typ::Rzeczywisty).formatWyswietlania = "###0.00";
    dodajWyszukiwane(t, "NazwaSubstancji", Typ::Tekst, 50, "TSubsatncje", "IdentyfikatorSubstancju",
                     "NazwaSubstancji", "IdentyfikatorSubstancji");
    dodajObliczane(t, "WielkoscEmisji", Typ::Rzeczywisty);
    {
        Pole& p = dodajObliczane(t, QStringLiteral("WysokoscOpłaty"), Typ::Rzeczywisty);
        p.komponent = "TTabelaASubstancjeWysokoscOpaty";
        p.formatWyswietlania = "## ##0.00";
    }
    dodajWyszukiwane(t, "KodSubstancji", Typ::Tekst, 20, "TSubsatncje", "IdentyfikatorSubstancju", "KodSubstancji",
                     "IdentyfikatorSubstancji");
    indeks(t, true);
    return t;
}

Tabela tabelaAPaliwa()
{
    Tabela t = nowa("TTabelaAPaliwa", "TabAPaliwa.db", "IdentyfikatorGminyTabA;RodzajPaliwa;IdentyfikatorZrodla",
                    "DTabelaAPaliwa");
    // Linked to the period: the first index field holds the period's id.
    nadrzedna(t, "TOkres", "DOkres", "IdentyfikatorOkresu");
    zdarzeniaTabeliA(t, "TTabelaAPaliwaBeforePost", {});
    dodaj(t, "IdentyfikatorGminyTabA", Typ::Calkowity);
    dodaj(t, "RodzajPaliwa", Typ::Tekst, 50);
    dodaj(t, "IdentyfikatorZrodla", Typ::Calkowity);
    dodaj(t, "Zuzycie", Typ::Rzeczywisty);
    dodaj(t, "WartoscOpalowa", Typ::Rzeczywisty);
    dodaj(t, "ZawartoscPopiolu", Typ::Rzeczywisty);
    dodaj(t, "ZawartoscSiarki", Typ::Rzeczywisty);
    indeks(t, true);
    return t;
}

Tabela tabAPozWart()
{
    Tabela t = nowa("TTabAPozWart", "TabAPozWart.db", "IdentTabAZrodla;Data", "DTabAPozWart");
    nadrzedna(t, "TTabelaAZrodla", "DTabelaAZrodla", "IdTabAZrodla");
    zdarzenia(t, {{Z::BeforeInsert, "PrzedDopisemWierszTabA"},
                  {Z::AfterInsert, "TTabAPozWartAfterInsert"},
                  {Z::BeforePost, "TTabAPozWartBeforePost"},
                  {Z::AfterPost, "AAAZrzucBufory"},
                  {Z::AfterDelete, "AAAZrzucBufory"},
                  {Z::OnCalcFields, "TTabAPozWartCalcFields"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentTabAZrodla", Typ::Calkowity);
    dodajDate(t, "Data", "TTabAPozWartDataSetText");
    dodaj(t, "Ilosc", Typ::Rzeczywisty);
    dodaj(t, "Procent", Typ::Rzeczywisty);
    dodaj(t, "Gestosc", Typ::Rzeczywisty);
    dodajObliczane(t, "IloscKoncowa", Typ::Rzeczywisty);
    dodaj(t, "Opis", Typ::Tekst, 50);
    indeks(t, true);
    return t;
}

} // namespace

std::vector<Tabela> TabeleZestawien()
{
    return {zalacznik1(),   tabelaD(),       stawkiTabD(),        tabelaC(),       stawkiTabC(),  zuzycieKotla(),
            tabelaAGmina(), tabelaAZrodla(), tabelaASubstancje(), tabelaAPaliwa(), tabAPozWart()};
}

} // namespace Schemat::budowa
