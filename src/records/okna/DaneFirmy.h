#pragma once
// The company window: the name, address, NIP, REGON and telephone of the
// current company, saved with "Zapisz" or dropped with "Porzuć".

#include "OknoRejestru.h"

class QPushButton;

namespace kal {
class TDBEdit;
} // namespace kal

class TFDaneFirmy : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFDaneFirmy(QWidget* parent = nullptr);
    ~TFDaneFirmy() override;

    // Shows the window modally (the argument is not used); a pending change
    // left at the end is dropped. With no company yet, a new one is begun.
    int Pokaz(int tryb = 0);

    kal::TDBEdit* DBEdit1 = nullptr; // Nazwa1
    kal::TDBEdit* DBEdit2 = nullptr; // Nazwa2
    kal::TDBEdit* DBEdit3 = nullptr; // Adres1
    kal::TDBEdit* DBEdit4 = nullptr; // Adres2
    kal::TDBEdit* DBEdit5 = nullptr; // NIP
    kal::TDBEdit* DBEdit6 = nullptr; // REGON
    kal::TDBEdit* DBEdit7 = nullptr; // Telefon
    QPushButton* BitBtn1 = nullptr;  // "Zapisz"
    QPushButton* BitBtn2 = nullptr;  // "Porzuć"

    void BitBtn1Click();
    void BitBtn2Click();
};

extern TFDaneFirmy* FDaneFirmy;
