#include "ZrodloTabeli.h"

#include "Table.h"

#include <exception>
#include <utility>

SpiaceKontrolki::SpiaceKontrolki(std::initializer_list<kal::TTable*> tabele)
{
    for (kal::TTable* t : tabele)
        usypiaj(t);
}

SpiaceKontrolki::~SpiaceKontrolki()
{
    try {
        obudz();
    } catch (...) {
        // A control failing to show its record must not stop the unwinding.
    }
}

void SpiaceKontrolki::usypiaj(kal::TTable* tabela)
{
    if (!tabela)
        return;
    tabela->DisableControls();
    m_tabele.push_back(tabela);
}

void SpiaceKontrolki::obudz()
{
    // In the order they fell asleep: a master's controls before its details'.
    const std::vector<kal::TTable*> tabele = std::move(m_tabele);
    m_tabele.clear();
    std::exception_ptr blad;
    for (kal::TTable* t : tabele) {
        try {
            t->EnableControls();
        } catch (...) {
            if (!blad)
                blad = std::current_exception();
        }
    }
    if (blad)
        std::rethrow_exception(blad);
}

bool ZrodloTabeli::maRekord() const
{
    if (!m_tabela || !m_tabela->Active())
        return false;
    // A record being inserted is a record even in an empty table.
    return m_tabela->State() == kal::dsInsert || !m_tabela->IsEmpty();
}

void ZrodloTabeli::first()
{
    if (m_tabela && m_tabela->Active())
        m_tabela->First();
}

void ZrodloTabeli::next()
{
    if (m_tabela && m_tabela->Active())
        m_tabela->Next();
}

bool ZrodloTabeli::eof() const
{
    return !m_tabela || !m_tabela->Active() || m_tabela->Eof();
}

const kal::TField* ZrodloTabeli::pole(const QString& nazwa) const
{
    if (!m_wBiegu)
        return m_tabela->FindField(nazwa);
    // During a run the fields stay: each name is looked up once.
    const auto it = m_pola.constFind(nazwa);
    if (it != m_pola.constEnd())
        return it.value();
    const kal::TField* f = m_tabela->FindField(nazwa);
    m_pola.insert(nazwa, f);
    return f;
}

QString ZrodloTabeli::fieldText(const QString& pole) const
{
    if (!maRekord())
        return {};
    const kal::TField* f = this->pole(pole);
    if (!f)
        return {};
    if (!f->OnGetText) {
        // Without a text handler a null value shows as no text: the value
        // is read once (a looked-up one is looked up once).
        QString tekst = f->DisplayText();
        return tekst.isEmpty() ? QString() : tekst;
    }
    if (f->IsNull())
        return {};
    return f->DisplayText();
}

int ZrodloTabeli::recordCount() const
{
    return m_tabela && m_tabela->Active() ? m_tabela->RecordCount() : -1;
}

void ZrodloTabeli::runStarts()
{
    m_pola.clear();
    m_wBiegu = true;
    m_znak = m_wraca && maRekord() && m_tabela->State() == kal::dsBrowse ? m_tabela->GetBookmark() : 0;
    m_spiace.obudz();
    m_spiace.usypiaj(m_tabela);
    for (kal::TTable* t : m_zalezne)
        m_spiace.usypiaj(t);
}

void ZrodloTabeli::runEnds()
{
    m_pola.clear();
    m_wBiegu = false;
    const qint64 znak = std::exchange(m_znak, 0);
    try {
        if (znak != 0 && m_tabela->Active() && m_tabela->BookmarkValid(znak))
            m_tabela->GotoBookmark(znak);
    } catch (...) {
        // This may run while the error that stopped the run unwinds: a table
        // that cannot go back stays where the run left it.
    }
    m_spiace.obudz();
}

std::optional<double> ZrodloTabeli::wartosc(const QString& pole) const
{
    if (!maRekord())
        return std::nullopt;
    const kal::TField* f = this->pole(pole);
    if (!f || f->IsNull())
        return std::nullopt;
    return f->AsFloat();
}
