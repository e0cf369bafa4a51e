#pragma once
// The progress window of a long print: while the pages of a report go to a
// PDF file or to a printer it shows which page is being written, keeps the
// program's windows painted, and takes no input meanwhile. While the pages
// of a report are being made it shows how far the walk of its data has got;
// then nothing but the window itself is painted or runs a timer (the other
// windows catch up after), for a window painted meanwhile would read the
// tables that the walk is moving. It shows only when the work lasts longer
// than half a second.

#include "Printer.h"

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressBar;
class QProgressDialog;

namespace kal {

class PrintProgressWindow final : public report::IPrintProgress {
public:
    PrintProgressWindow();
    ~PrintProgressWindow() override;

    void begin(const QString& title, const QString& fileName, const QString& printerName, int pages) override;
    void advance(int pagesDone) override;
    void end() override;

    void beginBuild(const QString& title) override;
    void advanceBuild(int recordsDone, int records, int pagesMade) override;
    void endBuild() override;

    // The window while a print runs or a report is made, else nullptr.
    QProgressDialog* window() const { return m_window.get(); }

    // The window's text: what is written where, and how far it has got.
    static QString Text(const QString& fileName, const QString& printerName, int pagesDone, int pages);
    // The window's text while a report is made.
    static QString BuildText(int pagesMade);

private:
    class Quiet;
    void open(const QString& title, int maximum, const QString& text);
    void close();

    std::unique_ptr<QProgressDialog> m_window;
    QString m_fileName;
    QString m_printerName;
    int m_pages = 0;
    // While a report is made: the window's bar, the others held still, and
    // the time since the start and since the window last caught up.
    QProgressBar* m_bar = nullptr;
    std::unique_ptr<Quiet> m_quiet;
    QElapsedTimer m_started;
    qint64 m_lastShown = 0;
};

} // namespace kal
