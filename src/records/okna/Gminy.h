#pragma once
// The commune register: the commune picker of the table A commune window (mode 1).

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFGminy : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFGminy(QWidget* parent = nullptr);
    ~TFGminy() override;

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

extern TFGminy* FGminy;
