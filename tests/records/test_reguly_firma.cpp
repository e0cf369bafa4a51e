// Companies and periods: the order of writing, the period check at its
// bounds, the quarter name, the delete guards and the duplicate-key box.

#include "test_reguly_wspolne.h"

namespace {

// Posts a new period with the given values (an empty optional stays empty)
// and returns the message, "" when it was saved.
QString nowyOkres(TDM& dm, std::optional<int> rok, std::optional<int> polrocze, std::optional<int> kwartal = {})
{
    dm.TOkres->Insert();
    if (rok)
        dm.TOkresRok->setAsInteger(*rok);
    if (polrocze)
        dm.TOkresPolrocze->setAsInteger(*polrocze);
    if (kwartal)
        dm.TOkresKwartal->setAsInteger(*kwartal);
    try {
        dm.TOkres->Post();
    } catch (const kal::Exception& e) {
        dm.TOkres->Cancel();
        return e.message();
    }
    return {};
}

} // namespace

TEST_F(Reguly, PeriodYearHalfYearAndQuarterAtTheirBounds)
{
    firma();
    EXPECT_EQ(nowyOkres(*dm, {}, 1), "Musisz wprowadzić rok okresu !!!");
    EXPECT_EQ(nowyOkres(*dm, 1999, 1), "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    EXPECT_EQ(nowyOkres(*dm, 2021, 1), "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    EXPECT_EQ(nowyOkres(*dm, 2000, 1), "");
    EXPECT_EQ(nowyOkres(*dm, 2020, 2), "");
    // The year is checked before the half-year.
    EXPECT_EQ(nowyOkres(*dm, 1999, {}), "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    EXPECT_EQ(nowyOkres(*dm, 2009, {}), "Musisz wprowadzić półrocze obliczeniowe !!!");
    EXPECT_EQ(nowyOkres(*dm, 2009, 0), "Wprowadzono niewłaściwe półrocze !!!");
    EXPECT_EQ(nowyOkres(*dm, 2009, 3), "Wprowadzono niewłaściwe półrocze !!!");
    // The quarter comes before the half-year; an empty quarter passes.
    EXPECT_EQ(nowyOkres(*dm, 2009, {}, 0), "Wprowadzono niewłaściwy kwartał obliczeniowy !!!");
    EXPECT_EQ(nowyOkres(*dm, 2009, 1, 5), "Wprowadzono niewłaściwy kwartał obliczeniowy !!!");
    EXPECT_EQ(nowyOkres(*dm, 2009, 1, 1), "");
    EXPECT_EQ(dm->TOkresNazwaKwartalu->AsString(), "I");
    EXPECT_EQ(nowyOkres(*dm, 2009, 2, 4), "");
    EXPECT_EQ(dm->TOkresNazwaKwartalu->AsString(), "IV");
    EXPECT_EQ(nowyOkres(*dm, 2009, 1), "");
    EXPECT_EQ(dm->TOkresNazwaKwartalu->AsString(), "");
    EXPECT_EQ(dm->TOkres->RecordCount(), 5);
}

TEST_F(Reguly, OrderOfCompanyPeriodAndStatementRows)
{
    EXPECT_EQ(komunikat([&] { dm->TOkres->Insert(); }), "Brak danych firmy !!!");
    EXPECT_EQ(dm->TOkres->State(), kal::dsBrowse);

    // A pending company blocks every other table, on insert and on edit.
    dm->TFirma->Insert();
    dm->TFirmaNazwa1->setAsString("Ruvelkon");
    EXPECT_EQ(komunikat([&] { dm->TOkres->Insert(); }), "Najperw zapisz dane firmy !!!");
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Insert(); }), "Najperw zapisz dane firmy !!!");
    EXPECT_EQ(komunikat([&] { dm->TZalacznik1->Insert(); }), "Najperw zapisz dane firmy !!!");
    dm->TFirma->Post();

    // Without a period no statement row can be written.
    for (kal::TTable* t : {dm->TZalacznik1, dm->TTabelaD, dm->TTabelaC, dm->TStawkiTabC, dm->TStawkiTabD})
        EXPECT_EQ(komunikat([&] { t->Insert(); }), "Brak wprowadzonych okresów dla firmy !!!") << t->Name().toStdString();
    // A fuel insert needs only the saved company.
    EXPECT_EQ(komunikat([&] { dm->TZuzycie->Insert(); }), "");
    dm->TZuzycie->Cancel();

    okres(2009, 1);
    // A pending period blocks the company and the statement rows.
    dm->TOkres->Edit();
    EXPECT_EQ(komunikat([&] { dm->TFirma->Edit(); }), "Zapisz dane o okresch !!!");
    EXPECT_EQ(komunikat([&] { dm->TFirma->Insert(); }), "Zapisz dane o okresch !!!");
    EXPECT_EQ(komunikat([&] { dm->TTabelaC->Insert(); }), "Zapisz dane o okresch !!!");
    EXPECT_EQ(komunikat([&] { dm->TStawkiTabD->Insert(); }), "Zapisz dane o okresch !!!");
    EXPECT_EQ(dm->TTabelaC->State(), kal::dsBrowse);
    dm->TOkres->Cancel();
    EXPECT_EQ(komunikat([&] { dm->TFirma->Edit(); }), "");
    // ... and a pending company blocks editing the period.
    EXPECT_EQ(komunikat([&] { dm->TOkres->Edit(); }), "Najperw zapisz dane firmy !!!");
    dm->TFirma->Cancel();
}

TEST_F(Reguly, CompanyAndPeriodCannotBeDeleted)
{
    okres(2009, 1);
    EXPECT_EQ(komunikat([&] { dm->TFirma->Delete(); }), "Nie można kasować danych firmy !!!");
    EXPECT_EQ(komunikat([&] { dm->TOkres->Delete(); }), "Nie można kasować okresu danych !!!");
    EXPECT_EQ(dm->TFirma->RecordCount(), 1);
    EXPECT_EQ(dm->TOkres->RecordCount(), 1);
    EXPECT_TRUE(dialogi.boxes().empty());

    // The import column row: a box, then a silent refusal.
    ASSERT_FALSE(dm->TPolaExcel->IsEmpty());
    const int wiersze = dm->TPolaExcel->RecordCount();
    EXPECT_EQ(komunikat([&] { dm->TPolaExcel->Delete(); }), "<abort>");
    jednoOkno("Nie wolno kasować tych danych !!!", "Kontrola kasowania danych.");
    EXPECT_EQ(dm->TPolaExcel->RecordCount(), wiersze);
}

TEST_F(Reguly, DuplicateCompanyAndPeriodShowThePostErrorBox)
{
    okres(2009, 2);
    dm->TFirma->Insert();
    dm->TFirmaNazwa1->setAsString("Ruvelkon sp. z o.o.");
    bladZapisu(dm->TFirma, "Dane firmy powtarzają się !!!");
    // A company that differs in one field is another company.
    firma("Ruvelkon sp. z o.o. II");
    EXPECT_EQ(dm->TFirma->RecordCount(), 2);

    dm->TFirma->First();
    dm->TOkres->Insert();
    dm->TOkresRok->setAsInteger(2009);
    dm->TOkresPolrocze->setAsInteger(2);
    bladZapisu(dm->TOkres, "Dane okresu powtarzają się !!!");
    EXPECT_EQ(dm->TOkres->RecordCount(), 1);
}

TEST_F(Reguly, OldPeriodRowsAreCheckedWhenNextSaved)
{
    okres(2009, 1);
    const int id = dm->TOkresIdentyfikatorOkresu->AsInteger();
    dm.reset();
    zapiszSurowo("Okresy.db", "IdentyfikatorOkresu", id, [](kal::TTable& t) {
        t.FieldByName("Rok")->setAsInteger(2021);
        t.FieldByName("Kwartal")->setAsInteger(7);
    });
    dm = std::make_unique<TDM>();
    ASSERT_EQ(dm->TOkresRok->AsInteger(), 2021);
    // A quarter outside 1..4 has no name.
    EXPECT_EQ(dm->TOkresNazwaKwartalu->AsString(), "");
    dm->TOkres->Edit();
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Wprowadzono niewłaściwy rok obliczeniowy !!!");
    dm->TOkresRok->setAsInteger(2010);
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "Wprowadzono niewłaściwy kwartał obliczeniowy !!!");
    dm->TOkresKwartal->Clear();
    EXPECT_EQ(komunikat([&] { dm->TOkres->Post(); }), "");
    EXPECT_EQ(dm->TOkresRok->AsInteger(), 2010);
}

TEST_F(Reguly, DuplicateCommuneOfTableCShowsThePostErrorBox)
{
    okres(2009, 1);
    dm->TTabelaC->Insert();
    dm->TTabelaCNazwaGminy->setAsString("Kutno");
    dm->TTabelaC->Post();
    dm->TTabelaC->Insert();
    dm->TTabelaCNazwaGminy->setAsString("Kutno");
    bladZapisu(dm->TTabelaC, "Nazwa gminy w tabeli C dla okresu powtarza się !!!");
    // The same commune in the next half-year is another row.
    okres(2009, 2);
    dm->TTabelaC->Insert();
    dm->TTabelaCNazwaGminy->setAsString("Kutno");
    EXPECT_EQ(komunikat([&] { dm->TTabelaC->Post(); }), "");
}
