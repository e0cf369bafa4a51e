#include "ZuzyciePaliwaDlaPolrocza.h"

#include "Dane.h"
#include "Dialogs.h"
#include "FunkcjeSrodowiska.h"
#include "Funkcje.h"

#include <algorithm>

namespace {

const QString kKontrolaZuzycia = QStringLiteral("Kontrola wprowadzania zużycia paliw.");

quint64 Kod(const KluczPozycji& k)
{
    return (quint64(quint8(qint8(k.paliwo))) << 48) | (quint64(k.rodzaj) << 40)
           | (quint64(quint32(k.wiersz)) << 1) | quint64(k.gaz ? 1 : 0);
}

} // namespace

bool PozycjaZuzycia::Dodaj(bool polacz, const KluczPozycji& k, double ilosc, GestosciPaliw& gestosci)
{
    if (polacz) {
        if (Pusta() || !(klucz == k))
            return false;
        litry += ilosc;
    } else {
        if (!Pusta())
            return false;
        klucz = k;
        litry = ilosc;
    }
    ObliczMase(gestosci);
    return true;
}

void PozycjaZuzycia::ObliczMase(GestosciPaliw& gestosci)
{
    masa = gestosci.Gestosc(IndeksPaliwa(klucz.paliwo)) * litry;
}

void PozycjaZuzycia::Wyczysc()
{
    klucz = KluczPozycji{};
    WyczyscIlosci();
}

void PozycjaZuzycia::WyczyscIlosci()
{
    litry = 0.0;
    masa = 0.0;
}

ZuzyciePaliwaDlaPolrocza::ZuzyciePaliwaDlaPolrocza(GestosciPaliw* gestosci)
    : m_gestosci(gestosci), m_pozycje(LiczbaPozycji)
{
    m_indeks.reserve(LiczbaPozycji * 2);
}

GestosciPaliw& ZuzyciePaliwaDlaPolrocza::Gestosci()
{
    return m_gestosci ? *m_gestosci : ::Gestosci();
}

void ZuzyciePaliwaDlaPolrocza::WyczyscMacierz()
{
    m_macierz.fill(0.0);
}

void ZuzyciePaliwaDlaPolrocza::Wyczysc()
{
    WyczyscMacierz();
    for (PozycjaZuzycia& p : m_pozycje)
        p.Wyczysc();
    m_indeks.clear();
    m_uzyte = 0;
    m_pominiete = 0;
    m_bezGestosci.clear();
}

bool ZuzyciePaliwaDlaPolrocza::Umiesc(const KluczPozycji& klucz, double litry)
{
    // The slots are taken from the first, and a key is in at most one slot,
    // so the index finds the slot that the scan from the first would find.
    const quint64 kod = Kod(klucz);
    if (const auto it = m_indeks.find(kod); it != m_indeks.end())
        return m_pozycje[static_cast<size_t>(it->second)].Dodaj(true, klucz, litry, Gestosci());
    if (m_uzyte < LiczbaPozycji) {
        m_pozycje[static_cast<size_t>(m_uzyte)].Dodaj(false, klucz, litry, Gestosci());
        m_indeks.emplace(kod, m_uzyte);
        ++m_uzyte;
        return true;
    }
    kal::Dialogs().messageBox(QStringLiteral("Zbyt mała tablica rodzajów paliw !!!"), kKontrolaZuzycia, kal::MbOk,
                              kal::MsgIcon::Stop);
    return false;
}

void ZuzyciePaliwaDlaPolrocza::DodajDoMacierzy(int nr)
{
    const PozycjaZuzycia& p = m_pozycje[static_cast<size_t>(nr)];
    if (p.Pusta())
        return;
    const double m = Zaokraglij(p.masa, 2);
    const int komorka = KomorkaTabeliD(p.klucz.wiersz, p.klucz.paliwo, p.klucz.gaz);
    if (komorka < 0)
        return;
    if (p.litry != 0.0 && Gestosci().Gestosc(IndeksPaliwa(p.klucz.paliwo)) == 0.0
        && !m_bezGestosci.contains(p.klucz.paliwo))
        m_bezGestosci.append(p.klucz.paliwo);
    m_macierz[static_cast<size_t>(komorka)] += m;
}

WartosciTabeliD ZuzyciePaliwaDlaPolrocza::WartosciMg() const
{
    WartosciTabeliD mg{};
    for (size_t i = 0; i < mg.size(); ++i)
        mg[i] = Zaokraglij(0.001 * m_macierz[i], 2);
    return mg;
}

bool ZuzyciePaliwaDlaPolrocza::Wczytaj()
{
    IDaneSrodowiska& dane = DaneSrodowiska();
    if (!dane.UstawZbiorZuzycia()) {
        kal::Dialogs().messageBox(TDM::TekstBleduZbioruZuzycia(dane.PrzyczynaBleduZbioruZuzycia()), kKontrolaZuzycia,
                                  kal::MbOk, kal::MsgIcon::Stop);
        return false;
    }
    Wyczysc();

    // The register by id, classified once per vehicle.
    std::unordered_map<int, KlasaPojazdu> pojazdy;
    dane.Pojazdy([&](int id, const DanePojazdu& v) { pojazdy.emplace(id, KlasyfikujPojazd(v)); });

    int pominiete = 0;
    dane.ZapisyZuzycia([&](const ZapisZuzycia& z) {
        const auto it = pojazdy.find(z.idPojazdu);
        if (it == pojazdy.end()) {
            ++pominiete;
            return;
        }
        const int paliwo = KodPaliwa(z.rodzajPaliwa);
        if (paliwo == 0)
            return;
        KluczPozycji k;
        k.paliwo = paliwo;
        k.rodzaj = it->second.rodzaj;
        k.wiersz = it->second.wiersz;
        k.gaz = it->second.gaz;
        Umiesc(k, z.iloscPaliwa);
    });

    for (int nr = 0; nr < LiczbaPozycji; ++nr)
        DodajDoMacierzy(nr);
    m_pominiete = pominiete;
    std::sort(m_bezGestosci.begin(), m_bezGestosci.end());
    return true;
}

void ZuzyciePaliwaDlaPolrocza::WypelnijTabeleD()
{
    if (!Wczytaj()) {
        kal::Dialogs().messageBox(QStringLiteral("Błąd czytania danych półrocza !!!"),
                                  QStringLiteral("Kontrola operacji."), kal::MbOk, kal::MsgIcon::Stop);
        return;
    }
    const bool zapisz = m_bezGestosci.isEmpty();
    if (zapisz)
        DaneSrodowiska().ZapiszTabeleD(WartosciMg());

    if (m_pominiete > 0)
        kal::Dialogs().messageBox(
            QStringLiteral("Liczba pominiętych zapisów zużycia paliwa: %1.\n"
                           "Pojazdów tych zapisów nie ma w ewidencji pojazdów, "
                           "więc ich paliwo nie zostało wliczone do tabeli D !!!")
                .arg(m_pominiete),
            kKontrolaZuzycia, kal::MbOk, kal::MsgIcon::Warning);

    if (!zapisz) {
        QString paliwa;
        for (int p : m_bezGestosci)
            paliwa += QStringLiteral("\n") + KodPaliwaTekst(p) + QStringLiteral(" - ") + NazwaPaliwa(p);
        kal::Dialogs().messageBox(QStringLiteral("Brak gęstości paliwa w tabeli gęstości paliw:") + paliwa
                                      + QStringLiteral("\nTabela D nie została wypełniona. "
                                                       "Wpisz gęstość paliwa i wylicz tabelę ponownie !!!"),
                                  kKontrolaZuzycia, kal::MbOk, kal::MsgIcon::Stop);
    }
}
