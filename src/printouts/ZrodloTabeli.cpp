#include "ZrodloTabeli.h"

#include "Table.h"

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

QString ZrodloTabeli::fieldText(const QString& pole) const
{
    if (!maRekord())
        return {};
    const kal::TField* f = m_tabela->FindField(pole);
    if (!f || f->IsNull())
        return {};
    return f->DisplayText();
}

int ZrodloTabeli::recordCount() const
{
    return m_tabela && m_tabela->Active() ? m_tabela->RecordCount() : -1;
}

std::optional<double> ZrodloTabeli::wartosc(const QString& pole) const
{
    if (!maRekord())
        return std::nullopt;
    const kal::TField* f = m_tabela->FindField(pole);
    if (!f || f->IsNull())
        return std::nullopt;
    return f->AsFloat();
}
