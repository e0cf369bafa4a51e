// The statement's printouts on a data directory made by the data-directory
// routine, read through the data module (and the fee engine reading the
// same module), printed through DrukujRaport.

#include "DaneWydrukow.h"

#include "ModulTestowy.h"

#include "DrukujRaport.h"
#include "FunkcjeSrodowiska.h"
#include "OplatyTabel.h"
#include "WydrukTabelaC.h"
#include "WydrukTabelaD.h"
#include "WydrukZalacznik1.h"
#include "WydrukZestTabC.h"

#include <gtest/gtest.h>

using namespace kal::report;

namespace {

// The company with its first name only.
using ModulDanych = testy::ModulZWydrukami;

} // namespace

TEST_F(ModulDanych, TableDPrintsTheCurrentPeriodUnderItsTitle)
{
    Ustaw(dm->TTabelaD, {{"7", 0.5}, {"7b", 0.004}, {"Rezerwa5", 1}});
    Ustaw(dm->TStawkiTabD, {{"7", 100}, {"7b", 50}, {"Rezerwa5", 3}});
    OplatyD().Oblicz();
    dialogi.answerPrinter(true);
    DrukujRaport(QRTabelaD, false, QStringLiteral("Wydruk Tabeli D za półrocze: 1 2009 roku."), 1);
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk Tabeli D za półrocze: 1 2009 roku."));
    const QStringList t = testy::WszystkieTeksty(drukarka.wydruki[0]);
    // Row 7: 0,5 Mg at 100 zł/Mg, 0,004 Mg at 50 zł/Mg; a new period's zeros print blank.
    const int i = int(t.indexOf(QStringLiteral("osobowe zarejestrowanych po raz pierwszy do dnia 30.09.1993 r.")));
    ASSERT_GE(i, 0);
    EXPECT_EQ(t.mid(i - 6, 6), QStringList({"7", "Silniki w samochodach o dopuszczalnej masie całkowitej do 3,5 Mg innych niż",
                                            "Benzyna silnikowa 10)", "0,50", "100,00", "50,00"}));
    EXPECT_EQ(t.mid(i + 1, 4), QStringList({"gaz płynny propan - butan", "0,00", "50,00", "0,20"}));
    const int r = int(t.indexOf(QStringLiteral("Wysokość opłaty ogółem [zł]")));
    ASSERT_GE(r, 0);
    EXPECT_EQ(t[r + 1], QStringLiteral("53,20"));
}

TEST_F(ModulDanych, AnnexPrintsTheModulesTotalsAndTheCompany)
{
    Ustaw(dm->TZalacznik1, {{"P11", 0.5}, {"P12", 0.0009}, {"P21", 100.25}});
    dialogi.answerPrinter(true);
    DrukujRaport(QRZalacznik1, false, QStringLiteral("Wydruk załącznika nr 1 za półrocze: 1 2009 roku."), 1);
    ASSERT_EQ(drukarka.wydruki.size(), 1u);
    const PageModel& m = drukarka.wydruki[0];
    const auto l11 = testy::Linia(m, QStringLiteral("Żródła powstawania substancji wprowadzanych do powietrza"),
                                  TQRZalacznik1::Kolumny, 4, 1);
    ASSERT_EQ(l11.size(), 4u);
    EXPECT_EQ(l11[3].tekst, QStringLiteral("0,50"));
    EXPECT_TRUE(l11[2].podkreslony);
    const auto l12 = testy::Linia(m, QStringLiteral("Przeładunek benzyn silnikowych"), TQRZalacznik1::Kolumny, 4, 1);
    ASSERT_EQ(l12.size(), 4u);
    EXPECT_EQ(l12[3].tekst, QString());
    EXPECT_FALSE(l12[2].podkreslony);
    // Group totals in whole units: I = 0,5 + 0,0009 -> 1; II = 100,25 -> 100; the sum 101.
    EXPECT_EQ(testy::Linia(m, QStringLiteral("Wysokość opłaty za wprowadzanie gazów lub pyłów do powietrza"),
                           TQRZalacznik1::Kolumny, 4, 1)[3].tekst,
              QStringLiteral("1"));
    EXPECT_EQ(testy::Linia(m, QStringLiteral("Wysokość opłaty za pobór wód ogółem 4)"), TQRZalacznik1::Kolumny, 4, 1)[3]
                  .tekst,
              QStringLiteral("100"));
    const QStringList t = testy::WszystkieTeksty(m);
    EXPECT_EQ(t[t.indexOf(QStringLiteral("Suma opłat ogółem 6)")) + 1], QStringLiteral("101"));
    EXPECT_EQ(t.mid(t.indexOf(QStringLiteral("Nazwa:")), 2), QStringList({"Nazwa:", "Ruvelkon sp. z o.o."}));
    EXPECT_EQ(t.mid(t.indexOf(QStringLiteral("rok 2):")), 4), QStringList({"rok 2):", "2009", "półrocze 2):", "1"}));
}

TEST_F(ModulDanych, TableCAndTheSummaryOverTwoCommunes)
{
    dm->TTabelaC->Edit();
    dm->TTabelaCNazwaGminy->setAsString(QStringLiteral("Płock"));
    dm->TTabelaC->FieldByName(QStringLiteral("I1"))->setAsFloat(4);
    dm->TTabelaC->FieldByName(QStringLiteral("LKI1"))->setAsInteger(1);
    dm->TTabelaC->Post();
    dm->TTabelaC->Insert();
    dm->TTabelaCNazwaGminy->setAsString(QStringLiteral("Gostynin"));
    dm->TTabelaC->FieldByName(QStringLiteral("I1"))->setAsFloat(1.5);
    dm->TTabelaC->Post();
    Ustaw(dm->TStawkiTabC, {{"I1", 10.01}});

    ASSERT_TRUE(dm->TTabelaC->Locate(QStringLiteral("NazwaGminy"), QStringLiteral("Płock")));
    OplatyC().Oblicz();
    dialogi.answerPrinter(true);
    DrukujRaport(QRTabelaC, false, QStringLiteral("Wydruk Tabeli C za półrocze: 1 2009 roku."), 1);
    dialogi.answerPrinter(true);
    DrukujRaport(QRZestTabC, false, QStringLiteral("Rozliczenie zbiorcze tablic c za półrocze: 1 2009 roku."), 1);
    ASSERT_EQ(drukarka.wydruki.size(), 2u);

    const QStringList c = testy::WszystkieTeksty(drukarka.wydruki[0]);
    EXPECT_TRUE(c.contains(QStringLiteral(" Gmina: Płock")));
    EXPECT_EQ(testy::TekstyLinii(testy::Linia(drukarka.wydruki[0], QStringLiteral("o nominalnej mocy cieplnej <= 3 MW"),
                                              TQRTabelaC::Kolumny, 6, 1)),
              QStringList({"", "o nominalnej mocy cieplnej <= 3 MW", "", "", "", ""}));
    EXPECT_EQ(testy::TekstyLinii(testy::Linia(drukarka.wydruki[0],
                                              QStringLiteral("Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,"),
                                              TQRTabelaC::Kolumny, 6, 1)),
              QStringList({"1", "Kocioł z rusztem mechanicznym, z urządzeniem odpylającym,", "1", "4,00", "10,01", "40,04"}));
    EXPECT_EQ(c[c.indexOf(QStringLiteral("Wysokość opłat ogółem [zł]")) + 1], QStringLiteral("40,04"));

    // Communes in the table's order (Polish alphabet): Gostynin 1,5 x 10,01 = 15,015 -> 15,02.
    const PageModel& z = drukarka.wydruki[1];
    EXPECT_EQ(testy::TekstyLinii(testy::Linia(z, QStringLiteral("Gostynin"), TQRZestTabC::Kolumny, 3, 1)),
              QStringList({"1.", "Gostynin", "15,02"}));
    EXPECT_EQ(testy::TekstyLinii(testy::Linia(z, QStringLiteral("Płock"), TQRZestTabC::Kolumny, 3, 1)),
              QStringList({"2.", "Płock", "40,04"}));
    const QStringList t = testy::WszystkieTeksty(z);
    EXPECT_EQ(t[t.indexOf(QStringLiteral("Wysokość opłaty ogółem [zł]")) + 1], QStringLiteral("55,06"));
    EXPECT_EQ(dm->TTabelaCNazwaGminy->AsString(), QStringLiteral("Płock"));
}

TEST_F(ModulDanych, AnUnpostedEditPrintsAsTheWindowShowsIt)
{
    dm->TTabelaD->Edit();
    dm->TTabelaD->FieldByName(QStringLiteral("32a"))->setAsFloat(2.5);
    Ustaw(dm->TStawkiTabD, {{"32a", 4}});
    OplatyD().Oblicz();
    const QStringList t = testy::WszystkieTeksty(*QRTabelaD->prepare());
    const int i = int(t.indexOf(QStringLiteral("i w motorowerach")));
    ASSERT_GE(i, 0);
    EXPECT_EQ(t.mid(i - 4, 4), QStringList({"Benzyna silnikowa 10)", "2,50", "4,00", "10,00"}));
    EXPECT_EQ(dm->TTabelaD->State(), kal::dsEdit);
}
