// The table component's master link: following the master record, cutting
// and re-making the link.
#include "TableCursor.h"

#include <algorithm>

namespace kal {

void TTable::notifyDetails()
{
    if (std::none_of(m_sources.begin(), m_sources.end(), [](const TDataSource* s) { return !s->m_details.empty(); }))
        return; // nothing follows this table (the usual case in a walk)
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
    const int p = reloadKeepingPlace();
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

} // namespace kal
