#include "Storage.h"

#include "DateText.h"
#include "Exceptions.h"
#include "NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace kal::db_detail {

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

namespace {

std::map<QString, std::weak_ptr<DbFile>>& registry()
{
    static std::map<QString, std::weak_ptr<DbFile>> files;
    return files;
}

QString sqlType(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftMemo:
        return QStringLiteral("TEXT");
    case ftFloat:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("INTEGER");
    }
}

// SQL function kal_match(column, value, options) for Locate with options:
// 1 case-insensitive, 2 partial key (the column starts with the value).
void matchFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const auto text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                        sqlite3_value_bytes(argv[0]));
    const auto value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[1])),
                                         sqlite3_value_bytes(argv[1]));
    const int options = sqlite3_value_int(argv[2]);
    const Qt::CaseSensitivity cs = (options & 1) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const bool hit = (options & 2) ? text.startsWith(value, cs) : text.compare(value, cs) == 0;
    sqlite3_result_int(ctx, hit ? 1 : 0);
}

} // namespace

// synchronous=FULL: a commit is synced before it returns; a map of 64 MiB
// of each file spares reads without holding a large file in memory.
const char* const kPragmas = "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;"
                             " PRAGMA wal_autocheckpoint=20000; PRAGMA mmap_size=67108864;";

// ---------------------------------------------------------------- errors

namespace {

// A table file is made under this suffix and renamed into place once whole.
const QString kMakingSuffix = QStringLiteral(".nowy");

// The name the user knows a file by.
QString userName(const QString& path)
{
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(kMakingSuffix))
        name.chop(kMakingSuffix.size());
    return name;
}

QString fullDiskText(const QString& path)
{
    return QStringLiteral("Brak miejsca na dysku: nie można zapisać zbioru danych %1").arg(userName(path));
}

QString cannotWriteFileText(const QString& path, int err)
{
    if (err == ENOSPC || err == EDQUOT)
        return fullDiskText(path);
    return QStringLiteral("Nie można zapisać zbioru danych %1: %2").arg(userName(path), FileErrorReason(err, path));
}

QString cannotWriteDirText(const QString& path, int err)
{
    return QStringLiteral("Nie można zapisywać w katalogu %1 (zbiór danych %2): %3")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), userName(path), FileErrorReason(err));
}

// Why the table file at `path` (or, when it does not exist, its directory)
// cannot be written; empty when nothing stands in the way. A table's
// directory must take the journal beside the file.
QString writeBarrier(const QString& path)
{
    const QFileInfo fi(path);
    if (fi.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return cannotWriteFileText(path, errno);
    if (::access(QFile::encodeName(fi.absolutePath()).constData(), W_OK | X_OK) != 0)
        return cannotWriteDirText(path, errno);
    return {};
}

} // namespace

namespace {

QString damagedText(const QString& name)
{
    return QStringLiteral("Zbiór danych %1 jest uszkodzony. Odtwórz go z kopii zapasowej").arg(name);
}

QString inUseText(const QString& name)
{
    return QStringLiteral("Zbiór danych %1 jest używany przez inny program").arg(name);
}

// The text of SQLite's result `code` (extended) on the table file at `path`;
// `db`, when given, tells the system error and SQLite's own words.
QString codeText(int code, const QString& path, sqlite3* db)
{
    const QString name = userName(path);
    const int err = db ? sqlite3_system_errno(db) : 0;
    switch (code & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return damagedText(name);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return inUseText(name);
    case SQLITE_FULL:
        return fullDiskText(path);
    case SQLITE_NOMEM:
        return QStringLiteral("Brak pamięci do pracy ze zbiorem danych %1").arg(name);
    case SQLITE_TOOBIG:
        return QStringLiteral("Wartość jest za duża, by zapisać ją w zbiorze danych %1").arg(name);
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_IOERR: {
        if (err == ENOSPC || err == EDQUOT)
            return fullDiskText(path);
        if (!path.isEmpty()) {
            const QString barrier = writeBarrier(path);
            if (!barrier.isEmpty())
                return barrier;
        }
        if (err == EROFS || err == EACCES || err == EPERM)
            return cannotWriteFileText(path, err);
        const QString why = err ? QStringLiteral(": ") + FileErrorReason(err, path) : QString();
        if ((code & 0xFF) == SQLITE_CANTOPEN)
            return QStringLiteral("Nie można otworzyć zbioru danych %1%2").arg(name, why);
        if ((code & 0xFF) == SQLITE_IOERR)
            return QStringLiteral("Błąd odczytu lub zapisu zbioru danych %1%2").arg(name, why);
        return QStringLiteral("Nie można zapisać zbioru danych %1%2").arg(name, why);
    }
    default:
        break;
    }
    // A fault of the program rather than of the file: SQLite's own words
    // stay beside the file's name, for whoever looks into it.
    return QStringLiteral("Błąd bazy danych w zbiorze danych %1 (kod SQLite %2: %3)")
        .arg(name)
        .arg(code)
        .arg(db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code)));
}

// A file that SQLite does not take for a database is the program's own,
// damaged, when it begins as SQLite's files do (or is cut within that
// beginning, or holds nothing but zeros there: a sector lost); another
// program's file begins otherwise.
bool damagedHeader(const QString& path)
{
    static const QByteArray magic("SQLite format 3", 16); // with its closing zero
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(magic.size());
    return magic.startsWith(head) || head == QByteArray(magic.size(), '\0');
}

} // namespace

QString errorText(sqlite3* db)
{
    const int ext = sqlite3_extended_errcode(db);
    if (ext == SQLITE_CONSTRAINT_UNIQUE || ext == SQLITE_CONSTRAINT_PRIMARYKEY)
        return QStringLiteral("#unique");
    const char* file = sqlite3_db_filename(db, "main");
    return codeText(ext, file ? QString::fromUtf8(file) : QString(), db);
}

// ---------------------------------------------------------------- Stmt

Stmt::Stmt(sqlite3* db, const QString& sql) : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr)
        != SQLITE_OK) {
        m_stmt = nullptr;
        throw EDatabaseError(errorText(db));
    }
}

Stmt::~Stmt()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Stmt& Stmt::operator=(Stmt&& other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_stmt = other.m_stmt;
        m_db = other.m_db;
        other.m_stmt = nullptr;
    }
    return *this;
}

bool Stmt::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString text = errorText(m_db);
    sqlite3_reset(m_stmt);
    throw EDatabaseError(text);
}

void Stmt::reset()
{
    sqlite3_reset(m_stmt);
}

void Stmt::bindInt(int i, qint64 v)
{
    sqlite3_bind_int64(m_stmt, i, v);
}

void Stmt::bindBlob(int i, const QByteArray& v)
{
    sqlite3_bind_blob(m_stmt, i, v.isEmpty() ? "" : v.constData(), int(v.size()), SQLITE_TRANSIENT);
}

void Stmt::bindValue(int i, TFieldType type, const QVariant& v)
{
    if (!v.isValid()) {
        sqlite3_bind_null(m_stmt, i);
        return;
    }
    switch (type) {
    case ftString:
    case ftMemo: {
        const QByteArray utf8 = v.toString().toUtf8();
        sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    case ftFloat:
        sqlite3_bind_double(m_stmt, i, v.toDouble());
        break;
    case ftDate:
        sqlite3_bind_int64(m_stmt, i, v.toDate().toJulianDay());
        break;
    case ftBoolean:
        sqlite3_bind_int(m_stmt, i, v.toBool() ? 1 : 0);
        break;
    default:
        sqlite3_bind_int64(m_stmt, i, v.toLongLong());
        break;
    }
}

qint64 Stmt::columnInt(int i) const
{
    return sqlite3_column_int64(m_stmt, i);
}

QByteArray Stmt::columnBlob(int i) const
{
    const void* p = sqlite3_column_blob(m_stmt, i);
    return QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(m_stmt, i));
}

QVariant Stmt::columnValue(int i, TFieldType type) const
{
    if (sqlite3_column_type(m_stmt, i) == SQLITE_NULL)
        return {};
    switch (type) {
    case ftString:
    case ftMemo: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
        const int n = sqlite3_column_bytes(m_stmt, i);
        // A text stored with trailing blanks by an older program reads as
        // the value it stands for.
        const QString s = type == ftString ? withoutTrailingBlanks(QString::fromUtf8(p, n)) : QString::fromUtf8(p, n);
        if (s.isEmpty())
            return {};
        return s;
    }
    case ftFloat:
        return sqlite3_column_double(m_stmt, i);
    case ftDate:
        return QDate::fromJulianDay(sqlite3_column_int64(m_stmt, i));
    case ftBoolean:
        return sqlite3_column_int(m_stmt, i) != 0;
    default:
        return int(sqlite3_column_int64(m_stmt, i));
    }
}

// ---------------------------------------------------------------- DbFile

namespace {

sqlite3* openConnection(const QString& path, bool create)
{
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    if (const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr); rc != SQLITE_OK) {
        const QString text = codeText(db ? sqlite3_extended_errcode(db) : rc, path, db);
        sqlite3_close(db);
        throw EDatabaseError(text);
    }
    sqlite3_busy_timeout(db, 5000);
    // synchronous=FULL: a commit is on the disk (the journal synced) before
    // it returns, so that a posted record survives a power cut.
    sqlite3_exec(db, kPragmas, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "kal_match", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, matchFunction,
                               nullptr, nullptr, nullptr);
    return db;
}

void execOrThrow(sqlite3* db, const QString& sql)
{
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EDatabaseError(errorText(db));
}

// Makes the rename of a file in `dir` durable.
void syncDirectory(const QString& dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

quint64 DbFile::nextChangeStamp()
{
    static quint64 stamp = 0;
    return ++stamp;
}

std::shared_ptr<DbFile> DbFile::open(const QString& path, const QString& displayName)
{
    auto& reg = registry();
    auto it = reg.find(path);
    if (it != reg.end()) {
        if (auto existing = it->second.lock())
            return existing;
    }
    if (!QFileInfo(path).isFile())
        throw EDatabaseError(QStringLiteral("Nie znaleziono zbioru danych %1").arg(displayName));
    // A table file is never empty (it is made whole before it takes its
    // name): an empty one was cut to nothing.
    if (QFileInfo(path).size() == 0)
        throw EDatabaseError(damagedText(displayName));
    // A file the program cannot write is said to be so, never taken for a
    // foreign one.
    if (const QString barrier = writeBarrier(path); !barrier.isEmpty())
        throw EDatabaseError(barrier);

    std::shared_ptr<DbFile> file(new DbFile);
    file->m_path = path;
    file->m_displayName = displayName;
    file->m_db = openConnection(path, false);
    try {
        Stmt fields(file->m_db, QStringLiteral("SELECT name, type, size FROM _kal_fields ORDER BY ord"));
        int select = 1;
        while (fields.step()) {
            Column c;
            c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(fields.get(), 0)));
            c.type = TFieldType(sqlite3_column_int(fields.get(), 1));
            c.size = sqlite3_column_int(fields.get(), 2);
            if (c.type == ftAutoInc) {
                c.select = 0;
                file->m_rowidColumn = int(file->m_columns.size());
            } else {
                c.select = select++;
            }
            file->m_columns.push_back(c);
        }
        Stmt indexes(file->m_db, QStringLiteral("SELECT ord, name, fields, options FROM _kal_indexes ORDER BY ord"));
        while (indexes.step()) {
            IndexInfo ix;
            const int ord = sqlite3_column_int(indexes.get(), 0);
            ix.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(indexes.get(), 1)));
            ix.fields = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(indexes.get(), 2)))
                            .split(u';', Qt::SkipEmptyParts);
            ix.options = TIndexOptions(sqlite3_column_int(indexes.get(), 3));
            ix.keyColumn = QStringLiteral("~%1").arg(ord);
            for (const QString& f : ix.fields)
                ix.columns.push_back(file->columnOf(f.trimmed()));
            file->m_indexes.push_back(ix);
        }
    } catch (const EDatabaseError& e) {
        const int code = sqlite3_errcode(file->m_db) & 0xFF;
        const auto number = [&file](const char* sql) {
            sqlite3_stmt* st = nullptr;
            qint64 n = -1;
            if (sqlite3_prepare_v2(file->m_db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
                n = sqlite3_column_int64(st, 0);
            sqlite3_finalize(st);
            return n;
        };
        // A database with no table at all that is no larger than its first
        // page holds nothing: what a creation of an earlier build, killed
        // before its first commit, left under the table's name. A larger one
        // has pages that no table reads (its first page damaged): they may
        // hold the records.
        bool noTable = false;
        bool holdsNothing = false;
        if (code == SQLITE_ERROR) {
            noTable = number("SELECT count(*) FROM sqlite_master") == 0;
            holdsNothing = noTable && QFileInfo(path).size() <= number("PRAGMA page_size");
        }
        sqlite3_close(file->m_db);
        file->m_db = nullptr;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            throw EDatabaseError(inUseText(displayName));
        if (code == SQLITE_FULL || code == SQLITE_READONLY || code == SQLITE_CANTOPEN || code == SQLITE_IOERR
            || code == SQLITE_PERM || code == SQLITE_NOMEM)
            throw;
        // Damaged: SQLite found the file broken, or its header is broken
        // (it does not begin as another program's file), or its tables are
        // gone from a file that held more than nothing.
        if (code == SQLITE_CORRUPT || (code == SQLITE_NOTADB && damagedHeader(path)) || (noTable && !holdsNothing))
            throw EDatabaseError(damagedText(displayName));
        throw EDatabaseError(QStringLiteral("Plik %1 nie jest zbiorem danych programu").arg(displayName),
                             holdsNothing ? EDatabaseError::Kind::NoTable : EDatabaseError::Kind::Other);
    }
    bringToStoredForm(*file);
    {
        // A file that could not be brought to the form counts its rows.
        Stmt counted(file->m_db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='_kal_rows'"));
        file->m_countsRows = counted.step() && counted.columnInt(0) > 0;
    }
    reg[path] = file;
    return file;
}

bool DbFile::isOpen(const QString& path)
{
    auto& reg = registry();
    auto it = reg.find(path);
    return it != reg.end() && !it->second.expired();
}

int primaryIndex(const std::vector<TIndexOptions>& indexes)
{
    for (size_t i = 0; i < indexes.size(); ++i)
        if (indexes[i] & ixPrimary)
            return int(i);
    return -1;
}

QString rowsTableSql(const QString& table, const std::vector<Column>& columns, const std::vector<TIndexOptions>& indexes)
{
    // A table with a primary index keeps its rows in that order, keyed on
    // the (unique) order key, so that a walk in the primary order reads the
    // rows one after another and a duplicate key is refused by the key
    // itself; the row id has an index of its own. A table without one keeps
    // them in row id order.
    const int primary = primaryIndex(indexes);
    // The key of a keyed table is its first column: SQLite's integrity
    // check (up to 3.40 at least) misreads a WITHOUT ROWID table whose key
    // column stands last, after the NOT NULL "_rid", and calls such a file
    // damaged. Statements name their columns, so the order of the
    // columns is free.
    const auto keyColumn = [](size_t i) { return QStringLiteral("\"~%1\" BLOB NOT NULL DEFAULT x''").arg(i); };
    QString sql = QStringLiteral("CREATE TABLE %1(").arg(quoted(table))
        + (primary >= 0 ? keyColumn(size_t(primary)) + QStringLiteral(", \"_rid\" INTEGER NOT NULL")
                        : QStringLiteral("\"_rid\" INTEGER PRIMARY KEY"));
    for (const Column& c : columns)
        if (c.type != ftAutoInc)
            sql += QStringLiteral(", %1 %2").arg(quoted(c.name), sqlType(c.type));
    for (size_t i = 0; i < indexes.size(); ++i)
        if (int(i) != primary)
            sql += QStringLiteral(", ") + keyColumn(i);
    if (primary >= 0)
        return sql + QStringLiteral(", PRIMARY KEY(\"~%1\")) WITHOUT ROWID;").arg(primary);
    return sql + QStringLiteral(");");
}

QString rowsIndexesSql(const std::vector<TIndexOptions>& indexes)
{
    const int primary = primaryIndex(indexes);
    QString sql = primary >= 0 ? QStringLiteral("CREATE UNIQUE INDEX \"rid\" ON data(\"_rid\");") : QString();
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (int(i) == primary)
            continue;
        const bool unique = indexes[i] & (ixPrimary | ixUnique);
        // Walks order rows by key, then row id: without a rowid the index
        // must hold the row id after the key itself.
        const QString ridPart = primary >= 0 && !unique ? QStringLiteral(", \"_rid\"") : QString();
        sql += QStringLiteral("CREATE %1INDEX \"ix%2\" ON data(\"~%2\"%3);")
                   .arg(unique ? QStringLiteral("UNIQUE ") : QString())
                   .arg(i)
                   .arg(ridPart);
    }
    return sql;
}

// The number of rows, kept by the file itself: an open counts no row.
const char* const kRowCountSql =
    "CREATE TABLE _kal_rows(n INTEGER NOT NULL); INSERT INTO _kal_rows SELECT count(*) FROM data;"
    "CREATE TRIGGER _kal_rows_ins AFTER INSERT ON data BEGIN UPDATE _kal_rows SET n=n+1; END;"
    "CREATE TRIGGER _kal_rows_del AFTER DELETE ON data BEGIN UPDATE _kal_rows SET n=n-1; END;";

void DbFile::create(const QString& path, const std::vector<TFieldDef>& fields, const std::vector<TIndexDef>& indexes)
{
    const QString name = QFileInfo(path).fileName();
    // An empty file is the name taken for the table: the table replaces it.
    if (const QFileInfo taken(path); taken.exists() && !(taken.isFile() && taken.size() == 0))
        throw EDatabaseError(QStringLiteral("Zbiór danych %1 już istnieje").arg(name));
    if (fields.empty())
        throw EDatabaseError(QStringLiteral("Brak definicji pól zbioru %1").arg(name));
    int autoIncs = 0;
    QStringList seen;
    for (const TFieldDef& f : fields) {
        if (f.Name.trimmed().isEmpty() || seen.contains(f.Name, Qt::CaseInsensitive))
            throw EDatabaseError(QStringLiteral("Niepoprawna nazwa pola '%1' w zbiorze %2").arg(f.Name, name));
        seen << f.Name;
        if (f.DataType == ftAutoInc)
            ++autoIncs;
    }
    if (autoIncs > 1)
        throw EDatabaseError(QStringLiteral("Zbiór %1 może mieć tylko jedno pole autonumerowane").arg(name));
    for (const TIndexDef& ix : indexes)
        for (const QString& f : ix.Fields.split(u';', Qt::SkipEmptyParts))
            if (!seen.contains(f.trimmed(), Qt::CaseInsensitive))
                throw EDatabaseError(QStringLiteral("Nie znaleziono pola '%1' indeksu w zbiorze %2").arg(f, name));

    if (const QString barrier = writeBarrier(path); !barrier.isEmpty())
        throw EDatabaseError(barrier);

    // The file is made whole under another name in the same directory and
    // renamed into place: a process killed meanwhile leaves no file under the
    // table's name, and the next creation starts over.
    const QString making = path + kMakingSuffix;
    const auto removeMaking = [&] {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(making + QString::fromLatin1(suffix));
    };
    removeMaking();
    sqlite3* db = openConnection(making, true);
    try {
        std::vector<Column> columns;
        for (const TFieldDef& f : fields)
            columns.push_back({f.Name, f.DataType, f.Size});
        std::vector<TIndexOptions> options;
        for (const TIndexDef& ix : indexes)
            options.push_back(ix.Options);
        QString sql = QStringLiteral("BEGIN;") + rowsTableSql(QStringLiteral("data"), columns, options)
            + rowsIndexesSql(options) + QString::fromLatin1(kRowCountSql);
        sql += QStringLiteral("PRAGMA user_version=%1;").arg(kStoredForm);
        sql += QStringLiteral("CREATE TABLE _kal_state(hwm INTEGER NOT NULL); INSERT INTO _kal_state VALUES(0);"
                              "CREATE TABLE _kal_fields(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, type INTEGER, size INTEGER);"
                              "CREATE TABLE _kal_indexes(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL, options INTEGER);");
        execOrThrow(db, sql);
        {
            Stmt ins(db, QStringLiteral("INSERT INTO _kal_fields VALUES(?,?,?,?)"));
            for (size_t i = 0; i < fields.size(); ++i) {
                ins.bindInt(1, qint64(i));
                ins.bindValue(2, ftString, fields[i].Name.isEmpty() ? QVariant() : QVariant(fields[i].Name));
                ins.bindInt(3, fields[i].DataType);
                ins.bindInt(4, fields[i].DataType == ftString && fields[i].Size <= 0 ? 20 : fields[i].Size);
                ins.step();
                ins.reset();
            }
            Stmt insIx(db, QStringLiteral("INSERT INTO _kal_indexes VALUES(?,?,?,?)"));
            for (size_t i = 0; i < indexes.size(); ++i) {
                insIx.bindInt(1, qint64(i));
                const QByteArray n = indexes[i].Name.toUtf8();
                sqlite3_bind_text(insIx.get(), 2, n.constData(), int(n.size()), SQLITE_TRANSIENT);
                const QByteArray fl = indexes[i].Fields.toUtf8();
                sqlite3_bind_text(insIx.get(), 3, fl.constData(), int(fl.size()), SQLITE_TRANSIENT);
                insIx.bindInt(4, indexes[i].Options);
                insIx.step();
                insIx.reset();
            }
        }
        execOrThrow(db, QStringLiteral("COMMIT;"));
        // Closing moves the journal into the file and removes it.
        if (sqlite3_close(db) != SQLITE_OK)
            throw EDatabaseError(errorText(db));
        db = nullptr;
        if (QFileInfo::exists(making + QStringLiteral("-wal")))
            throw EDatabaseError(QStringLiteral("Nie można zapisać zbioru danych %1").arg(name));
        if (::rename(QFile::encodeName(making).constData(), QFile::encodeName(path).constData()) != 0)
            throw EDatabaseError(cannotWriteFileText(path, errno));
    } catch (...) {
        if (db)
            sqlite3_close(db);
        removeMaking();
        throw;
    }
    syncDirectory(QFileInfo(path).absolutePath());
}

DbFile::~DbFile()
{
    m_cache.clear();
    if (m_db) {
        sqlite3_close_v2(m_db);
    }
    auto& reg = registry();
    auto it = reg.find(m_path);
    if (it != reg.end() && it->second.expired())
        reg.erase(it);
}

int DbFile::columnOf(const QString& name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString DbFile::selectList() const
{
    QString s = QStringLiteral("\"_rid\"");
    for (const Column& c : m_columns)
        if (c.type != ftAutoInc)
            s += u',' + quoted(c.name);
    return s;
}

void DbFile::exec(const char* sql)
{
    execOrThrow(m_db, QString::fromUtf8(sql));
}

namespace {
// The savepoint of one write inside a write group.
const QString kSavepoint = QStringLiteral("SAVEPOINT kal_post");
const QString kRelease = QStringLiteral("RELEASE kal_post");
} // namespace

WriteGroupState*& openWriteGroup()
{
    static WriteGroupState* group = nullptr;
    return group;
}

void DbFile::begin()
{
    const auto run = [this](const QString& sql) {
        Stmt& s = cached(sql);
        s.step();
        s.reset();
    };
    // A file whose group transaction is open takes every write into it,
    // also while the group is paused.
    if (!m_group) {
        WriteGroupState* group = openWriteGroup();
        if (!group) {
            run(QStringLiteral("BEGIN IMMEDIATE"));
            return;
        }
        if (!group->spent.isEmpty())
            throw EDatabaseError(group->spent);
        run(QStringLiteral("BEGIN IMMEDIATE"));
        m_group = group;
        group->files.push_back(shared_from_this());
    }
    run(kSavepoint);
}

void DbFile::commit()
{
    Stmt& s = cached(m_group ? kRelease : QStringLiteral("COMMIT"));
    s.step();
    s.reset();
}

void DbFile::rollback()
{
    if (m_group && sqlite3_get_autocommit(m_db)) {
        // SQLite dropped the whole transaction (a full disk, an I/O error):
        // the group's earlier writes to the file are gone, so is the group.
        m_group->undo(QStringLiteral("Błąd zapisu zbioru danych %1: zmiany całej operacji zostały wycofane")
                          .arg(m_displayName));
        return;
    }
    m_nextRowid = 0;
    if (sqlite3_get_autocommit(m_db))
        return;
    if (m_group)
        sqlite3_exec(m_db, "ROLLBACK TO kal_post; RELEASE kal_post", nullptr, nullptr, nullptr);
    else
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void DbFile::endGroup(bool keep)
{
    if (!m_group)
        return;
    m_group = nullptr;
    if (keep) {
        try {
            Stmt& s = cached(QStringLiteral("COMMIT"));
            s.step();
            s.reset();
            return;
        } catch (...) {
            if (!sqlite3_get_autocommit(m_db))
                sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            m_nextRowid = 0;
            bumpChange();
            throw;
        }
    }
    // The ids the group's rows took are not given again in this run: a
    // bookmark kept of an undone row never finds another row.
    if (m_nextRowid == 0 && !sqlite3_get_autocommit(m_db)) {
        try {
            m_nextRowid = nextRowid();
        } catch (...) {
            m_nextRowid = 0;
        }
    }
    if (!sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    bumpChange();
}

qint64 DbFile::nextRowid()
{
    if (m_nextRowid == 0) {
        Stmt& s = cached(QStringLiteral(
            "SELECT max(COALESCE((SELECT hwm FROM _kal_state),0),"
            " COALESCE((SELECT max(\"_rid\") FROM data),0))"));
        m_nextRowid = s.step() ? s.columnInt(0) + 1 : 1;
        s.reset();
    }
    return m_nextRowid++;
}

qint64 DbFile::rowCount()
{
    Stmt& s = cached(m_countsRows ? QStringLiteral("SELECT n FROM _kal_rows") : QStringLiteral("SELECT count(*) FROM data"));
    const qint64 n = s.step() ? s.columnInt(0) : 0;
    s.reset();
    return n;
}

void DbFile::deleteRow(qint64 rid)
{
    begin();
    try {
        Stmt& mark = cached(QStringLiteral("UPDATE _kal_state SET hwm=max(hwm, ?1)"));
        mark.bindInt(1, rid);
        mark.step();
        mark.reset();
        Stmt& del = cached(QStringLiteral("DELETE FROM data WHERE \"_rid\"=?1"));
        del.bindInt(1, rid);
        del.step();
        del.reset();
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void DbFile::deleteAll()
{
    begin();
    try {
        exec("UPDATE _kal_state SET hwm=max(hwm, COALESCE((SELECT max(\"_rid\") FROM data),0))");
        exec("DELETE FROM data");
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

Stmt& DbFile::insertStmt()
{
    static const QString tag = QStringLiteral("#insert");
    auto it = m_cache.find(tag);
    if (it == m_cache.end()) {
        QStringList names{QStringLiteral("\"_rid\"")};
        QStringList marks{QStringLiteral("?1")};
        for (const Column& c : m_columns)
            if (c.type != ftAutoInc)
                names << quoted(c.name);
        for (const IndexInfo& ix : m_indexes)
            names << quoted(ix.keyColumn);
        for (int i = 2; i <= names.size(); ++i)
            marks << QStringLiteral("?%1").arg(i);
        it = m_cache.insert(tag, std::make_shared<Stmt>(m_db, QStringLiteral("INSERT INTO data(%1) VALUES(%2)")
                                                                   .arg(names.join(u','), marks.join(u','))));
    }
    return **it;
}

Stmt& DbFile::updateStmt()
{
    static const QString tag = QStringLiteral("#update");
    auto it = m_cache.find(tag);
    if (it == m_cache.end()) {
        QStringList sets;
        int i = 2;
        for (const Column& c : m_columns)
            if (c.type != ftAutoInc)
                sets << QStringLiteral("%1=?%2").arg(quoted(c.name)).arg(i++);
        for (const IndexInfo& ix : m_indexes)
            sets << QStringLiteral("%1=?%2").arg(quoted(ix.keyColumn)).arg(i++);
        it = m_cache.insert(tag, std::make_shared<Stmt>(m_db, QStringLiteral("UPDATE data SET %1 WHERE \"_rid\"=?1")
                                                                   .arg(sets.join(u','))));
    }
    return **it;
}

Stmt& DbFile::cached(const QString& sql)
{
    auto it = m_cache.find(sql);
    if (it == m_cache.end())
        it = m_cache.insert(sql, std::make_shared<Stmt>(m_db, sql));
    return **it;
}

void DbFile::fail(const QString& what) const
{
    throw EDatabaseError(what);
}

QByteArray DbFile::indexKey(const IndexInfo& index, const std::vector<QVariant>& row) const
{
    QByteArray key;
    for (int col : index.columns)
        appendKeyPart(key, col >= 0 ? fieldKey(m_columns[size_t(col)].type, row[size_t(col)]) : QByteArray());
    return key;
}

} // namespace kal::db_detail
