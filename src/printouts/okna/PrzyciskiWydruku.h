#pragma once
// The three buttons every parameter window of the lists has: "Podgląd",
// "Drukuj" (or "Wydruk") and "&Zamknij", with the program's images.

#include <QPushButton>
#include <QString>

class QDialog;
class QHBoxLayout;

struct PrzyciskiWydruku {
    QPushButton* podglad = nullptr;
    QPushButton* drukuj = nullptr;
    QPushButton* zamknij = nullptr;
};

// Creates the buttons in `uklad`, named as given; "&Zamknij" rejects `okno`.
PrzyciskiWydruku UtworzPrzyciski(QDialog* okno, QHBoxLayout* uklad, const QString& nazwaPodgladu,
                                 const QString& nazwaDruku, const QString& tekstDruku, const QString& nazwaZamkniecia);
// Gives the buttons the images of the image store's "Zamknij", "Monitor"
// and "Drukuj" (the style's images while there is no store).
void UstawObrazy(const PrzyciskiWydruku& p);
