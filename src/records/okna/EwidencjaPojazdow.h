#pragma once
// The vehicle register: browse and edit the company's vehicles; also the
// vehicle picker of the fuel-use window (mode 1) and the completion of a
// vehicle that the fleet-card import has just inserted (mode 2).

#include "OknoRejestru.h"

#include "Dane.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace kal {
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TDBNavigator;
} // namespace kal

class TFEwidencjaPojazdow : public TOknoRejestru, public IOknoPojazdow {
    Q_OBJECT
public:
    explicit TFEwidencjaPojazdow(QWidget* parent = nullptr);
    ~TFEwidencjaPojazdow() override;

    // Shows the register modally in mode `tryb`; returns the modal result.
    int Pokaz(int tryb);

    // What the data module asks of the window.
    void UstawFokusNaMarke() override;
    void WlaczWyszukiwanie(bool wlaczone) override;

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "&Zamknij"
    QPushButton* BitBtn2 = nullptr;  // "&Użyj"
    QPushButton* BitBtn3 = nullptr;  // "Szukaj"
    QPushButton* BitBtn4 = nullptr;  // "Przebieg"
    QPushButton* BitBtn5 = nullptr;  // "Naprawy i przeglądy"
    QPushButton* BitBtn10 = nullptr; // "Drukuj"
    QPushButton* Button1 = nullptr;  // "···" beside the place of use
    QLineEdit* Edit1 = nullptr;      // registration number searched for
    QFrame* Panel3 = nullptr;        // info panel of mode 2
    QScrollArea* ScrollBox1 = nullptr;
    kal::TDBComboBox* DBComboBox1 = nullptr; // kind
    kal::TDBEdit* DBEdit1 = nullptr;         // make
    kal::TDBEdit* DBEdit2 = nullptr;         // registration number
    kal::TDBLookupComboBox* DBLookupComboBox1 = nullptr; // place of use
    kal::TDBComboBox* DBComboBox2 = nullptr; // Euro class
    kal::TDBComboBox* DBComboBox3 = nullptr; // factory gas installation

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn10Click();
    void Button1Click();

protected:
    void PoPrzejsciuEnterem() override;
    // A new vehicle is typed from its make on.
    QWidget* PierwszePoleNowegoRekordu(kal::TDataSource* zrodlo) override;
};

extern TFEwidencjaPojazdow* FEwidencjaPojazdow;

// The eleven vehicle kinds as the kind list offers them.
QStringList ListaRodzajowPojazdow();

// The registration search shared by the vehicle and fuel-use windows: walks
// `tabela` from its first row and stops at the first whose `nrRej`, upper-
// cased and without blanks, contains the search text treated the same way.
// Without a match (an empty text never matches) the "not found" box is shown
// and the table stays on its last row.
bool SzukajNumeruRejestracyjnego(kal::TTable* tabela, kal::TField* nrRej, const QString& tekst);

// The check before a register of a vehicle's rows (mileage, repairs) opens:
// a pending vehicle is posted first, and without a vehicle nothing opens.
bool PojazdGotowyDoRejestru();
