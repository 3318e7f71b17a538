#include "data/SequenceReader.h"

#include "app/Error.h"
#include "data/ScalarQuery.h"

#include <exception>

namespace {

QString sequenceName(const QString& table, const QString& field)
{
    return table + QLatin1Char('_') + field + QStringLiteral("_SEQ");
}

}  // namespace

SequenceReader::SequenceReader(Connection& connection, SqlDialect dialect)
    : connection_(connection), dialect_(dialect)
{
}

QString SequenceReader::statement(const QString& table, const QString& field, SqlDialect dialect)
{
    if (dialect == SqlDialect::Db2)
        return QStringLiteral("SELECT NEXTVAL FOR ") + table + QStringLiteral("_") + field
            + QStringLiteral("_SEQ AS NewId FROM SYSIBM.SYSDUMMY1");
    return QStringLiteral("SELECT ") + sequenceName(table, field)
        + QStringLiteral(".NEXTVAL AS NewId FROM dual");
}

qint64 SequenceReader::next(const QString& table, const QString& field) const
{
    const auto failure = [&](const QString& kind, const QString& message) {
        return ZtfiError(kind + QStringLiteral(": napaka pri sekvenci ") + table + QStringLiteral("_")
                         + field + QStringLiteral("_SEQ. Sporočilo: ") + message);
    };
    try {
        const QVariant value =
            selectValue(connection_, statement(table, field, dialect_), QStringLiteral("NewId"));
        bool ok = false;
        const qint64 id = value.toLongLong(&ok);
        if (!ok)
            throw ZtfiError(QStringLiteral("'%1' is not a valid integer value").arg(value.toString()),
                            QStringLiteral("EConvertError"));
        return id;
    } catch (const ZtfiError& error) {
        throw failure(error.className(), error.message());
    } catch (const std::exception& error) {
        throw failure(QStringLiteral("Exception"), QString::fromLocal8Bit(error.what()));
    }
}
