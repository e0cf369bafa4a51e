#pragma once
// The register of refuelling places: the refuelling place picker of the
// fuel-use window (mode 1).

#include "OknoRejestru.h"

class TFMiejscaTankowania : public TOknoWyboru {
    Q_OBJECT
public:
    explicit TFMiejscaTankowania(QWidget* parent = nullptr);
    ~TFMiejscaTankowania() override;

    int Pokaz(int tryb);

    void BitBtn2Click() override;
};

extern TFMiejscaTankowania* FMiejscaTankowania;
