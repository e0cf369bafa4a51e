#pragma once
// Table C of the statement for one commune: fuel burnt in boilers, 19
// positions with the number of boilers, the quantity, the unit rate and the
// fee; the quantities may be read in from the recorded boiler use.

#include "OknoZestawienia.h"

#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;

namespace kal {
class TDBEdit;
}

// One position of the window: its field, the fee label's name, the group
// heading that starts before it (empty if none) and its texts.
struct PozycjaOknaTabeliC {
    QString pole;
    QString etykieta;
    QString grupa;
    QString opis;
    QString moc; // the power band of a split position, or empty
};

// The 19 positions in fee order.
const std::vector<PozycjaOknaTabeliC>& PozycjeOknaTabeliC();

class TFTabelaC : public TOknoZestawienia {
    Q_OBJECT
public:
    explicit TFTabelaC(QWidget* parent = nullptr);
    ~TFTabelaC() override;

    // For the current table C row: ensures the period's statement rows (-100
    // when that fails), switches the table C fee object on, computes, shows
    // modally and switches it off again; returns the modal result.
    int Pokaz();
    // The 19 fee labels take the texts of the table C fee object.
    void Odswiez();
    void Drukuj(QAbstractButton* Sender);
    // "Zużycie": the boiler use of the current commune.
    void ZuzycieKlik();
    // "Wczytaj": the quantities from the boiler use.
    void BitBtn3Click();

    kal::TDBEdit* EdycjaIlosci(const QString& pole) const;
    kal::TDBEdit* EdycjaStawki(const QString& pole) const;
    kal::TDBEdit* EdycjaLiczbyKotlow(const QString& pole) const;
    QLabel* Etykieta(const QString& pole) const;

    QPushButton* BitBtn1 = nullptr;             // "&Zamknij"
    QPushButton* BitBDrukPrzMonitor = nullptr;  // "Podgląd"
    QPushButton* BitBDrukPrzDrukarka = nullptr; // "Drukuj"
    QPushButton* BitBtn2 = nullptr;             // "Zużycie"
    QPushButton* BitBtn3 = nullptr;             // "Wczytaj"
    kal::TDBEdit* DBEditGminy = nullptr;        // NazwaGminy
    kal::TDBEdit* DBEdit1 = nullptr;            // quantity of I1

protected:
    void PoPrzejsciuEnterem() override;

private:
    int indeks(const QString& pole) const;

    QScrollArea* m_przewijanie = nullptr;
    std::vector<kal::TDBEdit*> m_liczby;
    std::vector<kal::TDBEdit*> m_ilosci;
    std::vector<kal::TDBEdit*> m_stawki;
    std::vector<QLabel*> m_etykiety;
};

extern TFTabelaC* FTabelaC;
