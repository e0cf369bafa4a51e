#include "OknoRejestru.h"

#include "Obsluga.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/Application.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/InputHook.h"
#include "platform/ui/QtDialogs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The area of the window's screen that windows may take (without panels).
QRect obszarEkranu(const QWidget* w)
{
    const QScreen* ekran = w->screen();
    if (!ekran)
        ekran = QGuiApplication::primaryScreen();
    return ekran ? ekran->availableGeometry() : QRect();
}

// True when `w` lies inside an item view (an editor of a grid cell): such a
// widget keeps its own Esc and Enter.
bool wSiatce(QWidget* w)
{
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (qobject_cast<QAbstractItemView*>(p))
            return true;
    return false;
}

} // namespace

namespace tekstyRejestrow {

QString pustyRejestr()
{
    return QStringLiteral("Brak danych do wybrania !!!");
}

QString brakWywolujacego()
{
    return QStringLiteral("Nie można odnaleźć danych, dla których dokonywano wyboru !!!");
}

} // namespace tekstyRejestrow

TOknoRejestru::TOknoRejestru(QWidget* parent) : QWidget(parent, Qt::Window) {}

TOknoRejestru::~TOknoRejestru() = default;

void TOknoRejestru::UstawZapytanieOZapis(const QString& pytanieZmiana, const QString& pytanieDopisanie,
                                         const QString& naglowek, kal::TTable* zbior)
{
    m_pytanieZmiana = pytanieZmiana;
    m_pytanieDopisanie = pytanieDopisanie;
    m_naglowek = naglowek;
    m_zbior = zbior;
}

void TOknoRejestru::FormClose(TCloseAction& Action)
{
    if (m_zbior)
        ZapytajOZapis(m_pytanieZmiana, m_pytanieDopisanie, m_naglowek, Action, m_zbior);
}

void TOknoRejestru::closeEvent(QCloseEvent* event)
{
    TCloseAction akcja = caHide;
    const bool ok = kal::RunGuarded([&] { FormClose(akcja); });
    if (!ok || akcja == caNone) {
        kal::SetModalResult(this, mrNone);
        event->ignore();
        // A text the close could not save has the keyboard back, wherever
        // the close came from ("Zamknij", Esc), so that Esc drops it.
        if (!ok)
            for (kal::TDBGrid* siatka : findChildren<kal::TDBGrid*>())
                if (siatka->window() == this && siatka->FocusEditor())
                    break;
        return;
    }
    if (kal::ModalResult(this) == mrNone)
        kal::SetModalResult(this, mrCancel);
    event->accept();
}

void TOknoRejestru::ZamknijZWynikiem(int wynik)
{
    kal::SetModalResult(this, wynik);
    close();
}

int TOknoRejestru::PokazModalnie()
{
    kal::SetModalResult(this, mrNone);
    przechwycKlawisze();
    // Tab and Enter walk the fields in the order they stand on screen,
    // whatever order the window made them in.
    kal::OrderFieldsAsLaidOut(this);
    przygotujNawigacje();
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        wysrodkuj();
    return kal::Dialogs().execModal(this);
}

void TOknoRejestru::wysrodkuj()
{
    const QRect obszar = obszarEkranu(this);
    if (obszar.isEmpty())
        return;
    ensurePolished();
    // Its grids need the width of their columns: they hold it while the
    // window takes its size, and let the user narrow the window afterwards.
    std::vector<std::pair<kal::TDBGrid*, int>> siatki;
    for (kal::TDBGrid* g : findChildren<kal::TDBGrid*>()) {
        if (g->window() != this || !g->isVisibleTo(this) || !g->DataSource())
            continue;
        siatki.emplace_back(g, g->minimumWidth());
        g->setMinimumWidth(std::max(g->minimumWidth(), std::min(SzerokoscSiatki(g), obszar.width())));
    }
    if (layout())
        layout()->activate();
    // A window never sized opens at its size hint; one sized before keeps
    // its size. Either grows to what its contents need now.
    QSize rozmiar = testAttribute(Qt::WA_Resized) ? size() : sizeHint();
    rozmiar = rozmiar.expandedTo(minimumSizeHint()).expandedTo(minimumSize()).boundedTo(obszar.size());
    for (const auto& [g, szerokosc] : siatki)
        g->setMinimumWidth(szerokosc);
    resize(rozmiar);
    const int x = obszar.x() + std::max(0, (obszar.width() - rozmiar.width()) / 2);
    const int y = obszar.y() + std::max(0, (obszar.height() - rozmiar.height()) / 2);
    move(x, y);
}

void TOknoRejestru::Maksymalizuj()
{
    if (!(windowState() & Qt::WindowMaximized)) {
        const QRect obszar = obszarEkranu(this);
        if (!obszar.isEmpty())
            setGeometry(obszar);
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

void TOknoRejestru::DopasujKolumny(kal::TDBGrid* siatka, int maxZnakow, const QHash<QString, int>& znakiPol)
{
    kal::TTable* t = siatka ? siatka->DataSet() : nullptr;
    if (!t)
        return;
    const QFontMetrics tekst = siatka->fontMetrics();
    const QFontMetrics tytuly = siatka->horizontalHeader()->fontMetrics();
    bool zmiana = false;
    for (int i = 0; i < siatka->ColumnCount(); ++i) {
        kal::TDBGridColumn& k = siatka->Columns(i);
        if (k.Width > 0)
            continue;
        zmiana = true;
        kal::TField* f = t->FindField(k.FieldName);
        const QString tytul = !k.Title.isEmpty() ? k.Title : (f ? f->DisplayLabel() : k.FieldName);
        const int znaki = znakiPol.contains(k.FieldName)
                              ? std::max(1, znakiPol.value(k.FieldName))
                              : std::clamp(f ? f->DisplayWidth() : 10, 1, std::max(1, maxZnakow));
        // The title needs room for the margins of the header section too.
        k.Width = std::max(kal::TDBGrid::TextWidth(tekst, f, znaki) + 12, tytuly.horizontalAdvance(tytul) + 20);
    }
    if (zmiana)
        siatka->columnsChanged();
}

int TOknoRejestru::SzerokoscSiatki(const kal::TDBGrid* siatka)
{
    int w = 2 * siatka->frameWidth() + siatka->horizontalHeader()->length();
    if (!siatka->verticalHeader()->isHidden())
        w += std::max(siatka->verticalHeader()->width(), siatka->verticalHeader()->minimumWidth());
    w += siatka->verticalScrollBar()->sizeHint().width();
    return w;
}

void TOknoRejestru::Podlacz(QAbstractButton* przycisk, std::function<void()> obsluga)
{
    connect(przycisk, &QAbstractButton::clicked, this, [obsluga = std::move(obsluga)] { kal::RunGuarded(obsluga); });
}

void TOknoRejestru::KopiujObraz(QAbstractButton* cel, const QString& wzor)
{
    if (!cel || !FormObslugi)
        return;
    if (auto* zrodlo = FormObslugi->findChild<QAbstractButton*>(wzor))
        cel->setIcon(zrodlo->icon());
}

QPushButton* TOknoRejestru::NowyPrzycisk(const char* nazwa, const QString& napis)
{
    auto* b = new QPushButton(napis, this);
    b->setObjectName(QString::fromLatin1(nazwa));
    b->setAutoDefault(false);
    return b;
}

QLabel* TOknoRejestru::NowaEtykieta(const QString& napis)
{
    return new QLabel(napis, this);
}

kal::TDBEdit* TOknoRejestru::NowePole(const char* nazwa, kal::TDataSource* zrodlo, const QString& pole, int maxDlugosc)
{
    auto* e = new kal::TDBEdit(this);
    e->setObjectName(QString::fromLatin1(nazwa));
    e->setDataSource(zrodlo);
    e->setDataField(pole);
    if (maxDlugosc > 0)
        e->setMaxLength(maxDlugosc);
    return e;
}

kal::TDBNavigator* TOknoRejestru::NowyNawigator(const char* nazwa, kal::TDataSource* zrodlo, bool zDopisywaniem)
{
    auto* n = new kal::TDBNavigator(this);
    n->setObjectName(QString::fromLatin1(nazwa));
    kal::TButtonSet przyciski = kal::NavButton(kal::nbFirst) | kal::NavButton(kal::nbPrior) |
                                kal::NavButton(kal::nbNext) | kal::NavButton(kal::nbLast) |
                                kal::NavButton(kal::nbEdit) | kal::NavButton(kal::nbPost) |
                                kal::NavButton(kal::nbCancel) | kal::NavButton(kal::nbRefresh);
    if (zDopisywaniem)
        przyciski |= kal::NavButton(kal::nbInsert);
    n->setVisibleButtons(przyciski);
    n->setDataSource(zrodlo);
    return n;
}

kal::TDBGrid* TOknoRejestru::NowaSiatka(const char* nazwa, bool edycja)
{
    auto* g = new kal::TDBGrid(this);
    g->setObjectName(QString::fromLatin1(nazwa));
    if (edycja) {
        g->setOptions(kal::dgEditing | kal::dgTitles | kal::dgIndicator | kal::dgConfirmDelete);
    } else {
        g->setOptions(kal::dgTitles | kal::dgIndicator | kal::dgRowSelect | kal::dgConfirmDelete);
        g->setReadOnly(true);
    }
    return g;
}

void TOknoRejestru::DodajKolumny(kal::TDBGrid* siatka, std::initializer_list<TKolumnaRejestru> kolumny)
{
    for (const TKolumnaRejestru& k : kolumny) {
        kal::TDBGridColumn& c = siatka->addColumn(QString::fromUtf8(k.pole), QString::fromUtf8(k.tytul));
        if (k.info)
            c.setColor(QColor(QRgb(tekstyRejestrow::kolorInfo)));
        if (k.tylkoOdczyt)
            c.setReadOnly(true);
    }
}

void TOknoRejestru::DodajPola(QFormLayout* panel, kal::TDataSource* zrodlo, std::initializer_list<TPoleRejestru> pola)
{
    for (const TPoleRejestru& p : pola)
        panel->addRow(QString::fromUtf8(p.etykieta), NowePole(p.nazwa, zrodlo, QString::fromUtf8(p.pole), p.maxDlugosc));
}

QHBoxLayout* TOknoRejestru::RzadPrzyciskow(std::initializer_list<QWidget*> zLewej,
                                           std::initializer_list<QWidget*> zPrawej)
{
    auto* rzad = new QHBoxLayout;
    for (QWidget* w : zLewej)
        rzad->addWidget(w);
    rzad->addStretch(1);
    for (QWidget* w : zPrawej)
        rzad->addWidget(w);
    return rzad;
}

QLineEdit* TOknoRejestru::NowePoleSzukania(const char* nazwa, int maxDlugosc)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(nazwa));
    e->setMaxLength(maxDlugosc);
    connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
        const QString gorne = t.toUpper();
        if (gorne != t) {
            const int kursor = e->cursorPosition();
            e->setText(gorne);
            e->setCursorPosition(kursor);
        }
    });
    return e;
}

void TOknoRejestru::PrzygotujWybor(int tryb, QPushButton* zamknij, QPushButton* uzyj,
                                   const TWywolanieRejestru& wywolanie)
{
    this->tryb = tryb;
    uzyj->setEnabled(tryb != 0);
    if (wywolanie.pole) {
        ZapamietajWywolanie(wywolanie.wywolujaca, wywolanie.pole);
        const int klucz = wywolanie.wywolujaca->Active() ? wywolanie.pole->AsInteger() : 0;
        PozycjonujNa(wywolanie.rejestr, wywolanie.id, klucz);
    } else {
        ZapomnijWywolanie();
    }
    KopiujObraz(zamknij, QStringLiteral("Zamknij"));
}

// ------------------------------------------------------------------ picker

void TOknoRejestru::ZapamietajWywolanie(kal::TTable* tabela, kal::TField* pole)
{
    m_wywolujaca = tabela;
    m_poleWywolania = pole;
    m_zakladka = 0;
    m_wywolanoWDopisywaniu = false;
    if (!tabela || !tabela->Active())
        return;
    m_wywolanoWDopisywaniu = tabela->State() == kal::dsInsert;
    if (!m_wywolanoWDopisywaniu && !tabela->IsEmpty())
        m_zakladka = tabela->GetBookmark();
}

void TOknoRejestru::ZapomnijWywolanie()
{
    m_wywolujaca = nullptr;
    m_poleWywolania = nullptr;
    m_zakladka = 0;
    m_wywolanoWDopisywaniu = false;
}

void TOknoRejestru::PozycjonujNa(kal::TTable* rejestr, kal::TField* id, int klucz)
{
    if (klucz == 0)
        return;
    for (rejestr->First(); !rejestr->Eof(); rejestr->Next())
        if (id->AsInteger() == klucz)
            return;
}

void TOknoRejestru::Uzyj(kal::TTable* rejestr, kal::TField* id, const QString& komunikat)
{
    if (ZbiorWEdycji(rejestr)) {
        kal::Dialogs().messageBox(komunikat, m_naglowek, kal::MbOk, kal::MsgIcon::Stop);
        return;
    }
    if (m_wywolujaca && m_poleWywolania) {
        if (rejestr->IsEmpty()) {
            kal::Dialogs().messageBox(tekstyRejestrow::pustyRejestr(), m_naglowek, kal::MbOk, kal::MsgIcon::Stop);
            return;
        }
        // Back to the record the picker was opened for.
        kal::TTable& t = *m_wywolujaca;
        bool naMiejscu = false;
        if (t.Active()) {
            if (m_wywolanoWDopisywaniu) {
                naMiejscu = t.State() == kal::dsInsert;
            } else if (m_zakladka == 0) {
                // Opened on an empty table: the edit starts its first record.
                naMiejscu = t.IsEmpty() || t.State() == kal::dsInsert;
            } else if (t.State() == kal::dsEdit) {
                naMiejscu = t.GetBookmark() == m_zakladka;
            } else if (t.State() == kal::dsBrowse) {
                if (!t.IsEmpty() && t.GetBookmark() == m_zakladka) {
                    naMiejscu = true;
                } else if (t.BookmarkValid(m_zakladka)) {
                    t.GotoBookmark(m_zakladka);
                    naMiejscu = true;
                }
            }
        }
        if (!naMiejscu) {
            kal::Dialogs().messageBox(tekstyRejestrow::brakWywolujacego(), m_naglowek, kal::MbOk,
                                      kal::MsgIcon::Stop);
            return;
        }
        if (!ZbiorWEdycji(&t))
            t.Edit();
        m_poleWywolania->setAsInteger(id->AsInteger());
    }
    ZamknijZWynikiem(mrOk);
}

// ------------------------------------------------------------------ keys

void TOknoRejestru::showEvent(QShowEvent* event)
{
    przechwycKlawisze();
    QWidget::showEvent(event);
}

void TOknoRejestru::przechwycKlawisze()
{
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

bool TOknoRejestru::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this || wSiatce(w))
        return QWidget::eventFilter(watched, event);
    auto* k = static_cast<QKeyEvent*>(event);
    const auto mod = k->modifiers() & ~Qt::KeypadModifier;
    if (k->key() == Qt::Key_Escape && mod == Qt::NoModifier) {
        if (m_escZamyka) {
            // A grid with an open cell editor drops its text first.
            if (auto* siatka = qobject_cast<kal::TDBGrid*>(w); siatka && siatka->EditorMode())
                return QWidget::eventFilter(watched, event);
            close();
            return true;
        }
        // An Esc that the control with the keyboard left to the window:
        // from a field with nothing typed into it, the pending change of
        // its record is cancelled.
        if (w == this) {
            anulujZmianePola();
            return true;
        }
    }
    if (m_enterDalej && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && mod == Qt::NoModifier) {
        focusNextChild();
        PoPrzejsciuEnterem();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TOknoRejestru::anulujZmianePola()
{
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget()) {
        if (const auto* pole = dynamic_cast<const kal::TFieldControl*>(w)) {
            kal::TTable* t = pole->DataSource() ? pole->DataSource()->DataSet() : nullptr;
            if (ZbiorWEdycji(t))
                kal::RunGuarded([t] { t->Cancel(); });
            return;
        }
    }
}

// ------------------------------------------------------------------ "+"

void TOknoRejestru::przygotujNawigacje()
{
    for (kal::TDBNavigator* n : findChildren<kal::TDBNavigator*>()) {
        if (n->window() != this)
            continue;
        if (!n->OnClick)
            n->OnClick = [this](kal::TDBNavigator& nawigator, kal::TNavigateBtn przycisk) {
                if (przycisk != kal::nbInsert)
                    return;
                if (kal::TDataSource* z = nawigator.DataSource())
                    zapamietajNowyRekord(z->DataSet());
                NaPierwszePoleRekordu(nawigator.DataSource());
            };
        if (!n->BeforeAction)
            n->BeforeAction = [this](kal::TDBNavigator& nawigator, kal::TNavigateBtn przycisk) {
                switch (przycisk) {
                case kal::nbFirst:
                case kal::nbPrior:
                case kal::nbNext:
                case kal::nbLast:
                case kal::nbRefresh:
                case kal::nbInsert:
                    PrzedOpuszczeniemRekordu(nawigator.DataSource());
                    break;
                default:
                    break;
                }
            };
    }
    for (kal::TDBGrid* g : findChildren<kal::TDBGrid*>()) {
        if (g->window() != this)
            continue;
        if (!g->BeforeMove)
            g->BeforeMove = [this](kal::TDBGrid& siatka) { PrzedOpuszczeniemRekordu(siatka.DataSource()); };
        if (!g->OnInsert)
            g->OnInsert = [this](kal::TDBGrid& siatka) { zapamietajNowyRekord(siatka.DataSet()); };
    }
}

namespace {

// The stored fields of the current record.
QVariantList wartosciPol(const kal::TTable& t)
{
    QVariantList wartosci;
    for (int i = 0; i < t.FieldCount(); ++i)
        if (const kal::TField* f = t.Fields(i); f->FieldKind() == kal::fkData)
            wartosci << f->Value();
    return wartosci;
}

} // namespace

void TOknoRejestru::zapamietajNowyRekord(kal::TTable* t)
{
    if (!t || t->State() != kal::dsInsert)
        return;
    m_nowyRekordTabeli = t;
    m_nowyRekord = wartosciPol(*t);
}

bool TOknoRejestru::nicNieWpisano(const kal::TTable* t) const
{
    if (!t->Modified())
        return true;
    return t->State() == kal::dsInsert && t == m_nowyRekordTabeli && wartosciPol(*t) == m_nowyRekord;
}

void TOknoRejestru::PrzedOpuszczeniemRekordu(kal::TDataSource* zrodlo)
{
    kal::TTable* t = zrodlo ? zrodlo->DataSet() : nullptr;
    if (!t || t != m_zbior || t->State() != kal::dsInsert)
        return;
    // What waits in the edits counts as typed.
    t->UpdateRecord();
    if (t->State() == kal::dsInsert && nicNieWpisano(t))
        t->Cancel();
}

void TOknoRejestru::NaPierwszePoleRekordu(kal::TDataSource* zrodlo)
{
    const kal::TTable* t = zrodlo ? zrodlo->DataSet() : nullptr;
    if (!t || t->State() != kal::dsInsert)
        return;
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget())
        if (auto* siatka = qobject_cast<kal::TDBGrid*>(w);
            siatka && siatka->DataSource() == zrodlo && siatka->editTriggers() != QAbstractItemView::NoEditTriggers)
            return;
    if (QWidget* pole = PierwszePoleNowegoRekordu(zrodlo))
        pole->setFocus(Qt::TabFocusReason);
}

QWidget* TOknoRejestru::PierwszePoleNowegoRekordu(kal::TDataSource* zrodlo)
{
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        const auto* pole = dynamic_cast<const kal::TFieldControl*>(w);
        if (!pole || pole->DataSource() != zrodlo || w->window() != this || !w->isVisible() || !w->isEnabled() ||
            !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (auto* edycja = qobject_cast<QLineEdit*>(w); edycja && edycja->isReadOnly())
            continue;
        return w;
    }
    return nullptr;
}

// ------------------------------------------------------------------ grid binding

PowiazanieSiatki::PowiazanieSiatki(kal::TDBGrid* siatka, kal::TDataSource* zrodlo) : m_siatka(siatka)
{
    m_siatka->setDataSource(zrodlo);
}

PowiazanieSiatki::~PowiazanieSiatki()
{
    m_siatka->setDataSource(nullptr);
}

// ------------------------------------------------------------------ picker register

QFormLayout* TOknoWyboru::ZbudujRejestr(kal::TDataSource* zrodlo, bool edycjaWSiatce,
                                         std::initializer_list<TKolumnaRejestru> kolumny, bool zPanelem)
{
    DBGrid1 = NowaSiatka("DBGrid1", edycjaWSiatce);
    DodajKolumny(DBGrid1, kolumny);
    DBGrid1->columnsChanged();
    DBNavigator1 = NowyNawigator("DBNavigator1", zrodlo);
    BitBtn1 = NowyPrzycisk("BitBtn1", QStringLiteral("&Zamknij"));
    BitBtn2 = NowyPrzycisk("BitBtn2", QStringLiteral("&Użyj"));

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(DBNavigator1);
    uklad->addWidget(DBGrid1, 1);
    QFormLayout* panel = nullptr;
    if (zPanelem) {
        panel = new QFormLayout;
        uklad->addLayout(panel);
    }
    uklad->addLayout(RzadPrzyciskow({}, {BitBtn2, BitBtn1}));

    Podlacz(BitBtn1, [this] { BitBtn1Click(); });
    Podlacz(BitBtn2, [this] { BitBtn2Click(); });
    return panel;
}

void TOknoWyboru::BitBtn1Click()
{
    ZamknijZWynikiem(mrCancel);
}

int TOknoWyboru::PokazRejestr(int tryb, const TWywolanieRejestru& wywolanie, kal::TDataSource* zrodlo, bool zerujTryb)
{
    PrzygotujWybor(tryb, BitBtn1, BitBtn2, wywolanie);
    KopiujObraz(BitBtn2, QStringLiteral("Uzyj"));
    int wynik = mrNone;
    {
        PowiazanieSiatki siatka(DBGrid1, zrodlo);
        wynik = PokazModalnie();
    }
    ZapomnijWywolanie();
    if (zerujTryb)
        this->tryb = 0;
    return wynik;
}
