#pragma once
// The boiler fuel use of the current table C row: dated quantities per
// boiler, in the period's boiler-use file.

#include "OknoZestawienia.h"

class QPushButton;

namespace kal {
class TDBCheckBox;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
} // namespace kal

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
};

extern TFZuzycieKotla* FZuzycieKotla;
