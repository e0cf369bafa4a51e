#pragma once
// The page model: what a report run produces. Pages of positioned items in
// millimetres, measured from the top-left corner of the paper. Everything
// that shows a report draws from it: the preview, the printer, PDF, the saved
// page file and the exports.

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
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

class PageStore;

// The pages of a report. A finished page is added whole and does not change
// any more. The first pages stay in memory; once they take more than
// PageMemoryLimit(), the pages after them go to the model's own page file, an
// unnamed file in the system temporary directory that is gone with the model
// (and with the process, whatever ends it), and are read back as they are
// asked for. A page read back is the page added, to the last bit.
class PageModel {
public:
    PageModel();
    ~PageModel();
    PageModel(PageModel&& other) noexcept;
    PageModel& operator=(PageModel&& other) noexcept;
    // A copy holds every page again (in memory and in a page file of its
    // own, as the budget allows).
    PageModel(const PageModel& other);
    PageModel& operator=(const PageModel& other);

    QString title;
    QSizeF paperSize{210.0, 297.0}; // mm, already turned for the orientation
    Orientation orientation = Orientation::Portrait;
    std::vector<FontDef> fonts;

    int pageCount() const;
    // Page `index` (0-based); an empty page outside the pages. Hold the
    // pointer while the page is used: a page read back from the page file
    // lives in a small cache of the pages read last. Safe to call from
    // several threads at once. Throws kal::Exception when the page file
    // cannot be read.
    std::shared_ptr<const Page> page(int index) const;
    // Appends a finished page. Throws kal::Exception with a message that
    // names the cause when the page file cannot take it (a full disk): the
    // model is then incomplete and must not be shown.
    void addPage(Page page);
    // The number of pages kept in memory (the first ones); the rest are in
    // the page file.
    int pagesInMemory() const;

    // The index of `font` in `fonts`, added when missing.
    std::uint16_t fontIndex(const FontDef& font);
    const FontDef& fontOf(const PageItem& item) const;

    // Equal content; the font lookup cache and where the pages are kept do
    // not count.
    bool operator==(const PageModel& other) const;

private:
    std::unique_ptr<PageStore> m_store;
    int m_lastFont = -1;
};

// The bytes of finished pages a page model keeps in memory before the next
// pages go to its page file (16 MiB unless set). Tests set a small limit to
// put the pages on disk.
std::size_t PageMemoryLimit();
void SetPageMemoryLimit(std::size_t bytes);
// Tests: the page files there are take at most `bytes` bytes together, as a
// temporary directory with that much room; a negative value lifts the limit.
void SetPageFileLimitForTests(qint64 bytes);

// The paper size in mm of A4 in `orientation`.
QSizeF A4Size(Orientation orientation);

} // namespace kal::report
