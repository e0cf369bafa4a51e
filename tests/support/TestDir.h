#pragma once
// A fresh temporary directory that is the current directory for the life of
// the object; the previous current directory comes back afterwards.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace kal::test {

class TestDir {
public:
    TestDir() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~TestDir() { QDir::setCurrent(m_previous); }
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

} // namespace kal::test
