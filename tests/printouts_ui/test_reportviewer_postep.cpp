// The preview window shows the progress of a long save or export.

#include "Reportviewer.h"

#include "Printer.h"
#include "ScriptedDialogs.h"
#include "TestDir.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace kal::report;

namespace {

class RecordingProgress final : public IPrintProgress {
public:
    RecordingProgress() { SetPrintProgress(this); }
    ~RecordingProgress() override { SetPrintProgress(nullptr); }
    void begin(const QString& title, const QString& fileName, const QString& printerName, int pages) override
    {
        calls << QStringLiteral("begin %1|%2|%3|%4").arg(title, QDir(fileName).dirName(), printerName).arg(pages);
        last = 0;
    }
    void advance(int done) override
    {
        // Page by page, in order.
        EXPECT_EQ(done, last + 1);
        last = done;
    }
    void end() override { calls << QStringLiteral("end %1").arg(last); }
    QStringList calls;
    int last = 0;
};

} // namespace

TEST(ReportViewerProgress, SavingAndExportingShowTheirPages)
{
    kal::test::TestDir dir;
    kal::test::ScriptedDialogs dialogs;
    TQuickReportViewer viewer;
    int rows = 0;
    Report report;
    report.title = QStringLiteral("Wydruk pojazdów.");
    report.beforePrint = [&rows](bool&) { rows = 0; };
    report.onNeedData = [&rows](bool& more) { more = ++rows <= 100; };
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 10;
    detail->addLabel(QStringLiteral("L"), 0, 0, 60, 5, QStringLiteral("Pojazd"));
    RecordingProgress progress;
    int pages = 0;
    dialogs.onModal = [&](QWidget*) {
        pages = viewer.QRPreview->pageCount();
        viewer.ZapiszRaport(dir.file(QStringLiteral("raport.qrp")), 0);
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.htm")), 1);
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.csv")), 2);
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.txt")), 3);
        viewer.ZapiszRaport(dir.file(QStringLiteral("wynik.htm")), 3); // refused: no progress
        return 0;
    };
    viewer.PokazRaport(&report);
    ASSERT_EQ(pages, 4);
    const auto saved = [](const char* file) {
        return QStringList{QStringLiteral("begin Wydruk pojazdów.|%1||4").arg(QLatin1String(file)), QStringLiteral("end 4")};
    };
    EXPECT_EQ(progress.calls, saved("raport.qrp") + saved("wynik.htm") + saved("wynik.csv") + saved("wynik.txt"));
}
