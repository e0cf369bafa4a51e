#include "Export.h"

#include "Exceptions.h"
#include "TextMetrics.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <tuple>

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

// Appends a field of a CSV record (UTF-8) to `out`, quoted when it holds a
// comma, a quote or a line break.
void AppendCsvField(QByteArray& out, QByteArrayView text)
{
    const bool quoted = std::any_of(text.begin(), text.end(), [](char c) {
        return c == ',' || c == '"' || c == '\n' || c == '\r';
    });
    if (!quoted) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// ---- The CSV table: the texts of the pages placed in the columns of the
// printed table, so that a figure stays under its heading.

constexpr double kLineJoin = 0.05; // mm: the next line of a text box starts where the last one ends
constexpr double kEdge = 0.5;      // mm a rule or a neighbouring box may stand off an edge
constexpr double kCellSlack = 2.0; // mm a cell's side rule may stand off its text (the cell's padding)
constexpr double kMostly = 0.75;   // the share of a box that makes it one column's

// A line drawn on the page: a side of a rectangle or a straight line.
// Vertical: x = at, y from..to; horizontal: y = at, x from..to.
struct Rule {
    bool vertical;
    double at, from, to;
};

std::vector<Rule> RulesOf(const Page& page)
{
    std::vector<Rule> rules;
    auto add = [&rules](double x1, double y1, double x2, double y2) {
        if (std::fabs(x1 - x2) < 0.01)
            rules.push_back({true, x1, std::min(y1, y2), std::max(y1, y2)});
        else if (std::fabs(y1 - y2) < 0.01)
            rules.push_back({false, y1, std::min(x1, x2), std::max(x1, x2)});
    };
    for (const PageItem& item : page.items) {
        if (item.kind == PageItem::Kind::Line) {
            add(item.x1, item.y1, item.x2, item.y2);
        } else if (item.kind == PageItem::Kind::Rect) {
            add(item.x1, item.y1, item.x2, item.y1);
            add(item.x1, item.y2, item.x2, item.y2);
            add(item.x1, item.y1, item.x1, item.y2);
            add(item.x2, item.y1, item.x2, item.y2);
        }
    }
    return rules;
}

// Line `b` stands right under line `a` in a cell ruled on its left and right
// with no rule between the two lines.
bool InOneRuledCell(const std::vector<Rule>& rules, const PageItem& a, const PageItem& b)
{
    bool left = false, right = false;
    for (const Rule& r : rules) {
        if (r.vertical) {
            if (r.from > a.y1 + kEdge || r.to < b.y2 - kEdge)
                continue;
            left = left || (r.at >= a.x1 - kCellSlack && r.at <= a.x1 + kEdge);
            right = right || (r.at >= a.x2 - kEdge && r.at <= a.x2 + kCellSlack);
        } else if (r.at > a.y1 + kEdge && r.at < b.y2 - kEdge && r.from < a.x2 - kEdge && r.to > a.x1 + kEdge) {
            return false;
        }
    }
    return left && right;
}

// Line `b` goes on with the text of line `a`, broken at the width of their box:
// both fit the box (a broken text never leaves it), and `a` with the first
// word of `b` would not.
bool WrappedOn(const PageModel& model, const PageItem& a, const PageItem& b)
{
    const FontDef& font = model.fontOf(a);
    const double width = a.x2 - a.x1 + 0.01;
    const QString firstWord = b.text.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    return TextMetrics::width(font, a.text) <= width && TextMetrics::width(font, b.text) <= width
        && TextMetrics::width(font, a.text + QLatin1Char(' ') + firstWord) > width;
}

// One field of the table: the lines of one text box that make one cell.
struct Field {
    double top, x1, x2;
    Align align;
    QString text;
};

// A rule drawn with characters under the figures of a total ("====="): a CSV
// has no rules, and a spreadsheet would read the leading "=" as a formula.
bool DrawnRule(const QString& text)
{
    const QString t = text.trimmed();
    return t.size() > 1 && t.count(QLatin1Char('=')) == t.size();
}

// The fields of a page: the lines of a text box that stand one right under
// the other in one ruled cell, or that were broken at the box's width, are
// joined with a blank. Blank texts and drawn rules are left out.
std::vector<Field> FieldsOf(const PageModel& model, const Page& page)
{
    std::vector<const PageItem*> texts;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text && !item.text.trimmed().isEmpty() && !DrawnRule(item.text))
            texts.push_back(&item);
    // The lines of one box share its edges exactly.
    std::stable_sort(texts.begin(), texts.end(), [](const PageItem* a, const PageItem* b) {
        return std::tie(a->x1, a->x2, a->y1) < std::tie(b->x1, b->x2, b->y1);
    });
    const std::vector<Rule> rules = RulesOf(page);
    std::vector<Field> fields;
    const PageItem* last = nullptr;
    for (const PageItem* item : texts) {
        const bool goesOn = last && item->x1 == last->x1 && item->x2 == last->x2
            && item->align == last->align && item->font == last->font && std::fabs(item->y1 - last->y2) <= kLineJoin
            && (InOneRuledCell(rules, *last, *item) || WrappedOn(model, *last, *item));
        if (goesOn)
            fields.back().text += QLatin1Char(' ') + item->text.trimmed();
        else
            fields.push_back({item->y1, item->x1, item->x2, item->align, item->text.trimmed()});
        last = item;
    }
    return fields;
}

// Rows of a page: items whose tops lie within the row tolerance of the top of
// the row's first (highest) item, ordered by their left edge.
template <class T, class Top, class Left>
std::vector<std::vector<T>> RowsOf(std::vector<T> items, Top top, Left left)
{
    std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) { return top(a) < top(b); });
    std::vector<std::vector<T>> rows;
    double rowTop = 0;
    for (T& item : items) {
        if (rows.empty() || top(item) > rowTop + kRowTolerance) {
            rows.emplace_back();
            rowTop = top(item);
        }
        rows.back().push_back(std::move(item));
    }
    for (auto& row : rows)
        std::stable_sort(row.begin(), row.end(), [&](const T& a, const T& b) { return left(a) < left(b); });
    return rows;
}

using FieldRows = std::vector<std::vector<Field>>;

// The rows of fields of a page.
FieldRows FieldRowsOf(const PageModel& model, const Page& page)
{
    return RowsOf(FieldsOf(model, page), [](const Field& f) { return f.top; }, [](const Field& f) { return f.x1; });
}

// The same box (a pair of edges) whatever the sign of a zero.
struct BoxHash {
    std::size_t operator()(const std::pair<double, double>& box) const
    {
        const auto bits = [](double v) {
            std::uint64_t b = 0;
            v = v == 0 ? 0.0 : v;
            std::memcpy(&b, &v, sizeof b);
            return b;
        };
        return std::hash<std::uint64_t>()(bits(box.first) * 0x9E3779B97F4A7C15ull ^ bits(box.second));
    }
};

// The columns of the whole report, so that a column keeps its place from
// page to page.
class Columns {
public:
    // Takes the rows of a page, and appends to `boxes` the number of the box
    // of each field, in order. Each pair of neighbouring fields of a row
    // leaves a gap (their boxes touch or stand apart) that a column boundary
    // must cross; a gap met before adds nothing.
    void take(const FieldRows& rows, std::vector<int>& boxes)
    {
        for (const auto& row : rows) {
            double reach = std::numeric_limits<double>::lowest(); // the right edge of the row so far
            for (const Field& field : row) {
                if (&field != &row.front() && reach - field.x1 <= kEdge) {
                    const std::pair<double, double> gap(std::min(reach, field.x1), std::max(reach, field.x1));
                    if (m_seenGaps.insert(gap).second)
                        m_gaps.push_back(gap);
                }
                reach = std::max(reach, field.x2);
                m_left = std::min(m_left, field.x1);
                m_right = std::max(m_right, field.x2);
                const auto [box, added] = m_boxes.try_emplace({field.x1, field.x2}, static_cast<int>(m_boxes.size()));
                if (added)
                    m_boxEdges.emplace_back(field.x1, field.x2);
                boxes.push_back(box->second);
            }
        }
    }

    // Once every page is taken: the narrowest gaps (the ruled cells and the
    // columns of a list) are served first; a wider gap that a boundary
    // already crosses adds none. Columns that no field takes are left out.
    void settle()
    {
        std::stable_sort(m_gaps.begin(), m_gaps.end(), [](const auto& g, const auto& h) {
            return g.second - g.first < h.second - h.first;
        });
        for (const auto& [from, to] : m_gaps) {
            const bool crossed = std::any_of(m_bounds.begin(), m_bounds.end(),
                                             [&](double x) { return x >= from - kEdge && x <= to + kEdge; });
            if (!crossed)
                m_bounds.push_back((from + to) / 2);
        }
        std::sort(m_bounds.begin(), m_bounds.end());
        std::vector<int> column(m_boxEdges.size());
        std::vector<int> used(static_cast<std::size_t>(count()), 0);
        for (std::size_t b = 0; b < m_boxEdges.size(); ++b) {
            column[b] = of(m_boxEdges[b].first, m_boxEdges[b].second);
            used[static_cast<std::size_t>(column[b])] = 1;
        }
        std::vector<int> place(used.size(), 0);
        for (std::size_t c = 0; c < used.size(); ++c) {
            place[c] = m_width;
            m_width += used[c];
        }
        m_place.resize(m_boxEdges.size());
        for (std::size_t b = 0; b < m_boxEdges.size(); ++b)
            m_place[b] = place[static_cast<std::size_t>(column[b])];
    }

    // The fields of a record (a column that no field takes has none), and
    // the one that a field in box `box` fills.
    int width() const { return m_width; }
    int place(int box) const { return m_place[static_cast<std::size_t>(box)]; }

private:
    int count() const { return static_cast<int>(m_bounds.size()) + 1; }

    // The column of a field, by its box alone, so that a figure stands in the
    // column of the heading that shares its box: the column that holds most
    // of the box (a box may reach a little into its neighbour); a box over
    // several columns (a title, the label of a total) stands in the first one
    // it covers half of, as a merged cell of a spreadsheet.
    int of(double x1, double x2) const
    {
        int first = -1, most = 0;
        double mostWidth = -1;
        for (int c = 0; c < count(); ++c) {
            const double from = c == 0 ? m_left : m_bounds[static_cast<std::size_t>(c - 1)];
            const double to = c == count() - 1 ? m_right : m_bounds[static_cast<std::size_t>(c)];
            const double covered = std::min(to, x2) - std::max(from, x1);
            if (covered > mostWidth) {
                mostWidth = covered;
                most = c;
            }
            if (first < 0 && covered > 0 && covered >= (to - from) / 2)
                first = c;
        }
        return mostWidth >= kMostly * (x2 - x1) || first < 0 ? most : first;
    }

    std::vector<std::pair<double, double>> m_gaps;
    std::unordered_set<std::pair<double, double>, BoxHash> m_seenGaps;
    std::unordered_map<std::pair<double, double>, int, BoxHash> m_boxes; // the number of each box
    std::vector<std::pair<double, double>> m_boxEdges;                   // the edges of each box, by its number
    std::vector<int> m_place;                                            // the field of each box
    int m_width = 0;
    std::vector<double> m_bounds;
    double m_left = std::numeric_limits<double>::max();
    double m_right = std::numeric_limits<double>::lowest();
};

// The records of a CSV as the pages give them, before the columns are
// known: each record the number of its fields, then each field's box and
// text (UTF-8). Past a piece (1 MiB, or the page memory limit when lower)
// they go, a piece at a time, into an unnamed file in the temporary
// directory, gone with the object.
class CsvRecords {
public:
    using Record = std::vector<std::pair<int, QByteArrayView>>;

    // False when the temporary file cannot take them.
    bool add(const FieldRows& rows, const std::vector<int>& boxes)
    {
        std::size_t b = 0;
        for (const auto& row : rows) {
            number(row.size());
            for (const Field& field : row) {
                number(static_cast<std::size_t>(boxes[b++]));
                const QByteArray text = field.text.toUtf8();
                number(static_cast<std::size_t>(text.size()));
                m_piece += text;
            }
        }
        const std::size_t held = std::clamp<std::size_t>(PageMemoryLimit(), 1, kPiece);
        return static_cast<std::size_t>(m_piece.size()) < held || put();
    }

    // Calls `each` with every record in order, until it returns false;
    // false when a record could not be read back or `each` said so.
    template <class Each> bool read(const Each& each)
    {
        if (!m_file)
            return readPiece(m_piece, each);
        if (!put() || !m_file->seek(0))
            return false;
        while (!m_file->atEnd()) {
            quint32 size = 0;
            if (m_file->read(reinterpret_cast<char*>(&size), sizeof size) != sizeof size)
                return false;
            const QByteArray piece = m_file->read(size);
            if (piece.size() != static_cast<qsizetype>(size) || !readPiece(piece, each))
                return false;
        }
        return true;
    }

private:
    static constexpr std::size_t kPiece = std::size_t{1} << 20;

    void number(std::size_t v)
    {
        for (; v >= 0x80; v >>= 7)
            m_piece += static_cast<char>(0x80 | (v & 0x7F));
        m_piece += static_cast<char>(v);
    }

    // Writes the piece gathered into the file, behind its length.
    bool put()
    {
        if (m_piece.isEmpty())
            return true;
        if (!m_file) {
            m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/kalmora-csv-XXXXXX"));
            if (!m_file->open())
                return false;
        }
        const quint32 size = static_cast<quint32>(m_piece.size());
        const bool written = m_file->write(reinterpret_cast<const char*>(&size), sizeof size) == sizeof size
            && m_file->write(m_piece) == m_piece.size();
        m_piece.clear();
        return written;
    }

    template <class Each> static bool readPiece(const QByteArray& piece, const Each& each)
    {
        const char* at = piece.constData();
        const char* const end = at + piece.size();
        bool sound = true;
        const auto number = [&]() -> std::size_t {
            std::size_t v = 0;
            for (int shift = 0; sound; shift += 7) {
                if (at == end || shift > 56) {
                    sound = false;
                    break;
                }
                const auto byte = static_cast<unsigned char>(*at++);
                v |= static_cast<std::size_t>(byte & 0x7F) << shift;
                if (byte < 0x80)
                    break;
            }
            return v;
        };
        Record record;
        while (at != end) {
            record.clear();
            for (std::size_t n = number(); sound && n > 0; --n) {
                const int box = static_cast<int>(number());
                const std::size_t size = number();
                sound = sound && size <= static_cast<std::size_t>(end - at);
                if (!sound)
                    break;
                record.emplace_back(box, QByteArrayView(at, static_cast<qsizetype>(size)));
                at += size;
            }
            if (!sound || !each(record))
                return false;
        }
        return true;
    }

    QByteArray m_piece;
    std::unique_ptr<QTemporaryFile> m_file;
};

} // namespace

std::vector<std::vector<const PageItem*>> TextRows(const Page& page)
{
    std::vector<const PageItem*> texts;
    for (const PageItem& item : page.items)
        if (item.kind == PageItem::Kind::Text && !item.text.isEmpty())
            texts.push_back(&item);
    return RowsOf(std::move(texts), [](const PageItem* t) { return t->y1; }, [](const PageItem* t) { return t->x1; });
}

namespace {

// Writes an export to `out` a page at a time.
class ExportWriter {
public:
    ExportWriter(const PageModel& model, QIODevice& out, const ExportProgress& pageDone)
        : m_model(model), m_out(out), m_pageDone(pageDone)
    {
    }

    bool write(ExportFormat format)
    {
        switch (format) {
        case ExportFormat::Html: return html();
        case ExportFormat::Csv: return csv();
        case ExportFormat::Text: return text();
        }
        return false;
    }

private:
    // Puts out what a page made; false when the device refuses it.
    bool put(QString& chunk, int pagesDone = 0)
    {
        const QByteArray bytes = chunk.toUtf8();
        chunk.clear();
        if (m_out.write(bytes) != bytes.size())
            return false;
        if (pagesDone > 0 && m_pageDone)
            m_pageDone(pagesDone);
        return true;
    }

    bool html();
    bool csv();
    bool text();

    const PageModel& m_model;
    QIODevice& m_out;
    const ExportProgress& m_pageDone;
};

bool ExportWriter::html()
{
    const PageModel& model = m_model;
    QString out;
    out += QStringLiteral("<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
    out += model.title.toHtmlEscaped();
    out += QStringLiteral("</title>\n<style>\n"
                          "body { background: #808080; margin: 0; padding: 8px; }\n"
                          ".page { position: relative; background: #fff; margin: 0 auto 8px auto; overflow: hidden; }\n"
                          ".page div { position: absolute; white-space: pre; }\n"
                          "</style>\n</head>\n<body>\n");
    for (int p = 0; p < model.pageCount(); ++p) {
        out += QStringLiteral("<div class=\"page\" id=\"strona%1\" style=\"width:%2;height:%3\">\n")
                   .arg(p + 1)
                   .arg(Mm(model.paperSize.width()), Mm(model.paperSize.height()));
        const auto page = model.page(p);
        for (const PageItem& item : page->items) {
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
        if (!put(out, p + 1))
            return false;
    }
    out += QStringLiteral("</body>\n</html>\n");
    return put(out);
}

bool ExportWriter::csv()
{
    // One pass over the pages gathers the records and the columns; once
    // every page is read the records are written in their columns.
    Columns columns;
    CsvRecords records;
    std::vector<int> boxes;
    for (int p = 0; p < m_model.pageCount(); ++p) {
        const FieldRows rows = FieldRowsOf(m_model, *m_model.page(p));
        boxes.clear();
        columns.take(rows, boxes);
        if (!records.add(rows, boxes))
            return false;
        if (m_pageDone)
            m_pageDone(p + 1);
    }
    columns.settle();

    QByteArray out;
    std::vector<QByteArray> cells(static_cast<std::size_t>(columns.width()));
    const bool read = records.read([&](const CsvRecords::Record& record) {
        for (QByteArray& cell : cells)
            cell.resize(0);
        for (const auto& [box, text] : record) {
            QByteArray& cell = cells[static_cast<std::size_t>(columns.place(box))];
            if (!cell.isEmpty())
                cell += ' ';
            cell += text;
        }
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0)
                out += ',';
            AppendCsvField(out, cells[c]);
        }
        out += "\r\n";
        if (out.size() < (1 << 20))
            return true;
        const bool written = m_out.write(out) == out.size();
        out.resize(0);
        return written;
    });
    return read && m_out.write(out) == out.size();
}

bool ExportWriter::text()
{
    QString out;
    for (int p = 0; p < m_model.pageCount(); ++p) {
        if (p > 0)
            out += QLatin1Char('\f');
        const auto page = m_model.page(p);
        for (const auto& row : TextRows(*page)) {
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
        if (!put(out, p + 1))
            return false;
    }
    return true;
}

} // namespace

QByteArray Export(const PageModel& model, ExportFormat format, const ExportProgress& pageDone)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    ExportWriter(model, buffer, pageDone).write(format);
    return data;
}

QByteArray ExportHtml(const PageModel& model, const ExportProgress& pageDone)
{
    return Export(model, ExportFormat::Html, pageDone);
}

QByteArray ExportCsv(const PageModel& model, const ExportProgress& pageDone)
{
    return Export(model, ExportFormat::Csv, pageDone);
}

QByteArray ExportText(const PageModel& model, const ExportProgress& pageDone)
{
    return Export(model, ExportFormat::Text, pageDone);
}

void ExportToFile(const PageModel& model, ExportFormat format, const QString& fileName, const ExportProgress& pageDone)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !ExportWriter(model, file, pageDone).write(format) || !file.commit())
        throw kal::Exception(QStringLiteral("Nie można zapisać pliku %1.").arg(fileName));
}

} // namespace kal::report
