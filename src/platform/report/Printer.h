#pragma once
// The printer seam: every print of a page model goes through the installed
// IPrinter. The default one prints with QPrinter; tests install one that
// records the job.

#include "PageModel.h"

namespace kal::report {

struct PrintJob {
    QString title;        // the job's name
    QString printerName;  // empty: the default printer
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

IPrinter& Printer();
// Installs `printer` (not owned); nullptr restores the QPrinter one.
void SetPrinter(IPrinter* printer);

} // namespace kal::report
