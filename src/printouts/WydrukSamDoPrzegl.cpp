#include "WydrukSamDoPrzegl.h"

#include "Clock.h"
#include "Dane.h"
#include "DrukujRaport.h"
#include "PrzegladyPojazdu.h"
#include "NumberText.h"
#include "UkladWydrukowPojazdow.h"

using namespace kal::report;

TQRSamochodyDoPrzegladu* QRSamochodyDoPrzegladu = nullptr;

TQRSamochodyDoPrzegladu::TQRSamochodyDoPrzegladu(TDM& dm) : m_dm(dm), m_pojazdy(dm.TPojazdy)
{
    m_pojazdy.setTabeleZalezne({dm.TPrzegl, dm.TPrzebieg});
    zbuduj();
}

void TQRSamochodyDoPrzegladu::zbuduj()
{
    wydrukiPojazdow::UstawStrone(*this, &m_pojazdy);
    wydrukiPojazdow::Tytul(*this);
    Band* d = wydrukiPojazdow::Tabela(*this,
                                      {{QStringLiteral("Marka i numer rejestrcyjny"), QStringLiteral("QRLabel6")},
                                       {QStringLiteral("Data przeglądu"), QStringLiteral("QRLabel7")},
                                       {QStringLiteral("Przebieg do przeglądu"), QStringLiteral("QRLabel8")},
                                       {QStringLiteral("Aktualny przebieg"), QStringLiteral("QRLabel9")}});
    d->beforePrint = [this](Band& b, bool& drukuj) { przedWierszem(b, drukuj); };
}

void TQRSamochodyDoPrzegladu::przedWierszem(Band& b, bool& drukuj)
{
    TDM& dm = m_dm;
    drukuj = false;
    DataKalendarzowa dzis;
    dzis = kal::Today();
    if (!wydrukiPojazdow::WEwidencji(dm, dzis))
        return;
    DanePojazduDoPrzegladu przeglad;
    przeglad.Wczytaj();
    if (!przeglad.znaleziony)
        return;
    PrzebiegSamochodu przebieg;
    przebieg.Wczytaj();
    if (!przebieg.znaleziony)
        return;
    if (!Wszystkie) {
        const int dni = RoznicaDni(przeglad.dataNastepnego, dzis);
        const double kmZostalo = przeglad.kmNastepnego - przebieg.km;
        if (!(dni < Dni || kmZostalo < Km))
            return;
    }
    drukuj = true;
    b.find<Label>(QStringLiteral("QRLabel6"))->caption =
        dm.TPojazdyMarka->AsString() + QLatin1Char(' ') + dm.TPojazdyNrRejestracyjny->AsString();
    b.find<Label>(QStringLiteral("QRLabel7"))->caption = przeglad.dataNastepnego.NaTekst('U', false);
    b.find<Label>(QStringLiteral("QRLabel8"))->caption =
        kal::FormatNumber(przeglad.kmNastepnego, QStringLiteral("# ### ##0.##"));
    b.find<Label>(QStringLiteral("QRLabel9"))->caption = kal::FormatNumber(przebieg.km, QStringLiteral("# ### ##0.##"));
}

void TQRSamochodyDoPrzegladu::PrzygotujIDrukuj(bool podglad)
{
    wydrukiPojazdow::UstawTytul(*this, QStringLiteral("Wydruk samochodów do przeglądu w dniu: "));
    wydrukiPojazdow::ZachowajPojazd zachowaj(m_dm);
    DrukujRaport(this, podglad, QStringLiteral("Wydruk samochodów dp przeglądu."), 1);
}
