#include "core/Config.h"
#include "data/engine/Dialect.h"
#include "support/FixtureDb.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

// The constructs of the report-row statement that the preparation and the DB2 rewriting
// touch, laid out as the statement writes them: the offset expression between the time-zone
// placeholders, the segment MIC, the nulls of the imported part and its time of day.
const QString kReportRows = QStringLiteral(
    "SELECT %null_int% as SfTRZ, NVL(G.NZV, ' ') as POGNZV,\n"
    " %TimeZone_Start%(CASE WHEN P.Dan > TO_DATE(CAST(31-(mod(trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+4),7)) as VARCHAR2(2))"
    " || '.03.' || CAST(CAST(EXTRACT(Year FROM P.Dan) as INTEGER) as VARCHAR2(4)),'dd.mm.yyyy') THEN '+02' ELSE '+01' END)%TimeZone_End% as Offset,\n"
    " (CASE WHEN K.SfSgt='C' THEN %SegmentTrg% ELSE upper(T.MIC) END) as MIC\n"
    "UNION\n"
    "SELECT %null_int% as SfTRZ, %null_char% as POGNZV, CAST(D.Cas as TIME) as Cas\n");

const QString kCodeList = QStringLiteral("SELECT %null_int% as Referenca, NVL(S.KRT, ' ') FROM SFVP S");

Config config(const QString& tip, const QString& fixedZones = QString(), const QString& mic = QString())
{
    Config c;
    c.Tip = tip;
    c.FiksniTimeZoneZaTrg = fixedZones;
    c.MIC_LJSE_C = mic;
    return c;
}

const QString kOffsetWithoutZones = QStringLiteral(
    " (CASE WHEN P.Dan > TO_DATE(CAST(31-(mod(trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+4),7)) as VARCHAR2(2))"
    " || '.03.' || CAST(CAST(EXTRACT(Year FROM P.Dan) as INTEGER) as VARCHAR2(4)),'dd.mm.yyyy') THEN '+02' ELSE '+01' END) as Offset,\n");

}  // namespace

TEST(Dialect, DialectIsDb2OnlyForTheExactText)
{
    EXPECT_EQ(dialectOf(config(QStringLiteral("DB2"))), SqlDialect::Db2);
    for (const char* other : {"", "ORACLE", "db2", "DB2 "})
        EXPECT_EQ(dialectOf(config(QString::fromLatin1(other))), SqlDialect::Oracle) << other;
}

TEST(Dialect, OraclePreparationWithoutZonesOrSegment)
{
    const PreparedStatements p = prepareStatements(kReportRows, kCodeList, config(QStringLiteral("ORACLE")));
    EXPECT_EQ(p.reportRows,
              QStringLiteral("SELECT null as SfTRZ, NVL(G.NZV, ' ') as POGNZV,\n") + kOffsetWithoutZones
                  + QStringLiteral(" (CASE WHEN K.SfSgt='C' THEN upper(T.MIC) ELSE upper(T.MIC) END) as MIC\n"
                                   "UNION\n"
                                   "SELECT null as SfTRZ, null as POGNZV, D.Cas\n"));
    EXPECT_EQ(p.codeList, QStringLiteral("SELECT null as Referenca, NVL(S.KRT, ' ') FROM SFVP S"));
    EXPECT_EQ(p.reportRowsForOpen(SqlDialect::Oracle), p.reportRows);
}

TEST(Dialect, Db2PreparationWithZonesAndSegment)
{
    const PreparedStatements p =
        prepareStatements(kReportRows, kCodeList, config(QStringLiteral("DB2"), QStringLiteral("5,8"), QStringLiteral("XLJC")));
    EXPECT_EQ(p.reportRows,
              QStringLiteral(
                  "SELECT CAST(null AS integer) as SfTRZ, COALESCE(G.NZV, ' ') as POGNZV,\n"
                  " (CASE WHEN T.SFTRG In (5,8) THEN (CASE WHEN ((T.TimeZone is null) or (T.TimeZone ='')) THEN '+01' ELSE T.TimeZone END) ELSE ("
                  "(CASE WHEN P.Dan > TO_DATE(CAST(31-(mod(trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+4),7)) as VARCHAR2(2))"
                  " || '.03.' || CAST(CAST(EXTRACT(Year FROM P.Dan) as INTEGER) as VARCHAR2(4)),'dd.mm.yyyy') THEN '+02' ELSE '+01' END)) END)  as Offset,\n"
                  " (CASE WHEN K.SfSgt='C' THEN 'XLJC' ELSE upper(T.MIC) END) as MIC\n"
                  "UNION\n"
                  "SELECT CAST(null AS integer) as SfTRZ, CAST(null AS char) as POGNZV, CAST(D.Cas as TIME) as Cas\n"));
    // The code list keeps its NVL: only its null placeholder differs by dialect.
    EXPECT_EQ(p.codeList, QStringLiteral("SELECT CAST(null AS integer) as Referenca, NVL(S.KRT, ' ') FROM SFVP S"));
}

TEST(Dialect, Db2RewritingOfThePreparedStatementWithZones)
{
    const PreparedStatements p =
        prepareStatements(kReportRows, kCodeList, config(QStringLiteral("DB2"), QStringLiteral("5,8")));
    EXPECT_EQ(p.reportRowsForOpen(SqlDialect::Db2),
              QStringLiteral(
                  "SELECT CAST(null AS integer) as SfTRZ, COALESCE(G.NZV, ' ') as POGNZV,\n"
                  " RTRIM((CASE WHEN T.SFTRG In (5,8) THEN (CASE WHEN ((T.TimeZone is null) or (T.TimeZone ='')) THEN '+01' ELSE T.TimeZone END) ELSE ("
                  "(CASE WHEN P.Dan > CAST(31-(mod(trunc(5*CAST(YEAR(P.DAn) as INTEGER)/4+4, 0),7)) as CHAR(2))"
                  " || '.03.' || CAST(CAST(YEAR(P.Dan) as INTEGER) as CHAR(4)) THEN '+02' ELSE '+01' END)) END))  as Offset,\n"
                  " (CASE WHEN K.SfSgt='C' THEN upper(T.MIC) ELSE upper(T.MIC) END) as MIC\n"
                  "UNION\n"
                  "SELECT CAST(null AS integer) as SfTRZ, CAST(null AS char) as POGNZV, CAST(D.Cas as TIME) as Cas\n"));
}

TEST(Dialect, WithoutFixedZonesNoPlaceholderAndNoRtrimRemain)
{
    for (const char* tip : {"ORACLE", "DB2"}) {
        const PreparedStatements p = prepareStatements(kReportRows, kCodeList, config(QString::fromLatin1(tip)));
        const QString opened = p.reportRowsForOpen(dialectOf(config(QString::fromLatin1(tip))));
        EXPECT_FALSE(opened.contains(QStringLiteral("%TimeZone_Start%"), Qt::CaseInsensitive)) << tip;
        EXPECT_FALSE(opened.contains(QStringLiteral("%TimeZone_End%"), Qt::CaseInsensitive)) << tip;
        EXPECT_FALSE(opened.contains(QStringLiteral("RTRIM("), Qt::CaseInsensitive)) << tip;
        EXPECT_FALSE(opened.contains(QLatin1Char('%'))) << tip;
    }
}

TEST(Dialect, SegmentMicQuoteIsDoubled)
{
    const PreparedStatements p = prepareStatements(QStringLiteral("SELECT %SegmentTrg% as MIC, %segmenttrg% as M2"),
                                                   QString(), config(QStringLiteral("ORACLE"), QString(), QStringLiteral("XL'J")));
    EXPECT_EQ(p.reportRows, QStringLiteral("SELECT 'XL''J' as MIC, 'XL''J' as M2"));
}

TEST(Dialect, ReplacementsIgnoreCaseAndTakeEveryOccurrence)
{
    const QString rows = QStringLiteral("%NULL_INT%, %Null_Int%, %NULL_CHAR%, nvl(a,0), Nvl(b,0), %timezone_start%x%TIMEZONE_END%");
    EXPECT_EQ(prepareStatements(rows, QStringLiteral("%NULL_INT%"), config(QStringLiteral("DB2"), QStringLiteral("1"))).reportRows,
              QStringLiteral("CAST(null AS integer), CAST(null AS integer), CAST(null AS char), COALESCE(a,0), COALESCE(b,0), "
                             "(CASE WHEN T.SFTRG In (1) THEN (CASE WHEN ((T.TimeZone is null) or (T.TimeZone ='')) THEN '+01' "
                             "ELSE T.TimeZone END) ELSE (x) END) "));
    EXPECT_EQ(prepareStatements(rows, QStringLiteral("%NULL_INT%"), config(QStringLiteral("ORACLE"))).codeList,
              QStringLiteral("null"));
    EXPECT_EQ(prepareStatements(QStringLiteral("cast(d.cas AS time) AS CAS, CAST(D.Cas as TIME) as Cas"), QString(),
                                config(QStringLiteral("ORACLE"))).reportRows,
              QStringLiteral("D.Cas, D.Cas"));
}

TEST(Dialect, Db2RewritingRows)
{
    struct Case {
        const char* text;
        const char* rewritten;
    };
    const Case cases[] = {
        {"CAST(x as VARCHAR2(2))", "CAST(x as CHAR(2))"},
        {"EXTRACT(Year FROM P.Dan)", "YEAR(P.Dan)"},
        {"extract(YEAR from p.dan)", "YEAR(P.Dan)"},
        {"trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+4)", "trunc(5*CAST(YEAR(P.DAn) as INTEGER)/4+4, 0)"},
        {"trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+1)", "trunc(5*CAST(YEAR(P.DAn) as INTEGER)/4+1, 0)"},
        {"(CASE WHEN T.SFTRG In (8) THEN a ELSE (b) END)  as Offset", "RTRIM((CASE WHEN T.SFTRG In (8) THEN a ELSE (b) END))  as Offset"},
        {"b) END) as Offset", "b) END) as Offset"},
        {"P.Dan < TO_DATE('26.' || '10.2014','dd.mm.yyyy')", "P.Dan < '26.' || '10.2014'"},
        {"to_date(x,'DD.MM.YYYY')", "x"},
        {"no construct here", "no construct here"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(db2Rewrite(QString::fromLatin1(c.text)), QString::fromLatin1(c.rewritten)) << c.text;
}

TEST(Dialect, RestoredStatementNeverAccumulatesRewrites)
{
    const PreparedStatements p =
        prepareStatements(kReportRows, kCodeList, config(QStringLiteral("DB2"), QStringLiteral("5,8")));
    const QString saved = p.reportRows;
    const QString first = p.reportRowsForOpen(SqlDialect::Db2);
    const QString second = p.reportRowsForOpen(SqlDialect::Db2);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.count(QStringLiteral("RTRIM(")), 1);
    EXPECT_EQ(p.reportRows, saved);
    // Rewriting an already rewritten text would wrap the offset a second time.
    EXPECT_NE(db2Rewrite(first), first);
}

TEST(Dialect, NvlBecomesCoalesceOnlyUnderDb2)
{
    const QString sql = QStringLiteral("AND SFVP NOT IN (select NVL(SFVP_OLD, 0) from DPATVP_SFVP) and nvl(x,1)=1");
    EXPECT_EQ(nvlForDialect(sql, SqlDialect::Oracle), sql);
    EXPECT_EQ(nvlForDialect(sql, SqlDialect::Db2),
              QStringLiteral("AND SFVP NOT IN (select COALESCE(SFVP_OLD, 0) from DPATVP_SFVP) and COALESCE(x,1)=1"));
}

TEST(Dialect, DateLiteralsAreMonthDayYear)
{
    EXPECT_EQ(dateLiteral(QDate(2026, 1, 5), SqlDialect::Oracle), QStringLiteral("TO_DATE('01/05/2026','mm/dd/yyyy')"));
    EXPECT_EQ(dateLiteral(QDate(2026, 1, 5), SqlDialect::Db2), QStringLiteral("'01/05/2026'"));
    EXPECT_EQ(dateLiteral(QDate(1899, 12, 30), SqlDialect::Oracle), QStringLiteral("TO_DATE('12/30/1899','mm/dd/yyyy')"));
}

TEST(Dialect, SequenceExpressionAndStringLiteral)
{
    EXPECT_EQ(nextValueExpression(QStringLiteral("DPATVPPSL_SEQ"), SqlDialect::Oracle), QStringLiteral("DPATVPPSL_SEQ.NEXTVAL"));
    EXPECT_EQ(nextValueExpression(QStringLiteral("DPATVPPSL_SEQ"), SqlDialect::Db2), QStringLiteral("NEXTVAL FOR DPATVPPSL_SEQ"));
    EXPECT_EQ(sqlStringLiteral(QStringLiteral("O'Neil''s")), QStringLiteral("'O''Neil''''s'"));
    EXPECT_EQ(sqlStringLiteral(QString()), QStringLiteral("''"));
}

TEST(Dialect, RegisterListNewestYearAndHighestSerialFirst)
{
    EXPECT_EQ(registerListOrder(SqlDialect::Db2), QStringLiteral(" order by YEAR(DanPorocanja) desc, ZapSt desc "));
    FixtureDb db;
    db.report({.id = 1, .serial = 7, .reportDay = QDate(2025, 12, 30)})
        .report({.id = 2, .serial = 1, .reportDay = QDate(2026, 1, 5)})
        .report({.id = 3, .serial = 2, .reportDay = QDate(2026, 1, 2)})
        .report({.id = 1, .serial = 8, .reportDay = QDate(2025, 3, 1)});
    QSqlQuery query(db.connection().database());
    ASSERT_TRUE(query.exec(db.connection().prepareSql(QStringLiteral(" select * from DPATVP ")
                                                      + registerListOrder(SqlDialect::Oracle))));
    QStringList order;
    while (query.next())
        order << query.value(QStringLiteral("ZAPST")).toString();
    EXPECT_EQ(order, QStringList({QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("8"), QStringLiteral("7")}));
}
