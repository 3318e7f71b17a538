#pragma once

#include "data/engine/Dialect.h"

#include <QDate>
#include <QString>

class Connection;

// Identifiers of the workstation's own rows that are the largest existing value plus one.
namespace Identifiers {

// The statements, in the form of the dialect. Result columns MaxDpAtvpId, MaxIDImp, MaxZapSt.
QString nextReportIdSql(SqlDialect dialect);
QString nextImportIdSql(SqlDialect dialect);
// Serial number of a report within the calendar year of the given day; reports whose sending
// day DAN is empty do not count.
QString serialNumberSql(const QDate& day, SqlDialect dialect);

// The identifier that the next report (a new selection) carries: DPATVP.DPATVPID.
qint64 nextReportId(Connection& connection, SqlDialect dialect);
// The identifier of the next imported transaction: DPATVPIMP.IDIMP.
qint64 nextImportId(Connection& connection, SqlDialect dialect);
// The serial number DPATVP.ZAPST of a report sent in the year of the given day (today when
// no day is given).
int nextSerialNumber(Connection& connection, SqlDialect dialect, const QDate& day = QDate());

}  // namespace Identifiers
