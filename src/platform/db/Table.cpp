#include "Table.h"

#include "Exceptions.h"
#include "Storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace kal {

namespace {

// Rows of a walk read with every column before it reads only those asked for.
constexpr int kNarrowAfter = 8;
// Rows of an order read from the file at a time.
constexpr int kKeyPage = 4096;
const QString kNotEditing = QStringLiteral("Zbiór danych nie jest w trybie edycji ani dopisywania");
const QString kClosed = QStringLiteral("Nie można wykonać tej operacji na zamkniętym zbiorze danych");
const QString kOpen = QStringLiteral("Nie można wykonać tej operacji na otwartym zbiorze danych");
const QString kEmpty = QStringLiteral("Nie można wykonać tej operacji na pustym zbiorze danych");
const QString kReadOnlyTable = QStringLiteral("Nie można modyfikować zbioru danych tylko do odczytu");

QStringList splitNames(const QString& names)
{
    QStringList out;
    for (const QString& n : names.split(u';', Qt::SkipEmptyParts)) {
        const QString t = n.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

int compareKeys(const QByteArray& a, qint64 ra, const QByteArray& b, qint64 rb)
{
    const int c = a.compare(b);
    if (c != 0)
        return c < 0 ? -1 : 1;
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

} // namespace

namespace db_detail {

struct LookupCache {
    const DbFile* file = nullptr;
    quint64 counter = 0;
    QHash<QString, QVariant> values;
};

struct Cursor {
    std::shared_ptr<DbFile> file;
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

// ===================================================================== defs

const TFieldDef* TFieldDefs::Find(const QString& name) const
{
    for (const TFieldDef& d : m_defs)
        if (d.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

// ===================================================================== basics

TTable::TTable(const QString& name) : TComponent(name) {}

TTable::~TTable()
{
    m_cursor.reset();
    if (m_masterSource) {
        auto& v = m_masterSource->m_details;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    for (TDataSource* s : m_sources)
        s->m_dataSet = nullptr;
}

void TTable::checkActive() const
{
    if (m_state == dsInactive)
        throw EDatabaseError(kClosed);
}

void TTable::checkInactive() const
{
    if (m_state != dsInactive)
        throw EDatabaseError(kOpen);
}

void TTable::checkCanModify() const
{
    if (m_readOnly)
        throw EDatabaseError(kReadOnlyTable);
}

void TTable::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

QString TTable::resolvedPath() const
{
    QFileInfo fi(m_tableName);
    const QString abs = fi.isAbsolute() ? m_tableName : QDir::current().absoluteFilePath(m_tableName);
    return QDir::cleanPath(abs);
}

void TTable::setTableName(const QString& name)
{
    if (name == m_tableName)
        return;
    checkInactive();
    m_tableName = name;
}

bool TTable::Exists() const
{
    return !m_tableName.isEmpty() && QFileInfo(resolvedPath()).isFile();
}

// ===================================================================== fields

TField* TTable::AddField(const QString& fieldName, TFieldType type, int size, TFieldKind kind,
                         const QString& componentName)
{
    checkInactive();
    const QString comp = componentName.isEmpty() ? Name() + fieldName : componentName;
    auto f = std::make_unique<TField>(this, comp, fieldName, type, size, kind);
    f->m_index = int(m_fields.size());
    m_fields.push_back(std::move(f));
    return m_fields.back().get();
}

TField* TTable::FindField(const QString& fieldName) const
{
    for (const auto& f : m_fields)
        if (f->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField* TTable::FieldByName(const QString& fieldName) const
{
    TField* f = FindField(fieldName);
    if (!f)
        throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(Name().isEmpty() ? m_tableName : Name(), fieldName));
    return f;
}

void TTable::bindFields()
{
    Cursor& c = *m_cursor;
    const auto& cols = c.file->columns();
    c.nCols = int(cols.size());
    if (m_fields.empty()) {
        for (const auto& col : cols) {
            auto f = std::make_unique<TField>(this, Name() + col.name, col.name, col.type, col.size, fkData);
            f->m_dynamic = true;
            f->m_index = int(m_fields.size());
            m_fields.push_back(std::move(f));
        }
    }
    int extra = 0;
    for (auto& f : m_fields) {
        if (f->m_kind == fkData) {
            const int col = c.file->columnOf(f->FieldName());
            if (col < 0)
                throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(c.file->displayName(), f->FieldName()));
            const TFieldType ct = cols[size_t(col)].type;
            const bool compatible = ct == f->m_type || (db_detail::isIntegerType(ct) && db_detail::isIntegerType(f->m_type))
                || ((ct == ftString || ct == ftMemo) && (f->m_type == ftString || f->m_type == ftMemo));
            if (!compatible)
                throw EDatabaseError(QStringLiteral("%1: niezgodny typ pola '%2'").arg(c.file->displayName(), f->FieldName()));
            f->m_column = col;
        } else {
            f->m_column = c.nCols + extra++;
        }
    }
    const size_t slotCount = size_t(c.nCols + extra);
    m_current.values.assign(slotCount, QVariant());
    m_current.loaded.assign(slotCount, 1);
    m_current.rowid = 0;
    m_keyBuffer.values.assign(slotCount, QVariant());
    m_keyBuffer.loaded.assign(slotCount, 1);
    m_keyAssigned.assign(slotCount, 0);
}

void TTable::removeDynamicFields()
{
    m_fields.erase(std::remove_if(m_fields.begin(), m_fields.end(), [](const auto& f) { return f->m_dynamic; }),
                   m_fields.end());
    for (auto& f : m_fields)
        f->m_column = -1;
}

// ===================================================================== order

void TTable::chooseOrder()
{
    Cursor& c = *m_cursor;
    const auto& indexes = c.file->indexes();
    c.orderIndex = -1;
    c.orderCols.clear();
    c.orderNames.clear();
    c.memOrder = false;
    if (!m_indexName.isEmpty()) {
        for (size_t i = 0; i < indexes.size(); ++i)
            if (indexes[i].name.compare(m_indexName, Qt::CaseInsensitive) == 0)
                c.orderIndex = int(i);
        if (c.orderIndex < 0)
            throw EDatabaseError(QStringLiteral("%1: nie znaleziono indeksu '%2'").arg(c.file->displayName(), m_indexName));
    } else if (!m_indexFieldNames.isEmpty()) {
        const QStringList want = splitNames(m_indexFieldNames);
        size_t bestLen = 0;
        for (size_t i = 0; i < indexes.size(); ++i) {
            const QStringList& have = indexes[i].fields;
            if (have.size() < want.size())
                continue;
            bool match = true;
            for (int k = 0; k < want.size() && match; ++k)
                match = have[k].trimmed().compare(want[k], Qt::CaseInsensitive) == 0;
            if (match && (c.orderIndex < 0 || size_t(have.size()) < bestLen)) {
                c.orderIndex = int(i);
                bestLen = size_t(have.size());
            }
        }
        if (c.orderIndex < 0) {
            c.memOrder = true;
            for (const QString& n : want) {
                const int col = c.file->columnOf(n);
                if (col < 0)
                    throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(c.file->displayName(), n));
                c.orderCols.push_back(col);
                c.orderNames << c.file->columns()[size_t(col)].name;
            }
        }
    } else {
        for (size_t i = 0; i < indexes.size(); ++i)
            if (indexes[i].options & ixPrimary) {
                c.orderIndex = int(i);
                break;
            }
    }
    if (c.orderIndex >= 0) {
        const auto& ix = indexes[size_t(c.orderIndex)];
        c.orderCols = ix.columns;
        for (int col : ix.columns)
            c.orderNames << c.file->columns()[size_t(col)].name;
    }
    // statements that depend on the order
    c.stream = Stmt();
    c.streams.clear();
    c.streamPos = -1;
    c.streamSel.clear();
}

QStringList TTable::IndexFieldList() const
{
    if (m_cursor)
        return m_cursor->orderNames;
    if (!m_indexFieldNames.isEmpty())
        return splitNames(m_indexFieldNames);
    for (const TIndexDef& d : m_indexDefs.items())
        if ((!m_indexName.isEmpty() && d.Name.compare(m_indexName, Qt::CaseInsensitive) == 0)
            || (m_indexName.isEmpty() && (d.Options & ixPrimary)))
            return splitNames(d.Fields);
    return {};
}

QByteArray TTable::keyFromValues(const QVariantList& values) const
{
    const Cursor& c = *m_cursor;
    if (values.size() > int(c.orderCols.size()))
        throw EDatabaseError(QStringLiteral("%1: za dużo wartości klucza").arg(c.file->displayName()));
    QByteArray key;
    for (int i = 0; i < values.size(); ++i) {
        const auto& col = c.file->columns()[size_t(c.orderCols[size_t(i)])];
        const QVariant v = db_detail::toFieldValue(col.type, col.size, values[i], col.name);
        db_detail::appendKeyPart(key, db_detail::fieldKey(col.type, v));
    }
    return key;
}

QByteArray TTable::keyOfRecord(const std::vector<QVariant>& values) const
{
    const Cursor& c = *m_cursor;
    if (c.orderIndex >= 0)
        return c.file->indexKey(c.file->indexes()[size_t(c.orderIndex)], values);
    QByteArray key;
    for (int col : c.orderCols)
        db_detail::appendKeyPart(key, db_detail::fieldKey(c.file->columns()[size_t(col)].type, values[size_t(col)]));
    return key;
}

bool TTable::inRange(const QByteArray& key) const
{
    const Cursor& c = *m_cursor;
    return (!c.hasLo || key.compare(c.lo) >= 0) && (!c.hasHi || key.compare(c.hi) < 0);
}

int TTable::lowerBound(const QByteArray& key, qint64 rid) const
{
    const Cursor& c = *m_cursor;
    for (;;) {
        int lo = 0, hi = c.keys.held();
        if (c.orderCols.empty()) {
            while (lo < hi) {
                const int mid = (lo + hi) / 2;
                if (c.keys.at(mid) < rid)
                    lo = mid + 1;
                else
                    hi = mid;
            }
        } else {
            while (lo < hi) {
                const int mid = (lo + hi) / 2;
                if (compareKeys(c.keys.keyAt(mid), c.keys.at(mid), key, rid) < 0)
                    lo = mid + 1;
                else
                    hi = mid;
            }
        }
        // Past every held row: its place is among the rows not read yet.
        if (lo < c.keys.held() || c.keys.complete())
            return lo;
        c.keys.hold(c.keys.held() + std::max(c.keys.held(), kKeyPage));
    }
}

void TTable::computeRange()
{
    Cursor& c = *m_cursor;
    c.hasLo = c.hasHi = false;
    c.lo.clear();
    c.hi.clear();
    auto lower = [&](const QByteArray& v) {
        if (!c.hasLo || v.compare(c.lo) > 0)
            c.lo = v;
        c.hasLo = true;
    };
    auto upper = [&](const QByteArray& v) {
        if (!c.hasHi || v.compare(c.hi) < 0)
            c.hi = v;
        c.hasHi = true;
    };
    if (c.masterOn) {
        lower(c.mlo);
        upper(c.mhi);
    }
    if (c.userOn) {
        if (!c.ulo.isEmpty())
            lower(c.ulo);
        if (!c.uhi.isEmpty())
            upper(c.uhi);
    }
}

quint64 TTable::ChangeStamp() const
{
    if (m_viewStamp == 0 || m_state != m_stampedState) {
        m_stampedState = m_state;
        m_viewStamp = DbFile::nextChangeStamp();
    }
    // Both come from one rising counter: the larger moves with either.
    return m_cursor ? std::max(m_viewStamp, m_cursor->file->changeCounter()) : m_viewStamp;
}

void TTable::reload()
{
    Cursor& c = *m_cursor;
    m_viewStamp = DbFile::nextChangeStamp();
    stopStream(true);
    computeRange();
    c.keys.clear();
    c.lookups.clear();
    if (!c.memOrder) {
        // The keys are read a page at a time as positions are asked for.
        Cursor* cursor = &c;
        c.keys.setLoader([cursor](Keyset& keys, int upTo) { cursor->loadKeys(keys, upTo); },
                         [cursor](Keyset& keys, qint64 rid) { return cursor->findRow(keys, rid); });
        // The first page; the rows are counted only when there are more.
        c.keys.setTotal(std::numeric_limits<int>::max());
        c.keys.hold(0);
        if (!c.keys.complete()) {
            Stmt& count = c.file->cached(QStringLiteral("SELECT count(*) FROM data") + c.rangeCondition(false));
            c.bindRange(count);
            count.step();
            c.keys.setTotal(int(count.columnInt(0)));
            count.reset();
        }
    } else {
        QStringList exprs;
        for (int col : c.orderCols)
            exprs << c.colExpr(col);
        Stmt s(c.file->db(), QStringLiteral("SELECT \"_rid\",%1 FROM data").arg(exprs.join(u',')));
        std::vector<std::pair<QByteArray, qint64>> rows;
        while (s.step()) {
            QByteArray key;
            for (size_t i = 0; i < c.orderCols.size(); ++i) {
                const TFieldType t = c.file->columns()[size_t(c.orderCols[i])].type;
                db_detail::appendKeyPart(key, db_detail::fieldKey(t, s.columnValue(int(i) + 1, t)));
            }
            if (inRange(key))
                rows.emplace_back(std::move(key), s.columnInt(0));
        }
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return compareKeys(a.first, a.second, b.first, b.second) < 0;
        });
        for (const auto& r : rows)
            c.keys.push_back(r.second, r.first);
    }
    c.seen = c.file->changeCounter();
    c.stale = false;
    c.lastRead = -2;
    c.seqCount = 0;
}

// ===================================================================== records

void TTable::clearCurrent()
{
    std::fill(m_current.values.begin(), m_current.values.end(), QVariant());
    std::fill(m_current.loaded.begin(), m_current.loaded.end(), 1);
    m_current.rowid = 0;
    m_lazy = false;
}

bool TTable::fetchRow(qint64 rid, Record& into) const
{
    Cursor& c = *m_cursor;
    prepareFetch();
    c.fetch.bindInt(1, rid);
    const bool found = c.fetch.step();
    if (found) {
        const auto& cols = c.file->columns();
        into.rowid = rid;
        for (int i = 0; i < c.nCols; ++i)
            into.values[size_t(i)] = c.fetch.columnValue(cols[size_t(i)].select, cols[size_t(i)].type);
        for (size_t i = size_t(c.nCols); i < into.values.size(); ++i)
            into.values[i] = QVariant();
        std::fill(into.loaded.begin(), into.loaded.end(), 1);
    }
    c.fetch.reset();
    return found;
}

void TTable::prepareFetch() const
{
    Cursor& c = *m_cursor;
    if (!c.fetch)
        c.fetch = Stmt(c.file->db(), QStringLiteral("SELECT %1 FROM data WHERE \"_rid\"=?1").arg(c.file->selectList()));
}

void TTable::loadByRowid() const
{
    auto& self = const_cast<TTable&>(*this);
    Cursor& c = *m_cursor;
    prepareFetch();
    c.fetch.bindInt(1, m_current.rowid);
    const bool found = c.fetch.step();
    const auto& cols = c.file->columns();
    for (int i = 0; i < c.nCols; ++i)
        if (!self.m_current.loaded[size_t(i)]) {
            // A row deleted since the walk read it shows its missing fields blank.
            self.m_current.values[size_t(i)] =
                found ? c.fetch.columnValue(cols[size_t(i)].select, cols[size_t(i)].type) : QVariant();
            self.m_current.loaded[size_t(i)] = 1;
        }
    c.fetch.reset();
    self.m_lazy = false;
}

void TTable::materialize() const
{
    if (!m_lazy)
        return;
    auto& self = const_cast<TTable&>(*this);
    Cursor& c = *m_cursor;
    const auto& cols = c.file->columns();
    bool missing = false;
    for (int i = 0; i < c.nCols; ++i)
        if (!self.m_current.loaded[size_t(i)]) {
            const int at = c.streamPos >= 0 && size_t(i) < c.streamSel.size() ? c.streamSel[size_t(i)] : -1;
            if (at < 0) {
                missing = true;
                continue;
            }
            self.m_current.values[size_t(i)] = c.stream.columnValue(at, cols[size_t(i)].type);
            self.m_current.loaded[size_t(i)] = 1;
        }
    if (missing)
        loadByRowid();
    self.m_lazy = false;
}

void TTable::stopStream(bool keepCurrent)
{
    Cursor& c = *m_cursor;
    if (keepCurrent)
        materialize();
    m_lazy = false;
    if (c.stream)
        c.stream.reset();
    c.streamPos = -1;
}

bool TTable::startStream(int p)
{
    Cursor& c = *m_cursor;
    if (c.memOrder)
        return false;
    const auto& cols = c.file->columns();
    // Once a walk has shown which columns are read, later walks read only
    // those (a column asked for besides joins from the next row).
    if (c.seqCount >= kNarrowAfter)
        c.learned = true;
    const bool narrow = c.learned;
    std::vector<int> sel(size_t(c.nCols), -1);
    QString list = QStringLiteral("\"_rid\"");
    int at = 1;
    for (int i = 0; i < c.nCols; ++i) {
        const db_detail::Column& col = cols[size_t(i)];
        if (col.type == ftAutoInc)
            sel[size_t(i)] = 0;
        else if (!narrow || c.wanted[size_t(i)]) {
            list += u',' + quoted(col.name);
            sel[size_t(i)] = at++;
        }
    }
    const QString k = c.keyColumn();
    c.wantedGrew = false;
    // From the row after the one before `p` (the walk has it), or from the
    // start of the range.
    const bool seek = p > 0;
    const QString sql = k.isEmpty()
        ? QStringLiteral("SELECT %1 FROM data%2 ORDER BY \"_rid\"").arg(list, c.rangeCondition(seek))
        : QStringLiteral("SELECT %1 FROM data%2 ORDER BY %3, \"_rid\"").arg(list, c.rangeCondition(seek), k);
    if (!c.stream || sql != c.streamSql) {
        // Walk statements are kept by their text: a detail walked anew for
        // every master row prepares each of its few statements once.
        if (c.stream) {
            c.stream.reset();
            c.streams.insert(c.streamSql, std::make_shared<Stmt>(std::move(c.stream)));
        }
        const auto kept = c.streams.take(sql);
        c.stream = kept ? std::move(*kept) : Stmt(c.file->db(), sql);
        c.streamSql = sql;
    } else {
        c.stream.reset();
    }
    c.streamSel = std::move(sel);
    sqlite3_clear_bindings(c.stream.get());
    c.bindRange(c.stream);
    if (seek) {
        const qint64 before = c.keys.at(p - 1);
        if (!k.isEmpty())
            c.stream.bindBlob(3, c.keys.knowsKey(p - 1) ? c.keys.keyAt(p - 1) : c.keyOf(before));
        c.stream.bindInt(4, before);
    }
    c.streamPos = p - 1;
    return true;
}

void TTable::readRowAt(int p)
{
    Cursor& c = *m_cursor;
    m_lazy = false;
    c.pos = p;
    if (p < 0 || p >= c.keys.size()) {
        c.pos = -1;
        clearCurrent();
        stopStream(false);
        calculateFields();
        return;
    }
    const bool known = c.keys.knows(p);
    qint64 rid = known ? c.keys.at(p) : 0;
    const bool sequential = p == c.lastRead + 1;
    c.lastRead = p;
    c.seqCount = sequential ? c.seqCount + 1 : 0;
    if (c.wanted.size() != size_t(c.nCols)) {
        c.wanted.assign(size_t(c.nCols), 0);
        c.wantedGrew = false;
        c.learned = false;
    }
    if (!c.memOrder) {
        bool tryStream = false;
        if (c.streamPos >= 0 && c.streamPos == p - 1)
            // Narrow the walk to the columns read so far, or widen it by a
            // column read since.
            tryStream = (c.seqCount == kNarrowAfter || c.wantedGrew) ? startStream(p) : true;
        else if (sequential && c.seqCount >= 1)
            tryStream = startStream(p);
        if (tryStream) {
            if (c.stream.step() && (!known || c.stream.columnInt(0) == rid)) {
                rid = c.stream.columnInt(0);
                if (!known)
                    c.keys.passBy(p, rid);
                c.streamPos = p;
                m_current.rowid = rid;
                std::fill(m_current.loaded.begin(), m_current.loaded.begin() + c.nCols, 0);
                for (size_t i = size_t(c.nCols); i < m_current.values.size(); ++i)
                    m_current.values[i] = QVariant();
                m_lazy = true;
                calculateFields();
                return;
            }
            stopStream(false);
        } else if (c.streamPos >= 0) {
            stopStream(false);
        }
    }
    if (!known)
        rid = c.keys.at(p);
    if (!fetchRow(rid, m_current)) {
        // The row went away behind this cursor: read the file again.
        reload();
        c.pos = std::min(p, c.keys.size() - 1);
        if (c.pos >= 0 && fetchRow(c.keys.at(c.pos), m_current)) {
            calculateFields();
            return;
        }
        c.pos = -1;
        clearCurrent();
    }
    calculateFields();
}

void TTable::calculateFields()
{
    bool any = false;
    for (const auto& f : m_fields)
        if (f->m_kind == fkCalculated) {
            m_current.values[size_t(f->m_column)] = QVariant();
            any = true;
        }
    if (!any || !OnCalcFields || m_inCalc)
        return;
    const TDataSetState saved = m_state;
    m_state = dsCalcFields;
    m_inCalc = true;
    try {
        OnCalcFields(*this);
    } catch (...) {
        m_state = saved;
        m_inCalc = false;
        throw;
    }
    m_state = saved;
    m_inCalc = false;
}

QVariant TTable::rawValue(const TField& field) const
{
    checkActive();
    if (field.m_column < 0)
        return {};
    const_cast<TTable*>(this)->ensureMaster();
    if (field.m_kind == fkLookup)
        return lookupValue(field);
    const size_t slot = size_t(field.m_column);
    if (m_state == dsSetKey && field.m_kind == fkData)
        return m_keyBuffer.values[slot];
    Cursor& c = *m_cursor;
    if (m_peekDepth == 0 && slot < c.wanted.size() && !c.wanted[slot]) {
        c.wanted[slot] = 1;
        if (slot < c.streamSel.size() && c.streamSel[slot] < 0)
            c.wantedGrew = true;
    }
    if (!m_current.loaded[slot]) {
        // a value the walk statement no longer holds is read by row id
        const int at = c.streamPos >= 0 && slot < c.streamSel.size() ? c.streamSel[slot] : -1;
        if (at < 0) {
            loadByRowid();
        } else {
            auto& self = const_cast<TTable&>(*this);
            self.m_current.values[slot] = c.stream.columnValue(at, c.file->columns()[slot].type);
            self.m_current.loaded[slot] = 1;
        }
    }
    return m_current.values[slot];
}

void TTable::setRawValue(TField& field, const QVariant& value)
{
    checkActive();
    ensureMaster();
    if (field.m_kind == fkLookup)
        throw EDatabaseError(QStringLiteral("Pole '%1' nie może być modyfikowane").arg(field.FieldName()));
    const size_t slot = size_t(field.m_column);
    if (m_state == dsCalcFields) {
        if (field.m_kind != fkCalculated)
            throw EDatabaseError(kNotEditing);
        m_current.values[slot] = db_detail::toFieldValue(field.m_type, field.m_size, value, field.FieldName());
        return;
    }
    if (m_peekDepth > 0)
        throw EDatabaseError(kNotEditing);
    if (m_state == dsSetKey) {
        if (field.m_kind != fkData
            || std::find(m_cursor->orderCols.begin(), m_cursor->orderCols.end(), field.m_column) == m_cursor->orderCols.end())
            throw EDatabaseError(QStringLiteral("Pole '%1' nie należy do klucza indeksu").arg(field.FieldName()));
        m_keyBuffer.values[slot] = db_detail::toFieldValue(field.m_type, field.m_size, value, field.FieldName());
        m_keyAssigned[slot] = 1;
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        throw EDatabaseError(kNotEditing);
    if (field.m_kind == fkCalculated) {
        m_current.values[slot] = db_detail::toFieldValue(field.m_type, field.m_size, value, field.FieldName());
        m_viewStamp = DbFile::nextChangeStamp();
        dataEvent(int(TDataSource::Event::RecordChanged), 0, &field);
        return;
    }
    if (field.m_readOnly)
        throw EDatabaseError(QStringLiteral("Pole '%1' nie może być modyfikowane").arg(field.FieldName()));
    materialize();
    QVariant v = db_detail::toFieldValue(field.m_type, field.m_size, value, field.FieldName());
    QVariant old = m_current.values[slot];
    m_current.values[slot] = v;
    m_viewStamp = DbFile::nextChangeStamp();
    if (field.OnValidate) {
        try {
            field.OnValidate(field);
        } catch (...) {
            m_current.values[slot] = old;
            throw;
        }
    }
    m_modified = true;
    calculateFields();
    if (field.OnChange)
        field.OnChange(field);
    dataEvent(int(TDataSource::Event::RecordChanged), 0, &field);
}

QVariant TTable::lookupValue(const TField& field) const
{
    TTable* lt = field.m_lookupDataSet;
    if (!lt || !lt->m_cursor)
        return {};
    const QStringList keys = splitNames(field.m_keyFields);
    const QStringList lkeys = splitNames(field.m_lookupKeyFields);
    if (keys.isEmpty() || keys.size() != lkeys.size())
        return {};
    QVariantList values;
    QString cacheKey;
    for (const QString& k : keys) {
        const QVariant v = FieldByName(k)->Value();
        if (!v.isValid())
            return {};
        values << v;
        cacheKey += v.toString() + QChar(0x1f);
    }
    DbFile& lf = *lt->m_cursor->file;
    auto& cache = m_cursor->lookups[&field];
    if (cache.file != &lf || cache.counter != lf.changeCounter()) {
        cache.values.clear();
        cache.file = &lf;
        cache.counter = lf.changeCounter();
    }
    auto it = cache.values.constFind(cacheKey);
    if (it != cache.values.constEnd())
        return *it;
    const int resCol = lf.columnOf(field.m_lookupResultField);
    if (resCol < 0)
        throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(lf.displayName(), field.m_lookupResultField));
    auto expr = [&](int col) {
        const auto& c = lf.columns()[size_t(col)];
        return c.type == ftAutoInc ? QStringLiteral("\"_rid\"") : quoted(c.name);
    };
    QStringList cond;
    std::vector<int> cols;
    for (const QString& k : lkeys) {
        const int col = lf.columnOf(k);
        if (col < 0)
            throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(lf.displayName(), k));
        cols.push_back(col);
        cond << expr(col) + QStringLiteral("=?");
    }
    Stmt& s = lf.cached(QStringLiteral("SELECT %1 FROM data WHERE %2 ORDER BY \"_rid\" LIMIT 1")
                            .arg(expr(resCol), cond.join(QStringLiteral(" AND "))));
    for (size_t i = 0; i < cols.size(); ++i) {
        const auto& c = lf.columns()[size_t(cols[i])];
        s.bindValue(int(i) + 1, c.type, db_detail::toFieldValue(c.type, c.size, values[int(i)], c.name));
    }
    QVariant result;
    if (s.step())
        result = s.columnValue(0, lf.columns()[size_t(resCol)].type);
    s.reset();
    cache.values.insert(cacheKey, result);
    return result;
}

// ===================================================================== events

void TTable::dataEvent(int event, int info, TField* field)
{
    const auto ev = TDataSource::Event(event);
    if (ev != TDataSource::Event::UpdateData && m_disableCount > 0)
        return;
    const auto sources = m_sources;
    for (TDataSource* s : sources)
        if (std::find(m_sources.begin(), m_sources.end(), s) != m_sources.end())
            s->notify(ev, info, field);
}

void TTable::setState(TDataSetState state)
{
    if (state == m_state)
        return;
    m_state = state;
    dataEvent(int(TDataSource::Event::EditingChanged));
}

void TTable::notifyDetails()
{
    const auto sources = m_sources;
    for (TDataSource* s : sources) {
        const auto details = s->m_details;
        for (TTable* d : details)
            d->masterChanged();
    }
}

bool TTable::hasActiveLinks() const
{
    if (m_disableCount > 0)
        return false;
    for (TDataSource* s : m_sources)
        if (s->Enabled() && !s->m_links.empty())
            return true;
    return false;
}

void TTable::masterChanged()
{
    if (!m_cursor)
        return;
    if (m_state == dsEdit || m_state == dsInsert)
        CheckBrowseMode();
    if (m_state == dsSetKey)
        setState(m_stateBeforeKey);
    if (!m_cursor)
        return; // a handler of the post closed the table
    m_cursor->stale = true;
    notifyDetails();
    if (hasActiveLinks()) {
        ensureMaster();
        dataEvent(int(TDataSource::Event::DataSetChanged));
    }
}

void TTable::applyMasterRange()
{
    Cursor& c = *m_cursor;
    c.masterOn = false;
    if (!m_masterSource || m_masterFields.isEmpty() || c.orderCols.empty())
        return;
    TTable* master = m_masterSource->DataSet();
    if (!master)
        return;
    const QStringList names = splitNames(m_masterFields);
    QVariantList values;
    for (const QString& n : names) {
        if (master->Active()) {
            TField* f = master->FindField(n);
            if (!f)
                throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(master->Name(), n));
            values << f->Value();
        } else {
            values << QVariant();
        }
    }
    while (values.size() > int(c.orderCols.size()))
        values.removeLast();
    c.mlo = keyFromValues(values);
    c.mhi = db_detail::upperOf(c.mlo);
    c.masterOn = true;
}

void TTable::ensureMaster()
{
    if (!m_cursor || !m_cursor->stale || m_state == dsInactive)
        return;
    if (m_state != dsBrowse && m_state != dsSetKey) {
        // an edit in progress keeps its record until posted or cancelled
        return;
    }
    m_cursor->stale = false;
    applyMasterRange();
    reload();
    m_cursor->bof = true;
    readRowAt(m_cursor->keys.size() > 0 ? 0 : -1);
    m_cursor->eof = m_cursor->keys.size() == 0;
    notifyDetails();
}

void TTable::ensureFresh()
{
    ensureMaster();
    if (!m_cursor || m_cursor->file->changeCounter() == m_cursor->seen)
        return;
    Cursor& c = *m_cursor;
    const qint64 rid = c.pos >= 0 ? c.keys.at(c.pos) : 0;
    const int oldPos = c.pos;
    reload();
    int p = rid ? c.keys.indexOf(rid) : -1;
    if (p < 0)
        p = std::min(std::max(oldPos, 0), c.keys.size() - 1);
    if (m_state == dsBrowse) {
        readRowAt(p);
        if (c.keys.size() == 0)
            c.bof = c.eof = true;
        if (p < 0 || rid != m_current.rowid)
            notifyDetails();
    } else {
        c.pos = p;
        if (c.keys.size() == 0)
            c.bof = c.eof = true;
    }
}

bool TTable::runCheckOperation(const std::function<void()>& op, const TDataSetErrorEvent& handler)
{
    const quint64 generation = m_generation;
    for (;;) {
        try {
            op();
            return true;
        } catch (EDatabaseError& e) {
            TDataAction action = daFail;
            if (handler)
                handler(*this, e, action);
            // A handler that closed the table leaves nothing to retry.
            if (action == daFail || closedSince(generation))
                throw;
            if (action == daAbort)
                throw EAbort();
        }
    }
}

// ===================================================================== open/close

void TTable::Open()
{
    if (m_state != dsInactive)
        return;
    if (m_tableName.isEmpty())
        throw EDatabaseError(QStringLiteral("Nie podano nazwy zbioru danych %1").arg(Name()));
    if (BeforeOpen)
        BeforeOpen(*this);
    auto cursor = std::make_unique<Cursor>();
    cursor->file = DbFile::open(resolvedPath(), QFileInfo(m_tableName).fileName());
    m_cursor = std::move(cursor);
    try {
        bindFields();
        chooseOrder();
        m_fieldDefs.Clear();
        for (const auto& col : m_cursor->file->columns())
            m_fieldDefs.Add(col.name, col.type, col.size);
        m_indexDefs.Clear();
        for (const auto& ix : m_cursor->file->indexes())
            m_indexDefs.Add(ix.name, ix.fields.join(u';'), ix.options);
        m_state = dsBrowse;
        applyMasterRange();
        reload();
        readRowAt(m_cursor->keys.size() > 0 ? 0 : -1);
        m_cursor->bof = true;
        m_cursor->eof = m_cursor->keys.size() == 0;
    } catch (...) {
        m_state = dsInactive;
        m_cursor.reset();
        ++m_generation;
        removeDynamicFields();
        throw;
    }
    m_modified = false;
    dataEvent(int(TDataSource::Event::ActiveChanged));
    notifyDetails();
    if (AfterOpen)
        AfterOpen(*this);
    if (AfterScroll && m_cursor && m_cursor->keys.size() > 0)
        AfterScroll(*this);
}

void TTable::Close()
{
    if (m_state == dsInactive)
        return;
    if (m_state == dsSetKey)
        setState(m_stateBeforeKey);
    CheckBrowseMode();
    if (m_state == dsInactive)
        return; // a handler of the post closed the table already
    if (BeforeClose)
        BeforeClose(*this);
    if (m_state == dsInactive)
        return;
    m_cursor.reset();
    ++m_generation;
    m_lazy = false;
    m_state = dsInactive;
    m_modified = false;
    removeDynamicFields();
    dataEvent(int(TDataSource::Event::ActiveChanged));
    notifyDetails();
    if (AfterClose)
        AfterClose(*this);
}

// ===================================================================== files

void TTable::CreateTable()
{
    checkInactive();
    if (m_tableName.isEmpty())
        throw EDatabaseError(QStringLiteral("Nie podano nazwy zbioru danych %1").arg(Name()));
    std::vector<TFieldDef> defs = m_fieldDefs.items();
    if (defs.empty())
        for (const auto& f : m_fields)
            if (f->m_kind == fkData)
                defs.push_back({f->FieldName(), f->m_type, f->m_size, f->m_required});
    DbFile::create(resolvedPath(), defs, m_indexDefs.items());
    if (m_fieldDefs.Count() == 0)
        m_fieldDefs.items() = defs;
}

void TTable::CreateTableLike(const TTable& source)
{
    checkInactive();
    m_fieldDefs = source.m_fieldDefs;
    if (m_fieldDefs.Count() == 0)
        for (const auto& f : source.m_fields)
            if (f->m_kind == fkData)
                m_fieldDefs.Add(f->FieldName(), f->m_type, f->m_size, f->m_required);
    m_indexDefs = source.m_indexDefs;
    CreateTable();
}

void TTable::EmptyTable()
{
    if (m_state != dsInactive) {
        leaveEditing();
        checkCanModify();
        stopStream(false);
        m_cursor->file->deleteAll();
        m_cursor->file->bumpChange();
        reload();
        readRowAt(-1);
        m_cursor->bof = m_cursor->eof = true;
        dataEvent(int(TDataSource::Event::DataSetChanged));
        notifyDetails();
        return;
    }
    auto file = DbFile::open(resolvedPath(), QFileInfo(m_tableName).fileName());
    file->deleteAll();
    file->bumpChange();
}

void TTable::DeleteTable()
{
    checkInactive();
    const QString path = resolvedPath();
    if (DbFile::isOpen(path))
        throw EDatabaseError(QStringLiteral("Zbiór danych %1 jest używany").arg(QFileInfo(m_tableName).fileName()));
    for (const QString& p : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")})
        if (QFileInfo::exists(p) && !QFile::remove(p))
            throw EDatabaseError(QStringLiteral("Nie można usunąć zbioru danych %1").arg(QFileInfo(m_tableName).fileName()));
}

void TTable::FlushBuffers()
{
    if (m_state == dsInactive)
        return;
    CheckBrowseMode();
}

// ===================================================================== navigation

void TTable::checkSameOpen(quint64 generation) const
{
    if (closedSince(generation))
        throw EDatabaseError(kClosed);
}

bool TTable::notifyChange(bool details, quint64 generation)
{
    dataEvent(int(TDataSource::Event::EditingChanged));
    if (closedSince(generation))
        return false;
    dataEvent(int(TDataSource::Event::DataSetChanged));
    if (closedSince(generation))
        return false;
    if (details)
        notifyDetails();
    return !closedSince(generation);
}

bool TTable::positionAndNotify(int p, bool scrolled, int distance, Edge bof, Edge eof)
{
    readRowAt(p);
    Cursor& c = *m_cursor;
    const bool empty = c.keys.size() == 0;
    c.bof = bof == Edge::Yes || (bof == Edge::IfEmpty && empty);
    c.eof = eof == Edge::Yes || (eof == Edge::IfEmpty && empty);
    if (c.eof && c.streamPos >= 0)
        stopStream(true); // the walk is over: let the file go
    const quint64 generation = m_generation;
    if (scrolled)
        dataEvent(int(TDataSource::Event::Scrolled), distance);
    else
        dataEvent(int(TDataSource::Event::DataSetChanged));
    if (closedSince(generation))
        return false;
    notifyDetails();
    return !closedSince(generation);
}

// Runs BeforeScroll; raises when a handler closed the table meanwhile.
void TTable::beforeScroll()
{
    const quint64 generation = m_generation;
    if (BeforeScroll)
        BeforeScroll(*this);
    checkSameOpen(generation);
}

void TTable::First()
{
    leaveEditing();
    ensureFresh();
    beforeScroll();
    Cursor& c = *m_cursor;
    c.lastRead = -2;
    if (positionAndNotify(c.keys.size() > 0 ? 0 : -1, false, 0, Edge::Yes, Edge::IfEmpty) && AfterScroll)
        AfterScroll(*this);
}

void TTable::Last()
{
    leaveEditing();
    ensureFresh();
    beforeScroll();
    Cursor& c = *m_cursor;
    if (positionAndNotify(c.keys.size() - 1, false, 0, Edge::IfEmpty, Edge::Yes) && AfterScroll)
        AfterScroll(*this);
}

int TTable::MoveBy(int distance)
{
    leaveEditing();
    ensureFresh();
    beforeScroll();
    Cursor& c = *m_cursor;
    int moved = 0;
    if ((distance > 0 && !c.eof) || (distance < 0 && !c.bof)) {
        bool bof = false;
        bool eof = false;
        const int n = c.keys.size();
        qint64 target = qint64(c.pos) + distance;
        if (target >= n) {
            target = n - 1;
            eof = true;
        }
        if (target < 0) {
            target = n > 0 ? 0 : -1;
            bof = true;
        }
        if (n == 0)
            bof = eof = true;
        moved = int(target) - c.pos;
        if (moved != 0) {
            if (!positionAndNotify(int(target), true, moved, bof ? Edge::Yes : Edge::No, eof ? Edge::Yes : Edge::No))
                return moved;
        } else {
            c.bof = bof;
            c.eof = eof;
            if (c.eof && c.streamPos >= 0)
                stopStream(true); // the walk is over: let the file go
        }
    }
    if (AfterScroll)
        AfterScroll(*this);
    return moved;
}

void TTable::Next()
{
    MoveBy(1);
}

void TTable::Prior()
{
    MoveBy(-1);
}

bool TTable::Bof() const
{
    checkActive();
    const_cast<TTable*>(this)->ensureMaster();
    return m_cursor->bof;
}

bool TTable::Eof() const
{
    checkActive();
    const_cast<TTable*>(this)->ensureMaster();
    return m_cursor->eof;
}

bool TTable::IsEmpty() const
{
    checkActive();
    const_cast<TTable*>(this)->ensureFresh();
    return m_state != dsInsert && m_cursor->keys.size() == 0;
}

int TTable::RecordCount() const
{
    checkActive();
    const_cast<TTable*>(this)->ensureFresh();
    return m_cursor->keys.size();
}

int TTable::RecNo() const
{
    checkActive();
    const_cast<TTable*>(this)->ensureMaster();
    if (m_state == dsInsert)
        return 0;
    return m_cursor->pos + 1;
}

void TTable::setRecNo(int recNo)
{
    leaveEditing();
    ensureFresh();
    Cursor& c = *m_cursor;
    if (c.keys.size() == 0)
        return;
    const int target = std::clamp(recNo, 1, c.keys.size()) - 1;
    if (target == c.pos)
        return;
    beforeScroll();
    const int distance = target - m_cursor->pos;
    if (positionAndNotify(target, true, distance, Edge::No, Edge::No) && AfterScroll)
        AfterScroll(*this);
}

void TTable::Refresh()
{
    leaveEditing();
    ensureMaster();
    Cursor& c = *m_cursor;
    const qint64 rid = c.pos >= 0 ? c.keys.at(c.pos) : 0;
    const int oldPos = c.pos;
    reload();
    int p = rid ? c.keys.indexOf(rid) : -1;
    if (p < 0)
        p = std::min(std::max(oldPos, 0), c.keys.size() - 1);
    positionAndNotify(p, false, 0, Edge::IfEmpty, Edge::IfEmpty);
}

// ===================================================================== editing

void TTable::leaveEditing()
{
    CheckBrowseMode();
    checkActive(); // a handler of the post may have closed the table
}

void TTable::CheckBrowseMode()
{
    checkActive();
    if (m_state == dsSetKey) {
        setState(m_stateBeforeKey);
        return;
    }
    if (m_state == dsEdit || m_state == dsInsert) {
        dataEvent(int(TDataSource::Event::UpdateData)); // may modify the record
        if (m_state != dsEdit && m_state != dsInsert)
            return; // a control cancelled or closed
        if (m_modified)
            postRecord();
        else
            Cancel();
    }
}

void TTable::UpdateRecord()
{
    checkActive();
    if (m_state != dsEdit && m_state != dsInsert)
        throw EDatabaseError(kNotEditing);
    dataEvent(int(TDataSource::Event::UpdateData));
}

void TTable::doInsert(bool append)
{
    leaveEditing();
    ensureFresh();
    checkCanModify();
    const quint64 generation = m_generation;
    if (BeforeInsert)
        BeforeInsert(*this);
    if (BeforeScroll)
        BeforeScroll(*this);
    checkSameOpen(generation);
    Cursor& c = *m_cursor;
    stopStream(false);
    // Append goes to the end first: a cancel lands on the last record.
    c.posBeforeInsert = append ? c.keys.size() - 1 : c.pos;
    c.insertPos = append ? c.keys.size() : std::max(c.pos, 0);
    clearCurrent();
    m_old = m_current;
    m_state = dsInsert;
    try {
        if (m_masterSource && m_masterSource->DataSet() && m_masterSource->DataSet()->Active() && c.masterOn) {
            const QStringList names = splitNames(m_masterFields);
            TTable* master = m_masterSource->DataSet();
            for (int i = 0; i < names.size() && i < int(c.orderNames.size()); ++i) {
                TField* target = FindField(c.orderNames[i]);
                if (!target)
                    continue;
                const QVariant v = master->FieldByName(names[i])->Value();
                const size_t slot = size_t(target->m_column);
                m_current.values[slot] = db_detail::toFieldValue(target->m_type, target->m_size, v, target->FieldName());
            }
        }
        if (OnNewRecord)
            OnNewRecord(*this);
        checkSameOpen(generation);
    } catch (...) {
        if (!closedSince(generation)) {
            m_state = dsBrowse;
            c.insertPos = -1;
            readRowAt(c.posBeforeInsert);
        }
        throw;
    }
    m_modified = false;
    calculateFields();
    if (!notifyChange(true, generation))
        return;
    if (AfterInsert)
        AfterInsert(*this);
    if (AfterScroll && !closedSince(generation))
        AfterScroll(*this);
}

void TTable::Insert()
{
    doInsert(false);
}

void TTable::Append()
{
    doInsert(true);
}

void TTable::Edit()
{
    checkActive();
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    if (m_state == dsSetKey)
        setState(m_stateBeforeKey);
    ensureFresh();
    if (m_cursor->keys.size() == 0) {
        Insert();
        return;
    }
    checkCanModify();
    const quint64 generation = m_generation;
    if (BeforeEdit)
        BeforeEdit(*this);
    checkSameOpen(generation);
    if (m_state != dsBrowse)
        return; // the handler began the edit or insert itself
    stopStream(false);
    Cursor& c = *m_cursor;
    // Read the record again: another component may have changed it.
    if (!fetchRow(c.keys.at(c.pos), m_current)) {
        reload();
        readRowAt(std::min(c.pos, c.keys.size() - 1));
        dataEvent(int(TDataSource::Event::DataSetChanged));
        throw EDatabaseError(QStringLiteral("Rekord został usunięty przez innego użytkownika"));
    }
    calculateFields();
    m_old = m_current;
    m_state = dsEdit;
    m_modified = false;
    dataEvent(int(TDataSource::Event::EditingChanged));
    if (closedSince(generation))
        return;
    dataEvent(int(TDataSource::Event::RecordChanged));
    if (AfterEdit && !closedSince(generation))
        AfterEdit(*this);
}

void TTable::doPost()
{
    Cursor& c = *m_cursor;
    DbFile& file = *c.file;
    materialize();
    const bool inserting = m_state == dsInsert;
    const bool wasFresh = c.seen == file.changeCounter();
    const auto& cols = file.columns();
    const auto& indexes = file.indexes();

    std::vector<QVariant> values(m_current.values.begin(), m_current.values.begin() + c.nCols);
    qint64 rid = m_current.rowid;
    if (inserting) {
        // The row id is chosen first, so that keys holding the
        // autoincrement field are right at the first write.
        rid = file.nextRowid();
        if (file.rowidColumn() >= 0)
            values[size_t(file.rowidColumn())] = int(rid);
    }
    // The row's place in this cursor's order is found before the write,
    // while the key set still matches the file: rows its search reads from
    // the file must not already hold the row being written.
    const QByteArray key = keyOfRecord(values);
    const bool placed = wasFresh && inRange(key);
    int place = placed ? lowerBound(key, rid) : -1;
    int oldPlace = -1;
    if (wasFresh && !inserting) {
        oldPlace = c.pos >= 0 && c.pos < c.keys.size() && c.keys.knows(c.pos) && c.keys.at(c.pos) == rid
            ? c.pos
            : c.keys.indexOf(rid);
        if (placed && oldPlace >= 0 && oldPlace < place)
            --place; // the row leaves its old place first
    }
    file.begin();
    try {
        Stmt& s = inserting ? file.insertStmt() : file.updateStmt();
        int i = 1;
        s.bindInt(i++, rid);
        for (size_t k = 0; k < cols.size(); ++k)
            if (cols[k].type != ftAutoInc)
                s.bindValue(i++, cols[k].type, values[k]);
        for (const auto& ix : indexes)
            s.bindBlob(i++, file.indexKey(ix, values));
        s.step();
        s.reset();
        if (!inserting && sqlite3_changes(file.db()) == 0)
            throw EDatabaseError(QStringLiteral("Rekord został usunięty przez innego użytkownika"));
        file.commit();
    } catch (EDatabaseError& e) {
        file.rollback();
        if (e.message() == u"#unique")
            throw EDatabaseError(QStringLiteral("Naruszenie klucza unikalnego w zbiorze %1").arg(file.displayName()));
        throw;
    }
    file.bumpChange();
    std::copy(values.begin(), values.end(), m_current.values.begin());
    m_current.rowid = rid;

    // Place the posted row in this cursor's order.
    const int oldPos = c.pos;
    if (!wasFresh) {
        reload();
        c.pos = c.keys.indexOf(rid);
    } else {
        c.seen = file.changeCounter();
        if (oldPlace >= 0)
            c.keys.erase(oldPlace);
        if (placed) {
            c.keys.insert(place, rid, key);
            if (!c.keys.knows(place))
                c.keys.passBy(place, rid, key);
            c.pos = place;
        } else {
            c.pos = -1;
        }
    }
    if (c.pos < 0) {
        c.pos = std::min(std::max(inserting ? c.posBeforeInsert : oldPos, 0), c.keys.size() - 1);
        m_current.rowid = 0; // read again below
    }
    c.insertPos = -1;
}

void TTable::Post()
{
    checkActive();
    if (m_state == dsSetKey)
        setState(m_stateBeforeKey);
    UpdateRecord();
    postRecord();
}

void TTable::postRecord()
{
    if (m_state != dsEdit && m_state != dsInsert)
        return; // a control cancelled the edit while handing over its text
    if (BeforePost)
        BeforePost(*this);
    if (m_state != dsEdit && m_state != dsInsert)
        return; // the handler cancelled the edit itself
    const quint64 generation = m_generation;
    runCheckOperation([this] { doPost(); }, OnPostError);
    m_modified = false;
    m_state = dsBrowse;
    Cursor& c = *m_cursor;
    c.lastRead = -2;
    if (c.pos >= 0 && m_current.rowid != 0 && c.keys.at(c.pos) == m_current.rowid) {
        std::fill(m_current.loaded.begin(), m_current.loaded.end(), 1);
        calculateFields();
    } else {
        readRowAt(c.pos);
    }
    c.bof = c.eof = c.keys.size() == 0;
    if (notifyChange(true, generation) && AfterPost)
        AfterPost(*this);
}

void TTable::Cancel()
{
    checkActive();
    if (m_state == dsSetKey) {
        setState(m_stateBeforeKey);
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    const quint64 generation = m_generation;
    if (BeforeCancel)
        BeforeCancel(*this);
    if (closedSince(generation) || (m_state != dsEdit && m_state != dsInsert))
        return; // the handler closed the table or ended the edit
    Cursor& c = *m_cursor;
    const bool wasInsert = m_state == dsInsert;
    m_modified = false;
    m_state = dsBrowse;
    int p = c.pos;
    if (wasInsert) {
        p = c.posBeforeInsert;
        c.insertPos = -1;
    }
    if (p >= c.keys.size())
        p = c.keys.size() - 1;
    readRowAt(p);
    if (notifyChange(wasInsert, generation) && AfterCancel)
        AfterCancel(*this);
}

void TTable::Delete()
{
    checkActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (m_state == dsSetKey)
        setState(m_stateBeforeKey);
    if (m_state == dsBrowse)
        ensureFresh();
    if (m_cursor->keys.size() == 0 || m_cursor->pos < 0)
        throw EDatabaseError(kEmpty);
    checkCanModify();
    const quint64 generation = m_generation;
    if (BeforeDelete)
        BeforeDelete(*this);
    if (BeforeScroll)
        BeforeScroll(*this);
    checkSameOpen(generation);
    Cursor& c = *m_cursor;
    if (c.keys.size() == 0 || c.pos < 0)
        throw EDatabaseError(kEmpty);
    const qint64 rid = c.keys.at(c.pos);
    runCheckOperation(
        [&] {
            stopStream(false);
            DbFile& file = *c.file;
            const bool wasFresh = c.seen == file.changeCounter();
            file.deleteRow(rid);
            file.bumpChange();
            if (wasFresh) {
                c.keys.erase(c.pos);
                c.seen = file.changeCounter();
            } else {
                reload();
            }
        },
        OnDeleteError);
    m_modified = false;
    m_state = dsBrowse;
    c.lastRead = -2;
    readRowAt(std::min(c.pos, c.keys.size() - 1));
    c.bof = c.eof = c.keys.size() == 0;
    if (!notifyChange(true, generation))
        return;
    if (AfterDelete)
        AfterDelete(*this);
    if (AfterScroll && !closedSince(generation))
        AfterScroll(*this);
}

// ===================================================================== index and keys

void TTable::reorder()
{
    if (!m_cursor)
        return;
    CheckBrowseMode();
    if (!m_cursor)
        return;
    Cursor& c = *m_cursor;
    const qint64 rid = c.pos >= 0 ? c.keys.at(c.pos) : 0;
    stopStream(false);
    chooseOrder();
    c.userOn = false;
    applyMasterRange();
    reload();
    int p = rid ? c.keys.indexOf(rid) : -1;
    if (p < 0)
        p = c.keys.size() > 0 ? 0 : -1;
    positionAndNotify(p, false, 0, Edge::IfEmpty, Edge::IfEmpty);
}

void TTable::setIndexFieldNames(const QString& fields)
{
    m_indexFieldNames = fields;
    m_indexName.clear();
    reorder();
}

void TTable::setIndexName(const QString& name)
{
    m_indexName = name;
    m_indexFieldNames.clear();
    reorder();
}

void TTable::SetKey()
{
    leaveEditing();
    std::fill(m_keyBuffer.values.begin(), m_keyBuffer.values.end(), QVariant());
    std::fill(m_keyAssigned.begin(), m_keyAssigned.end(), 0);
    m_stateBeforeKey = m_state;
    setState(dsSetKey);
}

void TTable::EditKey()
{
    leaveEditing();
    m_stateBeforeKey = m_state;
    setState(dsSetKey);
}

QVariantList TTable::keyBufferValues() const
{
    QVariantList values;
    for (int col : m_cursor->orderCols) {
        if (!m_keyAssigned[size_t(col)])
            break;
        values << m_keyBuffer.values[size_t(col)];
    }
    return values;
}

bool TTable::GotoKey()
{
    checkActive();
    if (m_state != dsSetKey)
        throw EDatabaseError(QStringLiteral("Zbiór danych nie jest w trybie ustawiania klucza"));
    const QVariantList values = keyBufferValues();
    setState(m_stateBeforeKey);
    return FindKey(values);
}

void TTable::GotoNearest()
{
    checkActive();
    if (m_state != dsSetKey)
        throw EDatabaseError(QStringLiteral("Zbiór danych nie jest w trybie ustawiania klucza"));
    const QVariantList values = keyBufferValues();
    setState(m_stateBeforeKey);
    FindNearest(values);
}

int TTable::findKeyPosition(const QVariantList& values, bool nearest)
{
    Cursor& c = *m_cursor;
    if (c.orderCols.empty())
        throw EDatabaseError(QStringLiteral("%1: zbiór danych nie ma aktywnego indeksu").arg(c.file->displayName()));
    const QByteArray key = keyFromValues(values);
    const int p = lowerBound(key, std::numeric_limits<qint64>::min());
    if (nearest)
        return std::min(p, c.keys.size() - 1);
    if (p < c.keys.size() && c.keys.keyAt(p).startsWith(key))
        return p;
    return -1;
}

bool TTable::FindKey(const QVariantList& values)
{
    leaveEditing();
    ensureFresh();
    const int p = findKeyPosition(values, false);
    if (p < 0)
        return false;
    beforeScroll();
    m_cursor->lastRead = -2;
    if (positionAndNotify(p, false, 0, Edge::No, Edge::No) && AfterScroll)
        AfterScroll(*this);
    return true;
}

void TTable::FindNearest(const QVariantList& values)
{
    leaveEditing();
    ensureFresh();
    const int p = findKeyPosition(values, true);
    beforeScroll();
    m_cursor->lastRead = -2;
    if (positionAndNotify(p, false, 0, Edge::IfEmpty, Edge::IfEmpty) && AfterScroll)
        AfterScroll(*this);
}

void TTable::SetRange(const QVariantList& startValues, const QVariantList& endValues)
{
    leaveEditing();
    ensureMaster();
    Cursor& c = *m_cursor;
    if (c.orderCols.empty())
        throw EDatabaseError(QStringLiteral("%1: zbiór danych nie ma aktywnego indeksu").arg(c.file->displayName()));
    c.ulo = startValues.isEmpty() ? QByteArray() : keyFromValues(startValues);
    c.uhi = endValues.isEmpty() ? QByteArray() : db_detail::upperOf(keyFromValues(endValues));
    c.userOn = true;
    reload();
    positionAndNotify(c.keys.size() > 0 ? 0 : -1, false, 0, Edge::Yes, Edge::IfEmpty);
}

void TTable::CancelRange()
{
    leaveEditing();
    Cursor& c = *m_cursor;
    if (!c.userOn)
        return;
    c.userOn = false;
    reload();
    positionAndNotify(c.keys.size() > 0 ? 0 : -1, false, 0, Edge::Yes, Edge::IfEmpty);
}

QString TTable::matchCondition(const QStringList& names, const QVariantList& values, TLocateOptions options,
                               std::vector<std::pair<TFieldType, QVariant>>& binds) const
{
    const Cursor& c = *m_cursor;
    if (names.size() != values.size() || names.isEmpty())
        throw EDatabaseError(QStringLiteral("%1: liczba pól i wartości wyszukiwania nie zgadza się").arg(c.file->displayName()));
    QStringList cond;
    for (int i = 0; i < names.size(); ++i) {
        const int col = c.file->columnOf(names[i]);
        if (col < 0)
            throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(c.file->displayName(), names[i]));
        const auto& column = c.file->columns()[size_t(col)];
        const QString expr = c.colExpr(col);
        const bool text = column.type == ftString || column.type == ftMemo;
        QVariant v;
        if (text && values[i].isValid())
            v = values[i].toString().isEmpty() ? QVariant() : QVariant(values[i].toString());
        else
            v = db_detail::toFieldValue(column.type, 0, values[i], column.name);
        if (!v.isValid()) {
            cond << expr + QStringLiteral(" IS NULL");
            continue;
        }
        if (text && options != 0) {
            cond << QStringLiteral("kal_match(%1, ?, %2)").arg(expr).arg(options);
            binds.emplace_back(ftString, v);
        } else {
            cond << expr + QStringLiteral("=?");
            binds.emplace_back(column.type, v);
        }
    }
    return cond.join(QStringLiteral(" AND "));
}

bool TTable::Locate(const QString& fieldNames, const QVariantList& values, TLocateOptions options)
{
    leaveEditing();
    ensureFresh();
    Cursor& c = *m_cursor;
    std::vector<std::pair<TFieldType, QVariant>> binds;
    const QString cond = matchCondition(splitNames(fieldNames), values, options, binds);
    Stmt s(c.file->db(), QStringLiteral("SELECT \"_rid\" FROM data WHERE %1").arg(cond));
    for (size_t i = 0; i < binds.size(); ++i)
        s.bindValue(int(i) + 1, binds[i].first, binds[i].second);
    QSet<qint64> hits;
    while (s.step())
        hits.insert(s.columnInt(0));
    if (hits.isEmpty())
        return false;
    int p = -1;
    if (hits.size() == 1) {
        p = c.keys.indexOf(*hits.begin());
    } else {
        for (int i = 0; i < c.keys.size(); ++i)
            if (hits.contains(c.keys.at(i))) {
                p = i;
                break;
            }
    }
    if (p < 0)
        return false;
    beforeScroll();
    c.lastRead = -2;
    if (positionAndNotify(p, false, 0, Edge::No, Edge::No) && AfterScroll)
        AfterScroll(*this);
    return true;
}

QVariant TTable::Lookup(const QString& keyFields, const QVariantList& values, const QString& resultField)
{
    checkActive();
    Cursor& c = *m_cursor;
    const int res = c.file->columnOf(resultField);
    if (res < 0)
        throw EDatabaseError(QStringLiteral("%1: nie znaleziono pola '%2'").arg(c.file->displayName(), resultField));
    std::vector<std::pair<TFieldType, QVariant>> binds;
    const QString cond = matchCondition(splitNames(keyFields), values, 0, binds);
    Stmt s(c.file->db(), QStringLiteral("SELECT %1 FROM data WHERE %2 ORDER BY \"_rid\" LIMIT 1").arg(c.colExpr(res), cond));
    for (size_t i = 0; i < binds.size(); ++i)
        s.bindValue(int(i) + 1, binds[i].first, binds[i].second);
    if (s.step())
        return s.columnValue(0, c.file->columns()[size_t(res)].type);
    return {};
}

// ===================================================================== master/detail

void TTable::setMasterSource(TDataSource* source)
{
    if (source == m_masterSource)
        return;
    if (m_cursor)
        CheckBrowseMode(); // a handler of the post may close the table: the link changes all the same
    if (m_masterSource) {
        auto& v = m_masterSource->m_details;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    m_masterSource = source;
    if (m_masterSource)
        m_masterSource->m_details.push_back(this);
    if (m_cursor) {
        applyMasterRange();
        reload();
        positionAndNotify(m_cursor->keys.size() > 0 ? 0 : -1, false, 0, Edge::Yes, Edge::IfEmpty);
    }
}

void TTable::setMasterFields(const QString& fields)
{
    m_masterFields = fields;
    if (m_cursor && m_masterSource) {
        CheckBrowseMode();
        if (!m_cursor)
            return;
        applyMasterRange();
        reload();
        positionAndNotify(m_cursor->keys.size() > 0 ? 0 : -1, false, 0, Edge::Yes, Edge::IfEmpty);
    }
}

TMasterLinkGuard::TMasterLinkGuard(TTable& detail, bool refreshNow) : m_detail(detail), m_source(detail.MasterSource())
{
    // Cutting the link moves the table and tells its controls; should one of
    // them raise there (or in the refresh), the link is given back before the
    // error goes on, since no destructor runs for a guard not yet made.
    try {
        detail.setMasterSource(nullptr);
        if (refreshNow && detail.Active())
            detail.Refresh();
    } catch (...) {
        restore();
        throw;
    }
}

TMasterLinkGuard::~TMasterLinkGuard()
{
    restore();
}

void TMasterLinkGuard::restore() noexcept
{
    try {
        if (m_detail.Active() && (m_detail.State() == dsEdit || m_detail.State() == dsInsert))
            m_detail.Cancel();
        m_detail.setMasterSource(m_source);
        if (m_detail.Active())
            m_detail.Refresh();
    } catch (...) {
        // the link itself is back; a failed refresh shows on the next move
        m_detail.m_masterSource = m_source;
        if (m_source && std::find(m_source->m_details.begin(), m_source->m_details.end(), &m_detail) == m_source->m_details.end())
            m_source->m_details.push_back(&m_detail);
        if (m_detail.m_cursor)
            m_detail.m_cursor->stale = true;
    }
}

// ===================================================================== bookmarks, controls

TTable::TBookmark TTable::GetBookmark() const
{
    checkActive();
    const_cast<TTable*>(this)->ensureMaster();
    if (m_state == dsInsert || m_cursor->pos < 0)
        return 0;
    return m_cursor->keys.at(m_cursor->pos);
}

bool TTable::BookmarkValid(TBookmark bookmark) const
{
    if (!m_cursor || bookmark == 0)
        return false;
    const_cast<TTable*>(this)->ensureFresh();
    return m_cursor->keys.indexOf(bookmark) >= 0;
}

void TTable::GotoBookmark(TBookmark bookmark)
{
    leaveEditing();
    ensureFresh();
    const int p = bookmark ? m_cursor->keys.indexOf(bookmark) : -1;
    if (p < 0)
        throw EDatabaseError(QStringLiteral("Nie znaleziono rekordu"));
    beforeScroll();
    m_cursor->lastRead = -2;
    if (positionAndNotify(p, false, 0, Edge::No, Edge::No) && AfterScroll)
        AfterScroll(*this);
}

void TTable::DisableControls()
{
    ++m_disableCount;
}

void TTable::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_state != dsInactive)
        dataEvent(int(TDataSource::Event::DataSetChanged));
}

// ===================================================================== grid rows

int TTable::GridRowCount() const
{
    if (!m_cursor)
        return 0;
    const_cast<TTable*>(this)->ensureFresh();
    return m_cursor->keys.size() + (m_state == dsInsert ? 1 : 0);
}

int TTable::GridRowOfCurrent() const
{
    if (!m_cursor)
        return -1;
    const_cast<TTable*>(this)->ensureMaster();
    return m_state == dsInsert ? m_cursor->insertPos : m_cursor->pos;
}

TTable::ActiveRecordScope::ActiveRecordScope(TTable& table, int row) : m_table(table)
{
    if (!table.m_cursor || row < 0)
        return;
    table.ensureMaster();
    Cursor& c = *table.m_cursor;
    const int current = table.GridRowOfCurrent();
    if (row == current) {
        m_valid = true;
        return;
    }
    int index = row;
    if (table.m_state == dsInsert && row > c.insertPos)
        --index;
    if (index < 0 || index >= c.keys.size())
        return;
    Record peeked;
    peeked.values.assign(table.m_current.values.size(), QVariant());
    peeked.loaded.assign(table.m_current.loaded.size(), 1);
    if (!table.fetchRow(c.keys.at(index), peeked))
        return;
    table.m_peekStack.push_back(std::move(table.m_current));
    table.m_peekLazy.push_back(table.m_lazy);
    table.m_current = std::move(peeked);
    table.m_lazy = false;
    ++table.m_peekDepth;
    m_swapped = true;
    m_valid = true;
    try {
        table.calculateFields();
    } catch (...) {
        // a failing calculation shows blank calculated fields
    }
}

TTable::ActiveRecordScope::~ActiveRecordScope()
{
    if (!m_swapped)
        return;
    m_table.m_current = std::move(m_table.m_peekStack.back());
    m_table.m_peekStack.pop_back();
    m_table.m_lazy = m_table.m_peekLazy.back();
    m_table.m_peekLazy.pop_back();
    --m_table.m_peekDepth;
}

} // namespace kal
