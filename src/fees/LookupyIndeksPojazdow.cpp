#include "LookupyIndeksPojazdow.h"

#include "Dane.h"
#include "Funkcje.h"

Pojazd::~Pojazd()
{
    // Unlink the chain node by node: a long chain must not recurse.
    std::unique_ptr<Pojazd> p = std::move(Nastepny);
    while (p)
        p = std::move(p->Nastepny);
}

void Pojazd::Dodaj(TDM& dm)
{
    const int id = dm.TPojazdyIdentyfikatorPojazdu->AsInteger();
    Pojazd* w = this;
    for (;;) {
        if (w->Identyfikator == -2 || w->Identyfikator == id) {
            w->Identyfikator = id;
            w->NrRejestracyjny = dm.TPojazdyNrRejestracyjny->AsString();
            return;
        }
        if (!w->Nastepny)
            w->Nastepny = std::make_unique<Pojazd>();
        w = w->Nastepny.get();
    }
}

int Pojazd::ZnajdzIdentyfikator(const QString& numer) const
{
    for (const Pojazd* w = this; w; w = w->Nastepny.get())
        if (w->Identyfikator != -2 && PorownajBezSpacji(w->NrRejestracyjny, numer))
            return w->Identyfikator;
    return -2;
}

TDM& Pojazdy::dm() const
{
    return m_dm ? *m_dm : *DM;
}

int Pojazdy::ZnajdzIdentyfikator(const QString& numer)
{
    if (!m_wczytany)
        Wczytaj();
    return m_pierwszy ? m_pierwszy->ZnajdzIdentyfikator(numer) : -2;
}

void Pojazdy::Wczytaj()
{
    m_wczytany = true;
    kal::TTable* t = dm().TPojazdy;
    if (t->IsEmpty())
        return;
    const kal::TTable::TBookmark b = t->GetBookmark();
    for (t->First(); !t->Eof(); t->Next()) {
        if (!m_pierwszy)
            m_pierwszy = std::make_unique<Pojazd>();
        m_pierwszy->Dodaj(dm());
    }
    t->GotoBookmark(b);
    t->FreeBookmark(b);
}

void Pojazdy::Dodaj()
{
    if (!m_wczytany)
        return;
    if (!m_pierwszy)
        m_pierwszy = std::make_unique<Pojazd>();
    m_pierwszy->Dodaj(dm());
}

namespace {
std::unique_ptr<Pojazdy>& Indeks()
{
    static std::unique_ptr<Pojazdy> indeks;
    return indeks;
}
} // namespace

Pojazdy& IndeksPojazdow()
{
    if (!Indeks())
        Indeks() = std::make_unique<Pojazdy>();
    return *Indeks();
}

void ZwolnijIndeksPojazdow()
{
    Indeks().reset();
}

void PodlaczIndeksPojazdow(TDM& dm)
{
    dm.DodajPojazdDoIndeksu = [] { IndeksPojazdow().Dodaj(); };
}
