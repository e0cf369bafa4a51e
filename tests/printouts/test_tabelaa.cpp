// Table A of the statement: the work-table rows of the preparation, the
// printed pages, the commune summary and the total.

#include "ModulTestowy.h"

#include "DrukujRaport.h"
#include "VfsShim.h"
#include "WydrukTabeliA.h"

#include <algorithm>
#include <cmath>

using namespace kal::report;

namespace {

struct Wiersz {
    QString klucz;
    int rodzaj;
    QStringList pola; // Pole1 .. Pole10
};

struct TabelaA : testy::ModulTestowy {
    std::vector<Wiersz> Robocze()
    {
        std::vector<Wiersz> w;
        kal::TTable* r = dm->TRoboczy;
        for (r->First(); !r->Eof(); r->Next()) {
            Wiersz x{r->FieldByName(QStringLiteral("Klucz"))->AsString(),
                     r->FieldByName(QStringLiteral("Calkowity"))->AsInteger(),
                     {}};
            for (int i = 1; i <= 10; ++i)
                x.pola << r->FieldByName(QStringLiteral("Pole%1").arg(i))->AsString();
            w.push_back(x);
        }
        return w;
    }
    static std::vector<int> Rodzaje(const std::vector<Wiersz>& w)
    {
        std::vector<int> r;
        for (const Wiersz& x : w)
            r.push_back(x.rodzaj);
        return r;
    }
    const PageModel& Wydruk()
    {
        dialogi.answerPrinter(true);
        QRWydrukTabeliA->PrzygotujIDrukuj(false, false);
        EXPECT_EQ(drukarka.wydruki.size(), 1u);
        return drukarka.wydruki.back();
    }
};

QStringList Linia(const PageModel& m, const QString& tekst, const double* kolumny, int n, int k, int ktory = 0)
{
    return testy::TekstyLinii(testy::Linia(m, tekst, kolumny, n, k, ktory));
}

} // namespace

TEST_F(TabelaA, TheWorkTableHoldsOneRowPerBlockInPrintingOrder)
{
    DaneTabeliA();
    EXPECT_DOUBLE_EQ(QRWydrukTabeliA->PrzygotujIDrukuj(true, true), 144.84);
    EXPECT_TRUE(drukarka.zadania.empty());
    const auto w = Robocze();
    EXPECT_EQ(Rodzaje(w), (std::vector<int>{0, 2, 3, 4, 5, 1, 0, 2, 3, 4, 4, 5, 1, 0, 2, 3, 4, 5, 1, 6, 7, 8, 9, 9, 10}));
    ASSERT_EQ(w.size(), 25u);
    EXPECT_EQ(w[0].klucz, QStringLiteral("0000000000"));
    EXPECT_EQ(w[24].klucz, QStringLiteral("0000000024"));

    // The heading of the first place: Kórnik, ul. Długa 7 (the company's
    // texts as stored: without the trailing blanks typed).
    EXPECT_EQ(w[0].pola.mid(0, 7), QStringList({"Ruvelkon sp. z o.o.", "  Oddział Poznań", "ul. Rzemieślnicza 5",
                                                 "61-100 Poznań", "ul. Długa 7", "Kórnik", "poznański"}));
    EXPECT_EQ(w[1].pola, QStringList({"ul. Rzemieślnicza 5", "61-100 Poznań", "ul. Długa 7", "ul. Polna 3", "Kotłownia",
                                      "0,5", "cyklon", "OŚ 12/2008 Starosta", "2015-12-31", "1 węgiel"}));
    // Substances are numbered across sources and communes.
    EXPECT_EQ(w[3].pola.mid(0, 7), QStringList({"1", "dwutlenek siarki 7446-09-5", "", "2", "2", "0,45", "0,9"}));
    EXPECT_EQ(w[4].pola[0], QStringLiteral("0,90"));
    EXPECT_EQ(w[9].pola.mid(0, 7), QStringList({"2", "dwutlenek siarki 7446-09-5", "", "2,5", "300", "0,45", "135"}));
    EXPECT_EQ(w[10].pola.mid(0, 7), QStringList({"3", "pył ogółem PM", "", "0,1234", "14,81", "0,3", "4,44"}));
    EXPECT_EQ(w[11].pola[0], QStringLiteral("139,44"));
    EXPECT_EQ(w[16].pola[0], QStringLiteral("4"));
    EXPECT_EQ(w[17].pola[0], QStringLiteral("4,50"));
    EXPECT_EQ(w[20].pola.mid(0, 6), QStringList({"1", "węgiel kamienny", "12,5", "23000", "12", "0,8"}));
    // The two places of Kórnik share one summary row, named as first met.
    EXPECT_EQ(w[22].pola.mid(0, 3), QStringList({"1", "Kórnik", "140,34"}));
    EXPECT_EQ(w[23].pola.mid(0, 3), QStringList({"2", "Swarzędz", "4,50"}));
    EXPECT_EQ(w[24].pola[0], QStringLiteral("144,84"));
}

TEST_F(TabelaA, EachSourcePrintsOnItsOwnPageAndTheFuelsAndSummaryFollow)
{
    DaneTabeliA();
    const PageModel& m = Wydruk();
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk Tabeli A."));
    ASSERT_EQ(m.pageCount(), 4);

    const QStringList t = testy::WszystkieTeksty(m);
    EXPECT_EQ(t.mid(t.indexOf(QStringLiteral("półrocze **/ rok**:")), 2),
              QStringList({"półrocze **/ rok**:", "1 / 2009 roku."}));
    // Name and address lines are trimmed and joined.
    EXPECT_EQ(t.mid(t.indexOf(QStringLiteral("Nazwa:")), 2),
              QStringList({"Nazwa:", "Ruvelkon sp. z o.o. Oddział Poznań"}));
    EXPECT_EQ(t.mid(t.indexOf(QStringLiteral("Adres:")), 2),
              QStringList({"Adres:", "ul. Rzemieślnicza 5 61-100 Poznań"}));
    EXPECT_EQ(t.mid(t.indexOf(QStringLiteral("REGON:")), 2), QStringList({"REGON:", "630112233"}));

    // Page 2: place 2 and source 2 of the printout, Kórnik, ul. Leśna 1.
    const double miejsce[5] = {0, 15, 160, 220, 277};
    EXPECT_EQ(Linia(m, QStringLiteral("ul. Leśna 1"), miejsce, 4, 1), QStringList({"2", "ul. Leśna 1", "Kórnik", "poznański"}));
    EXPECT_EQ(Linia(m, QStringLiteral("Kotłownia"), TQRWydrukTabeliA::KolumnyZrodla, 8, 2, 1),
              QStringList({"2", "ul. Polna 3", "Kotłownia", "0,5", "cyklon", "OŚ 12/2008 Starosta", "2015-12-31",
                           "120 węgiel"}));
    EXPECT_EQ(Linia(m, QStringLiteral("pył ogółem PM"), TQRWydrukTabeliA::KolumnySubstancji, 7, 1),
              QStringList({"3", "pył ogółem PM", "", "0,1234", "14,81", "0,3", "4,44"}));

    // Page 3: Swarzędz has no place address, the company's address stands in;
    // its source has no address and neither has the place, so the company's again.
    EXPECT_EQ(Linia(m, QStringLiteral("Swarzędz"), miejsce, 4, 2),
              QStringList({"3", "ul. Rzemieślnicza 5 61-100 Poznań", "Swarzędz", "poznański"}));
    // The source's address column (45 mm, its text kept 0,8 mm off both
    // lines) is too narrow for the whole address: the town goes on a second
    // line of the cell, the row grows.
    EXPECT_EQ(Linia(m, QStringLiteral("Lakiernia"), TQRWydrukTabeliA::KolumnyZrodla, 8, 2),
              QStringList({"3", "ul. Rzemieślnicza 5 61-100", "Lakiernia", "0", "filtr", "OŚ 7/2007 Wojewoda",
                           "2012-06-30", "10 farba"}));
    {
        const auto teksty = testy::Teksty(m);
        const auto adres = std::find_if(teksty.begin(), teksty.end(), [](const testy::Tekst& t) {
            return t.tekst == QStringLiteral("ul. Rzemieślnicza 5 61-100") && t.x < 10 + TQRWydrukTabeliA::KolumnyZrodla[2];
        });
        ASSERT_NE(adres, teksty.end());
        const auto miasto = std::find_if(teksty.begin(), teksty.end(), [&](const testy::Tekst& t) {
            return t.tekst == QStringLiteral("Poznań") && t.strona == adres->strona && t.y > adres->y;
        });
        ASSERT_NE(miasto, teksty.end());
        EXPECT_NEAR(miasto->x, adres->x, 0.01);
        EXPECT_NEAR(adres->x, 10 + TQRWydrukTabeliA::KolumnyZrodla[1] + 0.8, 0.01);
    }

    // Page 4: the fuels and the summary.
    const QStringList p4 = [&] {
        PageModel s;
        s.addPage(*m.page(3));
        s.fonts = m.fonts;
        return testy::WszystkieTeksty(s);
    }();
    EXPECT_EQ(p4.first(), QStringLiteral("Charakterystyka paliw"));
    EXPECT_EQ(Linia(m, QStringLiteral("węgiel kamienny"), TQRWydrukTabeliA::KolumnyPaliw, 6, 1),
              QStringList({"1", "węgiel kamienny", "12,5", "23000", "12", "0,8"}));
    EXPECT_EQ(Linia(m, QStringLiteral("Kórnik"), TQRWydrukTabeliA::KolumnyGmin, 3, 1),
              QStringList({"1", "Kórnik", "140,34"}));
    EXPECT_EQ(p4.mid(p4.size() - 2), QStringList({"Wysokość opłaty ogółem [zł]", "144,84"}));
}

// A source row whose address takes three lines: every framed cell of the
// row, the one-line number, heat output and validity date too, ends at the
// bottom of the tallest, so the ruled row has no gaps; the line under the
// table stands below the grown row.
TEST_F(TabelaA, EveryCellOfASourceRowIsAsTallAsItsTallestCell)
{
    const auto id = DaneTabeliA();
    ASSERT_TRUE(dm->TZrodla->Locate(QStringLiteral("Identyfikator"), id.lakiernia));
    dm->TZrodla->Edit();
    dm->TZrodlaAdres->setAsString(QStringLiteral("ul. Generała Władysława Sikorskiego 123/45 lok. 7, 93-100 Łódź"));
    dm->TZrodla->Post();
    const PageModel& m = Wydruk();
    const double* k = TQRWydrukTabeliA::KolumnyZrodla;
    const auto teksty = testy::Teksty(m);
    const auto rodzaj = std::find_if(teksty.begin(), teksty.end(), [&](const testy::Tekst& t) {
        return t.tekst == QStringLiteral("Lakiernia") && t.x < 10 + k[3];
    });
    ASSERT_NE(rodzaj, teksty.end());
    // The address's lines, top to bottom.
    std::vector<testy::Tekst> adres;
    for (const testy::Tekst& t : teksty)
        if (t.strona == rodzaj->strona && t.x >= 10 + k[1] && t.x2 <= 10 + k[2] && t.y >= rodzaj->y - 0.01 &&
            t.y < rodzaj->y + 20)
            adres.push_back(t);
    ASSERT_EQ(adres.size(), 3u);
    const auto pod = std::find_if(teksty.begin(), teksty.end(), [&](const testy::Tekst& t) {
        return t.tekst == QStringLiteral("Wielkość emisji ze wskazanej instalacji lub działalności3):...") &&
               t.strona == rodzaj->strona;
    });
    ASSERT_NE(pod, teksty.end());

    // Per column, the top and the bottom rule of the row's cell: the
    // horizontal lines that span the column, from the row's top down to
    // the line under the table.
    const auto kartka = m.page(rodzaj->strona);
    const Page& strona = *kartka;
    std::vector<double> gory, doly;
    for (int c = 0; c < 8; ++c) {
        double gora = 1e9, dol = -1e9;
        for (const PageItem& p : strona.items)
            if (p.kind == PageItem::Kind::Line && std::abs(p.y1 - p.y2) < 1e-6 &&
                std::abs(std::min(p.x1, p.x2) - (10 + k[c])) < 0.01 &&
                std::abs(std::max(p.x1, p.x2) - (10 + k[c + 1])) < 0.01 && p.y1 > rodzaj->y - 3 && p.y1 < pod->y) {
                gora = std::min(gora, p.y1);
                dol = std::max(dol, p.y1);
            }
        gory.push_back(gora);
        doly.push_back(dol);
    }
    for (int c = 1; c < 8; ++c) {
        EXPECT_NEAR(gory[size_t(c)], gory[0], 1e-6) << "column " << c + 1;
        EXPECT_NEAR(doly[size_t(c)], doly[0], 1e-6) << "column " << c + 1;
    }
    // The row holds the address's last line, and the line under the table
    // starts below the row.
    EXPECT_GT(doly[0], adres.back().y + 2);
    EXPECT_GE(pod->y, doly[0]);
}

TEST_F(TabelaA, SourceTotalsPrintUnderTheirSubstances)
{
    DaneTabeliA();
    const QStringList t = testy::WszystkieTeksty(Wydruk());
    QStringList sumy;
    for (int i = 0; i + 1 < t.size(); ++i)
        if (t[i] == QStringLiteral("Wysokość opłaty ogółem [zł]"))
            sumy << t[i + 1];
    EXPECT_EQ(sumy, QStringList({"0,90", "139,44", "4,50", "144,84"}));
}

TEST_F(TabelaA, APrintFromThePreviewNumbersThePlacesFromOneAgain)
{
    DaneTabeliA();
    QRWydrukTabeliA->PrzygotujIDrukuj(true, true);
    const auto pierwszy = QRWydrukTabeliA->prepare();
    const auto drugi = QRWydrukTabeliA->prepare();
    EXPECT_EQ(testy::WszystkieTeksty(*pierwszy), testy::WszystkieTeksty(*drugi));
    EXPECT_EQ(Linia(*drugi, QStringLiteral("Lakiernia"), TQRWydrukTabeliA::KolumnyZrodla, 8, 2)[0], QStringLiteral("3"));
}

TEST_F(TabelaA, APeriodWithoutCommunesHasOnlyTheSummaryHeadingAndAZeroTotal)
{
    EXPECT_DOUBLE_EQ(QRWydrukTabeliA->PrzygotujIDrukuj(true, true), 0.0);
    const auto w = Robocze();
    EXPECT_EQ(Rodzaje(w), (std::vector<int>{8, 10}));
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[1].pola[0], QStringLiteral("0,00"));
}

TEST_F(TabelaA, ACommuneRowWithoutSourcesGetsNoPageAndNoSummaryRow)
{
    const int g = Gmina(QStringLiteral("Mosina"));
    GminaTabA(g, QStringLiteral("ul. Krótka 2"), QStringLiteral("poznański"));
    QRWydrukTabeliA->PrzygotujIDrukuj(true, true);
    EXPECT_EQ(Rodzaje(Robocze()), (std::vector<int>{8, 10}));
}

TEST_F(TabelaA, ASourceMissingFromTheRegisterPrintsBlankCharacteristics)
{
    const auto id = DaneTabeliA(false);
    ASSERT_TRUE(dm->TZrodla->Locate(QStringLiteral("Identyfikator"), id.lakiernia));
    dm->TZrodla->Delete();
    QRWydrukTabeliA->PrzygotujIDrukuj(true, true);
    const auto w = Robocze();
    // Swarzędz's source is the third source row (after two of Kórnik).
    const auto it = std::find_if(w.begin(), w.end(), [](const Wiersz& x) {
        return x.rodzaj == WierszZrodlo && x.pola[9] == QStringLiteral("10 farba");
    });
    ASSERT_NE(it, w.end());
    EXPECT_EQ(it->pola.mid(4, 5), QStringList({"", "", "", "", ""}));
}

TEST_F(TabelaA, TheWorkTableIsEmptiedBeforeEachPreparation)
{
    DaneTabeliA();
    QRWydrukTabeliA->PrzygotujIDrukuj(true, true);
    EXPECT_DOUBLE_EQ(QRWydrukTabeliA->PrzygotujIDrukuj(true, true), 144.84);
    EXPECT_EQ(Robocze().size(), 25u);
}

// The file layer counts the syncs from the start of the data module.
struct TabelaALiczonychZapisow : TabelaA {
    void SetUp() override
    {
        kal::test::VfsShim::install();
        TabelaA::SetUp();
    }
};

// The 25 rows of the work table (and its emptying) are stored as one: a
// sync or two, not one for every row.
TEST_F(TabelaALiczonychZapisow, TheWorkRowsAreStoredAsOne)
{
    DaneTabeliA();
    kal::test::VfsShim::reset();
    EXPECT_DOUBLE_EQ(QRWydrukTabeliA->PrzygotujIDrukuj(true, true), 144.84);
    EXPECT_LE(kal::test::VfsShim::syncs, 2);
    EXPECT_EQ(Robocze().size(), 25u);
}

TEST_F(TabelaA, ACancelledPrinterDialogPrintsNothingAndStillGivesTheTotal)
{
    DaneTabeliA();
    dialogi.answerPrinter(false);
    EXPECT_DOUBLE_EQ(QRWydrukTabeliA->PrzygotujIDrukuj(false, false), 144.84);
    EXPECT_TRUE(drukarka.zadania.empty());
}
