#pragma once
// A report font as it goes into a PDF file: the face that Qt matches for the
// font (the one the preview and the printer draw with), shaped with HarfBuzz
// (kerning and ligatures as Qt's own layout applies them) and embedded as a
// TrueType subset that keeps the glyph numbers. A character that face lacks
// is drawn, as Qt draws it, from the face Qt falls back to, whose glyphs go
// in as outlines (a Type 3 font).

#include "PageModel.h"

#include <QByteArray>
#include <QRawFont>
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

    // Whether the face has a glyph of its own for `c`. Safe from any thread.
    bool covers(char32_t c) const;

    // Shapes `length` characters of `text` from `from` and appends them to
    // `out` (left to right); the characters around them are the context, and
    // the clusters count in the whole text. Safe to call from several threads
    // at once, each with a buffer of its own.
    void shape(hb_buffer_t* buffer, const QString& text, int from, int length, std::vector<ShapedGlyph>& out) const;

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

// Glyphs of one face drawn from their outlines: a Type 3 font of at most
// 255 glyphs, with its text map. Made and filled on the thread that owns the
// fonts; its glyphs are read from any thread.
class OutlineFont {
public:
    static constexpr int kCapacity = 255;

    // `face` in any size.
    explicit OutlineFont(const QRawFont& face);

    // Whether `face` is the face of this font.
    bool isFace(const QRawFont& face) const;
    bool full() const { return m_glyphs.size() >= kCapacity; }
    // The code of glyph `glyph` of the face, 0 when it is not in the font.
    std::uint8_t codeOf(quint32 glyph) const;
    // Adds glyph `glyph` of the face, standing for `text`; returns its code
    // (1 to 255).
    std::uint8_t add(quint32 glyph, const QString& text);

    // In ems: the advance of the glyph of `code`, the face's ascent and
    // underline.
    double advance(std::uint8_t code) const { return m_glyphs[code - 1u].advance; }
    double ascent() const { return m_ascent; }
    double underlinePosition() const { return m_underlinePosition; }
    double underlineThickness() const { return m_underlineThickness; }

    // The PDF objects of the font: the font, its text map, then one drawing
    // a glyph. `firstObject` is the number of the font.
    std::vector<QByteArray> objects(int firstObject) const;

private:
    struct Glyph {
        quint32 index = 0;
        double advance = 0;  // ems
        QByteArray drawing;  // the glyph's procedure, in thousandths of an em
        QString text;
    };
    QRawFont m_face;
    double m_ascent = 0;
    double m_underlinePosition = 0;
    double m_underlineThickness = 0;
    std::vector<Glyph> m_glyphs;
    int m_bbox[4] = {0, 0, 0, 0};
    bool m_outlined = false; // a glyph with an outline is in m_bbox
};

} // namespace kal::report::pdf
