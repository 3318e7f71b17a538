#pragma once

#include <QSqlDatabase>

struct sqlite3;

// The Oracle compatibility of the embedded engine, installed on every SQLite connection:
// - functions NVL, YEAR, MOD, TRUNC (one and two arguments), TO_DATE, TO_CHAR (one and two
//   arguments), ztfi_current_date() (now), ztfi_current_day() (today), ztfi_nextval(name) and
//   ztfi_nextval(name, count) (advances by count values, gives the last);
//   dates are REAL day numbers (see OleDate);
// - sequences: rows of the table ztfi_sequence(name, value) holding the last value handed out;
//   ztfi_nextval increments the row from inside the running statement and fails with
//   "sequence <name> does not exist" for an unknown name; the statement that increments it
//   stays prepared with the connection;
// - the one-row tables dual (DUMMY 'X') and SYSIBM.SYSDUMMY1 (IBMREQD 'Y').
namespace SqliteCompat {

// The native handle of an open QSQLITE connection; nullptr for any other connection.
sqlite3* handle(const QSqlDatabase& db);

// Registers the functions and creates the tables that are missing. Throws DatabaseError.
void install(const QSqlDatabase& db);

}  // namespace SqliteCompat
