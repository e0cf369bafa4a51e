#pragma once
// The dated quantity items of the current table A source, from which the
// entry window's "Wylicz" computes the source's quantity.

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFPozycjeIlosci : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFPozycjeIlosci(QWidget* parent = nullptr);
    ~TFPozycjeIlosci() override;

    // Shows the window modally; returns the modal result.
    int Pokaz();
    void BitBtn1Click();

    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBEdit* DBEdit1 = nullptr;
    kal::TDBEdit* DBEdit2 = nullptr;
    kal::TDBEdit* DBEdit3 = nullptr;
    kal::TDBEdit* DBEdit4 = nullptr;
    kal::TDBEdit* DBEdit5 = nullptr;
};

extern TFPozycjeIlosci* FPozycjeIlosci;
