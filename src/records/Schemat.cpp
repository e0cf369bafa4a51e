#include "Schemat.h"

#include "platform/core/Exceptions.h"
#include "platform/db/Table.h"

#include <QDir>
#include <QFile>

namespace Schemat {

namespace {

using Z = Zdarzenie;

Pole& dodaj(Tabela& t, const QString& nazwa, Typ typ, int rozmiar = 0)
{
    Pole p;
    p.nazwa = nazwa;
    p.komponent = t.komponent + nazwa;
    p.typ = typ;
    p.rozmiar = rozmiar;
    if (typ == Typ::Autonumer)
        p.tylkoDoOdczytu = true;
    t.pola.push_back(p);
    return t.pola.back();
}

// A date field with the display format, the edit mask and its text-entry handler.
Pole& dodajDate(Tabela& t, const QString& nazwa, const QString& onSetText)
{
    Pole& p = dodaj(t, nazwa, Typ::Data);
    p.formatWyswietlania = FormatDaty;
    p.maskaEdycji = MaskaDaty;
    p.onSetText = onSetText;
    return p;
}

Pole& dodajWartosc(Tabela& t, const QString& nazwa, const QString& komponent = {})
{
    Pole& p = dodaj(t, nazwa, Typ::Rzeczywisty);
    if (!komponent.isEmpty())
        p.komponent = komponent;
    p.onSetText = QStringLiteral("UstalNieujemna");
    return p;
}

Pole& dodajObliczane(Tabela& t, const QString& nazwa, Typ typ, int rozmiar = 0)
{
    Pole& p = dodaj(t, nazwa, typ, rozmiar);
    p.rodzaj = Rodzaj::Obliczane;
    return p;
}

Pole& dodajWyszukiwane(Tabela& t, const QString& nazwa, Typ typ, int rozmiar, const QString& tabela,
                       const QString& kluczTam, const QString& wynik, const QString& kluczTu)
{
    Pole& p = dodaj(t, nazwa, typ, rozmiar);
    p.rodzaj = Rodzaj::Wyszukiwane;
    p.tabelaWyszukiwania = tabela;
    p.poleKluczaWyszukiwania = kluczTam;
    p.poleWyniku = wynik;
    p.poleKlucza = kluczTu;
    return p;
}

Tabela nowa(const QString& komponent, const QString& plik, const QString& polaIndeksu, const QString& zrodlo)
{
    Tabela t;
    t.komponent = komponent;
    t.plik = plik;
    t.polaIndeksu = polaIndeksu;
    t.zrodloDanych = zrodlo;
    return t;
}

void nadrzedna(Tabela& t, const QString& tabela, const QString& zrodlo, const QString& pole)
{
    t.tabelaNadrzedna = tabela;
    t.zrodloNadrzedne = zrodlo;
    t.poleNadrzedne = pole;
}

void zdarzenia(Tabela& t, std::initializer_list<ObslugaZdarzenia> lista)
{
    t.zdarzenia.assign(lista);
}

// One index over the index fields: the primary key when unique, else a secondary index.
void indeks(Tabela& t, bool unikalny)
{
    if (t.polaIndeksu.isEmpty())
        return;
    Indeks i;
    i.pola = t.polaIndeksu;
    i.unikalny = unikalny;
    i.glowny = unikalny;
    if (!unikalny)
        i.nazwa = QStringLiteral("Indeks");
    t.indeksy.push_back(i);
}

void formatPrzyTworzeniu(Tabela& t, const QStringList& pola, const QString& format)
{
    for (Pole& p : t.pola)
        if (pola.contains(p.nazwa))
            p.formatPrzyTworzeniu = format;
}

void formatWszystkichRzeczywistych(Tabela& t, const QStringList& pominiete = {})
{
    for (Pole& p : t.pola)
        if (p.typ == Typ::Rzeczywisty && !pominiete.contains(p.nazwa))
            p.formatPrzyTworzeniu = FormatKwot;
}

QStringList rezerwy()
{
    return {QStringLiteral("Rezerwa1"), QStringLiteral("Rezerwa2"), QStringLiteral("Rezerwa3"),
            QStringLiteral("Rezerwa4"), QStringLiteral("Rezerwa5")};
}

// ---------------------------------------------------------------- registers

Tabela firma()
{
    Tabela t = nowa("TFirma", "Firma.db", "Nazwa1;Nazwa2;Adres1;Adres2;REGON;Telefon;NIP", "DFirma");
    zdarzenia(t, {{Z::BeforeInsert, "TOkresBeforeInsert"},
                  {Z::BeforeEdit, "TOkresBeforeEdit"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::BeforeDelete, "TFirmaBeforeDelete"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "Nazwa1", Typ::Tekst, 50);
    dodaj(t, "Nazwa2", Typ::Tekst, 50);
    dodaj(t, "Adres1", Typ::Tekst, 50);
    dodaj(t, "Adres2", Typ::Tekst, 50);
    dodaj(t, "REGON", Typ::Tekst, 20);
    dodaj(t, "Telefon", Typ::Tekst, 50);
    dodaj(t, "Identyfikator", Typ::Autonumer);
    dodaj(t, "NIP", Typ::Tekst, 20);
    indeks(t, true);
    return t;
}

Tabela okres()
{
    Tabela t = nowa("TOkres", "Okresy.db", "IdentyfikatorFirmy;Rok;Polrocze;Kwartal;Tydzien;Dzien", "DOkres");
    nadrzedna(t, "TFirma", "DFirma", "Identyfikator");
    zdarzenia(t, {{Z::BeforeInsert, "TOkresBeforeInsert"},
                  {Z::BeforeEdit, "TOkresBeforeEdit"},
                  {Z::BeforePost, "TOkresBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::BeforeDelete, "TFirmaBeforeDelete"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnCalcFields, "TOkresCalcFields"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentyfikatorFirmy", Typ::Calkowity);
    dodaj(t, "Rok", Typ::Krotki);
    dodaj(t, "Polrocze", Typ::Krotki);
    dodaj(t, "Kwartal", Typ::Krotki);
    dodaj(t, "Tydzien", Typ::Krotki);
    dodaj(t, "Dzien", Typ::Krotki);
    dodaj(t, "IdentyfikatorOkresu", Typ::Autonumer);
    dodajObliczane(t, "NazwaKwartalu", Typ::Tekst, 3);
    indeks(t, true);
    return t;
}

Tabela pojazdy()
{
    Tabela t = nowa("TPojazdy", "Pojazdy.db", "RodzajPojazdu;Marka;NrRejestracyjny", "DPojazdy");
    zdarzenia(t, {{Z::AfterInsert, "TPojazdyAfterInsert"},
                  {Z::AfterEdit, "TPojazdyAfterEdit"},
                  {Z::BeforePost, "TPojazdyBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::AfterCancel, "TPojazdyAfterCancel"},
                  {Z::BeforeDelete, "TPojazdyBeforeDelete"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnCalcFields, "TPojazdyCalcFields"},
                  {Z::OnPostError, "TFirmaPostError"}});
    {
        Pole& p = dodaj(t, "RodzajPojazdu", Typ::Tekst, 2);
        p.onGetText = "TPojazdyRodzajPojazduGetText";
        p.onValidate = "TPojazdyRodzajPojazduValidate";
    }
    dodaj(t, "Marka", Typ::Tekst, 35);
    {
        Pole& p = dodaj(t, "NrRejestracyjny", Typ::Tekst, 20);
        p.maskaEdycji = ">cccccccccccccccccccc";
        p.szerokoscWyswietlania = 20;
    }
    dodaj(t, "Uwagi", Typ::Tekst, 40);
    dodajDate(t, "DataKonca", "StandartowaKontrolaDaty");
    dodaj(t, "IdentyfikatorPojazdu", Typ::Autonumer);
    dodajDate(t, "DataPierwszejRejestracji", "TPojazdyDataPierwszejRejestracjiSetText");
    dodajWartosc(t, "DMasaCalkowita");
    dodaj(t, "NrNadwozia", Typ::Tekst, 25);
    dodaj(t, "NrSilnika", Typ::Tekst, 20);
    dodaj(t, "Ladownosc", Typ::Rzeczywisty);
    dodaj(t, "IloscMiejsc", Typ::Krotki);
    dodaj(t, "PojemnoscSilnika", Typ::Krotki);
    dodaj(t, "RokProdukcji", Typ::Krotki);
    dodaj(t, "NumerInwentarzowy", Typ::Tekst, 20);
    dodaj(t, "WartoscEwidencyjna", Typ::Rzeczywisty);
    dodaj(t, "NormaLetnia", Typ::Rzeczywisty);
    dodaj(t, "NormaZimowa", Typ::Rzeczywisty);
    dodaj(t, "MiejsceUzytkowania", Typ::Krotki);
    dodajDate(t, "DataSkresleniaZEwidencji", "TPojazdyDataSkresleniaZEwidencjiSetText");
    dodajWyszukiwane(t, "NazwaMiejscaUzytkowania", Typ::Tekst, 40, "TMiejsceUz", "Identyfiklator", "Nazwa",
                     "MiejsceUzytkowania");
    dodaj(t, "IloscKmMiedzyPrzegl", Typ::Krotki);
    dodajObliczane(t, "NormaSrednia", Typ::Rzeczywisty);
    {
        Pole& p = dodaj(t, "NormaEuro", Typ::Tekst, 1);
        p.onGetText = "TPojazdyNormaEuroGetText";
        p.onValidate = "TPojazdyNormaEuroValidate";
    }
    {
        Pole& p = dodaj(t, "FabrycznaInstalacjaGazu", Typ::Tekst, 1);
        p.onGetText = "TPojazdyFabrycznaInstalacjaGazuGetText";
        p.onValidate = "TPojazdyFabrycznaInstalacjaGazuValidate";
    }
    formatPrzyTworzeniu(t, {"DMasaCalkowita"}, FormatKwot);
    indeks(t, true);
    return t;
}

Tabela zuzycie()
{
    Tabela t = nowa("TZuzycie", "Zuzycie.DB", "IdentyfikatorFirmy;IdentyfikatorPojazdu;DataTankowania;Identyfikator",
                    "DZuzycie");
    nadrzedna(t, "TFirma", "DFirma", "Identyfikator");
    zdarzenia(t, {{Z::BeforeInsert, "TOkresBeforeInsert"},
                  {Z::AfterInsert, "TZuzycieAfterInsert"},
                  {Z::BeforeEdit, "TOkresBeforeEdit"},
                  {Z::BeforePost, "TZuzycieBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentyfikatorFirmy", Typ::Calkowity);
    dodaj(t, "IdentyfikatorPojazdu", Typ::Calkowity).onValidate = "TZuzycieIdentyfikatorPojazduValidate";
    dodajDate(t, "DataTankowania", "TZuzycieDataTankowaniaSetText");
    dodaj(t, "Identyfikator", Typ::Autonumer);
    dodajWartosc(t, "IloscPaliwa");
    dodajWartosc(t, "CenaPaliwa");
    {
        Pole& p = dodaj(t, "RodzajPaliwa", Typ::Tekst, 1);
        p.onGetText = "TZuzycieRodzajPaliwaGetText";
        p.onValidate = "TZuzycieRodzajPaliwaValidate";
    }
    dodaj(t, "RodzajPojazdu", Typ::Tekst, 2).onGetText = "TPojazdyRodzajPojazduGetText";
    dodajWyszukiwane(t, "Marka", Typ::Tekst, 35, "TPojazdy", "IdentyfikatorPojazdu", "Marka", "IdentyfikatorPojazdu");
    dodajWyszukiwane(t, "NumerRejestracyjny", Typ::Tekst, 20, "TPojazdy", "IdentyfikatorPojazdu", "NrRejestracyjny",
                     "IdentyfikatorPojazdu")
        .szerokoscWyswietlania = 20;
    dodajWyszukiwane(t, "DataPierwszejRejestracji", Typ::Data, 0, "TPojazdy", "IdentyfikatorPojazdu",
                     "DataPierwszejRejestracji", "IdentyfikatorPojazdu");
    dodaj(t, "MiejsceTankowania", Typ::Krotki);
    dodajWyszukiwane(t, "NazwaMiejscaTankowania", Typ::Tekst, 40, "TMiejscTank", "Identyfikator", "Nazwa",
                     "MiejsceTankowania");
    dodaj(t, "NumerFaktury", Typ::Tekst, 15);
    dodaj(t, "MiejsceUzytkowania", Typ::Krotki);
    dodajWyszukiwane(t, "NazwaMiejscaUzytkowania", Typ::Tekst, 40, "TMiejsceUz", "Identyfiklator", "Nazwa",
                     "MiejsceUzytkowania");
    dodajWyszukiwane(t, "IdMiejscaUzytkowaniaPojazdu", Typ::Calkowity, 0, "TPojazdy", "IdentyfikatorPojazdu",
                     "MiejsceUzytkowania", "IdentyfikatorPojazdu");
    dodajWartosc(t, "IloscKm");
    formatPrzyTworzeniu(t, {"IloscPaliwa", "CenaPaliwa"}, FormatKwot);
    indeks(t, true);
    return t;
}

Tabela przebieg()
{
    Tabela t = nowa("TPrzebieg", "Przebieg.db", "IdentyfikatorPojazdu;Data", "DPrzebieg");
    nadrzedna(t, "TPojazdy", "DPojazdy", "IdentyfikatorPojazdu");
    zdarzenia(t, {{Z::BeforePost, "TPrzebiegBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentyfikatorPojazdu", Typ::Calkowity);
    dodajDate(t, "Data", "TPrzebiegDataSetText");
    dodajWartosc(t, "IloscKilometrow");
    indeks(t, true);
    return t;
}

// The second cursor on the mileage file: no data source, no events, closed at creation.
Tabela przRob()
{
    Tabela t = nowa("TPrzRob", "Przebieg.db", "IdentyfikatorPojazdu;Data", {});
    t.otwieranaPrzyTworzeniu = false;
    dodaj(t, "IdentyfikatorPojazdu", Typ::Calkowity);
    dodaj(t, "Data", Typ::Data);
    dodaj(t, "IloscKilometrow", Typ::Rzeczywisty);
    indeks(t, true);
    return t;
}

Tabela przegl()
{
    Tabela t = nowa("TPrzegl", "Przegl.DB", "IdentyfikatorPojazdu;Data;NrFaktury", "DPrzegl");
    nadrzedna(t, "TPojazdy", "DPojazdy", "IdentyfikatorPojazdu");
    zdarzenia(t, {{Z::BeforePost, "TPrzeglBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentyfikatorPojazdu", Typ::Calkowity);
    dodajDate(t, "Data", "TPrzeglDataSetText");
    dodaj(t, "NrFaktury", Typ::Tekst, 30);
    dodaj(t, "ZakresRobot", Typ::Memo, 200);
    dodaj(t, "ZakupioneCzesci", Typ::Memo, 200);
    dodajWartosc(t, "Wartosc").formatWyswietlania = "# ### ##0.00";
    dodajDate(t, "DataNastepnegoPrzegladu", "StandartowaKontrolaDaty");
    dodaj(t, "Opis", Typ::Tekst, 200);
    dodajWartosc(t, "IloscKm");
    indeks(t, false);
    return t;
}

Tabela miejsceUz()
{
    Tabela t = nowa("TMiejsceUz", "MiejUzytk.db", "Nazwa", "DMiejsceUz");
    zdarzenia(t, {{Z::BeforePost, "TMiejsceUzBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::BeforeDelete, "TFirmaBeforeDelete"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "Nazwa", Typ::Tekst, 40);
    dodaj(t, "Identyfiklator", Typ::Autonumer);
    indeks(t, true);
    return t;
}

Tabela miejscTank()
{
    Tabela t = nowa("TMiejscTank", "MiejTank.db", {}, "DMiejscTank");
    zdarzenia(t, {{Z::BeforePost, "TMiejscTankBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::BeforeDelete, "TFirmaBeforeDelete"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "Nazwa", Typ::Tekst, 40);
    dodaj(t, "Identyfikator", Typ::Autonumer);
    t.indeksy.push_back({QStringLiteral("Nazwa"), QStringLiteral("Nazwa"), false, true});
    return t;
}

Tabela tabelaGest()
{
    Tabela t = nowa("TTabelaGest", "TabGest.db", "IdentyfikatorPaliwa", "DTabelaGest");
    zdarzenia(t, {{Z::BeforeInsert, "TTabelaGestBeforeInsert"},
                  {Z::BeforePost, "TTabelaGestBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::BeforeDelete, "TTabelaGestBeforeDelete"},
                  {Z::AfterDelete, "TFirmaAfterDelete"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "IdentyfikatorPaliwa", Typ::Tekst, 1);
    dodaj(t, "NazwaPaliwa", Typ::Tekst, 60);
    dodaj(t, "Gestosc", Typ::Rzeczywisty);
    indeks(t, true);
    return t;
}

Tabela kotly()
{
    Tabela t = nowa("TKotly", "Kotly.DB", "OpisKotla;Identyfikator", "DKotly");
    zdarzenia(t, {{Z::AfterInsert, "TKotlyAfterInsert"},
                  {Z::BeforePost, "TKotlyBeforePost"},
                  {Z::AfterPost, "AAAZrzucBufory"},
                  {Z::BeforeDelete, "AAANieWolno"},
                  {Z::AfterDelete, "AAAZrzucBufory"}});
    dodaj(t, "OpisKotla", Typ::Tekst, 50);
    dodaj(t, "Identyfikator", Typ::Autonumer);
    {
        Pole& p = dodaj(t, "RodzajKotla", Typ::Tekst, 5);
        p.onGetText = "TKotlyRodzajKotlaGetText";
        p.onValidate = "TKotlyRodzajKotlaValidate";
    }
    dodaj(t, "Ilosc", Typ::Krotki);
    dodaj(t, "Zuzycie", Typ::Rzeczywisty);
    dodaj(t, "RokProdukcji", Typ::Krotki);
    dodaj(t, "Data1", Typ::Data);
    dodaj(t, "Data2", Typ::Data);
    dodaj(t, "Logiczny", Typ::Logiczny);
    dodaj(t, "Tekst", Typ::Tekst, 100);
    dodaj(t, "Numeryk", Typ::Rzeczywisty);
    dodaj(t, "DataLikwidacji", Typ::Data);
    indeks(t, true);
    return t;
}

Tabela gminy()
{
    Tabela t = nowa("TGminy", "Gminy.db", "NazwaGminy;KodGminy", "DGminy");
    zdarzenia(t, {{Z::BeforePost, "TGminyBeforePost"},
                  {Z::AfterPost, "AAAZrzucBufory"},
                  {Z::AfterDelete, "AAAZrzucBufory"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "NazwaGminy", Typ::Tekst, 50);
    dodaj(t, "KodGminy", Typ::Tekst, 20);
    dodaj(t, "IdentyfikatorGminy", Typ::Autonumer);
    indeks(t, true);
    return t;
}

Tabela substancje()
{
    Tabela t = nowa("TSubsatncje", "Substancje.db", "NazwaSubstancji;KodSubstancji", "DSubstancje");
    zdarzenia(t, {{Z::BeforePost, "TSubsatncjeBeforePost"},
                  {Z::AfterPost, "TFirmaAfterPost"},
                  {Z::AfterDelete, "AAAZrzucBufory"},
                  {Z::OnPostError, "TFirmaPostError"}});
    dodaj(t, "NazwaSubstancji", Typ::Tekst, 50);
    dodaj(t, "KodSubstancji", Typ::Tekst, 20);
    dodaj(t, "JednostkowaStawka", Typ::Rzeczywisty);
    dodaj(t, "IdentyfikatorSubstancju", Typ::Autonumer);
    indeks(t, true);
    return t;
}

Tabela zrodla()
{
    Tabela t = nowa("TZrodla", "ZrodlaTabA.DB", "RodzajInstalacji;Adres;Identyfikator", "DZrodla");
    zdarzenia(t, {{Z::BeforePost, "TZrodlaBeforePost"},
                  {Z::AfterPost, "AAAZrzucBufory"},
                  {Z::AfterDelete, "AAAZrzucBufory"}});
    dodaj(t, "RodzajInstalacji", Typ::Tekst, 50);
    dodaj(t, "Adres", Typ::Tekst, 100);
    dodaj(t, "Identyfikator", Typ::Autonumer);
    dodaj(t, "NominalnaMocCieplna", Typ::Rzeczywisty);
    dodaj(t, "RodzajUrzadzeniaOchronneg", Typ::Tekst, 50);
    dodaj(t, "PozwoleniezData", Typ::Tekst, 60);
    dodajDate(t, "TerminObowiazywania", "TZrodlaTerminObowiazywaniaSetText");
    indeks(t, true);
    return t;
}

Tabela polaExcel()
{
    Tabela t = nowa("TPolaExcel", "PolaExcel.db", {}, "DPolaExcel");
    zdarzenia(t, {{Z::AfterPost, "AAAZrzucBufory"},
                  {Z::AfterCancel, "AAAZrzucBufory"},
                  {Z::BeforeDelete, "AAANieWolno"}});
    dodaj(t, "Identyfikator", Typ::Autonumer);
    for (const char* n : {"NumerRejestracyjny", "RodzajPojazdu", "NumerFaktury", "DataRealizacji", "IloscLitrow",
                          "Cena", "GrupaProduktu"})
        dodaj(t, n, Typ::Tekst, 50);
    return t;
}

// The work table: field definitions made by the module, no field components.
Tabela roboczy()
{
    Tabela t = nowa("TRoboczy", {}, "Klucz;Identyfikator", {});
    t.otwieranaPrzyTworzeniu = false;
    auto def = [&t](const QString& nazwa, Typ typ, int rozmiar) {
        Pole& p = dodaj(t, nazwa, typ, rozmiar);
        p.komponent.clear();
        p.tylkoDoOdczytu = false;
    };
    def("Klucz", Typ::Tekst, 100);
    def("Identyfikator", Typ::Autonumer, 0);
    def("Calkowity", Typ::Calkowity, 0);
    for (int i = 1; i <= 30; ++i)
        def(QStringLiteral("Pole%1").arg(i), Typ::Tekst, 100);
    t.indeksy.push_back({QString(), QStringLiteral("Klucz;Identyfikator"), true, true});
    return t;
}

// ---------------------------------------------------------------- statements

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
    zdarzenia(t, {{Z::AfterInsert, "TTabAPozWartAfterInsert"},
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

std::vector<Tabela> zbuduj()
{
    return {firma(),      okres(),       pojazdy(),      zuzycie(),      przebieg(),          przRob(),
            przegl(),     miejsceUz(),   miejscTank(),   tabelaGest(),   kotly(),             gminy(),
            substancje(), zrodla(),      polaExcel(),    roboczy(),      zalacznik1(),        tabelaD(),
            stawkiTabD(), tabelaC(),     stawkiTabC(),   zuzycieKotla(), tabelaAGmina(),      tabelaAZrodla(),
            tabelaASubstancje(),         tabelaAPaliwa(), tabAPozWart()};
}

} // namespace

kal::TFieldType TypPola(Typ typ)
{
    switch (typ) {
    case Typ::Tekst: return kal::ftString;
    case Typ::Calkowity: return kal::ftInteger;
    case Typ::Krotki: return kal::ftSmallint;
    case Typ::Autonumer: return kal::ftAutoInc;
    case Typ::Rzeczywisty: return kal::ftFloat;
    case Typ::Data: return kal::ftDate;
    case Typ::Logiczny: return kal::ftBoolean;
    case Typ::Memo: return kal::ftMemo;
    }
    return kal::ftUnknown;
}

QString NazwaZdarzenia(Zdarzenie z)
{
    switch (z) {
    case Z::BeforeInsert: return QStringLiteral("BeforeInsert");
    case Z::AfterInsert: return QStringLiteral("AfterInsert");
    case Z::BeforeEdit: return QStringLiteral("BeforeEdit");
    case Z::AfterEdit: return QStringLiteral("AfterEdit");
    case Z::BeforePost: return QStringLiteral("BeforePost");
    case Z::AfterPost: return QStringLiteral("AfterPost");
    case Z::AfterCancel: return QStringLiteral("AfterCancel");
    case Z::BeforeDelete: return QStringLiteral("BeforeDelete");
    case Z::AfterDelete: return QStringLiteral("AfterDelete");
    case Z::OnCalcFields: return QStringLiteral("OnCalcFields");
    case Z::OnPostError: return QStringLiteral("OnPostError");
    }
    return {};
}

const Pole* Tabela::pole(const QString& nazwaPola) const
{
    for (const Pole& p : pola)
        if (p.nazwa == nazwaPola)
            return &p;
    return nullptr;
}

QString Tabela::handler(Zdarzenie z) const
{
    for (const ObslugaZdarzenia& o : zdarzenia)
        if (o.zdarzenie == z)
            return o.handler;
    return {};
}

int Tabela::liczbaPolZapisywanych() const
{
    int n = 0;
    for (const Pole& p : pola)
        n += p.zapisywane() ? 1 : 0;
    return n;
}

const std::vector<Tabela>& Tabele()
{
    static const std::vector<Tabela> tabele = zbuduj();
    return tabele;
}

const Tabela* ZnajdzTabele(const QString& komponent)
{
    for (const Tabela& t : Tabele())
        if (t.komponent == komponent)
            return &t;
    return nullptr;
}

std::vector<const Tabela*> TabelePlikowe()
{
    std::vector<const Tabela*> wynik;
    for (const Tabela& t : Tabele())
        if (!t.plik.isEmpty() && t.komponent != QLatin1String("TPrzRob"))
            wynik.push_back(&t);
    return wynik;
}

const QStringList& KolumnyTabeliD()
{
    static const QStringList k = QStringLiteral(
        "1a 1b 1c 1d 2a 2b 2c 2d 3a 3b 3c 3d 4a 4b 4c 4d 4e 4f 5 5b 5c 5d 5e 5f 6 6b 6c 6d 6e 6f 7 7b 7c 7d "
        "8a 8b 8c 8d 9 9b 9c 9d 10 10b 10c 10d 10e 10f 11a 11b 11c 11d 11e 11f 12 12b 12c 12d 12e 12f "
        "13a 13b 13c 14a 14b 15a 15b 15c 16a 16b 16c 17a 17b 17c 17d 18a 18b 18c 18d 19a 19b 19c 19d "
        "20a 20b 21a 21b 22a 22b 23a 23b 24a 24b 24c 24d 25a 25b 25c 25d 26a 26b 26c 26d 27a 27b 28a 28b "
        "29a 29b 30a 30b 31a 31b 32a 32b 32c 32d")
                                  .split(QLatin1Char(' '));
    return k;
}

const QStringList& KolumnyStawekTabeliD()
{
    static const QStringList k = QStringLiteral(
        "1a 1b 1c 2a 2b 2c 3a 3b 3c 4a 4b 4c 5 6 7 8a 8b 9 10 11a 11b 12 1d 2d 3d 4d 4e 4f 5b 5c 5d 5e 5f "
        "6b 6c 6d 6e 6f 7b 7c 7d 8c 8d 9b 9c 9d 10b 10c 10d 10e 10f 11c 11d 11e 11f 12b 12c 12d 12e 12f "
        "13a 13b 13c 14a 14b 15a 15b 15c 16a 16b 16c 17a 17b 17c 17d 18a 18b 18c 18d 19a 19b 19c 19d "
        "20a 20b 21a 21b 22a 22b 23a 23b 24a 24b 24c 24d 25a 25b 25c 25d 26a 26b 26c 26d 27a 27b 28a 28b "
        "29a 29b 30a 30b 31a 31b 32a 32b 32c 32d")
                                  .split(QLatin1Char(' '));
    return k;
}

const QStringList& PolaIlosciTabeliC()
{
    static const QStringList k =
        QStringLiteral("I1 I1a I2 I3 I4 I5 II1 II2 II3 III IV1 IV2 IV3 IV4 V1a V1b V2a V2b V3 "
                       "Rezerwa1 Rezerwa2 Rezerwa3 Rezerwa4 Rezerwa5")
            .split(QLatin1Char(' '));
    return k;
}

const QStringList& PolaLiczbTabeliC()
{
    static const QStringList k = [] {
        QStringList l;
        const QStringList& ilosci = PolaIlosciTabeliC();
        for (int i = 0; i < 19; ++i)
            l << QStringLiteral("LK") + ilosci[i];
        l << QStringLiteral("Calk1") << QStringLiteral("Calk2") << QStringLiteral("Calk3") << QStringLiteral("Calk4")
          << QStringLiteral("Calk5");
        return l;
    }();
    return k;
}

const QStringList& PolaZalacznika1()
{
    static const QStringList k =
        QStringLiteral("P11 P12 P13 P14 P15 P21 P22 P23 P311 P312 P313 P314 P315 P32 P33 P34 P35 P41 P42 "
                       "Rezerwa1 Rezerwa2 Rezerwa3 Rezerwa4 Rezerwa5")
            .split(QLatin1Char(' '));
    return k;
}

const std::vector<GestoscPaliwa>& PoczatkoweGestosci()
{
    static const std::vector<GestoscPaliwa> g = {
        {"1", "etylina 94", 0.745},
        {"2", "etylina 98", 0.745},
        {"3", "benzyna bezołowiowa", 0.745},
        {"4", "gaz płynny propan-butan", 0.54},
        {"5", "olej napędowy", 0.835},
        {"6", "olej napędowy o zawartości siarki poniżej 0,02% m/m", 0.835},
        {"7", "olej lekki (zawartość siarki nie większa niż 0,5 %)", 0.86},
        {"8", "olej opałowy (zawartość siarki nie większa niż 1%)", 0.95},
        {"9", "olej opałowy (zawartość siarki od 1% do 5 %)", 0.98},
        {"a", "biodiesel", 0.88},
        {"b", "biometan", 0.72},
        {"c", "sprężony gaz ziemny", 0.72},
    };
    return g;
}

QString UtworzKatalogDanych(const QString& katalog)
{
    QDir dir(katalog);
    if (!dir.exists() && !QDir().mkpath(katalog))
        return QStringLiteral("Nie można utworzyć katalogu %1 !!!").arg(katalog);
    const QStringList zbiory = dir.entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden);
    if (!zbiory.isEmpty())
        return QStringLiteral("Katalog %1 zawiera już zbiory danych (%2). Nic nie zmieniono.")
            .arg(katalog, zbiory.join(QStringLiteral(", ")));

    QStringList utworzone;
    try {
        for (const Tabela* s : TabelePlikowe()) {
            kal::TTable t(s->komponent);
            t.setTableName(dir.filePath(s->plik));
            for (const Pole& p : s->pola)
                if (p.zapisywane())
                    t.FieldDefs().Add(p.nazwa, TypPola(p.typ), p.rozmiar, false);
            for (const Indeks& i : s->indeksy)
                t.IndexDefs().Add(i.nazwa, i.pola,
                                  (i.glowny ? kal::ixPrimary : 0u) | (i.unikalny ? kal::ixUnique : 0u));
            utworzone << t.TableName();
            t.CreateTable();
        }

        kal::TTable gestosci(QStringLiteral("TTabelaGest"));
        gestosci.setTableName(dir.filePath(ZnajdzTabele(QStringLiteral("TTabelaGest"))->plik));
        gestosci.Open();
        for (const GestoscPaliwa& g : PoczatkoweGestosci()) {
            gestosci.Append();
            gestosci.FieldByName(QStringLiteral("IdentyfikatorPaliwa"))->setAsString(QString::fromUtf8(g.kod));
            gestosci.FieldByName(QStringLiteral("NazwaPaliwa"))->setAsString(QString::fromUtf8(g.nazwa));
            gestosci.FieldByName(QStringLiteral("Gestosc"))->setAsFloat(g.gestosc);
            gestosci.Post();
        }
        gestosci.Close();

        // The column names of the fuel-card workbook as the vendor exports them.
        kal::TTable kolumny(QStringLiteral("TPolaExcel"));
        kolumny.setTableName(dir.filePath(ZnajdzTabele(QStringLiteral("TPolaExcel"))->plik));
        kolumny.Open();
        kolumny.Append();
        const std::pair<const char*, const char*> nazwy[] = {
            {"NumerRejestracyjny", "Nr rejestracyjny"}, {"RodzajPojazdu", "Rodzaj pojazdu"},
            {"NumerFaktury", "Nr faktury"},             {"DataRealizacji", "Data realizacji"},
            {"IloscLitrow", "Ilość litrów"},            {"Cena", "Cena za litr"},
            {"GrupaProduktu", "Grupa prod"},
        };
        for (const auto& [pole, kolumna] : nazwy)
            kolumny.FieldByName(QString::fromUtf8(pole))->setAsString(QString::fromUtf8(kolumna));
        kolumny.Post();
        kolumny.Close();
    } catch (const kal::Exception& e) {
        for (const QString& plik : utworzone) {
            kal::TTable t;
            t.setTableName(plik);
            try {
                t.DeleteTable();
            } catch (...) {
            }
        }
        return e.message();
    }
    return {};
}

} // namespace Schemat
