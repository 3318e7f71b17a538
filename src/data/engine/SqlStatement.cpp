#include "data/engine/SqlStatement.h"

#include "core/Error.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlErrors.h"
#include "data/engine/SqlParams.h"

#include <QSqlError>
#include <QSqlQuery>

namespace SqlStatement {

namespace {

// A NULL of the parameter's type, so that every driver knows what it binds.
QVariant typedNull(SqlParam::DataType type)
{
    switch (type) {
    case SqlParam::DataType::String: return QVariant(QMetaType::fromType<QString>());
    case SqlParam::DataType::Integer: return QVariant(QMetaType::fromType<qlonglong>());
    case SqlParam::DataType::Float: return QVariant(QMetaType::fromType<double>());
    case SqlParam::DataType::Date: return QVariant(QMetaType::fromType<QDate>());
    case SqlParam::DataType::DateTime: return QVariant(QMetaType::fromType<QDateTime>());
    case SqlParam::DataType::Time: return QVariant(QMetaType::fromType<QTime>());
    case SqlParam::DataType::Unknown: break;
    }
    return QVariant();
}

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
        values.append(param->isNull() ? typedNull(param->dataType()) : param->value());
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
