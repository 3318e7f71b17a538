#include "support/QueryPlan.h"

#include "data/engine/Connection.h"
#include "data/engine/SqliteCompat.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

QStringList queryPlan(Connection& connection, const QString& sql)
{
    QStringList steps;
    sqlite3* db = SqliteCompat::handle(connection.database());
    if (!db) {
        ADD_FAILURE() << "not a connection of the embedded engine";
        return steps;
    }
    const QByteArray text = (QStringLiteral("EXPLAIN QUERY PLAN ") + connection.prepareSql(sql)).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db);
        sqlite3_finalize(stmt);
        return steps;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW)
        steps << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
    sqlite3_finalize(stmt);
    return steps;
}
