// The table component: its fields, events, opening and closing, and the
// files it makes, empties and deletes.
#include "TableCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace kal {

const TFieldDef* TFieldDefs::Find(const QString& name) const
{
    for (const TFieldDef& d : m_defs)
        if (d.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &d;
    return nullptr;
}

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
    m_calcSlots.clear();
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
            if (f->m_kind == fkCalculated)
                m_calcSlots.push_back(f->m_column);
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

quint64 TTable::ChangeStamp() const
{
    if (m_viewStamp == 0 || m_state != m_stampedState) {
        m_stampedState = m_state;
        m_viewStamp = DbFile::nextChangeStamp();
    }
    // Both come from one rising counter: the larger moves with either.
    return m_cursor ? std::max(m_viewStamp, m_cursor->file->changeCounter()) : m_viewStamp;
}

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

void TTable::Open()
{
    if (m_state != dsInactive)
        return;
    if (m_tableName.isEmpty())
        throw EDatabaseError(QStringLiteral("Nie podano nazwy zbioru danych %1").arg(Name()));
    if (BeforeOpen)
        BeforeOpen(*this);
    auto cursor = std::make_unique<Cursor>();
    cursor->attach(DbFile::open(resolvedPath(), QFileInfo(m_tableName).fileName()), this);
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

} // namespace kal
