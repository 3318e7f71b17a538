#pragma once

#include <QString>
#include <QtGlobal>

class Connection;

// One kind of write at a time among the desks of one PostgreSQL server, for writes that number
// their rows by the largest number plus one: the lock is taken inside the writing transaction,
// before the number is read, and the server releases it when that transaction commits or rolls
// back, so the next desk reads the number that this one wrote. A desk that finds it taken waits
// up to `waitMs`, then DatabaseError(busyMessage) ends its step. Other engines take no lock
// (the embedded engine writes one transaction at a time).
namespace TransactionLock {

void take(Connection& connection, qint64 key, const QString& busyMessage, int waitMs = 120000);

}  // namespace TransactionLock
