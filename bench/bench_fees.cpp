// Table D from a half-year of 1,000,000 fuel records for 10,000 vehicles:
// WypelnijTabeleD through the data module on real files, against one SQL
// statement run by the sqlite3 command-line tool that sums the same litres
// per table D cell (a join of the fuel records with the vehicles and a GROUP
// BY). Run by hand: bench_fees [records] [vehicles] [directory] [runs]; with a
// directory that already holds the files of an earlier run they are reused.
// The engine's figure includes the open of the tables it reads; the SQL side
// runs in this process on the same files with the engine's settings and
// classifies each vehicle once; the run fails when the cells differ.

#include "Median.h"
#include "Dane.h"
#include "Schemat.h"
#include "Dialogs.h"
#include "FunkcjeSrodowiska.h"
#include "BenchFirma.h"
#include "BenchSupport.h"
#include "Storage.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QMap>

#include <cmath>

#include <cstdio>
#include <sqlite3.h>
#include <memory>
#include <sys/resource.h>
#include <vector>
#include <algorithm>

using kal::TTable;

namespace {

QString Jd(int r, int m, int d)
{
    return QString::number(QDate(r, m, d).toJulianDay());
}

// The same classification in SQL: the table D row of each vehicle, the fuel
// group of each record, and the litres summed per cell.
QString ZapytanieSql(int firma)
{
    const QString e = QStringLiteral(
        "(CASE WHEN p.\"NormaEuro\" IS NOT NULL AND p.\"NormaEuro\" <> '' THEN p.\"NormaEuro\" "
        "WHEN p.\"RodzajPojazdu\" = '4' THEN '1' WHEN p.\"RodzajPojazdu\" = '5' THEN '2' "
        "WHEN p.\"RodzajPojazdu\" = '6' THEN '3' ELSE '0' END)");
    const QString r = QStringLiteral("COALESCE(p.\"DataPierwszejRejestracji\", 0)");
    const QString ry = QStringLiteral("(CASE WHEN p.\"DataPierwszejRejestracji\" IS NULL THEN 0 ELSE "
                                      "CAST(strftime('%Y', p.\"DataPierwszejRejestracji\" - 0.5) AS INTEGER) END)");
    const QString pr = QStringLiteral("(CASE WHEN p.\"RokProdukcji\" >= 1900 THEN p.\"RokProdukcji\" ELSE %1 END)").arg(ry);
    const QString k = QStringLiteral("CAST(p.\"RodzajPojazdu\" AS INTEGER)");
    const QString wiersz = QStringLiteral(
        "CASE WHEN %1 IN (1,2) THEN (CASE WHEN %2='5' THEN 6 WHEN %3>=2006 OR %2='4' THEN 5 "
        "WHEN %3>=2001 OR %2='3' THEN 4 WHEN %3>=1997 OR %2='2' THEN 3 WHEN %3>=1993 OR %2='1' THEN 2 ELSE 1 END) "
        "WHEN %1 = 3 THEN (CASE WHEN %2='5' THEN 12 WHEN %2='4' OR %4>%6 THEN 11 WHEN %2='3' OR %4>=%7 THEN 10 "
        "WHEN %2='2' OR %4>=%8 THEN 9 WHEN %2='1' OR %4>=%9 THEN 8 ELSE 7 END) "
        "WHEN %1 BETWEEN 4 AND 8 THEN (CASE WHEN %2='5' OR %4>%10 THEN 19 WHEN %2='4' OR %4>=%11 THEN 18 "
        "WHEN %2='3' OR %4>=%12 THEN 17 WHEN %2='2' OR %4>=%13 THEN 16 WHEN %2='1' OR %4>=%9 THEN 15 "
        "WHEN %1=8 THEN 14 ELSE 13 END) "
        "WHEN %1 = 9 THEN (CASE WHEN %2='3' OR %4>%14 THEN 23 WHEN %2='2' OR %4>=%15 THEN 22 "
        "WHEN %2='1' OR %4>=%7 THEN 21 ELSE 20 END) "
        "WHEN %1 = 10 THEN (CASE WHEN %2='3' THEN 27 WHEN %2='2' OR %5>=2004 THEN 26 WHEN %2='1' OR %5>=2000 THEN 25 ELSE 24 END) "
        "WHEN %1 = 11 THEN (CASE WHEN %2='3' OR %5>=2008 THEN 29 ELSE 28 END) ELSE 0 END")
        .arg(k, e, ry, r, pr, Jd(2006, 6, 30), Jd(2001, 7, 1), Jd(1997, 7, 1), Jd(1993, 10, 1))
        .arg(Jd(2009, 9, 30), Jd(2006, 10, 1), Jd(2001, 10, 1), Jd(1996, 10, 1), Jd(2007, 1, 1), Jd(2004, 1, 1));
    const QString grupa = QStringLiteral(
        "CASE WHEN z.\"RodzajPaliwa\" IN ('1','2','3') THEN 1 WHEN z.\"RodzajPaliwa\" = '4' THEN 2 "
        "WHEN z.\"RodzajPaliwa\" IN ('5','6') THEN 5 WHEN z.\"RodzajPaliwa\" = 'a' THEN 6 "
        "WHEN z.\"RodzajPaliwa\" IN ('b','c') THEN (CASE WHEN p.\"FabrycznaInstalacjaGazu\" = 'T' THEN 3 ELSE 4 END) "
        "ELSE 0 END");
    // Each vehicle is classified once (a materialized table of its row and
    // gas flag), then joined to its fuel records and summed per cell.
    const QString grupaK = QString(grupa).replace(QStringLiteral("p.\"FabrycznaInstalacjaGazu\""), QStringLiteral("k.gaz"));
    return QStringLiteral("WITH klasy AS MATERIALIZED (SELECT p.\"_rid\" AS id, %1 AS wiersz, "
                          "p.\"FabrycznaInstalacjaGazu\" AS gaz FROM pj.data p) "
                          "SELECT k.wiersz, %2 AS grupa, SUM(z.\"IloscPaliwa\") FROM data z "
                          "JOIN klasy k ON k.id = z.\"IdentyfikatorPojazdu\" WHERE z.\"IdentyfikatorFirmy\" = %3 "
                          "GROUP BY 1, 2")
        .arg(wiersz, grupaK, QString::number(firma));
}

} // namespace

int main(int argc, char** argv)
{
    // KALMORA_BENCH_MMAP=<MiB>: SQLite maps that much of each file instead of
    // reading its pages with a system call each (a trial of the setting).
    if (const int mib = qEnvironmentVariableIntValue("KALMORA_BENCH_MMAP"); mib > 0) {
        const sqlite3_int64 rozmiar = sqlite3_int64(mib) << 20;
        sqlite3_config(SQLITE_CONFIG_MMAP_SIZE, rozmiar, rozmiar);
        std::printf("SQLite memory map: %d MiB\n", mib);
    }
    QCoreApplication app(argc, argv);
    const int liczbaZapisow = argc > 1 ? atoi(argv[1]) : 1000000;
    const int liczbaPojazdow = argc > 2 ? atoi(argv[2]) : 10000;
    const int przebiegi = argc > 4 ? std::max(1, atoi(argv[4])) : 3;

    QTemporaryDir tymczasowy;
    const QString katalog = argc > 3 ? QString::fromLocal8Bit(argv[3]) : tymczasowy.path() + QStringLiteral("/dane");
    const bool gotowe = QFile::exists(katalog + QStringLiteral("/Zuz20091.db"));
    if (!gotowe) {
        const QString blad = Schemat::UtworzKatalogDanych(katalog);
        if (!blad.isEmpty()) {
            std::printf("%s\n", qPrintable(blad));
            return 1;
        }
    }
    QDir::setCurrent(katalog);
    qputenv("TEMP", tymczasowy.path().toLocal8Bit());
    std::printf("data directory %s\n", qPrintable(katalog));

    auto modul = std::make_unique<TDM>();
    TDM& dm = *modul;
    InicjalizujFunkcjeSrodowiska();
    QElapsedTimer zegar;
    zegar.start();
    if (!gotowe)
        kal::bench::FirmaZOkresem(dm);
    if (!dm.OtworzZalacznikiPolrocza() || !dm.UstawZbiorZuzycia()) {
        std::printf("the period's rows or its half-year file cannot be made\n");
        return 1;
    }
    const int firma = dm.TFirmaIdentyfikator->AsInteger();
    if (!gotowe) {
        // The register and the half-year are written straight into their
        // files, without the entry rules of the windows.
        const char* paliwa[10] = {"1", "3", "4", "5", "5", "5", "6", "a", "b", "c"};
        using kal::bench::los;
        kal::bench::wypelnij(QStringLiteral("Pojazdy.db"), liczbaPojazdow, [](int i, const QString& pole) -> QVariant {
            if (pole == u"RodzajPojazdu")
                return QString::number(1 + los(i, 1, 11));
            if (pole == u"Marka")
                return QStringLiteral("Marka %1").arg(i % 97);
            if (pole == u"NrRejestracyjny")
                return QStringLiteral("WX %1").arg(i, 5, 10, QLatin1Char('0'));
            if (pole == u"DataPierwszejRejestracji")
                return QDate(1988, 1, 1).addDays(los(i, 2, 8000));
            if (pole == u"RokProdukcji")
                return los(i, 3, 3) == 0 ? QVariant(1985 + los(i, 4, 25)) : QVariant();
            if (pole == u"NormaEuro")
                return los(i, 5, 2) == 0 ? QVariant(QString::number(los(i, 6, 6))) : QVariant();
            if (pole == u"FabrycznaInstalacjaGazu")
                return los(i, 7, 4) == 0 ? QStringLiteral("T") : QStringLiteral("N");
            return {};
        });
        kal::bench::wypelnij(QStringLiteral("Zuz20091.db"), liczbaZapisow,
                             [&](int i, const QString& pole) -> QVariant {
                                 if (pole == u"IdentyfikatorFirmy")
                                     return firma;
                                 if (pole == u"IdentyfikatorPojazdu")
                                     return 1 + los(i, 11, liczbaPojazdow);
                                 if (pole == u"DataTankowania")
                                     return QDate(2009, 1, 1).addDays(los(i, 12, 181));
                                 if (pole == u"RodzajPaliwa")
                                     return QString::fromLatin1(paliwa[los(i, 13, 10)]);
                                 if (pole == u"IloscPaliwa")
                                     return (2000 + los(i, 14, 78000)) / 100.0;
                                 return {};
                             });
        std::printf("files written in %.1f s\n", zegar.elapsed() / 1000.0);
    }
    // The settings of the engine's connection, given to the SQL side too.
    const QByteArray ustawienia = kal::bench::enginePragmas(QStringLiteral("Zuz20091.db"));
    std::printf("engine settings: %s\n", ustawienia.constData());
    ZwolnijFunkcjeSrodowiska();
    modul.reset();

    // Litres per (table D row, fuel column) of each side; both must agree.
    using Komorki = QMap<QPair<int, int>, double>;
    const auto porownaj = [](const Komorki& a, const Komorki& b) {
        int rozne = 0;
        for (auto it = a.begin(); it != a.end(); ++it) {
            const double l = b.value(it.key(), -1.0);
            if (!(std::fabs(l - it.value()) < 1e-6 * std::max(1.0, std::fabs(l))))
                ++rozne;
        }
        for (auto it = b.begin(); it != b.end(); ++it)
            rozne += a.contains(it.key()) ? 0 : 1;
        return rozne;
    };

    std::vector<double> silnikCzasy, sqlCzasy;
    bool zle = false;
    double razemMg = 0;
    for (int przebieg = 0; przebieg < przebiegi; ++przebieg) {
        // Engine: the data module is made (not timed); the tables that table
        // D reads are closed, and their open is part of the figure.
        Komorki silnikowe;
        {
            auto m = std::make_unique<TDM>();
            InicjalizujFunkcjeSrodowiska();
            if (!m->OtworzZalacznikiPolrocza() || !m->UstawZbiorZuzycia())
                return 1;
            m->TZuzycie->Close();
            m->TPojazdy->Close();
            zegar.restart();
            m->TPojazdy->Open();
            m->TZuzycie->Open();
            ZuzyciePaliwa().WypelnijTabeleD();
            silnikCzasy.push_back(zegar.nsecsElapsed() / 1e9);
            m->TTabelaD->Post();
            razemMg = 0;
            for (const QString& pole : PolaTabeliD())
                razemMg += m->TTabelaD->FieldByName(pole)->AsFloat();
            for (int nr = 0; nr < ZuzyciePaliwa().UzytePozycje(); ++nr) {
                const PozycjaZuzycia& p = ZuzyciePaliwa().Pozycja(nr);
                int g = 0;
                switch (GrupaPaliwaIndeksu(p.klucz.paliwo)) {
                case GrupaPaliwa::Benzyna: g = 1; break;
                case GrupaPaliwa::Lpg: g = 2; break;
                case GrupaPaliwa::Gaz: g = p.klucz.gaz ? 3 : 4; break;
                case GrupaPaliwa::OlejNapedowy: g = 5; break;
                case GrupaPaliwa::Biodiesel: g = 6; break;
                case GrupaPaliwa::Brak: g = 0; break;
                }
                silnikowe[qMakePair(p.klucz.wiersz, g)] += p.litry;
            }
            // The engine keeps its files locked while they are open.
            ZwolnijFunkcjeSrodowiska();
        }
        // SQL: the same file with the engine's settings, open included.
        Komorki sqlowe;
        zegar.restart();
        sqlite3* db = nullptr;
        sqlite3_open_v2("Zuz20091.db", &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, ustawienia.constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "ATTACH 'Pojazdy.db' AS pj", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, ZapytanieSql(firma).toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            std::printf("SQL: %s\n", sqlite3_errmsg(db));
            return 1;
        }
        while (sqlite3_step(st) == SQLITE_ROW)
            sqlowe[qMakePair(sqlite3_column_int(st, 0), sqlite3_column_int(st, 1))] += sqlite3_column_double(st, 2);
        sqlite3_finalize(st);
        sqlite3_close(db);
        sqlCzasy.push_back(zegar.nsecsElapsed() / 1e9);
        const int rozne = porownaj(silnikowe, sqlowe);
        std::printf("run %d: engine %.3f s, SQL %.3f s, %d cells, %d differing\n", przebieg + 1, silnikCzasy.back(),
                    sqlCzasy.back(), int(sqlowe.size()), rozne);
        zle = zle || rozne != 0 || sqlowe.isEmpty();
    }
    const double silnik = kal::bench::median(silnikCzasy), sql = kal::bench::median(sqlCzasy);
    std::printf("table D (open of the tables + WypelnijTabeleD), %d records, %d vehicles: median %.3f s "
                "(table D total %.2f Mg)\n",
                liczbaZapisow, liczbaPojazdow, silnik, razemMg);
    std::printf("SQL anchor (open + classify each vehicle once + join + GROUP BY): median %.3f s\n", sql);
    std::printf("ratio engine / SQL: %.2f\n", silnik / sql);
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("peak memory of the process: %ld MiB\n%s\n", ru.ru_maxrss / 1024,
                zle ? "FAILED: the two sides differ" : "both sides agree in every cell");
    return zle ? 1 : 0;
}
