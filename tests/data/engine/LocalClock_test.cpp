#include "data/engine/LocalClock.h"

#include <QByteArray>
#include <QDateTime>
#include <gtest/gtest.h>

#include <ctime>

namespace {

// Runs the test under a time zone with summer time, and restores the zone after it.
class LocalClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = qgetenv("TZ");
        hadZone_ = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", "Europe/Ljubljana");
        tzset();
    }
    void TearDown() override
    {
        if (hadZone_)
            qputenv("TZ", saved_);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray saved_;
    bool hadZone_ = false;
};

// One clock read at instants in order, as a writer reads it row after row: each reading is the
// local date and time that Qt gives for the instant, also across the changes to and from summer
// time and within the second before and after them.
TEST_F(LocalClockTest, ReadingsFollowTheTimeZoneAcrossItsChanges)
{
    const auto utc = [](int month, int day, int h, int m, int s, int ms) {
        return QDateTime(QDate(2026, month, day), QTime(h, m, s, ms), Qt::UTC).toMSecsSinceEpoch();
    };
    const qint64 instants[] = {
        utc(3, 29, 0, 59, 58, 500), utc(3, 29, 0, 59, 59, 0),  utc(3, 29, 0, 59, 59, 999),
        utc(3, 29, 1, 0, 0, 0),     utc(3, 29, 1, 0, 0, 1),    utc(3, 29, 1, 0, 0, 999),
        utc(6, 1, 12, 0, 0, 0),     utc(10, 25, 0, 59, 59, 999), utc(10, 25, 1, 0, 0, 0),
        utc(10, 25, 1, 0, 1, 0),    utc(12, 10, 12, 26, 41, 7), -86400000 - 1,
    };
    LocalClock clock;
    for (const qint64 ms : instants) {
        const QDateTime expected = QDateTime::fromMSecsSinceEpoch(ms);
        const QDateTime read = clock.at(ms);
        EXPECT_EQ(read.date(), expected.date()) << ms;
        EXPECT_EQ(read.time(), expected.time()) << ms;
        EXPECT_EQ(read.toMSecsSinceEpoch(), ms);
    }
    // the change to summer time moves the clock from 02:00 to 03:00
    EXPECT_EQ(clock.at(utc(3, 29, 0, 59, 59, 999)).time(), QTime(1, 59, 59, 999));
    EXPECT_EQ(clock.at(utc(3, 29, 1, 0, 0, 0)).time(), QTime(3, 0));
}

TEST_F(LocalClockTest, NowIsTheCurrentLocalTime)
{
    LocalClock clock;
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = clock.now();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
    EXPECT_EQ(now.offsetFromUtc(), before.offsetFromUtc());
}

}  // namespace
