#pragma once
// What a report needs of its data: a cursor over records and the text of a
// named field. The report forms adapt their tables to it; the engine knows
// nothing of the dataset engine.

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace kal::report {

class IDataSource {
public:
    virtual ~IDataSource() = default;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // The display text of `field` in the current record; empty when unknown.
    virtual QString fieldText(const QString& field) const = 0;
    // The number of records when known (for progress), else -1.
    virtual int recordCount() const { return -1; }
    // Around a run of a report that reads the source: what else follows its
    // cursor (a window's controls) may rest until the run ends.
    virtual void runStarts() {}
    virtual void runEnds() {}
};

// Records held in memory: named columns, rows of texts.
class ListDataSource final : public IDataSource {
public:
    explicit ListDataSource(QStringList columns = {});
    void setColumns(const QStringList& columns);
    void addRow(const QStringList& row);
    void clear() { m_rows.clear(); m_pos = 0; }

    void first() override { m_pos = 0; }
    void next() override { if (m_pos < m_rows.size()) ++m_pos; }
    bool eof() const override { return m_pos >= m_rows.size(); }
    QString fieldText(const QString& field) const override;
    int recordCount() const override { return static_cast<int>(m_rows.size()); }

private:
    QHash<QString, int> m_index;
    std::vector<QStringList> m_rows;
    std::size_t m_pos = 0;
};

} // namespace kal::report
