// The table description from which the data module and the data-directory tool
// are built: components, files, links, field counts, names, types and formats.

#include "Schemat.h"

#include <gtest/gtest.h>

#include <QSet>
#include <map>

using namespace Schemat;

namespace {

const Tabela& T(const char* komponent)
{
    const Tabela* t = ZnajdzTabele(QString::fromUtf8(komponent));
    if (!t)
        throw std::runtime_error(std::string("no table ") + komponent);
    return *t;
}

const Pole& P(const char* tabela, const char* pole)
{
    const Pole* p = T(tabela).pole(QString::fromUtf8(pole));
    if (!p)
        throw std::runtime_error(std::string("no field ") + tabela + "." + pole);
    return *p;
}

} // namespace

TEST(Schemat, TwentySevenComponentsWithTheirFilesSourcesAndCounts)
{
    struct Wiersz {
        const char* komponent;
        const char* plik;
        bool otwarta;
        const char* zrodlo;
        int pola;
    };
    const Wiersz oczekiwane[] = {
        {"TFirma", "Firma.db", true, "DFirma", 8},
        {"TOkres", "Okresy.db", true, "DOkres", 8},
        {"TPojazdy", "Pojazdy.db", true, "DPojazdy", 25},
        {"TZuzycie", "Zuzycie.DB", true, "DZuzycie", 18},
        {"TPrzebieg", "Przebieg.db", true, "DPrzebieg", 3},
        {"TPrzRob", "Przebieg.db", false, "", 3},
        {"TPrzegl", "Przegl.DB", true, "DPrzegl", 9},
        {"TMiejsceUz", "MiejUzytk.db", true, "DMiejsceUz", 2},
        {"TMiejscTank", "MiejTank.db", true, "DMiejscTank", 2},
        {"TTabelaGest", "TabGest.db", true, "DTabelaGest", 3},
        {"TKotly", "Kotly.DB", true, "DKotly", 12},
        {"TGminy", "Gminy.db", true, "DGminy", 3},
        {"TSubsatncje", "Substancje.db", true, "DSubstancje", 4},
        {"TZrodla", "ZrodlaTabA.DB", true, "DZrodla", 7},
        {"TPolaExcel", "PolaExcel.db", true, "DPolaExcel", 8},
        {"TRoboczy", "", false, "", 33},
        {"TZalacznik1", "Zalacznik1.db", true, "DZalacznik1", 31},
        {"TTabelaD", "TabelaD2009.DB", true, "DTabelaD", 125},
        {"TStawkiTabD", "StawkiTabD2009.DB", true, "DStawkiTabD", 124},
        {"TTabelaC", "TabelaC.DB", true, "DTabelaC", 52},
        {"TStawkiTabC", "StawkiTabC.db", true, "DStawkiTabC", 26},
        {"TZuzycieKotla", "ZuzKotla.db", true, "DZuzycieKotla", 12},
        {"TTabelaAGmina", "TabelaAGmina.DB", true, "DTabelaAGmina", 6},
        {"TTabelaAZrodla", "TabAZrodla.db", true, "DTabelaAZrodla", 7},
        {"TTabelaASubstancje", "TabAWielkEmisji.db", true, "DTabelaASubstancje", 9},
        {"TTabelaAPaliwa", "TabAPaliwa.db", true, "DTabelaAPaliwa", 7},
        {"TTabAPozWart", "TabAPozWart.db", true, "DTabAPozWart", 7},
    };
    ASSERT_EQ(Tabele().size(), 27u);
    for (size_t i = 0; i < 27; ++i) {
        const Tabela& t = Tabele()[i];
        const Wiersz& w = oczekiwane[i];
        SCOPED_TRACE(w.komponent);
        EXPECT_EQ(t.komponent, QString::fromUtf8(w.komponent));
        EXPECT_EQ(t.plik, QString::fromUtf8(w.plik));
        EXPECT_EQ(t.otwieranaPrzyTworzeniu, w.otwarta);
        EXPECT_EQ(t.zrodloDanych, QString::fromUtf8(w.zrodlo));
        EXPECT_EQ(int(t.pola.size()), w.pola);
    }
}

TEST(Schemat, TwentyFiveFilesOfADataDirectory)
{
    auto pliki = TabelePlikowe();
    ASSERT_EQ(pliki.size(), 25u);
    QSet<QString> nazwy;
    for (const Tabela* t : pliki)
        nazwy.insert(t->plik);
    EXPECT_EQ(nazwy.size(), 25);
    for (const char* n : {"Firma.db", "Okresy.db", "Pojazdy.db", "Przebieg.db", "Przegl.DB", "MiejUzytk.db",
                          "MiejTank.db", "TabGest.db", "Kotly.DB", "Zuzycie.DB", "ZuzKotla.db", "TabelaC.DB",
                          "StawkiTabC.db", "TabelaD2009.DB", "StawkiTabD2009.DB", "Zalacznik1.db", "Gminy.db",
                          "Substancje.db", "ZrodlaTabA.DB", "TabelaAGmina.DB", "TabAZrodla.db",
                          "TabAWielkEmisji.db", "TabAPaliwa.db", "TabAPozWart.db", "PolaExcel.db"})
        EXPECT_TRUE(nazwy.contains(QString::fromUtf8(n))) << n;
}

TEST(Schemat, MasterLinksAndIndexFields)
{
    struct Link {
        const char* tabela;
        const char* master;
        const char* zrodlo;
        const char* pole;
        const char* indeks;
    };
    const Link linki[] = {
        {"TOkres", "TFirma", "DFirma", "Identyfikator", "IdentyfikatorFirmy;Rok;Polrocze;Kwartal;Tydzien;Dzien"},
        {"TZuzycie", "TFirma", "DFirma", "Identyfikator",
         "IdentyfikatorFirmy;IdentyfikatorPojazdu;DataTankowania;Identyfikator"},
        {"TPrzebieg", "TPojazdy", "DPojazdy", "IdentyfikatorPojazdu", "IdentyfikatorPojazdu;Data"},
        {"TPrzegl", "TPojazdy", "DPojazdy", "IdentyfikatorPojazdu", "IdentyfikatorPojazdu;Data;NrFaktury"},
        {"TZalacznik1", "TOkres", "DOkres", "IdentyfikatorOkresu", "IdentyfikatorOkresu"},
        {"TTabelaC", "TOkres", "DOkres", "IdentyfikatorOkresu", "IdentyfikatorOkresu;NazwaGminy"},
        {"TZuzycieKotla", "TTabelaC", "DTabelaC", "Identyfikator",
         "IdentyfikatorTabC;DataZuzycia;IdentyfikatorKotla"},
        {"TTabelaAZrodla", "TTabelaAGmina", "DTabelaAGmina", "Identyfikator",
         "IdentyfikatorGminyTabA;IdentyfikatorZrodla;NazwaSurowcow"},
        {"TTabelaASubstancje", "TTabelaAZrodla", "DTabelaAZrodla", "IdTabAZrodla",
         "IdentyfTabAZrodla;IdentyfikatorSubstancji"},
        // The fuels of table A hang from the period through their first index field.
        {"TTabelaAPaliwa", "TOkres", "DOkres", "IdentyfikatorOkresu",
         "IdentyfikatorGminyTabA;RodzajPaliwa;IdentyfikatorZrodla"},
        {"TTabAPozWart", "TTabelaAZrodla", "DTabelaAZrodla", "IdTabAZrodla", "IdentTabAZrodla;Data"},
    };
    for (const Link& l : linki) {
        SCOPED_TRACE(l.tabela);
        const Tabela& t = T(l.tabela);
        EXPECT_EQ(t.tabelaNadrzedna, QString::fromUtf8(l.master));
        EXPECT_EQ(t.zrodloNadrzedne, QString::fromUtf8(l.zrodlo));
        EXPECT_EQ(t.poleNadrzedne, QString::fromUtf8(l.pole));
        EXPECT_EQ(t.polaIndeksu, QString::fromUtf8(l.indeks));
    }
    for (const char* bez : {"TFirma", "TPojazdy", "TPrzRob", "TMiejscTank", "TPolaExcel", "TKotly", "TRoboczy"})
        EXPECT_TRUE(T(bez).tabelaNadrzedna.isEmpty()) << bez;
    EXPECT_TRUE(T("TMiejscTank").polaIndeksu.isEmpty());
    EXPECT_TRUE(T("TPolaExcel").polaIndeksu.isEmpty());
}

TEST(Schemat, IndexesRefuseRepeatsWhereThePostErrorSaysSo)
{
    for (const char* u : {"TFirma", "TOkres", "TPojazdy", "TPrzebieg", "TMiejsceUz", "TTabelaC", "TGminy",
                          "TSubsatncje", "TZuzycieKotla", "TTabelaAGmina", "TTabelaAZrodla", "TTabelaASubstancje",
                          "TTabelaAPaliwa", "TTabAPozWart", "TZalacznik1", "TTabelaD", "TStawkiTabD", "TStawkiTabC"}) {
        const Tabela& t = T(u);
        ASSERT_EQ(t.indeksy.size(), 1u) << u;
        EXPECT_TRUE(t.indeksy[0].unikalny) << u;
        EXPECT_EQ(t.indeksy[0].pola, t.polaIndeksu) << u;
    }
    ASSERT_EQ(T("TPrzegl").indeksy.size(), 1u);
    EXPECT_FALSE(T("TPrzegl").indeksy[0].unikalny);
    // A refuelling place name may not repeat although the table has no index fields.
    ASSERT_EQ(T("TMiejscTank").indeksy.size(), 1u);
    EXPECT_EQ(T("TMiejscTank").indeksy[0].pola, "Nazwa");
    EXPECT_TRUE(T("TMiejscTank").indeksy[0].unikalny);
    EXPECT_TRUE(T("TPolaExcel").indeksy.empty());
    // The work table: one unnamed primary unique index.
    ASSERT_EQ(T("TRoboczy").indeksy.size(), 1u);
    const Indeks& r = T("TRoboczy").indeksy[0];
    EXPECT_TRUE(r.nazwa.isEmpty());
    EXPECT_EQ(r.pola, "Klucz;Identyfikator");
    EXPECT_TRUE(r.glowny);
    EXPECT_TRUE(r.unikalny);
}

TEST(Schemat, ComponentNamesFollowTheTableAndTheExceptions)
{
    EXPECT_EQ(P("TPojazdy", "NrRejestracyjny").komponent, "TPojazdyNrRejestracyjny");
    EXPECT_EQ(P("TOkres", "Rok").komponent, "TOkresRok");
    EXPECT_EQ(P("TZalacznik1", "Rezerwa1").komponent, "TZalacznik1Rezerwa1P316");
    EXPECT_EQ(P("TZalacznik1", "Rezerwa2").komponent, "TZalacznik1Rezerwa2");
    EXPECT_EQ(P("TTabelaD", "1a").komponent, "TTabelaDBDEDesigner1a");
    EXPECT_EQ(P("TTabelaD", "32d").komponent, "TTabelaDBDEDesigner32d");
    EXPECT_EQ(P("TTabelaD", "Rezerwa5").komponent, "TTabelaDRezerwa5");
    EXPECT_EQ(P("TTabelaD", "Razem").komponent, "TTabelaDRazem");
    EXPECT_EQ(P("TStawkiTabD", "10e").komponent, "TStawkiTabDBDEDesigner10e");
    EXPECT_EQ(P("TStawkiTabD", "Rezerwa1").komponent, "TStawkiTabDRezerwa1");
    EXPECT_EQ(P("TTabelaASubstancje", "WysokoscOpłaty").komponent, "TTabelaASubstancjeWysokoscOpaty");
    EXPECT_EQ(P("TSubsatncje", "IdentyfikatorSubstancju").komponent, "TSubsatncjeIdentyfikatorSubstancju");
    EXPECT_EQ(P("TMiejsceUz", "Identyfiklator").komponent, "TMiejsceUzIdentyfiklator");

    // Every component name is unique over the whole module.
    QSet<QString> nazwy;
    int pola = 0;
    for (const Tabela& t : Tabele()) {
        EXPECT_FALSE(nazwy.contains(t.komponent));
        nazwy.insert(t.komponent);
        if (t.komponent == "TRoboczy") {
            for (const Pole& p : t.pola)
                EXPECT_TRUE(p.komponent.isEmpty()) << p.nazwa.toStdString();
            continue;
        }
        for (const Pole& p : t.pola) {
            EXPECT_FALSE(nazwy.contains(p.komponent)) << p.komponent.toStdString();
            nazwy.insert(p.komponent);
            ++pola;
        }
    }
    // 8+8+25+18+3+3+9+2+2+3+12+3+4+7+8 register fields and
    // 31+125+124+52+26+12+6+7+9+7+7 statement fields.
    EXPECT_EQ(pola, 115 + 406);
}

TEST(Schemat, TypesSizesAndProperties)
{
    EXPECT_EQ(P("TFirma", "Nazwa1").typ, Typ::Tekst);
    EXPECT_EQ(P("TFirma", "Nazwa1").rozmiar, 50);
    EXPECT_EQ(P("TFirma", "REGON").rozmiar, 20);
    EXPECT_EQ(P("TFirma", "Identyfikator").typ, Typ::Autonumer);
    EXPECT_TRUE(P("TFirma", "Identyfikator").tylkoDoOdczytu);
    EXPECT_EQ(P("TOkres", "IdentyfikatorFirmy").typ, Typ::Calkowity);
    EXPECT_EQ(P("TOkres", "Rok").typ, Typ::Krotki);
    EXPECT_EQ(P("TOkres", "NazwaKwartalu").rodzaj, Rodzaj::Obliczane);
    EXPECT_EQ(P("TOkres", "NazwaKwartalu").rozmiar, 3);
    EXPECT_EQ(P("TPrzegl", "ZakresRobot").typ, Typ::Memo);
    EXPECT_EQ(P("TPrzegl", "ZakresRobot").rozmiar, 200);
    EXPECT_EQ(P("TPrzegl", "Wartosc").formatWyswietlania, "# ### ##0.00");
    EXPECT_EQ(P("TKotly", "Logiczny").typ, Typ::Logiczny);
    EXPECT_EQ(P("TZuzycieKotla", "IloscPrzNaTony").typ, Typ::Logiczny);
    EXPECT_EQ(P("TZuzycie", "NumerFaktury").rozmiar, 15);
    EXPECT_EQ(P("TTabelaC", "LKV3").typ, Typ::Krotki);
    EXPECT_EQ(P("TTabelaC", "LKV3").onSetText, "UstalNieujemnaCalk");
    EXPECT_EQ(P("TTabelaC", "V3").onSetText, "UstalNieujemna");

    const Pole& nr = P("TPojazdy", "NrRejestracyjny");
    EXPECT_EQ(nr.maskaEdycji, ">cccccccccccccccccccc");
    EXPECT_EQ(nr.szerokoscWyswietlania, 20);

    const Pole& data = P("TZuzycie", "DataTankowania");
    EXPECT_EQ(data.typ, Typ::Data);
    EXPECT_EQ(data.formatWyswietlania, "yyyy-mm-dd");
    EXPECT_EQ(data.maskaEdycji, "!9999/99/99;1;_");
    EXPECT_EQ(data.onSetText, "TZuzycieDataTankowaniaSetText");
    // The boiler dates carry no format and no handler.
    EXPECT_TRUE(P("TKotly", "Data1").formatWyswietlania.isEmpty());
    EXPECT_TRUE(P("TKotly", "Data1").onSetText.isEmpty());

    const Pole& lk = P("TZuzycie", "NazwaMiejscaTankowania");
    EXPECT_EQ(lk.rodzaj, Rodzaj::Wyszukiwane);
    EXPECT_EQ(lk.tabelaWyszukiwania, "TMiejscTank");
    EXPECT_EQ(lk.poleKluczaWyszukiwania, "Identyfikator");
    EXPECT_EQ(lk.poleWyniku, "Nazwa");
    EXPECT_EQ(lk.poleKlucza, "MiejsceTankowania");
    const Pole& mu = P("TPojazdy", "NazwaMiejscaUzytkowania");
    EXPECT_EQ(mu.poleKluczaWyszukiwania, "Identyfiklator");
    EXPECT_EQ(P("TZuzycie", "NumerRejestracyjny").poleWyniku, "NrRejestracyjny");
    EXPECT_EQ(P("TZuzycie", "NumerRejestracyjny").szerokoscWyswietlania, 20);
    EXPECT_EQ(P("TZuzycieKotla", "IloscKotl").typ, Typ::Krotki);
    EXPECT_EQ(P("TZuzycieKotla", "IloscKotl").poleWyniku, "Ilosc");
    EXPECT_EQ(P("TTabelaASubstancje", "KodSubstancji").poleKluczaWyszukiwania, "IdentyfikatorSubstancju");

    // Stored fields exclude calculated and lookup ones.
    EXPECT_EQ(T("TZuzycie").liczbaPolZapisywanych(), 12);
    EXPECT_EQ(T("TTabelaD").liczbaPolZapisywanych(), 124);
    EXPECT_EQ(T("TPojazdy").liczbaPolZapisywanych(), 23);
}

TEST(Schemat, DisplayFormatsAssignedAtCreation)
{
    int kwoty = 0;
    std::map<QString, int> naTabele;
    for (const Tabela& t : Tabele())
        for (const Pole& p : t.pola)
            if (p.formatPrzyTworzeniu == FormatKwot) {
                ++kwoty;
                ++naTabele[t.komponent];
            }
    EXPECT_EQ(kwoty, 315);
    EXPECT_EQ(naTabele["TTabelaD"], 123); // 122 stored and the total
    EXPECT_EQ(naTabele["TStawkiTabD"], 122);
    EXPECT_EQ(naTabele["TTabelaC"], 24);
    EXPECT_EQ(naTabele["TStawkiTabC"], 19);
    EXPECT_EQ(naTabele["TZalacznik1"], 24);
    EXPECT_EQ(naTabele["TZuzycie"], 2);
    EXPECT_EQ(naTabele["TPojazdy"], 1);
    EXPECT_TRUE(P("TStawkiTabC", "Rezerwa3").formatPrzyTworzeniu.isEmpty());
    EXPECT_EQ(P("TZalacznik1", "PIII").formatPrzyTworzeniu, "# ### ##0.### ###");
    EXPECT_TRUE(P("TZalacznik1", "POgolem").formatPrzyTworzeniu.isEmpty());
    EXPECT_TRUE(P("TZuzycie", "IloscKm").formatPrzyTworzeniu.isEmpty());
}

TEST(Schemat, ValueFieldFamiliesAndTheirOrder)
{
    EXPECT_EQ(KolumnyTabeliD().size(), 117);
    EXPECT_EQ(KolumnyStawekTabeliD().size(), 117);
    QStringList a = KolumnyTabeliD(), b = KolumnyStawekTabeliD();
    a.sort();
    b.sort();
    EXPECT_EQ(a, b);
    EXPECT_EQ(QSet<QString>(a.begin(), a.end()).size(), 117);

    // Table D: column order 1a 1b 1c 1d 2a ..., the reserves last, the total after them.
    const Tabela& d = T("TTabelaD");
    EXPECT_EQ(d.pola[2].nazwa, "1a");
    EXPECT_EQ(d.pola[5].nazwa, "1d");
    EXPECT_EQ(d.pola[118].nazwa, "32d");
    EXPECT_EQ(d.pola[119].nazwa, "Rezerwa1");
    EXPECT_EQ(d.pola[124].nazwa, "Razem");
    // Rates of table D: 1a 1b 1c 2a ... 12, the reserves, then 1d 2d ...
    const Tabela& s = T("TStawkiTabD");
    EXPECT_EQ(s.pola[4].nazwa, "1c");
    EXPECT_EQ(s.pola[5].nazwa, "2a");
    EXPECT_EQ(s.pola[23].nazwa, "12");
    EXPECT_EQ(s.pola[24].nazwa, "Rezerwa1");
    EXPECT_EQ(s.pola[28].nazwa, "Rezerwa5");
    EXPECT_EQ(s.pola[29].nazwa, "1d");
    EXPECT_EQ(s.pola[123].nazwa, "32d");

    int ustal = 0, ustalCalk = 0;
    for (const Tabela& t : Tabele())
        for (const Pole& p : t.pola) {
            ustal += p.onSetText == "UstalNieujemna";
            ustalCalk += p.onSetText == "UstalNieujemnaCalk";
        }
    EXPECT_EQ(ustal, 323);
    EXPECT_EQ(ustalCalk, 24);
    EXPECT_EQ(PolaLiczbTabeliC().size(), 24);
    EXPECT_EQ(PolaLiczbTabeliC().first(), "LKI1");
    EXPECT_EQ(PolaLiczbTabeliC()[18], "LKV3");
}

TEST(Schemat, WorkTableDefinitions)
{
    const Tabela& r = T("TRoboczy");
    ASSERT_EQ(r.pola.size(), 33u);
    EXPECT_EQ(r.pola[0].nazwa, "Klucz");
    EXPECT_EQ(r.pola[0].typ, Typ::Tekst);
    EXPECT_EQ(r.pola[0].rozmiar, 100);
    EXPECT_EQ(r.pola[1].nazwa, "Identyfikator");
    EXPECT_EQ(r.pola[1].typ, Typ::Autonumer);
    EXPECT_EQ(r.pola[2].nazwa, "Calkowity");
    EXPECT_EQ(r.pola[2].typ, Typ::Calkowity);
    for (int i = 1; i <= 30; ++i) {
        EXPECT_EQ(r.pola[2 + i].nazwa, QStringLiteral("Pole%1").arg(i));
        EXPECT_EQ(r.pola[2 + i].rozmiar, 100);
    }
    EXPECT_TRUE(r.zdarzenia.empty());
    EXPECT_TRUE(T("TPrzRob").zdarzenia.empty());
}

TEST(Schemat, DatasetEventsBoundByHandlerName)
{
    EXPECT_EQ(T("TFirma").handler(Zdarzenie::BeforeInsert), "TOkresBeforeInsert");
    EXPECT_EQ(T("TFirma").handler(Zdarzenie::OnPostError), "TFirmaPostError");
    EXPECT_EQ(T("TKotly").handler(Zdarzenie::BeforeDelete), "AAANieWolno");
    EXPECT_EQ(T("TKotly").handler(Zdarzenie::AfterPost), "AAAZrzucBufory");
    EXPECT_TRUE(T("TKotly").handler(Zdarzenie::OnPostError).isEmpty());
    EXPECT_EQ(T("TPolaExcel").handler(Zdarzenie::AfterCancel), "AAAZrzucBufory");
    EXPECT_EQ(T("TSubsatncje").handler(Zdarzenie::AfterPost), "TFirmaAfterPost");
    EXPECT_EQ(T("TSubsatncje").handler(Zdarzenie::AfterDelete), "AAAZrzucBufory");
    EXPECT_EQ(T("TTabelaAPaliwa").handler(Zdarzenie::BeforeInsert), "PrzedDopisemWierszTabA");
    EXPECT_EQ(T("TStawkiTabC").handler(Zdarzenie::AfterInsert), "TStawkiTabCAfterInsert");
    EXPECT_TRUE(T("TStawkiTabC").handler(Zdarzenie::OnPostError).isEmpty());
    EXPECT_TRUE(T("TZalacznik1").handler(Zdarzenie::BeforePost).isEmpty());

    // The post-error handler serves exactly 18 tables, the statement rows and registers listed with it.
    int postError = 0;
    for (const Tabela& t : Tabele())
        postError += t.handler(Zdarzenie::OnPostError) == "TFirmaPostError";
    EXPECT_EQ(postError, 18);
    int beforeInsertOkres = 0;
    for (const Tabela& t : Tabele())
        beforeInsertOkres += t.handler(Zdarzenie::BeforeInsert) == "TOkresBeforeInsert";
    EXPECT_EQ(beforeInsertOkres, 8);
}
