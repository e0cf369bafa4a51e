#pragma once
// Entry of table A for the current commune row: its sources (with the raw
// materials and their quantity), the substances each source emits, and the
// fuels of the period; the printout of table A; the quantity items of a
// source and the source quantity computed from them.

#include "OknoRejestru.h"

#include <functional>

class QLabel;
class QPushButton;
class QSplitter;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
class TDBText;
} // namespace kal

// Prints (podglad false) or previews table A of every commune of the period
// (the table A report's PrzygotujIDrukuj); returns the total fee. Start-up
// installs it; while it is empty the print goes to the form registered as
// "QRWydrukTabeliA", or the plain box of a form not there yet.
extern std::function<double(bool podglad, bool tylkoSuma)> WydrukTabeliA;

class TFWprowadzanieTabeliA : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFWprowadzanieTabeliA(QWidget* parent = nullptr);
    ~TFWprowadzanieTabeliA() override;

    // Shows the window maximised and modally; returns the modal result.
    int Pokaz();

    void BitBtn1Click();               // "&Zamknij"
    void BitBtn2Click();               // the source register as picker
    void BitBtn3Click();               // the substance register as picker
    void BitBtn4Click();               // "Zużycie"
    void BitBtn5Click();               // "Wylicz"
    void Drukuj(QPushButton* Sender);  // "Podgląd" and "Drukuj"

    // Posts the sources, then the fuels, then the substances, each only once
    // the one before has left edit and insert state; false when one of them
    // is still pending.
    bool ZapiszPrzedAkcja();

    QSplitter* Splitter = nullptr;
    // sources
    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    kal::TDBLookupComboBox* DBLookupComboBox1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    kal::TDBEdit* DBEdit1 = nullptr;
    kal::TDBEdit* DBEdit2 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QLabel* LabelWydruk = nullptr;
    QPushButton* BBPodglad = nullptr;
    QPushButton* BBDrukuj = nullptr;
    QPushButton* BitBtn1 = nullptr;
    // substances
    kal::TDBNavigator* DBNavigator2 = nullptr;
    kal::TDBGrid* DBGrid2 = nullptr;
    kal::TDBLookupComboBox* DBLookupComboBox2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    kal::TDBEdit* DBEdit3 = nullptr;
    kal::TDBEdit* DBEdit4 = nullptr;
    kal::TDBEdit* DBEdit5 = nullptr;
    kal::TDBText* DBText1 = nullptr;
    kal::TDBText* DBText2 = nullptr;
    // fuels
    kal::TDBNavigator* DBNavigator3 = nullptr;
    kal::TDBGrid* DBGrid3 = nullptr;
    kal::TDBEdit* DBEdit6 = nullptr;
    kal::TDBEdit* DBEdit7 = nullptr;
    kal::TDBEdit* DBEdit8 = nullptr;
    kal::TDBEdit* DBEdit9 = nullptr;
    kal::TDBEdit* DBEdit10 = nullptr;

protected:
    // Asks about the sources, then (no Cancel so far) the substances, then the fuels.
    void FormClose(TCloseAction& Action) override;

private:
    void powiazSiatki(bool powiaz);
};

extern TFWprowadzanieTabeliA* FWprowadzanieTabeliA;
