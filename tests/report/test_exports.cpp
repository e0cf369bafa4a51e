// Exports of the sample report, compared with the golden files in golden/.
// To regenerate the golden files after a deliberate change of the formats:
//   KALMORA_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=offscreen build/bin/test_report --gtest_filter='Golden*'
// and review the difference before committing it.

#include "Export.h"
#include "SampleReport.h"

#include "Clock.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kal::report;
using kal::report::test::SampleReport;

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
    // Independent of the golden files: the first rows of page 1, quoted by
    // RFC 4180 where a text holds a comma or a quote.
    const QString csv = QString::fromUtf8(ExportCsv(*model));
    const QStringList lines = csv.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], QStringLiteral("Nagłówek strony,Strona 1"));
    EXPECT_EQ(lines[1], QStringLiteral("Załącznik nr 1"));
    EXPECT_EQ(lines[2], QStringLiteral("\"Podmiot: \"\"Eko, Sp. z o.o.\"\"\""));
    EXPECT_EQ(lines[3], QStringLiteral("Gmina,Pozycja,Zużycie"));
    EXPECT_EQ(lines[4], QStringLiteral("Gdańsk"));
    EXPECT_EQ(lines[5], QStringLiteral("Benzyna,\"120,50\""));
}

TEST(Exports, HtmlEscapesTextsAndKeepsOneBlockPerPage)
{
    PageModel model;
    model.title = QStringLiteral("<Raport & \"test\">");
    model.pages.resize(2);
    PageItem item;
    item.text = QStringLiteral("<b>a & b</b> ż");
    item.font = model.fontIndex(FontDef{});
    item.x2 = 50;
    item.y2 = 5;
    model.pages[1].items.push_back(item);
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
    model.pages.resize(1);
    auto add = [&](const QString& text, double x, double y) {
        PageItem item;
        item.text = text;
        item.x1 = x;
        item.x2 = x + 20;
        item.y1 = y;
        item.y2 = y + 4;
        model.pages[0].items.push_back(item);
    };
    add(QStringLiteral("c"), 100, 20.5); // within 1 mm of 20: same row
    add(QStringLiteral("a"), 10, 20);
    add(QStringLiteral("d"), 10, 21.5);  // more than 1 mm below: next row
    add(QStringLiteral("b"), 50, 20.9);
    add(QStringLiteral("x\"y,\nz"), 10, 30);
    EXPECT_EQ(QString::fromUtf8(ExportCsv(model)), QStringLiteral("a,b,c\r\nd\r\n\"x\"\"y,\nz\"\r\n"));
    // Text export: 2 mm a character, so "a" at column 5, "b" at 25, "c" at 50.
    const QString text = QString::fromUtf8(ExportText(model));
    EXPECT_EQ(text.section(QLatin1Char('\n'), 0, 0),
              QString(5, QLatin1Char(' ')) + QStringLiteral("a") + QString(19, QLatin1Char(' ')) + QStringLiteral("b")
                  + QString(24, QLatin1Char(' ')) + QStringLiteral("c"));
}
