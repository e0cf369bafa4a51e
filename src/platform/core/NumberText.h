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
// "# ### ##0.00# ### ###", "# ### ##0.### ###", "###0.00" or "## ##0.00".
// The rule:
// - "." splits the pattern into its whole part and its decimals; it is shown
//   as ",". "0" is a digit always shown, "#" a digit shown when needed.
// - The value is first rounded with RoundHalfAway to as many decimals as the
//   pattern has placeholders after the "."; a value that rounds to zero has
//   no sign, a negative one gets a leading "-".
// - Whole part: every digit of the value is shown (the pattern never cuts
//   digits), leading zeros dropped, but at least as many digits as the whole
//   part has "0"s. When the whole part holds a blank, the digits are grouped
//   with one ASCII blank, in groups as long as the pattern's last group
//   (three in every pattern of the program); leading groups without digits
//   are dropped and nothing is padded.
// - Decimals: a "0" makes every decimal up to it required; the optional ones
//   after it drop trailing zeros. A blank inside the decimals is emitted only
//   when a digit follows it. No "," is shown when no decimal remains.
// Examples: 1234567.891 with "### ### ##0.00" is "1 234 567,89"; 0.1234 with
// "# ### ##0.00# ### ###" is "0,123 4"; 5 with "# ### ##0.### ###" is "5".
// A value too large to hold every decimal of the pattern exactly (the scaled
// value from 2^53, about sixteen digits, on) is rounded to as many decimals as
// it holds (1234567890.5 with "# ### ##0.00# ### ###" is "1 234 567 890,50");
// from 1e18 on only its whole digits are shown. Infinities and NaN show as "INF", "-INF" and "NAN".
QString FormatNumber(double value, const QString& pattern);

// The text of a float with full precision and the decimal comma, without
// grouping (1234.5 gives "1234,5"); ParseDecimal reads it back exactly.
// The shortest text that reads back to the same double; plain digits for
// magnitudes from 1e-5 below 1e17, otherwise an exponent ("1e+20"). Zero is
// "0" (also -0.0); an infinity or NaN gives the empty text.
QString FloatToText(double value);

// Reads a decimal number. Every blank is dropped; "," or "." is the decimal
// separator; an optional sign and an exponent are allowed. "inf", "nan",
// hexadecimal forms, an empty text and any other text give nullopt. A value
// too large for a double does not convert; one too small to hold is 0. Blanks
// are " ", the no-break space and the narrow no-break space; control
// characters at either end are cut too. Never gives -0.0.
std::optional<double> ParseDecimal(const QString& text);

// Reads a number that the user typed into a field. As ParseDecimal, but only
// "," separates the decimals: a text holding a "." does not convert, so that
// "2.587" copied from an invoice that groups thousands with dots is never
// taken for 2,587. Numbers read from files keep ParseDecimal.
std::optional<double> ParseTypedDecimal(const QString& text);

// The refusal of a typed text that is not a number.
QString NotANumberMessage();

// Reads a whole number after dropping every blank; nullopt when the text is
// not an optional sign followed by digits, or does not fit in 64 bits.
std::optional<qint64> ParseWhole(const QString& text);

} // namespace kal
