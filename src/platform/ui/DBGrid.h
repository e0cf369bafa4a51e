#pragma once
// TDBGrid: a table view over the records of a data source.
//
// The grid shows a row per record (and the pending new record while one is
// inserted); its current row follows the table, and moving the current row
// (click, keys) moves the table. Rows are read only when they are painted,
// through TTable::ActiveRecordScope, into a small cache that every
// notification of the table clears; a grid over a million rows opens at
// once. Binding and unbinding (setDataSource(nullptr)) read no data; an
// unbound grid is empty and does not follow any table.
//
// Keys: Ctrl+Delete deletes the record (asking first with dgConfirmDelete);
// Esc drops the text typed into an open cell editor, else cancels an edit
// or insert (an untouched new row goes); in a grid that edits in place,
// Insert inserts a record, Down on the last row appends one (from its open
// cell editor too, whose text goes to the record first) and Tab goes from
// cell to cell, from the last cell of the last row into a new row as Down
// does. Insert, like a move, first leaves the record (BeforeMove). A grid
// whose cells cannot be edited (read-only, or whole-row selection) leaves
// Tab to the window: it goes on to the next control.
//
// A cell editor takes the edit mask of its field as an edit does (see
// TranslateEditMask): a date is typed as its digits into "____-__-__".
//
// The cell editor stands on the current record only: what is typed into it
// goes into the record it shows. A post or a cancel of the record (from a
// navigator, a button, a move) closes it, as does anything that reads the
// rows again while nothing is typed into it, and the grid keeps the
// keyboard: what the user types next goes into the grid's current record,
// also into the new row of the next insert. A text that the field refuses
// stays in its editor, said once, until it is mended or dropped (Esc, or a
// cancel of the record).
//
// A column without a width of its own is as wide as its field's display
// width in characters of the text it shows: digits for dates and numbers,
// letters of common text otherwise; never narrower than its title.
//
// The current record stays selected: a click below the last row, or on a
// row that the table refuses to move to, leaves the highlight on it.
//
// Leaving a record that is being edited or inserted (a click on another row,
// the arrow, page and Tab keys, Down into a new row, Insert) first calls
// BeforeMove: it may post or cancel the record, or raise kal::Abort() to
// stay on it with what was typed. Then an unchanged new row is dropped and
// a changed record posted (a refused post keeps it current with what was
// typed), and the row the user chose becomes current: for a click the
// record under the mouse; for a key the row as far from the record left as
// the key steps, at the place its post gave it, as the table's own steps
// go (a step down past the last record goes on into a new row).
//
// The mouse wheel never scrolls the grid: the application's input hook calls
// wheelStep, which moves the table by one record (see IWheelNavigable).

#include "DBFieldLink.h"
#include "WheelNavigable.h"

#include <QColor>
#include <QFontMetrics>
#include <QTableView>

#include <deque>
#include <functional>
#include <vector>

class QLineEdit;

namespace kal {

class TDBGridModel;
class TDBGridDelegate;

struct TDBGridColumn {
    QString FieldName;
    QString Title;            // empty: the field's DisplayLabel
    int Width = 0;            // pixels; 0: from the field's DisplayWidth
    TAlignment Alignment = taLeftJustify;
    bool AlignmentSet = false; // false: the field's Alignment
    bool ReadOnly = false;
    bool Visible = true;
    QColor Color;             // background; invalid: the grid's colour

    TDBGridColumn& setTitle(const QString& title) { Title = title; return *this; }
    TDBGridColumn& setWidth(int width) { Width = width; return *this; }
    TDBGridColumn& setAlignment(TAlignment alignment) { Alignment = alignment; AlignmentSet = true; return *this; }
    TDBGridColumn& setReadOnly(bool readOnly) { ReadOnly = readOnly; return *this; }
    TDBGridColumn& setVisible(bool visible) { Visible = visible; return *this; }
    TDBGridColumn& setColor(const QColor& color) { Color = color; return *this; }
};

enum TDBGridOption : unsigned {
    dgEditing = 1u << 0,       // cells may be edited in place
    dgTitles = 1u << 1,        // the title row is shown
    dgIndicator = 1u << 2,     // the row header is shown
    dgRowSelect = 1u << 3,     // the whole row is selected
    dgConfirmDelete = 1u << 4, // Ctrl+Delete asks before deleting
};
using TDBGridOptions = unsigned;

class TDBGrid : public QTableView, public IWheelNavigable {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    TDataSource* DataSource() const { return m_link.DataSource(); }
    void setDataSource(TDataSource* source);
    TTable* DataSet() const { return m_link.Active() ? m_link.DataSet() : nullptr; }

    // Columns. Without any, the grid shows every visible field of the table.
    // Titles, alignment and colour changed through the returned reference
    // show at the next paint; widths and visibility after columnsChanged().
    TDBGridColumn& addColumn(const QString& fieldName, const QString& title = {});
    int ColumnCount() const { return int(m_columns.size()); }
    TDBGridColumn& Columns(int index) { return m_columns[size_t(index)]; }
    void clearColumns();
    void columnsChanged();

    TDBGridOptions Options() const { return m_options; }
    void setOptions(TDBGridOptions options);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // The field of the current column, or nullptr.
    TField* SelectedField() const;
    // Text of a cell as the grid shows it ("" outside the rows).
    QString cellText(int row, int column) const;
    // True while a cell editor is open.
    bool EditorMode() const { return state() == QAbstractItemView::EditingState; }
    // Gives the keyboard to the open cell editor, where a text that could not
    // be saved waits to be corrected or dropped (Esc); false when none is open.
    bool FocusEditor();
    // Rows read from the table since binding (for tests of the lazy reading).
    int RowsRead() const;

    // Double click on a row (after the table moved to it).
    std::function<void(TDBGrid&)> OnDblClick;
    // Before the user moves off a record being edited or inserted (see
    // above); raise kal::Abort() to stay.
    std::function<void(TDBGrid&)> BeforeMove;
    // After the grid's Insert or Down key has put the table into insert.
    std::function<void(TDBGrid&)> OnInsert;

    void wheelStep(int delta) override;
    using QTableView::edit; // opens the editor of the current record's cell (see edit below)

    // The width in pixels of `chars` characters of the text that `field`
    // shows, in the font of `metrics`: for a date or a number `chars` of the
    // widest digit (digits are wider than the font's average character), for
    // other fields `chars` characters of common Polish text. Without a field
    // the text counts as common text.
    static int TextWidth(const QFontMetrics& metrics, const TField* field, int chars);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    friend class TDBGridModel;
    friend class TDBGridDelegate;
    class Link final : public TDataLink {
    public:
        explicit Link(TDBGrid& grid) : m_grid(grid) {}
        void activeChanged() override { m_grid.refresh(true); }
        void dataSetChanged() override { m_grid.refresh(true); }
        void dataSetScrolled(int) override { m_grid.refresh(false); }
        void recordChanged(TField* field) override { m_grid.currentRecordChanged(field); }
        void editingChanged() override { m_grid.editingChanged(); }
        void updateData() override { m_grid.updateData(); }

    private:
        TDBGrid& m_grid;
    };

    struct ShownColumn {
        QString fieldName;
        int source = -1; // index into m_columns, -1 for a default column
    };
    void rebuildColumns();
    void refresh(bool dataChanged);
    void dropCancelledText();
    QLineEdit* openLineEditor() const;
    void closeOpenEditor();
    void closeStaleEditor();
    // Esc: see above.
    void escape();
    bool canAppend() const;
    // Down on the last row: a new record at the end (BeforeMove first, then
    // OnInsert); nothing from an untouched new record.
    void appendRow();
    // Tab (forward) or Shift+Tab: to the next or previous cell, from the
    // end of a row into the next or previous row as a key step; past the
    // last cell of the last row as Down there.
    void tabStep(bool forward);
    void editingChanged();
    void currentRecordChanged(TField* field);
    void syncCurrent();
    void updateData();
    void applyOptions();
    TField* fieldOf(int column) const;
    const TDBGridColumn* columnOf(int column) const;
    bool cellEditable(int column) const;
    void editorStarted(QWidget* editor, const QModelIndex& index);

    Link m_link{*this};
    TDBGridModel* m_model = nullptr;
    TDBGridDelegate* m_delegate = nullptr;
    std::deque<TDBGridColumn> m_columns; // references stay valid as columns are added
    std::vector<ShownColumn> m_shown;
    TDBGridOptions m_options = dgTitles | dgIndicator | dgConfirmDelete;
    bool m_readOnly = false;
    bool m_syncing = false;
    bool m_keyStep = false;      // the move under way is a step of a key
    bool m_commitRefused = false; // the open editor's text was refused
    const TTable* m_widthsFor = nullptr;
};

} // namespace kal
