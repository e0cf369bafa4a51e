#pragma once
// The main window: the user picks the company and the reporting period, opens
// the statement windows and the registers, and prints or previews the
// half-year settlement and the table C commune summary. Closing it ends the
// program.

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBNavigator;
class TTable;
} // namespace kal

class TFGlowny final : public QWidget {
    Q_OBJECT
public:
    // Builds the window (hidden), sets the zero tolerance `ProgZera` and
    // installs the application's input hook. Touches no table: the data
    // module does not exist yet.
    explicit TFGlowny(QWidget* parent = nullptr);
    ~TFGlowny() override;

    // Binds the grids, the navigator and the edits to the data module's
    // company and period tables (the start-up calls it once `DM` exists).
    void PowiazZrodla();

    // ---- handlers ------------------------------------------------------
    // The first activation: unbinds the hidden windows' grids and gives the
    // printout buttons their glyphs. Later activations do nothing.
    void FormActivate();
    // True when the window may close: refused while a modal window is open,
    // else the pending company and period changes are posted (a failing
    // post raises and keeps the window) and the user is asked.
    bool FormCloseQuery();
    void DBGrid1DblClick();
    void Image3Click();
    // The launchers BitBtn1 .. BitBtn6 and BitBtn11, told apart by Sender.
    void BitBtn1Click(QObject* Sender);
    // The settlement pair (BitBtn7 preview, BitBtn8 print) and the table C
    // summary pair (BitBtn9 preview, BitBtn10 print).
    void RozliczenieOplatPolrocza(QObject* Sender);
    void BitBtn12Click();

    bool PierwszaAktywacja() const { return m_pierwszaAktywacja; }

    // ---- components ----------------------------------------------------
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QLabel* Image3 = nullptr;
    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    kal::TDBGrid* DBGrid2 = nullptr;
    kal::TDBEdit* DBEdit1 = nullptr;
    kal::TDBEdit* DBEdit2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn6 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QPushButton* BitBtn8 = nullptr;
    QPushButton* BitBtn9 = nullptr;
    QPushButton* BitBtn10 = nullptr;
    QPushButton* BitBtn11 = nullptr;
    QPushButton* BitBtn12 = nullptr;
    QFrame* Panel5 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Panel6 = nullptr;
    QLabel* Label3 = nullptr;

signals:
    // The close was allowed: the program's loop ends.
    void zamkniete();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void zbuduj();
    // Posts `TFirma`, then `TOkres`, when in edit or insert state; a refused
    // post raises (the data module has shown why).
    void zapiszFirmeIOkres();
    // True when no pending change of the company or the period is left.
    bool firmaIOkresZapisane() const;

    bool m_pierwszaAktywacja = true;
    bool m_wysrodkowane = false;
};

// The main window, created first at start-up.
extern TFGlowny* FGlowny;
