#pragma once
// What the handler files of the data module share: the pending-change test,
// the zero tolerance of amounts, the required-field checks before a post,
// typed dates and the period date rule. Only the data module's own files
// include it.

#include "platform/db/Table.h"

#include <QString>

#include <initializer_list>

namespace dane {

// The zero tolerance of amounts.
inline constexpr double kProgZera = 1e-07;

// True while the table holds a change not yet posted (edit or insert).
bool edytowana(const kal::TTable* t);

// The required-field checks of a before-post handler: a table of rules
// (field, check, message), one rule a line, run in their order; the first
// rule whose check finds the field wanting refuses the post with its message.
struct Kontrola {
    enum class Rodzaj {
        Pusty,          // the field's text is empty
        PustyBezSpacji, // the field's text is empty or only blanks
        BezWartosci,    // the field is null
        Ponizej,        // the field's number is below `od`
        TekstPonizej,   // the number its text reads as is below `od`
        PozaZakresem,   // a field that is not null holds a whole number outside `od`..`doWlacznie`
    };
    Rodzaj rodzaj;
    double od = 0.0;
    double doWlacznie = 0.0;
};
inline constexpr Kontrola Pusty{Kontrola::Rodzaj::Pusty};
inline constexpr Kontrola PustyBezSpacji{Kontrola::Rodzaj::PustyBezSpacji};
inline constexpr Kontrola BezWartosci{Kontrola::Rodzaj::BezWartosci};
constexpr Kontrola Ponizej(double prog) { return {Kontrola::Rodzaj::Ponizej, prog}; }
constexpr Kontrola TekstPonizej(double prog) { return {Kontrola::Rodzaj::TekstPonizej, prog}; }
constexpr Kontrola PozaZakresem(int od, int doWlacznie)
{
    return {Kontrola::Rodzaj::PozaZakresem, double(od), double(doWlacznie)};
}

struct Wymog {
    kal::TField* pole;
    Kontrola kontrola;
    const char* komunikat; // UTF-8
};

// Raises the message of the first rule that fails; nothing when all pass.
void sprawdzWymogi(std::initializer_list<Wymog> wymogi);

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
