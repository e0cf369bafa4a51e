#pragma once
// Funkcje: the free routines that the whole program calls - decimal rounding
// and the expression evaluator behind it, text-to-number conversions that
// ignore blanks, a blank-insensitive comparison, the temporary file name and
// the Roman numeral of a quarter. None of them keeps state between calls.

#include <QString>

#include <functional>
#include <string>

namespace kal {
class TField;
class TTable;
} // namespace kal

// What a window does when its close handler has run (the framework's close
// actions): caNone keeps it open, caHide hides it.
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// Rounds `x` half away from zero to `n` decimals (n >= 0): the scaled
// magnitude is rounded half up, a remainder of more than 0.499999999 of a unit
// counting as a half, then the sign is restored. 2.345 gives 2.35, -2.345
// gives -2.35, 1.025 gives 1.03. Never gives -0.0; a value that is not finite
// or whose scaled magnitude is 1e18 or more is returned as it is.
double Zaokraglij(double x, int n);

// Evaluates the arithmetic expression in `text`.
//
// `error` is in/out: when it is not 0 on entry nothing is evaluated and the
// result is 1.232323232343. A failure writes its code into `error` and makes
// the failing evaluation give 1.657:
//   2 a single character that is neither a number nor an operator
//   3 a ")" without its "("
//   4 a "(" that is not closed
//   5 a parenthesised text that does not end with ")"
//   6 a function call with too few arguments
//   7 a function call with too many arguments
//   8 a function name outside the list
//   9 division by zero (also a lone "/" and "ctan" at a zero tangent)
//
// The language, weakest binding first: "|" (or), "&" (and), the comparisons
// "=", "#" (not equal), "<", "<=", ">", ">=" (1.0 or 0.0; "<=" and ">=" with
// the 1e-07 tolerance; "=" and "#" next to a double quote compare the operand
// texts), a leading sign, "+" and "-", "*" and "/"; equal operators group from
// the left. "--" is read as "+". Numbers are written with "." as decimal point
// and may carry an exponent. Parentheses group. Functions: IF(c,a,b), max,
// min, round(x,k), pow, mod (two arguments, the second evaluated first), and
// cosh, sinh, tanh, sin, cos, tan, log10, log (natural), exp, abs, ctan,
// acos, asin, atan, ceil, floor, sqrt of one argument.
//
// The buffer is worked on in place: afterwards it holds the text with every
// "--" replaced by "+".
double ObliczWyrazenie(std::string& text, int& error);

// The text with every blank removed and trimmed, read as a decimal number with
// "," or "." as the decimal separator. A text that does not convert (an empty
// one, "inf", "nan", a hexadecimal form, letters) gives 0.0.
double TekstNaLiczbe(const QString& text);

// TekstNaLiczbe of the field's AsString; 0.0 for an empty field.
double PoleNaLiczbe(kal::TField* pole);

// As TekstNaLiczbe, read as a whole number; a text that does not convert, or
// whose value does not fit in an int, gives 0.
int TekstNaCalkowita(const QString& text);

// TekstNaCalkowita of the field's AsString; 0 for an empty field.
int PoleNaCalkowita(kal::TField* pole);

// The text cut at both ends (characters whose code is at most that of the
// blank) and stripped of every remaining " ".
QString UsunSpacje(const QString& text);

// True when both texts, upper-cased (Polish letters included) and passed
// through UsunSpacje, are identical: "wa 12345" and "WA12345" match.
bool PorownajBezSpacji(const QString& a, const QString& b);

// A free file name for a temporary table: the directory named by TEMP when it
// is set, else by TMP, else the working directory (also when the named
// directory cannot be found); then the prefix, today's year, month and day
// without leading zeros, four letters "aaaa".."zzzz" and "." + extension. The
// first name whose file this call makes (exclusively: a name another copy of
// the program takes at the same moment goes on to the next) is the result,
// an empty file for the caller to make its table in; when every one is
// taken, the box "Błąd generowania zbioru tymczsowego !!!" is shown and the
// result is the empty text. The data module passes "Tym" and "DB".
QString NazwaZbioruTymczasowego(const QString& prefix, const QString& extension);

// The same with the taking of a name given by the caller: `taken` is true
// when the name was another's already, false when the name is now the caller's.
QString NazwaZbioruTymczasowego(const QString& prefix, const QString& extension,
                                const std::function<bool(const QString&)>& taken);

// Removes the temporary tables that a run ended by a kill or a crash left in
// the directory of `NazwaZbioruTymczasowego`: the files named as that routine
// names them (prefix, digits of a date, four letters, "." + extension, with
// their journal files), this user's own, that no running process holds.
// Nothing else in the directory is touched.
void UsunPozostawioneZbioryTymczasowe(const QString& prefix, const QString& extension);

// The save prompt of a window's close handler. In edit state the change
// question, in insert state the append question is asked with `naglowek` as
// caption, the question icon and Yes, No, Cancel: Yes posts, No cancels (the
// window closes; `akcja` keeps the caller's value), Cancel does neither and
// sets `akcja` to caNone (the window stays open). In any other state nothing
// is asked. A post refused by a rule of the dataset leaves through its
// exception with `akcja` set to caNone.
void ZapytajOZapis(const QString& pytanieZmiana, const QString& pytanieDopisanie, const QString& naglowek,
                   TCloseAction& akcja, kal::TTable* zbior);

// Positions the field's dataset on a record whose key field (AsInteger) equals
// `wartosc`: true without moving when the current record has it; else the
// dataset locates the value, and failing that walks from its first record.
// False when there is none; the dataset then stands at its end.
bool ZnajdzRekord(kal::TField* pole, int wartosc);

// Returns the dataset to browse mode (a pending edit with changes is posted,
// one without changes is cancelled); what is posted is already on disk.
void ZapiszBufory(kal::TTable* zbior);

// 1 "I", 2 "II", 3 "III", 4 "IV"; any other value gives the empty text.
QString NumerRzymski(int n);

// The zero tolerance: an amount below it counts as zero and prints blank.
// The main window sets it at construction; it starts at the same value so that
// code running without the main window (tests, tools) sees it too.
extern double ProgZera;
