// The data grid: rows, titles and alignment as the user sees them, the
// current row following the table both ways, unbinding, lazy reading of a
// large table, the wheel step and editing in place.
#include "DBGrid.h"
#include "DBNavigator.h"
#include "Exceptions.h"
#include "InputHook.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace kal;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;

namespace {

// Pojazdy.db of the tests: four vehicles in the order they were added.
struct Vehicles {
    TTable T{QStringLiteral("TPojazdy")};
    TField* Id;
    TField* Marka;
    TField* NrRej;
    TField* Rok;
    TField* Cena;

    Vehicles()
    {
        T.setTableName(QStringLiteral("Pojazdy.db"));
        Id = T.AddField(QStringLiteral("Id"), ftInteger);
        Marka = T.AddField(QStringLiteral("Marka"), ftString, 20);
        NrRej = T.AddField(QStringLiteral("NrRej"), ftString, 20);
        Rok = T.AddField(QStringLiteral("Rok"), ftSmallint);
        Cena = T.AddField(QStringLiteral("Cena"), ftFloat);
        Cena->setDisplayFormat(QStringLiteral("# ##0.00"));
        NrRej->setDisplayLabel(QStringLiteral("Nr rej."));
        T.CreateTable();
        T.Open();
        add(1, "Fiat", "KR 12345", 1998, 1234.5);
        add(2, "Opel", "WA 777", 2004, 20000);
        add(3, "Skoda", "GD 1", 2001, 0.125);
        add(4, "Żuk", "LU 9", 1980, 7);
        T.First();
    }

    void add(int id, const char* make, const char* plate, int year, double price)
    {
        T.Append();
        Id->setAsInteger(id);
        Marka->setAsString(QString::fromUtf8(make));
        NrRej->setAsString(QString::fromUtf8(plate));
        Rok->setAsInteger(year);
        Cena->setAsFloat(price);
        T.Post();
    }
};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setObjectName(QStringLiteral("DBGrid1"));
        grid.resize(600, 300);
    }

    QString title(int column) const
    {
        return grid.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QString cell(int row, int column) const { return grid.model()->index(row, column).data().toString(); }
    Qt::Alignment align(int row, int column) const
    {
        return Qt::Alignment(grid.model()->index(row, column).data(Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    }
    void clickRow(int row)
    {
        const QRect r = grid.visualRect(grid.model()->index(row, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, r.center());
    }

    TestDir dir;
    ScriptedDialogs dialogs;
    Vehicles v;
    TDataSource ds{&v.T, QStringLiteral("DPojazdy")};
    TDBGrid grid;
};

TEST_F(GridTest, ShowsRowsTitlesAndAlignment)
{
    grid.addColumn(QStringLiteral("Marka"), QStringLiteral("Marka pojazdu"));
    grid.addColumn(QStringLiteral("NrRej"));
    grid.addColumn(QStringLiteral("Rok")).setAlignment(taCenter);
    grid.addColumn(QStringLiteral("Cena"), QStringLiteral("Cena"));
    grid.setDataSource(&ds);

    ASSERT_EQ(grid.model()->rowCount(), 4);
    ASSERT_EQ(grid.model()->columnCount(), 4);
    EXPECT_EQ(title(0), "Marka pojazdu");
    EXPECT_EQ(title(1), "Nr rej."); // no title of its own: the field's label
    EXPECT_EQ(title(2), "Rok");     // no label either: the field name
    EXPECT_EQ(cell(0, 0), "Fiat");
    EXPECT_EQ(cell(3, 0), "Żuk");
    EXPECT_EQ(cell(1, 1), "WA 777");
    EXPECT_EQ(cell(0, 3), "1 234,50");
    EXPECT_EQ(cell(1, 3), "20 000,00");
    EXPECT_EQ(cell(2, 3), "0,13"); // half away from zero
    EXPECT_EQ(align(0, 0), Qt::AlignLeft);
    EXPECT_EQ(align(0, 2), Qt::AlignHCenter); // the column's own alignment wins
    EXPECT_EQ(align(0, 3), Qt::AlignRight);   // numbers keep the field's
}

TEST_F(GridTest, ColumnWidths)
{
    grid.addColumn(QStringLiteral("Marka")).setWidth(123);
    grid.addColumn(QStringLiteral("NrRej"));
    v.NrRej->setDisplayWidth(30);
    grid.setDataSource(&ds);
    EXPECT_EQ(grid.columnWidth(0), 123);
    // Thirty characters of the field, wider than ten.
    EXPECT_GT(grid.columnWidth(1), 25 * grid.fontMetrics().averageCharWidth());
}

TEST_F(GridTest, WithoutColumnsShowsEveryVisibleField)
{
    v.Id->setVisible(false);
    grid.setDataSource(&ds);
    ASSERT_EQ(grid.model()->columnCount(), 4);
    EXPECT_EQ(title(0), "Marka");
    EXPECT_EQ(title(1), "Nr rej.");
    EXPECT_EQ(cell(1, 2), "2004");
}

TEST_F(GridTest, HiddenColumnIsNotShown)
{
    grid.addColumn(QStringLiteral("Marka"));
    grid.addColumn(QStringLiteral("NrRej")).setVisible(false);
    grid.addColumn(QStringLiteral("Rok"));
    grid.setDataSource(&ds);
    ASSERT_EQ(grid.model()->columnCount(), 2);
    EXPECT_EQ(title(1), "Rok");
}

TEST_F(GridTest, SelectionFollowsTheTable)
{
    grid.setOptions(dgTitles | dgRowSelect);
    grid.setReadOnly(true);
    grid.addColumn(QStringLiteral("Marka"));
    grid.addColumn(QStringLiteral("Rok"));
    grid.setDataSource(&ds);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    v.T.Next();
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(1, {}));
    EXPECT_FALSE(grid.selectionModel()->isRowSelected(0, {}));
    v.T.Last();
    EXPECT_EQ(grid.currentIndex().row(), 3);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(3, {}));
}

TEST_F(GridTest, ClickAndKeysMoveTheTable)
{
    grid.setOptions(dgTitles | dgRowSelect);
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    clickRow(2);
    EXPECT_EQ(v.Marka->AsString(), "Skoda");
    EXPECT_EQ(v.T.RecNo(), 3);
    QTest::keyClick(grid.viewport(), Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(v.Marka->AsString(), "Fiat");
}

TEST_F(GridTest, ClickOnNoRowKeepsTheRecordSelected)
{
    grid.setOptions(dgTitles | dgIndicator | dgRowSelect);
    grid.setReadOnly(true);
    grid.addColumn(QStringLiteral("Marka"));
    grid.addColumn(QStringLiteral("Rok"));
    grid.setDataSource(&ds);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    clickRow(1);
    ASSERT_EQ(v.Marka->AsString(), "Opel");

    // Below the last row: the table stays on its record and so does the
    // highlight, next to the row marker.
    const QRect last = grid.visualRect(grid.model()->index(3, 0));
    const QPoint below(last.center().x(), last.bottom() + 2 * last.height());
    ASSERT_FALSE(grid.indexAt(below).isValid());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(v.Marka->AsString(), "Opel");
    EXPECT_EQ(grid.model()->headerData(1, Qt::Vertical).toString(), "▶");
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(1, {}));
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);

    // Pressing there and dragging changes nothing either.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, below);
    QTest::mouseMove(grid.viewport(), below + QPoint(30, 5));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, below + QPoint(30, 5));
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(1, {}));

    // Ctrl+click on the current row does not take the highlight off it.
    const QRect r = grid.visualRect(grid.model()->index(1, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    EXPECT_EQ(v.Marka->AsString(), "Opel");
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(1, {}));

    // The highlight still follows the table and the clicks.
    v.T.Last();
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(3, {}));
    EXPECT_FALSE(grid.selectionModel()->isRowSelected(1, {}));
    clickRow(0);
    EXPECT_EQ(v.Marka->AsString(), "Fiat");
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);
}

TEST_F(GridTest, RefusedMoveKeepsTheRecordSelected)
{
    grid.setOptions(dgTitles | dgIndicator | dgRowSelect);
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    v.T.BeforePost = [](TTable&) { throw Exception(QStringLiteral("Brak marki")); };
    v.T.Edit();
    v.Marka->setAsString(QStringLiteral("Polonez"));
    clickRow(2);
    EXPECT_EQ(dialogs.texts(), QStringList{"Brak marki."});
    EXPECT_EQ(v.T.State(), dsEdit);
    EXPECT_EQ(v.T.RecNo(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);
}

TEST_F(GridTest, ClickWhileEditingPostsFirst)
{
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    v.T.Edit();
    v.Marka->setAsString(QStringLiteral("Polonez"));
    EXPECT_EQ(cell(0, 0), "Polonez"); // the edited record shows its new value
    clickRow(3);
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(v.Marka->AsString(), "Żuk");
    EXPECT_EQ(cell(0, 0), "Polonez");
}

TEST_F(GridTest, UnboundGridIgnoresMoves)
{
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    grid.setDataSource(nullptr);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    v.T.Next();
    v.T.Next();
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_FALSE(grid.currentIndex().isValid());
    grid.wheelStep(-120);
    EXPECT_EQ(v.T.RecNo(), 3); // an unbound grid moves nothing
    // Bound again, it shows the table where it stands.
    grid.setDataSource(&ds);
    EXPECT_EQ(grid.model()->rowCount(), 4);
    EXPECT_EQ(grid.currentIndex().row(), 2);
}

TEST_F(GridTest, InsertedRecordShowsAsARowUntilCancelled)
{
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    v.T.Last();
    v.T.Append();
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(grid.currentIndex().row(), 4);
    v.Marka->setAsString(QStringLiteral("Nysa"));
    EXPECT_EQ(cell(4, 0), "Nysa");
    v.T.Cancel();
    EXPECT_EQ(grid.model()->rowCount(), 4);
    EXPECT_EQ(grid.currentIndex().row(), 3);
}

TEST_F(GridTest, WheelStepsOneRecordAndNeverScrolls)
{
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    grid.wheelStep(-120); // towards the user: next
    EXPECT_EQ(v.T.RecNo(), 2);
    grid.wheelStep(-120);
    EXPECT_EQ(v.T.RecNo(), 3);
    grid.wheelStep(120); // away: prior
    EXPECT_EQ(v.T.RecNo(), 2);
    EXPECT_EQ(grid.currentIndex().row(), 1);

    v.T.Edit();
    grid.wheelStep(-120);
    EXPECT_EQ(v.T.RecNo(), 2);
    EXPECT_EQ(v.T.State(), dsEdit);
    v.T.Cancel();

    v.T.Close();
    grid.wheelStep(-120); // a closed table: nothing, and no error
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(GridTest, FocusedGridTakesTheWheelThroughTheHook)
{
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    ASSERT_EQ(QApplication::focusWidget(), &grid);
    const int scroll = grid.verticalScrollBar()->value();
    QWheelEvent down(QPointF(10, 10), grid.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    EXPECT_TRUE(ObslugaKomunikatow(grid.viewport(), &down));
    EXPECT_EQ(v.T.RecNo(), 2);
    EXPECT_EQ(grid.verticalScrollBar()->value(), scroll);
    // Without the hook the grid does not scroll either.
    QCoreApplication::sendEvent(grid.viewport(), &down);
    EXPECT_EQ(grid.verticalScrollBar()->value(), scroll);
}

TEST_F(GridTest, EditsInPlaceThroughSetText)
{
    QStringList typed;
    v.Marka->OnSetText = [&](TField& f, const QString& text) {
        typed << text;
        f.setAsString(text.trimmed());
    };
    grid.setOptions(dgTitles | dgEditing);
    grid.addColumn(QStringLiteral("Marka"));
    grid.addColumn(QStringLiteral("Id")).setReadOnly(true);
    grid.setDataSource(&ds);
    TDBNavigator nav;
    nav.setDataSource(&ds);
    grid.show();
    QApplication::setActiveWindow(&grid);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));

    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
    ASSERT_TRUE(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable);

    grid.setCurrentIndex(grid.model()->index(1, 0));
    EXPECT_EQ(v.Marka->AsString(), "Opel");
    grid.edit(grid.currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Opel");
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Warszawa "));
    EXPECT_EQ(v.T.State(), dsEdit);
    EXPECT_TRUE(typed.isEmpty());
    // The post button takes no focus: the post itself hands the text over.
    QTest::mouseClick(nav.Button(nbPost), Qt::LeftButton);
    EXPECT_EQ(typed, QStringList{"Warszawa "});
    EXPECT_EQ(v.T.State(), dsBrowse);
    v.T.Refresh();
    EXPECT_EQ(v.Marka->AsString(), "Warszawa");
    EXPECT_EQ(cell(1, 0), "Warszawa");
}

TEST_F(GridTest, RefusedCellTextStaysInItsEditor)
{
    v.Cena->OnSetText = [](TField& f, const QString& text) {
        if (text.startsWith(u'-'))
            throw Exception(QStringLiteral("Wartość nie może być ujemna"));
        f.setAsString(text);
    };
    grid.setOptions(dgTitles | dgEditing);
    grid.addColumn(QStringLiteral("Marka"));
    grid.addColumn(QStringLiteral("Cena"));
    grid.setDataSource(&ds);
    grid.show();
    QApplication::setActiveWindow(&grid);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));

    grid.setCurrentIndex(grid.model()->index(0, 1));
    grid.edit(grid.currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("-5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after the key
    EXPECT_EQ(dialogs.texts(), QStringList{"Wartość nie może być ujemna."});
    EXPECT_TRUE(grid.EditorMode());
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(editor->text(), "-5");
    EXPECT_DOUBLE_EQ(v.Cena->AsFloat(), 1234.5);

    // Moving to another row is refused while the text stands.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(2, 0)).center());
    EXPECT_EQ(v.T.RecNo(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 0);

    // Mended, Enter stores it.
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("5"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after the key
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_DOUBLE_EQ(v.Cena->AsFloat(), 5.0);
    EXPECT_EQ(cell(0, 1), "5,00");
}

TEST_F(GridTest, EscapeDropsARefusedCellText)
{
    v.Cena->OnSetText = [](TField&, const QString&) { throw Exception(QStringLiteral("Nie")); };
    grid.setOptions(dgTitles | dgEditing);
    grid.addColumn(QStringLiteral("Cena"));
    grid.setDataSource(&ds);
    grid.show();
    QApplication::setActiveWindow(&grid);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.edit(grid.model()->index(0, 0));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("7"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits after the key
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(dialogs.texts(), QStringList{"Nie."});
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(cell(0, 0), "1 234,50");
}

TEST_F(GridTest, ReadOnlyGridDoesNotEdit)
{
    grid.setOptions(dgTitles | dgEditing);
    grid.setReadOnly(true);
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(GridTest, CtrlDeleteAsksBeforeDeleting)
{
    grid.setOptions(dgTitles | dgEditing | dgConfirmDelete);
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    v.T.Next();
    dialogs.answer(MbCancel);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(dialogs.texts(), QStringList{"Usunąć rekord?"});
    EXPECT_EQ(v.T.RecordCount(), 4);
    dialogs.answer(MbOk);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(v.T.RecordCount(), 3);
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(cell(1, 0), "Skoda");
}

TEST_F(GridTest, KeysInsertAppendAndCancel)
{
    grid.setOptions(dgTitles | dgEditing);
    grid.addColumn(QStringLiteral("Marka"));
    grid.setDataSource(&ds);
    v.T.Next();
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(v.T.State(), dsInsert);
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(grid.currentIndex().row(), 1); // the new row stands where the current one stood
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(grid.model()->rowCount(), 4);
    EXPECT_EQ(v.Marka->AsString(), "Opel");

    v.T.Last();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(v.T.State(), dsInsert);
    EXPECT_EQ(grid.currentIndex().row(), 4);
    QTest::keyClick(&grid, Qt::Key_Down); // an untouched new record: nothing more
    EXPECT_EQ(grid.model()->rowCount(), 5);
    QTest::keyClick(&grid, Qt::Key_Up); // leaving it untouched drops it
    EXPECT_EQ(v.T.State(), dsBrowse);
    EXPECT_EQ(v.T.RecordCount(), 4);

    // A read-only grid inserts nothing.
    grid.setReadOnly(true);
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(v.T.State(), dsBrowse);
}

// A table in name order: "Baza", "Magazyn", "Oddział", "Warsztat".
struct Places {
    TTable T{QStringLiteral("TMiejsca")};
    TField* Nazwa;

    Places()
    {
        T.setTableName(QStringLiteral("Miejsca.db"));
        Nazwa = T.AddField(QStringLiteral("Nazwa"), ftString, 40);
        T.IndexDefs().Add(QString(), QStringLiteral("Nazwa"), ixPrimary | ixUnique);
        T.CreateTable();
        T.Open();
        for (const char* n : {"Warsztat", "Baza", "Oddział", "Magazyn"}) {
            T.Append();
            Nazwa->setAsString(QString::fromUtf8(n));
            T.Post();
        }
        T.First();
    }
};

class GridMovesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setOptions(dgTitles | dgIndicator | dgEditing);
        grid.addColumn(QStringLiteral("Nazwa"));
        grid.setDataSource(&ds);
        grid.resize(400, 300);
        grid.show();
        QApplication::setActiveWindow(&grid);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    }
    void clickRow(int row)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row, 0)).center());
    }
    void type(const QString& text)
    {
        QTest::keyClicks(&grid, text.left(1));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
    }
    QStringList names()
    {
        QStringList out;
        p.T.Refresh();
        for (p.T.First(); !p.T.Eof(); p.T.Next())
            out << p.Nazwa->AsString();
        return out;
    }

    TestDir dir;
    ScriptedDialogs dialogs;
    Places p;
    TDataSource ds{&p.T};
    TDBGrid grid;
};

// "Magazyn" selected, Insert, "Sklep" typed into the new row (shown at row
// 1), then a click on the row showing "Oddział" (row 3): the new record is
// posted and goes to its place in name order, and "Oddział" is current.
TEST_F(GridMovesTest, AClickAfterAPostedNewRowSelectsTheRecordClicked)
{
    clickRow(1);
    QTest::keyClick(&grid, Qt::Key_Insert);
    ASSERT_EQ(grid.model()->rowCount(), 5);
    type(QStringLiteral("Sklep"));
    clickRow(3);
    EXPECT_EQ(p.T.State(), dsBrowse);
    EXPECT_EQ(p.Nazwa->AsString(), "Oddział");
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(names(), (QStringList{"Baza", "Magazyn", "Oddział", "Sklep", "Warsztat"}));
}

// "Baza" renamed "Zajezdnia" in its cell, then a click on "Oddział" (row 2):
// the renamed record moves to its place in name order and "Oddział", not
// the record that took row 2, is current.
TEST_F(GridMovesTest, AClickAfterAnEditThatMovesTheRecordSelectsTheRecordClicked)
{
    type(QStringLiteral("Zajezdnia"));
    clickRow(2);
    EXPECT_EQ(p.T.State(), dsBrowse);
    EXPECT_EQ(p.Nazwa->AsString(), "Oddział");
    EXPECT_EQ(grid.currentIndex().row(), 1);
    EXPECT_EQ(names(), (QStringList{"Magazyn", "Oddział", "Warsztat", "Zajezdnia"}));
}

// An empty new row dropped by a click: rows above it stay, rows below move
// up, and the record under the mouse becomes current either way.
TEST_F(GridMovesTest, AClickAfterAnEmptyNewRowSelectsTheRecordClicked)
{
    clickRow(2);
    QTest::keyClick(&grid, Qt::Key_Insert);
    clickRow(0);
    EXPECT_EQ(p.Nazwa->AsString(), "Baza");
    QTest::keyClick(&grid, Qt::Key_Insert);
    clickRow(3);
    EXPECT_EQ(p.Nazwa->AsString(), "Oddział");
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(p.T.RecordCount(), 4);
}

// Text typed into a cell and then cancelled from outside the grid (the
// navigator's cancel) is dropped: the editor closes showing nothing typed,
// and the next move or refresh writes nothing.
TEST_F(GridMovesTest, CancelDropsTheTextOfTheCellEditor)
{
    clickRow(1);
    type(QStringLiteral("Sklep"));
    ASSERT_EQ(p.T.State(), dsEdit);
    p.T.Cancel();
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.cellText(1, 0), "Magazyn");
    p.T.Refresh();
    clickRow(3);
    EXPECT_EQ(p.T.State(), dsBrowse);
    EXPECT_EQ(names(), (QStringList{"Baza", "Magazyn", "Oddział", "Warsztat"}));
    EXPECT_TRUE(dialogs.calls().empty());
}

// Insert, "Akacja" typed into the new row and posted from outside the grid
// (a navigator's post): the record keeps its row (first in name order), the
// cell editor closes and the grid keeps the keyboard; Insert again and
// "Agrest" typed wherever the keyboard is lands in the second new row.
TEST_F(GridMovesTest, APostClosesTheCellEditorAndTheNextNewRowTakesTheTyping)
{
    for (const QString& name : {QStringLiteral("Akacja"), QStringLiteral("Agrest")}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert);
        ASSERT_EQ(p.T.State(), dsInsert);
        QTest::keyClicks(QApplication::focusWidget(), name.left(1));
        ASSERT_TRUE(grid.EditorMode());
        QTest::keyClicks(QApplication::focusWidget(), name.mid(1));
        p.T.Post();
        EXPECT_FALSE(grid.EditorMode());
        EXPECT_EQ(QApplication::focusWidget(), &grid);
    }
    EXPECT_EQ(names(), (QStringList{"Agrest", "Akacja", "Baza", "Magazyn", "Oddział", "Warsztat"}));
}

// A cell editor opened (F2) and left untyped while a new row is inserted
// from outside the grid: the rows change, the editor goes and the grid
// keeps the keyboard, so "Sklep" typed then is the new record's name.
TEST_F(GridMovesTest, AnOpenEditorGoesWithAnInsertAndTheGridKeepsTheKeyboard)
{
    clickRow(2);
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    p.T.Insert();
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(QApplication::focusWidget(), &grid);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("S"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("klep"));
    p.T.Post();
    EXPECT_EQ(names(), (QStringList{"Baza", "Magazyn", "Oddział", "Sklep", "Warsztat"}));
}

// A key steps from the record the user leaves, at the place its post gave
// it: "Baza" renamed "Pralnia" (now before "Warsztat") and Down: "Warsztat"
// is current; "Warsztat" renamed "Apteka" (now first) and Up: it stays
// current. Tab out of the cell editor of a record that the post puts last,
// and Tab from the last cell of the last row, go on into a new row, where the
// editor stands empty, and Esc with the keyboard on the grid drops what was
// typed there.
TEST_F(GridMovesTest, KeysStepFromTheRecordLeftAtItsNewPlace)
{
    type(QStringLiteral("Pralnia"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(p.Nazwa->AsString(), "Warsztat");
    EXPECT_EQ(grid.currentIndex().row(), 3);
    type(QStringLiteral("Apteka"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(p.Nazwa->AsString(), "Apteka");
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(names(), (QStringList{"Apteka", "Magazyn", "Oddział", "Pralnia"}));

    clickRow(1);
    type(QStringLiteral("Sklep"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(p.T.State(), dsInsert);
    EXPECT_EQ(grid.currentIndex().row(), 4);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "");
    QTest::keyClicks(editor, QStringLiteral("Zajazd"));
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_FALSE(grid.EditorMode());
    p.T.Cancel();
    EXPECT_EQ(names(), (QStringList{"Apteka", "Oddział", "Pralnia", "Sklep"}));
    EXPECT_EQ(p.Nazwa->AsString(), "Sklep");
    QTest::keyClick(&grid, Qt::Key_Tab);
    EXPECT_EQ(p.T.State(), dsInsert);
    EXPECT_EQ(grid.currentIndex().row(), 4);
    EXPECT_TRUE(dialogs.calls().empty());
}

// A registration number in capitals and a date, each under its edit mask.
struct Masked {
    TTable T{QStringLiteral("TMaski")};
    TField* Nr;
    TField* Data;

    Masked()
    {
        T.setTableName(QStringLiteral("Maski.db"));
        Nr = T.AddField(QStringLiteral("Nr"), ftString, 20);
        Nr->setEditMask(QStringLiteral(">cccccccccccccccccccc"));
        Data = T.AddField(QStringLiteral("Data"), ftDate);
        Data->setDisplayFormat(QStringLiteral("yyyy-mm-dd"));
        Data->setEditMask(QStringLiteral("!9999/99/99;1;_"));
        T.CreateTable();
        T.Open();
        T.Append();
        Nr->setAsString(QStringLiteral("KR 1"));
        Data->setAsDateTime(QDate(2016, 8, 2));
        T.Post();
    }
};

// A cell edits through its field's mask as an edit does: a double click
// shows the stored date in the mask; the digits 20191231 typed over it give
// 2019-12-31, "wa 77" typed into the number gives "WA 77"; a new row's date
// starts as the empty mask and takes 20200115 as 2020-01-15.
TEST(GridMasks, CellsEditThroughTheMasksOfTheirFields)
{
    TestDir dir;
    ScriptedDialogs dialogs;
    Masked m;
    TDataSource ds{&m.T};
    TDBGrid grid;
    grid.setOptions(dgTitles | dgIndicator | dgEditing);
    grid.addColumn(QStringLiteral("Nr"));
    grid.addColumn(QStringLiteral("Data"));
    grid.setDataSource(&ds);
    grid.resize(400, 200);
    grid.show();
    QApplication::setActiveWindow(&grid);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    auto editor = [] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); };

    const QPoint date = grid.visualRect(grid.model()->index(0, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, date);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, date);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->displayText(), "2016-08-02");
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("20191231"));
    EXPECT_EQ(editor()->displayText(), "2019-12-31");
    QTest::keyClick(editor(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_NE(editor(), nullptr);
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("wa 77"));
    EXPECT_EQ(editor()->displayText(), "WA 77");
    QTest::keyClick(editor(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // into a new row
    ASSERT_EQ(m.T.State(), dsInsert);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->displayText(), "____-__-__");
    QTest::keyClicks(editor(), QStringLiteral("20200115"));
    m.T.Post();
    EXPECT_TRUE(dialogs.calls().empty());
    QStringList rows;
    for (m.T.First(); !m.T.Eof(); m.T.Next())
        rows << m.Nr->AsString() + u'/' + m.Data->AsString();
    EXPECT_EQ(rows, (QStringList{"WA 77/2019-12-31", "/2020-01-15"}));
}

// Down and Tab from the last row with its cell editor open do what Down
// does without it: the text goes to the record, the record's leave step
// runs, the record is saved and a new row starts. "Warsztat" renamed
// "Wozownia", Down; "Zajazd" typed into the new row, Down; "Zoo", Tab.
TEST_F(GridMovesTest, DownAndTabFromTheLastRowsEditorSaveTheRecordAndStartANewRow)
{
    int left = 0;
    grid.BeforeMove = [&](TDBGrid&) {
        ++left;
        EXPECT_TRUE(p.T.Modified());
    };
    clickRow(3);
    int row = 3;
    for (const char* name : {"Wozownia", "Zajazd", "Zoo"}) {
        SCOPED_TRACE(name);
        type(QString::fromUtf8(name));
        ASSERT_TRUE(grid.EditorMode());
        QTest::keyClick(QApplication::focusWidget(), row < 5 ? Qt::Key_Down : Qt::Key_Tab);
        ++row;
        EXPECT_EQ(left, row - 3);
        EXPECT_EQ(p.T.State(), dsInsert);
        EXPECT_EQ(grid.currentIndex().row(), row);
        EXPECT_EQ(grid.model()->rowCount(), row + 1);
    }
    p.T.Cancel();
    EXPECT_EQ(names(), (QStringList{"Baza", "Magazyn", "Oddział", "Wozownia", "Zajazd", "Zoo"}));
    EXPECT_TRUE(dialogs.calls().empty());
}

// A cell editor opened (F2) and left untyped while the rows are read again
// (another cursor renamed its record, then a refresh) goes: the cell shows
// the new name, not the old text over it, and the grid keeps the keyboard.
TEST_F(GridMovesTest, AnUntypedEditorGoesWhenTheRowsAreReadAgain)
{
    clickRow(1);
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    TTable other;
    other.setTableName(QStringLiteral("Miejsca.db"));
    other.Open();
    ASSERT_TRUE(other.Locate(QStringLiteral("Nazwa"), QStringLiteral("Magazyn")));
    other.Edit();
    other.FieldByName(QStringLiteral("Nazwa"))->setAsString(QStringLiteral("Kuźnia"));
    other.Post();
    p.T.Refresh();
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(grid.cellText(1, 0), "Kuźnia");
    EXPECT_EQ(QApplication::focusWidget(), &grid);
}

// Tab in a grid that edits in place goes from cell to cell; a read-only
// grid with whole-row selection lets it go on to the next control, and its
// record stays where it was.
TEST(GridTab, ReadOnlyGridsLeaveTabToTheWindow)
{
    TestDir dir;
    ScriptedDialogs dialogs;
    Vehicles v;
    TDataSource ds{&v.T};
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* grid = new TDBGrid;
    auto* next = new QLineEdit;
    layout->addWidget(grid);
    layout->addWidget(next);
    grid->setDataSource(&ds);
    grid->setOptions(dgTitles | dgIndicator | dgEditing);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    grid->setFocus();
    v.T.MoveBy(1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(grid->currentIndex().column(), 1);

    grid->setOptions(dgTitles | dgIndicator | dgRowSelect);
    grid->setReadOnly(true);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
    grid->setFocus();
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(v.Marka->AsString(), "Opel");
}

// A column without a width of its own shows the dates, whole numbers and
// amounts of its field whole: digits are wider than the font's average
// character.
TEST(GridWidths, DateAndNumberColumnsShowTheirTextsWhole)
{
    TestDir dir;
    TTable t{QStringLiteral("TPrzebieg")};
    t.setTableName(QStringLiteral("Przebieg.db"));
    TField* data = t.AddField(QStringLiteral("Data"), ftDate);
    TField* km = t.AddField(QStringLiteral("Km"), ftInteger);
    TField* kwota = t.AddField(QStringLiteral("Kwota"), ftFloat);
    kwota->setDisplayFormat(QStringLiteral("# ### ##0.00"));
    kwota->setDisplayWidth(12);
    t.CreateTable();
    t.Open();
    for (int month : {1, 8, 12}) {
        t.Append();
        data->setAsDateTime(QDate(2008, month, 28));
        km->setAsInteger(2008080808);
        kwota->setAsFloat(8888888.88);
        t.Post();
    }
    TDataSource ds{&t};
    TDBGrid grid;
    grid.setDataSource(&ds);
    const QFontMetrics fm = grid.fontMetrics();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const QString text = grid.cellText(row, column);
            // The text and the cell's margins fit.
            EXPECT_GE(grid.columnWidth(column), fm.horizontalAdvance(text) + 6) << text.toStdString();
        }
    EXPECT_EQ(grid.cellText(2, 0), "2008-12-28");
    EXPECT_EQ(grid.cellText(0, 2), "8 888 888,88");
}

TEST(GridDetail, FollowsTheMasterRecord)
{
    TestDir dir;
    TTable places(QStringLiteral("TMiejsca"));
    places.setTableName(QStringLiteral("Miejsca.db"));
    TField* id = places.AddField(QStringLiteral("Id"), ftInteger);
    places.IndexDefs().Add(QString(), QStringLiteral("Id"), ixPrimary | ixUnique);
    places.CreateTable();
    places.Open();
    for (int i = 1; i <= 3; ++i) {
        places.Append();
        id->setAsInteger(i);
        places.Post();
    }
    TTable fills(QStringLiteral("TTankowania"));
    fills.setTableName(QStringLiteral("Tankowania.db"));
    TField* place = fills.AddField(QStringLiteral("Miejsce"), ftInteger);
    TField* nr = fills.AddField(QStringLiteral("Nr"), ftInteger);
    TField* litres = fills.AddField(QStringLiteral("Ilosc"), ftFloat);
    fills.IndexDefs().Add(QString(), QStringLiteral("Miejsce;Nr"), ixPrimary | ixUnique);
    fills.CreateTable();
    fills.setIndexFieldNames(QStringLiteral("Miejsce;Nr"));
    fills.Open();
    const int rows[][3] = {{1, 2, 40}, {2, 1, 55}, {1, 1, 30}};
    for (const auto& r : rows) {
        fills.Append();
        place->setAsInteger(r[0]);
        nr->setAsInteger(r[1]);
        litres->setAsFloat(r[2]);
        fills.Post();
    }
    TDataSource master(&places);
    TDataSource detail(&fills);
    fills.setMasterSource(&master);
    fills.setMasterFields(QStringLiteral("Id"));
    places.First();

    TDBGrid grid;
    grid.addColumn(QStringLiteral("Ilosc"));
    grid.setDataSource(&detail);
    auto texts = [&] {
        QStringList out;
        for (int r = 0; r < grid.model()->rowCount(); ++r)
            out << grid.model()->index(r, 0).data().toString();
        return out;
    };
    EXPECT_EQ(texts(), (QStringList{"30", "40"})); // by number within the place
    places.Next();
    EXPECT_EQ(texts(), QStringList{"55"});
    EXPECT_EQ(grid.currentIndex().row(), 0);
    places.Next();
    EXPECT_EQ(texts(), QStringList{});
}

// ---------------------------------------------------------------- a large table

TEST(GridLargeTable, OpensWithoutReadingEveryRow)
{
    TestDir dir;
    const int rows = 200000;
    {
        TTable make;
        make.setTableName(QStringLiteral("Duza.db"));
        make.FieldDefs().Add(QStringLiteral("Nazwa"), ftString, 20);
        make.CreateTable();
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QStringLiteral("Duza.db").toUtf8().constData(), &db), SQLITE_OK);
        const char* sql = "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<200000) "
                          "INSERT INTO data(\"Nazwa\") SELECT 'Wiersz ' || i FROM n;";
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    TTable big(QStringLiteral("TDuza"));
    big.setTableName(QStringLiteral("Duza.db"));
    TField* nazwa = big.AddField(QStringLiteral("Nazwa"), ftString, 20);
    int texts = 0;
    nazwa->OnGetText = [&](TField&, QString&, bool) { ++texts; };
    big.Open();
    TDataSource source(&big);

    TDBGrid grid;
    grid.resize(400, 300);
    grid.addColumn(QStringLiteral("Nazwa"));
    grid.setDataSource(&source);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.grab(); // paints the visible rows

    EXPECT_EQ(grid.model()->rowCount(), rows);
    EXPECT_EQ(grid.model()->index(0, 0).data().toString(), "Wiersz 1");
    EXPECT_GT(grid.RowsRead(), 0);
    EXPECT_LT(grid.RowsRead(), 100);
    EXPECT_LT(texts, 200);

    big.Last();
    grid.grab();
    EXPECT_EQ(grid.currentIndex().row(), rows - 1);
    EXPECT_EQ(grid.model()->index(rows - 1, 0).data().toString(), "Wiersz 200000");
    EXPECT_LT(grid.RowsRead(), 200);
    grid.wheelStep(120);
    EXPECT_EQ(nazwa->AsString(), "Wiersz 199999");

    // Unbinding and binding again read nothing until rows are painted.
    const int before = grid.RowsRead();
    grid.setDataSource(nullptr);
    grid.setDataSource(&source);
    EXPECT_EQ(grid.RowsRead(), before);
}

// BeforeMove runs when the user leaves a record being edited or inserted,
// by a click, the arrow keys or Down into a new row, and never while the
// table is browsed. Raised EAbort keeps the edited record current with what
// was typed; a handler that cancels lets the move go to the row clicked.
// OnInsert follows the grid's Insert and Down keys.
TEST_F(GridMovesTest, BeforeMoveMayKeepTheEditedRecordAndOnInsertFollowsTheInsertKeys)
{
    int przed = 0;
    bool zostan = true;
    grid.BeforeMove = [&](TDBGrid& g) {
        ++przed;
        EXPECT_EQ(&g, &grid);
        if (zostan)
            Abort();
        p.T.Cancel();
    };
    int wstawione = 0;
    grid.OnInsert = [&](TDBGrid&) {
        ++wstawione;
        EXPECT_EQ(p.T.State(), dsInsert);
    };
    clickRow(1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(przed, 0);
    EXPECT_EQ(p.Nazwa->AsString(), "Oddział");

    type(QStringLiteral("Sklep"));
    clickRow(0);
    EXPECT_EQ(przed, 1);
    EXPECT_EQ(p.T.State(), dsEdit);
    EXPECT_EQ(p.Nazwa->AsString(), "Sklep");
    EXPECT_EQ(grid.currentIndex().row(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(przed, 2);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(p.Nazwa->AsString(), "Sklep");

    zostan = false;
    clickRow(3);
    EXPECT_EQ(przed, 3);
    EXPECT_EQ(p.T.State(), dsBrowse);
    EXPECT_EQ(p.Nazwa->AsString(), "Warsztat");
    EXPECT_EQ(grid.currentIndex().row(), 3);

    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(wstawione, 1);
    clickRow(0); // an untouched new row: the handler decides
    EXPECT_EQ(przed, 4);
    EXPECT_EQ(p.Nazwa->AsString(), "Baza");
    p.T.Last();
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(wstawione, 2);
    EXPECT_EQ(names(), (QStringList{"Baza", "Magazyn", "Oddział", "Warsztat"}));
    EXPECT_TRUE(dialogs.calls().empty());
}

} // namespace
