#pragma once
// Reading a CSV export back as a spreadsheet does (RFC 4180: records end with
// CRLF, fields are separated by commas, a quoted field may hold commas,
// doubled quotes and line breaks).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace kal::test {

inline std::vector<QStringList> ReadCsv(const QByteArray& data)
{
    const QString text = QString::fromUtf8(data);
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool any = false; // the record has begun
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            any = true;
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            record << field;
            records.push_back(record);
            record.clear();
            field.clear();
            any = false;
            ++i;
        } else {
            field += c;
            any = true;
        }
    }
    if (any)
        records.push_back(record << field);
    return records;
}

// The first record from `from` on whose field `column` is `text`; -1 when none.
inline int FindRecord(const std::vector<QStringList>& records, int column, const QString& text, int from = 0)
{
    for (int i = from; i < static_cast<int>(records.size()); ++i)
        if (column < records[size_t(i)].size() && records[size_t(i)][column] == text)
            return i;
    return -1;
}

} // namespace kal::test
