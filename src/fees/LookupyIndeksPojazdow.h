#pragma once
// The registration-number index: the id and registration number of every
// vehicle in memory, so that the fleet-card import finds a vehicle by the
// number on a transaction without scanning the vehicle table. Loaded on the
// first lookup; kept up to date by the vehicle table's after-post step.

#include <QString>
#include <memory>

class TDM;

// One node of the chain; each node owns the rest of the chain.
class Pojazd {
public:
    Pojazd() = default;
    ~Pojazd();
    Pojazd(const Pojazd&) = delete;
    Pojazd& operator=(const Pojazd&) = delete;

    // Stores the current vehicle of `dm`: in the first free node, or over the
    // node with the same id, else in a new node at the end.
    void Dodaj(TDM& dm);
    // The id of the first node whose registration equals `numer` ignoring
    // letter case and blanks; -2 when none does.
    int ZnajdzIdentyfikator(const QString& numer) const;

    int Identyfikator = -2; // -2: a free node
    QString NrRejestracyjny;
    std::unique_ptr<Pojazd> Nastepny;
};

class Pojazdy {
public:
    // `dm` null: the program's data module.
    explicit Pojazdy(TDM* dm = nullptr) : m_dm(dm) {}

    // Loads the index when it is not loaded, then looks `numer` up.
    int ZnajdzIdentyfikator(const QString& numer);
    // Marks the index loaded and adds every vehicle of the register; the
    // register's current vehicle stays current.
    void Wczytaj();
    // After a vehicle is saved: adds or updates it, when the index is loaded.
    void Dodaj();

    bool Wczytany() const { return m_wczytany; }
    const Pojazd* Pierwszy() const { return m_pierwszy.get(); }

private:
    TDM& dm() const;
    TDM* m_dm;
    std::unique_ptr<Pojazd> m_pierwszy;
    bool m_wczytany = false;
};

// The one index of the program (built empty, not loaded).
Pojazdy& IndeksPojazdow();
// Empties the program's index (start-up and exit of the fee engine).
void ZwolnijIndeksPojazdow();
// Makes every post of a vehicle in `dm` update the program's index.
void PodlaczIndeksPojazdow(TDM& dm);
