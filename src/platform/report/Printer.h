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

// A report title made fit to be a file name: the characters a file name
// cannot (or should not) hold become spaces, runs of blanks become one, and
// leading or trailing dots and blanks go. "Raport za półrocze: 1 2009 roku."
// gives "Raport za półrocze 1 2009 roku"; nothing left gives "Wydruk".
QString DocumentFileName(const QString& title);

IPrinter& Printer();
// Installs `printer` (not owned); nullptr restores the QPrinter one.
void SetPrinter(IPrinter* printer);

} // namespace kal::report
