// Printing through the printer seam, the printer dialog, PDF and images.

#include "Printer.h"
#include "Render.h"
#include "SampleReport.h"
#include "TextMetrics.h"

#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace kal::report;
using kal::report::test::SampleReport;

namespace {

class RecordingPrinter final : public IPrinter {
public:
    RecordingPrinter() { SetPrinter(this); }
    ~RecordingPrinter() override { SetPrinter(nullptr); }
    void print(const PageModel& pages, const PrintJob& job) override
    {
        jobs.push_back(job);
        printedPages.push_back(pages.pageCount());
    }
    std::vector<PrintJob> jobs;
    std::vector<int> printedPages;
};

// A printer dialog in which the user picks "print to file" with the name the
// dialog proposes in the current folder.
class PrintToFileDialogs final : public kal::IDialogs {
public:
    PrintToFileDialogs() { kal::SetDialogs(this); }
    ~PrintToFileDialogs() override { kal::SetDialogs(nullptr); }
    kal::MsgButton messageBox(const QString&, const QString&, unsigned, kal::MsgIcon) override { return kal::MbOk; }
    void errorBox(const QString&) override {}
    QString openFileName(kal::FileDialogRequest&) override { return {}; }
    QString saveFileName(kal::FileDialogRequest&) override { return {}; }
    int execModal(QWidget*) override { return 0; }
    bool printerDialog(QPrinter* printer, QWidget*) override
    {
        proposed = printer->docName();
        shownFile = printer->outputFileName();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(proposed + QStringLiteral(".pdf"));
        return true;
    }
    QString proposed;
    QString shownFile;
};

} // namespace

TEST(Printing, TheFileNameProposedForATitleIsCleanAndTheJobKeepsTheTitle)
{
    EXPECT_EQ(DocumentFileName(QStringLiteral("Zestawienie opłat za półrocze: 1 2009 roku.")),
              QStringLiteral("Zestawienie opłat za półrocze 1 2009 roku"));
    EXPECT_EQ(DocumentFileName(QStringLiteral(" Tabela A/B\\C *?\"<>| wykaz\t\n .. ")), QStringLiteral("Tabela A B C wykaz"));
    EXPECT_EQ(DocumentFileName(QStringLiteral("..ukryty")), QStringLiteral("ukryty"));
    EXPECT_EQ(DocumentFileName(QStringLiteral(" :. ")), QStringLiteral("Wydruk"));
    EXPECT_EQ(DocumentFileName(QString()), QStringLiteral("Wydruk"));

    RecordingPrinter printer;
    PrintToFileDialogs dialogs;
    SampleReport sample;
    sample.report.title = QStringLiteral("Wykaz za półrocze: 2 2010 roku.");
    ASSERT_TRUE(sample.report.printerSetup());
    EXPECT_EQ(dialogs.proposed, QStringLiteral("Wykaz za półrocze 2 2010 roku"));
    EXPECT_TRUE(dialogs.shownFile.isEmpty());
    sample.report.print();
    ASSERT_EQ(printer.jobs.size(), 1u);
    // The job's name stays the title; the pages go into the chosen file.
    EXPECT_EQ(printer.jobs[0].title, QStringLiteral("Wykaz za półrocze: 2 2010 roku."));
    EXPECT_EQ(printer.jobs[0].outputFileName, QStringLiteral("Wykaz za półrocze 2 2010 roku.pdf"));
    EXPECT_TRUE(printer.jobs[0].printerName.isEmpty());
    // The next setup shows the file chosen last time.
    ASSERT_TRUE(sample.report.printerSetup());
    EXPECT_EQ(dialogs.shownFile, QStringLiteral("Wykaz za półrocze 2 2010 roku.pdf"));
}

TEST(Printing, PrintRunsTheReportAndSendsAllPagesOnce)
{
    RecordingPrinter printer;
    SampleReport sample;
    sample.report.orientation = Orientation::Landscape;
    sample.report.print();
    ASSERT_EQ(printer.jobs.size(), 1u);
    const PrintJob& job = printer.jobs[0];
    EXPECT_EQ(job.title, QStringLiteral("Wydruk próbny"));
    EXPECT_EQ(job.fromPage, 1);
    EXPECT_EQ(job.toPage, printer.printedPages[0]);
    EXPECT_EQ(job.copies, 1);
    EXPECT_EQ(job.orientation, Orientation::Landscape);
}

TEST(Printing, APageRangeServesOnlyThePrintItWasChosenFor)
{
    RecordingPrinter printer;
    SampleReport sample;
    sample.report.printSettings.fromPage = 2;
    sample.report.printSettings.toPage = 9; // beyond the last page
    sample.report.printSettings.copies = 3;
    sample.report.print();
    sample.report.print();
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[0].fromPage, 2);
    EXPECT_EQ(printer.jobs[0].toPage, 2);
    EXPECT_EQ(printer.jobs[0].copies, 3);
    EXPECT_EQ(printer.jobs[1].fromPage, 1);
    EXPECT_EQ(printer.jobs[1].toPage, 2);
    EXPECT_EQ(printer.jobs[1].copies, 3); // the copies stay chosen
}

TEST(Printing, PrinterSetupGoesThroughTheDialogSeamAndSetsTheTag)
{
    kal::test::ScriptedDialogs dialogs;
    Report report;
    dialogs.answerPrinter(false);
    EXPECT_FALSE(report.printerSetup());
    EXPECT_EQ(report.tag, 1);
    dialogs.answerPrinter(true);
    EXPECT_TRUE(report.printerSetup());
    EXPECT_EQ(report.tag, 0);
    ASSERT_EQ(dialogs.calls().size(), 2u);
    EXPECT_EQ(dialogs.calls()[0].kind, kal::test::DialogCall::Printer);
}

TEST(Printing, PreviewHandsThePagesToTheHookWithoutPrinting)
{
    RecordingPrinter printer;
    SampleReport sample;
    int shown = 0;
    sample.report.onPreview = [&](Report& r, std::shared_ptr<const PageModel> pages) {
        shown = pages->pageCount();
        EXPECT_EQ(&r, &sample.report);
    };
    sample.report.preview();
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(printer.jobs.empty());
}

TEST(Rendering, PdfCarriesThePolishTexts)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    kal::test::TestDir dir;
    SampleReport sample;
    WritePdf(*sample.report.prepare(), dir.file(QStringLiteral("raport.pdf")));
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), dir.file(QStringLiteral("raport.pdf")), QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Załącznik nr 1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Zużycie")));
    EXPECT_TRUE(text.contains(QStringLiteral("Łódź")));
    EXPECT_TRUE(text.contains(QStringLiteral("Gdańsk")));
    EXPECT_TRUE(text.contains(QStringLiteral("uwaga: duża ilość")));
    // Two pages: pdftotext separates them with a form feed.
    EXPECT_EQ(text.count(QLatin1Char('\f')), 2);
}

TEST(Rendering, PageImageFollowsTheZoomAndDrawsThePage)
{
    SampleReport sample;
    const auto model = sample.report.prepare();
    // A4 at 96 dpi: 210 mm = 793.7 px, 297 mm = 1122.5 px.
    const QImage full = RenderPage(*model, 0, 100);
    EXPECT_EQ(full.size(), QSize(794, 1123));
    const QImage half = RenderPage(*model, 0, 50);
    EXPECT_EQ(half.size(), QSize(397, 561));
    // Something dark where the title stands (22 mm down, centred), nothing
    // in the empty right margin.
    auto darkIn = [](const QImage& image, QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    EXPECT_TRUE(darkIn(full, QRect(300, 83, 200, 15)));
    EXPECT_FALSE(darkIn(full, QRect(770, 0, 20, 1100)));
    // A page that does not exist is a blank sheet.
    EXPECT_FALSE(darkIn(RenderPage(*model, 7, 25), QRect(0, 0, 198, 280)));
}

TEST(Printing, WithoutAHookAPreviewGoesToTheInstalledPreviewer)
{
    struct Window final : IPreviewer {
        void showPreview(Report& report) override
        {
            titles << report.title;
            // As the preview window does: its own hook, then the run.
            report.onPreview = [this](Report&, std::shared_ptr<const PageModel> pages) { shownPages = pages->pageCount(); };
            report.preview();
            report.onPreview = nullptr;
        }
        QStringList titles;
        int shownPages = 0;
    } window;
    SetPreviewer(&window);
    SampleReport sample;
    sample.report.preview();
    SetPreviewer(nullptr);
    EXPECT_EQ(window.titles, QStringList{QStringLiteral("Wydruk próbny")});
    EXPECT_EQ(window.shownPages, 2);
}

TEST(Rendering, TextOnTheScreenIsAsWideAsItWasLaidOut)
{
    // 8 points at 96 dpi would be 10.67 pixels: a size rounded to whole
    // pixels makes the text 3 % wider than the layout measured it.
    Report report;
    report.font.pointSize = 8;
    report.onNeedData = [n = 0](bool& more) mutable { more = n++ < 1; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    const QString text = QStringLiteral("TMBZZZ1Z07A123456 Volkswagen Transporter");
    detail->addLabel(QStringLiteral("L"), 0, 0, 150, 5, text);
    const auto model = report.prepare();
    const QImage image = RenderPage(*model, 0, 100);
    int first = image.width(), last = -1;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_GE(last, first);
    const double expected = TextMetrics::width(report.font, text) / 25.4 * 96.0;
    // The ink starts and ends within a pixel or two of the advance.
    EXPECT_NEAR(last - first + 1, expected, 2.0);
    EXPECT_NEAR(first, 10 / 25.4 * 96.0, 2.0);
}
