#include "DBFieldLink.h"

#include "Application.h"
#include "Dialogs.h"
#include "Exceptions.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace kal {
namespace {

// Eats the mouse press being delivered, whose click took the keyboard from
// a control that keeps it, and its release if it follows at once; goes when
// the event loop comes round again.
class ClickSwallower final : public QObject {
public:
    ClickSwallower()
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { deleteLater(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (m_button != Qt::NoButton || !watched->isWidgetType())
                return false;
            m_button = static_cast<QMouseEvent*>(event)->button();
            return true;
        case QEvent::MouseButtonRelease:
            if (m_button == Qt::NoButton || static_cast<QMouseEvent*>(event)->button() != m_button)
                return false;
            qApp->removeEventFilter(this);
            deleteLater();
            return true;
        default:
            return false;
        }
    }

private:
    Qt::MouseButton m_button = Qt::NoButton;
};

// A label's text as the user reads it: without the accelerator mark, the
// blanks at its ends and its trailing ':'.
QString LabelText(const QLabel* label)
{
    const QString text = label->text();
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    out = out.trimmed();
    if (out.endsWith(u':'))
        out.chop(1);
    return out.trimmed();
}

bool HoldsWidget(const QLayout* layout, const QWidget* w)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w || (item->layout() && HoldsWidget(item->layout(), w)))
            return true;
    }
    return false;
}

// The label of the form row, in `layout` or the layouts it holds, whose
// field is `w` or a layout that holds `w`.
const QLabel* FormRowLabel(const QLayout* layout, const QWidget* w)
{
    if (const auto* form = qobject_cast<const QFormLayout*>(layout)) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
            QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
            if (field && label && (field->widget() == w || (field->layout() && HoldsWidget(field->layout(), w))))
                return qobject_cast<const QLabel*>(label->widget());
        }
    }
    for (int i = 0; i < layout->count(); ++i)
        if (const QLayout* inner = layout->itemAt(i)->layout())
            if (const QLabel* label = FormRowLabel(inner, w))
                return label;
    return nullptr;
}

} // namespace

void TFieldDataLink::setFieldName(const QString& name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    changed();
}

TField* TFieldDataLink::Field() const
{
    if (!Active() || m_fieldName.isEmpty())
        return nullptr;
    return DataSet()->FindField(m_fieldName);
}

bool TFieldDataLink::CanModify() const
{
    TField* f = Field();
    return f && !f->ReadOnly() && !f->Calculated() && !DataSet()->ReadOnly();
}

bool TFieldDataLink::Edit()
{
    if (!CanModify())
        return false;
    if (!Editing()) {
        // The table tells every control that it changed; the control that
        // starts the edit keeps what the user has just typed.
        WriteScope scope(*this);
        DataSet()->Edit();
    }
    return Editing();
}

void TFieldDataLink::changed()
{
    if (m_writing)
        return;
    if (onDataChange)
        onDataChange();
}

void TFieldDataLink::recordChanged(TField* field)
{
    // A calculated or lookup field follows the fields it is made of, so any
    // change of the record may change it.
    TField* own = Field();
    if (field && own && field != own && own->FieldKind() == fkData)
        return;
    changed();
}

void TFieldDataLink::editingChanged()
{
    if (m_writing)
        return;
    if (onEditingChange)
        onEditingChange();
}

void TFieldDataLink::updateData()
{
    if (onUpdateData)
        onUpdateData();
}

TFieldControl::TFieldControl()
{
    m_link.onDataChange = [this] { showField(); };
    m_link.onEditingChange = [this] { editStateChanged(); };
    m_link.onUpdateData = [this] { handOverForSaving(); };
}

void TFieldControl::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    showField();
}

void TFieldControl::setDataField(const QString& fieldName)
{
    m_link.setFieldName(fieldName);
    showField();
}

void TFieldControl::writePicked(bool readOnly, const std::function<void(TField&)>& write)
{
    if (m_loading)
        return;
    TField* f = Field();
    if (f && !readOnly && m_link.CanModify()) {
        RunControlAction([&] {
            TFieldDataLink::WriteScope scope(m_link);
            m_link.Edit();
            write(*f);
        });
    }
    showField();
}

void TFieldControl::typed()
{
    if (m_loading || m_modified)
        return;
    if (!m_link.Editing()) {
        const bool ok = RunControlAction([this] { m_link.Edit(); });
        if (!ok || !m_link.Editing()) {
            showField();
            return;
        }
    }
    m_modified = true;
}

bool TFieldControl::handOverTyped(const QString& text)
{
    if (!m_modified)
        return false;
    TField* f = Field();
    if (f) {
        TFieldDataLink::WriteScope scope(m_link);
        if (!m_link.Editing())
            m_link.Edit();
        f->setText(text);
    }
    m_modified = false;
    return f != nullptr;
}

bool TFieldControl::handOverGuarded()
{
    if (m_committing)
        return false;
    m_committing = true;
    const bool ok = RunControlAction([this] { UpdateRecord(); });
    m_committing = false;
    return ok;
}

bool TFieldControl::handOverOnLeaving(Qt::FocusReason reason)
{
    if (m_committing)
        return false;
    if (handOverGuarded() || !m_modified)
        return true;
    if (reason == Qt::MouseFocusReason)
        new ClickSwallower;
    takeKeyboard();
    return false;
}

void TFieldControl::handOverForSaving()
{
    try {
        UpdateRecord();
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        takeKeyboard();
        const QString label = ControlLabel(dynamic_cast<const QWidget*>(this));
        if (label.isEmpty())
            throw;
        throw Exception(QStringLiteral("Pole \"%1\":\n%2").arg(label, e.message()));
    }
}

void TFieldControl::takeKeyboard()
{
    auto* w = dynamic_cast<QWidget*>(this);
    if (!w)
        return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->selectAll();
}

QString ControlLabel(const QWidget* control)
{
    if (!control)
        return {};
    const QWidget* window = control->window();
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    for (const QWidget* w = control; w && w != window; w = w->parentWidget()) {
        for (const QLabel* label : labels)
            if (label->buddy() == w)
                return LabelText(label);
        if (const QWidget* parent = w->parentWidget(); parent && parent->layout())
            if (const QLabel* label = FormRowLabel(parent->layout(), w))
                return LabelText(label);
    }
    return {};
}

bool RunControlAction(const std::function<void()>& action)
{
    return RunGuarded(action);
}

bool ConfirmDeleteRecord()
{
    return Dialogs().messageBox(QStringLiteral("Usunąć rekord?"), QStringLiteral("Potwierdzenie"), MbOk | MbCancel,
                                MsgIcon::Question) == MbOk;
}

QString WithoutTrailingBlanks(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

QString SafeFieldText(TField* field, bool display)
{
    if (!field)
        return {};
    try {
        return display ? field->DisplayText() : field->Text();
    } catch (...) {
        return {}; // a failing get-text handler shows nothing
    }
}

} // namespace kal
