#include "DBControls.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QRadioButton>

namespace kal {
namespace {

QString TrimEnd(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

QString SafeText(TField* f, bool display)
{
    if (!f)
        return {};
    try {
        return display ? f->DisplayText() : f->Text();
    } catch (...) {
        return {}; // a failing get-text handler shows nothing
    }
}

} // namespace

// ---------------------------------------------------------------- TDBRadioGroup

TDBRadioGroup::TDBRadioGroup(QWidget* parent) : QGroupBox(parent)
{
    setProperty("kalRadioGroup", true);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    new QGridLayout(this);
    m_link.onDataChange = [this] { load(); };
    m_link.onEditingChange = [this] { load(); };
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            picked(id);
    });
}

TDBRadioGroup::~TDBRadioGroup()
{
    m_link.onDataChange = nullptr;
    m_link.onEditingChange = nullptr;
    m_link.setDataSource(nullptr);
}

void TDBRadioGroup::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    load();
}

void TDBRadioGroup::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    load();
}

void TDBRadioGroup::setItems(const QStringList& items)
{
    m_items = items;
    rebuild();
}

void TDBRadioGroup::setValues(const QStringList& values)
{
    m_values = values;
    load();
}

void TDBRadioGroup::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    rebuild();
}

void TDBRadioGroup::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    load();
}

int TDBRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

QRadioButton* TDBRadioGroup::Button(int index) const
{
    return index >= 0 && index < int(m_buttons.size()) ? m_buttons[size_t(index)] : nullptr;
}

QString TDBRadioGroup::valueOf(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    return index < m_values.size() ? m_values[index] : m_items[index];
}

void TDBRadioGroup::rebuild()
{
    for (QRadioButton* b : m_buttons) {
        m_group->removeButton(b);
        delete b;
    }
    m_buttons.clear();
    auto* grid = static_cast<QGridLayout*>(layout());
    const int count = int(m_items.size());
    const int rows = count == 0 ? 0 : (count + m_columns - 1) / m_columns;
    for (int i = 0; i < count; ++i) {
        auto* b = new QRadioButton(m_items[i], this);
        b->setObjectName(QStringLiteral("Item%1").arg(i));
        m_group->addButton(b, i);
        grid->addWidget(b, i % rows, i / rows);
        m_buttons.push_back(b);
    }
    load();
}

void TDBRadioGroup::load()
{
    int index = -1;
    if (TField* f = Field(); f && !f->IsNull()) {
        const QString value = TrimEnd(SafeText(f, false));
        for (int i = 0; i < m_items.size(); ++i)
            if (TrimEnd(valueOf(i)) == value) {
                index = i;
                break;
            }
    }
    m_loading = true;
    if (index >= 0) {
        m_buttons[size_t(index)]->setChecked(true);
    } else {
        m_group->setExclusive(false);
        for (QRadioButton* b : m_buttons)
            b->setChecked(false);
        m_group->setExclusive(true);
    }
    m_loading = false;
}

void TDBRadioGroup::picked(int index)
{
    if (m_loading)
        return;
    TField* f = Field();
    if (!f || m_readOnly || !m_link.CanModify()) {
        load();
        return;
    }
    RunControlAction([&] {
        TFieldDataLink::WriteScope scope(m_link);
        m_link.Edit();
        f->setText(valueOf(index));
    });
    load();
}

// ---------------------------------------------------------------- TDBCheckBox

TDBCheckBox::TDBCheckBox(QWidget* parent) : QCheckBox(parent)
{
    m_link.onDataChange = [this] { load(); };
    m_link.onEditingChange = [this] { load(); };
    connect(this, &QCheckBox::clicked, this, [this](bool checked) { picked(checked); });
}

TDBCheckBox::~TDBCheckBox()
{
    m_link.onDataChange = nullptr;
    m_link.onEditingChange = nullptr;
    m_link.setDataSource(nullptr);
}

void TDBCheckBox::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    load();
}

void TDBCheckBox::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    load();
}

void TDBCheckBox::setValueChecked(const QString& value)
{
    m_valueChecked = value;
    load();
}

void TDBCheckBox::setValueUnchecked(const QString& value)
{
    m_valueUnchecked = value;
    load();
}

void TDBCheckBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    load();
}

void TDBCheckBox::load()
{
    bool on = false;
    if (TField* f = Field(); f && !f->IsNull()) {
        if (f->DataType() == ftBoolean) {
            on = f->AsBoolean();
        } else {
            const QString text = TrimEnd(SafeText(f, false));
            for (const QString& v : m_valueChecked.split(u';'))
                if (text.compare(TrimEnd(v), Qt::CaseInsensitive) == 0)
                    on = true;
        }
    }
    m_loading = true;
    setChecked(on);
    m_loading = false;
}

void TDBCheckBox::picked(bool checked)
{
    if (m_loading)
        return;
    TField* f = Field();
    if (!f || m_readOnly || !m_link.CanModify()) {
        load();
        return;
    }
    RunControlAction([&] {
        TFieldDataLink::WriteScope scope(m_link);
        m_link.Edit();
        if (f->DataType() == ftBoolean)
            f->setAsBoolean(checked);
        else
            f->setText(checked ? m_valueChecked.section(u';', 0, 0) : m_valueUnchecked);
    });
    load();
}

// ---------------------------------------------------------------- TDBMemo

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    m_link.onDataChange = [this] {
        m_modified = false;
        load();
    };
    m_link.onEditingChange = [this] { setReadOnly(m_readOnly); };
    m_link.onUpdateData = [this] { UpdateRecord(); };
    connect(this, &QPlainTextEdit::textChanged, this, [this] { userEdited(); });
    load();
}

TDBMemo::~TDBMemo()
{
    m_link.onDataChange = nullptr;
    m_link.onEditingChange = nullptr;
    m_link.onUpdateData = nullptr;
    m_link.setDataSource(nullptr);
}

void TDBMemo::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    m_modified = false;
    load();
}

void TDBMemo::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    m_modified = false;
    load();
}

void TDBMemo::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    QPlainTextEdit::setReadOnly(m_readOnly || !m_link.CanModify());
}

void TDBMemo::load()
{
    setReadOnly(m_readOnly);
    m_loading = true;
    setPlainText(SafeText(Field(), false));
    m_loading = false;
    m_modified = false;
}

void TDBMemo::userEdited()
{
    if (m_loading || m_modified)
        return;
    if (!m_link.Editing()) {
        const bool ok = RunControlAction([this] { m_link.Edit(); });
        if (!ok || !m_link.Editing()) {
            load();
            return;
        }
    }
    m_modified = true;
}

void TDBMemo::UpdateRecord()
{
    if (!m_modified)
        return;
    TField* f = Field();
    if (!f) {
        m_modified = false;
        return;
    }
    {
        TFieldDataLink::WriteScope scope(m_link);
        if (!m_link.Editing())
            m_link.Edit();
        f->setText(toPlainText());
    }
    m_modified = false;
}

void TDBMemo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason ||
        !m_modified || m_committing)
        return;
    m_committing = true;
    RunControlAction([this] { UpdateRecord(); });
    m_committing = false;
}

void TDBMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_modified) {
        m_modified = false;
        load();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// ---------------------------------------------------------------- TDBText

TDBText::TDBText(QWidget* parent) : QLabel(parent)
{
    m_link.onDataChange = [this] { load(); };
}

TDBText::~TDBText()
{
    m_link.onDataChange = nullptr;
    m_link.setDataSource(nullptr);
}

void TDBText::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    load();
}

void TDBText::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    load();
}

void TDBText::load()
{
    setText(SafeText(Field(), true));
}

} // namespace kal
