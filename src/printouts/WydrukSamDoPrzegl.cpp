#include "WydrukSamDoPrzegl.h"

#include "Clock.h"
#include "Dane.h"
#include "DrukujRaport.h"
#include "LookupyPojazdow.h"
#include "NumberText.h"
#include "UkladWydrukowPojazdow.h"

using namespace kal::report;

TQRSamochodyDoPrzegladu* QRSamochodyDoPrzegladu = nullptr;

TQRSamochodyDoPrzegladu::TQRSamochodyDoPrzegladu(TDM& dm) : m_dm(dm), m_pojazdy(dm.TPojazdy)
{
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
    przeglad.Wczytaj(&dm);
    if (!przeglad.Znaleziony)
        return;
    PrzebiegSamochodu przebieg;
    przebieg.Wczytaj(&dm);
    if (!przebieg.Znaleziony)
        return;
    if (!Wszystkie) {
        const int dni = RoznicaDni(przeglad.DataNastepnego, dzis);
        const double kmZostalo = przeglad.KmDoPrzegladu - przebieg.Km;
        if (!(dni < Dni || kmZostalo < Km))
            return;
    }
    drukuj = true;
    b.find<Label>(QStringLiteral("QRLabel6"))->caption =
        dm.TPojazdyMarka->AsString() + QLatin1Char(' ') + dm.TPojazdyNrRejestracyjny->AsString();
    b.find<Label>(QStringLiteral("QRLabel7"))->caption = przeglad.DataNastepnego.NaTekst('U', false);
    b.find<Label>(QStringLiteral("QRLabel8"))->caption =
        kal::FormatNumber(przeglad.KmDoPrzegladu, QStringLiteral("# ### ##0.##"));
    b.find<Label>(QStringLiteral("QRLabel9"))->caption = kal::FormatNumber(przebieg.Km, QStringLiteral("# ### ##0.##"));
}

void TQRSamochodyDoPrzegladu::PrzygotujIDrukuj(bool podglad)
{
    wydrukiPojazdow::UstawTytul(*this, QStringLiteral("Wydruk samochodów do przeglądu w dniu: "));
    wydrukiPojazdow::ZachowajPojazd zachowaj(m_dm);
    DrukujRaport(this, podglad, QStringLiteral("Wydruk samochodów dp przeglądu."), 1);
}
