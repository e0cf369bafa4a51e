// Table files: creation, opening, switching, emptying, deleting, durability.
#include "DbSchema.h"
#include "Exceptions.h"
#include "IntegrityCheck.h"
#include "TestDir.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace kal;
using kal::test::IntegrityCheck;
using kal::test::TestDir;
using kal::test::Towns;

namespace {

TEST(Storage, MissingFileIsAnErrorAndIsNotCreated)
{
    TestDir dir;
    Towns towns("Brak.db");
    try {
        towns.T.Open();
        FAIL() << "missing file opened";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Nie znaleziono zbioru danych Brak.db");
    }
    EXPECT_FALSE(towns.T.Active());
    EXPECT_FALSE(QFile::exists(dir.file("Brak.db")));
    EXPECT_FALSE(towns.T.Exists());
}

TEST(Storage, PersistentFieldMissingInFileIsAnError)
{
    TestDir dir;
    kal::test::CreateTowns();
    Towns towns;
    towns.T.Close();
    towns.T.AddField("Populacja", ftInteger);
    EXPECT_THROW(towns.T.Open(), EDatabaseError);
    EXPECT_FALSE(towns.T.Active());
}

TEST(Storage, QuotedColumnNamesAndStructureReadBack)
{
    TestDir dir;
    TTable t;
    t.setTableName("Stawki.db");
    t.FieldDefs().Add("IdentyfikatorOkresu", ftInteger);
    t.FieldDefs().Add("1a", ftFloat);
    t.FieldDefs().Add("WysokośćOpłaty", ftFloat);
    t.IndexDefs().Add("", "IdentyfikatorOkresu", ixPrimary | ixUnique);
    t.CreateTable();
    EXPECT_THROW(t.CreateTable(), EDatabaseError); // the file exists now

    TTable r("TStawki");
    r.setTableName("Stawki.db");
    TField* okres = r.AddField("IdentyfikatorOkresu", ftInteger);
    TField* a1 = r.AddField("1a", ftFloat);
    TField* oplata = r.AddField("WysokośćOpłaty", ftFloat);
    r.Open();
    EXPECT_EQ(r.FieldDefs().Count(), 3);
    EXPECT_EQ(r.IndexDefs()[0].Fields, "IdentyfikatorOkresu");
    r.Append();
    okres->setAsInteger(7);
    a1->setAsFloat(0.25);
    oplata->setAsFloat(12.75);
    r.Post();
    r.Close();
    r.Open();
    EXPECT_EQ(a1->AsFloat(), 0.25);
    EXPECT_EQ(oplata->AsFloat(), 12.75);
    EXPECT_EQ(a1->Name(), "TStawki1a");
}

TEST(Storage, SwitchingFilesKeepsFieldsAndHandlers)
{
    TestDir dir;
    kal::test::CreateReadings("Zuz20091.db");
    TTable t("TOdczyty");
    t.setTableName("Zuz20091.db");
    TField* miasto = t.AddField("IdMiasta", ftInteger);
    TField* wartosc = t.AddField("Wartosc", ftFloat);
    int posts = 0;
    t.AfterPost = [&](TTable&) { ++posts; };
    wartosc->OnSetText = [](TField& f, const QString& text) { f.setAsFloat(text.toDouble() * 10); };
    t.setIndexFieldNames("IdMiasta;Data;Nr");
    t.Open();
    t.Append();
    miasto->setAsInteger(1);
    t.Post();
    EXPECT_THROW(t.setTableName("Zuz20092.db"), EDatabaseError); // only while closed

    // open the current file, close, rename, create with its structure
    t.Close();
    t.setTableName("Zuz20092.db");
    EXPECT_FALSE(t.Exists());
    t.CreateTable();
    t.Open();
    EXPECT_TRUE(t.IsEmpty());
    t.Append();
    miasto->setAsInteger(2);
    wartosc->setText("3");
    t.Post();
    EXPECT_EQ(wartosc->AsFloat(), 30.0);
    EXPECT_EQ(posts, 2);

    // a third file made like the open component
    TTable third;
    third.setTableName("Zuz20101.db");
    third.CreateTableLike(t);
    third.Open();
    EXPECT_EQ(third.FieldDefs().Count(), 4);
    EXPECT_EQ(third.IndexDefs()[0].Fields, "IdMiasta;Data;Nr");
    third.Close();

    t.Close();
    t.setTableName("Zuz20091.db");
    t.Open();
    EXPECT_EQ(t.RecordCount(), 1);
    EXPECT_EQ(miasto->AsInteger(), 1);
}

TEST(Storage, EmptyDeleteFlushAndExists)
{
    TestDir dir;
    kal::test::CreateTowns();
    Towns towns;
    towns.T.Open();
    towns.add("Ełk");
    towns.add("Bytom");
    towns.T.EmptyTable();
    EXPECT_TRUE(towns.T.IsEmpty());
    towns.T.Append();
    towns.Nazwa->setAsString("Hel");
    towns.T.FlushBuffers(); // posts the pending insert
    EXPECT_EQ(towns.T.State(), dsBrowse);
    EXPECT_EQ(towns.T.RecordCount(), 1);
    EXPECT_THROW(towns.T.DeleteTable(), EDatabaseError); // open
    towns.T.Close();
    towns.T.DeleteTable();
    EXPECT_FALSE(towns.T.Exists());
    EXPECT_FALSE(QFile::exists(dir.file("Miasta.db")));
    towns.T.DeleteTable(); // a file that is not there is no error
    TTable work;
    work.setTableName("Tym123.DB");
    work.DeleteTable();
}

TEST(Storage, WorkTableDefinedInCodeWithoutFieldComponents)
{
    TestDir dir;
    TTable work;
    work.setTableName("Tym0001.DB");
    work.FieldDefs().Clear();
    work.FieldDefs().Add("Klucz", ftString, 100);
    work.FieldDefs().Add("Identyfikator", ftAutoInc);
    work.FieldDefs().Add("Calkowity", ftInteger);
    for (int i = 1; i <= 30; ++i)
        work.FieldDefs().Add(QStringLiteral("Pole%1").arg(i), ftString, 100);
    work.IndexDefs().Clear();
    work.IndexDefs().Add("", "Klucz;Identyfikator", ixPrimary | ixUnique);
    work.CreateTable();
    work.Open();
    EXPECT_EQ(work.FieldCount(), 33);
    for (const char* k : {"b", "a", "b", "a"}) {
        work.Append();
        work.FieldByName("Klucz")->setAsString(k);
        work.FieldByName("Pole30")->setAsString(QStringLiteral("%1%2").arg(k).arg(work.RecordCount()));
        work.Post();
    }
    QStringList rows;
    for (work.First(); !work.Eof(); work.Next())
        rows << work.FieldByName("Klucz")->AsString() + work.FieldByName("Identyfikator")->AsString();
    EXPECT_EQ(rows, (QStringList{"a2", "a4", "b1", "b3"}));
}

TEST(Storage, SharedFileAndIntegrity)
{
    TestDir dir;
    kal::test::CreateTowns();
    {
        Towns a;
        a.T.Open();
        for (int i = 0; i < 50; ++i)
            a.add(QStringLiteral("M%1").arg(i), i);
        a.T.First();
        a.T.Delete();
    }
    EXPECT_EQ(IntegrityCheck(dir.file("Miasta.db")), "ok");
}

// A child process posts a row and is killed at once; the row is there.
TEST(Durability, PostedRowSurvivesKill)
{
    TestDir dir;
    kal::test::CreateTowns();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        try {
            Towns towns;
            towns.T.Open();
            towns.add("Zapisane", 17.5);
            towns.T.Append();
            towns.Nazwa->setAsString("Niezapisane"); // never posted
            const char ok = 'k';
            if (write(fds[1], &ok, 1) != 1)
                _exit(3);
        } catch (...) {
            _exit(2);
        }
        for (;;)
            pause();
    }
    close(fds[1]);
    char got = 0;
    ASSERT_EQ(read(fds[0], &got, 1), 1);
    close(fds[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));

    Towns towns;
    towns.T.Open();
    EXPECT_EQ(towns.names(), QStringList{"Zapisane"});
    towns.T.First();
    EXPECT_EQ(towns.Kwota->AsFloat(), 17.5);
    towns.T.Close();
    EXPECT_EQ(IntegrityCheck(dir.file("Miasta.db")), "ok");
}

} // namespace

namespace {

// Files written before the rows were kept in key order hold them in row id
// order; they open, take rows and keep their order and ids all the same.
TEST(Storage, FileOfTheEarlierLayoutOpensAndTakesRows)
{
    TestDir dir;
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(dir.file("Stary.db").toUtf8().constData(), &db), SQLITE_OK);
        const QString sql = QStringLiteral(
            "CREATE TABLE data(\"_rid\" INTEGER PRIMARY KEY, \"Nazwa\" TEXT, \"Ilosc\" INTEGER,"
            " \"~0\" BLOB NOT NULL DEFAULT x'', \"~1\" BLOB NOT NULL DEFAULT x'');"
            "CREATE UNIQUE INDEX \"ix0\" ON data(\"~0\"); CREATE INDEX \"ix1\" ON data(\"~1\");"
            "CREATE TABLE _kal_state(hwm INTEGER NOT NULL); INSERT INTO _kal_state VALUES(0);"
            "CREATE TABLE _kal_fields(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, type INTEGER, size INTEGER);"
            "CREATE TABLE _kal_indexes(ord INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL, options INTEGER);"
            "INSERT INTO _kal_fields VALUES(0,'Nr',%1,0),(1,'Nazwa',%2,20),(2,'Ilosc',%3,0);"
            "INSERT INTO _kal_indexes VALUES(0,'','Nazwa',%4),(1,'PoIlosci','Ilosc',0);")
                                .arg(int(ftAutoInc))
                                .arg(int(ftString))
                                .arg(int(ftInteger))
                                .arg(int(ixPrimary | ixUnique));
        ASSERT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    auto names = [](TTable& t) {
        QStringList seen;
        for (t.First(); !t.Eof(); t.Next())
            seen << t.FieldByName("Nazwa")->AsString() + QString::number(t.FieldByName("Nr")->AsInteger());
        return seen.join(u' ');
    };
    {
        TTable t;
        t.setTableName("Stary.db");
        t.Open();
        const QStringList added{"Żuraw", "Agrest", "Łoś", "Bąk"};
        for (const QString& n : added) {
            t.Append();
            t.FieldByName("Nazwa")->setAsString(n);
            t.FieldByName("Ilosc")->setAsInteger(7);
            t.Post();
        }
        EXPECT_EQ(names(t), "Agrest2 Bąk4 Łoś3 Żuraw1");
        t.Append();
        t.FieldByName("Nazwa")->setAsString("Agrest");
        EXPECT_THROW(t.Post(), EDatabaseError);
        t.Cancel();
        ASSERT_TRUE(t.Locate("Nazwa", "Bąk"));
        t.Delete();
        t.setIndexName("PoIlosci");
        EXPECT_EQ(names(t), "Żuraw1 Agrest2 Łoś3");
    }
    TTable t;
    t.setTableName("Stary.db");
    t.Open();
    t.Append();
    t.FieldByName("Nazwa")->setAsString("Cis");
    t.Post();
    EXPECT_EQ(names(t), "Agrest2 Cis5 Łoś3 Żuraw1");
    t.Close();
    EXPECT_EQ(IntegrityCheck(dir.file("Stary.db")), "ok");
}

// Rows equal in a secondary order follow one another in the order they were
// added, also after the primary key of one of them changed.
TEST(Storage, EqualRowsOfASecondaryOrderStayInTheOrderAdded)
{
    TestDir dir;
    {
        TTable make;
        make.setTableName("Kolejka.db");
        make.FieldDefs().Add("Nr", ftAutoInc);
        make.FieldDefs().Add("Nazwa", ftString, 20);
        make.FieldDefs().Add("Grupa", ftInteger);
        make.IndexDefs().Add(QString(), "Nazwa", ixPrimary | ixUnique);
        make.IndexDefs().Add("PoGrupie", "Grupa");
        make.CreateTable();
    }
    TTable t;
    t.setTableName("Kolejka.db");
    t.Open();
    const QStringList added{"e", "d", "c", "b", "a"};
    for (int i = 0; i < added.size(); ++i) {
        t.Append();
        t.FieldByName("Nazwa")->setAsString(added[i]);
        t.FieldByName("Grupa")->setAsInteger(i % 2);
        t.Post();
    }
    ASSERT_TRUE(t.Locate("Nazwa", "c"));
    t.Edit();
    t.FieldByName("Nazwa")->setAsString("z");
    t.Post();
    t.setIndexName("PoGrupie");
    QStringList seen;
    for (t.First(); !t.Eof(); t.Next())
        seen << t.FieldByName("Nazwa")->AsString();
    EXPECT_EQ(seen.join(u' '), "e z a d b");
    t.setIndexName(QString());
    t.setIndexFieldNames(QString());
    seen.clear();
    for (t.Last(); !t.Bof(); t.Prior())
        seen << t.FieldByName("Nazwa")->AsString() + QString::number(t.FieldByName("Nr")->AsInteger());
    EXPECT_EQ(seen.join(u' '), "z3 e1 d2 b4 a5");
    t.Close();
    EXPECT_EQ(IntegrityCheck(dir.file("Kolejka.db")), "ok");
}

TEST(Storage, FileOfAnotherKindIsRefused)
{
    TestDir dir;
    QFile f(dir.file("Obcy.db"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("to nie jest tabela");
    f.close();
    TTable t;
    t.setTableName("Obcy.db");
    try {
        t.Open();
        FAIL() << "foreign file opened";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Plik Obcy.db nie jest zbiorem danych programu");
    }
    EXPECT_FALSE(t.Active());
}

} // namespace
