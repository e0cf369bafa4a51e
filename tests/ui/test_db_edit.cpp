// The data-aware edit: display and edit texts, typing into the table through
// the field's set-text handler (on leaving, on Enter, before a navigator
// post), refused texts, edit masks, length, case and read-only.
#include "DBEdit.h"
#include "DBNavigator.h"
#include "Exceptions.h"
#include "InputHook.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace kal;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;

namespace {

struct Vehicles {
    TTable T{QStringLiteral("TPojazdy")};
    TField* Marka;
    TField* NrRej;
    TField* Data;
    TField* Cena;
    TField* Uwagi;

    Vehicles()
    {
        T.setTableName(QStringLiteral("Pojazdy.db"));
        Marka = T.AddField(QStringLiteral("Marka"), ftString, 20);
        NrRej = T.AddField(QStringLiteral("NrRej"), ftString, 20);
        Data = T.AddField(QStringLiteral("Data"), ftDate);
        Cena = T.AddField(QStringLiteral("Cena"), ftFloat);
        Uwagi = T.AddField(QStringLiteral("Uwagi"), ftString, 40);
        Cena->setDisplayFormat(QStringLiteral("# ##0.00"));
        NrRej->setEditMask(QStringLiteral(">cccccccccccccccccccc"));
        Data->setEditMask(QStringLiteral("!9999/99/99;1;_"));
        T.CreateTable();
        T.Open();
        T.Append();
        Marka->setAsString(QStringLiteral("Fiat"));
        Data->setAsDateTime(QDate(1998, 3, 7));
        Cena->setAsFloat(1234.5);
        T.Post();
        T.Append();
        Marka->setAsString(QStringLiteral("Opel"));
        T.Post();
        T.First();
    }
};

// A window with two edits (so that the focus can leave one) and a navigator.
class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* box = new QVBoxLayout(&window);
        edit = new TDBEdit(&window);
        other = new TDBEdit(&window);
        nav = new TDBNavigator(&window);
        edit->setObjectName(QStringLiteral("DBEdit1"));
        other->setObjectName(QStringLiteral("DBEdit2"));
        box->addWidget(edit);
        box->addWidget(other);
        box->addWidget(nav);
        other->setDataSource(&ds);
        other->setDataField(QStringLiteral("Uwagi"));
        nav->setDataSource(&ds);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
    }

    void bind(const QString& field)
    {
        edit->setDataSource(&ds);
        edit->setDataField(field);
    }
    void focusEdit()
    {
        edit->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(edit->hasFocus());
    }
    void type(const QString& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void post() { QTest::mouseClick(nav->Button(nbPost), Qt::LeftButton); }

    TestDir dir;
    ScriptedDialogs dialogs;
    Vehicles v;
    TDataSource ds{&v.T, QStringLiteral("DPojazdy")};
    QWidget window;
    TDBEdit* edit = nullptr;
    TDBEdit* other = nullptr;
    TDBNavigator* nav = nullptr;
};

TEST_F(EditTest, ShowsDisplayTextUntilFocusedThenText)
{
    bind(QStringLiteral("Cena"));
    EXPECT_EQ(edit->text(), "1 234,50");
    focusEdit();
    EXPECT_EQ(edit->text(), "1234,5");
    other->setFocus();
    EXPECT_EQ(edit->text(), "1 234,50");
    v.T.Next(); // an empty price
    EXPECT_EQ(edit->text(), "");
}

TEST_F(EditTest, FollowsTheRecord)
{
    bind(QStringLiteral("Marka"));
    EXPECT_EQ(edit->text(), "Fiat");
    v.T.Next();
    EXPECT_EQ(edit->text(), "Opel");
    edit->setDataSource(nullptr);
    EXPECT_EQ(edit->text(), "");
    EXPECT_TRUE(edit->isReadOnly());
}

TEST_F(EditTest, TypedTextReachesTheFieldOnPostThroughSetText)
{
    QStringList handed;
    v.Marka->OnSetText = [&](TField& f, const QString& text) {
        handed << text;
        f.setAsString(text.toUpper());
    };
    bind(QStringLiteral("Marka"));
    focusEdit();
    type(QStringLiteral("Polonez"));
    EXPECT_EQ(v.T.State(), dsEdit);        // typing starts the edit
    EXPECT_EQ(v.Marka->AsString(), "Fiat"); // the text waits in the edit
    EXPECT_TRUE(edit->Modified());
    EXPECT_TRUE(nav->Button(nbPost)->isEnabled());
    post();
    EXPECT_TRUE(edit->hasFocus()); // the button took no focus
    EXPECT_EQ(handed, QStringList{"Polonez"});
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(edit->text(), "POLONEZ"); // the handler's result is shown
    v.T.Refresh();
    EXPECT_EQ(v.Marka->AsString(), "POLONEZ");
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(EditTest, LeavingTheEditOrEnterHandsTheText)
{
    bind(QStringLiteral("Marka"));
    focusEdit();
    type(QStringLiteral("Syrena"));
    other->setFocus();
    EXPECT_EQ(v.Marka->AsString(), "Syrena");
    EXPECT_EQ(v.T.State(), dsEdit); // handed over, not posted
    EXPECT_FALSE(edit->Modified());

    focusEdit();
    type(QStringLiteral("Warszawa"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(v.Marka->AsString(), "Warszawa");
    v.T.Post();
    v.T.Refresh();
    EXPECT_EQ(v.Marka->AsString(), "Warszawa");
}

TEST_F(EditTest, EnterThroughTheInputHookMovesOnAndHandsTheText)
{
    bind(QStringLiteral("Marka"));
    focusEdit();
    type(QStringLiteral("Star"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(ObslugaKomunikatow(edit, &enter));
    EXPECT_TRUE(other->hasFocus());
    EXPECT_EQ(v.Marka->AsString(), "Star");
    EXPECT_EQ(edit->text(), "Star");
}

TEST_F(EditTest, RefusedTextIsShownAndStaysInTheEdit)
{
    v.Cena->OnSetText = [](TField& f, const QString& text) {
        if (text.contains(u'-'))
            throw Exception(QStringLiteral("Cena nie może być ujemna"));
        f.setAsString(text);
    };
    bind(QStringLiteral("Cena"));
    focusEdit();
    type(QStringLiteral("-5"));
    post();
    ASSERT_EQ(dialogs.texts(), QStringList{"Cena nie może być ujemna."});
    EXPECT_EQ(dialogs.boxes()[0].kind, kal::test::DialogCall::Error);
    EXPECT_EQ(v.T.State(), dsEdit); // the post did not happen
    EXPECT_EQ(edit->text(), "-5");
    EXPECT_TRUE(edit->Modified());
    EXPECT_DOUBLE_EQ(v.Cena->AsFloat(), 1234.5);

    // Mended, the same post goes through.
    type(QStringLiteral("99,5"));
    post();
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_DOUBLE_EQ(v.Cena->AsFloat(), 99.5);
    EXPECT_EQ(dialogs.texts().size(), 1);
}

// An error box that takes the focus from the window while it is shown, as a
// real message box does.
class FocusTakingDialogs final : public IDialogs {
public:
    FocusTakingDialogs() { SetDialogs(this); }
    ~FocusTakingDialogs() override { SetDialogs(nullptr); }
    MsgButton messageBox(const QString&, const QString&, unsigned, MsgIcon) override { return MbOk; }
    void errorBox(const QString& text) override
    {
        texts << text;
        QWidget* before = QApplication::activeWindow();
        QWidget box;
        box.show();
        QApplication::setActiveWindow(&box);
        box.setFocus();
        QApplication::setActiveWindow(before);
    }
    QString openFileName(FileDialogRequest&) override { return {}; }
    QString saveFileName(FileDialogRequest&) override { return {}; }
    bool printerDialog(QPrinter*, QWidget*) override { return false; }
    int execModal(QWidget*) override { return 0; }
    QStringList texts;
};

TEST_F(EditTest, RefusedTextShowsOneBoxAlthoughTheBoxTakesTheFocus)
{
    FocusTakingDialogs boxes;
    v.Cena->OnSetText = [](TField&, const QString&) { throw Exception(QStringLiteral("Zła cena")); };
    bind(QStringLiteral("Cena"));
    focusEdit();
    type(QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(boxes.texts, QStringList{"Zła cena."});
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->text(), "12");
    post();
    EXPECT_EQ(boxes.texts, (QStringList{"Zła cena.", "Zła cena."}));
    EXPECT_EQ(v.T.State(), dsEdit);
}

TEST_F(EditTest, RefusedTextOnLeavingKeepsTheText)
{
    v.Marka->OnSetText = [](TField&, const QString&) { throw Exception(QStringLiteral("Zła marka")); };
    bind(QStringLiteral("Marka"));
    focusEdit();
    type(QStringLiteral("Xyz"));
    other->setFocus();
    EXPECT_EQ(dialogs.texts(), QStringList{"Zła marka."});
    EXPECT_EQ(edit->text(), "Xyz");
    EXPECT_EQ(v.Marka->AsString(), "Fiat");
}

TEST_F(EditTest, CancelAndEscapeDropTheTypedText)
{
    bind(QStringLiteral("Marka"));
    focusEdit();
    type(QStringLiteral("Trabant"));
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "Fiat");
    EXPECT_FALSE(edit->Modified());
    type(QStringLiteral("Trabant"));
    QTest::mouseClick(nav->Button(nbCancel), Qt::LeftButton);
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(edit->text(), "Fiat");
    EXPECT_EQ(v.Marka->AsString(), "Fiat");
}

TEST_F(EditTest, DateMaskTakesYearMonthDay)
{
    bind(QStringLiteral("Data"));
    EXPECT_EQ(edit->inputMask(), "0000-00-00;_");
    EXPECT_EQ(edit->displayText(), "1998-03-07");
    focusEdit();
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, QStringLiteral("20090105"));
    EXPECT_EQ(edit->displayText(), "2009-01-05");
    post();
    EXPECT_EQ(v.Data->AsDateTime(), QDate(2009, 1, 5));

    // An edit emptied of every digit empties the date.
    focusEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->displayText(), "____-__-__");
    post();
    EXPECT_TRUE(v.Data->IsNull());
    EXPECT_EQ(v.T.State(), dsBrowse);
}

// The second vehicle has no date: its edit shows the empty mask
// "____-__-__". The user clicks into it to the right of the mask (or, the
// second time, moves into it with Tab, or clicks again to the right while it
// has the focus) and types the digits of the date: every digit lands in the
// mask, and the post stores the date.
TEST_F(EditTest, DigitsTypedIntoAnEmptyDateMaskLandInItWhereverTheClickWas)
{
    bind(QStringLiteral("Data"));
    v.T.Last();
    ASSERT_TRUE(v.Data->IsNull());
    const QPoint right(edit->width() - 4, edit->height() / 2);
    QTest::mouseClick(edit, Qt::LeftButton, {}, right);
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->cursorPosition(), 0);
    QTest::keyClicks(edit, QStringLiteral("20090315"));
    EXPECT_EQ(edit->displayText(), "2009-03-15");
    post();
    EXPECT_EQ(v.Data->AsDateTime(), QDate(2009, 3, 15));

    // A click on a date already there places the cursor where it lands.
    other->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton, {}, right);
    EXPECT_EQ(edit->cursorPosition(), 10);

    // Emptied, left, and entered again by Tab.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    post();
    ASSERT_TRUE(v.Data->IsNull());
    other->setFocus();
    edit->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit->cursorPosition(), 0);
    // A click to the right while the edit has the focus.
    QTest::mouseClick(edit, Qt::LeftButton, {}, right);
    EXPECT_EQ(edit->cursorPosition(), 0);
    QTest::keyClicks(edit, QStringLiteral("20090401"));
    post();
    EXPECT_EQ(v.Data->AsDateTime(), QDate(2009, 4, 1));
}

TEST_F(EditTest, UpperCaseMaskKeepsBlanksAndLength)
{
    bind(QStringLiteral("NrRej"));
    EXPECT_EQ(edit->inputMask(), "");
    EXPECT_EQ(edit->maxLength(), 20);
    focusEdit();
    type(QStringLiteral("kr 12345"));
    EXPECT_EQ(edit->text(), "KR 12345");
    post();
    EXPECT_EQ(v.NrRej->AsString(), "KR 12345");
}

TEST(EditMask, Translations)
{
    const TEditMaskInfo plate = TranslateEditMask(QStringLiteral(">cccccccccccccccccccc"));
    EXPECT_EQ(plate.inputMask, "");
    EXPECT_EQ(plate.charCase, ecUpperCase);
    EXPECT_EQ(plate.maxLength, 20);

    const TEditMaskInfo date = TranslateEditMask(QStringLiteral("!9999/99/99;1;_"));
    EXPECT_EQ(date.inputMask, "0000-00-00;_");
    EXPECT_TRUE(date.saveLiterals);

    const TEditMaskInfo code = TranslateEditMask(QStringLiteral("00\\-000;0;*"));
    EXPECT_EQ(code.inputMask, "99-999;*");
    EXPECT_FALSE(code.saveLiterals);

    EXPECT_EQ(TranslateEditMask(QString()).inputMask, "");
}

TEST_F(EditTest, LengthCaseAndReadOnly)
{
    bind(QStringLiteral("Marka"));
    EXPECT_EQ(edit->maxLength(), 20); // from the field's size
    edit->setMaxLength(10);
    EXPECT_EQ(edit->maxLength(), 10);
    edit->setCharCase(ecUpperCase);
    focusEdit();
    type(QStringLiteral("zuk"));
    EXPECT_EQ(edit->text(), "ZUK");
    QTest::keyClick(edit, Qt::Key_Escape);

    v.Marka->setReadOnly(true);
    v.T.Next();
    EXPECT_TRUE(edit->isReadOnly());
    focusEdit();
    QTest::keyClicks(edit, QStringLiteral("abc"));
    EXPECT_EQ(edit->text(), "OPEL"); // an upper-case edit shows everything in upper case
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(v.Marka->AsString(), "Opel");
}

TEST_F(EditTest, RefusedEditRestoresTheField)
{
    v.T.BeforeEdit = [](TTable&) { throw Exception(QStringLiteral("Okres zamknięty")); };
    bind(QStringLiteral("Marka"));
    focusEdit();
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(dialogs.texts(), QStringList{"Okres zamknięty."});
    EXPECT_EQ(edit->text(), "Fiat");
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(v.T.State(), dsBrowse);
}

} // namespace
