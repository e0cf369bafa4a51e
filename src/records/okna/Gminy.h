#pragma once
// The commune register: the commune picker of the table A commune window (mode 1).

#include "OknoRejestru.h"

class TFGminy : public TOknoWyboru {
    Q_OBJECT
public:
    explicit TFGminy(QWidget* parent = nullptr);
    ~TFGminy() override;

    // Shows the register modally in mode `tryb`; the mode is 0 again
    // afterwards. Returns the modal result.
    int Pokaz(int tryb);

    void BitBtn2Click() override;
};

extern TFGminy* FGminy;
