#pragma once
// A tiny Excel 97 (BIFF8 in a compound file) writer for the reader's tests:
// sheets of text, numbers and dates, nothing else.

#include <QByteArray>
#include <QString>
#include <variant>
#include <vector>

namespace kal::test {

struct XlsEmpty {};
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
using XlsValue = std::variant<XlsEmpty, QString, double, XlsRk, XlsDate, XlsInlineText>;

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
};

// The file offset of the `nth` record of `type` in a file made by XlsWriter
// (whose stream lies in one piece after the header); -1 when there is none.
qsizetype XlsRecordOffset(const QByteArray& file, unsigned type, int nth = 0);

// The serial day number of a date in the 1900 system (from 1900-03-01 on).
double XlsSerial(int year, int month, int day);

} // namespace kal::test
