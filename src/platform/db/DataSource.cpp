#include "DataSource.h"

#include "Table.h"

#include <algorithm>

namespace kal {

TDataLink::~TDataLink()
{
    setDataSource(nullptr);
}

void TDataLink::setDataSource(TDataSource* source)
{
    if (source == m_source)
        return;
    if (m_source)
        m_source->removeLink(this);
    m_source = source;
    if (m_source)
        m_source->addLink(this);
}

TTable* TDataLink::DataSet() const
{
    return m_source ? m_source->DataSet() : nullptr;
}

bool TDataLink::Active() const
{
    return m_source && m_source->Enabled() && m_source->DataSet() && m_source->DataSet()->Active();
}

bool TDataLink::Editing() const
{
    if (!Active())
        return false;
    const TDataSetState s = m_source->DataSet()->State();
    return s == dsEdit || s == dsInsert;
}

TDataSource::TDataSource(TTable* dataSet, const QString& name) : TComponent(name)
{
    setDataSet(dataSet);
}

TDataSource::~TDataSource()
{
    for (TDataLink* link : m_links)
        link->m_source = nullptr;
    m_links.clear();
    for (TTable* detail : m_details)
        detail->m_masterSource = nullptr;
    m_details.clear();
    setDataSet(nullptr);
}

void TDataSource::setDataSet(TTable* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet) {
        auto& v = m_dataSet->m_sources;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->m_sources.push_back(this);
    for (TTable* detail : m_details)
        detail->masterChanged();
    notify(Event::ActiveChanged);
}

void TDataSource::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    const auto links = m_links;
    for (TDataLink* link : links)
        link->activeChanged();
}

TDataSetState TDataSource::State() const
{
    return m_dataSet && m_enabled ? m_dataSet->State() : dsInactive;
}

void TDataSource::addLink(TDataLink* link)
{
    m_links.push_back(link);
    link->activeChanged();
}

void TDataSource::removeLink(TDataLink* link)
{
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
}

void TDataSource::notify(Event event, int info, TField* field)
{
    if (!m_enabled && event != Event::ActiveChanged)
        return;
    const auto links = m_links; // a handler may attach or detach links
    for (TDataLink* link : links) {
        if (std::find(m_links.begin(), m_links.end(), link) == m_links.end())
            continue;
        switch (event) {
        case Event::ActiveChanged:
            link->activeChanged();
            break;
        case Event::DataSetChanged:
            link->dataSetChanged();
            break;
        case Event::Scrolled:
            link->dataSetScrolled(info);
            break;
        case Event::RecordChanged:
            link->recordChanged(field);
            break;
        case Event::EditingChanged:
            link->editingChanged();
            break;
        case Event::UpdateData:
            link->updateData();
            break;
        }
    }
    switch (event) {
    case Event::DataSetChanged:
    case Event::Scrolled:
    case Event::ActiveChanged:
        if (OnDataChange)
            OnDataChange(*this, nullptr);
        break;
    case Event::RecordChanged:
        if (OnDataChange)
            OnDataChange(*this, field);
        break;
    case Event::EditingChanged:
        if (OnStateChange)
            OnStateChange(*this);
        break;
    case Event::UpdateData:
        break;
    }
}

} // namespace kal
