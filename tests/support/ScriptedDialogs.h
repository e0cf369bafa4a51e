#pragma once
// A dialog seam for tests: records every box and dialog in order and gives the
// answers that the test queued. Installs itself on construction and restores
// the default seam on destruction.

#include "Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace kal::test {

struct DialogCall {
    enum Kind { Message, Error, OpenFile, SaveFile, Printer, Modal } kind = Message;
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    unsigned buttons = 0;
    QString filter;       // file dialogs; printer dialogs: the document name proposed for a file
    QWidget* window = nullptr; // modal shows
};

class ScriptedDialogs final : public IDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers given in order to message boxes; when none is queued a box
    // answers with the first of its buttons (Ok, Cancel, Yes, No ... order).
    void answer(MsgButton button) { m_answers.push_back(button); }
    // Paths given in order to file dialogs; none queued means cancelled.
    void answerFile(const QString& path) { m_files.push_back(path); }
    // Answers given in order to printer dialogs; none queued means cancelled.
    // A confirmed answer with `pdfFile` chooses printing into that file.
    void answerPrinter(bool accepted, const QString& pdfFile = {}) { m_printer.push_back({accepted, pdfFile}); }
    // Called for a modal show instead of an event loop; its result is returned.
    // Without one, the window is not shown and 0 is returned.
    std::function<int(QWidget*)> onModal;

    const std::vector<DialogCall>& calls() const { return m_calls; }
    // Only the message and error boxes, in order.
    std::vector<DialogCall> boxes() const;
    // Texts of the message and error boxes, in order.
    QStringList texts() const;
    void clear() { m_calls.clear(); }

    MsgButton messageBox(const QString& text, const QString& caption, unsigned buttons, MsgIcon icon) override;
    void errorBox(const QString& text) override;
    QString openFileName(FileDialogRequest& request) override;
    QString saveFileName(FileDialogRequest& request) override;
    bool printerDialog(QPrinter* printer, QWidget* parent) override;
    int execModal(QWidget* window) override;

private:
    std::vector<DialogCall> m_calls;
    std::deque<MsgButton> m_answers;
    std::deque<QString> m_files;
    struct PrinterAnswer {
        bool accepted;
        QString pdfFile;
    };
    std::deque<PrinterAnswer> m_printer;
};

} // namespace kal::test
