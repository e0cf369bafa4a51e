#include "Render.h"

#include "Exceptions.h"
#include "PdfWriter.h"
#include "Printer.h"

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace kal::report {
namespace {

QPageLayout LayoutOf(const PageModel& model)
{
    return QPageLayout(QPageSize(QPageSize::A4),
                       model.orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

IPrintProgress* g_progress = nullptr;

void PaintPages(QPainter& painter, QPagedPaintDevice& device, const PageModel& model, int from, int to,
                const PrintProgressScope* progress = nullptr)
{
    bool first = true;
    for (int i = from; i <= to && i < model.pageCount(); ++i) {
        if (!first)
            device.newPage();
        first = false;
        PaintPage(painter, model, *model.page(i), device.logicalDpiX(), device.logicalDpiY());
        if (progress)
            progress->advance(i - from + 1);
    }
}

class QtPrinter final : public IPrinter {
public:
    void print(const PageModel& pages, const PrintJob& job) override
    {
        if (pages.pageCount() == 0)
            return;
        if (!job.outputFileName.isEmpty()) {
            WritePdf(pages, job.outputFileName, job.fromPage - 1, job.toPage - 1, job.title);
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        if (!job.printerName.isEmpty())
            printer.setPrinterName(job.printerName);
        printer.setDocName(job.title);
        printer.setCopyCount(std::max(1, job.copies));
        printer.setFullPage(true);
        printer.setPageLayout(LayoutOf(pages));
        QPainter painter;
        if (!painter.begin(&printer))
            throw kal::Exception(QStringLiteral("Nie można rozpocząć wydruku na drukarce \"%1\".").arg(printer.printerName()));
        const int from = std::max(0, job.fromPage - 1);
        const int to = std::min(job.toPage - 1, pages.pageCount() - 1);
        const PrintProgressScope progress(job.title, QString(), printer.printerName(), to - from + 1);
        PaintPages(painter, printer, pages, from, to, &progress);
        painter.end();
    }
};

QtPrinter g_qtPrinter;
IPrinter* g_printer = nullptr;

} // namespace

QString DocumentFileName(const QString& title)
{
    static const QString awkward = QStringLiteral("\\/:*?\"<>|");
    QString name;
    name.reserve(title.size());
    for (const QChar c : title)
        name += (c.category() == QChar::Other_Control || awkward.contains(c)) ? QLatin1Char(' ') : c;
    name = name.simplified();
    qsizetype from = 0;
    qsizetype to = name.size();
    while (from < to && (name[from] == QLatin1Char('.') || name[from].isSpace()))
        ++from;
    while (to > from && (name[to - 1] == QLatin1Char('.') || name[to - 1].isSpace()))
        --to;
    name = name.mid(from, to - from);
    return name.isEmpty() ? QStringLiteral("Wydruk") : name;
}

IPrinter& Printer()
{
    return g_printer ? *g_printer : g_qtPrinter;
}

void SetPrinter(IPrinter* printer)
{
    g_printer = printer;
}

IPrintProgress* PrintProgress()
{
    return g_progress;
}

void SetPrintProgress(IPrintProgress* progress)
{
    g_progress = progress;
}

PrintProgressScope::PrintProgressScope(const QString& title, const QString& fileName, const QString& printerName, int pages)
    : m_display(g_progress)
{
    if (m_display)
        m_display->begin(title, fileName, printerName, pages);
}

PrintProgressScope::~PrintProgressScope()
{
    if (m_display)
        m_display->end();
}

void PrintProgressScope::advance(int pagesDone) const
{
    if (m_display)
        m_display->advance(pagesDone);
}

void PaintPage(QPainter& painter, const PageModel& model, const Page& page, double dpiX, double dpiY)
{
    const double sx = dpiX / 25.4;
    const double sy = dpiY / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);
    int currentFont = -1;
    QFont textFont;
    for (const PageItem& item : page.items) {
        switch (item.kind) {
        case PageItem::Kind::Text: {
            // The font engine rounds a font's size to whole device pixels,
            // which on a screen makes a text several per cent wider or
            // narrower than it was laid out. The text is drawn in a finer
            // coordinate system so that the rounding does not show.
            constexpr double fine = 16.0;
            if (item.font != currentFont) {
                textFont = ToQFont(model.fontOf(item));
                textFont.setPixelSize(std::max(1, static_cast<int>(std::lround(textFont.pointSizeF() * dpiY / 72.0 * fine))));
                currentFont = item.font;
            }
            painter.save();
            painter.scale(1.0 / fine, 1.0 / fine);
            painter.setFont(textFont);
            painter.setPen(Qt::black);
            const QRectF box(item.x1 * sx * fine, item.y1 * sy * fine, (item.x2 - item.x1) * sx * fine,
                             (item.y2 - item.y1) * sy * fine);
            Qt::Alignment align = Qt::AlignTop;
            align |= item.align == Align::Right ? Qt::AlignRight : item.align == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft;
            painter.drawText(box, static_cast<int>(align) | Qt::TextDontClip | Qt::TextSingleLine, item.text);
            painter.restore();
            break;
        }
        case PageItem::Kind::Line:
        case PageItem::Kind::Rect: {
            QPen pen(Qt::black);
            pen.setWidthF(std::max(0.5, item.penWidth * (sx + sy) / 2));
            painter.setPen(pen);
            if (item.kind == PageItem::Kind::Line)
                painter.drawLine(QPointF(item.x1 * sx, item.y1 * sy), QPointF(item.x2 * sx, item.y2 * sy));
            else
                painter.drawRect(QRectF(QPointF(item.x1 * sx, item.y1 * sy), QPointF(item.x2 * sx, item.y2 * sy)));
            break;
        }
        }
    }
    painter.restore();
}

QImage RenderPage(const PageModel& model, int index, double zoomPercent)
{
    const double zoom = std::clamp(zoomPercent, 1.0, 1000.0) / 100.0;
    const double dpi = 96.0 * zoom;
    const QSize size(std::max(1, static_cast<int>(std::lround(model.paperSize.width() / 25.4 * dpi))),
                     std::max(1, static_cast<int>(std::lround(model.paperSize.height() / 25.4 * dpi))));
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    if (index >= 0 && index < model.pageCount()) {
        QPainter painter(&image);
        PaintPage(painter, model, *model.page(index), image.logicalDpiX(), image.logicalDpiY());
    }
    return image;
}

bool PaintPdf(const PageModel& model, QIODevice& out, int from, int to, const QString& title)
{
    QPdfWriter writer(&out);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("System Kalmora"));
    writer.setResolution(600);
    writer.setPageLayout(LayoutOf(model));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    PaintPages(painter, writer, model, std::max(0, from), to);
    return painter.end();
}

void WritePdf(const PageModel& model, const QString& fileName)
{
    WritePdf(model, fileName, 0, model.pageCount() - 1, model.title);
}

void WritePdf(const PageModel& model, const QString& fileName, int from, int to, const QString& title)
{
    from = std::max(0, from);
    to = std::min(to, model.pageCount() - 1);
    const QString cannot = QStringLiteral("Nie można zapisać pliku %1.").arg(fileName);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw kal::Exception(cannot);
    {
        const PrintProgressScope progress(title, fileName, QString(), std::max(0, to - from + 1));
        if (!WritePdfDocument(model, from, to, title, file, [&progress](int done) { progress.advance(done); })
            && !PaintPdf(model, file, from, to, title))
            throw kal::Exception(cannot);
    }
    // Only a complete file takes the name; otherwise the temporary one goes.
    if (file.error() != QFileDevice::NoError || !file.commit())
        throw kal::Exception(cannot);
}

} // namespace kal::report
