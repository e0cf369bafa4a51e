#include "PdfFont.h"

#include <QCryptographicHash>
#include <QPainterPath>
#include <QtEndian>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>
#include <map>

namespace kal::report::pdf {
namespace {

// The tables a face is rebuilt from: what shaping and the embedded program
// need. Kept sorted, as a font's table directory is.
constexpr const char* kTables[] = {"GDEF", "GPOS", "GSUB", "OS/2", "cmap", "cvt ", "fpgm", "gasp", "glyf", "head",
                                   "hhea", "hmtx", "kern", "loca", "maxp", "name", "post", "prep"};

// Qt's font engine at this many pixels an em: the size at which the painter
// draws report text, so that ascent and underline come out as they do there.
constexpr double kEnginePixels = 1200.0;

int U16(const QByteArray& t, int at)
{
    return at + 2 <= t.size() ? qFromBigEndian<quint16>(t.constData() + at) : 0;
}

int S16(const QByteArray& t, int at)
{
    return at + 2 <= t.size() ? qFromBigEndian<qint16>(t.constData() + at) : 0;
}

quint32 Checksum(const QByteArray& data)
{
    quint32 sum = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; i += 4) {
        quint32 word = 0;
        for (int k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < n ? static_cast<quint8>(data[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

// An sfnt file made of `tables` (tag, data), as HarfBuzz reads a font file.
QByteArray Sfnt(const std::vector<std::pair<QByteArray, QByteArray>>& tables)
{
    const int count = static_cast<int>(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    QByteArray out;
    auto put16 = [&out](int v) {
        out.append(char((v >> 8) & 0xFF));
        out.append(char(v & 0xFF));
    };
    auto put32 = [&out](quint32 v) {
        for (int s = 24; s >= 0; s -= 8)
            out.append(char((v >> s) & 0xFF));
    };
    put32(0x00010000);
    put16(count);
    put16(power * 16);
    put16(log2);
    put16(count * 16 - power * 16);
    quint32 offset = 12 + 16 * count;
    for (const auto& [tag, data] : tables) {
        out.append(tag);
        put32(Checksum(data));
        put32(offset);
        put32(static_cast<quint32>(data.size()));
        offset += (static_cast<quint32>(data.size()) + 3) & ~3u;
    }
    for (const auto& [tag, data] : tables) {
        out.append(data);
        out.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
    }
    return out;
}

// A name for the PDF file of `face`: its family and style without blanks,
// in printable ASCII.
QByteArray PostScriptName(const QRawFont& face)
{
    QString name = face.familyName();
    name.remove(QLatin1Char(' '));
    QString style = face.styleName();
    style.remove(QLatin1Char(' '));
    if (!style.isEmpty() && style.compare(QLatin1String("Regular"), Qt::CaseInsensitive) != 0)
        name += QLatin1Char('-') + style;
    QByteArray out;
    for (const QChar c : name)
        if (c.unicode() > 32 && c.unicode() < 127 && !QByteArrayLiteral("()<>[]{}/%#").contains(char(c.unicode())))
            out += char(c.unicode());
    return out.isEmpty() ? QByteArray("Font") : out;
}

// The text map of a font whose codes are `codeBytes` long: code `codes[i]`
// stands for `texts[i]`.
QByteArray TextMap(int codeBytes, const std::vector<unsigned>& codes, const std::vector<QString>& texts)
{
    const auto code = [codeBytes](QByteArray& out, unsigned c) {
        if (codeBytes == 2) {
            Hex4(out, c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            out.append(digits[(c >> 4) & 15]).append(digits[c & 15]);
        }
    };
    QByteArray cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n1 begincodespacerange\n<";
    code(cmap, 0);
    cmap += "> <";
    code(cmap, codeBytes == 2 ? 0xFFFF : 0xFF);
    cmap += ">\nendcodespacerange\n";
    for (std::size_t from = 0; from < codes.size(); from += 100) {
        const std::size_t to = std::min(codes.size(), from + 100);
        cmap += QByteArray::number(static_cast<qulonglong>(to - from)) + " beginbfchar\n";
        for (std::size_t i = from; i < to; ++i) {
            cmap += '<';
            code(cmap, codes[i]);
            cmap += "> <";
            for (const QChar c : texts[i])
                Hex4(cmap, c.unicode());
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap;
}

} // namespace

void Number(QByteArray& out, double v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::round(v * 1000.0) / 1000.0, std::chars_format::fixed, 3);
    const char* end = r.ptr;
    while (end > buf && end[-1] == '0')
        --end;
    if (end > buf && end[-1] == '.')
        --end;
    if (end == buf + 2 && buf[0] == '-' && buf[1] == '0')
        out.append('0');
    else
        out.append(buf, end - buf);
}

void Hex4(QByteArray& out, unsigned v)
{
    static const char digits[] = "0123456789ABCDEF";
    out.append(digits[(v >> 12) & 15]).append(digits[(v >> 8) & 15]).append(digits[(v >> 4) & 15]).append(digits[v & 15]);
}

QByteArray StreamObject(int number, const QByteArray& data, const QByteArray& extra)
{
    // qCompress gives a zlib stream behind four bytes of length.
    const QByteArray packed = qCompress(data, 6).mid(4);
    QByteArray out = QByteArray::number(number) + " 0 obj\n<< /Length " + QByteArray::number(packed.size())
        + " /Filter /FlateDecode" + extra + " >>\nstream\n";
    out += packed;
    out += "\nendstream\nendobj\n";
    return out;
}

Font::Font(const FontDef& def)
{
    QFont qfont = ToQFont(def);
    QRawFont raw = QRawFont::fromFont(qfont);
    if (!raw.isValid())
        return;
    raw.setPixelSize(kEnginePixels);
    std::vector<std::pair<QByteArray, QByteArray>> tables;
    for (const char* tag : kTables) {
        const QByteArray data = raw.fontTable(tag);
        if (!data.isEmpty())
            tables.emplace_back(QByteArray(tag, 4), data);
    }
    const auto table = [&tables](const char* tag) {
        for (const auto& [t, data] : tables)
            if (t == tag)
                return data;
        return QByteArray();
    };
    const QByteArray head = table("head");
    const QByteArray hhea = table("hhea");
    const QByteArray maxp = table("maxp");
    m_hmtx = table("hmtx");
    if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 6 || table("glyf").isEmpty() || table("loca").isEmpty())
        return; // not a TrueType face: the caller draws with Qt instead
    m_unitsPerEm = std::max(16, U16(head, 18));
    for (int i = 0; i < 4; ++i)
        m_bbox[i] = S16(head, 36 + 2 * i) * 1000 / m_unitsPerEm;
    m_metricsCount = U16(hhea, 34);
    m_glyphCount = U16(maxp, 4);
    if (m_metricsCount < 1 || m_hmtx.size() < 4 * m_metricsCount)
        return;
    m_ascent = raw.ascent() / kEnginePixels;
    m_descent = raw.descent() / kEnginePixels;
    m_capHeight = raw.capHeight() / kEnginePixels;
    m_underlinePosition = raw.underlinePosition() / kEnginePixels;
    m_underlineThickness = raw.lineThickness() / kEnginePixels;
    const QByteArray post = table("post");
    if (post.size() >= 8)
        m_italicAngle = qFromBigEndian<qint32>(post.constData() + 4) / 65536.0;
    m_italic = raw.style() != QFont::StyleNormal;
    m_postScriptName = PostScriptName(raw);

    const QByteArray file = Sfnt(tables);
    m_blob = hb_blob_create(file.constData(), static_cast<unsigned>(file.size()), HB_MEMORY_MODE_DUPLICATE, nullptr, nullptr);
    m_face = hb_face_create(m_blob, 0);
    hb_face_make_immutable(m_face);
    m_font = hb_font_create(m_face);
    hb_font_set_scale(m_font, m_unitsPerEm, m_unitsPerEm);
    hb_font_make_immutable(m_font);
}

Font::~Font()
{
    hb_font_destroy(m_font);
    hb_face_destroy(m_face);
    hb_blob_destroy(m_blob);
}

int Font::advance(std::uint16_t glyph) const
{
    const int i = std::min<int>(glyph, m_metricsCount - 1);
    return U16(m_hmtx, 4 * i);
}

bool Font::covers(char32_t c) const
{
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(m_font, c, &glyph) && glyph != 0;
}

void Font::shape(hb_buffer_t* buffer, const QString& text, int from, int length, std::vector<ShapedGlyph>& out) const
{
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.utf16()), static_cast<int>(text.size()),
                        static_cast<unsigned>(from), length);
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_guess_segment_properties(buffer);
    hb_shape(m_font, buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, nullptr);
    out.reserve(out.size() + count);
    for (unsigned i = 0; i < count; ++i)
        out.push_back({static_cast<std::uint16_t>(info[i].codepoint), pos[i].x_advance, pos[i].x_offset, pos[i].y_offset,
                       info[i].cluster});
}

QByteArray Font::subset(const std::vector<std::uint32_t>& glyphs, const std::vector<std::uint32_t>& unicodes) const
{
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (!input)
        return {};
    hb_set_t* glyphSet = hb_subset_input_glyph_set(input);
    for (const std::uint32_t g : glyphs)
        hb_set_add(glyphSet, g);
    hb_set_t* unicodeSet = hb_subset_input_unicode_set(input);
    for (const std::uint32_t u : unicodes)
        hb_set_add(unicodeSet, u);
    // The glyph numbers stay, so that a glyph's number is its character code
    // in the PDF; the layout tables are not needed once the text is shaped,
    // nor the hinting programs, which PDF viewers do not run.
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
    hb_set_t* drop = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const char* tag : {"GDEF", "GPOS", "GSUB", "kern", "gasp"})
        hb_set_add(drop, hb_tag_from_string(tag, 4));
    hb_face_t* result = hb_subset_or_fail(m_face, input);
    hb_subset_input_destroy(input);
    if (!result)
        return {};
    hb_blob_t* blob = hb_face_reference_blob(result);
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    QByteArray out(data, static_cast<qsizetype>(length));
    hb_blob_destroy(blob);
    hb_face_destroy(result);
    return out;
}

std::vector<QByteArray> Font::objects(int firstObject, const std::vector<QString>& glyphTexts) const
{
    std::vector<std::uint32_t> glyphs;
    std::vector<std::uint32_t> unicodes;
    glyphs.push_back(0);
    for (std::size_t g = 1; g < glyphTexts.size(); ++g) {
        if (glyphTexts[g].isNull())
            continue;
        glyphs.push_back(static_cast<std::uint32_t>(g));
        for (const char32_t u : glyphTexts[g].toUcs4())
            unicodes.push_back(u);
    }
    const QByteArray program = subset(glyphs, unicodes);

    // A subset's name starts with six capitals of its own.
    const QByteArray digest = QCryptographicHash::hash(program, QCryptographicHash::Md5);
    QByteArray name;
    for (int i = 0; i < 6; ++i)
        name += char('A' + static_cast<quint8>(digest[i]) % 26);
    name += '+' + m_postScriptName;

    const int type0 = firstObject, cid = firstObject + 1, descriptor = firstObject + 2, file = firstObject + 3,
              toUnicode = firstObject + 4;
    auto ref = [](int n) { return QByteArray::number(n) + " 0 R"; };
    const double em = 1000.0 / m_unitsPerEm;

    std::vector<QByteArray> out;
    out.push_back(QByteArray::number(type0) + " 0 obj\n<< /Type /Font /Subtype /Type0 /BaseFont /" + name
        + " /Encoding /Identity-H /DescendantFonts [" + ref(cid) + "] /ToUnicode " + ref(toUnicode) + " >>\nendobj\n");

    QByteArray widths = "[";
    int previous = -2;
    for (const std::uint32_t g : glyphs) {
        if (static_cast<int>(g) != previous + 1) {
            if (previous >= 0)
                widths += "] ";
            widths += QByteArray::number(g) + " [";
        } else {
            widths += ' ';
        }
        Number(widths, advance(static_cast<std::uint16_t>(g)) * em);
        previous = static_cast<int>(g);
    }
    widths += "]]";
    out.push_back(QByteArray::number(cid) + " 0 obj\n<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name
        + " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " + ref(descriptor)
        + " /CIDToGIDMap /Identity /W " + widths + " >>\nendobj\n");

    QByteArray descriptorText = QByteArray::number(descriptor) + " 0 obj\n<< /Type /FontDescriptor /FontName /" + name
        + " /Flags " + QByteArray::number(m_italic ? 32 + 64 : 32) + " /FontBBox [" + QByteArray::number(m_bbox[0]) + ' '
        + QByteArray::number(m_bbox[1]) + ' ' + QByteArray::number(m_bbox[2]) + ' ' + QByteArray::number(m_bbox[3])
        + "] /ItalicAngle ";
    Number(descriptorText, m_italicAngle);
    descriptorText += " /Ascent ";
    Number(descriptorText, m_ascent * 1000);
    descriptorText += " /Descent ";
    Number(descriptorText, -m_descent * 1000);
    descriptorText += " /CapHeight ";
    Number(descriptorText, m_capHeight * 1000);
    descriptorText += " /StemV 80 /FontFile2 " + ref(file) + " >>\nendobj\n";
    out.push_back(descriptorText);
    out.push_back(StreamObject(file, program, " /Length1 " + QByteArray::number(program.size())));

    // Which text each glyph stands for, so that the text can be read back.
    std::vector<unsigned> codes;
    std::vector<QString> texts;
    for (std::size_t g = 1; g < glyphTexts.size(); ++g)
        if (!glyphTexts[g].isEmpty()) {
            codes.push_back(static_cast<unsigned>(g));
            texts.push_back(glyphTexts[g]);
        }
    const QByteArray cmap = TextMap(2, codes, texts);
    out.push_back(StreamObject(toUnicode, cmap));
    return out;
}

OutlineFont::OutlineFont(const QRawFont& face) : m_face(face)
{
    m_face.setPixelSize(kEnginePixels);
    m_ascent = m_face.ascent() / kEnginePixels;
    m_underlinePosition = m_face.underlinePosition() / kEnginePixels;
    m_underlineThickness = m_face.lineThickness() / kEnginePixels;
}

bool OutlineFont::isFace(const QRawFont& face) const
{
    return face.familyName() == m_face.familyName() && face.styleName() == m_face.styleName()
        && face.weight() == m_face.weight() && face.style() == m_face.style();
}

std::uint8_t OutlineFont::codeOf(quint32 glyph) const
{
    for (std::size_t i = 0; i < m_glyphs.size(); ++i)
        if (m_glyphs[i].index == glyph)
            return static_cast<std::uint8_t>(i + 1);
    return 0;
}

std::uint8_t OutlineFont::add(quint32 glyph, const QString& text)
{
    // Glyph space: thousandths of an em, upwards from the baseline.
    constexpr double k = 1000.0 / kEnginePixels;
    Glyph g;
    g.index = glyph;
    g.text = text;
    const QList<QPointF> advances = m_face.advancesForGlyphIndexes(QList<quint32>{glyph});
    g.advance = advances.isEmpty() ? 0.0 : advances.first().x() / kEnginePixels;
    const QPainterPath path = m_face.pathForGlyph(glyph);
    const QRectF box = path.boundingRect();
    const int bbox[4] = {static_cast<int>(std::floor(box.left() * k)), static_cast<int>(std::floor(-box.bottom() * k)),
                         static_cast<int>(std::ceil(box.right() * k)), static_cast<int>(std::ceil(-box.top() * k))};
    if (!path.isEmpty()) {
        if (!m_outlined) {
            std::copy(bbox, bbox + 4, m_bbox);
            m_outlined = true;
        } else {
            m_bbox[0] = std::min(m_bbox[0], bbox[0]);
            m_bbox[1] = std::min(m_bbox[1], bbox[1]);
            m_bbox[2] = std::max(m_bbox[2], bbox[2]);
            m_bbox[3] = std::max(m_bbox[3], bbox[3]);
        }
    }
    Number(g.drawing, g.advance * 1000);
    g.drawing += " 0";
    for (const int v : bbox) {
        g.drawing += ' ';
        g.drawing += QByteArray::number(path.isEmpty() ? 0 : v);
    }
    g.drawing += " d1\n";
    const auto point = [&g](const QPointF& p) {
        Number(g.drawing, p.x() * k);
        g.drawing += ' ';
        Number(g.drawing, -p.y() * k);
        g.drawing += ' ';
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            point(e);
            point(path.elementAt(i + 1));
            point(path.elementAt(i + 2));
            g.drawing += "c\n";
            i += 2;
        } else {
            point(e);
            g.drawing += e.type == QPainterPath::MoveToElement ? "m\n" : "l\n";
        }
    }
    if (!path.isEmpty())
        g.drawing += path.fillRule() == Qt::WindingFill ? "f\n" : "f*\n";
    m_glyphs.push_back(std::move(g));
    return static_cast<std::uint8_t>(m_glyphs.size());
}

std::vector<QByteArray> OutlineFont::objects(int firstObject) const
{
    const int toUnicode = firstObject + 1;
    auto ref = [](int n) { return QByteArray::number(n) + " 0 R"; };
    QByteArray procedures, names, widths;
    std::vector<unsigned> codes;
    std::vector<QString> texts;
    for (std::size_t i = 0; i < m_glyphs.size(); ++i) {
        const QByteArray name = "/c" + QByteArray::number(static_cast<qulonglong>(i + 1));
        procedures += name + ' ' + ref(firstObject + 2 + static_cast<int>(i)) + ' ';
        names += name;
        Number(widths, m_glyphs[i].advance * 1000);
        widths += ' ';
        codes.push_back(static_cast<unsigned>(i + 1));
        texts.push_back(m_glyphs[i].text);
    }
    std::vector<QByteArray> out;
    out.push_back(QByteArray::number(firstObject) + " 0 obj\n<< /Type /Font /Subtype /Type3 /Name /"
                  + PostScriptName(m_face) + " /FontBBox [" + QByteArray::number(m_bbox[0]) + ' '
                  + QByteArray::number(m_bbox[1]) + ' ' + QByteArray::number(m_bbox[2]) + ' '
                  + QByteArray::number(m_bbox[3]) + "] /FontMatrix [0.001 0 0 0.001 0 0] /CharProcs << " + procedures
                  + ">> /Encoding << /Type /Encoding /Differences [1 " + names + "] >> /FirstChar 1 /LastChar "
                  + QByteArray::number(static_cast<qulonglong>(m_glyphs.size())) + " /Widths [" + widths.trimmed()
                  + "] /Resources << >> /ToUnicode " + ref(toUnicode) + " >>\nendobj\n");
    out.push_back(StreamObject(toUnicode, TextMap(1, codes, texts)));
    for (std::size_t i = 0; i < m_glyphs.size(); ++i)
        out.push_back(StreamObject(firstObject + 2 + static_cast<int>(i), m_glyphs[i].drawing));
    return out;
}

} // namespace kal::report::pdf
