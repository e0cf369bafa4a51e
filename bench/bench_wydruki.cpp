// Benchmark of the list reports on a large data directory (offscreen).
// Run by hand: build/bin/bench_wydruki [fuel records] [vehicles] [runs] [directory] [list] [eksport [tekst]]
//              (default 200,000 fuel records, 2,000 vehicles, 3 runs)
//
// A data directory gets one company, its period 2009/1, 50 refuelling
// places, 20 places of use, the vehicles (each with three repair or
// inspection rows and ten mileage rows), the half-year file "Zuz20091.db"
// with the fuel records of that company, and table A of the period (40
// commune rows of 10 sources of 5 substances each, 50 fuels). The files are
// written straight through the storage, in one transaction each (not
// measured); a directory given as the fourth argument is filled on the first
// run and reused by later ones, so that two builds work on the same files.
//
// Each list is run as the user runs it: its register window open, shown and
// bound, and "Podgląd" of its parameter window (the preview window replaced
// by the measurement). Printed: the median time from the button to the page
// model of the whole report, and to its first page drawn as the preview draws
// it; the pages, and a digest of every text of the pages with its place (the
// time of day masked), so that two builds can be compared text for text.
// With "eksport" as the sixth argument, after each list its PDF and CSV are
// written into the temporary directory as the preview writes them, timed,
// with their sizes and the CSV's digest (the time of day masked); "tekst" as
// the seventh adds the digest of the text pdftotext reads from the PDF.
#include "Median.h"
#include "BenchDialogs.h"
#include "BenchFirma.h"
#include "BenchSupport.h"
#include "Dane.h"
#include "EwidencjaPojazdow.h"
#include "NaprPrzegl.h"
#include "ParWNaprPrz.h"
#include "ParWydrPojazdow.h"
#include "ParZuzMiejscTank.h"
#include "SamDoPrzegl.h"
#include "Schemat.h"
#include "WydrukNaprawPrz.h"
#include "WydrukPojazdow.h"
#include "WydrukPrzeglPoj.h"
#include "WydrukSamDoPrzegl.h"
#include "WydrukTabeliA.h"
#include "WydrukZuzyciaPaliwa.h"
#include "WydrukiZestawienia.h"
#include "Zuzycie.h"

#include "Clock.h"
#include "Dialogs.h"
#include "Export.h"
#include "Render.h"
#include "Report.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

long peakMiB()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024;
}

// Every text of the pages with its page and place; the time of day of the
// page headers is masked.
QByteArray Skrot(const kal::report::PageModel& model)
{
    static const QRegularExpression czas(QStringLiteral("\\d\\d:\\d\\d:\\d\\d"));
    QCryptographicHash h(QCryptographicHash::Md5);
    for (int p = 0; p < model.pageCount(); ++p) {
        const auto page = model.page(p);
        for (const kal::report::PageItem& it : page->items) {
            QString t = it.text;
            t.replace(czas, QStringLiteral("hh:mm:ss"));
            h.addData(QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8\n")
                          .arg(p)
                          .arg(int(it.kind))
                          .arg(it.x1, 0, 'f', 2)
                          .arg(it.y1, 0, 'f', 2)
                          .arg(it.x2, 0, 'f', 2)
                          .arg(it.y2, 0, 'f', 2)
                          .arg(it.font)
                          .arg(t)
                          .toUtf8());
        }
    }
    return h.result().toHex().left(16);
}

// A digest of a written file, read a piece at a time, with the time of day
// masked (as in the texts' digest); the size in bytes before it.
QByteArray Plik(const QString& nazwa)
{
    QFile f(nazwa);
    if (!f.open(QIODevice::ReadOnly))
        return "missing";
    constexpr qsizetype dlugosc = 8; // "hh:mm:ss"
    const auto cyfra = [](char c) { return c >= '0' && c <= '9'; };
    QCryptographicHash h(QCryptographicHash::Md5);
    QByteArray kawalek;
    for (bool koniec = false; !koniec;) {
        kawalek += f.read(1 << 20);
        koniec = f.atEnd();
        for (qsizetype i = 0; i + dlugosc <= kawalek.size(); ++i) {
            const char* c = kawalek.constData() + i;
            if (cyfra(c[0]) && cyfra(c[1]) && c[2] == ':' && cyfra(c[3]) && cyfra(c[4]) && c[5] == ':' && cyfra(c[6])
                && cyfra(c[7]))
                kawalek.replace(i, dlugosc, "hh:mm:ss");
        }
        // The last bytes wait for the next piece: a time may begin in them.
        const qsizetype gotowe = koniec ? kawalek.size() : std::max<qsizetype>(0, kawalek.size() - dlugosc + 1);
        h.addData(QByteArrayView(kawalek).first(gotowe));
        kawalek.remove(0, gotowe);
    }
    return QByteArray::number(f.size()) + " bytes " + h.result().toHex().left(16);
}

// The text pdftotext reads from a PDF (its layout), into `tekst`; false
// when pdftotext is not installed.
bool TekstPdf(const QString& pdf, const QString& tekst)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    return !pdftotext.isEmpty() && QProcess::execute(pdftotext, {QStringLiteral("-layout"), pdf, tekst}) == 0;
}

bool Wypelnij(int paliwa, int pojazdy)
{
    int idFirmy = 0;
    int idOkresu = 0;
    {
        TDM dm;
        kal::bench::FirmaZOkresem(dm);
        idFirmy = dm.TFirmaIdentyfikator->AsInteger();
        idOkresu = dm.TOkresIdentyfikatorOkresu->AsInteger();
        if (!dm.UstawZbiorZuzycia()) {
            std::fprintf(stderr, "no half-year file\n");
            return false;
        }
    }
    using kal::bench::los;
    using kal::bench::wypelnij;
    constexpr int Stacje = 50, Miejsca = 20;
    wypelnij(QStringLiteral("MiejTank.db"), Stacje, [](int i, const QString& pole) -> QVariant {
        return pole == u"Nazwa" ? QVariant(QStringLiteral("Stacja paliw nr %1").arg(i + 1, 2, 10, QChar(u'0'))) : QVariant();
    });
    wypelnij(QStringLiteral("MiejUzytk.db"), Miejsca, [](int i, const QString& pole) -> QVariant {
        return pole == u"Nazwa" ? QVariant(QStringLiteral("Baza %1").arg(QChar(u'A' + i))) : QVariant();
    });
    wypelnij(QStringLiteral("Pojazdy.db"), pojazdy, [](int i, const QString& pole) -> QVariant {
        if (pole == u"RodzajPojazdu")
            return QString::number(1 + i % 11);
        if (pole == u"Marka")
            return QStringLiteral("Marka %1").arg(i % 97);
        if (pole == u"NrRejestracyjny")
            return QStringLiteral("WX %1").arg(i, 6, 10, QChar(u'0'));
        if (pole == u"NrNadwozia")
            return QStringLiteral("SUF%1").arg(i, 10, 10, QChar(u'0'));
        if (pole == u"NrSilnika")
            return QStringLiteral("S-%1").arg(i * 7);
        if (pole == u"Ladownosc")
            return 1.5 + i % 20;
        if (pole == u"IloscMiejsc")
            return 2 + i % 7;
        if (pole == u"PojemnoscSilnika")
            return 1200 + (i % 30) * 100;
        if (pole == u"NumerInwentarzowy")
            return QStringLiteral("INW/%1").arg(i);
        if (pole == u"WartoscEwidencyjna")
            return 20000.0 + i * 13;
        if (pole == u"NormaLetnia")
            return 8.0 + i % 9;
        if (pole == u"NormaZimowa")
            return 9.0 + i % 9;
        if (pole == u"MiejsceUzytkowania")
            return 1 + i % Miejsca;
        if (pole == u"IloscKmMiedzyPrzegl")
            return 15000 + (i % 4) * 5000;
        if (pole == u"NormaEuro")
            return QString::number(i % 6);
        if (pole == u"FabrycznaInstalacjaGazu")
            return i % 3 ? QStringLiteral("N") : QStringLiteral("T");
        if (pole == u"DataPierwszejRejestracji")
            return QDate(1995, 1, 1).addDays(i % 5000);
        if (pole == u"RokProdukcji")
            return 1995 + i % 14;
        if (pole == u"DataSkresleniaZEwidencji")
            return i % 50 == 7 ? QVariant(QDate(2009, 3, 1)) : QVariant();
        return {};
    });
    // Three rows a vehicle: two repairs, then an inspection with its next date.
    wypelnij(QStringLiteral("Przegl.DB"), 3 * pojazdy, [](int i, const QString& pole) -> QVariant {
        const int pojazd = i / 3, k = i % 3;
        if (pole == u"IdentyfikatorPojazdu")
            return 1 + pojazd;
        if (pole == u"Data")
            return QDate(2009, 1 + (pojazd + 4 * k) % 12, 1 + los(i, 1, 28));
        if (pole == u"NrFaktury")
            return QStringLiteral("FV %1/%2/2009").arg(pojazd).arg(k);
        if (pole == u"ZakresRobot")
            return k == 2 ? QStringLiteral("Przegląd okresowy") : QStringLiteral("Wymiana klocków hamulcowych i tarcz");
        if (pole == u"ZakupioneCzesci")
            return k == 2 ? QString() : QStringLiteral("klocki, tarcze, płyn hamulcowy");
        if (pole == u"Wartosc")
            return 150.0 + los(i, 2, 2000);
        if (pole == u"DataNastepnegoPrzegladu")
            return k == 2 ? QVariant(QDate(2009, 12, 1).addDays(los(i, 3, 400))) : QVariant();
        if (pole == u"IloscKm")
            return k == 2 ? QVariant(10000.0 + los(i, 4, 90000)) : QVariant();
        return {};
    });
    wypelnij(QStringLiteral("Przebieg.db"), 10 * pojazdy, [](int i, const QString& pole) -> QVariant {
        if (pole == u"IdentyfikatorPojazdu")
            return 1 + i / 10;
        if (pole == u"Data")
            return QDate(2009, 1, 1).addDays((i % 10) * 18);
        if (pole == u"IloscKilometrow")
            return 20000.0 + los(i / 10, 5, 90000) + (i % 10) * 800;
        return {};
    });
    const QString kody = QStringLiteral("123456abc7");
    wypelnij(QStringLiteral("Zuz20091.db"), paliwa, [&](int i, const QString& pole) -> QVariant {
        const int pojazd = i % pojazdy;
        if (pole == u"IdentyfikatorFirmy")
            return idFirmy;
        if (pole == u"IdentyfikatorPojazdu")
            return 1 + pojazd;
        if (pole == u"DataTankowania")
            return QDate(2009, 1, 1).addDays((i / pojazdy) % 181);
        if (pole == u"IloscPaliwa")
            return 10.0 + los(i, 6, 5000) / 100.0;
        if (pole == u"CenaPaliwa")
            return 4.5 + los(i, 7, 70) / 100.0;
        if (pole == u"RodzajPaliwa")
            return QString(kody[los(i, 8, 10)]);
        if (pole == u"RodzajPojazdu")
            return QString::number(1 + pojazd % 11);
        if (pole == u"MiejsceTankowania")
            return 1 + los(i, 9, Stacje);
        if (pole == u"MiejsceUzytkowania")
            return los(i, 10, 4) == 0 ? QVariant(1 + los(i, 11, Miejsca)) : QVariant();
        if (pole == u"NumerFaktury")
            return QStringLiteral("FV %1/2009").arg(i);
        if (pole == u"IloscKm")
            return 1000.0 + (i / pojazdy) * 350 + los(pojazd, 12, 300);
        return {};
    });

    constexpr int Gminy = 20, Zrodla = 100, Substancje = 30, WierszeGmin = 40, ZrodlaGminy = 10, SubstancjeZrodla = 5;
    wypelnij(QStringLiteral("Gminy.db"), Gminy, [](int i, const QString& pole) -> QVariant {
        if (pole == u"NazwaGminy")
            return QStringLiteral("Gmina %1").arg(i + 1, 2, 10, QChar(u'0'));
        if (pole == u"KodGminy")
            return QStringLiteral("30%1").arg(i, 4, 10, QChar(u'0'));
        return {};
    });
    wypelnij(QStringLiteral("Substancje.db"), Substancje, [](int i, const QString& pole) -> QVariant {
        if (pole == u"NazwaSubstancji")
            return QStringLiteral("substancja %1").arg(i + 1);
        if (pole == u"KodSubstancji")
            return QStringLiteral("%1-%2-0").arg(7000 + i).arg(i % 90);
        if (pole == u"JednostkowaStawka")
            return 0.05 + (i % 10) * 0.1;
        return {};
    });
    wypelnij(QStringLiteral("ZrodlaTabA.DB"), Zrodla, [](int i, const QString& pole) -> QVariant {
        if (pole == u"RodzajInstalacji")
            return QStringLiteral("Kotłownia %1").arg(i + 1);
        if (pole == u"Adres")
            return QStringLiteral("ul. Przemysłowa %1").arg(i + 1);
        if (pole == u"NominalnaMocCieplna")
            return 0.5 + i % 5;
        if (pole == u"RodzajUrzadzeniaOchronneg")
            return QStringLiteral("cyklon");
        if (pole == u"PozwoleniezData")
            return QStringLiteral("OŚ %1/2008 Starosta").arg(i + 1);
        if (pole == u"TerminObowiazywania")
            return QDate(2015, 12, 31);
        return {};
    });
    wypelnij(QStringLiteral("TabelaAGmina.DB"), WierszeGmin, [&](int i, const QString& pole) -> QVariant {
        if (pole == u"IdentyfikatorOkresu")
            return idOkresu;
        if (pole == u"IdentyfikatorGminy")
            return 1 + i % Gminy;
        if (pole == u"Adres")
            return QStringLiteral("ul. Leśna %1").arg(i + 1);
        if (pole == u"Powiat")
            return QStringLiteral("poznański");
        return {};
    });
    wypelnij(QStringLiteral("TabAZrodla.db"), WierszeGmin * ZrodlaGminy, [](int i, const QString& pole) -> QVariant {
        if (pole == u"IdentyfikatorGminyTabA")
            return 1 + i / ZrodlaGminy;
        if (pole == u"IdentyfikatorZrodla")
            return 1 + i % Zrodla;
        if (pole == u"NazwaSurowcow")
            return QStringLiteral("węgiel");
        if (pole == u"Ilosc")
            return 10.0 + i % 90;
        return {};
    });
    wypelnij(QStringLiteral("TabAWielkEmisji.db"), WierszeGmin * ZrodlaGminy * SubstancjeZrodla,
             [](int i, const QString& pole) -> QVariant {
                 if (pole == u"IdentyfTabAZrodla")
                     return 1 + i / SubstancjeZrodla;
                 if (pole == u"IdentyfikatorSubstancji")
                     return 1 + (i * 7) % Substancje;
                 if (pole == u"SkutUrzOchronnego")
                     return 90.0;
                 if (pole == u"WskaznikEmisji")
                     return 0.5 + (i % 13) * 0.25;
                 if (pole == u"JednostkowaStawka")
                     return 0.05 + (i % 10) * 0.1;
                 return {};
             });
    wypelnij(QStringLiteral("TabAPaliwa.db"), 50, [&](int i, const QString& pole) -> QVariant {
        if (pole == u"IdentyfikatorGminyTabA")
            return idOkresu;
        if (pole == u"RodzajPaliwa")
            return QStringLiteral("węgiel kamienny %1").arg(i + 1);
        if (pole == u"IdentyfikatorZrodla")
            return 1 + i;
        if (pole == u"Zuzycie")
            return 12.5 + i;
        if (pole == u"WartoscOpalowa")
            return 23000.0;
        if (pole == u"ZawartoscPopiolu")
            return 12.0;
        if (pole == u"ZawartoscSiarki")
            return 0.8;
        return {};
    });
    return true;
}

struct Lista {
    const char* nazwa;
    // Runs the list as the user does; returns its report.
    std::function<kal::report::Report*()> uruchom;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int paliwa = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int pojazdy = argc > 2 ? std::atoi(argv[2]) : 2000;
    const int przebiegi = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const QString wybrane = argc > 5 ? QString::fromLocal8Bit(argv[5]) : QString(); // only the lists named so
    const bool eksport = argc > 6 && QByteArray(argv[6]) == "eksport";
    const bool tekstPdf = argc > 7 && QByteArray(argv[7]) == "tekst"; // and what pdftotext reads from the PDF

    QTemporaryDir tmp;
    const QString katalog = argc > 4 ? QFileInfo(QString::fromLocal8Bit(argv[4])).absoluteFilePath() : tmp.path();
    QDir().mkpath(katalog);
    QDir::setCurrent(katalog);
    qputenv("TEMP", tmp.path().toLocal8Bit());
    // The lists that print today's date print the same one on every run.
    kal::SetTodayForTests(QDate(2009, 6, 30));
    if (!QFileInfo::exists(QStringLiteral("Zuz20091.db"))) {
        const QString blad = Schemat::UtworzKatalogDanych(katalog);
        if (!blad.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(blad));
            return 1;
        }
        std::printf("filling %d vehicles and %d fuel records in %s ...\n", pojazdy, paliwa, qPrintable(katalog));
        QElapsedTimer t;
        t.start();
        if (!Wypelnij(paliwa, pojazdy))
            return 1;
        std::printf("filled in %.1f s\n", double(t.nsecsElapsed()) / 1e9);
    } else {
        std::printf("reusing the files in %s\n", qPrintable(katalog));
    }

    kal::bench::PomiarDialogow seam;
    kal::SetDialogs(&seam);
    // The next modal show: the window on the screen, `przy` run with it once.
    const auto pokazane = [&seam](const std::function<void(QWidget*)>& przy) {
        seam.przy = [&seam, przy](QWidget* okno) {
            seam.przy = nullptr;
            okno->show();
            QApplication::processEvents();
            przy(okno);
            okno->hide();
        };
    };
    auto dm = std::make_unique<TDM>();
    UtworzWydrukiZestawienia(*dm);
    if (!dm->UstawZbiorZuzycia() || !dm->OtworzZalacznikiPolrocza()) {
        std::fprintf(stderr, "the period's files do not open\n");
        return 1;
    }
    std::printf("%d fuel records, %d vehicles, %d repair rows, %d mileage rows; median of %d runs\n\n",
                dm->TZuzycie->RecordCount(), dm->TPojazdy->RecordCount(), [&] {
                    kal::TMasterLinkGuard g(*dm->TPrzegl);
                    return dm->TPrzegl->RecordCount();
                }(),
                [&] {
                    kal::TMasterLinkGuard g(*dm->TPrzebieg);
                    return dm->TPrzebieg->RecordCount();
                }(),
                przebiegi);

    // A register window open under the list's parameter window, as the user
    // has it; `podglad` presses "Podgląd" of the parameter window.
    auto wRejestrze = [&pokazane](QWidget* rejestr, const std::function<void(QWidget*)>& pokazRejestr,
                                  const std::function<void()>& podglad) {
        pokazane([podglad](QWidget*) { podglad(); });
        pokazRejestr(rejestr);
    };

    // The repairs window of a vehicle, opened from the vehicle register.
    auto* oknoPojazdow = new TFEwidencjaPojazdow;
    auto* oknoNapraw = new TFNaprPrzegl;
    auto wNaprawach = [&](const std::function<void()>& podglad) {
        pokazane([&, podglad](QWidget*) {
            pokazane([podglad](QWidget*) { podglad(); });
            oknoNapraw->Pokaz();
        });
        oknoPojazdow->Pokaz(0);
    };

    auto* parZuzycia = new TFParWydrZuzMiejTank(dm.get());
    auto* parPojazdow = new TFParWydrPoj(dm.get());
    auto* parNapraw = new TFParWydrNaprawiPrzegl(dm.get());
    auto* doPrzegladu = new TFSamochodyDoPrzegladu;
    auto* oknoZuzycia = new TFZuzycie;

    const std::vector<Lista> listy = {
        {"fuel use (all places, months 1-6)",
         [&]() -> kal::report::Report* {
             wRejestrze(oknoZuzycia, [](QWidget* w) { static_cast<TFZuzycie*>(w)->Pokaz(); }, [&] {
                 parZuzycia->ChBWszystkieMiejscaTankowania->setChecked(true);
                 parZuzycia->ChBWszystkieMiejscaUzytkowania->setChecked(true);
                 parZuzycia->CSEOd->setValue(1);
                 parZuzycia->CSEDo->setValue(6);
                 parZuzycia->Drukuj(true);
             });
             return QRZyzyciePaliwa;
         }},
        {"fuel use (one refuelling place)",
         [&]() -> kal::report::Report* {
             wRejestrze(oknoZuzycia, [](QWidget* w) { static_cast<TFZuzycie*>(w)->Pokaz(); }, [&] {
                 dm->TMiejscTank->First();
                 dm->TMiejscTank->MoveBy(6);
                 parZuzycia->ChBWszystkieMiejscaTankowania->setChecked(false);
                 parZuzycia->ChBWszystkieMiejscaUzytkowania->setChecked(true);
                 parZuzycia->CSEOd->setValue(1);
                 parZuzycia->CSEDo->setValue(6);
                 parZuzycia->Drukuj(true);
             });
             return QRZyzyciePaliwa;
         }},
        {"vehicle list (all 16 columns)",
         [&]() -> kal::report::Report* {
             wRejestrze(oknoPojazdow, [](QWidget* w) { static_cast<TFEwidencjaPojazdow*>(w)->Pokaz(0); }, [&] {
                 for (int i = 0; i < parPojazdow->CheckListBox1->count(); ++i)
                     parPojazdow->CheckListBox1->item(i)->setCheckState(Qt::Checked);
                 parPojazdow->ChBMiejsceUzytkowania->setChecked(false);
                 parPojazdow->Drukuj(true);
             });
             return QRPojazdy;
         }},
        {"repairs and inspections (2009, months 1-12)",
         [&]() -> kal::report::Report* {
             wNaprawach([&] {
                 parNapraw->CSRok->setValue(2009);
                 parNapraw->CSMcOd->setValue(1);
                 parNapraw->CSMcDo->setValue(12);
                 parNapraw->CheckBox1->setChecked(false);
                 parNapraw->Drukuj(true);
             });
             return QRNaprawyiPrzegl;
         }},
        {"inspections of every vehicle",
         [&]() -> kal::report::Report* {
             wNaprawach([&] {
                 parNapraw->CheckBox1->setChecked(true);
                 parNapraw->Drukuj(true);
             });
             return QRPrzegladyPojazdow;
         }},
        {"vehicles due for inspection (all)",
         [&]() -> kal::report::Report* {
             doPrzegladu->ChBWszystkie->setChecked(true);
             doPrzegladu->Drukuj(true);
             return QRSamochodyDoPrzegladu;
         }},
        {"vehicles due for inspection (30 days, 1000 km)",
         [&]() -> kal::report::Report* {
             doPrzegladu->ChBWszystkie->setChecked(false);
             doPrzegladu->CSDni->setValue(30);
             doPrzegladu->CSKm->setValue(1000);
             doPrzegladu->Drukuj(true);
             return QRSamochodyDoPrzegladu;
         }},
        {"table A",
         [&]() -> kal::report::Report* {
             QRWydrukTabeliA->PrzygotujIDrukuj(true, false);
             return QRWydrukTabeliA;
         }},
    };

    std::printf("%-48s %10s %10s %7s  %s\n", "list", "median ms", "shown ms", "pages", "texts");
    for (const Lista& l : listy) {
        if (!wybrane.isEmpty() && !QString::fromUtf8(l.nazwa).contains(wybrane))
            continue;
        std::vector<double> czasy, pokazane;
        QByteArray skrot;
        int strony = 0;
        bool rozne = false;
        kal::report::Report* r = nullptr;
        for (int i = 0; i < przebiegi; ++i) {
            QElapsedTimer t;
            t.start();
            r = l.uruchom();
            czasy.push_back(double(t.nsecsElapsed()) / 1e6);
            const auto model = r ? r->pages() : nullptr;
            if (!model) {
                std::fprintf(stderr, "%s: no pages\n", l.nazwa);
                return 1;
            }
            kal::report::RenderPage(*model, 0, 100);
            pokazane.push_back(double(t.nsecsElapsed()) / 1e6);
            const QByteArray s = Skrot(*model);
            rozne = rozne || (!skrot.isEmpty() && s != skrot);
            skrot = s;
            strony = model->pageCount();
        }
        std::printf("%-48s %10.1f %10.1f %7d  %s%s\n", l.nazwa, kal::bench::median(czasy), kal::bench::median(pokazane),
                    strony, skrot.constData(),
                    rozne ? " (runs differ)" : "");
        std::fflush(stdout);
        if (eksport) {
            const auto model = r->pages();
            QElapsedTimer t;
            t.start();
            const QString pdf = tmp.filePath(QStringLiteral("lista.pdf")), csv = tmp.filePath(QStringLiteral("lista.csv"));
            kal::report::WritePdf(*model, pdf);
            const double msPdf = double(t.nsecsElapsed()) / 1e6;
            t.restart();
            kal::report::ExportToFile(*model, kal::report::ExportFormat::Csv, csv);
            const double msCsv = double(t.nsecsElapsed()) / 1e6;
            std::printf("export %s: run %.1f ms, pdf %.1f ms, csv %.1f ms\n", l.nazwa, czasy.back(), msPdf, msCsv);
            const QString tekst = tmp.filePath(QStringLiteral("lista.txt"));
            std::printf("export %s: pdf %lld bytes, its text %s; csv %s\n", l.nazwa, QFileInfo(pdf).size(),
                        !tekstPdf                ? "not read"
                        : TekstPdf(pdf, tekst) ? Plik(tekst).constData()
                                                 : "(no pdftotext)",
                        Plik(csv).constData());
            std::fflush(stdout);
            for (const QString& plik : {pdf, csv, tekst})
                QFile::remove(plik);
        }
    }
    std::printf("\npeak memory %ld MiB\n", peakMiB());

    delete oknoNapraw;
    delete oknoPojazdow;
    delete oknoZuzycia;
    delete doPrzegladu;
    delete parNapraw;
    delete parPojazdow;
    delete parZuzycia;
    ZwolnijWydrukiZestawienia();
    dm.reset();
    kal::SetDialogs(nullptr);
    return 0;
}
