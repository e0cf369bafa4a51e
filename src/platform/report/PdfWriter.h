#pragma once
// The PDF writer of the page model. Every page becomes one content stream of
// plain text, line and rectangle operators; each text item is one shaped run
// of glyphs. Pages are built on several threads and written in order, and
// the fonts go in at the end as subsets of the glyphs the pages use.

#include "PageModel.h"

#include <QString>
#include <functional>

class QIODevice;

namespace kal::report {

// Called on the writing thread after each page written, with the number of
// pages written so far.
using PageProgress = std::function<void(int pagesWritten)>;

// Writes pages `from` to `to` (0-based, both included) of `model` into `out`
// as a PDF document titled `title`. False, with nothing written, when a font
// of the model has no face that can be embedded this way.
bool WritePdfDocument(const PageModel& model, int from, int to, const QString& title, QIODevice& out,
                      const PageProgress& progress = {});

} // namespace kal::report
