#include "DateText.h"

namespace kal {
namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Reads 1..maxDigits ASCII digits at `pos`; false when there are none or more.
bool ReadNumber(const QString& s, qsizetype& pos, int minDigits, int maxDigits, int& value)
{
    int count = 0;
    value = 0;
    while (pos < s.size() && IsDigit(s.at(pos))) {
        if (++count > maxDigits)
            return false;
        value = value * 10 + (s.at(pos).unicode() - '0');
        ++pos;
    }
    return count >= minDigits;
}

} // namespace

std::optional<QDate> ParseDate(const QString& text)
{
    const QString s = text.trimmed();
    qsizetype pos = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!ReadNumber(s, pos, 4, 4, year))
        return std::nullopt;
    if (pos >= s.size() || s.at(pos) != QLatin1Char('-'))
        return std::nullopt;
    ++pos;
    if (!ReadNumber(s, pos, 1, 2, month))
        return std::nullopt;
    if (pos >= s.size() || s.at(pos) != QLatin1Char('-'))
        return std::nullopt;
    ++pos;
    if (!ReadNumber(s, pos, 1, 2, day))
        return std::nullopt;
    if (pos != s.size())
        return std::nullopt;
    if (year < 1) // the calendar has no year 0
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString DateToText(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
}

} // namespace kal
