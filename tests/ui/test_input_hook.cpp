#include "Hints.h"
#include "InputHook.h"
#include "WheelNavigable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace kal;

namespace {

class InputHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallInputHook();
        layout = new QVBoxLayout(&window);
    }
    template <class W>
    W* add(W* w)
    {
        layout->addWidget(w);
        return w;
    }
    void activate()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void focusOn(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), w);
    }
    static void enter(QWidget* w, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(w, Qt::Key_Return, mods);
    }

    QWidget window;
    QVBoxLayout* layout = nullptr;
};

// A grid that counts the steps the hook gives it; it moves its current row
// one down for a step below 0 and one up otherwise, unless it is "editing".
class StubGrid : public QTableWidget, public IWheelNavigable {
public:
    StubGrid() : QTableWidget(200, 2) {}
    void wheelStep(int delta) override
    {
        deltas.push_back(delta);
        if (!editing)
            record += delta < 0 ? 1 : -1;
    }
    std::vector<int> deltas;
    int record = 0;
    bool editing = false;
};

template <class W> W* Named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

void Wheel(QWidget* target, QPoint angle)
{
    const QPointF pos(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(InputHookTest, EnterInALineEditMovesToTheNextField)
{
    auto* first = add(new QLineEdit);
    auto* second = add(new QLineEdit);
    activate();
    bool returnPressed = false;
    QObject::connect(first, &QLineEdit::returnPressed, [&] { returnPressed = true; });
    focusOn(first);
    enter(first);
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_FALSE(returnPressed);
    // Shift+Enter goes back, the keypad's Enter goes forward.
    enter(second, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), first);
    QTest::keyClick(first, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(InputHookTest, EnterKeepsItsMeaningInMemosAndSpinBoxes)
{
    auto* memo = add(new QPlainTextEdit);
    auto* spin = add(new QSpinBox);
    add(new QLineEdit);
    activate();
    focusOn(memo);
    QTest::keyClicks(memo, QStringLiteral("ab"));
    enter(memo);
    EXPECT_EQ(QApplication::focusWidget(), memo);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("ab\n"));

    focusOn(spin);
    enter(spin);
    EXPECT_EQ(QApplication::focusWidget(), spin);
}

TEST_F(InputHookTest, EnterInAnEditDoesNotPressTheDefaultButton)
{
    QDialog dialog;
    auto* l = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit;
    auto* other = new QLineEdit;
    auto* save = new QPushButton(QStringLiteral("Zapisz"));
    l->addWidget(edit);
    l->addWidget(other);
    l->addWidget(save);
    save->setDefault(true);
    bool saved = false;
    QObject::connect(save, &QPushButton::clicked, [&] { saved = true; });
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    edit->setFocus();
    enter(edit);
    EXPECT_FALSE(saved);
    EXPECT_EQ(QApplication::focusWidget(), other);
}

TEST_F(InputHookTest, EnterInAClosedComboMovesAndInAnOpenOnePicks)
{
    auto* combo = add(new QComboBox);
    combo->addItems({QStringLiteral("Tak"), QStringLiteral("Nie"), QStringLiteral("Brak")});
    auto* editable = add(new QComboBox);
    editable->setEditable(true);
    editable->addItems({QStringLiteral("1"), QStringLiteral("2")});
    auto* after = add(new QLineEdit);
    activate();

    focusOn(combo);
    enter(combo);
    EXPECT_EQ(QApplication::focusWidget(), editable);
    enter(QApplication::focusWidget());
    EXPECT_EQ(QApplication::focusWidget(), after);

    focusOn(combo);
    combo->showPopup();
    ASSERT_TRUE(combo->view()->isVisible());
    QWidget* list = QApplication::focusWidget();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    enter(list);
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(combo->currentText(), QStringLiteral("Brak"));
    EXPECT_EQ(QApplication::focusWidget(), combo);
}

TEST_F(InputHookTest, EnterOnARadioButtonOfAGroupMoves)
{
    auto* group = add(new QGroupBox(QStringLiteral("Fabryczna instalacja gazu:")));
    auto* groupLayout = new QVBoxLayout(group);
    auto* yes = new QRadioButton(QStringLiteral("Tak"));
    auto* no = new QRadioButton(QStringLiteral("Nie"));
    groupLayout->addWidget(yes);
    groupLayout->addWidget(no);
    yes->setChecked(true);
    auto* after = add(new QLineEdit);
    auto* loose = add(new QRadioButton(QStringLiteral("Sam")));
    add(new QLineEdit);
    activate();

    focusOn(yes);
    enter(yes);
    EXPECT_EQ(QApplication::focusWidget(), after);

    // A radio button that is not part of a group keeps Enter.
    focusOn(loose);
    enter(loose);
    EXPECT_EQ(QApplication::focusWidget(), loose);
}

TEST_F(InputHookTest, EnterOnARadioButtonOfAMarkedGroupMoves)
{
    auto* group = add(new QWidget);
    auto* groupLayout = new QVBoxLayout(group);
    auto* first = new QRadioButton(QStringLiteral("1 - EURO 1/Etap I"));
    groupLayout->addWidget(first);
    groupLayout->addWidget(new QRadioButton(QStringLiteral("2 - EURO 2/Etap II")));
    first->setChecked(true);
    auto* after = add(new QLineEdit);
    activate();

    focusOn(first);
    enter(first);
    EXPECT_EQ(QApplication::focusWidget(), first);

    MarkAsRadioGroup(group);
    enter(first);
    EXPECT_EQ(QApplication::focusWidget(), after);
}

TEST_F(InputHookTest, EnterInAGridEditorCommitsTheCell)
{
    auto* grid = add(new QTableWidget(3, 2));
    auto* after = add(new QLineEdit);
    activate();
    grid->setItem(0, 0, new QTableWidgetItem);
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    grid->editItem(grid->item(0, 0));
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(qobject_cast<QLineEdit*>(editor), nullptr);
    QTest::keyClicks(editor, QStringLiteral("45,5"));
    enter(editor);
    QCoreApplication::processEvents(); // the delegate commits through a queued call
    EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("45,5"));
    EXPECT_NE(QApplication::focusWidget(), after);
}

TEST_F(InputHookTest, WheelOverAFocusedGridMovesItsRecordNotItsView)
{
    auto* grid = add(new StubGrid);
    auto* edit = add(new QLineEdit);
    activate();
    focusOn(grid);

    Wheel(grid->viewport(), QPoint(0, -120));
    EXPECT_EQ(grid->record, 1);
    Wheel(grid->viewport(), QPoint(0, -120));
    Wheel(grid->viewport(), QPoint(0, 120));
    EXPECT_EQ(grid->record, 1);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);

    // While a record is edited the grid is given the step and does not move;
    // it does not scroll either.
    grid->editing = true;
    Wheel(grid->viewport(), QPoint(0, -120));
    EXPECT_EQ(grid->record, 1);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
    grid->editing = false;

    // A wheel with no vertical part is left alone.
    const size_t steps = grid->deltas.size();
    Wheel(grid->viewport(), QPoint(120, 0));
    EXPECT_EQ(grid->deltas.size(), steps);
    EXPECT_EQ(grid->deltas, (std::vector<int>{-120, -120, 120, -120}));

    // The focused grid is moved wherever the mouse is.
    Wheel(edit, QPoint(0, -120));
    EXPECT_EQ(grid->record, 2);
}

TEST_F(InputHookTest, WheelOverAGridWithoutFocusScrollsItAsUsual)
{
    auto* grid = add(new StubGrid);
    auto* edit = add(new QLineEdit);
    activate();
    focusOn(edit);
    Wheel(grid->viewport(), QPoint(0, -120));
    EXPECT_TRUE(grid->deltas.empty());
    EXPECT_GT(grid->verticalScrollBar()->value(), 0);
}

TEST_F(InputHookTest, WheelOnACombo)
{
    auto* combo = add(new QComboBox);
    combo->addItems({QStringLiteral("1 - etylina 94"), QStringLiteral("2 - etylina 98"),
                     QStringLiteral("3 - benzyna bezołowiowa")});
    add(new QLineEdit);
    activate();
    focusOn(combo);

    // List closed: the wheel does nothing at all.
    Wheel(combo, QPoint(0, -120));
    EXPECT_EQ(combo->currentIndex(), 0);

    // List open: the wheel moves through the list like the arrow keys.
    combo->showPopup();
    ASSERT_TRUE(combo->view()->isVisible());
    Wheel(combo->view()->viewport(), QPoint(0, -120));
    Wheel(combo->view()->viewport(), QPoint(0, -120));
    Wheel(combo->view()->viewport(), QPoint(0, 120));
    EXPECT_EQ(combo->view()->currentIndex().row(), 1);
    enter(QApplication::focusWidget());
    EXPECT_EQ(combo->currentText(), QStringLiteral("2 - etylina 98"));
}

// A value picked from a list of a long edit panel, then the wheel turned over
// the panel: the panel scrolls and the list keeps its value.
TEST_F(InputHookTest, WheelBesideAFocusedClosedComboScrollsThePanel)
{
    auto* area = add(new QScrollArea);
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    layout->addWidget(combo);
    layout->addWidget(new QLabel(QStringLiteral("Norma EURO:")));
    panel->setMinimumHeight(2000);
    area->setWidgetResizable(true);
    area->setWidget(panel);
    area->setFixedHeight(200);
    activate();
    focusOn(combo);
    ASSERT_GT(area->verticalScrollBar()->maximum(), 0);

    // Over the panel (a wheel that no widget under the mouse takes ends
    // there).
    Wheel(area->viewport(), QPoint(0, -120));
    EXPECT_GT(area->verticalScrollBar()->value(), 0);
    EXPECT_EQ(combo->currentIndex(), 0);
    const int scrolled = area->verticalScrollBar()->value();
    Wheel(combo, QPoint(0, -120)); // over the list itself: nothing
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(area->verticalScrollBar()->value(), scrolled);
}

// The user types in an edit of a long panel and turns the wheel over the
// panel's closed lists, and over a list of a window without a panel: no
// list changes its value; over the panel's lists the panel scrolls as it
// does over its other fields.
TEST_F(InputHookTest, WheelOverAnUnfocusedClosedListNeverChangesIt)
{
    auto* area = add(new QScrollArea);
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    auto* edit = new QLineEdit;
    auto* euro = new QComboBox;
    euro->addItems({QStringLiteral("0 - bez EURO"), QStringLiteral("1 - EURO 1/Etap I"), QStringLiteral("2 - EURO 2")});
    auto* editable = new QComboBox;
    editable->setEditable(true);
    editable->addItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    layout->addWidget(edit);
    layout->addWidget(euro);
    layout->addWidget(editable);
    panel->setMinimumHeight(2000);
    area->setWidgetResizable(true);
    area->setWidget(panel);
    area->setFixedHeight(200);
    auto* outside = add(new QComboBox);
    outside->addItems({QStringLiteral("Tak"), QStringLiteral("Nie")});
    activate();
    focusOn(edit);
    ASSERT_GT(area->verticalScrollBar()->maximum(), 0);

    Wheel(euro, QPoint(0, -120));
    EXPECT_GT(area->verticalScrollBar()->value(), 0);
    Wheel(euro, QPoint(0, 120));
    Wheel(euro, QPoint(0, 120));
    EXPECT_EQ(area->verticalScrollBar()->value(), 0);
    Wheel(editable->lineEdit(), QPoint(0, -120));
    EXPECT_GT(area->verticalScrollBar()->value(), 0);
    Wheel(outside, QPoint(0, -120));
    Wheel(outside, QPoint(0, -120));

    EXPECT_EQ(euro->currentIndex(), 0);
    EXPECT_EQ(editable->currentIndex(), 0);
    EXPECT_EQ(outside->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

// An edit panel whose fields were made in another order than they stand: a
// memo made first but shown last, a row of a combo box with its "···"
// button, a line of two edits and a check box; below the panel, a grid of
// four edits that the window orders itself, column by column. Laid out,
// Enter and Tab walk the panel row by row, the grid in the window's own
// order, and the "···" button after the panel's last field.
TEST_F(InputHookTest, PanelFieldsAreWalkedInTheOrderTheyStandOnScreen)
{
    auto* memo = Named(new QPlainTextEdit, "memo");
    memo->setTabChangesFocus(true); // as a data memo does
    auto* name = Named(new QLineEdit, "name");
    auto* combo = Named(new QComboBox, "combo");
    auto* pick = Named(new QPushButton(QStringLiteral("···")), "pick");
    auto* summer = Named(new QLineEdit, "summer");
    auto* winter = Named(new QLineEdit, "winter");
    auto* check = Named(new QCheckBox(QStringLiteral("Tak")), "check");
    auto* date = Named(new QLineEdit, "date");
    QLineEdit* cells[4];
    for (int i = 0; i < 4; ++i)
        cells[i] = Named(new QLineEdit, QStringLiteral("cell%1").arg(i));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nazwa:"), name);
    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->addWidget(combo);
    rowLayout->addWidget(pick);
    form->addRow(QStringLiteral("Miejsce:"), row);
    form->addRow(QStringLiteral("Data:"), date);
    auto* norms = new QHBoxLayout;
    norms->addWidget(summer);
    norms->addWidget(winter);
    form->addRow(QStringLiteral("Norma letnia:"), norms);
    form->addRow(check);
    form->addRow(QStringLiteral("Opis:"), memo);
    layout->addLayout(form);
    auto* grid = new QGridLayout;
    grid->addWidget(cells[0], 0, 0);
    grid->addWidget(cells[1], 0, 1);
    grid->addWidget(cells[2], 1, 0);
    grid->addWidget(cells[3], 1, 1);
    layout->addLayout(grid);
    QWidget* before = nullptr;
    for (int i : {0, 2, 1, 3}) { // down each column
        if (before)
            QWidget::setTabOrder(before, cells[i]);
        before = cells[i];
    }

    OrderFieldsAsLaidOut(&window);
    activate();
    focusOn(name);
    QStringList walked{name->objectName()};
    for (int i = 0; i < 11; ++i) {
        QWidget* f = QApplication::focusWidget();
        if (qobject_cast<QLineEdit*>(f) || qobject_cast<QComboBox*>(f))
            enter(f);
        else
            QTest::keyClick(f, Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(walked, (QStringList{"name", "combo", "date", "summer", "winter", "check", "memo", "pick", "cell0",
                                   "cell2", "cell1", "cell3"}));
}

TEST(Hints, ShortPartIsTheTooltipLongPartTheStatusText)
{
    QToolButton exit;
    SetHint(&exit, QStringLiteral("Kończy pracę z systemem|Zakończenie pracy z systemem."));
    EXPECT_EQ(exit.toolTip(), QStringLiteral("Kończy pracę z systemem"));
    EXPECT_EQ(exit.statusTip(), QStringLiteral("Zakończenie pracy z systemem."));

    SetHint(&exit, QStringLiteral("Zamknij"));
    EXPECT_EQ(exit.toolTip(), QStringLiteral("Zamknij"));
    EXPECT_EQ(exit.statusTip(), QStringLiteral("Zamknij"));

    SetHint(&exit, QStringLiteral("Krótki|"));
    EXPECT_EQ(exit.toolTip(), QStringLiteral("Krótki"));
    EXPECT_EQ(exit.statusTip(), QString());
}
