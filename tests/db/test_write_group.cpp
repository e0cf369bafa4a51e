// Write groups: many posts stored as one transaction per file, a refused post
// undoing only itself, a group left without commit undoing everything it
// wrote (in the files and in what the components show), and a process killed
// before the commit leaving nothing of the group behind.
#include "DbSchema.h"
#include "Exceptions.h"
#include "InChild.h"
#include "IntegrityCheck.h"
#include "TestDir.h"
#include "VfsShim.h"
#include "WriteGroup.h"

#include <QFileInfo>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <functional>
#include <optional>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

using namespace kal;
using kal::test::InChild;
using kal::test::IntegrityCheck;
using kal::test::Readings;
using kal::test::TestDir;
using kal::test::Towns;
using kal::test::VfsShim;

namespace {

// The names a fresh component on the file reads, in the file's order.
QStringList StoredNames(const QString& file = QStringLiteral("Miasta.db"))
{
    Towns t(file);
    t.T.Open();
    return t.names();
}

int StoredReadings(const QString& file = QStringLiteral("Odczyty.db"))
{
    Readings r(file);
    r.T.Open();
    return r.T.RecordCount();
}

// The file as the standard tool finds it after a crash (`sqlite3 FILE` opens
// it for writing and deals with the journal left behind): its integrity
// check, its rows counted and the number of rows the file keeps.
struct FileAfterCrash {
    QString integrity;
    qint64 rows = -1;
    qint64 keptRows = -1;
};

FileAfterCrash OpenAfterCrash(const QString& path)
{
    FileAfterCrash out;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const auto number = [db](const char* sql) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        const qint64 n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
        sqlite3_finalize(st);
        return n;
    };
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    QStringList lines;
    while (sqlite3_step(st) == SQLITE_ROW)
        lines << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    out.integrity = lines.join(u'\n');
    out.rows = number("SELECT count(*) FROM data");
    out.keptRows = number("SELECT n FROM _kal_rows");
    sqlite3_close(db);
    return out;
}

class WriteGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        kal::test::CreateTowns();
        kal::test::CreateReadings();
        towns.T.Open();
        towns.add(QStringLiteral("Kraków"), 1.0);
        towns.add(QStringLiteral("Łódź"), 2.0);
    }

    TestDir dir;
    Towns towns;
};

// ------------------------------------------------------------ a killed process

// A child posts a few thousand rows in a group (enough for SQLite to write
// pages of the open transaction into the journal), each post flushed by its
// after-post handler as the data module does, and is killed before the
// commit: the file holds what it held before, and passes the integrity check.
TEST_F(WriteGroupTest, ProcessKilledBeforeCommitLeavesNothingOfTheGroup)
{
    towns.T.Close();
    const QString path = dir.file(QStringLiteral("Miasta.db"));
    const QString memo(2000, u'x');
    const auto postMany = [&](bool commit) {
        Towns t;
        t.T.AfterPost = [](TTable& table) { table.FlushBuffers(); };
        t.T.Open();
        TWriteGroup group;
        for (int i = 0; i < 3000; ++i) {
            t.T.Append();
            t.Nazwa->setAsString(QStringLiteral("G%1").arg(i));
            t.Uwagi->setAsString(memo);
            t.T.Post();
        }
        if (commit)
            group.Commit();
        ::kill(::getpid(), SIGKILL);
        return 0;
    };

    ASSERT_TRUE(kal::test::KilledBySigkill(InChild([&] { return postMany(false); })));
    // The open transaction had reached the journal: the kill left it there.
    EXPECT_GT(QFileInfo(path + QStringLiteral("-wal")).size(), 1'000'000);
    FileAfterCrash after = OpenAfterCrash(path);
    EXPECT_EQ(after.integrity, QStringLiteral("ok"));
    EXPECT_EQ(after.rows, 2);
    EXPECT_EQ(after.keptRows, 2);
    EXPECT_EQ(StoredNames(), (QStringList{QStringLiteral("Kraków"), QStringLiteral("Łódź")}));

    // Killed just after the commit: every row is there.
    ASSERT_TRUE(kal::test::KilledBySigkill(InChild([&] { return postMany(true); })));
    after = OpenAfterCrash(path);
    EXPECT_EQ(after.integrity, QStringLiteral("ok"));
    EXPECT_EQ(after.rows, 3002);
    EXPECT_EQ(after.keptRows, 3002);
}

// ------------------------------------------------------------ inside the group

TEST_F(WriteGroupTest, ReadsInsideTheGroupSeeItsWritesThroughEveryCursor)
{
    Towns second;
    second.T.Open();
    TWriteGroup group;
    EXPECT_TRUE(TWriteGroup::Active());
    towns.add(QStringLiteral("Gdańsk"), 3.0);
    EXPECT_EQ(towns.T.RecordCount(), 3);
    second.T.Refresh();
    EXPECT_EQ(second.names(), (QStringList{QStringLiteral("Kraków"), QStringLiteral("Łódź"),
                                           QStringLiteral("Gdańsk")}));
    EXPECT_TRUE(second.T.Locate(QStringLiteral("Nazwa"), QStringLiteral("Gdańsk")));
    EXPECT_DOUBLE_EQ(second.Kwota->AsFloat(), 3.0);
    group.Commit();
}

// A post refused inside a group leaves the component exactly as the same
// post refused outside one: the record pending with its values, the rows and
// the next row id as they were. The group's other posts are stored.
struct AfterRefusal {
    TDataSetState state;
    int records;
    int recNo;
    QString name;
    double amount;
    int idAfterRetry;
};

AfterRefusal RefuseThenRetry(Towns& towns, bool inGroup)
{
    std::optional<TWriteGroup> group;
    if (inGroup)
        group.emplace();
    towns.add(QStringLiteral("Gdańsk"), 3.0);
    towns.T.Append();
    towns.Nazwa->setAsString(QStringLiteral("Kraków")); // the unique name index refuses it
    towns.Kwota->setAsFloat(9.5);
    try {
        towns.T.Post();
        ADD_FAILURE() << "the duplicate was stored";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Naruszenie klucza unikalnego w zbiorze %1").arg(towns.T.TableName()));
    }
    AfterRefusal s{towns.T.State(), towns.T.RecordCount(), towns.T.RecNo(), towns.Nazwa->AsString(),
                   towns.Kwota->AsFloat(), 0};
    towns.Nazwa->setAsString(QStringLiteral("Opole"));
    towns.T.Post();
    s.idAfterRetry = towns.Id->AsInteger();
    if (group)
        group->Commit();
    return s;
}

TEST_F(WriteGroupTest, RefusedPostUndoesOnlyItself)
{
    const AfterRefusal inGroup = RefuseThenRetry(towns, true);
    EXPECT_EQ(inGroup.state, dsInsert);
    EXPECT_EQ(inGroup.records, 3);
    EXPECT_EQ(inGroup.name, QStringLiteral("Kraków"));
    EXPECT_DOUBLE_EQ(inGroup.amount, 9.5);
    EXPECT_EQ(inGroup.idAfterRetry, 4); // the refused row's id is given to the next one
    towns.T.Close();
    const QStringList expected{QStringLiteral("Kraków"), QStringLiteral("Łódź"), QStringLiteral("Gdańsk"),
                               QStringLiteral("Opole")};
    EXPECT_EQ(StoredNames(), expected);
    EXPECT_EQ(IntegrityCheck(dir.file(QStringLiteral("Miasta.db"))), QStringLiteral("ok"));

    // The same outside a group, on a file that held the same rows.
    kal::test::CreateTowns(QStringLiteral("Miasta2.db"));
    Towns plain(QStringLiteral("Miasta2.db"));
    plain.T.Open();
    plain.add(QStringLiteral("Kraków"), 1.0);
    plain.add(QStringLiteral("Łódź"), 2.0);
    const AfterRefusal alone = RefuseThenRetry(plain, false);
    EXPECT_EQ(alone.state, inGroup.state);
    EXPECT_EQ(alone.records, inGroup.records);
    EXPECT_EQ(alone.recNo, inGroup.recNo);
    EXPECT_EQ(alone.name, inGroup.name);
    EXPECT_EQ(alone.idAfterRetry, inGroup.idAfterRetry);
    plain.T.Close();
    EXPECT_EQ(StoredNames(QStringLiteral("Miasta2.db")), expected);
}

// A data link that counts what the component tells it.
struct CountingLink : TDataLink {
    int changed = 0;
    void dataSetChanged() override { ++changed; }
    void dataSetScrolled(int) override {}
};

// Left by an exception, the group takes back every row it wrote, and every
// component on the file shows what the file holds; a component in the
// middle of an insert keeps its record. New rows then take ids above those
// the undone rows had.
TEST_F(WriteGroupTest, GroupLeftByAnExceptionTakesEverythingBack)
{
    Towns second;
    second.T.Open();
    Towns typing;
    typing.T.Open();
    TDataSource source(&second.T);
    CountingLink link;
    link.setDataSource(&source);
    try {
        TWriteGroup group;
        towns.add(QStringLiteral("Gdańsk"), 3.0);
        towns.add(QStringLiteral("Opole"), 4.0);
        towns.add(QStringLiteral("Sopot"), 5.0); // ids 3, 4, 5
        towns.T.First();
        towns.T.Edit();
        towns.Kwota->setAsFloat(100.0);
        towns.T.Post(); // Kraków changed
        ASSERT_TRUE(second.T.Locate(QStringLiteral("Nazwa"), QStringLiteral("Sopot")));
        typing.T.Append();
        typing.Nazwa->setAsString(QStringLiteral("Tczew"));
        link.changed = 0;
        throw std::runtime_error("przerwane");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(TWriteGroup::Active());
    EXPECT_EQ(towns.T.RecordCount(), 2);
    EXPECT_EQ(towns.names(), (QStringList{QStringLiteral("Kraków"), QStringLiteral("Łódź")}));
    towns.T.First();
    EXPECT_DOUBLE_EQ(towns.Kwota->AsFloat(), 1.0);
    // The second cursor stood on an undone row: it stands on a stored one,
    // and its controls were told.
    EXPECT_EQ(second.T.RecordCount(), 2);
    EXPECT_EQ(second.Nazwa->AsString(), QStringLiteral("Łódź"));
    EXPECT_GE(link.changed, 1);
    EXPECT_EQ(typing.T.State(), dsInsert);
    EXPECT_EQ(typing.Nazwa->AsString(), QStringLiteral("Tczew"));
    EXPECT_EQ(typing.T.GridRowCount(), 3);
    typing.T.Post();
    EXPECT_EQ(typing.Id->AsInteger(), 6);
    link.setDataSource(nullptr);
    towns.T.Close();
    second.T.Close();
    typing.T.Close();
    EXPECT_EQ(StoredNames(), (QStringList{QStringLiteral("Kraków"), QStringLiteral("Łódź"), QStringLiteral("Tczew")}));
    EXPECT_EQ(IntegrityCheck(dir.file(QStringLiteral("Miasta.db"))), QStringLiteral("ok"));
}

TEST_F(WriteGroupTest, DeletesAndEmptyingJoinTheGroup)
{
    {
        TWriteGroup group;
        towns.T.First();
        towns.T.Delete();
        EXPECT_EQ(towns.T.RecordCount(), 1);
    }
    EXPECT_EQ(towns.names(), (QStringList{QStringLiteral("Kraków"), QStringLiteral("Łódź")}));
    {
        TWriteGroup group;
        towns.T.EmptyTable();
        EXPECT_EQ(towns.T.RecordCount(), 0);
    }
    EXPECT_EQ(towns.T.RecordCount(), 2);
    {
        TWriteGroup group;
        towns.T.First();
        towns.T.Delete();
        group.Commit();
    }
    towns.T.Close();
    EXPECT_EQ(StoredNames(), QStringList{QStringLiteral("Łódź")});
}

// An inner group joins the outer one: its commit stores nothing by itself;
// left without commit it undoes the whole group at once, and the outer group
// can then neither write nor commit.
TEST_F(WriteGroupTest, NestedGroupsJoinTheOuterOne)
{
    Readings readings;
    readings.T.Open();
    for (const bool commit : {false, true}) {
        {
            TWriteGroup outer;
            towns.add(QStringLiteral("Gdańsk"));
            {
                TWriteGroup inner;
                readings.add(1, 5.0);
                inner.Commit();
            }
            EXPECT_TRUE(outer.Intact());
            EXPECT_TRUE(TWriteGroup::Active());
            if (commit)
                outer.Commit();
        } // left without commit, the outer group takes the inner one's row too
        EXPECT_EQ(towns.T.RecordCount(), commit ? 3 : 2);
        EXPECT_EQ(readings.T.RecordCount(), commit ? 1 : 0);
    }

    TWriteGroup outer;
    towns.add(QStringLiteral("Opole"));
    try {
        TWriteGroup inner;
        readings.add(1, 5.0);
        throw std::runtime_error("przerwane");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(outer.Intact());
    // Undone at once, before the outer group ends.
    EXPECT_EQ(towns.T.RecordCount(), 3);
    EXPECT_EQ(readings.T.RecordCount(), 1);
    towns.T.Append();
    towns.Nazwa->setAsString(QStringLiteral("Sopot"));
    try {
        towns.T.Post();
        ADD_FAILURE() << "a write of an undone group was stored";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Zmiany przerwanej operacji zostały wycofane"));
    }
    towns.T.Cancel();
    EXPECT_THROW(outer.Commit(), EDatabaseError);
    towns.T.Close();
    readings.T.Close();
    EXPECT_EQ(StoredNames().size(), 3);
    EXPECT_EQ(StoredReadings(), 1);
}

// A group of posts on two files syncs once per file, at its commit.
TEST_F(WriteGroupTest, CommitSyncsEachFileOnce)
{
    VfsShim::install();
    towns.T.Close();
    Towns t;
    Readings readings;
    t.T.Open();
    readings.T.Open();
    t.add(QStringLiteral("Tczew")); // the journals of both files are in use before the group
    readings.add(1, 1.0);
    VfsShim::reset();
    TWriteGroup group;
    for (int i = 0; i < 50; ++i) {
        t.add(QStringLiteral("G%1").arg(i));
        readings.add(i, 1.0);
    }
    EXPECT_EQ(VfsShim::syncs, 0);
    group.Commit();
    EXPECT_EQ(VfsShim::syncs, 2);
    VfsShim::reset();
}

// A commit the disk cannot take stores nothing of the group and says why.
TEST_F(WriteGroupTest, CommitOnAFullDiskStoresNothing)
{
    VfsShim::install();
    VfsShim::reset();
    Readings readings;
    readings.T.Open();
    {
        TWriteGroup group;
        readings.add(1, 1.0);
        towns.add(QStringLiteral("Gdańsk"));
        VfsShim::diskFull = true;
        try {
            group.Commit();
            ADD_FAILURE() << "the commit did not fail";
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Brak miejsca na dysku: nie można zapisać zbioru danych Odczyty.db"));
        }
        VfsShim::diskFull = false;
        EXPECT_FALSE(group.Intact());
    }
    EXPECT_EQ(readings.T.RecordCount(), 0);
    EXPECT_EQ(towns.T.RecordCount(), 2);
    towns.T.Close();
    readings.T.Close();
    EXPECT_EQ(StoredNames().size(), 2);
    EXPECT_EQ(StoredReadings(), 0);
    VfsShim::reset();
}

// A component switched to another file in the middle of a group (the
// half-year file of another period): the first file stays in the group
// until its end, and the file opened during the group joins it.
TEST_F(WriteGroupTest, FileSwitchedDuringTheGroupStaysInIt)
{
    kal::test::CreateReadings(QStringLiteral("Odczyty2.db"));
    for (const bool commit : {false, true}) {
        {
            Readings readings;
            readings.T.Open();
            TWriteGroup group;
            readings.add(1, 1.0);
            readings.T.Close();
            readings.T.setTableName(QStringLiteral("Odczyty2.db"));
            readings.T.Open();
            readings.add(2, 2.0);
            readings.add(3, 3.0);
            readings.T.Close();
            // Back on the first file: the group's row is there.
            readings.T.setTableName(QStringLiteral("Odczyty.db"));
            readings.T.Open();
            EXPECT_EQ(readings.T.RecordCount(), 1);
            readings.T.Close();
            if (commit)
                group.Commit();
        }
        EXPECT_EQ(StoredReadings(QStringLiteral("Odczyty.db")), commit ? 1 : 0);
        EXPECT_EQ(StoredReadings(QStringLiteral("Odczyty2.db")), commit ? 2 : 0);
    }
    EXPECT_EQ(IntegrityCheck(dir.file(QStringLiteral("Odczyty.db"))), QStringLiteral("ok"));
    EXPECT_EQ(IntegrityCheck(dir.file(QStringLiteral("Odczyty2.db"))), QStringLiteral("ok"));
}

// What is saved during a pause is stored at once and stays whatever becomes
// of the group; a file the group has written keeps joining it.
TEST_F(WriteGroupTest, PauseStoresWritesOfOtherFilesAtOnce)
{
    Readings readings;
    readings.T.Open();
    {
        TWriteGroup group;
        towns.add(QStringLiteral("Gdańsk"));
        {
            TWriteGroupPause pause;
            EXPECT_FALSE(TWriteGroup::Active());
            readings.add(1, 1.0);
            towns.add(QStringLiteral("Opole"));
        }
        EXPECT_TRUE(TWriteGroup::Active());
    }
    EXPECT_EQ(readings.T.RecordCount(), 1);
    EXPECT_EQ(towns.T.RecordCount(), 2);
    towns.T.Close();
    readings.T.Close();
    EXPECT_EQ(StoredReadings(), 1);
    EXPECT_EQ(StoredNames().size(), 2);
}

// The disk fills while SQLite moves pages of the open transaction to the
// journal: SQLite drops the transaction, and with it the group's earlier
// rows. The post says why, the components show what the file holds, and the
// group takes no further write and cannot be committed.
TEST_F(WriteGroupTest, FullDiskInTheMiddleUndoesTheWholeGroup)
{
    VfsShim::install();
    VfsShim::reset();
    towns.T.Close();
    towns.T.Open(); // through the shim
    const QString memo(2000, u'x');
    const auto append = [&](int i) {
        towns.T.Append();
        towns.Nazwa->setAsString(QStringLiteral("G%1").arg(i));
        towns.Uwagi->setAsString(memo);
        towns.T.Post();
    };
    {
        TWriteGroup group;
        for (int i = 0; i < 100; ++i)
            append(i);
        VfsShim::diskFull = true;
        QString refusal;
        for (int i = 100; i < 5000 && refusal.isEmpty(); ++i) {
            try {
                append(i);
            } catch (const EDatabaseError& e) {
                refusal = e.message();
            }
        }
        VfsShim::diskFull = false;
        EXPECT_EQ(refusal, QStringLiteral("Brak miejsca na dysku: nie można zapisać zbioru danych Miasta.db"));
        EXPECT_FALSE(group.Intact());
        EXPECT_EQ(towns.T.State(), dsInsert); // the refused record stays as typed
        towns.T.Cancel();
        EXPECT_EQ(towns.T.RecordCount(), 2);
        try {
            append(9999);
            ADD_FAILURE() << "a write of an undone group was stored";
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("Błąd zapisu zbioru danych Miasta.db: zmiany całej operacji zostały wycofane"));
        }
        towns.T.Cancel();
        EXPECT_THROW(group.Commit(), EDatabaseError);
    }
    EXPECT_EQ(towns.names(), (QStringList{QStringLiteral("Kraków"), QStringLiteral("Łódź")}));
    towns.add(QStringLiteral("Opole")); // outside the group, stored at once
    towns.T.Close();
    EXPECT_EQ(StoredNames().size(), 3);
    EXPECT_EQ(IntegrityCheck(dir.file(QStringLiteral("Miasta.db"))), QStringLiteral("ok"));
    VfsShim::reset();
}

} // namespace
