#include "data/engine/Connection.h"

#include "core/Error.h"
#include "data/engine/AliasResolver.h"
#include "data/engine/Dialect.h"
#include "data/engine/EmbeddedUpgrade.h"
#include "data/engine/OleDate.h"
#include "data/engine/ServerTimeouts.h"
#include "data/engine/SqlErrors.h"
#include "data/engine/SqliteCompat.h"
#include "data/engine/SqlRewrite.h"
#include "data/engine/TDMLB.h"

#include <QAtomicInteger>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimeZone>

#include <sqlite3.h>

namespace {

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("ztfi_connection_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

// A failed COMMIT or ROLLBACK of SQLite may still have ended the transaction (the engine rolls
// back by itself on some errors); other drivers cannot tell.
bool transactionStillOpen(const QSqlDatabase& db)
{
    sqlite3* handle = SqliteCompat::handle(db);
    return !handle || sqlite3_get_autocommit(handle) == 0;
}

void execSessionStatement(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        throw DatabaseError(sqlErrorText(query.lastError()) + QStringLiteral(" (") + sql + u')');
}

// What the statements rely on in a PostgreSQL session: an end to a statement that the server
// cannot finish (ServerTimeouts), orafce's Oracle functions and types
// (its DATE with the time of day) before the built-in ones, dates written day first, and the
// workstation's time zone for the current date and time (its present offset from UTC when the
// server does not know the zone's name). No merge joins: right after a selection has written its
// rows, the server's statistics (which a desk cannot refresh: ANALYZE is for the tables' owner)
// still count the new set as a row or two, and a merge join that expects to stop after those
// rows joins every trade of the day to every override row by the row instead; without merge
// joins the report rows are read from the selected rows by their keys whatever the statistics
// say. Every run of a prepared statement is planned for the tables as they are then: a statement
// run for every set of rows of an import or a selection, over a table that grows inside the one
// transaction, would otherwise keep the plan made while the table was small (a scan of the whole
// table for each set). No compiling of statements to machine code (JIT): a desk's large
// statements are read once, and for the code list of a 100,000-trade day the compiling took 4 s
// of a statement that runs in half a second without it.
void preparePostgresSession(QSqlDatabase& db, int statementTimeout)
{
    QSqlQuery query(db);
    execSessionStatement(query, QStringLiteral("SET statement_timeout = %1").arg(qint64(statementTimeout) * 1000));
    execSessionStatement(query, QStringLiteral("SET enable_mergejoin = off"));
    execSessionStatement(query, QStringLiteral("SET plan_cache_mode = force_custom_plan"));
    execSessionStatement(query, QStringLiteral("SET jit = off"));
    execSessionStatement(query, QStringLiteral("SET search_path TO oracle, pg_catalog, public"));
    execSessionStatement(query, QStringLiteral("SET DateStyle = 'ISO, DMY'"));
    const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    if (zone.isEmpty() || !query.exec(QStringLiteral("SET TimeZone = ") + sqlStringLiteral(zone))) {
        const int minutes = QDateTime::currentDateTime().offsetFromUtc() / 60;
        execSessionStatement(query, QStringLiteral("SET TimeZone = INTERVAL '%1%2:%3' HOUR TO MINUTE")
                                        .arg(minutes < 0 ? u'-' : u'+')
                                        .arg(qAbs(minutes) / 60, 2, 10, QLatin1Char('0'))
                                        .arg(qAbs(minutes) % 60, 2, 10, QLatin1Char('0')));
    }
}

QString driverOf(Connection::Engine engine)
{
    return engine == Connection::Engine::Sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QODBC");
}

}  // namespace

std::unique_ptr<Connection> Connection::open(const QString& programFolder, const QString& alias,
                                             const QString& user, const QString& password)
{
    const AliasTarget target = AliasResolver::resolve(programFolder, alias);
    std::unique_ptr<Connection> connection(new Connection(nextConnectionName(), target.engine));
    QSqlDatabase db = QSqlDatabase::addDatabase(driverOf(target.engine), connection->connectionName_);
    if (target.engine == Engine::Sqlite) {
        db.setDatabaseName(target.database);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db.setDatabaseName(target.engine == Engine::PostgreSql ? ServerTimeouts::withKeepalive(target.database)
                                                               : target.database);
        db.setConnectOptions(ServerTimeouts::connectOptions(target.database));
        db.setUserName(user);
        db.setPassword(password);
    }
    if (!db.open())
        throw DatabaseError(sqlErrorText(db.lastError()));
    if (target.engine == Engine::Sqlite) {
        SqliteCompat::install(db);
        EmbeddedUpgrade::apply(db);
    } else if (target.engine == Engine::PostgreSql)
        preparePostgresSession(db, target.statementTimeout);
    return connection;
}

std::unique_ptr<Connection> Connection::open(const TDMLB& dataModule)
{
    return open(dataModule.programFolder(), dataModule.databaseName(), dataModule.params().user,
                dataModule.params().password);
}

Connection::Connection(const QString& connectionName, Engine engine)
    : connectionName_(connectionName), engine_(engine)
{
}

Connection::~Connection()
{
    {
        QSqlDatabase db = database();
        if (db.isOpen()) {
            if (inTransaction_)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(connectionName_, false);
}

QString Connection::driverName() const
{
    return database().driverName();
}

QString Connection::prepareSql(const QString& sql) const
{
    switch (engine_) {
    case Engine::Sqlite: return SqlRewrite::forSqlite(sql);
    case Engine::PostgreSql: return SqlRewrite::forPostgres(sql);
    case Engine::Odbc: break;
    }
    return sql;
}

QVariant Connection::toEngineValue(const QVariant& value) const
{
    if (engine_ != Engine::Sqlite)
        return value;
    const QVariant nullReal(QMetaType::fromType<double>());
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().isValid() ? QVariant(OleDate::fromDate(value.toDate())) : nullReal;
    case QMetaType::QDateTime:
        return value.toDateTime().isValid() ? QVariant(OleDate::fromDateTime(value.toDateTime()))
                                            : nullReal;
    case QMetaType::QTime:
        return value.toTime().isValid() ? QVariant(OleDate::fromTime(value.toTime())) : nullReal;
    default:
        return value;
    }
}

void Connection::startTransaction()
{
    if (trial_) {
        savepoint();
        return;
    }
    QSqlDatabase db = database();
    if (!db.transaction())
        throw DatabaseError(db.lastError().text());
    inTransaction_ = true;
}

void Connection::startWriteTransaction(int waitMs)
{
    if (trial_) {
        savepoint();
        return;
    }
    if (engine_ != Engine::Sqlite) {
        startTransaction();
        return;
    }
    QSqlDatabase db = database();
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery begin(db);
        if (begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            inTransaction_ = true;
            return;
        }
        const bool busy = begin.lastError().nativeErrorCode() == QString::number(SQLITE_BUSY);
        if (!busy || waited.elapsed() >= waitMs)
            throw DatabaseError(sqlErrorText(begin.lastError()));
        QThread::msleep(50);
    }
}

void Connection::commit()
{
    if (trial_) {
        if (savepoints_ == 0)
            throw DatabaseError(QStringLiteral("Connection::commit: no transaction is open"));
        QSqlQuery release(database());
        if (!release.exec(QStringLiteral("RELEASE SAVEPOINT ztfi_step%1").arg(savepoints_)))
            throw DatabaseError(sqlErrorText(release.lastError()));
        --savepoints_;
        return;
    }
    QSqlDatabase db = database();
    if (!db.commit()) {
        inTransaction_ = transactionStillOpen(db);
        throw DatabaseError(db.lastError().text());
    }
    inTransaction_ = false;
}

void Connection::rollback()
{
    if (trial_) {
        if (savepoints_ == 0)
            return;
        QSqlQuery back(database());
        const QString name = QStringLiteral("ztfi_step%1").arg(savepoints_);
        if (!back.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + name)
            || !back.exec(QStringLiteral("RELEASE SAVEPOINT ") + name))
            throw DatabaseError(sqlErrorText(back.lastError()));
        --savepoints_;
        return;
    }
    if (!inTransaction_)
        return;
    QSqlDatabase db = database();
    if (!db.rollback() && transactionStillOpen(db))
        throw DatabaseError(db.lastError().text());
    inTransaction_ = false;
}

void Connection::savepoint()
{
    QSqlQuery start(database());
    if (!start.exec(QStringLiteral("SAVEPOINT ztfi_step%1").arg(savepoints_ + 1)))
        throw DatabaseError(sqlErrorText(start.lastError()));
    ++savepoints_;
}

void Connection::beginTrial()
{
    if (inTransaction_)
        throw DatabaseError(QStringLiteral("Connection::beginTrial: a transaction is open"));
    startWriteTransaction();
    trial_ = true;
    savepoints_ = 0;
}

void Connection::endTrial()
{
    if (!trial_)
        return;
    trial_ = false;
    savepoints_ = 0;
    rollback();
}
