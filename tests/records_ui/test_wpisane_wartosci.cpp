// Values typed into the data module's fields, as the edits hand them over
// (through the field's text): a text that is not a number is refused and the
// field keeps its value, never turned into 0; a value refused for its range
// is named as the window labels the field; kilometres between inspections
// take a lorry's 60 000 and more; and a fuel record moved from no date to a
// date leaves a dateless mileage entry as it was.

#include "DataDir.h"

#include "Exceptions.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

class Wpisane : public kal::test::DataDir {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DataDir::SetUp());
        firmaIOkres();
        ASSERT_TRUE(dm->UstawZbiorZuzycia());
        dialogi.clear();
    }

    // The message of what setText raised, or "" when it took the text.
    static QString odmowa(kal::TField* pole, const QString& tekst)
    {
        try {
            pole->setText(tekst);
        } catch (const kal::Exception& e) {
            return e.message();
        }
        return {};
    }
};

const QString kNieLiczba = QStringLiteral("Wprowadzona wartość nie jest liczbą !!!\n"
                                          "Część dziesiętną oddziela się przecinkiem (np. 2,5), nie kropką.");

// Every register amount typed as text: the user had 40,5 there and types a
// price with a letter O for a zero, then a number written with both a dot
// and a comma; both are refused and 40,5 stays. " 1 234,56 " is stored as
// 1234,56, and 1234.5 with a dot is refused; an empty text is stored as 0,
// minus five as 0.
TEST_F(Wpisane, ATextThatIsNotANumberIsRefusedAndTheFieldKeepsItsValue)
{
    const int id = pojazd(QStringLiteral("KR 12345"));
    tankowanie(id, QDate(2009, 3, 2), 40.0);
    dm->TZuzycie->Edit();
    dm->TPrzegl->Insert();
    dm->TPrzebieg->Insert();
    dm->TPojazdy->Edit();
    const std::pair<const char*, kal::TField*> pola[] = {
        {"Ilość paliwa", dm->TZuzycieIloscPaliwa},
        {"Cena paliwa", dm->TZuzycieCenaPaliwa},
        {"Przebieg tankowania", dm->TZuzycieIloscKm},
        {"Wartość naprawy", dm->TPrzeglWartosc},
        {"Przebieg naprawy", dm->TPrzeglIloscKm},
        {"Ilość kilometrów", dm->TPrzebiegIloscKilometrow},
        {"Dopuszczalna masa całkowita", dm->TPojazdyDMasaCalkowita},
    };
    for (const auto& [nazwa, pole] : pola) {
        SCOPED_TRACE(nazwa);
        pole->setText(QStringLiteral("40,5"));
        EXPECT_EQ(odmowa(pole, QStringLiteral("4O,5")), kNieLiczba);
        EXPECT_DOUBLE_EQ(pole->AsFloat(), 40.5);
        EXPECT_EQ(odmowa(pole, QStringLiteral("1.234,56")), kNieLiczba);
        EXPECT_DOUBLE_EQ(pole->AsFloat(), 40.5);
        EXPECT_EQ(odmowa(pole, QStringLiteral(" 1 234,56 ")), QString());
        EXPECT_DOUBLE_EQ(pole->AsFloat(), 1234.56);
        EXPECT_EQ(odmowa(pole, QStringLiteral("1234.5")), kNieLiczba);
        EXPECT_DOUBLE_EQ(pole->AsFloat(), 1234.56);
        EXPECT_EQ(odmowa(pole, QString()), QString());
        EXPECT_FALSE(pole->IsNull());
        EXPECT_DOUBLE_EQ(pole->AsFloat(), 0.0);
        pole->setText(QStringLiteral("40,5"));
        EXPECT_EQ(odmowa(pole, QStringLiteral("-5")), QString());
        EXPECT_DOUBLE_EQ(pole->AsFloat(), 0.0);
    }
    // A vehicle's book value is a number field of its own: its field refuses
    // letters with the same message.
    dm->TPojazdyWartoscEwidencyjna->setText(QStringLiteral("12000"));
    EXPECT_EQ(odmowa(dm->TPojazdyWartoscEwidencyjna, QStringLiteral("12 OOO")), kNieLiczba);
    EXPECT_DOUBLE_EQ(dm->TPojazdyWartoscEwidencyjna->AsFloat(), 12000.0);
    dm->TPojazdy->Cancel();
    dm->TPrzebieg->Cancel();
    dm->TPrzegl->Cancel();
    dm->TZuzycie->Cancel();
    EXPECT_TRUE(dialogi.boxes().empty());
}

// The statement values take the same entry: a quantity of table C, a rate
// of table D and a value of "Załącznik nr 1" keep 2,5 when letters are typed.
TEST_F(Wpisane, StatementValuesRefuseTextsThatAreNotNumbersToo)
{
    ASSERT_TRUE(dm->OtworzZalacznikiPolrocza());
    dm->TTabelaC->Edit();
    dm->TStawkiTabD->Edit();
    dm->TZalacznik1->Edit();
    for (kal::TField* pole : {dm->TTabelaC->FieldByName(QStringLiteral("I1")),
                              dm->TStawkiTabD->FieldByName(QStringLiteral("17c")),
                              dm->TZalacznik1->FieldByName(QStringLiteral("P11"))}) {
        SCOPED_TRACE(pole->FieldName().toStdString());
        pole->setText(QStringLiteral("2,5"));
        EXPECT_EQ(odmowa(pole, QStringLiteral("dwa")), kNieLiczba);
        EXPECT_DOUBLE_EQ(pole->AsFloat(), 2.5);
    }
    dm->TZalacznik1->Cancel();
    dm->TStawkiTabD->Cancel();
    dm->TTabelaC->Cancel();
}

// "Km między przegl." of a lorry: 60 000 and 120 000 and 9 999 999 are
// stored as typed. A number of seats beyond what its field holds is refused
// with the label of the vehicle window and the allowed range.
TEST_F(Wpisane, KilometresBetweenInspectionsTakeALorrysIntervalAndARefusedValueNamesItsLabel)
{
    const int id = pojazd(QStringLiteral("PO 77777"), QStringLiteral("5"));
    for (const auto& [tekst, km] : {std::pair{"60000", 60000}, {"120 000", 120000}, {"9999999", 9999999}}) {
        ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), id));
        dm->TPojazdy->Edit();
        dm->TPojazdyIloscKmMiedzyPrzegl->setText(QString::fromLatin1(tekst));
        dm->TPojazdy->Post();
        dm->TPojazdy->Refresh();
        EXPECT_EQ(dm->TPojazdyIloscKmMiedzyPrzegl->AsInteger(), km);
    }
    dm->TPojazdy->Edit();
    EXPECT_EQ(odmowa(dm->TPojazdyIloscMiejsc, QStringLiteral("40000")),
              QStringLiteral("40000 nie jest poprawną wartością pola 'Ilość miejsc'. Dozwolony zakres to -32768 do 32767"));
    EXPECT_EQ(odmowa(dm->TPojazdyIloscKmMiedzyPrzegl, QStringLiteral("3000000000")),
              QStringLiteral("3000000000 nie jest poprawną wartością pola 'Km między przegl.'. Dozwolony zakres to "
                             "-2147483648 do 2147483647"));
    EXPECT_EQ(dm->TPojazdyIloscKmMiedzyPrzegl->AsInteger(), 9999999);
    dm->TPojazdy->Cancel();
}

// A register file made by an older program, whose "Km między przegl." holds
// at most 32 767: it opens, and takes and keeps 60 000.
TEST_F(Wpisane, AnOlderVehicleFileWithTheNarrowKilometreFieldKeepsWorking)
{
    dm.reset();
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open("Pojazdy.db", &db), SQLITE_OK);
        const QByteArray sql = QStringLiteral("UPDATE _kal_fields SET type=%1 WHERE name='IloscKmMiedzyPrzegl'")
                                   .arg(int(kal::ftSmallint))
                                   .toUtf8();
        ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_changes(db), 1);
        sqlite3_close(db);
    }
    otworzModul();
    const int id = pojazd(QStringLiteral("PO 77777"), QStringLiteral("5"));
    dm->TPojazdy->Edit();
    dm->TPojazdyIloscKmMiedzyPrzegl->setText(QStringLiteral("60000"));
    dm->TPojazdy->Post();
    otworzModul();
    ASSERT_TRUE(dm->TPojazdy->Locate(QStringLiteral("IdentyfikatorPojazdu"), id));
    EXPECT_EQ(dm->TPojazdyIloscKmMiedzyPrzegl->AsInteger(), 60000);
}

// An old fuel record of vehicle KR 12345 and an old mileage entry of the
// same vehicle, both without a date (the entry reads 8 000 km). The user
// gives the fuel record the date 2009-03-15 and the reading 15 000 and saves
// it: the mileage register gains 2009-03-15 with 15 000 km, and the dateless
// entry keeps its 8 000 km.
TEST_F(Wpisane, AFuelRecordGivenItsFirstDateLeavesADatelessMileageEntryAsItWas)
{
    const int id = pojazd(QStringLiteral("KR 12345"));
    {
        // Written as an older program left them, past today's rules.
        kal::TTable zuzycie(QStringLiteral("TStareZuzycie"));
        zuzycie.setTableName(dm->TZuzycie->TableName());
        zuzycie.Open();
        zuzycie.Append();
        zuzycie.FieldByName(QStringLiteral("IdentyfikatorFirmy"))->setAsInteger(dm->TFirmaIdentyfikator->AsInteger());
        zuzycie.FieldByName(QStringLiteral("IdentyfikatorPojazdu"))->setAsInteger(id);
        zuzycie.FieldByName(QStringLiteral("RodzajPaliwa"))->setAsString(QStringLiteral("5"));
        zuzycie.FieldByName(QStringLiteral("IloscPaliwa"))->setAsFloat(40.0);
        zuzycie.Post();
        kal::TTable przebieg(QStringLiteral("TStaryPrzebieg"));
        przebieg.setTableName(QStringLiteral("Przebieg.db"));
        przebieg.Open();
        przebieg.Append();
        przebieg.FieldByName(QStringLiteral("IdentyfikatorPojazdu"))->setAsInteger(id);
        przebieg.FieldByName(QStringLiteral("IloscKilometrow"))->setAsFloat(8000.0);
        przebieg.Post();
    }
    dm->TZuzycie->Refresh();
    dm->TPrzebieg->Refresh();
    ASSERT_EQ(dm->TZuzycie->RecordCount(), 1);
    ASSERT_TRUE(dm->TZuzycieDataTankowania->IsNull());

    dm->TZuzycie->Edit();
    dm->TZuzycieDataTankowania->setText(QStringLiteral("2009-03-15"));
    dm->TZuzycieIloscKm->setText(QStringLiteral("15000"));
    dm->TZuzycie->Post();

    EXPECT_TRUE(dialogi.boxes().empty());
    kal::TTable przebieg(QStringLiteral("TPrzebiegTestu"));
    przebieg.setTableName(QStringLiteral("Przebieg.db"));
    przebieg.Open();
    QStringList wpisy;
    for (przebieg.First(); !przebieg.Eof(); przebieg.Next())
        wpisy << przebieg.FieldByName(QStringLiteral("Data"))->AsString() + QStringLiteral(" ") +
                     przebieg.FieldByName(QStringLiteral("IloscKilometrow"))->AsString();
    wpisy.sort();
    EXPECT_EQ(wpisy, (QStringList{" 8000", "2009-03-15 15000"}));
}

} // namespace
