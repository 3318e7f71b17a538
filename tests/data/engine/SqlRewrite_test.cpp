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
