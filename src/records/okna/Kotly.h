#pragma once
// The boiler register: the boiler picker of the boiler-use window (mode 1).

#include "OknoRejestru.h"

namespace kal {
class TDBComboBox;
} // namespace kal

class TFKotly : public TOknoWyboru {
    Q_OBJECT
public:
    explicit TFKotly(QWidget* parent = nullptr);
    ~TFKotly() override;

    // Shows the register modally in mode `tryb`; the mode is 0 again
    // afterwards. Returns the modal result.
    int Pokaz(int tryb);

    kal::TDBComboBox* DBComboBox1 = nullptr;
    void BitBtn2Click() override;
};

extern TFKotly* FKotly;

// The 19 boiler kinds as the kind list offers them: code and description.
QStringList ListaRodzajowKotlow();
