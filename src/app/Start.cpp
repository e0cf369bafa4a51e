#include "Start.h"

#include "Dane.h"
#include "DrukujRaport.h"
#include "Glowny.h"
#include "Okna.h"
#include "Reportviewer.h"
#include "WydrukTabelaC.h"
#include "WydrukTabelaD.h"
#include "WydrukZalacznik1.h"
#include "WydrukZestTabC.h"

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
             if (FGlowny)
                 FGlowny->PowiazZrodla();
             return wlasnosc(DM);
         }},
        {"FDaneFirmy", nullptr},
        {"FZalacznik1", nullptr},
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
        {"FTabelaD", nullptr},
        {"QRTabelaD",
         [] {
             QRTabelaD = new TQRTabelaD(DM ? DM->TTabelaD : nullptr, DM ? DM->TStawkiTabD : nullptr);
             return wlasnosc(QRTabelaD);
         }},
        {"FEwidencjaPojazdow", nullptr},
        {"FTabelaC", nullptr},
        {"QRTabelaC",
         [] {
             QRTabelaC = new TQRTabelaC(DM ? DM->TTabelaC : nullptr, DM ? DM->TStawkiTabC : nullptr);
             return wlasnosc(QRTabelaC);
         }},
        {"FZuzycie", nullptr},
        {"FGestoscPakiw", nullptr},
        {"QRRozliczPolrocze", nullptr},
        {"FGminaDoTabeliC", nullptr},
        {"QRZestTabC",
         [] {
             QRZestTabC = new TQRZestTabC(DM ? DM->TTabelaC : nullptr);
             ZarejestrujWydruk(QStringLiteral("QRZestTabC"), [](bool podglad, const QString& tytul) {
                 DrukujRaport(QRZestTabC, podglad, tytul, 1);
             });
             return wlasnosc(QRZestTabC);
         }},
        {"FMiejscaUzutk", nullptr},
        {"FParWydrPoj", nullptr},
        {"QRPojazdy", nullptr},
        {"FormObslugi", nullptr},
        {"FMiejscaTankowania", nullptr},
        {"FPrzebieg", nullptr},
        {"FParWydrZuzMiejTank", nullptr},
        {"QRZyzyciePaliwa", nullptr},
        {"FNaprPrzegl", nullptr},
        {"FParWydrNaprawiPrzegl", nullptr},
        {"QRNaprawyiPrzegl", nullptr},
        {"FZuzycieKotla", nullptr},
        {"FKotly", nullptr},
        {"FImportFloty", nullptr},
        {"FormRichEdit", nullptr},
        {"QRPrzegladyPojazdow", nullptr},
        {"FGminy", nullptr},
        {"FSubstancje", nullptr},
        {"FTabelaAGmina", nullptr},
        {"FZrodla", nullptr},
        {"FWprowadzanieTabeliA", nullptr},
        {"QRWydrukTabeliA", nullptr},
        {"FSamochodyDoPrzegladu", nullptr},
        {"QRSamochodyDoPrzegladu", nullptr},
        {"FPozycjeIlosci", nullptr},
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
