// The layout of a run: which bands print, in which order, where, and on
// which page.

#include "SampleReport.h"
#include "TextMetrics.h"

#include "Clock.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace kal::report;
using kal::report::test::SampleReport;

namespace {

// Line spacing of 10-point Liberation Sans: (ascent 1854 + descent 434 +
// line gap 67) / 2048 em = 1.1499 em = 11.499 pt = 4.057 mm.
constexpr double kLine10 = 4.057;
constexpr double kTol = 0.05;

struct Text {
    QString text;
    double x1, y1, x2;
    Align align;
};

std::vector<Text> TextsOf(const Page& page)
{
    std::vector<Text> out;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text)
            out.push_back({item.text, item.x1, item.y1, item.x2, item.align});
    return out;
}

void ExpectTexts(const Page& page, const std::vector<Text>& expected)
{
    const auto actual = TextsOf(page);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_NEAR(actual[i].x1, expected[i].x1, kTol);
        EXPECT_NEAR(actual[i].y1, expected[i].y1, kTol);
        if (expected[i].x2 > 0) {
            EXPECT_NEAR(actual[i].x2, expected[i].x2, kTol);
        }
        EXPECT_EQ(actual[i].align, expected[i].align);
    }
}

class SampleLayout : public ::testing::Test {
protected:
    void SetUp() override { kal::SetTodayForTests(QDate(2009, 6, 5)); }
    void TearDown() override { kal::SetTodayForTests(QDate()); }
};

} // namespace

TEST(TextMetricsTest, LineHeightOfArialIsThatOfLiberationSans)
{
    FontDef f;
    f.pointSize = 10;
    EXPECT_NEAR(TextMetrics::lineHeight(f), kLine10, 0.02);
    // Arial and Liberation Sans measure the same.
    FontDef liberation = f;
    liberation.family = QStringLiteral("Liberation Sans");
    EXPECT_DOUBLE_EQ(TextMetrics::width(f, QStringLiteral("Zużycie paliwa")),
                     TextMetrics::width(liberation, QStringLiteral("Zużycie paliwa")));
}

TEST(TextMetricsTest, WrapBreaksAtBlanksAndCutsLongWords)
{
    FontDef f;
    f.pointSize = 10;
    const double width = TextMetrics::width(f, QStringLiteral("Silniki w samochodach"));
    EXPECT_EQ(TextMetrics::wrap(f, QStringLiteral("Silniki w samochodach osobowych"), width),
              (QStringList{QStringLiteral("Silniki w samochodach"), QStringLiteral("osobowych")}));
    EXPECT_EQ(TextMetrics::wrap(f, QStringLiteral("a\nb"), 100), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    // A word wider than the line is cut; nothing is lost.
    const QStringList cut = TextMetrics::wrap(f, QStringLiteral("WWWWWWWWWW"), TextMetrics::width(f, QStringLiteral("WWW")));
    EXPECT_EQ(cut, (QStringList{QStringLiteral("WWW"), QStringLiteral("WWW"), QStringLiteral("WWW"), QStringLiteral("W")}));
}

TEST_F(SampleLayout, EveryBandKindLandsWhereItBelongs)
{
    SampleReport sample;
    const auto model = sample.report.prepare();
    ASSERT_EQ(model->pageCount(), 2);
    EXPECT_EQ(model->title, QStringLiteral("Wydruk próbny"));
    EXPECT_EQ(model->paperSize, QSizeF(210, 297));

    // Page 1: page header at the top margin, title, column header, the
    // first group with its details, child band, remarks and footer, and the
    // page footer at the bottom margin (297 - 10 - 8 = 279).
    ExpectTexts(*model->page(0), {
        {QStringLiteral("Nagłówek strony"), 10, 10, 110, Align::Left},
        {QStringLiteral("Strona 1"), 160, 10, 200, Align::Right},
        {QStringLiteral("Załącznik nr 1"), 10, 22, 200, Align::Center},
        {QStringLiteral("Podmiot: \"Eko, Sp. z o.o.\""), 10, 32, 200, Align::Left},
        {QStringLiteral("Gmina"), 10, 41, 50, Align::Left},
        {QStringLiteral("Pozycja"), 60, 41, 120, Align::Left},
        {QStringLiteral("Zużycie"), 130, 41, 170, Align::Right},
        {QStringLiteral("Gdańsk"), 10, 49, 50, Align::Left},
        {QStringLiteral("Benzyna"), 60, 56, 120, Align::Left},
        {QStringLiteral("120,50"), 130, 56, 170, Align::Right},
        {QStringLiteral("uwaga: duża ilość"), 60, 62, 140, Align::Left},
        {QStringLiteral("stacja A"), 70, 67, 130, Align::Left},
        {QStringLiteral("stacja B"), 70, 72, 130, Align::Left},
        {QStringLiteral("Olej napędowy"), 60, 77, 120, Align::Left},
        {QStringLiteral("80,00"), 130, 77, 170, Align::Right},
        {QStringLiteral("Gdańsk"), 10, 84, 50, Align::Left},
        {QStringLiteral("Razem:"), 60, 84, 160, Align::Left},
        {QStringLiteral("200,50"), 60, 84 + kLine10, 160, Align::Left},
        {QStringLiteral("Stopka"), 10, 281, 60, Align::Left},
        {QStringLiteral("2009-06-05"), 160, 281, 200, Align::Right},
    });

    // Page 2: the second group forced onto it; the column header repeats
    // under the page header; the summary follows the stretched group footer
    // (42 + 1 + 2 lines).
    const double summaryTop = 42 + 1 + 2 * kLine10;
    ExpectTexts(*model->page(1), {
        {QStringLiteral("Nagłówek strony"), 10, 10, 110, Align::Left},
        {QStringLiteral("Strona 2"), 160, 10, 200, Align::Right},
        {QStringLiteral("Gmina"), 10, 21, 50, Align::Left},
        {QStringLiteral("Pozycja"), 60, 21, 120, Align::Left},
        {QStringLiteral("Zużycie"), 130, 21, 170, Align::Right},
        {QStringLiteral("Łódź"), 10, 29, 50, Align::Left},
        {QStringLiteral("Gaz płynny"), 60, 36, 120, Align::Left},
        {QStringLiteral("15,25"), 130, 36, 170, Align::Right},
        {QStringLiteral("Łódź"), 10, 43, 50, Align::Left},
        {QStringLiteral("Razem:"), 60, 43, 160, Align::Left},
        {QStringLiteral("15,25"), 60, 43 + kLine10, 160, Align::Left},
        {QStringLiteral("Razem: 215,75"), 10, summaryTop + 2, 110, Align::Left},
        {QStringLiteral("Stopka"), 10, 281, 60, Align::Left},
        {QStringLiteral("2009-06-05"), 160, 281, 200, Align::Right},
    });
}

TEST_F(SampleLayout, ASecondRunGivesTheSamePages)
{
    SampleReport sample;
    const auto first = sample.report.prepare();
    const auto second = sample.report.prepare();
    EXPECT_EQ(*first, *second);
}

TEST(ReportRun, DetailsFillPagesUpToThePageFooter)
{
    // Content from 10 to 287 mm less an 8 mm page footer: 269 mm, so 26 rows
    // of 10 mm on a page; 60 rows make 26 + 26 + 8.
    Report report;
    ListDataSource rows({QStringLiteral("N")});
    for (int i = 1; i <= 60; ++i)
        rows.addRow({QString::number(i)});
    report.dataSource = &rows;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 10;
    detail->addDataText(QStringLiteral("DN"), 0, 0, 20, 5, QStringLiteral("N"));
    report.addBand(BandType::PageFooter, QStringLiteral("Footer"))->height = 8;
    const auto model = report.prepare();
    ASSERT_EQ(model->pageCount(), 3);
    EXPECT_EQ(model->page(0)->items.size(), 26u);
    EXPECT_EQ(model->page(1)->items.size(), 26u);
    EXPECT_EQ(model->page(2)->items.size(), 8u);
    EXPECT_EQ(model->page(1)->items.front().text, QStringLiteral("27"));
    EXPECT_NEAR(model->page(0)->items.back().y1, 260, 1e-9);
}

TEST(ReportRun, ABandTallerThanThePageStillPrintsOncePerPage)
{
    Report report;
    ListDataSource rows({QStringLiteral("N")});
    for (int i = 1; i <= 3; ++i)
        rows.addRow({QString::number(i)});
    report.dataSource = &rows;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 400;
    detail->addDataText(QStringLiteral("DN"), 0, 0, 20, 5, QStringLiteral("N"));
    const auto model = report.prepare();
    ASSERT_EQ(model->pageCount(), 3);
    EXPECT_EQ(model->page(2)->items.at(0).text, QStringLiteral("3"));
}

TEST(ReportRun, NeedDataRunWithChildBandsPrintsEachRowInItsOwnBand)
{
    // A counter-driven run: record 0 prints the head, records 1..4 print in
    // the child band of their kind (odd/even), record 5 the closing band;
    // the detail band itself prints only at 0, yet its children are visited.
    Report report;
    int counter = -1;
    report.beforePrint = [&](bool&) { counter = -1; };
    report.onNeedData = [&](bool& more) { more = ++counter < 6; };
    Band* head = report.addBand(BandType::Detail, QStringLiteral("Head"));
    head->height = 10;
    Label* headText = head->addLabel(QStringLiteral("L"), 0, 0, 50, 5, QStringLiteral("TABELA D"));
    head->beforePrint = [&](Band&, bool& print) { print = counter == 0; };
    Band* odd = head->child();
    odd->height = 5;
    Label* oddText = odd->addLabel(QStringLiteral("LOdd"), 0, 0, 50, 5);
    odd->beforePrint = [&](Band&, bool& print) {
        print = counter >= 1 && counter <= 4 && counter % 2 == 1;
        oddText->caption = QStringLiteral("nieparzysty %1").arg(counter);
    };
    Band* even = odd->child();
    even->height = 5;
    Label* evenText = even->addLabel(QStringLiteral("LEven"), 10, 0, 50, 5);
    even->beforePrint = [&](Band&, bool& print) {
        print = counter >= 1 && counter <= 4 && counter % 2 == 0;
        evenText->caption = QStringLiteral("parzysty %1").arg(counter);
    };
    Band* closing = even->child();
    closing->height = 5;
    closing->addLabel(QStringLiteral("LEnd"), 0, 0, 50, 5, QStringLiteral("Wysokość opłaty ogółem [zł]"));
    closing->beforePrint = [&](Band&, bool& print) { print = counter == 5; };
    (void)headText;

    for (int run = 0; run < 2; ++run) {
        const auto model = report.prepare();
        ASSERT_EQ(model->pageCount(), 1);
        QStringList texts;
        QList<double> tops;
        for (const auto page = model->page(0); const PageItem& item : page->items) {
            texts << item.text;
            tops << item.y1;
        }
        EXPECT_EQ(texts, (QStringList{QStringLiteral("TABELA D"), QStringLiteral("nieparzysty 1"), QStringLiteral("parzysty 2"),
                                      QStringLiteral("nieparzysty 3"), QStringLiteral("parzysty 4"),
                                      QStringLiteral("Wysokość opłaty ogółem [zł]")}));
        EXPECT_EQ(tops, (QList<double>{10, 20, 25, 30, 35, 40}));
    }
}

TEST(ReportRun, NewPageFromAnEventBreaksBeforeTheNextPrintedBand)
{
    // A row kind "1" never prints but ends the page, as the table A report
    // does before every source.
    Report report;
    ListDataSource rows({QStringLiteral("Rodzaj"), QStringLiteral("Tekst")});
    rows.addRow({QStringLiteral("0"), QStringLiteral("nagłówek")});
    rows.addRow({QStringLiteral("1"), QString()});
    rows.addRow({QStringLiteral("2"), QStringLiteral("źródło 1")});
    rows.addRow({QStringLiteral("1"), QString()});
    rows.addRow({QStringLiteral("2"), QStringLiteral("źródło 2")});
    report.dataSource = &rows;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 10;
    detail->addDataText(QStringLiteral("D"), 0, 0, 50, 5, QStringLiteral("Tekst"));
    detail->beforePrint = [&](Band&, bool& print) {
        if (rows.fieldText(QStringLiteral("Rodzaj")) == QLatin1String("1")) {
            report.newPage();
            print = false;
        }
    };
    const auto model = report.prepare();
    ASSERT_EQ(model->pageCount(), 3);
    EXPECT_EQ(model->page(0)->items.at(0).text, QStringLiteral("nagłówek"));
    EXPECT_EQ(model->page(1)->items.at(0).text, QStringLiteral("źródło 1"));
    EXPECT_EQ(model->page(2)->items.at(0).text, QStringLiteral("źródło 2"));
    EXPECT_DOUBLE_EQ(model->page(2)->items.at(0).y1, 10);
}

TEST(ReportRun, DisabledBandsAndHiddenControlsPrintNothing)
{
    Report report;
    report.onNeedData = [n = 0](bool& more) mutable { more = n++ < 1; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 10;
    detail->addLabel(QStringLiteral("A"), 0, 0, 30, 5, QStringLiteral("widoczny"));
    detail->addLabel(QStringLiteral("B"), 40, 0, 30, 5, QStringLiteral("wyłączony"))->enabled = false;
    Label* blank = detail->addLabel(QStringLiteral("C"), 80, 0, 30, 5, QStringLiteral("0,0000001"));
    blank->onPrint = [](Control&, QString& text, bool&) { text.clear(); };
    Label* hidden = detail->addLabel(QStringLiteral("D"), 120, 0, 30, 5, QStringLiteral("ukryty"));
    hidden->onPrint = [](Control&, QString&, bool& print) { print = false; };
    Label* changed = detail->addLabel(QStringLiteral("E"), 150, 0, 30, 5, QStringLiteral("przed"));
    changed->onPrint = [](Control&, QString& text, bool&) { text = QStringLiteral("po"); };
    Band* off = report.addBand(BandType::Summary, QStringLiteral("Summary"));
    off->addLabel(QStringLiteral("S"), 0, 0, 30, 5, QStringLiteral("podsumowanie"));
    off->enabled = false;

    const auto model = report.prepare();
    ASSERT_EQ(model->pageCount(), 1);
    QStringList texts;
    for (const auto page = model->page(0); const PageItem& item : page->items)
        texts << item.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("widoczny"), QStringLiteral("po")}));
}

TEST(ReportRun, AnEmptyReportPrintsItsFrameOnlyWhenAskedTo)
{
    Report report;
    ListDataSource none({QStringLiteral("A")});
    report.dataSource = &none;
    report.addBand(BandType::Title, QStringLiteral("Title"))->addLabel(QStringLiteral("T"), 0, 0, 50, 5, QStringLiteral("Tytuł"));
    report.addBand(BandType::Detail, QStringLiteral("Detail"))->addDataText(QStringLiteral("D"), 0, 0, 50, 5, QStringLiteral("A"));
    report.addBand(BandType::Summary, QStringLiteral("Summary"))->addLabel(QStringLiteral("S"), 0, 0, 50, 5, QStringLiteral("Suma"));
    int progress = -1;
    report.onProgress = [&](int p) { progress = p; };

    auto model = report.prepare();
    ASSERT_EQ(model->pageCount(), 1);
    ASSERT_EQ(model->page(0)->items.size(), 2u);
    EXPECT_EQ(model->page(0)->items[0].text, QStringLiteral("Tytuł"));
    EXPECT_EQ(model->page(0)->items[1].text, QStringLiteral("Suma"));
    EXPECT_EQ(progress, 100);

    report.printIfEmpty = false;
    progress = -1;
    model = report.prepare();
    EXPECT_EQ(model->pageCount(), 0);
    EXPECT_EQ(progress, 100);
}

TEST(ReportRun, MemosStretchTheirBandOrAreCutToTheirBox)
{
    Report report;
    report.font.pointSize = 10;
    report.onNeedData = [n = 0](bool& more) mutable { more = n++ < 1; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 6;
    Memo* fixed = detail->addMemo(QStringLiteral("M1"), 0, 0, 50, 5, {QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a3")});
    Memo* grows = detail->addMemo(QStringLiteral("M2"), 60, 1, 50, 5, {QStringLiteral("b1"), QStringLiteral("b2"), QStringLiteral("b3")});
    grows->stretch = true;
    grows->frame = FrameAll;
    (void)fixed;
    Band* after = report.addBand(BandType::Summary, QStringLiteral("Summary"));
    after->addLabel(QStringLiteral("L"), 0, 0, 50, 5, QStringLiteral("dalej"));

    const auto model = report.prepare();
    std::vector<const PageItem*> texts, lines;
    for (const auto page = model->page(0); const PageItem& item : page->items)
        (item.kind == PageItem::Kind::Text ? texts : lines).push_back(&item);
    // The fixed memo keeps the one line that fits its 5 mm; the stretching
    // one shows all three, and the band grows to 1 + 3 lines.
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0]->text, QStringLiteral("a1"));
    EXPECT_EQ(texts[1]->text, QStringLiteral("b1"));
    EXPECT_EQ(texts[3]->text, QStringLiteral("b3"));
    EXPECT_NEAR(texts[3]->y1, 10 + 1 + 2 * kLine10, kTol);
    EXPECT_EQ(texts[4]->text, QStringLiteral("dalej"));
    EXPECT_NEAR(texts[4]->y1, 10 + 1 + 3 * kLine10, kTol);
    // Its frame follows the stretched height.
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NEAR(lines[1]->y1, 10 + 1 + 3 * kLine10, kTol); // bottom side
}

TEST(ReportRun, PaddedTextsKeepClearOfTheirFrameWhichKeepsTheFullBox)
{
    Report report;
    report.font.pointSize = 10;
    report.onNeedData = [n = 0](bool& more) mutable { more = n++ < 1; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 20;
    Label* right = detail->addLabel(QStringLiteral("R"), 100, 0, 30, 5, QStringLiteral("906,16"));
    right->alignment = Align::Right;
    right->frame = FrameAll;
    right->padding = 0.8;
    // "aaaa bbbb" is wider than 20 - 2 x 0.8 mm but "aaaa" fits: the padded
    // width breaks the line.
    const double word = TextMetrics::width(report.font, QStringLiteral("aaaa"));
    const double both = TextMetrics::width(report.font, QStringLiteral("aaaa bbbb"));
    ASSERT_LT(word, 18.4);
    const double boxWidth = both + 1.0; // the words fit the box, not the padded box
    Memo* left = detail->addMemo(QStringLiteral("M"), 0, 6, boxWidth, 10, {QStringLiteral("aaaa bbbb")});
    left->wordWrap = true;
    left->padding = 0.8;
    left->frame = FrameLeft;

    const auto model = report.prepare();
    std::vector<const PageItem*> texts, lines;
    for (const auto page = model->page(0); const PageItem& item : page->items)
        (item.kind == PageItem::Kind::Text ? texts : lines).push_back(&item);
    ASSERT_EQ(texts.size(), 3u);
    // Margins 10 mm: the label's box is 110..140 mm, its text ends 0.8 mm short.
    EXPECT_EQ(texts[0]->text, QStringLiteral("906,16"));
    EXPECT_NEAR(texts[0]->x1, 110.8, 1e-9);
    EXPECT_NEAR(texts[0]->x2, 139.2, 1e-9);
    EXPECT_EQ(texts[1]->text, QStringLiteral("aaaa"));
    EXPECT_EQ(texts[2]->text, QStringLiteral("bbbb"));
    EXPECT_NEAR(texts[1]->x1, 10.8, 1e-9);
    // The frames stand on the boxes themselves.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NEAR(lines[0]->x1, 110, 1e-9); // top side of the label
    EXPECT_NEAR(lines[0]->x2, 140, 1e-9);
    EXPECT_NEAR(lines[4]->x1, 10, 1e-9);  // left side of the memo
}

TEST(ReportRun, FramedStretchingCellsOfARowReachTheBottomOfItsTallestCell)
{
    Report report;
    report.font.pointSize = 10;
    report.onNeedData = [n = 0](bool& more) mutable { more = n++ < 1; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 5;
    Memo* tall = detail->addMemo(QStringLiteral("M1"), 0, 0, 40, 5, {QStringLiteral("a1"), QStringLiteral("a2"), QStringLiteral("a3")});
    Label* one = detail->addLabel(QStringLiteral("L2"), 40, 0, 40, 5, QStringLiteral("b"));
    // A stretching cell of another row lower down in the band.
    Label* below = detail->addLabel(QStringLiteral("L3"), 0, 20, 40, 5, QStringLiteral("c"));
    for (Control* c : std::initializer_list<Control*>{tall, one, below}) {
        c->stretch = true;
        c->frame = FrameBottom;
    }
    const auto model = report.prepare();
    std::vector<double> bottoms;
    for (const auto page = model->page(0); const PageItem& item : page->items)
        if (item.kind == PageItem::Kind::Line)
            bottoms.push_back(item.y1);
    // Three lines of 4.057 mm under the 10 mm margin: both bottoms of the
    // first row there; the lower row keeps its own 5 mm.
    ASSERT_EQ(bottoms.size(), 3u);
    EXPECT_NEAR(bottoms[0], 10 + 3 * kLine10, kTol);
    EXPECT_NEAR(bottoms[1], 10 + 3 * kLine10, kTol);
    EXPECT_NEAR(bottoms[2], 10 + 20 + 5, kTol);
}

TEST(ReportRun, AutoSizedLabelsTakeTheWidthOfTheirText)
{
    Report report;
    report.onNeedData = [n = 0](bool& more) mutable { more = n++ < 1; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    Label* right = detail->addLabel(QStringLiteral("R"), 100, 0, 50, 5, QStringLiteral("1 234,56"));
    right->alignment = Align::Right;
    right->autoSize = true;
    right->frame = FrameAll;
    const auto page = report.prepare()->page(0);
    const PageItem& text = page->items.at(0);
    const double w = TextMetrics::width(report.font, QStringLiteral("1 234,56"));
    EXPECT_NEAR(text.x2, 160, 1e-9); // the right edge stays
    EXPECT_NEAR(text.x1, 160 - w, 1e-9);
    // The frame hugs the text.
    const PageItem& top = page->items.at(1);
    EXPECT_NEAR(top.x1, 160 - w, 1e-9);
    EXPECT_NEAR(top.x2, 160, 1e-9);
}

TEST(ReportRun, ChildBandsOfAHiddenOrDisabledBandStillPrint)
{
    Report report;
    int n = 0;
    report.beforePrint = [&](bool&) { n = 0; };
    report.onNeedData = [&](bool& more) { more = n++ < 2; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->addLabel(QStringLiteral("L"), 0, 0, 30, 5, QStringLiteral("rodzic"));
    detail->beforePrint = [&](Band&, bool& print) { print = report.recordNumber() == 2; };
    Band* child = detail->child(QStringLiteral("ChildBand1"));
    child->addLabel(QStringLiteral("C"), 0, 0, 30, 5, QStringLiteral("dziecko"));
    EXPECT_EQ(report.band(QStringLiteral("ChildBand1")), child);
    auto texts = [&] {
        QStringList out;
        for (const auto page = report.prepare()->page(0); const PageItem& item : page->items)
            out << item.text;
        return out;
    };
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("dziecko"), QStringLiteral("rodzic"), QStringLiteral("dziecko")}));
    detail->enabled = false;
    EXPECT_EQ(texts(), (QStringList{QStringLiteral("dziecko"), QStringLiteral("dziecko")}));
}

namespace {

// Rows of one column that write down what the run does with them.
struct LoggedRows final : IDataSource {
    QString name;
    int rows = 0;
    int at = 0;
    QStringList* log = nullptr;
    LoggedRows(QString n, int count, QStringList* l) : name(std::move(n)), rows(count), log(l) {}
    void first() override
    {
        at = 0;
        *log << name + QStringLiteral(" first");
    }
    void next() override { ++at; }
    bool eof() const override { return at >= rows; }
    QString fieldText(const QString&) const override { return name + QString::number(at); }
    void runStarts() override { *log << name + QStringLiteral(" starts"); }
    void runEnds() override { *log << name + QStringLiteral(" ends"); }
};

} // namespace

// A source may rest what follows its cursor while a run walks it: each one
// the report reads (its own, a sub-detail's, a text's) hears once of the
// run's start, before it is read, and once of its end, after the last read,
// also when a rule stops the run.
TEST(ReportRun, ItsSourcesHearOfTheRunsStartAndEndAlsoWhenARuleStopsIt)
{
    QStringList log;
    LoggedRows main(QStringLiteral("main"), 2, &log), sub(QStringLiteral("sub"), 1, &log),
        other(QStringLiteral("other"), 1, &log);
    Report report;
    report.dataSource = &main;
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 5;
    detail->addDataText(QStringLiteral("T1"), 0, 0, 50, 5, QStringLiteral("F"));
    detail->addDataText(QStringLiteral("T2"), 60, 0, 50, 5, QStringLiteral("F"))->source = &other;
    Band* subBand = report.addBand(BandType::SubDetail, QStringLiteral("Sub"));
    subBand->dataSource = &sub;
    subBand->height = 5;
    subBand->addDataText(QStringLiteral("T3"), 0, 0, 50, 5, QStringLiteral("F"))->source = &sub;
    report.afterPrint = [&log] { log << QStringLiteral("after print"); };

    const auto model = report.prepare();
    QStringList texts;
    for (const auto page = model->page(0); const PageItem& item : page->items)
        texts << item.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("main0"), QStringLiteral("other0"), QStringLiteral("sub0"),
                                  QStringLiteral("main1"), QStringLiteral("other0"), QStringLiteral("sub0")}));
    EXPECT_EQ(log, (QStringList{QStringLiteral("main starts"), QStringLiteral("other starts"), QStringLiteral("sub starts"),
                                QStringLiteral("main first"), QStringLiteral("sub first"), QStringLiteral("sub first"),
                                QStringLiteral("after print"), QStringLiteral("sub ends"), QStringLiteral("other ends"),
                                QStringLiteral("main ends")}));

    // A rule refusing the second row stops the run: every source still hears
    // of its end.
    log.clear();
    detail->beforePrint = [&main](Band&, bool&) {
        if (main.at == 1)
            throw std::runtime_error("odmowa");
    };
    EXPECT_THROW(report.prepare(), std::runtime_error);
    EXPECT_EQ(log, (QStringList{QStringLiteral("main starts"), QStringLiteral("other starts"), QStringLiteral("sub starts"),
                                QStringLiteral("main first"), QStringLiteral("sub first"), QStringLiteral("sub ends"),
                                QStringLiteral("other ends"), QStringLiteral("main ends")}));
}
