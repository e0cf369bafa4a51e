#include "Application.h"

#include "Dialogs.h"
#include "Exceptions.h"
#include "PrintProgress.h"
#include "QtDialogs.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <exception>

namespace kal {

void ShowCurrentException() noexcept
{
    QString message;
    try {
        throw;
    } catch (const EAbort&) {
        return;
    } catch (const Exception& e) {
        message = e.message();
    } catch (...) {
        // Not one of ours: shown with an empty message.
    }
    // The box runs its own event loop, whose events pass the guard again; a
    // failure of the box itself must not escape from here.
    try {
        ShowErrorBox(message);
    } catch (...) {
    }
}

bool RunGuarded(const std::function<void()>& fn)
{
    try {
        fn();
        return true;
    } catch (...) {
        ShowCurrentException();
    }
    return false;
}

bool LoadQtPolishTexts(QTranslator& translator)
{
    // The program speaks Polish whatever the user's locale is.
    return translator.load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QRect FitIntoArea(const QRect& window, const QMargins& frame, const QRect& area, const QSize& minimum,
                  const QSize& wanted)
{
    if (area.isEmpty())
        return window;
    const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
    const QSize size = window.size().expandedTo(wanted.boundedTo(room)).boundedTo(room).expandedTo(minimum);
    // A window that changes size keeps its centre; the frame's top left
    // corner then comes within the area, and a window bigger than the area
    // keeps its top left corner (title bar and close box) on screen.
    const QSize outer = size.grownBy(frame);
    const QPoint centred = window.center() - QPoint((size.width() - 1) / 2, (size.height() - 1) / 2);
    const QPoint from = size == window.size() ? window.topLeft() : centred;
    const int x = std::max(area.left(), std::min(from.x() - frame.left(), area.right() + 1 - outer.width()));
    const int y = std::max(area.top(), std::min(from.y() - frame.top(), area.bottom() + 1 - outer.height()));
    return QRect(QPoint(x + frame.left(), y + frame.top()), size);
}

namespace {

// The frame of the last window that the window manager framed.
QMargins g_lastFrame;

bool FitsTheScreen(const QWidget* w)
{
    if (!w || !w->isWindow())
        return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
    case Qt::SubWindow:
        return false;
    default: break;
    }
    return !(w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

// The frame the window has, or the one it is likely to get.
QMargins FrameOf(const QWidget* w)
{
    if (w->windowFlags() & Qt::FramelessWindowHint)
        return {};
    if (const QWindow* handle = w->windowHandle()) {
        const QMargins frame = handle->frameMargins();
        if (!frame.isNull())
            return frame;
    }
    return g_lastFrame;
}

QPointer<ScreenFit> g_screenFit;

} // namespace

void ScreenFit::Fit(QWidget* widget, bool placed)
{
    if (!FitsTheScreen(widget))
        return;
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QMargins frame = FrameOf(widget);
    const QRect now = widget->geometry();
    // Wide enough for the whole caption, where the window may be so wide.
    const QSize wanted(std::min(CaptionWidth(widget->windowTitle(), widget->font()), widget->maximumWidth()), 0);
    const QRect fitted = FitIntoArea(now, frame, screen->availableGeometry(), widget->minimumSize(), wanted);
    if (fitted.size() != now.size())
        widget->resize(fitted.size());
    // A window that nobody has placed yet is placed by the window manager.
    if (fitted.topLeft() != now.topLeft() && (placed || widget->testAttribute(Qt::WA_Moved)))
        widget->move(fitted.topLeft() - QPoint(frame.left(), frame.top()));
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && FitsTheScreen(w)) {
            Fit(w, false);
            if (w->windowHandle() && w->windowHandle()->frameMargins().isNull())
                m_awaitingFrame.emplace_back(w);
        }
        break;
    case QEvent::Expose: {
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || !window->isExposed() || m_awaitingFrame.empty())
            break;
        for (auto it = m_awaitingFrame.begin(); it != m_awaitingFrame.end();) {
            QWidget* w = *it;
            if (!w) {
                it = m_awaitingFrame.erase(it);
                continue;
            }
            if (w->windowHandle() != window) {
                ++it;
                continue;
            }
            it = m_awaitingFrame.erase(it);
            const QMargins frame = window->frameMargins();
            if (!frame.isNull() && !(w->windowFlags() & Qt::FramelessWindowHint))
                g_lastFrame = frame;
            Fit(w, true);
        }
        break;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void InstallScreenFit()
{
    if (g_screenFit || !qApp)
        return;
    g_screenFit = new ScreenFit(qApp);
    qApp->installEventFilter(g_screenFit);
}

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), m_dialogs(std::make_unique<QtDialogs>()),
      m_printProgress(std::make_unique<PrintProgressWindow>())
{
    SetDialogs(m_dialogs.get());
    report::SetPrintProgress(m_printProgress.get());
    if (LoadQtPolishTexts(m_qtTexts))
        installTranslator(&m_qtTexts);
    InstallScreenFit();
}

Application::~Application()
{
    if (&Dialogs() == m_dialogs.get())
        SetDialogs(nullptr);
    if (report::PrintProgress() == m_printProgress.get())
        report::SetPrintProgress(nullptr);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
    }
    return false;
}

} // namespace kal
