#pragma once
// The page model: what a report run produces. Pages of positioned items in
// millimetres, measured from the top-left corner of the paper. Everything
// that shows a report draws from it: the preview, the printer, PDF, the saved
// page file and the exports.

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <vector>

namespace kal::report {

enum class Align : std::uint8_t { Left = 0, Center = 1, Right = 2 };
enum class Orientation : std::uint8_t { Portrait = 0, Landscape = 1 };

// A font as a report asks for it. "Arial" is drawn with Liberation Sans,
// whose metrics are the same (see ToQFont).
struct FontDef {
    QString family = QStringLiteral("Arial");
    double pointSize = 9.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontDef& other) const = default;
};

// The QFont that draws and measures `wanted`: the family mapped to an installed
// one with the same metrics, no hinting (so that the layout does not depend on
// the device).
QFont ToQFont(const FontDef& wanted);

struct PageItem {
    enum class Kind : std::uint8_t { Text = 0, Line = 1, Rect = 2 };
    Kind kind = Kind::Text;
    Align align = Align::Left;  // text only
    std::uint16_t font = 0;     // text only: index into PageModel::fonts
    double penWidth = 0.2;      // lines and rectangles, mm
    // Text: the box that the line of text is aligned in (one line of text per
    // item). Line: from (x1, y1) to (x2, y2). Rect: the rectangle's outline.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QString text;

    QRectF rect() const { return QRectF(QPointF(x1, y1), QPointF(x2, y2)); }
    bool operator==(const PageItem& other) const = default;
};

struct Page {
    std::vector<PageItem> items;
    bool operator==(const Page& other) const = default;
};

class PageModel {
public:
    QString title;
    QSizeF paperSize{210.0, 297.0}; // mm, already turned for the orientation
    Orientation orientation = Orientation::Portrait;
    std::vector<FontDef> fonts;
    std::vector<Page> pages;

    int pageCount() const { return static_cast<int>(pages.size()); }
    // The index of `font` in `fonts`, added when missing.
    std::uint16_t fontIndex(const FontDef& font);
    const FontDef& fontOf(const PageItem& item) const;

    // Equal content; the font lookup cache does not count.
    bool operator==(const PageModel& other) const;

private:
    int m_lastFont = -1;
};

// The paper size in mm of A4 in `orientation`.
QSizeF A4Size(Orientation orientation);

} // namespace kal::report
