#pragma once
// Where the pages of the page models made meanwhile go, for the life of the
// object: into the models' page files once `memory` bytes of pages are held,
// in the temporary directory `tempDir` (empty: the one set), each file taking
// at most `fileBytes` (negative: no limit), as on a disk that then is full.

#include "PageModel.h"

#include <QByteArray>
#include <QString>

namespace kal::test {

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
