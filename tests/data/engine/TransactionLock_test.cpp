#include "data/engine/TransactionLock.h"

#include "core/Error.h"
#include "support/EngineStories.h"
#include "support/FixtureDb.h"

namespace {

class TransactionLockTest : public EngineStoryTest {
protected:
    FixtureDb db{storyEngine()};
};

// Held by the transaction that took it: a second desk waits, then fails with the message; once
// the first desk's transaction has ended, by commit or by roll-back, the second takes it.
TEST_P(TransactionLockTest, HeldUntilTheTransactionEnds)
{
    const QString busy = QStringLiteral("zaseden");
    auto other = Connection::open(db.folder(), FixtureDb::alias(), PostgresServer::user(), PostgresServer::password());
    for (const bool commit : {true, false}) {
        db.connection().startTransaction();
        TransactionLock::take(db.connection(), 7, busy, 0);
        TransactionLock::take(db.connection(), 7, busy, 0);  // the same transaction again
        other->startTransaction();
        if (onServer()) {
            try {
                TransactionLock::take(*other, 7, busy, 200);
                ADD_FAILURE() << "two transactions held the lock";
            } catch (const DatabaseError& e) {
                EXPECT_EQ(e.message(), busy);
            }
            EXPECT_NO_THROW(TransactionLock::take(*other, 8, busy, 0)) << "another key is free";
        }
        commit ? db.connection().commit() : db.connection().rollback();
        EXPECT_NO_THROW(TransactionLock::take(*other, 7, busy, 0));
        other->rollback();
    }
}

INSTANTIATE_ENGINE_STORIES(TransactionLockTest);

}  // namespace
