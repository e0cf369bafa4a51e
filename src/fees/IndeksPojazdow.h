#pragma once
// The registration-number index: the id and the registration number of every
// vehicle, kept in memory so that the fleet-card import finds a vehicle by the
// number on a card transaction without scanning the vehicle table. It reads
// the vehicle table; it never writes it.

#include <QString>

#include <memory>
#include <unordered_map>

namespace kal {
class TTable;
}

// One vehicle of the index: a node of a chain that keeps the order in which
// vehicles were first added. A node owns the rest of the chain.
struct Pojazd {
    int id = -2;             // IdentyfikatorPojazdu
    QString nrRejestracyjny; // NrRejestracyjny as stored
    QString klucz;           // the number as the index compares it (Klucz)
    std::unique_ptr<Pojazd> nastepny;

    Pojazd() = default;
    // Frees the successors one by one, so that a long chain does not nest a
    // destructor call per vehicle.
    ~Pojazd();
    Pojazd(const Pojazd&) = delete;
    Pojazd& operator=(const Pojazd&) = delete;
};

class Pojazdy {
public:
    Pojazdy() = default;
    Pojazdy(const Pojazdy&) = delete;
    Pojazdy& operator=(const Pojazdy&) = delete;

    // The id of the vehicle whose registration number equals `nr` by
    // PorownajBezSpacji (letter case and blanks do not matter), or -2. Loads
    // the index on first use. Among equal numbers the vehicle added first
    // wins. A blank number matches nothing. (Vehicles are never deleted, so
    // an id once added stays valid.)
    int ZnajdzIdentyfikator(const QString& nr);
    // Reads every vehicle of the data module's TPojazdy in the table's order,
    // through a cursor of its own: TPojazdy keeps its record and its state.
    void Wczytaj();
    // Adds the current record of TPojazdy, or gives its vehicle the current
    // number; only once the index is loaded (until then the load reads the
    // table anyway).
    void Dodaj();
    // Adds vehicle `id` with number `nr`, or gives vehicle `id` that number.
    void Dodaj(int id, const QString& nr);
    // Empty and not loaded, as at start.
    void Wyczysc();

    bool Wczytany() const { return m_wczytany; }
    // Vehicles in the index.
    int Liczba() const { return int(m_wezly.size()); }

    // The number as the index compares it: upper-cased, cut and stripped of
    // every blank, as PorownajBezSpacji does.
    static QString Klucz(const QString& nr);

private:
    std::unique_ptr<Pojazd> m_pierwszy;
    Pojazd* m_ostatni = nullptr;
    std::unordered_map<int, Pojazd*> m_wezly;
    bool m_wczytany = false;
};
