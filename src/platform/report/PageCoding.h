#pragma once
// The bytes of pages on disk.
//
// The saved page file: little-endian numbers, doubles as their 64 bits,
// texts as UTF-8, a page as the count of its items and the items. A reader
// checks every count, length and value against the bytes that are there and
// throws kal::Exception with DamagedPageFileText() when they do not fit.
//
// A page model's own page file holds a page packed small and fast: every
// double is written whole the first time, and afterwards as one byte naming
// its slot in a table of the values met so far (the columns and the rows of
// a page repeat them over and over); texts as Latin-1 when every character
// fits, else as their UTF-16 code units. A page comes back as it was made,
// to the last bit.

#include "PageModel.h"

#include <QByteArray>

class QIODevice;

namespace kal::report::coding {

// CRC-32 (IEEE) of `size` bytes, going on from `crc` (0 to start).
quint32 Crc32(quint32 crc, const char* data, qsizetype size);

[[noreturn]] void Damaged();

class Writer {
public:
    void u8(quint8 v) { m_out.append(static_cast<char>(v)); }
    void u32(quint32 v);
    void f64(double v);
    void text(const QString& s);
    void page(const Page& page);
    QByteArray& bytes() { return m_out; }

private:
    QByteArray m_out;
};

class Reader {
public:
    // The bytes of `data`.
    Reader(const char* data, qsizetype size);
    // `size` bytes read from `device` as they are needed; crc() tells the
    // CRC-32 of the bytes read so far.
    Reader(QIODevice& device, qint64 size);

    qint64 left() const { return m_left; }
    quint32 crc() const { return m_crc; }
    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    double coordinate();
    QString text();
    // A count of records of at least `minBytes` bytes each.
    quint32 count(qsizetype minBytes);
    // A page whose text items use fonts below `fonts`.
    Page page(std::size_t fonts);

private:
    friend Page UnpackPage(const char* data, qsizetype size);
    // Makes `n` bytes ready at m_at; throws when fewer are left.
    void need(qint64 n);
    void take(qsizetype n);
    quint32 varint();
    quint64 bits();
    template <class T> T little();

    const char* m_at;
    qsizetype m_ready;   // bytes ready at m_at
    qint64 m_left;       // bytes not taken yet, ready or not
    QIODevice* m_device = nullptr;
    QByteArray m_buffer;
    quint32 m_crc = 0;
};

// A page packed for a page model's own file, and back.
QByteArray PackPage(const Page& page);
Page UnpackPage(const char* data, qsizetype size);

} // namespace kal::report::coding
