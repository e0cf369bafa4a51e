#pragma once
// The dialog seam shown with Qt: message boxes with Polish button texts, the
// error box, file dialogs, the printer dialog and modal shows.

#include "Dialogs.h"

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
// else OK, else Przerwij. No buttons at all gives an OK box.
void PrepareMessageBox(QMessageBox& box, const QString& text, const QString& caption, unsigned buttons, MsgIcon icon);
// The answer of a prepared box once it has closed.
MsgButton MessageBoxAnswer(const QMessageBox& box);

// The result that a modal non-dialog window gives to execModal; store it
// before closing the window.
void SetModalResult(QWidget* window, int result);
int ModalResult(const QWidget* window);

} // namespace kal
