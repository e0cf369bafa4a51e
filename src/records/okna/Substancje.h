#pragma once
// The substance register: the substance picker of the table A entry (mode 1).

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFSubstancje : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFSubstancje(QWidget* parent = nullptr);
    ~TFSubstancje() override;

    // Shows the register modally in mode `tryb`; the mode is 0 again
    // afterwards. Returns the modal result.
    int Pokaz(int tryb);

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"
    QPushButton* BitBtn2 = nullptr; // "&Użyj"

    void BitBtn1Click();
    void BitBtn2Click();
};

extern TFSubstancje* FSubstancje;
