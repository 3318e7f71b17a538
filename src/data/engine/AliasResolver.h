#pragma once

#include "data/engine/Connection.h"
#include "data/engine/ServerTimeouts.h"

#include <QString>

// Where an alias leads. The program folder may hold aliases.ini with a section per alias
// (names without regard to case):
//   [ZTFI]                         [PROD]                  [TEST]
//   Driver=SQLITE                  Driver=ODBC             Driver=ODBC
//   Database=data/ztfi.sqlite      DSN=ztfi_prod           ConnectionString=DRIVER={...};...
// A relative Database is taken from the program folder; an ODBC entry without DSN or
// ConnectionString uses the alias as the data source name. An ODBC entry may name its server:
// Server=PostgreSQL (a PostgreSQL server with orafce), else the Oracle or DB2 of the dialect
// (Server=Oracle and Server=DB2 say so explicitly), and StatementTimeout=<seconds> (a
// PostgreSQL server's time for one statement, ServerTimeouts). Without an entry the alias names
// the file <ALIAS>.sqlite in the program folder.
struct AliasTarget {
    Connection::Engine engine = Connection::Engine::Sqlite;
    // The SQLite file (absolute path) or the ODBC data source name or connection string.
    QString database;
    // StatementTimeout of the entry: how long a server may take for one statement (seconds).
    int statementTimeout = ServerTimeouts::kStatementSeconds;
};

namespace AliasResolver {

// Throws DatabaseError when the SQLite file does not exist (naming the file; an empty database
// is never created in its place) or when the entry names an unknown driver or server.
AliasTarget resolve(const QString& programFolder, const QString& alias);

}  // namespace AliasResolver
