#include "DBFieldLink.h"

#include "Application.h"
#include "Dialogs.h"

namespace kal {

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
    m_link.onUpdateData = [this] { UpdateRecord(); };
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
