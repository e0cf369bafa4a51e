#pragma once
// The dialog seam: every message box, question, error box, file dialog,
// printer dialog and modal show of the program goes through the installed
// IDialogs. The Qt implementation lives in the UI layer; tests install a
// scripted one (tests/support) that records what was asked and gives the
// answers chosen by the test.

#include <QString>

class QWidget;
class QPrinter;

namespace kal {

enum class MsgIcon { None, Information, Warning, Question, Stop };

// Buttons of a message box; combine with |. The answer is one of them.
enum MsgButton : unsigned {
    MbNone = 0,
    MbOk = 1u << 0,
    MbCancel = 1u << 1,
    MbYes = 1u << 2,
    MbNo = 1u << 3,
    MbAbort = 1u << 4,
    MbRetry = 1u << 5,
    MbIgnore = 1u << 6,
};

struct FileDialogRequest {
    QString caption;
    QString directory;
    QString fileName;      // proposed name (save dialogs)
    QString filter;        // Qt filter list, entries separated by ";;"
    QString selectedFilter;
};

class IDialogs {
public:
    virtual ~IDialogs() = default;

    // A message box with caption, icon and buttons; returns the button chosen
    // (MbCancel, or MbNo when there is no Cancel, when the box is closed).
    virtual MsgButton messageBox(const QString& text, const QString& caption, unsigned buttons, MsgIcon icon) = 0;

    // The error box of the top-level guard: the application title as caption,
    // stop icon, OK. `text` is shown as given (see ErrorBoxText).
    virtual void errorBox(const QString& text) = 0;

    // File dialogs: the chosen path, or an empty text when cancelled.
    // `request.selectedFilter` receives the filter chosen by the user.
    virtual QString openFileName(FileDialogRequest& request) = 0;
    virtual QString saveFileName(FileDialogRequest& request) = 0;

    // The printer dialog for `printer`; false when cancelled.
    virtual bool printerDialog(QPrinter* printer, QWidget* parent) = 0;

    // Shows `window` modally and returns its result code.
    virtual int execModal(QWidget* window) = 0;
};

// The installed seam. Until something is installed, a seam that answers
// every box with its first button and cancels every dialog is in place.
IDialogs& Dialogs();
// Installs `dialogs` (not owned); nullptr restores the default.
void SetDialogs(IDialogs* dialogs);

// The application's title, the caption of the error box.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// Shows `message` in the error box with the "." rule of ErrorBoxText.
void ShowErrorBox(const QString& message);

} // namespace kal
