#include "DBGrid.h"

#include "DBEdit.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace kal {

// ---------------------------------------------------------------- model

class TDBGridModel final : public QAbstractTableModel {
public:
    explicit TDBGridModel(TDBGrid& grid) : QAbstractTableModel(&grid), m_grid(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_grid.m_shown.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return rowTexts(index.row()).value(index.column());
        case Qt::EditRole:
            return editText(index);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(alignment(index.column()) | Qt::AlignVCenter));
        case Qt::BackgroundRole:
            if (const TDBGridColumn* c = m_grid.columnOf(index.column()); c && c->Color.isValid())
                return c->Color;
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Vertical) {
            if (role != Qt::DisplayRole)
                return {};
            const TTable* t = m_grid.DataSet();
            if (!t || section != t->GridRowOfCurrent())
                return QString();
            return t->State() == dsInsert ? QStringLiteral("*") : QStringLiteral("▶");
        }
        if (section < 0 || section >= columnCount())
            return {};
        if (role == Qt::DisplayRole) {
            const TDBGridColumn* c = m_grid.columnOf(section);
            if (c && !c->Title.isEmpty())
                return c->Title;
            if (TField* f = m_grid.fieldOf(section))
                return f->DisplayLabel();
            return m_grid.m_shown[size_t(section)].fieldName;
        }
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(alignment(section) | Qt::AlignVCenter));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (m_grid.cellEditable(index.column()))
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || !index.isValid())
            return false;
        TTable* t = m_grid.DataSet();
        TField* f = m_grid.fieldOf(index.column());
        if (!t || !f || !m_grid.cellEditable(index.column()) || m_committing)
            return false;
        // The error box of a refused text takes the focus from the editor,
        // which commits again: that second commit does nothing.
        m_committing = true;
        const bool ok = RunControlAction([&] {
            if (index.row() != t->GridRowOfCurrent())
                return; // the table moved away from the edited row
            if (t->State() != dsEdit && t->State() != dsInsert)
                t->Edit();
            f->setText(value.toString());
        });
        m_committing = false;
        return ok;
    }

    QStringList rowTexts(int row) const
    {
        TTable* t = m_grid.DataSet();
        if (!t || row < 0 || row >= m_rows)
            return {};
        const bool editing = (t->State() == dsEdit || t->State() == dsInsert) && row == t->GridRowOfCurrent();
        if (!editing) {
            const auto it = m_cache.constFind(row);
            if (it != m_cache.constEnd())
                return *it;
        }
        QStringList texts;
        {
            TTable::ActiveRecordScope scope(*t, row);
            if (!scope.valid())
                return {};
            ++m_rowsRead;
            for (size_t c = 0; c < m_grid.m_shown.size(); ++c) {
                TField* f = t->FindField(m_grid.m_shown[c].fieldName);
                QString text;
                if (f) {
                    try {
                        text = f->DisplayText();
                    } catch (...) {
                        text.clear(); // a failing get-text handler leaves the cell blank
                    }
                }
                texts << text;
            }
        }
        if (!editing) {
            if (m_cache.size() >= kCacheRows)
                m_cache.clear();
            m_cache.insert(row, texts);
        }
        return texts;
    }

    QString editText(const QModelIndex& index) const
    {
        TTable* t = m_grid.DataSet();
        if (!t)
            return {};
        TTable::ActiveRecordScope scope(*t, index.row());
        TField* f = scope.valid() ? m_grid.fieldOf(index.column()) : nullptr;
        if (!f)
            return {};
        try {
            return f->Text();
        } catch (...) {
            return {};
        }
    }

    Qt::Alignment alignment(int column) const
    {
        TAlignment a = taLeftJustify;
        if (const TDBGridColumn* c = m_grid.columnOf(column); c && c->AlignmentSet)
            a = c->Alignment;
        else if (TField* f = m_grid.fieldOf(column))
            a = f->Alignment();
        switch (a) {
        case taRightJustify:
            return Qt::AlignRight;
        case taCenter:
            return Qt::AlignHCenter;
        default:
            return Qt::AlignLeft;
        }
    }

    void resetTo(int rows)
    {
        beginResetModel();
        m_rows = rows;
        m_indicator = -1;
        m_cache.clear();
        endResetModel();
    }

    void allChanged()
    {
        m_cache.clear();
        if (m_rows > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
    }

    // The row indicator moved from one row to another: only those two rows
    // of the row header change (a header over a million rows would
    // otherwise be walked on every step).
    void indicatorAt(int row)
    {
        const int old = m_indicator;
        m_indicator = row;
        for (int r : {old, row})
            if (r >= 0 && r < m_rows)
                emit headerDataChanged(Qt::Vertical, r, r);
    }

    void rowChanged(int row)
    {
        m_cache.remove(row);
        if (row >= 0 && row < m_rows && columnCount() > 0)
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }

    int m_rows = 0;
    int m_indicator = -1;
    bool m_committing = false;
    mutable int m_rowsRead = 0;

private:
    static constexpr int kCacheRows = 512;
    TDBGrid& m_grid;
    mutable QHash<int, QStringList> m_cache;
};

// ---------------------------------------------------------------- delegate

class TDBGridDelegate final : public QStyledItemDelegate {
public:
    explicit TDBGridDelegate(TDBGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            // The field's edit mask holds in its cell as in an edit.
            TField* f = m_grid.fieldOf(index.column());
            m_mask = TranslateEditMask(f ? f->EditMask() : QString());
            ShapeByEditMask(*line, m_mask);
            int length = m_mask.maxLength;
            if (length == 0 && f && f->DataType() == ftString && f->Size() > 0)
                length = f->Size();
            if (length > 0 && m_mask.inputMask.isEmpty())
                line->setMaxLength(length);
            QObject::connect(line, &QLineEdit::textEdited, line, [this, line] {
                m_grid.m_commitRefused = false; // the text refused is no more
                // The first key puts the table into edit state, as typing
                // into an edit does.
                TTable* t = m_grid.DataSet();
                if (t && t->State() != dsEdit && t->State() != dsInsert) {
                    if (!RunControlAction([t] { t->Edit(); }))
                        line->setModified(false);
                }
            });
        }
        m_editor = editor;
        m_index = index;
        m_grid.m_commitRefused = false;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && line->isModified())
            return; // keep what the user typed
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            m_grid.m_commitRefused = false;
            if (!line->isModified())
                return;
            if (model->setData(index, TextForField(m_mask, line->text()), Qt::EditRole))
                line->setModified(false);
            else
                m_grid.m_commitRefused = true; // the editor stays open with the text
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        // The box that refuses a text takes the keyboard from its editor:
        // that hands nothing over again and leaves the editor open, and the
        // keyboard comes back to it when the box goes.
        if (event->type() == QEvent::FocusOut && (m_grid.m_commitRefused || m_grid.m_model->m_committing))
            return false;
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            object == m_editor) {
            m_grid.escape();
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

    mutable QPointer<QWidget> m_editor;
    mutable QPersistentModelIndex m_index;
    mutable TEditMaskInfo m_mask; // of the open editor's field

private:
    TDBGrid& m_grid;
};

// ---------------------------------------------------------------- grid

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent)
{
    m_model = new TDBGridModel(*this);
    m_delegate = new TDBGridDelegate(*this);
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("▶")) + 12);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    applyOptions();
}

TDBGrid::~TDBGrid()
{
    m_link.setDataSource(nullptr);
}

void TDBGrid::setDataSource(TDataSource* source)
{
    if (source == m_link.DataSource())
        return;
    m_link.setDataSource(source); // notifies activeChanged, which refreshes
    if (!source)
        refresh(true);
}

TDBGridColumn& TDBGrid::addColumn(const QString& fieldName, const QString& title)
{
    TDBGridColumn c;
    c.FieldName = fieldName;
    c.Title = title;
    m_columns.push_back(c);
    columnsChanged();
    return m_columns.back();
}

void TDBGrid::clearColumns()
{
    m_columns.clear();
    columnsChanged();
}

void TDBGrid::columnsChanged()
{
    m_shown.clear(); // forces the model to take the columns again
    refresh(true);
}

void TDBGrid::setOptions(TDBGridOptions options)
{
    m_options = options;
    applyOptions();
}

void TDBGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    applyOptions();
}

void TDBGrid::applyOptions()
{
    setSelectionBehavior((m_options & dgRowSelect) ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    horizontalHeader()->setVisible(m_options & dgTitles);
    verticalHeader()->setVisible(m_options & dgIndicator);
    const bool editable = (m_options & dgEditing) && !m_readOnly && !(m_options & dgRowSelect);
    if (editable)
        setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed);
    else
        setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab walks the cells of a grid that edits them; from any other grid it
    // goes on to the next control.
    setTabKeyNavigation(editable);
    syncCurrent();
}

const TDBGridColumn* TDBGrid::columnOf(int column) const
{
    if (column < 0 || column >= int(m_shown.size()))
        return nullptr;
    const int source = m_shown[size_t(column)].source;
    return source >= 0 ? &m_columns[size_t(source)] : nullptr;
}

TField* TDBGrid::fieldOf(int column) const
{
    TTable* t = DataSet();
    if (!t || column < 0 || column >= int(m_shown.size()))
        return nullptr;
    return t->FindField(m_shown[size_t(column)].fieldName);
}

bool TDBGrid::cellEditable(int column) const
{
    if (!(m_options & dgEditing) || m_readOnly || (m_options & dgRowSelect))
        return false;
    const TDBGridColumn* c = columnOf(column);
    if (c && c->ReadOnly)
        return false;
    TField* f = fieldOf(column);
    TTable* t = DataSet();
    return f && t && !f->ReadOnly() && f->FieldKind() == fkData && !t->ReadOnly();
}

TField* TDBGrid::SelectedField() const
{
    return fieldOf(currentIndex().isValid() ? currentIndex().column() : 0);
}

QString TDBGrid::cellText(int row, int column) const
{
    return m_model->rowTexts(row).value(column);
}

int TDBGrid::RowsRead() const
{
    return m_model->m_rowsRead;
}

void TDBGrid::rebuildColumns()
{
    std::vector<ShownColumn> shown;
    if (!m_columns.empty()) {
        for (size_t i = 0; i < m_columns.size(); ++i)
            if (m_columns[i].Visible)
                shown.push_back({m_columns[i].FieldName, int(i)});
    } else if (TTable* t = DataSet()) {
        for (int i = 0; i < t->FieldCount(); ++i)
            if (t->Fields(i)->Visible())
                shown.push_back({t->Fields(i)->FieldName(), -1});
    }
    const bool same = shown.size() == m_shown.size() &&
                      std::equal(shown.begin(), shown.end(), m_shown.begin(), [](const auto& a, const auto& b) {
                          return a.fieldName == b.fieldName && a.source == b.source;
                      });
    // Default widths come from the fields: take them again for another table.
    if (same && !m_shown.empty() && m_widthsFor == DataSet())
        return;
    m_shown = std::move(shown);
    m_widthsFor = DataSet();
    closeOpenEditor();
    m_model->resetTo(DataSet() ? DataSet()->GridRowCount() : 0);
    for (int c = 0; c < int(m_shown.size()); ++c) {
        const TDBGridColumn* col = columnOf(c);
        int width = col ? col->Width : 0;
        if (width <= 0) {
            TField* f = fieldOf(c);
            const QString title = m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            const int chars = f ? std::max(f->DisplayWidth(), 0) : 10;
            width = std::max(TextWidth(fontMetrics(), f, std::min(chars, 40)), fontMetrics().horizontalAdvance(title)) +
                    12;
        }
        setColumnWidth(c, width);
    }
}

int TDBGrid::TextWidth(const QFontMetrics& metrics, const TField* field, int chars)
{
    if (chars <= 0)
        return 0;
    const TFieldType type = field ? field->DataType() : ftString;
    const bool digits = type == ftDate || type == ftSmallint || type == ftInteger || type == ftFloat ||
                        type == ftAutoInc;
    if (digits) {
        int digit = 0;
        for (char d = '0'; d <= '9'; ++d)
            digit = std::max(digit, metrics.horizontalAdvance(QLatin1Char(d)));
        return chars * digit;
    }
    // A character of common text: capitals, small letters with the Polish
    // ones, digits and blanks in the measure they come in (the font's own
    // average counts mostly narrow letters).
    static const QString sample =
        QStringLiteral("Zużycie paliwa 0123456789 ABCDEFGHIJKLMNOPRSTUWZ ąćęłńóśźż abcdefghijklmnoprstuwyz");
    const auto n = int(sample.size());
    return (chars * metrics.horizontalAdvance(sample) + n - 1) / n;
}

QLineEdit* TDBGrid::openLineEditor() const
{
    // A closed editor waits for its deletion and holds nothing to hand over.
    if (state() != QAbstractItemView::EditingState)
        return nullptr;
    return qobject_cast<QLineEdit*>(m_delegate->m_editor.data());
}

bool TDBGrid::FocusEditor()
{
    QLineEdit* line = openLineEditor();
    if (!line)
        return false;
    line->setFocus(Qt::OtherFocusReason);
    return true;
}

void TDBGrid::dropCancelledText()
{
    QLineEdit* line = openLineEditor();
    if (!line || !line->isModified())
        return;
    const TTable* t = DataSet();
    if (t && (t->State() == dsEdit || t->State() == dsInsert))
        return;
    // The first key typed put the record into edit state, so a typed text
    // outside it belongs to an edit that was cancelled (or a table that was
    // closed): it goes with the edit, and the cell shows the stored value.
    line->setModified(false);
    m_commitRefused = false;
    closeEditor(line, QAbstractItemDelegate::RevertModelCache);
}

void TDBGrid::closeOpenEditor()
{
    QWidget* editor = m_delegate->m_editor.data();
    if (!editor || state() != QAbstractItemView::EditingState)
        return;
    // The item view gives the keyboard to the grid when the editor had it;
    // an editor dropped by a reset of the rows would hand it to the next
    // control of the window.
    m_commitRefused = false;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TDBGrid::editingChanged()
{
    const TTable* t = DataSet();
    if (t && t->State() != dsEdit && t->State() != dsInsert) {
        // The record was posted (its text went to the field before) or
        // cancelled: the cell shows the stored value again.
        dropCancelledText();
        closeOpenEditor();
    }
    refresh(true);
}

void TDBGrid::closeStaleEditor()
{
    if (state() != QAbstractItemView::EditingState || !m_delegate->m_editor)
        return;
    // An editor stands on the current record, and while nothing is typed
    // into it (the table is browsing) it only shows that record as it was
    // read: when the rows are read again (a post, a cancel, a refresh, a
    // step of the table) it goes, so that it never shows one record over
    // another.
    const TTable* t = DataSet();
    if (!t || (t->State() != dsEdit && t->State() != dsInsert) ||
        m_delegate->m_index.row() != t->GridRowOfCurrent())
        closeOpenEditor();
}

void TDBGrid::refresh(bool)
{
    dropCancelledText();
    closeStaleEditor();
    const size_t before = m_shown.size();
    const int rowsBefore = m_model->m_rows;
    rebuildColumns();
    TTable* t = DataSet();
    const int rows = t ? t->GridRowCount() : 0;
    if (rows != m_model->m_rows) {
        closeOpenEditor();
        m_model->resetTo(rows);
    }
    else if (before == m_shown.size() && rowsBefore == rows)
        m_model->allChanged();
    syncCurrent();
}

void TDBGrid::currentRecordChanged(TField*)
{
    TTable* t = DataSet();
    if (!t)
        return;
    if (t->GridRowCount() != m_model->m_rows) {
        refresh(true);
        return;
    }
    m_model->rowChanged(t->GridRowOfCurrent());
}

void TDBGrid::syncCurrent()
{
    TTable* t = DataSet();
    if (!t || m_model->columnCount() == 0)
        return;
    const int row = t->GridRowOfCurrent();
    m_model->indicatorAt(row);
    if (row < 0 || row >= m_model->m_rows)
        return;
    const bool was = m_syncing;
    m_syncing = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex index = m_model->index(row, std::min(column, m_model->columnCount() - 1));
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (m_options & dgRowSelect)
        flags |= QItemSelectionModel::Rows;
    if (currentIndex() != index || !selectionModel()->isSelected(index))
        selectionModel()->setCurrentIndex(index, flags);
    scrollTo(index);
    m_syncing = was;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid())
        return;
    if (m_commitRefused) {
        syncCurrent(); // the refused text keeps the grid on its record
        return;
    }
    TTable* t = DataSet();
    if (!t)
        return;
    const int from = t->GridRowOfCurrent();
    if (current.row() == from)
        return;
    RunControlAction([&] {
        int target = current.row();
        if (t->State() == dsEdit || t->State() == dsInsert) {
            // Leaving the record posts or drops it, and the rows may move:
            // a dropped new row takes its place from the rows below it, a
            // posted record goes to its place in the table's order. The
            // other rows keep their order, so the row clicked is found again
            // among them.
            const bool inserting = t->State() == dsInsert;
            const int rowsBefore = t->GridRowCount();
            if (BeforeMove)
                BeforeMove(*this);
            t->CheckBrowseMode();
            const bool dropped = inserting && t->GridRowCount() < rowsBefore;
            const int left = t->GridRowOfCurrent();
            if (m_keyStep && !dropped) {
                // A key steps from the record left, at the place the post
                // gave it, as the table's own steps do; a step down past the
                // last record goes on into a new one in a grid that edits
                // in place.
                target = left + (current.row() - from);
                if (target >= t->GridRowCount() && current.row() - from == 1 && canAppend()) {
                    t->Append();
                    if (OnInsert)
                        OnInsert(*this);
                    return;
                }
            } else {
                const int amongOthers = target > from ? target - 1 : target;
                target = dropped || amongOthers < left ? amongOthers : amongOthers + 1;
            }
        }
        const int now = t->GridRowOfCurrent();
        if (now >= 0 && target != now)
            t->MoveBy(target - now);
    });
    syncCurrent();
}

void TDBGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    if (m_syncing || !selectionModel())
        return;
    // A click on no row clears the selection while the table stays on its
    // record: select the record's row again. A current cell on another row
    // is a move under way, which currentChanged completes.
    const TTable* t = DataSet();
    if (!t)
        return;
    const int row = t->GridRowOfCurrent();
    if (row < 0 || row >= m_model->m_rows)
        return;
    const QModelIndex current = currentIndex();
    if (!current.isValid() || (current.row() == row && !selectionModel()->isSelected(current)))
        syncCurrent();
}

void TDBGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // A text that the field refused stays in its editor (Esc drops it).
    if (m_commitRefused && hint != QAbstractItemDelegate::RevertModelCache && editor) {
        editor->setFocus();
        return;
    }
    m_commitRefused = false;
    if (hint != QAbstractItemDelegate::EditNextItem && hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    // Tab out of a cell editor: the step of Tab, and the editor opens again
    // in the cell reached, which is on the record the step reached.
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    tabStep(hint == QAbstractItemDelegate::EditNextItem);
    const QModelIndex here = currentIndex();
    if (here.isValid() && (m_model->flags(here) & Qt::ItemIsEditable))
        edit(here);
}

bool TDBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // The cell editor opens on the current record only, in the column
    // asked: an edit asked for another row (a double click whose first
    // click posted a record and so moved the rows) takes the current
    // record's cell.
    const TTable* t = DataSet();
    if (!t || !index.isValid())
        return QTableView::edit(index, trigger, event);
    const int row = t->GridRowOfCurrent();
    if (row < 0 || row >= m_model->m_rows)
        return false;
    return QTableView::edit(index.row() == row ? index : m_model->index(row, index.column()), trigger, event);
}

bool TDBGrid::canAppend() const
{
    const TTable* t = DataSet();
    return t && (m_options & dgEditing) && !(m_options & dgRowSelect) && !m_readOnly && !t->ReadOnly();
}

void TDBGrid::appendRow()
{
    TTable* t = DataSet();
    // From an untouched new record nothing happens.
    if (!t || (t->State() == dsInsert && !t->Modified()))
        return;
    RunControlAction([this, t] {
        if (BeforeMove && (t->State() == dsEdit || t->State() == dsInsert))
            BeforeMove(*this);
        t->Append();
        if (OnInsert)
            OnInsert(*this);
    });
}

void TDBGrid::tabStep(bool forward)
{
    const QModelIndex here = currentIndex();
    if (!here.isValid())
        return;
    if (forward && here.row() == m_model->m_rows - 1 && here.column() == m_model->columnCount() - 1) {
        // Past the last cell: as Down on the last row, into its first cell.
        if (canAppend())
            appendRow();
        const int row = currentIndex().row();
        if (row >= 0)
            setCurrentIndex(m_model->index(row, 0));
        return;
    }
    const QModelIndex next = moveCursor(forward ? MoveNext : MovePrevious, Qt::NoModifier);
    if (!next.isValid() || next == here)
        return;
    const bool was = m_keyStep;
    m_keyStep = true;
    setCurrentIndex(next);
    m_keyStep = was;
}

void TDBGrid::updateData()
{
    QLineEdit* line = openLineEditor();
    if (!line || !line->isModified() || !m_delegate->m_index.isValid())
        return;
    TField* f = fieldOf(m_delegate->m_index.column());
    const TTable* t = DataSet();
    if (!f || !t || m_delegate->m_index.row() != t->GridRowOfCurrent())
        return;
    // A refused text stops the post and stays in the editor.
    m_model->m_committing = true;
    try {
        f->setText(TextForField(m_delegate->m_mask, line->text()));
    } catch (...) {
        m_model->m_committing = false;
        m_commitRefused = true;
        throw;
    }
    m_model->m_committing = false;
    line->setModified(false);
}

void TDBGrid::escape()
{
    QLineEdit* line = openLineEditor();
    if (line && line->isModified()) {
        m_commitRefused = false;
        closeEditor(line, QAbstractItemDelegate::RevertModelCache);
        return;
    }
    TTable* t = DataSet();
    if (t && (t->State() == dsEdit || t->State() == dsInsert)) {
        RunControlAction([t] { t->Cancel(); }); // the cancel closes the editor
        return;
    }
    if (state() == QAbstractItemView::EditingState && m_delegate->m_editor)
        closeEditor(m_delegate->m_editor, QAbstractItemDelegate::RevertModelCache);
}

void TDBGrid::wheelStep(int delta)
{
    TTable* t = DataSet();
    if (!t || t->State() == dsEdit || t->State() == dsInsert)
        return;
    RunControlAction([&] {
        if (delta <= 0)
            t->Next();
        else
            t->Prior();
    });
}

void TDBGrid::wheelEvent(QWheelEvent* event)
{
    // The grid never scrolls by the wheel; the input hook moves its table.
    event->accept();
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    TTable* t = DataSet();
    if (t && event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier) &&
        state() != QAbstractItemView::EditingState) {
        if (!m_readOnly && !t->ReadOnly() && !t->IsEmpty() &&
            (!(m_options & dgConfirmDelete) || ConfirmDeleteRecord()))
            RunControlAction([t] { t->Delete(); });
        event->accept();
        return;
    }
    const bool canInsert = canAppend() && state() != QAbstractItemView::EditingState;
    if (canInsert && event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        RunControlAction([this, t] {
            if (BeforeMove && (t->State() == dsEdit || t->State() == dsInsert))
                BeforeMove(*this);
            t->Insert();
            if (OnInsert)
                OnInsert(*this);
        });
        event->accept();
        return;
    }
    if (canAppend() && event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier &&
        currentIndex().row() == m_model->m_rows - 1) {
        // Down from the last row appends a record, also from its open cell
        // editor, whose text goes to the record first.
        if (QWidget* editor = state() == QAbstractItemView::EditingState ? m_delegate->m_editor.data() : nullptr) {
            commitData(editor);
            if (m_commitRefused) {
                event->accept();
                return;
            }
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
        appendRow();
        event->accept();
        return;
    }
    if (t && tabKeyNavigation() && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        state() != QAbstractItemView::EditingState) {
        tabStep(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape &&
        ((state() == QAbstractItemView::EditingState && m_delegate->m_editor) ||
         (t && (t->State() == dsEdit || t->State() == dsInsert)))) {
        escape(); // with the keyboard on the grid as in its editor
        event->accept();
        return;
    }
    // The arrow and page keys step from the current record.
    const int key = event->key();
    const bool was = m_keyStep;
    m_keyStep = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    QTableView::keyPressEvent(event);
    m_keyStep = was;
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (OnDblClick && DataSet())
        RunControlAction([this] { OnDblClick(*this); });
}

} // namespace kal
