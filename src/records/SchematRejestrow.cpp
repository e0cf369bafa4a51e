// The tables of the registers: companies and periods, vehicles, fuel use,
// mileage, inspections, places, fuel densities, boilers, communes,
// substances, sources, the fleet-import columns and the work table.

#include "Schemat.h"
#include "SchematBudowa.h"

namespace Schemat::budowa {

namespace {

using Z = Zdarzenie;

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
    dodaj(t, "Rok", Typ::Krotki).etykieta = QStringLiteral("Rok");
    dodaj(t, "Polrocze", Typ::Krotki).etykieta = QStringLiteral("Półrocze");
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
    dodaj(t, "IloscMiejsc", Typ::Krotki).etykieta = QStringLiteral("Ilość miejsc");
    dodaj(t, "PojemnoscSilnika", Typ::Krotki).etykieta = QStringLiteral("Pojemność silnika");
    dodaj(t, "RokProdukcji", Typ::Krotki).etykieta = QStringLiteral("Rok produkcji");
    dodaj(t, "NumerInwentarzowy", Typ::Tekst, 20);
    dodaj(t, "WartoscEwidencyjna", Typ::Rzeczywisty);
    dodaj(t, "NormaLetnia", Typ::Rzeczywisty);
    dodaj(t, "NormaZimowa", Typ::Rzeczywisty);
    dodaj(t, "MiejsceUzytkowania", Typ::Krotki);
    dodajDate(t, "DataSkresleniaZEwidencji", "TPojazdyDataSkresleniaZEwidencjiSetText");
    dodajWyszukiwane(t, "NazwaMiejscaUzytkowania", Typ::Tekst, 40, "TMiejsceUz", "Identyfiklator", "Nazwa",
                     "MiejsceUzytkowania");
    // A lorry is serviced every 60 000 to 120 000 km: a 32-bit field (files
    // made with a 16-bit one open as they are and take the larger values).
    dodaj(t, "IloscKmMiedzyPrzegl", Typ::Calkowity).etykieta = QStringLiteral("Km między przegl.");
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
    dodaj(t, "Ilosc", Typ::Krotki).etykieta = QStringLiteral("Ilość kotłów");
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

} // namespace

std::vector<Tabela> TabeleRejestrow()
{
    return {firma(),      okres(),      pojazdy(), zuzycie(), przebieg(),   przRob(), przegl(),    miejsceUz(),
            miejscTank(), tabelaGest(), kotly(),   gminy(),   substancje(), zrodla(), polaExcel(), roboczy()};
}

} // namespace Schemat::budowa
