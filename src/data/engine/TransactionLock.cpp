#include "data/engine/TransactionLock.h"

#include "core/Error.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlErrors.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace TransactionLock {

void take(Connection& connection, qint64 key, const QString& busyMessage, int waitMs)
{
    if (connection.engine() != Connection::Engine::PostgreSql)
        return;
    if (!connection.inTransaction())
        throw DatabaseError(QStringLiteral("TransactionLock: no transaction is open"));
    const QString sql =
        QStringLiteral("SELECT CASE WHEN pg_try_advisory_xact_lock(%1) THEN 1 ELSE 0 END").arg(key);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery query(connection.database());
        if (!query.exec(sql))
            throw DatabaseError(sqlErrorText(query.lastError()));
        if (query.next() && query.value(0).toInt() == 1)
            return;
        if (waited.elapsed() >= waitMs)
            throw DatabaseError(busyMessage);
        QThread::msleep(50);
    }
}

}  // namespace TransactionLock
