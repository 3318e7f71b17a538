#include "data/engine/SqlRewrite.h"

#include <gtest/gtest.h>

namespace {

struct RewriteCase {
    const char* sql;
    const char* expected;
};

class SqlRewriteTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(SqlRewriteTest, RewritesForTheEmbeddedEngine)
{
    const RewriteCase& c = GetParam();
    EXPECT_EQ(SqlRewrite::forSqlite(QString::fromUtf8(c.sql)).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SqlRewriteTest,
    ::testing::Values(
        // sequences, both dialects, any letter case, qualified names
        RewriteCase{"select ACT_IDACT_SEQ.NEXTVAL FROM dual",
                    "select ztfi_nextval('ACT_IDACT_SEQ') FROM dual"},
        RewriteCase{"SELECT NEXTVAL FOR EMIRPOSEL_ID_SEQ AS NewId FROM SYSIBM.SYSDUMMY1",
                    "SELECT ztfi_nextval('EMIRPOSEL_ID_SEQ') AS NewId FROM SYSIBM.SYSDUMMY1"},
        RewriteCase{"select x_seq.nextval, nextval  for\n y_seq from t",
                    "select ztfi_nextval('x_seq'), ztfi_nextval('y_seq') from t"},
        RewriteCase{"select OWNER.X_SEQ.NEXTVAL, NEXTVAL FOR OWNER.Y_SEQ from t",
                    "select ztfi_nextval('X_SEQ'), ztfi_nextval('Y_SEQ') from t"},
        RewriteCase{"INSERT INTO DPATVPPSL SELECT :Id, DPATVPPSL_SEQ.NEXTVAL, P.IdPsl FROM PSL P",
                    "INSERT INTO DPATVPPSL SELECT :Id, ztfi_nextval('DPATVPPSL_SEQ'), P.IdPsl FROM PSL P"},
        // EXTRACT(Year FROM x): only the opening changes, whatever x is
        RewriteCase{"CAST(EXTRACT(Year FROM P.Dan) as INTEGER)", "CAST(YEAR(P.Dan) as INTEGER)"},
        RewriteCase{"extract ( YEAR  from  (P.Dan + 1))", "YEAR((P.Dan + 1))"},
        RewriteCase{"EXTRACT(MONTH FROM P.Dan)", "EXTRACT(MONTH FROM P.Dan)"},
        // the current date of both dialects
        RewriteCase{"THEN (select CURRENT_DATE from dual) ",
                    "THEN (select ztfi_current_date() from dual) "},
        RewriteCase{"(ZPDVP IS NULL OR ZPDVP>current_date)",
                    "(ZPDVP IS NULL OR ZPDVP>ztfi_current_date())"},
        RewriteCase{"THEN (SELECT Current DATE FROM SYSIBM.SYSDUMMY1) ",
                    "THEN (SELECT ztfi_current_day() FROM SYSIBM.SYSDUMMY1) "},
        // words that only look alike stay
        RewriteCase{"select MY_CURRENT_DATE, CURRENT_DATES, T.CURRENT_DATE, \"T\".CURRENT_DATE, "
                    "NEXTVAL_X, X.NEXTVALUE, CURRENT TIME from t",
                    "select MY_CURRENT_DATE, CURRENT_DATES, T.CURRENT_DATE, \"T\".CURRENT_DATE, "
                    "NEXTVAL_X, X.NEXTVALUE, CURRENT TIME from t"},
        RewriteCase{"where Dan = :CURRENT_DATE", "where Dan = :CURRENT_DATE"},
        // text in quotes and comments stays
        RewriteCase{"select 'X_SEQ.NEXTVAL', 'it''s CURRENT_DATE', \"NEXTVAL FOR Y\" from t",
                    "select 'X_SEQ.NEXTVAL', 'it''s CURRENT_DATE', \"NEXTVAL FOR Y\" from t"},
        RewriteCase{"select 'a''' || X.NEXTVAL -- X.NEXTVAL\n/* CURRENT_DATE */ from t",
                    "select 'a''' || ztfi_nextval('X') -- X.NEXTVAL\n/* CURRENT_DATE */ from t"},
        RewriteCase{"select 'unterminated CURRENT_DATE", "select 'unterminated CURRENT_DATE"},
        // nothing to do
        RewriteCase{" select NVL(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP",
                    " select NVL(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP"},
        RewriteCase{"select 'Šifra', 1.5 from t where x = 'č'",
                    "select 'Šifra', 1.5 from t where x = 'č'"}));

}  // namespace

namespace {

class PostgresRewriteTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(PostgresRewriteTest, RewritesForPostgresWithOrafce)
{
    const RewriteCase& c = GetParam();
    EXPECT_EQ(SqlRewrite::forPostgres(QString::fromUtf8(c.sql)).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PostgresRewriteTest,
    ::testing::Values(
        // the sequence reader and the selection's reference numbers
        RewriteCase{"SELECT ACT_IdAct_SEQ.NEXTVAL AS NewId FROM dual",
                    "SELECT nextval('ACT_IdAct_SEQ') AS NewId FROM dual"},
        RewriteCase{"INSERT INTO DPATVPPSL SELECT :Id, DPATVPPSL_SEQ.nextval, P.IdPsl FROM PSL P",
                    "INSERT INTO DPATVPPSL SELECT :Id, nextval('DPATVPPSL_SEQ'), P.IdPsl FROM PSL P"},
        RewriteCase{"select OWNER.X_SEQ.NEXTVAL from dual", "select nextval('X_SEQ') from dual"},
        // the current date carries the time of day, as Oracle's does
        RewriteCase{"THEN (select CURRENT_DATE from dual) ",
                    "THEN (select LOCALTIMESTAMP(0) from dual) "},
        RewriteCase{"(ZPDVP IS NULL OR ZPDVP>current_date)", "(ZPDVP IS NULL OR ZPDVP>LOCALTIMESTAMP(0))"},
        // NVL of any kind of value, nested too
        RewriteCase{" OR S.ZPDVP<>NVL(DP.AII_EXPIRY, TO_DATE('12/30/1899','mm/dd/yyyy'))",
                    " OR S.ZPDVP<>COALESCE(DP.AII_EXPIRY, TO_DATE('12/30/1899','mm/dd/yyyy'))"},
        RewriteCase{"upper(nvl (NVL(D.ISOKODA,' '), 'x'))", "upper(COALESCE (COALESCE(D.ISOKODA,' '), 'x'))"},
        // mod of a one-argument trunc gets a numeric; what lies inside is rewritten as well
        RewriteCase{"mod(trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+4),7)",
                    "mod(trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+4, 0),7)"},
        RewriteCase{"MOD( TRUNC((NVL(a,1)+1)/4) ,7)", "MOD( TRUNC((COALESCE(a,1)+1)/4, 0) ,7)"},
        RewriteCase{"mod(trunc(x, 0),7), mod(x,7), trunc(x/4)", "mod(trunc(x, 0),7), mod(x,7), trunc(x/4)"},
        // what only looks alike, quoted text, comments and parameters stay
        RewriteCase{"select NVL2(a,b,c), T.NVL(a), MY_NVL(a), NVL, 'NVL(x)', :NVL, \"mod\"(trunc(x),7) "
                    "-- CURRENT_DATE\n from t",
                    "select NVL2(a,b,c), T.NVL(a), MY_NVL(a), NVL, 'NVL(x)', :NVL, \"mod\"(trunc(x),7) "
                    "-- CURRENT_DATE\n from t"},
        RewriteCase{"mod(trunc(unclosed", "mod(trunc(unclosed"},
        // a parameter tested for null alone gets a type; compared with anything, it has one
        RewriteCase{" where ((upper(ISIN) = :ISIN AND KRT = :KRT) OR (( :ISIN = 'N' OR :ISIN IS NULL OR :ISIN = '') "
                    "AND KRT = :KRT)) ",
                    " where ((upper(ISIN) = :ISIN AND KRT = :KRT) OR (( :ISIN = 'N' OR CAST(:ISIN AS text) IS NULL "
                    "OR :ISIN = '') AND KRT = :KRT)) "},
        RewriteCase{"(:Dan is not  NULL) and (:X IS\nNULL or :Y is null)",
                    "(CAST(:Dan AS text) is not  NULL) and (CAST(:X AS text) IS\nNULL or CAST(:Y AS text) is null)"},
        RewriteCase{"X IS NULL, :X IS NOT DISTINCT FROM Y, :X ISNULL, ':X IS NULL', -- :X IS NULL\n",
                    "X IS NULL, :X IS NOT DISTINCT FROM Y, :X ISNULL, ':X IS NULL', -- :X IS NULL\n"},
        // the DB2 forms are not the server's
        RewriteCase{"EXTRACT(Year FROM P.Dan), Current DATE", "EXTRACT(Year FROM P.Dan), Current DATE"}));

}  // namespace
