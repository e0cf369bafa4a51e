#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kal {
namespace {

int g_lockFd = -1;

} // namespace

QString SingleInstanceLockPath()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("Ruvelkon-%1.lock").arg(::getuid()));
}

bool AcquireSingleInstance()
{
    if (g_lockFd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(SingleInstanceLockPath());
    // No symbolic links: in a shared temporary directory another user could
    // plant one to make us create or lock a file of their choice.
    int fd = -1;
    do {
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return true;
    int rc = -1;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        g_lockFd = fd;
        return true;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return !held;
}

} // namespace kal
