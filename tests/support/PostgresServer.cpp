#include "support/PostgresServer.h"

#include "core/Error.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// Runs a statement on the server's maintenance database "postgres".
void administer(const QString& sql)
{
    const QString name = QStringLiteral("ztfi_pg_admin");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(PostgresServer::connectionString(QStringLiteral("postgres")));
        db.setUserName(PostgresServer::user());
        db.setPassword(PostgresServer::password());
        if (!db.open())
            throw DatabaseError(db.lastError().text());
        QSqlQuery query(db);
        if (!query.exec(sql))
            throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

bool PostgresServer::available()
{
    return !qEnvironmentVariableIsEmpty("ZTFI_PG_CONNECTION");
}

QString PostgresServer::user()
{
    return qEnvironmentVariable("ZTFI_PG_USER");
}

QString PostgresServer::password()
{
    return qEnvironmentVariable("ZTFI_PG_PASSWORD");
}

QString PostgresServer::connectionString(const QString& database)
{
    return qEnvironmentVariable("ZTFI_PG_CONNECTION") + QStringLiteral("Database=") + database
        + QLatin1Char(';');
}

PostgresDatabase::PostgresDatabase()
{
    static QAtomicInteger<int> counter;
    name_ = QStringLiteral("ztfi_test_%1_%2")
                .arg(QCoreApplication::applicationPid())
                .arg(counter.fetchAndAddRelaxed(1) + 1);
    // Copied as files: for a template of a few megabytes faster than through the write-ahead log.
    administer(QStringLiteral("CREATE DATABASE %1 TEMPLATE ztfi_template STRATEGY FILE_COPY").arg(name_));
}

PostgresDatabase::~PostgresDatabase()
{
    try {
        administer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
    } catch (const DatabaseError&) {
        // the server is gone with its databases
    }
}

QString PostgresDatabase::aliasEntry(const QString& alias) const
{
    return QStringLiteral("[%1]\nDriver=ODBC\nServer=PostgreSQL\nConnectionString=%2\n")
        .arg(alias, connectionString());
}
