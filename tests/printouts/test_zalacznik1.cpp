// "Załącznik nr 1": company lines, period, fees with their blank rule and
// the underlined codes of the tables that carry a fee.

#include "DaneWydrukow.h"

#include "TextMetrics.h"
#include "WydrukZalacznik1.h"

#include <gtest/gtest.h>

using namespace kal::report;

namespace {

struct Zalacznik1 : ::testing::Test {
    kal::test::TestDir katalog;
    std::unique_ptr<kal::TTable> firma, okres, zalacznik;
    TQRZalacznik1 raport;

    Zalacznik1()
    {
        firma = testy::Utworz(QStringLiteral("TFirma"), QStringLiteral("Firma.db"),
                              {{QStringLiteral("Identyfikator"), kal::ftInteger, 0},
                               {QStringLiteral("Nazwa1"), kal::ftString, 60},
                               {QStringLiteral("Nazwa2"), kal::ftString, 60},
                               {QStringLiteral("Adres1"), kal::ftString, 60},
                               {QStringLiteral("Adres2"), kal::ftString, 60},
                               {QStringLiteral("REGON"), kal::ftString, 14},
                               {QStringLiteral("Telefon"), kal::ftString, 30}},
                              QStringLiteral("Identyfikator"));
        okres = testy::Utworz(QStringLiteral("TOkres"), QStringLiteral("Okresy.db"),
                              {{QStringLiteral("IdentyfikatorOkresu"), kal::ftInteger, 0},
                               {QStringLiteral("Rok"), kal::ftSmallint, 0},
                               {QStringLiteral("Polrocze"), kal::ftSmallint, 0}},
                              QStringLiteral("IdentyfikatorOkresu"));
        testy::Pola pola{{QStringLiteral("IdentyfikatorOkresu"), kal::ftInteger, 0}};
        for (const char* p : {"P11", "P12", "P13", "P14", "P15", "P21", "P22", "P23", "P311", "P312", "P313", "P314",
                              "P315", "P32", "P33", "P34", "P35", "P41", "P42", "Rezerwa1", "Rezerwa2", "PI", "PII",
                              "PIII", "PIV", "POgolem"})
            pola.emplace_back(QString::fromLatin1(p), kal::ftFloat, 0);
        zalacznik = testy::Utworz(QStringLiteral("TZalacznik1"), QStringLiteral("Zalacznik1.db"), pola,
                                  QStringLiteral("IdentyfikatorOkresu"));
        // The group totals show whole units; the grand total has no format.
        for (const char* p : {"PI", "PII", "PIII", "PIV"})
            zalacznik->FieldByName(QString::fromLatin1(p))->setDisplayFormat(QStringLiteral("# ### ##0.### ###"));
        zalacznik->FieldByName(QStringLiteral("POgolem"))->setDisplayFormat(QString());
        raport.UstawTabele(firma.get(), okres.get(), zalacznik.get());
    }

    void Firma(const char* nazwa1, const char* nazwa2)
    {
        firma->Append();
        firma->FieldByName(QStringLiteral("Identyfikator"))->setAsInteger(1);
        firma->FieldByName(QStringLiteral("Nazwa1"))->setAsString(QString::fromUtf8(nazwa1));
        firma->FieldByName(QStringLiteral("Nazwa2"))->setAsString(QString::fromUtf8(nazwa2));
        firma->FieldByName(QStringLiteral("Adres1"))->setAsString(QStringLiteral("ul. Długa 5"));
        firma->FieldByName(QStringLiteral("Adres2"))->setAsString(QStringLiteral("61-001 Poznań"));
        firma->FieldByName(QStringLiteral("REGON"))->setAsString(QStringLiteral("630123456"));
        firma->FieldByName(QStringLiteral("Telefon"))->setAsString(QStringLiteral("61 852 00 00"));
        firma->Post();
    }
    void Dane()
    {
        Firma("Przedsiębiorstwo Komunalne", "");
        okres->Append();
        okres->FieldByName(QStringLiteral("IdentyfikatorOkresu"))->setAsInteger(7);
        okres->FieldByName(QStringLiteral("Rok"))->setAsInteger(2009);
        okres->FieldByName(QStringLiteral("Polrocze"))->setAsInteger(1);
        okres->Post();
        testy::Okres::Wiersz(*zalacznik, {{"P11", 0.0009}, {"P12", 0.001}, {"P13", 1234.5}, {"P14", 0}, {"P21", -5},
                                          {"Rezerwa1", 12}, {"PI", 1235}, {"PIII", 12}, {"POgolem", 1247}});
    }
    // The line of the annex table whose text is `opis`: L.p., text, code, fee.
    std::vector<testy::Tekst> Linia(const PageModel& m, const QString& opis)
    {
        return testy::Linia(m, opis, TQRZalacznik1::Kolumny, 4, 1);
    }
    // The line whose text is teksty[1] has these four texts, and its code is
    // underlined or not.
    void SprawdzLinie(const PageModel& m, const QStringList& teksty, bool podkreslony)
    {
        const auto l = Linia(m, teksty[1]);
        ASSERT_EQ(l.size(), 4u);
        EXPECT_EQ(testy::TekstyLinii(l), teksty);
        EXPECT_EQ(l[2].podkreslony, podkreslony);
    }
};

} // namespace

TEST_F(Zalacznik1, FeesBelowATenthOfAGroszPrintBlankAndTheirCodeIsNotUnderlined)
{
    Dane();
    const auto strony = raport.prepare();
    ASSERT_NO_FATAL_FAILURE(
        SprawdzLinie(*strony, {"1.1.", "Żródła powstawania substancji wprowadzanych do powietrza", " A ", ""}, false));
    ASSERT_NO_FATAL_FAILURE(SprawdzLinie(*strony, {"1.2.", "Przeładunek benzyn silnikowych", " B ", "0,001"}, true));
    auto l13 = Linia(*strony, QStringLiteral("Spalanie paliw w kotłach o nominalnej mocy cieplnej do 5 MW"));
    ASSERT_EQ(l13.size(), 4u);
    EXPECT_EQ(l13[3].tekst, QStringLiteral("1 234,50"));
    EXPECT_TRUE(l13[2].podkreslony);
    // A zero and a negative fee: blank, not underlined.
    auto l14 = Linia(*strony, QStringLiteral("Silniki spalinowe"));
    ASSERT_EQ(l14.size(), 4u);
    EXPECT_EQ(l14[3].tekst, QString());
    EXPECT_FALSE(l14[2].podkreslony);
    ASSERT_NO_FATAL_FAILURE(SprawdzLinie(*strony, {"2.1", "Woda podziemna", " A ", ""}, false));
    // Position 3.1.6 prints the first reserve field.
    ASSERT_NO_FATAL_FAILURE(SprawdzLinie(
        *strony, {"3.1.6", "Wody wykorzystane, odprowadzane z obiektów chowu lub hodowli ryb", " A ", "12,00"}, true));
}

TEST_F(Zalacznik1, UnderliningFollowsEachRun)
{
    Dane();
    raport.prepare();
    zalacznik->Edit();
    zalacznik->FieldByName(QStringLiteral("P12"))->setAsFloat(0);
    zalacznik->FieldByName(QStringLiteral("P11"))->setAsFloat(3);
    zalacznik->Post();
    const auto strony = raport.prepare();
    EXPECT_TRUE(Linia(*strony, QStringLiteral("Żródła powstawania substancji wprowadzanych do powietrza"))[2].podkreslony);
    EXPECT_FALSE(Linia(*strony, QStringLiteral("Przeładunek benzyn silnikowych"))[2].podkreslony);
}

TEST_F(Zalacznik1, TotalsPrintInWholeUnits)
{
    Dane();
    const auto strony = raport.prepare();
    auto pi = Linia(*strony, QStringLiteral("Wysokość opłaty za wprowadzanie gazów lub pyłów do powietrza"));
    ASSERT_EQ(pi.size(), 4u);
    EXPECT_EQ(testy::TekstyLinii(pi),
              QStringList({"I", "Wysokość opłaty za wprowadzanie gazów lub pyłów do powietrza", "", "1 235"}));
    EXPECT_EQ(Linia(*strony, QStringLiteral("Wysokość opłaty za pobór wód ogółem 4)"))[3].tekst, QString());
    const QStringList t = testy::WszystkieTeksty(*strony);
    const int i = int(t.indexOf(QStringLiteral("Suma opłat ogółem 6)")));
    ASSERT_GE(i, 0);
    EXPECT_EQ(t.mid(i + 1, 2), QStringList({"1247", "zł"}));
}

TEST_F(Zalacznik1, AOneLineNameStandsOnTheSecondLine)
{
    Dane();
    const QStringList t = testy::WszystkieTeksty(*raport.prepare());
    const int nazwa = int(t.indexOf(QStringLiteral("Nazwa:")));
    ASSERT_GE(nazwa, 0);
    // The first name line is empty, so "Nazwa:" is followed by nothing on its line.
    EXPECT_EQ(t.mid(nazwa, 6), QStringList({"Nazwa:", "Przedsiębiorstwo Komunalne", "Adres:", "ul. Długa 5",
                                            "61-001 Poznań", "REGON"}));
    EXPECT_EQ(t.mid(nazwa + 6, 3), QStringList({"630123456", "Telefon/fax:", "61 852 00 00"}));
    EXPECT_EQ(t.mid(0, 4), QStringList({"Załącznik nr 1",
                                        "Wykaz zawierający zbiorcze zestawienia informacji o zakresie korzystania ze "
                                        "środowiska oraz wysokości należnych opłat",
                                        "ZBIORCZE ZESTAWIENIE INFORMACJI O ZAKRESIE KORZYSTANIA ZE",
                                        "ŚRODOWISKA ORAZ WYSOKOŚCI NALEŻNYCH OPŁAT 1)"}));
    EXPECT_EQ(t.mid(4, 4), QStringList({"rok 2):", "2009", "półrocze 2):", "1"}));
}

TEST_F(Zalacznik1, ATwoLineNameKeepsItsOrder)
{
    Firma("Przedsiębiorstwo Gospodarki", "Komunalnej Sp. z o.o.");
    const QStringList t = testy::WszystkieTeksty(*raport.prepare());
    const int nazwa = int(t.indexOf(QStringLiteral("Nazwa:")));
    ASSERT_GE(nazwa, 0);
    EXPECT_EQ(t.mid(nazwa, 3), QStringList({"Nazwa:", "Przedsiębiorstwo Gospodarki", "Komunalnej Sp. z o.o."}));
}

TEST_F(Zalacznik1, OnePortraitPageWhereEveryTextFits)
{
    Dane();
    const auto strony = raport.prepare();
    ASSERT_EQ(strony->pageCount(), 1);
    EXPECT_EQ(strony->orientation, Orientation::Portrait);
    for (const auto page = strony->page(0); const PageItem& it : page->items) {
        if (it.kind == PageItem::Kind::Text) {
            EXPECT_LE(TextMetrics::width(strony->fontOf(it), it.text), it.x2 - it.x1 + 0.01) << it.text.toStdString();
            EXPECT_LE(it.y2, 287.0) << it.text.toStdString();
        }
    }
}
