#pragma once
// The application-wide input hook of the main window. It looks only at the
// focused widget:
//
// Enter (Return or keypad Enter, without Ctrl or Alt) acts as Tab (Shift+Enter
// as Shift+Tab) in a line edit, in a combo box whose list is closed, and on a
// radio button of a radio group (a QGroupBox or a widget whose property
// "kalRadioGroup" is true). It keeps its own meaning in memos, spin boxes and
// date edits, in editors inside a grid or list, in an open combo list (Enter
// picks the item) and in every other widget.
//
// The mouse wheel: with a grid focused (a widget that is, or lies inside, an
// IWheelNavigable) every vertical wheel event is one wheelStep of the grid
// and nothing else; the grid never scrolls by the wheel. With a combo box
// whose list is open, the wheel acts as the Up (wheel away from the user) or
// Down key in the list. A closed list never changes by the wheel, focused or
// not, in any window: over the focused list the wheel does nothing; over
// another it scrolls the panel the list lies in (a scroll area), as it does
// over the panel's other fields, and else does nothing. Over any other
// widget the wheel does what it does there (a panel scrolls).
//
// Qt's own dialogs (file, printer, page setup, input, message boxes) keep
// their usual keys and wheel: Enter in a file name box accepts the dialog.

#include <QObject>

class QEvent;
class QWidget;

namespace kal {

// The hook itself: true when it consumed the event.
bool ObslugaKomunikatow(QObject* receiver, QEvent* event);

class InputHook final : public QObject {
public:
    explicit InputHook(QObject* parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Marks a container of radio buttons that is not a QGroupBox (a data-aware
// radio group) as a radio group for the hook.
void MarkAsRadioGroup(QWidget* group);

// Installs one hook on the application (a second call does nothing).
void InstallInputHook();

// Puts the fields of every edit panel (form layout) of a window into the Tab
// order, and so the order of Enter, in which the panel shows them: row by
// row, and within a row (a field with its buttons, a line of fields) as the
// row's own layout places them. A field is every widget that takes the
// focus by Tab except push and tool buttons, taken whole (a grid, a combo
// box); the panel's buttons ("···") follow its last field, so that Enter
// walks field after field. The first field of a panel keeps its place in the
// window's order, and controls outside the panels keep theirs: a window that
// orders a grid of fields itself (by columns, or quantity then rate) keeps
// that order.
void OrderFieldsAsLaidOut(QWidget* window);

} // namespace kal
