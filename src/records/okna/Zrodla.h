#pragma once
// The register of emission sources: the source picker of the table A entry (mode 1).

#include "OknoRejestru.h"

class TFZrodla : public TOknoWyboru {
    Q_OBJECT
public:
    explicit TFZrodla(QWidget* parent = nullptr);
    ~TFZrodla() override;

    // Shows the register modally in mode `tryb`; the mode is 0 again
    // afterwards. Returns the modal result.
    int Pokaz(int tryb);

    void BitBtn2Click() override;
};

extern TFZrodla* FZrodla;
