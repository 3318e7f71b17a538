#include "data/SequenceReader.h"

#include "core/Error.h"
#include "data/engine/Connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
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

QString SequenceReader::blockStatement(const QString& table, const QString& field, int count)
{
    return QStringLiteral("WITH RECURSIVE N (I) AS (SELECT 1 FROM dual UNION ALL SELECT I + 1 FROM N WHERE I < %1) "
                          "SELECT %2.NEXTVAL AS NewId FROM N")
        .arg(count)
        .arg(sequenceName(table, field));
}

QString SequenceReader::embeddedBlockStatement(const QString& table, const QString& field, int count)
{
    return QStringLiteral("SELECT ztfi_nextval('%1', %2) AS NewId").arg(sequenceName(table, field)).arg(count);
}

// Column NewId of every row of the statement (at least one); the statement is prepared unless
// it is the one kept from the read before, and is reset after the read.
QVariantList SequenceReader::read(const QString& sql) const
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
    QVariantList values;
    while (query.next())
        values.append(query.value(index));
    if (query.lastError().isValid())
        throw DatabaseError(errorText(query.lastError()));
    if (values.isEmpty())
        throw DatabaseError(QStringLiteral("The statement returned no row"));
    query.finish();
    // A server may drop its prepared statements at a commit: only the embedded engine keeps one.
    if (connection_.engine() != Connection::Engine::Sqlite)
        prepared_.reset();
    return values;
}

qint64 SequenceReader::next(const QString& table, const QString& field) const
{
    return values(table, field, statement(table, field, dialect_), 1).first();
}

QList<qint64> SequenceReader::next(const QString& table, const QString& field, int count) const
{
    const Connection::Engine engine = connection_.engine();
    if (count == 1 || (engine != Connection::Engine::Sqlite && engine != Connection::Engine::PostgreSql)) {
        QList<qint64> ids;
        for (int i = 0; i < count; ++i)
            ids.append(next(table, field));
        return ids;
    }
    if (engine == Connection::Engine::Sqlite) {
        // The sequence's row advances by the whole block in one update, which gives the last value.
        const qint64 last = values(table, field, embeddedBlockStatement(table, field, count), 1).first();
        QList<qint64> ids;
        ids.reserve(count);
        for (qint64 id = last - count + 1; id <= last; ++id)
            ids.append(id);
        return ids;
    }
    QList<qint64> ids = values(table, field, blockStatement(table, field, count), count);
    // The rows may come in any order; the values were handed out ascending.
    std::sort(ids.begin(), ids.end());
    return ids;
}

QList<qint64> SequenceReader::values(const QString& table, const QString& field, const QString& sql,
                                     int count) const
{
    const auto failure = [&](const QString& kind, const QString& message) {
        return ZtfiError(kind + QStringLiteral(": napaka pri sekvenci ") + table + QStringLiteral("_")
                         + field + QStringLiteral("_SEQ. Sporočilo: ") + message);
    };
    try {
        const QVariantList read = this->read(sql);
        if (read.size() != count)
            throw DatabaseError(QStringLiteral("The statement returned %1 rows instead of %2").arg(read.size()).arg(count));
        QList<qint64> ids;
        for (const QVariant& value : read) {
            bool ok = false;
            ids.append(value.toLongLong(&ok));
            if (!ok)
                throw ZtfiError(QStringLiteral("'%1' is not a valid integer value").arg(value.toString()),
                                QStringLiteral("EConvertError"));
        }
        return ids;
    } catch (const ZtfiError& error) {
        prepared_.reset();
        throw failure(error.className(), error.message());
    } catch (const std::exception& error) {
        prepared_.reset();
        throw failure(QStringLiteral("Exception"), QString::fromLocal8Bit(error.what()));
    }
}
