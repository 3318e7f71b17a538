#include "instruments/OverrideSyncStatement.h"

#include "data/engine/SqlParams.h"
#include "support/FixtureDb.h"
#include "support/QueryPlan.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(OverrideSyncStatement, Db2FormDiffersOnlyInItsDialectLines)
{
    const QStringList oracle = OverrideSyncStatement::classificationLines(SqlDialect::Oracle);
    const QStringList db2 = OverrideSyncStatement::classificationLines(SqlDialect::Db2);
    ASSERT_EQ(oracle.size(), db2.size());

    QStringList differing;
    for (int i = 0; i < oracle.size(); ++i) {
        if (nvlToCoalesce(oracle[i]) != nvlToCoalesce(db2[i]))
            differing << oracle[i] + QStringLiteral(" | ") + db2[i];
    }
    EXPECT_EQ(differing,
              (QStringList{
                  QStringLiteral(" DP.SFVP_OXU, DP.ISIN,  |  DP.SFVP_OXU as SFVP, DP.ISIN, "),
                  QStringLiteral("      THEN (select CURRENT_DATE from dual)  |       THEN (SELECT Current DATE FROM SYSIBM.SYSDUMMY1) "),
                  QStringLiteral(" OR S.ZPDVP<>NVL(DP.AII_EXPIRY, TO_DATE('12/30/1899','mm/dd/yyyy'))  |  OR S.ZPDVP<>NVL(DP.AII_EXPIRY, '30.12.1899') "),
              }));

    const QString db2Text = OverrideSyncStatement::classification(SqlDialect::Db2);
    EXPECT_FALSE(db2Text.contains(QStringLiteral("NVL("), Qt::CaseInsensitive));
    EXPECT_EQ(db2Text, nvlToCoalesce(db2.join(QLatin1Char('\n'))));
    EXPECT_EQ(OverrideSyncStatement::classification(SqlDialect::Oracle), oracle.join(QLatin1Char('\n')));
}

TEST(OverrideSyncStatement, RegenerationClassifiesTheRowsOfItsReportAndComparesExpiryInOracleForm)
{
    for (SqlDialect dialect : {SqlDialect::Oracle, SqlDialect::Db2}) {
        const QString sql = OverrideSyncStatement::classification(dialect, 42);
        EXPECT_EQ(sql.count(QStringLiteral("\n    where D1.dpatvpid  = 42 \n")), 4);
        EXPECT_FALSE(sql.contains(QStringLiteral("not in (select DPATVPID from DPATVP)")));
        EXPECT_TRUE(sql.contains(QStringLiteral("(DP.AII_EXPIRY, TO_DATE('12/30/1899','mm/dd/yyyy')) ")));
    }
    EXPECT_TRUE(OverrideSyncStatement::classification(SqlDialect::Db2, 42)
                    .contains(QStringLiteral(" OR S.ZPDVP<>COALESCE(DP.AII_EXPIRY, TO_DATE(")));
}

TEST(OverrideSyncStatement, ClassificationTakesTheTwoDaysAndTheReportIdentifier)
{
    for (SqlDialect dialect : {SqlDialect::Oracle, SqlDialect::Db2}) {
        QStringList names = sqlParamNames(OverrideSyncStatement::classification(dialect));
        names.sort(Qt::CaseInsensitive);
        EXPECT_EQ(names, (QStringList{QStringLiteral("Datum"), QStringLiteral("DatumDo"),
                                      QStringLiteral("FMaxDpAtvpId")}));
    }
}

// The names between the first "(" and the following ")" of a text, trimmed.
QStringList listAfter(const QString& text, const QString& marker)
{
    const qsizetype start = text.indexOf(QLatin1Char('('), text.indexOf(marker)) + 1;
    const qsizetype end = text.indexOf(QLatin1Char(')'), start);
    QStringList names;
    for (const QString& name : text.mid(start, end - start).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!name.trimmed().isEmpty())
            names << name.trimmed().remove(QLatin1Char(':'));
    }
    return names;
}

TEST(OverrideSyncStatement, InsertNamesEveryColumnWithItsOwnValue)
{
    struct Case {
        bool expiry;
        bool replacement;
        int columns;
    };
    for (const Case& c : {Case{false, false, 16}, Case{true, false, 17}, Case{false, true, 18},
                          Case{true, true, 19}}) {
        const QString sql = OverrideSyncStatement::insertReporting(c.expiry, c.replacement);
        const QStringList columns = listAfter(sql, QStringLiteral("INSERT INTO"));
        EXPECT_EQ(columns, listAfter(sql, QStringLiteral("VALUES"))) << sql.toStdString();
        EXPECT_EQ(columns.size(), c.columns);
        EXPECT_EQ(columns.contains(QStringLiteral("AII_EXPIRY")), c.expiry);
        EXPECT_EQ(columns.contains(QStringLiteral("XML")), c.replacement);
    }
    const QString pending = OverrideSyncStatement::insertPending();
    EXPECT_EQ(listAfter(pending, QStringLiteral("INSERT INTO")), listAfter(pending, QStringLiteral("VALUES")));
}

TEST(OverrideSyncStatement, RefreshSetsEveryColumnFromItsOwnValue)
{
    static const QRegularExpression assignment(QStringLiteral("(\\w+)\\s*=\\s*(:?\\w+)"));
    using Replacement = OverrideSyncStatement::RefreshReplacement;
    for (bool expiryEmpty : {false, true}) {
        for (Replacement replacement : {Replacement::None, Replacement::Announced, Replacement::Silent}) {
            const QString sql = OverrideSyncStatement::refresh(expiryEmpty, replacement);
            QStringList set;
            for (const auto& match : assignment.globalMatch(sql)) {
                const QString value = match.captured(2);
                if (value.compare(QLatin1String("NULL"), Qt::CaseInsensitive) != 0) {
                    EXPECT_EQ(value.mid(1).toUpper(), match.captured(1).toUpper()) << sql.toStdString();
                }
                set << match.captured(1).toUpper();
            }
            EXPECT_EQ(set.contains(QStringLiteral("XML")), replacement == Replacement::Announced);
            EXPECT_EQ(set.contains(QStringLiteral("SFVP_OLD")), replacement != Replacement::None);
            EXPECT_EQ(set.contains(QStringLiteral("SFVP_POROCANJE")), replacement != Replacement::None);
            EXPECT_TRUE(set.contains(QStringLiteral("AII_EXPIRY")));
            EXPECT_EQ(sql.contains(QStringLiteral("AII_EXPIRY = NULL")), expiryEmpty);
            EXPECT_TRUE(sql.endsWith(QStringLiteral(" WHERE ISIN = :ISIN AND SFVP_OXU = :SFVP_OXU ")));
        }
    }
}

// The rows in use are compared with their reporting instrument through the index of the
// reporting instrument, not through an index the engine builds again for every run.
TEST(OverrideSyncStatement, RowsInUseAreFoundByTheirReportingInstrument)
{
    FixtureDb db;
    const QStringList plan = queryPlan(db.connection(), OverrideSyncStatement::classification(SqlDialect::Oracle));
    EXPECT_EQ(plan.filter(QStringLiteral("SEARCH DP USING INDEX DPATVP_SFVP_POROCANJE")).size(), 1)
        << plan.join(u'\n').toStdString();
    EXPECT_EQ(plan.filter(QStringLiteral("AUTOMATIC")), QStringList()) << plan.join(u'\n').toStdString();
}

}  // namespace
