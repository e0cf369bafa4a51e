#pragma once
// The link of a data-aware control to one field of a data source, shared by
// the edit, combo, radio, check, memo and text controls. The field is looked
// up by name whenever it is needed, so a control follows a table whose field
// components are re-created when it opens.

#include "DataSource.h"
#include "Table.h"

#include <QString>
#include <functional>

class QWidget;

namespace kal {

class TFieldDataLink final : public TDataLink {
public:
    // The control shows the field again: the data source became (in)active,
    // the record moved or changed, or this field changed.
    std::function<void()> onDataChange;
    // The table went into or out of edit or insert state.
    std::function<void()> onEditingChange;
    // Before a post: the control hands its pending value to the field.
    std::function<void()> onUpdateData;

    const QString& FieldName() const { return m_fieldName; }
    void setFieldName(const QString& name);

    // The field on the open table, or nullptr.
    TField* Field() const;
    // True when the control may write its field: the link is active, the
    // field exists, is neither read-only nor calculated, and the table is
    // not read-only.
    bool CanModify() const;
    // Puts the table into edit state when it is browsing (raises what the
    // table raises). True when the table is editing or inserting afterwards.
    bool Edit();

    // While true, notifications about the control's own field are not
    // passed on (the control is writing it).
    bool Writing() const { return m_writing; }

    class WriteScope {
    public:
        explicit WriteScope(TFieldDataLink& link) : m_link(link), m_was(link.m_writing) { link.m_writing = true; }
        ~WriteScope() { m_link.m_writing = m_was; }
        WriteScope(const WriteScope&) = delete;
        WriteScope& operator=(const WriteScope&) = delete;

    private:
        TFieldDataLink& m_link;
        bool m_was;
    };

    void activeChanged() override { changed(); }
    void dataSetChanged() override { changed(); }
    void dataSetScrolled(int) override { changed(); }
    void recordChanged(TField* field) override;
    void editingChanged() override;
    void updateData() override;

private:
    void changed();
    QString m_fieldName;
    bool m_writing = false;
};

// Runs an action of a control under the exception guard; true when it ended
// normally.
bool RunControlAction(const std::function<void()>& action);

// The question before a record is deleted from a navigator or a grid; true
// when the user confirms.
bool ConfirmDeleteRecord();

} // namespace kal
