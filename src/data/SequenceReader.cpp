#include "data/SequenceReader.h"

#include "core/Error.h"
#include "data/engine/Connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <exception>

namespace {

QString sequenceName(const QString& table, const QString& field)
{
    return table + QLatin1Char('_') + field + QStringLiteral("_SEQ");
}

QString errorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

}  // namespace

SequenceReader::SequenceReader(Connection& connection, SqlDialect dialect)
    : connection_(connection), dialect_(dialect)
{
}

SequenceReader::~SequenceReader() = default;

QString SequenceReader::statement(const QString& table, const QString& field, SqlDialect dialect)
{
    if (dialect == SqlDialect::Db2)
        return QStringLiteral("SELECT NEXTVAL FOR ") + table + QStringLiteral("_") + field
            + QStringLiteral("_SEQ AS NewId FROM SYSIBM.SYSDUMMY1");
    return QStringLiteral("SELECT ") + sequenceName(table, field)
        + QStringLiteral(".NEXTVAL AS NewId FROM dual");
}

// Column NewId of the statement's one row; the statement is prepared unless it is the one
// kept from the read before, and is reset after the read.
QVariant SequenceReader::read(const QString& sql) const
{
    if (!prepared_ || preparedSql_ != sql) {
        prepared_.reset();
        auto query = std::make_unique<QSqlQuery>(connection_.database());
        query->setForwardOnly(true);
        if (!query->prepare(connection_.prepareSql(sql)))
            throw DatabaseError(errorText(query->lastError()));
        prepared_ = std::move(query);
        preparedSql_ = sql;
    }
    QSqlQuery& query = *prepared_;
    if (!query.exec())
        throw DatabaseError(errorText(query.lastError()));
    const int index = query.record().indexOf(QStringLiteral("NewId"));
    if (index < 0)
        throw DatabaseError(QStringLiteral("Field 'NewId' not found"));
    if (!query.next()) {
        if (query.lastError().isValid())
            throw DatabaseError(errorText(query.lastError()));
        throw DatabaseError(QStringLiteral("The statement returned no row"));
    }
    const QVariant value = query.value(index);
    query.finish();
    // A server may drop its prepared statements at a commit: only the embedded engine keeps one.
    if (connection_.engine() != Connection::Engine::Sqlite)
        prepared_.reset();
    return value;
}

qint64 SequenceReader::next(const QString& table, const QString& field) const
{
    const auto failure = [&](const QString& kind, const QString& message) {
        return ZtfiError(kind + QStringLiteral(": napaka pri sekvenci ") + table + QStringLiteral("_")
                         + field + QStringLiteral("_SEQ. Sporočilo: ") + message);
    };
    try {
        const QVariant value = read(statement(table, field, dialect_));
        bool ok = false;
        const qint64 id = value.toLongLong(&ok);
        if (!ok)
            throw ZtfiError(QStringLiteral("'%1' is not a valid integer value").arg(value.toString()),
                            QStringLiteral("EConvertError"));
        return id;
    } catch (const ZtfiError& error) {
        prepared_.reset();
        throw failure(error.className(), error.message());
    } catch (const std::exception& error) {
        prepared_.reset();
        throw failure(QStringLiteral("Exception"), QString::fromLocal8Bit(error.what()));
    }
}
