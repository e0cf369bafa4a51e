// The start-up: the objects it creates, a failure while creating, and the
// single instance with the real program started twice.

#include "DataDir.h"
#include "Glowny.h"
#include "Okna.h"
#include "Reportviewer.h"
#include "Schemat.h"
#include "Start.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <utility>
#include <vector>

using kal::test::DialogCall;

namespace {

// The program's objects on a new data directory.
class StartObiektow : public kal::test::DataDir {
protected:
    StartObiektow() : DataDir(Start::Directory) {}

    // Creates the objects; the fixture's helpers then post through the data
    // module that the start-up made (the objects keep owning it).
    void utworz()
    {
        ASSERT_TRUE(kal::RunGuarded([this] { obiekty.Utworz(); })) << dialogi.texts().join('|').toStdString();
        ASSERT_NE(DM, nullptr);
        dm.reset(DM);
    }
    void TearDown() override
    {
        static_cast<void>(dm.release());
        obiekty.Zwolnij();
        DataDir::TearDown();
    }

    ObiektyProgramu obiekty;
};

TEST_F(StartObiektow, ObjectsOnANewDataDirectory)
{
    ASSERT_NO_FATAL_FAILURE(utworz());
    EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();
    const QStringList utworzone = obiekty.Utworzone();
    ASSERT_GE(utworzone.size(), 3);
    EXPECT_EQ(utworzone.mid(0, 2), QStringList({"FGlowny", "DM"}));
    EXPECT_TRUE(utworzone.contains("QuickReportViewer"));
    ASSERT_NE(FGlowny, nullptr);
    ASSERT_NE(QuickReportViewer, nullptr);
    // Created hidden; the main window is bound to the module's tables.
    EXPECT_FALSE(FGlowny->isVisible());
    EXPECT_FALSE(QuickReportViewer->isVisible());
    EXPECT_EQ(FGlowny->DBGrid1->DataSource(), DM->DFirma);
    EXPECT_EQ(FGlowny->DBGrid2->DataSource(), DM->DOkres);
    EXPECT_EQ(ZnajdzOkno("FGlowny"), FGlowny);

    // Freed at the end, the global pointers with them.
    static_cast<void>(dm.release());
    obiekty.Zwolnij();
    EXPECT_EQ(FGlowny, nullptr);
    EXPECT_EQ(DM, nullptr);
    EXPECT_EQ(QuickReportViewer, nullptr);
}

// Every launcher of the main window on a company with a period, with the
// windows the start-up made: each shows its own window (closed again at
// once), and only the windows still missing answer with the plain box.
TEST_F(StartObiektow, EachLauncherShowsItsWindow)
{
    ASSERT_NO_FATAL_FAILURE(utworz());
    firmaIOkres();
    QStringList pokazane;
    dialogi.onModal = [&pokazane](QWidget* okno) {
        pokazane << okno->objectName();
        return 0;
    };
    const std::vector<std::pair<std::function<void()>, QString>> wyrzutnie = {
        {[] { FGlowny->BitBtn1->click(); }, "FZalacznik1"},
        {[] { FGlowny->BitBtn2->click(); }, "FTabelaD"},
        {[] { FGlowny->BitBtn3->click(); }, "FGminaDoTabeliC"},
        {[] { FGlowny->BitBtn4->click(); }, "FEwidencjaPojazdow"},
        {[] { FGlowny->BitBtn5->click(); }, "FZuzycie"},
        {[] { FGlowny->BitBtn6->click(); }, "FGestoscPakiw"},
        {[] { FGlowny->BitBtn11->click(); }, "FTabelaAGmina"},
        {[] { FGlowny->BitBtn12->click(); }, "FSamochodyDoPrzegladu"},
        {[] { FGlowny->BitBtn7->click(); }, "QuickReportViewer"},
        {[] { FGlowny->DBGrid1DblClick(); }, "FDaneFirmy"},
    };
    for (const auto& [kliknij, okno] : wyrzutnie) {
        pokazane.clear();
        dialogi.clear();
        kliknij();
        EXPECT_EQ(pokazane, QStringList({okno}));
        EXPECT_TRUE(dialogi.boxes().empty()) << okno.toStdString() << ": " << dialogi.texts().join('|').toStdString();
        ASSERT_NE(ZnajdzOkno(okno), nullptr) << okno.toStdString();
        EXPECT_FALSE(ZnajdzOkno(okno)->isVisible()) << okno.toStdString();
    }

    // The settlement's "Drukuj" asks for the printer (cancelled here): nothing
    // is shown and no other box appears.
    pokazane.clear();
    dialogi.clear();
    FGlowny->BitBtn8->click();
    EXPECT_TRUE(pokazane.isEmpty());
    EXPECT_TRUE(dialogi.boxes().empty()) << dialogi.texts().join('|').toStdString();
}

TEST_F(StartObiektow, SummaryButtonsPreviewUnderTheTitleAndACancelledPrintShowsNothing)
{
    ASSERT_NO_FATAL_FAILURE(utworz());
    firmaIOkres();

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
    ASSERT_TRUE(QFile::remove(katalog.file("Okresy.db")));
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

// A killed run leaves its work table behind; the next start removes it, but
// not the one another running copy holds (a copy under another single-instance
// lock and on other data, as of another session), nor a file of another name.
TEST(StartProgramu, TheNextStartRemovesTheWorkTableOfAKilledRun)
{
    QTemporaryDir tmp;
    QTemporaryDir dane[2];
    QTemporaryDir runtime[2];
    for (const QTemporaryDir& d : dane)
        ASSERT_EQ(Schemat::UtworzKatalogDanych(d.path()), QString());
    const QDir temp(tmp.path());
    // Starts a copy and waits until it has made its work table, whose name it returns.
    const auto uruchom = [&](QProcess& kopia, int ktora) {
        const QStringList przed = temp.entryList({"Tym*.DB"}, QDir::Files);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime[ktora].path());
        env.insert("TEMP", tmp.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        kopia.setProcessEnvironment(env);
        kopia.setWorkingDirectory(dane[ktora].path());
        kopia.start(QStringLiteral(KALMORA_BIN), {});
        for (QDeadlineTimer limit(60000); !limit.hasExpired() && kopia.state() != QProcess::NotRunning;
             QThread::msleep(20))
            for (const QString& n : temp.entryList({"Tym*.DB"}, QDir::Files))
                if (!przed.contains(n))
                    return n;
        return QString();
    };
    QProcess inna, zabita, nastepna;
    const QString trzymany = uruchom(inna, 0);
    const QString pozostawiony = uruchom(zabita, 1);
    ASSERT_FALSE(trzymany.isEmpty());
    ASSERT_FALSE(pozostawiony.isEmpty());
    zabita.kill();
    zabita.waitForFinished(60000);
    // Left by a run of an earlier day (so that the next start's own name differs).
    for (const char* dopisek : {"", "-wal"})
        QFile::rename(temp.filePath(pozostawiony + dopisek), temp.filePath(QString("Tym2009612aaaa.DB") + dopisek));
    ASSERT_TRUE(temp.exists("Tym2009612aaaa.DB"));
    QFile(temp.filePath("Tym2009612aaaa.DB.kopia")).open(QIODevice::WriteOnly);

    const QString wlasny = uruchom(nastepna, 1);
    EXPECT_FALSE(wlasny.isEmpty());
    EXPECT_FALSE(temp.exists("Tym2009612aaaa.DB"));
    EXPECT_FALSE(temp.exists("Tym2009612aaaa.DB-wal"));
    EXPECT_TRUE(temp.exists(trzymany));
    EXPECT_TRUE(temp.exists("Tym2009612aaaa.DB.kopia"));
    for (QProcess* kopia : {&inna, &nastepna}) {
        kopia->kill();
        kopia->waitForFinished(60000);
    }
}

} // namespace
