#pragma once
// The boiler fuel use of the current table C row: dated quantities per
// boiler, in the period's boiler-use file.

#include "OknoZestawienia.h"

#include "platform/ui/DBFieldLink.h"

class QLabel;
class QPushButton;

namespace kal {
class TDBCheckBox;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
} // namespace kal

// The unit in which the quantity of a boiler of kind `kod` is entered, as the
// table C summation takes it: "Mg" for coal, coke and wood; "l" for the oils
// and propane-butane, which go to Mg through their density, or "Mg" when the
// quantity is already in Mg (`wTonach`); "10⁶ m³" for natural gas. Empty for a
// code that is not a boiler kind.
QString JednostkaIlosciKotla(int kod, bool wTonach);

class TFZuzycieKotla : public TOknoZestawienia {
    Q_OBJECT
public:
    explicit TFZuzycieKotla(QWidget* parent = nullptr);
    ~TFZuzycieKotla() override;

    // Switches the boiler use to the period's file (-2 when that fails,
    // nothing shown), shows the window modally with its grid bound; returns
    // the modal result.
    int Pokaz();
    // "···": the boiler picker for the current boiler-use record.
    void Button1Click();

    QPushButton* BitBtn1 = nullptr; // "&Zamknij"
    kal::TDBNavigator* DBNavigator1 = nullptr;
    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBEdit* DBEdit1 = nullptr; // DataZuzycia
    kal::TDBEdit* DBEdit2 = nullptr; // Ilosc
    kal::TDBEdit* DBEdit3 = nullptr; // Uwagi
    kal::TDBLookupComboBox* DBLookupComboBox1 = nullptr; // OpisKotla
    QPushButton* Button1 = nullptr;  // "···"
    kal::TDBCheckBox* DBCheckBox1 = nullptr; // "Ilość przeliczona na Mg"
    QLabel* LabelJednostki = nullptr;        // the unit beside the quantity

private:
    // The unit follows the current record's boiler and its "in Mg" tick.
    void PokazJednostke();
    kal::TFieldDataLink m_rodzajKotla;
};

extern TFZuzycieKotla* FZuzycieKotla;
