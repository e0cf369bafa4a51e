#include "Start.h"

#include "Dane.h"
#include "Funkcje.h"
#include "Schemat.h"
#include "DaneSrodowiska.h"
#include "SamDoPrzegl.h"
#include "ParZuzMiejscTank.h"
#include "ParWydrPojazdow.h"
#include "ParWNaprPrz.h"
#include "WydrukSamDoPrzegl.h"
#include "WydrukPrzeglPoj.h"
#include "WydrukNaprawPrz.h"
#include "WydrukZuzyciaPaliwa.h"
#include "WydrukPojazdow.h"
#include "WydrukTabeliA.h"
#include "RozliczPolrocze.h"
#include "IndeksPojazdow.h"
#include "ImportFlotyLogika.h"
#include "FunkcjeSrodowiska.h"
#include "PozIlTabA.h"
#include "WprowadzanieTabeliA.h"
#include "TabelaAGmina.h"
#include "Edytor.h"
#include "ImportFloty.h"
#include "DaneFirmy.h"
#include "EwidencjaPojazdow.h"
#include "GestodcPaliw.h"
#include "Gminy.h"
#include "Kotly.h"
#include "MiejscaTank.h"
#include "MiejscaUz.h"
#include "NaprPrzegl.h"
#include "Obsluga.h"
#include "Przebieg.h"
#include "Substancje.h"
#include "Zrodla.h"
#include "Zuzycie.h"
#include "DrukujRaport.h"
#include "GminaTabC.h"
#include "Glowny.h"
#include "Okna.h"
#include "Reportviewer.h"
#include "TabelaC.h"
#include "TabelaD.h"
#include "WydrukTabelaC.h"
#include "WydrukTabelaD.h"
#include "WydrukZalacznik1.h"
#include "WydrukZestTabC.h"
#include "Zalacznik1.h"
#include "ZuzycieKotla.h"

#include "platform/core/Dialogs.h"
#include "platform/ui/Application.h"
#include "platform/ui/SingleInstance.h"

#include <QApplication>
#include <QWidget>

namespace {

// Ownership of an object held by its global instance pointer; freeing clears
// the pointer (when the object has not done so itself).
template <class T> std::shared_ptr<void> wlasnosc(T*& globalny)
{
    T* obiekt = globalny;
    return std::shared_ptr<void>(obiekt, [&globalny](void* p) {
        auto* o = static_cast<T*>(p);
        if (globalny == o)
            globalny = nullptr;
        delete o;
    });
}

// Makes a window whose constructor sets its global pointer; `pokaz` (when
// given) is what the main window's launcher of that window calls.
template <class T>
std::shared_ptr<void> okno(T*& globalny, const char* nazwa, std::function<int(int)> pokaz = {})
{
    new T;
    if (pokaz)
        ZarejestrujOkno(QString::fromLatin1(nazwa), std::move(pokaz));
    return wlasnosc(globalny);
}

// Makes a report form over the data module.
template <class T> std::shared_ptr<void> wydruk(T*& globalny)
{
    globalny = new T(*DM);
    return wlasnosc(globalny);
}

// Makes a report parameter window over the data module; the launcher of the
// window (the register's "Drukuj") opens it by name.
template <class T> std::shared_ptr<void> oknoParametrow(T*& globalny, const char* nazwa)
{
    new T(DM);
    ZarejestrujOkno(QString::fromLatin1(nazwa), [&globalny](int) { return globalny ? globalny->Pokaz() : 0; });
    return wlasnosc(globalny);
}

} // namespace

const std::vector<OpisObiektu>& KolejnoscTworzenia()
{
    // Windows and forms that are not built yet have no maker; give each its
    // maker (and its registrations) here as it lands.
    static const std::vector<OpisObiektu> kolejnosc = {
        {"FGlowny",
         [] {
             FGlowny = new TFGlowny;
             return wlasnosc(FGlowny);
         }},
        {"DM",
         [] {
             // The tables open from the current directory, the data directory.
             new TDM;
             // The fleet-card import finds vehicles through the fee engine's
             // registration-number index.
             ZnajdzIdentyfikatorPojazdu = [](const QString& nr) { return IndeksPojazdow().ZnajdzIdentyfikator(nr); };
             // Typed fee values recompute the fee objects, and saved vehicles
             // enter the index, from the module's first moment.
             PolaczModulDanych();
             if (FGlowny)
                 FGlowny->PowiazZrodla();
             return wlasnosc(DM);
         }},
        {"FDaneFirmy",
         [] { return okno(FDaneFirmy, "FDaneFirmy", [](int t) { return FDaneFirmy->Pokaz(t); }); }},
        {"FZalacznik1", [] { return okno(FZalacznik1, "FZalacznik1", [](int) { return FZalacznik1->Pokaz(); }); }},
        {"QuickReportViewer",
         [] {
             auto* okno = new TQuickReportViewer;
             if (okno->objectName().isEmpty())
                 okno->setObjectName(QStringLiteral("QuickReportViewer"));
             if (QuickReportViewer != okno) {
                 delete okno;
                 return std::shared_ptr<void>();
             }
             return wlasnosc(QuickReportViewer);
         }},
        {"QRZalacznik1",
         [] {
             QRZalacznik1 = new TQRZalacznik1(DM ? DM->TFirma : nullptr, DM ? DM->TOkres : nullptr,
                                              DM ? DM->TZalacznik1 : nullptr);
             return wlasnosc(QRZalacznik1);
         }},
        {"FTabelaD", [] { return okno(FTabelaD, "FTabelaD", [](int) { return FTabelaD->Pokaz(); }); }},
        {"QRTabelaD",
         [] {
             QRTabelaD = new TQRTabelaD(DM ? DM->TTabelaD : nullptr, DM ? DM->TStawkiTabD : nullptr);
             return wlasnosc(QRTabelaD);
         }},
        {"FEwidencjaPojazdow",
         [] {
             return okno(FEwidencjaPojazdow, "FEwidencjaPojazdow", [](int t) { return FEwidencjaPojazdow->Pokaz(t); });
         }},
        {"FTabelaC", [] { return okno(FTabelaC, "FTabelaC"); }},
        {"QRTabelaC",
         [] {
             QRTabelaC = new TQRTabelaC(DM ? DM->TTabelaC : nullptr, DM ? DM->TStawkiTabC : nullptr);
             return wlasnosc(QRTabelaC);
         }},
        {"FZuzycie",
         [] { return okno(FZuzycie, "FZuzycie", [](int) { return FZuzycie->Pokaz(); }); }},
        {"FGestoscPakiw",
         [] { return okno(FGestoscPakiw, "FGestoscPakiw", [](int) { return FGestoscPakiw->Pokaz(); }); }},
        {"QRRozliczPolrocze",
         [] {
             auto obiekt = wydruk(QRRozliczPolrocze);
             ZarejestrujWydruk(QStringLiteral("QRRozliczPolrocze"), [](bool podglad, const QString& tytul) {
                 DrukujRaport(QRRozliczPolrocze, podglad, tytul, 1);
             });
             return obiekt;
         }},
        {"FGminaDoTabeliC",
         [] { return okno(FGminaDoTabeliC, "FGminaDoTabeliC", [](int) { return FGminaDoTabeliC->Pokaz(); }); }},
        {"QRZestTabC",
         [] {
             QRZestTabC = new TQRZestTabC(DM ? DM->TTabelaC : nullptr);
             ZarejestrujWydruk(QStringLiteral("QRZestTabC"), [](bool podglad, const QString& tytul) {
                 DrukujRaport(QRZestTabC, podglad, tytul, 1);
             });
             return wlasnosc(QRZestTabC);
         }},
        {"FMiejscaUzutk",
         [] { return okno(FMiejscaUzutk, "FMiejscaUzutk"); }},
        {"FParWydrPoj",
         [] { return oknoParametrow(FParWydrPoj, "FParWydrPoj"); }},
        {"QRPojazdy",
         [] { return wydruk(QRPojazdy); }},
        {"FormObslugi",
         [] { return okno(FormObslugi, "FormObslugi"); }},
        {"FMiejscaTankowania",
         [] { return okno(FMiejscaTankowania, "FMiejscaTankowania"); }},
        {"FPrzebieg",
         [] { return okno(FPrzebieg, "FPrzebieg"); }},
        {"FParWydrZuzMiejTank",
         [] { return oknoParametrow(FParWydrZuzMiejTank, "FParWydrZuzMiejTank"); }},
        {"QRZyzyciePaliwa",
         [] { return wydruk(QRZyzyciePaliwa); }},
        {"FNaprPrzegl",
         [] { return okno(FNaprPrzegl, "FNaprPrzegl"); }},
        {"FParWydrNaprawiPrzegl",
         [] { return oknoParametrow(FParWydrNaprawiPrzegl, "FParWydrNaprawiPrzegl"); }},
        {"QRNaprawyiPrzegl",
         [] { return wydruk(QRNaprawyiPrzegl); }},
        {"FZuzycieKotla", [] { return okno(FZuzycieKotla, "FZuzycieKotla"); }},
        {"FKotly",
         [] { return okno(FKotly, "FKotly"); }},
        {"FImportFloty",
         [] { return okno(FImportFloty, "FImportFloty"); }},
        {"FormRichEdit",
         [] { return okno(FormRichEdit, "FormRichEdit"); }},
        {"QRPrzegladyPojazdow",
         [] { return wydruk(QRPrzegladyPojazdow); }},
        {"FGminy",
         [] { return okno(FGminy, "FGminy"); }},
        {"FSubstancje",
         [] { return okno(FSubstancje, "FSubstancje"); }},
        {"FTabelaAGmina",
         [] { return okno(FTabelaAGmina, "FTabelaAGmina", [](int) { return FTabelaAGmina->Pokaz(); }); }},
        {"FZrodla",
         [] { return okno(FZrodla, "FZrodla"); }},
        {"FWprowadzanieTabeliA",
         [] { return okno(FWprowadzanieTabeliA, "FWprowadzanieTabeliA"); }},
        {"QRWydrukTabeliA",
         [] {
             auto obiekt = wydruk(QRWydrukTabeliA);
             WydrukTabeliA = [](bool podglad, bool tylkoSuma) {
                 return QRWydrukTabeliA->PrzygotujIDrukuj(podglad, tylkoSuma);
             };
             return obiekt;
         }},
        {"FSamochodyDoPrzegladu",
         [] { return okno(FSamochodyDoPrzegladu, "FSamochodyDoPrzegladu", [](int) { return FSamochodyDoPrzegladu->Pokaz(); }); }},
        {"QRSamochodyDoPrzegladu",
         [] { return wydruk(QRSamochodyDoPrzegladu); }},
        {"FPozycjeIlosci",
         [] { return okno(FPozycjeIlosci, "FPozycjeIlosci"); }},
    };
    return kolejnosc;
}

ObiektyProgramu::~ObiektyProgramu()
{
    Zwolnij();
}

void ObiektyProgramu::Utworz()
{
    for (const OpisObiektu& opis : KolejnoscTworzenia()) {
        if (!opis.utworz)
            continue;
        std::shared_ptr<void> obiekt = opis.utworz();
        if (obiekt)
            m_obiekty.emplace_back(QString::fromLatin1(opis.nazwa), std::move(obiekt));
    }
}

void ObiektyProgramu::Zwolnij()
{
    WyczyscRejestrOkien();
    while (!m_obiekty.empty()) {
        // Freeing runs destructors that may report an error of their own.
        std::shared_ptr<void> obiekt = std::move(m_obiekty.back().second);
        m_obiekty.pop_back();
        kal::RunGuarded([&obiekt] { obiekt.reset(); });
    }
}

QStringList ObiektyProgramu::Utworzone() const
{
    QStringList nazwy;
    for (const auto& [nazwa, obiekt] : m_obiekty)
        nazwy << nazwa;
    return nazwy;
}

int UruchomKalmore(int argc, char** argv)
{
    // A second start while the first runs ends here, silently.
    if (!kal::AcquireSingleInstance())
        return 0;
    // No other copy runs now: the work tables that a killed run left go.
    UsunPozostawioneZbioryTymczasowe(QString::fromLatin1(Schemat::PrefiksRoboczej),
                                     QString::fromLatin1(Schemat::RozszerzenieRoboczej));
    // Dates are shown and read as "yyyy-mm-dd" everywhere; the program's
    // date and number formats are fixed in its own routines.
    kal::SetApplicationTitle(QStringLiteral("System Kalmora."));
    kal::Application aplikacja(argc, argv);
    // The loop ends when the main window allows its close, not when the last
    // window goes.
    aplikacja.setQuitOnLastWindowClosed(false);
    {
        ObiektyProgramu obiekty;
        const bool utworzone = kal::RunGuarded([&obiekty] { obiekty.Utworz(); });
        if (utworzone && FGlowny) {
            QObject::connect(FGlowny, &TFGlowny::zamkniete, &aplikacja, &QCoreApplication::quit,
                             Qt::QueuedConnection);
            kal::RunGuarded([] {
                FGlowny->show();
                QApplication::exec();
            });
        }
        const auto okna = QApplication::topLevelWidgets();
        for (QWidget* okno : okna) {
            if (okno->isVisible())
                okno->setWindowState(okno->windowState() | Qt::WindowMinimized);
        }
        obiekty.Zwolnij();
    }
    return 0;
}
