#pragma once
// The mileage register of the current vehicle: dated odometer readings,
// edited in the grid.

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFPrzebieg : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFPrzebieg(QWidget* parent = nullptr);
    ~TFPrzebieg() override;

    int Pokaz();

    kal::TDBGrid* DBGrid1 = nullptr; // stays bound to the mileage rows
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"

    void BitBtn1Click();
};

extern TFPrzebieg* FPrzebieg;

// Registration number, make and kind text of the current vehicle, as the
// captions of its mileage and repairs windows show them.
QString OpisBiezacegoPojazdu();
