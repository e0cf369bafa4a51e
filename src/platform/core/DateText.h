#pragma once
// Dates as the program shows and reads them: "yyyy-mm-dd".

#include <QDate>
#include <QString>
#include <optional>

namespace kal {

// Reads "yyyy-mm-dd": a 4-digit year, a month and a day of one or two digits,
// blanks allowed around the whole text. Anything else, or a date that does not
// exist in the calendar, gives nullopt.
std::optional<QDate> ParseDate(const QString& text);

// "yyyy-mm-dd" of a valid date; the empty text for an invalid one.
QString DateToText(const QDate& date);

} // namespace kal
