#pragma once
// The parameters of the fuel-use list: refuelling place, place of use,
// registration number and months.

#include "OknoParametrowWydruku.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

class TFParWydrZuzMiejTank final : public TOknoParametrowWydruku {
    Q_OBJECT
public:
    // `dm` null: the program's data module. The first window made becomes
    // `FParWydrZuzMiejTank`.
    explicit TFParWydrZuzMiejTank(TDM* dm = nullptr, QWidget* parent = nullptr);
    ~TFParWydrZuzMiejTank() override;

    // Binds the grids, sets the months from the current half-year, shows the
    // window modally and unbinds the grids. Returns the modal result.
    int Pokaz();
    void Drukuj(bool podglad) override;

    kal::TDBGrid* DBGrid1 = nullptr;
    QCheckBox* ChBWszystkieMiejscaTankowania = nullptr;
    kal::TDBGrid* DBGrid2 = nullptr;
    QCheckBox* ChBWszystkieMiejscaUzytkowania = nullptr;
    QLineEdit* EdNumerRejestracyjny = nullptr;
    QSpinBox* CSEOd = nullptr;
    QSpinBox* CSEDo = nullptr;
};

extern TFParWydrZuzMiejTank* FParWydrZuzMiejTank;
