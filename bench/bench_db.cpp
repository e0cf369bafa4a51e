// Benchmark of the dataset engine against plain loops over the SQLite C API.
// Run by hand: build/bin/bench_db [rows] [runs] [posts]
//   (default 1,000,000 rows, 5 runs of each measure, 5,000 posts a run)
//
// Every plain loop works on the very file the engine works on (or a byte copy
// of it, where it writes), in the same order, with the pragmas read from the
// engine's own connection. Both sides keep their own checksums; the run
// fails when they differ. Each figure is the median of the runs, the two
// sides taking turns.
//
// Files (in a temporary directory):
//   Paliwo.db   engine table, 12 fields, primary index IdMastera;Data;Nr
//   Bez.db      the same rows in an engine table without an index
//   Mastery.db  engine table of 10,000 masters
#include "Median.h"
#include "BenchSupport.h"
#include "Storage.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace kal;
using kal::bench::median;

namespace {

constexpr int kMasters = 10000;
bool g_failed = false;

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

sqlite3* plainOpen(const char* file, const QByteArray& pragmas)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", file);
        std::exit(1);
    }
    exec(db, pragmas.constData());
    return db;
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

QByteArray fuelKey(int master, const QDate& date, qint64 nr)
{
    QByteArray key;
    db_detail::appendKeyPart(key, db_detail::fieldKey(ftInteger, master));
    db_detail::appendKeyPart(key, db_detail::fieldKey(ftDate, date));
    db_detail::appendKeyPart(key, db_detail::fieldKey(ftAutoInc, int(nr)));
    return key;
}

// Fills both engine files with the same rows in one transaction each, through
// SQLite directly (the fill is not measured).
void fill(int rows)
{
    const char* cols = "\"_rid\",\"IdMastera\",\"Data\",\"Ilosc\",\"Cena\",\"Km\",\"NrRej\",\"Opis\","
                       "\"Rodzaj\",\"Flaga\",\"Uwagi\",\"Kod\"";
    sqlite3* eng = nullptr;
    sqlite3_open("Paliwo.db", &eng);
    sqlite3* bare = nullptr;
    sqlite3_open("Bez.db", &bare);
    exec(eng, "BEGIN");
    exec(bare, "BEGIN");
    sqlite3_stmt* e = nullptr;
    sqlite3_prepare_v2(eng,
                       QByteArray("INSERT INTO data(").append(cols).append(",\"~0\") VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13)").constData(),
                       -1, &e, nullptr);
    sqlite3_stmt* b = nullptr;
    sqlite3_prepare_v2(bare, QByteArray("INSERT INTO data(").append(cols).append(") VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)").constData(),
                       -1, &b, nullptr);
    for (int i = 1; i <= rows; ++i) {
        const int master = (i - 1) % kMasters + 1;
        const QDate date = dateOf(i);
        const QByteArray nr = QStringLiteral("WX %1").arg(i % 99991, 5, 10, QChar(u'0')).toUtf8();
        const QByteArray opis = QStringLiteral("Tankowanie nr %1 na stacji").arg(i).toUtf8();
        const QByteArray key = fuelKey(master, date, i);
        for (sqlite3_stmt* s : {e, b}) {
            sqlite3_bind_int64(s, 1, i);
            sqlite3_bind_int64(s, 2, master);
            sqlite3_bind_int64(s, 3, date.toJulianDay());
            sqlite3_bind_double(s, 4, 10.0 + i % 50 + (i % 7) * 0.125);
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
        sqlite3_step(b);
        sqlite3_reset(b);
    }
    sqlite3_finalize(e);
    sqlite3_finalize(b);
    exec(eng, "COMMIT");
    exec(bare, "COMMIT");
    sqlite3_close(eng);
    sqlite3_close(bare);
}

// What both sides of a walk add up.
struct Sums {
    qint64 rows = 0;
    double litres = 0;
    qint64 chars = 0;
    qint64 days = 0;
    bool operator==(const Sums&) const = default;
};

void check(const char* what, const Sums& engine, const Sums& plain)
{
    if (engine == plain)
        return;
    g_failed = true;
    std::printf("    MISMATCH in %s: engine %lld rows %.3f %lld %lld, plain %lld rows %.3f %lld %lld\n", what,
                (long long)engine.rows, engine.litres, (long long)engine.chars, (long long)engine.days,
                (long long)plain.rows, plain.litres, (long long)plain.chars, (long long)plain.days);
}

void report(const char* what, double engine, double plain)
{
    std::printf("%-46s engine %8.3f s   plain %8.3f s   ratio %5.2f\n", what, engine, plain,
                plain > 0 ? engine / plain : 0.0);
}

// Engine: open a component and walk every row reading three fields.
Sums engineWalk(const char* file)
{
    Sums s;
    TTable fuel;
    fuel.setTableName(file);
    TField* ilosc = fuel.AddField("Ilosc", ftFloat);
    TField* nr = fuel.AddField("NrRej", ftString, 20);
    TField* data = fuel.AddField("Data", ftDate);
    fuel.Open();
    for (fuel.First(); !fuel.Eof(); fuel.Next()) {
        s.litres += ilosc->AsFloat();
        s.chars += nr->AsString().size();
        s.days += data->AsDateTime().day();
        ++s.rows;
    }
    return s;
}

// Plain: the same three columns of the same file in the same order, turned
// into the same values (a text, a date).
Sums plainWalk(const char* file, const QByteArray& pragmas, const char* order)
{
    Sums s;
    sqlite3* db = plainOpen(file, pragmas);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, QByteArray("SELECT \"Ilosc\", \"NrRej\", \"Data\" FROM data ORDER BY ").append(order).constData(),
                       -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        s.litres += sqlite3_column_double(st, 0);
        s.chars += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)), sqlite3_column_bytes(st, 1))
                       .size();
        s.days += QDate::fromJulianDay(sqlite3_column_int64(st, 2)).day();
        ++s.rows;
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return s;
}

Sums fileSums(const char* file, const QByteArray& pragmas)
{
    Sums s;
    sqlite3* db = plainOpen(file, pragmas);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*), total(\"Ilosc\"), total(length(\"NrRej\")), total(\"Data\") FROM data", -1,
                       &st, nullptr);
    if (sqlite3_step(st) == SQLITE_ROW) {
        s.rows = sqlite3_column_int64(st, 0);
        s.litres = sqlite3_column_double(st, 1);
        s.chars = qint64(sqlite3_column_double(st, 2));
        s.days = qint64(sqlite3_column_double(st, 3));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const int posts = argc > 3 ? std::atoi(argv[3]) : 5000;
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
    const QByteArray pragmas = kal::bench::enginePragmas("Paliwo.db");
    std::printf("filled in %.1f s; %d runs of each measure\nengine settings: %s\n\n", fillTime, runs,
                pragmas.constData());

    // (1) open and walk every row reading three fields, in the primary order
    std::vector<double> eng, pln, bareEng, barePln, opens;
    for (int r = 0; r < runs; ++r) {
        Sums a, b;
        eng.push_back(seconds([&] { a = engineWalk("Paliwo.db"); }));
        pln.push_back(seconds([&] { b = plainWalk("Paliwo.db", pragmas, "\"~0\""); }));
        check("(1) walk", a, b);
        bareEng.push_back(seconds([&] { a = engineWalk("Bez.db"); }));
        barePln.push_back(seconds([&] { b = plainWalk("Bez.db", pragmas, "\"_rid\""); }));
        check("(1b) walk", a, b);
        TTable t;
        t.setTableName("Paliwo.db");
        opens.push_back(seconds([&] { t.Open(); }));
        if (t.RecordCount() != rows) {
            g_failed = true;
            std::printf("    MISMATCH: the open table counts %d rows\n", t.RecordCount());
        }
    }
    report("(1) open + walk in primary order, 3 fields", median(eng), median(pln));
    report("(1b) open + walk, table without index", median(bareEng), median(barePln));
    std::printf("%-46s engine %8.3f s\n", "(1c) open alone", median(opens));
    std::printf("    peak memory after the walks: %ld MiB\n", peakMiB());

    // (2) Locate of a value in a field without an index
    {
        std::vector<double> e, p;
        const int target = rows - 7;
        for (int r = 0; r < runs; ++r) {
            qint64 engineHit = 0, plainHit = 0;
            {
                TTable fuel;
                fuel.setTableName("Paliwo.db");
                fuel.Open();
                e.push_back(seconds([&] {
                    if (fuel.Locate("Kod", target))
                        engineHit = fuel.FieldByName("Nr")->AsInteger();
                }));
            }
            sqlite3* db = plainOpen("Paliwo.db", pragmas);
            p.push_back(seconds([&] {
                sqlite3_stmt* s = nullptr;
                sqlite3_prepare_v2(db, "SELECT \"_rid\" FROM data WHERE \"Kod\"=?1 ORDER BY \"~0\" LIMIT 1", -1, &s, nullptr);
                sqlite3_bind_int64(s, 1, target);
                if (sqlite3_step(s) == SQLITE_ROW)
                    plainHit = sqlite3_column_int64(s, 0);
                sqlite3_finalize(s);
            }));
            sqlite3_close(db);
            if (engineHit != plainHit || engineHit == 0) {
                g_failed = true;
                std::printf("    MISMATCH in (2): engine found %lld, plain %lld\n", (long long)engineHit, (long long)plainHit);
            }
        }
        report("(2) Locate of a non-indexed value", median(e), median(p));
    }

    // (3) committed posts one by one; the plain side inserts the same rows
    // into a byte copy of the file made before the first post
    if (posts > 0) {
        QFile::remove("Kopia.db");
        QFile::copy("Paliwo.db", "Kopia.db");
        std::vector<double> e, p;
        qint64 nextRid = rows + 1;
        for (int r = 0; r < runs; ++r) {
            {
                TTable fuel;
                fuel.setTableName("Paliwo.db");
                fuel.Open();
                TField* idm = fuel.FieldByName("IdMastera");
                TField* data = fuel.FieldByName("Data");
                TField* ilosc = fuel.FieldByName("Ilosc");
                TField* nrRej = fuel.FieldByName("NrRej");
                e.push_back(seconds([&] {
                    for (int i = 0; i < posts; ++i) {
                        fuel.Append();
                        idm->setAsInteger(i % kMasters + 1);
                        data->setAsDateTime(QDate(2009, 7, 1).addDays(i % 180));
                        ilosc->setAsFloat(12.5 + i % 3);
                        nrRej->setAsString("KR 12345");
                        fuel.Post();
                    }
                }));
            }
            sqlite3* db = plainOpen("Kopia.db", pragmas);
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db,
                               "INSERT INTO data(\"_rid\",\"IdMastera\",\"Data\",\"Ilosc\",\"NrRej\",\"~0\") "
                               "VALUES(?1,?2,?3,?4,?5,?6)",
                               -1, &s, nullptr);
            std::vector<QByteArray> keys;
            for (int i = 0; i < posts; ++i)
                keys.push_back(fuelKey(i % kMasters + 1, QDate(2009, 7, 1).addDays(i % 180), nextRid + i));
            p.push_back(seconds([&] {
                for (int i = 0; i < posts; ++i) {
                    sqlite3_bind_int64(s, 1, nextRid + i);
                    sqlite3_bind_int64(s, 2, i % kMasters + 1);
                    sqlite3_bind_int64(s, 3, QDate(2009, 7, 1).addDays(i % 180).toJulianDay());
                    sqlite3_bind_double(s, 4, 12.5 + i % 3);
                    sqlite3_bind_text(s, 5, "KR 12345", -1, SQLITE_STATIC);
                    sqlite3_bind_blob(s, 6, keys[size_t(i)].constData(), int(keys[size_t(i)].size()), SQLITE_STATIC);
                    if (sqlite3_step(s) != SQLITE_DONE) {
                        std::printf("plain insert: %s\n", sqlite3_errmsg(db));
                        std::exit(1);
                    }
                    sqlite3_reset(s);
                }
            }));
            nextRid += posts;
            sqlite3_finalize(s);
            sqlite3_close(db);
        }
        check("(3) posts", fileSums("Paliwo.db", pragmas), fileSums("Kopia.db", pragmas));
        const double me = median(e), mp = median(p);
        std::printf("%-46s engine %8.0f /s   plain %8.0f /s   ratio %5.2f\n", "(3) committed posts one by one",
                    posts / me, posts / mp, mp / me);
    }

    // (4) master/detail walk: 10,000 masters, every detail row of each
    {
        std::vector<double> e, p;
        for (int r = 0; r < runs; ++r) {
            Sums a, b;
            e.push_back(seconds([&] {
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
                TField* km = detail.FieldByName("Ilosc");
                for (masters.First(); !masters.Eof(); masters.Next())
                    for (detail.First(); !detail.Eof(); detail.Next()) {
                        a.litres += km->AsFloat();
                        ++a.rows;
                    }
            }));
            p.push_back(seconds([&] {
                sqlite3* m = plainOpen("Mastery.db", pragmas);
                sqlite3* db = plainOpen("Paliwo.db", pragmas);
                sqlite3_stmt* ms = nullptr;
                sqlite3_prepare_v2(m, "SELECT \"_rid\" FROM data ORDER BY \"~0\"", -1, &ms, nullptr);
                sqlite3_stmt* ds = nullptr;
                sqlite3_prepare_v2(db, "SELECT \"Ilosc\" FROM data WHERE \"~0\" >= ?1 AND \"~0\" < ?2 ORDER BY \"~0\"", -1,
                                   &ds, nullptr);
                while (sqlite3_step(ms) == SQLITE_ROW) {
                    QByteArray lo;
                    db_detail::appendKeyPart(lo, db_detail::fieldKey(ftInteger, int(sqlite3_column_int64(ms, 0))));
                    const QByteArray hi = db_detail::upperOf(lo);
                    sqlite3_bind_blob(ds, 1, lo.constData(), int(lo.size()), SQLITE_STATIC);
                    sqlite3_bind_blob(ds, 2, hi.constData(), int(hi.size()), SQLITE_STATIC);
                    while (sqlite3_step(ds) == SQLITE_ROW) {
                        b.litres += sqlite3_column_double(ds, 0);
                        ++b.rows;
                    }
                    sqlite3_reset(ds);
                }
                sqlite3_finalize(ds);
                sqlite3_finalize(ms);
                sqlite3_close(db);
                sqlite3_close(m);
            }));
            check("(4) master/detail", a, b);
        }
        report("(4) master/detail walk, 10,000 masters", median(e), median(p));
    }
    std::printf("\npeak memory: %ld MiB\n%s\n", peakMiB(), g_failed ? "FAILED: the two sides differ" : "both sides agree");
    return g_failed ? 1 : 0;
}
