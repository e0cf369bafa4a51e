#pragma once
// Exports of a page model.
//  HTML: UTF-8, one absolutely positioned block per page, texts escaped.
//  CSV:  UTF-8, comma, RFC 4180 quoting, CRLF; one line per row of texts.
//  Text: UTF-8, one line per row of texts, placed by their position
//        (2 mm a character), pages separated by a form feed.
// A row: the texts of a page whose tops lie within 1 mm of the top of the
// row's first (highest) text, ordered by their left edge.

#include "PageModel.h"

#include <QByteArray>
#include <vector>

namespace kal::report {

enum class ExportFormat { Html, Csv, Text };

std::vector<std::vector<const PageItem*>> TextRows(const Page& page);

QByteArray ExportHtml(const PageModel& model);
QByteArray ExportCsv(const PageModel& model);
QByteArray ExportText(const PageModel& model);
QByteArray Export(const PageModel& model, ExportFormat format);

// Writes the export to a file; throws kal::Exception when it cannot.
void ExportToFile(const PageModel& model, ExportFormat format, const QString& fileName);

} // namespace kal::report
