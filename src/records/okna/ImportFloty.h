#pragma once
// The fleet-card import window: opens the vendor's workbook, shows its rows,
// keeps the names of the columns the import reads, and imports the rows into
// the current period's fuel file. Rows that cannot be imported are listed in
// the editor window at the end.

#include "OknoRejestru.h"

#include "ImportFlotyLogika.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

class TModelArkuszaFloty;

class TFImportFloty : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TFImportFloty(QWidget* parent = nullptr);
    ~TFImportFloty() override;

    // Shows the window modally; afterwards a pending edit of the column names
    // is posted and the workbook closed. Returns the modal result.
    int Pokaz();

    void BitBtn1Click(); // "Otwórz plik FLOTY"
    void BitBtn2Click(); // "Importuj dane"
    void BitBtn3Click(); // "&Zamknij"
    bool SprawdzArkusz() { return Logika.SprawdzArkusz(); }

    // The import itself (connection template, errors flag, row steps).
    TImportFlotyLogika Logika;

    QTableView* DBGrid1 = nullptr;
    QCheckBox* ChBBuforPamieci = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QLabel* Naglowek = nullptr;

private:
    void odswiezSiatke();
    TModelArkuszaFloty* m_model = nullptr;
};

extern TFImportFloty* FImportFloty;

// The columns the grid shows, in order.
QStringList KolumnySiatkiFloty();
