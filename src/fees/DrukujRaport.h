#pragma once
// The one routine through which every report form is printed or previewed.

#include <QString>

namespace kal::report {
class Report;
}

// Titles `raport` with `tytul` (the print job's name and the preview
// window's caption), shows the printer dialog when `tryb` is 1 and a print
// is asked for (`podglad` false), or when `tryb` is 2, and then previews
// (`podglad` true) or prints the report. A cancelled printer dialog ends the
// call silently: nothing is printed or previewed. A preview returns when the
// preview window has closed. Errors of the report engine propagate.
void DrukujRaport(kal::report::Report* raport, bool podglad, const QString& tytul, unsigned tryb);
