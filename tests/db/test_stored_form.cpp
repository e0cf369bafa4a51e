// A table file written by an older program holds string values with
// trailing blanks ("1 " as a vehicle's kind) and order keys made from them.
// Opening it brings it, once and in one transaction, to the form a post
// stores now: the blanks go, a text of blanks alone becomes no text, and the
// keys are made again, so that "1 " and "1" are one value for the unique
// key, the order and a range. A row whose key in that form is another
// row's keeps its record, keyed after the other's; a file that cannot be
// written, or whose disk has no room for the upgrade, opens as it is; a kill
// in the middle leaves the file as it was or wholly in the form.
#include "Exceptions.h"
#include "InChild.h"
#include "IntegrityCheck.h"
#include "OldTableFile.h"
#include "ScriptedDialogs.h"
#include "Table.h"
#include "TestDir.h"
#include "VfsShim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <sys/wait.h>

using namespace kal;
using kal::test::InChild;
using kal::test::IntegrityCheck;
using kal::test::OldTableFile;
using kal::test::TestDir;
using kal::test::VfsShim;

namespace {

const QString kFile = QStringLiteral("Pojazdy.db");

// Texts compared as plain strings, so that a failure shows them.
std::string Text(const QString& s)
{
    return s.toStdString();
}
std::string Text(const QStringList& rows)
{
    return rows.join(u'\n').toStdString();
}

// A table file as the earlier build made it: "_rid" first, then the fields,
// then the key column of every index (the key of a keyed table among them),
// the indexes, no number of rows kept, user_version 0. Rows are written
// into it with OldTableFile.
void CreateAsTheEarlierBuild(const QString& file, const TFieldDefs& fields, const TIndexDefs& indexes)
{
    int primary = -1;
    for (int i = 0; i < indexes.Count() && primary < 0; ++i)
        if (indexes[i].Options & ixPrimary)
            primary = i;
    QString sql = primary >= 0 ? QStringLiteral("BEGIN; CREATE TABLE data(\"_rid\" INTEGER NOT NULL")
                               : QStringLiteral("BEGIN; CREATE TABLE data(\"_rid\" INTEGER PRIMARY KEY");
    QString defs;
    for (int i = 0; i < fields.Count(); ++i) {
        const TFieldDef& f = fields[i];
        if (f.DataType != ftAutoInc)
            sql += QStringLiteral(", \"%1\" %2")
                       .arg(f.Name, f.DataType == ftString || f.DataType == ftMemo ? "TEXT"
                                    : f.DataType == ftFloat                     ? "REAL"
                                                                                : "INTEGER");
        defs += QStringLiteral("INSERT INTO _kal_fields VALUES(%1,'%2',%3,%4);")
                    .arg(i)
                    .arg(f.Name)
                    .arg(int(f.DataType))
                    .arg(f.Size);
    }
    for (int i = 0; i < indexes.Count(); ++i) {
        sql += QStringLiteral(", \"~%1\" BLOB NOT NULL DEFAULT x''").arg(i);
        defs += QStringLiteral("INSERT INTO _kal_indexes VALUES(%1,'%2','%3',%4);")
                    .arg(i)
                    .arg(indexes[i].Name, indexes[i].Fields)
                    .arg(int(indexes[i].Options));
    }
    sql += primary >= 0 ? QStringLiteral(", PRIMARY KEY(\"~%1\")) WITHOUT ROWID;"
                                         "CREATE UNIQUE INDEX \"rid\" ON data(\"_rid\");")
                              .arg(primary)
                        : QStringLiteral(");");
    for (int i = 0; i < indexes.Count(); ++i) {
        const bool unique = indexes[i].Options & (ixPrimary | ixUnique);
        if (i != primary)
            sql += QStringLiteral("CREATE %1INDEX \"ix%2\" ON data(\"~%2\"%3);")
                       .arg(unique ? "UNIQUE " : "")
                       .arg(i)
                       .arg(primary >= 0 && !unique ? ", \"_rid\"" : "");
    }
    sql += QStringLiteral("CREATE TABLE _kal_state(hwm INTEGER NOT NULL); INSERT INTO _kal_state VALUES(0);"
                          "CREATE TABLE _kal_fields(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, type INTEGER, size INTEGER);"
                          "CREATE TABLE _kal_indexes(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL, options INTEGER);")
        + defs + QStringLiteral("COMMIT;");
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// Makes `file` with the fields and indexes of `t`, as today or as the
// earlier build did.
void Create(TTable& t, const QString& file, bool earlierBuild)
{
    t.setTableName(file);
    if (earlierBuild)
        CreateAsTheEarlierBuild(file, t.FieldDefs(), t.IndexDefs());
    else
        t.CreateTable();
}

// Pojazdy.db: Id autoincrement, Rodzaj string 2, Marka string 20, Nr string
// 20, Uwagi memo; the primary index Rodzaj;Marka;Nr, and "PoMarce" on Marka.
void CreateVehicles(const QString& file = kFile, bool earlierBuild = false)
{
    TTable t;
    t.FieldDefs().Add(QStringLiteral("Id"), ftAutoInc);
    t.FieldDefs().Add(QStringLiteral("Rodzaj"), ftString, 2);
    t.FieldDefs().Add(QStringLiteral("Marka"), ftString, 20);
    t.FieldDefs().Add(QStringLiteral("Nr"), ftString, 20);
    t.FieldDefs().Add(QStringLiteral("Uwagi"), ftMemo);
    t.IndexDefs().Add(QString(), QStringLiteral("Rodzaj;Marka;Nr"), ixPrimary | ixUnique);
    t.IndexDefs().Add(QStringLiteral("PoMarce"), QStringLiteral("Marka"));
    Create(t, file, earlierBuild);
}

struct Vehicles {
    TTable T{QStringLiteral("TPojazdy")};
    TField* Id;
    TField* Rodzaj;
    TField* Marka;
    TField* Nr;
    TField* Uwagi;

    explicit Vehicles(const QString& file = kFile)
    {
        T.setTableName(file);
        Id = T.AddField(QStringLiteral("Id"), ftAutoInc);
        Rodzaj = T.AddField(QStringLiteral("Rodzaj"), ftString, 2);
        Marka = T.AddField(QStringLiteral("Marka"), ftString, 20);
        Nr = T.AddField(QStringLiteral("Nr"), ftString, 20);
        Uwagi = T.AddField(QStringLiteral("Uwagi"), ftMemo);
        T.Open();
    }

    void add(const QString& rodzaj, const QString& marka, const QString& nr)
    {
        T.Append();
        Rodzaj->setAsString(rodzaj);
        Marka->setAsString(marka);
        Nr->setAsString(nr);
        T.Post();
    }

    // "Id Rodzaj/Marka/Nr" of every row in the current order (and range).
    QStringList rows()
    {
        QStringList out;
        for (T.First(); !T.Eof(); T.Next())
            out << QStringLiteral("%1 %2/%3/%4").arg(Id->AsString(), Rodzaj->AsString(), Marka->AsString(), Nr->AsString());
        return out;
    }
};

QVariantMap Vehicle(const char* rodzaj, const char* marka, const char* nr, const char* uwagi = nullptr)
{
    QVariantMap m;
    m[QStringLiteral("Rodzaj")] = QString::fromUtf8(rodzaj);
    m[QStringLiteral("Marka")] = QString::fromUtf8(marka);
    m[QStringLiteral("Nr")] = QString::fromUtf8(nr);
    if (uwagi)
        m[QStringLiteral("Uwagi")] = QString::fromUtf8(uwagi);
    return m;
}

// What the file holds, read with the SQLite C API (the engine must not hold
// the file): every row by row id as "rid|Rodzaj|Marka|Nr|Uwagi|key hex|
// PoMarce key hex" with a null shown as "<>", and the file's figures.
struct Stored {
    QStringList rows;
    qint64 form = -1, keptRows = -1, countedRows = -1, hwm = -1;
    QString schema; // the statements that made the file's tables, indexes and triggers

    QString dump() const
    {
        return QStringLiteral("%1\nform %2, rows %3 kept %4, hwm %5\n%6")
            .arg(rows.join(u'\n'))
            .arg(form)
            .arg(countedRows)
            .arg(keptRows)
            .arg(hwm)
            .arg(schema);
    }
};

Stored ReadStored(const QString& path = kFile)
{
    Stored s;
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT \"_rid\", quote(\"Rodzaj\"), quote(\"Marka\"), quote(\"Nr\"), quote(\"Uwagi\"),"
                       " hex(\"~0\"), hex(\"~1\") FROM data ORDER BY \"_rid\"",
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList cells;
        for (int i = 0; i < 7; ++i)
            cells << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
        s.rows << cells.join(u'|');
    }
    sqlite3_finalize(st);
    const auto number = [&](const char* sql) {
        qint64 n = -1;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        return n;
    };
    s.form = number("PRAGMA user_version");
    s.keptRows = number("SELECT n FROM _kal_rows");
    s.countedRows = number("SELECT count(*) FROM data");
    s.hwm = number("SELECT hwm FROM _kal_state");
    sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY name", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        s.schema += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) + u'\n';
    sqlite3_finalize(st);
    sqlite3_close(db);
    return s;
}

// Order keys written out by hand: a key part per field, each ended by two
// zero bytes; "1" is 11, a blank 01, the letters of the Polish alphabet 40
// (a) upwards: f 48, i 4B, a 40, t 5A, o 53, p 55, e 46, l 4E, w 5D, x 5E,
// s 58, r 57.
const char* const kNull = "0000";
const char* const kOne = "110000";
const char* const kFiat = "484B405A0000";
const char* const kOpel = "5355464E0000";
const char* const kStar = "585A40570000";

QString Key(std::initializer_list<const char*> parts)
{
    QString k;
    for (const char* p : parts)
        k += QString::fromLatin1(p);
    return k;
}

// "WX n": w x blank n.
QString Wx(int n)
{
    return QStringLiteral("5D5E01%1").arg(0x10 + n, 2, 16, QLatin1Char('0')).toUpper() + QStringLiteral("0000");
}

// The older program's file: a kind "1 " picked from the list, a make typed
// with blanks after it, a kind of blanks alone, a number with a blank after
// it, and a memo that ends in blanks.
void WriteOldVehicles()
{
    CreateVehicles();
    OldTableFile old(kFile);
    old.add(Vehicle("1 ", "Fiat", "WX 1", "stara uwaga  "));
    old.add(Vehicle("2", "Opel  ", "WX 2"));
    old.add(Vehicle("1", "Opel", "WX 3"));
    old.add(Vehicle("  ", "Star", "WX 4"));
    old.add(Vehicle("1", "Fiat", "WX 5 "));
}

TEST(StoredForm, AnOlderFileIsBroughtToTheFormWhenOpened)
{
    TestDir dir;
    WriteOldVehicles();
    {
        // Before: the file holds the values and keys as the older program
        // wrote them.
        const Stored before = ReadStored();
        EXPECT_EQ(before.form, 0);
        ASSERT_EQ(before.rows.size(), 5);
        EXPECT_EQ(Text(before.rows[0]), Text("1|'1 '|'Fiat'|'WX 1'|'stara uwaga  '|" + Key({"11010000", kFiat}) + Wx(1) + "|" + kFiat));
    }
    {
        Vehicles v;
        EXPECT_EQ(v.T.RecordCount(), 5);
    }
    const Stored after = ReadStored();
    EXPECT_EQ(after.form, 1);
    EXPECT_EQ(Text(after.rows), Text(QStringList{
                              "1|'1'|'Fiat'|'WX 1'|'stara uwaga  '|" + Key({kOne, kFiat}) + Wx(1) + "|" + kFiat,
                              "2|'2'|'Opel'|'WX 2'|NULL|" + Key({"120000", kOpel}) + Wx(2) + "|" + kOpel,
                              "3|'1'|'Opel'|'WX 3'|NULL|" + Key({kOne, kOpel}) + Wx(3) + "|" + kOpel,
                              "4|NULL|'Star'|'WX 4'|NULL|" + Key({kNull, kStar}) + Wx(4) + "|" + kStar,
                              "5|'1'|'Fiat'|'WX 5'|NULL|" + Key({kOne, kFiat}) + Wx(5) + "|" + kFiat,
                          }));
    // The number of rows and the highest row id are the file's as before.
    EXPECT_EQ(after.keptRows, 5);
    EXPECT_EQ(after.countedRows, 5);
    EXPECT_EQ(after.hwm, 0);
    EXPECT_EQ(IntegrityCheck(dir.file(kFile)), "ok");

    Vehicles v;
    // The primary order: no kind first, then kind 1 by make and number
    // (the "1 " of row 1 among them), then kind 2.
    EXPECT_EQ(Text(v.rows()), Text(QStringList{"4 /Star/WX 4", "1 1/Fiat/WX 1", "5 1/Fiat/WX 5", "3 1/Opel/WX 3",
                                     "2 2/Opel/WX 2"}));
    // Kind 1 as a range holds the vehicle that was "1 ".
    v.T.SetRange({QStringLiteral("1")}, {QStringLiteral("1")});
    EXPECT_EQ(Text(v.rows()), Text(QStringList{"1 1/Fiat/WX 1", "5 1/Fiat/WX 5", "3 1/Opel/WX 3"}));
    v.T.CancelRange();
    // By make, the "Opel  " of row 2 is an Opel like row 3 (ties by row id).
    v.T.setIndexName(QStringLiteral("PoMarce"));
    EXPECT_EQ(Text(v.rows()), Text(QStringList{"1 1/Fiat/WX 1", "5 1/Fiat/WX 5", "2 2/Opel/WX 2", "3 1/Opel/WX 3",
                                     "4 /Star/WX 4"}));
    v.T.SetRange({QStringLiteral("Opel")}, {QStringLiteral("Opel")});
    EXPECT_EQ(Text(v.rows()), Text(QStringList{"2 2/Opel/WX 2", "3 1/Opel/WX 3"}));
    v.T.CancelRange();
    v.T.setIndexName(QString());

    // The same vehicle again, of kind "1" or of kind "1 ", is a duplicate.
    for (const char* kind : {"1", "1 "}) {
        EXPECT_THROW(v.add(QString::fromUtf8(kind), QStringLiteral("Fiat"), QStringLiteral("WX 1")), EDatabaseError)
            << kind;
        v.T.Cancel();
    }
    EXPECT_THROW(v.add(QStringLiteral("2"), QStringLiteral("Opel"), QStringLiteral("WX 2 ")), EDatabaseError);
    v.T.Cancel();
    EXPECT_EQ(v.T.RecordCount(), 5);
    // A new vehicle takes the next row id.
    v.add(QStringLiteral("3"), QStringLiteral("Jelcz"), QStringLiteral("WX 6"));
    EXPECT_EQ(v.Id->AsInteger(), 6);
    v.T.Close();
    EXPECT_EQ(IntegrityCheck(dir.file(kFile)), "ok");
}

// The form is the file's: a second opening reads it and writes nothing, and
// a file made now is made in the form, so that its first opening writes
// nothing either.
TEST(StoredForm, AFileIsBroughtToTheFormOnce)
{
    TestDir dir;
    VfsShim::install();
    VfsShim::reset();
    WriteOldVehicles();
    {
        const int syncs = VfsShim::syncs;
        Vehicles v;
        EXPECT_GT(VfsShim::syncs, syncs); // the upgrade is durable
    }
    // Trailing blanks written now behind the engine's back are not looked
    // for again: the file is in the form.
    {
        sqlite3* db = nullptr;
        sqlite3_open(kFile.toUtf8().constData(), &db);
        sqlite3_exec(db, "UPDATE data SET \"Marka\"='Opel ' WHERE \"_rid\"=3", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const Stored once = ReadStored();
    {
        const int syncs = VfsShim::syncs;
        Vehicles v;
        EXPECT_EQ(v.T.RecordCount(), 5);
        EXPECT_EQ(VfsShim::syncs, syncs);
    }
    EXPECT_EQ(Text(ReadStored().rows), Text(once.rows));
    EXPECT_TRUE(once.rows[2].contains(u"'Opel '"));

    CreateVehicles(QStringLiteral("Nowe.db"));
    EXPECT_EQ(ReadStored(QStringLiteral("Nowe.db")).form, 1);
    {
        const int syncs = VfsShim::syncs;
        Vehicles v(QStringLiteral("Nowe.db"));
        EXPECT_EQ(VfsShim::syncs, syncs);
    }
}

// The older program took "1 "/Fiat/WX 1 and "1"/Fiat/WX 1 as two vehicles.
// In the form the first would have the second's key. Nothing is lost or
// merged: it keeps its record, and its key is the second's followed by its
// row id, so that it stands right after the second in the order and in a
// range. The user sees both; a change that keeps it the same vehicle is
// refused as a duplicate, a change of its number is taken, and it can be
// deleted.
TEST(StoredForm, ARowWhoseKeyInTheFormIsAnotherRowsStandsAfterIt)
{
    TestDir dir;
    CreateVehicles();
    {
        OldTableFile old(kFile);
        old.add(Vehicle("1 ", "Fiat", "WX 1", "pierwszy"));
        old.add(Vehicle("1", "Fiat", "WX 1", "drugi"));
        old.add(Vehicle("2 ", "Opel", "WX 2", "trzeci"));
        old.add(Vehicle("1 ", "Fiat", "WX 7", "czwarty"));
        ASSERT_EQ(old.lastResult(), SQLITE_DONE);
    }
    const Stored before = ReadStored();
    {
        Vehicles v;
        EXPECT_EQ(Text(v.rows()), Text(QStringList{"2 1/Fiat/WX 1", "1 1/Fiat/WX 1", "4 1/Fiat/WX 7", "3 2/Opel/WX 2"}));
    }
    const Stored after = ReadStored();
    EXPECT_EQ(after.form, 1);
    ASSERT_EQ(after.rows.size(), 4);
    // Row 1 is read as before; its key is row 2's followed by its row id
    // (a whole number 1 is 81 01, as a key part 81 01 00 00).
    EXPECT_EQ(Text(after.rows[0]),
              Text("1|'1'|'Fiat'|'WX 1'|'pierwszy'|" + Key({kOne, kFiat}) + Wx(1) + "81010000|" + kFiat));
    EXPECT_EQ(Text(after.rows[1]), Text(before.rows[1]));
    EXPECT_EQ(Text(after.rows[2]), Text("3|'2'|'Opel'|'WX 2'|'trzeci'|" + Key({"120000", kOpel}) + Wx(2) + "|" + kOpel));
    EXPECT_EQ(Text(after.rows[3]), Text("4|'1'|'Fiat'|'WX 7'|'czwarty'|" + Key({kOne, kFiat}) + Wx(7) + "|" + kFiat));
    EXPECT_EQ(after.keptRows, 4);
    EXPECT_EQ(IntegrityCheck(dir.file(kFile)), "ok");

    Vehicles v;
    // Kind 1 as a range holds both, the key finds the first of them.
    v.T.SetRange({QStringLiteral("1")}, {QStringLiteral("1")});
    EXPECT_EQ(Text(v.rows()), Text(QStringList{"2 1/Fiat/WX 1", "1 1/Fiat/WX 1", "4 1/Fiat/WX 7"}));
    v.T.CancelRange();
    ASSERT_TRUE(v.T.FindKey({QStringLiteral("1"), QStringLiteral("Fiat"), QStringLiteral("WX 1")}));
    EXPECT_EQ(v.Id->AsInteger(), 2);
    // The same vehicle again is a duplicate.
    EXPECT_THROW(v.add(QStringLiteral("1 "), QStringLiteral("Fiat"), QStringLiteral("WX 1")), EDatabaseError);
    v.T.Cancel();
    ASSERT_TRUE(v.T.Locate(QStringLiteral("Uwagi"), QStringLiteral("pierwszy")));
    EXPECT_EQ(v.Rodzaj->AsString(), "1");
    v.T.Edit();
    v.Uwagi->setAsString(QStringLiteral("pierwszy, poprawiony"));
    EXPECT_THROW(v.T.Post(), EDatabaseError);
    v.T.Cancel();
    v.T.Edit();
    v.Nr->setAsString(QStringLiteral("WX 8"));
    v.T.Post();
    EXPECT_EQ(Text(v.rows()), Text(QStringList{"2 1/Fiat/WX 1", "4 1/Fiat/WX 7", "1 1/Fiat/WX 8", "3 2/Opel/WX 2"}));
    ASSERT_TRUE(v.T.Locate(QStringLiteral("Uwagi"), QStringLiteral("pierwszy")));
    v.T.Delete();
    EXPECT_EQ(Text(v.rows()), Text(QStringList{"2 1/Fiat/WX 1", "4 1/Fiat/WX 7", "3 2/Opel/WX 2"}));
    v.T.Close();
    const Stored left = ReadStored();
    EXPECT_EQ(left.keptRows, 3);
    EXPECT_EQ(left.countedRows, 3);
    EXPECT_EQ(left.hwm, 1);
    EXPECT_EQ(IntegrityCheck(dir.file(kFile)), "ok");
}

// When the disk is full the file opens as it is and reads in the form; the
// next opening with room brings it to the form.
TEST(StoredForm, AFileThatCannotBeWrittenOpensAsItIs)
{
    TestDir dir;
    VfsShim::install();
    VfsShim::reset();
    WriteOldVehicles();
    const Stored before = ReadStored();
    VfsShim::diskFull = true;
    {
        Vehicles v;
        EXPECT_EQ(Text(v.rows()), Text(QStringList{"4 /Star/WX 4", "5 1/Fiat/WX 5", "3 1/Opel/WX 3", "1 1/Fiat/WX 1",
                                         "2 2/Opel/WX 2"}));
    }
    VfsShim::diskFull = false;
    EXPECT_EQ(Text(ReadStored().rows), Text(before.rows));
    EXPECT_EQ(ReadStored().form, 0);
    {
        Vehicles v;
        EXPECT_EQ(Text(v.rows()), Text(QStringList{"4 /Star/WX 4", "1 1/Fiat/WX 1", "5 1/Fiat/WX 5", "3 1/Opel/WX 3",
                                         "2 2/Opel/WX 2"}));
    }
    EXPECT_EQ(ReadStored().form, 1);
    EXPECT_EQ(IntegrityCheck(dir.file(kFile)), "ok");
}

// The log of an upgrade grows to about the file's size while it runs. A
// disk whose free space cannot take that leaves the file as it is, without a
// try, and the user reads once which file waits and how much room it needs.
// Once an upgrade ends, whole or undone by a disk that filled, the log gives
// its space back.
TEST(StoredForm, AnUpgradeWaitsForRoomAndGivesItsLogsSpaceBack)
{
    TestDir dir;
    VfsShim::install();
    VfsShim::reset();
    kal::test::ScriptedDialogs dialogs;
    CreateVehicles(kFile, true);
    {
        OldTableFile old(kFile);
        old.exec("BEGIN");
        const QByteArray remark(200, 'u');
        for (int i = 1; i <= 10000; ++i)
            old.add(Vehicle("1 ", "Fiat", QStringLiteral("WX %1").arg(i).toUtf8().constData(), remark));
        old.exec("COMMIT");
    }
    ASSERT_TRUE(QFile::copy(kFile, QStringLiteral("Drugi.db")));
    const qint64 size = QFileInfo(kFile).size();
    ASSERT_GT(size, 3 << 20);
    qint64 free = size;
    db_detail::SetFreeSpaceQuery([&free](const QString& directory) {
        EXPECT_EQ(QFileInfo(directory).canonicalFilePath(), QFileInfo(QDir::currentPath()).canonicalFilePath());
        return free;
    });
    // Opens `file`, gives its rows and the size of its log while it is open.
    const auto open = [&dir](const QString& file) {
        Vehicles v(file);
        return std::pair(v.T.RecordCount(), QFileInfo(dir.file(file + QStringLiteral("-wal"))).size());
    };

    // Free space of the file's size: the file opens as it is, whole, and the
    // user reads so once.
    EXPECT_EQ(open(kFile), std::pair(10000, qint64(0)));
    EXPECT_EQ(open(kFile), std::pair(10000, qint64(0)));
    EXPECT_EQ(ReadStored().form, 0);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    const kal::test::DialogCall box = dialogs.boxes()[0];
    const QString head = QStringLiteral("Za mało miejsca na dysku, by przenieść zbiór danych Pojazdy.db do nowej postaci: "
                                        "potrzeba około ");
    const QString tail = QStringLiteral(" MB wolnego miejsca. Zbiór pozostaje w starszej postaci, dopóki na dysku nie "
                                        "będzie tyle miejsca.");
    ASSERT_TRUE(box.text.startsWith(head) && box.text.endsWith(tail)) << Text(box.text);
    // About the file's size, in whole megabytes.
    const int megabytes = box.text.mid(head.size(), box.text.size() - head.size() - tail.size()).toInt();
    EXPECT_GE(megabytes, size >> 20);
    EXPECT_LE(megabytes, (size >> 20) + 2);
    EXPECT_EQ(box.icon, MsgIcon::Warning);
    EXPECT_EQ(box.buttons, unsigned(MbOk));

    // Room said, but the disk fills while the upgrade runs: undone, and the
    // log is cut back at once.
    free = qint64(1) << 40;
    dialogs.clear();
    VfsShim::room = size / 2;
    EXPECT_EQ(open(QStringLiteral("Drugi.db")), std::pair(10000, qint64(0)));
    VfsShim::room = -1;
    EXPECT_EQ(ReadStored(QStringLiteral("Drugi.db")).form, 0);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_TRUE(dialogs.boxes()[0].text.contains(QStringLiteral("zbiór danych Drugi.db do nowej postaci")));

    // With room the upgrade runs whole and its log is given back.
    dialogs.clear();
    EXPECT_EQ(open(kFile), std::pair(10000, qint64(0)));
    EXPECT_EQ(ReadStored().form, 1);
    EXPECT_EQ(IntegrityCheck(dir.file(kFile)), "ok");
    EXPECT_TRUE(dialogs.boxes().empty());
    db_detail::SetFreeSpaceQuery({});
}

// What a table component reads from `file`: every record in the table's
// order, its fields' texts joined by "|", records by ", ".
std::string Records(const QString& file, const QString& index = QString())
{
    TTable t;
    t.setTableName(file);
    t.setIndexName(index);
    t.Open();
    QStringList out;
    for (t.First(); !t.Eof(); t.Next()) {
        QStringList fields;
        for (int k = 0; k < t.FieldCount(); ++k)
            fields << t.Fields(k)->AsString();
        out << fields.join(u'|');
    }
    return out.join(QStringLiteral(", ")).toStdString();
}

QString FirstColumn(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info('data') WHERE cid=0", -1, &st, nullptr);
    const QString name = sqlite3_step(st) == SQLITE_ROW
        ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
        : QString();
    sqlite3_finalize(st);
    sqlite3_close(db);
    return name;
}

// A directory as the earlier build left it, a file of every shape the
// program keeps: keyed with a second order, keyed on a company, a date and
// an autoincrement field (the key column the last), a unique order without
// a key, a plain order without a key, no index at all; values with trailing
// blanks. SQLite's integrity check calls the file keyed on its last column
// damaged, and no file keeps its number of rows. Opened, every file is wholly in today's form: each row
// kept with its values, the key column first, the number of rows kept by the
// file, and the integrity check finds the file whole.
TEST(StoredForm, FilesOfTheEarlierBuildAreBroughtWhollyToTheForm)
{
    TestDir dir;
    struct Shape {
        QString file;
        std::vector<TFieldDef> fields;
        std::vector<TIndexDef> indexes;
        std::vector<QVariantMap> rows;
        QString first;        // the column "data" begins with in the form
        std::string records;  // what the table reads in its order afterwards
    };
    const auto map = [](std::initializer_list<std::pair<const char*, QVariant>> values) {
        QVariantMap m;
        for (const auto& [name, value] : values)
            m[QString::fromLatin1(name)] = value;
        return m;
    };
    const QDate day(2009, 3, 2);
    const std::vector<Shape> shapes{
        {"Pojazdy.db",
         {{"Id", ftAutoInc}, {"Rodzaj", ftString, 2}, {"Marka", ftString, 20}, {"Nr", ftString, 20}, {"Uwagi", ftMemo}},
         {{"", "Rodzaj;Marka;Nr", ixPrimary | ixUnique}, {"PoMarce", "Marka"}},
         {Vehicle("1 ", "Fiat", "WX 1", "stara uwaga  "), Vehicle("2", "Opel  ", "WX 2"), Vehicle("  ", "Star", "WX 4")},
         "~0",
         "3||Star|WX 4|, 1|1|Fiat|WX 1|stara uwaga  , 2|2|Opel|WX 2|"},
        {"Zuzycie.db",
         {{"Identyfikator", ftAutoInc}, {"IdentyfikatorFirmy", ftInteger}, {"DataTankowania", ftDate},
          {"RodzajPaliwa", ftString, 1}, {"IloscPaliwa", ftFloat}},
         {{"", "IdentyfikatorFirmy;DataTankowania;Identyfikator", ixPrimary | ixUnique}},
         {map({{"IdentyfikatorFirmy", 2}, {"DataTankowania", day}, {"RodzajPaliwa", "B"}, {"IloscPaliwa", 40.5}}),
          map({{"IdentyfikatorFirmy", 1}, {"DataTankowania", day.addDays(1)}, {"RodzajPaliwa", " "}, {"IloscPaliwa", 12.0}}),
          map({{"IdentyfikatorFirmy", 1}, {"DataTankowania", day}, {"RodzajPaliwa", "O"}, {"IloscPaliwa", 7.25}})},
         "~0",
         "3|1|2009-03-02|O|7,25, 2|1|2009-03-03||12, 1|2|2009-03-02|B|40,5"},
        {"MiejTank.db",
         {{"Nazwa", ftString, 40}, {"Identyfikator", ftAutoInc}},
         {{"Nazwa", "Nazwa", ixUnique}},
         {map({{"Nazwa", "Stacja  "}}), map({{"Nazwa", "Baza "}}), map({{"Nazwa", "Cysterna"}})},
         "_rid",
         "Stacja|1, Baza|2, Cysterna|3"},
        {"Przegl.db",
         {{"Data", ftDate}, {"Numer", ftString, 10}, {"Kwota", ftFloat}},
         {{"PoDacie", "Data"}},
         {map({{"Data", day.addDays(5)}, {"Numer", "F 1 "}, {"Kwota", 100.0}}),
          map({{"Data", day}, {"Numer", "F 2"}, {"Kwota", 0.5}})},
         "_rid",
         "2009-03-07|F 1|100, 2009-03-02|F 2|0,5"},
        {"PolaExcel.db",
         {{"Kolumna", ftString, 10}, {"Numer", ftInteger}},
         {},
         {map({{"Kolumna", "Data  "}, {"Numer", 3}}), map({{"Kolumna", "Ilość"}, {"Numer", 7}})},
         "_rid",
         "Data|3, Ilość|7"},
    };
    for (const Shape& shape : shapes) {
        TTable t;
        t.FieldDefs().items() = shape.fields;
        t.IndexDefs().items() = shape.indexes;
        Create(t, shape.file, true);
        OldTableFile old(shape.file);
        for (const QVariantMap& row : shape.rows) {
            old.add(row);
            ASSERT_EQ(old.lastResult(), SQLITE_DONE) << shape.file.toStdString();
        }
    }
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.file.toStdString());
        const QString path = dir.file(shape.file);
        // The check misreads a keyed file whose key column is the last.
        const bool keyLast = shape.first != u"_rid" && shape.indexes.size() == 1;
        EXPECT_EQ(IntegrityCheck(path).startsWith(u"NULL value in data._rid"), keyLast);
        EXPECT_EQ(ReadStored(path).keptRows, -1);
        EXPECT_EQ(Records(shape.file), shape.records);
        const Stored after = ReadStored(path);
        EXPECT_EQ(IntegrityCheck(path), "ok");
        EXPECT_EQ(FirstColumn(path), shape.first);
        EXPECT_EQ(after.form, 1);
        EXPECT_EQ(after.keptRows, qint64(shape.rows.size()));
        EXPECT_EQ(after.countedRows, qint64(shape.rows.size()));
        // The file is the program's as a new one is: it takes a row, and its
        // number of rows follows.
        TTable t;
        t.setTableName(shape.file);
        t.Open();
        t.Append();
        for (int k = 0; k < t.FieldCount(); ++k)
            if (t.Fields(k)->DataType() == ftString || t.Fields(k)->DataType() == ftInteger) {
                t.Fields(k)->setAsString(QStringLiteral("9"));
                break;
            }
        t.Post();
        t.Close();
        EXPECT_EQ(IntegrityCheck(path), "ok");
        EXPECT_EQ(ReadStored(path).keptRows, qint64(shape.rows.size()) + 1);
    }

    // The rows of a large file move to the new layout a share at a time:
    // every row is kept with its values and its key, and the file does not
    // grow by a second copy of its rows (it would take half as much again).
    const QString large = QStringLiteral("Duzy.db");
    CreateVehicles(large, true);
    {
        OldTableFile old(large);
        old.exec("BEGIN");
        const QByteArray remark(200, 'u');
        for (int i = 1; i <= 10000; ++i)
            old.add(Vehicle(i % 2 ? "1 " : "2", "Fiat", QStringLiteral("WX %1").arg(i).toUtf8().constData(), remark));
        old.exec("COMMIT");
    }
    const qint64 size = QFileInfo(dir.file(large)).size();
    {
        Vehicles v(large);
        EXPECT_EQ(v.T.RecordCount(), 10000);
        for (const int i : {1, 2, 4095, 4096, 4097, 8191, 8192, 8193, 9999, 10000}) {
            ASSERT_TRUE(v.T.FindKey({i % 2 ? "1" : "2", "Fiat", QStringLiteral("WX %1").arg(i)})) << i;
            EXPECT_EQ(v.Id->AsInteger(), i);
        }
    }
    EXPECT_EQ(FirstColumn(dir.file(large)), "~0");
    EXPECT_EQ(ReadStored(dir.file(large)).keptRows, 10000);
    EXPECT_EQ(IntegrityCheck(dir.file(large)), "ok");
    EXPECT_LT(QFileInfo(dir.file(large)).size(), size + size / 4);
}

// The places of refuelling are unique by name, an order other than the
// file's own. The older program took "Baza " and "Baza" for two places; in
// the form both are "Baza". Both rows are kept through the upgrade: the one
// brought to the form stands right after the other in the order by name.
TEST(StoredForm, RowsWhoseNamesBecomeEqualInAUniqueOrderAreBothKept)
{
    TestDir dir;
    TTable t;
    t.FieldDefs().Add(QStringLiteral("Nazwa"), ftString, 40);
    t.FieldDefs().Add(QStringLiteral("Identyfikator"), ftAutoInc);
    t.IndexDefs().Add(QStringLiteral("Nazwa"), QStringLiteral("Nazwa"), ixUnique);
    Create(t, QStringLiteral("MiejTank.db"), true);
    {
        OldTableFile old(QStringLiteral("MiejTank.db"));
        for (const char* name : {"Baza ", "Stacja", "Baza"})
            old.add({{QStringLiteral("Nazwa"), QString::fromLatin1(name)}});
    }
    EXPECT_EQ(Records(QStringLiteral("MiejTank.db"), QStringLiteral("Nazwa")), "Baza|3, Baza|1, Stacja|2");
    const Stored after = ReadStored(dir.file(QStringLiteral("MiejTank.db")));
    EXPECT_EQ(after.form, 1);
    EXPECT_EQ(after.keptRows, 3);
    EXPECT_EQ(IntegrityCheck(dir.file(QStringLiteral("MiejTank.db"))), "ok");
    EXPECT_EQ(Records(QStringLiteral("MiejTank.db")), "Baza|1, Stacja|2, Baza|3");
}

// A child is killed before each file operation of an opening in turn, until
// an opening ends: after every kill the file is either as the older program
// left it or wholly in the form (laid out, counted and trimmed), and whole.
// Both older kinds: a file of today's layout with values of the older form,
// and a file as the earlier build made it.
TEST(StoredForm, AKillDuringTheUpgradeLeavesTheFileAsItWasOrInTheForm)
{
    TestDir dir;
    VfsShim::install();
    for (const bool earlierBuild : {false, true}) {
        SCOPED_TRACE(earlierBuild ? "the earlier build's layout" : "today's layout");
        QFile::remove(QStringLiteral("Stary.db"));
        CreateVehicles(QStringLiteral("Stary.db"), earlierBuild);
        {
            OldTableFile old(QStringLiteral("Stary.db"));
            old.exec("BEGIN");
            for (int i = 1; i <= 300; ++i)
                old.add(Vehicle(i % 3 == 0 ? "1" : "1 ", "Fiat  ", QStringLiteral("WX %1 ").arg(i).toUtf8().constData()));
            old.exec("COMMIT");
        }
        const Stored asItWas = ReadStored(QStringLiteral("Stary.db"));
        const QString integrityAsItWas = IntegrityCheck(dir.file(QStringLiteral("Stary.db")));
        ASSERT_EQ(asItWas.rows.size(), 300);
        QFile::copy(QStringLiteral("Stary.db"), kFile);
        { Vehicles v; }
        const Stored inTheForm = ReadStored();
        ASSERT_EQ(inTheForm.form, 1);
        ASSERT_EQ(inTheForm.keptRows, 300);
        ASSERT_EQ(IntegrityCheck(dir.file(kFile)), "ok");
        ASSERT_NE(inTheForm.rows, asItWas.rows);
        QFile::remove(kFile);

        int step = 1, upgraded = 0, unchanged = 0;
        for (;; ++step) {
            ASSERT_LT(step, 5000) << "the opening never ended";
            ASSERT_TRUE(QFile::copy(QStringLiteral("Stary.db"), kFile));
            const int status = InChild([&] {
                VfsShim::reset();
                VfsShim::killAt = step;
                Vehicles v;
                return 0;
            });
            const bool killed = kal::test::KilledBySigkill(status);
            ASSERT_TRUE(killed || kal::test::EndedWell(status)) << "step " << step;
            const QString now = ReadStored().dump();
            if (now == inTheForm.dump()) {
                EXPECT_EQ(IntegrityCheck(dir.file(kFile)), "ok") << "step " << step;
                ++upgraded;
            } else {
                EXPECT_EQ(Text(now), Text(asItWas.dump())) << "step " << step;
                EXPECT_EQ(IntegrityCheck(dir.file(kFile)), integrityAsItWas) << "step " << step;
                ++unchanged;
            }
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(kFile + QString::fromLatin1(suffix));
            if (!killed)
                break;
        }
        EXPECT_GT(unchanged, 5);
        EXPECT_GT(upgraded, 0);
    }
}

} // namespace
