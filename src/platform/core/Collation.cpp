#include "Collation.h"

#include <QByteArray>

#include <algorithm>

namespace kal {

namespace {

// Classes of characters, in the order they sort: blanks, other signs,
// digits, letters of the Polish alphabet, any other letter.
enum CharClass : unsigned char { Blank = 1, Sign = 2, Digit = 3, PolishLetter = 4, OtherLetter = 5 };

const char16_t kAlphabet[] = u"aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż";
constexpr int kAlphabetSize = int(sizeof(kAlphabet) / sizeof(kAlphabet[0])) - 1;

int alphabetIndex(char16_t lower)
{
    for (int i = 0; i < kAlphabetSize; ++i)
        if (kAlphabet[i] == lower)
            return i;
    return -1;
}

struct Weight {
    unsigned char cls;
    char16_t value;
};

Weight weightOf(QChar ch)
{
    if (ch.isSpace())
        return {Blank, 0};
    if (ch.isDigit())
        return {Digit, char16_t(ch.digitValue() < 0 ? ch.unicode() : ch.digitValue())};
    if (ch.isLetter()) {
        const QChar lower = ch.toLower();
        int idx = alphabetIndex(lower.unicode());
        if (idx >= 0)
            return {PolishLetter, char16_t(idx)};
        // A letter with a diacritic that the Polish alphabet lacks sorts
        // with its base letter (é as e, ü as u).
        const QString decomposed = lower.decomposition();
        if (!decomposed.isEmpty()) {
            idx = alphabetIndex(decomposed.at(0).toLower().unicode());
            if (idx >= 0)
                return {PolishLetter, char16_t(idx)};
        }
        return {OtherLetter, lower.unicode()};
    }
    return {Sign, ch.unicode()};
}

} // namespace

// The binary sort key of a text: comparing keys byte by byte, a shorter key
// first when one is the start of the other, gives the same order as
// ComparePolish. A letter of the Polish alphabet and a digit take one byte,
// a blank one byte, any other character a class byte and two value bytes.
// The dataset engine stores these keys in its index columns.
QByteArray PolishSortKey(const QString& text)
{
    QByteArray key;
    key.reserve(text.size());
    for (QChar ch : text) {
        const Weight w = weightOf(ch);
        switch (w.cls) {
        case Blank:
            key.append('\x01');
            break;
        case Digit:
            key.append(char(0x10 + std::min<int>(w.value, 0x2F)));
            break;
        case PolishLetter:
            key.append(char(0x40 + w.value));
            break;
        default:
            key.append(char(w.cls == Sign ? 0x02 : 0x70));
            key.append(char((w.value >> 8) & 0xFF));
            key.append(char(w.value & 0xFF));
            break;
        }
    }
    return key;
}

int ComparePolish(const QString& a, const QString& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a.at(i) == b.at(i))
            continue;
        const Weight wa = weightOf(a.at(i));
        const Weight wb = weightOf(b.at(i));
        if (wa.cls != wb.cls)
            return wa.cls < wb.cls ? -1 : 1;
        if (wa.value != wb.value)
            return wa.value < wb.value ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace kal
