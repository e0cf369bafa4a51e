#pragma once
// The register of places of use: the place picker of the vehicle register
// (mode 1) and of the fuel-use window's other place of use (mode 2).

#include "OknoRejestru.h"

class TFMiejscaUzutk : public TOknoWyboru {
    Q_OBJECT
public:
    explicit TFMiejscaUzutk(QWidget* parent = nullptr);
    ~TFMiejscaUzutk() override;

    int Pokaz(int tryb);

    void BitBtn2Click() override;
};

extern TFMiejscaUzutk* FMiejscaUzutk;
