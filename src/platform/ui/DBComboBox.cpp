#include "DBComboBox.h"

namespace kal {

// ---------------------------------------------------------------- TDBComboBox

TDBComboBox::TDBComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus); // a wheel passing over the list leaves the focus where it is
    connect(this, &QComboBox::activated, this, [this](int index) {
        writePicked(m_readOnly, [&](TField& f) { f.setText(valueOf(index)); });
    });
    showField();
}

void TDBComboBox::setItems(const QStringList& items)
{
    m_items = items;
    m_loading = true;
    clear();
    addItems(items);
    m_loading = false;
    showField();
}

void TDBComboBox::setValues(const QStringList& values)
{
    m_values = values;
    showField();
}

void TDBComboBox::setValueLength(int length)
{
    m_valueLength = std::max(0, length);
    showField();
}

void TDBComboBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    showField();
}

QString TDBComboBox::valueOf(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    if (index < m_values.size())
        return m_values[index];
    if (m_valueLength > 0)
        return m_items[index].left(m_valueLength);
    return m_items[index];
}

void TDBComboBox::showField()
{
    int index = -1;
    if (TField* f = Field(); f && !f->IsNull()) {
        const QString value = WithoutTrailingBlanks(f->AsString());
        for (int i = 0; i < m_items.size(); ++i)
            if (WithoutTrailingBlanks(valueOf(i)) == value) {
                index = i;
                break;
            }
        if (index < 0) {
            // A field whose get-text handler gives the item's text (a kind
            // code shown as its description) finds its item by that text.
            const QString text = WithoutTrailingBlanks(SafeFieldText(f, false));
            if (!text.isEmpty())
                index = int(m_items.indexOf(text));
        }
    }
    m_loading = true;
    setCurrentIndex(index);
    m_loading = false;
}

void TDBComboBox::showPopup()
{
    if (m_readOnly || !m_link.CanModify())
        return;
    QComboBox::showPopup();
}

// ---------------------------------------------------------------- TDBLookupComboBox

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus); // a wheel passing over the list leaves the focus where it is
    m_lookupLink.setDataSource(&m_lookupSource);
    connect(this, &QComboBox::activated, this, [this](int index) { picked(index); });
}

void TDBLookupComboBox::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    showField();
}

void TDBLookupComboBox::setListSource(TDataSource* source)
{
    if (source == m_listLink.DataSource())
        return;
    m_listLink.setDataSource(source);
    m_listDirty = true;
    showField();
}

void TDBLookupComboBox::setListField(const QString& fields)
{
    m_listField = fields;
    showField();
}

void TDBLookupComboBox::setKeyField(const QString& field)
{
    m_keyField = field;
    showField();
}

void TDBLookupComboBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

TTable* TDBLookupComboBox::listTable() const
{
    if (m_listLink.Active())
        return m_listLink.DataSet();
    if (TField* f = Field(); f && f->Lookup() && f->LookupDataSet() && f->LookupDataSet()->Active())
        return f->LookupDataSet();
    return nullptr;
}

QString TDBLookupComboBox::keyFieldName() const
{
    if (!m_keyField.isEmpty())
        return m_keyField;
    if (TField* f = Field(); f && f->Lookup())
        return f->LookupKeyFields().section(u';', 0, 0);
    return {};
}

QString TDBLookupComboBox::listFieldNames() const
{
    if (!m_listField.isEmpty())
        return m_listField;
    if (TField* f = Field(); f && f->Lookup())
        return f->LookupResultField();
    return {};
}

TField* TDBLookupComboBox::targetField() const
{
    TField* f = Field();
    if (!f)
        return nullptr;
    if (f->Lookup())
        return f->DataSet()->FindField(f->KeyFields().section(u';', 0, 0));
    return f;
}

void TDBLookupComboBox::watchLookupTable()
{
    TField* f = Field();
    TTable* t = f && f->Lookup() ? f->LookupDataSet() : nullptr;
    if (t != m_lookupSource.DataSet()) {
        m_lookupSource.setDataSet(t);
        m_listDirty = true;
    }
}

void TDBLookupComboBox::listChanged()
{
    m_listDirty = true;
    if (!m_filling)
        showField();
}

void TDBLookupComboBox::fillList()
{
    // What the tables tell meanwhile (the lookup table watched anew, a
    // handler of a listed field) marks the list for the next time.
    struct Filling {
        bool& flag;
        bool was;
        explicit Filling(bool& f) : flag(f), was(f) { flag = true; }
        ~Filling() { flag = was; }
    } filling(m_filling);
    watchLookupTable();
    TTable* t = listTable();
    ListShape shape{t, keyFieldName(), listFieldNames()};
    // Without a key there is nothing to pick, without listed fields nothing
    // to show: no list.
    if (shape.key.isEmpty() || shape.fields.isEmpty())
        shape.table = t = nullptr;
    if (!m_listDirty && shape == m_shape)
        return;
    m_listDirty = false;
    m_shape = shape;
    QStringList texts;
    m_keys.clear();
    m_keyIndex.clear();
    if (t) {
        const QStringList listNames = shape.fields.split(u';', Qt::SkipEmptyParts);
        const int rows = t->GridRowCount();
        const int pending = t->State() == dsInsert ? t->GridRowOfCurrent() : -1;
        texts.reserve(rows);
        m_keys.reserve(rows);
        m_keyIndex.reserve(rows);
        for (int r = 0; r < rows; ++r) {
            if (r == pending)
                continue;
            TTable::ActiveRecordScope scope(*t, r);
            if (!scope.valid())
                continue;
            TField* key = t->FindField(shape.key);
            QStringList parts;
            for (const QString& name : listNames)
                if (TField* lf = t->FindField(name))
                    parts << SafeFieldText(lf, true);
            const QString keyText = key ? key->AsString() : QString();
            if (!keyText.isEmpty()) {
                const QString trimmed = WithoutTrailingBlanks(keyText);
                if (!m_keyIndex.contains(trimmed))
                    m_keyIndex.insert(trimmed, int(m_keys.size()));
            }
            m_keys << (key ? key->Value() : QVariant());
            texts << parts.join(QStringLiteral("  "));
        }
    }
    m_loading = true;
    clear();
    addItems(texts);
    m_loading = false;
}

QVariant TDBLookupComboBox::KeyValue() const
{
    const int i = currentIndex();
    return i >= 0 && i < m_keys.size() ? m_keys[i] : QVariant();
}

void TDBLookupComboBox::showField()
{
    fillList();
    int index = -1;
    if (TField* target = targetField(); target && !target->IsNull())
        index = m_keyIndex.value(WithoutTrailingBlanks(target->AsString()), -1);
    m_loading = true;
    setCurrentIndex(index);
    m_loading = false;
}

void TDBLookupComboBox::showPopup()
{
    TField* target = targetField();
    if (m_readOnly || !target || target->ReadOnly() || target->DataSet()->ReadOnly())
        return;
    showField();
    QComboBox::showPopup();
}

void TDBLookupComboBox::picked(int index)
{
    if (m_loading)
        return;
    TField* target = targetField();
    if (!target || m_readOnly || index < 0 || index >= m_keys.size() || target->ReadOnly() ||
        target->DataSet()->ReadOnly()) {
        showField();
        return;
    }
    const QVariant key = m_keys[index];
    RunControlAction([&] {
        TFieldDataLink::WriteScope scope(m_link);
        TTable* t = target->DataSet();
        if (t->State() != dsEdit && t->State() != dsInsert)
            t->Edit();
        target->setValue(key);
    });
    showField();
}

} // namespace kal
