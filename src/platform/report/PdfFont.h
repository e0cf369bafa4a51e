#pragma once
// A report font as it goes into a PDF file: the face that Qt matches for the
// font (the one the preview and the printer draw with), shaped with HarfBuzz
// (kerning and ligatures as Qt's own layout applies them) and embedded as a
// TrueType subset that keeps the glyph numbers.

#include "PageModel.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct hb_blob_t;
struct hb_face_t;
struct hb_font_t;
struct hb_buffer_t;

namespace kal::report::pdf {

// PDF syntax shared by the writer and the fonts: a number with at most
// three decimals, a 16-bit value as four hex digits, and a compressed stream
// object with `extra` entries in its dictionary.
void Number(QByteArray& out, double v);
void Hex4(QByteArray& out, unsigned v);
QByteArray StreamObject(int number, const QByteArray& data, const QByteArray& extra = {});

struct ShapedGlyph {
    std::uint16_t glyph = 0;
    std::int32_t advance = 0; // font units, kerning included
    std::int32_t xOffset = 0;
    std::int32_t yOffset = 0;
    std::uint32_t cluster = 0; // index in the text of the glyph's first character
};

class Font {
public:
    // Reads the face of `def`; call it on the thread that owns the fonts.
    explicit Font(const FontDef& def);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool valid() const { return m_font != nullptr; }
    int unitsPerEm() const { return m_unitsPerEm; }
    int glyphCount() const { return m_glyphCount; }
    // The font's own advance of `glyph` in font units (what the PDF's width
    // table holds).
    int advance(std::uint16_t glyph) const;

    // In ems: the baseline below the top of a line, and the underline.
    double ascent() const { return m_ascent; }
    double underlinePosition() const { return m_underlinePosition; } // below the baseline
    double underlineThickness() const { return m_underlineThickness; }

    // Shapes `text` into `out` (left to right). Safe to call from several
    // threads at once, each with a buffer of its own.
    void shape(hb_buffer_t* buffer, const QString& text, std::vector<ShapedGlyph>& out) const;

    // The PDF objects of the font, given the glyphs the pages use and the
    // text each glyph stands for (null: not used). `firstObject` is the
    // number of the Type0 font; the font takes the following numbers for the
    // objects it returns, in order.
    std::vector<QByteArray> objects(int firstObject, const std::vector<QString>& glyphTexts) const;

private:
    QByteArray subset(const std::vector<std::uint32_t>& glyphs, const std::vector<std::uint32_t>& unicodes) const;

    hb_blob_t* m_blob = nullptr;
    hb_face_t* m_face = nullptr;
    hb_font_t* m_font = nullptr;
    QByteArray m_hmtx;
    int m_metricsCount = 0;
    int m_unitsPerEm = 1000;
    int m_glyphCount = 0;
    double m_ascent = 0.9;
    double m_descent = 0.2;
    double m_capHeight = 0.7;
    double m_underlinePosition = 0.1;
    double m_underlineThickness = 0.05;
    double m_italicAngle = 0;
    int m_bbox[4] = {0, 0, 0, 0};
    bool m_italic = false;
    QByteArray m_postScriptName;
};

} // namespace kal::report::pdf
