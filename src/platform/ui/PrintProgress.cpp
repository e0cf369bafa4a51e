#include "PrintProgress.h"

#include "Dialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

namespace kal {

PrintProgressWindow::PrintProgressWindow() = default;

PrintProgressWindow::~PrintProgressWindow() = default;

QString PrintProgressWindow::Text(const QString& fileName, const QString& printerName, int pagesDone, int pages)
{
    const QString where = !fileName.isEmpty()
        ? QStringLiteral("Zapisywanie wydruku do pliku \"%1\"").arg(QFileInfo(fileName).fileName())
        : printerName.isEmpty() ? QStringLiteral("Drukowanie")
                                : QStringLiteral("Drukowanie na drukarce \"%1\"").arg(printerName);
    return where + QStringLiteral("\nStrona %1 z %2").arg(pagesDone).arg(pages);
}

void PrintProgressWindow::begin(const QString& title, const QString& fileName, const QString& printerName, int pages)
{
    m_fileName = fileName;
    m_printerName = printerName;
    m_pages = pages;
    m_window = std::make_unique<QProgressDialog>(QApplication::activeWindow(),
                                                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_window->setObjectName(QStringLiteral("PostepWydruku"));
    m_window->setWindowTitle(title.isEmpty() ? ApplicationTitle() : title);
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->setCancelButton(nullptr);
    m_window->setAutoClose(false);
    m_window->setAutoReset(false);
    m_window->setMinimumDuration(500);
    m_window->setMinimumWidth(420);
    m_window->setRange(0, std::max(1, pages));
    m_window->setLabelText(Text(fileName, printerName, 0, pages));
    m_window->setValue(0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void PrintProgressWindow::advance(int pagesDone)
{
    if (!m_window)
        return;
    m_window->setLabelText(Text(m_fileName, m_printerName, pagesDone, m_pages));
    // A shown modal progress window paints and takes events on each step.
    m_window->setValue(std::min(pagesDone, m_window->maximum()));
}

void PrintProgressWindow::end()
{
    if (!m_window)
        return;
    m_window.reset();
    QApplication::restoreOverrideCursor();
}

} // namespace kal
