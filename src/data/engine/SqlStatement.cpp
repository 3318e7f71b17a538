#include "data/engine/SqlStatement.h"

#include "core/Error.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlErrors.h"
#include "data/engine/SqlParams.h"

#include <QSqlError>
#include <QSqlQuery>

namespace SqlStatement {

namespace {

void prepareText(QSqlQuery& query, const QString& sql)
{
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DatabaseError(sqlErrorText(query.lastError()));
}

}  // namespace

void prepare(QSqlQuery& query, const Connection& connection, const QString& sql,
             const SqlParams& params)
{
    const QString text = connection.prepareSql(sql);
    QString positional;
    positional.reserve(text.size());
    QVariantList values;
    qsizetype from = 0;
    for (const SqlPlaceholder& p : sqlPlaceholders(text)) {
        const SqlParam* param = params.find(p.name);
        if (!param)
            throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(p.name));
        if (!param->isBound())
            throw DatabaseError(QStringLiteral("No value for parameter '%1'").arg(param->name()));
        positional += QStringView(text).sliced(from, p.start - from);
        positional += u'?';
        from = p.start + p.length;
        values.append(param->boundValue());
    }
    positional += QStringView(text).sliced(from);
    prepareText(query, positional);
    for (const QVariant& v : values)
        query.addBindValue(connection.toEngineValue(v));
}

void prepare(QSqlQuery& query, const Connection& connection, const QString& sql,
             const QVariantList& values)
{
    prepareText(query, connection.prepareSql(sql));
    for (const QVariant& v : values)
        query.addBindValue(connection.toEngineValue(v));
}

void exec(QSqlQuery& query)
{
    if (!query.exec())
        throw DatabaseError(sqlErrorText(query.lastError()));
}

}  // namespace SqlStatement
