// Write groups: one transaction per file for many posts.
#include "WriteGroup.h"

#include "TableCursor.h"

#include <algorithm>

namespace kal {

namespace db_detail {

void WriteGroupState::commit()
{
    while (!files.empty()) {
        const std::shared_ptr<DbFile> file = files.front();
        files.erase(files.begin());
        try {
            file->endGroup(true);
        } catch (const EDatabaseError& e) {
            undone.push_back(file);
            undo(e.message());
            throw;
        }
    }
}

void WriteGroupState::undo(const QString& why) noexcept
{
    if (spent.isEmpty())
        spent = why;
    for (const std::shared_ptr<DbFile>& file : files) {
        file->endGroup(false);
        undone.push_back(file);
    }
    files.clear();
}

} // namespace db_detail

using db_detail::WriteGroupState;
using db_detail::openWriteGroup;

TWriteGroup::TWriteGroup()
{
    WriteGroupState*& open = openWriteGroup();
    if (!open) {
        open = new WriteGroupState;
        m_outer = true;
    }
    m_state = open;
    ++m_state->depth;
}

TWriteGroup::~TWriteGroup()
{
    if (!m_committed)
        m_state->undo(QStringLiteral("Zmiany przerwanej operacji zostały wycofane"));
    --m_state->depth;
    refreshUndone(*m_state);
    if (m_outer) {
        WriteGroupState*& open = openWriteGroup();
        if (open == m_state)
            open = nullptr;
        delete m_state;
    }
}

void TWriteGroup::Commit()
{
    if (!m_state->spent.isEmpty())
        throw EDatabaseError(m_state->spent);
    if (m_outer)
        m_state->commit();
    m_committed = true;
}

bool TWriteGroup::Intact() const
{
    return m_state->spent.isEmpty();
}

bool TWriteGroup::Active()
{
    return openWriteGroup() != nullptr;
}

void TWriteGroup::refreshUndone(WriteGroupState& group) noexcept
{
    const std::vector<std::shared_ptr<db_detail::DbFile>> files = std::move(group.undone);
    group.undone.clear();
    for (const auto& file : files) {
        const std::vector<TTable*> tables = file->tables();
        for (TTable* table : tables) {
            // A handler of an earlier refresh may have closed or freed it.
            const auto& now = file->tables();
            if (std::find(now.begin(), now.end(), table) == now.end())
                continue;
            try {
                table->showStoredRows();
            } catch (...) {
            }
        }
    }
}

TWriteGroupPause::TWriteGroupPause() : m_paused(openWriteGroup())
{
    openWriteGroup() = nullptr;
}

TWriteGroupPause::~TWriteGroupPause()
{
    openWriteGroup() = m_paused;
}

// ------------------------------------------------------------ the components

void TTable::showStoredRows()
{
    if (!m_cursor)
        return;
    if (m_state == dsBrowse) {
        Refresh();
        return;
    }
    // An edit or insert keeps its record; the rows around it are read again.
    ensureFresh();
    Cursor& c = *m_cursor;
    if (c.insertPos > c.keys.size())
        c.insertPos = c.keys.size();
    dataEvent(int(TDataSource::Event::DataSetChanged));
}

} // namespace kal
