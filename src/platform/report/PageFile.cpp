#include "PageFile.h"

#include "Exceptions.h"

#include <QFile>
#include <QSaveFile>
#include <array>
#include <cmath>
#include <cstring>

namespace kal::report {
namespace {

constexpr char kMagic[12] = {'K', 'A', 'L', 'M', 'O', 'R', 'A', '-', 'Q', 'R', 'P', '\x1a'};
constexpr quint32 kVersion = 1;
constexpr qint64 kMaxFileSize = 1LL << 30;
constexpr double kMaxCoordinate = 10000.0; // mm

quint32 Crc32(const char* data, qsizetype size)
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
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

class Writer {
public:
    void u8(quint8 v) { m_out.append(static_cast<char>(v)); }
    void u16(quint16 v) { for (int i = 0; i < 2; ++i) u8(static_cast<quint8>(v >> (8 * i))); }
    void u32(quint32 v) { for (int i = 0; i < 4; ++i) u8(static_cast<quint8>(v >> (8 * i))); }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i)
            u8(static_cast<quint8>(bits >> (8 * i)));
    }
    void text(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        u32(static_cast<quint32>(utf8.size()));
        m_out.append(utf8);
    }
    QByteArray& bytes() { return m_out; }

private:
    QByteArray m_out;
};

[[noreturn]] void Damaged()
{
    throw kal::Exception(DamagedPageFileText());
}

class Reader {
public:
    Reader(const char* data, qsizetype size) : m_data(data), m_size(size) {}
    qsizetype left() const { return m_size - m_pos; }
    void need(qsizetype n) const
    {
        if (n < 0 || n > left())
            Damaged();
    }
    quint8 u8()
    {
        need(1);
        return static_cast<quint8>(m_data[m_pos++]);
    }
    quint16 u16() { quint16 v = u8(); v |= static_cast<quint16>(u8()) << 8; return v; }
    quint32 u32()
    {
        quint32 v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<quint32>(u8()) << (8 * i);
        return v;
    }
    double f64()
    {
        quint64 bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<quint64>(u8()) << (8 * i);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v))
            Damaged();
        return v;
    }
    double coordinate()
    {
        const double v = f64();
        if (std::fabs(v) > kMaxCoordinate)
            Damaged();
        return v;
    }
    QString text()
    {
        const quint32 n = u32();
        need(static_cast<qsizetype>(n));
        const QByteArray utf8(m_data + m_pos, static_cast<qsizetype>(n));
        m_pos += n;
        return QString::fromUtf8(utf8);
    }
    // A count of records of at least `minBytes` bytes each.
    quint32 count(qsizetype minBytes)
    {
        const quint32 n = u32();
        if (static_cast<qint64>(n) * minBytes > left())
            Damaged();
        return n;
    }

private:
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

constexpr qsizetype kMinFontBytes = 4 + 8 + 1;
constexpr qsizetype kMinItemBytes = 1 + 1 + 2 + 8 + 4 * 8 + 4;

} // namespace

QString DamagedPageFileText()
{
    return QStringLiteral("Plik nie jest zapisanym raportem lub jest uszkodzony.");
}

QByteArray SavePages(const PageModel& model, const std::function<void(int pagesDone)>& pageDone)
{
    Writer body;
    body.text(model.title);
    body.u8(static_cast<quint8>(model.orientation));
    body.f64(model.paperSize.width());
    body.f64(model.paperSize.height());
    body.u32(static_cast<quint32>(model.fonts.size()));
    for (const FontDef& f : model.fonts) {
        body.text(f.family);
        body.f64(f.pointSize);
        body.u8(static_cast<quint8>((f.bold ? 1 : 0) | (f.italic ? 2 : 0) | (f.underline ? 4 : 0)));
    }
    body.u32(static_cast<quint32>(model.pages.size()));
    int saved = 0;
    for (const Page& page : model.pages) {
        body.u32(static_cast<quint32>(page.items.size()));
        for (const PageItem& item : page.items) {
            body.u8(static_cast<quint8>(item.kind));
            body.u8(static_cast<quint8>(item.align));
            body.u16(item.font);
            body.f64(item.penWidth);
            body.f64(item.x1);
            body.f64(item.y1);
            body.f64(item.x2);
            body.f64(item.y2);
            body.text(item.text);
        }
        if (pageDone)
            pageDone(++saved);
    }
    Writer file;
    file.bytes().append(kMagic, sizeof kMagic);
    file.u32(kVersion);
    file.u32(static_cast<quint32>(body.bytes().size()));
    file.u32(Crc32(body.bytes().constData(), body.bytes().size()));
    file.bytes().append(body.bytes());
    return file.bytes();
}

PageModel LoadPages(const QByteArray& data)
{
    constexpr qsizetype header = sizeof kMagic + 12;
    if (data.size() < header || std::memcmp(data.constData(), kMagic, sizeof kMagic) != 0)
        Damaged();
    Reader head(data.constData() + sizeof kMagic, 12);
    const quint32 version = head.u32();
    const quint32 length = head.u32();
    const quint32 crc = head.u32();
    if (version != kVersion || static_cast<qint64>(length) != data.size() - header)
        Damaged();
    if (Crc32(data.constData() + header, length) != crc)
        Damaged();

    Reader in(data.constData() + header, length);
    PageModel model;
    model.title = in.text();
    const quint8 orientation = in.u8();
    if (orientation > 1)
        Damaged();
    model.orientation = static_cast<Orientation>(orientation);
    const double w = in.f64(), h = in.f64();
    if (w <= 0 || h <= 0 || w > kMaxCoordinate || h > kMaxCoordinate)
        Damaged();
    model.paperSize = QSizeF(w, h);
    const quint32 fonts = in.count(kMinFontBytes);
    if (fonts > 65536)
        Damaged();
    model.fonts.reserve(fonts);
    for (quint32 i = 0; i < fonts; ++i) {
        FontDef f;
        f.family = in.text();
        f.pointSize = in.f64();
        if (f.pointSize <= 0 || f.pointSize > 1000)
            Damaged();
        const quint8 style = in.u8();
        if (style > 7)
            Damaged();
        f.bold = style & 1;
        f.italic = style & 2;
        f.underline = style & 4;
        model.fonts.push_back(f);
    }
    const quint32 pages = in.count(4);
    model.pages.reserve(pages);
    for (quint32 p = 0; p < pages; ++p) {
        Page page;
        const quint32 items = in.count(kMinItemBytes);
        page.items.reserve(items);
        for (quint32 i = 0; i < items; ++i) {
            PageItem item;
            const quint8 kind = in.u8();
            const quint8 align = in.u8();
            if (kind > 2 || align > 2)
                Damaged();
            item.kind = static_cast<PageItem::Kind>(kind);
            item.align = static_cast<Align>(align);
            item.font = in.u16();
            if (item.kind == PageItem::Kind::Text && item.font >= model.fonts.size())
                Damaged();
            item.penWidth = in.f64();
            if (item.penWidth < 0 || item.penWidth > 100)
                Damaged();
            item.x1 = in.coordinate();
            item.y1 = in.coordinate();
            item.x2 = in.coordinate();
            item.y2 = in.coordinate();
            item.text = in.text();
            page.items.push_back(std::move(item));
        }
        model.pages.push_back(std::move(page));
    }
    if (in.left() != 0)
        Damaged();
    return model;
}

void SavePageFile(const PageModel& model, const QString& fileName, const std::function<void(int pagesDone)>& pageDone)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(SavePages(model, pageDone)) < 0 || !file.commit())
        throw kal::Exception(QStringLiteral("Nie można zapisać pliku %1.").arg(fileName));
}

PageModel LoadPageFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw kal::Exception(QStringLiteral("Nie można otworzyć pliku %1.").arg(fileName));
    if (file.size() > kMaxFileSize)
        throw kal::Exception(DamagedPageFileText());
    return LoadPages(file.readAll());
}

} // namespace kal::report
