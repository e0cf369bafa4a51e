#pragma once
// What the parameter windows of the lists share: the dialog with its
// parameters above a row of three buttons, "Podgląd" and "Drukuj" (or
// "Wydruk") running the window's `Drukuj` under the exception guard and
// "&Zamknij" closing it; the data module the window works on; and the modal
// show with the button images and with its grids bound only for the time of
// the show.

#include "PrzyciskiWydruku.h"

#include <QDialog>

#include <initializer_list>
#include <utility>

class QSpinBox;
class QVBoxLayout;
class TDM;

namespace kal {
class TDBGrid;
class TDataSource;
} // namespace kal

class TOknoParametrowWydruku : public QDialog {
    Q_OBJECT
public:
    // Prints the list with the window's choices, or previews it.
    virtual void Drukuj(bool podglad) = 0;

    PrzyciskiWydruku Przyciski;

protected:
    // `dm` null: the program's data module.
    TOknoParametrowWydruku(TDM* dm, QWidget* parent, const QString& nazwa, const QString& tytul);

    // The window's layout: the parameters go in first, then the buttons.
    QVBoxLayout* Uklad() const { return m_uklad; }
    // Adds the row of buttons under the parameters.
    void DodajPrzyciski(const QString& nazwaPodgladu = QStringLiteral("BitBtn9"),
                        const QString& nazwaDruku = QStringLiteral("BitBtn10"),
                        const QString& tekstDruku = QStringLiteral("Drukuj"));

    // A read-only grid of whole rows with titles and the row indicator.
    kal::TDBGrid* NowaSiatka(const QString& nazwa);
    // A spin edit limited to `od`..`doWlacznie`.
    QSpinBox* NowePoleLiczby(const QString& nazwa, int od, int doWlacznie);

    // Binds each grid to its data source, gives the buttons their images
    // when asked, shows the window modally and unbinds the grids again.
    // Returns the modal result.
    int PokazModalnie(std::initializer_list<std::pair<kal::TDBGrid*, kal::TDataSource*>> siatki = {},
                      bool obrazy = true);

    TDM& dm() const;

private:
    TDM* m_dm;
    QVBoxLayout* m_uklad;
};
