// The table component's editing: field writes, insert, edit, post, cancel
// and delete with their events.
#include "TableCursor.h"

#include <algorithm>

namespace kal {

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
        m_current.values[slot] = db_detail::toFieldValue(field.m_type, field.m_size, value, field.DisplayLabel());
        return;
    }
    if (m_peekDepth > 0)
        throw EDatabaseError(kNotEditing);
    if (m_state == dsSetKey) {
        if (field.m_kind != fkData
            || std::find(m_cursor->orderCols.begin(), m_cursor->orderCols.end(), field.m_column) == m_cursor->orderCols.end())
            throw EDatabaseError(QStringLiteral("Pole '%1' nie należy do klucza indeksu").arg(field.FieldName()));
        m_keyBuffer.values[slot] = db_detail::toFieldValue(field.m_type, field.m_size, value, field.DisplayLabel());
        m_keyAssigned[slot] = 1;
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        throw EDatabaseError(kNotEditing);
    if (field.m_kind == fkCalculated) {
        m_current.values[slot] = db_detail::toFieldValue(field.m_type, field.m_size, value, field.DisplayLabel());
        m_viewStamp = DbFile::nextChangeStamp();
        dataEvent(int(TDataSource::Event::RecordChanged), 0, &field);
        return;
    }
    if (field.m_readOnly)
        throw EDatabaseError(QStringLiteral("Pole '%1' nie może być modyfikowane").arg(field.FieldName()));
    materialize();
    QVariant v = db_detail::toFieldValue(field.m_type, field.m_size, value, field.DisplayLabel());
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
            throw EDatabaseError(QStringLiteral("Naruszenie klucza unikalnego w zbiorze %1").arg(file.displayName()),
                                 EDatabaseError::Kind::KeyViolation);
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

} // namespace kal
