#pragma once
// The parameters of the list of vehicles due for inspection.

#include "PrzyciskiWydruku.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

class TFSamochodyDoPrzegladu final : public QDialog {
    Q_OBJECT
public:
    // The first window made becomes `FSamochodyDoPrzegladu`.
    explicit TFSamochodyDoPrzegladu(QWidget* parent = nullptr);
    ~TFSamochodyDoPrzegladu() override;

    // Shows the window modally; the values stay from one show to the next.
    int Pokaz();
    void Drukuj(bool podglad);

    QSpinBox* CSDni = nullptr;
    QSpinBox* CSKm = nullptr;
    QCheckBox* ChBWszystkie = nullptr;
    PrzyciskiWydruku Przyciski;
};

extern TFSamochodyDoPrzegladu* FSamochodyDoPrzegladu;
