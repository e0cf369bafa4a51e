// The table A windows with the dialog seam answering: the commune window's
// checks before the entry window, the entry window's posting order, printout,
// quantity sum and close questions, the quantity items window.

#include "Dane.h"
#include "Gminy.h"
#include "PozIlTabA.h"
#include "Schemat.h"
#include "Substancje.h"
#include "TabelaAGmina.h"
#include "WprowadzanieTabeliA.h"
#include "Zrodla.h"

#include "Clock.h"
#include "Dialogs.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

using kal::test::DialogCall;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;

namespace {

class TabelaA : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
        kal::SetTodayForTests(QDate(2009, 6, 12));
        dm = std::make_unique<TDM>();
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon"));
        dm->TFirma->Post();
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(2009);
        dm->TOkresPolrocze->setAsInteger(1);
        dm->TOkres->Post();

        dm->TGminy->Insert();
        dm->TGminyNazwaGminy->setAsString(QStringLiteral("Płock"));
        dm->TGminy->Post();
        idGminy = dm->TGminyIdentyfikatorGminy->AsInteger();
        dm->TGminy->Insert();
        dm->TGminyNazwaGminy->setAsString(QStringLiteral("Gostynin"));
        dm->TGminy->Post();
        idGminy2 = dm->TGminyIdentyfikatorGminy->AsInteger();
        dm->TZrodla->Insert();
        dm->TZrodlaRodzajInstalacji->setAsString(QStringLiteral("Kocioł"));
        dm->TZrodlaPozwoleniezData->setAsString(QStringLiteral("OS.1/2008"));
        dm->TZrodlaTerminObowiazywania->setAsDateTime(QDate(2012, 12, 31));
        dm->TZrodla->Post();
        idZrodla = dm->TZrodlaIdentyfikator->AsInteger();
        dm->TSubsatncje->Insert();
        dm->TSubsatncjeNazwaSubstancji->setAsString(QStringLiteral("Pył"));
        dm->TSubsatncjeKodSubstancji->setAsString(QStringLiteral("P1"));
        dm->TSubsatncjeJednostkowaStawka->setAsFloat(0.5);
        dm->TSubsatncje->Post();
        idSubstancji = dm->TSubsatncjeIdentyfikatorSubstancju->AsInteger();

        gminy = std::make_unique<TFGminy>();
        wprowadzanie = std::make_unique<TFWprowadzanieTabeliA>();
        pozycje = std::make_unique<TFPozycjeIlosci>();
        okno = std::make_unique<TFTabelaAGmina>();
        dialogi.onModal = [this](QWidget* w) -> int {
            auto it = wOknie.find(w);
            if (it != wOknie.end() && it->second)
                it->second();
            return 0;
        };
        WydrukTabeliA = nullptr;
    }
    void TearDown() override
    {
        WydrukTabeliA = nullptr;
        okno.reset();
        pozycje.reset();
        wprowadzanie.reset();
        gminy.reset();
        dm.reset();
        kal::SetTodayForTests(QDate());
        qputenv("TEMP", staryTemp);
    }

    void gmina(const QString& powiat = QStringLiteral("płocki"), bool druga = false)
    {
        dm->TTabelaAGmina->Insert();
        dm->TTabelaAGminaIdentyfikatorGminy->setAsInteger(druga ? idGminy2 : idGminy);
        dm->TTabelaAGminaPowiat->setAsString(powiat);
        dm->TTabelaAGmina->Post();
    }
    void zrodlo(double ilosc = 12.5)
    {
        dm->TTabelaAZrodla->Insert();
        dm->TTabelaAZrodlaIdentyfikatorZrodla->setAsInteger(idZrodla);
        dm->TTabelaAZrodlaNazwaSurowcow->setAsString(QStringLiteral("węgiel"));
        dm->TTabelaAZrodlaIlosc->setAsFloat(ilosc);
        dm->TTabelaAZrodla->Post();
    }
    void pozycja(double ilosc, double procent = 100, double gestosc = 1)
    {
        dm->TTabAPozWart->Insert();
        dm->TTabAPozWartData->setAsDateTime(QDate(2009, 3, 1).addDays(dzien++));
        dm->TTabAPozWartIlosc->setAsFloat(ilosc);
        dm->TTabAPozWartProcent->setAsFloat(procent);
        dm->TTabAPozWartGestosc->setAsFloat(gestosc);
        dm->TTabAPozWart->Post();
    }
    void substancja()
    {
        dm->TTabelaASubstancje->Insert();
        dm->TTabelaASubstancjeIdentyfikatorSubstancji->setAsInteger(idSubstancji);
        dm->TTabelaASubstancjeWskaznikEmisji->setAsFloat(0.333);
        dm->TTabelaASubstancjeJednostkowaStawka->setAsFloat(2.5);
        dm->TTabelaASubstancje->Post();
    }
    void paliwo()
    {
        dm->TTabelaAPaliwa->Insert();
        dm->TTabelaAPaliwaRodzajPaliwa->setAsString(QStringLiteral("węgiel kamienny"));
        dm->TTabelaAPaliwaZuzycie->setAsFloat(3);
        dm->TTabelaAPaliwa->Post();
    }
    std::vector<QWidget*> pokazane() const
    {
        std::vector<QWidget*> w;
        for (const DialogCall& c : dialogi.calls())
            if (c.kind == DialogCall::Modal)
                w.push_back(c.window);
        return w;
    }

    TestDir katalog;
    QTemporaryDir temp;
    QByteArray staryTemp;
    ScriptedDialogs dialogi;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TFGminy> gminy;
    std::unique_ptr<TFWprowadzanieTabeliA> wprowadzanie;
    std::unique_ptr<TFPozycjeIlosci> pozycje;
    std::unique_ptr<TFTabelaAGmina> okno;
    std::map<QWidget*, std::function<void()>> wOknie;
    int idGminy = 0, idGminy2 = 0, idZrodla = 0, idSubstancji = 0;
    int dzien = 0;
};

} // namespace

TEST_F(TabelaA, WindowsCarryTheirCaptionsAndColumns)
{
    EXPECT_EQ(okno->windowTitle(), "Wybór gminy do tabeli A");
    EXPECT_EQ(wprowadzanie->windowTitle(), "Wprowadzanie tabeli A");
    EXPECT_EQ(pozycje->windowTitle(), "Pozycje do ilości do tabeli A.");
    EXPECT_EQ(okno->BitBtn3->text(), "Edycja Tabeli A");
    EXPECT_EQ(okno->Label4->text(), "Gdy nie wprowadzimy adresu, będzie użyty adres firmy.");
    EXPECT_EQ(wprowadzanie->BitBtn4->text(), "Zużycie");
    EXPECT_EQ(wprowadzanie->BitBtn5->text(), "Wylicz");
    EXPECT_EQ(wprowadzanie->BBPodglad->text(), "Podgląd");
    EXPECT_EQ(wprowadzanie->BBDrukuj->text(), "Drukuj");
    EXPECT_EQ(wprowadzanie->LabelWydruk->text(), "Wydruk Tabeli A");
    QStringList tytuly;
    for (int i = 0; i < wprowadzanie->DBGrid2->ColumnCount(); ++i)
        tytuly << wprowadzanie->DBGrid2->Columns(i).Title;
    EXPECT_EQ(tytuly, QStringList({"Nazwa substancji", "Kod", "Skut. urz. ochronnego", "Wskaznik emisji",
                                   "Wielkosc emisji", "Jednostkowa stawka", "Wysokosc opłaty"}));
    tytuly.clear();
    for (int i = 0; i < pozycje->DBGrid1->ColumnCount(); ++i)
        tytuly << pozycje->DBGrid1->Columns(i).Title;
    EXPECT_EQ(tytuly, QStringList({"Data", "Ilość", "Procent", "Gestość", "Ilosc do tabeli A", "Opis"}));
    // Communes and sources cannot be deleted here; substances, fuels and items can.
    EXPECT_FALSE(okno->DBNavigator1->VisibleButtons() & kal::NavButton(kal::nbDelete));
    EXPECT_FALSE(wprowadzanie->DBNavigator1->VisibleButtons() & kal::NavButton(kal::nbDelete));
    EXPECT_TRUE(wprowadzanie->DBNavigator2->VisibleButtons() & kal::NavButton(kal::nbDelete));
    EXPECT_TRUE(wprowadzanie->DBNavigator3->VisibleButtons() & kal::NavButton(kal::nbDelete));
    EXPECT_TRUE(pozycje->DBNavigator1->VisibleButtons() & kal::NavButton(kal::nbDelete));
}

TEST_F(TabelaA, NoCommuneMeansNoEntryWindow)
{
    wOknie[okno.get()] = [&] { okno->BitBtn3->click(); };
    okno->Pokaz();
    const auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].text, "Nie wprowadzono żadnej gminy !!!");
    EXPECT_EQ(b[0].caption, "Kontrola danych.");
    EXPECT_EQ(b[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(b[0].buttons, unsigned(kal::MbOk));
    EXPECT_EQ(pokazane(), std::vector<QWidget*>({okno.get()}));
}

TEST_F(TabelaA, APendingCommuneFailingItsRuleDoesNotOpenTheEntryWindow)
{
    wOknie[okno.get()] = [&] {
        dm->TTabelaAGmina->Insert();
        dm->TTabelaAGminaIdentyfikatorGminy->setAsInteger(idGminy);
        okno->BitBtn3->click();
    };
    okno->Pokaz();
    const auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].kind, DialogCall::Error);
    EXPECT_EQ(b[0].text, "Powiat musi być wprowadzony !!!");
    EXPECT_EQ(pokazane(), std::vector<QWidget*>({okno.get()}));
    EXPECT_EQ(dm->TTabelaAGmina->State(), kal::dsInsert);
    dm->TTabelaAGmina->Cancel();
}

TEST_F(TabelaA, APendingCommuneIsPostedAndTheEntryWindowShowsItsGridsOnlyWhileOpen)
{
    bool zwiazane = false;
    wOknie[okno.get()] = [&] {
        EXPECT_EQ(okno->DBGrid1->DataSource(), dm->DTabelaAGmina);
        dm->TTabelaAGmina->Insert();
        dm->TTabelaAGminaIdentyfikatorGminy->setAsInteger(idGminy);
        dm->TTabelaAGminaPowiat->setAsString(QStringLiteral("płocki"));
        okno->BitBtn3->click();
    };
    wOknie[wprowadzanie.get()] = [&] {
        zwiazane = wprowadzanie->DBGrid1->DataSource() == dm->DTabelaAZrodla &&
                   wprowadzanie->DBGrid2->DataSource() == dm->DTabelaASubstancje &&
                   wprowadzanie->DBGrid3->DataSource() == dm->DTabelaAPaliwa;
    };
    okno->Pokaz();
    EXPECT_EQ(dm->TTabelaAGmina->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TTabelaAGmina->RecordCount(), 1);
    EXPECT_EQ(pokazane(), std::vector<QWidget*>({okno.get(), wprowadzanie.get()}));
    EXPECT_TRUE(zwiazane);
    EXPECT_TRUE(wprowadzanie->isMaximized() || (wprowadzanie->windowState() & Qt::WindowMaximized));
    EXPECT_EQ(wprowadzanie->DBGrid1->DataSource(), nullptr);
    EXPECT_EQ(wprowadzanie->DBGrid2->DataSource(), nullptr);
    EXPECT_EQ(wprowadzanie->DBGrid3->DataSource(), nullptr);
    EXPECT_EQ(okno->DBGrid1->DataSource(), nullptr);
}

TEST_F(TabelaA, WyliczRoundsOnlyTheTotalAndLeavesTheSourceUnposted)
{
    gmina();
    zrodlo(12.5);
    pozycja(1.2344);
    pozycja(2.3344);
    wprowadzanie->BitBtn5->click();
    EXPECT_EQ(dm->TTabelaAZrodla->State(), kal::dsEdit);
    EXPECT_DOUBLE_EQ(dm->TTabelaAZrodlaIlosc->AsFloat(), 3.57);
    dm->TTabelaAZrodla->Post();

    // 200 at 50 % with density 0.7 is 70.
    dm->TTabAPozWart->First();
    dm->TTabAPozWart->Delete();
    dm->TTabAPozWart->First();
    dm->TTabAPozWart->Delete();
    pozycja(200, 50, 0.7);
    wprowadzanie->BitBtn5->click();
    EXPECT_DOUBLE_EQ(dm->TTabelaAZrodlaIlosc->AsFloat(), 70.0);
    dm->TTabelaAZrodla->Cancel();
}

TEST_F(TabelaA, WyliczWithoutItemsGivesZeroAndWithoutASourceWritesNothing)
{
    gmina();
    wprowadzanie->BitBtn5->click();
    EXPECT_EQ(dm->TTabelaAZrodla->State(), kal::dsBrowse);
    EXPECT_TRUE(dm->TTabelaAZrodla->IsEmpty());
    zrodlo(12.5);
    wprowadzanie->BitBtn5->click();
    EXPECT_EQ(dm->TTabelaAZrodla->State(), kal::dsEdit);
    EXPECT_DOUBLE_EQ(dm->TTabelaAZrodlaIlosc->AsFloat(), 0.0);
}

TEST_F(TabelaA, WyliczRefusedByTheRowGuardWritesNothing)
{
    gmina();
    zrodlo(12.5);
    substancja();
    dm->TTabelaASubstancje->Edit();
    dm->TTabelaASubstancjeWskaznikEmisji->setAsFloat(0.5);
    wprowadzanie->BitBtn5->click();
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Najpierw zapisz dane o substancjach !!!")}));
    EXPECT_EQ(dm->TTabelaAZrodla->State(), kal::dsBrowse);
    EXPECT_DOUBLE_EQ(dm->TTabelaAZrodlaIlosc->AsFloat(), 12.5);
}

TEST_F(TabelaA, PendingEditsArePostedBeforeThePrintoutAndTheCommuneRowComesBack)
{
    gmina(QStringLiteral("płocki"));
    gmina(QStringLiteral("gostyniński"), true);
    dm->TTabelaAGmina->First();
    const QString biezacy = dm->TTabelaAGminaPowiat->AsString();
    zrodlo();
    paliwo();
    dm->TTabelaAPaliwa->Edit();
    dm->TTabelaAPaliwaZuzycie->setAsFloat(4);
    std::vector<std::pair<bool, bool>> wydruki;
    bool siatkiWolne = true;
    WydrukTabeliA = [&](bool podglad, bool tylkoSuma) {
        wydruki.emplace_back(podglad, tylkoSuma);
        EXPECT_EQ(dm->TTabelaAPaliwa->State(), kal::dsBrowse);
        siatkiWolne = siatkiWolne && !wprowadzanie->DBGrid1->DataSource() && !wprowadzanie->DBGrid2->DataSource() &&
                      !wprowadzanie->DBGrid3->DataSource();
        // The printout walks every commune.
        for (dm->TTabelaAGmina->First(); !dm->TTabelaAGmina->Eof(); dm->TTabelaAGmina->Next()) {
        }
        return 12.0;
    };
    wOknie[wprowadzanie.get()] = [&] {
        wprowadzanie->BBPodglad->click();
        wprowadzanie->BBDrukuj->click();
    };
    wprowadzanie->Pokaz();
    EXPECT_EQ(wydruki, (std::vector<std::pair<bool, bool>>{{true, false}, {false, false}}));
    EXPECT_TRUE(siatkiWolne);
    EXPECT_EQ(dm->TTabelaAGminaPowiat->AsString(), biezacy);
    dm->TTabelaAPaliwa->Refresh();
    EXPECT_DOUBLE_EQ(dm->TTabelaAPaliwaZuzycie->AsFloat(), 4.0);
}

TEST_F(TabelaA, APendingSubstanceIsPostedBeforeTheQuantityItemsOpen)
{
    gmina();
    zrodlo();
    substancja();
    dm->TTabelaASubstancje->Edit();
    dm->TTabelaASubstancjeWskaznikEmisji->setAsFloat(0.5);
    bool pozycjeZwiazane = false;
    wOknie[pozycje.get()] = [&] { pozycjeZwiazane = pozycje->DBGrid1->DataSource() == dm->DTabAPozWart; };
    wprowadzanie->BitBtn4->click();
    EXPECT_EQ(dm->TTabelaASubstancje->State(), kal::dsBrowse);
    EXPECT_EQ(pokazane(), std::vector<QWidget*>({pozycje.get()}));
    EXPECT_TRUE(pozycjeZwiazane);
    EXPECT_EQ(pozycje->DBGrid1->DataSource(), nullptr);
    // Emission 12.5 x 0.5 = 6.25, fee 2.5 x 6.25 = 15.63 (15.625 rounded).
    EXPECT_DOUBLE_EQ(dm->TTabelaASubstancjeWielkoscEmisji->AsFloat(), 6.25);
    EXPECT_DOUBLE_EQ(dm->TTabelaASubstancjeWysokoscOpaty->AsFloat(), 15.63);
}

TEST_F(TabelaA, ASourceThatCannotBePostedStopsTheQuantityItems)
{
    gmina();
    zrodlo();
    dm->TTabelaAZrodla->Edit();
    dm->TTabelaAZrodlaNazwaSurowcow->Clear();
    wprowadzanie->BitBtn4->click();
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Musisz podać nazwę surowców lub materiałów !!!")}));
    EXPECT_TRUE(pokazane().empty());
}

// Quantity items belong to a source: while the commune has none, "Zużycie"
// is refused as the substance panel refuses its "+", with the same box, and
// no item can be stored where no source would find it.
TEST_F(TabelaA, QuantityItemsWaitForTheFirstSource)
{
    gmina();
    wprowadzanie->DBNavigator2->BtnClick(kal::nbInsert);
    wprowadzanie->BitBtn4->click();
    const auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].text, "Najpierw załóż źródło !!!");
    EXPECT_EQ(b[1].text, "Najpierw załóż źródło !!!");
    EXPECT_EQ(b[1].kind, b[0].kind);
    EXPECT_EQ(b[1].caption, b[0].caption);
    EXPECT_EQ(b[1].icon, b[0].icon);
    EXPECT_EQ(b[1].icon, kal::MsgIcon::Stop);
    EXPECT_TRUE(pokazane().empty());

    // The items window's own "+" is refused the same way.
    pozycje->DBNavigator1->BtnClick(kal::nbInsert);
    ASSERT_EQ(dialogi.boxes().size(), 3u);
    EXPECT_EQ(dialogi.boxes()[2].text, "Najpierw załóż źródło !!!");
    EXPECT_EQ(dm->TTabAPozWart->State(), kal::dsBrowse);

    // A new source not saved yet is saved first; then the items are its own.
    dm->TTabelaAZrodla->Insert();
    dm->TTabelaAZrodlaIdentyfikatorZrodla->setAsInteger(idZrodla);
    dm->TTabelaAZrodlaNazwaSurowcow->setAsString(QStringLiteral("węgiel"));
    dm->TTabelaAZrodlaIlosc->setAsFloat(1);
    wOknie[pozycje.get()] = [&] { pozycja(100); };
    wprowadzanie->BitBtn4->click();
    EXPECT_EQ(dialogi.boxes().size(), 3u);
    EXPECT_EQ(pokazane(), std::vector<QWidget*>({pozycje.get()}));
    EXPECT_EQ(dm->TTabelaAZrodla->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TTabAPozWart->RecordCount(), 1);
    EXPECT_EQ(dm->TTabAPozWartIdentTabAZrodla->AsInteger(), dm->TTabelaAZrodlaIdTabAZrodla->AsInteger());
}

TEST_F(TabelaA, CancelAtTheSourceQuestionKeepsTheWindowOpenAndAsksNothingMore)
{
    gmina();
    zrodlo();
    dm->TTabelaAZrodla->Edit();
    dm->TTabelaAZrodlaNazwaSurowcow->setAsString(QStringLiteral("koks"));
    bool zamknieto = true;
    dialogi.answer(kal::MbCancel);
    zamknieto = wprowadzanie->close();
    EXPECT_FALSE(zamknieto);
    auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].text, "Czy chcesz zmienić dane o żródle w tabeli A?");
    EXPECT_EQ(b[0].caption, "Kontrola wprowadzania źródel tabeli A.");
    EXPECT_EQ(b[0].icon, kal::MsgIcon::Question);
    EXPECT_EQ(dm->TTabelaAZrodla->State(), kal::dsEdit);

    // No cancels the source edit; nothing else is pending, so the window closes.
    dialogi.clear();
    dialogi.answer(kal::MbNo);
    EXPECT_TRUE(wprowadzanie->close());
    EXPECT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dm->TTabelaAZrodla->State(), kal::dsBrowse);
    EXPECT_EQ(dm->TTabelaAZrodlaNazwaSurowcow->AsString(), "węgiel");
}

TEST_F(TabelaA, TheSubstanceAndFuelQuestionsFollowInTheirOrder)
{
    gmina();
    zrodlo();
    dm->TTabelaASubstancje->Insert();
    dm->TTabelaASubstancjeIdentyfikatorSubstancji->setAsInteger(idSubstancji);
    dialogi.answer(kal::MbNo);
    EXPECT_TRUE(wprowadzanie->close());
    paliwo();
    dm->TTabelaAPaliwa->Edit();
    dm->TTabelaAPaliwaZuzycie->setAsFloat(9);
    dialogi.answer(kal::MbYes);
    EXPECT_TRUE(wprowadzanie->close());
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Czy chcesz dopisać nową substancję tabeli A?"),
                                            QStringLiteral("Czy chcesz zmienić dane o paliwach w tabeli A?")}));
    EXPECT_TRUE(dm->TTabelaASubstancje->IsEmpty());
    EXPECT_DOUBLE_EQ(dm->TTabelaAPaliwaZuzycie->AsFloat(), 9.0);
    EXPECT_EQ(dm->TTabelaAPaliwa->State(), kal::dsBrowse);
}

TEST_F(TabelaA, CommuneAndItemWindowsAskTheirOwnQuestions)
{
    dm->TTabelaAGmina->Insert();
    dialogi.answer(kal::MbCancel);
    EXPECT_FALSE(okno->close());
    gmina();
    zrodlo();
    pozycja(5);
    dm->TTabAPozWart->Edit();
    dm->TTabAPozWartOpis->setAsString(QStringLiteral("dostawa"));
    dialogi.answer(kal::MbNo);
    EXPECT_TRUE(pozycje->close());
    const auto b = dialogi.boxes();
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].text, "Czy chcesz dopisać nową gminę do Tabeli A ?");
    EXPECT_EQ(b[0].caption, "Kontrola wprowadzania gmin do Tabeli A.");
    EXPECT_EQ(b[1].text, "Czy chcesz zmienić dane o pozycji  w tabeli A?");
    EXPECT_EQ(b[1].caption, "Kontrola wprowadzania źródel tabeli A.");
}

TEST_F(TabelaA, TheCommuneRegisterPicksTheCommuneOfTheRow)
{
    wOknie[gminy.get()] = [&] {
        dm->TGminy->Locate(QStringLiteral("NazwaGminy"), QStringLiteral("Płock"));
        gminy->BitBtn2->click();
    };
    dm->TTabelaAGmina->Insert();
    okno->BitBtn2->click();
    EXPECT_EQ(pokazane(), std::vector<QWidget*>({gminy.get()}));
    EXPECT_EQ(dm->TTabelaAGminaIdentyfikatorGminy->AsInteger(), idGminy);
    EXPECT_EQ(dm->TTabelaAGminaNazwaGminy->AsString(), "Płock");
}

TEST_F(TabelaA, TheSourceAndSubstanceRegistersPickForTheirRows)
{
    TFZrodla zrodla;
    TFSubstancje substancje;
    wOknie[&zrodla] = [&] { zrodla.BitBtn2->click(); };
    wOknie[&substancje] = [&] { substancje.BitBtn2->click(); };
    gmina();
    dm->TTabelaAZrodla->Insert();
    wprowadzanie->BitBtn2->click();
    EXPECT_EQ(dm->TTabelaAZrodlaIdentyfikatorZrodla->AsInteger(), idZrodla);
    EXPECT_EQ(dm->TTabelaAZrodlaRodzajInstalacji->AsString(), "Kocioł");
    dm->TTabelaAZrodlaNazwaSurowcow->setAsString(QStringLiteral("koks"));
    dm->TTabelaAZrodlaIlosc->setAsFloat(2);
    dm->TTabelaAZrodla->Post();
    dm->TTabelaASubstancje->Insert();
    wprowadzanie->BitBtn3->click();
    EXPECT_EQ(dm->TTabelaASubstancjeIdentyfikatorSubstancji->AsInteger(), idSubstancji);
    EXPECT_EQ(dm->TTabelaASubstancjeKodSubstancji->AsString(), "P1");
    EXPECT_EQ(pokazane(), std::vector<QWidget*>({&zrodla, &substancje}));
    dm->TTabelaASubstancje->Cancel();
}
