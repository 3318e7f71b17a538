#include "instruments/LatestOverrides.h"

#include "data/engine/Connection.h"
#include "data/engine/SqlStatement.h"

#include <QSqlQuery>
#include <QStringList>

namespace {

constexpr int kOverrideInstrumentsPerStatement = 200;

bool asciiOnly(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

QString pairKey(const QString& isin, qint64 sfvp)
{
    return isin.toUpper() + QLatin1Char('|') + QString::number(sfvp);
}

}  // namespace

void LatestOverrides::read(Connection& connection, const QList<std::pair<QString, qint64>>& pairs)
{
    QList<qint64> instruments;
    for (const auto& [isin, sfvp] : pairs) {
        if (asciiOnly(isin) && !read_.contains(sfvp)) {
            read_.insert(sfvp);
            instruments << sfvp;
        }
    }
    for (qsizetype from = 0; from < instruments.size(); from += kOverrideInstrumentsPerStatement) {
        QStringList numbers;
        for (qint64 sfvp : instruments.mid(from, kOverrideInstrumentsPerStatement))
            numbers << QString::number(sfvp);
        // The rows of every pair in the order of the look-up of one pair: its first row is the latest.
        QSqlQuery query(connection.database());
        SqlStatement::prepare(query, connection,
                              QStringLiteral("SELECT ISIN, SFVP_OXU, DANSPR_SFVP, SFVP_POROCANJE FROM DPATVP_SFVP\n"
                                             "WHERE SFVP_OXU IN (")
                                  + numbers.join(QStringLiteral(", ")) + QStringLiteral(")\nORDER BY DANSPR DESC"),
                              QVariantList());
        SqlStatement::exec(query);
        while (query.next()) {
            if (query.value(0).isNull())
                continue;
            const QString isin = query.value(0).toString();
            const qint64 sfvp = query.value(1).toLongLong();
            if (!asciiOnly(isin))
                unsure_.insert(sfvp);
            const QString k = pairKey(isin, sfvp);
            if (rows_.contains(k))
                continue;
            LatestOverride row;
            row.hasChangeDay = !query.value(2).isNull();
            if (!query.value(3).isNull())
                row.reportingInstrument = query.value(3).toLongLong();
            rows_.insert(k, row);
        }
    }
}

LatestOverrides::Found LatestOverrides::find(const QString& isin, qint64 sfvp, LatestOverride& row) const
{
    if (!asciiOnly(isin) || !read_.contains(sfvp) || unsure_.contains(sfvp) || forgotten_.contains(pairKey(isin, sfvp)))
        return Found::Unknown;
    const auto found = rows_.constFind(pairKey(isin, sfvp));
    if (found == rows_.constEnd())
        return Found::None;
    row = *found;
    return Found::Row;
}

void LatestOverrides::forget(const QString& isin, qint64 sfvp)
{
    forgotten_.insert(pairKey(isin, sfvp));
}
