#include "PageFile.h"

#include "Exceptions.h"
#include "PageCoding.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <cstring>
#include <limits>

namespace kal::report {
namespace {

using coding::Damaged;

constexpr char kMagic[12] = {'K', 'A', 'L', 'M', 'O', 'R', 'A', '-', 'Q', 'R', 'P', '\x1a'};
constexpr quint32 kVersion = 1;
constexpr qint64 kHeader = sizeof kMagic + 12;
constexpr qint64 kLengthAt = sizeof kMagic + 4;
constexpr qsizetype kMinFontBytes = 4 + 8 + 1;

// Writes the file to `out` from its start, page by page; the length and the
// checksum of the body go into the header at the end. False when `out`
// refuses a write or the body outgrows the format.
bool WritePages(const PageModel& model, QIODevice& out, const std::function<void(int pagesDone)>& pageDone)
{
    qint64 length = 0;
    quint32 crc = 0;
    const auto put = [&](coding::Writer& w) {
        const QByteArray& bytes = w.bytes();
        crc = coding::Crc32(crc, bytes.constData(), bytes.size());
        length += bytes.size();
        const bool written = out.write(bytes) == bytes.size();
        w.bytes().clear();
        return written && length <= std::numeric_limits<quint32>::max();
    };
    coding::Writer head;
    head.bytes().append(kMagic, sizeof kMagic);
    head.u32(kVersion);
    head.u32(0);
    head.u32(0);
    if (out.write(head.bytes()) != kHeader)
        return false;

    coding::Writer body;
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
    body.u32(static_cast<quint32>(model.pageCount()));
    for (int p = 0; p < model.pageCount(); ++p) {
        body.page(*model.page(p));
        if (!put(body))
            return false;
        if (pageDone)
            pageDone(p + 1);
    }
    if (!put(body))
        return false;
    coding::Writer sums;
    sums.u32(static_cast<quint32>(length));
    sums.u32(crc);
    return out.seek(kLengthAt) && out.write(sums.bytes()) == sums.bytes().size() && out.seek(kHeader + length);
}

// Reads a file of `size` bytes from `in`.
PageModel ReadPages(QIODevice& in, qint64 size)
{
    char head[kHeader];
    if (size < kHeader || in.read(head, kHeader) != kHeader || std::memcmp(head, kMagic, sizeof kMagic) != 0)
        Damaged();
    coding::Reader header(head + sizeof kMagic, 12);
    const quint32 version = header.u32();
    const quint32 length = header.u32();
    const quint32 crc = header.u32();
    if (version != kVersion || static_cast<qint64>(length) != size - kHeader)
        Damaged();

    coding::Reader body(in, length);
    PageModel model;
    model.title = body.text();
    const quint8 orientation = body.u8();
    if (orientation > 1)
        Damaged();
    model.orientation = static_cast<Orientation>(orientation);
    const double w = body.coordinate(), h = body.coordinate();
    if (w <= 0 || h <= 0)
        Damaged();
    model.paperSize = QSizeF(w, h);
    const quint32 fonts = body.count(kMinFontBytes);
    if (fonts > 65536)
        Damaged();
    model.fonts.reserve(fonts);
    for (quint32 i = 0; i < fonts; ++i) {
        FontDef f;
        f.family = body.text();
        f.pointSize = body.f64();
        if (f.pointSize <= 0 || f.pointSize > 1000)
            Damaged();
        const quint8 style = body.u8();
        if (style > 7)
            Damaged();
        f.bold = style & 1;
        f.italic = style & 2;
        f.underline = style & 4;
        model.fonts.push_back(f);
    }
    const quint32 pages = body.count(4);
    for (quint32 p = 0; p < pages; ++p)
        model.addPage(body.page(model.fonts.size()));
    // Every byte of the body is read by now: its checksum must match.
    if (body.left() != 0 || body.crc() != crc)
        Damaged();
    return model;
}

} // namespace

QString DamagedPageFileText()
{
    return QStringLiteral("Plik nie jest zapisanym raportem lub jest uszkodzony.");
}

QByteArray SavePages(const PageModel& model, const std::function<void(int pagesDone)>& pageDone)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    WritePages(model, buffer, pageDone);
    buffer.close();
    return data;
}

PageModel LoadPages(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return ReadPages(buffer, data.size());
}

void SavePageFile(const PageModel& model, const QString& fileName, const std::function<void(int pagesDone)>& pageDone)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !WritePages(model, file, pageDone) || !file.commit())
        throw kal::Exception(QStringLiteral("Nie można zapisać pliku %1.").arg(fileName));
}

PageModel LoadPageFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw kal::Exception(QStringLiteral("Nie można otworzyć pliku %1.").arg(fileName));
    return ReadPages(file, file.size());
}

} // namespace kal::report
