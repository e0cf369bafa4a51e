// The start-up: the objects it creates, a failure while creating, and the
// single instance with the real program started twice.

#include "Dane.h"
#include "Glowny.h"
#include "Okna.h"
#include "Reportviewer.h"
#include "Schemat.h"
#include "Start.h"

#include "ScriptedDialogs.h"
#include "TestDir.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using kal::test::DialogCall;
using kal::test::ScriptedDialogs;
using kal::test::TestDir;

namespace {

class StartObiektow : public ::testing::Test {
protected:
    void SetUp() override
    {
        staryTemp = qgetenv("TEMP");
        qputenv("TEMP", temp.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("TEMP", staryTemp); }

    TestDir katalog;
    QTemporaryDir temp;
    QByteArray staryTemp;
    ScriptedDialogs dialogi;
};

TEST_F(StartObiektow, ObjectsOnANewDataDirectory)
{
    ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
    {
        ObiektyProgramu obiekty;
        EXPECT_TRUE(kal::RunGuarded([&] { obiekty.Utworz(); }));
        EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();
        const QStringList utworzone = obiekty.Utworzone();
        ASSERT_GE(utworzone.size(), 3);
        EXPECT_EQ(utworzone.mid(0, 2), QStringList({"FGlowny", "DM"}));
        EXPECT_TRUE(utworzone.contains("QuickReportViewer"));
        ASSERT_NE(FGlowny, nullptr);
        ASSERT_NE(DM, nullptr);
        ASSERT_NE(QuickReportViewer, nullptr);
        // Created hidden; the main window is bound to the module's tables.
        EXPECT_FALSE(FGlowny->isVisible());
        EXPECT_FALSE(QuickReportViewer->isVisible());
        EXPECT_EQ(FGlowny->DBGrid1->DataSource(), DM->DFirma);
        EXPECT_EQ(FGlowny->DBGrid2->DataSource(), DM->DOkres);
        EXPECT_EQ(ZnajdzOkno("FGlowny"), FGlowny);
    }
    // Freed at the end, the global pointers with them.
    EXPECT_EQ(FGlowny, nullptr);
    EXPECT_EQ(DM, nullptr);
    EXPECT_EQ(QuickReportViewer, nullptr);
}

TEST_F(StartObiektow, SummaryButtonsPreviewUnderTheTitleAndACancelledPrintShowsNothing)
{
    ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
    ObiektyProgramu obiekty;
    ASSERT_TRUE(kal::RunGuarded([&] { obiekty.Utworz(); }));
    DM->TFirma->Insert();
    DM->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
    DM->TFirma->Post();
    DM->TOkres->Insert();
    DM->TOkresRok->setAsInteger(2009);
    DM->TOkresPolrocze->setAsInteger(1);
    DM->TOkres->Post();

    QString podpis;
    QWidget* pokazane = nullptr;
    dialogi.onModal = [&](QWidget* okno) {
        pokazane = okno;
        podpis = okno->windowTitle();
        return 0;
    };
    FGlowny->BitBtn9->click();
    EXPECT_EQ(pokazane, QuickReportViewer);
    EXPECT_EQ(podpis, "Rozliczenie zbiorcze tablic c za półrocze: 1 2009 roku.");
    EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();

    // "Drukuj" asks for the printer first; Cancel ends it without a word.
    dialogi.clear();
    FGlowny->BitBtn10->click();
    ASSERT_EQ(dialogi.calls().size(), 1u);
    EXPECT_EQ(dialogi.calls()[0].kind, DialogCall::Printer);
}

TEST_F(StartObiektow, MissingTableFileEndsTheCreationWithTheErrorBox)
{
    ASSERT_EQ(Schemat::UtworzKatalogDanych(katalog.path()), QString());
    ASSERT_TRUE(QFile::remove(katalog.file("Okresy.db")));
    ObiektyProgramu obiekty;
    EXPECT_FALSE(kal::RunGuarded([&] { obiekty.Utworz(); }));
    ASSERT_EQ(dialogi.boxes().size(), 1u);
    EXPECT_EQ(dialogi.boxes()[0].kind, DialogCall::Error);
    // Nothing after the data module was made.
    EXPECT_EQ(obiekty.Utworzone(), QStringList({"FGlowny"}));
    EXPECT_EQ(DM, nullptr);
    obiekty.Zwolnij();
    EXPECT_EQ(FGlowny, nullptr);
}

// ---------------------------------------------------------------- single instance

// Holds the lock file of the single-instance rule the way a running copy does.
bool lockHeldByOther(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

TEST(StartProgramu, SecondCopyEndsAtOnceWithZeroAndNoWindow)
{
    QTemporaryDir runtime;
    QTemporaryDir tmp;
    QTemporaryDir dane;
    QTemporaryDir pusty;
    ASSERT_EQ(Schemat::UtworzKatalogDanych(dane.path()), QString());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("TEMP", tmp.path());
    env.insert("TMPDIR", tmp.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString lockPath =
        QDir(runtime.path()).filePath(QStringLiteral("Ruvelkon-%1.lock").arg(::getuid()));

    QProcess pierwszy;
    pierwszy.setProcessEnvironment(env);
    pierwszy.setWorkingDirectory(dane.path());
    pierwszy.start(QStringLiteral(KALMORA_BIN), {});
    ASSERT_TRUE(pierwszy.waitForStarted());
    // Wait (generously) until the first copy holds the lock.
    QDeadlineTimer limit(60000);
    while (!lockHeldByOther(lockPath) && !limit.hasExpired() && pierwszy.state() == QProcess::Running)
        QThread::msleep(20);
    ASSERT_TRUE(lockHeldByOther(lockPath)) << pierwszy.readAllStandardError().toStdString();

    // The second copy starts in a directory without tables: had it gone past
    // the lock it would show the error box and wait for the user.
    QProcess drugi;
    drugi.setProcessEnvironment(env);
    drugi.setWorkingDirectory(pusty.path());
    drugi.start(QStringLiteral(KALMORA_BIN), {});
    ASSERT_TRUE(drugi.waitForFinished(60000));
    EXPECT_EQ(drugi.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(drugi.exitCode(), 0);
    EXPECT_EQ(drugi.readAllStandardOutput(), QByteArray());
    EXPECT_EQ(drugi.readAllStandardError(), QByteArray());
    EXPECT_TRUE(QDir(pusty.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    // The first copy is still there.
    EXPECT_EQ(pierwszy.state(), QProcess::Running);

    pierwszy.kill();
    pierwszy.waitForFinished(60000);
}

} // namespace
