#include "core/Error.h"
#include "emir/EmirReportEditor.h"
#include "support/EngineStories.h"
#include "support/FixtureDb.h"

#include <QSet>

#include <mutex>
#include <thread>
#include <vector>

namespace {

class EmirSerialsTest : public EngineStoryTest {
protected:
    FixtureDb db{storyEngine()};
};

// Desks that add reports at the same moment each get a serial of their own: three desks on a
// server adding reports side by side (on the embedded engine one after the other).
TEST_P(EmirSerialsTest, DesksAddingReportsAtOnceGetDistinctSerials)
{
    const int desks = onServer() ? 3 : 1;
    constexpr int reportsPerDesk = 6;
    std::mutex failuresLock;
    QStringList failures;
    const auto addReports = [&] {
        try {
            auto desk = Connection::open(db.folder(), FixtureDb::alias(), PostgresServer::user(),
                                         PostgresServer::password());
            EmirReportEditor editor(*desk, SqlDialect::Oracle);
            for (int i = 0; i < reportsPerDesk; ++i)
                editor.save(EmirReportEditor::newReport(QDate(2024, 6, 5)), 0);
        } catch (const ZtfiError& e) {
            const std::lock_guard<std::mutex> guard(failuresLock);
            failures << e.message();
        }
    };
    std::vector<std::thread> running;
    for (int d = 0; d < desks; ++d)
        running.emplace_back(addReports);
    for (std::thread& desk : running)
        desk.join();

    EXPECT_EQ(failures, QStringList());
    QStringList expected;
    for (int serial = 1; serial <= desks * reportsPerDesk; ++serial)
        expected << QString::number(serial);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT ZapSt FROM EMIRPOROCILO ORDER BY ZapSt")), expected);
}

INSTANTIATE_ENGINE_STORIES(EmirSerialsTest);

}  // namespace
