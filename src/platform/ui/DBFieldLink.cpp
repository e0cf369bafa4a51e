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

bool RunControlAction(const std::function<void()>& action)
{
    return RunGuarded(action);
}

bool ConfirmDeleteRecord()
{
    return Dialogs().messageBox(QStringLiteral("Usunąć rekord?"), QStringLiteral("Potwierdzenie"), MbOk | MbCancel,
                                MsgIcon::Question) == MbOk;
}

} // namespace kal
