// The half-year settlement: the table D lines with a quantity, the table C
// groups with a fee, the table A total and the total of the half-year.

#include "ModulTestowy.h"

#include "DrukujRaport.h"
#include "RozliczPolrocze.h"
#include "WydrukTabeliA.h"

using namespace kal::report;

namespace {

const QString Tytul = QStringLiteral("Rozliczenie opłat za półrocze: 1 2009 roku.");
const QString Kreska = QStringLiteral("==================================");

struct Rozliczenie : testy::ModulTestowy {
    // Table D: 1a 0,5 Mg at 100 = 50,00; 14b 2,25 Mg at 12,5 = 28,125 -> 28,13;
    // 7 exactly one ten-millionth at 10 and 32d 0 at 5 print no line;
    // reserve 1: 2 Mg at 1,5 = 3,00 counts in the total only. Fees 81,13.
    void TabelaD()
    {
        Ustaw(dm->TTabelaD, {{"1a", 0.5}, {"14b", 2.25}, {"7", 1e-07}, {"32d", 0}, {"Rezerwa1", 2}});
        Ustaw(dm->TStawkiTabD, {{"1a", 100}, {"14b", 12.5}, {"7", 10}, {"32d", 5}, {"Rezerwa1", 1.5}});
    }
    // Table C, commune Płock (current): I1 4 at 10,01 = 40,04; III 2 at 0
    // (no fee, no line); V3 1,5 at 2 = 3,00; reserve 2: 1 at 7 = 7,00 in the
    // total only. Total 50,04. The only commune of the period.
    void TabelaC()
    {
        dm->TTabelaC->Edit();
        GminaC(QStringLiteral("Płock"), {{"I1", 4}, {"III", 2}, {"V3", 1.5}, {"Rezerwa2", 1}});
        Ustaw(dm->TStawkiTabC, {{"I1", 10.01}, {"II1", 1.5}, {"V3", 2}, {"Rezerwa2", 7}});
    }
    // A second commune, Gostynin: I1 100 at 10,01 = 1 001,00; II1 3 at 1,5 =
    // 4,50; V3 0,25 at 2 = 0,50. Total 1 006,00.
    void DrugaGmina()
    {
        dm->TTabelaC->Insert();
        GminaC(QStringLiteral("Gostynin"), {{"I1", 100}, {"II1", 3}, {"V3", 0.25}});
    }
    // Names the commune of the table C row being edited, sets its
    // quantities and posts it.
    void GminaC(const QString& nazwa, const std::vector<std::pair<QString, double>>& ilosci)
    {
        dm->TTabelaCNazwaGminy->setAsString(nazwa);
        for (const auto& [pole, v] : ilosci)
            dm->TTabelaC->FieldByName(pole)->setAsFloat(v);
        dm->TTabelaC->Post();
    }
    QStringList Druk()
    {
        dialogi.answerPrinter(true);
        DrukujRaport(QRRozliczPolrocze, false, Tytul, 1);
        EXPECT_EQ(drukarka.wydruki.size(), 1u);
        return drukarka.wydruki.empty() ? QStringList() : testy::WszystkieTeksty(drukarka.wydruki.back());
    }
    // The texts of the report line whose description column holds `opis`.
    QStringList Linia(const QString& opis, int ktory = 0)
    {
        return testy::TekstyLinii(testy::Linia(drukarka.wydruki.back(), opis, TQRRozliczPolrocze::Kolumny, 4, 0, ktory));
    }
    // The texts of the fee column, top to bottom.
    QStringList KolumnaOplat()
    {
        auto t = testy::Teksty(drukarka.wydruki.back());
        std::stable_sort(t.begin(), t.end(), [](const testy::Tekst& a, const testy::Tekst& b) { return a.y < b.y; });
        QStringList l;
        for (const auto& x : t)
            if (x.x >= 10 + TQRRozliczPolrocze::Kolumny[3] - 0.01 && x.x2 <= 10 + TQRRozliczPolrocze::Kolumny[4] + 0.01)
                l << x.tekst;
        return l;
    }
};

} // namespace

TEST_F(Rozliczenie, TableDLinesTableCGroupsTableAAndTheTotal)
{
    TabelaD();
    TabelaC();
    DaneTabeliA();
    const QStringList t = Druk();
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, Tytul);
    EXPECT_EQ(t.first(), Tytul);

    EXPECT_EQ(Linia(QStringLiteral("Samochód os. zarejestrowany do 31.12.1992 r. benzyna silnikowa ")),
              QStringList({"Samochód os. zarejestrowany do 31.12.1992 r. benzyna silnikowa ", "0,50", "100,00 ",
                           "50,00 "}));
    EXPECT_EQ(Linia(QStringLiteral("Autobusy powyżej 3,5 Mg zarej.do 30.09.1993 biodiesl ")),
              QStringList({"Autobusy powyżej 3,5 Mg zarej.do 30.09.1993 biodiesl ", "2,25", "12,50 ", "28,13 "}));
    EXPECT_EQ(Linia(QStringLiteral("I Kotły opalane węglem kamiennym ")),
              QStringList({"I Kotły opalane węglem kamiennym ", "", "", "40,04 "}));
    EXPECT_EQ(Linia(QStringLiteral("V Kotły opalane paliwem gazowym ")),
              QStringList({"V Kotły opalane paliwem gazowym ", "", "", "3,00 "}));

    // Fee column: two table D lines, the separator, the table D total
    // (81,13 with the reserve), the table C groups, separator and total
    // (50,04 with the reserve), the table A total.
    EXPECT_EQ(KolumnaOplat(), QStringList({"Opłata ", "50,00 ", "28,13 ", Kreska, "81,13 ", "40,04 ", "3,00 ", Kreska,
                                           "50,04 ", "144,84 "}));
    // Quantity total of table D: 0,5 + 2,25 + 0,0000001 + 2 shown to 2 places.
    EXPECT_EQ(t.mid(t.indexOf(Kreska), 4), QStringList({Kreska, Kreska, "4,75 ", "81,13 "}));
    // 81,13 + 50,04 + 144,84
    EXPECT_EQ(t.last(), QStringLiteral("Razem opłata za pólrocze: 276,01 zł."));
    EXPECT_TRUE(t.contains(QStringLiteral("Wykaz opłat wynikających z tabeli A   ")));
}

TEST_F(Rozliczenie, TableCCoversEveryCommuneOfThePeriod)
{
    TabelaD();
    TabelaC();
    DrugaGmina();
    for (const QString& biezaca : {QStringLiteral("Płock"), QStringLiteral("Gostynin")}) {
        ASSERT_TRUE(dm->TTabelaC->Locate(QStringLiteral("NazwaGminy"), biezaca));
        drukarka.wydruki.clear();
        const QStringList t = Druk();
        // Groups over both communes: I 40,04 + 1 001,00; II 4,50 from
        // Gostynin only; V 3,00 + 0,50. Table C total 50,04 + 1 006,00.
        EXPECT_EQ(Linia(QStringLiteral("I Kotły opalane węglem kamiennym ")),
                  QStringList({"I Kotły opalane węglem kamiennym ", "", "", "1 041,04 "}));
        EXPECT_EQ(Linia(QStringLiteral("II Kotły o mocy cieplne <=5MW opalane koksem ")),
                  QStringList({"II Kotły o mocy cieplne <=5MW opalane koksem ", "", "", "4,50 "}));
        EXPECT_EQ(Linia(QStringLiteral("V Kotły opalane paliwem gazowym ")),
                  QStringList({"V Kotły opalane paliwem gazowym ", "", "", "3,50 "}));
        EXPECT_EQ(KolumnaOplat(), QStringList({"Opłata ", "50,00 ", "28,13 ", Kreska, "81,13 ", "1 041,04 ", "4,50 ",
                                               "3,50 ", Kreska, "1 056,04 ", "0,00 "}));
        // 81,13 + 1 056,04, no table A.
        EXPECT_EQ(t.last(), QStringLiteral("Razem opłata za pólrocze: 1 137,17 zł."));
        // The table C window stays on its commune.
        EXPECT_EQ(dm->TTabelaCNazwaGminy->AsString(), biezaca);
    }
}

TEST_F(Rozliczenie, NoLineForZeroOrTinyQuantitiesNorForEmptyGroups)
{
    TabelaD();
    TabelaC();
    const QStringList t = Druk();
    for (const QString& s : t) {
        EXPECT_FALSE(s.startsWith(QStringLiteral("Samochód do 3,5 Mg zarejestrowany do 31.09.1993 r."))) << s.toStdString();
        EXPECT_FALSE(s.startsWith(QStringLiteral("Inne pojazdy"))) << s.toStdString();
        EXPECT_FALSE(s.startsWith(QStringLiteral("III "))) << s.toStdString();
    }
    EXPECT_TRUE(t.contains(QStringLiteral("0,00 ")));
    // Without table A: 81,13 + 50,04.
    EXPECT_EQ(t.last(), QStringLiteral("Razem opłata za pólrocze: 131,17 zł."));
}

TEST_F(Rozliczenie, AnEmptyPeriodPrintsSeparatorsAndZeroTotals)
{
    Druk();
    EXPECT_EQ(KolumnaOplat(), QStringList({"Opłata ", Kreska, "0,00 ", Kreska, "0,00 ", "0,00 "}));
    EXPECT_EQ(testy::WszystkieTeksty(drukarka.wydruki.back()).last(), QStringLiteral("Razem opłata za pólrocze: 0,00 zł."));
}

TEST_F(Rozliczenie, ThousandsAreGroupedInEveryTotal)
{
    // 1a: 30 Mg at 100 = 3 000,00; table A: 120 Mg at 2,5 kg/Mg = 300 kg at 4,5 = 1 350,00.
    Ustaw(dm->TTabelaD, {{"1a", 30}});
    Ustaw(dm->TStawkiTabD, {{"1a", 100}});
    const int g = Gmina(QStringLiteral("Kórnik"));
    const int s = Substancja(QStringLiteral("dwutlenek siarki"), QStringLiteral("7446-09-5"), 4.5);
    const int z = Zrodlo(QStringLiteral("Kotłownia"), QStringLiteral("ul. Polna 3"), 0.5, QStringLiteral("cyklon"),
                         QStringLiteral("OŚ 12/2008 Starosta"), QDate(2015, 12, 31));
    GminaTabA(g, QStringLiteral("ul. Leśna 1"), QStringLiteral("poznański"));
    ZrodloTabA(z, QStringLiteral("węgiel"), 120);
    SubstancjaTabA(s, 2.5, 4.5);
    const QStringList t = Druk();
    EXPECT_EQ(KolumnaOplat().mid(1, 2), QStringList({"3 000,00 ", Kreska}));
    EXPECT_TRUE(t.contains(QStringLiteral("1 350,00 ")));
    EXPECT_EQ(t.last(), QStringLiteral("Razem opłata za pólrocze: 4 350,00 zł."));
}

TEST_F(Rozliczenie, EveryRunStartsAfresh)
{
    TabelaD();
    for (int i = 0; i < 2; ++i) {
        dialogi.answerPrinter(true);
        DrukujRaport(QRRozliczPolrocze, false, Tytul, 1);
    }
    ASSERT_EQ(drukarka.wydruki.size(), 2u);
    EXPECT_EQ(testy::WszystkieTeksty(drukarka.wydruki[1]), testy::WszystkieTeksty(drukarka.wydruki[0]));
    EXPECT_EQ(testy::WszystkieTeksty(drukarka.wydruki[1]).count(QStringLiteral("50,00 ")), 1);
}

TEST(WierszeRozliczenia, EveryCellOfTableDHasItsRowAndFuel)
{
    const auto& w = WierszeRozliczeniaD();
    ASSERT_EQ(w.size(), 32u);
    size_t komorek = 0;
    for (const auto& r : w)
        komorek += r.komorki.size();
    EXPECT_EQ(komorek, 117u);
    EXPECT_EQ(w[3].komorki[2], std::make_pair(QStringLiteral("4c"), QStringLiteral("sprężony gaz zie.Sil,fabryczna")));
    EXPECT_EQ(w[3].komorki[3], std::make_pair(QStringLiteral("4d"), QStringLiteral("sprężony gaz zie.Sil.przbudowane")));
    EXPECT_EQ(w[13].komorki[0], std::make_pair(QStringLiteral("14a"), QStringLiteral("olej napędowy")));
    EXPECT_EQ(w[14].komorki[0], std::make_pair(QStringLiteral("15a"), QStringLiteral("sprężony gaz zie.Sil.przbudowane")));
    EXPECT_EQ(w[12].komorki[0], std::make_pair(QStringLiteral("13a"), QStringLiteral("benzyna silnikowa")));
    EXPECT_EQ(w[31].komorki[1], std::make_pair(QStringLiteral("32b"), QStringLiteral("gaz płynny propan-butan")));
}
