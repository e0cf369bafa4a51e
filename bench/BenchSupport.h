#pragma once
// What the benchmarks share: filling table files fast (rows written straight
// into a file through the engine's storage, in one transaction, not
// measured) and the settings of the engine's own connection, which the plain
// SQLite side of a comparison takes over.

#include "Storage.h"
#include "Table.h"

#include <sqlite3.h>

#include <QDir>
#include <QByteArray>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace kal::bench {

// Appends `rows` rows to a table file in one transaction; `wartosc` gives the
// value of a named field of row i (an invalid QVariant leaves it empty).
inline void wypelnij(const QString& plik, int rows, const std::function<QVariant(int, const QString&)>& wartosc)
{
    using namespace kal::db_detail;
    // The file's own connection when a component has it open.
    auto f = DbFile::open(QDir::cleanPath(QDir::current().absoluteFilePath(plik)), plik);
    const std::vector<Column>& kolumny = f->columns();
    f->begin();
    qint64 rid = f->nextRowid();
    Stmt& s = f->insertStmt();
    std::vector<QVariant> wiersz(kolumny.size());
    for (int i = 0; i < rows; ++i, ++rid) {
        for (size_t c = 0; c < kolumny.size(); ++c) {
            const Column& k = kolumny[c];
            wiersz[c] = k.type == kal::ftAutoInc ? QVariant(int(rid))
                                                 : toFieldValue(k.type, k.size, wartosc(i, k.name), k.name);
        }
        s.bindInt(1, rid);
        int n = 2;
        for (size_t c = 0; c < kolumny.size(); ++c)
            if (kolumny[c].type != kal::ftAutoInc)
                s.bindValue(n++, kolumny[c].type, wiersz[c]);
        for (const IndexInfo& ix : f->indexes())
            s.bindBlob(n++, f->indexKey(ix, wiersz));
        s.step();
        s.reset();
    }
    f->commit();
    f->bumpChange();
}

// A fixed pseudo-random number of row i and field salt s, below n.
inline int los(int i, int s, int n)
{
    quint64 x = quint64(i) * 0x9E3779B97F4A7C15ULL + quint64(s) * 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 31;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 29;
    return int(x % quint64(n));
}

// The settings of the engine's connection to `file` (opened here when no
// component has it open), as statements that give a plain connection the same.
inline QByteArray enginePragmas(const QString& file)
{
    TTable t;
    t.setTableName(file);
    t.Open();
    auto f = db_detail::DbFile::open(QDir::cleanPath(QDir::current().absoluteFilePath(file)), file);
    QByteArray out;
    for (const char* name : {"locking_mode", "journal_mode", "synchronous", "wal_autocheckpoint", "mmap_size",
                             "cache_size", "temp_store"}) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(f->db(), QByteArray("PRAGMA ").append(name).constData(), -1, &s, nullptr);
        if (sqlite3_step(s) == SQLITE_ROW)
            out += QByteArray("PRAGMA ") + name + "=" + reinterpret_cast<const char*>(sqlite3_column_text(s, 0)) + ";";
        sqlite3_finalize(s);
    }
    return out;
}

} // namespace kal::bench
