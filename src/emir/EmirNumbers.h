#pragma once

#include "data/engine/Dialect.h"

#include <QtGlobal>

class Connection;

// The numbers of new EMIR rows: identifiers from the sequences of the tables "EMIRPOROCILO" and
// "EMIRPOSEL" (field "ID"), and the serial number of a new report, the greatest of the table
// plus 1 (1 for an empty table). The serial is read inside the transaction that inserts the
// report: on a server the desks take it one at a time (TransactionLock) until that transaction
// ends, so no two reports share a serial.
namespace EmirNumbers {

qint64 nextReportId(Connection& connection, SqlDialect dialect);
qint64 nextDisputeId(Connection& connection, SqlDialect dialect);
int nextSerial(Connection& connection);
// "Druga delovna postaja ravno dodaja poročilo EMIR. Poskusi znova!"
QString serialBusyMessage();

}  // namespace EmirNumbers
