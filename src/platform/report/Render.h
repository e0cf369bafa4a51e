#pragma once
// Drawing a page model: onto any QPainter, into an image at a zoom, into a
// PDF file.

#include "PageModel.h"

#include <QImage>

class QPainter;

namespace kal::report {

// Draws `page` with the paper's top-left corner at the painter's origin, on a
// device of `dpiX` x `dpiY` dots per inch (fonts follow the device's own
// logical resolution).
void PaintPage(QPainter& painter, const PageModel& model, const Page& page, double dpiX, double dpiY);

// Page `index` (0-based) as an image at `zoomPercent` of a 96 dpi screen:
// white paper with the page drawn on it. An index outside the pages gives a
// blank sheet.
QImage RenderPage(const PageModel& model, int index, double zoomPercent);

// Writes every page to a PDF file; throws kal::Exception when the file
// cannot be written.
void WritePdf(const PageModel& model, const QString& fileName);

} // namespace kal::report
