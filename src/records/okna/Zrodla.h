#pragma once
// The register of emission sources: the source picker of the table A entry (mode 1).

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFZrodla : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFZrodla(QWidget* parent = nullptr);
    ~TFZrodla() override;

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

extern TFZrodla* FZrodla;
