#pragma once
// Where the pages of the page models made meanwhile go, for the life of the
// object: into the models' page files once `memory` bytes of pages are held,
// in the temporary directory `tempDir` (empty: the one set), the files taking
// at most `fileBytes` together (negative: no limit), as on a disk that then is
// full.

#include "PageModel.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <sys/stat.h>

namespace kal::test {

// The bytes of the page files this process holds open (they have no name:
// only the process's open files show them).
inline qint64 HeldPageFileBytes()
{
    qint64 bytes = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        struct stat st {};
        if (fd.symLinkTarget().contains(QStringLiteral("kalmora-strony"))
            && ::stat(QFile::encodeName(fd.absoluteFilePath()).constData(), &st) == 0)
            bytes += st.st_size;
    }
    return bytes;
}

class PageFiles {
public:
    explicit PageFiles(std::size_t memory, const QString& tempDir = {}, qint64 fileBytes = -1)
    {
        report::SetPageMemoryLimit(memory);
        if (!tempDir.isNull())
            qputenv("TMPDIR", tempDir.toLocal8Bit());
        report::SetPageFileLimitForTests(fileBytes);
    }
    ~PageFiles()
    {
        report::SetPageMemoryLimit(m_memory);
        qputenv("TMPDIR", m_tempDir);
        report::SetPageFileLimitForTests(-1);
    }
    PageFiles(const PageFiles&) = delete;
    PageFiles& operator=(const PageFiles&) = delete;

private:
    std::size_t m_memory = report::PageMemoryLimit();
    QByteArray m_tempDir = qgetenv("TMPDIR");
};

} // namespace kal::test
