#pragma once

#include <QString>

// How long a desk waits for a database server, so that a silent server fails the action with
// its message instead of holding the desk (or a cron run) forever:
// - signing in: 10 s, unless the connection string names its own time (connect_timeout of
//   PostgreSQL's pqopt, or LoginTimeout);
// - a connection that breaks while the desk waits for an answer: TCP keep-alive probes after
//   30 s of silence, every 10 s, unless the connection string names its own (KeepaliveTime,
//   KeepaliveInterval; PostgreSQL connection strings only);
// - one statement on PostgreSQL: StatementTimeout of the alias's aliases.ini entry (seconds,
//   default 600, far above the longest statement of a day and the two-minute wait for another
//   desk's lock); the server cancels a statement that runs or waits longer.
namespace ServerTimeouts {

constexpr int kConnectSeconds = 10;
constexpr int kStatementSeconds = 600;

// The connect options of Qt's ODBC driver for the connection string.
QString connectOptions(const QString& connection);
// The PostgreSQL connection string with the keep-alive settings; a bare data source name (no
// "DRIVER=" or "SERVER=") stays as it is.
QString withKeepalive(const QString& connection);

}  // namespace ServerTimeouts
