#pragma once
// The numbers that the value entry handlers of the fee tables store from a
// typed text, and the fee recompute that follows a typed value.

#include <QString>
#include <QtGlobal>

// The decimal value of a typed text, never below 0: blanks are dropped, ","
// or "." is the decimal separator; a negative number, an empty text and a
// text that does not convert give 0.
double WartoscNieujemna(const QString& tekst);

// The whole count of a typed text, never below 0: an empty text gives 0, a
// negative count 0. A text that is not a whole number (blanks inside it
// included), and a count above 32767, the largest the field holds, are
// refused with kal::EConvertError; the field then keeps its value.
qint16 LiczbaNieujemnaCalk(const QString& tekst);

// After a value typed into a field of the table component named `tabela`:
// "TTabelaC" and "TStawkiTabC" recompute the table C fee object, "TTabelaD"
// and "TStawkiTabD" the table D one (each only while its window is open);
// any other table recomputes nothing.
void PrzeliczPoWpisie(const QString& tabela);
