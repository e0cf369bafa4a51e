#pragma once
// Fuel kind codes and the fuel density cache.
//
// Every fuel is known by a one-character code: "1".."9" and "a", "b", "c".
// The code maps to the fuel index 1..12, which selects the fuel's density
// and its table D column.

#include <QChar>
#include <QString>

#include <array>
#include <functional>
#include <vector>

// The fuel index of a code text: "1".."9" (any text whose first character is
// one of these digits) give 1..9; exactly "a", "b", "c" give 10, 11, 12; the
// empty text, a text beginning with "0" and a text beginning with a character
// above "9" give 0; a text beginning with any other character gives -1.
// Everything outside 1..12 means "no fuel".
int KodPaliwa(const QString& kod);

// The code text of fuel index 1..12: "1".."9", "a", "b", "c"; empty otherwise.
QString KodPaliwaTekst(int indeks);

// The name of fuel index 1..12 as the fuel register shows it ("etylina 94",
// ...); the heating oils 7..9 and any other index give an empty text.
QString NazwaPaliwa(int indeks);

// A fuel index 1..12, kept apart from a code character so that the digit
// '1' can never be taken for index 1 or the other way round.
struct IndeksPaliwa {
    constexpr explicit IndeksPaliwa(int w) : wartosc(w) {}
    int wartosc;
};

// One row of the fuel density table as the cache reads it.
struct WierszGestosci {
    QString kod;      // IdentyfikatorPaliwa
    double gestosc;   // Gestosc, kilograms per litre
};

// Reads every row of the density table, from the first to the last. It may
// throw (the table cannot be read); the cache then stays unloaded.
using CzytnikGestosci = std::function<std::vector<WierszGestosci>()>;

// The density of each of the twelve fuels, read once from the density table
// and kept until the density register window closes.
class GestosciPaliw {
public:
    GestosciPaliw() = default;

    // The density of a fuel index; loads the cache first when it is not
    // loaded. An index outside 1..12 gives 0.0.
    double Gestosc(IndeksPaliwa indeks);
    // The density of a fuel by its code character: '1'..'9', 'a', 'b', 'c'.
    // Any other character gives 0.0 (the cache is loaded all the same).
    double GestoscKodu(QChar kod);

    // Reads the table. The cache counts as loaded only once every row has
    // been read; a failed read leaves it unloaded and the exception goes on.
    // A row whose code maps outside 1..12 is reported in the error box and
    // skipped.
    void Wczytaj();
    // Unloaded, all twelve densities 0: the next Gestosc reads the table again.
    void Wyczysc();

    bool Wczytane() const { return m_wczytane; }

    // The reader of the density table; the data module's reader is used when
    // none is set.
    void UstawCzytnik(CzytnikGestosci czytnik) { m_czytnik = std::move(czytnik); }

private:
    bool m_wczytane = false;
    std::array<double, 12> m_gestosci{};
    CzytnikGestosci m_czytnik;
};
