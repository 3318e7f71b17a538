#include "data/PendingSets.h"
#include "support/FixtureDb.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using namespace fixture;

namespace {

QList<QPair<qint64, qint64>> rowsOf(Connection& connection, const QStringList& lines)
{
    QSqlQuery query(connection.database());
    EXPECT_TRUE(query.exec(connection.prepareSql(lines.join(QLatin1Char('\n')))));
    QList<QPair<qint64, qint64>> rows;
    while (query.next())
        rows.append({query.value(0).toLongLong(), query.value(1).toLongLong()});
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST(PendingSets, SetsWithoutAReportRowInTheOrderOfTheirIdentifiers)
{
    FixtureDb db;
    EXPECT_EQ(PendingSets::ids(db.connection()), QList<qint64>());

    // Sets 3 and 8 are reports, 5 and 12 are pending; report 9 has no rows.
    for (qint64 set : {12, 3, 5, 8})
        for (qint64 trade = 1; trade <= 3; ++trade)
            db.selected({.report = set, .trade = set * 100 + trade});
    db.report({.id = 3, .serial = 1}).report({.id = 8, .serial = 2}).report({.id = 9, .serial = 3});
    EXPECT_EQ(PendingSets::ids(db.connection()), (QList<qint64>{5, 12}));

    // The narrowed statement reads the same rows as the condition it replaces.
    const QStringList pending{QStringLiteral("SELECT DPATVPID, IDPSL FROM DPATVPPSL"),
                              QStringLiteral("WHERE DPATVPID NOT IN (select DPATVPID from dpatvp)")};
    const auto expected = rowsOf(db.connection(), pending);
    EXPECT_EQ(expected.size(), 6);
    EXPECT_EQ(rowsOf(db.connection(), PendingSets::narrowed(pending, PendingSets::ids(db.connection()))), expected);

    db.report({.id = 5, .serial = 4}).report({.id = 12, .serial = 5});
    EXPECT_EQ(PendingSets::ids(db.connection()), QList<qint64>());
    EXPECT_EQ(rowsOf(db.connection(), PendingSets::narrowed(pending, {})), (QList<QPair<qint64, qint64>>()));
}

TEST(PendingSets, NarrowedConditions)
{
    const struct {
        QString sql;
        QList<qint64> ids;
        QString narrowed;
    } cases[] = {
        {QStringLiteral("where D1.dpatvpid not in (select DPATVPID from DPATVP) AND x"), {5, 12},
         QStringLiteral("where D1.dpatvpid in (5, 12) AND x")},
        {QStringLiteral(" WHERE DPATVPID NOT IN (select DPATVPID from dpatvp) "), {7},
         QStringLiteral(" WHERE DPATVPID in (7) ")},
        {QStringLiteral("where D.dpatvpid  not in\n( select DPATVPID  from DPATVP )\n"), {},
         QStringLiteral("where D.dpatvpid is null\n")},
        // Other tables and columns keep their conditions.
        {QStringLiteral("where DPATVPID NOT IN (select DPATVPID from dpatvpimp)"), {7},
         QStringLiteral("where DPATVPID NOT IN (select DPATVPID from dpatvpimp)")},
        {QStringLiteral("where XDPATVPID not in (select DPATVPID from DPATVP)"), {7},
         QStringLiteral("where XDPATVPID not in (select DPATVPID from DPATVP)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PendingSets::narrowed(c.sql, c.ids), c.narrowed) << c.sql.toStdString();
}

}  // namespace
