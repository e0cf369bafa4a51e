// Exports of the sample report, compared with the golden files in golden/.
// To regenerate the golden files after a deliberate change of the formats:
//   KALMORA_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=offscreen build/bin/test_report --gtest_filter='Golden*'
// and review the difference before committing it.

#include "Export.h"
#include "CsvTools.h"
#include "SampleReport.h"
#include "TextMetrics.h"

#include "Clock.h"

#include <QFile>
#include <gtest/gtest.h>
#include <array>
#include <ostream>
#include <tuple>

using namespace kal::report;
using kal::report::test::SampleReport;

// Readable texts in the messages of failed expectations.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QByteArray ReadGolden(const QString& name)
{
    QFile file(QStringLiteral(KAL_REPORT_GOLDEN_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void CompareWithGolden(const QString& name, const QByteArray& actual)
{
    if (qEnvironmentVariableIntValue("KALMORA_UPDATE_GOLDEN") == 1) {
        QFile file(QStringLiteral(KAL_REPORT_GOLDEN_DIR "/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(actual);
        return;
    }
    const QByteArray expected = ReadGolden(name);
    ASSERT_FALSE(expected.isEmpty()) << "missing golden file " << name.toStdString();
    EXPECT_EQ(QString::fromUtf8(actual).toStdString(), QString::fromUtf8(expected).toStdString());
}

class Golden : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::SetTodayForTests(QDate(2009, 6, 5));
        model = sample.report.prepare();
    }
    void TearDown() override { kal::SetTodayForTests(QDate()); }
    SampleReport sample;
    std::shared_ptr<const PageModel> model;
};

} // namespace

TEST_F(Golden, Csv)
{
    CompareWithGolden(QStringLiteral("sample.csv"), ExportCsv(*model));
}

TEST_F(Golden, Text)
{
    CompareWithGolden(QStringLiteral("sample.txt"), ExportText(*model));
}

TEST_F(Golden, Html)
{
    CompareWithGolden(QStringLiteral("sample.html"), ExportHtml(*model));
}

TEST_F(Golden, CsvRowsAreWrittenAsAUserReadsThem)
{
    // Independent of the golden files: the first rows of page 1, each text
    // in the column of its heading ("Gmina", "Pozycja", "Zużycie"; the page
    // number stands over "Zużycie"), quoted by RFC 4180 where a text holds a
    // comma or a quote.
    const QString csv = QString::fromUtf8(ExportCsv(*model));
    const QStringList lines = csv.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 13);
    EXPECT_EQ(lines[0], QStringLiteral("Nagłówek strony,,Strona 1"));
    EXPECT_EQ(lines[1], QStringLiteral("Załącznik nr 1,,"));
    EXPECT_EQ(lines[2], QStringLiteral("\"Podmiot: \"\"Eko, Sp. z o.o.\"\"\",,"));
    EXPECT_EQ(lines[3], QStringLiteral("Gmina,Pozycja,Zużycie"));
    EXPECT_EQ(lines[4], QStringLiteral("Gdańsk,,"));
    EXPECT_EQ(lines[5], QStringLiteral(",Benzyna,\"120,50\""));
    // The remarks of the sub-detail stand indented under "Pozycja", and the
    // two lines of the group's total memo stay two records.
    EXPECT_EQ(lines[7], QStringLiteral(",stacja A,"));
    EXPECT_EQ(lines[10], QStringLiteral("Gdańsk,Razem:,"));
    EXPECT_EQ(lines[11], QStringLiteral(",\"200,50\","));
    EXPECT_EQ(lines[12], QStringLiteral("Stopka,,2009-06-05"));
}

TEST(Exports, HtmlEscapesTextsAndKeepsOneBlockPerPage)
{
    PageModel model;
    model.title = QStringLiteral("<Raport & \"test\">");
    PageItem item;
    item.text = QStringLiteral("<b>a & b</b> ż");
    item.font = model.fontIndex(FontDef{});
    item.x2 = 50;
    item.y2 = 5;
    model.addPage({});
    model.addPage(Page{{item}});
    const QString html = QString::fromUtf8(ExportHtml(model));
    EXPECT_TRUE(html.contains(QStringLiteral("<title>&lt;Raport &amp; &quot;test&quot;&gt;</title>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">&lt;b&gt;a &amp; b&lt;/b&gt; ż</div>")));
    EXPECT_FALSE(html.contains(QStringLiteral("<b>")));
    EXPECT_EQ(html.count(QStringLiteral("class=\"page\"")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
}

TEST(Exports, TextsOfOneRowAreOrderedByTheirLeftEdge)
{
    PageModel model;
    Page page;
    auto add = [&](const QString& text, double x, double y) {
        PageItem item;
        item.text = text;
        item.x1 = x;
        item.x2 = x + 20;
        item.y1 = y;
        item.y2 = y + 4;
        page.items.push_back(item);
    };
    add(QStringLiteral("c"), 100, 20.5); // within 1 mm of 20: same row
    add(QStringLiteral("a"), 10, 20);
    add(QStringLiteral("d"), 10, 21.5);  // more than 1 mm below: next row
    add(QStringLiteral("b"), 50, 20.9);
    add(QStringLiteral("x\"y,\nz"), 10, 30);
    model.addPage(page);
    EXPECT_EQ(QString::fromUtf8(ExportCsv(model)), QStringLiteral("a,b,c\r\nd,,\r\n\"x\"\"y,\nz\",,\r\n"));
    // Text export: 2 mm a character, so "a" at column 5, "b" at 25, "c" at 50.
    const QString text = QString::fromUtf8(ExportText(model));
    EXPECT_EQ(text.section(QLatin1Char('\n'), 0, 0),
              QString(5, QLatin1Char(' ')) + QStringLiteral("a") + QString(19, QLatin1Char(' ')) + QStringLiteral("b")
                  + QString(24, QLatin1Char(' ')) + QStringLiteral("c"));
}

// ---- CSV: the texts of a page in the columns of the printed table.

namespace {

// A page model built by hand: texts in boxes (one line each) and rules.
struct Strony {
    PageModel fonts;
    std::vector<Page> pages;
    explicit Strony(int count = 1) : pages(size_t(count)) {}
    void text(const QString& t, double x1, double y1, double x2, Align align = Align::Left, int page = 0,
              double h = 4.0)
    {
        PageItem& item = add(PageItem::Kind::Text, {x1, y1, x2, y1 + h}, page);
        item.text = t;
        item.align = align;
        item.font = fonts.fontIndex(FontDef{});
    }
    void rule(double x1, double y1, double x2, double y2) { add(PageItem::Kind::Line, {x1, y1, x2, y2}, 0); }
    PageItem& add(PageItem::Kind kind, std::array<double, 4> at, int page)
    {
        PageItem& item = pages[size_t(page)].items.emplace_back();
        item.kind = kind;
        std::tie(item.x1, item.y1, item.x2, item.y2) = std::tuple(at[0], at[1], at[2], at[3]);
        return item;
    }
    PageModel model() const
    {
        PageModel m = fonts;
        for (const Page& page : pages)
            m.addPage(page);
        return m;
    }
    QString csv() const { return QString::fromUtf8(ExportCsv(model())); }
};

} // namespace

TEST(ExportCsv, AnEmptyCellKeepsItsFieldSoAFigureStaysUnderItsHeading)
{
    Strony s;
    s.text(QStringLiteral("Lp."), 10, 10, 20, Align::Center);
    s.text(QStringLiteral("Paliwo"), 20, 10, 60, Align::Center);
    s.text(QStringLiteral("Ilość"), 60, 10, 90, Align::Right);
    s.text(QStringLiteral("Stawka"), 90, 10, 120, Align::Right);
    s.text(QStringLiteral("Opłata"), 120, 10, 150, Align::Right);
    // A rate without a quantity; a quantity and a fee without a rate. The
    // figures' boxes stand 1 mm inside their columns.
    s.text(QStringLiteral("1"), 10, 20, 20, Align::Center);
    s.text(QStringLiteral("olej napędowy"), 21, 20, 59);
    s.text(QStringLiteral("10,00"), 91, 20, 119, Align::Right);
    s.text(QStringLiteral("benzyna"), 21, 26, 59);
    s.text(QStringLiteral("2,50"), 61, 26, 89, Align::Right);
    s.text(QStringLiteral("5,00"), 121, 26, 149, Align::Right);
    EXPECT_EQ(s.csv(), QStringLiteral("Lp.,Paliwo,Ilość,Stawka,Opłata\r\n"
                                      "1,olej napędowy,,\"10,00\",\r\n"
                                      ",benzyna,\"2,50\",,\"5,00\"\r\n"));
}

TEST(ExportCsv, ColumnsKeepTheirPlaceFromPageToPage)
{
    // Page 2 has no quantity at all: its fee still stands in the third column.
    Strony s(2);
    s.text(QStringLiteral("Pozycja"), 10, 10, 40);
    s.text(QStringLiteral("Ilość"), 40, 10, 70, Align::Right);
    s.text(QStringLiteral("Opłata"), 70, 10, 100, Align::Right);
    s.text(QStringLiteral("a"), 10, 16, 40);
    s.text(QStringLiteral("1,00"), 40, 16, 70, Align::Right);
    s.text(QStringLiteral("2,00"), 70, 16, 100, Align::Right);
    s.text(QStringLiteral("b"), 10, 10, 40, Align::Left, 1);
    s.text(QStringLiteral("5,00"), 70, 10, 100, Align::Right, 1);
    const auto rows = kal::test::ReadCsv(ExportCsv(s.model()));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], QStringList({"b", "", "5,00"}));
}

TEST(ExportCsv, TheLinesOfARuledCellMakeOneField)
{
    // A description of two lines in a cell ruled left and right, beside fuel
    // sub-rows parted by a rule across the fuel and value columns.
    Strony s;
    s.rule(20, 10, 20, 32);
    s.rule(60, 10, 60, 32);
    s.rule(90, 10, 90, 32);
    s.rule(60, 21, 120, 21);
    s.text(QStringLiteral("1"), 10, 11, 20, Align::Center);
    s.text(QStringLiteral("Silniki w samochodach osobowych"), 21, 11, 59);
    s.text(QStringLiteral("zarejestrowanych do dnia 31.12.1992 r."), 21, 15, 59);
    s.text(QStringLiteral("benzyna"), 61, 11, 89);
    s.text(QStringLiteral("sprężony gaz ziemny(silniki"), 61, 22, 89);
    s.text(QStringLiteral("przebudowane"), 61, 26, 89);
    s.text(QStringLiteral("0,72"), 91, 22, 119, Align::Right);
    const auto rows = kal::test::ReadCsv(ExportCsv(s.model()));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], QStringList({"1", "Silniki w samochodach osobowych zarejestrowanych do dnia 31.12.1992 r.",
                                    "benzyna", ""}));
    EXPECT_EQ(rows[1], QStringList({"", "", "sprężony gaz ziemny(silniki przebudowane", "0,72"}));
}

TEST(ExportCsv, AWrappedTextStaysOneFieldAndLinesOfAListStayRecords)
{
    // No rules: the works of a repair broken at the width of their box are
    // one field; the lines of a memo that the report writes one by one
    // under the values (figures, then the total under a rule of "=" wider
    // than the box) stay records, and the drawn rule is left out.
    const FontDef font;
    const double h = TextMetrics::lineHeight(font);
    const QString works = QStringLiteral("wymiana oleju i filtra powietrza");
    const QStringList lines = TextMetrics::wrap(font, works, 20);
    ASSERT_GE(lines.size(), 2);
    Strony s;
    s.text(QStringLiteral("F/2"), 10, 10, 40, Align::Left, 0, h);
    for (qsizetype i = 0; i < lines.size(); ++i)
        s.text(lines[i], 50, 10 + double(i) * h, 70, Align::Left, 0, h);
    s.text(QStringLiteral("1 250,50"), 80, 10, 110, Align::Right, 0, h);
    double y = 10 + double(lines.size()) * h;
    s.text(QStringLiteral("F/3"), 10, y, 40, Align::Left, 0, h);
    s.text(QStringLiteral("0,00"), 80, y, 110, Align::Right, 0, h);
    const QStringList memo{QStringLiteral("0,50"), QStringLiteral("2,25"), QString(34, QLatin1Char('=')),
                           QStringLiteral("2,75 ")};
    for (const QString& line : memo)
        s.text(line, 80, y += h, 110, Align::Right, 0, h);
    const auto rows = kal::test::ReadCsv(ExportCsv(s.model()));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], QStringList({"F/2", works, "1 250,50"}));
    EXPECT_EQ(rows[1], QStringList({"F/3", "", "0,00"}));
    EXPECT_EQ(rows[2], QStringList({"", "", "0,50"}));
    EXPECT_EQ(rows[3], QStringList({"", "", "2,25"}));
    EXPECT_EQ(rows[4], QStringList({"", "", "2,75"}));
}

TEST(ExportCsv, ABoxReachingIntoANarrowNeighbourStaysInItsColumn)
{
    // The fee column of a statement: its heading and figures fill the column;
    // the grand total leaves room for "zł" at the column's right end.
    Strony s;
    s.text(QStringLiteral("Statement"), 10, 4, 140, Align::Center);
    s.text(QStringLiteral("Kod"), 80, 10, 100, Align::Center);
    s.text(QStringLiteral("Wysokość opłaty"), 100, 10, 140, Align::Center);
    s.text(QStringLiteral("A"), 81, 16, 99, Align::Center);
    s.text(QStringLiteral("0,50"), 101, 16, 139, Align::Right);
    s.text(QStringLiteral("Suma opłat ogółem"), 10, 22, 98, Align::Right);
    s.text(QStringLiteral("101"), 101, 22, 134, Align::Right);
    s.text(QStringLiteral("zł"), 135, 22, 140);
    const auto rows = kal::test::ReadCsv(ExportCsv(s.model()));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], QStringList({"Statement", "", ""}));
    EXPECT_EQ(rows[1], QStringList({"Kod", "Wysokość opłaty", ""}));
    EXPECT_EQ(rows[2], QStringList({"A", "0,50", ""}));
    EXPECT_EQ(rows[3], QStringList({"Suma opłat ogółem", "101", "zł"}));
}
