#include "data/dataset/AuditTrail.h"

#include "core/Error.h"
#include "data/dataset/Field.h"
#include "data/dataset/TDMTable.h"
#include "support/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

class AuditTrailTest : public ::testing::Test {
protected:
    AuditTrailTest() : audit(db.connection(), SqlDialect::Db2, QStringLiteral("ANA")) {}

    int actRows() { return db.value(QStringLiteral("SELECT COUNT(*) FROM ACT")).toInt(); }

    FixtureDb db;
    AuditTrail audit;
};

TEST_F(AuditTrailTest, InsertThroughTheComponentWritesOneRowWithTheWholeContent)
{
    TDMTable t(db.connection(), QStringLiteral("tDPATVPPSL"));
    t.setTableName(QStringLiteral("DPATVPPSL"));
    t.setIndexFieldNames(QStringLiteral("DPATVPID;IDPSL"));
    audit.attach(t);
    t.open();
    t.insert();
    t.fieldByName(QStringLiteral("DPATVPID")).setValue(7);
    t.fieldByName(QStringLiteral("IDPSL")).setValue(1201);
    t.fieldByName(QStringLiteral("ISSTN")).setValue(QStringLiteral("N"));
    t.fieldByName(QStringLiteral("IDREFATVP")).setValue(55);
    t.post();

    ASSERT_EQ(actRows(), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT Cnt FROM ACT")).toString(),
              QStringLiteral("7#|DPATVPID#|1201#|IDPSL#|N#|ISSTN#|55#|IDREFATVP#|"));
    EXPECT_EQ(db.value(QStringLiteral("SELECT Usr || SfAct || SfApp || SfOrg || Db || Tbl FROM ACT"))
                  .toString(),
              QStringLiteral("ANA+Z0LBDPATVPPSL"));
    EXPECT_GT(db.value(QStringLiteral("SELECT IdAct FROM ACT")).toLongLong(), 0);
    EXPECT_LE(db.value(QStringLiteral("SELECT LENGTH(Cmp) FROM ACT")).toInt(), 19);

    t.edit();
    t.fieldByName(QStringLiteral("IDREFATVP")).setValue(56);
    t.post();
    EXPECT_EQ(db.value(QStringLiteral("SELECT SfAct FROM ACT ORDER BY IdAct DESC")).toString(),
              QStringLiteral("^"));
}

TEST_F(AuditTrailTest, DeletesThroughTheComponentAreAuditedPlainStatementsAreNot)
{
    db.report({.id = 3, .serial = 1});
    db.selected({.report = 3, .trade = 9});
    TDMTable t(db.connection(), QStringLiteral("tDPATVP"));
    t.setTableName(QStringLiteral("DPATVP"));
    t.setIndexFieldNames(QStringLiteral("DPATVPID"));
    audit.attach(t);
    t.open();
    ASSERT_TRUE(t.SQLSetRange({3}));
    t.deleteRecord();
    db.exec(QStringLiteral("DELETE FROM DPATVPPSL WHERE DPATVPID=3"));

    ASSERT_EQ(actRows(), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT SfAct || Tbl FROM ACT")).toString(),
              QStringLiteral("-DPATVP"));
}

TEST_F(AuditTrailTest, OverrideDeletesAreNotAuditedAndAMissingUserIsEmpty)
{
    AuditTrail anonymous(db.connection(), SqlDialect::Oracle, QString());
    TDMTable t(db.connection(), QStringLiteral("tDPATVP_SFVP"));
    t.setTableName(QStringLiteral("DPATVP_SFVP"));
    t.setIndexFieldNames(QStringLiteral("ISIN;SFVP_POROCANJE"));
    anonymous.attach(t, false);
    t.open();
    t.insert();
    t.fieldByName(QStringLiteral("ISIN")).setValue(QStringLiteral("SI0000000011"));
    t.fieldByName(QStringLiteral("SFVP_POROCANJE")).setValue(1);
    t.post();
    t.deleteRecord();

    ASSERT_EQ(actRows(), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT '[' || Usr || ']' || SfAct FROM ACT")).toString(),
              QStringLiteral("[]+"));
}

TEST_F(AuditTrailTest, MissingSequenceAbortsTheWriteWithTheSequenceMessage)
{
    db.exec(QStringLiteral("DELETE FROM ztfi_sequence WHERE name = 'ACT_IDACT_SEQ'"));
    TDMTable t(db.connection(), QStringLiteral("tDPATVP"));
    t.setTableName(QStringLiteral("DPATVP"));
    audit.attach(t);
    t.open();
    t.insert();
    t.fieldByName(QStringLiteral("DPATVPID")).setValue(1);
    t.fieldByName(QStringLiteral("ZAPST")).setValue(1);
    t.fieldByName(QStringLiteral("DANPOROCANJA")).setValue(QDate(2026, 3, 2));
    try {
        t.post();
        FAIL() << "post must fail";
    } catch (const ZtfiError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral(": napaka pri sekvenci ACT_IdAct_SEQ. Sporočilo: ")))
            << e.message().toStdString();
    }
    t.cancel();
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVP")).toInt(), 0);
    EXPECT_EQ(actRows(), 0);
}

}  // namespace
