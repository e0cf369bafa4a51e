// The description's building blocks, the 27 tables in the order of the data
// module, and the column lists of the statement tables. The tables themselves
// are described in SchematRejestrow.cpp and SchematZestawien.cpp, the new
// data directory is made in KatalogDanych.cpp.

#include "Schemat.h"
#include "SchematBudowa.h"

namespace Schemat {

namespace budowa {

Pole& dodaj(Tabela& t, const QString& nazwa, Typ typ, int rozmiar)
{
    Pole p;
    p.nazwa = nazwa;
    p.komponent = t.komponent + nazwa;
    p.typ = typ;
    p.rozmiar = rozmiar;
    if (typ == Typ::Autonumer)
        p.tylkoDoOdczytu = true;
    t.pola.push_back(p);
    return t.pola.back();
}

// A date field with the display format, the edit mask and its text-entry handler.
Pole& dodajDate(Tabela& t, const QString& nazwa, const QString& onSetText)
{
    Pole& p = dodaj(t, nazwa, Typ::Data);
    p.formatWyswietlania = FormatDaty;
    p.maskaEdycji = MaskaDaty;
    p.onSetText = onSetText;
    return p;
}

Pole& dodajWartosc(Tabela& t, const QString& nazwa, const QString& komponent)
{
    Pole& p = dodaj(t, nazwa, Typ::Rzeczywisty);
    if (!komponent.isEmpty())
        p.komponent = komponent;
    p.onSetText = QStringLiteral("UstalNieujemna");
    return p;
}

Pole& dodajObliczane(Tabela& t, const QString& nazwa, Typ typ, int rozmiar)
{
    Pole& p = dodaj(t, nazwa, typ, rozmiar);
    p.rodzaj = Rodzaj::Obliczane;
    return p;
}

Pole& dodajWyszukiwane(Tabela& t, const QString& nazwa, Typ typ, int rozmiar, const QString& tabela,
                       const QString& kluczTam, const QString& wynik, const QString& kluczTu)
{
    Pole& p = dodaj(t, nazwa, typ, rozmiar);
    p.rodzaj = Rodzaj::Wyszukiwane;
    p.tabelaWyszukiwania = tabela;
    p.poleKluczaWyszukiwania = kluczTam;
    p.poleWyniku = wynik;
    p.poleKlucza = kluczTu;
    return p;
}

Tabela nowa(const QString& komponent, const QString& plik, const QString& polaIndeksu, const QString& zrodlo)
{
    Tabela t;
    t.komponent = komponent;
    t.plik = plik;
    t.polaIndeksu = polaIndeksu;
    t.zrodloDanych = zrodlo;
    return t;
}

void nadrzedna(Tabela& t, const QString& tabela, const QString& zrodlo, const QString& pole)
{
    t.tabelaNadrzedna = tabela;
    t.zrodloNadrzedne = zrodlo;
    t.poleNadrzedne = pole;
}

void zdarzenia(Tabela& t, std::initializer_list<ObslugaZdarzenia> lista)
{
    t.zdarzenia.assign(lista);
}

void indeks(Tabela& t, bool unikalny)
{
    if (t.polaIndeksu.isEmpty())
        return;
    Indeks i;
    i.pola = t.polaIndeksu;
    i.unikalny = unikalny;
    i.glowny = unikalny;
    if (!unikalny)
        i.nazwa = QStringLiteral("Indeks");
    t.indeksy.push_back(i);
}

void formatPrzyTworzeniu(Tabela& t, const QStringList& pola, const QString& format)
{
    for (Pole& p : t.pola)
        if (pola.contains(p.nazwa))
            p.formatPrzyTworzeniu = format;
}

void formatWszystkichRzeczywistych(Tabela& t, const QStringList& pominiete)
{
    for (Pole& p : t.pola)
        if (p.typ == Typ::Rzeczywisty && !pominiete.contains(p.nazwa))
            p.formatPrzyTworzeniu = FormatKwot;
}

QStringList rezerwy()
{
    return {QStringLiteral("Rezerwa1"), QStringLiteral("Rezerwa2"), QStringLiteral("Rezerwa3"),
            QStringLiteral("Rezerwa4"), QStringLiteral("Rezerwa5")};
}

} // namespace budowa

namespace {

std::vector<Tabela> zbuduj()
{
    std::vector<Tabela> tabele = budowa::TabeleRejestrow();
    for (Tabela& t : budowa::TabeleZestawien())
        tabele.push_back(std::move(t));
    return tabele;
}

using Z = Zdarzenie;

} // namespace

kal::TFieldType TypPola(Typ typ)
{
    switch (typ) {
    case Typ::Tekst: return kal::ftString;
    case Typ::Calkowity: return kal::ftInteger;
    case Typ::Krotki: return kal::ftSmallint;
    case Typ::Autonumer: return kal::ftAutoInc;
    case Typ::Rzeczywisty: return kal::ftFloat;
    case Typ::Data: return kal::ftDate;
    case Typ::Logiczny: return kal::ftBoolean;
    case Typ::Memo: return kal::ftMemo;
    }
    return kal::ftUnknown;
}

QString NazwaZdarzenia(Zdarzenie z)
{
    switch (z) {
    case Z::BeforeInsert: return QStringLiteral("BeforeInsert");
    case Z::AfterInsert: return QStringLiteral("AfterInsert");
    case Z::BeforeEdit: return QStringLiteral("BeforeEdit");
    case Z::AfterEdit: return QStringLiteral("AfterEdit");
    case Z::BeforePost: return QStringLiteral("BeforePost");
    case Z::AfterPost: return QStringLiteral("AfterPost");
    case Z::AfterCancel: return QStringLiteral("AfterCancel");
    case Z::BeforeDelete: return QStringLiteral("BeforeDelete");
    case Z::AfterDelete: return QStringLiteral("AfterDelete");
    case Z::OnCalcFields: return QStringLiteral("OnCalcFields");
    case Z::OnPostError: return QStringLiteral("OnPostError");
    }
    return {};
}

const Pole* Tabela::pole(const QString& nazwaPola) const
{
    for (const Pole& p : pola)
        if (p.nazwa == nazwaPola)
            return &p;
    return nullptr;
}

QString Tabela::handler(Zdarzenie z) const
{
    for (const ObslugaZdarzenia& o : zdarzenia)
        if (o.zdarzenie == z)
            return o.handler;
    return {};
}

int Tabela::liczbaPolZapisywanych() const
{
    int n = 0;
    for (const Pole& p : pola)
        n += p.zapisywane() ? 1 : 0;
    return n;
}

const std::vector<Tabela>& Tabele()
{
    static const std::vector<Tabela> tabele = zbuduj();
    return tabele;
}

const Tabela* ZnajdzTabele(const QString& komponent)
{
    for (const Tabela& t : Tabele())
        if (t.komponent == komponent)
            return &t;
    return nullptr;
}

std::vector<const Tabela*> TabelePlikowe()
{
    std::vector<const Tabela*> wynik;
    for (const Tabela& t : Tabele())
        if (!t.plik.isEmpty() && t.komponent != QLatin1String("TPrzRob"))
            wynik.push_back(&t);
    return wynik;
}

const QStringList& KolumnyTabeliD()
{
    static const QStringList k = QStringLiteral(
        "1a 1b 1c 1d 2a 2b 2c 2d 3a 3b 3c 3d 4a 4b 4c 4d 4e 4f 5 5b 5c 5d 5e 5f 6 6b 6c 6d 6e 6f 7 7b 7c 7d "
        "8a 8b 8c 8d 9 9b 9c 9d 10 10b 10c 10d 10e 10f 11a 11b 11c 11d 11e 11f 12 12b 12c 12d 12e 12f "
        "13a 13b 13c 14a 14b 15a 15b 15c 16a 16b 16c 17a 17b 17c 17d 18a 18b 18c 18d 19a 19b 19c 19d "
        "20a 20b 21a 21b 22a 22b 23a 23b 24a 24b 24c 24d 25a 25b 25c 25d 26a 26b 26c 26d 27a 27b 28a 28b "
        "29a 29b 30a 30b 31a 31b 32a 32b 32c 32d")
                                  .split(QLatin1Char(' '));
    return k;
}

const QStringList& KolumnyStawekTabeliD()
{
    static const QStringList k = QStringLiteral(
        "1a 1b 1c 2a 2b 2c 3a 3b 3c 4a 4b 4c 5 6 7 8a 8b 9 10 11a 11b 12 1d 2d 3d 4d 4e 4f 5b 5c 5d 5e 5f "
        "6b 6c 6d 6e 6f 7b 7c 7d 8c 8d 9b 9c 9d 10b 10c 10d 10e 10f 11c 11d 11e 11f 12b 12c 12d 12e 12f "
        "13a 13b 13c 14a 14b 15a 15b 15c 16a 16b 16c 17a 17b 17c 17d 18a 18b 18c 18d 19a 19b 19c 19d "
        "20a 20b 21a 21b 22a 22b 23a 23b 24a 24b 24c 24d 25a 25b 25c 25d 26a 26b 26c 26d 27a 27b 28a 28b "
        "29a 29b 30a 30b 31a 31b 32a 32b 32c 32d")
                                  .split(QLatin1Char(' '));
    return k;
}

const QStringList& PolaIlosciTabeliC()
{
    static const QStringList k =
        QStringLiteral("I1 I1a I2 I3 I4 I5 II1 II2 II3 III IV1 IV2 IV3 IV4 V1a V1b V2a V2b V3 "
                       "Rezerwa1 Rezerwa2 Rezerwa3 Rezerwa4 Rezerwa5")
            .split(QLatin1Char(' '));
    return k;
}

const QStringList& PolaLiczbTabeliC()
{
    static const QStringList k = [] {
        QStringList l;
        const QStringList& ilosci = PolaIlosciTabeliC();
        for (int i = 0; i < 19; ++i)
            l << QStringLiteral("LK") + ilosci[i];
        l << QStringLiteral("Calk1") << QStringLiteral("Calk2") << QStringLiteral("Calk3") << QStringLiteral("Calk4")
          << QStringLiteral("Calk5");
        return l;
    }();
    return k;
}

const QStringList& PolaZalacznika1()
{
    static const QStringList k =
        QStringLiteral("P11 P12 P13 P14 P15 P21 P22 P23 P311 P312 P313 P314 P315 P32 P33 P34 P35 P41 P42 "
                       "Rezerwa1 Rezerwa2 Rezerwa3 Rezerwa4 Rezerwa5")
            .split(QLatin1Char(' '));
    return k;
}

} // namespace Schemat
