#pragma once
// Storage of the dataset engine (internal): one SQLite file per table.
//
// A table file holds
//   data           the rows: "_rid" the row id (the autoincrement field,
//                  when the table has one, is this column; a new row takes
//                  one above every id used before, see _kal_state), one
//                  quoted column per stored field, and one BLOB column
//                  "~<n>" per index holding the row's order key. A table
//                  with a primary index is keyed on that index's key
//                  (WITHOUT ROWID, the key column first, with a unique
//                  index "rid" on "_rid"), so its rows lie in primary
//                  order; a table without one has "_rid" as its INTEGER
//                  PRIMARY KEY. Every statement names its columns, so that
//                  the rows of an older layout read alike until the file
//                  is brought to this one;
//   _kal_rows      the number of rows, kept by triggers on "data";
//   _kal_state     the highest row id of a deleted row (written by deletes
//                  only, so that a post writes no page of its own for it);
//   _kal_fields    the field definitions (order, name, type, size);
//   _kal_indexes   the index definitions (order, name, fields, options);
//   user_version   the form of the stored values (kStoredForm).
// A file of an older program (an older layout of "data", no _kal_rows, or
// values of an older form) is brought wholly to this form when opened.
// A file is made under a temporary name beside its own and renamed into
// place when whole. Every connection runs in WAL with synchronous=FULL: a
// commit is synced before it returns. Inside a write group (WriteGroup.h) a
// file's writes share one transaction, each write in a savepoint of its own.
// Each index is an SQLite index over its key column, UNIQUE for a unique
// index (a non-unique one of a keyed table also holds "_rid"); the primary
// index of a keyed table is its key. The order key is a byte string: per field a sort key (Polish text
// order, numbers order-preserving, null = empty) escaped and terminated, so
// that comparing keys byte by byte orders rows field by field, nulls first,
// and a blank key equals a blank key.

#include "Keyset.h"
#include "Table.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kal {

// Implemented with ComparePolish in Collation.cpp: the binary sort key of a
// text in the order ComparePolish gives.
QByteArray PolishSortKey(const QString& text);

namespace db_detail {

struct Column {
    QString name;
    TFieldType type = ftString;
    int size = 0;
    int select = 0; // position in the select list: 0 is "_rid"
};

struct IndexInfo {
    QString name;
    QStringList fields;
    TIndexOptions options = 0;
    std::vector<int> columns; // column numbers of the fields
    QString keyColumn;        // "~0", "~1" ...
};

// A name as SQL quotes it: "name", a quote in it doubled.
QString quoted(const QString& name);
// The settings every connection to a table file runs with (journal,
// locking, syncing).
extern const char* const kPragmas;
// The text of the last error on `db`, naming the file and why it cannot be
// written where that is the cause; "#unique" for a key violation.
QString errorText(sqlite3* db);

// --- values ---------------------------------------------------------------
// Canonical value of a field type: QString (never empty; empty = null),
// int, double, QDate, bool; invalid QVariant = null. Raises EConvertError
// for a text that does not convert. A string value is cut to the field's
// size and loses its trailing blanks: texts that differ only by them are one
// value (they compare, sort, search and key as one). `fieldName` is the
// field's name as the user knows it (its display label), which the message of
// a value out of the field's range names with the range.
QVariant toFieldValue(TFieldType type, int size, const QVariant& value, const QString& fieldName);
QString withoutTrailingBlanks(const QString& text);
QByteArray fieldKey(TFieldType type, const QVariant& value);
void appendKeyPart(QByteArray& key, const QByteArray& part);
// Keys of rows whose leading fields equal the key parts of `prefix` lie in
// [prefix, upperOf(prefix)).
QByteArray upperOf(const QByteArray& prefix);
bool isIntegerType(TFieldType type);

// --- statements -----------------------------------------------------------
class Stmt {
public:
    Stmt() = default;
    Stmt(sqlite3* db, const QString& sql);
    ~Stmt();
    Stmt(Stmt&& other) noexcept : m_stmt(other.m_stmt), m_db(other.m_db) { other.m_stmt = nullptr; }
    Stmt& operator=(Stmt&& other) noexcept;
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    sqlite3_stmt* get() const { return m_stmt; }
    explicit operator bool() const { return m_stmt != nullptr; }
    bool step(); // true on a row, false when done; raises on error
    void reset();
    void bindInt(int i, qint64 v);
    void bindBlob(int i, const QByteArray& v);
    void bindValue(int i, TFieldType type, const QVariant& v);
    qint64 columnInt(int i) const;
    QByteArray columnBlob(int i) const;
    QVariant columnValue(int i, TFieldType type) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    sqlite3* m_db = nullptr;
};

class DbFile;

// The write group open in this process (WriteGroup.h): the files whose
// transaction it holds open, in the order of their first write.
struct WriteGroupState {
    int depth = 0;
    std::vector<std::shared_ptr<DbFile>> files;
    // Rolled back; their table components are refreshed when a group scope ends.
    std::vector<std::shared_ptr<DbFile>> undone;
    // Why the group's work was undone; empty while it stands.
    QString spent;

    // Commits every file, in order; when one fails, it and the files after
    // it are rolled back and the failure raised.
    void commit();
    // Rolls every file back; `why` is what later writes and Commit raise.
    void undo(const QString& why) noexcept;
};
// The group new writes join; null while none lives (or while it is paused).
WriteGroupState*& openWriteGroup();

// One open table file, shared by every table component on it.
class DbFile : public std::enable_shared_from_this<DbFile> {
public:
    static std::shared_ptr<DbFile> open(const QString& path, const QString& displayName);
    static void create(const QString& path, const std::vector<TFieldDef>& fields,
                       const std::vector<TIndexDef>& indexes);
    static bool isOpen(const QString& path);
    ~DbFile();

    sqlite3* db() const { return m_db; }
    const QString& path() const { return m_path; }
    const QString& displayName() const { return m_displayName; }
    const std::vector<Column>& columns() const { return m_columns; }
    const std::vector<IndexInfo>& indexes() const { return m_indexes; }
    int columnOf(const QString& name) const; // -1 when missing
    int rowidColumn() const { return m_rowidColumn; }
    QString selectList() const; // "_rid", then the stored columns

    // The stamp of the last change. Stamps are unique in the process, so a
    // cache keyed by one never takes another file, or a later opening of the
    // same file, for the one it read.
    quint64 changeCounter() const { return m_changeCounter; }
    void bumpChange() { m_changeCounter = nextChangeStamp(); }
    static quint64 nextChangeStamp(); // rises by one on every call

    void exec(const char* sql);
    // Write transactions of a post: BEGIN IMMEDIATE ... COMMIT. Inside a
    // write group the first write to the file begins the group's transaction
    // and every write is a savepoint in it: a rollback undoes that write
    // only (and, when SQLite itself dropped the transaction, the whole group).
    void begin();
    void commit();
    void rollback();
    WriteGroupState* group() const { return m_group; }
    // Ends the file's part of the group: COMMIT (synced) or ROLLBACK. A
    // failed COMMIT rolls back and raises.
    void endGroup(bool keep);

    // The table components open on the file.
    void attach(TTable* table) { m_tables.push_back(table); }
    void detach(TTable* table) { std::erase(m_tables, table); }
    const std::vector<TTable*>& tables() const { return m_tables; }
    qint64 nextRowid(); // the row id the next insert takes (never one used before)
    qint64 rowCount();  // every row of the file (kept by the file, or counted)
    // Deletes, each in its own transaction, keeping the highest row id ever
    // used so that it is never given again.
    void deleteRow(qint64 rid);
    void deleteAll();
    // "_rid" is ?1, then the stored columns, then the index keys.
    Stmt& insertStmt();
    Stmt& updateStmt();
    Stmt& cached(const QString& sql); // prepared once, reset by the caller
    [[noreturn]] void fail(const QString& what) const;

    // Order keys of a row for every index, from all column values.
    QByteArray indexKey(const IndexInfo& index, const std::vector<QVariant>& row) const;

private:
    DbFile() = default;
    sqlite3* m_db = nullptr;
    QString m_path;
    QString m_displayName;
    std::vector<Column> m_columns;
    std::vector<IndexInfo> m_indexes;
    int m_rowidColumn = -1;
    quint64 m_changeCounter = nextChangeStamp();
    qint64 m_nextRowid = 0; // 0 while unknown
    bool m_countsRows = false; // the file keeps its number of rows (_kal_rows)
    WriteGroupState* m_group = nullptr; // the group whose transaction is open on the file
    std::vector<TTable*> m_tables;
    QHash<QString, std::shared_ptr<Stmt>> m_cache;
};

// The making of a file's rows in today's layout, shared by a new file and
// the upgrade of an older one: the table `table` of the stored `columns`
// (an autoincrement field is "_rid") and the key columns of `indexes` (the
// options of the file's indexes, in their order); then, once the table is
// "data", its indexes; then the number of rows with its triggers, starting
// at the rows "data" holds.
int primaryIndex(const std::vector<TIndexOptions>& indexes); // -1 when none
QString rowsTableSql(const QString& table, const std::vector<Column>& columns, const std::vector<TIndexOptions>& indexes);
QString rowsIndexesSql(const std::vector<TIndexOptions>& indexes);
extern const char* const kRowCountSql;

// The form of the stored values that files are made in: 1, string values
// without trailing blanks (a text of blanks alone is no text) and keys made
// from them. bringToStoredForm brings an open file of an older program
// wholly to today's form in one synced transaction: the rows laid out anew
// when "data" is of an older layout, the number of rows kept, the values in
// the form. A row whose unique key in the form another row holds keeps its
// record, keyed right after the other's; a file that cannot be written stays
// as it is (StorageUpgrade.cpp).
// The upgrade takes about the file's size in free space for the log while
// it runs; a disk that has less leaves the file as it is (said once a run
// for each file), and the log gives its space back once the upgrade ends,
// whole or undone.
extern const int kStoredForm;
void bringToStoredForm(DbFile& file);

// The free space, in bytes, that the disk of `directory` gives the user;
// below 0 when it cannot be told. Tests put their own query in place of the
// disk's (an empty function restores it).
using FreeSpaceQuery = std::function<qint64(const QString& directory)>;
void SetFreeSpaceQuery(FreeSpaceQuery query);

} // namespace db_detail
} // namespace kal
