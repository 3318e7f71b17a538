#include "instruments/VersionStamps.h"

#include "data/dataset/Field.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlParams.h"
#include "data/engine/SqlStatement.h"

#include <QSet>
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

void VersionStamps::readLatest(const QStringList& isins)
{
    QStringList unknown;
    QSet<QString> listed;
    for (const QString& isin : isins) {
        if (!latest_.contains(isin) && !listed.contains(isin)) {
            unknown << isin;
            listed.insert(isin);
        }
    }
    const int perStatement = 200;
    for (qsizetype from = 0; from < unknown.size(); from += perStatement) {
        const QStringList set = unknown.mid(from, perStatement);
        QVariantList values;
        for (const QString& isin : set) {
            latest_.insert(isin, QDateTime());
            values << isin;
        }
        QSqlQuery query(connection_.database());
        SqlStatement::prepare(query, connection_,
                              QStringLiteral("SELECT ISIN, max(DANSPR) as LatestStamp FROM DPATVP_SFVP WHERE ISIN IN (")
                                  + QStringList(set.size(), QStringLiteral("?")).join(QStringLiteral(", "))
                                  + QStringLiteral(") GROUP BY ISIN"),
                              values);
        SqlStatement::exec(query);
        while (query.next()) {
            if (!query.value(1).isNull())
                latest_.insert(query.value(0).toString(), Field::convert(FieldType::DateTime, query.value(1)).toDateTime());
        }
    }
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
