#pragma once
// The dialog seam of the benchmarks that run windows: messages go to the
// error output, file and printer dialogs are refused, and a modal show runs
// `przy` with the window instead of waiting for the user.

#include "Dialogs.h"

#include <QString>

#include <cstdio>
#include <functional>

class QWidget;

namespace kal::bench {

class PomiarDialogow final : public kal::IDialogs {
public:
    std::function<void(QWidget*)> przy;
    kal::MsgButton messageBox(const QString& text, const QString&, unsigned, kal::MsgIcon) override
    {
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
        return kal::MbOk;
    }
    void errorBox(const QString& text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    QString openFileName(kal::FileDialogRequest&) override { return {}; }
    QString saveFileName(kal::FileDialogRequest&) override { return {}; }
    bool printerDialog(QPrinter*, QWidget*) override { return false; }
    int execModal(QWidget* window) override
    {
        // A copy runs: `przy` may be given another task meanwhile.
        if (const auto p = przy)
            p(window);
        return 0;
    }
};

} // namespace kal::bench
