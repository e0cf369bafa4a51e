#pragma once
// The register of refuelling places: the refuelling place picker of the
// fuel-use window (mode 1).

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFMiejscaTankowania : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFMiejscaTankowania(QWidget* parent = nullptr);
    ~TFMiejscaTankowania() override;

    int Pokaz(int tryb);

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"
    QPushButton* BitBtn2 = nullptr; // "&Użyj"

    void BitBtn1Click();
    void BitBtn2Click();
};

extern TFMiejscaTankowania* FMiejscaTankowania;
