#include "reporting/SelectionStatements.h"

#include "core/Config.h"
#include "data/PendingSets.h"
#include "instruments/OverrideSyncStatement.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "support/QueryPlan.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

Config everyMarketKey(const QString& dialect)
{
    Config config;
    config.Tip = dialect;
    config.TipPosla = QStringLiteral("NB");
    config.DMC_2 = QStringLiteral("KL");
    config.DMC_3 = QStringLiteral("P");
    config.Tuj_2 = QStringLiteral("K");
    config.Tuj_3 = QStringLiteral("L");
    return config;
}

const QString kMarketP = QStringLiteral(
    " AND ((((P.SfDjv in ('K','L') AND T.SfDrzTrg='S' and T.SfTrz = '2' ) OR (P.SfDjv in ('P') AND T.SfDrzTrg='S' and T.SfTrz = '3')) ) OR (((P.SfDjv in ('K') AND T.SfDrzTrg<>'S' and T.SfTrz = '2' ) OR (P.SfDjv in ('L') AND T.SfDrzTrg<>'S' and T.SfTrz = '3')) )) ");
const QString kMarketD = QStringLiteral(
    " AND ((((D.SfDjv in ('K','L') AND T.SfDrzTrg='S' and T.SfTrz = '2' ) OR (D.SfDjv in ('P') AND T.SfDrzTrg='S' and T.SfTrz = '3')) ) OR (((D.SfDjv in ('K') AND T.SfDrzTrg<>'S' and T.SfTrz = '2' ) OR (D.SfDjv in ('L') AND T.SfDrzTrg<>'S' and T.SfTrz = '3')) )) ");

QStringList newTradesWith(const QString& reference)
{
    return {
        QStringLiteral(" SELECT 7 as DpAtvpId, P.IdPsl, 'N' as IsStn , ") + reference + QStringLiteral(" as IDREFATVP "),
        QStringLiteral(" FROM PSL P LEFT OUTER JOIN DPATVPPSL A ON P.IdPsl = A.IdPsl JOIN SFVP S ON P.SFVP=S.SFVP "),
        QStringLiteral(" JOIN TRG T ON P.SfTrg = T.SfTrg "),
        QStringLiteral(" JOIN POG PG ON P.IDPOG=PG.IDPOG "),
        QStringLiteral(" WHERE P.Dan >= :Dan AND P.Dan <= :DanDo AND A.IdRefATVP IS NULL AND P.IDPSL NOT IN (SELECT IDPSL FROM DPATVPPSL) "),
        QStringLiteral(" AND S.PorocanjeZTFI='D' "),
        QStringLiteral(" AND (((P.SFTYPE='P') AND ((PG.REMOTECLAN IS NOT NULL) OR (PG.REMOTECLAN<>''))) OR ((P.SFTYPE<>'P') OR (P.SFTYPE is NULL)))"),
        QStringLiteral(" AND P.SfPsl in ('N','B') "),
        kMarketP,
    };
}

QStringList replacementsWith(const QString& reference)
{
    return {
        QStringLiteral(" SELECT 7 as DpAtvpId, D.IdPsl, 'N'  as IsStn, ") + reference + QStringLiteral(" as IdRefATVP "),
        QStringLiteral(" FROM PSL D JOIN SFVP S ON D.SFVP=S.SFVP"),
        QStringLiteral(" JOIN TRG T ON D.SfTrg = T.SfTrg "),
        QStringLiteral(" JOIN POG PG ON D.IDPOG=PG.IDPOG "),
        QStringLiteral(" WHERE D.IDPSL IN (select IDPSLEDT FROM DPATVPPSLSTN DS, POG PG1 where DS.IDPOG=PG1.IDPOG "),
        QStringLiteral(" AND (((DS.SFTYPE='P') AND ((PG1.REMOTECLAN IS NOT NULL) OR (PG1.REMOTECLAN<>''))) OR ((DS.SFTYPE<>'P') OR (DS.SFTYPE is NULL)))"),
        QStringLiteral(" AND NOT EXISTS (select IDPSL from DPATVPPSL X where X.IDPSL = DS.IDPSLEDT) AND EXISTS (SELECT IdPSL FROM DPATVPPSL X WHERE X.IDPSL = DS.IDPSL)) "),
        QStringLiteral(" AND S.PorocanjeZTFI='D' "),
        QStringLiteral(" AND (((D.SFTYPE='P') AND ((PG.REMOTECLAN IS NOT NULL) OR (PG.REMOTECLAN<>''))) OR ((D.SFTYPE<>'P') OR (D.SFTYPE is NULL)))"),
        QStringLiteral(" AND D.IDPSL NOT IN (SELECT IDPSL FROM DPATVPPSL) "),
        QStringLiteral(" AND D.Dan >= :Dan AND D.Dan <= :DanDo "),
        kMarketD,
    };
}

const QStringList kCancellations{
    QStringLiteral(" SELECT 7 as DpAtvpId, D.IdPsl, 'D'  as IsStn, P.IdRefATVP "),
    QStringLiteral(" FROM DPATVPPSLSTN D LEFT OUTER JOIN DPATVPPSL A ON D.IdPsl = A.IdPsl "),
    QStringLiteral(" JOIN DPATVPPSL P ON P.IdPsl=D.IdPsl JOIN SFVP S ON D.SFVP=S.SFVP "),
    QStringLiteral(" JOIN TRG T ON D.SfTrg = T.SfTrg "),
    QStringLiteral(" JOIN POG PG ON D.IDPOG=PG.IDPOG "),
    QStringLiteral(" WHERE NOT EXISTS (SELECT IDPSL FROM DPATVPPSL X WHERE X.IDPSL = A.IDPSL AND X.IsStn = 'D') "),
    QStringLiteral("   AND EXISTS (SELECT IDPSL FROM DPATVPPSL X WHERE X.IDPSL = D.IDPSL) "),
    QStringLiteral(" AND S.PorocanjeZTFI='D' "),
    QStringLiteral(" AND (((D.SFTYPE='P') AND ((PG.REMOTECLAN IS NOT NULL) OR (PG.REMOTECLAN<>''))) OR ((D.SFTYPE<>'P') OR (D.SFTYPE is NULL)))"),
    kMarketD,
};

TEST(SelectionStatementsTest, BothDialectsWithEveryMarketKey)
{
    const Config oracle = everyMarketKey(QStringLiteral("ORACLE"));
    const Config db2 = everyMarketKey(QStringLiteral("DB2"));

    EXPECT_EQ(SelectionStatements::newTrades(oracle, 7), newTradesWith(QStringLiteral("DPATVPPSL_SEQ.NEXTVAL")));
    EXPECT_EQ(SelectionStatements::newTrades(db2, 7), newTradesWith(QStringLiteral("NEXTVAL FOR DPATVPPSL_SEQ")));
    EXPECT_EQ(SelectionStatements::cancellations(oracle, 7), kCancellations);
    EXPECT_EQ(SelectionStatements::cancellations(db2, 7), kCancellations);
    EXPECT_EQ(SelectionStatements::replacements(oracle, 7), replacementsWith(QStringLiteral("DPATVPPSL_SEQ.NEXTVAL")));
    EXPECT_EQ(SelectionStatements::replacements(db2, 7), replacementsWith(QStringLiteral("NEXTVAL FOR DPATVPPSL_SEQ")));
}

// The appended line for each combination of market keys; the market table joins only with it.
TEST(SelectionStatementsTest, MarketConditionByKeys)
{
    const struct {
        const char* dmc2;
        const char* dmc3;
        const char* tuj2;
        const char* tuj3;
        QString expected;
    } cases[] = {
        {"", "", "", "", QString()},
        {"KL", "", "K", "",
         QStringLiteral(" AND ((P.SfDjv in ('K','L') AND T.SfDrzTrg='S' and T.SfTrz = '2' ) OR (P.SfDjv in ('K') AND T.SfDrzTrg<>'S' and T.SfTrz = '2' )) ")},
        {"", "P", "", "", QStringLiteral(" AND (P.SfDjv in ('P') AND T.SfDrzTrg='S' and T.SfTrz = '3' ) ")},
        {"", "", "", "LK", QStringLiteral(" AND (P.SfDjv in ('L','K') AND T.SfDrzTrg<>'S' and T.SfTrz = '3' ) ")},
        {"", "", "K", "P",
         QStringLiteral(" AND (((P.SfDjv in ('K') AND T.SfDrzTrg<>'S' and T.SfTrz = '2' ) OR (P.SfDjv in ('P') AND T.SfDrzTrg<>'S' and T.SfTrz = '3')) ) ")},
    };
    for (const auto& c : cases) {
        Config config;
        config.DMC_2 = QString::fromLatin1(c.dmc2);
        config.DMC_3 = QString::fromLatin1(c.dmc3);
        config.Tuj_2 = QString::fromLatin1(c.tuj2);
        config.Tuj_3 = QString::fromLatin1(c.tuj3);
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(SelectionStatements::marketCondition(config), c.expected);

        const QStringList lines = SelectionStatements::newTrades(config, 1);
        const bool joinsMarkets = lines.contains(QStringLiteral(" JOIN TRG T ON P.SfTrg = T.SfTrg "));
        EXPECT_EQ(joinsMarkets, !c.expected.isEmpty());
        EXPECT_EQ(lines.last() == c.expected, !c.expected.isEmpty());
        EXPECT_EQ(SelectionStatements::cancellations(config, 1).contains(QStringLiteral(" JOIN TRG T ON D.SfTrg = T.SfTrg ")),
                  !c.expected.isEmpty());
    }
}

// Trade kinds restrict the new trades only; a quote in a configured code is doubled.
TEST(SelectionStatementsTest, TradeKindsAndQuotedCodes)
{
    Config config;
    EXPECT_FALSE(SelectionStatements::newTrades(config, 1).join(QString()).contains(QStringLiteral("SfPsl")));
    config.TipPosla = QStringLiteral("N'");
    config.DMC_2 = QStringLiteral("'");
    EXPECT_TRUE(SelectionStatements::newTrades(config, 1).contains(QStringLiteral(" AND P.SfPsl in ('N','''') ")));
    EXPECT_FALSE(SelectionStatements::cancellations(config, 1).join(QString()).contains(QStringLiteral("SfPsl")));
    EXPECT_FALSE(SelectionStatements::replacements(config, 1).join(QString()).contains(QStringLiteral("SfPsl")));
    EXPECT_EQ(SelectionStatements::marketCondition(config),
              QStringLiteral(" AND (P.SfDjv in ('''') AND T.SfDrzTrg='S' and T.SfTrz = '2' ) "));
}

// The steps of a plan that read DPATVPPSL from end to end.
QStringList scansOfSelectedRows(Connection& connection, const QString& sql)
{
    return queryPlan(connection, sql).filter(QRegularExpression(QStringLiteral("^SCAN .*DPATVPPSL(_|\\b)")));
}

// The daily selection reads the selected rows of the firm's history only through their
// indexes, so its cost does not grow with the days already reported.
TEST(SelectionStatementsTest, DailyStatementsDoNotReadEverySelectedRow)
{
    FixtureDb db;
    Config config;
    const QString pending = SelectionStatements::pendingRows().join(QLatin1Char('\n'));
    const QString classification = OverrideSyncStatement::classification(SqlDialect::Oracle);
    ASSERT_FALSE(scansOfSelectedRows(db.connection(), pending).isEmpty()) << "the condition as written";
    ASSERT_FALSE(scansOfSelectedRows(db.connection(), classification).isEmpty()) << "the condition as written";

    const QList<qint64> ids{4, 9};
    const QStringList statements{
        SelectionStatements::newTrades(config, 7).join(QLatin1Char('\n')),
        SelectionStatements::cancellations(config, 7).join(QLatin1Char('\n')),
        SelectionStatements::replacements(config, 7).join(QLatin1Char('\n')),
        PendingSets::narrowed(pending, ids),
        PendingSets::narrowed(classification, ids),
    };
    for (const QString& sql : statements)
        EXPECT_EQ(scansOfSelectedRows(db.connection(), sql), QStringList()) << sql.toStdString();
}

}  // namespace
