// The table component's rows: reading a record, walks on one statement,
// navigation with its events, and the rows a grid shows.
#include "TableCursor.h"

#include <algorithm>

namespace kal {

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
                // Calculated fields are cleared by their computation, lookup
                // fields are read through, never from their slot.
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
    if (m_calcSlots.empty())
        return;
    for (int slot : m_calcSlots)
        m_current.values[size_t(slot)] = QVariant();
    if (!OnCalcFields || m_inCalc)
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
    return rawRef(field);
}

sqlite3_stmt* TTable::walkColumn(const TField& field, int& at) const
{
    if (m_state != dsBrowse || !m_lazy || m_peekDepth > 0 || field.m_kind != fkData || field.m_column < 0)
        return nullptr;
    const_cast<TTable*>(this)->ensureMaster();
    const size_t slot = size_t(field.m_column);
    if (!m_lazy || m_current.loaded[slot])
        return nullptr;
    Cursor& c = *m_cursor;
    if (slot < c.wanted.size() && !c.wanted[slot]) {
        c.wanted[slot] = 1;
        if (slot < c.streamSel.size() && c.streamSel[slot] < 0)
            c.wantedGrew = true;
    }
    at = c.streamPos >= 0 && c.streamPos == c.pos && slot < c.streamSel.size() ? c.streamSel[slot] : -1;
    return at >= 0 ? c.stream.get() : nullptr;
}

const QVariant& TTable::rawRef(const TField& field) const
{
    static const QVariant none;
    checkActive();
    if (field.m_column < 0)
        return none;
    const_cast<TTable*>(this)->ensureMaster();
    if (field.m_kind == fkLookup) {
        m_lookedUp = lookupValue(field);
        return m_lookedUp;
    }
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
    const int p = reloadKeepingPlace();
    positionAndNotify(p, false, 0, Edge::IfEmpty, Edge::IfEmpty);
}

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
