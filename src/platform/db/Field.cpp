#include "Field.h"

#include "DateText.h"
#include "Exceptions.h"
#include "NumberText.h"
#include "Storage.h"
#include "Table.h"

#include <sqlite3.h>

namespace kal {

TField::TField(TTable* dataSet, const QString& componentName, const QString& fieldName, TFieldType type, int size,
               TFieldKind kind)
    : TComponent(componentName), m_dataSet(dataSet), m_fieldName(fieldName), m_type(type),
      m_size(type == ftString && size <= 0 ? 20 : size), m_kind(kind)
{
    if (type == ftAutoInc)
        m_readOnly = true;
}

bool TField::IsNull() const
{
    int at = 0;
    if (sqlite3_stmt* st = m_dataSet->walkColumn(*this, at)) {
        // an empty text is stored as no text
        const int type = sqlite3_column_type(st, at);
        if (type == SQLITE_NULL)
            return true;
        if (m_type == ftMemo)
            return sqlite3_column_bytes(st, at) == 0;
        if (m_type == ftString) // blanks alone, as an older program stored them, are no text either
            return AsString().isEmpty();
        return false;
    }
    return !m_dataSet->rawRef(*this).isValid();
}

void TField::Clear()
{
    m_dataSet->setRawValue(*this, QVariant());
}

QVariant TField::Value() const
{
    return m_dataSet->rawValue(*this);
}

void TField::setValue(const QVariant& value)
{
    m_dataSet->setRawValue(*this, value);
}

QVariant TField::OldValue() const
{
    if (m_kind != fkData || m_column < 0)
        return {};
    const TTable& t = *m_dataSet;
    if (t.m_state == dsEdit && size_t(m_column) < t.m_old.values.size())
        return t.m_old.values[size_t(m_column)];
    if (t.m_state == dsInsert)
        return {};
    return Value();
}

QString TField::AsString() const
{
    int at = 0;
    if (m_type == ftString || m_type == ftMemo)
        if (sqlite3_stmt* st = m_dataSet->walkColumn(*this, at)) {
            const int n = sqlite3_column_bytes(st, at);
            const QString s =
                n > 0 ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, at)), n) : QString();
            return m_type == ftString ? db_detail::withoutTrailingBlanks(s) : s;
        }
    const QVariant& v = m_dataSet->rawRef(*this);
    if (!v.isValid())
        return {};
    switch (m_type) {
    case ftFloat:
        return FloatToText(v.toDouble());
    case ftDate:
        return DateToText(v.toDate());
    case ftBoolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

void TField::setAsString(const QString& text)
{
    setValue(text);
}

int TField::AsInteger() const
{
    int at = 0;
    if (db_detail::isIntegerType(m_type))
        if (sqlite3_stmt* st = m_dataSet->walkColumn(*this, at))
            return int(sqlite3_column_int64(st, at)); // null reads as 0
    const QVariant& v = m_dataSet->rawRef(*this);
    if (!v.isValid())
        return 0;
    switch (m_type) {
    case ftFloat: // rounded; a value beyond the integer range raises
        return db_detail::toFieldValue(ftInteger, 0, v, m_fieldName).toInt();
    case ftString:
    case ftMemo:
    case ftDate:
        return db_detail::toFieldValue(ftInteger, 0, AsString(), m_fieldName).toInt();
    case ftBoolean:
        return v.toBool() ? 1 : 0;
    default:
        return v.toInt();
    }
}

void TField::setAsInteger(int value)
{
    setValue(value);
}

double TField::AsFloat() const
{
    int at = 0;
    if (m_type == ftFloat)
        if (sqlite3_stmt* st = m_dataSet->walkColumn(*this, at))
            return sqlite3_column_double(st, at); // null reads as 0
    const QVariant& v = m_dataSet->rawRef(*this);
    if (!v.isValid())
        return 0.0;
    switch (m_type) {
    case ftString:
    case ftMemo:
        return db_detail::toFieldValue(ftFloat, 0, v, m_fieldName).toDouble();
    case ftDate:
        return double(v.toDate().toJulianDay());
    case ftBoolean:
        return v.toBool() ? 1.0 : 0.0;
    default:
        return v.toDouble();
    }
}

void TField::setAsFloat(double value)
{
    setValue(value);
}

bool TField::AsBoolean() const
{
    const QVariant& v = m_dataSet->rawRef(*this);
    if (!v.isValid())
        return false;
    if (m_type == ftString || m_type == ftMemo)
        return db_detail::toFieldValue(ftBoolean, 0, v, m_fieldName).toBool();
    if (m_type == ftDate)
        throw EConvertError(QStringLiteral("'%1' nie jest poprawną wartością logiczną.").arg(AsString()));
    return v.toDouble() != 0.0 || v.toBool();
}

void TField::setAsBoolean(bool value)
{
    setValue(value);
}

QDate TField::AsDateTime() const
{
    int at = 0;
    if (m_type == ftDate)
        if (sqlite3_stmt* st = m_dataSet->walkColumn(*this, at))
            return sqlite3_column_type(st, at) == SQLITE_NULL ? QDate() : QDate::fromJulianDay(sqlite3_column_int64(st, at));
    const QVariant& v = m_dataSet->rawRef(*this);
    if (!v.isValid())
        return {};
    if (m_type == ftDate)
        return v.toDate();
    if (m_type == ftString || m_type == ftMemo)
        return db_detail::toFieldValue(ftDate, 0, v, m_fieldName).toDate();
    throw EConvertError(QStringLiteral("'%1' nie jest poprawną datą.").arg(AsString()));
}

void TField::setAsDateTime(const QDate& date)
{
    setValue(date.isValid() ? QVariant(date) : QVariant());
}

QString TField::defaultText(bool display) const
{
    const QVariant& v = m_dataSet->rawRef(*this);
    if (!v.isValid())
        return {};
    if (display && m_type == ftFloat && !m_displayFormat.isEmpty())
        return FormatNumber(v.toDouble(), m_displayFormat);
    if (display && db_detail::isIntegerType(m_type) && !m_displayFormat.isEmpty())
        return FormatNumber(v.toDouble(), m_displayFormat);
    return AsString();
}

QString TField::textOf(bool display) const
{
    if (OnGetText) {
        QString text = defaultText(display);
        OnGetText(const_cast<TField&>(*this), text, display);
        return text;
    }
    return defaultText(display);
}

QString TField::Text() const
{
    return textOf(false);
}

QString TField::DisplayText() const
{
    return textOf(true);
}

void TField::setText(const QString& text)
{
    if (OnSetText) {
        OnSetText(*this, text);
    } else if (m_type == ftFloat && !text.trimmed().isEmpty()) {
        const std::optional<double> x = ParseTypedDecimal(text);
        if (!x)
            throw EConvertError(NotANumberMessage());
        setAsFloat(*x);
    } else {
        setAsString(text);
    }
}

int TField::DisplayWidth() const
{
    if (m_displayWidth > 0)
        return m_displayWidth;
    switch (m_type) {
    case ftString:
        return m_size;
    case ftDate:
        return 10;
    case ftBoolean:
        return 5;
    case ftSmallint:
        return 6;
    case ftMemo:
        return 10;
    default:
        return 11;
    }
}

TAlignment TField::Alignment() const
{
    if (m_alignmentSet)
        return m_alignment;
    switch (m_type) {
    case ftSmallint:
    case ftInteger:
    case ftFloat:
    case ftAutoInc:
        return taRightJustify;
    default:
        return taLeftJustify;
    }
}

void TField::setLookupDefinition(TTable* lookupDataSet, const QString& keyFields, const QString& lookupKeyFields,
                                 const QString& resultField)
{
    m_kind = fkLookup;
    m_lookupDataSet = lookupDataSet;
    m_keyFields = keyFields;
    m_lookupKeyFields = lookupKeyFields;
    m_lookupResultField = resultField;
}

} // namespace kal
