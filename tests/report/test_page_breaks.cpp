// Where a run starts a new page: never for a break asked for on a page that
// holds no content yet, and not for a band that ends exactly where the page
// footer begins.

#include "Report.h"

#include <gtest/gtest.h>

using namespace kal::report;

namespace {

// The texts of a page with their tops, in the order printed.
std::vector<std::pair<QString, double>> TextsOf(const Page& page)
{
    std::vector<std::pair<QString, double>> out;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text)
            out.emplace_back(item.text, item.y1);
    return out;
}

// A run over rows of (kind, text) with 10 mm detail bands, as the table A
// report prints: a row of kind "1" prints nothing and asks for a new page
// before the next printed band; the others print their text. With a header,
// every page starts with a 10 mm page header "Nagłówek".
std::shared_ptr<const PageModel> RunWithBreaks(const std::vector<QStringList>& rowsOfKindAndText, bool header)
{
    Report report;
    ListDataSource rows({QStringLiteral("Kind"), QStringLiteral("Text")});
    for (const QStringList& row : rowsOfKindAndText)
        rows.addRow(row);
    report.dataSource = &rows;
    if (header) {
        Band* h = report.addBand(BandType::PageHeader, QStringLiteral("Header"));
        h->height = 10;
        h->addLabel(QStringLiteral("LH"), 0, 0, 50, 5, QStringLiteral("Nagłówek"));
    }
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 10;
    detail->addDataText(QStringLiteral("DT"), 0, 0, 50, 5, QStringLiteral("Text"));
    detail->beforePrint = [&](Band&, bool& print) {
        print = rows.fieldText(QStringLiteral("Kind")) != QLatin1String("1");
        if (!print)
            report.newPage();
    };
    return report.prepare();
}

} // namespace

TEST(PageBreaks, ABreakAskedForOnAPageWithOnlyItsHeaderAddsNoPage)
{
    const auto model = RunWithBreaks({{"1", ""}, {"2", "A"}, {"2", "B"}}, true);
    ASSERT_EQ(model->pageCount(), 1);
    const std::vector<std::pair<QString, double>> expected = {
        {QStringLiteral("Nagłówek"), 10.0}, {QStringLiteral("A"), 20.0}, {QStringLiteral("B"), 30.0}};
    EXPECT_EQ(TextsOf(*model->page(0)), expected);
}

TEST(PageBreaks, BreaksAskedForTwiceInARowMakeOneBreak)
{
    // Two breaks before the first text and two between the texts.
    const auto model =
        RunWithBreaks({{"1", ""}, {"1", ""}, {"2", "źródło"}, {"1", ""}, {"1", ""}, {"2", "koniec"}}, false);
    ASSERT_EQ(model->pageCount(), 2);
    const std::vector<std::pair<QString, double>> first = {{QStringLiteral("źródło"), 10.0}};
    const std::vector<std::pair<QString, double>> second = {{QStringLiteral("koniec"), 10.0}};
    EXPECT_EQ(TextsOf(*model->page(0)), first);
    EXPECT_EQ(TextsOf(*model->page(1)), second);
}

TEST(PageBreaks, ABandThatStartsANewPageIsNotPushedOffAnEmptyFirstPage)
{
    Report report;
    ListDataSource rows({QStringLiteral("N")});
    rows.addRow({QStringLiteral("A")});
    rows.addRow({QStringLiteral("B")});
    report.dataSource = &rows;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 10;
    detail->forceNewPage = true;
    detail->addDataText(QStringLiteral("DN"), 0, 0, 20, 5, QStringLiteral("N"));
    const auto model = report.prepare();
    ASSERT_EQ(model->pageCount(), 2);
    const std::vector<std::pair<QString, double>> first = {{QStringLiteral("A"), 10.0}};
    const std::vector<std::pair<QString, double>> second = {{QStringLiteral("B"), 10.0}};
    EXPECT_EQ(TextsOf(*model->page(0)), first);
    EXPECT_EQ(TextsOf(*model->page(1)), second);
}

TEST(PageBreaks, ABandEndingExactlyAtThePageFooterStaysOnItsPage)
{
    // A4 with 10 mm margins: content from 10 to 287 mm, less a 7 mm page
    // footer, ends at 280 mm. Rows of 5.4 mm: 50 of them fill 270 mm exactly,
    // so the 50th ends at 280 mm and stays; the 51st starts page 2. (Fifty
    // additions of 5.4 come to a hair above 280 in binary arithmetic.)
    Report report;
    ListDataSource rows({QStringLiteral("N")});
    for (int i = 1; i <= 100; ++i)
        rows.addRow({QString::number(i)});
    report.dataSource = &rows;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 5.4;
    detail->addDataText(QStringLiteral("DN"), 0, 0, 20, 5, QStringLiteral("N"));
    Band* footer = report.addBand(BandType::PageFooter, QStringLiteral("Footer"));
    footer->height = 7;
    footer->addLabel(QStringLiteral("LF"), 0, 0, 50, 5, QStringLiteral("stopka"));
    const auto model = report.prepare();
    ASSERT_EQ(model->pageCount(), 2);
    for (int p = 0; p < 2; ++p) {
        SCOPED_TRACE(p);
        const auto texts = TextsOf(*model->page(p));
        ASSERT_EQ(texts.size(), 51u);
        EXPECT_EQ(texts.front().first, QString::number(50 * p + 1));
        EXPECT_EQ(texts[49].first, QString::number(50 * p + 50));
        EXPECT_NEAR(texts[49].second, 274.6, 1e-6);
        EXPECT_EQ(texts.back().first, QStringLiteral("stopka"));
        EXPECT_NEAR(texts.back().second, 280.0, 1e-6);
    }
}
