// The registers as the user works them with the mouse and the keys: the row
// clicked is the record typed into, also right after an empty new row was
// dropped, the cancel button drops what was typed into the grid or the edit
// panel, a move off a changed record saves it without a question (an empty
// new record is dropped), and a grid's cell editor always stands on the
// record that what is typed goes into; Enter and Tab walk the fields in the
// order they stand on screen, and a date typed into an empty date field
// lands in its mask.

#include "test_rejestr_wspolne.h"

#include "GminaTabC.h"

#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBControls.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/InputHook.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

[[maybe_unused]] static void PrintTo(const QString& tekst, std::ostream* os) { *os << '"' << tekst.toStdString() << '"'; }

namespace rejestr_test {
namespace {

// A register as the test works it: its window's show, grid, navigator and
// close button, the table and the field typed into, and where the user
// types: a grid column, or an edit of the panel under the grid; and what
// else a new record needs before its table takes it (as the user would type
// it into the other fields).
struct Rejestr {
    const char* nazwa;
    std::function<int()> pokaz;
    kal::TDBGrid* siatka;
    kal::TDBNavigator* nawigator;
    QPushButton* zamknij;
    kal::TTable* tabela;
    kal::TField* pole;
    int kolumna = 0;             // the grid column typed into
    QLineEdit* edycja = nullptr; // else the panel's edit typed into
    std::function<void()> reszta = {};
};

class Siatki : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        dialogi.clear();
    }

    static void kliknijWiersz(kal::TDBGrid* siatka, int wiersz)
    {
        const QRect r = siatka->visualRect(siatka->model()->index(wiersz, 0));
        ASSERT_TRUE(r.isValid());
        QTest::mouseClick(siatka->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Types over the current record's text as a user does: in the grid the
    // first key opens the cell's editor with its text selected; in the
    // panel the user clicks into the edit and selects its text.
    static void wpisz(const Rejestr& r, const QString& tekst)
    {
        if (r.edycja) {
            QTest::mouseClick(r.edycja, Qt::LeftButton);
            r.edycja->selectAll();
            QTest::keyClicks(r.edycja, tekst);
            return;
        }
        r.siatka->setCurrentIndex(r.siatka->model()->index(r.siatka->currentIndex().row(), r.kolumna));
        r.siatka->setFocus();
        QTest::keyClicks(r.siatka, tekst.left(1));
        auto* edytor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(edytor, nullptr);
        QTest::keyClicks(edytor, tekst.mid(1));
    }

    // The user's sequence in a register of four records A, B, C, D (in the
    // grid's order), whose window is shown by the register's own show:
    // 1. click B and press "+": a new row shows at B's place, B, C and D
    //    move down. Without typing, click the row that shows D (the fifth):
    //    the empty new row is dropped and D, the record under the mouse,
    //    becomes the current record;
    // 2. type `tekst` over D's text and press "✘": D keeps its text, and
    //    neither a click on A nor "refresh" writes anything;
    // 3. again click B, "+", the row of D, type `tekst`, then click A (a
    //    move): the text is saved into D without a question.
    void kliknijZaDopisaniem(const Rejestr& r, const QString& tekst)
    {
        SCOPED_TRACE(r.nazwa);
        const QStringList przed = zapisane(r.tabela, r.pole);
        ASSERT_EQ(przed.size(), 4);
        dialogi.clear();
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            for (int raz = 0; raz < 2; ++raz) {
                kliknijWiersz(r.siatka, 1);
                ASSERT_EQ(r.pole->AsString(), przed[1]);
                kliknij(r.nawigator, kal::nbInsert);
                ASSERT_EQ(r.tabela->State(), kal::dsInsert);
                ASSERT_EQ(r.siatka->model()->rowCount(), 5);
                kliknijWiersz(r.siatka, 4);
                EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
                EXPECT_EQ(r.pole->AsString(), przed[3]);
                EXPECT_EQ(r.siatka->currentIndex().row(), 3);
                wpisz(r, tekst);
                EXPECT_EQ(r.tabela->State(), kal::dsEdit);
                if (raz == 0) {
                    kliknij(r.nawigator, kal::nbCancel);
                    EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
                    EXPECT_FALSE(r.siatka->EditorMode());
                    EXPECT_EQ(r.pole->AsString(), przed[3]);
                    if (r.edycja) {
                        EXPECT_EQ(r.edycja->text(), przed[3]);
                    }
                    kliknijWiersz(r.siatka, 0);
                    kliknij(r.nawigator, kal::nbRefresh);
                    EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
                    EXPECT_EQ(zapisane(r.tabela, r.pole), przed);
                } else {
                    kliknijWiersz(r.siatka, 0);
                    EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
                    EXPECT_EQ(r.pole->AsString(), przed[0]);
                }
            }
            r.zamknij->click();
        });
        r.pokaz();
        EXPECT_TRUE(dialogi.boxes().empty());
        QStringList po = przed;
        po[3] = tekst;
        EXPECT_EQ(zapisane(r.tabela, r.pole), po);
    }

    // The row of the grid's current cell.
    static int biezacyWiersz(const Rejestr& r) { return r.siatka->currentIndex().row(); }

    // A key pressed in the grid, where the user works: in its cell editor,
    // or, coming from the edit panel, after a click on the current row.
    static void klawiszWSiatce(const Rejestr& r, Qt::Key klawisz)
    {
        if (fokus() != r.siatka && !r.siatka->isAncestorOf(fokus()))
            kliknijWiersz(r.siatka, biezacyWiersz(r));
        QTest::keyClick(fokus(), klawisz);
    }

    // The user's moves off a changed record, in a register of four records
    // A, B, C, D (in the grid's order) whose window is shown by the
    // register's own show. B is changed three times, each time to a text
    // that keeps its place (`zmiany`, by default B's text with " 1", " 2",
    // " 3"); `nowy` stands after D's text. The texts are typed as keys, in
    // ASCII.
    // 1. Click B, type the first change, click D: B is saved, D is current.
    // 2. Click B, type the second, Down in the grid: saved, C is current.
    // 3. Click B, type the third, "next" of the navigator: saved, C is
    //    current.
    // 4. Click B, "+", type `nowy` into the new row at B's place, click the
    //    row that shows D: the new record is saved, D is current.
    // 5. "+" without typing, then a click on A: the empty new row is
    //    dropped, and A is current.
    // Nothing asks, the close neither.
    void przejsciaZapisuja(const Rejestr& r, const QString& nowy, QStringList zmiany = {})
    {
        SCOPED_TRACE(r.nazwa);
        const QStringList przed = zapisane(r.tabela, r.pole);
        ASSERT_EQ(przed.size(), 4);
        for (int i = int(zmiany.size()); i < 3; ++i)
            zmiany << przed[1] + QStringLiteral(" %1").arg(i + 1);
        dialogi.clear();
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            const std::function<void()> ruchy[] = {[&] { kliknijWiersz(r.siatka, 3); },
                                                   [&] { klawiszWSiatce(r, Qt::Key_Down); },
                                                   [&] { kliknij(r.nawigator, kal::nbNext); }};
            const int biezace[] = {3, 2, 2};
            for (int i = 0; i < 3; ++i) {
                kliknijWiersz(r.siatka, 1);
                wpisz(r, zmiany[i]);
                ASSERT_EQ(r.tabela->State(), kal::dsEdit);
                ruchy[i]();
                EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
                EXPECT_EQ(biezacyWiersz(r), biezace[i]);
                EXPECT_EQ(r.pole->AsString(), przed[biezace[i]]);
                EXPECT_EQ(r.siatka->cellText(1, r.kolumna), zmiany[i]);
            }
            // 4.
            kliknijWiersz(r.siatka, 1);
            kliknij(r.nawigator, kal::nbInsert);
            ASSERT_EQ(r.siatka->model()->rowCount(), 5);
            wpisz(r, nowy);
            if (r.reszta)
                r.reszta();
            kliknijWiersz(r.siatka, 4);
            EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
            EXPECT_EQ(r.pole->AsString(), przed[3]);
            // 5.
            kliknij(r.nawigator, kal::nbInsert);
            kliknijWiersz(r.siatka, 0);
            EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
            EXPECT_EQ(r.pole->AsString(), przed[0]);
            EXPECT_EQ(r.siatka->model()->rowCount(), 5);
            r.zamknij->click();
        });
        r.pokaz();
        EXPECT_TRUE(dialogi.boxes().empty());
        EXPECT_EQ(zapisane(r.tabela, r.pole), (QStringList{przed[0], zmiany[2], przed[2], przed[3], nowy}));
    }

    // Four posted records of a register with a text field (and, where the
    // table's rule asks for them, the other fields filled).
    void cztery(kal::TTable* t, kal::TField* pole, std::initializer_list<const char*> teksty,
                const std::function<void()>& reszta = {})
    {
        for (const char* tekst : teksty) {
            t->Insert();
            pole->setAsString(QString::fromUtf8(tekst));
            if (reszta)
                reszta();
            t->Post();
        }
    }

    // The registers with four records each, as the tests of the grids use
    // them.
    Rejestr miejscaUzytkowania()
    {
        cztery(dm->TMiejsceUz, dm->TMiejsceUzNazwa, {"Baza", "Magazyn", "Oddział", "Warsztat"});
        return {"miejsca użytkowania", [&] { return miejscaUz->Pokaz(0); }, miejscaUz->DBGrid1,
                miejscaUz->DBNavigator1, miejscaUz->BitBtn1, dm->TMiejsceUz, dm->TMiejsceUzNazwa, 0, nullptr};
    }

    Rejestr miejscaTankowania()
    {
        // The refuelling places stand in the order they were entered.
        cztery(dm->TMiejscTank, dm->TMiejscTankNazwa, {"Orlen Kraków", "BP Tarnów", "Lotos Gdańsk", "Shell Radom"});
        return {"miejsca tankowania", [&] { return miejscaTank->Pokaz(0); }, miejscaTank->DBGrid1,
                miejscaTank->DBNavigator1, miejscaTank->BitBtn1, dm->TMiejscTank, dm->TMiejscTankNazwa, 0, nullptr};
    }

    Rejestr przebiegi()
    {
        pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
        for (int miesiac = 1; miesiac <= 4; ++miesiac) {
            dm->TPrzebieg->Insert();
            dm->TPrzebiegData->setAsDateTime(QDate(2009, miesiac, 10));
            dm->TPrzebiegIloscKilometrow->setAsFloat(1000.0 * miesiac);
            dm->TPrzebieg->Post();
        }
        return {"przebieg", [&] { return przebieg->Pokaz(); }, przebieg->DBGrid1, przebieg->DBNavigator1,
                przebieg->BitBtn1, dm->TPrzebieg, dm->TPrzebiegIloscKilometrow, 1, nullptr,
                [&] { dm->TPrzebiegData->setAsDateTime(QDate(2009, 5, 10)); }};
    }

    Rejestr gminyRejestr()
    {
        cztery(dm->TGminy, dm->TGminyNazwaGminy, {"Bochnia", "Kraków", "Tarnów", "Wieliczka"});
        return {"gminy", [&] { return gminy->Pokaz(0); }, gminy->DBGrid1, gminy->DBNavigator1, gminy->BitBtn1,
                dm->TGminy, dm->TGminyNazwaGminy, 0, gminy->findChild<QLineEdit*>(QStringLiteral("DBEdit1"))};
    }

    Rejestr substancjeRejestr()
    {
        auto reszta = [&] {
            dm->TSubsatncjeKodSubstancji->setAsString(QStringLiteral("K1"));
            dm->TSubsatncjeJednostkowaStawka->setAsFloat(0.5);
        };
        cztery(dm->TSubsatncje, dm->TSubsatncjeNazwaSubstancji, {"Benzen", "Dwutlenek siarki", "Pył", "Tlenek węgla"},
               reszta);
        return {"substancje", [&] { return substancje->Pokaz(0); }, substancje->DBGrid1, substancje->DBNavigator1,
                substancje->BitBtn1, dm->TSubsatncje, dm->TSubsatncjeNazwaSubstancji, 0,
                substancje->findChild<QLineEdit*>(QStringLiteral("DBEdit1")),
                reszta};
    }

    Rejestr zrodlaRejestr()
    {
        auto reszta = [&] {
            dm->TZrodlaPozwoleniezData->setAsString(QStringLiteral("OS 1/2008 Starosta"));
            dm->TZrodlaTerminObowiazywania->setAsDateTime(QDate(2015, 12, 31));
        };
        cztery(dm->TZrodla, dm->TZrodlaRodzajInstalacji, {"Kotłownia", "Lakiernia", "Spawalnia", "Suszarnia"}, reszta);
        return {"zrodla", [&] { return zrodla->Pokaz(0); }, zrodla->DBGrid1, zrodla->DBNavigator1, zrodla->BitBtn1,
                dm->TZrodla, dm->TZrodlaRodzajInstalacji, 0, zrodla->findChild<QLineEdit*>(QStringLiteral("DBEdit1")),
                reszta};
    }
};

TEST_F(Siatki, PlacesOfUseAClickAfterAnEmptyNewRowTypesIntoTheRowClickedAndCancelDropsTheText)
{
    kliknijZaDopisaniem(miejscaUzytkowania(), QStringLiteral("Zajezdnia"));
}

TEST_F(Siatki, RefuellingPlacesAClickAfterAnEmptyNewRowTypesIntoTheRowClickedAndCancelDropsTheText)
{
    kliknijZaDopisaniem(miejscaTankowania(), QStringLiteral("Statoil Kielce"));
}

TEST_F(Siatki, MileageAClickAfterAnEmptyNewRowTypesIntoTheRowClickedAndCancelDropsTheText)
{
    kliknijZaDopisaniem(przebiegi(), QStringLiteral("4500"));
}

TEST_F(Siatki, CommunesAClickAfterAnEmptyNewRowTypesIntoTheRowClickedAndCancelDropsTheText)
{
    kliknijZaDopisaniem(gminyRejestr(), QStringLiteral("Zakopane"));
}

TEST_F(Siatki, SubstancesAClickAfterAnEmptyNewRowTypesIntoTheRowClickedAndCancelDropsTheText)
{
    kliknijZaDopisaniem(substancjeRejestr(), QStringLiteral("Toluen"));
}

TEST_F(Siatki, SourcesAClickAfterAnEmptyNewRowTypesIntoTheRowClickedAndCancelDropsTheText)
{
    kliknijZaDopisaniem(zrodlaRejestr(), QStringLiteral("Warsztat"));
}

// ------------------------------------------------------------------ moving off a changed record

TEST_F(Siatki, PlacesOfUseAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    przejsciaZapisuja(miejscaUzytkowania(), QStringLiteral("Zuraw"));
}

TEST_F(Siatki, RefuellingPlacesAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    przejsciaZapisuja(miejscaTankowania(), QStringLiteral("Orlen Sacz"),
                      {QStringLiteral("BP Radom"), QStringLiteral("BP Kielce"), QStringLiteral("BP Opole")});
}

TEST_F(Siatki, MileageAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    przejsciaZapisuja(przebiegi(), QStringLiteral("5000"),
                      {QStringLiteral("2100"), QStringLiteral("2200"), QStringLiteral("2300")});
}

TEST_F(Siatki, CommunesAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    przejsciaZapisuja(gminyRejestr(), QStringLiteral("Zywiec"),
                      {QStringLiteral("Krakow 1"), QStringLiteral("Krakow 2"), QStringLiteral("Krakow 3")});
}

TEST_F(Siatki, SubstancesAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    przejsciaZapisuja(substancjeRejestr(), QStringLiteral("Wodor"));
}

TEST_F(Siatki, SourcesAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    przejsciaZapisuja(zrodlaRejestr(), QStringLiteral("Wedzarnia"));
}

TEST_F(Siatki, BoilersAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    auto reszta = [&] {
        dm->TKotlyRodzajKotla->setAsString(QStringLiteral("111"));
        dm->TKotlyIlosc->setAsInteger(1);
    };
    cztery(dm->TKotly, dm->TKotlyOpisKotla, {"Kotlownia A", "Kotlownia B", "Kotlownia C", "Kotlownia D"}, reszta);
    przejsciaZapisuja({"kotly", [&] { return kotly->Pokaz(0); }, kotly->DBGrid1, kotly->DBNavigator1, kotly->BitBtn1,
                       dm->TKotly, dm->TKotlyOpisKotla, 2, kotly->findChild<QLineEdit*>(QStringLiteral("DBEdit2")),
                       reszta},
                      QStringLiteral("Kotlownia F"));
}

TEST_F(Siatki, RepairsAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    int miesiac = 1;
    cztery(dm->TPrzegl, dm->TPrzeglNrFaktury, {"FV 1/2009", "FV 2/2009", "FV 3/2009", "FV 4/2009"},
           [&] { dm->TPrzeglData->setAsDateTime(QDate(2009, miesiac++, 10)); });
    przejsciaZapisuja({"naprawy", [&] { return naprawy->Pokaz(); }, naprawy->DBGrid1, naprawy->DBNavigator1,
                       naprawy->BitBtn1, dm->TPrzegl, dm->TPrzeglNrFaktury, 1,
                       naprawy->findChild<QLineEdit*>(QStringLiteral("DBEdit2")),
                       [&] { dm->TPrzeglData->setAsDateTime(QDate(2009, 5, 10)); }},
                      QStringLiteral("FV 10/2009"));
}

TEST_F(Siatki, CommunesOfTableCAMoveOffAChangedRecordSavesItWithoutAQuestion)
{
    TFGminaDoTabeliC gminyC;
    kal::TField* nazwa = dm->TTabelaC->FieldByName(QStringLiteral("NazwaGminy"));
    cztery(dm->TTabelaC, nazwa, {"Bochnia", "Kraków", "Tarnów", "Wieliczka"});
    przejsciaZapisuja({"gminy tabeli C", [&] { return gminyC.Pokaz(); }, gminyC.DBGrid1, gminyC.DBNavigator1,
                       gminyC.BitBtn1, dm->TTabelaC, nazwa},
                      QStringLiteral("Zywiec"),
                      {QStringLiteral("Krakow 1"), QStringLiteral("Krakow 2"), QStringLiteral("Krakow 3")});
}

// "refresh" of the navigator reads the table again: a changed place is
// saved first, without a question. A name typed and dropped by Esc leaves
// the place as stored, and the next refresh and the close ask nothing.
TEST_F(Siatki, PlacesOfUseRefreshSavesAChangedRecordAndAfterEscAsksNothing)
{
    const Rejestr r = miejscaUzytkowania();
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kliknijWiersz(r.siatka, 2);
        wpisz(r, QStringLiteral("Sklad"));
        kliknij(r.nawigator, kal::nbRefresh);
        EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
        EXPECT_EQ(r.pole->AsString(), "Sklad");
        kliknijWiersz(r.siatka, 1);
        wpisz(r, QStringLiteral("Hala"));
        QTest::keyClick(fokus(), Qt::Key_Escape);
        EXPECT_FALSE(r.siatka->EditorMode());
        EXPECT_EQ(r.siatka->cellText(1, 0), "Magazyn");
        kliknij(r.nawigator, kal::nbRefresh);
        kliknijWiersz(r.siatka, 3);
        EXPECT_EQ(r.tabela->State(), kal::dsBrowse);
        r.zamknij->click();
    });
    r.pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(zapisane(r.tabela, r.pole), (QStringList{"Baza", "Magazyn", "Sklad", "Warsztat"}));
}

// The vehicle register, typed into its panel: the make of Fiat changed and a
// click on Star: saved, Star is current; Opel's make changed and "next":
// saved, Star is current. A new vehicle typed whole and a click on Fiat: it
// is saved and Fiat is current. Nothing asks.
TEST_F(Siatki, VehicleRegisterAMoveOffAChangedVehicleSavesItWithoutAQuestion)
{
    pojazd(QStringLiteral("KR 1"), QStringLiteral("Fiat"));
    pojazd(QStringLiteral("KR 2"), QStringLiteral("Opel"));
    pojazd(QStringLiteral("KR 3"), QStringLiteral("Star"));
    auto wpiszPole = [](QLineEdit* pole, const QString& tekst) {
        QTest::mouseClick(pole, Qt::LeftButton);
        pole->selectAll();
        QTest::keyClicks(pole, tekst);
    };
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kal::TDBGrid* g = pojazdy->DBGrid1;
        kliknijWiersz(g, 0);
        wpiszPole(pojazdy->DBEdit1, QStringLiteral("Fiat Panda"));
        kliknijWiersz(g, 2);
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Star");
        EXPECT_EQ(g->currentIndex().row(), 2);
        kliknijWiersz(g, 1);
        wpiszPole(pojazdy->DBEdit1, QStringLiteral("Opel Astra"));
        kliknij(pojazdy->DBNavigator1, kal::nbNext);
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Star");
        EXPECT_EQ(g->currentIndex().row(), 2);
        kliknij(pojazdy->DBNavigator1, kal::nbInsert);
        wpiszPole(pojazdy->DBEdit1, QStringLiteral("Volvo"));
        wpiszPole(pojazdy->DBEdit2, QStringLiteral("KR 4"));
        kliknijWiersz(g, 0);
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        EXPECT_EQ(dm->TPojazdyMarka->AsString(), "Fiat Panda");
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyMarka), (QStringList{"Fiat Panda", "Opel Astra", "Star", "Volvo"}));
}

// The fuel window: the quantity of the 15 March record changed and a click
// on the 17 March record: saved. A new record with only its quantity typed
// and a click on the first row: the table refuses a record without a
// vehicle, its message shows and the new record stays current with what was
// typed; "✘" drops it, and a click makes the record clicked current.
TEST_F(Siatki, FuelUseAMoveOffAChangedRecordSavesItOrShowsWhyNot)
{
    const int id = pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    for (int dzien : {15, 16, 17})
        tankowanie(id, dzien);
    auto* ilosc = zuzycie->findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    ASSERT_NE(ilosc, nullptr);
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kal::TDBGrid* g = zuzycie->DBGrid1;
        kliknijWiersz(g, 0);
        QTest::mouseClick(ilosc, Qt::LeftButton);
        ilosc->selectAll();
        QTest::keyClicks(ilosc, QStringLiteral("55"));
        kliknijWiersz(g, 2);
        EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
        EXPECT_EQ(dm->TZuzycieDataTankowania->AsDateTime(), QDate(2009, 3, 17));
        kliknij(zuzycie->DBNavigator1, kal::nbInsert);
        QTest::mouseClick(ilosc, Qt::LeftButton);
        QTest::keyClicks(ilosc, QStringLiteral("30"));
        kliknijWiersz(g, 0);
        EXPECT_EQ(dm->TZuzycie->State(), kal::dsInsert);
        EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 30.0);
        EXPECT_EQ(ilosc->text(), "30,00");
        kliknij(zuzycie->DBNavigator1, kal::nbCancel);
        kliknijWiersz(g, 0);
        EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
        EXPECT_EQ(dm->TZuzycieDataTankowania->AsDateTime(), QDate(2009, 3, 15));
        EXPECT_EQ(g->currentIndex().row(), 0);
        zuzycie->BitBtn1->click();
    });
    zuzycie->Pokaz();

    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, "Musisz wybrać pojazd !!!");
    EXPECT_EQ(zapisane(dm->TZuzycie, dm->TZuzycieIloscPaliwa), (QStringList{"55", "40", "40"}));
}

// ------------------------------------------------------------------ the record under the cell editor

// Typing as the user types into a grid: every key to the widget that has
// the keyboard (the first opens the cell editor, the rest go into it).
void pisz(const QString& tekst)
{
    for (const QChar c : tekst)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
}

// Where a grid's cell editor stands, and the text it shows (an invalid cell
// while no editor is open).
std::pair<QModelIndex, QString> edytorSiatki(kal::TDBGrid* g)
{
    auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!g->EditorMode() || !e || e->parentWidget() != g->viewport())
        return {};
    return {g->indexAt(e->geometry().center()), e->displayText()};
}

// The stored rows of a table: its fields' texts, one line a row.
QStringList wiersze(kal::TTable* t, std::initializer_list<kal::TField*> pola)
{
    QStringList wynik;
    t->Refresh();
    for (t->First(); !t->Eof(); t->Next()) {
        QStringList teksty;
        for (kal::TField* f : pola)
            teksty << f->DisplayText();
        wynik << teksty.join(QStringLiteral(" / "));
    }
    return wynik;
}

// A vehicle's mileage with the entries 2016-08-02 / 245600 and 2016-11-23 /
// 251900; the grid shows them in date order, the first current.
// With "+": a new row above 08-02; 2016-12-31, Tab, 253400, Tab.
// Without: 08-02's date changed to 2016-12-01 (now after 11-23), Tab, Tab.
// Either way the entry typed is saved without a question and goes to its
// place at the end, and Tab goes on past it as in the table: into a new row
// after it, where the cell editor stands with the date's empty mask and the
// row marker. There
// 2016-11-24 and "✔" add an entry; every other entry stays as typed.
TEST_F(Siatki, MileageTabPastAnEntrySavedToTheEndTypesIntoANewEntry)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    struct Przypadek {
        bool plus;
        const char* data;
        QStringList po;
    };
    const Przypadek przypadki[] = {
        {true, "2016-12-31",
         {"2016-08-02 / 245600", "2016-11-23 / 251900", "2016-11-24 / ", "2016-12-31 / 253400"}},
        {false, "2016-12-01", {"2016-11-23 / 251900", "2016-11-24 / ", "2016-12-01 / 245600"}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.plus ? "+" : "zmiana daty");
        dm->TPrzebieg->First();
        while (!dm->TPrzebieg->IsEmpty())
            dm->TPrzebieg->Delete();
        for (auto [data, km] : {std::pair{QDate(2016, 8, 2), 245600}, std::pair{QDate(2016, 11, 23), 251900}}) {
            dm->TPrzebieg->Insert();
            dm->TPrzebiegData->setAsDateTime(data);
            dm->TPrzebiegIloscKilometrow->setAsInteger(km);
            dm->TPrzebieg->Post();
        }
        dm->TPrzebieg->First();
        dialogi.clear();
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            kal::TDBGrid* g = przebieg->DBGrid1;
            kliknijWiersz(g, 0);
            if (p.plus)
                kliknij(przebieg->DBNavigator1, kal::nbInsert);
            pisz(QString::fromLatin1(p.data));
            QTest::keyClick(fokus(), Qt::Key_Tab);
            if (p.plus)
                pisz(QStringLiteral("253400"));
            QTest::keyClick(fokus(), Qt::Key_Tab);
            const int nowy = int(p.po.size()) - 1;
            EXPECT_EQ(dm->TPrzebieg->State(), kal::dsInsert);
            EXPECT_EQ(edytorSiatki(g), std::pair(g->model()->index(nowy, 0), QStringLiteral("____-__-__")));
            EXPECT_EQ(g->model()->headerData(nowy, Qt::Vertical).toString(), "*");
            pisz(QStringLiteral("2016-11-24"));
            kliknij(przebieg->DBNavigator1, kal::nbPost);
            przebieg->BitBtn1->click();
        });
        przebieg->Pokaz();
        EXPECT_TRUE(dialogi.boxes().empty());
        EXPECT_EQ(wiersze(dm->TPrzebieg, {dm->TPrzebiegData, dm->TPrzebiegIloscKilometrow}), p.po);
    }
}

// Insert, a new name typed and saved by the move off it, then a name typed
// again, and "✔", in two more grids that edit in place:
// - the communes of table C: "+" on Kraków, Zakopane, Tab (saved, it goes
//   last; Tab goes on into a new row after it), Andrychow, "✔";
// - the places of use: "+" on Magazyn, Zajezdnia, a double click on the row
//   that shows Oddział (the first click saves Zajezdnia, which goes last,
//   and Oddział moves up a row): the cell editor opens on Oddział, the
//   record current, whose name Sklad replaces.
// Every stored row is as typed into the record the cell editor showed.
TEST_F(Siatki, AfterANewRecordIsSavedTheCellEditorStandsOnTheRecordTypedInto)
{
    TFGminaDoTabeliC gminyC;
    kal::TField* nazwaC = dm->TTabelaC->FieldByName(QStringLiteral("NazwaGminy"));
    cztery(dm->TTabelaC, nazwaC, {"Bochnia", "Kraków", "Tarnów", "Wieliczka"});
    const Rejestr miejsca = miejscaUzytkowania();
    struct Przypadek {
        Rejestr r;
        std::function<void()> ruch;
        int wiersz;
        QString pokazuje;
        QString tekst;
        QStringList po;
    };
    const Przypadek przypadki[] = {
        {{"gminy tabeli C", [&] { return gminyC.Pokaz(); }, gminyC.DBGrid1, gminyC.DBNavigator1, gminyC.BitBtn1,
          dm->TTabelaC, nazwaC},
         [] { QTest::keyClick(fokus(), Qt::Key_Tab); }, 5, QString(), QStringLiteral("Andrychow"),
         {"Andrychow", "Bochnia", "Kraków", "Tarnów", "Wieliczka", "Zakopane"}},
        {miejsca,
         [&] {
             // A double click: a click, then the second press.
             const QPoint tu = miejsca.siatka->visualRect(miejsca.siatka->model()->index(3, 0)).center();
             QTest::mouseClick(miejsca.siatka->viewport(), Qt::LeftButton, {}, tu);
             QTest::mouseDClick(miejsca.siatka->viewport(), Qt::LeftButton, {}, tu);
             if (auto* e = qobject_cast<QLineEdit*>(fokus()))
                 e->selectAll();
         },
         2, QStringLiteral("Oddział"), QStringLiteral("Sklad"), {"Baza", "Magazyn", "Sklad", "Warsztat", "Zajezdnia"}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.r.nazwa);
        dialogi.clear();
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            kliknijWiersz(p.r.siatka, 1);
            kliknij(p.r.nawigator, kal::nbInsert);
            pisz(p.r.tabela == dm->TTabelaC ? QStringLiteral("Zakopane") : QStringLiteral("Zajezdnia"));
            p.ruch();
            EXPECT_EQ(edytorSiatki(p.r.siatka), std::pair(p.r.siatka->model()->index(p.wiersz, 0), p.pokazuje));
            EXPECT_EQ(p.r.siatka->currentIndex().row(), p.wiersz);
            EXPECT_EQ(p.r.tabela->GridRowOfCurrent(), p.wiersz);
            QTest::keyClicks(fokus(), p.tekst);
            kliknij(p.r.nawigator, kal::nbPost);
            p.r.zamknij->click();
        });
        p.r.pokaz();
        EXPECT_TRUE(dialogi.boxes().empty());
        EXPECT_EQ(zapisane(p.r.tabela, p.r.pole), p.po);
    }
}

// The density register has no "+": a density typed into the grid and
// cancelled with "✘" stays as it was through the next move and the close.
TEST_F(Siatki, DensityTypedAndCancelledIsNotSavedByTheNextMoveOrTheClose)
{
    const QStringList przed = zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc);
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kliknijWiersz(gestosci->DBGrid1, 1);
        wpisz({"gęstości", {}, gestosci->DBGrid1, gestosci->DBNavigator1, gestosci->BitBtn1, dm->TTabelaGest,
               dm->TTabelaGestGestosc, 2},
              QStringLiteral("0,9"));
        EXPECT_EQ(dm->TTabelaGest->State(), kal::dsEdit);
        kliknij(gestosci->DBNavigator1, kal::nbCancel);
        EXPECT_FALSE(gestosci->DBGrid1->EditorMode());
        kliknijWiersz(gestosci->DBGrid1, 3);
        gestosci->BitBtn1->click();
    });
    gestosci->Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc), przed);
}

// The fixture's dialog seam with boxes that take the keyboard from the
// window while they show, as real message boxes do.
class SkrzynkiZFokusem final : public kal::IDialogs {
public:
    explicit SkrzynkiZFokusem(ScriptedDialogs& zapis) : m_zapis(zapis) { kal::SetDialogs(this); }
    ~SkrzynkiZFokusem() override { kal::SetDialogs(&m_zapis); }
    SkrzynkiZFokusem(const SkrzynkiZFokusem&) = delete;
    SkrzynkiZFokusem& operator=(const SkrzynkiZFokusem&) = delete;

    kal::MsgButton messageBox(const QString& tekst, const QString& naglowek, unsigned przyciski,
                              kal::MsgIcon ikona) override
    {
        zabierzFokus();
        return m_zapis.messageBox(tekst, naglowek, przyciski, ikona);
    }
    void errorBox(const QString& tekst) override
    {
        zabierzFokus();
        m_zapis.errorBox(tekst);
    }
    QString openFileName(kal::FileDialogRequest& r) override { return m_zapis.openFileName(r); }
    QString saveFileName(kal::FileDialogRequest& r) override { return m_zapis.saveFileName(r); }
    bool printerDialog(QPrinter* p, QWidget* w) override { return m_zapis.printerDialog(p, w); }
    int execModal(QWidget* w) override { return m_zapis.execModal(w); }

private:
    static void zabierzFokus()
    {
        QWidget* okno = QApplication::activeWindow();
        {
            QWidget skrzynka;
            skrzynka.show();
            QApplication::setActiveWindow(&skrzynka);
            skrzynka.setFocus();
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(okno);
    }
    ScriptedDialogs& m_zapis;
};

// The density grid and a text its field refuses: "abc" typed into the
// density of the first fuel and Enter: "Wprowadzona wartość nie jest liczbą !!!",
// and the text stays in its cell editor. Closing the window saves the
// density first: that is refused, said once, and the window stays open.
// Then "✘", or Esc, drops the text, the cell shows the stored density again,
// and the window closes. Nothing is stored. The same when the window is
// closed by a click on "Zamknij": the refusal gives the keyboard back to the
// refused text, so that Esc drops it instead of closing again.
TEST_F(Siatki, DensityARefusedTextIsSaidOnceAndDroppedByCancelOrEsc)
{
    const QStringList przed = zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc);
    const QString odmowa = QStringLiteral("Wprowadzona wartość nie jest liczbą !!!\n"
                                          "Część dziesiętną oddziela się przecinkiem (np. 2,5), nie kropką.");
    enum Droga { Anuluj, Esc, ZamknijIEsc };
    for (const Droga droga : {Anuluj, Esc, ZamknijIEsc}) {
        SCOPED_TRACE(droga);
        const bool esc = droga != Anuluj;
        dialogi.clear();
        SkrzynkiZFokusem skrzynki(dialogi);
        przyPokazie([&](QWidget* okno) {
            QApplication::setActiveWindow(okno);
            ASSERT_TRUE(QTest::qWaitForWindowActive(okno));
            kal::TDBGrid* g = gestosci->DBGrid1;
            kliknijWiersz(g, 0);
            g->setCurrentIndex(g->model()->index(0, 2));
            const QString zapisana = g->cellText(0, 2);
            pisz(QStringLiteral("abc"));
            QTest::keyClick(fokus(), Qt::Key_Return);
            QCoreApplication::processEvents(); // the editor commits after the key
            EXPECT_EQ(dialogi.texts(), QStringList{odmowa});
            EXPECT_EQ(edytorSiatki(g), std::pair(g->model()->index(0, 2), QStringLiteral("abc")));
            if (droga == ZamknijIEsc)
                QTest::mouseClick(gestosci->BitBtn1, Qt::LeftButton);
            else
                okno->close();
            EXPECT_TRUE(okno->isVisible());
            EXPECT_EQ(dialogi.texts(), (QStringList{odmowa, odmowa}));
            EXPECT_EQ(edytorSiatki(g), std::pair(g->model()->index(0, 2), QStringLiteral("abc")));
            if (esc)
                QTest::keyClick(fokus(), Qt::Key_Escape);
            else
                kliknij(gestosci->DBNavigator1, kal::nbCancel);
            EXPECT_FALSE(g->EditorMode());
            EXPECT_EQ(g->cellText(0, 2), zapisana);
            okno->close();
            EXPECT_FALSE(okno->isVisible());
        });
        gestosci->Pokaz();
        EXPECT_EQ(dialogi.texts(), (QStringList{odmowa, odmowa}));
    }
    EXPECT_EQ(zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc), przed);
}

// ------------------------------------------------------------------ Enter and Tab

// Enter as the program's input hook sees it: in an edit it acts as Tab.
void enter(QWidget* w)
{
    QKeyEvent klawisz(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    if (!kal::ObslugaKomunikatow(w, &klawisz))
        QApplication::sendEvent(w, &klawisz);
}

// A repair of a vehicle typed in from the keyboard alone: "+", a click into
// "Data" (to the right of its empty mask), then the date; Enter to "Numer
// Faktury", the invoice number; Enter to "Wartość", 1234,56; Enter to
// "Opis", the description; Enter to "Zakres robót:", a line; Tab to
// "Zakupione części:", a line; Tab to "Data następnego przeglądu:", the
// date; Enter to "Przebieg:", 120000; "✔". Every text is stored in its own
// field.
TEST_F(Siatki, RepairsAreTypedFieldAfterFieldInTheOrderTheyStandOnScreen)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"), QStringLiteral("7"));
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kal::TDBEdit* data = naprawy->DBEdit1;
        auto pole = [&](const char* nazwa) { return naprawy->findChild<QWidget*>(QString::fromLatin1(nazwa)); };
        kliknij(naprawy->DBNavigator1, kal::nbInsert);
        QTest::mouseClick(data, Qt::LeftButton, {}, QPoint(data->width() - 4, data->height() / 2));
        QTest::keyClicks(fokus(), QStringLiteral("20090315"));
        enter(fokus());
        EXPECT_EQ(fokus(), pole("DBEdit2"));
        QTest::keyClicks(fokus(), QStringLiteral("FV 12/2009"));
        enter(fokus());
        EXPECT_EQ(fokus(), pole("DBEdit3"));
        QTest::keyClicks(fokus(), QStringLiteral("1234,56"));
        enter(fokus());
        EXPECT_EQ(fokus(), pole("DBEdit4"));
        QTest::keyClicks(fokus(), QStringLiteral("Przeglad okresowy"));
        enter(fokus());
        EXPECT_EQ(fokus(), naprawy->DBMemo1);
        QTest::keyClicks(fokus(), QStringLiteral("Wymiana oleju"));
        QTest::keyClick(fokus(), Qt::Key_Tab);
        EXPECT_EQ(fokus(), naprawy->DBMemo2);
        QTest::keyClicks(fokus(), QStringLiteral("Filtr oleju"));
        QTest::keyClick(fokus(), Qt::Key_Tab);
        EXPECT_EQ(fokus(), pole("DBEdit5"));
        QTest::keyClicks(fokus(), QStringLiteral("20091015"));
        enter(fokus());
        EXPECT_EQ(fokus(), pole("DBEdit6"));
        QTest::keyClicks(fokus(), QStringLiteral("120000"));
        kliknij(naprawy->DBNavigator1, kal::nbPost);
        naprawy->BitBtn1->click();
    });
    naprawy->Pokaz();

    EXPECT_TRUE(dialogi.boxes().empty());
    ASSERT_EQ(dm->TPrzegl->RecordCount(), 1);
    dm->TPrzegl->First();
    EXPECT_EQ(dm->TPrzeglData->AsDateTime(), QDate(2009, 3, 15));
    EXPECT_EQ(dm->TPrzeglNrFaktury->AsString(), "FV 12/2009");
    EXPECT_DOUBLE_EQ(dm->TPrzeglWartosc->AsFloat(), 1234.56);
    EXPECT_EQ(dm->TPrzeglOpis->AsString(), "Przeglad okresowy");
    EXPECT_EQ(dm->TPrzeglZakresRobot->AsString(), "Wymiana oleju");
    EXPECT_EQ(dm->TPrzeglZakupioneCzesci->AsString(), "Filtr oleju");
    EXPECT_EQ(dm->TPrzeglDataNastepnegoPrzegladu->AsDateTime(), QDate(2009, 10, 15));
    EXPECT_DOUBLE_EQ(dm->TPrzeglIloscKm->AsFloat(), 120000.0);
}

// Every register window as it shows: starting from the field nearest the
// top left corner, Tab visits every field (a control that takes typing or a
// choice; buttons are not fields) once, each below the one before or to its
// right on the same line.
TEST_F(Siatki, TabWalksTheFieldsOfEveryRegisterInTheirOrderOnScreen)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    std::vector<Okno> okna = oknaRejestrow();
    okna.push_back({"firma", [&] { return firma->Pokaz(0); }, firma->BitBtn2});
    auto jestPolem = [](const QWidget* w) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled())
            return false;
        if (qobject_cast<const QAbstractButton*>(w))
            return qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w);
        return true;
    };
    for (const Okno& o : okna) {
        SCOPED_TRACE(o.nazwa);
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            QList<QWidget*> pola;
            for (QWidget* w : okno->findChildren<QWidget*>())
                if (jestPolem(w))
                    pola << w;
            ASSERT_GE(pola.size(), 1);
            auto miejsce = [&](const QWidget* w) { return QRect(w->mapTo(okno, QPoint(0, 0)), w->size()); };
            QWidget* pierwsze = *std::min_element(pola.begin(), pola.end(), [&](QWidget* a, QWidget* b) {
                const QRect ra = miejsce(a), rb = miejsce(b);
                return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
            });
            pierwsze->setFocus(Qt::TabFocusReason);
            QList<QWidget*> odwiedzone{pierwsze};
            for (int i = 0; i < 200; ++i) {
                QTest::keyClick(fokus(), Qt::Key_Tab);
                if (fokus() == pierwsze)
                    break;
                if (jestPolem(fokus()) && !odwiedzone.contains(fokus()))
                    odwiedzone << fokus();
            }
            EXPECT_EQ(odwiedzone.size(), pola.size());
            for (qsizetype i = 1; i < odwiedzone.size(); ++i) {
                const QRect a = miejsce(odwiedzone[i - 1]), b = miejsce(odwiedzone[i]);
                const bool nizej = b.top() >= a.bottom() - 2;
                const bool wPrawo = b.top() < a.bottom() && b.bottom() > a.top() && b.left() >= a.right() - 2;
                EXPECT_TRUE(nizej || wPrawo) << odwiedzone[i - 1]->objectName().toStdString() << " -> "
                                             << odwiedzone[i]->objectName().toStdString();
            }
            o.zamknij->click();
        });
        o.pokaz();
    }
}

// ------------------------------------------------------------------ numbers

// A repair's "Wartość" typed as 1.234,56 (a dot and a comma): "✔" shows the
// error "Wprowadzona wartość nie jest liczbą !!!" naming the field, nothing
// is saved and the text stays in the edit for mending. Typed again as
// 1234,56 it is saved as 1 234,56.
TEST_F(Siatki, ARepairValueThatIsNotANumberIsRefusedNotSavedAsZero)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"), QStringLiteral("7"));
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        auto* wartosc = naprawy->findChild<QLineEdit*>(QStringLiteral("DBEdit3"));
        ASSERT_NE(wartosc, nullptr);
        kliknij(naprawy->DBNavigator1, kal::nbInsert);
        QTest::mouseClick(naprawy->DBEdit1, Qt::LeftButton);
        QTest::keyClicks(naprawy->DBEdit1, QStringLiteral("20090315"));
        QTest::mouseClick(wartosc, Qt::LeftButton);
        QTest::keyClicks(wartosc, QStringLiteral("1.234,56"));
        kliknij(naprawy->DBNavigator1, kal::nbPost);
        EXPECT_EQ(dm->TPrzegl->State(), kal::dsInsert);
        EXPECT_EQ(wartosc->text(), "1.234,56");
        ASSERT_EQ(dialogi.boxes().size(), 1u);
        EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
        EXPECT_EQ(dialogi.boxes()[0].text, "Pole \"Wartość\":\nWprowadzona wartość nie jest liczbą !!!\n"
                                           "Część dziesiętną oddziela się przecinkiem (np. 2,5), nie kropką.");
        wartosc->selectAll();
        QTest::keyClicks(wartosc, QStringLiteral("1234,56"));
        kliknij(naprawy->DBNavigator1, kal::nbPost);
        EXPECT_EQ(dm->TPrzegl->State(), kal::dsBrowse);
        naprawy->BitBtn1->click();
    });
    naprawy->Pokaz();
    EXPECT_EQ(dialogi.boxes().size(), 1u);
    ASSERT_EQ(dm->TPrzegl->RecordCount(), 1);
    dm->TPrzegl->First();
    EXPECT_DOUBLE_EQ(dm->TPrzeglWartosc->AsFloat(), 1234.56);
    EXPECT_EQ(dm->TPrzeglWartosc->DisplayText(), "1 234,56");
}

// ------------------------------------------------------------------ one value, one key

// A Fiat KR 12345 of kind 1 is in the register (kind 1 is a new vehicle's
// default). The user presses "+", picks "1 -samochód osobowy z
// katalizatorem" from the kind list (which keeps the item's first two
// characters, "1 "), types the make Fiat and the number KR 12345 and presses
// "✔": the post is refused with the vehicle table's duplicate message, and
// the register still holds one vehicle. Cancelled, the user enters an Opel
// the same way: its kind is stored as "1".
TEST_F(Siatki, AVehicleOfKindOnePickedFromTheListIsTheSameVehicleAsOneOfKindOne)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Fiat"));
    auto wpiszPojazd = [&](const QString& marka, const QString& numer) {
        kliknij(pojazdy->DBNavigator1, kal::nbInsert);
        kal::TDBComboBox* rodzaj = pojazdy->DBComboBox1;
        rodzaj->setFocus();
        rodzaj->showPopup();
        rodzaj->view()->setCurrentIndex(rodzaj->model()->index(0, 0));
        QTest::keyClick(rodzaj->view(), Qt::Key_Return);
        for (auto [pole, tekst] : {std::pair{pojazdy->DBEdit1, marka}, std::pair{pojazdy->DBEdit2, numer}}) {
            QTest::mouseClick(pole, Qt::LeftButton);
            QTest::keyClicks(pole, tekst);
        }
        kliknij(pojazdy->DBNavigator1, kal::nbPost);
    };
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        wpiszPojazd(QStringLiteral("Fiat"), QStringLiteral("KR 12345"));
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsInsert);
        EXPECT_EQ(dm->TPojazdyRodzajPojazdu->AsString(), "1");
        kliknij(pojazdy->DBNavigator1, kal::nbCancel);
        wpiszPojazd(QStringLiteral("Opel"), QStringLiteral("KR 54321"));
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_TRUE(dialogi.boxes()[0].text.startsWith(
        QStringLiteral("Dane pojazdu powtarzają się !!!\nDokładna specyfikacja błędu:\n")));
    EXPECT_EQ(dialogi.boxes()[0].caption, "Błąd komponentu: TPojazdy");
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyMarka), (QStringList{"Fiat", "Opel"}));
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyRodzajPojazdu), (QStringList{"1", "1"}));
}

} // namespace
} // namespace rejestr_test
