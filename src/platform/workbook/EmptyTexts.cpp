#include "EmptyTexts.h"

#include "Biff.h"

#include <cstdint>
#include <vector>

namespace kal::detail {
namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr uint32_t kFreeSector = 0xFFFFFFFFu;
constexpr uint32_t kFatSector = 0xFFFFFFFDu;
constexpr uint32_t kNoStream = 0xFFFFFFFFu;

void Put16(std::string& s, unsigned v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}

void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

void Set32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

// ---- reading the compound file

class Compound {
public:
    explicit Compound(const std::string& file) : m_file(file) {}

    bool load()
    {
        static const char magic[8] = {'\xD0', '\xCF', '\x11', '\xE0', '\xA1', '\xB1', '\x1A', '\xE1'};
        if (m_file.size() < 512 || m_file.compare(0, 8, magic, 8) != 0)
            return false;
        const unsigned shift = U16(m_file, 0x1E);
        if (shift != 9 && shift != 12)
            return false;
        m_sector = size_t(1) << shift;
        m_miniCutoff = U32(m_file, 0x38);

        // The FAT sectors: the first 109 listed in the header, the rest in
        // the DIFAT chain.
        const uint32_t fatCount = U32(m_file, 0x2C);
        if (fatCount == 0 || fatCount > m_file.size() / m_sector)
            return false;
        std::vector<uint32_t> fatSectors;
        for (uint32_t i = 0; i < fatCount && i < 109; ++i)
            fatSectors.push_back(U32(m_file, 0x4C + 4 * i));
        uint32_t difat = U32(m_file, 0x44);
        const uint32_t difatCount = U32(m_file, 0x48);
        const size_t perSector = m_sector / 4;
        for (uint32_t d = 0; d < difatCount && fatSectors.size() < fatCount; ++d) {
            if (!inFile(difat))
                return false;
            const size_t at = offset(difat);
            for (size_t i = 0; i + 1 < perSector && fatSectors.size() < fatCount; ++i)
                fatSectors.push_back(U32(m_file, at + 4 * i));
            difat = U32(m_file, at + 4 * (perSector - 1));
        }
        if (fatSectors.size() != fatCount)
            return false;
        for (uint32_t s : fatSectors) {
            if (!inFile(s))
                return false;
            const size_t at = offset(s);
            for (size_t i = 0; i < perSector; ++i)
                m_fat.push_back(U32(m_file, at + 4 * i));
        }
        return !m_fat.empty();
    }

    // The bytes of the chain starting at `start`, cut to `size` (all of it
    // when size is npos); nullopt for a broken chain or one too short. With
    // `asFarAsItGoes` such a chain gives its bytes up to the break instead.
    std::optional<std::string> chain(uint32_t start, size_t size, bool asFarAsItGoes = false) const
    {
        std::string out;
        uint32_t s = start;
        size_t steps = 0;
        while (s != kEndOfChain) {
            if (s >= m_fat.size() || !inFile(s) || ++steps > m_fat.size()) {
                if (!asFarAsItGoes)
                    return std::nullopt;
                break;
            }
            out.append(m_file, offset(s), m_sector);
            if (size != std::string::npos && out.size() >= size)
                break;
            s = m_fat[s];
        }
        if (size == std::string::npos)
            return out;
        if (out.size() < size)
            return asFarAsItGoes ? std::optional<std::string>(out) : std::nullopt;
        out.resize(size);
        return out;
    }

    // The workbook stream: the first stream named "Workbook" (Excel 97) or
    // "Book" (Excel 5), as the parsing library takes it.
    std::optional<std::string> workbook(bool asFarAsItGoes) const
    {
        const auto dir = chain(U32(m_file, 0x30), std::string::npos);
        if (!dir)
            return std::nullopt;
        uint32_t rootStart = kEndOfChain;
        uint64_t rootSize = 0;
        for (size_t at = 0; at + 128 <= dir->size(); at += 128) {
            const unsigned type = uint8_t((*dir)[at + 0x42]);
            if (type == 5) {
                rootStart = U32(*dir, at + 0x74);
                rootSize = U32(*dir, at + 0x78);
            }
            const unsigned nameBytes = U16(*dir, at + 0x40);
            if (type != 2 || nameBytes < 2 || nameBytes > 64)
                continue;
            std::u16string name;
            for (unsigned i = 0; i + 2 < nameBytes; i += 2)
                name.push_back(char16_t(U16(*dir, at + i)));
            if (name != u"Workbook" && name != u"Book")
                continue;
            const uint32_t start = U32(*dir, at + 0x74);
            const uint32_t size = U32(*dir, at + 0x78);
            if (size >= m_miniCutoff)
                return chain(start, size, asFarAsItGoes);
            return miniStream(start, size, rootStart, rootSize, asFarAsItGoes);
        }
        return std::nullopt;
    }

private:
    std::optional<std::string> miniStream(uint32_t start, uint32_t size, uint32_t rootStart, uint64_t rootSize,
                                          bool asFarAsItGoes) const
    {
        const auto mini = chain(rootStart, size_t(rootSize), asFarAsItGoes);
        const auto miniFatBytes = chain(U32(m_file, 0x3C), std::string::npos);
        if (!mini || !miniFatBytes)
            return std::nullopt;
        const size_t count = miniFatBytes->size() / 4;
        std::string out;
        uint32_t s = start;
        size_t steps = 0;
        while (out.size() < size) {
            if (s >= count || ++steps > count || (size_t(s) + 1) * 64 > mini->size()) {
                if (!asFarAsItGoes)
                    return std::nullopt;
                return out;
            }
            out.append(*mini, size_t(s) * 64, 64);
            s = U32(*miniFatBytes, size_t(s) * 4);
        }
        out.resize(size);
        return out;
    }

    bool inFile(uint32_t s) const
    {
        return s < kFatSector - 16 && (uint64_t(s) + 2) * m_sector <= m_file.size();
    }
    size_t offset(uint32_t s) const { return (size_t(s) + 1) * m_sector; }

    const std::string& m_file;
    size_t m_sector = 512;
    uint32_t m_miniCutoff = 4096;
    std::vector<uint32_t> m_fat;
};

// ---- the records of the workbook stream

struct Record {
    unsigned type;
    size_t pos; // where the record starts in the original stream
    std::string data;
};

// The records of the stream; nullopt when one runs past its end.
std::optional<std::vector<Record>> Records(const std::string& stream)
{
    std::vector<Record> out;
    size_t pos = 0;
    while (pos + 4 <= stream.size()) {
        const unsigned type = U16(stream, pos);
        const size_t len = U16(stream, pos + 2);
        if (pos + 4 + len > stream.size() || len > kMaxRecord)
            return std::nullopt;
        out.push_back({type, pos, stream.substr(pos + 4, len)});
        pos += 4 + len;
    }
    return out;
}

// The shared string table, read across its CONTINUE records. Only the
// characters are kept; formatting runs and phonetic data are skipped.
class SstReader {
public:
    explicit SstReader(std::vector<const std::string*> parts) : m_parts(std::move(parts)) {}

    bool byte(unsigned& v)
    {
        while (m_part < m_parts.size() && m_pos >= m_parts[m_part]->size()) {
            ++m_part;
            m_pos = 0;
        }
        if (m_part >= m_parts.size())
            return false;
        v = uint8_t((*m_parts[m_part])[m_pos++]);
        return true;
    }
    bool u16(unsigned& v)
    {
        unsigned lo = 0, hi = 0;
        if (!byte(lo) || !byte(hi))
            return false;
        v = lo | (hi << 8);
        return true;
    }
    bool u32(uint32_t& v)
    {
        unsigned lo = 0, hi = 0;
        if (!u16(lo) || !u16(hi))
            return false;
        v = uint32_t(lo) | (uint32_t(hi) << 16);
        return true;
    }
    bool skip(uint64_t n)
    {
        unsigned v;
        for (uint64_t i = 0; i < n; ++i)
            if (!byte(v))
                return false;
        return true;
    }
    bool string(std::u16string& out)
    {
        unsigned count = 0, flags = 0, runs = 0;
        uint32_t ext = 0;
        if (!u16(count) || !byte(flags))
            return false;
        if ((flags & 0x08) && !u16(runs))
            return false;
        if ((flags & 0x04) && !u32(ext))
            return false;
        out.clear();
        bool wide = flags & 0x01;
        for (unsigned i = 0; i < count; ++i) {
            // Characters split over a CONTINUE record go on after a fresh
            // byte telling their width.
            if (m_part < m_parts.size() && m_pos >= m_parts[m_part]->size()) {
                unsigned again = 0;
                ++m_part;
                m_pos = 0;
                if (!byte(again))
                    return false;
                wide = again & 0x01;
            }
            unsigned ch = 0;
            if (wide ? !u16(ch) : !byte(ch))
                return false;
            out.push_back(char16_t(ch));
        }
        return skip(uint64_t(runs) * 4) && skip(ext);
    }

private:
    std::vector<const std::string*> m_parts;
    size_t m_part = 0;
    size_t m_pos = 0;
};

// Writes the string table as SST + CONTINUE records. A string that does not
// fit the rest of a record starts in a new one; only a string longer than a
// whole record is split, with the width byte repeated after each split.
std::vector<std::string> SstRecords(uint32_t total, const std::vector<std::u16string>& strings)
{
    std::vector<std::string> records(1);
    Put32(records[0], total);
    Put32(records[0], uint32_t(strings.size()));
    for (const auto& s : strings) {
        bool wide = false;
        for (char16_t ch : s)
            wide = wide || ch > 0xFF;
        const size_t unit = wide ? 2 : 1;
        const size_t whole = 3 + s.size() * unit;
        const size_t room = kMaxRecord - records.back().size();
        if (room < 3 + unit || (whole > room && whole <= kMaxRecord))
            records.emplace_back();
        Put16(records.back(), unsigned(s.size()));
        records.back().push_back(char(wide ? 1 : 0));
        for (char16_t ch : s) {
            if (records.back().size() + unit > kMaxRecord) {
                records.emplace_back();
                records.back().push_back(char(wide ? 1 : 0));
            }
            if (wide)
                Put16(records.back(), ch);
            else
                records.back().push_back(char(ch));
        }
    }
    return records;
}

void Append(std::string& out, unsigned type, const std::string& data)
{
    Put16(out, type);
    Put16(out, unsigned(data.size()));
    out += data;
}

} // namespace

std::optional<std::string> WorkbookStream(const std::string& file)
{
    Compound c(file);
    if (!c.load())
        return std::nullopt;
    return c.workbook(false);
}

std::optional<std::string> WorkbookStreamAsFarAsItGoes(const std::string& file)
{
    Compound c(file);
    if (!c.load())
        return std::nullopt;
    return c.workbook(true);
}

std::optional<std::string> WithoutEmptyTexts(const std::string& stream)
{
    auto parsed = Records(stream);
    if (!parsed || parsed->empty())
        return std::nullopt;
    const std::vector<Record>& recs = *parsed;
    if (recs[0].type != kBof || recs[0].data.size() < 2 || U16(recs[0].data, 0) != 0x0600)
        return std::nullopt;

    // The string table and what its empty entries become.
    bool emptyFound = false;
    std::vector<std::u16string> strings;
    std::vector<uint32_t> newIndex; // kNoStream: an empty string
    size_t sstAt = recs.size(), sstEnd = recs.size();
    for (size_t i = 0; i < recs.size(); ++i) {
        if (recs[i].type == kFilePass)
            return std::nullopt; // encrypted: the records cannot be read
        if (recs[i].type == kEof)
            break;
        if (recs[i].type != kSst)
            continue;
        sstAt = i;
        sstEnd = i + 1;
        std::vector<const std::string*> parts{&recs[i].data};
        while (sstEnd < recs.size() && recs[sstEnd].type == kContinue)
            parts.push_back(&recs[sstEnd++].data);
        SstReader r(parts);
        uint32_t total = 0, unique = 0;
        if (!r.u32(total) || !r.u32(unique))
            return std::nullopt;
        std::u16string s;
        for (uint32_t k = 0; k < unique; ++k) {
            if (!r.string(s))
                return std::nullopt;
            if (s.empty()) {
                emptyFound = true;
                newIndex.push_back(kNoStream);
            } else {
                newIndex.push_back(uint32_t(strings.size()));
                strings.push_back(s);
            }
        }
        break;
    }
    for (const Record& rec : recs)
        if (rec.type == kLabel && rec.data.size() >= 9 && U16(rec.data, 6) == 0)
            emptyFound = true;
    if (!emptyFound)
        return std::nullopt;

    std::string out;
    out.reserve(stream.size() + 64);
    std::vector<std::pair<size_t, size_t>> moved; // old record start -> new
    std::vector<size_t> sheetOffsets;             // where the sheet positions are written
    for (size_t i = 0; i < recs.size(); ++i) {
        const Record& rec = recs[i];
        moved.emplace_back(rec.pos, out.size());
        if (i == sstAt) {
            uint32_t kept = 0;
            for (const Record& cell : recs)
                if (cell.type == kLabelSst && cell.data.size() >= 10 && U32(cell.data, 6) < newIndex.size() &&
                    newIndex[U32(cell.data, 6)] != kNoStream)
                    ++kept;
            const auto sst = SstRecords(kept, strings);
            for (size_t k = 0; k < sst.size(); ++k)
                Append(out, k == 0 ? kSst : kContinue, sst[k]);
            i = sstEnd - 1;
            continue;
        }
        if (rec.type == kExtSst && sstAt < recs.size())
            continue; // its offsets point into the old table
        if (rec.type == kBoundSheet && rec.data.size() >= 4) {
            sheetOffsets.push_back(out.size() + 4);
        } else if (rec.type == kLabelSst && rec.data.size() >= 10 && U32(rec.data, 6) < newIndex.size()) {
            const uint32_t index = newIndex[U32(rec.data, 6)];
            if (index == kNoStream) {
                Append(out, kBlank, rec.data.substr(0, 6));
            } else {
                std::string data = rec.data;
                Set32(data, 6, index);
                Append(out, kLabelSst, data);
            }
            continue;
        } else if (rec.type == kLabel && rec.data.size() >= 9 && U16(rec.data, 6) == 0) {
            Append(out, kBlank, rec.data.substr(0, 6));
            continue;
        }
        Append(out, rec.type, rec.data);
    }
    // A few bytes after the last whole record stay as they were.
    out.append(stream, recs.back().pos + 4 + recs.back().data.size(), std::string::npos);

    // The sheets start where their BOF records went.
    for (size_t at : sheetOffsets) {
        const uint32_t old = U32(out, at);
        for (const auto& [from, to] : moved)
            if (from == old) {
                Set32(out, at, uint32_t(to));
                break;
            }
    }
    return out;
}

std::string CompoundFile(const std::string& stream)
{
    // Version 4 with 4096-byte sectors: 109 FAT sectors in the header cover
    // far more than any workbook. The stream goes in ordinary sectors even
    // when small: the file has no mini stream, and the parsing library then
    // reads every stream from ordinary sectors.
    constexpr size_t kSector = 4096;
    constexpr size_t kPerFat = kSector / 4;
    const size_t streamSectors = (stream.size() + kSector - 1) / kSector;
    size_t fatSectors = 1;
    while (streamSectors + 1 + fatSectors > fatSectors * kPerFat)
        ++fatSectors;
    if (fatSectors > 109 || stream.size() > 0xFFFFFFFFu)
        return {};
    const uint32_t dirSector = uint32_t(streamSectors);
    const uint32_t firstFat = dirSector + 1;

    std::string f;
    f.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    f.append(16, '\0');
    Put16(f, 0x003E);
    Put16(f, 0x0004);
    Put16(f, 0xFFFE);
    Put16(f, 12);
    Put16(f, 6);
    f.append(6, '\0');
    Put32(f, 1); // directory sectors
    Put32(f, uint32_t(fatSectors));
    Put32(f, dirSector);
    Put32(f, 0);
    Put32(f, 4096);
    Put32(f, kEndOfChain);
    Put32(f, 0);
    Put32(f, kEndOfChain);
    Put32(f, 0);
    for (size_t i = 0; i < 109; ++i)
        Put32(f, i < fatSectors ? uint32_t(firstFat + i) : kFreeSector);
    f.resize(kSector, '\0');

    f += stream;
    f.resize(kSector * (1 + streamSectors), '\0');

    auto entry = [&f](const std::u16string& name, unsigned type, uint32_t child, uint32_t start, uint32_t size) {
        const size_t at = f.size();
        for (char16_t ch : name)
            Put16(f, ch);
        f.resize(at + 64, '\0');
        Put16(f, name.empty() ? 0 : unsigned((name.size() + 1) * 2));
        f.push_back(char(type));
        f.push_back(char(name.empty() ? 0 : 1));
        Put32(f, kNoStream);
        Put32(f, kNoStream);
        Put32(f, child);
        f.append(36, '\0');
        Put32(f, start);
        Put32(f, size);
        Put32(f, 0);
    };
    entry(u"Root Entry", 5, 1, kEndOfChain, 0);
    entry(u"Workbook", 2, kNoStream, streamSectors ? 0 : kEndOfChain, uint32_t(stream.size()));
    while (f.size() < kSector * (2 + streamSectors))
        entry(u"", 0, kNoStream, 0, 0);

    std::string fat;
    for (size_t i = 0; i < streamSectors; ++i)
        Put32(fat, i + 1 < streamSectors ? uint32_t(i + 1) : kEndOfChain);
    Put32(fat, kEndOfChain);
    for (size_t i = 0; i < fatSectors; ++i)
        Put32(fat, kFatSector);
    while (fat.size() < fatSectors * kSector)
        Put32(fat, kFreeSector);
    return f + fat;
}

} // namespace kal::detail
