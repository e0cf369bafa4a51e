#pragma once
// Internal to the dataset engine: the rows of a cursor's order.

#include <QByteArray>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace kal::db_detail {

// The rows of a cursor's order: row ids, each with its order key. Rows
// [0, held()) are in memory, in blocks so that inserting or removing one row
// in a million costs a small copy; the others are read from the file when a
// position past them is asked for (the loader reads at least up to it, a
// page more). A walk hands the rows it reads past the held ones to the key
// set (passBy): a few more join the held rows, and a short window of the
// latest is kept, so that a walk through a large file needs neither the
// keys read ahead nor their memory.
class Keyset {
public:
    // Reads the rows from held() on, at least up to `upTo` (all of them for
    // INT_MAX), appending them with push_back.
    using Loader = std::function<void(Keyset&, int upTo)>;
    // The position of a row not held, read from the file (-1 when the order
    // has no such row); the finder hands the row to passBy.
    using Finder = std::function<int(Keyset&, qint64 id)>;
    // Reads the row ids of positions [from, to), far from the held rows,
    // and hands them to setWindow.
    using Seeker = std::function<void(Keyset&, int from, int to)>;

    int size() const { return m_total; } // every row of the order
    int held() const { return m_size; }
    bool complete() const { return m_size >= m_total; }
    qint64 at(int i) const;
    const QByteArray& keyAt(int i) const;
    // Empty, and complete until setTotal says otherwise.
    void clear();
    void setLoader(Loader loader, Finder finder, Seeker seeker)
    {
        m_loader = std::move(loader);
        m_finder = std::move(finder);
        m_seeker = std::move(seeker);
    }
    // The row ids of positions from `from` on, read far from the held rows.
    void setWindow(int from, std::vector<qint64> ids);
    void setTotal(int total) { m_total = std::max(total, m_size); }
    void push_back(qint64 id, const QByteArray& key);
    // Makes rows up to `i` held (all of them for INT_MAX).
    void hold(int i) const;
    // Makes row `i` at hand: held when it is near the held rows, else in a
    // window read around it.
    void reach(int i) const;
    // Inserts at `i` (at most held(); a row past the held ones is counted only).
    void insert(int i, qint64 id, const QByteArray& key);
    void erase(int i);
    int indexOf(qint64 id) const;
    // A walk read row `i`, with its key or without.
    void passBy(int i, qint64 id, const QByteArray& key);
    void passBy(int i, qint64 id);
    // The key of row `i` is at hand without reading the file.
    bool knowsKey(int i) const { return i < m_size || (m_winKeyKnown && i == m_winStart + int(m_winIds.size()) - 1); }
    // Row `i` is at hand without reading the file.
    bool knows(int i) const { return i < m_size || inWindow(i); }
    // The loader found the last row: every row is held.
    void markComplete() { m_total = m_size; }

private:
    struct Block {
        std::vector<qint64> ids;
        std::vector<QByteArray> keys;
    };
    std::pair<size_t, int> locate(int i) const;
    void rebuild(size_t from);
    bool inWindow(int i) const { return i >= m_winStart && i < m_winStart + int(m_winIds.size()); }
    void clearWindow();
    std::vector<Block> m_blocks;
    std::vector<int> m_starts;
    int m_size = 0;
    int m_total = 0;
    Loader m_loader;
    Finder m_finder;
    Seeker m_seeker;
    int m_winStart = 0;
    std::vector<qint64> m_winIds; // the window keeps the key of its last row only
    QByteArray m_winLastKey;
    bool m_winKeyKnown = false;
};

} // namespace kal::db_detail
