#pragma once
// The register windows on a fresh data directory: the data module, every
// register window, and a scripted dialog seam whose modal shows run the
// steps that a test queued (one step per show, nested shows included).

#include "DaneFirmy.h"
#include "EwidencjaPojazdow.h"
#include "GestodcPaliw.h"
#include "Gminy.h"
#include "Kotly.h"
#include "MiejscaTank.h"
#include "MiejscaUz.h"
#include "NaprPrzegl.h"
#include "Obsluga.h"
#include "Przebieg.h"
#include "Substancje.h"
#include "Zrodla.h"
#include "Zuzycie.h"

#include "Dane.h"
#include "Schemat.h"

#include "Clock.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include "platform/ui/DBNavigator.h"
#include "platform/ui/QtDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace rejestr_test {

using kal::test::DialogCall;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;

class Rejestry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
        staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
        kal::SetTodayForTests(QDate(2009, 6, 12));
        dm = std::make_unique<TDM>();
        obsluga = std::make_unique<TFormObslugi>();
        pojazdy = std::make_unique<TFEwidencjaPojazdow>();
        zuzycie = std::make_unique<TFZuzycie>();
        gestosci = std::make_unique<TFGestoscPakiw>();
        miejscaUz = std::make_unique<TFMiejscaUzutk>();
        miejscaTank = std::make_unique<TFMiejscaTankowania>();
        przebieg = std::make_unique<TFPrzebieg>();
        naprawy = std::make_unique<TFNaprPrzegl>();
        kotly = std::make_unique<TFKotly>();
        gminy = std::make_unique<TFGminy>();
        substancje = std::make_unique<TFSubstancje>();
        zrodla = std::make_unique<TFZrodla>();
        firma = std::make_unique<TFDaneFirmy>();
        dialogi.onModal = [this](QWidget* okno) { return pokazModalnie(okno); };
    }

    void TearDown() override
    {
        EXPECT_TRUE(kroki.empty()) << "a queued show did not happen";
        firma.reset();
        zrodla.reset();
        substancje.reset();
        gminy.reset();
        kotly.reset();
        naprawy.reset();
        przebieg.reset();
        miejscaTank.reset();
        miejscaUz.reset();
        gestosci.reset();
        zuzycie.reset();
        pojazdy.reset();
        obsluga.reset();
        dm.reset();
        kal::SetTodayForTests(QDate());
        qputenv("TEMP", staryTemp);
    }

    // The next modal show runs `krok` with the window shown. Whether the step
    // closed the window is recorded in `zamkniete`.
    void przyPokazie(std::function<void(QWidget*)> krok) { kroki.push_back(std::move(krok)); }

    int pokazModalnie(QWidget* okno)
    {
        pokazane.push_back(okno);
        if (kroki.empty()) {
            ADD_FAILURE() << "unexpected modal show of " << okno->objectName().toStdString();
            return 0;
        }
        auto krok = std::move(kroki.front());
        kroki.pop_front();
        okno->show();
        krok(okno);
        zamkniete.push_back(okno->isHidden());
        okno->hide();
        return kal::ModalResult(okno);
    }

    // A company and its period, both posted, and the fuel table on the period's file.
    void firmaIOkres(int rok = 2009, int polrocze = 1)
    {
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
        dm->TFirma->Post();
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(rok);
        dm->TOkresPolrocze->setAsInteger(polrocze);
        dm->TOkres->Post();
    }

    // A posted vehicle; returns its id.
    int pojazd(const QString& nr, const QString& marka, const QString& rodzaj = QStringLiteral("1"))
    {
        dm->TPojazdy->Insert();
        dm->TPojazdyRodzajPojazdu->setAsString(rodzaj);
        dm->TPojazdyMarka->setAsString(marka);
        dm->TPojazdyNrRejestracyjny->setAsString(nr);
        dm->TPojazdy->Post();
        return dm->TPojazdyIdentyfikatorPojazdu->AsInteger();
    }

    // A posted fuel record of the first half of 2009; returns its id.
    int tankowanie(int idPojazdu, int dzien)
    {
        dm->TZuzycie->Insert();
        dm->TZuzycieIdentyfikatorPojazdu->setAsInteger(idPojazdu);
        dm->TZuzycieDataTankowania->setAsDateTime(QDate(2009, 3, dzien));
        dm->TZuzycieRodzajPaliwa->setAsString(QStringLiteral("5"));
        dm->TZuzycieIloscPaliwa->setAsFloat(40.0);
        dm->TZuzycie->Post();
        return dm->TZuzycieIdentyfikator->AsInteger();
    }

    // A posted place of use or refuelling place; returns its id.
    int miejsce(kal::TTable* t, kal::TField* nazwa, kal::TField* id, const QString& tekst)
    {
        t->Insert();
        nazwa->setAsString(tekst);
        t->Post();
        return id->AsInteger();
    }

    static void klawisz(QWidget* w, int key)
    {
        QKeyEvent wcisniety(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &wcisniety);
    }

    // A click on a navigator's button.
    static void kliknij(kal::TDBNavigator* nawigator, kal::TNavigateBtn przycisk)
    {
        QTest::mouseClick(nawigator->Button(przycisk), Qt::LeftButton);
    }

    // A window of the fixture as a test shows it: its name, its show (a
    // picker in browse mode) and the button that closes it.
    struct Okno {
        const char* nazwa;
        std::function<int()> pokaz;
        QPushButton* zamknij;
    };
    // Every register window but the vehicle register and the company window.
    std::vector<Okno> oknaRejestrow()
    {
        return {
            {"zuzycie", [this] { return zuzycie->Pokaz(); }, zuzycie->BitBtn1},
            {"naprawy", [this] { return naprawy->Pokaz(); }, naprawy->BitBtn1},
            {"przebieg", [this] { return przebieg->Pokaz(); }, przebieg->BitBtn1},
            {"gestosci", [this] { return gestosci->Pokaz(); }, gestosci->BitBtn1},
            {"miejsca uzytkowania", [this] { return miejscaUz->Pokaz(0); }, miejscaUz->BitBtn1},
            {"miejsca tankowania", [this] { return miejscaTank->Pokaz(0); }, miejscaTank->BitBtn1},
            {"kotly", [this] { return kotly->Pokaz(0); }, kotly->BitBtn1},
            {"gminy", [this] { return gminy->Pokaz(0); }, gminy->BitBtn1},
            {"substancje", [this] { return substancje->Pokaz(0); }, substancje->BitBtn1},
            {"zrodla", [this] { return zrodla->Pokaz(0); }, zrodla->BitBtn1},
        };
    }

    // The widget that has the keyboard.
    static QWidget* fokus() { return QApplication::focusWidget(); }

    // The texts of a field stored in the table's file, in the table's order.
    static QStringList zapisane(kal::TTable* t, kal::TField* pole)
    {
        QStringList wynik;
        t->Refresh();
        for (t->First(); !t->Eof(); t->Next())
            wynik << pole->AsString();
        return wynik;
    }

    static void oczekujKomunikatu(const DialogCall& c, const QString& tekst, const QString& naglowek,
                                  kal::MsgIcon ikona = kal::MsgIcon::Stop, unsigned przyciski = kal::MbOk)
    {
        EXPECT_EQ(c.kind, DialogCall::Message);
        EXPECT_EQ(c.text, tekst);
        EXPECT_EQ(c.caption, naglowek);
        EXPECT_EQ(c.icon, ikona);
        EXPECT_EQ(c.buttons, przyciski);
    }

    TestDir katalog;
    QTemporaryDir temp;
    QByteArray staryTemp;
    ScriptedDialogs dialogi;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TFormObslugi> obsluga;
    std::unique_ptr<TFEwidencjaPojazdow> pojazdy;
    std::unique_ptr<TFZuzycie> zuzycie;
    std::unique_ptr<TFGestoscPakiw> gestosci;
    std::unique_ptr<TFMiejscaUzutk> miejscaUz;
    std::unique_ptr<TFMiejscaTankowania> miejscaTank;
    std::unique_ptr<TFPrzebieg> przebieg;
    std::unique_ptr<TFNaprPrzegl> naprawy;
    std::unique_ptr<TFKotly> kotly;
    std::unique_ptr<TFGminy> gminy;
    std::unique_ptr<TFSubstancje> substancje;
    std::unique_ptr<TFZrodla> zrodla;
    std::unique_ptr<TFDaneFirmy> firma;

    std::deque<std::function<void(QWidget*)>> kroki;
    std::vector<QWidget*> pokazane;
    std::vector<bool> zamkniete;
};

} // namespace rejestr_test
