#include "DataSource.h"

namespace kal::report {

ListDataSource::ListDataSource(QStringList columns)
{
    setColumns(columns);
}

void ListDataSource::setColumns(const QStringList& columns)
{
    m_index.clear();
    for (int i = 0; i < columns.size(); ++i)
        m_index.insert(columns[i].toUpper(), i);
}

void ListDataSource::addRow(const QStringList& row)
{
    m_rows.push_back(row);
}

QString ListDataSource::fieldText(const QString& field) const
{
    if (m_pos >= m_rows.size())
        return {};
    const auto it = m_index.constFind(field.toUpper());
    if (it == m_index.constEnd())
        return {};
    const QStringList& row = m_rows[m_pos];
    return it.value() < row.size() ? row[it.value()] : QString();
}

} // namespace kal::report
