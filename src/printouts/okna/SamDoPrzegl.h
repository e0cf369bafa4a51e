#pragma once
// The parameters of the list of vehicles due for inspection.

#include "OknoParametrowWydruku.h"

class QCheckBox;
class QSpinBox;

class TFSamochodyDoPrzegladu final : public TOknoParametrowWydruku {
    Q_OBJECT
public:
    // The first window made becomes `FSamochodyDoPrzegladu`.
    explicit TFSamochodyDoPrzegladu(QWidget* parent = nullptr);
    ~TFSamochodyDoPrzegladu() override;

    // Shows the window modally; the values stay from one show to the next.
    int Pokaz();
    void Drukuj(bool podglad) override;

    QSpinBox* CSDni = nullptr;
    QSpinBox* CSKm = nullptr;
    QCheckBox* ChBWszystkie = nullptr;
};

extern TFSamochodyDoPrzegladu* FSamochodyDoPrzegladu;
