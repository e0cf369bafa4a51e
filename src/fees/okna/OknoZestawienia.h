#pragma once
// What the statement windows share: the period text of captions and print
// titles, posting their pending tables (before a close, a print or another
// window), the button images taken from the "Załącznik nr 1" window, and the
// "Tag" switch of a fee object's table held for the time of a show.

#include "OknoRejestru.h"

#include <QString>

#include <initializer_list>
#include <vector>

class QAbstractButton;
class QScrollArea;

namespace kal {
class TTable;
namespace report {
class Report;
}
} // namespace kal

class TOknoZestawienia : public TOknoRejestru {
    Q_OBJECT
public:
    explicit TOknoZestawienia(QWidget* parent = nullptr);
    ~TOknoZestawienia() override;

    // The half-year, a blank, the year and " roku." of the current period,
    // as captions and print titles end ("2 2009 roku.").
    static QString TekstOkresu();

protected:
    // The tables this window edits, posted (in this order) before it closes
    // and before it prints.
    void UstawZbioryDoZapisu(std::initializer_list<kal::TTable*> zbiory);
    // Posts each table that is being edited or inserted; a failed post
    // raises and leaves the tables after it untouched.
    void ZapiszOczekujace();

    // A failed post keeps the window open: nothing is left in edit state
    // behind a closed window.
    void FormClose(TCloseAction& Action) override;

    // The image of the "Załącznik nr 1" window's button `wzor`
    // ("BitBtn1", "BitBDrukPrzMonitor", "BitBDrukPrzDrukarka").
    static void KopiujObrazZZalacznika(QAbstractButton* cel, const char* wzor);

    // Maximised; the window is also sized to the screen's free area first,
    // so that it fills the screen where no window manager maximises it.
    void NaCalyEkran();

    // Every show: a window that is not maximised is centred on its screen's
    // free area (kept inside it), and the shown window comes on top of the
    // windows behind it and takes the keyboard.
    void showEvent(QShowEvent* event) override;

    // Posts the pending tables, then prints (`podglad` false) or previews the
    // report under the title `prefiks` + period, printer-dialog mode 1.
    void DrukujZestawienie(kal::report::Report* raport, bool podglad, const QString& prefiks);

private:
    std::vector<kal::TTable*> m_zbiory;
};

// Sets a table's "statement window open" switch to 1 and back to 0 on every
// way out of the scope.
class PrzelacznikTag {
public:
    explicit PrzelacznikTag(kal::TTable* tabela);
    ~PrzelacznikTag();
    PrzelacznikTag(const PrzelacznikTag&) = delete;
    PrzelacznikTag& operator=(const PrzelacznikTag&) = delete;

private:
    kal::TTable* m_tabela;
};

// True when the table is being edited or inserted.
bool WTrakcieZmian(const kal::TTable* tabela);
