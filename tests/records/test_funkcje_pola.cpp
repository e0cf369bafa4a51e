#include "Funkcje.h"
#include "Funkcjedatyiczasu.h"

#include "Exceptions.h"
#include "ScriptedDialogs.h"
#include "Table.h"
#include "TestDir.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable values in failure messages.
[[maybe_unused]] static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

using kal::TField;
using kal::TTable;

namespace {

// A small register of its own: id, registration, amount, date.
class Rejestr : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setTableName(QStringLiteral("Rejestr.db"));
        id = table.AddField(QStringLiteral("Id"), kal::ftInteger);
        nr = table.AddField(QStringLiteral("Nr"), kal::ftString, 20);
        kwota = table.AddField(QStringLiteral("Kwota"), kal::ftFloat);
        data = table.AddField(QStringLiteral("Data"), kal::ftDate);
        table.CreateTable();
        table.Open();
    }
    void Add(int i, const QString& n = {}, double k = 0, QDate d = {})
    {
        table.Append();
        id->setAsInteger(i);
        if (!n.isEmpty())
            nr->setAsString(n);
        kwota->setAsFloat(k);
        if (d.isValid())
            data->setAsDateTime(d);
        table.Post();
    }

    kal::test::TestDir dir;
    TTable table{QStringLiteral("TRejestr")};
    TField* id = nullptr;
    TField* nr = nullptr;
    TField* kwota = nullptr;
    TField* data = nullptr;
};

} // namespace

// ---- numbers from fields -----------------------------------------------------

TEST_F(Rejestr, PoleNaLiczbeReadsTheFieldText)
{
    Add(1, QStringLiteral("12.5"), 1234.5);
    EXPECT_EQ(PoleNaLiczbe(kwota), 1234.5);
    EXPECT_EQ(PoleNaLiczbe(nr), 12.5);
    Add(2, QStringLiteral("1 234,25"), 0.1 + 0.2);
    EXPECT_EQ(PoleNaLiczbe(kwota), 0.1 + 0.2);  // full precision survives the text
    EXPECT_EQ(PoleNaLiczbe(nr), 1234.25);
    Add(3, QStringLiteral("WA 123"));
    EXPECT_EQ(PoleNaLiczbe(nr), 0.0);
    Add(4);
    EXPECT_EQ(PoleNaLiczbe(nr), 0.0);  // empty field
    EXPECT_EQ(PoleNaLiczbe(data), 0.0);
}

TEST_F(Rejestr, PoleNaCalkowitaReadsWholeNumbersOnly)
{
    Add(7, QStringLiteral(" 1 234 "), 2.5);
    EXPECT_EQ(PoleNaCalkowita(id), 7);
    EXPECT_EQ(PoleNaCalkowita(nr), 1234);
    EXPECT_EQ(PoleNaCalkowita(kwota), 0);  // "2,5" is not a whole number
    Add(8, QStringLiteral("3000000000"));
    EXPECT_EQ(PoleNaCalkowita(nr), 0);
    Add(9);
    EXPECT_EQ(PoleNaCalkowita(nr), 0);
}

// ---- record search -------------------------------------------------------------

TEST_F(Rejestr, ZnajdzRekordPositionsOnTheKey)
{
    Add(1);
    Add(2);
    Add(3);
    table.First();
    EXPECT_TRUE(ZnajdzRekord(id, 3));
    EXPECT_EQ(id->AsInteger(), 3);
    EXPECT_TRUE(ZnajdzRekord(id, 2));
    EXPECT_EQ(id->AsInteger(), 2);
}

TEST_F(Rejestr, ZnajdzRekordDoesNotMoveWhenAlreadyThere)
{
    Add(1);
    Add(2);
    table.First();
    table.Next();
    int scrolls = 0;
    table.BeforeScroll = [&](TTable&) { ++scrolls; };
    EXPECT_TRUE(ZnajdzRekord(id, 2));
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(table.RecNo(), 2);
}

TEST_F(Rejestr, ZnajdzRekordMissingValueEndsAtTheEnd)
{
    Add(1);
    Add(2);
    table.First();
    EXPECT_FALSE(ZnajdzRekord(id, 9));
    EXPECT_TRUE(table.Eof());
}

// ---- buffers ---------------------------------------------------------------------

TEST_F(Rejestr, ZapiszBuforyPostsAPendingEdit)
{
    Add(1, QStringLiteral("A"));
    table.Edit();
    nr->setAsString(QStringLiteral("B"));
    ZapiszBufory(&table);
    EXPECT_EQ(table.State(), kal::dsBrowse);
    TTable other(QStringLiteral("TInny"));
    other.setTableName(QStringLiteral("Rejestr.db"));
    other.Open();
    EXPECT_EQ(other.FieldByName(QStringLiteral("Nr"))->AsString(), QStringLiteral("B"));
}

TEST_F(Rejestr, ZapiszBuforyCancelsAnUnchangedInsert)
{
    Add(1);
    table.Append();
    ZapiszBufory(&table);
    EXPECT_EQ(table.State(), kal::dsBrowse);
    EXPECT_EQ(table.RecordCount(), 1);
}

// ---- the save prompt ---------------------------------------------------------------

namespace {
const QString Zmiana = QStringLiteral("Czy chcesz zmienić dane o zużyciu paliwa ?");
const QString Dopisanie = QStringLiteral("Czy chcesz dopisać nowe zużycie paliwa ?");
const QString Naglowek = QStringLiteral("Kontrola wprowadzania zużycia paliw.");
} // namespace

TEST_F(Rejestr, ZapytajOZapisInBrowseClosesWithoutAQuestion)
{
    kal::test::ScriptedDialogs dialogs;
    Add(1);
    TCloseAction action = caHide;
    ZapytajOZapis(Zmiana, Dopisanie, Naglowek, action, &table);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(action, caHide);
}

TEST_F(Rejestr, ZapytajOZapisYesPosts)
{
    kal::test::ScriptedDialogs dialogs;
    Add(1, QStringLiteral("A"));
    table.Edit();
    nr->setAsString(QStringLiteral("B"));
    dialogs.answer(kal::MbYes);
    TCloseAction action = caHide;
    ZapytajOZapis(Zmiana, Dopisanie, Naglowek, action, &table);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, Zmiana);
    EXPECT_EQ(dialogs.boxes()[0].caption, Naglowek);
    EXPECT_EQ(dialogs.boxes()[0].buttons, unsigned(kal::MbYes | kal::MbNo | kal::MbCancel));
    EXPECT_EQ(dialogs.boxes()[0].icon, kal::MsgIcon::Question);
    EXPECT_EQ(action, caHide);
    EXPECT_EQ(table.State(), kal::dsBrowse);
    table.Refresh();
    EXPECT_EQ(nr->AsString(), QStringLiteral("B"));
}

TEST_F(Rejestr, ZapytajOZapisNoCancels)
{
    kal::test::ScriptedDialogs dialogs;
    Add(1, QStringLiteral("A"));
    table.Edit();
    nr->setAsString(QStringLiteral("B"));
    dialogs.answer(kal::MbNo);
    TCloseAction action = caHide;
    ZapytajOZapis(Zmiana, Dopisanie, Naglowek, action, &table);
    EXPECT_EQ(action, caHide);
    EXPECT_EQ(table.State(), kal::dsBrowse);
    EXPECT_EQ(nr->AsString(), QStringLiteral("A"));
}

TEST_F(Rejestr, ZapytajOZapisCancelKeepsTheWindowAndTheEdit)
{
    kal::test::ScriptedDialogs dialogs;
    Add(1, QStringLiteral("A"));
    table.Edit();
    nr->setAsString(QStringLiteral("B"));
    dialogs.answer(kal::MbCancel);
    TCloseAction action = caHide;
    ZapytajOZapis(Zmiana, Dopisanie, Naglowek, action, &table);
    EXPECT_EQ(action, caNone);
    EXPECT_EQ(table.State(), kal::dsEdit);
    EXPECT_EQ(nr->AsString(), QStringLiteral("B"));
}

TEST_F(Rejestr, ZapytajOZapisAsksTheAppendQuestionWhileInserting)
{
    kal::test::ScriptedDialogs dialogs;
    Add(1);
    table.Append();
    id->setAsInteger(2);
    dialogs.answer(kal::MbYes);
    TCloseAction action = caHide;
    ZapytajOZapis(Zmiana, Dopisanie, Naglowek, action, &table);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, Dopisanie);
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(action, caHide);
}

TEST_F(Rejestr, ZapytajOZapisRefusedPostKeepsTheWindowOpen)
{
    kal::test::ScriptedDialogs dialogs;
    Add(1, QStringLiteral("A"));
    table.BeforePost = [](TTable&) { throw kal::Exception(QStringLiteral("Brak numeru !!!")); };
    table.Edit();
    nr->setAsString(QStringLiteral("B"));
    dialogs.answer(kal::MbYes);
    TCloseAction action = caHide;
    EXPECT_THROW(ZapytajOZapis(Zmiana, Dopisanie, Naglowek, action, &table), kal::Exception);
    EXPECT_EQ(action, caNone);
    EXPECT_EQ(table.State(), kal::dsEdit);
    table.BeforePost = nullptr;
}

// ---- dates from fields -------------------------------------------------------------

TEST_F(Rejestr, DatesFromFields)
{
    Add(1, {}, 0, QDate(2009, 6, 12));
    const DataKalendarzowa d(data);
    EXPECT_EQ(d, DataKalendarzowa(2009, 6, 12));
    EXPECT_EQ(DataZPola(data), DataKalendarzowa(2009, 6, 12));
    EXPECT_TRUE(CzyPoprawnaData(data));
    EXPECT_FALSE(DataKalendarzowa(2009, 6, 12) != data);
    EXPECT_TRUE(DataKalendarzowa(2009, 6, 11) != data);
    EXPECT_TRUE(DataKalendarzowa(2009, 6, 11) < data);
    EXPECT_FALSE(DataKalendarzowa(2009, 6, 12) < data);

    Add(2);  // no date
    DataKalendarzowa e(2009, 1, 1);
    e = data;
    EXPECT_TRUE(e.Pusta());
    EXPECT_EQ(e.rok, 0);
    EXPECT_EQ(DataZPola(data), DataKalendarzowa());
    EXPECT_FALSE(CzyPoprawnaData(data));
    EXPECT_EQ(DataKalendarzowa(data).NaTekst('U', false), QStringLiteral("__-__ - ____"));
    EXPECT_TRUE(DataKalendarzowa() < DataKalendarzowa(1, 1, 1));
}
