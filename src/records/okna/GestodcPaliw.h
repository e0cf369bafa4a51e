#pragma once
// The fuel density register: the density of each fuel, edited in the grid.
// Closing it makes the fee engine read the densities again.

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBGrid;
class TDBNavigator;
} // namespace kal

class TFGestoscPakiw : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFGestoscPakiw(QWidget* parent = nullptr);
    ~TFGestoscPakiw() override;

    int Pokaz();

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"

    void BitBtn1Click();

protected:
    // An edited density is saved without a question.
    void FormClose(TCloseAction& Action) override;
};

extern TFGestoscPakiw* FGestoscPakiw;
