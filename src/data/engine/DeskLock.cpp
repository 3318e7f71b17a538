#include "data/engine/DeskLock.h"

#include "core/Error.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlErrors.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace {

// The key of the lock among the server's advisory locks: "ZTFI" in ASCII.
const QString kTryLock = QStringLiteral("SELECT CASE WHEN pg_try_advisory_lock(1515472457) THEN 1 ELSE 0 END");
const QString kUnlock = QStringLiteral("SELECT pg_advisory_unlock(1515472457)");

bool tryLock(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(kTryLock))
        throw DatabaseError(sqlErrorText(query.lastError()));
    return query.next() && query.value(0).toInt() == 1;
}

}  // namespace

DeskLock::DeskLock(Connection& connection, int waitMs)
{
    if (connection.engine() != Connection::Engine::PostgreSql)
        return;
    QElapsedTimer waited;
    waited.start();
    while (!tryLock(connection.database())) {
        if (waited.elapsed() >= waitMs)
            throw DatabaseError(busyMessage());
        QThread::msleep(50);
    }
    connection_ = &connection;
}

DeskLock::~DeskLock()
{
    if (!connection_)
        return;
    QSqlQuery query(connection_->database());
    query.exec(kUnlock);  // a lost connection has released it with the session
}

QString DeskLock::busyMessage()
{
    return QStringLiteral("Druga delovna postaja ravno izbira ali generira transakcije. Poskusi znova!");
}
