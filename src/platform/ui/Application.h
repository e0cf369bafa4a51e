#pragma once
// The top-level exception guard. No exception ever crosses Qt's event loop:
// every event is delivered under the guard, and start-up code outside the
// loop runs under the same guard through RunGuarded.
//
//   kal::EAbort     - shows nothing;
//   kal::Exception  - its message in the error box (application title as
//                     caption, stop icon, OK, the "." rule of ErrorBoxText);
//   anything else   - the error box with an empty message.

#include <QApplication>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QTranslator>
#include <functional>
#include <memory>
#include <vector>

class QWindow;

namespace kal {

class QtDialogs;
class PrintProgressWindow;

// Runs `fn`; true when it returned normally, false when an exception was
// caught (and shown as above).
bool RunGuarded(const std::function<void()>& fn);

// Shows the exception that is being handled (call it from a catch block).
void ShowCurrentException() noexcept;

// Loads Qt's own Polish texts (the buttons and labels of its standard
// dialogs, the edit menus of text fields) into the translator; false when the
// Qt installation has none.
bool LoadQtPolishTexts(QTranslator& translator);

// The client geometry that keeps a window of client geometry `window`, with
// a window-manager frame of `frame` around it, inside `area` (the free area
// of its screen): no bigger than the area less the frame, yet never smaller
// than `minimum`; grown to `wanted` where the area has room for it (its
// caption); centred on where it was when its size changes, and moved in
// where it would stand out. A window that fits keeps its geometry.
QRect FitIntoArea(const QRect& window, const QMargins& frame, const QRect& area, const QSize& minimum,
                  const QSize& wanted = {});

// Keeps every top-level window inside the free area of the screen it opens
// on, its window-manager frame counted, and as wide as its caption needs
// where the screen has room: when it is shown, and again once the window
// manager has framed it (the frame is known only then; the frame of the
// windows framed before stands in for it until then). Maximised, full-screen
// and minimised windows, pop-ups and tool tips are left alone.
class ScreenFit final : public QObject {
public:
    explicit ScreenFit(QObject* parent = nullptr) : QObject(parent) {}
    // Fits `widget`, a top-level window, with the frame it has or is likely
    // to get. It is moved only when it has been `placed` on the screen (by
    // the window manager) or moved by the program.
    static void Fit(QWidget* widget, bool placed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Windows shown and not yet framed by the window manager.
    std::vector<QPointer<QWidget>> m_awaitingFrame;
};

// Installs one ScreenFit on the application (a second call does nothing).
void InstallScreenFit();

class Application : public QApplication {
    Q_OBJECT
public:
    // Installs the Qt dialog seam, the progress window of long prints, Qt's
    // Polish texts and the screen fit of every window for the life of the
    // application.
    Application(int& argc, char** argv);
    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<PrintProgressWindow> m_printProgress;
    QTranslator m_qtTexts;
};

} // namespace kal
