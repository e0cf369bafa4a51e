#pragma once
// A small schema of the tests' own: a register of towns and a detail table
// of their readings, created in the current (temporary) directory.

#include "Table.h"

#include <QString>
#include <QStringList>

namespace kal::test {

// Miasta.db: Id autoincrement (primary), Nazwa string 12 (unique index
// "PoNazwie"), Kwota float, Data date, Ilosc smallint, Aktywne boolean,
// Uwagi memo.
inline void CreateTowns(const QString& file = QStringLiteral("Miasta.db"))
{
    TTable t;
    t.setTableName(file);
    t.FieldDefs().Add(QStringLiteral("Id"), ftAutoInc);
    t.FieldDefs().Add(QStringLiteral("Nazwa"), ftString, 12);
    t.FieldDefs().Add(QStringLiteral("Kwota"), ftFloat);
    t.FieldDefs().Add(QStringLiteral("Data"), ftDate);
    t.FieldDefs().Add(QStringLiteral("Ilosc"), ftSmallint);
    t.FieldDefs().Add(QStringLiteral("Aktywne"), ftBoolean);
    t.FieldDefs().Add(QStringLiteral("Uwagi"), ftMemo);
    t.IndexDefs().Add(QString(), QStringLiteral("Id"), ixPrimary | ixUnique);
    t.IndexDefs().Add(QStringLiteral("PoNazwie"), QStringLiteral("Nazwa"), ixUnique);
    t.CreateTable();
}

// Odczyty.db: Nr autoincrement, IdMiasta integer, Data date, Wartosc float,
// with the primary index IdMiasta;Data;Nr.
inline void CreateReadings(const QString& file = QStringLiteral("Odczyty.db"))
{
    TTable t;
    t.setTableName(file);
    t.FieldDefs().Add(QStringLiteral("Nr"), ftAutoInc);
    t.FieldDefs().Add(QStringLiteral("IdMiasta"), ftInteger);
    t.FieldDefs().Add(QStringLiteral("Data"), ftDate);
    t.FieldDefs().Add(QStringLiteral("Wartosc"), ftFloat);
    t.IndexDefs().Add(QString(), QStringLiteral("IdMiasta;Data;Nr"), ixPrimary | ixUnique);
    t.CreateTable();
}

// The town table component with its persistent fields.
struct Towns {
    TTable T{QStringLiteral("TMiasta")};
    TField* Id;
    TField* Nazwa;
    TField* Kwota;
    TField* Data;
    TField* Ilosc;
    TField* Aktywne;
    TField* Uwagi;

    explicit Towns(const QString& file = QStringLiteral("Miasta.db"))
    {
        T.setTableName(file);
        Id = T.AddField(QStringLiteral("Id"), ftAutoInc);
        Nazwa = T.AddField(QStringLiteral("Nazwa"), ftString, 12);
        Kwota = T.AddField(QStringLiteral("Kwota"), ftFloat);
        Data = T.AddField(QStringLiteral("Data"), ftDate);
        Ilosc = T.AddField(QStringLiteral("Ilosc"), ftSmallint);
        Aktywne = T.AddField(QStringLiteral("Aktywne"), ftBoolean);
        Uwagi = T.AddField(QStringLiteral("Uwagi"), ftMemo);
    }

    void add(const QString& name, double amount = 0.0)
    {
        T.Append();
        Nazwa->setAsString(name);
        Kwota->setAsFloat(amount);
        T.Post();
    }

    QStringList names()
    {
        QStringList out;
        for (T.First(); !T.Eof(); T.Next())
            out << Nazwa->AsString();
        return out;
    }
};

// The readings table component with its persistent fields.
struct Readings {
    TTable T{QStringLiteral("TOdczyty")};
    TField* Nr = T.AddField(QStringLiteral("Nr"), ftAutoInc);
    TField* IdMiasta = T.AddField(QStringLiteral("IdMiasta"), ftInteger);
    TField* Data = T.AddField(QStringLiteral("Data"), ftDate);
    TField* Wartosc = T.AddField(QStringLiteral("Wartosc"), ftFloat);

    explicit Readings(const QString& file = QStringLiteral("Odczyty.db")) { T.setTableName(file); }

    void add(int town, double value)
    {
        T.Append();
        IdMiasta->setAsInteger(town);
        Wartosc->setAsFloat(value);
        T.Post();
    }

    QStringList values()
    {
        QStringList out;
        for (T.First(); !T.Eof(); T.Next())
            out << Wartosc->AsString();
        return out;
    }
};

} // namespace kal::test
