#include "QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>

namespace kal {
namespace {

const char* const kAnswerProperty = "kalAnswer";
const char* const kModalResultProperty = "kalModalResult";
// Room in a title bar beside the caption: the window manager's icon, its
// buttons (minimise, maximise, close) and the margins between them.
constexpr int kTitleBarRoom = 130;

// The order in which the buttons stand in the box.
constexpr MsgButton kOrder[] = {MbOk, MbYes, MbNo, MbAbort, MbRetry, MbIgnore, MbCancel};

QMessageBox::ButtonRole RoleOf(MsgButton b)
{
    switch (b) {
    case MbOk: return QMessageBox::AcceptRole;
    case MbYes: return QMessageBox::YesRole;
    case MbNo: return QMessageBox::NoRole;
    case MbCancel: return QMessageBox::RejectRole;
    case MbAbort: return QMessageBox::RejectRole;
    case MbRetry: return QMessageBox::AcceptRole;
    case MbIgnore: return QMessageBox::AcceptRole;
    default: return QMessageBox::AcceptRole;
    }
}

QMessageBox::Icon IconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Stop: return QMessageBox::Critical;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

// Ends a local event loop when the watched window is hidden (closing hides
// it). A hide that the window system makes on its own, when the user
// minimises the window, does not end the wait.
class HideWatcher final : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_loop.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};

} // namespace

QString ButtonText(MsgButton button)
{
    switch (button) {
    case MbOk: return QStringLiteral("OK");
    case MbCancel: return QStringLiteral("Anuluj");
    case MbYes: return QStringLiteral("Tak");
    case MbNo: return QStringLiteral("Nie");
    case MbAbort: return QStringLiteral("Przerwij");
    case MbRetry: return QStringLiteral("Ponów");
    case MbIgnore: return QStringLiteral("Ignoruj");
    case MbNone: break;
    }
    return {};
}

void PrepareMessageBox(QMessageBox& box, const QString& text, const QString& caption, unsigned buttons, MsgIcon icon)
{
    if ((buttons & (MbOk | MbCancel | MbYes | MbNo | MbAbort | MbRetry | MbIgnore)) == 0)
        buttons = MbOk;
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconOf(icon));
    QPushButton* first = nullptr;
    for (MsgButton b : kOrder) {
        if (!(buttons & b))
            continue;
        QPushButton* button = box.addButton(ButtonText(b), RoleOf(b));
        button->setProperty(kAnswerProperty, unsigned(b));
        if (!first && (b == MbOk || b == MbYes || b == MbAbort || b == MbRetry))
            first = button;
    }
    if (!first)
        first = qobject_cast<QPushButton*>(box.buttons().value(0));
    box.setDefaultButton(first);
    // The box sizes itself to its text when it shows; a row as wide as the
    // caption needs keeps the title bar from cutting the caption.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(CaptionWidth(caption, box.font()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    for (MsgButton b : {MbCancel, MbNo, MbOk, MbAbort}) {
        if (!(buttons & b))
            continue;
        for (QAbstractButton* button : box.buttons())
            if (button->property(kAnswerProperty).toUInt() == unsigned(b)) {
                box.setEscapeButton(button);
                return;
            }
    }
}

int CaptionWidth(const QString& caption, const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(caption) + kTitleBarRoom;
}

MsgButton MessageBoxAnswer(const QMessageBox& box)
{
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        clicked = box.escapeButton();
    if (!clicked)
        return MbCancel;
    return static_cast<MsgButton>(clicked->property(kAnswerProperty).toUInt());
}

MsgButton QtDialogs::messageBox(const QString& text, const QString& caption, unsigned buttons, MsgIcon icon)
{
    QMessageBox box(DialogParent());
    PrepareMessageBox(box, text, caption, buttons, icon);
    box.exec();
    return MessageBoxAnswer(box);
}

void QtDialogs::errorBox(const QString& text)
{
    messageBox(text, ApplicationTitle(), MbOk, MsgIcon::Stop);
}

namespace {

// Runs a file dialog on the request; the chosen file, or empty on Cancel.
QString RunFileDialog(FileDialogRequest& request, QFileDialog::AcceptMode mode, QFileDialog::FileMode files)
{
    QFileDialog dialog(DialogParent(), request.caption, request.directory, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(files);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    request.selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtDialogs::openFileName(FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
}

QString QtDialogs::saveFileName(FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

bool QtDialogs::printerDialog(QPrinter* printer, QWidget* parent)
{
    if (!printer)
        return false;
    QPrintDialog dialog(printer, parent ? parent : DialogParent());
    // Wide enough to show the whole name of a file to print into.
    const QScreen* screen = dialog.screen();
    const int room = screen ? screen->availableGeometry().width() - 40 : 800;
    dialog.resize(std::min(room, std::max(dialog.sizeHint().width(), 720)), dialog.sizeHint().height());
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogs::execModal(QWidget* window)
{
    if (!window)
        return 0;
    if (auto* dialog = qobject_cast<QDialog*>(window))
        return dialog->exec();

    QPointer<QWidget> guard(window);
    const Qt::WindowModality previous = window->windowModality();
    const bool wasVisible = window->isVisible();
    if (wasVisible)
        window->hide();
    window->setWindowModality(Qt::ApplicationModal);
    window->setProperty(kModalResultProperty, QVariant());

    QEventLoop loop;
    HideWatcher watcher(loop);
    window->installEventFilter(&watcher);
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    if (window->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (!guard)
        return 0;
    window->removeEventFilter(&watcher);
    if (window->isVisible())
        window->hide();
    window->setWindowModality(previous);
    return ModalResult(window);
}

void SetModalResult(QWidget* window, int result)
{
    if (window)
        window->setProperty(kModalResultProperty, result);
}

int ModalResult(const QWidget* window)
{
    return window ? window->property(kModalResultProperty).toInt() : 0;
}

} // namespace kal
