#pragma once
// SQLite's own integrity check of a file, as `sqlite3 FILE "PRAGMA
// integrity_check"` prints it ("ok" for a whole file). The file must not be
// held open by the engine (it holds its files alone).

#include <QString>
#include <QStringList>

#include <sqlite3.h>

namespace kal::test {

inline QString IntegrityCheck(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    QStringList result;
    while (sqlite3_step(st) == SQLITE_ROW)
        result << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return result.join(u'\n');
}

} // namespace kal::test
