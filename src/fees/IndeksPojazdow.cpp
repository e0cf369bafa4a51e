#include "IndeksPojazdow.h"

#include "Dane.h"
#include "Funkcje.h"

#include "Table.h"

Pojazd::~Pojazd()
{
    std::unique_ptr<Pojazd> reszta = std::move(nastepny);
    while (reszta)
        reszta = std::move(reszta->nastepny);
}

QString Pojazdy::Klucz(const QString& nr)
{
    return UsunSpacje(nr.toUpper());
}

void Pojazdy::Wyczysc()
{
    m_wezly.clear();
    m_ostatni = nullptr;
    m_pierwszy.reset();
    m_wczytany = false;
}

void Pojazdy::Dodaj(int id, const QString& nr)
{
    const auto jest = m_wezly.find(id);
    if (jest != m_wezly.end()) {
        jest->second->nrRejestracyjny = nr;
        jest->second->klucz = Klucz(nr);
        return;
    }
    auto wezel = std::make_unique<Pojazd>();
    wezel->id = id;
    wezel->nrRejestracyjny = nr;
    wezel->klucz = Klucz(nr);
    Pojazd* nowy = wezel.get();
    if (m_ostatni)
        m_ostatni->nastepny = std::move(wezel);
    else
        m_pierwszy = std::move(wezel);
    m_ostatni = nowy;
    m_wezly.emplace(id, nowy);
}

void Pojazdy::Dodaj()
{
    if (!m_wczytany || !DM)
        return;
    Dodaj(DM->TPojazdyIdentyfikatorPojazdu->AsInteger(), DM->TPojazdyNrRejestracyjny->AsString());
}

void Pojazdy::Wczytaj()
{
    m_wczytany = true;
    if (!DM)
        return;
    const kal::TTable& pojazdy = *DM->TPojazdy;
    // A cursor of its own: walking TPojazdy itself would post a vehicle being
    // typed in, and would move its detail tables with every record.
    kal::TTable kursor(QStringLiteral("IndeksPojazdow"));
    kursor.setTableName(pojazdy.TableName());
    kursor.setReadOnly(true);
    try {
        kursor.Open();
        kursor.setIndexFieldNames(pojazdy.IndexFieldNames());
        kal::TField* id = kursor.FieldByName(QStringLiteral("IdentyfikatorPojazdu"));
        kal::TField* nr = kursor.FieldByName(QStringLiteral("NrRejestracyjny"));
        for (kursor.First(); !kursor.Eof(); kursor.Next())
            Dodaj(id->AsInteger(), nr->AsString());
    } catch (...) {
        // A load that failed is tried again by the next lookup rather than
        // leaving an index that silently finds nothing.
        Wyczysc();
        throw;
    }
}

int Pojazdy::ZnajdzIdentyfikator(const QString& nr)
{
    if (!m_wczytany)
        Wczytaj();
    const QString klucz = Klucz(nr);
    if (klucz.isEmpty())
        return -2;
    for (const Pojazd* w = m_pierwszy.get(); w; w = w->nastepny.get())
        if (w->klucz == klucz)
            return w->id;
    return -2;
}
