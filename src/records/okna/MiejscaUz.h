#pragma once
// The register of places of use: the place picker of the vehicle register
// (mode 1) and of the fuel-use window's other place of use (mode 2).

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFMiejscaUzutk : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFMiejscaUzutk(QWidget* parent = nullptr);
    ~TFMiejscaUzutk() override;

    int Pokaz(int tryb);

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"
    QPushButton* BitBtn2 = nullptr; // "&Użyj"

    void BitBtn1Click();
    void BitBtn2Click();
};

extern TFMiejscaUzutk* FMiejscaUzutk;
