// Table D from a half-year of 1,000,000 fuel records for 10,000 vehicles:
// WypelnijTabeleD through the data module on real files, against one SQL
// statement run by the sqlite3 command-line tool that sums the same litres
// per table D cell (a join of the fuel records with the vehicles and a GROUP
// BY). Run by hand: bench_fees [records] [vehicles] [directory]; with a
// directory that already holds the files of an earlier run they are reused.

#include "Dane.h"
#include "Schemat.h"
#include "Dialogs.h"
#include "FunkcjeSrodowiska.h"
#include "Table.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QMap>

#include <cmath>

#include <cstdio>
#include <sqlite3.h>
#include <memory>

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
    return QStringLiteral("ATTACH 'Pojazdy.db' AS pj; "
                          "SELECT wiersz, grupa, SUM(litry) FROM (SELECT %1 AS wiersz, %2 AS grupa, "
                          "z.\"IloscPaliwa\" AS litry FROM data z JOIN pj.data p "
                          "ON p.\"_rid\" = z.\"IdentyfikatorPojazdu\" WHERE z.\"IdentyfikatorFirmy\" = %3) "
                          "GROUP BY wiersz, grupa;")
        .arg(wiersz, grupa, QString::number(firma));
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
    if (!gotowe) {
        dm.TFirma->Insert();
        dm.TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
        dm.TFirma->Post();
        dm.TOkres->Insert();
        dm.TOkresRok->setAsInteger(2009);
        dm.TOkresPolrocze->setAsInteger(1);
        dm.TOkres->Post();
    }
    if (!dm.OtworzZalacznikiPolrocza() || !dm.UstawZbiorZuzycia()) {
        std::printf("the period's rows or its half-year file cannot be made\n");
        return 1;
    }
    const int firma = dm.TFirmaIdentyfikator->AsInteger();
    if (!gotowe) {
        // The register and the half-year are written by plain components on
        // the module's files, without the entry rules of the windows.
        QRandomGenerator los(20091);
        TTable pojazdy(QStringLiteral("TPojazdyZapis"));
        pojazdy.setTableName(QStringLiteral("Pojazdy.db"));
        pojazdy.Open();
        for (int i = 0; i < liczbaPojazdow; ++i) {
            pojazdy.Append();
            pojazdy.FieldByName("RodzajPojazdu")->setAsString(QString::number(1 + los.bounded(11)));
            pojazdy.FieldByName("Marka")->setAsString(QStringLiteral("Marka %1").arg(i % 97));
            pojazdy.FieldByName("NrRejestracyjny")->setAsString(QStringLiteral("WX %1").arg(i, 5, 10, QLatin1Char('0')));
            pojazdy.FieldByName("DataPierwszejRejestracji")->setAsDateTime(QDate(1988, 1, 1).addDays(los.bounded(8000)));
            if (los.bounded(3) == 0)
                pojazdy.FieldByName("RokProdukcji")->setAsInteger(1985 + los.bounded(25));
            if (los.bounded(2) == 0)
                pojazdy.FieldByName("NormaEuro")->setAsString(QString::number(los.bounded(6)));
            pojazdy.FieldByName("FabrycznaInstalacjaGazu")->setAsString(los.bounded(4) == 0 ? "T" : "N");
            pojazdy.Post();
        }
        const char* paliwa[10] = {"1", "3", "4", "5", "5", "5", "6", "a", "b", "c"};
        TTable zuzycie(QStringLiteral("TZuzycieZapis"));
        zuzycie.setTableName(QStringLiteral("Zuz20091.db"));
        zuzycie.Open();
        kal::TField* idFirmy = zuzycie.FieldByName("IdentyfikatorFirmy");
        kal::TField* pojazd = zuzycie.FieldByName("IdentyfikatorPojazdu");
        kal::TField* data = zuzycie.FieldByName("DataTankowania");
        kal::TField* paliwo = zuzycie.FieldByName("RodzajPaliwa");
        kal::TField* ilosc = zuzycie.FieldByName("IloscPaliwa");
        for (int i = 0; i < liczbaZapisow; ++i) {
            zuzycie.Append();
            idFirmy->setAsInteger(firma);
            pojazd->setAsInteger(1 + los.bounded(liczbaPojazdow));
            data->setAsDateTime(QDate(2009, 1, 1).addDays(los.bounded(181)));
            paliwo->setAsString(QString::fromLatin1(paliwa[los.bounded(10)]));
            ilosc->setAsFloat(los.bounded(2000, 80000) / 100.0);
            zuzycie.Post();
        }
        std::printf("files written in %.1f s\n", zegar.elapsed() / 1000.0);
    }
    dm.TPojazdy->Refresh();
    dm.TZuzycie->Refresh();

    // The register walk that classifies every vehicle once.
    zegar.restart();
    int pojazdyN = 0;
    DaneSrodowiska().Pojazdy([&](int, const DanePojazdu&) { ++pojazdyN; });
    std::printf("walk of the vehicle register: %.3f s (%d vehicles)\n", zegar.nsecsElapsed() / 1e9, pojazdyN);

    // The engine's own share: the same walk with the same three field reads.
    zegar.restart();
    double suma = 0;
    int n = 0;
    DaneSrodowiska().ZapisyZuzycia([&](const ZapisZuzycia& z) {
        suma += z.iloscPaliwa;
        n += z.idPojazdu > 0 && !z.rodzajPaliwa.isEmpty();
    });
    std::printf("walk of the fuel table alone: %.3f s (%d records, %.0f litres)\n", zegar.nsecsElapsed() / 1e9, n, suma);

    {
        TTable plik(QStringLiteral("TPlik"));
        plik.setTableName(QStringLiteral("Zuz20091.db"));
        plik.Open();
        kal::TField* a = plik.FieldByName("IdentyfikatorPojazdu");
        kal::TField* b = plik.FieldByName("RodzajPaliwa");
        kal::TField* c = plik.FieldByName("IloscPaliwa");
        zegar.restart();
        double s2 = 0;
        int n2 = 0;
        for (plik.First(); !plik.Eof(); plik.Next()) {
            s2 += c->AsFloat();
            n2 += a->AsInteger() > 0 && !b->AsString().isEmpty();
        }
        std::printf("walk of a plain component in its primary order: %.3f s (%d records)\n", zegar.nsecsElapsed() / 1e9, n2);
    }

    zegar.restart();
    ZuzyciePaliwa().WypelnijTabeleD();
    const double silnik = zegar.nsecsElapsed() / 1e9;
    dm.TTabelaD->Post();
    double razemMg = 0;
    for (const QString& pole : PolaTabeliD())
        razemMg += dm.TTabelaD->FieldByName(pole)->AsFloat();
    std::printf("WypelnijTabeleD: %d records, %d vehicles, %d slots, %.3f s (table D total %.2f Mg)\n",
                liczbaZapisow, liczbaPojazdow, ZuzyciePaliwa().UzytePozycje(), silnik, razemMg);

    // Both must find the same litres per (row, fuel column).
    QMap<QPair<int, int>, double> litry;
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
        litry[qMakePair(p.klucz.wiersz, g)] += p.litry;
    }
    // The engine keeps its files locked while they are open.
    ZwolnijFunkcjeSrodowiska();
    modul.reset();

    // The floor under any walk in the table's order: the same rows read by a
    // plain loop over the SQLite C API, in the primary index's order, with
    // every column (as the table component's stream selects them) and with
    // only the three the aggregation reads.
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2("Zuz20091.db", &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_exec(db, "PRAGMA mmap_size=536870912;", nullptr, nullptr, nullptr);
            const auto petla = [&](const char* opis, const char* sql) {
                sqlite3_stmt* st = nullptr;
                if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
                    return;
                zegar.restart();
                int wiersze = 0;
                double s3 = 0;
                while (sqlite3_step(st) == SQLITE_ROW) {
                    ++wiersze;
                    for (int i = 0; i < sqlite3_column_count(st); ++i)
                        s3 += sqlite3_column_type(st, i) == SQLITE_TEXT ? sqlite3_column_bytes(st, i)
                                                                         : sqlite3_column_double(st, i);
                }
                sqlite3_finalize(st);
                std::printf("plain SQLite walk in index order, %s: %.3f s (%d rows)\n", opis,
                            zegar.nsecsElapsed() / 1e9, wiersze);
            };
            petla("every column", "SELECT * FROM data ORDER BY \"~0\", \"_rid\"");
            petla("three columns",
                  "SELECT \"IdentyfikatorPojazdu\", \"RodzajPaliwa\", \"IloscPaliwa\" FROM data "
                  "ORDER BY \"~0\", \"_rid\"");
        }
        sqlite3_close(db);
    }

    QProcess sqlite;
    zegar.restart();
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("Zuz20091.db"), ZapytanieSql(firma)});
    sqlite.waitForFinished(-1);
    const double sql = zegar.nsecsElapsed() / 1e9;
    const QByteArray wynik = sqlite.readAllStandardOutput();
    std::printf("sqlite3 join + GROUP BY: %.3f s, %d cells%s\n", sql, int(wynik.count('\n')),
                sqlite.exitCode() == 0 ? "" : qPrintable(QStringLiteral(" (error: %1)")
                                                             .arg(QString::fromUtf8(sqlite.readAllStandardError()))));
    std::printf("ratio engine / SQL: %.2f\n", silnik / sql);
    int zgodne = 0, rozne = 0;
    for (const QByteArray& linia : wynik.split('\n')) {
        const QList<QByteArray> c = linia.split('|');
        if (c.size() != 3)
            continue;
        const double l = litry.take(qMakePair(c[0].toInt(), c[1].toInt()));
        (std::fabs(l - c[2].toDouble()) < 1e-6 * std::max(1.0, l)) ? ++zgodne : ++rozne;
    }
    rozne += int(litry.size());
    std::printf("cells with the same litres: %d, differing: %d\n", zgodne, rozne);
    return 0;
}
