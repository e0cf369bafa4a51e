#pragma once
// The boiler register: the boiler picker of the boiler-use window (mode 1).

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBComboBox;
class TDBNavigator;
} // namespace kal

class TFKotly : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFKotly(QWidget* parent = nullptr);
    ~TFKotly() override;

    // Shows the register modally in mode `tryb`; the mode is 0 again
    // afterwards. Returns the modal result.
    int Pokaz(int tryb);

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"
    QPushButton* BitBtn2 = nullptr; // "&Użyj"
    kal::TDBComboBox* DBComboBox1 = nullptr;
    void BitBtn1Click();
    void BitBtn2Click();
};

extern TFKotly* FKotly;

// The 19 boiler kinds as the kind list offers them: code and description.
QStringList ListaRodzajowKotlow();
