#pragma once
// Drop-down lists bound to a field.
//
// TDBComboBox: a fixed list of items. The field keeps the chosen item's text,
// or the value at the same place of Values, or (ValueLength > 0) the item's
// first ValueLength characters, e.g. the kind code "1 " of
// "1 -samochód osobowy z katalizatorem". A field value that no item gives
// shows an empty box.
//
// TDBLookupComboBox: the rows of a lookup table. It lists ListField of each
// row ("A;B" lists several fields, shown side by side) and writes the row's
// KeyField into DataField. When DataField is a lookup field, the list, key
// and result come from its lookup definition and the key is written into
// the field that the lookup reads (its KeyFields).
//
// Both write at once when the user picks an item, putting the table into
// edit state first. The list is never moved: the lookup table keeps its
// current record. Both take the focus by a click or Tab, never by the
// wheel passing over them (the application's input hook keeps the wheel
// from changing a closed list).
//
// The lookup list is read when its table, key or listed fields change, and
// again when the list table tells its data sources that its data changed
// (it opened or closed, a record was posted, deleted or cancelled, it was
// refreshed, or it jumped: First, Last, Locate). A step through either
// table reads nothing: the shown item is found by its key in a hash of the
// keys. A change that another component posted to the same file shows once
// the list table refreshes.

#include "DBFieldLink.h"

#include <QComboBox>
#include <QHash>
#include <QStringList>
#include <QVariantList>

namespace kal {

class TDBComboBox : public QComboBox, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget* parent = nullptr);

    const QStringList& Items() const { return m_items; }
    void setItems(const QStringList& items);
    // Stored values in the order of the items (empty: the item texts).
    const QStringList& Values() const { return m_values; }
    void setValues(const QStringList& values);
    // > 0: the field keeps the item's first `length` characters.
    int ValueLength() const { return m_valueLength; }
    void setValueLength(int length);
    void setDropDownCount(int rows) { setMaxVisibleItems(rows); }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // The value that item `index` stores.
    QString valueOf(int index) const;

    void showPopup() override;

private:
    void showField() override;

    QStringList m_items;
    QStringList m_values;
    int m_valueLength = 0;
    bool m_readOnly = false;
};

class TDBLookupComboBox : public QComboBox, public TFieldControl {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);

    // A new field may bring its own lookup definition: the list is read again.
    void setDataField(const QString& fieldName) override;
    TDataSource* ListSource() const { return m_listLink.DataSource(); }
    void setListSource(TDataSource* source);
    const QString& ListField() const { return m_listField; }
    void setListField(const QString& fields);
    const QString& KeyField() const { return m_keyField; }
    void setKeyField(const QString& field);
    int DropDownRows() const { return maxVisibleItems(); }
    void setDropDownRows(int rows) { setMaxVisibleItems(rows); }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    // The key of the shown item (invalid when none).
    QVariant KeyValue() const;

    void showPopup() override;

private:
    class ListLink final : public TDataLink {
    public:
        explicit ListLink(TDBLookupComboBox& box) : m_box(box) {}
        void activeChanged() override { m_box.listChanged(); }
        void dataSetChanged() override { m_box.listChanged(); }
        void dataSetScrolled(int) override {}
        void recordChanged(TField*) override {}

    private:
        TDBLookupComboBox& m_box;
    };

    // What the shown list was read from.
    struct ListShape {
        const TTable* table = nullptr;
        QString key;
        QString fields;
        bool operator==(const ListShape&) const = default;
    };

    TTable* listTable() const;
    QString keyFieldName() const;
    QString listFieldNames() const;
    TField* targetField() const; // the data field that receives the key
    void watchLookupTable();
    void listChanged();
    void fillList();
    void showField() override;
    void picked(int index);

    ListLink m_listLink{*this};
    // The table of a lookup field, watched for changes of the list.
    TDataSource m_lookupSource;
    ListLink m_lookupLink{*this};
    QString m_listField;
    QString m_keyField;
    QVariantList m_keys;
    QHash<QString, int> m_keyIndex; // a key as AsString gives it, without trailing blanks -> first item
    ListShape m_shape;
    bool m_readOnly = false;
    bool m_listDirty = true;
    bool m_filling = false;
};

} // namespace kal
