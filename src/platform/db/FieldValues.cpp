// Values of the dataset engine's fields: the canonical value of each field
// type, and the order keys that sort rows field by field.
#include "Storage.h"

#include "DateText.h"
#include "Exceptions.h"
#include "NumberText.h"

#include <cmath>
#include <cstring>

namespace kal::db_detail {

namespace {

QString typeName(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
        return QStringLiteral("liczbą całkowitą");
    case ftFloat:
        return QStringLiteral("liczbą");
    case ftDate:
        return QStringLiteral("datą");
    case ftBoolean:
        return QStringLiteral("wartością logiczną");
    default:
        return QStringLiteral("wartością");
    }
}

[[noreturn]] void convertError(const QString& text, TFieldType type)
{
    throw EConvertError(QStringLiteral("'%1' nie jest poprawną %2.").arg(text, typeName(type)));
}

} // namespace

QString withoutTrailingBlanks(const QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == u' ')
        --n;
    return n == text.size() ? text : text.left(n);
}

bool isIntegerType(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftAutoInc;
}

QVariant toFieldValue(TFieldType type, int size, const QVariant& value, const QString& fieldName)
{
    if (!value.isValid() || value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    switch (type) {
    case ftString:
    case ftMemo: {
        QString s;
        if (value.typeId() == QMetaType::Double)
            s = FloatToText(value.toDouble());
        else if (value.typeId() == QMetaType::QDate)
            s = DateToText(value.toDate());
        else
            s = value.toString();
        if (type == ftString) {
            if (size > 0 && s.size() > size)
                s.truncate(size);
            s = withoutTrailingBlanks(s);
        }
        if (s.isEmpty())
            return {};
        return s;
    }
    case ftSmallint:
    case ftInteger:
    case ftAutoInc: {
        const qint64 lo = type == ftSmallint ? -32768 : -2147483647LL - 1;
        const qint64 hi = type == ftSmallint ? 32767 : 2147483647LL;
        auto outOfRange = [&](const QString& text) {
            return EDatabaseError(QStringLiteral("%1 nie jest poprawną wartością pola '%2'. Dozwolony zakres to %3 do %4")
                                      .arg(text)
                                      .arg(fieldName)
                                      .arg(lo)
                                      .arg(hi));
        };
        qint64 v = 0;
        if (isText) {
            const QString s = value.toString();
            if (s.trimmed().isEmpty())
                return {};
            auto parsed = ParseWhole(s);
            if (!parsed)
                convertError(s, type);
            v = *parsed;
        } else if (value.typeId() == QMetaType::Double) {
            const double d = value.toDouble();
            if (!std::isfinite(d))
                convertError(FloatToText(d), type);
            const double r = RoundHalfAway(d, 0);
            if (!(r >= double(lo) && r <= double(hi)))
                throw outOfRange(QString::number(r, 'f', 0)); // checked before the cast: a larger double has no qint64
            v = qint64(r);
        } else if (value.typeId() == QMetaType::Bool) {
            v = value.toBool() ? 1 : 0;
        } else {
            bool ok = false;
            v = value.toLongLong(&ok);
            if (!ok)
                convertError(value.toString(), type);
        }
        if (v < lo || v > hi)
            throw outOfRange(QString::number(v));
        return int(v);
    }
    case ftFloat: {
        if (isText) {
            const QString s = value.toString();
            if (s.trimmed().isEmpty())
                return {};
            auto parsed = ParseDecimal(s);
            if (!parsed)
                convertError(s, type);
            return *parsed;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            convertError(value.toString(), type);
        return d;
    }
    case ftDate: {
        if (value.typeId() == QMetaType::QDate) {
            const QDate d = value.toDate();
            return d.isValid() ? QVariant(d) : QVariant();
        }
        if (value.typeId() == QMetaType::QDateTime) {
            const QDate d = value.toDateTime().date();
            return d.isValid() ? QVariant(d) : QVariant();
        }
        const QString s = value.toString();
        if (s.trimmed().isEmpty())
            return {};
        auto parsed = ParseDate(s);
        if (!parsed)
            convertError(s, type);
        return *parsed;
    }
    case ftBoolean: {
        if (isText) {
            const QString s = value.toString().trimmed().toLower();
            if (s.isEmpty())
                return {};
            if (s == u"true" || s == u"t" || s == u"tak" || s == u"1")
                return true;
            if (s == u"false" || s == u"f" || s == u"nie" || s == u"0")
                return false;
            convertError(value.toString(), type);
        }
        return value.toBool();
    }
    case ftUnknown:
        break;
    }
    return value;
}

namespace {

// Order-preserving, short encoding of a whole number: a length byte (above
// 0x80 for n bytes of a non-negative value, below 0x80 for a negative one)
// and the value's significant bytes.
QByteArray wholeKey(qint64 v)
{
    QByteArray out;
    quint64 m = v >= 0 ? quint64(v) : quint64(-(v + 1));
    unsigned char bytes[8];
    int n = 0;
    while (m != 0) {
        bytes[n++] = (unsigned char)(m & 0xFF);
        m >>= 8;
    }
    out.append(char(v >= 0 ? 0x80 + n : 0x7F - n));
    for (int i = n - 1; i >= 0; --i)
        out.append(char(v >= 0 ? bytes[i] : (unsigned char)~bytes[i]));
    return out;
}

} // namespace

QByteArray fieldKey(TFieldType type, const QVariant& value)
{
    if (!value.isValid())
        return {};
    switch (type) {
    case ftString:
    case ftMemo:
        return PolishSortKey(value.toString());
    case ftFloat: {
        double d = value.toDouble();
        if (d == 0.0)
            d = 0.0;
        quint64 u;
        std::memcpy(&u, &d, sizeof u);
        u = (u & 0x8000000000000000ULL) ? ~u : (u | 0x8000000000000000ULL);
        QByteArray b(8, '\0');
        for (int i = 7; i >= 0; --i) {
            b[i] = char(u & 0xFF);
            u >>= 8;
        }
        return b;
    }
    case ftDate:
        return wholeKey(value.toDate().toJulianDay());
    case ftBoolean:
        return QByteArray(1, value.toBool() ? '\x02' : '\x01');
    default:
        return wholeKey(value.toLongLong());
    }
}

void appendKeyPart(QByteArray& key, const QByteArray& part)
{
    for (char c : part) {
        key.append(c);
        if (c == '\0')
            key.append('\xFF');
    }
    key.append('\0');
    key.append('\0');
}

QByteArray upperOf(const QByteArray& prefix)
{
    if (prefix.isEmpty())
        return QByteArray(1, '\xFF'); // above every key (keys start below 0xFF... or are empty)
    QByteArray upper = prefix;
    upper[upper.size() - 1] = '\x01';
    return upper;
}

} // namespace kal::db_detail
