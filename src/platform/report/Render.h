#pragma once
// Drawing a page model: onto any QPainter, into an image at a zoom, into a
// PDF file.

#include "PageModel.h"

#include <QImage>

class QIODevice;
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

// Writes every page to a PDF file titled with the model's title, showing
// progress through the installed progress display. The file is written under
// a temporary name in the same folder and takes its name only when complete:
// a write that fails or is cut short leaves no file, and an older file of
// that name as it was. Throws kal::Exception when the file cannot be written.
void WritePdf(const PageModel& model, const QString& fileName);

// The same for pages `from` to `to` (0-based, both included) with `title`.
void WritePdf(const PageModel& model, const QString& fileName, int from, int to, const QString& title);

// Pages `from` to `to` drawn by the painter into a PDF document on `out`,
// as a printer gets them; false when the painter cannot start. The writer
// falls back to it for a font it cannot embed itself.
bool PaintPdf(const PageModel& model, QIODevice& out, int from, int to, const QString& title);

} // namespace kal::report
