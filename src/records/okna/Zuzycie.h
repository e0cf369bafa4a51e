#pragma once
// The fuel-use register: the current company's fuel purchases of the current
// half-year, kept in that half-year's own file.

#include "OknoRejestru.h"

class QLineEdit;
class QPushButton;

namespace kal {
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
} // namespace kal

class TFZuzycie : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFZuzycie(QWidget* parent = nullptr);
    ~TFZuzycie() override;

    // Switches the fuel table to the current period's file and shows the
    // window modally; -1 (and no window) when that file cannot be opened.
    int Pokaz();

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "&Zamknij"
    QPushButton* BitBtn2 = nullptr;  // "Import FLOTA", shown once "Orlen.xls" has been seen
    QPushButton* BitBtn3 = nullptr;  // "Szukaj"
    QPushButton* BitBtn10 = nullptr; // "Drukuj"
    QPushButton* Button1 = nullptr;  // "···" beside the vehicle
    QPushButton* Button2 = nullptr;  // "···" beside the refuelling place
    QPushButton* Button3 = nullptr;  // "···" beside the other place of use
    QLineEdit* Edit1 = nullptr;
    kal::TDBLookupComboBox* DBLookupComboBox1 = nullptr; // vehicle
    kal::TDBLookupComboBox* DBLookupComboBox2 = nullptr; // refuelling place
    kal::TDBLookupComboBox* DBLookupComboBox3 = nullptr; // other place of use
    kal::TDBComboBox* DBComboBox1 = nullptr;             // fuel kind
    kal::TDBEdit* DBEdit1 = nullptr;                     // date of refuelling

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn10Click();
    // The three "···" buttons, told apart by `Sender`.
    void Button1Click(QObject* Sender);
};

extern TFZuzycie* FZuzycie;

// The nine fuel kinds of a fuel record as the fuel kind list offers them.
QStringList ListaRodzajowPaliwa();
