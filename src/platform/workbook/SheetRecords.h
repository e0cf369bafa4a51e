#pragma once
// Follows the records of each sheet of an Excel 97 (or Excel 5) workbook
// stream, independently of the parsing library, to learn what the sheet
// declares: how many rows (its dimensions, its row records), how far each row
// goes (its row record), and which cells hold a value. The parsing library
// takes a damaged record length in its stride and reads on in the wrong
// place; it then drops the rest of the sheet, or some cells of it, without a
// word. Comparing what it read with what the sheet declares tells a whole
// sheet from a damaged or incomplete one.
//
// Plain C++ only: this runs in the reading child process.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kal::detail {

constexpr uint32_t kNoDamage = 0xFFFFFFFFu;

struct SheetRecords {
    // Rows the sheet declares, its first (header) row counted: the end of its
    // dimensions, or beyond that its last row record or cell.
    uint32_t declaredRows = 0;
    // The first row (0-based, the header row being 0) that was not followed
    // whole: a record that does not hold together, a sheet that ends before
    // its end-of-sheet record, a row or cell it declares but does not hold.
    // kNoDamage when the sheet holds together.
    uint32_t firstDamagedRow = kNoDamage;
    // Every cell that holds a value (text, number, truth value), as row and
    // column, up to the first damage.
    std::vector<std::pair<uint32_t, uint32_t>> values;
};

// The sheets of a workbook stream, in the order of the workbook's sheet list
// (the order the parsing library gives them). Empty when the stream is no
// Excel 5/97 workbook stream or its sheet list cannot be followed.
std::vector<SheetRecords> FollowSheets(const std::string& stream);

} // namespace kal::detail
