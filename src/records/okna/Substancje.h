#pragma once
// The substance register: the substance picker of the table A entry (mode 1).

#include "OknoRejestru.h"

class TFSubstancje : public TOknoWyboru {
    Q_OBJECT
public:
    explicit TFSubstancje(QWidget* parent = nullptr);
    ~TFSubstancje() override;

    // Shows the register modally in mode `tryb`; the mode is 0 again
    // afterwards. Returns the modal result.
    int Pokaz(int tryb);

    void BitBtn2Click() override;
};

extern TFSubstancje* FSubstancje;
