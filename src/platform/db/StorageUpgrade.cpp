// Files of an older program brought to today's form when opened.
//  - Values: a file written by an older program (or converted from the
//    original data) may hold string values with trailing blanks, and order
//    keys made from them: "1 " read as "1" but keyed apart from it, so that
//    a unique index took "1 " and "1" for two keys and orders and ranges saw
//    two values.
//  - Layout: a keyed file of an older program has its key column after the
//    others (SQLite's integrity check misreads it and calls the file
//    damaged), or no key at all (its rows in row id order with a unique
//    index over the primary key).
//  - Number of rows: a file without _kal_rows counts its rows at every
//    opening.
// Opening such a file brings it, once and in one transaction, wholly to the
// form a new file is made in.
#include "Storage.h"

#include "Dialogs.h"
#include "Exceptions.h"
#include "NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <sqlite3.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

namespace kal::db_detail {

namespace {

qint64 storedForm(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    qint64 form = -1;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        form = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return form;
}

// A stored text is out of the form a post stores when it ends in a blank
// (trailing blanks go), or when it is empty (no text is stored as null).
bool outOfForm(const unsigned char* text, int bytes)
{
    return bytes == 0 || text[bytes - 1] == ' ';
}

bool outOfForm(sqlite3_stmt* st, int i)
{
    return sqlite3_column_type(st, i) == SQLITE_TEXT
        && outOfForm(sqlite3_column_text(st, i), sqlite3_column_bytes(st, i));
}

// SQL function kal_out_of_form(text, ...): 1 when one of the texts is out
// of the form. One call a row, looking at the last byte of each text, reads
// a large file with nothing to change much faster than a pattern per column.
void outOfFormFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_TEXT
            && outOfForm(sqlite3_value_text(argv[i]), sqlite3_value_bytes(argv[i]))) {
            sqlite3_result_int(ctx, 1);
            return;
        }
    sqlite3_result_int(ctx, 0);
}

// Brings every row with a string value out of its form to it.
void bringRows(DbFile& file)
{
    sqlite3* db = file.db();
    const auto& cols = file.columns();
    const auto& indexes = file.indexes();
    std::vector<int> strings; // column numbers of the string fields
    QStringList stringColumns;
    for (size_t k = 0; k < cols.size(); ++k)
        if (cols[k].type == ftString) {
            strings.push_back(int(k));
            stringColumns << quoted(cols[k].name);
        }
    if (strings.empty())
        return;

    // The rows to change are found first, then changed one by one: a walk
    // must not pass over rows that move under it (a changed key moves the
    // row of a keyed table).
    std::vector<qint64> rows;
    {
        sqlite3_create_function_v2(db, "kal_out_of_form", -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   outOfFormFunction, nullptr, nullptr, nullptr);
        Stmt find(db, QStringLiteral("SELECT \"_rid\" FROM data WHERE kal_out_of_form(%1)").arg(stringColumns.join(u',')));
        while (find.step())
            rows.push_back(find.columnInt(0));
    }
    if (rows.empty())
        return;

    Stmt read(db, QStringLiteral("SELECT %1 FROM data WHERE \"_rid\"=?1").arg(file.selectList()));
    // A key in the form that another row holds already: the older program
    // took "1 " and "1" for two keys, and so two records that are one now.
    // Neither is lost or merged into the other: the row keeps its record,
    // read in the form, and its key is the other's followed by its row id,
    // so that it stands right after the other in the order and in every
    // range that holds the other. The user sees both and can change one
    // into another record or delete it; a post of it unchanged is refused
    // as the duplicate it is.
    std::vector<std::unique_ptr<Stmt>> held(indexes.size());
    const auto heldByAnother = [&](size_t x, const QByteArray& key, qint64 rid) {
        if (!(indexes[x].options & (ixPrimary | ixUnique)))
            return false;
        if (!held[x])
            held[x] = std::make_unique<Stmt>(
                db, QStringLiteral("SELECT 1 FROM data WHERE %1=?1 AND \"_rid\"<>?2").arg(quoted(indexes[x].keyColumn)));
        Stmt& s = *held[x];
        s.bindBlob(1, key);
        s.bindInt(2, rid);
        const bool found = s.step();
        s.reset();
        return found;
    };
    // One statement per set of changed columns: it writes those columns and
    // the keys of the indexes over them.
    QHash<QByteArray, std::shared_ptr<Stmt>> updates;
    std::vector<QVariant> values(cols.size());
    for (qint64 rid : rows) {
        read.bindInt(1, rid);
        if (!read.step()) {
            read.reset();
            continue;
        }
        for (size_t k = 0; k < cols.size(); ++k)
            values[k] = read.columnValue(cols[k].select, cols[k].type);
        std::vector<int> setCols;
        QByteArray changed(qsizetype(strings.size()), '-');
        for (size_t s = 0; s < strings.size(); ++s)
            if (outOfForm(read.get(), cols[size_t(strings[s])].select)) {
                setCols.push_back(strings[s]);
                changed[qsizetype(s)] = 'x';
            }
        read.reset();
        if (setCols.empty())
            continue;

        std::vector<size_t> setKeys;
        for (size_t x = 0; x < indexes.size(); ++x)
            for (int col : indexes[x].columns)
                if (std::find(setCols.begin(), setCols.end(), col) != setCols.end()) {
                    setKeys.push_back(x);
                    break;
                }
        auto& update = updates[changed];
        if (!update) {
            QStringList sets;
            int i = 2;
            for (int col : setCols)
                sets << QStringLiteral("%1=?%2").arg(quoted(cols[size_t(col)].name)).arg(i++);
            for (size_t x : setKeys)
                sets << QStringLiteral("%1=?%2").arg(quoted(indexes[x].keyColumn)).arg(i++);
            update = std::make_shared<Stmt>(
                db, QStringLiteral("UPDATE data SET %1 WHERE \"_rid\"=?1").arg(sets.join(u',')));
        }
        int i = 1;
        update->bindInt(i++, rid);
        for (int col : setCols)
            update->bindValue(i++, ftString, values[size_t(col)]);
        for (size_t x : setKeys) {
            QByteArray key = file.indexKey(indexes[x], values);
            if (heldByAnother(x, key, rid))
                appendKeyPart(key, fieldKey(ftInteger, rid));
            update->bindBlob(i++, key);
        }
        update->step();
        update->reset();
    }
}

std::vector<TIndexOptions> indexOptions(const DbFile& file)
{
    std::vector<TIndexOptions> options;
    for (const IndexInfo& ix : file.indexes())
        options.push_back(ix.options);
    return options;
}

// "data" begins with the column it is stored by today: the key column of
// the primary index in a keyed file, else "_rid".
bool laidOutAsToday(const DbFile& file)
{
    const int primary = primaryIndex(indexOptions(file));
    const QString first = primary >= 0 ? file.indexes()[size_t(primary)].keyColumn : QStringLiteral("_rid");
    Stmt s(file.db(), QStringLiteral("SELECT name, pk FROM pragma_table_info('data') WHERE cid=0"));
    return s.step() && s.columnValue(0, ftString).toString() == first && s.columnInt(1) == 1;
}

bool keepsRowCount(const DbFile& file)
{
    Stmt s(file.db(), QStringLiteral("SELECT count(*) FROM sqlite_master"
                                     " WHERE name IN ('_kal_rows', '_kal_rows_ins', '_kal_rows_del')"));
    return s.step() && s.columnInt(0) == 3;
}

// Lays the rows out anew: a table of today's layout takes every row as it
// is (row id, values, keys) and the name "data", and the indexes are made
// again over it. The rows move a share at a time in the order the old table
// keeps them, each share deleted from it once copied (its indexes dropped
// first), so that the new table takes the pages the old one gives up and
// the file does not grow by a second copy of its rows.
void layRowsOutAnew(DbFile& file)
{
    constexpr int kShare = 4096;
    sqlite3* db = file.db();
    const std::vector<TIndexOptions> options = indexOptions(file);
    QString names = file.selectList();
    for (const IndexInfo& ix : file.indexes())
        names += u',' + quoted(ix.keyColumn);
    const QString newTable = QStringLiteral("_kal_data");
    const QString table = quoted(newTable);
    QString sql = rowsTableSql(newTable, file.columns(), options);
    QString kept = QStringLiteral("\"_rid\""); // the column the old table keeps its rows by
    {
        Stmt oldIndexes(db, QStringLiteral("SELECT name FROM sqlite_master"
                                           " WHERE type='index' AND tbl_name='data' AND sql IS NOT NULL"));
        while (oldIndexes.step())
            sql += QStringLiteral("DROP INDEX %1;").arg(quoted(oldIndexes.columnValue(0, ftString).toString()));
        Stmt key(db, QStringLiteral("SELECT name FROM pragma_table_info('data') WHERE pk=1"));
        if (key.step())
            kept = quoted(key.columnValue(0, ftString).toString());
    }
    file.exec(sql.toUtf8().constData());
    {
        Stmt bound(db, QStringLiteral("SELECT %1 FROM data ORDER BY %1 LIMIT 1 OFFSET %2").arg(kept).arg(kShare - 1));
        Stmt copy(db, QStringLiteral("INSERT INTO %1(%2) SELECT %2 FROM data WHERE %3<=?1 ORDER BY %3")
                          .arg(table, names, kept));
        Stmt drop(db, QStringLiteral("DELETE FROM data WHERE %1<=?1").arg(kept));
        while (bound.step()) {
            sqlite3_bind_value(copy.get(), 1, sqlite3_column_value(bound.get(), 0));
            sqlite3_bind_value(drop.get(), 1, sqlite3_column_value(bound.get(), 0));
            bound.reset();
            copy.step();
            copy.reset();
            drop.step();
            drop.reset();
        }
    }
    file.exec((QStringLiteral("INSERT INTO %1(%2) SELECT %2 FROM data ORDER BY %3;").arg(table, names, kept)
               + QStringLiteral("DROP TABLE data; ALTER TABLE %1 RENAME TO data;").arg(table) + rowsIndexesSql(options))
                  .toUtf8()
                  .constData());
}

FreeSpaceQuery& freeSpaceQuery()
{
    static FreeSpaceQuery query;
    return query;
}

qint64 freeSpace(const QString& directory)
{
    if (const FreeSpaceQuery& query = freeSpaceQuery())
        return query(directory);
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(directory).constData(), &disk) != 0)
        return -1;
    return qint64(disk.f_bavail) * qint64(disk.f_frsize);
}

// The log of the upgrade takes a frame for each page it writes: about the
// file's size when the rows are laid out anew, with the frames' headers and
// the pages the new layout adds.
qint64 spaceForUpgrade(qint64 fileSize)
{
    return fileSize + fileSize / 32 + (qint64(1) << 20);
}

// Says, once a run for each file, that the file stays in its older form
// until the disk has room for the upgrade.
void tellNoRoom(const DbFile& file, qint64 needed)
{
    static std::set<QString> told;
    if (!told.insert(file.path()).second)
        return;
    const double megabytes = double((needed + (qint64(1) << 20) - 1) >> 20);
    Dialogs().messageBox(QStringLiteral("Za mało miejsca na dysku, by przenieść zbiór danych %1 do nowej postaci: "
                                        "potrzeba około %2 MB wolnego miejsca. Zbiór pozostaje w starszej postaci, "
                                        "dopóki na dysku nie będzie tyle miejsca.")
                             .arg(file.displayName(), FormatNumber(megabytes, QStringLiteral("### ### ##0"))),
                         ApplicationTitle(), MbOk, MsgIcon::Warning);
}

} // namespace

void SetFreeSpaceQuery(FreeSpaceQuery query)
{
    freeSpaceQuery() = std::move(query);
}

const int kStoredForm = 1;

void bringToStoredForm(DbFile& file)
{
    sqlite3* db = file.db();
    const bool values = storedForm(db) < kStoredForm;
    const bool layout = !laidOutAsToday(file);
    const bool rowCount = layout || !keepsRowCount(file);
    if (!values && !layout && !rowCount)
        return;
    // One transaction, synced when it commits: a process killed meanwhile
    // leaves the file as it was, and the next opening starts over. A file
    // that cannot be written now (a disk without room for the upgrade's log)
    // opens as it is: its values read in the new form anyway, its rows are
    // counted, and the next opening tries again.
    const qint64 needed = spaceForUpgrade(QFileInfo(file.path()).size());
    const qint64 free = freeSpace(QFileInfo(file.path()).absolutePath());
    if (free >= 0 && free < needed) {
        tellNoRoom(file, needed);
        return;
    }
    try {
        file.exec("BEGIN IMMEDIATE");
        if (values)
            bringRows(file);
        if (layout)
            layRowsOutAnew(file);
        if (rowCount) {
            file.exec("DROP TABLE IF EXISTS _kal_rows; DROP TRIGGER IF EXISTS _kal_rows_ins;"
                      " DROP TRIGGER IF EXISTS _kal_rows_del;");
            file.exec(kRowCountSql);
        }
        file.exec((QByteArray("PRAGMA user_version=") + QByteArray::number(kStoredForm)).constData());
        file.exec("COMMIT");
    } catch (const EDatabaseError&) {
        const bool full = (sqlite3_errcode(db) & 0xFF) == SQLITE_FULL;
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (full)
            tellNoRoom(file, needed);
    }
    // The log holds every page the upgrade wrote, whether it stands or was
    // undone: its pages go into the file and it is cut to nothing, so that a
    // disk it filled gets its room back at once.
    sqlite3_wal_checkpoint_v2(db, "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
}

} // namespace kal::db_detail
