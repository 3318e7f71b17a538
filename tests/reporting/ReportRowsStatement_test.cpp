#include "reporting/ReportRowsStatement.h"

#include "core/Config.h"
#include "data/engine/Dialect.h"

#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "support/QueryPlan.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

Config configuration(const QString& tip, const QString& fixedZoneMarkets)
{
    Config config;
    config.Tip = tip;
    config.FiksniTimeZoneZaTrg = fixedZoneMarkets;
    config.MIC_LJSE_C = QStringLiteral("XLJ'C");
    return config;
}

// The statement as it is opened: prepared at start-up, under DB2 rewritten for every use.
QString openedStatement(const Config& config)
{
    const PreparedStatements saved = prepareStatements(reportRowsTemplate(), QString(), config);
    return saved.reportRowsForOpen(dialectOf(config));
}

// The first offset column of a statement, from its first character to " as Offset".
QString offsetColumn(const QString& sql, const QString& start)
{
    const qsizetype from = sql.indexOf(start);
    const qsizetype to = sql.indexOf(QStringLiteral(" as Offset"), from);
    if (from < 0 || to < 0)
        return QString();
    return sql.mid(from, to - from + 10);
}

const QString kZone = QStringLiteral(
    "(CASE WHEN ((T.TimeZone is null) or (T.TimeZone ='')) THEN '+01' ELSE T.TimeZone END)");

// The summer rule with the year and date constructs of a dialect.
QString summerRule(const QString& year, const QString& truncYear, const QString& toDateOpen,
                   const QString& toDateClose, const QString& truncEnd, const QString& text)
{
    const QString summer = QStringLiteral("(CAST(") + kZone + QStringLiteral(" as INTEGER)+1)");
    return QStringLiteral("(CASE WHEN ((P.Dan > ") + toDateOpen + QStringLiteral("CAST(31-(mod(trunc(5*CAST(") + truncYear
        + QStringLiteral(" as INTEGER)/4+4") + truncEnd + QStringLiteral(",7)) as ") + text
        + QStringLiteral("(2)) || '.03.' || CAST(CAST(") + year + QStringLiteral(" as INTEGER) as ") + text
        + QStringLiteral("(4))") + toDateClose + QStringLiteral(")\n   AND (P.Dan < ") + toDateOpen
        + QStringLiteral("CAST(31-(mod(trunc(5*CAST(") + truncYear + QStringLiteral(" as INTEGER)/4+1") + truncEnd
        + QStringLiteral(",7)) as ") + text + QStringLiteral("(2)) || '.10.' || CAST(CAST(") + year
        + QStringLiteral(" as INTEGER) as ") + text + QStringLiteral("(4))") + toDateClose
        + QStringLiteral("))\n   THEN (CASE WHEN ") + summer + QStringLiteral(" < 0 THEN '-' ELSE '+' END)\n"
                                                           "     || (CASE WHEN ABS")
        + summer + QStringLiteral(" < 10 THEN '0' ELSE '' END)\n     || CAST(ABS") + summer + QStringLiteral(" as ")
        + text + QStringLiteral("(2))\n   ELSE ") + kZone + QStringLiteral(" END)");
}

const QString kOracleYear = QStringLiteral("EXTRACT(Year FROM P.Dan)");

const QString kFixedStart = QStringLiteral(
    "(CASE WHEN T.SFTRG In (8,12) THEN (CASE WHEN ((T.TimeZone is null) or (T.TimeZone ='')) THEN '+01' ELSE "
    "T.TimeZone END) ELSE (");

TEST(ReportRowsStatement, OracleFormWithFixedZoneMarkets)
{
    const QString sql = openedStatement(configuration(QStringLiteral("ORACLE"), QStringLiteral("8,12")));
    const QString rule = summerRule(kOracleYear, kOracleYear, QStringLiteral("TO_DATE("),
                                    QStringLiteral(",'dd.mm.yyyy')"), QStringLiteral(")"), QStringLiteral("VARCHAR2"));
    EXPECT_EQ(offsetColumn(sql, QStringLiteral("(CASE WHEN T.SFTRG")),
              kFixedStart + rule + QStringLiteral(") END)  as Offset"));
    EXPECT_EQ(sql.count(QStringLiteral(") END)  as Offset")), 2);  // regular rows and cancellations
    EXPECT_FALSE(sql.contains(QLatin1Char('%') + QStringLiteral("null")));
    EXPECT_FALSE(sql.contains(QStringLiteral("%TimeZone")));
    EXPECT_FALSE(sql.contains(QStringLiteral("%SegmentTrg%")));
    EXPECT_TRUE(sql.contains(QStringLiteral("THEN 'XLJ''C' ELSE upper(T.MIC) END)")));
    EXPECT_TRUE(sql.contains(QStringLiteral(" D.Cas,\n")));
    EXPECT_FALSE(sql.contains(QStringLiteral("as TIME")));
    EXPECT_TRUE(sql.contains(QStringLiteral("null as IDPSLTRP")));
    EXPECT_TRUE(sql.contains(QStringLiteral("null as POGNZV")));
    EXPECT_TRUE(sql.contains(QStringLiteral("NVL(F.SFVP_POROCANJE, SP.SFVP)")));
    EXPECT_TRUE(sql.endsWith(QStringLiteral(" ORDER BY VRSTA DESC, ISSTN DESC")));
}

TEST(ReportRowsStatement, Db2FormWithFixedZoneMarkets)
{
    const QString sql = openedStatement(configuration(QStringLiteral("DB2"), QStringLiteral("8,12")));
    const QString rule =
        summerRule(QStringLiteral("YEAR(P.Dan)"), QStringLiteral("YEAR(P.DAn)"), QString(), QString(),
                   QStringLiteral(", 0)"), QStringLiteral("CHAR"));
    EXPECT_EQ(offsetColumn(sql, QStringLiteral("RTRIM((CASE WHEN T.SFTRG")),
              QStringLiteral("RTRIM(") + kFixedStart + rule + QStringLiteral(") END))  as Offset"));
    EXPECT_EQ(sql.count(QStringLiteral("RTRIM(")), 2);
    for (const char* gone : {"NVL(", "TO_DATE(", "VARCHAR2(", "EXTRACT(", "'dd.mm.yyyy'", "%null", "%TimeZone", "%SegmentTrg"})
        EXPECT_FALSE(sql.contains(QLatin1String(gone), Qt::CaseInsensitive)) << gone;
    EXPECT_TRUE(sql.contains(QStringLiteral("CAST(D.Cas as TIME) as Cas")));
    EXPECT_TRUE(sql.contains(QStringLiteral("CAST(null AS integer) as IDPSLTRP")));
    EXPECT_TRUE(sql.contains(QStringLiteral("CAST(null AS char) as POGNZV")));
    EXPECT_TRUE(sql.contains(QStringLiteral("COALESCE(F.SFVP_POROCANJE, SP.SFVP)")));
    EXPECT_TRUE(sql.contains(QStringLiteral("THEN 'XLJ''C' ELSE upper(T.MIC) END)")));
}

TEST(ReportRowsStatement, WithoutFixedZoneMarketsTheOffsetIsTheRuleAlone)
{
    const QString oracle = openedStatement(configuration(QString(), QString()));
    EXPECT_EQ(offsetColumn(oracle, QStringLiteral("(CASE WHEN ((P.Dan >")),
              summerRule(kOracleYear, kOracleYear, QStringLiteral("TO_DATE("),
                         QStringLiteral(",'dd.mm.yyyy')"), QStringLiteral(")"), QStringLiteral("VARCHAR2"))
                  + QStringLiteral(" as Offset"));
    const QString db2 = openedStatement(configuration(QStringLiteral("DB2"), QString()));
    EXPECT_FALSE(db2.contains(QStringLiteral("RTRIM(")));
    EXPECT_FALSE(db2.contains(QStringLiteral("%TimeZone")));
    EXPECT_EQ(db2.count(QStringLiteral("ELSE ") + kZone + QStringLiteral(" END) as Offset")), 2);
}

// Each part of the report rows finds the override rows of a trade's instrument through the
// index of the upper-cased ISIN: a scan of the overrides per trade makes a day of 100,000 trades
// over 5,000 instruments take many minutes.
TEST(ReportRowsStatement, OverrideRowsOfATradeAreFoundByTheUpperCasedIsin)
{
    FixtureDb db;
    const QStringList plan = queryPlan(db.connection(), openedStatement(configuration(QStringLiteral("ORACLE"), QString())));
    EXPECT_EQ(plan.filter(QStringLiteral("USING INDEX DPATVP_SFVP_UPPER_ISIN")).size(), 3) << plan.join(u'\n').toStdString();
    EXPECT_EQ(plan.filter(QRegularExpression(QStringLiteral("^SCAN F\\d"))), QStringList()) << plan.join(u'\n').toStdString();
}

}  // namespace
