#include "Application.h"
#include "Exceptions.h"
#include "ScriptedDialogs.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTranslator>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace kal;

TEST(Guard, RuleExceptionShowsItsMessageInTheErrorBox)
{
    test::ScriptedDialogs dialogs;
    EXPECT_FALSE(RunGuarded([] { throw Exception(QStringLiteral("Rok musi być z przedziału 2000..2020")); }));
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    const auto box = dialogs.boxes()[0];
    EXPECT_EQ(box.kind, test::DialogCall::Error);
    EXPECT_EQ(box.text, QStringLiteral("Rok musi być z przedziału 2000..2020."));
    EXPECT_EQ(box.caption, QStringLiteral("System Kalmora."));
    EXPECT_EQ(box.icon, MsgIcon::Stop);

    // A text that ends in "!" or "." gets no further full stop.
    dialogs.clear();
    RunGuarded([] { throw EDatabaseError(QStringLiteral("Brak danych firmy !!!")); });
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Brak danych firmy !!!")});
}

TEST(Guard, SilentAbortShowsNothingAndOtherFailuresShowAnEmptyBox)
{
    test::ScriptedDialogs dialogs;
    EXPECT_FALSE(RunGuarded([] { Abort(); }));
    EXPECT_TRUE(dialogs.boxes().empty());

    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("internal"); }));
    EXPECT_FALSE(RunGuarded([] { throw 7; }));
    ASSERT_EQ(dialogs.boxes().size(), 2u);
    EXPECT_EQ(dialogs.boxes()[0].text, QString());
    EXPECT_EQ(dialogs.boxes()[1].text, QString());
    EXPECT_EQ(dialogs.boxes()[1].caption, QStringLiteral("System Kalmora."));

    dialogs.clear();
    bool ran = false;
    EXPECT_TRUE(RunGuarded([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialogs.boxes().empty());
}

namespace {

// Runs the probe program's guard scene and returns its output lines.
QStringList GuardScene(const QString& kind, int* exitCode)
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(KAL_UI_PROBE), {QStringLiteral("guard"), kind});
    EXPECT_TRUE(probe.waitForFinished(60000));
    *exitCode = probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
    return QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

// A slot of a real application throws: the guard of the event loop shows one
// box (caption, text, stop icon = 3, OK) and the program goes on.
TEST(Guard, ExceptionsThrownInSlotsNeverLeaveTheEventLoop)
{
    int code = 0;
    EXPECT_EQ(GuardScene(QStringLiteral("rule"), &code),
              QStringList({QStringLiteral("BOX|System Kalmora.|Zły rok okresu.|3|OK"), QStringLiteral("END")}));
    EXPECT_EQ(code, 0);

    EXPECT_EQ(GuardScene(QStringLiteral("abort"), &code), QStringList{QStringLiteral("END")});
    EXPECT_EQ(code, 0);

    EXPECT_EQ(GuardScene(QStringLiteral("std"), &code),
              QStringList({QStringLiteral("BOX|System Kalmora.||3|OK"), QStringLiteral("END")}));
    EXPECT_EQ(code, 0);

    EXPECT_EQ(GuardScene(QStringLiteral("other"), &code),
              QStringList({QStringLiteral("BOX|System Kalmora.||3|OK"), QStringLiteral("END")}));
    EXPECT_EQ(code, 0);
}

// Qt's own dialogs (the printer choice, the file dialogs) and the edit menus
// of text fields speak Polish, as the rest of the program does.
TEST(QtTexts, StandardDialogsSpeakPolish)
{
    QTranslator texts;
    ASSERT_TRUE(LoadQtPolishTexts(texts));
    QCoreApplication::installTranslator(&texts);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
    // The printer dialog's caption is Qt's own Polish word, not "Print".
    EXPECT_NE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Print"));
    QCoreApplication::removeTranslator(&texts);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}
