#pragma once
// The parameters of the repairs list (year and months) or, with "Dane do
// przeglądów" ticked, of the inspection state of every vehicle.

#include "PrzyciskiWydruku.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;
class TDM;

class TFParWydrNaprawiPrzegl final : public QDialog {
    Q_OBJECT
public:
    explicit TFParWydrNaprawiPrzegl(TDM& dm, QWidget* parent = nullptr);

    // Sets the year and both months from today, shows the window modally.
    int Pokaz();
    // Runs the chosen report; the current vehicle stays current.
    void Drukuj(bool podglad);

    QSpinBox* CSRok = nullptr;
    QSpinBox* CSMcOd = nullptr;
    QSpinBox* CSMcDo = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    PrzyciskiWydruku Przyciski;

private:
    TDM& m_dm;
};

extern TFParWydrNaprawiPrzegl* FParWydrNaprawiPrzegl;
