#pragma once

#include <QList>
#include <QString>

class Connection;

// The pending selection: the sets of selected rows (DPATVPPSL) whose identifier no report row
// (DPATVP) carries yet. The statements of the selection name them by the condition
// "dpatvpid not in (select DPATVPID from DPATVP)", which an engine can only answer by reading
// every selected row of the firm's history. The identifiers are found here by stepping through
// the distinct set identifiers along the table's key, one look-up per set, and the condition is
// then given as the list of those identifiers: the same rows at the cost of the day's.
namespace PendingSets {

// The identifiers of the pending sets, ascending.
QList<qint64> ids(Connection& connection);

// The statement with every condition "[alias.]dpatvpid not in (select DPATVPID from DPATVP)"
// (any case and spacing) replaced by "[alias.]dpatvpid in (id, ...)", or by "[alias.]dpatvpid
// is null" (a key column: no row) when nothing is pending.
QString narrowed(const QString& sql, const QList<qint64>& ids);
QStringList narrowed(const QStringList& lines, const QList<qint64>& ids);

}  // namespace PendingSets
