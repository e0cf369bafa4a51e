// Benchmark of the register windows on a large data directory (offscreen).
// Run by hand: build/bin/bench_rejestry [fuel rows] [vehicles]
//              (default 1,000,000 fuel records, 10,000 vehicles)
//
// A new data directory gets one company, its period 2009/1, the vehicles and
// the half-year file "Zuz20091.db" with the fuel records of that company
// (written straight into the table files in one transaction each; the fill
// is not measured). Then, for the fuel-use window and the vehicle register:
//   open    construct the window, bind its grid, first paint of the window
//   end     move to the last record (the navigator's "last") and repaint
//   wheel   100 wheel steps towards the start, each one repainted
#include "Dane.h"
#include "EwidencjaPojazdow.h"
#include "Schemat.h"
#include "BenchDialogs.h"
#include "BenchFirma.h"
#include "BenchSupport.h"
#include "Zuzycie.h"

#include "DBGrid.h"
#include "Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

long peakMiB()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024;
}

double ms(QElapsedTimer& t)
{
    const double v = double(t.nsecsElapsed()) / 1e6;
    t.restart();
    return v;
}

// The window's own show path runs; the modal show is replaced by the
// measurement of the open window.
using Pomiar = kal::bench::PomiarDialogow;

struct Wyniki {
    double utworzenie = 0, powiazanie = 0, pokazanie = 0, otwarcie = 0, koniec = 0, kolko = 0;
    int wiersze = 0;
};

// Measures one register window: `pokaz` shows it through the dialog seam.
Wyniki zmierz(Pomiar& seam, kal::TDBGrid*& siatka, kal::TTable* tabela, const std::function<QWidget*()>& utworz,
              const std::function<void(QWidget*)>& pokaz)
{
    Wyniki w;
    QElapsedTimer t;
    t.start();
    seam.przy = [&](QWidget* okno) {
        w.powiazanie = ms(t);
        okno->show();
        QApplication::processEvents();
        w.pokazanie = ms(t);
        (void)okno->grab();
        w.otwarcie = w.utworzenie + w.powiazanie + w.pokazanie + ms(t);
        tabela->Last();
        (void)siatka->viewport()->grab();
        w.koniec = ms(t);
        for (int i = 0; i < 100; ++i) {
            siatka->wheelStep(120);
            (void)siatka->viewport()->grab();
        }
        w.kolko = ms(t);
        w.wiersze = tabela->RecordCount();
        okno->hide();
    };
    QWidget* okno = utworz();
    w.utworzenie = ms(t);
    pokaz(okno);
    delete okno;
    return w;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int paliwa = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int pojazdy = argc > 2 ? std::atoi(argv[2]) : 10000;

    QTemporaryDir tmp;
    QDir::setCurrent(tmp.path());
    qputenv("TEMP", tmp.path().toLocal8Bit());
    const QString blad = Schemat::UtworzKatalogDanych(tmp.path());
    if (!blad.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(blad));
        return 1;
    }

    int idFirmy = 0;
    {
        TDM dm;
        kal::bench::FirmaZOkresem(dm);
        idFirmy = dm.TFirmaIdentyfikator->AsInteger();
        if (!dm.UstawZbiorZuzycia()) {
            std::fprintf(stderr, "no half-year file\n");
            return 1;
        }
    }

    std::printf("filling %d vehicles and %d fuel records ...\n", pojazdy, paliwa);
    QElapsedTimer t;
    t.start();
    kal::bench::wypelnij(QStringLiteral("Pojazdy.db"), pojazdy, [](int i, const QString& pole) -> QVariant {
        if (pole == u"RodzajPojazdu")
            return QString::number(1 + i % 11);
        if (pole == u"Marka")
            return QStringLiteral("Marka %1").arg(i % 97);
        if (pole == u"NrRejestracyjny")
            return QStringLiteral("WX %1").arg(i, 6, 10, QChar(u'0'));
        if (pole == u"NormaEuro")
            return QString::number(i % 6);
        if (pole == u"FabrycznaInstalacjaGazu")
            return i % 3 ? QStringLiteral("N") : QStringLiteral("T");
        if (pole == u"DataPierwszejRejestracji")
            return QDate(1995, 1, 1).addDays(i % 5000);
        if (pole == u"RokProdukcji")
            return 1995 + i % 14;
        return {};
    });
    kal::bench::wypelnij(QStringLiteral("Zuz20091.db"), paliwa, [idFirmy, pojazdy](int i, const QString& pole) -> QVariant {
        if (pole == u"IdentyfikatorFirmy")
            return idFirmy;
        if (pole == u"IdentyfikatorPojazdu")
            return 1 + i % pojazdy;
        if (pole == u"DataTankowania")
            return QDate(2009, 1, 1).addDays(i % 181);
        if (pole == u"IloscPaliwa")
            return 10.0 + i % 50;
        if (pole == u"CenaPaliwa")
            return 4.5 + (i % 7) * 0.1;
        if (pole == u"RodzajPaliwa")
            return QStringLiteral("5");
        if (pole == u"RodzajPojazdu")
            return QString::number(1 + (i % pojazdy) % 11);
        if (pole == u"NumerFaktury")
            return QStringLiteral("FV %1/2009").arg(i);
        if (pole == u"IloscKm")
            return 1000.0 + i;
        return {};
    });
    std::printf("filled in %.1f s\n\n", double(t.nsecsElapsed()) / 1e9);

    Pomiar seam;
    kal::SetDialogs(&seam);
    t.restart();
    auto dm = std::make_unique<TDM>();
    std::printf("data module opens its files: %8.1f ms\n", ms(t));

    kal::TDBGrid* siatka = nullptr;
    const Wyniki z = zmierz(
        seam, siatka, dm->TZuzycie,
        [&] {
            auto* w = new TFZuzycie;
            siatka = w->DBGrid1;
            return static_cast<QWidget*>(w);
        },
        [](QWidget* w) { static_cast<TFZuzycie*>(w)->Pokaz(); });
    std::printf("fuel-use window (%d records)\n", z.wiersze);
    std::printf("  construct + bind + first paint %8.1f ms (construct %.1f, bind %.1f, show %.1f)\n", z.otwarcie,
                z.utworzenie, z.powiazanie, z.pokazanie);
    std::printf("  to the last record, repainted  %8.1f ms\n", z.koniec);
    std::printf("  100 wheel steps, repainted     %8.1f ms\n\n", z.kolko);

    const Wyniki p = zmierz(
        seam, siatka, dm->TPojazdy,
        [&] {
            auto* w = new TFEwidencjaPojazdow;
            siatka = w->DBGrid1;
            return static_cast<QWidget*>(w);
        },
        [](QWidget* w) { static_cast<TFEwidencjaPojazdow*>(w)->Pokaz(0); });
    std::printf("vehicle register (%d vehicles)\n", p.wiersze);
    std::printf("  construct + bind + first paint %8.1f ms (construct %.1f, bind %.1f, show %.1f)\n", p.otwarcie,
                p.utworzenie, p.powiazanie, p.pokazanie);
    std::printf("  to the last record, repainted  %8.1f ms\n", p.koniec);
    std::printf("  100 wheel steps, repainted     %8.1f ms\n\n", p.kolko);
    std::printf("peak memory %ld MiB\n", peakMiB());

    dm.reset();
    kal::SetDialogs(nullptr);
    return 0;
}
