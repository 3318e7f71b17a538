#include "data/WriteBatch.h"

#include "core/Error.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/Field.h"
#include "data/dataset/TDMTable.h"
#include "support/EngineStories.h"
#include "support/FixtureDb.h"

namespace {

// Rows posted through an audited table component inside a batch, on each engine.
class WriteBatchStory : public EngineStoryTest {
protected:
    void SetUp() override
    {
        EngineStoryTest::SetUp();
        table.setTableName(QStringLiteral("DPATVPPSL"));
        table.setIndexFieldNames(QStringLiteral("DPATVPID;IDPSL"));
        audit.attach(table);
        table.open();
    }

    // Trade `trade` of report 7.
    void post(int trade)
    {
        table.insert();
        table.fieldByName(QStringLiteral("DPATVPID")).setValue(7);
        table.fieldByName(QStringLiteral("IDPSL")).setValue(trade);
        table.fieldByName(QStringLiteral("ISSTN")).setValue(QStringLiteral("N"));
        table.fieldByName(QStringLiteral("IDREFATVP")).setValue(trade + 1000);
        try {
            table.post();
        } catch (...) {
            table.cancel();
            throw;
        }
    }

    qint64 count(const char* name)
    {
        return db.value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(name))).toLongLong();
    }

    FixtureDb db{storyEngine()};
    AuditTrail audit{db.connection(), SqlDialect::Oracle, QStringLiteral("ANA")};
    TDMTable table{db.connection(), QStringLiteral("tDPATVPPSL")};
};

// The rows and their audit rows are those that one statement per row writes: every row whole,
// the audit identifiers in the order of the rows and without a gap. Sets are written as they
// fill up, the rest by flush().
TEST_P(WriteBatchStory, RowsAndAuditRowsAreWrittenInSetsAsOneByOne)
{
    db.setSequence(QStringLiteral("ACT_IDACT_SEQ"), 500);
    const int rows = 2 * WriteBatch::rowsPerStatement() + 50;
    db.connection().startTransaction();
    WriteBatch batch(db.connection());
    for (int trade = 1; trade <= rows; ++trade)
        post(trade);
    EXPECT_EQ(count("ACT"), 2 * WriteBatch::rowsPerStatement()) << "full sets only";
    batch.flush();
    db.connection().commit();

    EXPECT_EQ(count("DPATVPPSL"), rows);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL WHERE IDREFATVP = IDPSL + 1000")).toLongLong(),
              rows);
    QStringList expected;
    for (int trade = 1; trade <= rows; ++trade) {
        expected << QStringLiteral("%1|+|7#|DPATVPID#|%2#|IDPSL#|N#|ISSTN#|%3#|IDREFATVP#|")
                        .arg(500 + trade)
                        .arg(trade)
                        .arg(trade + 1000);
    }
    EXPECT_EQ(db.texts(QStringLiteral("SELECT IdAct || '|' || SfAct || '|' || Cnt FROM ACT ORDER BY IdAct")), expected);
}

// Rows whose NULLs leave out other columns are written each with their own columns, none lost.
TEST_P(WriteBatchStory, RowsOfOtherColumnsAreAllWritten)
{
    const QDateTime day(QDate(2026, 3, 2), QTime(0, 0));
    db.connection().startTransaction();
    {
        WriteBatch batch(db.connection());
        int id = 0;
        for (const bool named : {true, false, false, true}) {
            QStringList columns{QStringLiteral("DPATVPID"), QStringLiteral("DANPOROCANJA"), QStringLiteral("ZAPST")};
            QVariantList values{++id, day, 1};
            if (named) {
                columns << QStringLiteral("XML_FILE");
                values << QStringLiteral("R%1.xml").arg(id);
            }
            batch.insert(QStringLiteral("DPATVP"), columns, values);
        }
        batch.flush();
    }
    db.connection().commit();
    EXPECT_EQ(db.texts(QStringLiteral("SELECT DPATVPID || '|' || NVL(XML_FILE, '-') || '|' || TO_CHAR(DANPOROCANJA, "
                                      "'dd.mm.yyyy') FROM DPATVP ORDER BY DPATVPID")),
              (QStringList{"1|R1.xml|02.03.2026", "2|-|02.03.2026", "3|-|02.03.2026", "4|R4.xml|02.03.2026"}));
}

// A row that the engine refuses raises its error from the set that holds it.
TEST_P(WriteBatchStory, ARefusedRowRaisesItsError)
{
    db.refuse(QStringLiteral("no_trade_13"), QStringLiteral("BEFORE INSERT ON DPATVPPSL"), QStringLiteral("NEW.IDPSL = 13"),
              QStringLiteral("posel 13 zavrnjen"));
    db.connection().startTransaction();
    QString message;
    try {
        WriteBatch batch(db.connection());
        for (int trade = 1; trade <= 20; ++trade)
            post(trade);
        batch.flush();
    } catch (const ZtfiError& e) {
        message = e.message();
    }
    db.connection().rollback();
    EXPECT_TRUE(message.contains(QStringLiteral("posel 13 zavrnjen"))) << message.toStdString();
    EXPECT_EQ(count("DPATVPPSL"), 0);
    EXPECT_EQ(count("ACT"), 0);
}

INSTANTIATE_ENGINE_STORIES(WriteBatchStory);

}  // namespace
