#include "support/FixtureDb.h"
#include "core/Error.h"
#include "data/SequenceReader.h"
#include "support/EngineStories.h"

#include <gtest/gtest.h>

TEST(SequenceReader, StatementOfEachDialect)
{
    EXPECT_EQ(SequenceReader::statement(QStringLiteral("ACT"), QStringLiteral("IdAct"), SqlDialect::Db2),
              QStringLiteral("SELECT NEXTVAL FOR ACT_IdAct_SEQ AS NewId FROM SYSIBM.SYSDUMMY1"));
    EXPECT_EQ(SequenceReader::statement(QStringLiteral("EMIRPOSEL"), QStringLiteral("ID"), SqlDialect::Oracle),
              QStringLiteral("SELECT EMIRPOSEL_ID_SEQ.NEXTVAL AS NewId FROM dual"));
}

TEST(SequenceReader, BothFormsHandOutTheSameSequence)
{
    FixtureDb db;
    const SequenceReader oracle(db.connection(), SqlDialect::Oracle);
    const SequenceReader db2(db.connection(), SqlDialect::Db2);
    EXPECT_EQ(oracle.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), 1);
    EXPECT_EQ(oracle.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), 2);
    EXPECT_EQ(db2.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), 3);
    // Each table has its own sequence.
    EXPECT_EQ(oracle.next(QStringLiteral("EMIRPOSEL"), QStringLiteral("ID")), 1);
    EXPECT_EQ(db2.next(QStringLiteral("EMIRPOROCILO"), QStringLiteral("ID")), 1);
}

TEST(SequenceReader, MissingSequenceNamesItAndQuotesTheCause)
{
    FixtureDb db;
    for (SqlDialect dialect : {SqlDialect::Oracle, SqlDialect::Db2}) {
        const SequenceReader reader(db.connection(), dialect);
        try {
            reader.next(QStringLiteral("NEOBSTOJECA"), QStringLiteral("ID"));
            FAIL() << "no error for a missing sequence";
        } catch (const ZtfiError& error) {
            const QString prefix = QStringLiteral("EDatabaseError: napaka pri sekvenci NEOBSTOJECA_ID_SEQ. Sporočilo: ");
            EXPECT_TRUE(error.message().startsWith(prefix)) << error.what();
            EXPECT_TRUE(error.message().mid(prefix.size()).contains(QStringLiteral("NEOBSTOJECA_ID_SEQ")))
                << error.what();
        }
        // the reader goes on with the sequences that exist
        EXPECT_EQ(reader.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), dialect == SqlDialect::Oracle ? 1 : 2);
        EXPECT_THROW(reader.next(QStringLiteral("NEOBSTOJECA"), QStringLiteral("ID")), ZtfiError);
    }
}

namespace {

class SequenceBlockStory : public EngineStoryTest {
protected:
    FixtureDb db{storyEngine()};
};

// A block holds the values that as many single reads would have given, ascending, and the
// sequence goes on after it.
TEST_P(SequenceBlockStory, ABlockTakesTheNextValuesInOrder)
{
    const SequenceReader reader(db.connection(), SqlDialect::Oracle);
    db.setSequence(QStringLiteral("ACT_IDACT_SEQ"), 40);
    EXPECT_EQ(reader.next(QStringLiteral("ACT"), QStringLiteral("IdAct"), 3), (QList<qint64>{41, 42, 43}));
    EXPECT_EQ(reader.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), 44);
    QList<qint64> expected;
    for (qint64 v = 45; v < 45 + 250; ++v)
        expected.append(v);
    EXPECT_EQ(reader.next(QStringLiteral("ACT"), QStringLiteral("IdAct"), 250), expected);
    EXPECT_EQ(reader.next(QStringLiteral("ACT"), QStringLiteral("IdAct"), 1), QList<qint64>{295});
}

// A block of a sequence that does not exist fails as a single read does, and a failed block
// takes no value from another sequence.
TEST_P(SequenceBlockStory, ABlockOfAMissingSequenceFailsAsOneValueDoes)
{
    const SequenceReader reader(db.connection(), SqlDialect::Oracle);
    const auto message = [&](int count) {
        try {
            reader.next(QStringLiteral("NEOBSTOJECA"), QStringLiteral("ID"), count);
        } catch (const ZtfiError& error) {
            return error.message();
        }
        return QString();
    };
    const QString one = message(1);
    EXPECT_TRUE(one.startsWith(QStringLiteral("EDatabaseError: napaka pri sekvenci NEOBSTOJECA_ID_SEQ. Sporočilo: ")))
        << one.toStdString();
    EXPECT_EQ(message(200), one);
    EXPECT_EQ(reader.next(QStringLiteral("ACT"), QStringLiteral("IdAct"), 2), (QList<qint64>{1, 2}));
}

INSTANTIATE_ENGINE_STORIES(SequenceBlockStory);

}  // namespace
