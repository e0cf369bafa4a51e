#pragma once
// What the statement printouts print for a value: the rules that leave a
// cell blank, and the text of an amount.

#include <QString>

class ZrodloTabeli;

namespace wydruki {

// An amount: empty when |v| is below the program's zero tolerance
// (ProgZera), else "### ### ##0.00" (digit groups of three, decimal comma).
QString TekstKwoty(double v);

// A field of the current record: empty when the field is null, else the
// amount rule applied to its value.
QString TekstPola(const ZrodloTabeli& zrodlo, const QString& pole);

// A printed value read back from its text the way the user would read it
// (blanks dropped, "," or "." as decimal separator); 0 when it does not read.
double LiczbaZTekstu(const QString& tekst);

} // namespace wydruki
