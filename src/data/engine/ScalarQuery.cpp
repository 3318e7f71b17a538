#include "data/engine/ScalarQuery.h"

#include "core/Error.h"
#include "data/engine/Connection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString errorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

}  // namespace

QVariant selectValue(Connection& connection, const QString& sql, const QString& column)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(connection.prepareSql(sql)))
        throw DatabaseError(errorText(query.lastError()));
    const int index = query.record().indexOf(column);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(column));
    if (!query.next()) {
        if (query.lastError().isValid())
            throw DatabaseError(errorText(query.lastError()));
        throw DatabaseError(QStringLiteral("The statement returned no row"));
    }
    return query.value(index);
}
