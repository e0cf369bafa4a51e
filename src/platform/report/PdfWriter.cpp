#include "PdfWriter.h"

#include "PdfFont.h"

#include <QDateTime>
#include <QGlyphRun>
#include <QHash>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QTextLayout>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <hb.h>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
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

// A piece of a text item drawn in one font: glyphs of the item's face
// (`outline` -1), or one glyph of an outline font.
struct Run {
    int outline = -1;
    std::size_t first = 0, count = 0; // the face's glyphs, in Builder::glyphs
    std::uint8_t code = 0;            // the outline font's glyph
    qsizetype textEnd = 0;            // the end of the run's characters in the text
    double width = 0;                 // mm
};

// The glyph that stands in a text for a character its face lacks, with
// what a page needs of its outline font (in ems), so that a page is built
// without looking at the outline fonts, which grow meanwhile.
struct Substitute {
    std::uint16_t outline = 0; // the outline font
    std::uint8_t code = 0;     // 0: no face has the character; it keeps its own face's missing glyph
    double advance = 0;
    double ascent = 0;
    double underlinePosition = 0;
    double underlineThickness = 0;
};

// A character of a page that its face lacks: the face, the character, and
// the font of the first text item that has it.
struct Lacking {
    std::size_t face = 0;
    char32_t c = 0;
    const FontDef* font = nullptr;
};

// The substitutes a page uses, of each face.
using PageSubstitutes = std::vector<std::vector<std::pair<char32_t, Substitute>>>;

// What one thread needs to build pages: its shaping buffer, for every font
// the text of each glyph it has used (null: not used), what it knows of the
// characters each face covers, and the glyphs of the texts it shaped last.
struct Builder {
    explicit Builder(std::size_t fonts) : glyphTexts(fonts), covered(fonts), shaped(fonts)
    {
        buffer = hb_buffer_create();
    }
    ~Builder() { hb_buffer_destroy(buffer); }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    hb_buffer_t* buffer;
    std::vector<pdf::ShapedGlyph> glyphs;
    std::vector<Run> runs;
    std::vector<std::vector<QString>> glyphTexts;
    // Of each face, for each character below 0x10000: 0 not asked yet, 1
    // covered, 2 lacking.
    std::vector<std::vector<std::uint8_t>> covered;
    std::vector<Lacking> lacking; // of the page being built
    PageSubstitutes substitutes;  // of the page being built

    // Appends the glyphs of the whole of `text` in `font`, face `face`, to
    // `glyphs`. A list repeats its dates, names and codes: a text shaped
    // before is taken from the texts kept, which start over once they hold
    // kKeptGlyphs glyphs.
    void shapeWhole(const pdf::Font& font, std::size_t face, const QString& text)
    {
        QHash<QString, std::pair<std::uint32_t, std::uint32_t>>& kept = shaped[face];
        const auto found = kept.constFind(text);
        if (found != kept.cend()) {
            const auto from = shapedGlyphs.begin() + found->first;
            glyphs.insert(glyphs.end(), from, from + found->second);
            return;
        }
        const std::size_t first = glyphs.size();
        font.shape(buffer, text, 0, static_cast<int>(text.size()), glyphs);
        if (shapedGlyphs.size() >= kKeptGlyphs) {
            for (auto& texts : shaped)
                texts.clear();
            shapedGlyphs.clear();
        }
        kept.insert(text, {static_cast<std::uint32_t>(shapedGlyphs.size()), static_cast<std::uint32_t>(glyphs.size() - first)});
        shapedGlyphs.insert(shapedGlyphs.end(), glyphs.begin() + static_cast<std::ptrdiff_t>(first), glyphs.end());
    }

private:
    static constexpr std::size_t kKeptGlyphs = 1 << 15;
    // Of each face, the texts shaped whole: where their glyphs lie in
    // `shapedGlyphs`, and how many there are.
    std::vector<QHash<QString, std::pair<std::uint32_t, std::uint32_t>>> shaped;
    std::vector<pdf::ShapedGlyph> shapedGlyphs;
};

// The faces of a model's fonts: fonts that differ only in size or underline
// share one face and so one embedded font. A character a face lacks comes,
// as in Qt's own layout, from the face Qt falls back to for it; those glyphs
// go into outline fonts. The substitutes are found as the pages are written,
// in the order of the pages, so that a document is the same whichever thread
// builds which page.
class Faces {
public:
    std::vector<std::unique_ptr<pdf::Font>> fonts;
    std::vector<std::size_t> ofFont; // face of each font of the model
    std::vector<std::unique_ptr<pdf::OutlineFont>> outlines;

    explicit Faces(const PageModel& model) : m_model(model)
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
        m_substitutes.resize(fonts.size());
    }
    bool valid() const
    {
        return std::all_of(fonts.begin(), fonts.end(), [](const auto& f) { return f->valid(); });
    }
    std::size_t faceOf(const PageItem& item) const { return item.font < ofFont.size() ? ofFont[item.font] : 0; }

    // Every character of the texts of `page` that its face lacks, each once,
    // into `builder.lacking`, in the order of the page. Safe from any thread,
    // each with a builder of its own.
    void findLacking(const Page& page, Builder& builder) const
    {
        builder.lacking.clear();
        for (const PageItem& item : page.items) {
            if (item.kind != PageItem::Kind::Text)
                continue;
            const std::size_t face = faceOf(item);
            std::vector<std::uint8_t>& known = builder.covered[face];
            const QString& text = item.text;
            for (qsizetype i = 0; i < text.size(); ++i) {
                char32_t c = text[i].unicode();
                if (c < 0x80 && !known.empty() && known[c] == 1)
                    continue;
                if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                    c = QChar::surrogateToUcs4(text[i], text[i + 1]);
                i += c > 0xFFFF;
                bool lacks;
                if (c < 0x10000) {
                    if (known.empty())
                        known.resize(0x10000, 0);
                    if (known[c] == 0)
                        known[c] = fonts[face]->covers(c) ? 1 : 2;
                    lacks = known[c] == 2;
                } else {
                    lacks = !fonts[face]->covers(c);
                }
                if (lacks && std::none_of(builder.lacking.begin(), builder.lacking.end(),
                                          [&](const Lacking& l) { return l.face == face && l.c == c; }))
                    builder.lacking.push_back({face, c, &m_model.fontOf(item)});
            }
        }
    }

    // The substitutes of the characters in `builder.lacking`, into
    // `builder.substitutes`; false when one is not found yet. Safe from any
    // thread.
    bool known(Builder& builder) const
    {
        builder.substitutes.assign(fonts.size(), {});
        if (builder.lacking.empty())
            return true;
        const std::lock_guard lock(m_mutex);
        for (const Lacking& l : builder.lacking) {
            const auto found = m_substitutes[l.face].find(l.c);
            if (found == m_substitutes[l.face].end())
                return false;
            if (found->second.code != 0)
                builder.substitutes[l.face].emplace_back(l.c, found->second);
        }
        return true;
    }

    // Finds the substitutes of the characters in `builder.lacking` not found
    // before, in their order; on the thread that owns the fonts, a page after
    // the other.
    void find(const Builder& builder)
    {
        for (const Lacking& l : builder.lacking) {
            {
                const std::lock_guard lock(m_mutex);
                if (m_substitutes[l.face].count(l.c))
                    continue;
            }
            const Substitute found = substitute(l.c, *l.font);
            const std::lock_guard lock(m_mutex);
            m_substitutes[l.face].emplace(l.c, found);
        }
    }

private:
    // Asks Qt's layout which face draws `c` after a letter in `def`; that
    // face's glyph stands for it. A character no face has keeps the missing
    // glyph of its own face, as Qt draws it.
    Substitute substitute(char32_t c, const FontDef& def)
    {
        const QFont font = ToQFont(def);
        const QRawFont own = QRawFont::fromFont(font);
        const QString character = QString::fromUcs4(&c, 1);
        QTextLayout layout(QStringLiteral("a") + character, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QRawFont raw = run.rawFont();
            if (run.glyphIndexes().size() != 1
                || (raw.familyName() == own.familyName() && raw.styleName() == own.styleName()))
                continue;
            const quint32 glyph = run.glyphIndexes().first();
            std::size_t o = 0;
            std::uint8_t code = 0;
            for (; o < outlines.size(); ++o)
                if (outlines[o]->isFace(raw) && ((code = outlines[o]->codeOf(glyph)) != 0 || !outlines[o]->full()))
                    break;
            if (o == outlines.size())
                outlines.push_back(std::make_unique<pdf::OutlineFont>(raw));
            const pdf::OutlineFont& outline = *outlines[o];
            if (code == 0)
                code = outlines[o]->add(glyph, character);
            return Substitute{static_cast<std::uint16_t>(o), code, outline.advance(code), outline.ascent(),
                              outline.underlinePosition(), outline.underlineThickness()};
        }
        return {};
    }

    const PageModel& m_model;
    mutable std::mutex m_mutex; // guards m_substitutes
    std::vector<std::unordered_map<char32_t, Substitute>> m_substitutes; // of each face
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
        TextState state;
        double currentPen = -1;
        for (const PageItem& item : page.items) {
            if (item.kind == PageItem::Kind::Text) {
                if (item.text.isEmpty())
                    continue;
                text(out, item, builder, state);
                continue;
            }
            if (state.inText) {
                out += "ET\n";
                state.inText = false;
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
        if (state.inText)
            out += "ET\n";
        return out;
    }

private:
    // The text object being written: its font (a face's number, or -1 minus
    // an outline font's number) and size.
    struct TextState {
        bool inText = false;
        int font = std::numeric_limits<int>::min();
        double size = -1;
    };

    // In ems: where a line of text stands below its top and where its
    // underline goes: as low as the lowest of the faces it uses needs.
    struct LineMetrics {
        double ascent = 0;
        double underlinePosition = 0;
        double underlineThickness = 0;
        void take(double a, double position, double thickness)
        {
            ascent = std::max(ascent, a);
            underlinePosition = std::max(underlinePosition, position);
            underlineThickness = std::max(underlineThickness, thickness);
        }
    };

    // Splits the text of `item` into runs: the face's own characters shaped
    // together, each character the face lacks on its own.
    void runsOf(const PageItem& item, std::size_t face, double size, Builder& builder, LineMetrics& line) const
    {
        const pdf::Font& font = *m_faces.fonts[face];
        const double unit = size / font.unitsPerEm();
        const auto& substitutes = builder.substitutes[face];
        const QString& text = item.text;
        builder.glyphs.clear();
        builder.runs.clear();
        line = LineMetrics{};
        line.take(font.ascent(), font.underlinePosition(), font.underlineThickness());
        const auto own = [&](qsizetype from, qsizetype to) {
            if (to <= from)
                return;
            Run run;
            run.first = builder.glyphs.size();
            if (from == 0 && to == text.size())
                builder.shapeWhole(font, face, text);
            else
                font.shape(builder.buffer, text, static_cast<int>(from), static_cast<int>(to - from), builder.glyphs);
            run.count = builder.glyphs.size() - run.first;
            run.textEnd = to;
            qint64 advance = 0;
            for (std::size_t i = run.first; i < builder.glyphs.size(); ++i)
                advance += builder.glyphs[i].advance;
            run.width = advance * unit;
            builder.runs.push_back(run);
        };
        if (substitutes.empty()) {
            own(0, text.size());
            return;
        }
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size();) {
            char32_t c = text[i].unicode();
            qsizetype n = 1;
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(text[i], text[i + 1]);
                n = 2;
            }
            const auto found = std::find_if(substitutes.begin(), substitutes.end(), [c](const auto& s) { return s.first == c; });
            if (found == substitutes.end()) {
                i += n;
                continue;
            }
            own(start, i);
            const Substitute& substitute = found->second;
            Run run;
            run.outline = substitute.outline;
            run.code = substitute.code;
            run.textEnd = i + n;
            run.width = substitute.advance * size;
            builder.runs.push_back(run);
            line.take(substitute.ascent, substitute.underlinePosition, substitute.underlineThickness);
            i += n;
            start = i;
        }
        own(start, text.size());
    }

    void text(QByteArray& out, const PageItem& item, Builder& builder, TextState& state) const
    {
        const std::size_t face = m_faces.faceOf(item);
        const pdf::Font& font = *m_faces.fonts[face];
        const FontDef& def = m_model.fontOf(item);
        const double size = (def.pointSize > 0 ? def.pointSize : 9.0) / kPointsPerMm; // mm an em
        const double unit = size / font.unitsPerEm();
        LineMetrics line;
        runsOf(item, face, size, builder, line);
        const std::vector<pdf::ShapedGlyph>& glyphs = builder.glyphs;
        double width = 0;
        for (const Run& run : builder.runs)
            width += run.width;
        if (glyphs.empty() && std::all_of(builder.runs.begin(), builder.runs.end(), [](const Run& r) { return r.outline < 0; }))
            return;

        // Which text each glyph of the face stands for.
        std::vector<QString>& texts = builder.glyphTexts[face];
        if (texts.size() < static_cast<std::size_t>(font.glyphCount()))
            texts.resize(static_cast<std::size_t>(font.glyphCount()));
        for (const Run& run : builder.runs)
            for (std::size_t i = run.first; i < run.first + run.count; ++i) {
                const pdf::ShapedGlyph& g = glyphs[i];
                if (g.glyph >= texts.size() || !texts[g.glyph].isNull())
                    continue;
                std::uint32_t end = static_cast<std::uint32_t>(run.textEnd);
                for (std::size_t k = i + 1; k < run.first + run.count; ++k)
                    if (glyphs[k].cluster != g.cluster) {
                        end = glyphs[k].cluster;
                        break;
                    }
                const bool firstOfCluster = i == run.first || glyphs[i - 1].cluster != g.cluster;
                texts[g.glyph] = firstOfCluster && end > g.cluster ? item.text.mid(g.cluster, end - g.cluster) : QStringLiteral("");
            }
        double x = item.x1;
        if (item.align != Align::Left) {
            const double free = (item.x2 - item.x1) - width;
            x += item.align == Align::Right ? free : free / 2;
        }
        const double baseline = item.y1 + line.ascent * size;

        if (!state.inText) {
            out += "BT\n";
            state.inText = true;
        }
        const auto setFont = [&out, &state, size](int font, const QByteArray& name) {
            if (state.font == font && state.size == size)
                return;
            out += name + ' ';
            Number(out, size);
            out += " Tf\n";
            state.font = font;
            state.size = size;
        };
        const auto moveTo = [&out](double tx, double ty) {
            out += "1 0 0 -1 ";
            Number(out, tx);
            out += ' ';
            Number(out, ty);
            out += " Tm\n";
        };
        double pen = x;
        for (const Run& run : builder.runs) {
            if (run.outline >= 0) {
                setFont(-1 - run.outline, "/G" + QByteArray::number(run.outline));
                moveTo(pen, baseline);
                static const char digits[] = "0123456789ABCDEF";
                out.append('<').append(digits[run.code >> 4]).append(digits[run.code & 15]).append("> Tj\n");
                pen += run.width;
                continue;
            }
            if (run.count == 0)
                continue;
            setFont(static_cast<int>(face), "/F" + QByteArray::number(static_cast<qulonglong>(face)));
            moveTo(pen, baseline);
            bool open = false;
            for (std::size_t i = run.first; i < run.first + run.count; ++i) {
                const pdf::ShapedGlyph& g = glyphs[i];
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
        }

        if (def.underline) {
            out += "ET\n";
            state.inText = false;
            const double thickness = line.underlineThickness * size;
            Number(out, x);
            out += ' ';
            Number(out, baseline + line.underlinePosition * size - thickness / 2);
            out += ' ';
            Number(out, width);
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
    from = std::max(0, from);
    to = std::min(to, model.pageCount() - 1);
    Faces faces(model);
    if (!faces.valid())
        return false;
    const auto& fonts = faces.fonts;

    const int count = std::max(0, to - from + 1);
    const Document document(model, faces);

    // Pages are built ahead on worker threads, at most `window` pages ahead
    // of the one being written, and written in order on this thread.
    const int threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    const int workers = std::min(threads, std::max(1, count / 4));
    const int window = 16 * workers;
    std::vector<QByteArray> built(static_cast<std::size_t>(count));
    std::vector<char> ready(static_cast<std::size_t>(count), 0);
    // What stopped a worker building a page (no memory, a page that cannot be
    // read back from the page file), raised again on this thread.
    std::vector<std::exception_ptr> failed(static_cast<std::size_t>(count));
    // A page with a character whose substitute is not found yet waits, with
    // the characters its face lacks, for this thread to find them and build it.
    struct Waiting {
        std::shared_ptr<const Page> page;
        std::vector<Lacking> lacking;
    };
    std::vector<Waiting> waiting(static_cast<std::size_t>(count));
    // The workers' builders, and this thread's own.
    std::vector<std::unique_ptr<Builder>> builders;
    for (int w = 0; w <= workers; ++w)
        builders.push_back(std::make_unique<Builder>(fonts.size()));
    Builder& own = *builders.back();
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
            Waiting later;
            std::exception_ptr failure;
            try {
                const auto page = model.page(from + i);
                faces.findLacking(*page, builder);
                if (faces.known(builder))
                    object = pdf::StreamObject(PageObject(i) + 1, document.content(*page, builder));
                else
                    later = {page, builder.lacking};
            } catch (...) {
                failure = std::current_exception();
            }
            {
                std::lock_guard lock(mutex);
                built[static_cast<std::size_t>(i)] = std::move(object);
                waiting[static_cast<std::size_t>(i)] = std::move(later);
                failed[static_cast<std::size_t>(i)] = failure;
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
        Waiting page;
        std::exception_ptr failure;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return ready[static_cast<std::size_t>(i)] != 0; });
            object = std::move(built[static_cast<std::size_t>(i)]);
            built[static_cast<std::size_t>(i)] = QByteArray();
            page = std::move(waiting[static_cast<std::size_t>(i)]);
            failure = failed[static_cast<std::size_t>(i)];
            written = i + 1;
        }
        changed.notify_all();
        if (failure)
            std::rethrow_exception(failure);
        if (page.page) {
            own.lacking = std::move(page.lacking);
            faces.find(own);
            faces.known(own);
            object = pdf::StreamObject(PageObject(i) + 1, document.content(*page.page, own));
        }
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
    for (std::size_t o = 0; o < faces.outlines.size(); ++o) {
        resources += " /G" + QByteArray::number(static_cast<qulonglong>(o)) + ' ' + QByteArray::number(nextObject) + " 0 R";
        for (const QByteArray& object : faces.outlines[o]->objects(nextObject))
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
