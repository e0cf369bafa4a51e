// Report engine benchmark: a list report of 100,000 detail rows.
// Measures the time to the first finished page, to the whole run, to a PDF
// of every page (and to the same PDF drawn by the painter, as a printer gets
// it), and the peak memory; compares the text that pdftotext reads back from
// the PDF with the painter's PDF and with the page model; then lets
// LibreOffice convert the same rows from CSV to PDF and prints the ratios.
// Every time is the median of `runs` runs.
//
//   build/bin/bench_report [rows] [runs]   (LibreOffice is optional)

#include "Median.h"
#include "Export.h"
#include "Render.h"
#include "Report.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kal::report;

namespace {

long PeakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

QStringList Row(int i)
{
    static const char* makes[] = {"Fiat Ducato", "Volkswagen Crafter", "Renault Master", "Iveco Daily", "Ford Transit"};
    return {QString::number(i), QStringLiteral("GD %1").arg(10000 + i % 90000), QString::fromUtf8(makes[i % 5]),
            QStringLiteral("2009-%1-%2").arg(1 + i % 12, 2, 10, QLatin1Char('0')).arg(1 + i % 28, 2, 10, QLatin1Char('0')),
            QStringLiteral("%1,%2").arg(20 + i % 80).arg(i % 100, 2, 10, QLatin1Char('0')), QStringLiteral("olej napędowy")};
}

QString TextOf(const QString& pdftotext, const QStringList& options, const QString& pdf)
{
    QProcess process;
    process.start(pdftotext, options + QStringList{pdf, QStringLiteral("-")});
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    QTemporaryDir dir;

    const QStringList columns{QStringLiteral("Lp"), QStringLiteral("NrRej"), QStringLiteral("Marka"), QStringLiteral("Data"),
                              QStringLiteral("Ilosc"), QStringLiteral("Paliwo")};
    ListDataSource source(columns);
    for (int i = 1; i <= rows; ++i)
        source.addRow(Row(i));

    Report report;
    report.title = QStringLiteral("Wydruk zużycia paliwa.");
    report.dataSource = &source;
    Band* header = report.addBand(BandType::PageHeader, QStringLiteral("PageHeader"));
    header->height = 8;
    header->addLabel(QStringLiteral("LTytul"), 0, 0, 120, 5, QStringLiteral("Zestawienie zużycia paliwa"))->font.bold = true;
    header->addSysData(QStringLiteral("SStrona"), 150, 0, 40, 5, SysData::Data::PageNumber)->alignment = Align::Right;
    Band* heads = report.addBand(BandType::ColumnHeader, QStringLiteral("Columns"));
    heads->height = 6;
    heads->frame = FrameTop | FrameBottom;
    const double lefts[] = {0, 15, 45, 90, 115, 145};
    const double widths[] = {13, 28, 43, 23, 25, 45};
    const char* captions[] = {"Lp.", "Nr rej.", "Pojazd", "Data tank.", "Ilość", "Rodzaj paliwa"};
    Band* detail = report.addBand(BandType::Detail, QStringLiteral("Detail"));
    detail->height = 5;
    for (int c = 0; c < 6; ++c) {
        Label* h = heads->addLabel(QStringLiteral("H%1").arg(c), lefts[c], 0.5, widths[c], 5, QString::fromUtf8(captions[c]));
        DataText* d = detail->addDataText(QStringLiteral("D%1").arg(c), lefts[c], 0, widths[c], 5, columns[c]);
        if (c == 0 || c == 4)
            h->alignment = d->alignment = Align::Right;
    }
    Band* summary = report.addBand(BandType::Summary, QStringLiteral("Summary"));
    summary->height = 8;
    summary->addLabel(QStringLiteral("LRazem"), 0, 2, 100, 5, QStringLiteral("Razem pozycji: %1").arg(rows));

    QElapsedTimer timer;
    qint64 firstPage = -1;
    // The first page of the first (cold) run.
    report.onPageFinished = [&](int page) {
        if (page == 1 && firstPage < 0)
            firstPage = timer.nsecsElapsed();
    };
    std::vector<qint64> runs, pdfs, painted, offices;
    std::shared_ptr<const PageModel> model;
    const QString pdf = dir.filePath(QStringLiteral("raport.pdf"));
    const QString old = dir.filePath(QStringLiteral("malarz.pdf"));
    for (int r = 0; r < repeats; ++r) {
        timer.start();
        model = report.prepare();
        runs.push_back(timer.nsecsElapsed());
        timer.restart();
        WritePdf(*model, pdf);
        pdfs.push_back(timer.nsecsElapsed());
        timer.restart();
        QFile file(old);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        PaintPdf(*model, file, 0, model->pageCount() - 1, model->title);
        file.close();
        painted.push_back(timer.nsecsElapsed());
    }
    const long peak = PeakKiB();
    const qint64 run = kal::bench::median(runs), toPdf = kal::bench::median(pdfs), toOld = kal::bench::median(painted);

    std::printf("rows: %d, pages: %d, runs: %d (medians)\n", rows, model->pageCount(), repeats);
    std::printf("first page:           %8.1f ms\n", firstPage / 1e6);
    std::printf("whole run:            %8.1f ms\n", run / 1e6);
    std::printf("PDF written:          %8.1f ms (%lld KiB)\n", toPdf / 1e6, static_cast<long long>(QFileInfo(pdf).size() / 1024));
    std::printf("PDF by the painter:   %8.1f ms (%lld KiB)\n", toOld / 1e6, static_cast<long long>(QFileInfo(old).size() / 1024));
    std::printf("run + PDF:            %8.1f ms\n", (run + toPdf) / 1e6);
    std::printf("peak memory:          %8ld KiB\n", peak);

    // The text read back from the PDF: the same as the painter's PDF gives,
    // and every text of the page model in the order of the model.
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    int failures = 0;
    if (!pdftotext.isEmpty()) {
        const QString text = TextOf(pdftotext, {QStringLiteral("-layout")}, pdf);
        const bool sameLayout = text == TextOf(pdftotext, {QStringLiteral("-layout")}, old);
        const QStringList words = TextOf(pdftotext, {QStringLiteral("-raw")}, pdf).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        const QStringList oldWords = TextOf(pdftotext, {QStringLiteral("-raw")}, old).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        QStringList modelWords;
        for (int p = 0; p < model->pageCount(); ++p) {
            const auto page = model->page(p);
            for (const PageItem& item : page->items)
                if (item.kind == PageItem::Kind::Text)
                    modelWords += item.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        }
        std::printf("pdftotext -layout equal to the painter's PDF: %s\n", sameLayout ? "yes" : "NO");
        std::printf("pdftotext -raw words equal to the painter's PDF: %s (%lld words)\n", words == oldWords ? "yes" : "NO",
                    static_cast<long long>(words.size()));
        std::printf("pdftotext -raw words equal to the page model: %s (%lld words)\n", words == modelWords ? "yes" : "NO",
                    static_cast<long long>(modelWords.size()));
        failures += !sameLayout + (words != oldWords) + (words != modelWords);
    } else {
        std::printf("pdftotext not installed: texts not compared\n");
    }

    std::fflush(stdout);
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty()) {
        std::printf("LibreOffice not installed: no comparison\n");
        return failures ? 1 : 0;
    }
    // The same rows as CSV, converted by LibreOffice; a first small
    // conversion sets up its profile so that it is not timed.
    const QString csv = dir.filePath(QStringLiteral("wiersze.csv"));
    {
        QFile file(csv);
        file.open(QIODevice::WriteOnly);
        QByteArray out = columns.join(QLatin1Char(',')).toUtf8() + "\n";
        for (int i = 1; i <= rows; ++i) {
            QStringList r = Row(i);
            r[4] = QLatin1Char('"') + r[4] + QLatin1Char('"');
            out += r.join(QLatin1Char(',')).toUtf8() + "\n";
        }
        file.write(out);
    }
    const QString warm = dir.filePath(QStringLiteral("rozgrzewka.csv"));
    {
        QFile file(warm);
        file.open(QIODevice::WriteOnly);
        file.write("a,b\n1,2\n");
    }
    const QStringList common{QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profil")),
                             QStringLiteral("--headless"), QStringLiteral("--infilter=CSV:44,34,76,1"),
                             QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                             dir.filePath(QStringLiteral("lo"))};
    QProcess::execute(office, common + QStringList{warm});
    for (int r = 0; r < repeats; ++r) {
        timer.restart();
        const int rc = QProcess::execute(office, common + QStringList{csv});
        offices.push_back(timer.nsecsElapsed());
        if (rc != 0)
            std::printf("LibreOffice exit code %d\n", rc);
    }
    const qint64 lo = kal::bench::median(offices);
    std::printf("LibreOffice CSV->PDF: %8.1f ms\n", lo / 1e6);
    std::printf("ratio LibreOffice / (run + PDF): %.2f; with the painter's PDF: %.2f\n", double(lo) / double(run + toPdf),
                double(lo) / double(run + toOld));
    return failures ? 1 : 0;
}
