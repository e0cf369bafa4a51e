#include "InputHook.h"

#include "WheelNavigable.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kal {
namespace {

// A parent of `w` of the type T, within w's window.
template <class T> bool InsideA(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const T*>(p))
            return true;
        if (p->isWindow())
            break;
    }
    return false;
}

// An editor inside a grid or list (never a window of its own).
bool InsideItemView(const QWidget* w) { return !w->isWindow() && InsideA<QAbstractItemView>(w); }

bool InsideSpinBox(const QWidget* w) { return InsideA<QAbstractSpinBox>(w); }

// The combo box that the focused widget belongs to: the combo itself, its
// line edit, or the list of its open popup.
QComboBox* ComboOf(QWidget* w)
{
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c;
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto* c = qobject_cast<QComboBox*>(p)) {
            if (c->lineEdit() == w || c->view() == w || c->view()->viewport() == w)
                return c;
            return nullptr;
        }
    }
    return nullptr;
}

bool ListOpen(QComboBox* c) { return c->view() && c->view()->isVisible(); }

// Qt's own dialogs (file, printer, page setup, input ...) keep Qt's keys and
// wheel: Enter in their file name box must accept them.
bool InStandardDialog(const QWidget* w)
{
    static const char* const kinds[] = {"QFileDialog", "QAbstractPrintDialog", "QPageSetupDialog", "QInputDialog",
                                        "QColorDialog", "QFontDialog", "QProgressDialog", "QMessageBox",
                                        "QPrintPreviewDialog"};
    for (const QWidget* p = w; p; p = p->parentWidget())
        for (const char* kind : kinds)
            if (p->inherits(kind))
                return true;
    return false;
}

bool IsRadioGroup(const QWidget* w)
{
    return w && (qobject_cast<const QGroupBox*>(w) || w->property("kalRadioGroup").toBool());
}

bool EnterActsAsTab(QWidget* focus)
{
    if (QApplication::activePopupWidget())
        return false;
    if (QComboBox* combo = ComboOf(focus))
        return !ListOpen(combo) && !InsideItemView(combo);
    if (InsideItemView(focus))
        return false;
    if (qobject_cast<QLineEdit*>(focus))
        return !InsideSpinBox(focus);
    if (IsRadioGroup(focus))
        return true;
    if (qobject_cast<QRadioButton*>(focus))
        return IsRadioGroup(focus->parentWidget());
    return false;
}

bool HandleEnter(QObject* receiver, QKeyEvent* key)
{
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (!focus || receiver != focus)
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (InStandardDialog(focus) || !EnterActsAsTab(focus))
        return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, mods & Qt::ShiftModifier);
    QCoreApplication::sendEvent(focus, &tab);
    return true;
}

// A wheel turned over a closed list goes to the scrollable panel the list
// lies in (its scroll bar moves as under the wheel elsewhere on the panel);
// a list outside such a panel, or in a grid's cell, lets it go.
void PassToPanel(QWidget* list, QWheelEvent* wheel)
{
    for (QWidget* p = list->parentWidget(); p && !p->isWindow(); p = p->parentWidget()) {
        if (qobject_cast<QAbstractItemView*>(p))
            return;
        if (auto* panel = qobject_cast<QAbstractScrollArea*>(p)) {
            const QPoint angle = wheel->angleDelta();
            QScrollBar* bar = std::abs(angle.x()) > std::abs(angle.y()) ? panel->horizontalScrollBar()
                                                                         : panel->verticalScrollBar();
            QWheelEvent passed(bar->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                               wheel->pixelDelta(), angle, wheel->buttons(), wheel->modifiers(), wheel->phase(),
                               wheel->inverted(), wheel->source());
            QCoreApplication::sendEvent(bar, &passed);
            return;
        }
    }
}

bool HandleWheel(QObject* receiver, QWheelEvent* wheel)
{
    QWidget* focus = QApplication::focusWidget();
    auto* target = qobject_cast<QWidget*>(receiver);
    if ((focus && InStandardDialog(focus)) || (target && InStandardDialog(target)))
        return false;
    const int delta = wheel->angleDelta().y();
    QComboBox* focusedList = focus ? ComboOf(focus) : nullptr;
    if (focus && delta != 0) {
        if (focusedList && ListOpen(focusedList)) {
            QKeyEvent key(QEvent::KeyPress, delta > 0 ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::sendEvent(focusedList->view(), &key);
            return true;
        }
        for (QWidget* w = focus; w; w = w->parentWidget()) {
            if (auto* grid = dynamic_cast<IWheelNavigable*>(w)) {
                grid->wheelStep(delta);
                return true;
            }
            if (w->isWindow())
                break;
        }
    }
    // A closed list never changes by the wheel, focused or not: the focused
    // one ignores it, another passes it to its panel.
    if (QComboBox* under = target ? ComboOf(target) : nullptr; under && !ListOpen(under)) {
        if (under != focusedList)
            PassToPanel(under, wheel);
        return true;
    }
    return false;
}

QPointer<InputHook> g_hook;

// ---- the fields of edit panels in their order on screen

bool IsField(const QWidget* w)
{
    if (!(w->focusPolicy() & Qt::TabFocus))
        return false;
    if (qobject_cast<const QAbstractButton*>(w))
        return qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w);
    return true;
}

void CollectLayout(const QLayout* layout, QList<QWidget*>& fields);

void CollectWidget(QWidget* w, QList<QWidget*>& fields)
{
    if (!w || w->isWindow())
        return;
    if (IsField(w))
        fields << w; // taken whole: a grid, a combo box with its line edit
    else if (w->layout())
        CollectLayout(w->layout(), fields);
}

void CollectItem(const QLayoutItem* item, QList<QWidget*>& fields)
{
    if (!item)
        return;
    if (QWidget* w = item->widget())
        CollectWidget(w, fields);
    else if (const QLayout* l = const_cast<QLayoutItem*>(item)->layout())
        CollectLayout(l, fields);
}

void CollectLayout(const QLayout* layout, QList<QWidget*>& fields)
{
    if (auto* form = qobject_cast<const QFormLayout*>(layout)) {
        for (int r = 0; r < form->rowCount(); ++r)
            for (auto role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                CollectItem(form->itemAt(r, role), fields);
        return;
    }
    if (auto* grid = qobject_cast<const QGridLayout*>(layout)) {
        struct Cell {
            int row, column, index;
        };
        std::vector<Cell> cells;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            cells.push_back({row, column, i});
        }
        std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        for (const Cell& c : cells)
            CollectItem(grid->itemAt(c.index), fields);
        return;
    }
    for (int i = 0; i < layout->count(); ++i)
        CollectItem(layout->itemAt(i), fields);
}

} // namespace

void OrderFieldsAsLaidOut(QWidget* window)
{
    if (!window)
        return;
    const auto forms = window->findChildren<QFormLayout*>();
    for (const QFormLayout* form : forms) {
        if (form->parentWidget() && form->parentWidget()->window() != window)
            continue; // a form of another window (a child dialog)
        QList<QWidget*> fields;
        CollectLayout(form, fields);
        for (qsizetype i = 1; i < fields.size(); ++i)
            QWidget::setTabOrder(fields[i - 1], fields[i]);
    }
}

bool ObslugaKomunikatow(QObject* receiver, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return HandleEnter(receiver, static_cast<QKeyEvent*>(event));
    case QEvent::Wheel:
        return HandleWheel(receiver, static_cast<QWheelEvent*>(event));
    default:
        return false;
    }
}

bool InputHook::eventFilter(QObject* watched, QEvent* event)
{
    if (ObslugaKomunikatow(watched, event))
        return true;
    return QObject::eventFilter(watched, event);
}

void MarkAsRadioGroup(QWidget* group)
{
    if (group)
        group->setProperty("kalRadioGroup", true);
}

void InstallInputHook()
{
    if (g_hook || !qApp)
        return;
    g_hook = new InputHook(qApp);
    qApp->installEventFilter(g_hook);
}

} // namespace kal
