#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace kal {
namespace {

// 10 to the power `n`, as std::pow gives it (exact up to 10^22).
double Power10(int n)
{
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    return n >= 0 && n <= 22 ? kPowers[n] : std::pow(10.0, n);
}

// The rounding proper, on the magnitude: `scaled` receives the rounded
// magnitude times 10^decimals (a whole number below 1e18 + 1) and `negative`
// the sign. False when the value is left as it is (not finite, or a scaled
// magnitude of 1e18 or more).
bool RoundScaled(double value, int decimals, double& scaled, bool& negative)
{
    if (!std::isfinite(value))
        return false;
    const double m = Power10(decimals);
    if (!(m > 0) || !std::isfinite(m))
        return false;
    negative = value < 0;
    const double x = std::fabs(value); // also turns -0.0 into +0.0
    const double y = x * m;
    if (!std::isfinite(y) || !(y < 1e18))
        return false;

    // The nearest whole number, a half to the even one (what printing with no
    // decimals gives); below 1e18 it is exact as a double.
    double r = std::nearbyint(y);

    // Whole-unit correction, then the half rule: a remainder of more than
    // 0.499999999 of a unit counts as a half.
    if (y - r > 0.999999999999)
        r += 1;
    else if (r - y > 0.999999999999)
        r -= 1;
    if (y - r > 0.499999999)
        r += 1;
    else if (r - y >= 0.500000001)
        r -= 1;

    scaled = r;
    return true;
}

// Digits of a whole number below about 1e18 (exact for doubles that hold one).
std::string WholeDigits(double whole)
{
    // Room for every whole digit of the largest double (309) and a sign.
    char text[std::numeric_limits<double>::max_exponent10 + 8];
    auto res = std::to_chars(text, text + sizeof text, whole, std::chars_format::fixed, 0);
    return std::string(text, res.ptr);
}

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F); }

// The text without blanks and without control characters at either end.
QString WithoutBlanks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!IsBlank(c))
            out.append(c);
    qsizetype begin = 0;
    qsizetype end = out.size();
    while (begin < end && out.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && out.at(end - 1).unicode() <= 32)
        --end;
    return out.mid(begin, end - begin);
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

} // namespace

double RoundHalfAway(double value, int decimals)
{
    double scaled = 0;
    bool negative = false;
    if (!RoundScaled(value, decimals, scaled, negative))
        return value;
    const double result = scaled / Power10(decimals);
    if (result == 0)
        return 0.0; // never -0.0
    return negative ? -result : result;
}

QString FormatNumber(double value, const QString& pattern)
{
    // Split the pattern into its whole part and its decimals.
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString wholePattern = point < 0 ? pattern : pattern.left(point);
    const QString decimalPattern = point < 0 ? QString() : pattern.mid(point + 1);

    int minWhole = 0;
    int groupSize = 0;
    {
        int sinceBlank = 0;
        bool sawBlank = false;
        for (QChar c : wholePattern) {
            if (c == QLatin1Char('0'))
                ++minWhole;
            if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
                ++sinceBlank;
            } else if (c == QLatin1Char(' ')) {
                sawBlank = true;
                sinceBlank = 0;
            }
        }
        if (sawBlank && sinceBlank > 0)
            groupSize = sinceBlank;
    }
    int requiredDecimals = 0;
    int allDecimals = 0;
    for (QChar c : decimalPattern) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            ++allDecimals;
            if (c == QLatin1Char('0'))
                requiredDecimals = allDecimals; // a "0" makes every decimal before it required
        }
    }

    std::string whole;
    std::string decimals;
    bool negative = false;
    double scaled = 0;
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : (value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"));
    // Round to the pattern's decimals. A value too large for that many keeps
    // the decimals that its exact digits hold (the scaled value below 2^53),
    // the rest shown as zeros: a double carries no more.
    int places = allDecimals;
    while (places > 0 && std::fabs(value) * Power10(places) >= 9007199254740992.0)
        --places;
    if (RoundScaled(value, places, scaled, negative)) {
        std::string digits = WholeDigits(scaled);
        if (static_cast<int>(digits.size()) <= places)
            digits.insert(0, static_cast<size_t>(places) - digits.size() + 1, '0');
        whole = digits.substr(0, digits.size() - static_cast<size_t>(places));
        decimals = digits.substr(digits.size() - static_cast<size_t>(places));
        if (scaled == 0)
            negative = false;
    } else {
        // Beyond the rounding's range every digit is whole.
        negative = value < 0;
        whole = WholeDigits(std::fabs(value));
    }
    decimals.resize(static_cast<size_t>(allDecimals), '0');

    // Optional decimals drop trailing zeros.
    while (static_cast<int>(decimals.size()) > requiredDecimals && decimals.back() == '0')
        decimals.pop_back();

    // Whole digits: leading zeros dropped, then at least the pattern's "0" count.
    size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? std::string() : whole.substr(firstNonZero);
    if (static_cast<int>(whole.size()) < minWhole)
        whole.insert(0, static_cast<size_t>(minWhole) - whole.size(), '0');

    QString out;
    if (negative && (!whole.empty() || decimals.find_first_not_of('0') != std::string::npos))
        out.append(QLatin1Char('-'));
    for (size_t i = 0; i < whole.size(); ++i) {
        if (groupSize > 0 && i > 0 && (whole.size() - i) % static_cast<size_t>(groupSize) == 0)
            out.append(QLatin1Char(' '));
        out.append(QLatin1Char(whole[i]));
    }
    if (!decimals.empty()) {
        out.append(QLatin1Char(','));
        size_t shown = 0;
        for (QChar c : decimalPattern) {
            if (shown == decimals.size())
                break;
            if (c == QLatin1Char('0') || c == QLatin1Char('#'))
                out.append(QLatin1Char(decimals[shown++]));
            else if (c == QLatin1Char(' ') && shown > 0)
                out.append(QLatin1Char(' '));
        }
    }
    return out;
}

QString FloatToText(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0");
    char text[64];
    const double magnitude = std::fabs(value);
    const bool plain = magnitude >= 1e-5 && magnitude < 1e17;
    auto res = plain ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                     : std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    QString out = QString::fromLatin1(text, res.ptr - text);
    out.replace(QLatin1Char('.'), QLatin1Char(','));
    return out;
}

std::optional<double> ParseDecimal(const QString& text)
{
    const QString s = WithoutBlanks(text);
    // Grammar: [+-] digits [(,|.) digits] [(e|E) [+-] digits], with at least
    // one digit before the exponent.
    std::string plain;
    plain.reserve(static_cast<size_t>(s.size()));
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
        negative = s.at(i) == QLatin1Char('-');
        ++i;
    }
    int wholeDigits = 0;   // significant digits before the separator
    int leadingZeros = 0;  // zeros right after the separator before a digit, when the whole part is 0
    bool anyDigit = false;
    bool nonZeroSeen = false;
    while (i < s.size() && IsDigit(s.at(i))) {
        if (s.at(i) != QLatin1Char('0'))
            nonZeroSeen = true;
        if (nonZeroSeen)
            ++wholeDigits;
        plain.push_back(static_cast<char>(s.at(i).unicode()));
        anyDigit = true;
        ++i;
    }
    if (i < s.size() && (s.at(i) == QLatin1Char(',') || s.at(i) == QLatin1Char('.'))) {
        plain.push_back('.');
        ++i;
        while (i < s.size() && IsDigit(s.at(i))) {
            if (s.at(i) != QLatin1Char('0'))
                nonZeroSeen = true;
            else if (!nonZeroSeen)
                ++leadingZeros;
            plain.push_back(static_cast<char>(s.at(i).unicode()));
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    long exponent = 0;
    if (i < s.size() && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        plain.push_back('e');
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
            expNegative = s.at(i) == QLatin1Char('-');
            plain.push_back(expNegative ? '-' : '+');
            ++i;
        }
        bool expDigit = false;
        while (i < s.size() && IsDigit(s.at(i))) {
            if (exponent < 100000)
                exponent = exponent * 10 + (s.at(i).unicode() - '0');
            plain.push_back(static_cast<char>(s.at(i).unicode()));
            expDigit = true;
            ++i;
        }
        if (!expDigit)
            return std::nullopt;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;

    double result = 0;
    auto res = std::from_chars(plain.data(), plain.data() + plain.size(), result);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large does not convert.
        if (!nonZeroSeen)
            return 0.0;
        const long magnitude = (wholeDigits > 0 ? wholeDigits : -leadingZeros) + exponent;
        if (magnitude < 0)
            return 0.0;
        return std::nullopt;
    }
    if (res.ec != std::errc() || res.ptr != plain.data() + plain.size())
        return std::nullopt;
    if (result == 0)
        return 0.0;
    return negative ? -result : result;
}

std::optional<double> ParseTypedDecimal(const QString& text)
{
    if (text.contains(QLatin1Char('.')))
        return std::nullopt;
    return ParseDecimal(text);
}

QString NotANumberMessage()
{
    return QStringLiteral("Wprowadzona wartość nie jest liczbą !!!\n"
                          "Część dziesiętną oddziela się przecinkiem (np. 2,5), nie kropką.");
}

std::optional<qint64> ParseWhole(const QString& text)
{
    const QString s = WithoutBlanks(text);
    std::string plain;
    plain.reserve(static_cast<size_t>(s.size()));
    qsizetype i = 0;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))) {
        if (s.at(i) == QLatin1Char('-'))
            plain.push_back('-');
        ++i;
    }
    if (i == s.size())
        return std::nullopt;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s.at(i)))
            return std::nullopt;
        plain.push_back(static_cast<char>(s.at(i).unicode()));
    }
    long long result = 0;
    auto res = std::from_chars(plain.data(), plain.data() + plain.size(), result);
    if (res.ec != std::errc() || res.ptr != plain.data() + plain.size())
        return std::nullopt;
    return static_cast<qint64>(result);
}

} // namespace kal
