#include "PdfWriter.h"

#include "PdfFont.h"

#include <QDateTime>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <hb.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kal::report {
namespace {

using pdf::Number;

constexpr double kPointsPerMm = 72.0 / 25.4;
// Thinnest line: half a dot of a 600 dpi printer, as the painter draws it.
constexpr double kThinnestLineMm = 0.5 * 25.4 / 600.0;

enum : int { kCatalog = 1, kPages = 2, kInfo = 3, kResources = 4, kFirstPage = 5 };

int PageObject(int index)
{
    return kFirstPage + 2 * index;
}

QByteArray PdfText(const QString& text)
{
    QByteArray out = "<FEFF";
    for (const QChar c : text)
        pdf::Hex4(out, c.unicode());
    return out + '>';
}

// What one thread needs to build pages: its shaping buffer, and for every
// font the text of each glyph it has used (null: not used).
struct Builder {
    explicit Builder(std::size_t fonts) : glyphTexts(fonts) { buffer = hb_buffer_create(); }
    ~Builder() { hb_buffer_destroy(buffer); }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    hb_buffer_t* buffer;
    std::vector<pdf::ShapedGlyph> glyphs;
    std::vector<std::vector<QString>> glyphTexts;
};

// The faces of a model's fonts: fonts that differ only in size or underline
// share one face and so one embedded font.
struct Faces {
    std::vector<std::unique_ptr<pdf::Font>> fonts;
    std::vector<std::size_t> ofFont; // face of each font of the model

    explicit Faces(const PageModel& model)
    {
        std::vector<QString> keys;
        std::vector<FontDef> defs = model.fonts;
        if (defs.empty())
            defs.emplace_back();
        for (const FontDef& def : defs) {
            const QFont font = ToQFont(def);
            const QString key = font.family() + QLatin1Char(def.bold ? 'b' : '-') + QLatin1Char(def.italic ? 'i' : '-');
            const auto found = std::find(keys.begin(), keys.end(), key);
            if (found != keys.end()) {
                ofFont.push_back(static_cast<std::size_t>(found - keys.begin()));
                continue;
            }
            keys.push_back(key);
            ofFont.push_back(fonts.size());
            fonts.push_back(std::make_unique<pdf::Font>(def));
        }
    }
    bool valid() const
    {
        return std::all_of(fonts.begin(), fonts.end(), [](const auto& f) { return f->valid(); });
    }
    std::size_t faceOf(const PageItem& item) const { return item.font < ofFont.size() ? ofFont[item.font] : 0; }
};

class Document {
public:
    Document(const PageModel& model, const Faces& faces) : m_model(model), m_faces(faces)
    {
        const QPageLayout layout(QPageSize(QPageSize::A4),
                                 model.orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                 QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        // The page in whole points, as Qt's own PDF pages are.
        m_pageSize = layout.fullRectPoints().size();
    }

    QSize pageSize() const { return m_pageSize; }

    // The content stream of `page`.
    QByteArray content(const Page& page, Builder& builder) const
    {
        QByteArray out;
        out.reserve(static_cast<qsizetype>(page.items.size()) * 64 + 64);
        // Millimetres from the top-left corner of the paper.
        out += "2.834645669 0 0 -2.834645669 0 " + QByteArray::number(m_pageSize.height()) + " cm\n2 J 2 j\n";
        bool inText = false;
        int currentFont = -1;
        double currentPen = -1;
        for (const PageItem& item : page.items) {
            if (item.kind == PageItem::Kind::Text) {
                if (item.text.isEmpty())
                    continue;
                text(out, item, builder, inText, currentFont);
                continue;
            }
            if (inText) {
                out += "ET\n";
                inText = false;
            }
            const double pen = std::max(kThinnestLineMm, item.penWidth);
            if (pen != currentPen) {
                Number(out, pen);
                out += " w\n";
                currentPen = pen;
            }
            Number(out, item.x1);
            out += ' ';
            Number(out, item.y1);
            if (item.kind == PageItem::Kind::Line) {
                out += " m ";
                Number(out, item.x2);
                out += ' ';
                Number(out, item.y2);
                out += " l S\n";
            } else {
                out += ' ';
                Number(out, item.x2 - item.x1);
                out += ' ';
                Number(out, item.y2 - item.y1);
                out += " re S\n";
            }
        }
        if (inText)
            out += "ET\n";
        return out;
    }

private:
    void text(QByteArray& out, const PageItem& item, Builder& builder, bool& inText, int& currentFont) const
    {
        const std::size_t face = m_faces.faceOf(item);
        const pdf::Font& font = *m_faces.fonts[face];
        const FontDef& def = m_model.fontOf(item);
        const double size = (def.pointSize > 0 ? def.pointSize : 9.0) / kPointsPerMm; // mm an em
        const double unit = size / font.unitsPerEm();
        std::vector<pdf::ShapedGlyph>& glyphs = builder.glyphs;
        font.shape(builder.buffer, item.text, glyphs);
        if (glyphs.empty())
            return;

        // Which text each glyph stands for.
        std::vector<QString>& texts = builder.glyphTexts[face];
        if (texts.size() < static_cast<std::size_t>(font.glyphCount()))
            texts.resize(static_cast<std::size_t>(font.glyphCount()));
        qint64 width = 0;
        const qsizetype length = item.text.size();
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            const pdf::ShapedGlyph& g = glyphs[i];
            width += g.advance;
            if (g.glyph >= texts.size() || !texts[g.glyph].isNull())
                continue;
            std::uint32_t end = static_cast<std::uint32_t>(length);
            for (std::size_t k = i + 1; k < glyphs.size(); ++k)
                if (glyphs[k].cluster != g.cluster) {
                    end = glyphs[k].cluster;
                    break;
                }
            const bool firstOfCluster = i == 0 || glyphs[i - 1].cluster != g.cluster;
            texts[g.glyph] = firstOfCluster && end > g.cluster ? item.text.mid(g.cluster, end - g.cluster) : QStringLiteral("");
        }
        double x = item.x1;
        if (item.align != Align::Left) {
            const double free = (item.x2 - item.x1) - width * unit;
            x += item.align == Align::Right ? free : free / 2;
        }
        const double baseline = item.y1 + font.ascent() * size;

        if (!inText) {
            out += "BT\n";
            inText = true;
        }
        if (currentFont != item.font) {
            out += "/F" + QByteArray::number(static_cast<qulonglong>(face)) + ' ';
            Number(out, size);
            out += " Tf\n";
            currentFont = item.font;
        }
        const auto moveTo = [&out](double tx, double ty) {
            out += "1 0 0 -1 ";
            Number(out, tx);
            out += ' ';
            Number(out, ty);
            out += " Tm\n";
        };
        moveTo(x, baseline);
        double pen = x;
        bool open = false;
        for (const pdf::ShapedGlyph& g : glyphs) {
            if (g.xOffset != 0 || g.yOffset != 0) {
                // A glyph placed off the pen (a mark): on its own.
                if (open) {
                    out += "] TJ\n";
                    open = false;
                }
                moveTo(pen + g.xOffset * unit, baseline - g.yOffset * unit);
                out += '<';
                pdf::Hex4(out, g.glyph);
                out += "> Tj\n";
                pen += g.advance * unit;
                moveTo(pen, baseline);
                continue;
            }
            if (!open) {
                out += "[<";
                open = true;
            } else {
                out += '<';
            }
            pdf::Hex4(out, g.glyph);
            out += '>';
            pen += g.advance * unit;
            const int own = font.advance(g.glyph);
            if (own != g.advance) {
                // Kerning: the PDF moves the pen by the glyph's own width.
                Number(out, (own - g.advance) * 1000.0 / font.unitsPerEm());
            }
        }
        if (open)
            out += "] TJ\n";

        if (def.underline) {
            out += "ET\n";
            inText = false;
            const double thickness = font.underlineThickness() * size;
            Number(out, x);
            out += ' ';
            Number(out, baseline + font.underlinePosition() * size - thickness / 2);
            out += ' ';
            Number(out, width * unit);
            out += ' ';
            Number(out, thickness);
            out += " re f\n";
        }
    }

    const PageModel& m_model;
    const Faces& m_faces;
    QSize m_pageSize;
};

// The file as it is written: keeps each object's offset for the cross
// reference table, and hands the bytes on in large pieces.
class Output {
public:
    explicit Output(QIODevice& device) : m_device(device) {}

    void append(const QByteArray& bytes)
    {
        m_pending += bytes;
        m_written += bytes.size();
        if (m_pending.size() > (1 << 20))
            flush();
    }
    void object(int number, const QByteArray& bytes)
    {
        if (static_cast<std::size_t>(number) >= m_offsets.size())
            m_offsets.resize(static_cast<std::size_t>(number) + 1, -1);
        m_offsets[static_cast<std::size_t>(number)] = m_written;
        append(bytes);
    }
    bool flush()
    {
        const bool ok = m_pending.isEmpty() || m_device.write(m_pending) == m_pending.size();
        m_pending.clear();
        m_failed = m_failed || !ok;
        return !m_failed;
    }
    void finish()
    {
        const qint64 xref = m_written;
        QByteArray table = "xref\n0 " + QByteArray::number(static_cast<qulonglong>(m_offsets.size())) + "\n0000000000 65535 f \n";
        for (std::size_t i = 1; i < m_offsets.size(); ++i)
            table += m_offsets[i] < 0 ? QByteArray("0000000000 65535 f \n")
                                      : QByteArray::number(m_offsets[i]).rightJustified(10, '0') + " 00000 n \n";
        table += "trailer\n<< /Size " + QByteArray::number(static_cast<qulonglong>(m_offsets.size())) + " /Root "
            + QByteArray::number(kCatalog) + " 0 R /Info " + QByteArray::number(kInfo) + " 0 R >>\nstartxref\n"
            + QByteArray::number(xref) + "\n%%EOF\n";
        append(table);
        flush();
    }

private:
    QIODevice& m_device;
    QByteArray m_pending;
    qint64 m_written = 0;
    bool m_failed = false;
    std::vector<qint64> m_offsets{0};
};

} // namespace

bool WritePdfDocument(const PageModel& model, int from, int to, const QString& title, QIODevice& out,
                      const PageProgress& progress)
{
    const Faces faces(model);
    if (!faces.valid())
        return false;
    const auto& fonts = faces.fonts;

    from = std::max(0, from);
    to = std::min(to, model.pageCount() - 1);
    const int count = std::max(0, to - from + 1);
    const Document document(model, faces);

    // Pages are built ahead on worker threads, at most `window` pages ahead
    // of the one being written, and written in order on this thread.
    const int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    const int workers = std::min(threads, std::max(1, count / 4));
    const int window = 16 * workers;
    std::vector<QByteArray> built(static_cast<std::size_t>(count));
    std::vector<char> ready(static_cast<std::size_t>(count), 0);
    std::vector<std::unique_ptr<Builder>> builders;
    for (int w = 0; w < workers; ++w)
        builders.push_back(std::make_unique<Builder>(fonts.size()));
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<int> next{0};
    int written = 0;
    bool stop = false;

    auto work = [&](Builder& builder) {
        for (;;) {
            const int i = next.fetch_add(1);
            if (i >= count)
                return;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || i < written + window; });
                if (stop)
                    return;
            }
            QByteArray object;
            try {
                object = pdf::StreamObject(PageObject(i) + 1,
                                           document.content(model.pages[static_cast<std::size_t>(from + i)], builder));
            } catch (...) {
                object.clear();
            }
            {
                std::lock_guard lock(mutex);
                built[static_cast<std::size_t>(i)] = std::move(object);
                ready[static_cast<std::size_t>(i)] = 1;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int w = 0; w < workers; ++w)
        pool.emplace_back(work, std::ref(*builders[static_cast<std::size_t>(w)]));
    struct Join {
        std::vector<std::thread>& pool;
        std::mutex& mutex;
        std::condition_variable& changed;
        bool& stop;
        ~Join()
        {
            {
                std::lock_guard lock(mutex);
                stop = true;
            }
            changed.notify_all();
            for (std::thread& t : pool)
                t.join();
        }
    } join{pool, mutex, changed, stop};

    Output file(out);
    file.append("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    const QSize size = document.pageSize();
    const QByteArray mediaBox = "[0 0 " + QByteArray::number(size.width()) + ' ' + QByteArray::number(size.height()) + ']';
    for (int i = 0; i < count; ++i) {
        QByteArray object;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return ready[static_cast<std::size_t>(i)] != 0; });
            object = std::move(built[static_cast<std::size_t>(i)]);
            built[static_cast<std::size_t>(i)] = QByteArray();
            written = i + 1;
        }
        changed.notify_all();
        if (object.isEmpty())
            throw std::bad_alloc();
        file.object(PageObject(i), QByteArray::number(PageObject(i)) + " 0 obj\n<< /Type /Page /Parent "
                                       + QByteArray::number(kPages) + " 0 R /MediaBox " + mediaBox + " /Resources "
                                       + QByteArray::number(kResources) + " 0 R /Contents "
                                       + QByteArray::number(PageObject(i) + 1) + " 0 R >>\nendobj\n");
        file.object(PageObject(i) + 1, object);
        if (!file.flush())
            return true; // the caller sees the device's error
        if (progress)
            progress(i + 1);
    }

    // Every glyph each thread used, with the text it stands for.
    std::vector<std::vector<QString>> glyphTexts(fonts.size());
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        glyphTexts[f].resize(static_cast<std::size_t>(fonts[f]->glyphCount()));
        for (const auto& builder : builders) {
            const std::vector<QString>& used = builder->glyphTexts[f];
            for (std::size_t g = 0; g < used.size() && g < glyphTexts[f].size(); ++g)
                if (glyphTexts[f][g].isNull() && !used[g].isNull())
                    glyphTexts[f][g] = used[g];
        }
    }
    int nextObject = PageObject(count);
    QByteArray resources = QByteArray::number(kResources) + " 0 obj\n<< /Font <<";
    for (std::size_t f = 0; f < fonts.size(); ++f) {
        if (std::none_of(glyphTexts[f].begin(), glyphTexts[f].end(), [](const QString& s) { return !s.isNull(); }))
            continue;
        resources += " /F" + QByteArray::number(static_cast<qulonglong>(f)) + ' ' + QByteArray::number(nextObject) + " 0 R";
        for (const QByteArray& object : fonts[f]->objects(nextObject, glyphTexts[f]))
            file.object(nextObject++, object);
    }
    resources += " >> >>\nendobj\n";
    file.object(kResources, resources);

    QByteArray kids;
    for (int i = 0; i < count; ++i)
        kids += (i ? " " : "") + QByteArray::number(PageObject(i)) + " 0 R";
    file.object(kPages, QByteArray::number(kPages) + " 0 obj\n<< /Type /Pages /Count " + QByteArray::number(count)
                            + " /Kids [" + kids + "] >>\nendobj\n");
    const QByteArray now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    file.object(kInfo, QByteArray::number(kInfo) + " 0 obj\n<< /Title " + PdfText(title) + " /Creator "
                           + PdfText(QStringLiteral("System Kalmora")) + " /Producer " + PdfText(QStringLiteral("System Kalmora"))
                           + " /CreationDate (D:" + now + "Z) >>\nendobj\n");
    file.object(kCatalog, QByteArray::number(kCatalog) + " 0 obj\n<< /Type /Catalog /Pages " + QByteArray::number(kPages)
                              + " 0 R >>\nendobj\n");
    file.finish();
    return true;
}

} // namespace kal::report
