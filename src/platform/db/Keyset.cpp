#include "Keyset.h"

#include <algorithm>
#include <limits>

namespace kal::db_detail {

namespace {
constexpr size_t kBlock = 4096;
// A walk adds the rows it reads to the held ones up to this many; past
// them it keeps a window of the latest.
constexpr int kWalkHeld = 16384;
constexpr size_t kWindow = 4096;
// Rows past the held ones that are read into the held ones rather than
// into a window of their own.
constexpr int kNear = 16384;
const QByteArray kNoKey;
} // namespace

std::pair<size_t, int> Keyset::locate(int i) const
{
    auto it = std::upper_bound(m_starts.begin(), m_starts.end(), i);
    const size_t b = size_t(it - m_starts.begin()) - 1;
    return {b, i - m_starts[b]};
}

qint64 Keyset::at(int i) const
{
    if (i >= m_size) {
        if (inWindow(i))
            return m_winIds[size_t(i - m_winStart)];
        reach(i);
        if (inWindow(i))
            return m_winIds[size_t(i - m_winStart)];
        if (i >= m_size || i < 0)
            return 0; // the file holds fewer rows than counted: no row
    }
    const auto [b, k] = locate(i);
    return m_blocks[b].ids[size_t(k)];
}

const QByteArray& Keyset::keyAt(int i) const
{
    if (i >= m_size) {
        if (inWindow(i) && knowsKey(i))
            return m_winLastKey;
        hold(i);
        if (i >= m_size || i < 0)
            return kNoKey;
    }
    const auto [b, k] = locate(i);
    return m_blocks[b].keys[size_t(k)];
}

void Keyset::clear()
{
    m_blocks.clear();
    m_starts.clear();
    m_size = 0;
    m_total = 0;
    m_loader = nullptr;
    m_finder = nullptr;
    m_seeker = nullptr;
    clearWindow();
}

void Keyset::clearWindow()
{
    m_winIds.clear();
    m_winStart = 0;
    m_winKeyKnown = false;
}

void Keyset::push_back(qint64 id, const QByteArray& key)
{
    if (m_blocks.empty() || m_blocks.back().ids.size() >= kBlock) {
        m_blocks.emplace_back();
        m_blocks.back().ids.reserve(kBlock);
        m_blocks.back().keys.reserve(kBlock);
        m_starts.push_back(m_size);
    }
    m_blocks.back().ids.push_back(id);
    m_blocks.back().keys.push_back(key);
    ++m_size;
    m_total = std::max(m_total, m_size);
}

void Keyset::hold(int i) const
{
    if (i < m_size || complete() || !m_loader)
        return;
    auto& self = const_cast<Keyset&>(*this);
    self.clearWindow();
    const Loader loader = m_loader; // the loader may be replaced while it runs
    loader(self, i);
}

void Keyset::reach(int i) const
{
    if (i < m_size || inWindow(i) || complete())
        return;
    // Near the held rows (a grid scrolled down, a walk) the held rows grow;
    // far from them (the last record, a jump) only a window around is read.
    if (!m_seeker || i - m_size < kNear) {
        hold(i);
        return;
    }
    const int from = std::max(m_size, i - int(kWindow) / 2);
    const int to = std::min(m_total, from + int(kWindow));
    const Seeker seeker = m_seeker;
    seeker(const_cast<Keyset&>(*this), from, to);
}

void Keyset::setWindow(int from, std::vector<qint64> ids)
{
    clearWindow();
    m_winStart = from;
    m_winIds = std::move(ids);
}

void Keyset::insert(int i, qint64 id, const QByteArray& key)
{
    clearWindow();
    if (i > m_size) {
        ++m_total; // a row past the held ones: counted only
        return;
    }
    ++m_total;
    if (i == m_size) {
        push_back(id, key);
        return;
    }
    const auto [b, k] = locate(i);
    Block& block = m_blocks[b];
    block.ids.insert(block.ids.begin() + k, id);
    block.keys.insert(block.keys.begin() + k, key);
    ++m_size;
    if (block.ids.size() > 2 * kBlock) {
        Block tail;
        tail.ids.assign(block.ids.begin() + long(kBlock), block.ids.end());
        tail.keys.assign(block.keys.begin() + long(kBlock), block.keys.end());
        block.ids.resize(kBlock);
        block.keys.resize(kBlock);
        m_blocks.insert(m_blocks.begin() + long(b) + 1, std::move(tail));
        m_starts.insert(m_starts.begin() + long(b) + 1, 0);
    }
    rebuild(b + 1);
}

void Keyset::erase(int i)
{
    clearWindow();
    if (i >= m_size) {
        m_total = std::max(m_size, m_total - 1);
        return;
    }
    --m_total;
    const auto [b, k] = locate(i);
    Block& block = m_blocks[b];
    block.ids.erase(block.ids.begin() + k);
    block.keys.erase(block.keys.begin() + k);
    --m_size;
    if (block.ids.empty()) {
        m_blocks.erase(m_blocks.begin() + long(b));
        m_starts.erase(m_starts.begin() + long(b));
        rebuild(b);
        return;
    }
    rebuild(b + 1);
}

void Keyset::rebuild(size_t from)
{
    for (size_t k = from; k < m_blocks.size(); ++k)
        m_starts[k] = k == 0 ? 0 : m_starts[k - 1] + int(m_blocks[k - 1].ids.size());
}

int Keyset::indexOf(qint64 id) const
{
    for (size_t b = 0; b < m_blocks.size(); ++b) {
        const auto& ids = m_blocks[b].ids;
        auto it = std::find(ids.begin(), ids.end(), id);
        if (it != ids.end())
            return m_starts[b] + int(it - ids.begin());
    }
    if (auto it = std::find(m_winIds.begin(), m_winIds.end(), id); it != m_winIds.end())
        return m_winStart + int(it - m_winIds.begin());
    if (complete())
        return -1;
    if (m_finder) {
        const Finder finder = m_finder;
        return finder(const_cast<Keyset&>(*this), id);
    }
    const int from = m_size;
    hold(std::numeric_limits<int>::max());
    for (int i = from; i < m_size; ++i)
        if (at(i) == id)
            return i;
    return -1;
}

void Keyset::passBy(int i, qint64 id, const QByteArray& key)
{
    if (i < m_size)
        return;
    if (i == m_size && m_size < kWalkHeld && m_winIds.empty()) {
        push_back(id, key);
        return;
    }
    passBy(i, id);
    if (i == m_winStart + int(m_winIds.size()) - 1) {
        m_winLastKey = key;
        m_winKeyKnown = true;
    }
}

void Keyset::passBy(int i, qint64 id)
{
    if (i < m_size || inWindow(i))
        return;
    if (m_winIds.empty() || i != m_winStart + int(m_winIds.size())) {
        clearWindow();
        m_winStart = i;
    }
    m_winIds.push_back(id);
    m_winKeyKnown = false;
    if (m_winIds.size() >= 2 * kWindow) {
        m_winIds.erase(m_winIds.begin(), m_winIds.begin() + long(kWindow));
        m_winStart += int(kWindow);
    }
}

} // namespace kal::db_detail
