#pragma once
// The table component of the dataset engine: a cursor over one table file
// (an SQLite file per table), with field components, states, events, index
// order, key search, ranges, master/detail links and bookmarks.
//
// Typical use:
//   TTable t("TOkres");
//   t.setTableName("Okresy.db");
//   TField* rok = t.AddField("Rok", ftSmallint);          // TOkresRok
//   t.setIndexFieldNames("IdentyfikatorFirmy;Rok");
//   t.Open();
//   for (t.First(); !t.Eof(); t.Next()) ... rok->AsInteger() ...
//
// Every post, delete and EmptyTable is committed before the call returns,
// except inside a write group (WriteGroup.h), which stores them at its end.
// While any component of this process has a file open, the process holds
// the file alone (another process opening it waits and then fails): the
// program runs as a single instance.

#include "DataSource.h"
#include "Field.h"

#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace kal {

class EDatabaseError;

enum TIndexOption : unsigned { ixPrimary = 1, ixUnique = 2, ixDescending = 4, ixCaseInsensitive = 8 };
using TIndexOptions = unsigned;

enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;

struct TFieldDef {
    QString Name;
    TFieldType DataType = ftString;
    int Size = 0;
    bool Required = false;
};

struct TIndexDef {
    QString Name;
    QString Fields; // "A;B"
    TIndexOptions Options = 0;
};

class TFieldDefs {
public:
    void Clear() { m_defs.clear(); }
    void Add(const QString& name, TFieldType type, int size = 0, bool required = false)
    {
        m_defs.push_back({name, type, size, required});
    }
    int Count() const { return int(m_defs.size()); }
    const TFieldDef& operator[](int i) const { return m_defs[size_t(i)]; }
    const TFieldDef* Find(const QString& name) const;
    const std::vector<TFieldDef>& items() const { return m_defs; }
    std::vector<TFieldDef>& items() { return m_defs; }

private:
    std::vector<TFieldDef> m_defs;
};

class TIndexDefs {
public:
    void Clear() { m_defs.clear(); }
    void Add(const QString& name, const QString& fields, TIndexOptions options = 0)
    {
        m_defs.push_back({name, fields, options});
    }
    int Count() const { return int(m_defs.size()); }
    const TIndexDef& operator[](int i) const { return m_defs[size_t(i)]; }
    const std::vector<TIndexDef>& items() const { return m_defs; }
    std::vector<TIndexDef>& items() { return m_defs; }

private:
    std::vector<TIndexDef> m_defs;
};

namespace db_detail {
struct Cursor;
}

class TTable : public TComponent {
public:
    using TDataSetNotifyEvent = std::function<void(TTable&)>;
    using TDataSetErrorEvent = std::function<void(TTable&, EDatabaseError&, TDataAction&)>;
    using TBookmark = qint64; // 0 is no bookmark

    explicit TTable(const QString& name = {});
    // Releases the file without events and without posting: close the
    // component first to keep a pending edit.
    ~TTable() override;
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    // ---- the file -------------------------------------------------------
    // A bare name resolves against the current directory when opened.
    const QString& TableName() const { return m_tableName; }
    void setTableName(const QString& name); // only while closed
    bool Exists() const;
    // Field and index definitions. Open fills them from the file; CreateTable
    // creates the file from them (from the data fields when FieldDefs is
    // empty). The file must not exist yet, or be empty: an empty file is a
    // name taken for the table (made exclusively), which the table replaces.
    TFieldDefs& FieldDefs() { return m_fieldDefs; }
    const TFieldDefs& FieldDefs() const { return m_fieldDefs; }
    TIndexDefs& IndexDefs() { return m_indexDefs; }
    const TIndexDefs& IndexDefs() const { return m_indexDefs; }
    void CreateTable();
    // Creates this component's file (closed) with the structure of `source`.
    void CreateTableLike(const TTable& source);
    void EmptyTable();  // removes every row (open or closed)
    void DeleteTable(); // closed; a file that does not exist is not an error
    // Returns to browse state (a modified edit is posted, an unmodified one
    // cancelled); every posted change is already on disk.
    void FlushBuffers();
    bool Exclusive() const { return m_exclusive; }
    void setExclusive(bool exclusive) { m_exclusive = exclusive; }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // ---- open and close -------------------------------------------------
    void Open();
    // Posts a pending change first; when that post fails, the exception
    // propagates and the table stays open in its state.
    void Close();
    bool Active() const { return m_state != dsInactive; }
    void setActive(bool active) { active ? Open() : Close(); }
    TDataSetState State() const { return m_state; }

    // ---- fields ---------------------------------------------------------
    // Persistent field components, added while closed. The component name
    // defaults to the table's name followed by the field name.
    TField* AddField(const QString& fieldName, TFieldType type, int size = 0, TFieldKind kind = fkData,
                     const QString& componentName = {});
    int FieldCount() const { return int(m_fields.size()); }
    TField* Fields(int index) const { return m_fields[size_t(index)].get(); }
    TField* FindField(const QString& fieldName) const;
    TField* FieldByName(const QString& fieldName) const; // raises when missing
    QVariant FieldValues(const QString& fieldName) const { return FieldByName(fieldName)->Value(); }
    bool Modified() const { return m_modified; }

    // ---- navigation -----------------------------------------------------
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Bof() const;
    bool Eof() const;
    bool IsEmpty() const;
    int RecordCount() const;
    int RecNo() const; // 1-based; 0 when empty or while inserting
    void setRecNo(int recNo);
    // Re-reads the file; stays on the same record while it still exists.
    void Refresh();

    // ---- editing --------------------------------------------------------
    // Insert shows the new record before the current one, Append at the end;
    // after the post the cursor stands on the record in the table's order.
    // The master key of a detail is filled before OnNewRecord.
    void Insert();
    void Append();
    void Edit(); // on an empty table: Insert
    // Raises in browse state. Engine errors go to OnPostError: daFail raises
    // them, daAbort raises EAbort, daRetry posts again; the record then stays
    // in edit or insert state with its values.
    void Post();
    void Cancel();
    void Delete(); // in insert state: Cancel
    // In edit or insert: posts when modified, cancels otherwise.
    void CheckBrowseMode();
    void UpdateRecord(); // hands pending edits of the data links to the fields

    // ---- order, keys, ranges, search ------------------------------------
    const QString& IndexFieldNames() const { return m_indexFieldNames; }
    void setIndexFieldNames(const QString& fields);
    const QString& IndexName() const { return m_indexName; }
    void setIndexName(const QString& name);
    QStringList IndexFieldList() const; // the fields of the current order

    void SetKey();  // state dsSetKey with an empty key
    void EditKey(); // state dsSetKey keeping the last key
    bool GotoKey(); // exact match on the key fields written
    void GotoNearest();
    bool FindKey(const QVariantList& values);
    void FindNearest(const QVariantList& values);
    // Shows only the rows whose leading index fields lie between the values.
    void SetRange(const QVariantList& startValues, const QVariantList& endValues);
    void CancelRange();

    // Goes to the first record in the current order whose fields equal the
    // values (texts exact and case-sensitive unless the options say else).
    bool Locate(const QString& fieldNames, const QVariantList& values, TLocateOptions options = 0);
    bool Locate(const QString& fieldName, const QVariant& value, TLocateOptions options = 0)
    {
        return Locate(fieldName, QVariantList{value}, options);
    }
    // Value of `resultField` in the first row matching, without moving.
    QVariant Lookup(const QString& keyFields, const QVariantList& values, const QString& resultField);

    // ---- master/detail --------------------------------------------------
    TDataSource* MasterSource() const { return m_masterSource; }
    void setMasterSource(TDataSource* source);
    const QString& MasterFields() const { return m_masterFields; }
    void setMasterFields(const QString& fields);

    // ---- bookmarks and controls -----------------------------------------
    TBookmark GetBookmark() const;
    void GotoBookmark(TBookmark bookmark);
    bool BookmarkValid(TBookmark bookmark) const;
    void FreeBookmark(TBookmark) {}
    // Nested: while disabled, the data links get no notifications; the last
    // EnableControls sends them one "data set changed". Detail tables follow
    // the master all the same.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // A stamp of what the rows of this component show: it changes with a
    // post, delete or emptying of the file by any component on it, with a
    // field written in edit or insert state, with a change of state (a
    // pending new row, a cancel), of order, range or master record, with a
    // refresh and with open and close. While it stays the same, a list read
    // from the rows (a lookup list) is still what they show; calculated
    // fields are not followed. 0 is never a stamp.
    quint64 ChangeStamp() const;

    // ---- reading rows for grids -----------------------------------------
    // Rows a grid shows: the records, plus the pending new record while
    // inserting. GridRowOfCurrent is the row of the current record (0-based).
    int GridRowCount() const;
    int GridRowOfCurrent() const;

    // While alive, the fields read the record at grid row `row` (with its
    // calculated fields computed); the current record, the state and the
    // position stay as they were. Field writes are refused meanwhile.
    class ActiveRecordScope {
    public:
        ActiveRecordScope(TTable& table, int row);
        ~ActiveRecordScope();
        ActiveRecordScope(const ActiveRecordScope&) = delete;
        ActiveRecordScope& operator=(const ActiveRecordScope&) = delete;
        bool valid() const { return m_valid; }

    private:
        TTable& m_table;
        bool m_valid = false;
        bool m_swapped = false;
    };

    // ---- events (the table itself is passed to each) ---------------------
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, OnNewRecord;
    TDataSetNotifyEvent BeforeEdit, AfterEdit, BeforePost, AfterPost;
    TDataSetNotifyEvent BeforeCancel, AfterCancel, BeforeDelete, AfterDelete;
    TDataSetNotifyEvent BeforeScroll, AfterScroll, OnCalcFields;
    TDataSetErrorEvent OnPostError, OnDeleteError, OnEditError;

private:
    friend class TField;
    friend class TDataSource;
    friend struct db_detail::Cursor;
    friend class TMasterLinkGuard;
    friend class TWriteGroup;

    // Values of one record: a slot per column of the file, then a slot per
    // calculated or lookup field (null = invalid QVariant).
    struct Record {
        qint64 rowid = 0;
        std::vector<QVariant> values;
        std::vector<unsigned char> loaded; // 0 while a column is not yet decoded from the walk
    };

    void checkActive() const;
    void checkInactive() const;
    void checkCanModify() const;
    void leaveEditing(); // CheckBrowseMode, then raises when the table got closed
    void beforeScroll(); // BeforeScroll, then raises when the table got closed
    QString resolvedPath() const;
    void bindFields();
    void removeDynamicFields();
    void chooseOrder();
    void reorder();
    QByteArray keyFromValues(const QVariantList& values) const;
    QByteArray keyOfRecord(const std::vector<QVariant>& values) const;
    bool inRange(const QByteArray& key) const;
    int lowerBound(const QByteArray& key, qint64 rid) const;
    void computeRange();
    void reload();
    // Reads the file again; the position of the current record, else the
    // nearest one to where it stood.
    int reloadKeepingPlace();
    void clearCurrent();
    bool fetchRow(qint64 rid, Record& into) const;
    void materialize() const;
    void prepareFetch() const;
    void loadByRowid() const; // the columns of the current row the walk did not read
    void stopStream(bool keepCurrent);
    bool startStream(int p);
    void readRowAt(int p);
    enum class Edge : unsigned char { No, Yes, IfEmpty };
    // Reads the record at `p` and sets the begin and end flags, then tells
    // the data links and the detail tables. False when one of them closed
    // the table meanwhile: the operation then raises no further event.
    bool positionAndNotify(int p, bool scrolled, int distance, Edge bof, Edge eof);
    // The state changed: tells the data links (and the detail tables). False
    // when one of them closed the table meanwhile.
    bool notifyChange(bool details, quint64 generation);
    bool closedSince(quint64 generation) const { return m_generation != generation; }
    void checkSameOpen(quint64 generation) const; // raises when a handler closed the table
    void calculateFields();
    QVariant rawValue(const TField& field) const;
    // The value in its slot (valid until the record or the field changes):
    // the typed readers of the fields read it without a copy.
    const QVariant& rawRef(const TField& field) const;
    // The walk statement and the place of a data field's column in it, while
    // the current record is the walk's row and the field was not read into
    // its slot: the typed readers then read the column directly.
    sqlite3_stmt* walkColumn(const TField& field, int& at) const;
    void setRawValue(TField& field, const QVariant& value);
    QVariant lookupValue(const TField& field) const;
    void dataEvent(int event, int info = 0, TField* field = nullptr);
    void setState(TDataSetState state);
    void notifyDetails();
    bool hasActiveLinks() const;
    void masterChanged();
    void applyMasterRange();
    void ensureMaster();
    void ensureFresh();
    // After a write group was undone: reads the file again (a pending edit
    // or insert keeps its record) and tells the data links.
    void showStoredRows();
    bool runCheckOperation(const std::function<void()>& op, const TDataSetErrorEvent& handler);
    void doInsert(bool append);
    void doPost();
    void postRecord(); // Post after the data links handed over their text
    QVariantList keyBufferValues() const;
    int findKeyPosition(const QVariantList& values, bool nearest);
    QString matchCondition(const QStringList& names, const QVariantList& values, TLocateOptions options,
                           std::vector<std::pair<TFieldType, QVariant>>& binds) const;

    QString m_tableName;
    TFieldDefs m_fieldDefs;
    TIndexDefs m_indexDefs;
    bool m_exclusive = false;
    bool m_readOnly = false;
    TDataSetState m_state = dsInactive;
    std::vector<std::unique_ptr<TField>> m_fields;
    bool m_modified = false;
    QString m_indexFieldNames;
    QString m_indexName;
    TDataSource* m_masterSource = nullptr;
    QString m_masterFields;
    std::unique_ptr<TDataLink> m_masterLink;
    int m_disableCount = 0;
    std::vector<TDataSource*> m_sources;

    Record m_current;
    Record m_old;        // the record as it was when the edit began
    Record m_keyBuffer;  // key values written in dsSetKey
    std::vector<unsigned char> m_keyAssigned;
    TDataSetState m_stateBeforeKey = dsBrowse;
    bool m_lazy = false; // undecoded columns of m_current come from the walk statement
    int m_peekDepth = 0;
    std::vector<Record> m_peekStack;
    std::vector<bool> m_peekLazy;
    bool m_inCalc = false;
    mutable QVariant m_lookedUp; // the last lookup value read
    std::vector<int> m_calcSlots; // slots of the calculated fields, cleared before each computation
    mutable quint64 m_viewStamp = 0;
    mutable TDataSetState m_stampedState = dsInactive;

    mutable std::unique_ptr<db_detail::Cursor> m_cursor;
    quint64 m_generation = 0; // counts closes: a handler that closed the table is seen by the caller
};

using TDataSet = TTable;

// Disables the controls of a table for the life of the scope (DisableControls
// and EnableControls on every path): work over many records tells the data
// links once, at its end.
class TControlsDisabled {
public:
    explicit TControlsDisabled(TTable& table) : m_table(table) { m_table.DisableControls(); }
    ~TControlsDisabled() { m_table.EnableControls(); }
    TControlsDisabled(const TControlsDisabled&) = delete;
    TControlsDisabled& operator=(const TControlsDisabled&) = delete;

private:
    TTable& m_table;
};

// The other way round: the controls of a table follow it for the life of the
// scope even inside a TControlsDisabled (a window shown to the user in the
// middle of such work), and are disabled again as they were afterwards.
class TControlsEnabled {
public:
    explicit TControlsEnabled(TTable& table) : m_table(table)
    {
        for (; m_table.ControlsDisabled(); ++m_count)
            m_table.EnableControls();
    }
    ~TControlsEnabled()
    {
        for (int i = 0; i < m_count; ++i)
            m_table.DisableControls();
    }
    TControlsEnabled(const TControlsEnabled&) = delete;
    TControlsEnabled& operator=(const TControlsEnabled&) = delete;

private:
    TTable& m_table;
    int m_count = 0;
};

// Cuts the master link of a detail table and restores it (with a refresh)
// when leaving the scope, on every path. A record of the detail still in
// edit or insert state when the scope ends is cancelled.
class TMasterLinkGuard {
public:
    explicit TMasterLinkGuard(TTable& detail, bool refreshNow = true);
    ~TMasterLinkGuard();
    TMasterLinkGuard(const TMasterLinkGuard&) = delete;
    TMasterLinkGuard& operator=(const TMasterLinkGuard&) = delete;

private:
    // Gives the link back (with a refresh); never raises.
    void restore() noexcept;

    TTable& m_detail;
    TDataSource* m_source;
};

} // namespace kal
