#pragma once
// The printer seam: every print of a page model goes through the installed
// IPrinter. The default one prints with QPrinter; tests install one that
// records the job.

#include "PageModel.h"

namespace kal::report {

struct PrintJob {
    QString title;        // the job's name
    QString printerName;  // empty: the default printer
    QString outputFileName; // not empty: the pages go into this PDF file
    int copies = 1;
    int fromPage = 1;     // 1-based, both included
    int toPage = 0;
    Orientation orientation = Orientation::Portrait;
};

class IPrinter {
public:
    virtual ~IPrinter() = default;
    virtual void print(const PageModel& pages, const PrintJob& job) = 0;
};

// Shows how a print or a PDF file being written advances, page by page, so
// that a long report does not look like a program that hangs. The UI layer
// installs one with a progress window; without it nothing is shown.
class IPrintProgress {
public:
    virtual ~IPrintProgress() = default;
    // `fileName` is the PDF file being written, or empty for a printer
    // (`printerName`, empty for the default one); `pages` the pages to go.
    virtual void begin(const QString& title, const QString& fileName, const QString& printerName, int pages) = 0;
    virtual void advance(int pagesDone) = 0;
    // Always called after begin, also when the print fails.
    virtual void end() = 0;

    // While the pages of a report are being made (its data walked): after
    // each record, the records done, the records to walk (0 when not known)
    // and the pages made so far. endBuild is always called after
    // beginBuild, also when the run fails. Empty by default.
    virtual void beginBuild(const QString& title) { (void)title; }
    virtual void advanceBuild(int recordsDone, int records, int pagesMade)
    {
        (void)recordsDone;
        (void)records;
        (void)pagesMade;
    }
    virtual void endBuild() {}
};

// A report title made fit to be a file name: the characters a file name
// cannot (or should not) hold become spaces, runs of blanks become one, and
// leading or trailing dots and blanks go. "Raport za półrocze: 1 2009 roku."
// gives "Raport za półrocze 1 2009 roku"; nothing left gives "Wydruk".
QString DocumentFileName(const QString& title);

IPrinter& Printer();
// Installs `printer` (not owned); nullptr restores the QPrinter one.
void SetPrinter(IPrinter* printer);

// The installed progress display, or nullptr.
IPrintProgress* PrintProgress();
// Installs `progress` (not owned); nullptr removes it.
void SetPrintProgress(IPrintProgress* progress);

// The installed progress display for the life of the object: begun when it
// is made, ended when it goes (also when an exception passes).
class PrintProgressScope {
public:
    PrintProgressScope(const QString& title, const QString& fileName, const QString& printerName, int pages);
    ~PrintProgressScope();
    PrintProgressScope(const PrintProgressScope&) = delete;
    PrintProgressScope& operator=(const PrintProgressScope&) = delete;
    void advance(int pagesDone) const;

private:
    IPrintProgress* m_display;
};

} // namespace kal::report
