#include "instruments/VersionStamps.h"

#include "data/dataset/Field.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlParams.h"
#include "data/engine/SqlStatement.h"

#include <QSqlQuery>

VersionStamps::VersionStamps(Connection& connection) : connection_(connection) {}

QDateTime VersionStamps::next(const QString& isin)
{
    auto known = latest_.constFind(isin);
    const QDateTime latest = known != latest_.constEnd() ? *known : latestStored(isin);
    QDateTime stamp = QDateTime::currentDateTime();
    if (latest.isValid() && stamp < latest.addSecs(1))
        stamp = latest.addSecs(1);
    latest_.insert(isin, stamp);
    return stamp;
}

QDateTime VersionStamps::latestStored(const QString& isin)
{
    const QString sql =
        QStringLiteral("SELECT max(DANSPR) as LatestStamp FROM DPATVP_SFVP WHERE ISIN=:ISIN");
    SqlParams params;
    params.assignNames(sqlParamNames(sql));
    params.byName(QStringLiteral("ISIN")).setAsString(isin);
    QSqlQuery query(connection_.database());
    SqlStatement::prepare(query, connection_, sql, params);
    SqlStatement::exec(query);
    if (!query.next() || query.value(0).isNull())
        return {};
    return Field::convert(FieldType::DateTime, query.value(0)).toDateTime();
}
