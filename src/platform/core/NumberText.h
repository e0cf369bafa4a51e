#pragma once
// Numbers as the program shows and reads them: decimal separator ",",
// group separator one ASCII blank.

#include <QString>
#include <optional>

namespace kal {

// Rounds half away from zero to `decimals` decimals: the scaled magnitude is
// rounded half up, a remainder of more than 0.499999999 of a unit counting as
// a half, and the sign is restored. Gives +0.0, never -0.0. A value that is
// not finite, or whose scaled magnitude is 1e18 or more, comes back unchanged.
double RoundHalfAway(double value, int decimals);

// Formats `value` with a display pattern such as "### ### ##0.00",
// "# ### ##0.00# ### ###", "# ### ##0.### ###", "###0.00" or "## ##0.00":
// "0" a digit always shown, "#" a digit shown when needed, a blank between
// placeholders a group separator, "." the decimal separator (shown as ",").
// Leading groups that hold no digit are dropped, nothing is padded, and the
// value is rounded to the pattern's last decimal with RoundHalfAway.
QString FormatNumber(double value, const QString& pattern);

// The text of a float with full precision and the decimal comma, without
// grouping (1234.5 gives "1234,5"); ParseDecimal reads it back exactly.
QString FloatToText(double value);

// Reads a decimal number. Every blank is dropped; "," or "." is the decimal
// separator; an optional sign and an exponent are allowed. "inf", "nan",
// hexadecimal forms, an empty text and any other text give nullopt.
std::optional<double> ParseDecimal(const QString& text);

// Reads a whole number after dropping every blank; nullopt when the text is
// not an optional sign followed by digits, or does not fit in 64 bits.
std::optional<qint64> ParseWhole(const QString& text);

} // namespace kal
