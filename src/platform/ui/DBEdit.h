#pragma once
// TDBEdit: a line edit bound to one field of a data source.
//
// Not focused it shows the field's DisplayText, focused its Text. Typing
// puts the table into edit state; the typed text goes to the field through
// TField::setText (and so through its OnSetText handler) when the edit loses
// the focus, on Enter, and before any post of the table (also a post from a
// navigator button that takes no focus). A text that the field refuses is
// shown in the error box and stays in the edit, which keeps the keyboard
// when it was being left (the click that would have taken it does nothing)
// and takes it back when a post refuses the text; the post's message then
// names the edit by its label (ControlLabel). Esc brings back the field's
// text.
//
// The field's EditMask is translated to the line edit (see TranslateEditMask).
// Focused by a click or a key while its mask is empty, the edit puts the
// cursor at the mask's first blank, so that typing always fills the mask.

#include "DBFieldLink.h"

#include <QLineEdit>

namespace kal {

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// An edit mask of the form "mask;save literals;blank" translated for a line
// edit. A mask whose positions are all optional "any character" ("c") only
// fixes the case and the length: the edit then takes free text, blanks
// included. Every other mask becomes a Qt input mask ("/" is the date
// separator "-").
struct TEditMaskInfo {
    QString inputMask;          // Qt input mask with its blank, or empty
    TEditCharCase charCase = ecNormal;
    int maxLength = 0;          // 0: no limit from the mask
    bool saveLiterals = true;   // the field receives the literals too
    QChar blank = u'_';
    QString literals;           // characters that the mask puts in by itself
};
TEditMaskInfo TranslateEditMask(const QString& editMask);
// Gives a line edit the mask's input mask and the case of what is typed into
// it (`charCase`, or the mask's own where it is ecNormal).
void ShapeByEditMask(QLineEdit& edit, const TEditMaskInfo& mask, TEditCharCase charCase = ecNormal);
// The text a field receives from an edit that shows `text` under the mask:
// empty when nothing was typed into the mask, without the literals where
// the mask does not save them.
QString TextForField(const TEditMaskInfo& mask, const QString& text);

class TDBEdit : public QLineEdit, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);

    // 0: a text field's size limits the length.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    TEditCharCase CharCase() const { return m_charCase; }
    void setCharCase(TEditCharCase charCase);

    // True while typed text waits to be handed to the field.
    bool Modified() const { return m_modified; }
    // Hands the typed text to the field now (raises what the field raises;
    // the text then stays in the edit).
    void UpdateRecord() override;
    // Shows the field again, dropping typed text.
    void Reset();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Puts the cursor at the first blank of an empty edit mask.
    void toFirstBlank();
    void showField() override;
    void editStateChanged() override { applyShape(Field()); }
    void applyShape(TField* field);
    QString textForField() const;

    int m_maxLength = 0;
    bool m_readOnly = false;
    TEditCharCase m_charCase = ecNormal;
    TEditMaskInfo m_mask;
    QString m_maskSource;
    bool m_focused = false;
};

} // namespace kal
