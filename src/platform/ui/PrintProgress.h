#pragma once
// The progress window of a long print: while the pages of a report go to a
// PDF file or to a printer it shows which page is being written, keeps the
// program's windows painted, and takes no input meanwhile. It shows only
// when the work lasts longer than half a second.

#include "Printer.h"

#include <QString>
#include <memory>

class QProgressDialog;

namespace kal {

class PrintProgressWindow final : public report::IPrintProgress {
public:
    PrintProgressWindow();
    ~PrintProgressWindow() override;

    void begin(const QString& title, const QString& fileName, const QString& printerName, int pages) override;
    void advance(int pagesDone) override;
    void end() override;

    // The window while a print runs, else nullptr.
    QProgressDialog* window() const { return m_window.get(); }

    // The window's text: what is written where, and how far it has got.
    static QString Text(const QString& fileName, const QString& printerName, int pagesDone, int pages);

private:
    std::unique_ptr<QProgressDialog> m_window;
    QString m_fileName;
    QString m_printerName;
    int m_pages = 0;
};

} // namespace kal
