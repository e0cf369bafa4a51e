#pragma once
// A table file as a program before the current form of stored values left
// it: rows written with the SQLite C API as that program wrote them, string
// values as given (trailing blanks and texts of blanks kept) and order keys
// made from those values, and no mark of the current form (user_version 0).
// The file is made by the engine first; it must not be open in the engine
// while this object lives.
//
// Only for test programs that link the dataset engine (kal_db): it makes the
// keys with the engine's own key routines, which that program used as well.

#include "Storage.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariantMap>

#include <sqlite3.h>

#include <vector>

namespace kal::test {

class OldTableFile {
public:
    explicit OldTableFile(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        exec("PRAGMA user_version=0");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT name, type FROM _kal_fields ORDER BY ord", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            m_fields.push_back({text(st, 0), TFieldType(sqlite3_column_int(st, 1))});
        sqlite3_finalize(st);
        sqlite3_prepare_v2(m_db, "SELECT ord, fields FROM _kal_indexes ORDER BY ord", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            m_indexes.push_back({sqlite3_column_int(st, 0), text(st, 1).split(u';', Qt::SkipEmptyParts)});
        sqlite3_finalize(st);
    }
    ~OldTableFile() { sqlite3_close(m_db); }
    OldTableFile(const OldTableFile&) = delete;
    OldTableFile& operator=(const OldTableFile&) = delete;

    sqlite3* db() const { return m_db; }

    // Writes a row with `values` (by field name; the rest empty) under the
    // next row id, which the autoincrement field takes; returns the row id.
    qint64 add(QVariantMap values)
    {
        qint64 rid = 1;
        {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(m_db, "SELECT max(COALESCE((SELECT max(\"_rid\") FROM data),0),"
                                     " (SELECT hwm FROM _kal_state)) + 1", -1, &st, nullptr);
            if (sqlite3_step(st) == SQLITE_ROW)
                rid = sqlite3_column_int64(st, 0);
            sqlite3_finalize(st);
        }
        QStringList names{QStringLiteral("\"_rid\"")};
        std::vector<QVariant> bound{QVariant(rid)};
        for (const Field& f : m_fields) {
            if (f.type == ftAutoInc) {
                values[f.name] = int(rid);
                continue;
            }
            names << u'"' + f.name + u'"';
            bound.push_back(values.value(f.name));
        }
        for (const Index& ix : m_indexes) {
            QByteArray key;
            for (const QString& name : ix.fields)
                db_detail::appendKeyPart(key, db_detail::fieldKey(typeOf(name), values.value(name)));
            names << QStringLiteral("\"~%1\"").arg(ix.ord);
            bound.push_back(key);
        }
        QStringList marks;
        for (int i = 1; i <= names.size(); ++i)
            marks << QStringLiteral("?%1").arg(i);
        const QByteArray sql =
            QStringLiteral("INSERT INTO data(%1) VALUES(%2)").arg(names.join(u','), marks.join(u',')).toUtf8();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(m_db, sql.constData(), -1, &st, nullptr);
        for (int i = 0; i < int(bound.size()); ++i)
            bind(st, i + 1, bound[size_t(i)]);
        m_lastResult = sqlite3_step(st);
        sqlite3_finalize(st);
        return rid;
    }

    // SQLITE_DONE when the last row was written.
    int lastResult() const { return m_lastResult; }

    void exec(const char* sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    struct Field {
        QString name;
        TFieldType type;
    };
    struct Index {
        int ord;
        QStringList fields;
    };

    static QString text(sqlite3_stmt* st, int i)
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
    }

    TFieldType typeOf(const QString& name) const
    {
        for (const Field& f : m_fields)
            if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                return f.type;
        return ftUnknown;
    }

    static void bind(sqlite3_stmt* st, int i, const QVariant& v)
    {
        if (!v.isValid() || v.isNull()) {
            sqlite3_bind_null(st, i);
        } else if (v.typeId() == QMetaType::QByteArray) {
            const QByteArray b = v.toByteArray();
            sqlite3_bind_blob(st, i, b.isEmpty() ? "" : b.constData(), int(b.size()), SQLITE_TRANSIENT);
        } else if (v.typeId() == QMetaType::QString) {
            const QByteArray b = v.toString().toUtf8();
            sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        } else if (v.typeId() == QMetaType::Double) {
            sqlite3_bind_double(st, i, v.toDouble());
        } else if (v.typeId() == QMetaType::QDate) {
            sqlite3_bind_int64(st, i, v.toDate().toJulianDay());
        } else {
            sqlite3_bind_int64(st, i, v.toLongLong());
        }
    }

    sqlite3* m_db = nullptr;
    std::vector<Field> m_fields;
    std::vector<Index> m_indexes;
    int m_lastResult = SQLITE_OK;
};

} // namespace kal::test
