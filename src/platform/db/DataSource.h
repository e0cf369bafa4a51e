#pragma once
// Data sources and data links: how data-aware widgets (and detail tables)
// follow a table component. A TDataSource points at one table; any number of
// TDataLink observers attach to the data source and receive its events.

#include "Field.h"

#include <functional>
#include <vector>

namespace kal {

class TDataSource;
class TTable;

class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return m_source; }
    // Attaching or detaching is cheap: no data is read.
    void setDataSource(TDataSource* source);
    TTable* DataSet() const;
    // True when the data source is enabled and its table is open.
    bool Active() const;
    // True while the table is in edit or insert state.
    bool Editing() const;

    // Notifications (all empty by default).
    virtual void activeChanged() {}
    virtual void dataSetChanged() {}
    virtual void dataSetScrolled(int distance) { (void)distance; dataSetChanged(); }
    virtual void recordChanged(TField* field) { (void)field; }
    virtual void editingChanged() {}
    // Called before the table posts: an edit control hands its pending text
    // to its field here.
    virtual void updateData() {}

private:
    friend class TDataSource;
    TDataSource* m_source = nullptr;
};

class TDataSource : public TComponent {
public:
    explicit TDataSource(TTable* dataSet = nullptr, const QString& name = {});
    ~TDataSource() override;
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    TTable* DataSet() const { return m_dataSet; }
    void setDataSet(TTable* dataSet);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    TDataSetState State() const;

    // Raised after the links: the current record changed (field = nullptr)
    // or one field changed; the state of the table changed.
    std::function<void(TDataSource&, TField*)> OnDataChange;
    std::function<void(TDataSource&)> OnStateChange;

    const std::vector<TDataLink*>& Links() const { return m_links; }

private:
    friend class TTable;
    friend class TDataLink;
    friend class TMasterLinkGuard;
    enum class Event { ActiveChanged, DataSetChanged, Scrolled, RecordChanged, EditingChanged, UpdateData };
    void notify(Event event, int info = 0, TField* field = nullptr);
    void addLink(TDataLink* link);
    void removeLink(TDataLink* link);

    TTable* m_dataSet = nullptr;
    bool m_enabled = true;
    std::vector<TDataLink*> m_links;
    std::vector<TTable*> m_details; // tables whose master source this is
};

} // namespace kal
