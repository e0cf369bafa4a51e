#include "XlsWriter.h"

#include <QDate>
#include <QFile>
#include <QStringList>
#include <cstring>
#include <stdexcept>

namespace kal::test {
namespace {

void put16(QByteArray& b, unsigned v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, quint32 v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void putDouble(QByteArray& b, double v)
{
    quint64 bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    put32(b, quint32(bits & 0xFFFFFFFFu));
    put32(b, quint32(bits >> 32));
}

void putUtf16(QByteArray& b, const QString& s)
{
    for (QChar ch : s)
        put16(b, ch.unicode());
}

// XLUnicodeString: 16-bit count, flags (1 = UTF-16), characters.
void putLongString(QByteArray& b, const QString& s)
{
    put16(b, unsigned(s.size()));
    b.append(char(1));
    putUtf16(b, s);
}

// ShortXLUnicodeString: 8-bit count.
void putShortString(QByteArray& b, const QString& s)
{
    b.append(char(s.size()));
    b.append(char(1));
    putUtf16(b, s);
}

void record(QByteArray& out, unsigned type, const QByteArray& data)
{
    if (data.size() > 8224)
        throw std::runtime_error("BIFF record too long for the test writer");
    put16(out, type);
    put16(out, unsigned(data.size()));
    out.append(data);
}

QByteArray bof(unsigned kind)
{
    QByteArray d;
    put16(d, 0x0600);
    put16(d, kind);
    put16(d, 0x0DBB);
    put16(d, 0x07CC);
    put32(d, 0x000080C9);
    put32(d, 0x00000206);
    return d;
}

// Index of the cell format of each date format.
unsigned xfOf(int format)
{
    switch (format) {
    case 14: return 2;
    case 22: return 3;
    case 21: return 4;
    case 164: return 5;
    default: return 1;
    }
}

QByteArray xf(unsigned font, unsigned format, bool style)
{
    QByteArray d;
    put16(d, font);
    put16(d, format);
    put16(d, style ? 0xFFF5 : 0x0001);
    put16(d, 0x0020);
    put16(d, 0);
    put32(d, 0);
    put32(d, 0);
    put16(d, 0x20C0);
    return d;
}

// The compound file around one stream called "Workbook" (at least 4096
// bytes long, so that it lies in ordinary sectors): the stream, the
// directory and the sector table, or with `streamAtEnd` the sector table,
// the directory and the stream.
QByteArray compoundFile(const QByteArray& stream, bool streamAtEnd)
{
    const quint32 endOfChain = 0xFFFFFFFEu, freeSect = 0xFFFFFFFFu, fatSect = 0xFFFFFFFDu, noStream = 0xFFFFFFFFu;
    const int streamSectors = int((stream.size() + 511) / 512);
    int fatSectors = 1;
    while ((streamSectors + 1 + fatSectors + 127) / 128 > fatSectors)
        ++fatSectors;
    if (fatSectors > 109)
        throw std::runtime_error("workbook too big for the test writer");
    const int firstFat = streamAtEnd ? 0 : streamSectors + 1;
    const int dirSector = streamAtEnd ? fatSectors : streamSectors;
    const int firstStream = streamAtEnd ? fatSectors + 1 : 0;

    QByteArray header;
    header.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(QByteArray(16, '\0'));
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header.append(QByteArray(6, '\0'));
    put32(header, 0);
    put32(header, quint32(fatSectors));
    put32(header, quint32(dirSector));
    put32(header, 0);
    put32(header, 4096);
    put32(header, endOfChain);
    put32(header, 0);
    put32(header, endOfChain);
    put32(header, 0);
    for (int i = 0; i < 109; ++i)
        put32(header, i < fatSectors ? quint32(firstFat + i) : freeSect);

    QByteArray streamPart = stream;
    streamPart.append(QByteArray(streamSectors * 512 - stream.size(), '\0'));

    auto entry = [&](const QString& name, int type, quint32 child, quint32 start, quint32 size) {
        QByteArray e;
        QByteArray n;
        putUtf16(n, name);
        n.append(QByteArray(64 - n.size(), '\0'));
        e.append(n);
        put16(e, name.isEmpty() ? 0 : unsigned((name.size() + 1) * 2));
        e.append(char(type));
        e.append(char(name.isEmpty() ? 0 : 1));
        put32(e, noStream);
        put32(e, noStream);
        put32(e, child);
        e.append(QByteArray(16 + 4 + 16, '\0'));
        put32(e, start);
        put32(e, size);
        put32(e, 0);
        return e;
    };
    QByteArray dir;
    dir.append(entry(QStringLiteral("Root Entry"), 5, 1, endOfChain, 0));
    dir.append(entry(QStringLiteral("Workbook"), 2, noStream, quint32(firstStream), quint32(stream.size())));
    dir.append(entry(QString(), 0, noStream, 0, 0));
    dir.append(entry(QString(), 0, noStream, 0, 0));

    // The sector table lists its sectors in file order.
    std::vector<quint32> next(size_t(streamSectors + 1 + fatSectors), freeSect);
    for (int i = 0; i < streamSectors; ++i)
        next[size_t(firstStream + i)] = i + 1 < streamSectors ? quint32(firstStream + i + 1) : endOfChain;
    next[size_t(dirSector)] = endOfChain;
    for (int i = 0; i < fatSectors; ++i)
        next[size_t(firstFat + i)] = fatSect;
    QByteArray fat;
    for (quint32 n : next)
        put32(fat, n);
    while (fat.size() < fatSectors * 512)
        put32(fat, freeSect);
    if (streamAtEnd)
        return header + fat + dir + streamPart;
    return header + streamPart + dir + fat;
}

// The compound file around one short stream "Workbook" kept in the mini
// stream: 64-byte mini sectors, listed in a mini FAT, stored in ordinary
// sectors as the root entry's stream.
QByteArray miniCompoundFile(const QByteArray& stream)
{
    const quint32 endOfChain = 0xFFFFFFFEu, freeSect = 0xFFFFFFFFu, fatSect = 0xFFFFFFFDu, noStream = 0xFFFFFFFFu;
    const int miniSectors = int((stream.size() + 63) / 64);
    QByteArray mini = stream;
    mini.append(QByteArray(miniSectors * 64 - stream.size(), '\0'));
    const int miniStreamSectors = int((mini.size() + 511) / 512);
    const int miniFatSector = miniStreamSectors;
    const int dirSector = miniFatSector + 1;
    const int fatSector = dirSector + 1;

    QByteArray header;
    header.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(QByteArray(16, '\0'));
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header.append(QByteArray(6, '\0'));
    put32(header, 0);
    put32(header, 1);
    put32(header, quint32(dirSector));
    put32(header, 0);
    put32(header, 4096);
    put32(header, quint32(miniFatSector));
    put32(header, 1);
    put32(header, endOfChain);
    put32(header, 0);
    put32(header, quint32(fatSector));
    for (int i = 1; i < 109; ++i)
        put32(header, freeSect);

    QByteArray body = mini;
    body.append(QByteArray(miniStreamSectors * 512 - mini.size(), '\0'));
    QByteArray miniFat;
    for (int i = 0; i < miniSectors; ++i)
        put32(miniFat, i + 1 < miniSectors ? quint32(i + 1) : endOfChain);
    while (miniFat.size() < 512)
        put32(miniFat, freeSect);
    body.append(miniFat);

    auto entry = [&](const QString& name, int type, quint32 child, quint32 start, quint32 size) {
        QByteArray e;
        QByteArray n;
        putUtf16(n, name);
        n.append(QByteArray(64 - n.size(), '\0'));
        e.append(n);
        put16(e, name.isEmpty() ? 0 : unsigned((name.size() + 1) * 2));
        e.append(char(type));
        e.append(char(name.isEmpty() ? 0 : 1));
        put32(e, noStream);
        put32(e, noStream);
        put32(e, child);
        e.append(QByteArray(16 + 4 + 16, '\0'));
        put32(e, start);
        put32(e, size);
        put32(e, 0);
        return e;
    };
    body.append(entry(QStringLiteral("Root Entry"), 5, 1, 0, quint32(mini.size())));
    body.append(entry(QStringLiteral("Workbook"), 2, noStream, 0, quint32(stream.size())));
    body.append(entry(QString(), 0, noStream, 0, 0));
    body.append(entry(QString(), 0, noStream, 0, 0));

    QByteArray fat;
    for (int i = 0; i < miniStreamSectors; ++i)
        put32(fat, i + 1 < miniStreamSectors ? quint32(i + 1) : endOfChain);
    put32(fat, endOfChain); // mini FAT
    put32(fat, endOfChain); // directory
    put32(fat, fatSect);
    while (fat.size() < 512)
        put32(fat, freeSect);
    body.append(fat);
    return header + body;
}

} // namespace

XlsWriter& XlsWriter::sheet(const QString& name)
{
    m_sheets.push_back({name, {}});
    return *this;
}

XlsWriter& XlsWriter::row(std::vector<XlsValue> cells)
{
    if (m_sheets.empty())
        sheet(QStringLiteral("Arkusz1"));
    m_sheets.back().rows.push_back(std::move(cells));
    return *this;
}

QByteArray XlsWriter::build() const
{
    // The string table.
    QStringList strings;
    quint32 total = 0;
    for (const auto& s : m_sheets)
        for (const auto& r : s.rows)
            for (const auto& v : r)
                if (const QString* t = std::get_if<QString>(&v)) {
                    ++total;
                    if (!strings.contains(*t))
                        strings << *t;
                }

    // Each sheet's substream.
    std::vector<QByteArray> subs;
    for (const auto& s : m_sheets) {
        QByteArray sub;
        record(sub, 0x0809, bof(0x0010));
        // The cells a row holds: its first and one past its last (0, 0 for
        // a row without any).
        std::vector<std::pair<unsigned, unsigned>> extent(s.rows.size(), {0, 0});
        size_t rowsUsed = 0;
        unsigned width = 0;
        for (size_t ri = 0; ri < s.rows.size(); ++ri)
            for (size_t ci = 0; ci < s.rows[ri].size(); ++ci) {
                if (std::holds_alternative<XlsEmpty>(s.rows[ri][ci]))
                    continue;
                auto& [first, end] = extent[ri];
                if (end == 0)
                    first = unsigned(ci);
                end = unsigned(ci) + 1;
                rowsUsed = ri + 1;
                width = std::max(width, end);
            }
        QByteArray dim;
        put32(dim, 0);
        put32(dim, quint32(rowsUsed));
        put16(dim, 0);
        put16(dim, width);
        put16(dim, 0);
        record(sub, 0x0200, dim);
        for (size_t ri = 0; ri < s.rows.size(); ++ri) {
            if (m_rowRecords && ri % 32 == 0)
                for (size_t r = ri; r < std::min(ri + 32, s.rows.size()); ++r) {
                    if (extent[r].second == 0)
                        continue;
                    QByteArray row;
                    put16(row, unsigned(r));
                    put16(row, extent[r].first);
                    put16(row, extent[r].second);
                    put16(row, 0x00FF);
                    put16(row, 0);
                    put16(row, 0);
                    put32(row, 0x000F0100);
                    record(sub, 0x0208, row);
                }
            for (size_t ci = 0; ci < s.rows[ri].size(); ++ci) {
                const XlsValue& v = s.rows[ri][ci];
                QByteArray d;
                put16(d, unsigned(ri));
                put16(d, unsigned(ci));
                if (std::holds_alternative<XlsEmpty>(v)) {
                    continue;
                } else if (std::holds_alternative<XlsBlank>(v)) {
                    put16(d, 1);
                    record(sub, 0x0201, d);
                } else if (const QString* t = std::get_if<QString>(&v)) {
                    put16(d, 1);
                    put32(d, quint32(strings.indexOf(*t)));
                    record(sub, 0x00FD, d);
                } else if (const double* n = std::get_if<double>(&v)) {
                    put16(d, 1);
                    putDouble(d, *n);
                    record(sub, 0x0203, d);
                } else if (const XlsRk* k = std::get_if<XlsRk>(&v)) {
                    put16(d, 1);
                    put32(d, (quint32(k->value) << 2) | 0x2u);
                    record(sub, 0x027E, d);
                } else if (const XlsDate* dt = std::get_if<XlsDate>(&v)) {
                    put16(d, xfOf(dt->format));
                    putDouble(d, dt->serial);
                    record(sub, 0x0203, d);
                } else if (const XlsInlineText* it = std::get_if<XlsInlineText>(&v)) {
                    put16(d, 1);
                    putLongString(d, it->text);
                    record(sub, 0x0204, d);
                }
            }
        }
        record(sub, 0x000A, {});
        subs.push_back(sub);
    }

    // The globals, sheet offsets left as zero and patched below.
    QByteArray g;
    record(g, 0x0809, bof(0x0005));
    QByteArray cp;
    put16(cp, 1200);
    record(g, 0x0042, cp);
    QByteArray dm;
    put16(dm, m_date1904 ? 1 : 0);
    record(g, 0x0022, dm);
    QByteArray font;
    put16(font, 200);
    put16(font, 0);
    put16(font, 0x7FFF);
    put16(font, 400);
    put16(font, 0);
    font.append(char(0));
    font.append(char(0));
    font.append(char(0));
    font.append(char(0));
    putShortString(font, QStringLiteral("Arial"));
    record(g, 0x0031, font);
    QByteArray fmt;
    put16(fmt, 164);
    putLongString(fmt, QStringLiteral("yyyy\\-mm\\-dd\\ hh:mm"));
    record(g, 0x041E, fmt);
    record(g, 0x00E0, xf(0, 0, true));
    record(g, 0x00E0, xf(0, 0, false));
    record(g, 0x00E0, xf(0, 14, false));
    record(g, 0x00E0, xf(0, 22, false));
    record(g, 0x00E0, xf(0, 21, false));
    record(g, 0x00E0, xf(0, 164, false));
    std::vector<int> sheetPosAt;
    for (const auto& s : m_sheets) {
        QByteArray bs;
        sheetPosAt.push_back(int(g.size()) + 4);
        put32(bs, 0);
        bs.append(char(0));
        bs.append(char(0));
        putShortString(bs, s.name);
        record(g, 0x0085, bs);
    }
    // The string table fills its record and goes on in CONTINUE records, as
    // Excel writes it: a string's count and flags stay in one record, its
    // characters may be split, the part after a split starting with the flags.
    QList<QByteArray> sst(1);
    put32(sst[0], total);
    put32(sst[0], quint32(strings.size()));
    for (const QString& s : strings) {
        if (sst.back().size() + 5 > 8224)
            sst.append(QByteArray());
        put16(sst.back(), unsigned(s.size()));
        sst.back().append(char(1));
        for (QChar ch : s) {
            if (sst.back().size() + 2 > 8224) {
                sst.append(QByteArray());
                sst.back().append(char(1));
            }
            put16(sst.back(), ch.unicode());
        }
    }
    for (qsizetype i = 0; i < sst.size(); ++i)
        record(g, i == 0 ? 0x00FC : 0x003C, sst[i]);

    // Pad with WRITEACCESS records so that the stream is at least 4096 bytes.
    qsizetype rest = g.size() + 4;
    for (const auto& s : subs)
        rest += s.size();
    while (!m_small && rest < 4096) {
        QByteArray pad(112, ' ');
        QByteArray wa;
        wa.append(pad);
        record(g, 0x005C, wa);
        rest += 116;
    }
    record(g, 0x000A, {});

    QByteArray stream = g;
    for (size_t i = 0; i < subs.size(); ++i) {
        const quint32 pos = quint32(stream.size());
        QByteArray p;
        put32(p, pos);
        stream.replace(sheetPosAt[i], 4, p);
        stream.append(subs[i]);
    }
    if (m_small) {
        if (stream.size() >= 4096)
            throw std::runtime_error("workbook too big for the mini stream");
        return miniCompoundFile(stream);
    }
    return compoundFile(stream, m_streamAtEnd);
}

bool XlsWriter::save(const QString& path) const
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray data = build();
    return f.write(data) == data.size();
}

namespace {

quint32 fileU32(const QByteArray& file, qsizetype at)
{
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v |= quint32(quint8(file[at + i])) << (8 * i);
    return v;
}

} // namespace

qsizetype XlsStreamStart(const QByteArray& file)
{
    // The second directory entry is the stream's.
    const qsizetype dir = (qsizetype(fileU32(file, 0x30)) + 1) * 512;
    return (qsizetype(fileU32(file, dir + 128 + 0x74)) + 1) * 512;
}

qsizetype XlsStreamEnd(const QByteArray& file)
{
    const qsizetype dir = (qsizetype(fileU32(file, 0x30)) + 1) * 512;
    return XlsStreamStart(file) + qsizetype(fileU32(file, dir + 128 + 0x78));
}

QByteArray XlsStream(const QByteArray& file)
{
    return file.mid(XlsStreamStart(file), XlsStreamEnd(file) - XlsStreamStart(file));
}

QByteArray XlsFileAround(const QByteArray& stream)
{
    return stream.size() < 4096 ? miniCompoundFile(stream) : compoundFile(stream, false);
}

qsizetype XlsRecordOffset(const QByteArray& file, unsigned type, int nth)
{
    qsizetype pos = XlsStreamStart(file);
    while (pos + 4 <= file.size()) {
        const unsigned t = quint8(file[pos]) | (unsigned(quint8(file[pos + 1])) << 8);
        const unsigned len = quint8(file[pos + 2]) | (unsigned(quint8(file[pos + 3])) << 8);
        if (t == 0 && len == 0)
            break;
        if (t == type && nth-- == 0)
            return pos;
        pos += 4 + len;
    }
    return -1;
}

bool XlsChangeRecordLength(QByteArray& file, unsigned type, int nth, int delta)
{
    const qsizetype at = XlsRecordOffset(file, type, nth);
    if (at < 0)
        return false;
    const int length = int(quint8(file[at + 2]) | (unsigned(quint8(file[at + 3])) << 8)) + delta;
    file[at + 2] = char(length & 0xFF);
    file[at + 3] = char((length >> 8) & 0xFF);
    return true;
}

bool XlsChangeRecordLength(const QString& path, unsigned type, int nth, int delta)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = f.readAll();
    if (!XlsChangeRecordLength(bytes, type, nth, delta))
        return false;
    return f.seek(0) && f.write(bytes) == bytes.size();
}

double XlsSerial(int year, int month, int day)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(year, month, day)));
}

} // namespace kal::test
