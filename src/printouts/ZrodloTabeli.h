#pragma once
// A table component of the dataset engine as a report's data: the report
// walks the table's records and prints the display texts of its fields.

#include "platform/report/DataSource.h"

#include <optional>

namespace kal {
class TTable;
}

class ZrodloTabeli final : public kal::report::IDataSource {
public:
    explicit ZrodloTabeli(kal::TTable* tabela = nullptr) : m_tabela(tabela) {}

    kal::TTable* tabela() const { return m_tabela; }
    void setTabela(kal::TTable* tabela) { m_tabela = tabela; }

    // Walks the table in its current order; without an open table there are
    // no records.
    void first() override;
    void next() override;
    bool eof() const override;
    // The field's display text in the current record (its display format
    // applied); empty for a null value, an unknown field or no record.
    QString fieldText(const QString& pole) const override;
    int recordCount() const override;

    // The value of `pole` in the current record; nullopt when the field is
    // null or unknown, or there is no record.
    std::optional<double> wartosc(const QString& pole) const;

private:
    bool maRekord() const;
    kal::TTable* m_tabela;
};
