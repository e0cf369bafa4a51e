#include "DBComboBox.h"

namespace kal {
namespace {

// Field values compare as the field shows them in AsString, without the
// blanks that an alpha field may keep at its end.
QString Comparable(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

} // namespace

// ---------------------------------------------------------------- TDBComboBox

TDBComboBox::TDBComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    m_link.onDataChange = [this] { load(); };
    m_link.onEditingChange = [this] { load(); };
    connect(this, &QComboBox::activated, this, [this](int index) { picked(index); });
    load();
}

TDBComboBox::~TDBComboBox()
{
    m_link.onDataChange = nullptr;
    m_link.onEditingChange = nullptr;
    m_link.setDataSource(nullptr);
}

void TDBComboBox::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    load();
}

void TDBComboBox::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    load();
}

void TDBComboBox::setItems(const QStringList& items)
{
    m_items = items;
    m_loading = true;
    clear();
    addItems(items);
    m_loading = false;
    load();
}

void TDBComboBox::setValues(const QStringList& values)
{
    m_values = values;
    load();
}

void TDBComboBox::setValueLength(int length)
{
    m_valueLength = std::max(0, length);
    load();
}

void TDBComboBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    load();
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

void TDBComboBox::load()
{
    int index = -1;
    if (TField* f = Field(); f && !f->IsNull()) {
        const QString value = Comparable(f->AsString());
        for (int i = 0; i < m_items.size(); ++i)
            if (Comparable(valueOf(i)) == value) {
                index = i;
                break;
            }
        if (index < 0) {
            // A field whose get-text handler gives the item's text (a kind
            // code shown as its description) finds its item by that text.
            QString text;
            try {
                text = Comparable(f->Text());
            } catch (...) {
            }
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

void TDBComboBox::picked(int index)
{
    if (m_loading)
        return;
    TField* f = Field();
    if (!f || m_readOnly || !m_link.CanModify()) {
        load();
        return;
    }
    const bool ok = RunControlAction([&] {
        TFieldDataLink::WriteScope scope(m_link);
        m_link.Edit();
        f->setText(valueOf(index));
    });
    (void)ok;
    load();
}

// ---------------------------------------------------------------- TDBLookupComboBox

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    m_link.onDataChange = [this] { load(); };
    m_link.onEditingChange = [this] { load(); };
    connect(this, &QComboBox::activated, this, [this](int index) { picked(index); });
}

TDBLookupComboBox::~TDBLookupComboBox()
{
    m_link.onDataChange = nullptr;
    m_link.onEditingChange = nullptr;
    m_link.setDataSource(nullptr);
    m_listLink.setDataSource(nullptr);
}

void TDBLookupComboBox::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    load();
}

void TDBLookupComboBox::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    m_listDirty = true;
    load();
}

void TDBLookupComboBox::setListSource(TDataSource* source)
{
    m_listLink.setDataSource(source);
    m_listDirty = true;
    load();
}

void TDBLookupComboBox::setListField(const QString& fields)
{
    m_listField = fields;
    m_listDirty = true;
    load();
}

void TDBLookupComboBox::setKeyField(const QString& field)
{
    m_keyField = field;
    m_listDirty = true;
    load();
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

void TDBLookupComboBox::listChanged()
{
    m_listDirty = true;
    load();
}

void TDBLookupComboBox::fillList()
{
    TTable* t = listTable();
    // A list taken from a lookup field has no data source to tell it about
    // changes: it is read again every time.
    if (!m_listDirty && m_listLink.Active())
        return;
    m_listDirty = false;
    QStringList texts;
    m_keys.clear();
    m_keyTexts.clear();
    if (t) {
        const QString keyName = keyFieldName();
        const QStringList listNames = listFieldNames().split(u';', Qt::SkipEmptyParts);
        const int rows = t->GridRowCount();
        const int pending = t->State() == dsInsert ? t->GridRowOfCurrent() : -1;
        for (int r = 0; r < rows; ++r) {
            if (r == pending)
                continue;
            TTable::ActiveRecordScope scope(*t, r);
            if (!scope.valid())
                continue;
            TField* key = t->FindField(keyName);
            QStringList parts;
            for (const QString& name : listNames)
                if (TField* lf = t->FindField(name)) {
                    try {
                        parts << lf->DisplayText();
                    } catch (...) {
                        parts << QString();
                    }
                }
            m_keys << (key ? key->Value() : QVariant());
            m_keyTexts << (key ? key->AsString() : QString());
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

void TDBLookupComboBox::load()
{
    fillList();
    int index = -1;
    if (TField* target = targetField(); target && !target->IsNull()) {
        const QString value = Comparable(target->AsString());
        for (int i = 0; i < m_keyTexts.size(); ++i)
            if (!m_keyTexts[i].isEmpty() && Comparable(m_keyTexts[i]) == value) {
                index = i;
                break;
            }
    }
    m_loading = true;
    setCurrentIndex(index);
    m_loading = false;
}

void TDBLookupComboBox::showPopup()
{
    TField* target = targetField();
    if (m_readOnly || !target || target->ReadOnly() || target->DataSet()->ReadOnly())
        return;
    load();
    QComboBox::showPopup();
}

void TDBLookupComboBox::picked(int index)
{
    if (m_loading)
        return;
    TField* target = targetField();
    if (!target || m_readOnly || index < 0 || index >= m_keys.size() || target->ReadOnly() ||
        target->DataSet()->ReadOnly()) {
        load();
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
    load();
}

} // namespace kal
