// Table files against the world outside the program: a process killed while
// a file is made, a file or directory the user may not write, a full disk, a
// power cut after a post, and the standard tool's integrity check.
#include "DbSchema.h"
#include "Exceptions.h"
#include "Storage.h"
#include "InChild.h"
#include "IntegrityCheck.h"
#include "TestDir.h"
#include "VfsShim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The syncs of a directory that the program asks for while a test watches:
// each notes the files the directory holds at that moment.
struct DirectorySyncs {
    static inline bool watching = false;
    static inline std::vector<QStringList> seen;
};

} // namespace

// Every fsync of this test program passes here on its way to the system.
extern "C" int fsync(int fd)
{
    struct stat st {};
    if (DirectorySyncs::watching && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        DirectorySyncs::seen.push_back(QDir(QFile::symLinkTarget(QString::fromLatin1(link))).entryList(QDir::Files));
    }
    return int(::syscall(SYS_fsync, fd));
}

using namespace kal;
using kal::test::InChild;
using kal::test::IntegrityCheck;
using kal::test::TestDir;
using kal::test::Towns;
using kal::test::VfsShim;

namespace {

qint64 SingleNumber(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    const qint64 n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

// The number of rows the file keeps, and the rows counted.
qint64 KeptRows(const QString& path)
{
    return SingleNumber(path, "SELECT n FROM _kal_rows");
}

qint64 CountedRows(const QString& path)
{
    return SingleNumber(path, "SELECT count(*) FROM data");
}

// The fuel-use template of a half-year: a keyed table with a second index.
void CreateFuelTemplate(const QString& file)
{
    TTable t;
    t.setTableName(file);
    t.FieldDefs().Add(QStringLiteral("Identyfikator"), ftAutoInc);
    t.FieldDefs().Add(QStringLiteral("IdentyfikatorFirmy"), ftInteger);
    t.FieldDefs().Add(QStringLiteral("IdentyfikatorPojazdu"), ftInteger);
    t.FieldDefs().Add(QStringLiteral("DataTankowania"), ftDate);
    t.FieldDefs().Add(QStringLiteral("RodzajPaliwa"), ftString, 1);
    t.FieldDefs().Add(QStringLiteral("IloscPaliwa"), ftFloat);
    t.IndexDefs().Add(QString(), QStringLiteral("IdentyfikatorFirmy;DataTankowania;Identyfikator"), ixPrimary | ixUnique);
    t.IndexDefs().Add(QStringLiteral("PoPojezdzie"), QStringLiteral("IdentyfikatorPojazdu"));
    t.CreateTable();
}

// What the program does to reach a half-year's file: the component on the
// template lends its structure to a new file when there is none yet.
void OpenHalfYear(TTable& t, const QString& file)
{
    t.setTableName(QStringLiteral("Zuzycie.DB"));
    t.Open();
    t.Close();
    t.setTableName(file);
    if (!t.Exists())
        t.CreateTable();
    t.Open();
}

// A child is killed before each file operation of making a half-year file in
// turn; after every kill the half-year opens with its structure, empty, and
// takes a record.
TEST(Creation, HalfYearFileKilledAtEveryStepOpensAfterwards)
{
    TestDir dir;
    CreateFuelTemplate(QStringLiteral("Zuzycie.DB"));
    VfsShim::install();
    int step = 1;
    for (;; ++step) {
        ASSERT_LT(step, 400) << "the creation never ended";
        const int status = InChild([&] {
            VfsShim::reset();
            VfsShim::killAt = step;
            try {
                TTable t(QStringLiteral("TZuzycie"));
                OpenHalfYear(t, QStringLiteral("Zuz20091.db"));
                t.Close();
            } catch (...) {
                return 2;
            }
            return 0;
        });
        const bool killed = kal::test::KilledBySigkill(status);
        ASSERT_TRUE(killed || kal::test::EndedWell(status)) << "step " << step;

        TTable t(QStringLiteral("TZuzycie"));
        try {
            OpenHalfYear(t, QStringLiteral("Zuz20091.db"));
        } catch (const Exception& e) {
            FAIL() << "step " << step << ": " << e.message().toStdString();
        }
        ASSERT_EQ(t.FieldCount(), 6) << "step " << step;
        EXPECT_EQ(t.IndexDefs().Count(), 2) << "step " << step;
        EXPECT_EQ(t.RecordCount(), 0) << "step " << step;
        t.Append();
        t.FieldByName(QStringLiteral("IdentyfikatorFirmy"))->setAsInteger(1);
        t.FieldByName(QStringLiteral("IloscPaliwa"))->setAsFloat(40.5);
        t.Post();
        t.Close();
        EXPECT_EQ(IntegrityCheck(dir.file(QStringLiteral("Zuz20091.db"))), "ok") << "step " << step;
        t.DeleteTable();
        if (!killed)
            break;
    }
    EXPECT_GT(step, 10); // the child was stopped at every step before it ended
    // No file under a temporary name stays behind once a file is made.
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{QStringLiteral("Zuzycie.DB")});
}

// A new table file takes its name by a rename once it is whole; the
// directory is synced after the rename, so that a power cut does not take
// the name back from a file that later posts went into.
TEST(Creation, TheNameOfANewFileIsSyncedInItsDirectory)
{
    TestDir dir;
    DirectorySyncs::seen.clear();
    DirectorySyncs::watching = true;
    CreateFuelTemplate(QStringLiteral("Zuzycie.DB"));
    DirectorySyncs::watching = false;
    const auto named = std::find_if(DirectorySyncs::seen.begin(), DirectorySyncs::seen.end(),
                                    [](const QStringList& files) { return files == QStringList{"Zuzycie.DB"}; });
    EXPECT_NE(named, DirectorySyncs::seen.end()) << DirectorySyncs::seen.size() << " syncs of the directory";
}

// ------------------------------------------------------------ durability

TEST(Durability, EveryPostIsSyncedBeforeItReturns)
{
    TestDir dir;
    VfsShim::install();
    VfsShim::reset();
    kal::test::CreateTowns();
    Towns towns;
    towns.T.Open();
    for (int i = 0; i < 3; ++i) {
        towns.T.Append();
        towns.Nazwa->setAsString(QStringLiteral("M%1").arg(i));
        VfsShim::syncs = 0;
        towns.T.Post();
        EXPECT_GE(VfsShim::syncs, 1) << "post " << i;
    }
    towns.T.First();
    towns.T.Edit();
    towns.Kwota->setAsFloat(2.5);
    VfsShim::syncs = 0;
    towns.T.Post();
    EXPECT_GE(VfsShim::syncs, 1);
    VfsShim::syncs = 0;
    towns.T.Delete();
    EXPECT_GE(VfsShim::syncs, 1);

    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    sqlite3_exec(db, db_detail::kPragmas, nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA synchronous", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 2); // FULL
    sqlite3_finalize(st);
    sqlite3_close(db);
}

// ------------------------------------------------------------ full disk

TEST(FullDisk, PostIsRefusedAsAFullDiskAndKeepsTheRecord)
{
    TestDir dir;
    VfsShim::install();
    VfsShim::reset();
    kal::test::CreateTowns();
    Towns towns;
    towns.T.Open();
    towns.add(QStringLiteral("Kraków"), 1.0);
    towns.T.Append();
    towns.Nazwa->setAsString(QStringLiteral("Łódź"));
    VfsShim::diskFull = true;
    try {
        towns.T.Post();
        FAIL() << "posted on a full disk";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Brak miejsca na dysku: nie można zapisać zbioru danych Miasta.db");
    }
    EXPECT_EQ(towns.T.State(), dsInsert);
    EXPECT_EQ(towns.Nazwa->AsString(), "Łódź");
    VfsShim::diskFull = false;
    towns.T.Post();
    EXPECT_EQ(towns.names(), (QStringList{"Kraków", "Łódź"}));
    towns.T.Close();
    EXPECT_EQ(IntegrityCheck(dir.file("Miasta.db")), "ok");
}

TEST(FullDisk, CreationIsRefusedAsAFullDiskAndLeavesNoFile)
{
    TestDir dir;
    VfsShim::install();
    VfsShim::reset();
    VfsShim::diskFull = true;
    try {
        kal::test::CreateTowns();
        FAIL() << "made a file on a full disk";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Brak miejsca na dysku: nie można zapisać zbioru danych Miasta.db");
    }
    VfsShim::reset();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    kal::test::CreateTowns();
    Towns towns;
    towns.T.Open();
    EXPECT_TRUE(towns.T.IsEmpty());
}

// ------------------------------------------------------------ read-only

// Runs `work` as a user without the rights of the file's owner: as root the
// child gives up its rights for nobody's. The child's text comes back;
// "#skip" when the rights cannot be given up.
QString AsAnotherUser(const std::function<QString()>& work)
{
    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("#skip pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        QByteArray out;
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
            out = "#skip the tests run as root and cannot give up its rights";
        } else {
            try {
                out = work().toUtf8();
            } catch (const Exception& e) {
                out = e.message().toUtf8();
            } catch (...) {
                out = "#unknown error";
            }
        }
        const ssize_t written = write(fds[1], out.constData(), size_t(out.size()));
        _exit(written == out.size() ? 0 : 1);
    }
    close(fds[1]);
    QByteArray got;
    char buf[512];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
        got.append(buf, int(n));
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return QString::fromUtf8(got);
}

QString OpenAndPost()
{
    Towns towns;
    towns.T.Open();
    towns.add(QStringLiteral("Opole"));
    return QStringLiteral("posted");
}

class ReadOnly : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        chmod(QFile::encodeName(m_dir.path()).constData(), 0777);
        chmod(QFile::encodeName(m_dir.file("Miasta.db")).constData(), 0666);
    }
    void TearDown() override { chmod(QFile::encodeName(m_dir.path()).constData(), 0777); }
    void run(const QString& expected)
    {
        const QString got = AsAnotherUser(OpenAndPost);
        if (got.startsWith(u"#skip"))
            GTEST_SKIP() << got.mid(6).toStdString();
        EXPECT_EQ(got, expected);
        EXPECT_FALSE(got.contains(QStringLiteral("nie jest zbiorem danych")));
    }
    TestDir m_dir;
};

TEST_F(ReadOnly, WritableFileTakesThePost)
{
    run(QStringLiteral("posted"));
}

TEST_F(ReadOnly, FileWithoutWriteRightIsSaidToBeSo)
{
    chmod(QFile::encodeName(m_dir.file("Miasta.db")).constData(), 0444);
    run(QStringLiteral("Nie można zapisać zbioru danych Miasta.db: brak uprawnień do zapisu"));
}

TEST_F(ReadOnly, DirectoryWithoutWriteRightIsSaidToBeSo)
{
    chmod(QFile::encodeName(m_dir.path()).constData(), 0555);
    run(QStringLiteral("Nie można zapisywać w katalogu %1 (zbiór danych Miasta.db): brak uprawnień do zapisu")
            .arg(QDir::toNativeSeparators(QFileInfo(m_dir.path()).absoluteFilePath())));
}

TEST_F(ReadOnly, NewFileInADirectoryWithoutWriteRightIsSaidToBeSo)
{
    chmod(QFile::encodeName(m_dir.path()).constData(), 0555);
    const QString got = AsAnotherUser([] {
        kal::test::CreateReadings();
        return QStringLiteral("made");
    });
    if (got.startsWith(u"#skip"))
        GTEST_SKIP() << got.mid(6).toStdString();
    EXPECT_EQ(got, QStringLiteral("Nie można zapisywać w katalogu %1 (zbiór danych Odczyty.db): brak uprawnień do zapisu")
                       .arg(QDir::toNativeSeparators(QFileInfo(m_dir.path()).absoluteFilePath())));
}

// ------------------------------------------------------------ integrity

// Every kind of write on tables of every shape leaves a file that SQLite's
// own integrity check finds whole.
TEST(Integrity, EveryKindOfWriteLeavesAWholeFile)
{
    TestDir dir;
    kal::test::CreateTowns();
    kal::test::CreateReadings();
    CreateFuelTemplate(QStringLiteral("Zuzycie.DB"));
    {
        TTable bare;
        bare.setTableName(QStringLiteral("Luzne.db"));
        bare.FieldDefs().Add(QStringLiteral("Tekst"), ftString, 10);
        bare.FieldDefs().Add(QStringLiteral("Liczba"), ftInteger);
        bare.IndexDefs().Add(QStringLiteral("PoTekscie"), QStringLiteral("Tekst"));
        bare.CreateTable();
    }
    const QStringList files{"Miasta.db", "Odczyty.db", "Zuzycie.DB", "Luzne.db"};
    for (const QString& f : files)
        EXPECT_EQ(IntegrityCheck(dir.file(f)), "ok") << f.toStdString() << " as made";
    for (const QString& f : files) {
        TTable t;
        t.setTableName(f);
        t.Open();
        auto fill = [&](int i) {
            for (int k = 0; k < t.FieldCount(); ++k) {
                TField* field = t.Fields(k);
                switch (field->DataType()) {
                case ftAutoInc:
                    break;
                case ftString:
                case ftMemo:
                    field->setAsString(QStringLiteral("t%1").arg(i * 7 % 97));
                    break;
                case ftDate:
                    field->setAsDateTime(QDate(2009, 1, 1).addDays(i));
                    break;
                case ftFloat:
                    field->setAsFloat(i * 1.5);
                    break;
                case ftBoolean:
                    field->setAsBoolean(i % 2 == 0);
                    break;
                default:
                    field->setAsInteger(i);
                    break;
                }
            }
        };
        // The engine holds its file alone while open: each kind of write is
        // checked with the file closed.
        const auto after = [&](const char* what, const std::function<void()>& write) {
            t.Open();
            write();
            t.Close();
            EXPECT_EQ(IntegrityCheck(dir.file(f)), "ok") << f.toStdString() << " after " << what;
            EXPECT_EQ(KeptRows(dir.file(f)), CountedRows(dir.file(f))) << f.toStdString() << " after " << what;
        };
        t.Close();
        after("inserts", [&] {
            for (int i = 0; i < 20; ++i) {
                t.Append();
                fill(i);
                t.Post();
            }
        });
        after("an edit", [&] {
            t.MoveBy(3);
            t.Edit();
            fill(40); // changes the keys too
            t.Post();
        });
        after("a delete", [&] { t.Delete(); });
        after("emptying", [&] { t.EmptyTable(); });
        t.Open();
        t.Close();
    }
}

// A keyed file of an earlier build keeps the row id before the key column;
// it opens, takes, changes and loses rows in its order as before.
TEST(Integrity, KeyedFileOfTheEarlierColumnOrderKeepsWorking)
{
    TestDir dir;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open("Stare.db", &db), SQLITE_OK);
    QByteArray key1, key2;
    db_detail::appendKeyPart(key1, kal::PolishSortKey(QStringLiteral("b")));
    db_detail::appendKeyPart(key2, kal::PolishSortKey(QStringLiteral("d")));
    const QByteArray sql =
        "PRAGMA journal_mode=WAL; BEGIN;"
        "CREATE TABLE data(\"_rid\" INTEGER NOT NULL, \"Nazwa\" TEXT, \"Ilosc\" INTEGER,"
        " \"~0\" BLOB NOT NULL DEFAULT x'', PRIMARY KEY(\"~0\")) WITHOUT ROWID;"
        "CREATE UNIQUE INDEX \"rid\" ON data(\"_rid\");"
        "CREATE TABLE _kal_state(hwm INTEGER NOT NULL); INSERT INTO _kal_state VALUES(0);"
        "CREATE TABLE _kal_fields(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, type INTEGER, size INTEGER);"
        "CREATE TABLE _kal_indexes(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL, options INTEGER);"
        "INSERT INTO _kal_fields VALUES(0,'Nr'," + QByteArray::number(ftAutoInc) + ",0);"
        "INSERT INTO _kal_fields VALUES(1,'Nazwa'," + QByteArray::number(ftString) + ",10);"
        "INSERT INTO _kal_fields VALUES(2,'Ilosc'," + QByteArray::number(ftInteger) + ",0);"
        "INSERT INTO _kal_indexes VALUES(0,'','Nazwa'," + QByteArray::number(ixPrimary | ixUnique) + ");"
        "INSERT INTO data VALUES(1,'b',1,x'" + key1.toHex() + "');"
        "INSERT INTO data VALUES(2,'d',2,x'" + key2.toHex() + "');"
        "COMMIT;";
    ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);

    TTable t;
    t.setTableName(QStringLiteral("Stare.db"));
    t.Open();
    auto rows = [&] {
        QStringList out;
        for (t.First(); !t.Eof(); t.Next())
            out << t.FieldByName("Nazwa")->AsString() + t.FieldByName("Nr")->AsString();
        return out.join(u' ');
    };
    EXPECT_EQ(rows(), "b1 d2");
    t.Append();
    t.FieldByName("Nazwa")->setAsString("c");
    t.Post();
    t.Append();
    t.FieldByName("Nazwa")->setAsString("a");
    t.Post();
    EXPECT_EQ(rows(), "a4 b1 c3 d2");
    ASSERT_TRUE(t.FindKey({"b"}));
    t.Edit();
    t.FieldByName("Nazwa")->setAsString("e");
    t.Post();
    t.First();
    t.Delete();
    EXPECT_EQ(rows(), "c3 d2 e1");
    t.Append();
    t.FieldByName("Nazwa")->setAsString("c");
    EXPECT_THROW(t.Post(), EDatabaseError);
    t.Cancel();
    t.Close();
    t.Open();
    EXPECT_EQ(rows(), "c3 d2 e1");
}

} // namespace
