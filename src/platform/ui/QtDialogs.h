#pragma once
// The dialog seam shown with Qt: message boxes with Polish button texts, the
// error box, file dialogs, the printer dialog and modal shows.

#include "Dialogs.h"

class QFont;
class QMessageBox;

namespace kal {

class QtDialogs final : public IDialogs {
public:
    MsgButton messageBox(const QString& text, const QString& caption, unsigned buttons, MsgIcon icon) override;
    void errorBox(const QString& text) override;
    QString openFileName(FileDialogRequest& request) override;
    QString saveFileName(FileDialogRequest& request) override;
    bool printerDialog(QPrinter* printer, QWidget* parent) override;
    // A QDialog runs its own exec(). Any other widget is shown application-
    // modal and waited for until it is hidden, closed or destroyed; its result
    // is what SetModalResult stored (0 when nothing was stored).
    int execModal(QWidget* window) override;
};

// The Polish caption of a message box button ("OK", "Anuluj", "Tak", "Nie",
// "Przerwij", "Ponów", "Ignoruj").
QString ButtonText(MsgButton button);

// Fills `box` as the seam shows it: text, caption, icon, the buttons in the
// order OK, Tak, Nie, Przerwij, Ponów, Ignoruj, Anuluj; the first of OK, Tak,
// Przerwij, Ponów as the default; Escape and closing answer Anuluj, else Nie,
// else OK, else Przerwij. No buttons at all gives an OK box. The box is wide
// enough for its whole caption.
void PrepareMessageBox(QMessageBox& box, const QString& text, const QString& caption, unsigned buttons, MsgIcon icon);
// The answer of a prepared box once it has closed.
MsgButton MessageBoxAnswer(const QMessageBox& box);

// The width a window needs to show its whole `caption` in its title bar,
// beside the window manager's own icon and buttons (the caption measured in
// the bold of `font`, as title bars write it).
int CaptionWidth(const QString& caption, const QFont& font);

// The result that a modal non-dialog window gives to execModal; store it
// before closing the window.
void SetModalResult(QWidget* window, int result);
int ModalResult(const QWidget* window);

} // namespace kal
