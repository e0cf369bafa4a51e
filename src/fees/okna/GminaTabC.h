#pragma once
// The communes of table C for the current period: one table C row per
// commune, its name edited in the grid; "Edycja tabeli &C" opens table C for
// the current row.

#include "OknoZestawienia.h"

class QPushButton;

namespace kal {
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFGminaDoTabeliC : public TOknoZestawienia {
    Q_OBJECT
public:
    explicit TFGminaDoTabeliC(QWidget* parent = nullptr);
    ~TFGminaDoTabeliC() override;

    // Shows the window modally; returns the modal result.
    int Pokaz();
    // "Edycja tabeli &C".
    void BitBtn3Click();

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"
    QPushButton* BitBtn3 = nullptr; // "Edycja tabeli &C"
};

extern TFGminaDoTabeliC* FGminaDoTabeliC;
