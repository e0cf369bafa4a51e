#pragma once
// The communes of table A for the current period: the commune picked from the
// commune register, its district and the address of the place of use. From
// here the entry window of the commune's sources opens.

#include "OknoRejestru.h"

class QLabel;
class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
} // namespace kal

class TFTabelaAGmina : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFTabelaAGmina(QWidget* parent = nullptr);
    ~TFTabelaAGmina() override;

    // Shows the window modally; returns the modal result.
    int Pokaz();

    void BitBtn1Click(); // "&Zamknij"
    void BitBtn2Click(); // the commune register as picker
    void BitBtn3Click(); // "Edycja Tabeli A"

    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBLookupComboBox* DBLookupComboBox1 = nullptr;
    kal::TDBEdit* DBEdit1 = nullptr;
    kal::TDBEdit* DBEdit2 = nullptr;
    QLabel* Label4 = nullptr;
};

extern TFTabelaAGmina* FTabelaAGmina;
