#include "DBNavigator.h"

#include "Exceptions.h"
#include "Hints.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace kal {
namespace {

const char* const kGlyphs[kNavigateButtons] = {"|◀", "◀", "▶", "▶|", "+", "−", "▲", "✔", "✘", "↻"};
const char* const kNames[kNavigateButtons] = {"First", "Prior", "Next", "Last", "Insert",
                                              "Delete", "Edit", "Post", "Cancel", "Refresh"};

QStringList DefaultHints()
{
    return {QStringLiteral("Pierwszy rekord"), QStringLiteral("Poprzedni rekord"), QStringLiteral("Następny rekord"),
            QStringLiteral("Ostatni rekord"),  QStringLiteral("Wstaw rekord"),      QStringLiteral("Usuń rekord"),
            QStringLiteral("Edytuj rekord"),   QStringLiteral("Zapisz zmiany"),     QStringLiteral("Anuluj zmiany"),
            QStringLiteral("Odśwież dane")};
}

} // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < kNavigateButtons; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kNames[i]));
        b->setText(QString::fromUtf8(kGlyphs[i]));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        const auto which = TNavigateBtn(i);
        connect(b, &QToolButton::clicked, this, [this, which] { BtnClick(which); });
        row->addWidget(b);
        m_buttons[size_t(i)] = b;
    }
    setHints(DefaultHints());
    setFocusPolicy(Qt::NoFocus);
    updateButtons();
}

TDBNavigator::~TDBNavigator()
{
    m_link.setDataSource(nullptr);
}

void TDBNavigator::setDataSource(TDataSource* source)
{
    m_link.setDataSource(source);
    updateButtons();
}

void TDBNavigator::setVisibleButtons(TButtonSet buttons)
{
    m_visible = buttons & kAllNavButtons;
    for (int i = 0; i < kNavigateButtons; ++i)
        m_buttons[size_t(i)]->setVisible(m_visible & NavButton(TNavigateBtn(i)));
}

QStringList TDBNavigator::Hints() const
{
    return m_hints;
}

void TDBNavigator::setHints(const QStringList& hints)
{
    const QStringList defaults = DefaultHints();
    m_hints.clear();
    for (int i = 0; i < kNavigateButtons; ++i) {
        m_hints << (i < hints.size() && !hints[i].isEmpty() ? hints[i] : defaults[i]);
        SetHint(m_buttons[size_t(i)], m_hints.back());
    }
}

void TDBNavigator::updateButtons()
{
    const bool active = m_link.Active();
    TTable* t = active ? m_link.DataSet() : nullptr;
    const bool editing = m_link.Editing();
    const bool canModify = t && !t->ReadOnly();
    const bool empty = !t || t->IsEmpty();
    const bool up = t && !t->Bof() && !empty;
    const bool down = t && !t->Eof() && !empty;
    m_buttons[nbFirst]->setEnabled(up);
    m_buttons[nbPrior]->setEnabled(up);
    m_buttons[nbNext]->setEnabled(down);
    m_buttons[nbLast]->setEnabled(down);
    m_buttons[nbInsert]->setEnabled(canModify);
    m_buttons[nbDelete]->setEnabled(canModify && !empty);
    m_buttons[nbEdit]->setEnabled(canModify && !editing);
    m_buttons[nbPost]->setEnabled(canModify && editing);
    m_buttons[nbCancel]->setEnabled(canModify && editing);
    m_buttons[nbRefresh]->setEnabled(active);
}

void TDBNavigator::BtnClick(TNavigateBtn button)
{
    RunControlAction([&] {
        if (BeforeAction)
            BeforeAction(*this, button);
        act(button);
    });
    updateButtons();
    if (OnClick)
        RunControlAction([&] { OnClick(*this, button); });
}

void TDBNavigator::act(TNavigateBtn button)
{
    if (!m_link.Active())
        return;
    TTable& t = *m_link.DataSet();
    switch (button) {
    case nbFirst:
        t.First();
        break;
    case nbPrior:
        t.Prior();
        break;
    case nbNext:
        t.Next();
        break;
    case nbLast:
        t.Last();
        break;
    case nbInsert:
        t.Insert();
        break;
    case nbDelete:
        if (t.IsEmpty() && t.State() != dsInsert)
            return;
        if (!m_confirmDelete || ConfirmDeleteRecord())
            t.Delete();
        break;
    case nbEdit:
        t.Edit();
        break;
    case nbPost:
        // The post hands the pending texts of the edits to their fields.
        if (t.State() == dsEdit || t.State() == dsInsert)
            t.Post();
        break;
    case nbCancel:
        t.Cancel();
        break;
    case nbRefresh:
        t.Refresh();
        break;
    }
}

} // namespace kal
