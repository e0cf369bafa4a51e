// The registers as the user works them from the keyboard, the keys going
// wherever the focus is: after "✔" the grid that edits in place keeps the
// keyboard, so the next new row takes what is typed; a read-only grid lets
// Tab go on to the next control and never moves its record by it; "+" in a
// register with an edit panel puts the focus on the panel's first field; a
// date column shows its dates whole; and the wheel turned over a closed list
// never changes its value.

#include "test_rejestr_wspolne.h"

#include "GminaTabC.h"

#include "platform/ui/DBComboBox.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBFieldLink.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/InputHook.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace rejestr_test {
namespace {

// Types `tekst` key by key into whatever has the focus, as the keyboard
// does (the first key may open a cell editor, which takes the next ones).
void pisz(const QString& tekst)
{
    for (QChar c : tekst) {
        QWidget* cel = QApplication::focusWidget();
        ASSERT_NE(cel, nullptr) << "no focus for " << QString(c).toStdString();
        const int klawisz = c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-')
                                ? int(c.toUpper().unicode())
                                : 0;
        QKeyEvent wcisniety(QEvent::KeyPress, klawisz, Qt::NoModifier, QString(c));
        QApplication::sendEvent(cel, &wcisniety);
        QKeyEvent puszczony(QEvent::KeyRelease, klawisz, Qt::NoModifier, QString(c));
        QWidget* teraz = QApplication::focusWidget();
        QApplication::sendEvent(teraz ? teraz : cel, &puszczony);
    }
}

void tab()
{
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// A click into the grid: on row `wiersz`, or into its empty part.
void kliknijSiatke(kal::TDBGrid* siatka, int wiersz = -1)
{
    QPoint gdzie(8, siatka->viewport()->height() - 8);
    if (wiersz >= 0)
        gdzie = siatka->visualRect(siatka->model()->index(wiersz, 0)).center();
    QTest::mouseClick(siatka->viewport(), Qt::LeftButton, {}, gdzie);
    ASSERT_EQ(QApplication::focusWidget(), siatka);
}

// True when `w` is `siatka` or its cell editor.
bool wSiatce(const QWidget* w, const kal::TDBGrid* siatka)
{
    return w && (w == siatka || siatka->isAncestorOf(w));
}

class Klawiatura : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        dialogi.clear();
        kal::InstallInputHook();
    }

    // "+", the texts typed cell after cell (Tab between them), "✔", twice:
    // after each "✔" the cell editor is closed and the grid has the
    // keyboard, so the second record's typing lands in its new row.
    void dwaRekordy(kal::TDBGrid* siatka, kal::TDBNavigator* nawigator, kal::TTable* tabela,
                    const QList<QStringList>& rekordy)
    {
        kliknijSiatke(siatka);
        for (const QStringList& komorki : rekordy) {
            SCOPED_TRACE(komorki.join(QLatin1Char('|')).toStdString());
            kliknij(nawigator, kal::nbInsert);
            ASSERT_EQ(tabela->State(), kal::dsInsert);
            EXPECT_TRUE(wSiatce(fokus(), siatka));
            for (qsizetype i = 0; i < komorki.size(); ++i) {
                if (i > 0)
                    tab();
                pisz(komorki[i]);
            }
            EXPECT_TRUE(siatka->EditorMode());
            kliknij(nawigator, kal::nbPost);
            EXPECT_EQ(tabela->State(), kal::dsBrowse);
            EXPECT_FALSE(siatka->EditorMode());
            EXPECT_EQ(fokus(), siatka);
        }
    }
};

// ------------------------------------------------------------------ typing after "✔"

// The places of use and the refuelling places: "+", a name, "✔", "+",
// another name, "✔": both are stored, without a message.
TEST_F(Klawiatura, PlacesTypedAfterAPostGoIntoTheNextNewRow)
{
    struct Miejsca {
        std::function<int()> pokaz;
        TOknoWyboru* okno;
        kal::TTable* tabela;
        kal::TField* nazwa;
        QStringList nazwy;
    };
    const Miejsca rejestry[] = {
        {[&] { return miejscaUz->Pokaz(0); }, miejscaUz.get(), dm->TMiejsceUz, dm->TMiejsceUzNazwa,
         {QStringLiteral("Baza Kraków"), QStringLiteral("Zajezdnia Łódź")}},
        {[&] { return miejscaTank->Pokaz(0); }, miejscaTank.get(), dm->TMiejscTank, dm->TMiejscTankNazwa,
         {QStringLiteral("Orlen Kraków"), QStringLiteral("BP Łódź")}},
    };
    for (const Miejsca& m : rejestry) {
        SCOPED_TRACE(m.okno->windowTitle().toStdString());
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            dwaRekordy(m.okno->DBGrid1, m.okno->DBNavigator1, m.tabela, {{m.nazwy[0]}, {m.nazwy[1]}});
            m.okno->BitBtn1->click();
        });
        m.pokaz();
        EXPECT_TRUE(dialogi.boxes().empty());
        EXPECT_EQ(zapisane(m.tabela, m.nazwa), m.nazwy);
    }
}

TEST_F(Klawiatura, MileageTypedAfterAPostGoesIntoTheNextNewRow)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        dwaRekordy(przebieg->DBGrid1, przebieg->DBNavigator1, dm->TPrzebieg,
                   {{QStringLiteral("2009-01-15"), QStringLiteral("1500")},
                    {QStringLiteral("2009-02-15"), QStringLiteral("2700")}});
        przebieg->BitBtn1->click();
    });
    przebieg->Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(zapisane(dm->TPrzebieg, dm->TPrzebiegData),
              (QStringList{QStringLiteral("2009-01-15"), QStringLiteral("2009-02-15")}));
    EXPECT_EQ(zapisane(dm->TPrzebieg, dm->TPrzebiegIloscKilometrow),
              (QStringList{QStringLiteral("1500"), QStringLiteral("2700")}));
}

// The commune list of table C: "Kraków" ✔, "+", "Łódź" ✔ gives two rows
// named so, and no row without a name.
TEST_F(Klawiatura, CommunesOfTableCTypedAfterAPostGoIntoTheNextNewRow)
{
    TFGminaDoTabeliC gminyC;
    kal::TField* nazwa = dm->TTabelaC->FieldByName(QStringLiteral("NazwaGminy"));
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        dwaRekordy(gminyC.DBGrid1, gminyC.DBNavigator1, dm->TTabelaC,
                   {{QStringLiteral("Kraków")}, {QStringLiteral("Łódź")}});
        gminyC.BitBtn1->click();
    });
    gminyC.Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(zapisane(dm->TTabelaC, nazwa), (QStringList{QStringLiteral("Kraków"), QStringLiteral("Łódź")}));
}

// The densities: a density typed and posted with "✔", Down, the next one
// typed and posted: both are stored.
TEST_F(Klawiatura, DensitiesTypedAfterAPostGoIntoTheNextRow)
{
    QStringList oczekiwane = zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc);
    ASSERT_GE(oczekiwane.size(), 3);
    oczekiwane[1] = QStringLiteral("0,71");
    oczekiwane[2] = QStringLiteral("0,73");
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kal::TDBGrid* siatka = gestosci->DBGrid1;
        kliknijSiatke(siatka, 1);
        siatka->setCurrentIndex(siatka->model()->index(1, 2));
        pisz(QStringLiteral("0,71"));
        kliknij(gestosci->DBNavigator1, kal::nbPost);
        EXPECT_FALSE(siatka->EditorMode());
        EXPECT_EQ(fokus(), siatka);
        QTest::keyClick(fokus(), Qt::Key_Down);
        pisz(QStringLiteral("0,73"));
        kliknij(gestosci->DBNavigator1, kal::nbPost);
        EXPECT_EQ(fokus(), siatka);
        gestosci->BitBtn1->click();
    });
    gestosci->Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(zapisane(dm->TTabelaGest, dm->TTabelaGestGestosc), oczekiwane);
}

// ------------------------------------------------------------------ Tab and "+"

// Repairs: the user clicks the grid, presses "+" and types the record from
// the keyboard: the date lands in "Data", Tab goes on to "Numer Faktury".
TEST_F(Klawiatura, RepairsAfterPlusTheDateIsTypedIntoDataAndTabGoesOn)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"), QStringLiteral("7"));
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kliknijSiatke(naprawy->DBGrid1);
        kliknij(naprawy->DBNavigator1, kal::nbInsert);
        EXPECT_EQ(fokus(), naprawy->DBEdit1);
        pisz(QStringLiteral("20090210"));
        tab();
        EXPECT_EQ(fokus(), naprawy->findChild<QWidget*>(QStringLiteral("DBEdit2")));
        pisz(QStringLiteral("FV 12/2009"));
        kliknij(naprawy->DBNavigator1, kal::nbPost);
        naprawy->BitBtn1->click();
    });
    naprawy->Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    ASSERT_EQ(dm->TPrzegl->RecordCount(), 1);
    dm->TPrzegl->First();
    EXPECT_EQ(dm->TPrzeglData->AsDateTime(), QDate(2009, 2, 10));
    EXPECT_EQ(dm->TPrzeglNrFaktury->AsString(), QStringLiteral("FV 12/2009"));
}

// Fuel use: a click on the record of 16 March and ten Tabs: the first Tab
// leaves the grid, and the record the panel shows is still that of 16 March.
TEST_F(Klawiatura, FuelUseTabLeavesTheGridAndKeepsTheRecord)
{
    const int id = pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    for (int dzien : {15, 16, 17})
        tankowanie(id, dzien);
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kliknijSiatke(zuzycie->DBGrid1, 1);
        ASSERT_EQ(dm->TZuzycieDataTankowania->AsDateTime(), QDate(2009, 3, 16));
        tab();
        EXPECT_NE(fokus(), zuzycie->DBGrid1);
        for (int i = 1; i < 10; ++i)
            tab();
        EXPECT_EQ(dm->TZuzycieDataTankowania->AsDateTime(), QDate(2009, 3, 16));
        EXPECT_EQ(dm->TZuzycie->State(), kal::dsBrowse);
        zuzycie->BitBtn1->click();
    });
    zuzycie->Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
}

// Every register whose grid is read-only and whose record is typed into an
// edit panel: "+" puts the focus on the panel's first field (the vehicle
// register on "Marka"), whether the grid had the focus or a field further
// down the panel.
TEST_F(Klawiatura, PlusPutsTheFocusOnThePanelsFirstField)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    struct Okno {
        const char* nazwa;
        std::function<int()> pokaz;
        kal::TDBGrid* siatka;
        kal::TDBNavigator* nawigator;
        QWidget* pierwsze;
        QPushButton* zamknij;
    };
    auto pole = [](QWidget* okno, const char* nazwa) { return okno->findChild<QWidget*>(QString::fromLatin1(nazwa)); };
    const Okno okna[] = {
        {"pojazdy", [&] { return pojazdy->Pokaz(0); }, pojazdy->DBGrid1, pojazdy->DBNavigator1, pojazdy->DBEdit1,
         pojazdy->BitBtn1},
        {"zuzycie", [&] { return zuzycie->Pokaz(); }, zuzycie->DBGrid1, zuzycie->DBNavigator1,
         zuzycie->DBLookupComboBox1, zuzycie->BitBtn1},
        {"naprawy", [&] { return naprawy->Pokaz(); }, naprawy->DBGrid1, naprawy->DBNavigator1, naprawy->DBEdit1,
         naprawy->BitBtn1},
        {"kotly", [&] { return kotly->Pokaz(0); }, kotly->DBGrid1, kotly->DBNavigator1,
         pole(kotly.get(), "DBComboBox1"), kotly->BitBtn1},
        {"gminy", [&] { return gminy->Pokaz(0); }, gminy->DBGrid1, gminy->DBNavigator1, pole(gminy.get(), "DBEdit1"),
         gminy->BitBtn1},
        {"substancje", [&] { return substancje->Pokaz(0); }, substancje->DBGrid1, substancje->DBNavigator1,
         pole(substancje.get(), "DBEdit1"), substancje->BitBtn1},
        {"zrodla", [&] { return zrodla->Pokaz(0); }, zrodla->DBGrid1, zrodla->DBNavigator1,
         pole(zrodla.get(), "DBEdit1"), zrodla->BitBtn1},
    };
    for (const Okno& o : okna) {
        SCOPED_TRACE(o.nazwa);
        ASSERT_NE(o.pierwsze, nullptr);
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            kliknijSiatke(o.siatka);
            kliknij(o.nawigator, kal::nbInsert);
            EXPECT_EQ(fokus(), o.pierwsze);
            kliknij(o.nawigator, kal::nbCancel);
            kal::TDBEdit* dalej = nullptr;
            for (kal::TDBEdit* e : okno->findChildren<kal::TDBEdit*>())
                if (e != o.pierwsze && e->isVisible())
                    dalej = e;
            ASSERT_NE(dalej, nullptr);
            QTest::mouseClick(dalej, Qt::LeftButton);
            ASSERT_EQ(fokus(), dalej);
            kliknij(o.nawigator, kal::nbInsert);
            EXPECT_EQ(fokus(), o.pierwsze);
            kliknij(o.nawigator, kal::nbCancel);
            o.zamknij->click();
        });
        o.pokaz();
    }
}

// ------------------------------------------------------------------ date columns

// Every date a grid shows is shown whole: its column is wider than the text.
TEST_F(Klawiatura, DateColumnsOfMileageAndRepairsShowTheirDatesWhole)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    for (int miesiac : {1, 8, 12}) {
        dm->TPrzebieg->Insert();
        dm->TPrzebiegData->setAsDateTime(QDate(2009, miesiac, 28));
        dm->TPrzebiegIloscKilometrow->setAsFloat(1000.0 * miesiac);
        dm->TPrzebieg->Post();
        dm->TPrzegl->Insert();
        dm->TPrzeglData->setAsDateTime(QDate(2008, miesiac, 28));
        dm->TPrzeglNrFaktury->setAsString(QStringLiteral("FV/%1").arg(miesiac));
        dm->TPrzegl->Post();
    }
    auto sprawdz = [](kal::TDBGrid* siatka) {
        ASSERT_EQ(siatka->model()->rowCount(), 3);
        const QFontMetrics fm = siatka->fontMetrics();
        for (int w = 0; w < 3; ++w) {
            const QString tekst = siatka->cellText(w, 0);
            EXPECT_EQ(tekst.size(), 10) << tekst.toStdString();
            // The text and the cell's margins (3 pixels each side) fit.
            EXPECT_GE(siatka->columnWidth(0), fm.horizontalAdvance(tekst) + 6) << tekst.toStdString();
        }
    };
    przyPokazie([&](QWidget*) {
        sprawdz(przebieg->DBGrid1);
        przebieg->BitBtn1->click();
    });
    przebieg->Pokaz();
    przyPokazie([&](QWidget*) {
        sprawdz(naprawy->DBGrid1);
        naprawy->BitBtn1->click();
    });
    naprawy->Pokaz();
}

// Mileage, its date typed into the grid as digits: "+", 20191231, Tab,
// 1500, "✔" stores 2019-12-31 without a message. A double click into that
// date shows it in its mask; 20191130 typed over it and "✔" store
// 2019-11-30.
TEST_F(Klawiatura, MileageDatesAreTypedIntoTheDateMaskOfTheGrid)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    auto edytor = [] { return qobject_cast<QLineEdit*>(fokus()); };
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kal::TDBGrid* g = przebieg->DBGrid1;
        kliknijSiatke(g);
        kliknij(przebieg->DBNavigator1, kal::nbInsert);
        pisz(QStringLiteral("20191231"));
        ASSERT_NE(edytor(), nullptr);
        EXPECT_EQ(edytor()->displayText(), "2019-12-31");
        tab();
        pisz(QStringLiteral("1500"));
        kliknij(przebieg->DBNavigator1, kal::nbPost);
        const QPoint data = g->visualRect(g->model()->index(0, 0)).center();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, data);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, data);
        ASSERT_NE(edytor(), nullptr);
        EXPECT_EQ(edytor()->displayText(), "2019-12-31");
        edytor()->selectAll();
        pisz(QStringLiteral("20191130"));
        EXPECT_EQ(edytor()->displayText(), "2019-11-30");
        kliknij(przebieg->DBNavigator1, kal::nbPost);
        przebieg->BitBtn1->click();
    });
    przebieg->Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(zapisane(dm->TPrzebieg, dm->TPrzebiegData), QStringList{"2019-11-30"});
    EXPECT_EQ(zapisane(dm->TPrzebieg, dm->TPrzebiegIloscKilometrow), QStringList{"1500"});
}

// ------------------------------------------------------------------ Esc

// Esc in the registers whose windows it does not close: it belongs to the
// grid or the field that has the keyboard. After a save the table refused,
// and after a new row the user never typed into, Esc drops the pending
// change: the window stays open, the stored values show again, nothing is
// asked, and "Zamknij" then closes without a question. Nothing is stored.
TEST_F(Klawiatura, EscDropsThePendingChangeAndTheRegisterStaysOpen)
{
    pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    for (const char* nazwa : {"Baza", "Magazyn", "Warsztat"})
        miejsce(dm->TMiejsceUz, dm->TMiejsceUzNazwa, dm->TMiejsceUzIdentyfiklator, QString::fromUtf8(nazwa));
    for (const char* nazwa : {"Orlen Kraków", "BP Tarnów"})
        miejsce(dm->TMiejscTank, dm->TMiejscTankNazwa, dm->TMiejscTankIdentyfikator, QString::fromUtf8(nazwa));
    for (const char* nazwa : {"Bochnia", "Kraków"}) {
        dm->TGminy->Insert();
        dm->TGminyNazwaGminy->setAsString(QString::fromUtf8(nazwa));
        dm->TGminy->Post();
    }
    dm->TKotly->Insert();
    dm->TKotlyRodzajKotla->setAsString(QStringLiteral("111"));
    dm->TKotlyIlosc->setAsInteger(1);
    dm->TKotlyOpisKotla->setAsString(QStringLiteral("Kotłownia A"));
    dm->TKotly->Post();
    for (int miesiac : {1, 2}) {
        dm->TPrzebieg->Insert();
        dm->TPrzebiegData->setAsDateTime(QDate(2009, miesiac, 10));
        dm->TPrzebiegIloscKilometrow->setAsFloat(1000.0 * miesiac);
        dm->TPrzebieg->Post();
    }
    auto pole = [](QWidget* okno, const char* nazwa) {
        return okno->findChild<QLineEdit*>(QString::fromLatin1(nazwa));
    };
    // Clears an edit of the panel and saves with "✔".
    auto wyczyscIZapisz = [](QLineEdit* edycja, kal::TDBNavigator* nawigator) {
        QTest::mouseClick(edycja, Qt::LeftButton);
        edycja->selectAll();
        QTest::keyClick(edycja, Qt::Key_Delete);
        kliknij(nawigator, kal::nbPost);
    };
    struct Przypadek {
        const char* nazwa;
        std::function<int()> pokaz;
        QPushButton* zamknij;
        kal::TTable* tabela;
        kal::TField* pole;
        std::function<void()> sekwencja;
        QString komunikat; // the first line of the refusal, if any
        QString zapisany = {}; // a record the sequence saved
    };
    const Przypadek przypadki[] = {
        {"miejsca uzytkowania: a name that repeats, Down", [&] { return miejscaUz->Pokaz(0); }, miejscaUz->BitBtn1,
         dm->TMiejsceUz, dm->TMiejsceUzNazwa,
         [&] {
             kliknijSiatke(miejscaUz->DBGrid1, 1);
             pisz(QStringLiteral("Baza"));
             QTest::keyClick(fokus(), Qt::Key_Down);
         },
         QStringLiteral("Nazwa miejsca użytkowania powtarza się !!!")},
        {"gminy: an empty name, ✔", [&] { return gminy->Pokaz(0); }, gminy->BitBtn1, dm->TGminy,
         dm->TGminyNazwaGminy, [&] { wyczyscIZapisz(pole(gminy.get(), "DBEdit1"), gminy->DBNavigator1); },
         QStringLiteral("Nazwa gminy nie może być pusta !!!")},
        {"kotly: an empty description, ✔", [&] { return kotly->Pokaz(0); }, kotly->BitBtn1, dm->TKotly,
         dm->TKotlyOpisKotla, [&] { wyczyscIZapisz(pole(kotly.get(), "DBEdit2"), kotly->DBNavigator1); },
         QStringLiteral("Musisz wprowadzić opis kotła !!!")},
        {"przebieg: an entry typed, Tab past it", [&] { return przebieg->Pokaz(); }, przebieg->BitBtn1,
         dm->TPrzebieg, dm->TPrzebiegData,
         [&] {
             kliknijSiatke(przebieg->DBGrid1, 1);
             kliknij(przebieg->DBNavigator1, kal::nbInsert);
             pisz(QStringLiteral("20090315"));
             tab();
             pisz(QStringLiteral("3000"));
             tab();
             EXPECT_EQ(dm->TPrzebieg->State(), kal::dsInsert);
             EXPECT_TRUE(przebieg->DBGrid1->EditorMode());
         },
         QString(), QStringLiteral("2009-03-15")},
        {"miejsca tankowania: Down on the last row", [&] { return miejscaTank->Pokaz(0); }, miejscaTank->BitBtn1,
         dm->TMiejscTank, dm->TMiejscTankNazwa,
         [&] {
             kliknijSiatke(miejscaTank->DBGrid1, 1);
             QTest::keyClick(fokus(), Qt::Key_Down);
             EXPECT_EQ(dm->TMiejscTank->State(), kal::dsInsert);
         },
         QString()},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        QStringList po = zapisane(p.tabela, p.pole);
        if (!p.zapisany.isEmpty())
            po << p.zapisany;
        dialogi.clear();
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            p.sekwencja();
            QTest::keyClick(fokus(), Qt::Key_Escape);
            EXPECT_TRUE(okno->isVisible());
            EXPECT_EQ(p.tabela->State(), kal::dsBrowse);
            for (auto* edycja : okno->findChildren<kal::TDBEdit*>())
                if (edycja->DataField() == p.pole->FieldName()) {
                    EXPECT_EQ(edycja->text(), p.pole->AsString());
                }
            p.zamknij->click();
            EXPECT_FALSE(okno->isVisible());
        });
        p.pokaz();
        QStringList komunikaty;
        for (const QString& t : dialogi.texts())
            komunikaty << t.section(QLatin1Char('\n'), 0, 0);
        EXPECT_EQ(komunikaty, p.komunikat.isEmpty() ? QStringList() : QStringList{p.komunikat});
        EXPECT_EQ(zapisane(p.tabela, p.pole), po);
    }
}

// ------------------------------------------------------------------ new rows

// The communes of table C: a new row that nothing was typed into, left by
// Insert, "+" or a click (after a click on the last commune: Tab then
// Insert, Down then Insert, Insert twice, "+" then Insert, Tab then "+",
// Insert then a click on the first commune), then Esc: no record without a
// name is stored, and the close asks nothing.
TEST_F(Klawiatura, CommunesOfTableCStoreNoRowThatNothingWasTypedInto)
{
    TFGminaDoTabeliC gminyC;
    kal::TField* nazwa = dm->TTabelaC->FieldByName(QStringLiteral("NazwaGminy"));
    for (const char* gmina : {"Bochnia", "Kraków"}) {
        dm->TTabelaC->Insert();
        nazwa->setAsString(QString::fromUtf8(gmina));
        dm->TTabelaC->Post();
    }
    const QStringList przed = zapisane(dm->TTabelaC, nazwa);
    kal::TDBGrid* g = gminyC.DBGrid1;
    auto klawisz = [&](Qt::Key k) { return [&, k] { QTest::keyClick(fokus(), k); }; };
    auto plus = [&] { kliknij(gminyC.DBNavigator1, kal::nbInsert); };
    const std::vector<std::function<void()>> sekwencje[] = {
        {klawisz(Qt::Key_Tab), klawisz(Qt::Key_Insert)},
        {klawisz(Qt::Key_Down), klawisz(Qt::Key_Insert)},
        {klawisz(Qt::Key_Insert), klawisz(Qt::Key_Insert)},
        {plus, klawisz(Qt::Key_Insert)},
        {klawisz(Qt::Key_Tab), plus},
        {klawisz(Qt::Key_Insert), [&] { kliknijSiatke(g, 0); }},
    };
    int nr = 0;
    for (const auto& sekwencja : sekwencje) {
        SCOPED_TRACE(++nr);
        dialogi.clear();
        przyPokazie([&](QWidget* okno) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
            kliknijSiatke(g, 1);
            for (const auto& krok : sekwencja)
                krok();
            EXPECT_EQ(g->model()->rowCount(), nr < 6 ? 3 : 2);
            QTest::keyClick(fokus(), Qt::Key_Escape);
            EXPECT_EQ(dm->TTabelaC->State(), kal::dsBrowse);
            gminyC.BitBtn1->click();
            EXPECT_FALSE(okno->isVisible());
        });
        gminyC.Pokaz();
        EXPECT_TRUE(dialogi.boxes().empty());
        EXPECT_EQ(zapisane(dm->TTabelaC, nazwa), przed);
    }
}

// A new commune typed into the panel's name edit and left with a navigator
// button, which does not take the keyboard (first, prior, next, last,
// refresh): the name still waits in the edit, and the move hands it over
// and saves the commune.
TEST_F(Klawiatura, ANewRecordTypedIntoThePanelIsSavedByANavigatorMove)
{
    QStringList oczekiwane;
    for (const char* gmina : {"Bochnia", "Kraków", "Tarnów"}) {
        dm->TGminy->Insert();
        dm->TGminyNazwaGminy->setAsString(QString::fromUtf8(gmina));
        dm->TGminy->Post();
        oczekiwane << QString::fromUtf8(gmina);
    }
    auto* edycja = gminy->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    ASSERT_NE(edycja, nullptr);
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        int nr = 0;
        for (kal::TNavigateBtn przycisk : {kal::nbFirst, kal::nbPrior, kal::nbNext, kal::nbLast, kal::nbRefresh}) {
            SCOPED_TRACE(przycisk);
            kliknijSiatke(gminy->DBGrid1, 1);
            kliknij(gminy->DBNavigator1, kal::nbInsert);
            ASSERT_EQ(fokus(), edycja);
            oczekiwane << QStringLiteral("Gmina %1").arg(++nr);
            pisz(oczekiwane.back());
            ASSERT_TRUE(gminy->DBNavigator1->Button(przycisk)->isEnabled());
            kliknij(gminy->DBNavigator1, przycisk);
            EXPECT_EQ(fokus(), edycja);
            EXPECT_EQ(dm->TGminy->State(), kal::dsBrowse);
        }
        gminy->BitBtn1->click();
    });
    gminy->Pokaz(0);
    EXPECT_TRUE(dialogi.boxes().empty());
    QStringList zapisaneGminy = zapisane(dm->TGminy, dm->TGminyNazwaGminy);
    zapisaneGminy.sort();
    oczekiwane.sort();
    EXPECT_EQ(zapisaneGminy, oczekiwane);
}

// ------------------------------------------------------------------ the wheel

void kolko(QWidget* cel, int delta = -120)
{
    const QPointF pos(cel->width() / 2.0, cel->height() / 2.0);
    QWheelEvent e(pos, cel->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(cel, &e);
}

// Fuel use: the user types the quantity of a saved record and turns the
// wheel over the closed fuel kind list and the closed vehicle and place
// lists; then the fuel kind list has the focus and the wheel passes over
// the others. No list changes, and the record is saved with its values.
TEST_F(Klawiatura, FuelUseTheWheelOverAClosedListChangesNothing)
{
    const int id = pojazd(QStringLiteral("KR 12345"), QStringLiteral("Star"));
    pojazd(QStringLiteral("KR 54321"), QStringLiteral("Jelcz"));
    const int orlen = miejsce(dm->TMiejscTank, dm->TMiejscTankNazwa, dm->TMiejscTankIdentyfikator,
                              QStringLiteral("Orlen Kraków"));
    miejsce(dm->TMiejscTank, dm->TMiejscTankNazwa, dm->TMiejscTankIdentyfikator, QStringLiteral("BP Tarnów"));
    ASSERT_TRUE(dm->UstawZbiorZuzycia());
    tankowanie(id, 16);
    dm->TZuzycie->Edit();
    dm->TZuzycieMiejsceTankowania->setAsInteger(orlen);
    dm->TZuzycie->Post();
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        QList<QComboBox*> listy{zuzycie->DBComboBox1, zuzycie->DBLookupComboBox1, zuzycie->DBLookupComboBox2};
        QStringList przed;
        for (QComboBox* l : listy)
            przed << l->currentText();
        auto* ilosc = zuzycie->findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
        QTest::mouseClick(ilosc, Qt::LeftButton);
        ilosc->selectAll();
        pisz(QStringLiteral("55"));
        for (QComboBox* l : listy) {
            kolko(l, -120);
            kolko(l, 120);
            kolko(l, -120);
        }
        zuzycie->DBComboBox1->setFocus();
        for (QComboBox* l : listy)
            kolko(l, -120);
        QStringList po;
        for (QComboBox* l : listy)
            po << l->currentText();
        EXPECT_EQ(po, przed);
        kliknij(zuzycie->DBNavigator1, kal::nbPost);
        zuzycie->BitBtn1->click();
    });
    zuzycie->Pokaz();
    EXPECT_TRUE(dialogi.boxes().empty());
    dm->TZuzycie->Refresh();
    dm->TZuzycie->First();
    EXPECT_EQ(dm->TZuzycieRodzajPaliwa->AsString(), QStringLiteral("5"));
    EXPECT_EQ(dm->TZuzycieIdentyfikatorPojazdu->AsInteger(), id);
    EXPECT_EQ(dm->TZuzycieMiejsceTankowania->AsInteger(), orlen);
    EXPECT_DOUBLE_EQ(dm->TZuzycieIloscPaliwa->AsFloat(), 55.0);
}

} // namespace
} // namespace rejestr_test
