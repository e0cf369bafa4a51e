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

// What every single-field data-aware control shares: the link, the
// DataSource and DataField properties, and the two ways a value goes from
// the control to its field (picked at once, or typed and handed over later).
// A control derives from its Qt widget first and from this class second.
class TFieldControl {
public:
    TFieldControl(const TFieldControl&) = delete;
    TFieldControl& operator=(const TFieldControl&) = delete;

    TDataSource* DataSource() const { return m_link.DataSource(); }
    void setDataSource(TDataSource* source);
    const QString& DataField() const { return m_link.FieldName(); }
    virtual void setDataField(const QString& fieldName);
    TField* Field() const { return m_link.Field(); }

    // Hands a pending value to the field now (raises what the field
    // raises). Called before every post of the table; a control that writes
    // at once has nothing pending.
    virtual void UpdateRecord() {}

protected:
    TFieldControl();
    // The link goes with the control and leaves its data source then.
    virtual ~TFieldControl() = default;

    // Shows the field again, dropping what was typed and not handed over:
    // the data source, the field, the record or the value changed.
    virtual void showField() = 0;
    // The table went into or out of edit or insert state; by default the
    // control shows the field again.
    virtual void editStateChanged() { showField(); }

    // A value that the user picked (a radio button, a tick, a list item):
    // the table is put into edit state and `write` gives the field its
    // value, under the exception guard. Nothing is written while the
    // control shows the field, nor when the control, the field or its table
    // is read-only. The control shows the field again afterwards.
    void writePicked(bool readOnly, const std::function<void(TField&)>& write);

    // The user typed: the table is put into edit state (under the exception
    // guard) and the control counts as modified. When the table cannot be
    // edited the control shows the field again.
    void typed();
    // Hands the typed `text` to the field through its set-text handler
    // (raises what the field raises; the control then stays modified). True
    // when a text was handed over.
    bool handOverTyped(const QString& text);
    // UpdateRecord under the exception guard, once at a time: the error box
    // of a refused text takes the focus from the control, and that must not
    // hand the same text over a second time. True when it ended normally.
    bool handOverGuarded();
    // The control lost the keyboard for `reason` with typed text: the text is
    // handed over under the guard. A refused text keeps the keyboard in the
    // control, and the click that took it goes nowhere, so that the text is
    // mended or dropped (Esc) before anything else happens. True when the
    // text was taken.
    bool handOverOnLeaving(Qt::FocusReason reason);

    TFieldDataLink m_link;
    bool m_loading = false;  // the control's own change signals are not the user's
    bool m_modified = false; // typed text waits to be handed to the field

private:
    // Before a post: UpdateRecord; a refusal puts the keyboard into the
    // control and its message names the control by its label.
    void handOverForSaving();
    // Puts the keyboard into the control, its text selected.
    void takeKeyboard();

    bool m_committing = false;
};

// The text of the label that names a control on its window, without its
// accelerator mark and trailing ':': the label whose buddy is the control,
// else the label of the form row that holds it, else those of the widgets
// that hold the control. Empty when none names it.
QString ControlLabel(const QWidget* control);

// Runs an action of a control under the exception guard; true when it ended
// normally.
bool RunControlAction(const std::function<void()>& action);

// The question before a record is deleted from a navigator or a grid; true
// when the user confirms.
bool ConfirmDeleteRecord();

// A field value as the controls compare it: without the blanks that an
// alpha field may keep at its end.
QString WithoutTrailingBlanks(const QString& s);

// The field's display text (or its edit text), empty when there is no field
// or its get-text handler fails.
QString SafeFieldText(TField* field, bool display);

} // namespace kal
