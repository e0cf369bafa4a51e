// The table C window with its commune list and boiler use: reading the
// quantities in from boiler use, the labels, the messages of an empty table C.

#include "OknaTestowe.h"

#include "Kotly.h"
#include "PageModel.h"
#include "RozliczPolrocze.h"
#include "WydrukTabelaC.h"
#include "WydrukZestTabC.h"

#include "platform/core/Exceptions.h"
#include "platform/ui/DBGrid.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "platform/ui/DBControls.h"

using namespace okna_test;
using kal::test::DialogCall;

namespace {

class TabelaC : public Okna {
protected:
    int Kociol(const char* rodzaj, const char* opis)
    {
        dm->TKotly->Insert();
        dm->TKotlyRodzajKotla->setAsString(QString::fromLatin1(rodzaj));
        dm->TKotlyOpisKotla->setAsString(QString::fromUtf8(opis));
        dm->TKotly->Post();
        return dm->TKotlyIdentyfikator->AsInteger();
    }
    void Zuzycie(int kociol, double ilosc, bool wTonach = false)
    {
        // One record per boiler and day.
        ++dzien;
        dm->TZuzycieKotla->Insert();
        dm->TZuzycieKotla->FieldByName(QStringLiteral("DataZuzycia"))->setAsDateTime(QDate(2009, 3, dzien));
        dm->TZuzycieKotla->FieldByName(QStringLiteral("IdentyfikatorKotla"))->setAsInteger(kociol);
        dm->TZuzycieKotla->FieldByName(QStringLiteral("Ilosc"))->setAsFloat(ilosc);
        dm->TZuzycieKotla->FieldByName(QStringLiteral("IloscPrzNaTony"))->setAsBoolean(wTonach);
        dm->TZuzycieKotla->Post();
    }
    int dzien = 0;
    QString Etykieta(const char* pole) const { return tabelaC->Etykieta(QString::fromLatin1(pole))->text(); }

    // Two communes, "Alfa" current, each with boiler use; rates for I1, IV1, V3.
    void Przygotuj()
    {
        ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
        ASSERT_TRUE(dm->UstawZbiorZuzyciaKotlow());
        const int weglowy = Kociol("111", "Kocioł węglowy");
        const int olejowy = Kociol("410", "Kocioł olejowy");
        const int gazowy = Kociol("530", "Kocioł gazowy");
        Gmina(QStringLiteral("Beta"));
        Zuzycie(weglowy, 100.0); // another commune: not counted
        Gmina(QStringLiteral("Alfa"));
        Zuzycie(weglowy, 1.2344);
        Zuzycie(weglowy, 2.3344);   // 3.5688 -> 3.57, only the sum rounded
        Zuzycie(olejowy, 1000.0);   // litres x 0.86 kg/l = 0.86 Mg
        Zuzycie(olejowy, 0.5, true); // already in Mg
        Zuzycie(gazowy, 500.0);     // 500 l x 0.54 kg/l = 0.27 Mg
        ASSERT_TRUE(dm->TTabelaC->Locate(QStringLiteral("NazwaGminy"), QStringLiteral("Alfa")));
        Zapisz(dm->TTabelaC, "I2", 5.0); // no boiler of its kind: overwritten with 0
        Zapisz(dm->TStawkiTabC, "I1", 10.0);
        Zapisz(dm->TStawkiTabC, "I2", 1.0);
        Zapisz(dm->TStawkiTabC, "IV1", 100.0);
        Zapisz(dm->TStawkiTabC, "V3", 1000.0);
    }
};

} // namespace

TEST(OknoTabeliC, PositionsInFeeOrder)
{
    const auto& p = PozycjeOknaTabeliC();
    ASSERT_EQ(p.size(), 19u);
    for (size_t i = 0; i < p.size(); ++i)
        EXPECT_EQ(p[i].pole, PolaTabeliC()[i]);
    EXPECT_EQ(p[0].etykieta, QStringLiteral("LI1_"));
    EXPECT_EQ(p[18].etykieta, QStringLiteral("LV3"));
    EXPECT_EQ(p[9].opis, QStringLiteral("III. Kotły o nominalnej mocy cieplnej      5 MW opalane drewnem"));
    EXPECT_EQ(p[14].grupa, QStringLiteral("V. Kotły opalane paliwem gazowym"));
}

// The statutory units over the quantity and rate columns of the window.
TEST_F(TabelaC, TheHeadsCarryTheStatutoryUnits)
{
    // The heads as they read, and the lines they are set in.
    QStringList linie;
    const auto naglowek = [&](int i) {
        const QLabel* l = tabelaC->findChild<QLabel*>(QStringLiteral("LabelNaglowek%1").arg(i));
        linie << (l ? l->text().split(QLatin1Char('\n')) : QStringList());
        return l ? l->text().replace(QLatin1Char('\n'), QLatin1Char(' ')) : QString();
    };
    EXPECT_EQ(naglowek(1), QStringLiteral("Liczba kotłów"));
    EXPECT_EQ(naglowek(2), QStringLiteral("Zużycie paliwa [Mg lub 10⁶ m³]"));
    EXPECT_EQ(naglowek(3), QStringLiteral("Jednostkowa stawka opłaty [zł/Mg lub zł/10⁶ m³]"));
    EXPECT_EQ(naglowek(4), QStringLiteral("Wysokość opłaty [zł]"));
    EXPECT_TRUE(linie.contains(QStringLiteral("10⁶ m³]")));
    EXPECT_TRUE(linie.contains(QStringLiteral("zł/10⁶ m³]")));
}

// Coal, coke and wood in Mg; the oils and propane-butane in litres (their
// density takes them to Mg) unless the quantity is already in Mg; natural
// gas in millions of cubic metres, whatever the tick says.
TEST(JednostkaIlosciKotla, FollowsTheBoilerKind)
{
    for (int kod : {111, 112, 120, 130, 140, 150, 210, 220, 230, 300}) {
        EXPECT_EQ(JednostkaIlosciKotla(kod, false), QStringLiteral("Mg")) << kod;
        EXPECT_EQ(JednostkaIlosciKotla(kod, true), QStringLiteral("Mg")) << kod;
    }
    for (int kod : {410, 420, 430, 440, 530}) {
        EXPECT_EQ(JednostkaIlosciKotla(kod, false), QStringLiteral("l")) << kod;
        EXPECT_EQ(JednostkaIlosciKotla(kod, true), QStringLiteral("Mg")) << kod;
    }
    for (int kod : {511, 512, 521, 522}) {
        EXPECT_EQ(JednostkaIlosciKotla(kod, false), QStringLiteral("10⁶ m³")) << kod;
        EXPECT_EQ(JednostkaIlosciKotla(kod, true), QStringLiteral("10⁶ m³")) << kod;
    }
    for (int kod : {0, 12, 100, 500, 510, 999})
        EXPECT_EQ(JednostkaIlosciKotla(kod, false), QString()) << kod;
}

// The user enters boiler use: the unit beside "Ilość" follows the boiler
// chosen for the record and the "Ilość przeliczona na Mg" tick.
TEST_F(TabelaC, TheBoilerUseShowsTheUnitOfTheChosenBoilersKind)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Gmina(QStringLiteral("Alfa"));
    const int weglowy = Kociol("111", "Kocioł węglowy");
    const int olejowy = Kociol("410", "Kocioł olejowy");
    const int gazowy = Kociol("511", "Kocioł gazowy");
    QStringList jednostki;
    dialogi.onModal = [&](QWidget*) {
        const auto jednostka = [&] { jednostki << zuzycieKotla->LabelJednostki->text(); };
        kal::TField* kociol = dm->TZuzycieKotla->FieldByName(QStringLiteral("IdentyfikatorKotla"));
        dm->TZuzycieKotla->Insert();
        jednostka(); // no boiler yet
        kociol->setAsInteger(gazowy);
        jednostka();
        kociol->setAsInteger(olejowy);
        jednostka();
        zuzycieKotla->DBCheckBox1->click(); // the quantity is in Mg
        jednostka();
        zuzycieKotla->DBCheckBox1->click();
        jednostka();
        kociol->setAsInteger(weglowy);
        jednostka();
        dm->TZuzycieKotla->FieldByName(QStringLiteral("DataZuzycia"))->setAsDateTime(QDate(2009, 3, 2));
        dm->TZuzycieKotla->FieldByName(QStringLiteral("Ilosc"))->setAsFloat(2.5);
        dm->TZuzycieKotla->Post();
        dm->TZuzycieKotla->Insert();
        kociol->setAsInteger(gazowy);
        jednostka();
        dm->TZuzycieKotla->Cancel(); // back on the coal boiler's record
        jednostka();
        return int(TOknoRejestru::mrCancel);
    };
    zuzycieKotla->Pokaz();
    EXPECT_EQ(jednostki, (QStringList{QString(), QStringLiteral("10⁶ m³"), QStringLiteral("l"), QStringLiteral("Mg"),
                                      QStringLiteral("l"), QStringLiteral("Mg"), QStringLiteral("10⁶ m³"),
                                      QStringLiteral("Mg")}));
    EXPECT_TRUE(dialogi.boxes().empty());
}

TEST_F(TabelaC, ReadsTheQuantitiesFromBoilerUse)
{
    Przygotuj();
    dialogi.answer(kal::MbYes);
    dialogi.onModal = [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), QStringLiteral("TABELA C za półrocze: 1 2009 roku."));
        EXPECT_EQ(dm->TTabelaC->Tag(), 1);
        EXPECT_EQ(Etykieta("I2"), QStringLiteral("5,00"));
        EXPECT_EQ(Etykieta("I1"), QStringLiteral("0,00"));
        tabelaC->BitBtn3->click();
        return int(TOknoRejestru::mrCancel);
    };
    tabelaC->Pokaz();
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, QStringLiteral("Czy chcesz wczytać dane do tabeli C ?"));
    EXPECT_EQ(dialogi.boxes()[0].caption, QStringLiteral("Kontrola wprowadzania tabeli C."));
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Question);
    EXPECT_EQ(dialogi.boxes()[0].buttons, unsigned(kal::MbYes | kal::MbNo));

    EXPECT_DOUBLE_EQ(PoleC("I1")->AsFloat(), 3.57);
    EXPECT_DOUBLE_EQ(PoleC("IV1")->AsFloat(), 1.36);
    EXPECT_DOUBLE_EQ(PoleC("V3")->AsFloat(), 0.27);
    EXPECT_EQ(PoleC("I2")->AsFloat(), 0.0);
    EXPECT_EQ(Etykieta("I1"), QStringLiteral("35,70"));
    EXPECT_EQ(Etykieta("IV1"), QStringLiteral("136,00"));
    EXPECT_EQ(Etykieta("V3"), QStringLiteral("270,00"));
    EXPECT_EQ(Etykieta("I2"), QStringLiteral("0,00"));
    EXPECT_EQ(dm->TTabelaC->Tag(), 0);
}

// Natural gas is read in in millions of cubic metres to the whole cubic
// metre, so a small use still pays its fee: 1 500 + 1 000 m³ on a kind-511
// boiler are 0,0025 and at 1 000,00 zł pay 2,50 zł; 14 900 m³ on a kind-512
// boiler are 0,0149 and at 500,00 zł pay 7,45 zł. The printout, the commune
// summary and the half-year settlement use the same quantities.
TEST_F(TabelaC, NaturalGasIsReadInToTheWholeCubicMetre)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    ASSERT_TRUE(dm->UstawZbiorZuzyciaKotlow());
    const int do14 = Kociol("511", "Kocioł gazowy 1 MW");
    const int do5 = Kociol("512", "Kocioł gazowy 3 MW");
    // The period's only commune.
    dm->TTabelaC->Edit();
    PoleC("NazwaGminy")->setAsString(QStringLiteral("Alfa"));
    dm->TTabelaC->Post();
    Zuzycie(do14, 0.0015);
    Zuzycie(do14, 0.001);
    Zuzycie(do5, 0.0149);
    Zapisz(dm->TStawkiTabC, "V1a", 1000.0);
    Zapisz(dm->TStawkiTabC, "V1b", 500.0);
    dialogi.answer(kal::MbYes);
    QString ilosc1a, ilosc1b;
    dialogi.onModal = [&](QWidget*) {
        tabelaC->BitBtn3->click();
        ilosc1a = tabelaC->EdycjaIlosci(QStringLiteral("V1a"))->text();
        ilosc1b = tabelaC->EdycjaIlosci(QStringLiteral("V1b"))->text();
        return int(TOknoRejestru::mrCancel);
    };
    tabelaC->Pokaz();
    EXPECT_EQ(PoleC("V1a")->AsFloat(), 0.0025);
    EXPECT_EQ(PoleC("V1b")->AsFloat(), 0.0149);
    EXPECT_EQ(ilosc1a, QStringLiteral("0,002 5"));
    EXPECT_EQ(ilosc1b, QStringLiteral("0,014 9"));
    EXPECT_EQ(Etykieta("V1a"), QStringLiteral("2,50"));
    EXPECT_EQ(Etykieta("V1b"), QStringLiteral("7,45"));

    // The texts of the pages in print order, and the texts printed on the
    // line of `opis`, left to right, blanks left out.
    const auto teksty = [](const kal::report::PageModel& strony) {
        QStringList t;
        for (int s = 0; s < strony.pageCount(); ++s)
            for (const auto strona = strony.page(s); const auto& p : strona->items)
                if (p.kind == kal::report::PageItem::Kind::Text)
                    t << p.text;
        return t;
    };
    const auto linia = [](const kal::report::PageModel& strony, const QString& opis) {
        std::vector<std::pair<double, QString>> w;
        for (int s = 0; s < strony.pageCount(); ++s)
            for (const auto strona = strony.page(s); const auto& p : strona->items)
                if (p.kind == kal::report::PageItem::Kind::Text && p.text == opis)
                    for (const auto& q : strona->items)
                        if (q.kind == kal::report::PageItem::Kind::Text && std::abs(q.y1 - p.y1) < 1.0 &&
                            !q.text.trimmed().isEmpty())
                            w.emplace_back(q.x1, q.text);
        std::sort(w.begin(), w.end());
        QStringList t;
        for (const auto& [x, tekst] : w)
            t << tekst;
        return t;
    };
    // Table C of the commune: quantity, rate and fee of both positions.
    const auto c = QRTabelaC->prepare();
    EXPECT_EQ(linia(*c, QStringLiteral("Gaz ziemny wysokometanowy, nominalna moc cieplna <= 1,4 MW")),
              QStringList({"1a", "Gaz ziemny wysokometanowy, nominalna moc cieplna <= 1,4 MW", "0,002 5", "1 000,00",
                           "2,50"}));
    EXPECT_EQ(linia(*c, QStringLiteral("Gaz ziemny wysokometanowy, nominalna moc cieplna > 1,4 MW i <= 5 MW")),
              QStringList({"1b", "Gaz ziemny wysokometanowy, nominalna moc cieplna > 1,4 MW i <= 5 MW", "0,014 9",
                           "500,00", "7,45"}));
    // The commune summary and the settlement's group V.
    const auto z = QRZestTabC->prepare();
    EXPECT_EQ(linia(*z, QStringLiteral("Alfa")), QStringList({"1.", "Alfa", "9,95"}));
    const auto r = QRRozliczPolrocze->prepare();
    EXPECT_EQ(linia(*r, QStringLiteral("V Kotły opalane paliwem gazowym ")),
              QStringList({"V Kotły opalane paliwem gazowym ", "9,95 "}));
    const QStringList rt = teksty(*r);
    ASSERT_FALSE(rt.isEmpty());
    EXPECT_EQ(rt.last(), QStringLiteral("Razem opłata za pólrocze: 9,95 zł."));
}

TEST_F(TabelaC, ReadingInAnsweredNoChangesNothing)
{
    Przygotuj();
    dialogi.answer(kal::MbNo);
    dialogi.onModal = [&](QWidget*) {
        tabelaC->BitBtn3->click();
        EXPECT_EQ(Etykieta("I2"), QStringLiteral("5,00"));
        EXPECT_EQ(Etykieta("I1"), QStringLiteral("0,00"));
        return int(TOknoRejestru::mrCancel);
    };
    tabelaC->Pokaz();
    EXPECT_EQ(PoleC("I2")->AsFloat(), 5.0);
    EXPECT_EQ(PoleC("I1")->AsFloat(), 0.0);
}

TEST_F(TabelaC, LabelsFollowTheReadValuesWhenTheirPostFails)
{
    Przygotuj();
    auto przedZapisem = dm->TTabelaC->BeforePost;
    dm->TTabelaC->BeforePost = [](kal::TTable&) { throw kal::Exception(QStringLiteral("Zapis odrzucony.")); };
    dialogi.answer(kal::MbYes);
    dialogi.onModal = [&](QWidget*) {
        tabelaC->BitBtn3->click();
        EXPECT_EQ(dialogi.texts().last(), QStringLiteral("Zapis odrzucony."));
        EXPECT_EQ(Etykieta("I1"), QStringLiteral("35,70"));
        EXPECT_EQ(Etykieta("I2"), QStringLiteral("0,00"));
        dm->TTabelaC->BeforePost = przedZapisem;
        return int(TOknoRejestru::mrCancel);
    };
    tabelaC->Pokaz();
}

TEST_F(TabelaC, TypedValuesAndCountsAndPrinting)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Gmina(QStringLiteral("Alfa"));
    dialogi.answerPrinter(true);
    dialogi.onModal = [&](QWidget*) {
        Wpisz(tabelaC->EdycjaIlosci(QStringLiteral("V1b")), QStringLiteral("12,5"));
        Wpisz(tabelaC->EdycjaStawki(QStringLiteral("V1b")), QStringLiteral("4"));
        EXPECT_EQ(Etykieta("V1b"), QStringLiteral("50,00"));
        Wpisz(tabelaC->EdycjaIlosci(QStringLiteral("V1b")), QStringLiteral("-1"));
        EXPECT_EQ(PoleC("V1b")->AsFloat(), 0.0);
        EXPECT_EQ(Etykieta("V1b"), QStringLiteral("0,00"));
        Wpisz(tabelaC->EdycjaLiczbyKotlow(QStringLiteral("V1b")), QStringLiteral("3"));
        tabelaC->BitBDrukPrzDrukarka->click();
        EXPECT_EQ(dm->TTabelaC->State(), kal::dsBrowse);
        tabelaC->BitBDrukPrzMonitor->click();
        return int(TOknoRejestru::mrCancel);
    };
    tabelaC->Pokaz();
    EXPECT_EQ(PoleC("LKV1b")->AsInteger(), 3);
    ASSERT_EQ(drukarka.zadania.size(), 1u);
    EXPECT_EQ(drukarka.zadania[0].title, QStringLiteral("Wydruk Tabeli C za półrocze: 1 2009 roku."));
    EXPECT_EQ(podglad.tytuly, QStringList{QStringLiteral("Wydruk Tabeli C za półrocze: 1 2009 roku.")});
    ASSERT_EQ(podglad.raporty.size(), 1u);
    EXPECT_EQ(podglad.raporty[0], static_cast<kal::report::Report*>(QRTabelaC));
}

TEST_F(TabelaC, EmptyTableCStopsTheEntryAndTheBoilerUse)
{
    // The period's rows are not ensured yet: no commune row.
    int pokazane = 0;
    dialogi.onModal = [&](QWidget* w) {
        ++pokazane;
        if (w == gminy.get()) {
            gminy->BitBtn3->click();
            tabelaC->BitBtn2->click();
        }
        return int(TOknoRejestru::mrCancel);
    };
    EXPECT_EQ(gminy->Pokaz(), TOknoRejestru::mrCancel);
    EXPECT_EQ(pokazane, 1);
    ASSERT_EQ(dialogi.boxes().size(), 2u);
    EXPECT_EQ(dialogi.boxes()[0].text, QStringLiteral("Wprowadź pierwszą tabelę C dlaokresu."));
    EXPECT_EQ(dialogi.boxes()[0].caption, QStringLiteral("Kontrola wprowadzania tabeli C."));
    EXPECT_EQ(dialogi.boxes()[0].icon, kal::MsgIcon::Stop);
    EXPECT_EQ(dialogi.boxes()[1].text, QStringLiteral("Brak założonej tabeli C !!!"));
    EXPECT_EQ(dialogi.boxes()[1].caption, QStringLiteral("Kontrola tabeli C."));
}

TEST_F(TabelaC, CommuneListOpensTableCAndBoilerUseWithTheirGrids)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    EXPECT_EQ(gminy->windowTitle(), QStringLiteral("Edycja nazw gmin dla tabeli C."));
    EXPECT_EQ(zuzycieKotla->windowTitle(), QStringLiteral("Zużycie paliwa do kotłów"));
    EXPECT_EQ(gminy->DBGrid1->Columns(0).Title, QStringLiteral("Nazwa gminy dla tabeli C"));
    QStringList otwarte;
    dialogi.onModal = [&](QWidget* w) {
        otwarte << w->objectName();
        if (w == gminy.get()) {
            EXPECT_EQ(gminy->DBGrid1->DataSource(), dm->DTabelaC);
            // A new commune typed and not yet saved is posted first.
            dm->TTabelaC->Insert();
            PoleC("NazwaGminy")->setAsString(QStringLiteral("Gamma"));
            gminy->BitBtn3->click();
        } else if (w == tabelaC.get()) {
            EXPECT_EQ(tabelaC->DBEditGminy->text(), QStringLiteral("Gamma"));
            tabelaC->BitBtn2->click();
        } else if (w == zuzycieKotla.get()) {
            EXPECT_EQ(zuzycieKotla->DBGrid1->DataSource(), dm->DZuzycieKotla);
        }
        return int(TOknoRejestru::mrCancel);
    };
    gminy->Pokaz();
    EXPECT_EQ(otwarte, (QStringList{QStringLiteral("FGminaDoTabeliC"), QStringLiteral("FTabelaC"),
                                    QStringLiteral("FZuzycieKotla")}));
    EXPECT_EQ(gminy->DBGrid1->DataSource(), nullptr);
    EXPECT_EQ(zuzycieKotla->DBGrid1->DataSource(), nullptr);
    EXPECT_TRUE(dialogi.boxes().empty());
    EXPECT_EQ(dm->TTabelaC->State(), kal::dsBrowse);
    EXPECT_TRUE(QFile::exists(QStringLiteral("ZuzKot20091.db")));
}

TEST_F(TabelaC, ClosingTheBoilerUseAsksAboutAPendingChange)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Gmina(QStringLiteral("Alfa"));
    dialogi.answer(kal::MbNo);
    dialogi.onModal = [&](QWidget* w) {
        dm->TZuzycieKotla->Insert();
        EXPECT_TRUE(w->close());
        return kal::ModalResult(w);
    };
    EXPECT_EQ(zuzycieKotla->Pokaz(), TOknoRejestru::mrCancel);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].text, QStringLiteral("Czy chcesz dopisać nowe zużycie kotła ?"));
    EXPECT_EQ(dialogi.boxes()[0].caption, QStringLiteral("Kontrola wprowadzania danych o zuzyciu kotłów."));
    EXPECT_EQ(dm->TZuzycieKotla->State(), kal::dsBrowse);
}

TEST_F(TabelaC, BoilerPickerWritesTheChosenBoilerIntoTheUse)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Gmina(QStringLiteral("Alfa"));
    const int pierwszy = Kociol("111", "Kocioł węglowy");
    const int drugi = Kociol("300", "Kocioł na drewno");
    ASSERT_NE(pierwszy, drugi);
    TFKotly kotly;
    ASSERT_EQ(FKotly, &kotly);
    int wybrany = 0;
    QString opis;
    dialogi.onModal = [&](QWidget* w) {
        if (w == zuzycieKotla.get()) {
            dm->TZuzycieKotla->Insert();
            zuzycieKotla->Button1->click();
            wybrany = dm->TZuzycieKotla->FieldByName(QStringLiteral("IdentyfikatorKotla"))->AsInteger();
            opis = dm->TZuzycieKotla->FieldByName(QStringLiteral("OpisKotla"))->AsString();
            dm->TZuzycieKotla->Cancel();
            return int(TOknoRejestru::mrCancel);
        }
        EXPECT_EQ(w, &kotly);
        EXPECT_TRUE(dm->TKotly->Locate(QStringLiteral("Identyfikator"), drugi));
        kotly.BitBtn2->click();
        return kal::ModalResult(w);
    };
    EXPECT_EQ(zuzycieKotla->Pokaz(), TOknoRejestru::mrCancel);
    EXPECT_EQ(wybrany, drugi);
    EXPECT_EQ(opis, QStringLiteral("Kocioł na drewno"));
}

TEST_F(TabelaC, NotMoreThanMarksStandInTheGapsBefore5MW)
{
    QStringList zZnakiem;
    for (const QLabel* l : tabelaC->findChildren<QLabel*>())
        if (l->text() == QStringLiteral("<u>&lt;</u>"))
            zZnakiem << qobject_cast<const QLabel*>(l->parent())->text().left(3);
    zZnakiem.sort();
    EXPECT_EQ(zZnakiem, (QStringList{QStringLiteral("2 k"), QStringLiteral("3 g"), QStringLiteral("3 k"),
                                     QStringLiteral("II."), QStringLiteral("III"), QStringLiteral("IV.")}));
}

TEST_F(TabelaC, RefusedPeriodStopsTheBoilerPathsWithItsRule)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    Gmina(QStringLiteral("Alfa"));
    Zapisz(dm->TTabelaC, "I1", 5.0);
    // The period is being edited with a year the rules refuse.
    dm->TOkres->Edit();
    dm->TOkresRok->setAsInteger(1999);
    int pokazane = 0;
    dialogi.onModal = [&](QWidget*) {
        ++pokazane;
        return int(TOknoRejestru::mrCancel);
    };

    // The boiler-use window: the rule's message, no window, -2.
    dialogi.clear();
    EXPECT_EQ(zuzycieKotla->Pokaz(), -2);
    EXPECT_EQ(pokazane, 0);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
    EXPECT_EQ(dialogi.boxes()[0].text, QStringLiteral("Wprowadzono niewłaściwy rok obliczeniowy !!!"));
    EXPECT_EQ(dm->TZuzycieKotla->TableName(), QStringLiteral("ZuzKotla.db"));

    // "Wczytaj": after the question, the same message, and the row keeps its quantities.
    dialogi.clear();
    dialogi.answer(kal::MbYes);
    tabelaC->BitBtn3Click();
    EXPECT_EQ(dialogi.texts(), QStringList({QStringLiteral("Czy chcesz wczytać dane do tabeli C ?"),
                                            QStringLiteral("Wprowadzono niewłaściwy rok obliczeniowy !!!")}));
    EXPECT_EQ(dm->TTabelaC->State(), kal::dsBrowse);
    EXPECT_EQ(PoleC("I1")->AsFloat(), 5.0);
    EXPECT_EQ(dm->TOkres->State(), kal::dsEdit);
    dm->TOkres->Cancel();
}
