#pragma once
// "Załącznik nr 1": the period's annex with the fees of each section, typed
// by the user, the calculated section totals, and its printout.

#include "OknoZestawienia.h"

class QPushButton;
class QLabel;

namespace kal {
class TDBEdit;
class TDBText;
} // namespace kal

class TFZalacznik1 : public TOknoZestawienia {
    Q_OBJECT
public:
    explicit TFZalacznik1(QWidget* parent = nullptr);
    ~TFZalacznik1() override;

    // Ensures the period's statement rows (-100 when that fails, nothing
    // shown), captions the window with the period and shows it modally;
    // returns the modal result.
    int Pokaz();
    // "Podgląd" and "Drukuj": posts the annex row and prints or previews it.
    void Drukuj(QAbstractButton* Sender);

    // Gives the three buttons the image store's pictures where they have
    // none yet; the other statement windows copy them from here.
    void WczytajObrazy();

    // The edit of a field of the annex row ("P11" .. "P42", "Rezerwa1").
    kal::TDBEdit* Edycja(const QString& pole) const;
    // The total of a section ("PI" .. "PIV").
    kal::TDBText* Suma(const QString& pole) const;

    QPushButton* BitBtn1 = nullptr;             // "&Zamknij"
    QPushButton* BitBDrukPrzMonitor = nullptr;  // "Podgląd"
    QPushButton* BitBDrukPrzDrukarka = nullptr; // "Drukuj"
    kal::TDBEdit* DBEdit1 = nullptr;            // P11

protected:
    void PoPrzejsciuEnterem() override;

private:
    class QScrollArea* m_przewijanie = nullptr;
};

extern TFZalacznik1* FZalacznik1;
