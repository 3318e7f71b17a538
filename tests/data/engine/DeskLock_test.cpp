#include "data/engine/DeskLock.h"

#include "core/Error.h"
#include "support/EngineStories.h"
#include "support/FixtureDb.h"

#include <QElapsedTimer>

namespace {

class DeskLockTest : public EngineStoryTest {
protected:
    FixtureDb db{storyEngine()};
};

// Two desks on one database: the second waits for the first, then fails with the message and
// gets the lock once the first has let it go. The embedded engine serves one desk: no lock.
TEST_P(DeskLockTest, OneDeskAtATimeOnAServer)
{
    auto other = Connection::open(db.folder(), FixtureDb::alias(), PostgresServer::user(), PostgresServer::password());
    {
        const DeskLock first(db.connection());
        const DeskLock again(db.connection());  // the same desk may nest its actions
        if (!onServer()) {
            EXPECT_NO_THROW(DeskLock(*other, 0));
            return;
        }
        QElapsedTimer waited;
        waited.start();
        try {
            const DeskLock second(*other, 300);
            FAIL() << "two desks held the lock";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.message(), DeskLock::busyMessage());
        }
        EXPECT_GE(waited.elapsed(), 300);
    }
    EXPECT_NO_THROW(DeskLock(*other, 0));
}

INSTANTIATE_ENGINE_STORIES(DeskLockTest);

}  // namespace
