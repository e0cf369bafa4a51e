#include "PrintProgress.h"

#include "Dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace kal {

namespace {

// While a report is made: the window shows after half a second and catches
// up at most ten times a second.
constexpr qint64 kShowAfterMs = 500;
constexpr qint64 kStepMs = 100;

} // namespace

// Holds every window but the progress window still while a report is being
// made: no paint, timer or input reaches them. When it goes they are painted
// anew: the update requests they missed are sent again (their windows wait
// for them before asking for another) and every window is updated whole.
// Their timers run then (a timer stays due until it has run).
class PrintProgressWindow::Quiet final : public QObject {
public:
    explicit Quiet(QWidget* window) : m_window(window), m_modalBefore(QApplication::activeModalWidget())
    {
        qApp->installEventFilter(this);
    }
    ~Quiet() override
    {
        qApp->removeEventFilter(this);
        for (const QPointer<QObject>& o : m_missedUpdates)
            if (o)
                QCoreApplication::postEvent(o, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* w : windows)
            if (w->isVisible())
                w->update();
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!held(event->type()) || ofWindow(receiver))
            return false;
        // A window that asks the user something meanwhile waits for him as
        // it always does: the program runs as usual while it shows.
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != m_window && modal != m_modalBefore)
            return false;
        if (event->type() == QEvent::UpdateRequest
            && std::find(m_missedUpdates.begin(), m_missedUpdates.end(), receiver) == m_missedUpdates.end())
            m_missedUpdates.emplace_back(receiver);
        return true;
    }

private:
    static bool held(QEvent::Type type)
    {
        switch (type) {
        case QEvent::Timer:
        case QEvent::Paint:
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater:
        case QEvent::Expose:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::HoverEnter:
        case QEvent::HoverLeave:
        case QEvent::HoverMove:
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::ToolTip:
            return true;
        default:
            return false;
        }
    }
    // The progress window, a widget in it, or its window of the window
    // system; an object of no window (the animation timer) goes on too.
    bool ofWindow(QObject* o) const
    {
        if (!m_window)
            return false;
        if (qobject_cast<QWindow*>(o))
            return o == m_window->windowHandle();
        bool inWidget = false;
        for (; o; o = o->parent()) {
            if (o == m_window)
                return true;
            inWidget = inWidget || o->isWidgetType();
        }
        return !inWidget;
    }

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_modalBefore; // the modal window the report was started from
    std::vector<QPointer<QObject>> m_missedUpdates;
};

PrintProgressWindow::PrintProgressWindow() = default;

PrintProgressWindow::~PrintProgressWindow()
{
    close();
}

QString PrintProgressWindow::Text(const QString& fileName, const QString& printerName, int pagesDone, int pages)
{
    const QString where = !fileName.isEmpty()
        ? QStringLiteral("Zapisywanie wydruku do pliku \"%1\"").arg(QFileInfo(fileName).fileName())
        : printerName.isEmpty() ? QStringLiteral("Drukowanie")
                                : QStringLiteral("Drukowanie na drukarce \"%1\"").arg(printerName);
    return where + QStringLiteral("\nStrona %1 z %2").arg(pagesDone).arg(pages);
}

QString PrintProgressWindow::BuildText(int pagesMade)
{
    return QStringLiteral("Przygotowywanie wydruku\nStrona %1").arg(pagesMade);
}

void PrintProgressWindow::open(const QString& title, int maximum, const QString& text)
{
    m_window = std::make_unique<QProgressDialog>(QApplication::activeWindow(),
                                                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_window->setObjectName(QStringLiteral("PostepWydruku"));
    m_window->setWindowTitle(title.isEmpty() ? ApplicationTitle() : title);
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->setCancelButton(nullptr);
    m_window->setAutoClose(false);
    m_window->setAutoReset(false);
    m_window->setMinimumDuration(static_cast<int>(kShowAfterMs));
    m_window->setMinimumWidth(420);
    m_window->setRange(0, maximum);
    m_window->setLabelText(text);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void PrintProgressWindow::close()
{
    if (!m_window)
        return;
    m_window.reset();
    m_bar = nullptr;
    m_quiet.reset();
    QApplication::restoreOverrideCursor();
}

void PrintProgressWindow::begin(const QString& title, const QString& fileName, const QString& printerName, int pages)
{
    close();
    m_fileName = fileName;
    m_printerName = printerName;
    m_pages = pages;
    open(title, std::max(1, pages), Text(fileName, printerName, 0, pages));
    m_window->setValue(0);
}

void PrintProgressWindow::advance(int pagesDone)
{
    if (!m_window || m_quiet)
        return;
    m_window->setLabelText(Text(m_fileName, m_printerName, pagesDone, m_pages));
    // A shown modal progress window paints and takes events on each step.
    m_window->setValue(std::min(pagesDone, m_window->maximum()));
}

void PrintProgressWindow::end()
{
    if (!m_quiet)
        close();
}

void PrintProgressWindow::beginBuild(const QString& title)
{
    if (m_window)
        return; // a print goes on: its window stays
    // The bar is moved by this window alone, so that no step processes
    // events the way the dialog's own steps do.
    open(title, 0, BuildText(0));
    m_bar = new QProgressBar;
    m_window->setBar(m_bar);
    m_bar->setRange(0, 0);
    m_quiet = std::make_unique<Quiet>(m_window.get());
    m_started.start();
    m_lastShown = 0;
}

void PrintProgressWindow::advanceBuild(int recordsDone, int records, int pagesMade)
{
    if (!m_quiet)
        return;
    const qint64 now = m_started.elapsed();
    if (now < kShowAfterMs || now - m_lastShown < kStepMs)
        return;
    m_lastShown = now;
    if (records > 0) {
        if (m_bar->maximum() != records)
            m_bar->setRange(0, records);
        m_bar->setValue(std::min(recordsDone, records));
    }
    m_window->setLabelText(BuildText(pagesMade));
    if (!m_window->isVisible())
        m_window->show();
    // Only the progress window paints; input waits for the end of the run.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PrintProgressWindow::endBuild()
{
    if (m_quiet)
        close();
}

} // namespace kal
