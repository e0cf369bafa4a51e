#pragma once
// The parameters of the repairs list (year and months) or, with "Dane do
// przeglądów" ticked, of the inspection state of every vehicle.

#include "OknoParametrowWydruku.h"

class QCheckBox;
class QSpinBox;

class TFParWydrNaprawiPrzegl final : public TOknoParametrowWydruku {
    Q_OBJECT
public:
    // `dm` null: the program's data module. The first window made becomes
    // `FParWydrNaprawiPrzegl`.
    explicit TFParWydrNaprawiPrzegl(TDM* dm = nullptr, QWidget* parent = nullptr);
    ~TFParWydrNaprawiPrzegl() override;

    // Sets the year and both months from today, shows the window modally.
    int Pokaz();
    // Runs the chosen report; the current vehicle stays current.
    void Drukuj(bool podglad) override;

    QSpinBox* CSRok = nullptr;
    QSpinBox* CSMcOd = nullptr;
    QSpinBox* CSMcDo = nullptr;
    QCheckBox* CheckBox1 = nullptr;
};

extern TFParWydrNaprawiPrzegl* FParWydrNaprawiPrzegl;
