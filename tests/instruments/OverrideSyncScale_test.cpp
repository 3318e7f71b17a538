#include "instruments/OverrideSync.h"

#include "core/Config.h"
#include "data/Step.h"
#include "instruments/CodeList.h"
#include "instruments/OverrideFixture.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace overrides;

namespace {

// A selection of 5000 instruments: the first synchronisation writes every override without
// waiting, the next one finds them current and writes nothing, and the code list joins its
// overrides without comparing every instrument with every row. The bounds are generous: they
// tell seconds from minutes on a busy machine.
TEST(OverrideSyncScale, FiveThousandInstrumentsTakeSecondsNotMinutes)
{
    FixtureDb db;
    db.basics();
    const int count = 5000;
    db.exec(QStringLiteral("BEGIN"));
    for (int id = 1; id <= count; ++id)
        addTraded(db, instrument(id, QStringLiteral("SI%1").arg(id, 10, 10, QLatin1Char('0'))));
    db.exec(QStringLiteral("COMMIT"));

    OverrideSync sync(db.connection(), SqlDialect::Oracle, QStringLiteral("ANA"));
    auto run = [&](qint64* elapsed) {
        OverrideSyncResult result;
        QElapsedTimer timer;
        timer.start();
        runStep(db.connection(), OverrideSync::failureMessage(),
                [&] { result = sync.synchronise({.firstDay = kDay, .lastDay = kDay, .reportId = kPending}); }, StepCause::Appended);
        *elapsed = timer.elapsed();
        return result;
    };

    qint64 firstRun = 0;
    EXPECT_EQ(run(&firstRun).inserted, count);
    EXPECT_LT(firstRun, 30000);

    qint64 currentRun = 0;
    const OverrideSyncResult current = run(&currentRun);
    EXPECT_EQ(current.inserted + current.refreshed, 0);
    EXPECT_LT(currentRun, 5000);

    QElapsedTimer timer;
    timer.start();
    CodeList list(db.connection());
    list.open(prepareStatements(QString(), CodeList::statementTemplate(), Config()), kDay, kDay,
              kPending);
    EXPECT_EQ(list.query().recordCount(), count);
    EXPECT_LT(timer.elapsed(), 5000);
}

}  // namespace
