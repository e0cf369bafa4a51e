#include "SingleInstance.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace kal;

namespace {

class Probe {
public:
    explicit Probe(const QString& runtimeDir, bool hold)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        m_process.setProcessEnvironment(env);
        QStringList args{QStringLiteral("instance")};
        if (hold)
            args << QStringLiteral("hold");
        m_process.start(QStringLiteral(KAL_UI_PROBE), args);
        EXPECT_TRUE(m_process.waitForStarted(30000));
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(30000);
        }
    }
    // The first line the probe prints.
    QString answer()
    {
        while (!m_process.canReadLine() && m_process.waitForReadyRead(30000)) {
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    int finish()
    {
        m_process.closeWriteChannel();
        EXPECT_TRUE(m_process.waitForFinished(30000));
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    void killHard()
    {
        m_process.kill(); // SIGKILL: no chance to clean up
        EXPECT_TRUE(m_process.waitForFinished(30000));
    }

private:
    QProcess m_process;
};

} // namespace

TEST(SingleInstance, LockFileLiesInTheRuntimeDirectory)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    EXPECT_EQ(SingleInstanceLockPath(), QDir(runtime.path()).filePath(QStringLiteral("Ruvelkon-%1.lock").arg(getuid())));
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8() + "/missing");
    EXPECT_EQ(SingleInstanceLockPath(), QDir(QDir::tempPath()).filePath(QStringLiteral("Ruvelkon-%1.lock").arg(getuid())));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstanceLockPath(), QDir(QDir::tempPath()).filePath(QStringLiteral("Ruvelkon-%1.lock").arg(getuid())));
    if (!saved.isNull())
        qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(SingleInstance, SecondStartFindsTheFirstRunning)
{
    QTemporaryDir runtime;
    Probe first(runtime.path(), true);
    EXPECT_EQ(first.answer(), QStringLiteral("acquired"));

    Probe second(runtime.path(), false);
    EXPECT_EQ(second.answer(), QStringLiteral("already running"));
    EXPECT_EQ(second.finish(), 0);

    // Once the first ends normally, the next start is the only instance.
    EXPECT_EQ(first.finish(), 0);
    Probe third(runtime.path(), false);
    EXPECT_EQ(third.answer(), QStringLiteral("acquired"));
    EXPECT_EQ(third.finish(), 0);
}

TEST(SingleInstance, LockOfAKilledProcessDoesNotBlock)
{
    QTemporaryDir runtime;
    Probe victim(runtime.path(), true);
    EXPECT_EQ(victim.answer(), QStringLiteral("acquired"));
    victim.killHard();
    // The lock file is still there, but nobody holds it.
    EXPECT_TRUE(QFile::exists(QDir(runtime.path()).filePath(QStringLiteral("Ruvelkon-%1.lock").arg(getuid()))));

    Probe next(runtime.path(), false);
    EXPECT_EQ(next.answer(), QStringLiteral("acquired"));
    EXPECT_EQ(next.finish(), 0);
}

TEST(SingleInstance, HolderInThisProcessKeepsOthersOut)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    static QTemporaryDir runtime; // lives as long as this process holds the lock
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    EXPECT_TRUE(AcquireSingleInstance());
    EXPECT_TRUE(AcquireSingleInstance());
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);

    Probe other(runtime.path(), false);
    EXPECT_EQ(other.answer(), QStringLiteral("already running"));
    EXPECT_EQ(other.finish(), 0);
}

// A symbolic link planted under the lock's name is never followed: no file
// appears at its target, and the start is not blocked by it.
TEST(SingleInstance, PlantedLinkIsNotFollowed)
{
    QTemporaryDir runtime;
    const QString target = QDir(runtime.path()).filePath(QStringLiteral("cudzy-plik"));
    ASSERT_TRUE(QFile::link(target, QDir(runtime.path()).filePath(QStringLiteral("Ruvelkon-%1.lock").arg(getuid()))));
    Probe probe(runtime.path(), false);
    EXPECT_EQ(probe.answer(), QStringLiteral("acquired"));
    EXPECT_EQ(probe.finish(), 0);
    EXPECT_FALSE(QFile::exists(target));
}
