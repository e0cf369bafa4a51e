#pragma once
// The program's windows as the main window sees them.
//
// Every window is created hidden at start-up, in one order kept by the
// start-up code (src/app), and lives to the end of the run. A window is a
// top-level widget whose object name is its instance name ("FZalacznik1"),
// and its controls carry their own names ("DBGrid1", "BitBDrukPrzMonitor").
// The main window lives below the statement and printout windows, so it
// reaches them only through what the start-up registers here: the show
// operation of each window it opens and the print routine of each report
// form it prints. A window or form that is not registered yet is answered
// with a plain box, so nothing breaks while the program grows.

#include <QString>

#include <functional>

class QWidget;

// A window's show operation: takes the mode (`tryb`), returns the window's
// result (ignored by the main window).
using PokazOknaFn = std::function<int(int tryb)>;
// Prints (`podglad` false) or previews a report form under a title.
using DrukFormularzaFn = std::function<void(bool podglad, const QString& tytul)>;

// The text of the box for a window or form that is not there yet.
extern const QString TekstOknoNiedostepne;

void ZarejestrujOkno(const QString& okno, PokazOknaFn pokaz);
void ZarejestrujWydruk(const QString& formularz, DrukFormularzaFn drukuj);
bool OknoZarejestrowane(const QString& okno);
bool WydrukZarejestrowany(const QString& formularz);
// Forgets everything registered (the end of the run; tests).
void WyczyscRejestrOkien();

// Shows the window `okno` with the mode and returns its result; a window that
// is not registered shows the plain box and gives 0.
int PokazOkno(const QString& okno, int tryb = 0);
// Prints or previews the report form `formularz`; a form that is not
// registered shows the plain box.
void DrukujFormularz(const QString& formularz, bool podglad, const QString& tytul);

// The top-level window of that object name, or nullptr.
QWidget* ZnajdzOkno(const QString& okno);

// Unbinds the data-aware grids of the hidden windows (the main window's first
// activation); each window binds its grids again while it is shown. The list
// of windows and grids is kept in one place (Okna.cpp); windows that do not
// exist yet are skipped. Calling it again does no harm.
void OdlaczZrodlaDanych();
