#pragma once
// The program's entry routine and the objects it creates.

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// One object of the program in the creation order: its instance name and how
// it is made. The maker creates the object hidden, sets its global instance
// pointer, registers what the main window needs of it (Okna.h), and returns
// the ownership; freeing clears the global pointer. An object whose class is
// not built yet has no maker and is skipped.
struct OpisObiektu {
    const char* nazwa;
    std::function<std::shared_ptr<void>()> utworz;
};

// Every object of the program in creation order: the main window, the data
// module, the windows and the report forms, 41 in all.
const std::vector<OpisObiektu>& KolejnoscTworzenia();

// The objects created so far; freed in reverse order.
class ObiektyProgramu {
public:
    ObiektyProgramu() = default;
    ~ObiektyProgramu();
    ObiektyProgramu(const ObiektyProgramu&) = delete;
    ObiektyProgramu& operator=(const ObiektyProgramu&) = delete;

    // Creates the objects in order. An exception of a maker propagates; the
    // objects made before it stay.
    void Utworz();
    // Frees them, the last created first, and forgets the registrations.
    void Zwolnij();
    // Instance names of the objects made, in order.
    QStringList Utworzone() const;

private:
    std::vector<std::pair<QString, std::shared_ptr<void>>> m_obiekty;
};

// The entry routine: one instance per user (a second start ends at once with
// 0), the application object, the objects in their order under the
// exception guard, the message loop until the main window closes. Returns 0
// on every path.
int UruchomKalmore(int argc, char** argv);
