#pragma once
// Rewrites the empty text cells of an Excel 97 workbook for the parsing
// library, which refuses any workbook holding a text of length 0 (in the
// shared string table or written inline) as if it were a crafted file. Other
// programs than Excel do write such cells (Excel itself writes an empty cell
// as a BLANK record). The rewritten copy holds a BLANK record in place of each
// empty text cell, the string table without its empty entries, and the sheet
// positions moved to match.
//
// Plain C++ only: this runs in the reading child process.

#include <optional>
#include <string>

namespace kal::detail {

// The workbook stream of a compound file ("Workbook", or "Book" of Excel 5);
// nullopt when the file is not a compound file that can be followed to a
// whole stream of that name.
std::optional<std::string> WorkbookStream(const std::string& file);
// The same stream as far as its sectors can be followed: shorter than the
// stream's stated size when the file is cut off or its sector chain broken.
std::optional<std::string> WorkbookStreamAsFarAsItGoes(const std::string& file);

// The BIFF8 workbook stream with its empty texts rewritten; nullopt when it
// holds none, is no BIFF8 stream, is encrypted, or cannot be followed record
// by record (then the library judges the original file itself).
std::optional<std::string> WithoutEmptyTexts(const std::string& stream);

// A compound file holding `stream` as its only stream, "Workbook".
std::string CompoundFile(const std::string& stream);

} // namespace kal::detail
