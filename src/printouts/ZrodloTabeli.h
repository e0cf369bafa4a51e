#pragma once
// A table component of the dataset engine as a report's data: the report
// walks the table's records and prints the display texts of its fields.

#include "platform/report/DataSource.h"

#include <QHash>

#include <initializer_list>
#include <optional>
#include <vector>

namespace kal {
class TField;
class TTable;
}

// The controls bound to some tables rest while a report or a scan walks
// them: a grid or an edit does not follow every record passed, and shows the
// record its table stands on once they are woken (at the latest when the
// object goes).
class SpiaceKontrolki {
public:
    SpiaceKontrolki() = default;
    explicit SpiaceKontrolki(std::initializer_list<kal::TTable*> tabele);
    ~SpiaceKontrolki();
    SpiaceKontrolki(const SpiaceKontrolki&) = delete;
    SpiaceKontrolki& operator=(const SpiaceKontrolki&) = delete;

    void usypiaj(kal::TTable* tabela);
    void obudz();

private:
    std::vector<kal::TTable*> m_tabele;
};

class ZrodloTabeli final : public kal::report::IDataSource {
public:
    explicit ZrodloTabeli(kal::TTable* tabela = nullptr) : m_tabela(tabela) {}

    kal::TTable* tabela() const { return m_tabela; }
    void setTabela(kal::TTable* tabela)
    {
        m_tabela = tabela;
        m_pola.clear();
    }
    // The tables that follow this one (its details, which the report's
    // events may walk for each record): their controls rest during the run
    // too.
    void setTabeleZalezne(std::initializer_list<kal::TTable*> tabele) { m_zalezne = tabele; }
    // After a run, however it ends, the table goes back to the record it
    // stood on (a window shows it).
    void setWracaNaRekord(bool wraca) { m_wraca = wraca; }

    // Walks the table in its current order; without an open table there are
    // no records.
    void first() override;
    void next() override;
    bool eof() const override;
    // The field's display text in the current record (its display format
    // applied); empty for a null value, an unknown field or no record.
    QString fieldText(const QString& pole) const override;
    int recordCount() const override;
    // While a report reads the table, the controls bound to it and to the
    // tables that follow it rest.
    void runStarts() override;
    void runEnds() override;

    // The value of `pole` in the current record; nullopt when the field is
    // null or unknown, or there is no record.
    std::optional<double> wartosc(const QString& pole) const;

private:
    bool maRekord() const;
    const kal::TField* pole(const QString& nazwa) const;
    kal::TTable* m_tabela;
    bool m_wBiegu = false;                              // a report's run reads the table
    bool m_wraca = false;
    qint64 m_znak = 0;                                  // the record to go back to, or 0
    mutable QHash<QString, const kal::TField*> m_pola; // the fields read in the run
    std::vector<kal::TTable*> m_zalezne;
    SpiaceKontrolki m_spiace;
};
