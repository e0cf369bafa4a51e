#include "PageCoding.h"

#include "Exceptions.h"
#include "PageFile.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace kal::report::coding {
namespace {

constexpr double kMaxCoordinate = 10000.0; // mm
constexpr qsizetype kMinItemBytes = 1 + 1 + 2 + 8 + 4 * 8 + 4;
constexpr qsizetype kChunk = 1 << 16;

quint64 BitsOf(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double ValueOf(quint64 bits)
{
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

} // namespace

quint32 Crc32(quint32 crc, const char* data, qsizetype size)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc ^= 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void Damaged()
{
    throw kal::Exception(DamagedPageFileText());
}

// ---- the saved page file: writing

void Writer::u32(quint32 v)
{
    char le[4];
    qToLittleEndian(v, le);
    m_out.append(le, 4);
}

void Writer::f64(double v)
{
    char le[8];
    qToLittleEndian(BitsOf(v), le);
    m_out.append(le, 8);
}

void Writer::text(const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    u32(static_cast<quint32>(utf8.size()));
    m_out.append(utf8);
}

void Writer::page(const Page& page)
{
    u32(static_cast<quint32>(page.items.size()));
    for (const PageItem& item : page.items) {
        u8(static_cast<quint8>(item.kind));
        u8(static_cast<quint8>(item.align));
        u8(static_cast<quint8>(item.font));
        u8(static_cast<quint8>(item.font >> 8));
        f64(item.penWidth);
        f64(item.x1);
        f64(item.y1);
        f64(item.x2);
        f64(item.y2);
        text(item.text);
    }
}

// ---- reading

Reader::Reader(const char* data, qsizetype size) : m_at(data), m_ready(size), m_left(size) {}

Reader::Reader(QIODevice& device, qint64 size) : m_at(nullptr), m_ready(0), m_left(size), m_device(&device) {}

void Reader::need(qint64 n)
{
    if (n < 0 || n > m_left)
        Damaged();
    if (n <= m_ready)
        return;
    // Only a reader of a device gets here: the bytes still ready go to the
    // front of the buffer, and more follow from the device.
    const qsizetype want = static_cast<qsizetype>(std::min<qint64>(m_left, std::max<qint64>(n, kChunk)));
    QByteArray buffer(want, Qt::Uninitialized);
    if (m_ready > 0)
        std::memcpy(buffer.data(), m_at, static_cast<std::size_t>(m_ready));
    qsizetype have = m_ready;
    while (have < want) {
        const qint64 got = m_device->read(buffer.data() + have, want - have);
        if (got <= 0)
            Damaged();
        m_crc = Crc32(m_crc, buffer.constData() + have, static_cast<qsizetype>(got));
        have += static_cast<qsizetype>(got);
    }
    m_buffer = std::move(buffer);
    m_at = m_buffer.constData();
    m_ready = have;
}

void Reader::take(qsizetype n)
{
    m_at += n;
    m_ready -= n;
    m_left -= n;
}

quint8 Reader::u8()
{
    need(1);
    const auto v = static_cast<quint8>(*m_at);
    take(1);
    return v;
}

template <class T> T Reader::little()
{
    need(sizeof(T));
    const T v = qFromLittleEndian<T>(m_at);
    take(sizeof(T));
    return v;
}

quint16 Reader::u16()
{
    return little<quint16>();
}

quint32 Reader::u32()
{
    return little<quint32>();
}

quint64 Reader::bits()
{
    return little<quint64>();
}

quint32 Reader::varint()
{
    quint32 v = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        const quint8 b = u8();
        v |= static_cast<quint32>(b & 0x7F) << shift;
        if (!(b & 0x80))
            return v;
    }
    Damaged();
}

double Reader::f64()
{
    const double v = ValueOf(bits());
    if (!std::isfinite(v))
        Damaged();
    return v;
}

double Reader::coordinate()
{
    const double v = f64();
    if (std::fabs(v) > kMaxCoordinate)
        Damaged();
    return v;
}

QString Reader::text()
{
    const quint32 n = u32();
    need(n);
    const QString s = QString::fromUtf8(m_at, static_cast<qsizetype>(n));
    take(static_cast<qsizetype>(n));
    return s;
}

quint32 Reader::count(qsizetype minBytes)
{
    const quint32 n = u32();
    if (static_cast<qint64>(n) * minBytes > m_left)
        Damaged();
    return n;
}

Page Reader::page(std::size_t fonts)
{
    Page page;
    const quint32 items = count(kMinItemBytes);
    page.items.reserve(items);
    for (quint32 i = 0; i < items; ++i) {
        PageItem& item = page.items.emplace_back();
        const quint8 kind = u8();
        const quint8 align = u8();
        if (kind > 2 || align > 2)
            Damaged();
        item.kind = static_cast<PageItem::Kind>(kind);
        item.align = static_cast<Align>(align);
        item.font = u16();
        if (item.kind == PageItem::Kind::Text && item.font >= fonts)
            Damaged();
        item.penWidth = f64();
        if (item.penWidth < 0 || item.penWidth > 100)
            Damaged();
        item.x1 = coordinate();
        item.y1 = coordinate();
        item.x2 = coordinate();
        item.y2 = coordinate();
        item.text = text();
    }
    return page;
}

// ---- a page model's own file

namespace {

// The values met so far, each in the slot its bits hash to; the packer and
// the unpacker keep the same table.
class Values {
public:
    static quint8 slotOf(quint64 bits) { return static_cast<quint8>((bits * 0x9E3779B97F4A7C15ull) >> 56); }
    bool holds(quint64 bits) const { return m_slots[slotOf(bits)] == bits; }
    void keep(quint64 bits) { m_slots[slotOf(bits)] = bits; }
    quint64 at(quint8 slot) const { return m_slots[slot]; }

private:
    std::array<quint64, 256> m_slots{};
};

// Item head: kind (2 bits), align (2 bits), a font of its own, wide text.
constexpr quint8 kNewFont = 1u << 4;
constexpr quint8 kWideText = 1u << 5;

class Packer {
public:
    explicit Packer(qsizetype estimate) : m_out(estimate, Qt::Uninitialized) {}
    char* room(qsizetype n)
    {
        if (m_size + n > m_out.size())
            m_out.resize(std::max(2 * m_out.size(), m_size + n));
        char* at = m_out.data() + m_size;
        m_size += n;
        return at;
    }
    void byte(quint8 v) { *room(1) = static_cast<char>(v); }
    void varint(quint32 v)
    {
        while (v >= 0x80) {
            byte(static_cast<quint8>(v | 0x80));
            v >>= 7;
        }
        byte(static_cast<quint8>(v));
    }
    QByteArray take()
    {
        m_out.truncate(m_size);
        return std::move(m_out);
    }

private:
    QByteArray m_out;
    qsizetype m_size = 0;
};

} // namespace

QByteArray PackPage(const Page& page)
{
    Packer out(static_cast<qsizetype>(page.items.size()) * 32 + 16);
    Values values;
    int font = -1;
    out.varint(static_cast<quint32>(page.items.size()));
    for (const PageItem& item : page.items) {
        const QString& text = item.text;
        const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
        const bool wide = std::any_of(units, units + text.size(), [](char16_t c) { return c > 0xFF; });
        out.byte(static_cast<quint8>(static_cast<quint8>(item.kind) | (static_cast<quint8>(item.align) << 2)
                                     | (item.font != font ? kNewFont : 0) | (wide ? kWideText : 0)));
        if (item.font != font)
            out.varint(item.font);
        font = item.font;
        // Which of the five values are in the table (as the unpacker meets
        // them, one after the other), then each: its slot, or its bits.
        const std::array<quint64, 5> bits{BitsOf(item.penWidth), BitsOf(item.x1), BitsOf(item.y1), BitsOf(item.x2),
                                          BitsOf(item.y2)};
        quint8 known = 0;
        for (std::size_t v = 0; v < bits.size(); ++v) {
            if (values.holds(bits[v]))
                known |= static_cast<quint8>(1u << v);
            else
                values.keep(bits[v]);
        }
        out.byte(known);
        for (std::size_t v = 0; v < bits.size(); ++v) {
            if (known & (1u << v))
                out.byte(Values::slotOf(bits[v]));
            else
                qToLittleEndian(bits[v], out.room(8));
        }
        out.varint(static_cast<quint32>(text.size()));
        if (wide) {
            qToLittleEndian<quint16>(units, text.size(), out.room(2 * text.size()));
        } else {
            char* to = out.room(text.size());
            for (qsizetype i = 0; i < text.size(); ++i)
                to[i] = static_cast<char>(units[i]);
        }
    }
    return out.take();
}

Page UnpackPage(const char* data, qsizetype size)
{
    Reader in(data, size);
    Values values;
    Page page;
    const quint32 items = in.varint();
    if (items > static_cast<quint64>(size))
        Damaged();
    page.items.resize(items);
    std::uint16_t font = 0;
    for (PageItem& item : page.items) {
        const quint8 head = in.u8();
        if ((head & 3) > 2 || ((head >> 2) & 3) > 2 || head >= 1u << 6)
            Damaged();
        item.kind = static_cast<PageItem::Kind>(head & 3);
        item.align = static_cast<Align>((head >> 2) & 3);
        if (head & kNewFont) {
            const quint32 f = in.varint();
            if (f > 0xFFFF)
                Damaged();
            font = static_cast<std::uint16_t>(f);
        }
        item.font = font;
        const quint8 known = in.u8();
        std::array<double*, 5> fields{&item.penWidth, &item.x1, &item.y1, &item.x2, &item.y2};
        for (std::size_t v = 0; v < fields.size(); ++v) {
            quint64 bits;
            if (known & (1u << v)) {
                bits = values.at(in.u8());
            } else {
                bits = in.bits();
                values.keep(bits);
            }
            *fields[v] = ValueOf(bits);
        }
        const quint32 length = in.varint();
        const bool wide = head & kWideText;
        in.need(static_cast<qint64>(length) * (wide ? 2 : 1));
        item.text.resize(static_cast<qsizetype>(length));
        char16_t* to = reinterpret_cast<char16_t*>(item.text.data());
        if (wide) {
            qFromLittleEndian<quint16>(in.m_at, static_cast<qsizetype>(length), to);
            in.take(2 * static_cast<qsizetype>(length));
        } else {
            for (quint32 i = 0; i < length; ++i)
                to[i] = static_cast<unsigned char>(in.m_at[i]);
            in.take(static_cast<qsizetype>(length));
        }
    }
    if (in.left() != 0)
        Damaged();
    return page;
}

} // namespace kal::report::coding
