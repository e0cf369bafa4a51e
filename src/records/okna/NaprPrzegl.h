#pragma once
// Repairs and inspections of the current vehicle.

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBMemo;
class TDBNavigator;
} // namespace kal

class TFNaprPrzegl : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFNaprPrzegl(QWidget* parent = nullptr);
    ~TFNaprPrzegl() override;

    int Pokaz();

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "&Zamknij"
    QPushButton* BitBtn10 = nullptr; // "Drukuj"
    kal::TDBEdit* DBEdit1 = nullptr; // date
    kal::TDBMemo* DBMemo1 = nullptr; // scope of work
    kal::TDBMemo* DBMemo2 = nullptr; // parts bought

    void BitBtn1Click();
    void BitBtn10Click();
};

extern TFNaprPrzegl* FNaprPrzegl;
