#pragma once
// Text measured in layout units: font metrics taken at one fixed resolution,
// so that a report lays out the same on every machine and every screen.

#include "PageModel.h"

#include <QStringList>

namespace kal::report {

class TextMetrics {
public:
    // Width of `text` in mm in `font`.
    static double width(const FontDef& font, const QString& text);
    // Height of one line in mm (the line spacing of `font`).
    static double lineHeight(const FontDef& font);
    // Breaks `text` into lines no wider than `widthMm`: at "\n", then at
    // blanks; a word longer than the width is cut between characters.
    static QStringList wrap(const FontDef& font, const QString& text, double widthMm);
};

} // namespace kal::report
