#pragma once
// The smaller data-aware controls: radio group, check box, memo and text.
//
// TDBRadioGroup: a group box of radio buttons laid out in Columns (filled
//   top to bottom, column by column). Picking a button writes its value (the
//   entry of Values at the same place, else the item text) through
//   TField::setText; a field value that no button gives leaves all unchecked.
//   Enter on its buttons is handled by the application's input hook.
// TDBCheckBox: a boolean field is written as a boolean; any other field
//   receives ValueChecked or ValueUnchecked as text. ValueChecked may list
//   several texts separated by ";" (the first is written); all count as
//   ticked.
// TDBMemo: a multi-line edit; the text goes to the field like TDBEdit's, on
//   leaving the memo and before a post.
// TDBText: a read-only label with the field's DisplayText.

#include "DBFieldLink.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QRadioButton;

namespace kal {

class TDBRadioGroup : public QGroupBox, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBRadioGroup(QWidget* parent = nullptr);

    const QStringList& Items() const { return m_items; }
    void setItems(const QStringList& items);
    const QStringList& Values() const { return m_values; }
    void setValues(const QStringList& values);
    int Columns() const { return m_columns; }
    void setColumns(int columns);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // The checked button (-1 when none) and the buttons themselves.
    int ItemIndex() const;
    QRadioButton* Button(int index) const;
    QString valueOf(int index) const;

private:
    void showField() override;
    void rebuild();

    QStringList m_items;
    QStringList m_values;
    int m_columns = 1;
    bool m_readOnly = false;
    QButtonGroup* m_group = nullptr;
    std::vector<QRadioButton*> m_buttons;
};

class TDBCheckBox : public QCheckBox, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);

    const QString& ValueChecked() const { return m_valueChecked; }
    void setValueChecked(const QString& value);
    const QString& ValueUnchecked() const { return m_valueUnchecked; }
    void setValueUnchecked(const QString& value);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

private:
    void showField() override;
    void picked(bool checked);

    QString m_valueChecked = QStringLiteral("True");
    QString m_valueUnchecked = QStringLiteral("False");
    bool m_readOnly = false;
};

class TDBMemo : public QPlainTextEdit, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);

    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    bool Modified() const { return m_modified; }
    // Hands the text to the field now (raises what the field raises).
    void UpdateRecord() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showField() override;
    void editStateChanged() override { setReadOnly(m_readOnly); }

    bool m_readOnly = false;
};

class TDBText : public QLabel, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);

private:
    void showField() override;
    void editStateChanged() override {}
};

} // namespace kal
