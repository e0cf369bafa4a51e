// The fleet-card import of a large workbook: a new data directory through the
// data module, the vehicles already in the register, a workbook of fuel rows
// written by the tests' workbook writer; the import (open, check, every row
// posted) is timed. Run by hand: bench_import [rows] [runs]
//   (default 5,000 rows of 50 vehicles, 3 runs; the median is printed).

#include "Median.h"
#include "Clock.h"
#include "Dane.h"
#include "ImportFlotyLogika.h"
#include "Schemat.h"
#include "Table.h"

#include "../tests/workbook/XlsWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using kal::test::XlsDate;
using kal::test::XlsSerial;
using kal::test::XlsValue;
using kal::test::XlsWriter;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int wiersze = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int przebiegi = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    constexpr int kPojazdy = 50;
    QTemporaryDir temp;
    qputenv("TEMP", temp.path().toLocal8Bit());
    kal::SetTodayForTests(QDate(2009, 9, 1));

    // One workbook, imported into a fresh data directory on every run.
    XlsWriter w;
    w.sheet(QStringLiteral("EXP_ZESTAW_TRANS_FLOTY_OKROJONY"))
        .row({QStringLiteral("Nr faktury"), QStringLiteral("Data realizacji"), QStringLiteral("Nazwa produktu"),
              QStringLiteral("Ilość litrów"), QStringLiteral("Cena za litr"), QStringLiteral("Grupa prod"),
              QStringLiteral("Nr rejestracyjny"), QStringLiteral("Rodzaj pojazdu")});
    for (int i = 0; i < wiersze; ++i)
        w.row({QStringLiteral("F/%1").arg(i), XlsDate{XlsSerial(2009, 7 + i % 6, 1 + i % 28)}, QStringLiteral("ON"),
               20.0 + i % 40, 4.5, 1.0, QStringLiteral("WX %1").arg(i % kPojazdy, 5, 10, QChar(u'0')),
               QStringLiteral("1")});
    const QString skoroszyt = temp.filePath(QStringLiteral("Orlen.xls"));
    if (!w.save(skoroszyt))
        return 1;

    std::vector<double> czasy;
    int zapisane = 0;
    for (int p = 0; p < przebiegi; ++p) {
        const QString katalog = temp.filePath(QStringLiteral("dane%1").arg(p));
        if (!Schemat::UtworzKatalogDanych(katalog).isEmpty())
            return 1;
        QDir::setCurrent(katalog);
        auto dm = std::make_unique<TDM>();
        dm->TFirma->Insert();
        dm->TFirmaNazwa1->setAsString(QStringLiteral("Ruvelkon sp. z o.o."));
        dm->TFirma->Post();
        dm->TOkres->Insert();
        dm->TOkresRok->setAsInteger(2009);
        dm->TOkresPolrocze->setAsInteger(2);
        dm->TOkres->Post();
        if (!dm->UstawZbiorZuzycia())
            return 1;
        for (int i = 0; i < kPojazdy; ++i) {
            dm->TPojazdy->Insert();
            dm->TPojazdyRodzajPojazdu->setAsString(QStringLiteral("1"));
            dm->TPojazdyMarka->setAsString(QStringLiteral("Skoda"));
            dm->TPojazdyNrRejestracyjny->setAsString(QStringLiteral("WX %1").arg(i, 5, 10, QChar(u'0')));
            dm->TPojazdy->Post();
        }
        ZnajdzIdentyfikatorPojazdu = nullptr;
        TImportFlotyLogika import;
        import.BuforPamieci = true;
        QElapsedTimer zegar;
        zegar.start();
        if (!import.Otworz(skoroszyt) || !import.SprawdzArkusz())
            return 1;
        const bool bledy = import.Importuj();
        czasy.push_back(double(zegar.nsecsElapsed()) / 1e9);
        zapisane = dm->TZuzycie->RecordCount();
        std::printf("run %d: %.3f s, %d records stored%s\n", p + 1, czasy.back(), zapisane,
                    bledy ? " (with entries in the log)" : "");
    }
    const double mediana = kal::bench::median(czasy);
    std::printf("import of %d workbook rows: median %.3f s (%.0f rows/s)\n", wiersze, mediana, wiersze / mediana);
    return zapisane == wiersze ? 0 : 1;
}
