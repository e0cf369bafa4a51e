#include "DBControls.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QRadioButton>

namespace kal {

// ---------------------------------------------------------------- TDBRadioGroup

TDBRadioGroup::TDBRadioGroup(QWidget* parent) : QGroupBox(parent)
{
    setProperty("kalRadioGroup", true);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    new QGridLayout(this);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            writePicked(m_readOnly, [&](TField& f) { f.setText(valueOf(id)); });
    });
}

void TDBRadioGroup::setItems(const QStringList& items)
{
    m_items = items;
    rebuild();
}

void TDBRadioGroup::setValues(const QStringList& values)
{
    m_values = values;
    showField();
}

void TDBRadioGroup::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    rebuild();
}

void TDBRadioGroup::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    showField();
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
    showField();
}

void TDBRadioGroup::showField()
{
    int index = -1;
    if (TField* f = Field(); f && !f->IsNull()) {
        const QString value = WithoutTrailingBlanks(SafeFieldText(f, false));
        for (int i = 0; i < m_items.size(); ++i)
            if (WithoutTrailingBlanks(valueOf(i)) == value) {
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

// ---------------------------------------------------------------- TDBCheckBox

TDBCheckBox::TDBCheckBox(QWidget* parent) : QCheckBox(parent)
{
    connect(this, &QCheckBox::clicked, this, [this](bool checked) { picked(checked); });
}

void TDBCheckBox::setValueChecked(const QString& value)
{
    m_valueChecked = value;
    showField();
}

void TDBCheckBox::setValueUnchecked(const QString& value)
{
    m_valueUnchecked = value;
    showField();
}

void TDBCheckBox::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    showField();
}

void TDBCheckBox::showField()
{
    bool on = false;
    if (TField* f = Field(); f && !f->IsNull()) {
        if (f->DataType() == ftBoolean) {
            on = f->AsBoolean();
        } else {
            const QString text = WithoutTrailingBlanks(SafeFieldText(f, false));
            for (const QString& v : m_valueChecked.split(u';'))
                if (text.compare(WithoutTrailingBlanks(v), Qt::CaseInsensitive) == 0)
                    on = true;
        }
    }
    m_loading = true;
    setChecked(on);
    m_loading = false;
}

void TDBCheckBox::picked(bool checked)
{
    writePicked(m_readOnly, [&](TField& f) {
        if (f.DataType() == ftBoolean)
            f.setAsBoolean(checked);
        else
            f.setText(checked ? m_valueChecked.section(u';', 0, 0) : m_valueUnchecked);
    });
}

// ---------------------------------------------------------------- TDBMemo

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    // Tab moves on to the next field; Enter starts a new line.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { typed(); });
    showField();
}

void TDBMemo::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    QPlainTextEdit::setReadOnly(m_readOnly || !m_link.CanModify());
}

void TDBMemo::showField()
{
    setReadOnly(m_readOnly);
    m_loading = true;
    setPlainText(SafeFieldText(Field(), false));
    m_loading = false;
    m_modified = false;
}

void TDBMemo::UpdateRecord()
{
    handOverTyped(toPlainText());
}

void TDBMemo::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason || !m_modified)
        return;
    handOverOnLeaving(event->reason());
}

void TDBMemo::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_modified) {
        showField();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// ---------------------------------------------------------------- TDBText

TDBText::TDBText(QWidget* parent) : QLabel(parent) {}

void TDBText::showField()
{
    setText(SafeFieldText(Field(), true));
}

} // namespace kal
