#pragma once
// Internal to the table component, shared by the files it is made of: the
// cursor over its file (order, ranges, the key set, the walk statement) and
// small helpers.
//   Table.cpp        the face: fields, events, open and close, files
//   TableKeys.cpp    order, key set, ranges, key search, Locate, bookmarks
//   TableRows.cpp    reading rows, walks, navigation, grid rows
//   TableEdit.cpp    editing with its events
//   TableMaster.cpp  the master link

#include "Table.h"

#include "Exceptions.h"
#include "Storage.h"

#include <QHash>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <unordered_map>

namespace kal {

// Rows of a walk read with every column before it reads only those asked for.
constexpr int kNarrowAfter = 8;
// Rows of an order read from the file at a time.
constexpr int kKeyPage = 4096;
inline const QString kNotEditing = QStringLiteral("Zbiór danych nie jest w trybie edycji ani dopisywania");
inline const QString kClosed = QStringLiteral("Nie można wykonać tej operacji na zamkniętym zbiorze danych");
inline const QString kOpen = QStringLiteral("Nie można wykonać tej operacji na otwartym zbiorze danych");
inline const QString kEmpty = QStringLiteral("Nie można wykonać tej operacji na pustym zbiorze danych");
inline const QString kReadOnlyTable = QStringLiteral("Nie można modyfikować zbioru danych tylko do odczytu");

inline QStringList splitNames(const QString& names)
{
    QStringList out;
    for (const QString& n : names.split(u';', Qt::SkipEmptyParts)) {
        const QString t = n.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

inline QString quoted(const QString& name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

inline int compareKeys(const QByteArray& a, qint64 ra, const QByteArray& b, qint64 rb)
{
    const int c = a.compare(b);
    if (c != 0)
        return c < 0 ? -1 : 1;
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}


namespace db_detail {

struct LookupCache {
    const DbFile* file = nullptr;
    quint64 counter = 0;
    QHash<QString, QVariant> values;
};

struct Cursor {
    Cursor() = default;
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;
    ~Cursor()
    {
        if (file && owner)
            file->detach(owner);
    }
    // The file, and the component the file knows this cursor by.
    void attach(std::shared_ptr<DbFile> opened, TTable* table)
    {
        file = std::move(opened);
        owner = table;
        file->attach(table);
    }

    std::shared_ptr<DbFile> file;
    TTable* owner = nullptr;
    int nCols = 0;
    int orderIndex = -1;        // index of the file backing the order
    std::vector<int> orderCols; // columns of the order fields
    QStringList orderNames;
    bool memOrder = false; // order fields without an index: sorted in memory

    bool masterOn = false;
    QByteArray mlo, mhi;
    bool userOn = false;
    QByteArray ulo, uhi;
    bool hasLo = false, hasHi = false;
    QByteArray lo, hi;

    Keyset keys;
    quint64 seen = 0;
    bool stale = false;
    int pos = -1;
    bool bof = true, eof = true;
    int insertPos = -1;
    int posBeforeInsert = -1;

    Stmt fetch;
    Stmt stream;
    int streamPos = -1;
    // The walk statement reads "_rid" and the columns whose place here is
    // not -1. A walk begins with every column; once it has gone some rows it
    // reads only the columns the fields asked for, and a column asked for
    // later is read by row id and joins the walk from the next row.
    std::vector<int> streamSel;
    QString streamSql;
    QHash<QString, std::shared_ptr<Stmt>> streams; // walk statements not in use
    std::vector<unsigned char> wanted; // columns read through the fields in walks
    bool learned = false;              // a walk went far enough to know them
    bool wantedGrew = false;
    int lastRead = -2;
    int seqCount = 0;

    std::unordered_map<const TField*, LookupCache> lookups;

    QString colExpr(int col) const
    {
        const Column& c = file->columns()[size_t(col)];
        return c.type == ftAutoInc ? QStringLiteral("\"_rid\"") : quoted(c.name);
    }

    bool uniqueOrder() const
    {
        return orderIndex >= 0 && (file->indexes()[size_t(orderIndex)].options & (ixPrimary | ixUnique));
    }

    // The order's key column (quoted), empty for the row id order.
    QString keyColumn() const
    {
        return orderIndex >= 0 ? quoted(file->indexes()[size_t(orderIndex)].keyColumn) : QString();
    }

    // " WHERE ..." of the range (?1 its start, ?2 its end) and, with `seek`,
    // of the rows after (or before) a given one (?3 its key, ?4 its row id).
    QString rangeCondition(bool seek, bool before = false) const
    {
        const QString k = keyColumn();
        const QString op = before ? QStringLiteral("<") : QStringLiteral(">");
        QStringList cond;
        // The key of a unique order tells rows apart by itself: a plain
        // comparison lets SQLite stop testing each row it walks.
        if (seek && k.isEmpty())
            cond << QStringLiteral("\"_rid\" %1 ?4").arg(op);
        else if (seek && uniqueOrder())
            cond << QStringLiteral("%1 %2 ?3").arg(k, op);
        else if (seek)
            cond << QStringLiteral("(%1, \"_rid\") %2 (?3, ?4)").arg(k, op);
        if (!k.isEmpty() && hasLo)
            cond << QStringLiteral("%1 >= ?1").arg(k);
        if (!k.isEmpty() && hasHi)
            cond << QStringLiteral("%1 < ?2").arg(k);
        return cond.isEmpty() ? QString() : QStringLiteral(" WHERE ") + cond.join(QStringLiteral(" AND "));
    }

    void bindRange(Stmt& s) const
    {
        if (orderIndex >= 0 && hasLo)
            s.bindBlob(1, lo);
        if (orderIndex >= 0 && hasHi)
            s.bindBlob(2, hi);
    }

    // The order key of row `rid` as the file holds it.
    QByteArray keyOf(qint64 rid)
    {
        Stmt& s = file->cached(QStringLiteral("SELECT %1 FROM data WHERE \"_rid\"=?1").arg(keyColumn()));
        s.bindInt(1, rid);
        const QByteArray key = s.step() ? s.columnBlob(0) : QByteArray();
        s.reset();
        return key;
    }

    // The position of row `rid` in the order, counted in the file; the row
    // joins the key set's window.
    int findRow(Keyset& set, qint64 rid)
    {
        const QString k = keyColumn();
        Stmt& s = file->cached(QStringLiteral("SELECT %1 FROM data WHERE \"_rid\"=?1")
                                   .arg(k.isEmpty() ? QStringLiteral("\"_rid\"") : k));
        s.bindInt(1, rid);
        if (!s.step()) {
            s.reset();
            return -1;
        }
        const QByteArray key = k.isEmpty() ? QByteArray() : s.columnBlob(0);
        s.reset();
        if (!k.isEmpty() && ((hasLo && key.compare(lo) < 0) || (hasHi && key.compare(hi) >= 0)))
            return -1;
        Stmt& n = file->cached(QStringLiteral("SELECT count(*) FROM data") + rangeCondition(true, true));
        bindRange(n);
        if (!k.isEmpty())
            n.bindBlob(3, key);
        n.bindInt(4, rid);
        n.step();
        const int p = int(n.columnInt(0));
        n.reset();
        set.passBy(p, rid, key);
        return p;
    }

    // The rows of the order's range. The file keeps its number of rows: a
    // range that holds most of them (a company's records in a file of one
    // company) is counted by the few rows outside it.
    qint64 countRows()
    {
        const QString k = keyColumn();
        if (k.isEmpty() || (!hasLo && !hasHi))
            return file->rowCount();
        constexpr qint64 kFewOutside = 65536;
        qint64 outside = 0;
        bool few = true;
        for (const bool below : {true, false}) {
            if (!few || !(below ? hasLo : hasHi))
                continue;
            Stmt& s = file->cached(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM data WHERE %1 %2 LIMIT %3)")
                                       .arg(k, below ? QStringLiteral("< ?1") : QStringLiteral(">= ?2"))
                                       .arg(kFewOutside));
            bindRange(s);
            const qint64 n = s.step() ? s.columnInt(0) : kFewOutside;
            s.reset();
            outside += n;
            few = n < kFewOutside;
        }
        if (few)
            return file->rowCount() - outside;
        Stmt& count = file->cached(QStringLiteral("SELECT count(*) FROM data") + rangeCondition(false));
        bindRange(count);
        const qint64 n = count.step() ? count.columnInt(0) : 0;
        count.reset();
        return n;
    }

    // Reads the row ids of positions [from, to) of the order, counting from
    // the held rows or back from the last row, whichever is nearer.
    void seekWindow(Keyset& set, int from, int to)
    {
        const QString k = keyColumn();
        const bool fromEnd = set.size() - to < from - set.held();
        const bool seek = !fromEnd && set.held() > 0;
        const QString desc = fromEnd ? QStringLiteral(" DESC") : QString();
        const QString order = k.isEmpty() ? QStringLiteral("\"_rid\"%1").arg(desc)
                                          : QStringLiteral("%1%2, \"_rid\"%2").arg(k, desc);
        Stmt& s = file->cached(QStringLiteral("SELECT \"_rid\" FROM data%1 ORDER BY %2 LIMIT ?5 OFFSET ?6")
                                   .arg(rangeCondition(seek), order));
        bindRange(s);
        if (seek) {
            if (!k.isEmpty())
                s.bindBlob(3, set.keyAt(set.held() - 1));
            s.bindInt(4, set.at(set.held() - 1));
        }
        s.bindInt(5, to - from);
        s.bindInt(6, fromEnd ? set.size() - to : from - set.held());
        std::vector<qint64> ids;
        ids.reserve(size_t(to - from));
        while (s.step())
            ids.push_back(s.columnInt(0));
        s.reset();
        if (fromEnd)
            std::reverse(ids.begin(), ids.end());
        if (int(ids.size()) == to - from)
            set.setWindow(from, std::move(ids));
        else
            set.hold(to - 1); // the count was off: read the rows in order
    }

    // Reads the rows of the order after the held ones, up to `upTo` and a
    // page more (all of them for INT_MAX).
    void loadKeys(Keyset& set, int upTo)
    {
        const bool seek = set.held() > 0;
        const qint64 limit = upTo == std::numeric_limits<int>::max() ? -1 : qint64(upTo) + 1 - set.held() + kKeyPage;
        const QString k = keyColumn();
        const QString sql = k.isEmpty()
            ? QStringLiteral("SELECT \"_rid\" FROM data%1 ORDER BY \"_rid\" LIMIT ?5").arg(rangeCondition(seek))
            : QStringLiteral("SELECT \"_rid\", %1 FROM data%2 ORDER BY %1, \"_rid\" LIMIT ?5").arg(k, rangeCondition(seek));
        Stmt& s = file->cached(sql);
        bindRange(s);
        if (seek) {
            if (!k.isEmpty())
                s.bindBlob(3, set.keyAt(set.held() - 1));
            s.bindInt(4, set.at(set.held() - 1));
        }
        s.bindInt(5, limit);
        qint64 read = 0;
        const QByteArray none;
        while (s.step()) {
            set.push_back(s.columnInt(0), k.isEmpty() ? none : s.columnBlob(1));
            ++read;
        }
        s.reset();
        if (limit < 0 || read < limit)
            set.markComplete();
    }
};

} // namespace db_detail

using db_detail::Cursor;
using db_detail::Keyset;
using db_detail::DbFile;
using db_detail::Stmt;

} // namespace kal
