#pragma once
// Table D of the statement: fuel burnt in engines, 117 cells in 32 vehicle
// rows, each with the quantity (Mg), the unit rate and the fee; the quantities
// may be computed from the half-year's fuel use.

#include "OknoZestawienia.h"

#include <QStringList>

#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QGridLayout;

namespace kal {
class TDBEdit;
}

// One cell of the window: its code and the fuel named beside it.
struct KomorkaOknaTabeliD {
    QString kod;
    QString paliwo;
};

// One row of table D as the window shows it: the row's text lines and
// its cells in cell order.
struct WierszOknaTabeliD {
    QStringList opis;
    std::vector<KomorkaOknaTabeliD> komorki;
};

// The 32 rows, row 1 first; their cells are the 117 table D cells in order.
const std::vector<WierszOknaTabeliD>& WierszeOknaTabeliD();

class TFTabelaD : public TOknoZestawienia {
    Q_OBJECT
public:
    explicit TFTabelaD(QWidget* parent = nullptr);
    ~TFTabelaD() override;

    // Ensures the period's statement rows (-100 when that fails), switches
    // the table D fee object on, computes the fees, shows the window
    // modally, and switches it off again; returns the modal result.
    int Pokaz();
    // With `przelicz` the fee object recomputes first; then every fee label
    // takes its cell's text.
    void Odswiez(bool przelicz);
    // "Podgląd" and "Drukuj".
    void Drukuj(QAbstractButton* Sender);
    // "Wylicz według zużycia": table D from the half-year's fuel use.
    void BitBtn2Click();

    kal::TDBEdit* EdycjaIlosci(const QString& kod) const;
    kal::TDBEdit* EdycjaStawki(const QString& kod) const;
    QLabel* Etykieta(const QString& kod) const;

    QPushButton* BitBtn1 = nullptr;             // "&Zamknij"
    QPushButton* BitBDrukPrzMonitor = nullptr;  // "Podgląd"
    QPushButton* BitBDrukPrzDrukarka = nullptr; // "Drukuj"
    QPushButton* BitBtn2 = nullptr;             // "Wylicz według zużycia"
    QLabel* LabelNaliczanie = nullptr;          // the busy label
    QScrollArea* ScrollBox1 = nullptr;
    kal::TDBEdit* DBEdit1 = nullptr;            // quantity of 1a

protected:
    void PoPrzejsciuEnterem() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Puts each column heading over its column of the grid.
    void UlozNaglowki();

    QWidget* m_naglowki = nullptr;
    std::vector<QLabel*> m_etykietyNaglowkow; // fuel, quantity, rate, fee
    QGridLayout* m_siatka = nullptr;
    std::vector<QLabel*> m_opisy; // each row's text
    std::vector<kal::TDBEdit*> m_ilosci;  // cell order
    std::vector<kal::TDBEdit*> m_stawki;
    std::vector<QLabel*> m_etykiety;
};

extern TFTabelaD* FTabelaD;
