#include "WydrukPrzeglPoj.h"

#include "Clock.h"
#include "Dane.h"
#include "DrukujRaport.h"
#include "Funkcje.h"
#include "NumberText.h"
#include "UkladWydrukowPojazdow.h"

using namespace kal::report;

TQRPrzegladyPojazdow* QRPrzegladyPojazdow = nullptr;

TQRPrzegladyPojazdow::TQRPrzegladyPojazdow(TDM& dm) : m_dm(dm), m_pojazdy(dm.TPojazdy)
{
    title = QStringLiteral("Przeglądy pojazdów");
    m_pojazdy.setTabeleZalezne({dm.TPrzegl, dm.TPrzebieg});
    wydrukiPojazdow::UstawStrone(*this, &m_pojazdy);
    wydrukiPojazdow::Tytul(*this);
    Band* d = wydrukiPojazdow::Tabela(*this,
                                      {{QStringLiteral("Nr rejestracyjny i marka"), QStringLiteral("QRLabel6")},
                                       {QStringLiteral("Data ostatniego przeglądu i przebieg"), QStringLiteral("QRLabel7")},
                                       {QStringLiteral("Data następnego"), QStringLiteral("QRLabel8")},
                                       {QStringLiteral("Przebieg aktualny i do przeglądu"), QStringLiteral("QRLabel9")}});
    d->beforePrint = [this](Band& b, bool& drukuj) { przedWierszem(b, drukuj); };
}

void TQRPrzegladyPojazdow::przedWierszem(Band& b, bool& drukuj)
{
    TDM& dm = m_dm;
    DataKalendarzowa dzis;
    dzis = kal::Today();
    drukuj = wydrukiPojazdow::WEwidencji(dm, dzis);
    if (!drukuj)
        return;
    b.find<Label>(QStringLiteral("QRLabel6"))->caption =
        dm.TPojazdyNrRejestracyjny->AsString() + QLatin1Char(' ') + dm.TPojazdyMarka->AsString();

    bool jestPrzeglad = false;
    DataKalendarzowa ostatni, nastepny;
    double km = 0.0;
    for (dm.TPrzegl->First(); !dm.TPrzegl->Eof(); dm.TPrzegl->Next()) {
        if (dm.TPrzeglDataNastepnegoPrzegladu->IsNull())
            continue;
        jestPrzeglad = true;
        ostatni = dm.TPrzeglData;
        nastepny = dm.TPrzeglDataNastepnegoPrzegladu;
        km = PoleNaLiczbe(dm.TPrzeglIloscKm);
    }
    bool jestPrzebieg = false;
    double aktualny = 0.0;
    for (dm.TPrzebieg->First(); !dm.TPrzebieg->Eof(); dm.TPrzebieg->Next()) {
        jestPrzebieg = true;
        aktualny = PoleNaLiczbe(dm.TPrzebiegIloscKilometrow);
    }

    if (jestPrzeglad) {
        b.find<Label>(QStringLiteral("QRLabel7"))->caption =
            ostatni.NaTekst('U', false) + QLatin1Char(' ') + kal::FormatNumber(km, QStringLiteral("# ### ##0.##")) +
            QStringLiteral(" km");
        b.find<Label>(QStringLiteral("QRLabel8"))->caption = nastepny.NaTekst('U', false);
    } else {
        b.find<Label>(QStringLiteral("QRLabel7"))->caption = QStringLiteral("brak danych.");
        b.find<Label>(QStringLiteral("QRLabel8"))->caption.clear();
    }
    if (jestPrzebieg) {
        const QString doPrzegladu = dm.TPojazdyIloscKmMiedzyPrzegl->IsNull()
                                        ? QStringLiteral("Brak danych")
                                        : kal::FloatToText(dm.TPojazdyIloscKmMiedzyPrzegl->AsFloat() + km);
        b.find<Label>(QStringLiteral("QRLabel9"))->caption =
            kal::FloatToText(aktualny) + QStringLiteral(" : ") + doPrzegladu;
    } else {
        b.find<Label>(QStringLiteral("QRLabel9"))->caption = QStringLiteral("Brak przebiegów");
    }
}

void TQRPrzegladyPojazdow::PrzygotujIDrukuj(bool podglad)
{
    wydrukiPojazdow::UstawTytul(*this, QStringLiteral("Wydruk przeglądów pojazdów w dniu: "));
    wydrukiPojazdow::ZachowajPojazd zachowaj(m_dm);
    DrukujRaport(this, podglad, QStringLiteral("Wydruk przeglądów pojazdów."), 1);
}
