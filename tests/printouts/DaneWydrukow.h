#pragma once
// Table files of the statement built by the tests, and a reader of the
// printed pages.

#include "DaneSrodowiskaTabel.h"
#include "KomorkiTabel.h"
#include "PageModel.h"
#include "Table.h"
#include "TestDir.h"

#include <QStringList>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

// Readable texts in the messages of failed expectations.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace testy {

using Pola = std::vector<std::tuple<QString, kal::TFieldType, int>>;

inline const QString FormatIlosci = QStringLiteral("# ### ##0.00# ### ###");

// Creates and opens table file `plik` with `pola`, float fields showing
// with `format`.
inline std::unique_ptr<kal::TTable> Utworz(const QString& nazwa, const QString& plik, const Pola& pola,
                                           const QString& indeks, const QString& format = FormatIlosci)
{
    auto t = std::make_unique<kal::TTable>(nazwa);
    t->setTableName(plik);
    for (const auto& [pole, typ, rozmiar] : pola)
        t->FieldDefs().Add(pole, typ, rozmiar);
    t->IndexDefs().Add(QString(), indeks, kal::ixPrimary | kal::ixUnique);
    t->CreateTable();
    t->setIndexFieldNames(indeks);
    t->Open();
    for (int i = 0; i < t->FieldCount(); ++i)
        if (t->Fields(i)->DataType() == kal::ftFloat)
            t->Fields(i)->setDisplayFormat(format);
    return t;
}

template <size_t N>
Pola PolaWartosci(const std::array<QString, N>& nazwy, const Pola& przed = {})
{
    Pola p{{QStringLiteral("IdentyfikatorOkresu"), kal::ftInteger, 0}};
    p.insert(p.end(), przed.begin(), przed.end());
    for (const QString& n : nazwy)
        p.emplace_back(n, kal::ftFloat, 0);
    return p;
}

// The statement tables of one period, in a temporary data directory, with
// the fee engine reading them.
struct Okres {
    kal::test::TestDir katalog;
    std::unique_ptr<kal::TTable> tabelaD, stawkiD, tabelaC, stawkiC;
    std::unique_ptr<DaneSrodowiskaTabel> dane;

    Okres()
    {
        tabelaD = Utworz(QStringLiteral("TTabelaD"), QStringLiteral("TabelaD2009.DB"), PolaWartosci(PolaTabeliD()),
                         QStringLiteral("IdentyfikatorOkresu"));
        stawkiD = Utworz(QStringLiteral("TStawkiTabD"), QStringLiteral("StawkiTabD2009.DB"),
                         PolaWartosci(PolaTabeliD()), QStringLiteral("IdentyfikatorOkresu"));
        Pola liczby;
        for (const QString& p : PolaTabeliC())
            if (!p.startsWith(QStringLiteral("Rezerwa")))
                liczby.emplace_back(QStringLiteral("LK") + p, kal::ftSmallint, 0);
        Pola tc{{QStringLiteral("NazwaGminy"), kal::ftString, 40}};
        tc.insert(tc.end(), liczby.begin(), liczby.end());
        tabelaC = Utworz(QStringLiteral("TTabelaC"), QStringLiteral("TabelaC.DB"), PolaWartosci(PolaTabeliC(), tc),
                         QStringLiteral("IdentyfikatorOkresu;NazwaGminy"));
        stawkiC = Utworz(QStringLiteral("TStawkiTabC"), QStringLiteral("StawkiTabC.db"), PolaWartosci(PolaTabeliC()),
                         QStringLiteral("IdentyfikatorOkresu"));
        TabeleSrodowiska t;
        t.TTabelaC = tabelaC.get();
        t.TStawkiTabC = stawkiC.get();
        t.TTabelaD = tabelaD.get();
        t.TStawkiTabD = stawkiD.get();
        dane = std::make_unique<DaneSrodowiskaTabel>(t);
        UstawDaneSrodowiska(dane.get());
    }
    ~Okres() { UstawDaneSrodowiska(nullptr); }

    // Appends a posted row of period 7 with the values given (others null).
    static void Wiersz(kal::TTable& t, const std::vector<std::pair<QString, double>>& wartosci,
                       const QString& gmina = QString())
    {
        t.Append();
        t.FieldByName(QStringLiteral("IdentyfikatorOkresu"))->setAsInteger(7);
        if (!gmina.isEmpty())
            t.FieldByName(QStringLiteral("NazwaGminy"))->setAsString(gmina);
        for (const auto& [pole, v] : wartosci) {
            kal::TField* f = t.FieldByName(pole);
            if (f->DataType() == kal::ftSmallint)
                f->setAsInteger(static_cast<int>(v));
            else
                f->setAsFloat(v);
        }
        t.Post();
    }
};

// A text of a printed page.
struct Tekst {
    int strona = 0;
    double x = 0, y = 0, x2 = 0;
    QString tekst;
    bool gruby = false;
    bool podkreslony = false;
};

inline std::vector<Tekst> Teksty(const kal::report::PageModel& m)
{
    std::vector<Tekst> t;
    for (int s = 0; s < m.pageCount(); ++s)
        for (const auto page = m.page(s); const auto& it : page->items)
            if (it.kind == kal::report::PageItem::Kind::Text)
                t.push_back({s, it.x1, it.y1, it.x2, it.text, m.fontOf(it).bold, m.fontOf(it).underline});
    return t;
}

// All texts of the pages, page by page, top to bottom, left to right.
inline QStringList WszystkieTeksty(const kal::report::PageModel& m)
{
    auto t = Teksty(m);
    std::stable_sort(t.begin(), t.end(), [](const Tekst& a, const Tekst& b) {
        if (a.strona != b.strona)
            return a.strona < b.strona;
        if (std::abs(a.y - b.y) > 0.5)
            return a.y < b.y;
        return a.x < b.x;
    });
    QStringList l;
    for (const Tekst& x : t)
        l << x.tekst;
    return l;
}

// The cells of the printed line whose text in the column from kolumny[k]
// to kolumny[k + 1] (mm from the left margin) is `tekst` (its `ktory`-th
// occurrence, from 0): per column, the text standing at the same height
// (empty when that cell is blank).
inline std::vector<Tekst> Linia(const kal::report::PageModel& m, const QString& tekst, const double* kolumny,
                                int liczbaKolumn, int k, int ktory = 0)
{
    constexpr double margines = 10.0;
    const auto teksty = Teksty(m);
    auto w = [&](const Tekst& t, int c) { return t.x >= margines + kolumny[c] - 0.01 && t.x < margines + kolumny[c + 1] - 0.01; };
    std::vector<Tekst> linia(static_cast<size_t>(liczbaKolumn));
    const Tekst* wzor = nullptr;
    for (const Tekst& t : teksty)
        if (t.tekst == tekst && w(t, k) && ktory-- == 0)
            wzor = &t;
    if (!wzor)
        return {};
    for (const Tekst& t : teksty)
        if (t.strona == wzor->strona && std::abs(t.y - wzor->y) < 1.0)
            for (int c = 0; c < liczbaKolumn; ++c)
                if (w(t, c))
                    linia[size_t(c)] = t;
    return linia;
}

// The texts of a line, column by column.
inline QStringList TekstyLinii(const std::vector<Tekst>& linia)
{
    QStringList l;
    for (const Tekst& t : linia)
        l << t.tekst;
    return l;
}

} // namespace testy
