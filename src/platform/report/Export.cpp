#include "Export.h"

#include "Exceptions.h"

#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace kal::report {
namespace {

constexpr double kRowTolerance = 1.0; // mm
constexpr double kTextColumn = 2.0;   // mm per character of the text export

QString Mm(double v)
{
    QString s = QString::number(v, 'f', 2);
    if (s == QLatin1String("-0.00"))
        s = QStringLiteral("0.00");
    return s + QStringLiteral("mm");
}

QString CsvField(const QString& text)
{
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r'))) {
        QString quoted = text;
        quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return text;
}

} // namespace

std::vector<std::vector<const PageItem*>> TextRows(const Page& page)
{
    std::vector<const PageItem*> texts;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text && !item.text.isEmpty())
            texts.push_back(&item);
    std::stable_sort(texts.begin(), texts.end(), [](const PageItem* a, const PageItem* b) { return a->y1 < b->y1; });
    std::vector<std::vector<const PageItem*>> rows;
    double rowTop = 0;
    for (const PageItem* item : texts) {
        if (rows.empty() || item->y1 > rowTop + kRowTolerance) {
            rows.emplace_back();
            rowTop = item->y1;
        }
        rows.back().push_back(item);
    }
    for (auto& row : rows)
        std::stable_sort(row.begin(), row.end(), [](const PageItem* a, const PageItem* b) { return a->x1 < b->x1; });
    return rows;
}

QByteArray ExportHtml(const PageModel& model, const ExportProgress& pageDone)
{
    QString out;
    out += QStringLiteral("<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    out += model.title.toHtmlEscaped();
    out += QStringLiteral("</title>\n<style>\n"
                          "body { background: #808080; margin: 0; padding: 8px; }\n"
                          ".page { position: relative; background: #fff; margin: 0 auto 8px auto; overflow: hidden; }\n"
                          ".page div { position: absolute; white-space: pre; }\n"
                          "</style>\n</head>\n<body>\n");
    for (std::size_t p = 0; p < model.pages.size(); ++p) {
        out += QStringLiteral("<div class=\"page\" id=\"strona%1\" style=\"width:%2;height:%3\">\n")
                   .arg(p + 1)
                   .arg(Mm(model.paperSize.width()), Mm(model.paperSize.height()));
        for (const PageItem& item : model.pages[p].items) {
            switch (item.kind) {
            case PageItem::Kind::Text: {
                const FontDef& f = model.fontOf(item);
                const char* align = item.align == Align::Right ? "right" : item.align == Align::Center ? "center" : "left";
                QString family = f.family;
                family.remove(QLatin1Char('"')).remove(QLatin1Char('<')).remove(QLatin1Char('>')).remove(QLatin1Char(';'));
                out += QStringLiteral("<div style=\"left:%1;top:%2;width:%3;font-family:'%4','Liberation Sans',sans-serif;font-size:%5pt;"
                                      "text-align:%6%7%8%9\">")
                           .arg(Mm(item.x1), Mm(item.y1), Mm(item.x2 - item.x1), family.toHtmlEscaped().replace(QLatin1Char('\''), QString()),
                                QString::number(f.pointSize, 'f', 1), QLatin1String(align),
                                f.bold ? QStringLiteral(";font-weight:bold") : QString(),
                                f.italic ? QStringLiteral(";font-style:italic") : QString(),
                                f.underline ? QStringLiteral(";text-decoration:underline") : QString());
                out += item.text.toHtmlEscaped();
                out += QStringLiteral("</div>\n");
                break;
            }
            case PageItem::Kind::Line: {
                const double x = std::min(item.x1, item.x2), y = std::min(item.y1, item.y2);
                const double w = std::fabs(item.x2 - item.x1), h = std::fabs(item.y2 - item.y1);
                if (h < w)
                    out += QStringLiteral("<div style=\"left:%1;top:%2;width:%3;border-top:%4 solid #000\"></div>\n")
                               .arg(Mm(x), Mm(y), Mm(w), Mm(item.penWidth));
                else
                    out += QStringLiteral("<div style=\"left:%1;top:%2;height:%3;border-left:%4 solid #000\"></div>\n")
                               .arg(Mm(x), Mm(y), Mm(h), Mm(item.penWidth));
                break;
            }
            case PageItem::Kind::Rect:
                out += QStringLiteral("<div style=\"left:%1;top:%2;width:%3;height:%4;border:%5 solid #000;box-sizing:border-box\"></div>\n")
                           .arg(Mm(std::min(item.x1, item.x2)), Mm(std::min(item.y1, item.y2)), Mm(std::fabs(item.x2 - item.x1)),
                                Mm(std::fabs(item.y2 - item.y1)), Mm(item.penWidth));
                break;
            }
        }
        out += QStringLiteral("</div>\n");
        if (pageDone)
            pageDone(static_cast<int>(p) + 1);
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out.toUtf8();
}

QByteArray ExportCsv(const PageModel& model, const ExportProgress& pageDone)
{
    QString out;
    for (std::size_t p = 0; p < model.pages.size(); ++p) {
        for (const auto& row : TextRows(model.pages[p])) {
            QStringList fields;
            for (const PageItem* item : row)
                fields << CsvField(item->text);
            out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
        }
        if (pageDone)
            pageDone(static_cast<int>(p) + 1);
    }
    return out.toUtf8();
}

QByteArray ExportText(const PageModel& model, const ExportProgress& pageDone)
{
    QString out;
    for (std::size_t p = 0; p < model.pages.size(); ++p) {
        if (p > 0)
            out += QLatin1Char('\f');
        for (const auto& row : TextRows(model.pages[p])) {
            QString line;
            for (const PageItem* item : row) {
                const int length = static_cast<int>(item->text.size());
                int column;
                if (item->align == Align::Right)
                    column = static_cast<int>(std::lround(item->x2 / kTextColumn)) - length;
                else if (item->align == Align::Center)
                    column = static_cast<int>(std::lround((item->x1 + item->x2) / 2 / kTextColumn)) - length / 2;
                else
                    column = static_cast<int>(std::lround(item->x1 / kTextColumn));
                column = std::max(column, 0);
                if (!line.isEmpty())
                    column = std::max(column, static_cast<int>(line.size()) + 1);
                line += QString(column - static_cast<int>(line.size()), QLatin1Char(' '));
                line += item->text;
            }
            out += line + QLatin1Char('\n');
        }
        if (pageDone)
            pageDone(static_cast<int>(p) + 1);
    }
    return out.toUtf8();
}

QByteArray Export(const PageModel& model, ExportFormat format, const ExportProgress& pageDone)
{
    switch (format) {
    case ExportFormat::Html: return ExportHtml(model, pageDone);
    case ExportFormat::Csv: return ExportCsv(model, pageDone);
    case ExportFormat::Text: return ExportText(model, pageDone);
    }
    return {};
}

void ExportToFile(const PageModel& model, ExportFormat format, const QString& fileName, const ExportProgress& pageDone)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(Export(model, format, pageDone)) < 0 || !file.commit())
        throw kal::Exception(QStringLiteral("Nie można zapisać pliku %1.").arg(fileName));
}

} // namespace kal::report
