#include "SheetRecords.h"

#include "Biff.h"

#include <algorithm>
#include <map>

namespace kal::detail {
namespace {

// No record type of these formats reaches this far; a larger one is what a
// reader finds when it has lost the record boundaries.
constexpr unsigned kNoSuchType = 0x2000;

// One record read in place: type, where its data starts and its length.
struct Record {
    unsigned type = 0;
    size_t data = 0;
    size_t length = 0;
};

// The record at `pos`; false when it cannot be one: it runs past the end of
// the stream, or its type or length is beyond any the formats know.
bool RecordAt(const std::string& stream, size_t pos, Record& r)
{
    if (pos + 4 > stream.size())
        return false;
    r.type = U16(stream, pos);
    r.length = U16(stream, pos + 2);
    r.data = pos + 4;
    return r.type != 0 && r.type < kNoSuchType && r.length <= kMaxRecord && r.data + r.length <= stream.size();
}

// The length an inline text cell (LABEL) must have for its text.
size_t LabelLength(const std::string& s, const Record& r, bool biff8)
{
    if (r.length < 8)
        return 0;
    const size_t count = U16(s, r.data + 6);
    if (!biff8)
        return 8 + count;
    if (r.length < 9)
        return 0;
    const unsigned flags = uint8_t(s[r.data + 8]);
    size_t at = 9;
    size_t runs = 0;
    size_t extra = 0;
    if (flags & 0x08) {
        if (r.length < at + 2)
            return 0;
        runs = U16(s, r.data + at);
        at += 2;
    }
    if (flags & 0x04) {
        if (r.length < at + 4)
            return 0;
        extra = U32(s, r.data + at);
        at += 4;
    }
    return at + count * ((flags & 0x01) ? 2 : 1) + runs * 4 + extra;
}

class SheetWalk {
public:
    SheetWalk(const std::string& stream, bool biff8) : s(stream), biff8(biff8) {}

    SheetRecords follow(size_t start)
    {
        Record r;
        if (!RecordAt(s, start, r) || r.type != kBof) {
            out.firstDamagedRow = 0;
            return out;
        }
        int depth = 0;
        size_t pos = start;
        for (;;) {
            if (!RecordAt(s, pos, r)) {
                lostPlace();
                break;
            }
            if (r.type == kBof) {
                ++depth;
                // Only a worksheet holds cells; a chart or macro sheet is
                // followed to its end and declares no rows.
                if (depth == 1 && r.length >= 4 && U16(s, r.data + 2) != 0x0010)
                    worksheet = false;
            } else if (r.type == kEof) {
                if (--depth == 0) {
                    ended = true;
                    break;
                }
            } else if (depth == 1 && worksheet && !cellRecord(r)) {
                lostPlace();
                break;
            }
            pos = r.data + r.length;
        }
        finish();
        return out;
    }

private:
    void damaged(uint32_t row) { out.firstDamagedRow = std::min(out.firstDamagedRow, row); }

    // The records end or stop holding together after the last cell found.
    // Its row is whole when its row record says it ends there; otherwise the
    // lost record may be one of its cells.
    void lostPlace()
    {
        const auto declared = rowDeclaredEnd.find(lastCellRow);
        const auto found = rowEnd.find(lastCellRow);
        if (declared != rowDeclaredEnd.end() && found != rowEnd.end() && found->second >= declared->second)
            damaged(lastCellRow + 1);
        else
            damaged(lastCellRow);
    }

    void seen(uint32_t row, uint32_t column, bool value)
    {
        lastCellRow = row;
        anyRow = true;
        lastRow = std::max(lastRow, row);
        uint32_t& end = rowEnd[row];
        end = std::max(end, column + 1);
        if (value)
            out.values.emplace_back(row, column);
    }

    bool insideDimensions(uint32_t row, uint32_t lastColumn) const
    {
        return !dimensions || (row < rowsDeclared && lastColumn < columnsDeclared);
    }

    // Takes in one record of the sheet; false when it does not hold together.
    bool cellRecord(const Record& r)
    {
        const size_t n = r.length;
        switch (r.type) {
        case kDimensions:
            if (biff8 ? n < 14 : n < 10)
                return false;
            dimensions = true;
            rowsDeclared = biff8 ? U32(s, r.data + 4) : U16(s, r.data + 2);
            columnsDeclared = U16(s, r.data + (biff8 ? 10 : 6));
            return true;
        case kRow: {
            if (n != 16)
                return false;
            const uint32_t row = U16(s, r.data);
            const unsigned first = U16(s, r.data + 2);
            const unsigned end = U16(s, r.data + 4);
            anyRow = true;
            lastRow = std::max(lastRow, row);
            if (end > first)
                rowDeclaredEnd[row] = end;
            return true;
        }
        case kMulRk:
        case kMulBlank: {
            const size_t each = r.type == kMulRk ? 6 : 2;
            if (n < 6 + each || (n - 6) % each != 0)
                return false;
            const uint32_t row = U16(s, r.data);
            const uint32_t first = U16(s, r.data + 2);
            const uint32_t last = U16(s, r.data + n - 2);
            if (last < first || last - first + 1 != (n - 6) / each || !insideDimensions(row, last))
                return false;
            for (uint32_t c = first; c <= last; ++c)
                seen(row, c, r.type == kMulRk);
            return true;
        }
        case kFormula:
            if (n < 22 || 22 + size_t(U16(s, r.data + 20)) > n)
                return false;
            return cell(r, false);
        case kRString:
            return n >= 8 && cell(r, false);
        case kLabel:
            return n == LabelLength(s, r, biff8) && cell(r, true);
        case kLabelSst:
            return biff8 && n == 10 && cell(r, true);
        case kNumber:
            return n == 14 && cell(r, true);
        case kRk:
            return n == 10 && cell(r, true);
        case kBoolErr:
            return n == 8 && cell(r, true);
        case kBlank:
            return n == 6 && cell(r, false);
        default:
            return true;
        }
    }

    bool cell(const Record& r, bool value)
    {
        const uint32_t row = U16(s, r.data);
        const uint32_t column = U16(s, r.data + 2);
        if (!insideDimensions(row, column))
            return false;
        seen(row, column, value);
        return true;
    }

    void finish()
    {
        if (!ended)
            lostPlace();
        if (!worksheet) {
            out.values.clear();
            return;
        }
        const uint32_t held = anyRow ? lastRow + 1 : 0;
        out.declaredRows = std::max(dimensions ? rowsDeclared : 0, held);
        // The last row the dimensions declare must be there.
        if (dimensions && rowsDeclared > held)
            damaged(held);
        // So must the last cell of every row its row record declares.
        for (const auto& [row, end] : rowDeclaredEnd) {
            const auto it = rowEnd.find(row);
            if (it == rowEnd.end() || it->second < end)
                damaged(row);
        }
        // Records lost after the last row the sheet declares lose nothing.
        if (out.firstDamagedRow >= out.declaredRows)
            out.firstDamagedRow = kNoDamage;
        const uint32_t limit = out.firstDamagedRow;
        out.values.erase(std::remove_if(out.values.begin(), out.values.end(),
                                        [limit](const auto& v) { return v.first >= limit; }),
                         out.values.end());
    }

    const std::string& s;
    const bool biff8;
    SheetRecords out;
    bool worksheet = true;
    bool ended = false;
    bool dimensions = false;
    uint32_t rowsDeclared = 0;
    uint32_t columnsDeclared = 0;
    bool anyRow = false;
    uint32_t lastRow = 0;
    uint32_t lastCellRow = 0;
    std::map<uint32_t, uint32_t> rowEnd;         // row -> one past its last cell found
    std::map<uint32_t, uint32_t> rowDeclaredEnd; // row -> one past its last cell declared
};

} // namespace

std::vector<SheetRecords> FollowSheets(const std::string& stream)
{
    std::vector<SheetRecords> sheets;
    Record r;
    if (!RecordAt(stream, 0, r) || r.type != kBof || r.length < 2)
        return sheets;
    const unsigned version = U16(stream, r.data);
    if (version != 0x0600 && version != 0x0500)
        return sheets;
    const bool biff8 = version == 0x0600;

    // The sheet list of the workbook part, up to its end.
    std::vector<uint32_t> starts;
    size_t pos = 0;
    while (RecordAt(stream, pos, r)) {
        if (r.type == kBoundSheet && r.length >= 4)
            starts.push_back(U32(stream, r.data));
        if (r.type == kEof)
            break;
        pos = r.data + r.length;
    }
    for (uint32_t start : starts)
        sheets.push_back(SheetWalk(stream, biff8).follow(start));
    return sheets;
}

} // namespace kal::detail
