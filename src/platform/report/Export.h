#pragma once
// Exports of a page model.
//  HTML: UTF-8, one absolutely positioned block per page, texts escaped.
//  CSV:  UTF-8, comma, RFC 4180 quoting, CRLF; one record per row of texts,
//        each text in the column of its box, so that a figure stands under
//        its heading; an empty cell is an empty field, every record has the
//        same fields, and the lines of one cell (ruled, or broken at its
//        width) make one field, joined with a blank.
//  Text: UTF-8, one line per row of texts, placed by their position
//        (2 mm a character), pages separated by a form feed.
// A row: the texts of a page whose tops lie within 1 mm of the top of the
// row's first (highest) text, ordered by their left edge.

#include "PageModel.h"

#include <QByteArray>
#include <functional>
#include <vector>

namespace kal::report {

enum class ExportFormat { Html, Csv, Text };

std::vector<std::vector<const PageItem*>> TextRows(const Page& page);

// `pageDone`, when given, hears of every page done (the number of pages
// done so far).
using ExportProgress = std::function<void(int pagesDone)>;

QByteArray ExportHtml(const PageModel& model, const ExportProgress& pageDone = {});
QByteArray ExportCsv(const PageModel& model, const ExportProgress& pageDone = {});
QByteArray ExportText(const PageModel& model, const ExportProgress& pageDone = {});
QByteArray Export(const PageModel& model, ExportFormat format, const ExportProgress& pageDone = {});

// Writes the export to a file; throws kal::Exception when it cannot.
void ExportToFile(const PageModel& model, ExportFormat format, const QString& fileName,
                  const ExportProgress& pageDone = {});

} // namespace kal::report
