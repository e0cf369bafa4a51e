#pragma once
// What the handler files of the data module share: the pending-change test,
// the zero tolerance of amounts, typed dates and the period date rule.
// Only the data module's own files include it.

#include "platform/db/Table.h"

#include <QString>

namespace dane {

// The zero tolerance of amounts.
inline constexpr double kProgZera = 1e-07;

// True while the table holds a change not yet posted (edit or insert).
bool edytowana(const kal::TTable* t);

// Typed date text: a valid date is stored. An empty text clears a field that
// may stay empty. Any other text is refused with the field's message and the
// date stored before stays: a typing slip never erases a date.
enum class PustaData { Czysci, Odmowa };
void wpiszDate(kal::TField& pole, const QString& tekst, const QString& komunikat,
               PustaData pusta = PustaData::Odmowa);

// The period date rule: the date's year must be the period's `Rok`, and its
// month in the period's half-year. With `zlaData` not empty a date that is
// not a proper date is refused with that text first; `prefiksRoku` starts the
// message of a wrong year.
void kontrolaDatyOkresu(const kal::TField* data, const kal::TField* rok, const kal::TField* polrocze,
                        const QString& zlaData, const QString& prefiksRoku);

} // namespace dane
