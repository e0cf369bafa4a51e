#pragma once
// A report of the tests' own with every band kind: page header and footer,
// title with a run-time memo, column header, a group on the commune with a
// footer that sums it, detail with a child band, a sub-detail of remarks,
// summary, and a forced page break before every group but the first.

#include "Report.h"

#include <QDate>
#include <QLocale>
#include <memory>

namespace kal::report::test {

// The remarks of the current fuel row: a sub-detail source that follows its
// master, as a table linked to the detail would.
class RemarksSource final : public IDataSource {
public:
    RemarksSource(const IDataSource& master, std::vector<std::pair<QString, QString>> remarks)
        : m_master(master), m_all(std::move(remarks)) {}
    void first() override
    {
        m_rows.clear();
        const QString key = m_master.fieldText(QStringLiteral("Pozycja"));
        for (const auto& [owner, text] : m_all)
            if (owner == key)
                m_rows << text;
        m_pos = 0;
    }
    void next() override { ++m_pos; }
    bool eof() const override { return m_pos >= m_rows.size(); }
    QString fieldText(const QString& field) const override
    {
        return field == QLatin1String("Uwaga") && !eof() ? m_rows[m_pos] : QString();
    }

private:
    const IDataSource& m_master;
    std::vector<std::pair<QString, QString>> m_all;
    QStringList m_rows;
    qsizetype m_pos = 0;
};

struct SampleReport {
    Report report;
    ListDataSource fuel{{QStringLiteral("Gmina"), QStringLiteral("Pozycja"), QStringLiteral("Ilosc")}};
    std::unique_ptr<RemarksSource> remarks;
    double groupSum = 0;
    double totalSum = 0;

    static QString Amount(double v) { return QLocale(QLocale::Polish).toString(v, 'f', 2).remove(QChar(0xA0)); }
    static double Read(const QString& text) { return QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); }

    SampleReport()
    {
        fuel.addRow({QStringLiteral("Gdańsk"), QStringLiteral("Benzyna"), QStringLiteral("120,50")});
        fuel.addRow({QStringLiteral("Gdańsk"), QStringLiteral("Olej napędowy"), QStringLiteral("80,00")});
        fuel.addRow({QStringLiteral("Łódź"), QStringLiteral("Gaz płynny"), QStringLiteral("15,25")});
        remarks = std::make_unique<RemarksSource>(
            fuel, std::vector<std::pair<QString, QString>>{{QStringLiteral("Benzyna"), QStringLiteral("stacja A")},
                                                           {QStringLiteral("Benzyna"), QStringLiteral("stacja B")}});

        report.title = QStringLiteral("Wydruk próbny");
        report.font.pointSize = 10;
        report.dataSource = &fuel;
        report.beforePrint = [this](bool&) { groupSum = totalSum = 0; };

        Band* pageHeader = report.addBand(BandType::PageHeader, QStringLiteral("PageHeader"));
        pageHeader->height = 10;
        pageHeader->addLabel(QStringLiteral("LNaglowek"), 0, 0, 100, 5, QStringLiteral("Nagłówek strony"));
        SysData* page = pageHeader->addSysData(QStringLiteral("SPage"), 150, 0, 40, 5, SysData::Data::PageNumber);
        page->prefix = QStringLiteral("Strona ");
        page->alignment = Align::Right;

        Band* title = report.addBand(BandType::Title, QStringLiteral("Title"));
        title->height = 20;
        Label* head = title->addLabel(QStringLiteral("LTytul"), 0, 2, 190, 8, QStringLiteral("Załącznik nr 1"));
        head->font.bold = true;
        head->alignment = Align::Center;
        Memo* firm = title->addMemo(QStringLiteral("MFirma"), 0, 12, 190, 5);
        title->beforePrint = [firm](Band&, bool&) {
            firm->lines.clear();
            firm->lines << QStringLiteral("Podmiot: \"Eko, Sp. z o.o.\"");
        };

        Band* columns = report.addBand(BandType::ColumnHeader, QStringLiteral("Columns"));
        columns->height = 8;
        columns->addLabel(QStringLiteral("LGmina"), 0, 1, 40, 5, QStringLiteral("Gmina"));
        columns->addLabel(QStringLiteral("LPozycja"), 50, 1, 60, 5, QStringLiteral("Pozycja"));
        columns->addLabel(QStringLiteral("LIlosc"), 120, 1, 40, 5, QStringLiteral("Zużycie"))->alignment = Align::Right;

        Band* groupHeader = report.addBand(BandType::GroupHeader, QStringLiteral("GroupHeader"));
        groupHeader->height = 8;
        groupHeader->groupKey = [this] { return fuel.fieldText(QStringLiteral("Gmina")); };
        groupHeader->addDataText(QStringLiteral("DGmina"), 0, 1, 40, 5, QStringLiteral("Gmina"));
        groupHeader->beforePrint = [this](Band& band, bool&) {
            band.forceNewPage = report.recordNumber() > 1;
            groupSum = 0;
        };

        Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
        detail->height = 6;
        detail->addDataText(QStringLiteral("DPozycja"), 50, 0, 60, 5, QStringLiteral("Pozycja"));
        detail->addDataText(QStringLiteral("DIlosc"), 120, 0, 40, 5, QStringLiteral("Ilosc"))->alignment = Align::Right;
        detail->afterPrint = [this](Band&) {
            const double v = Read(fuel.fieldText(QStringLiteral("Ilosc")));
            groupSum += v;
            totalSum += v;
        };
        Band* child = detail->child();
        child->height = 5;
        child->addLabel(QStringLiteral("LUwaga"), 50, 0, 80, 5, QStringLiteral("uwaga: duża ilość"));
        child->beforePrint = [this](Band&, bool& print) { print = Read(fuel.fieldText(QStringLiteral("Ilosc"))) > 100; };

        Band* sub = report.addBand(BandType::SubDetail, QStringLiteral("Remarks"));
        sub->height = 5;
        sub->dataSource = remarks.get();
        sub->addDataText(QStringLiteral("DUwaga"), 60, 0, 60, 5, QStringLiteral("Uwaga"));

        Band* groupFooter = report.addBand(BandType::GroupFooter, QStringLiteral("GroupFooter"));
        groupHeader->groupFooter = groupFooter;
        groupFooter->height = 7;
        groupFooter->addDataText(QStringLiteral("DGminaStopka"), 0, 1, 40, 5, QStringLiteral("Gmina"));
        Memo* sum = groupFooter->addMemo(QStringLiteral("MSuma"), 50, 1, 100, 5);
        sum->stretch = true;
        groupFooter->beforePrint = [this, sum](Band&, bool&) {
            sum->lines.clear();
            sum->lines << QStringLiteral("Razem:") << Amount(groupSum);
        };

        Band* summary = report.addBand(BandType::Summary, QStringLiteral("Summary"));
        summary->height = 10;
        Label* total = summary->addLabel(QStringLiteral("LRazem"), 0, 2, 100, 5);
        summary->beforePrint = [this, total](Band&, bool&) { total->caption = QStringLiteral("Razem: ") + Amount(totalSum); };

        Band* footer = report.addBand(BandType::PageFooter, QStringLiteral("PageFooter"));
        footer->height = 8;
        footer->addLabel(QStringLiteral("LStopka"), 0, 2, 50, 5, QStringLiteral("Stopka"));
        footer->addSysData(QStringLiteral("SData"), 150, 2, 40, 5, SysData::Data::Date)->alignment = Align::Right;
    }
};

} // namespace kal::report::test
