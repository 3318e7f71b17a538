#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <memory>

class TDMLB;

// The one database connection of the program: the embedded SQLite engine (with the Oracle
// compatibility functions) or a server reached through ODBC: the firm's Oracle or DB2, or a
// PostgreSQL server with the orafce extension. Errors are thrown as DatabaseError.
class Connection {
public:
    // PostgreSql is reached through ODBC too; it runs the Oracle dialect after its own rewriting.
    enum class Engine { Sqlite, Odbc, PostgreSql };

    // Opens the database that the alias names: an entry of programFolder/aliases.ini, else the
    // file programFolder/<ALIAS>.sqlite. A missing database file is an error naming the file.
    static std::unique_ptr<Connection> open(const QString& programFolder, const QString& alias,
                                            const QString& user, const QString& password);
    // The same, with the prepared parameters of the data module.
    static std::unique_ptr<Connection> open(const TDMLB& dataModule);

    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QSqlDatabase database() const;
    Engine engine() const { return engine_; }
    // The driver of the connection ("QSQLITE", "QODBC").
    QString driverName() const;
    // Every engine this program runs on is an SQL server (no file-based tables).
    bool isSqlServer() const { return true; }

    // Makes a statement of the Oracle dialect fit for the engine (the embedded engine and
    // PostgreSQL rewrite the few constructs they lack); unchanged for Oracle and DB2 servers.
    QString prepareSql(const QString& sql) const;
    // A date, date-time or time of day as the engine stores it (REAL days since 30.12.1899 in
    // the embedded engine, a null date as a null REAL); other values unchanged.
    QVariant toEngineValue(const QVariant& value) const;

    // Throw DatabaseError with the driver's text. Rolling back when no transaction is open does
    // nothing, so a step whose start failed can still roll back in its error path.
    void startTransaction();
    // A transaction that is to write: on the embedded engine the database's write lock is taken
    // at its start (BEGIN IMMEDIATE), so what it reads stays true until its commit; another
    // writer's lock is waited for up to waitMs. Other engines start a plain transaction.
    void startWriteTransaction(int waitMs = 120000);
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    // A trial: from beginTrial to endTrial everything runs in one write transaction that
    // endTrial rolls back, so nothing of it stays. A transaction started meanwhile is a savepoint
    // in it: its commit releases the savepoint, its rollback returns to it; a rollback with no
    // savepoint open leaves the rest to endTrial.
    void beginTrial();
    void endTrial();

private:
    Connection(const QString& connectionName, Engine engine);

    void savepoint();

    QString connectionName_;
    Engine engine_;
    bool inTransaction_ = false;
    bool trial_ = false;
    int savepoints_ = 0;
};
