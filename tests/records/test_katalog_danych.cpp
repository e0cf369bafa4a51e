// The new-data-directory tool against a process killed while it works: the
// directory holds every table file whole, or none, and a next run finishes
// it; and every file it makes passes SQLite's own integrity check.

#include "Schemat.h"
#include "Table.h"
#include "IntegrityCheck.h"
#include "VfsShim.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using kal::test::IntegrityCheck;
using kal::test::VfsShim;

namespace {

int RowsOf(const QString& path)
{
    kal::TTable t;
    t.setTableName(path);
    t.Open();
    return t.RecordCount();
}

// Every table file is there, opens, and the two tables the tool fills hold
// their rows.
void ExpectWholeDirectory(const QString& katalog, int krok)
{
    const QDir dir(katalog);
    for (const Schemat::Tabela* t : Schemat::TabelePlikowe()) {
        ASSERT_TRUE(QFileInfo::exists(dir.filePath(t->plik))) << t->plik.toStdString() << ", step " << krok;
        EXPECT_EQ(IntegrityCheck(dir.filePath(t->plik)), "ok") << t->plik.toStdString() << ", step " << krok;
    }
    EXPECT_EQ(RowsOf(dir.filePath(Schemat::ZnajdzTabele(QStringLiteral("TTabelaGest"))->plik)), 12) << krok;
    EXPECT_EQ(RowsOf(dir.filePath(Schemat::ZnajdzTabele(QStringLiteral("TPolaExcel"))->plik)), 1) << krok;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral(".kalmora-nowe-dane")))) << krok;
}

TEST(KatalogDanych, EveryFileOfANewDirectoryPassesTheIntegrityCheck)
{
    QTemporaryDir tmp;
    ASSERT_EQ(Schemat::UtworzKatalogDanych(tmp.path()), QString());
    ExpectWholeDirectory(tmp.path(), 0);
}

// A child making a directory is killed before one file operation after
// another (a spread of them over the whole run); the directory then holds no
// table file or all of them, and a next run leaves it whole.
TEST(KatalogDanych, KilledWhileMakingHoldsNothingOrEverythingAndANextRunFinishes)
{
    VfsShim::install();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    QTemporaryDir pierwszy;
    const pid_t licznik = fork();
    if (licznik == 0) {
        VfsShim::reset();
        const bool ok = Schemat::UtworzKatalogDanych(pierwszy.path()).isEmpty();
        const int n = ok ? VfsShim::operations : -1;
        _exit(write(fds[1], &n, sizeof n) == sizeof n ? 0 : 1);
    }
    close(fds[1]);
    int wszystkie = 0;
    ASSERT_EQ(read(fds[0], &wszystkie, sizeof wszystkie), ssize_t(sizeof wszystkie));
    close(fds[0]);
    waitpid(licznik, nullptr, 0);
    ASSERT_GT(wszystkie, 100);

    std::vector<int> kroki{1, 2, 3, wszystkie - 2, wszystkie - 1, wszystkie};
    for (int i = 1; i < 12; ++i)
        kroki.push_back(wszystkie * i / 12);
    for (int krok : kroki) {
        QTemporaryDir tmp;
        const QString katalog = tmp.filePath(QStringLiteral("dane"));
        const pid_t dziecko = fork();
        if (dziecko == 0) {
            VfsShim::reset();
            VfsShim::killAt = krok;
            Schemat::UtworzKatalogDanych(katalog);
            _exit(0);
        }
        int status = 0;
        waitpid(dziecko, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "step " << krok << " of " << wszystkie;
        const QStringList zbiory = QDir(katalog).entryList({QStringLiteral("*.db")}, QDir::Files);
        EXPECT_TRUE(zbiory.isEmpty() || zbiory.size() == int(Schemat::TabelePlikowe().size()))
            << "step " << krok << ": " << zbiory.join(u' ').toStdString();
        EXPECT_EQ(Schemat::UtworzKatalogDanych(katalog), QString()) << "step " << krok;
        ExpectWholeDirectory(katalog, krok);
    }
}

// A run that stopped while moving the finished files (some already in
// place) is finished by the next one, which moves the rest.
TEST(KatalogDanych, ARunStoppedWhileMovingIsFinishedByTheNextRun)
{
    QTemporaryDir gotowy;
    ASSERT_EQ(Schemat::UtworzKatalogDanych(gotowy.path()), QString());
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QDir robocze(dir.filePath(QStringLiteral(".kalmora-nowe-dane")));
    ASSERT_TRUE(QDir().mkpath(robocze.path()));
    const auto tabele = Schemat::TabelePlikowe();
    for (size_t i = 0; i < tabele.size(); ++i) {
        const QString plik = tabele[i]->plik;
        const QDir cel = i % 2 == 0 ? dir : robocze;
        ASSERT_TRUE(QFile::copy(QDir(gotowy.path()).filePath(plik), cel.filePath(plik)));
    }
    QFile znacznik(robocze.filePath(QStringLiteral("gotowe")));
    ASSERT_TRUE(znacznik.open(QIODevice::WriteOnly));
    znacznik.close();
    EXPECT_EQ(Schemat::UtworzKatalogDanych(tmp.path()), QString());
    ExpectWholeDirectory(tmp.path(), 0);
}

} // namespace
