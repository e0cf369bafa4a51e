#pragma once
// The building blocks of the table description, shared by the files that
// describe the tables (SchematRejestrow.cpp, SchematZestawien.cpp). Each table
// is described by one function there: its file, master link, events, fields
// and indexes in one place. Only the description's own files include it.

#include "Schemat.h"

#include <initializer_list>
#include <vector>

namespace Schemat::budowa {

// A table component with its file, index fields and data source.
Tabela nowa(const QString& komponent, const QString& plik, const QString& polaIndeksu, const QString& zrodlo);
// The master link: master table component, its data source and the master field.
void nadrzedna(Tabela& t, const QString& tabela, const QString& zrodlo, const QString& pole);
void zdarzenia(Tabela& t, std::initializer_list<ObslugaZdarzenia> lista);
// One index over the index fields: the primary key when unique, else a secondary index.
void indeks(Tabela& t, bool unikalny);

// A field named after its table component; an autoincrement field is read-only.
Pole& dodaj(Tabela& t, const QString& nazwa, Typ typ, int rozmiar = 0);
Pole& dodajDate(Tabela& t, const QString& nazwa, const QString& onSetText);
// An amount with the shared text-entry handler of amounts.
Pole& dodajWartosc(Tabela& t, const QString& nazwa, const QString& komponent = {});
Pole& dodajObliczane(Tabela& t, const QString& nazwa, Typ typ, int rozmiar = 0);
Pole& dodajWyszukiwane(Tabela& t, const QString& nazwa, Typ typ, int rozmiar, const QString& tabela,
                       const QString& kluczTam, const QString& wynik, const QString& kluczTu);

// The display format that the data module assigns when it is created.
void formatPrzyTworzeniu(Tabela& t, const QStringList& pola, const QString& format);
void formatWszystkichRzeczywistych(Tabela& t, const QStringList& pominiete = {});
// "Rezerwa1" .. "Rezerwa5".
QStringList rezerwy();

// The register tables, then the work table, in the order of the data module.
std::vector<Tabela> TabeleRejestrow();
// The statement tables in the order of the data module.
std::vector<Tabela> TabeleZestawien();

} // namespace Schemat::budowa
