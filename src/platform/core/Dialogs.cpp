#include "Dialogs.h"

#include "Exceptions.h"

namespace kal {
namespace {

class DefaultDialogs final : public IDialogs {
public:
    MsgButton messageBox(const QString&, const QString&, unsigned buttons, MsgIcon) override
    {
        for (unsigned bit = 1; bit <= MbIgnore; bit <<= 1)
            if (buttons & bit)
                return static_cast<MsgButton>(bit);
        return MbOk;
    }
    void errorBox(const QString&) override {}
    QString openFileName(FileDialogRequest&) override { return {}; }
    QString saveFileName(FileDialogRequest&) override { return {}; }
    bool printerDialog(QPrinter*, QWidget*) override { return false; }
    int execModal(QWidget*) override { return 0; }
};

DefaultDialogs g_default;
IDialogs* g_dialogs = &g_default;
QString g_title = QStringLiteral("System Kalmora.");

} // namespace

IDialogs& Dialogs() { return *g_dialogs; }

void SetDialogs(IDialogs* dialogs) { g_dialogs = dialogs ? dialogs : &g_default; }

QString ApplicationTitle() { return g_title; }

void SetApplicationTitle(const QString& title) { g_title = title; }

void ShowErrorBox(const QString& message) { Dialogs().errorBox(ErrorBoxText(message)); }

} // namespace kal
