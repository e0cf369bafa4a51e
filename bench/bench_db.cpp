// Benchmark of the dataset engine against plain loops over the SQLite C API.
// Run by hand: build/bin/bench_db [rows]   (default 1,000,000 rows)
//
// Files (in a temporary directory):
//   Paliwo.db   engine table, 12 fields, primary index IdMastera;Data;Nr
//   Mastery.db  engine table of 10,000 masters
//   plain.db    the same rows in a plain SQLite table with an ordinary index
#include "Storage.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdio>
#include <functional>

using namespace kal;

namespace {

constexpr int kMasters = 10000;

double seconds(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e9;
}

long peakMiB()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024;
}

void exec(sqlite3* db, const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", err ? err : "?");
        std::exit(1);
    }
}

QDate dateOf(int i)
{
    return QDate(2009, 1, 1).addDays(i % 180);
}

void defineFuel(TTable& t)
{
    t.FieldDefs().Add("Nr", ftAutoInc);
    t.FieldDefs().Add("IdMastera", ftInteger);
    t.FieldDefs().Add("Data", ftDate);
    t.FieldDefs().Add("Ilosc", ftFloat);
    t.FieldDefs().Add("Cena", ftFloat);
    t.FieldDefs().Add("Km", ftFloat);
    t.FieldDefs().Add("NrRej", ftString, 20);
    t.FieldDefs().Add("Opis", ftString, 50);
    t.FieldDefs().Add("Rodzaj", ftSmallint);
    t.FieldDefs().Add("Flaga", ftBoolean);
    t.FieldDefs().Add("Uwagi", ftString, 100);
    t.FieldDefs().Add("Kod", ftInteger);
    t.IndexDefs().Add("", "IdMastera;Data;Nr", ixPrimary | ixUnique);
}

// Fills the engine file and the plain file with the same rows, in one
// transaction each (the fill is not measured).
void fill(int rows)
{
    const int perMaster = std::max(1, rows / kMasters);
    sqlite3* eng = nullptr;
    sqlite3_open("Paliwo.db", &eng);
    sqlite3* bare = nullptr;
    sqlite3_open("Bez.db", &bare);
    exec(bare, "BEGIN");
    sqlite3_stmt* b = nullptr;
    sqlite3_prepare_v2(bare,
                       "INSERT INTO data(\"_rid\",\"IdMastera\",\"Data\",\"Ilosc\",\"Cena\",\"Km\",\"NrRej\",\"Opis\","
                       "\"Rodzaj\",\"Flaga\",\"Uwagi\",\"Kod\") VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)",
                       -1, &b, nullptr);
    sqlite3* plain = nullptr;
    sqlite3_open("plain.db", &plain);
    exec(plain, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                "CREATE TABLE fuel(Nr INTEGER PRIMARY KEY, IdMastera INTEGER, Data INTEGER, Ilosc REAL,"
                " Cena REAL, Km REAL, NrRej TEXT, Opis TEXT, Rodzaj INTEGER, Flaga INTEGER, Uwagi TEXT, Kod INTEGER);"
                "CREATE INDEX fuel_key ON fuel(IdMastera, Data, Nr);");
    exec(eng, "BEGIN");
    exec(plain, "BEGIN");
    sqlite3_stmt* e = nullptr;
    sqlite3_prepare_v2(eng,
                       "INSERT INTO data(\"_rid\",\"IdMastera\",\"Data\",\"Ilosc\",\"Cena\",\"Km\",\"NrRej\",\"Opis\","
                       "\"Rodzaj\",\"Flaga\",\"Uwagi\",\"Kod\",\"~0\") VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13)",
                       -1, &e, nullptr);
    sqlite3_stmt* p = nullptr;
    sqlite3_prepare_v2(plain, "INSERT INTO fuel VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)", -1, &p, nullptr);
    for (int i = 1; i <= rows; ++i) {
        const int master = (i - 1) % kMasters + 1;
        const QDate date = dateOf(i);
        const QByteArray nr = QStringLiteral("WX %1").arg(i % 99991, 5, 10, QChar(u'0')).toUtf8();
        const QByteArray opis = QStringLiteral("Tankowanie nr %1 na stacji").arg(i).toUtf8();
        QByteArray key;
        db_detail::appendKeyPart(key, db_detail::fieldKey(ftInteger, master));
        db_detail::appendKeyPart(key, db_detail::fieldKey(ftDate, date));
        db_detail::appendKeyPart(key, db_detail::fieldKey(ftAutoInc, i));
        for (sqlite3_stmt* s : {e, p, b}) {
            sqlite3_bind_int64(s, 1, i);
            sqlite3_bind_int64(s, 2, master);
            sqlite3_bind_int64(s, 3, date.toJulianDay());
            sqlite3_bind_double(s, 4, 10.0 + i % 50);
            sqlite3_bind_double(s, 5, 4.5 + (i % 7) * 0.1);
            sqlite3_bind_double(s, 6, 1000.0 + i);
            sqlite3_bind_text(s, 7, nr.constData(), int(nr.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 8, opis.constData(), int(opis.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(s, 9, i % 5);
            sqlite3_bind_int64(s, 10, i % 2);
            sqlite3_bind_null(s, 11);
            sqlite3_bind_int64(s, 12, i);
        }
        sqlite3_bind_blob(e, 13, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        sqlite3_step(e);
        sqlite3_reset(e);
        sqlite3_step(p);
        sqlite3_reset(p);
        sqlite3_step(b);
        sqlite3_reset(b);
    }
    sqlite3_finalize(b);
    exec(bare, "COMMIT");
    sqlite3_close(bare);
    sqlite3_finalize(e);
    sqlite3_finalize(p);
    exec(eng, "COMMIT");
    exec(plain, "COMMIT");
    sqlite3_close(eng);
    sqlite3_close(plain);
    (void)perMaster;
}

void report(const char* what, double engine, double plain, const char* unit = "s")
{
    std::printf("%-44s engine %9.3f %s   plain %9.3f %s   ratio %5.2f\n", what, engine, unit, plain, unit,
                plain > 0 ? engine / plain : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir tmp;
    QDir::setCurrent(tmp.path());

    {
        TTable fuel;
        fuel.setTableName("Paliwo.db");
        defineFuel(fuel);
        fuel.CreateTable();
        TTable bare;
        bare.setTableName("Bez.db");
        defineFuel(bare);
        bare.IndexDefs().Clear();
        bare.CreateTable();
        TTable masters;
        masters.setTableName("Mastery.db");
        masters.FieldDefs().Add("Id", ftAutoInc);
        masters.FieldDefs().Add("Nazwa", ftString, 30);
        masters.IndexDefs().Add("", "Id", ixPrimary | ixUnique);
        masters.CreateTable();
        masters.Open();
        TField* nazwa = masters.FieldByName("Nazwa");
        for (int i = 1; i <= kMasters; ++i) {
            masters.Append();
            nazwa->setAsString(QStringLiteral("Pojazd %1").arg(i));
            masters.Post();
        }
    }
    std::printf("filling %d rows ...\n", rows);
    const double fillTime = seconds([&] { fill(rows); });
    std::printf("filled in %.1f s; peak memory so far %ld MiB\n\n", fillTime, peakMiB());

    sqlite3* plain = nullptr;
    sqlite3_open("plain.db", &plain);
    exec(plain, "PRAGMA synchronous=NORMAL;");

    // (1) open and walk every row reading three fields
    double sum = 0;
    int count = 0;
    int walked = 0;
    int plainWalked = 0;
    const double engWalk = seconds([&] {
        TTable fuel;
        fuel.setTableName("Paliwo.db");
        TField* ilosc = fuel.AddField("Ilosc", ftFloat);
        TField* nr = fuel.AddField("NrRej", ftString, 20);
        TField* data = fuel.AddField("Data", ftDate);
        fuel.AddField("IdMastera", ftInteger);
        fuel.AddField("Nr", ftAutoInc);
        fuel.Open();
        for (fuel.First(); !fuel.Eof(); fuel.Next()) {
            sum += ilosc->AsFloat();
            count += int(nr->AsString().size());
            count += data->AsDateTime().day() > 40;
            ++walked;
        }
    });
    const double rowidPlain = seconds([&] {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(plain, "SELECT Ilosc, NrRej, Data FROM fuel", -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW) {
            sum += sqlite3_column_double(s, 0);
            count += int(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)),
                                           sqlite3_column_bytes(s, 1))
                             .size());
            count += QDate::fromJulianDay(sqlite3_column_int64(s, 2)).day() > 40;
            ++plainWalked;
        }
        sqlite3_finalize(s);
    });
    const double indexPlain = seconds([&] {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(plain, "SELECT Ilosc, NrRej, Data FROM fuel ORDER BY IdMastera, Data, Nr", -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW) {
            sum += sqlite3_column_double(s, 0);
            count += int(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)),
                                           sqlite3_column_bytes(s, 1))
                             .size());
            count += QDate::fromJulianDay(sqlite3_column_int64(s, 2)).day() > 40;
        }
        sqlite3_finalize(s);
    });
    const double bareWalk = seconds([&] {
        TTable fuel;
        fuel.setTableName("Bez.db");
        TField* ilosc = fuel.AddField("Ilosc", ftFloat);
        TField* nr = fuel.AddField("NrRej", ftString, 20);
        TField* data = fuel.AddField("Data", ftDate);
        fuel.Open();
        for (fuel.First(); !fuel.Eof(); fuel.Next()) {
            sum += ilosc->AsFloat();
            count += int(nr->AsString().size());
            count += data->AsDateTime().day() > 40;
        }
    });
    report("(1) open + walk in index order, 3 fields", engWalk, indexPlain);
    report("    same, against a plain walk in rowid order", engWalk, rowidPlain);
    report("(1b) open + walk, table without index", bareWalk, rowidPlain);
    std::printf("    rows walked: engine %d, plain %d\n", walked, plainWalked);
    std::printf("    peak memory after the walk: %ld MiB\n", peakMiB());

    // (2) Locate of a value in a field without an index
    TTable fuel;
    fuel.setTableName("Paliwo.db");
    fuel.Open();
    const double openTime = seconds([&] { fuel.Close(); fuel.Open(); });
    std::printf("    open alone (keyset of %d rows): %.3f s\n", fuel.RecordCount(), openTime);
    const int target = rows - 7;
    bool found = false;
    const double engLocate = seconds([&] { found = fuel.Locate("Kod", target); });
    qint64 plainHit = 0;
    const double plainLocate = seconds([&] {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(plain, "SELECT Nr FROM fuel WHERE Kod=?1", -1, &s, nullptr);
        sqlite3_bind_int64(s, 1, target);
        while (sqlite3_step(s) == SQLITE_ROW)
            plainHit = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    });
    report("(2) Locate of a non-indexed value", engLocate, plainLocate);
    if (!found || fuel.FieldByName("Nr")->AsInteger() != plainHit)
        std::printf("    LOCATE MISMATCH\n");

    // (3) 100,000 posts, each committed
    const int posts = std::min(100000, rows);
    TField* idm = fuel.FieldByName("IdMastera");
    TField* data = fuel.FieldByName("Data");
    TField* ilosc = fuel.FieldByName("Ilosc");
    TField* nrRej = fuel.FieldByName("NrRej");
    const double engPosts = seconds([&] {
        for (int i = 0; i < posts; ++i) {
            fuel.Append();
            idm->setAsInteger(i % kMasters + 1);
            data->setAsDateTime(QDate(2009, 7, 1).addDays(i % 180));
            ilosc->setAsFloat(12.5);
            nrRej->setAsString("KR 12345");
            fuel.Post();
        }
    });
    const double plainPosts = seconds([&] {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(plain, "INSERT INTO fuel(IdMastera, Data, Ilosc, NrRej) VALUES(?1,?2,?3,?4)", -1, &s, nullptr);
        for (int i = 0; i < posts; ++i) {
            sqlite3_bind_int64(s, 1, i % kMasters + 1);
            sqlite3_bind_int64(s, 2, QDate(2009, 7, 1).addDays(i % 180).toJulianDay());
            sqlite3_bind_double(s, 3, 12.5);
            sqlite3_bind_text(s, 4, "KR 12345", -1, SQLITE_STATIC);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
    });
    report("(3) 100,000 committed posts", engPosts, plainPosts);
    std::printf("    engine %.0f posts/s, plain %.0f inserts/s\n", posts / engPosts, posts / plainPosts);
    fuel.Close();

    // (4) master/detail walk: 10,000 masters, their details each
    double mdSum = 0;
    int mdRows = 0;
    const double engMd = seconds([&] {
        TTable masters;
        masters.setTableName("Mastery.db");
        masters.Open();
        TDataSource ds(&masters);
        TTable detail;
        detail.setTableName("Paliwo.db");
        detail.setIndexFieldNames("IdMastera;Data;Nr");
        detail.setMasterSource(&ds);
        detail.setMasterFields("Id");
        detail.Open();
        TField* km = detail.FieldByName("Km");
        for (masters.First(); !masters.Eof(); masters.Next())
            for (detail.First(); !detail.Eof(); detail.Next()) {
                mdSum += km->AsFloat();
                ++mdRows;
            }
    });
    int plainRows = 0;
    const double plainMd = seconds([&] {
        sqlite3* m = nullptr;
        sqlite3_open("Mastery.db", &m);
        sqlite3_stmt* ms = nullptr;
        sqlite3_prepare_v2(m, "SELECT \"_rid\" FROM data ORDER BY \"_rid\"", -1, &ms, nullptr);
        sqlite3_stmt* ds = nullptr;
        sqlite3_prepare_v2(plain, "SELECT Km FROM fuel WHERE IdMastera=?1 ORDER BY IdMastera, Data, Nr", -1, &ds, nullptr);
        while (sqlite3_step(ms) == SQLITE_ROW) {
            sqlite3_bind_int64(ds, 1, sqlite3_column_int64(ms, 0));
            while (sqlite3_step(ds) == SQLITE_ROW) {
                mdSum += sqlite3_column_double(ds, 0);
                ++plainRows;
            }
            sqlite3_reset(ds);
        }
        sqlite3_finalize(ds);
        sqlite3_finalize(ms);
        sqlite3_close(m);
    });
    report("(4) master/detail walk, 10,000 masters", engMd, plainMd);
    std::printf("    detail rows read: engine %d, plain %d\n", mdRows, plainRows);
    std::printf("\npeak memory: %ld MiB (checksum %.0f %d %.0f)\n", peakMiB(), sum, count, mdSum);
    sqlite3_close(plain);
    return 0;
}
