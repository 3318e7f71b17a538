#pragma once

#include <QString>

// The throwaway PostgreSQL server that scripts/postgres-server starts for the server tests,
// known from the environment it exports (ZTFI_PG_CONNECTION, ZTFI_PG_USER, ZTFI_PG_PASSWORD).
// Without it there is no server, and the server tests skip.
class PostgresServer {
public:
    static bool available();
    static QString user();
    static QString password();
    // The ODBC connection string of one database of the server.
    static QString connectionString(const QString& database);
};

// A fresh database of the throwaway server, copied from its template (orafce and the DDL of
// schema/postgresql, no rows), dropped again on destruction.
class PostgresDatabase {
public:
    PostgresDatabase();
    ~PostgresDatabase();
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    QString name() const { return name_; }
    QString connectionString() const { return PostgresServer::connectionString(name_); }
    // An aliases.ini entry that leads the alias to this database.
    QString aliasEntry(const QString& alias) const;

private:
    QString name_;
};
