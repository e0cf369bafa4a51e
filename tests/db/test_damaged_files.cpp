// A table file that is damaged (a bad sector, a file cut short) is told as
// damaged, naming the file and what the user can do; a file of another
// program is told as such. The engine's messages are Polish and name the
// file they concern.
#include "DbSchema.h"
#include "Exceptions.h"
#include "Storage.h"
#include "TestDir.h"

#include <QFile>

#include <gtest/gtest.h>
#include <ostream>
#include <sqlite3.h>

// Readable texts in the messages of failed expectations.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

using namespace kal;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

const QString Uszkodzony = QStringLiteral("Zbiór danych Pojazdy.db jest uszkodzony. Odtwórz go z kopii zapasowej");
const QString Obcy = QStringLiteral("Plik Pojazdy.db nie jest zbiorem danych programu");

// Pojazdy.db with enough towns to fill several pages, closed.
void Utworz(TestDir& dir)
{
    kal::test::CreateTowns(QStringLiteral("Pojazdy.db"));
    Towns towns(QStringLiteral("Pojazdy.db"));
    towns.T.Open();
    for (int i = 0; i < 300; ++i)
        towns.add(QStringLiteral("Miasto %1").arg(i, 3, 10, QLatin1Char('0')), i);
    towns.T.Close();
    ASSERT_GT(QFile(dir.file(QStringLiteral("Pojazdy.db"))).size(), 20000);
}

// Writes `bytes` over the file from `offset` on.
void Nadpisz(TestDir& dir, qint64 offset, const QByteArray& bytes)
{
    QFile f(dir.file(QStringLiteral("Pojazdy.db")));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(offset));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The message of opening Pojazdy.db and reading all its rows; empty when
// that went well.
QString Komunikat()
{
    Towns towns(QStringLiteral("Pojazdy.db"));
    try {
        towns.T.Open();
        towns.names();
    } catch (const EDatabaseError& e) {
        return e.message();
    }
    return {};
}

TEST(DamagedFile, APageHeaderOverwrittenIsToldAsDamaged)
{
    TestDir dir;
    ASSERT_NO_FATAL_FAILURE(Utworz(dir));
    // The table's rows begin on page 2 (a page is 4096 bytes): a bad sector
    // over its header.
    ASSERT_NO_FATAL_FAILURE(Nadpisz(dir, 4096, QByteArray(32, '\xA5')));
    EXPECT_EQ(Komunikat(), Uszkodzony);
}

TEST(DamagedFile, AFileCutShortIsToldAsDamaged)
{
    TestDir dir;
    ASSERT_NO_FATAL_FAILURE(Utworz(dir));
    ASSERT_TRUE(QFile::resize(dir.file(QStringLiteral("Pojazdy.db")), 10000));
    EXPECT_EQ(Komunikat(), Uszkodzony);
}

TEST(DamagedFile, AFileCutWithinItsHeaderOrToNothingIsToldAsDamaged)
{
    TestDir dir;
    ASSERT_NO_FATAL_FAILURE(Utworz(dir));
    ASSERT_TRUE(QFile::resize(dir.file(QStringLiteral("Pojazdy.db")), 50));
    EXPECT_EQ(Komunikat(), Uszkodzony);
    ASSERT_TRUE(QFile::resize(dir.file(QStringLiteral("Pojazdy.db")), 0));
    EXPECT_EQ(Komunikat(), Uszkodzony);
}

TEST(DamagedFile, ADamagedFileHeaderIsToldAsDamaged)
{
    TestDir dir;
    ASSERT_NO_FATAL_FAILURE(Utworz(dir));
    // The page size of the header made impossible.
    ASSERT_NO_FATAL_FAILURE(Nadpisz(dir, 16, QByteArray("\x00\x07", 2)));
    EXPECT_EQ(Komunikat(), Uszkodzony);
    // The first bytes of the file zeroed.
    ASSERT_NO_FATAL_FAILURE(Nadpisz(dir, 0, QByteArray(100, '\0')));
    EXPECT_EQ(Komunikat(), Uszkodzony);
}

TEST(DamagedFile, ADatabaseOfAnotherProgramIsToldAsNotTheProgramsFile)
{
    TestDir dir;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(dir.file(QStringLiteral("Pojazdy.db"))).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE klienci(id INTEGER PRIMARY KEY, nazwa TEXT);"
                               "INSERT INTO klienci(nazwa) VALUES('Kowalski');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    EXPECT_EQ(Komunikat(), Obcy);
}

TEST(DamagedFile, AFileOfAnotherKindIsToldAsNotTheProgramsFile)
{
    TestDir dir;
    QFile f(dir.file(QStringLiteral("Pojazdy.db")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // A table of another database program's format.
    f.write(QByteArray("\x00\x08\x00\x00\x00\x00\x00\x00", 8) + QByteArray(2040, ' '));
    f.close();
    EXPECT_EQ(Komunikat(), Obcy);
}

TEST(EngineError, AnErrorOfTheProgramNamesTheFileInPolishWithSQLitesWords)
{
    TestDir dir;
    kal::test::CreateTowns();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(dir.file(QStringLiteral("Miasta.db"))).constData(), &db), SQLITE_OK);
    EXPECT_NE(sqlite3_exec(db, "SELECT nic FROM brak", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(db_detail::errorText(db),
              QStringLiteral("Błąd bazy danych w zbiorze danych Miasta.db (kod SQLite 1: no such table: brak)"));
    sqlite3_close(db);
}

} // namespace
