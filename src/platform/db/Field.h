#pragma once
// Field components of the dataset engine: one TField per column of a table
// component (data fields), plus calculated and lookup fields that are not
// stored. A field reads and writes the current record of its table. A string
// field keeps at most its size of characters and no trailing blanks: "1 "
// is stored, compared and keyed as "1".

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

namespace kal {

class TTable;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsCalcFields, dsSetKey };
enum TDataAction { daFail, daAbort, daRetry };
enum TFieldType { ftUnknown, ftString, ftSmallint, ftInteger, ftFloat, ftDate, ftBoolean, ftMemo, ftAutoInc };
enum TFieldKind { fkData, fkCalculated, fkLookup };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Name and Tag, as every component of the program carries them.
class TComponent {
public:
    explicit TComponent(QString name = {}) : m_name(std::move(name)) {}
    virtual ~TComponent() = default;
    const QString& Name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

private:
    QString m_name;
    int m_tag = 0;
};

class TField : public TComponent {
public:
    // Created through TTable::AddField, which owns the field.
    TField(TTable* dataSet, const QString& componentName, const QString& fieldName, TFieldType type, int size,
           TFieldKind kind);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    TTable* DataSet() const { return m_dataSet; }
    const QString& FieldName() const { return m_fieldName; }
    TFieldType DataType() const { return m_type; }
    int Size() const { return m_size; }
    TFieldKind FieldKind() const { return m_kind; }
    bool Calculated() const { return m_kind == fkCalculated; }
    bool Lookup() const { return m_kind == fkLookup; }
    int Index() const { return m_index; }

    // Value of the current record. An empty alpha text is null.
    bool IsNull() const;
    void Clear();
    QVariant Value() const;
    void setValue(const QVariant& value);
    QVariant OldValue() const; // the value stored before the edit began

    // Floats keep full precision with the decimal comma; dates are
    // "yyyy-mm-dd"; booleans "True"/"False"; null is the empty text.
    QString AsString() const;
    void setAsString(const QString& text);
    int AsInteger() const;
    void setAsInteger(int value);
    double AsFloat() const;
    void setAsFloat(double value);
    bool AsBoolean() const;
    void setAsBoolean(bool value);
    QDate AsDateTime() const; // invalid for null
    void setAsDateTime(const QDate& date);

    // Text of the field for an edit control (Text) and for display
    // (DisplayText): through OnGetText when assigned, else the display
    // format is applied (floats by FormatNumber, dates "yyyy-mm-dd").
    QString Text() const;
    QString DisplayText() const;
    // Typed text: goes to OnSetText when assigned, else to setAsString; a
    // float reads it as ParseTypedDecimal does (only "," separates the
    // decimals) and refuses any other text with NotANumberMessage.
    void setText(const QString& text);

    // Properties carried for the widgets.
    const QString& DisplayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString& format) { m_displayFormat = format; }
    const QString& EditMask() const { return m_editMask; }
    void setEditMask(const QString& mask) { m_editMask = mask; }
    QString DisplayLabel() const { return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel; }
    void setDisplayLabel(const QString& label) { m_displayLabel = label; }
    int DisplayWidth() const;
    void setDisplayWidth(int width) { m_displayWidth = width; }
    TAlignment Alignment() const;
    void setAlignment(TAlignment alignment) { m_alignment = alignment; m_alignmentSet = true; }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool Visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    bool Required() const { return m_required; }
    void setRequired(bool required) { m_required = required; }

    // Lookup definition: the value of `resultField` of the row of
    // `lookupDataSet` whose `lookupKeyFields` equal this table's `keyFields`
    // ("A;B" lists of the same length).
    void setLookupDefinition(TTable* lookupDataSet, const QString& keyFields, const QString& lookupKeyFields,
                             const QString& resultField);
    TTable* LookupDataSet() const { return m_lookupDataSet; }
    const QString& KeyFields() const { return m_keyFields; }
    const QString& LookupKeyFields() const { return m_lookupKeyFields; }
    const QString& LookupResultField() const { return m_lookupResultField; }

    std::function<void(TField&, const QString&)> OnSetText;
    std::function<void(TField&, QString& text, bool displayText)> OnGetText;
    std::function<void(TField&)> OnValidate;
    std::function<void(TField&)> OnChange;

private:
    friend class TTable;
    QString defaultText(bool display) const;
    QString textOf(bool display) const;

    TTable* m_dataSet;
    QString m_fieldName;
    TFieldType m_type;
    int m_size;
    TFieldKind m_kind;
    int m_index = -1;  // position in the table's field list
    int m_column = -1; // column of the open file, -1 when not stored

    QString m_displayFormat;
    QString m_editMask;
    QString m_displayLabel;
    int m_displayWidth = 0;
    TAlignment m_alignment = taLeftJustify;
    bool m_alignmentSet = false;
    bool m_readOnly = false;
    bool m_visible = true;
    bool m_required = false;
    bool m_dynamic = false; // created at open from the file, removed at close

    TTable* m_lookupDataSet = nullptr;
    QString m_keyFields;
    QString m_lookupKeyFields;
    QString m_lookupResultField;
};

} // namespace kal
