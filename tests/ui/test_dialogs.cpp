#include "Dialogs.h"
#include "InputHook.h"
#include "QtDialogs.h"
#include "TestDir.h"
#include "UiTestHelpers.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
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
