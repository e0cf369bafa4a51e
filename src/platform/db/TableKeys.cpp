// The table component's order: the key set read from the index page by
// page, ranges, key search, Locate and Lookup, bookmarks.
#include "TableCursor.h"

#include <QSet>

#include <algorithm>

namespace kal {

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
                         [cursor](Keyset& keys, qint64 rid) { return cursor->findRow(keys, rid); },
                         [cursor](Keyset& keys, int from, int to) { cursor->seekWindow(keys, from, to); });
        // The first page; the rows are counted only when there are more.
        c.keys.setTotal(std::numeric_limits<int>::max());
        c.keys.hold(0);
        if (!c.keys.complete())
            c.keys.setTotal(int(c.countRows()));
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

int TTable::reloadKeepingPlace()
{
    Cursor& c = *m_cursor;
    const qint64 rid = c.pos >= 0 ? c.keys.at(c.pos) : 0;
    const int oldPos = c.pos;
    reload();
    const int p = rid ? c.keys.indexOf(rid) : -1;
    return p >= 0 ? p : std::min(std::max(oldPos, 0), c.keys.size() - 1);
}

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
        // A string compares without its trailing blanks, also as an older
        // program stored it.
        const QString expr = column.type == ftString ? QStringLiteral("rtrim(%1, ' ')").arg(c.colExpr(col))
                                                     : c.colExpr(col);
        const bool text = column.type == ftString || column.type == ftMemo;
        QVariant v;
        if (text && values[i].isValid()) {
            const QString s = column.type == ftString ? db_detail::withoutTrailingBlanks(values[i].toString())
                                                      : values[i].toString();
            v = s.isEmpty() ? QVariant() : QVariant(s);
        } else
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

} // namespace kal
