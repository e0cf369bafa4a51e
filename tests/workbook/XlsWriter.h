#pragma once
// A tiny Excel 97 (BIFF8 in a compound file) writer for the reader's tests:
// sheets of text, numbers and dates, nothing else.

#include <QByteArray>
#include <QString>
#include <variant>
#include <vector>

namespace kal::test {

// No cell at all: nothing is written.
struct XlsEmpty {};
// An empty cell that has a format of its own (a BLANK record), as Excel
// writes a formatted cell that holds nothing.
struct XlsBlank {};
// A text written inline (LABEL record) instead of through the string table.
struct XlsInlineText {
    QString text;
};
// A whole number written as an RK value.
struct XlsRk {
    int value;
};
// A serial day number with a date format: built-in 14 (date), 22 (date and
// time), 21 (time) or the custom "yyyy-mm-dd hh:mm" (164).
struct XlsDate {
    double serial;
    int format = 14;
};

// QString -> string table text, double -> NUMBER record.
using XlsValue = std::variant<XlsEmpty, QString, double, XlsRk, XlsDate, XlsInlineText, XlsBlank>;

class XlsWriter {
public:
    XlsWriter& sheet(const QString& name);
    XlsWriter& row(std::vector<XlsValue> cells);
    XlsWriter& date1904(bool on)
    {
        m_date1904 = on;
        return *this;
    }
    // A workbook stream shorter than 4096 bytes, kept in the compound file's
    // mini stream (as small files from some programs are), instead of one
    // padded to 4096 bytes in ordinary sectors.
    XlsWriter& small(bool on)
    {
        m_small = on;
        return *this;
    }
    // Each sheet's rows are announced by row records (first and last cell
    // of the row), in blocks of 32 ahead of their cells, as Excel writes
    // them; without, the sheet holds only its cells, as some other programs
    // write it.
    XlsWriter& rowRecords(bool on)
    {
        m_rowRecords = on;
        return *this;
    }
    // The sector table and the directory ahead of the workbook stream, so
    // that the stream fills the end of the file, as in many files saved by
    // Excel: a file cut short then loses the end of its sheets, not the
    // table of its sectors.
    XlsWriter& streamAtEnd(bool on)
    {
        m_streamAtEnd = on;
        return *this;
    }
    // The whole file.
    QByteArray build() const;
    // Writes build() to `path`; false when the file cannot be written.
    bool save(const QString& path) const;

private:
    struct Sheet {
        QString name;
        std::vector<std::vector<XlsValue>> rows;
    };
    std::vector<Sheet> m_sheets;
    bool m_date1904 = false;
    bool m_small = false;
    bool m_rowRecords = true;
    bool m_streamAtEnd = false;
};

// The file offset of the `nth` record of `type` in a file made by XlsWriter
// (whose stream lies in one piece); -1 when there is none.
qsizetype XlsRecordOffset(const QByteArray& file, unsigned type, int nth = 0);
// Changes the stated length of the `nth` record of `type` by `delta` bytes,
// its data left as it was, as a damaged file has it: in the bytes of a file
// made by XlsWriter, or in such a file on disk. False when there is no such
// record (or the file cannot be rewritten).
bool XlsChangeRecordLength(QByteArray& file, unsigned type, int nth, int delta);
bool XlsChangeRecordLength(const QString& path, unsigned type, int nth, int delta);
// Where the workbook stream of a file made by XlsWriter starts and ends.
qsizetype XlsStreamStart(const QByteArray& file);
qsizetype XlsStreamEnd(const QByteArray& file);
// The workbook stream of a file made by XlsWriter, and a sound file around
// a stream (as an export that stopped short writes it).
QByteArray XlsStream(const QByteArray& file);
QByteArray XlsFileAround(const QByteArray& stream);

// The serial day number of a date in the 1900 system (from 1900-03-01 on).
double XlsSerial(int year, int month, int day);

} // namespace kal::test
