// Registers on files written by an older program, which stored a vehicle's
// kind picked from the list as "1 " and a commune's name as typed, trailing
// blanks and all. Opened, such a file holds its values as the program
// stores them now: the vehicle of kind "1 " is the vehicle of kind "1", and
// the register refuses it again with its table's message. A record that the
// older program took twice is shown twice; the user can change it into
// another or delete it where the register deletes.

#include "test_rejestr_wspolne.h"

#include "OldTableFile.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace rejestr_test {
namespace {

class StarszeZbiory : public Rejestry {
protected:
    void SetUp() override
    {
        Rejestry::SetUp();
        firmaIOkres();
        dialogi.clear();
    }

    // The table's file as the older program left it with `wiersze` in it;
    // the table opens it again.
    static void starszyZbior(kal::TTable* t, const std::vector<QVariantMap>& wiersze)
    {
        t->Close();
        {
            kal::test::OldTableFile zbior(t->TableName());
            for (const QVariantMap& w : wiersze) {
                zbior.add(w);
                ASSERT_EQ(zbior.lastResult(), SQLITE_DONE);
            }
        }
        t->Open();
    }

    static QVariantMap pojazd(const char* rodzaj, const char* marka, const char* nr, const char* uwagi)
    {
        return {{QStringLiteral("RodzajPojazdu"), QString::fromUtf8(rodzaj)},
                {QStringLiteral("Marka"), QString::fromUtf8(marka)},
                {QStringLiteral("NrRejestracyjny"), QString::fromUtf8(nr)},
                {QStringLiteral("Uwagi"), QString::fromUtf8(uwagi)}};
    }

    static void wpisz(QLineEdit* pole, const QString& tekst)
    {
        QTest::mouseClick(pole, Qt::LeftButton);
        pole->selectAll();
        QTest::keyClicks(pole, tekst);
    }

    static void kliknijWiersz(kal::TDBGrid* siatka, int wiersz)
    {
        const QRect r = siatka->visualRect(siatka->model()->index(wiersz, 0));
        ASSERT_TRUE(r.isValid());
        QTest::mouseClick(siatka->viewport(), Qt::LeftButton, {}, r.center());
    }

    const QString duplikatPojazdu = QStringLiteral(
        "Dane pojazdu powtarzają się !!!\nDokładna specyfikacja błędu:\nNaruszenie klucza unikalnego w zbiorze Pojazdy.db");
};

// The older program holds a Fiat KR 12345 of kind "1 " (picked from the
// list). The user presses "+" in "Ewidencja pojazdów", keeps the new
// vehicle's kind 1, types the make Fiat and the number KR 12345 and presses
// "✔": the post is refused with the vehicle table's duplicate message, and
// the register still holds one vehicle, of kind 1.
TEST_F(StarszeZbiory, AVehicleOfKindOneWithABlankIsRefusedAgainAsADuplicate)
{
    starszyZbior(dm->TPojazdy, {pojazd("1 ", "Fiat", "KR 12345", "z dawnego programu")});
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        kliknij(pojazdy->DBNavigator1, kal::nbInsert);
        EXPECT_EQ(dm->TPojazdyRodzajPojazdu->AsString(), "1");
        wpisz(pojazdy->DBEdit1, QStringLiteral("Fiat"));
        wpisz(pojazdy->DBEdit2, QStringLiteral("KR 12345"));
        kliknij(pojazdy->DBNavigator1, kal::nbPost);
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsInsert);
        kliknij(pojazdy->DBNavigator1, kal::nbCancel);
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], duplikatPojazdu, QStringLiteral("Błąd komponentu: TPojazdy"));
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyUwagi), QStringList{"z dawnego programu"});
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyRodzajPojazdu), QStringList{"1"});
}

// The older program took the Fiat KR 12345 twice, of kind "1 " and of kind
// "1". Both show in the register, alike, one under the other. A change of
// the remarks of the second row keeps it the same vehicle as the first:
// refused with the duplicate message, and "✘" brings its remarks back. The
// user gives it its right number, KR 12346: it is saved, and the register
// holds two vehicles.
TEST_F(StarszeZbiory, AVehicleTheOlderProgramTookTwiceIsShownTwiceAndCanBeMadeAnother)
{
    starszyZbior(dm->TPojazdy, {pojazd("1 ", "Fiat", "KR 12345", "pierwszy"), pojazd("1", "Fiat", "KR 12345", "drugi")});
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyNrRejestracyjny), (QStringList{"KR 12345", "KR 12345"}));
    QStringList poprawione;
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        ASSERT_EQ(pojazdy->DBGrid1->model()->rowCount(), 2);
        kliknijWiersz(pojazdy->DBGrid1, 1);
        auto* uwagi = pojazdy->findChild<QLineEdit*>(QStringLiteral("DBEdit3"));
        ASSERT_NE(uwagi, nullptr);
        const QString ktory = dm->TPojazdyUwagi->AsString();
        wpisz(uwagi, ktory + QStringLiteral(" - do poprawy"));
        kliknij(pojazdy->DBNavigator1, kal::nbPost);
        kliknij(pojazdy->DBNavigator1, kal::nbCancel);
        EXPECT_EQ(dm->TPojazdyUwagi->AsString(), ktory);
        wpisz(pojazdy->DBEdit2, QStringLiteral("KR 12346"));
        kliknij(pojazdy->DBNavigator1, kal::nbPost);
        EXPECT_EQ(dm->TPojazdy->State(), kal::dsBrowse);
        poprawione << ktory;
        pojazdy->BitBtn1->click();
    });
    pojazdy->Pokaz(0);

    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], duplikatPojazdu, QStringLiteral("Błąd komponentu: TPojazdy"));
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyNrRejestracyjny), (QStringList{"KR 12345", "KR 12346"}));
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyRodzajPojazdu), (QStringList{"1", "1"}));
    ASSERT_EQ(poprawione.size(), 1);
    EXPECT_EQ(zapisane(dm->TPojazdy, dm->TPojazdyUwagi).last(), poprawione[0]);
}

// The older program took the commune Płock with code 1 twice, once as
// "Płock " typed with a blank. "Kartoteka gmin." shows both; the user
// deletes the second with "-" and confirms: one Płock is left.
TEST_F(StarszeZbiory, ACommuneTheOlderProgramTookTwiceCanBeDeleted)
{
    starszyZbior(dm->TGminy, {{{QStringLiteral("NazwaGminy"), QStringLiteral("Płock")},
                               {QStringLiteral("KodGminy"), QStringLiteral("1")}},
                              {{QStringLiteral("NazwaGminy"), QStringLiteral("Płock ")},
                               {QStringLiteral("KodGminy"), QStringLiteral("1")}}});
    int wierszy = -1;
    przyPokazie([&](QWidget* okno) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(okno));
        wierszy = gminy->DBGrid1->model()->rowCount();
        kliknijWiersz(gminy->DBGrid1, 1);
        dialogi.answer(kal::MbOk);
        kliknij(gminy->DBNavigator1, kal::nbDelete);
        gminy->BitBtn1->click();
    });
    gminy->Pokaz(0);

    EXPECT_EQ(wierszy, 2);
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    oczekujKomunikatu(dialogi.boxes()[0], QStringLiteral("Usunąć rekord?"), QStringLiteral("Potwierdzenie"),
                      kal::MsgIcon::Question, kal::MbOk | kal::MbCancel);
    EXPECT_EQ(zapisane(dm->TGminy, dm->TGminyNazwaGminy), QStringList{"Płock"});
}

} // namespace
} // namespace rejestr_test
