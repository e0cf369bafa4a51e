#include "Dialogs.h"
#include "InputHook.h"
#include "Application.h"
#include "QtDialogs.h"
#include "TestDir.h"
#include "UiTestHelpers.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

QSet<QString> ButtonTexts(QMessageBox& box)
{
    QSet<QString> out;
    for (QAbstractButton* b : box.buttons())
        out << b->text();
    return out;
}

QAbstractButton* ButtonNamed(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text)
            return b;
    return nullptr;
}

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QSet<QString> buttons;
};

// Shows a box through the Qt seam; when it appears, records it and lets
// `act` close it.
MsgButton Ask(unsigned buttons, MsgIcon icon, SeenBox& seen, std::function<void(QMessageBox*)> act)
{
    WhenModal([&seen, act](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), ButtonTexts(*box)};
        act(box);
    });
    QtDialogs dialogs;
    return dialogs.messageBox(QStringLiteral("Czy chcesz zakończyć pracę z programem ?"),
                              QStringLiteral("Zakończenie programu \"Kalmora\"."), buttons, icon);
}

} // namespace

TEST(QtDialogs, ButtonsCarryPolishTexts)
{
    EXPECT_EQ(ButtonText(MbOk), QStringLiteral("OK"));
    EXPECT_EQ(ButtonText(MbCancel), QStringLiteral("Anuluj"));
    EXPECT_EQ(ButtonText(MbYes), QStringLiteral("Tak"));
    EXPECT_EQ(ButtonText(MbNo), QStringLiteral("Nie"));
    EXPECT_EQ(ButtonText(MbAbort), QStringLiteral("Przerwij"));
    EXPECT_EQ(ButtonText(MbRetry), QStringLiteral("Ponów"));
    EXPECT_EQ(ButtonText(MbIgnore), QStringLiteral("Ignoruj"));

    QMessageBox box;
    PrepareMessageBox(box, QStringLiteral("Czy chcesz dopisać nowy pojazd ?"),
                      QStringLiteral("Kontrola wprowadzania pojazdów."), MbYes | MbNo | MbCancel, MsgIcon::Question);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Kontrola wprowadzania pojazdów."));
    EXPECT_EQ(box.text(), QStringLiteral("Czy chcesz dopisać nowy pojazd ?"));
    EXPECT_EQ(box.icon(), QMessageBox::Question);
    EXPECT_EQ(ButtonTexts(box), (QSet<QString>{QStringLiteral("Tak"), QStringLiteral("Nie"), QStringLiteral("Anuluj")}));
    ASSERT_NE(box.defaultButton(), nullptr);
    EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("Tak"));
    ASSERT_NE(box.escapeButton(), nullptr);
    EXPECT_EQ(box.escapeButton()->text(), QStringLiteral("Anuluj"));

    QMessageBox none;
    PrepareMessageBox(none, QStringLiteral("x"), QStringLiteral("y"), MbNone, MsgIcon::None);
    EXPECT_EQ(ButtonTexts(none), QSet<QString>{QStringLiteral("OK")});
    EXPECT_EQ(none.icon(), QMessageBox::NoIcon);
}

TEST(QtDialogs, AnswerIsTheButtonClicked)
{
    SeenBox seen;
    const MsgButton answer = Ask(MbYes | MbNo, MsgIcon::Question, seen,
                                 [](QMessageBox* box) { ButtonNamed(box, QStringLiteral("Nie"))->click(); });
    EXPECT_EQ(answer, MbNo);
    EXPECT_EQ(seen.caption, QStringLiteral("Zakończenie programu \"Kalmora\"."));
    EXPECT_EQ(seen.text, QStringLiteral("Czy chcesz zakończyć pracę z programem ?"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, (QSet<QString>{QStringLiteral("Tak"), QStringLiteral("Nie")}));

    EXPECT_EQ(Ask(MbAbort | MbRetry | MbIgnore, MsgIcon::Warning, seen,
                  [](QMessageBox* box) { ButtonNamed(box, QStringLiteral("Ponów"))->click(); }),
              MbRetry);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons,
              (QSet<QString>{QStringLiteral("Przerwij"), QStringLiteral("Ponów"), QStringLiteral("Ignoruj")}));
}

TEST(QtDialogs, EscapeAndCloseAnswerCancelElseNo)
{
    SeenBox seen;
    auto escape = [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); };
    auto close = [](QMessageBox* box) { box->close(); };
    EXPECT_EQ(Ask(MbYes | MbNo | MbCancel, MsgIcon::Question, seen, escape), MbCancel);
    EXPECT_EQ(Ask(MbYes | MbNo, MsgIcon::Question, seen, escape), MbNo);
    EXPECT_EQ(Ask(MbYes | MbNo, MsgIcon::Question, seen, close), MbNo);
    EXPECT_EQ(Ask(MbOk | MbCancel, MsgIcon::Information, seen, close), MbCancel);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(Ask(MbOk, MsgIcon::Stop, seen, escape), MbOk);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST(QtDialogs, ErrorBoxHasTitleStopIconAndOk)
{
    SeenBox seen;
    WhenModal([&seen](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), ButtonTexts(*box)};
        box->buttons().value(0)->click();
    });
    QtDialogs dialogs;
    dialogs.errorBox(QStringLiteral("Brak okresów !!!"));
    EXPECT_EQ(seen.caption, QStringLiteral("System Kalmora."));
    EXPECT_EQ(seen.text, QStringLiteral("Brak okresów !!!"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QSet<QString>{QStringLiteral("OK")});
}

TEST(QtDialogs, ModalShowOfAPlainWindowEndsWhenItCloses)
{
    QtDialogs dialogs;
    QWidget window;
    bool wasModal = false;
    WhenModal([&](QWidget* w) {
        wasModal = w == &window && window.isModal();
        SetModalResult(&window, 2);
        window.close();
    });
    EXPECT_EQ(dialogs.execModal(&window), 2);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowModality(), Qt::NonModal);

    // A second show without a stored result gives 0.
    WhenModal([&](QWidget*) { window.hide(); });
    EXPECT_EQ(dialogs.execModal(&window), 0);

    // A window destroyed while shown ends the wait as well.
    auto* doomed = new QWidget;
    WhenModal([doomed](QWidget*) { doomed->deleteLater(); });
    EXPECT_EQ(dialogs.execModal(doomed), 0);
}

TEST(QtDialogs, ModalShowOfADialogGivesItsResult)
{
    QtDialogs dialogs;
    QDialog dialog;
    WhenModal([&](QWidget*) { dialog.accept(); });
    EXPECT_EQ(dialogs.execModal(&dialog), QDialog::Accepted);
    WhenModal([&](QWidget*) { dialog.reject(); });
    EXPECT_EQ(dialogs.execModal(&dialog), QDialog::Rejected);
}

TEST(QtDialogs, OpenFileDialogGivesPathAndFilter)
{
    TestDir dir;
    {
        QFile f(dir.file(QStringLiteral("Orlen.xls")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString chosen = dir.file(QStringLiteral("Orlen.xls"));
    QString filters;
    WhenModal([&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(fd, nullptr);
        filters = fd->nameFilters().join(QStringLiteral(";;"));
        fd->selectFile(chosen);
        static_cast<QDialog*>(fd)->accept();
    });
    QtDialogs dialogs;
    FileDialogRequest request;
    request.caption = QStringLiteral("Otwórz plik FLOTY");
    request.directory = dir.path();
    request.filter = QStringLiteral("Pliki FLOTY (*.xls);;Wszystkie pliki (*)");
    request.selectedFilter = QStringLiteral("Pliki FLOTY (*.xls)");
    EXPECT_EQ(dialogs.openFileName(request), chosen);
    EXPECT_EQ(filters, QStringLiteral("Pliki FLOTY (*.xls);;Wszystkie pliki (*)"));
    EXPECT_EQ(request.selectedFilter, QStringLiteral("Pliki FLOTY (*.xls)"));

    WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(dialogs.openFileName(request), QString());
}

// The application's Enter-as-Tab hook leaves Qt's own dialogs alone: Enter in
// the file name box opens the file.
TEST(QtDialogs, EnterInTheFileNameBoxAcceptsTheDialog)
{
    InstallInputHook();
    TestDir dir;
    {
        QFile f(dir.file(QStringLiteral("Orlen.xls")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    bool focused = false;
    WhenModal([&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(fd, nullptr);
        auto* edit = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        fd->activateWindow();
        const bool active = QTest::qWaitForWindowActive(fd);
        edit->setFocus();
        focused = active && QApplication::focusWidget() == edit;
        edit->setText(QStringLiteral("Orlen.xls"));
        QTest::keyClick(edit, Qt::Key_Return);
        if (fd->isVisible())
            static_cast<QDialog*>(fd)->reject();
    });
    QtDialogs dialogs;
    FileDialogRequest request;
    request.directory = dir.path();
    request.filter = QStringLiteral("Pliki FLOTY (*.xls)");
    EXPECT_EQ(dialogs.openFileName(request), dir.file(QStringLiteral("Orlen.xls")));
    EXPECT_TRUE(focused);
}

// "Kontrola wprowadzania zużycia paliw." over a short question: the box is as
// wide as the caption in the bold of a title bar, with room beside it for the
// window manager's icon and buttons.
TEST(QtDialogs, AMessageBoxIsWideEnoughForItsWholeCaption)
{
    const QString caption = QStringLiteral("Kontrola wprowadzania zużycia paliw.");
    int width = 0;
    QFont font;
    WhenModal([&](QWidget* w) {
        width = w->width();
        font = w->font();
        qobject_cast<QMessageBox*>(w)->buttons().value(0)->click();
    });
    QtDialogs dialogs;
    dialogs.messageBox(QStringLiteral("Czy chcesz zmienić dane ?"), caption, MbYes | MbNo, MsgIcon::Question);
    QFont bold = font;
    bold.setBold(true);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(caption) + 100);
}

// Where a window stands on a 1024x768 screen with a frame of 1 pixel at the
// sides, a title bar of 22 and a bottom edge of 5.
TEST(ScreenFit, AWindowComesInsideTheFreeAreaWithItsFrame)
{
    const QRect screen(0, 0, 1024, 768);
    const QMargins frame(1, 22, 1, 5);
    // The main window of 1040x640, centred: narrowed to 1022 and centred again.
    EXPECT_EQ(FitIntoArea(QRect(-8, 64, 1040, 640), frame, screen, QSize()), QRect(1, 64, 1022, 640));
    // Too tall: as tall as the screen less the frame, its title bar at the top.
    EXPECT_EQ(FitIntoArea(QRect(100, 100, 600, 900), frame, screen, QSize()), QRect(100, 22, 600, 741));
    // A window that fits stays where it is.
    EXPECT_EQ(FitIntoArea(QRect(200, 150, 400, 300), frame, screen, QSize()), QRect(200, 150, 400, 300));
    // Standing out at the right and the bottom: moved in.
    EXPECT_EQ(FitIntoArea(QRect(900, 700, 300, 200), frame, screen, QSize()), QRect(723, 563, 300, 200));
    // Its minimum is wider than the screen: its title bar's left end stays on it.
    EXPECT_EQ(FitIntoArea(QRect(-50, 100, 1200, 500), frame, screen, QSize(1200, 500)), QRect(1, 100, 1200, 500));
    // Widened for its caption, round its centre.
    EXPECT_EQ(FitIntoArea(QRect(362, 324, 300, 120), frame, screen, QSize(), QSize(420, 0)),
              QRect(302, 324, 420, 120));
    // ... but never beyond the screen.
    EXPECT_EQ(FitIntoArea(QRect(362, 324, 300, 120), frame, screen, QSize(), QSize(2000, 0)).width(), 1022);
}

// Shown on the screen of the tests, each window stands whole in its free
// area, frame included, and is wide enough for its caption.
TEST(ScreenFit, ShownWindowsStandWholeOnTheScreen)
{
    InstallScreenFit();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget big;
    big.setWindowTitle(QStringLiteral("Kalmora wersja 2.0 - 2009"));
    big.resize(area.width() + 16, area.height() - 128);
    big.move(-8, 64);
    big.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&big));
    EXPECT_TRUE(area.contains(big.frameGeometry())) << big.frameGeometry().x() << " " << big.frameGeometry().width();

    QWidget outside;
    outside.resize(300, 200);
    outside.move(area.right() - 100, area.bottom() - 50);
    outside.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&outside));
    EXPECT_TRUE(area.contains(outside.frameGeometry()));
    EXPECT_EQ(outside.size(), QSize(300, 200));

    QWidget narrow;
    narrow.setWindowTitle(QStringLiteral("Edycja nazw gmin dla tabeli C."));
    narrow.resize(150, 100);
    narrow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&narrow));
    EXPECT_GE(narrow.width(), CaptionWidth(narrow.windowTitle(), narrow.font()));
}
