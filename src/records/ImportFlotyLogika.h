#pragma once
// The fleet-card import without its window: the workbook exported by the fuel
// vendor is opened as the sheet "EXP_ZESTAW_TRANS_FLOTY_OKROJONY$", checked for
// the seven columns named in `TPolaExcel`, and each usable row becomes one fuel
// record of `TZuzycie` (the table already switched to the period's file). A
// vehicle the register does not know is inserted and completed by the user in
// the vehicle register; rows that cannot be imported go to the error log.
//
// The window (TFImportFloty) wires the hooks: the completion window, the error
// log of the editor window.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace kal {
class Cell;
class Sheet;
class TField;
class Workbook;
} // namespace kal

// The sheet the vendor's export holds, addressed as a table.
QString NazwaArkuszaFloty();
// The connection string the window is designed with.
QString DomyslnySzablonPolaczenia();
// What the user is told when the sheet of `plik` was read only in part.
QString KomunikatNiepelnegoArkusza(const QString& plik, const kal::Sheet& arkusz);

// The registration-number index: the vehicle id for a registration number, or
// -2 when none has it. Start-up installs the fee engine's index here; while
// nothing is installed the import reads the vehicle numbers itself, once per
// import and again after each vehicle it adds (the first vehicle in the
// table's order whose number matches by PorownajBezSpacji).
extern std::function<int(const QString& nrRejestracyjny)> ZnajdzIdentyfikatorPojazdu;

class TImportFlotyLogika {
public:
    TImportFlotyLogika();
    ~TImportFlotyLogika();
    TImportFlotyLogika(const TImportFlotyLogika&) = delete;
    TImportFlotyLogika& operator=(const TImportFlotyLogika&) = delete;

    // The connection-string template; every open starts from it.
    QString SzablonPolaczenia;
    // True once the current import has written an entry to the log.
    bool SaBledy = false;
    // Look vehicles up through the registration-number index instead of a
    // scan of the vehicle table.
    bool BuforPamieci = false;

    // The completion of a vehicle just inserted into `TPojazdy` (the vehicle
    // register shown in its fleet mode); returns when the user has closed it.
    std::function<void()> UzupelnijPojazd;
    // The error log: cleared at the start of an import, then line by line.
    std::function<void()> OnWyczyscLog;
    std::function<void(const QString& linia)> OnDopiszDoLogu;

    // ---- the workbook ---------------------------------------------------
    // Builds the connection for `sciezka` (the template's "Orlen.xls"
    // replaced by the file's full path) and opens the sheet. False, after the
    // connection message, when the template names no "Orlen.xls", and after
    // a message naming the rows read when the file is damaged or incomplete
    // (its sheet declares rows or cells that could not be read): such a file
    // is not opened and nothing of it can be imported. A file that cannot be
    // read at all raises the reader's exception. Nothing stays open after a
    // failure.
    bool Otworz(const QString& sciezka);
    // Closes the sheet and disconnects.
    void Zamknij();
    bool Otwarty() const { return m_arkusz != nullptr; }
    const kal::Sheet* Arkusz() const { return m_arkusz; }
    // The connection string of the last open.
    const QString& Polaczenie() const { return m_polaczenie; }

    // ---- the import -----------------------------------------------------
    // A pending change of `TPolaExcel` is posted; then the sheet must be open
    // and hold every configured column (the first missing one is reported).
    bool SprawdzArkusz();
    // Imports every row into a fresh log and closes the sheet. Call after
    // SprawdzArkusz; returns SaBledy. A pending fuel record or vehicle is
    // posted first; when its post is refused the refusal propagates before
    // anything is imported, the sheet stays open and the record pending.
    // The fuel records are stored together after the last row: a failure
    // that stops the import (one no row step catches, or the storage's)
    // stores none of them; the log and a message box say so, and that the
    // vehicles completed meanwhile stay. A crash or a power cut before the
    // end leaves the half-year file as it was before the import.
    bool Importuj();

    // Row steps, on the current row.
    int Wiersz() const { return m_wiersz; }
    void UstawWiersz(int wiersz) { m_wiersz = wiersz; }
    void ImportujWiersz();
    void ImportujWierszZBufora();
    bool ZnajdzLubDopiszPojazd();
    void DopiszBlad(const QString& komunikat);

    // Every line written to the log since the last import began.
    const QStringList& Log() const { return m_log; }

private:
    // Every row, in one write group committed after the last. Empty when
    // done; else the message that tells the user why the import stopped.
    QString importujWiersze();
    const kal::Cell& komorka(kal::TField* kolumna) const;
    QString tekst(kal::TField* kolumna) const;
    // Fuel kind for a product group; empty for a group that is not imported.
    static QString rodzajPaliwa(int grupa);
    // Inserts the row's vehicle and lets the user complete it; a vehicle the
    // user left unsaved is abandoned.
    void dopiszPojazd();
    bool biezacyPojazdPasuje() const;
    void zapiszTankowanie(int idPojazdu);
    void dopiszLinie(const QString& linia);
    void bladPojazdu();
    int identyfikatorZIndeksu(const QString& nr);
    // The row's registration number as the register can store it: cut to
    // the size of its field (the log says so once for each number an import
    // cuts). Vehicles are looked up, and added, under this number.
    QString numerPojazdu();

    std::unique_ptr<kal::Workbook> m_skoroszyt;
    const kal::Sheet* m_arkusz = nullptr;
    QString m_polaczenie;
    int m_wiersz = 0;
    // Vehicles the user saved in the register during the current import.
    int m_dopisanePojazdy = 0;
    QStringList m_log;
    std::optional<QHash<QString, int>> m_indeks; // numbers read while no index is installed
    QString m_numer;                              // the current row's number as it can be stored
    QSet<QString> m_skrocone;                     // numbers this import has cut, by PorownajBezSpacji key
};
