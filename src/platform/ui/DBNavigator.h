#pragma once
// TDBNavigator: a row of buttons that move and edit the table of a data
// source: first, prior, next, last, insert, delete, edit, post, cancel,
// refresh. The buttons take no focus, so a post from here hands the texts
// that wait in the edits to their fields first (the table's post does it).
// Each action runs under the exception guard: a refused post shows its
// message and the table stays in its state. Delete asks first.
//
// Buttons are enabled by the table's state: first and prior not at the
// beginning, next and last not at the end, insert and edit while browsing a
// writable table, post and cancel while editing or inserting, delete on a
// record of a writable table, everything off while the table is closed.

#include "DBFieldLink.h"

#include <QWidget>

#include <array>
#include <functional>

class QToolButton;

namespace kal {

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
constexpr int kNavigateButtons = 10;
using TButtonSet = unsigned; // bit (1 << TNavigateBtn)
constexpr TButtonSet NavButton(TNavigateBtn b) { return 1u << unsigned(b); }
constexpr TButtonSet kAllNavButtons = (1u << kNavigateButtons) - 1;

class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit TDBNavigator(QWidget* parent = nullptr);
    ~TDBNavigator() override;

    TDataSource* DataSource() const { return m_link.DataSource(); }
    void setDataSource(TDataSource* source);

    TButtonSet VisibleButtons() const { return m_visible; }
    void setVisibleButtons(TButtonSet buttons);
    // Hints "short|long", one per button in TNavigateBtn order.
    QStringList Hints() const;
    void setHints(const QStringList& hints);
    bool ConfirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

    QToolButton* Button(TNavigateBtn button) const { return m_buttons[size_t(button)]; }
    // Does what a click on the button does (also when it is hidden or
    // disabled, as a window's code may).
    void BtnClick(TNavigateBtn button);

    // Before the action (raise kal::Abort() to skip it) and after it.
    std::function<void(TDBNavigator&, TNavigateBtn)> BeforeAction;
    std::function<void(TDBNavigator&, TNavigateBtn)> OnClick;

private:
    class Link final : public TDataLink {
    public:
        explicit Link(TDBNavigator& nav) : m_nav(nav) {}
        void activeChanged() override { m_nav.updateButtons(); }
        void dataSetChanged() override { m_nav.updateButtons(); }
        void dataSetScrolled(int) override { m_nav.updateButtons(); }
        void editingChanged() override { m_nav.updateButtons(); }

    private:
        TDBNavigator& m_nav;
    };

    void updateButtons();
    void act(TNavigateBtn button);

    Link m_link{*this};
    std::array<QToolButton*, kNavigateButtons> m_buttons{};
    QStringList m_hints;
    TButtonSet m_visible = kAllNavButtons;
    bool m_confirmDelete = true;
};

} // namespace kal
