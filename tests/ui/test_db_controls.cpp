// Lists, lookup lists, radio groups, check boxes, memos, texts and the
// navigator: the values they store and what they show.
#include "DBComboBox.h"
#include "DBControls.h"
#include "DBEdit.h"
#include "DBNavigator.h"
#include "Exceptions.h"
#include "InputHook.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace kal;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;

namespace {

// Miejsca.db: places of use, keyed by Id.
struct Places {
    TTable T{QStringLiteral("TMiejsca")};
    TField* Id;
    TField* Nazwa;
    Places()
    {
        T.setTableName(QStringLiteral("Miejsca.db"));
        Id = T.AddField(QStringLiteral("Id"), ftInteger);
        Nazwa = T.AddField(QStringLiteral("Nazwa"), ftString, 30);
        T.CreateTable();
        T.Open();
        add(3, "Baza Kraków");
        add(7, "Sopot");
        add(9, "Zakład Płock");
        T.First();
    }
    void add(int id, const char* name)
    {
        T.Append();
        Id->setAsInteger(id);
        Nazwa->setAsString(QString::fromUtf8(name));
        T.Post();
    }
};

// Pojazdy.db: the kind code, EURO digit, gas flag, place of use, a boolean
// and a memo, with the place's name as a lookup field.
struct Vehicles {
    TTable T{QStringLiteral("TPojazdy")};
    TField* Marka;
    TField* Rodzaj;
    TField* Gaz;
    TField* Miejsce;
    TField* Aktywny;
    TField* Opis;
    TField* NazwaMiejsca;
    Vehicles(TTable& places)
    {
        T.setTableName(QStringLiteral("Pojazdy.db"));
        Marka = T.AddField(QStringLiteral("Marka"), ftString, 20);
        Rodzaj = T.AddField(QStringLiteral("Rodzaj"), ftString, 2);
        Gaz = T.AddField(QStringLiteral("Gaz"), ftString, 1);
        Miejsce = T.AddField(QStringLiteral("Miejsce"), ftInteger);
        Aktywny = T.AddField(QStringLiteral("Aktywny"), ftBoolean);
        Opis = T.AddField(QStringLiteral("Opis"), ftMemo);
        T.CreateTable();
        NazwaMiejsca = T.AddField(QStringLiteral("NazwaMiejsca"), ftString, 30, fkLookup);
        NazwaMiejsca->setLookupDefinition(&places, QStringLiteral("Miejsce"), QStringLiteral("Id"),
                                          QStringLiteral("Nazwa"));
        T.Open();
        T.Append();
        Marka->setAsString(QStringLiteral("Fiat"));
        Rodzaj->setAsString(QStringLiteral("3"));
        Gaz->setAsString(QStringLiteral("T"));
        Miejsce->setAsInteger(9);
        T.Post();
        T.Append();
        Marka->setAsString(QStringLiteral("Jelcz"));
        T.Post();
        T.First();
    }
};

const QStringList kKinds = {QStringLiteral("1 -samochód osobowy z katalizatorem"),
                            QStringLiteral("3 -samochód nieosobowy o masie poniżej 3,5 Mg"),
                            QStringLiteral("10- maszyny robocze")};

class ControlsTest : public ::testing::Test {
protected:
    QString stored(TField* f)
    {
        v.T.Refresh();
        return f->AsString();
    }

    // The vehicle's place key picked from a list of the places.
    void listOfPlaces(TDBLookupComboBox& combo, const QString& listField)
    {
        combo.setDataSource(&ds);
        combo.setDataField(QStringLiteral("Miejsce"));
        combo.setListSource(&places);
        combo.setListField(listField);
        combo.setKeyField(QStringLiteral("Id"));
    }

    TestDir dir;
    ScriptedDialogs dialogs;
    Places p;
    Vehicles v{p.T};
    TDataSource ds{&v.T, QStringLiteral("DPojazdy")};
    TDataSource places{&p.T, QStringLiteral("DMiejsca")};
};

TEST_F(ControlsTest, ComboStoresTheItemsFirstCharacters)
{
    TDBComboBox combo;
    combo.setItems(kKinds);
    combo.setValueLength(2);
    combo.setDataSource(&ds);
    combo.setDataField(QStringLiteral("Rodzaj"));
    EXPECT_EQ(combo.currentIndex(), 1); // "3" is the second item's code
    EXPECT_EQ(combo.currentText(), kKinds[1]);

    combo.activated(2);
    EXPECT_EQ(v.T.State(), dsEdit);
    EXPECT_EQ(v.Rodzaj->AsString(), "10");
    EXPECT_EQ(combo.currentIndex(), 2);
    v.T.Post();
    EXPECT_EQ(stored(v.Rodzaj), "10");

    combo.activated(0);
    v.T.Post();
    EXPECT_EQ(stored(v.Rodzaj).trimmed(), "1");
    EXPECT_EQ(combo.currentIndex(), 0);

    v.T.Next(); // no kind yet: nothing chosen
    EXPECT_EQ(combo.currentIndex(), -1);
}

// A wheel passing over a list on its way elsewhere leaves the focus in the
// field being edited: the lists take it by a click or Tab only.
TEST_F(ControlsTest, ListsTakeTheFocusByClickOrTabNotByTheWheel)
{
    TDBComboBox combo;
    TDBLookupComboBox lookup;
    for (QWidget* list : {static_cast<QWidget*>(&combo), static_cast<QWidget*>(&lookup)}) {
        EXPECT_EQ(list->focusPolicy() & Qt::WheelFocus, Qt::StrongFocus);
        EXPECT_TRUE(list->focusPolicy() & Qt::ClickFocus);
        EXPECT_TRUE(list->focusPolicy() & Qt::TabFocus);
    }
}

TEST_F(ControlsTest, ComboFindsTheItemByTheFieldsText)
{
    // The kind code shows as its description; an item picked is cut to the
    // field's two characters.
    v.Rodzaj->OnGetText = [](TField& f, QString& text, bool) {
        const QString code = f.AsString().trimmed();
        for (const QString& item : kKinds)
            if (item.left(2).trimmed() == code)
                text = item;
    };
    TDBComboBox combo;
    combo.setItems(kKinds);
    combo.setDataSource(&ds);
    combo.setDataField(QStringLiteral("Rodzaj"));
    EXPECT_EQ(combo.currentIndex(), 1);
    combo.activated(2);
    v.T.Post();
    EXPECT_EQ(stored(v.Rodzaj), "10");
    EXPECT_EQ(combo.currentText(), "10- maszyny robocze");
}

TEST_F(ControlsTest, ComboWithValuesAndSetText)
{
    QStringList handed;
    v.Gaz->OnSetText = [&](TField& f, const QString& text) {
        handed << text;
        f.setAsString(text);
    };
    TDBComboBox combo;
    combo.setItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    combo.setValues({QStringLiteral("T"), QStringLiteral("N")});
    combo.setDataSource(&ds);
    combo.setDataField(QStringLiteral("Gaz"));
    EXPECT_EQ(combo.currentText(), "Tak");
    combo.activated(1);
    EXPECT_EQ(handed, QStringList{"N"});
    v.T.Post();
    EXPECT_EQ(stored(v.Gaz), "N");
    EXPECT_EQ(combo.currentText(), "Nie");
}

TEST_F(ControlsTest, ReadOnlyControlsChangeNothing)
{
    TDBComboBox combo;
    combo.setItems(kKinds);
    combo.setValueLength(2);
    combo.setDataSource(&ds);
    combo.setDataField(QStringLiteral("Rodzaj"));
    combo.setReadOnly(true);
    combo.show();
    combo.showPopup();
    EXPECT_FALSE(combo.view()->isVisible());
    combo.activated(0);
    EXPECT_EQ(combo.currentIndex(), 1);

    TDBRadioGroup group;
    group.setItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    group.setValues({QStringLiteral("T"), QStringLiteral("N")});
    group.setDataSource(&ds);
    group.setDataField(QStringLiteral("Gaz"));
    v.Gaz->setReadOnly(true);
    group.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));
    QTest::mouseClick(group.Button(1), Qt::LeftButton);
    EXPECT_EQ(group.ItemIndex(), 0);

    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(v.Rodzaj->AsString(), "3");
    EXPECT_EQ(v.Gaz->AsString(), "T");
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(ControlsTest, LookupComboWritesTheKeyAndLeavesTheListAlone)
{
    TDBLookupComboBox combo;
    listOfPlaces(combo, QStringLiteral("Nazwa"));
    combo.setDropDownRows(10);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), "Baza Kraków");
    EXPECT_EQ(combo.itemText(2), "Zakład Płock");
    EXPECT_EQ(combo.currentText(), "Zakład Płock"); // key 9
    EXPECT_EQ(combo.maxVisibleItems(), 10);

    combo.activated(1);
    EXPECT_EQ(v.Miejsce->AsInteger(), 7);
    EXPECT_EQ(p.T.RecNo(), 1); // the list table did not move
    v.T.Post();
    EXPECT_EQ(stored(v.Miejsce), "7");
    EXPECT_EQ(combo.currentText(), "Sopot");

    v.T.Next(); // no place: empty box
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.currentText(), "");
}

TEST_F(ControlsTest, LookupComboOnALookupFieldWritesItsKeyField)
{
    TDBLookupComboBox combo;
    combo.setDataSource(&ds);
    combo.setDataField(QStringLiteral("NazwaMiejsca"));
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.currentText(), "Zakład Płock");
    combo.activated(0);
    v.T.Post();
    EXPECT_EQ(stored(v.Miejsce), "3");
    EXPECT_EQ(v.NazwaMiejsca->AsString(), "Baza Kraków");
    EXPECT_EQ(combo.currentText(), "Baza Kraków");
}

TEST_F(ControlsTest, LookupFieldControlsFollowTheKeyWrittenByCode)
{
    // A picker window writes the key: the lookup list and the text showing
    // the looked-up name change with it.
    TDBLookupComboBox combo;
    combo.setDataSource(&ds);
    combo.setDataField(QStringLiteral("NazwaMiejsca"));
    TDBText text;
    text.setDataSource(&ds);
    text.setDataField(QStringLiteral("NazwaMiejsca"));
    EXPECT_EQ(text.text(), "Zakład Płock");
    v.T.Edit();
    v.Miejsce->setAsInteger(7);
    EXPECT_EQ(combo.currentText(), "Sopot");
    EXPECT_EQ(text.text(), "Sopot");
}

TEST_F(ControlsTest, LookupListFollowsNewRowsOfTheListTable)
{
    TDBLookupComboBox combo;
    listOfPlaces(combo, QStringLiteral("Nazwa;Id"));
    EXPECT_EQ(combo.itemText(1), "Sopot  7");
    p.add(12, "Gdynia");
    ASSERT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(3), "Gdynia  12");
}

TEST_F(ControlsTest, LookupListIsReadOncePerChangeOfItsTable)
{
    int reads = 0; // place names read for the list
    p.Nazwa->OnGetText = [&](TField& f, QString& text, bool) {
        ++reads;
        text = f.AsString();
    };
    TDBLookupComboBox combo;
    listOfPlaces(combo, QStringLiteral("Nazwa"));
    EXPECT_EQ(reads, 3); // the five settings read each place once
    EXPECT_EQ(combo.currentText(), "Zakład Płock");

    // Steps through either table and settings that give the same list read
    // nothing; the shown item still follows the key.
    v.T.Next();
    EXPECT_EQ(combo.currentIndex(), -1);
    v.T.Prior();
    EXPECT_EQ(combo.currentText(), "Zakład Płock");
    v.T.Edit();
    v.Miejsce->setAsInteger(7);
    EXPECT_EQ(combo.currentText(), "Sopot");
    v.T.Cancel();
    EXPECT_EQ(combo.currentText(), "Zakład Płock");
    p.T.Next();
    p.T.Prior();
    combo.setListSource(&places);
    combo.setKeyField(QStringLiteral("Id"));
    combo.setDataField(QStringLiteral("Miejsce"));
    combo.setDropDownRows(5);
    EXPECT_EQ(reads, 3);

    // A renamed place is read again once it is posted.
    p.T.Edit();
    p.Nazwa->setAsString(QStringLiteral("Baza Nowa Huta"));
    EXPECT_EQ(reads, 3);
    p.T.Post();
    EXPECT_EQ(reads, 6);
    EXPECT_EQ(combo.itemText(0), "Baza Nowa Huta");
    EXPECT_EQ(combo.currentText(), "Zakład Płock");

    // Another listed field gives another list.
    combo.setListField(QStringLiteral("Nazwa;Id"));
    EXPECT_EQ(reads, 9);
    EXPECT_EQ(combo.itemText(1), "Sopot  7");
}

TEST_F(ControlsTest, LookupFieldListFollowsItsTableAlone)
{
    // The list of a lookup field comes from the field's lookup table, which
    // has no data source of the combo's: it still hears of that table's
    // changes, and reads nothing when the vehicles move.
    int reads = 0;
    p.Nazwa->OnGetText = [&](TField& f, QString& text, bool) {
        ++reads;
        text = f.AsString();
    };
    TDBLookupComboBox combo;
    combo.setDataSource(&ds);
    combo.setDataField(QStringLiteral("NazwaMiejsca"));
    ASSERT_EQ(combo.count(), 3);
    const int once = reads;
    EXPECT_EQ(once, 3);
    for (int i = 0; i < 3; ++i) {
        v.T.Last();
        EXPECT_EQ(combo.currentIndex(), -1);
        v.T.First();
        EXPECT_EQ(combo.currentText(), "Zakład Płock");
    }
    EXPECT_EQ(reads, once);

    p.add(12, "Gdynia");
    ASSERT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(3), "Gdynia");
    p.T.Locate(QStringLiteral("Id"), 9);
    p.T.Edit();
    p.Nazwa->setAsString(QStringLiteral("Zakład Płock II"));
    p.T.Post();
    EXPECT_EQ(combo.itemText(2), "Zakład Płock II");
    EXPECT_EQ(combo.currentText(), "Zakład Płock II");
    p.T.Delete(); // the place of the shown vehicle
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.currentIndex(), -1);

    // The list table closed: no list; opened again: its rows.
    p.T.Close();
    EXPECT_EQ(combo.count(), 0);
    p.T.Open();
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(2), "Gdynia");
    combo.activated(2);
    EXPECT_EQ(v.Miejsce->AsInteger(), 12);
    EXPECT_EQ(combo.currentText(), "Gdynia");
}

TEST_F(ControlsTest, RadioGroupStoresTheValueOfTheButton)
{
    TDBRadioGroup group;
    group.setItems({QStringLiteral("Tak"), QStringLiteral("Nie"), QStringLiteral("Nie wiem")});
    group.setValues({QStringLiteral("T"), QStringLiteral("N"), QStringLiteral("?")});
    group.setColumns(2);
    group.setDataSource(&ds);
    group.setDataField(QStringLiteral("Gaz"));
    group.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&group));
    EXPECT_TRUE(group.property("kalRadioGroup").toBool());
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_TRUE(group.Button(0)->isChecked());

    QTest::mouseClick(group.Button(1), Qt::LeftButton);
    EXPECT_EQ(v.T.State(), dsEdit);
    EXPECT_EQ(v.Gaz->AsString(), "N");
    v.T.Post();
    EXPECT_EQ(stored(v.Gaz), "N");
    EXPECT_EQ(group.ItemIndex(), 1);

    v.T.Next(); // an empty field checks nothing
    EXPECT_EQ(group.ItemIndex(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(group.Button(i)->isChecked());
}

TEST_F(ControlsTest, EnterOnARadioButtonMovesToTheNextControl)
{
    QWidget window;
    auto* box = new QVBoxLayout(&window);
    auto* group = new TDBRadioGroup(&window);
    auto* after = new TDBCheckBox(&window);
    box->addWidget(group);
    box->addWidget(after);
    group->setItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    group->setValues({QStringLiteral("T"), QStringLiteral("N")});
    group->setDataSource(&ds);
    group->setDataField(QStringLiteral("Gaz"));
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    group->Button(0)->setFocus();
    ASSERT_TRUE(group->Button(0)->hasFocus());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(ObslugaKomunikatow(group->Button(0), &enter));
    EXPECT_TRUE(after->hasFocus());
    EXPECT_EQ(v.Gaz->AsString(), "T"); // moving on changes nothing
    EXPECT_EQ(v.T.State(), dsBrowse);
}

TEST_F(ControlsTest, CheckBoxWritesItsTextsOrABoolean)
{
    TDBCheckBox gas;
    gas.setValueChecked(QStringLiteral("T"));
    gas.setValueUnchecked(QStringLiteral("N"));
    gas.setDataSource(&ds);
    gas.setDataField(QStringLiteral("Gaz"));
    gas.show();
    EXPECT_TRUE(gas.isChecked());
    QTest::mouseClick(&gas, Qt::LeftButton);
    EXPECT_EQ(v.Gaz->AsString(), "N");

    TDBCheckBox active;
    active.setDataSource(&ds);
    active.setDataField(QStringLiteral("Aktywny"));
    active.show();
    EXPECT_FALSE(active.isChecked()); // null
    QTest::mouseClick(&active, Qt::LeftButton);
    v.T.Post();
    v.T.Refresh();
    EXPECT_TRUE(v.Aktywny->AsBoolean());
    EXPECT_EQ(v.Gaz->AsString(), "N");

    // A text field with the default texts receives "True" and "False".
    TDBCheckBox flag;
    flag.setDataSource(&ds);
    flag.setDataField(QStringLiteral("Marka"));
    flag.show();
    EXPECT_FALSE(flag.isChecked());
    QTest::mouseClick(&flag, Qt::LeftButton);
    EXPECT_EQ(v.Marka->AsString(), "True");
    EXPECT_TRUE(flag.isChecked());
    QTest::mouseClick(&flag, Qt::LeftButton);
    EXPECT_EQ(v.Marka->AsString(), "False");
}

TEST_F(ControlsTest, MemoAndTextFollowAndStore)
{
    QWidget window;
    auto* box = new QVBoxLayout(&window);
    auto* memo = new TDBMemo(&window);
    auto* text = new TDBText(&window);
    auto* nav = new TDBNavigator(&window);
    box->addWidget(memo);
    box->addWidget(text);
    box->addWidget(nav);
    memo->setDataSource(&ds);
    memo->setDataField(QStringLiteral("Opis"));
    text->setDataSource(&ds);
    text->setDataField(QStringLiteral("NazwaMiejsca"));
    nav->setDataSource(&ds);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    EXPECT_EQ(text->text(), "Zakład Płock");
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("wymiana"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("oleju"));
    EXPECT_EQ(v.T.State(), dsEdit);
    QTest::mouseClick(nav->Button(nbPost), Qt::LeftButton);
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(stored(v.Opis), "wymiana\noleju");

    QTest::mouseClick(nav->Button(nbNext), Qt::LeftButton);
    EXPECT_EQ(text->text(), "");
    EXPECT_EQ(memo->toPlainText(), "");
}

// In a memo Enter starts a new line and Tab moves on to the next field: the
// text keeps no tab character.
TEST_F(ControlsTest, TabInAMemoMovesToTheNextField)
{
    QWidget window;
    auto* box = new QVBoxLayout(&window);
    auto* memo = new TDBMemo(&window);
    auto* next = new QLineEdit(&window);
    box->addWidget(memo);
    box->addWidget(next);
    memo->setDataSource(&ds);
    memo->setDataField(QStringLiteral("Opis"));
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("filtry"));
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
    EXPECT_EQ(v.Opis->AsString(), "filtry");
    QTest::keyClick(next, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), memo);
}

TEST_F(ControlsTest, DestroyedControlsHearNothingMoreOfTheirTable)
{
    // Controls that go before their data source are gone from it: typed text
    // they kept is not handed over at the post, and a control that stays
    // goes on following the table.
    TDBText stays;
    stays.setDataSource(&ds);
    stays.setDataField(QStringLiteral("Marka"));
    {
        TDBComboBox combo;
        combo.setItems(kKinds);
        combo.setValueLength(2);
        TDBLookupComboBox lookup;
        TDBRadioGroup group;
        group.setItems({QStringLiteral("T"), QStringLiteral("N")});
        TDBCheckBox check;
        TDBMemo memo;
        TDBEdit edit;
        const std::pair<QWidget*, const char*> bound[] = {{&combo, "Rodzaj"}, {&lookup, "NazwaMiejsca"},
                                                          {&group, "Gaz"},    {&check, "Aktywny"},
                                                          {&memo, "Opis"},    {&edit, "Marka"}};
        for (const auto& [w, field] : bound) {
            auto* control = dynamic_cast<TFieldControl*>(w);
            ASSERT_NE(control, nullptr);
            control->setDataSource(&ds);
            control->setDataField(QString::fromLatin1(field));
            EXPECT_EQ(control->Field(), v.T.FindField(QString::fromLatin1(field)));
        }
        memo.setPlainText(QStringLiteral("nie zapisany"));
        edit.setText(QStringLiteral("Star"));
        edit.textEdited(edit.text());
        EXPECT_TRUE(memo.Modified());
        EXPECT_TRUE(edit.Modified());
        EXPECT_EQ(v.T.State(), dsEdit);
    }
    v.T.Post();
    EXPECT_EQ(stored(v.Opis), "");
    EXPECT_EQ(stored(v.Marka), "Fiat");
    v.T.Next();
    EXPECT_EQ(stays.text(), "Jelcz");
    v.T.Edit();
    v.Rodzaj->setAsString(QStringLiteral("10"));
    v.Miejsce->setAsInteger(7);
    v.T.Post();
    EXPECT_EQ(stored(v.Rodzaj), "10");
    EXPECT_TRUE(dialogs.calls().empty());
}

// ---------------------------------------------------------------- navigator

class NavigatorTest : public ControlsTest {
protected:
    bool on(TNavigateBtn b) const { return nav.Button(b)->isEnabled(); }
    TDBNavigator nav;
};

TEST_F(NavigatorTest, ButtonsFollowPositionAndState)
{
    nav.setDataSource(&ds);
    nav.BtnClick(nbFirst);
    EXPECT_FALSE(on(nbFirst));
    EXPECT_FALSE(on(nbPrior));
    EXPECT_TRUE(on(nbNext));
    EXPECT_TRUE(on(nbLast));
    EXPECT_TRUE(on(nbInsert));
    EXPECT_TRUE(on(nbEdit));
    EXPECT_FALSE(on(nbPost));
    EXPECT_FALSE(on(nbCancel));
    EXPECT_TRUE(on(nbDelete));
    EXPECT_TRUE(on(nbRefresh));

    nav.BtnClick(nbLast);
    EXPECT_EQ(v.Marka->AsString(), "Jelcz");
    EXPECT_TRUE(on(nbFirst));
    EXPECT_TRUE(on(nbPrior));
    EXPECT_FALSE(on(nbNext));
    EXPECT_FALSE(on(nbLast));

    nav.BtnClick(nbEdit);
    EXPECT_EQ(v.T.State(), dsEdit);
    EXPECT_FALSE(on(nbEdit));
    EXPECT_TRUE(on(nbPost));
    EXPECT_TRUE(on(nbCancel));
    nav.BtnClick(nbCancel);
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_FALSE(on(nbPost));

    v.T.Close();
    for (int b = 0; b < kNavigateButtons; ++b)
        EXPECT_FALSE(on(TNavigateBtn(b))) << b;
}

TEST_F(NavigatorTest, EmptyTableAllowsOnlyInsertAndRefresh)
{
    v.T.EmptyTable();
    nav.setDataSource(&ds);
    EXPECT_FALSE(on(nbFirst));
    EXPECT_FALSE(on(nbNext));
    EXPECT_FALSE(on(nbDelete));
    EXPECT_TRUE(on(nbInsert));
    EXPECT_TRUE(on(nbRefresh));
}

TEST_F(NavigatorTest, VisibleButtonsAndHints)
{
    nav.setVisibleButtons(kAllNavButtons & ~NavButton(nbDelete));
    nav.show();
    EXPECT_FALSE(nav.Button(nbDelete)->isVisible());
    EXPECT_TRUE(nav.Button(nbPost)->isVisible());
    EXPECT_EQ(nav.Button(nbFirst)->toolTip(), "Pierwszy rekord");
    EXPECT_EQ(nav.Button(nbNext)->toolTip(), "Następny rekord");
    EXPECT_EQ(nav.Button(nbPost)->toolTip(), "Zapisz zmiany");
    EXPECT_EQ(nav.Button(nbRefresh)->toolTip(), "Odśwież dane");
    EXPECT_EQ(nav.Button(nbPost)->focusPolicy(), Qt::NoFocus);
    nav.setHints({QStringLiteral("Na początek|Przejście do pierwszego okresu")});
    EXPECT_EQ(nav.Button(nbFirst)->toolTip(), "Na początek");
    EXPECT_EQ(nav.Button(nbFirst)->statusTip(), "Przejście do pierwszego okresu");
    EXPECT_EQ(nav.Button(nbPrior)->toolTip(), "Poprzedni rekord");
}

TEST_F(NavigatorTest, DeleteAsksFirst)
{
    nav.setDataSource(&ds);
    dialogs.answer(MbCancel);
    nav.BtnClick(nbDelete);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, "Usunąć rekord?");
    EXPECT_EQ(dialogs.boxes()[0].icon, MsgIcon::Question);
    EXPECT_EQ(v.T.RecordCount(), 2);
    dialogs.answer(MbOk);
    nav.BtnClick(nbDelete);
    EXPECT_EQ(v.T.RecordCount(), 1);
    EXPECT_EQ(v.Marka->AsString(), "Jelcz");
}

TEST_F(NavigatorTest, RefusedPostShowsItsMessageAndKeepsTheInsert)
{
    v.T.BeforePost = [](TTable& t) {
        if (t.FieldByName(QStringLiteral("Marka"))->IsNull())
            throw Exception(QStringLiteral("Brak marki pojazdu"));
    };
    nav.setDataSource(&ds);
    QTest::mouseClick(nav.Button(nbInsert), Qt::LeftButton);
    EXPECT_EQ(v.T.State(), dsInsert);
    QTest::mouseClick(nav.Button(nbPost), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), QStringList{"Brak marki pojazdu."});
    EXPECT_EQ(v.T.State(), dsInsert);
    EXPECT_TRUE(on(nbPost));
    v.Marka->setAsString(QStringLiteral("Star"));
    QTest::mouseClick(nav.Button(nbPost), Qt::LeftButton);
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(v.T.RecordCount(), 3);
}

TEST_F(NavigatorTest, BeforeActionMayAbortAndOnClickFollows)
{
    QStringList log;
    nav.BeforeAction = [&](TDBNavigator&, TNavigateBtn b) {
        log << QStringLiteral("before %1").arg(int(b));
        if (b == nbNext)
            Abort();
    };
    nav.OnClick = [&](TDBNavigator&, TNavigateBtn b) { log << QStringLiteral("click %1").arg(int(b)); };
    nav.setDataSource(&ds);
    nav.BtnClick(nbNext);
    EXPECT_EQ(v.T.RecNo(), 1);
    nav.BtnClick(nbLast);
    EXPECT_EQ(v.T.RecNo(), 2);
    EXPECT_EQ(log, (QStringList{"before 2", "click 2", "before 3", "click 3"}));
    EXPECT_TRUE(dialogs.calls().empty()); // the abort is silent
}

// The label that names a control: the label whose buddy it is, the label of
// the form row that holds it (also in a layout of the row), else the label
// of a widget that holds it; read without "&" and the trailing ':'.
TEST(ControlLabel, TheLabelBesideTheControlAsTheUserReadsIt)
{
    QWidget window;
    auto* form = new QFormLayout(&window);
    auto* direct = new QLineEdit;
    form->addRow(QStringLiteral("Ilość &paliwa:"), direct);
    auto* inRow = new QLineEdit;
    auto* row = new QHBoxLayout;
    row->addWidget(inRow);
    row->addWidget(new QPushButton(QStringLiteral("Wylicz")));
    form->addRow(QStringLiteral("Ilość:"), row);
    auto* pair = new QWidget;
    auto* summer = new QLineEdit(pair);
    auto* winterLabel = new QLabel(QStringLiteral("zimowa:"), pair);
    auto* winter = new QLineEdit(pair);
    winterLabel->setBuddy(winter);
    form->addRow(QStringLiteral("Norma letnia:"), pair);
    auto* unnamed = new QLineEdit;
    form->addRow(unnamed);
    const std::pair<QWidget*, const char*> cases[] = {
        {direct, "Ilość paliwa"}, {inRow, "Ilość"}, {summer, "Norma letnia"}, {winter, "zimowa"}, {unnamed, ""}};
    for (const auto& [control, label] : cases)
        EXPECT_EQ(ControlLabel(control), QString::fromUtf8(label)) << label;
}

} // namespace
