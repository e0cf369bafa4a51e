#pragma once
// What the register windows share: the modal show with its result, the close
// handler with the save prompt (a refused close keeps the window open), the
// keys Esc and Enter, the picker's "&Użyj" into the calling record, the grid
// binding for the time of a show and the button images taken from the image
// store.

#include "Funkcje.h"

#include "platform/db/Table.h"

#include <QHash>
#include <QString>
#include <QVariantList>
#include <QWidget>

#include <functional>
#include <initializer_list>

class QAbstractButton;
class QCloseEvent;
class QFormLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kal {
class TDBEdit;
class TDBGrid;
class TDBNavigator;
class TDataSource;
} // namespace kal

// A column of a register grid: its field and title. An informative column
// has the informative colour; `tylkoOdczyt` keeps it from being edited in
// place.
struct TKolumnaRejestru {
    const char* pole;
    const char* tytul;
    bool info = false;
    bool tylkoOdczyt = false;
};

// A field of an edit panel: its label, the edit's object name, the field and
// the longest text (0: as long as the field allows).
struct TPoleRejestru {
    const char* etykieta;
    const char* nazwa;
    const char* pole;
    int maxDlugosc = 0;
};

// Who calls a picker: the calling table and its key field (no field: the
// window is only browsed), and the register with its own key field.
struct TWywolanieRejestru {
    kal::TTable* wywolujaca;
    kal::TField* pole;
    kal::TTable* rejestr;
    kal::TField* id;
};

class TOknoRejestru : public QWidget {
    Q_OBJECT
public:
    // Modal results of a window.
    static constexpr int mrNone = 0;
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    explicit TOknoRejestru(QWidget* parent = nullptr);
    ~TOknoRejestru() override;

    // The mode of a picker: 0 browse, 1 picker for the calling record, 2 the
    // second use where a window has one.
    int Tryb() const { return tryb; }

    // Closes the window with that modal result (the close handler runs and
    // may keep the window open).
    void ZamknijZWynikiem(int wynik);

protected:
    // The close handler. The default asks the save prompt with the texts
    // given to UstawZapytanieOZapis; without them the window just closes.
    virtual void FormClose(TCloseAction& Action);
    // The three texts of the save prompt and the window's table.
    void UstawZapytanieOZapis(const QString& pytanieZmiana, const QString& pytanieDopisanie, const QString& naglowek,
                              kal::TTable* zbior);
    const QString& NaglowekKontroli() const { return m_naglowek; }

    // Shows the window modally through the dialog seam; returns its result.
    // Its fields are first put into the Tab and Enter order of the screen
    // (kal::OrderFieldsAsLaidOut), "+" of each navigator puts the focus
    // where the new record is typed (see NaPierwszePoleRekordu), and a move
    // off a new record of the window's table with nothing typed drops it
    // (see PrzedOpuszczeniemRekordu).
    // A window that is not maximised opens at its natural size (at least its
    // size hint), wide enough for all the columns of its grids as far as its
    // screen allows, centred on its screen.
    int PokazModalnie();
    // Maximises the window. It is first given the whole available area of
    // its screen, so that it is big even where nothing honours the
    // maximised state.
    void Maksymalizuj();

    // Widths of the columns of a bound grid taken from their fields' display
    // widths: at most `maxZnakow` characters, never narrower than the title.
    // Columns with a width of their own keep it. `znakiPol` gives the number
    // of characters of fields shown through a text handler (a one-letter
    // code shown as its name); these are not cut to `maxZnakow`.
    static void DopasujKolumny(kal::TDBGrid* siatka, int maxZnakow, const QHash<QString, int>& znakiPol = {});
    // The width a grid needs to show all its columns without a horizontal
    // scroll bar (row header, frame and vertical scroll bar included).
    static int SzerokoscSiatki(const kal::TDBGrid* siatka);

    // Connects a button's click to a handler that runs under the exception
    // guard (a refused rule shows its message, the window stays as it was).
    void Podlacz(QAbstractButton* przycisk, std::function<void()> obsluga);

    // Gives `cel` the image of the image store's button `wzor` ("Zamknij",
    // "Uzyj", "Drukuj", ...). Nothing happens while there is no store.
    static void KopiujObraz(QAbstractButton* cel, const QString& wzor);

    // Picker: the calling record is remembered when the window is shown, so
    // that "&Użyj" writes into that record even when the calling table has
    // been moved in the meantime.
    void ZapamietajWywolanie(kal::TTable* tabela, kal::TField* pole);
    void ZapomnijWywolanie();
    // Positions `rejestr` on the row whose `id` equals `klucz` (a key of 0
    // does not move it; a key that matches nothing leaves the last row).
    static void PozycjonujNa(kal::TTable* rejestr, kal::TField* id, int klucz);
    // "&Użyj": refuses with `komunikat` while `rejestr` has a pending change,
    // refuses on an empty register, else writes the current `id` into the
    // remembered calling record (put into edit state, not posted) and closes.
    // Without a remembered calling record it only closes.
    void Uzyj(kal::TTable* rejestr, kal::TField* id, const QString& komunikat);

    // Before the user moves the current record of `zrodlo` (a row of a grid,
    // its keys, Insert in a grid, first, prior, next, last, refresh or "+"
    // of a navigator) while the window's table has a new record: when
    // nothing was typed into it (its fields as the program filled them when
    // "+", Insert or Down started it) it is dropped. Any other pending
    // change is posted by the move itself, without a question: a refused
    // post shows its rule's message and the record stays with what was
    // typed.
    void PrzedOpuszczeniemRekordu(kal::TDataSource* zrodlo);

    // After "+": the focus goes to the field where a new record of `zrodlo`
    // is typed first (PierwszePoleNowegoRekordu), unless it is in a grid
    // that edits the record in place. Typing after "+" never goes into a
    // read-only grid, a button or the middle of the record.
    void NaPierwszePoleRekordu(kal::TDataSource* zrodlo);
    // The field where a new record of `zrodlo` is typed first: by default
    // the first of the record's fields in the Tab order that takes typing.
    virtual QWidget* PierwszePoleNowegoRekordu(kal::TDataSource* zrodlo);

    // With `escZamyka` Esc closes the window (a grid's open cell editor
    // drops its text first). Without it Esc belongs to the grid or the field
    // that has the keyboard: a grid drops the text of its cell editor or
    // cancels the pending change of its record; a field drops what was typed
    // into it, and when nothing was, the pending change of its record is
    // cancelled; the window stays open. With `enterDalej` Enter moves the
    // focus to the next control everywhere in the window.
    void UstawKlawisze(bool escZamyka, bool enterDalej)
    {
        m_escZamyka = escZamyka;
        m_enterDalej = enterDalej;
    }
    // Called after Enter has moved the focus.
    virtual void PoPrzejsciuEnterem() {}

    // Building the controls: each gets its object name.
    QPushButton* NowyPrzycisk(const char* nazwa, const QString& napis);
    QLabel* NowaEtykieta(const QString& napis);
    kal::TDBEdit* NowePole(const char* nazwa, kal::TDataSource* zrodlo, const QString& pole, int maxDlugosc = 0);
    // The navigator of a register: first, prior, next, last, insert, edit,
    // post, cancel, refresh; never delete, insert only `zDopisywaniem`.
    kal::TDBNavigator* NowyNawigator(const char* nazwa, kal::TDataSource* zrodlo, bool zDopisywaniem = true);
    // A grid, read-only with whole-row selection or editable in place. It
    // starts unbound.
    kal::TDBGrid* NowaSiatka(const char* nazwa, bool edycja);

    // Adds the columns to a grid (their widths come with columnsChanged).
    static void DodajKolumny(kal::TDBGrid* siatka, std::initializer_list<TKolumnaRejestru> kolumny);
    // Adds an edit for each field to the panel, labelled.
    void DodajPola(QFormLayout* panel, kal::TDataSource* zrodlo, std::initializer_list<TPoleRejestru> pola);
    // A row of buttons: `zLewej` at the left edge, `zPrawej` at the right.
    static QHBoxLayout* RzadPrzyciskow(std::initializer_list<QWidget*> zLewej, std::initializer_list<QWidget*> zPrawej);
    // The search edit of a register: what is typed turns to capitals.
    QLineEdit* NowePoleSzukania(const char* nazwa, int maxDlugosc);

    // Readies a picker for its show in mode `tryb`: "&Użyj" is enabled in
    // modes other than 0; with a calling field the calling record is
    // remembered and the register put on its key, else any earlier call is
    // forgotten; "&Zamknij" gets its image.
    void PrzygotujWybor(int tryb, QPushButton* zamknij, QPushButton* uzyj, const TWywolanieRejestru& wywolanie);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    int tryb = 0;

private:
    void przechwycKlawisze();
    // Esc that no control took: the pending change of the record of the
    // field that has the keyboard is cancelled.
    void anulujZmianePola();
    // "+" of the window's navigators: NaPierwszePoleRekordu on their source;
    // their moves and those of the window's grids: PrzedOpuszczeniemRekordu
    // (a navigator or grid with a handler of its own keeps it).
    void przygotujNawigacje();
    // Remembers the fields of the new record `t` has just started, as the
    // program filled them; NicNieWpisano compares with them.
    void zapamietajNowyRekord(kal::TTable* t);
    bool nicNieWpisano(const kal::TTable* t) const;
    // Gives a window that is not maximised its size and centres it on its
    // screen.
    void wysrodkuj();

    QString m_pytanieZmiana;
    QString m_pytanieDopisanie;
    QString m_naglowek;
    kal::TTable* m_zbior = nullptr;

    kal::TTable* m_wywolujaca = nullptr;
    kal::TField* m_poleWywolania = nullptr;
    kal::TTable::TBookmark m_zakladka = 0;
    bool m_wywolanoWDopisywaniu = false;

    bool m_escZamyka = false;
    bool m_enterDalej = false;

    const kal::TTable* m_nowyRekordTabeli = nullptr;
    QVariantList m_nowyRekord;
};

// A picker register: a grid with its navigator, an edit panel under it where
// the register has one, "&Użyj" and "&Zamknij".
class TOknoWyboru : public TOknoRejestru {
    Q_OBJECT
public:
    using TOknoRejestru::TOknoRejestru;

    kal::TDBGrid* DBGrid1 = nullptr;
    kal::TDBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "&Zamknij"
    QPushButton* BitBtn2 = nullptr; // "&Użyj"

    void BitBtn1Click();
    // "&Użyj" of the register.
    virtual void BitBtn2Click() = 0;

protected:
    // Builds the controls and lays them out: the navigator on `zrodlo` above
    // the grid (with `kolumny`, editable in place with `edycjaWSiatce`), then
    // the edit panel (only `zPanelem`; filled by the window and returned),
    // then "&Użyj" and "&Zamknij" on the right.
    QFormLayout* ZbudujRejestr(kal::TDataSource* zrodlo, bool edycjaWSiatce,
                               std::initializer_list<TKolumnaRejestru> kolumny, bool zPanelem);
    // The show in mode `tryb`: readied by PrzygotujWybor, the grid bound to
    // `zrodlo` for the time of the show, the call forgotten afterwards and,
    // with `zerujTryb`, the mode back to 0.
    int PokazRejestr(int tryb, const TWywolanieRejestru& wywolanie, kal::TDataSource* zrodlo, bool zerujTryb);
};

// True while the table has a pending edit or insert.
inline bool ZbiorWEdycji(const kal::TTable* t)
{
    return t && (t->State() == kal::dsEdit || t->State() == kal::dsInsert);
}

// Binds a grid to its data source for the time of a show and unbinds it on
// every way out.
class PowiazanieSiatki {
public:
    PowiazanieSiatki(kal::TDBGrid* siatka, kal::TDataSource* zrodlo);
    ~PowiazanieSiatki();
    PowiazanieSiatki(const PowiazanieSiatki&) = delete;
    PowiazanieSiatki& operator=(const PowiazanieSiatki&) = delete;

private:
    kal::TDBGrid* m_siatka;
};

// Texts shared by the windows.
namespace tekstyRejestrow {
// "&Użyj" on a register without rows.
QString pustyRejestr();
// "&Użyj" when the record that called the picker is gone.
QString brakWywolujacego();
// The colour of informative grid columns.
inline constexpr unsigned kolorInfo = 0xFFFFE1;
} // namespace tekstyRejestrow
