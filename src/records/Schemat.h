#pragma once
// The one description of every table of the program: the 27 table components
// of the data module, their files, master links, index fields, data sources,
// dataset events, and every field component with its type, size, properties and
// field events. The data module builds its components from it and the
// new-data-directory tool creates the table files from it, so the two can
// never disagree.
//
// Indexes of the files. Each file gets one index over the index fields of its
// table component (the component orders and searches by it). It is unique
//  - where the table's post-error text says that a repeated key is refused
//    ("Dane firmy powtarzają się !!!", "Data przebiegu powtarza się !!!" ...):
//    Firma, Okresy, Pojazdy, Przebieg, MiejUzytk, TabelaC, Gminy, Substancje,
//    ZuzKotla and the five table A files;
//  - where the index fields end in an autoincrement field (Zuzycie, Kotly,
//    ZrodlaTabA): the key is unique anyway;
//  - for the one-row-per-period tables (Zalacznik1, TabelaD2009,
//    StawkiTabD2009, StawkiTabC): a second row of one period would be counted
//    twice by every statement;
//  - for TabGest, whose fuel code is the table's key.
// Przegl.DB (repairs and inspections) keeps a plain index: two invoices of one
// day under one number are not refused. MiejTank.db and PolaExcel.db have no
// index fields and are read in the order of their autoincrement key; MiejTank.db
// has in addition a unique index over `Nazwa`, because its post-error text
// says a repeated name of a refuelling place is refused.
// A unique index is the file's primary index; a plain one is a secondary index.
// The work table's one index is the primary unique index over `Klucz;Identyfikator`.

#include "platform/db/Field.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace Schemat {

// Field types as the files keep them.
enum class Typ {
    Tekst,       // string N
    Calkowity,   // integer, 32 bits
    Krotki,      // smallint, 16 bits
    Autonumer,   // autoincrement
    Rzeczywisty, // float
    Data,        // date
    Logiczny,    // boolean
    Memo,        // memo N
};

enum class Rodzaj { Dane, Obliczane, Wyszukiwane };

// Dataset events that the data module binds.
enum class Zdarzenie {
    BeforeInsert,
    AfterInsert,
    BeforeEdit,
    AfterEdit,
    BeforePost,
    AfterPost,
    AfterCancel,
    BeforeDelete,
    AfterDelete,
    OnCalcFields,
    OnPostError,
};
QString NazwaZdarzenia(Zdarzenie z);
// The engine's field type of a field of the description.
kal::TFieldType TypPola(Typ typ);

struct ObslugaZdarzenia {
    Zdarzenie zdarzenie;
    QString handler; // name of the TDM member function
};

struct Pole {
    QString nazwa;     // field name in the file
    QString komponent; // field component name (table component + field name unless stated)
    Typ typ = Typ::Tekst;
    int rozmiar = 0; // characters of a string or memo field; 0 for the others
    Rodzaj rodzaj = Rodzaj::Dane;

    // Lookup fields: `poleWyniku` of the `tabelaWyszukiwania` row whose
    // `poleKluczaWyszukiwania` equals this table's `poleKlucza`.
    QString tabelaWyszukiwania;
    QString poleKluczaWyszukiwania;
    QString poleWyniku;
    QString poleKlucza;

    QString formatWyswietlania;     // display format of the stored layout
    QString formatPrzyTworzeniu;    // display format the data module assigns when it is created
    QString maskaEdycji;            // edit mask
    int szerokoscWyswietlania = 0;  // display width; 0 = the field's default
    QString etykieta;               // the field's name as the windows label it; empty: the field name
    bool tylkoDoOdczytu = false;

    QString onSetText;
    QString onGetText;
    QString onValidate;

    bool zapisywane() const { return rodzaj == Rodzaj::Dane; }
};

struct Indeks {
    QString nazwa;      // empty for the primary index
    QString pola;       // "A;B"
    bool glowny = false;
    bool unikalny = false;
};

struct Tabela {
    QString komponent;               // TFirma
    QString plik;                    // Firma.db; empty for the work table (named at run time)
    bool otwieranaPrzyTworzeniu = true;
    QString tabelaNadrzedna;         // master table component, empty when none
    QString zrodloNadrzedne;         // master data source (DFirma)
    QString poleNadrzedne;           // master field (Identyfikator)
    QString polaIndeksu;             // index fields "A;B;C", empty when none
    QString zrodloDanych;            // data source component, empty when none
    std::vector<ObslugaZdarzenia> zdarzenia;
    std::vector<Pole> pola;          // field components in order
    std::vector<Indeks> indeksy;     // indexes of the file

    const Pole* pole(const QString& nazwaPola) const;
    QString handler(Zdarzenie z) const; // empty when the event is not bound
    int liczbaPolZapisywanych() const;
};

// The 27 table components in the order of the data module: register tables,
// the work table, then the statement tables.
const std::vector<Tabela>& Tabele();
const Tabela* ZnajdzTabele(const QString& komponent);

// The 25 file tables that a data directory holds (every component that opens
// a file of its own: all but the second cursor `TPrzRob` and the work table).
std::vector<const Tabela*> TabelePlikowe();

// The 117 column codes of table D in column order (1a, 1b, 1c, 1d, 2a ... 32d),
// and in the order of the rate file (1a, 1b, 1c, 2a ... 12, then 1d, 2d ...).
const QStringList& KolumnyTabeliD();
const QStringList& KolumnyStawekTabeliD();

// The 24 quantity (and rate) fields of table C in their order:
// I1, I1a, I2, I3, I4, I5, II1, II2, II3, III, IV1 ... V3, Rezerwa1 .. Rezerwa5.
const QStringList& PolaIlosciTabeliC();
// The 24 count fields of table C: LKI1 ... LKV3, Calk1 .. Calk5.
const QStringList& PolaLiczbTabeliC();
// The 24 value fields of "Załącznik nr 1": P11 ... P42, Rezerwa1 .. Rezerwa5.
const QStringList& PolaZalacznika1();

// A new data directory: creates `katalog` when needed, the 25 table files with
// their indexes, the twelve rows of the fuel densities and the one row of the
// fleet-import column names. Refuses a directory that already holds table
// files ("*.db" in any case), so that it never overwrites data. Returns the
// empty text on success, else the reason (nothing is left behind then).
QString UtworzKatalogDanych(const QString& katalog);

// The fuel densities a new data directory starts with (kg per litre; the
// compressed gases per m³ of gas, their quantity being entered in m³).
struct GestoscPaliwa {
    const char* kod;
    const char* nazwa;
    double gestosc;
};
const std::vector<GestoscPaliwa>& PoczatkoweGestosci();

// Display patterns.
inline const char* const FormatKwot = "# ### ##0.00# ### ###";
inline const char* const FormatSumZalacznika = "# ### ##0.### ###";
inline const char* const FormatDaty = "yyyy-mm-dd";
inline const char* const MaskaDaty = "!9999/99/99;1;_";

// The work table `TRoboczy`: name prefix and extension for the temporary name.
inline const char* const PrefiksRoboczej = "Tym";
inline const char* const RozszerzenieRoboczej = "DB";

} // namespace Schemat
