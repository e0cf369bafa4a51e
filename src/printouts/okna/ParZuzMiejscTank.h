#pragma once
// The parameters of the fuel-use list: refuelling place, place of use,
// registration number and months.

#include "PrzyciskiWydruku.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;
class TDM;

namespace kal {
class TDBGrid;
}

class TFParWydrZuzMiejTank final : public QDialog {
    Q_OBJECT
public:
    explicit TFParWydrZuzMiejTank(TDM& dm, QWidget* parent = nullptr);

    // Binds the grids, sets the months from the current half-year, shows the
    // window modally and unbinds the grids. Returns the modal result.
    int Pokaz();
    void Drukuj(bool podglad);

    kal::TDBGrid* DBGrid1 = nullptr;
    QCheckBox* ChBWszystkieMiejscaTankowania = nullptr;
    kal::TDBGrid* DBGrid2 = nullptr;
    QCheckBox* ChBWszystkieMiejscaUzytkowania = nullptr;
    QLineEdit* EdNumerRejestracyjny = nullptr;
    QSpinBox* CSEOd = nullptr;
    QSpinBox* CSEDo = nullptr;
    PrzyciskiWydruku Przyciski;

private:
    TDM& m_dm;
};

extern TFParWydrZuzMiejTank* FParWydrZuzMiejTank;
