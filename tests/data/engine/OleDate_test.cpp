#include "data/engine/OleDate.h"

#include <gtest/gtest.h>

namespace {

struct DateCase {
    QDateTime dateTime;
    double days;
};

class OleDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(OleDateTest, ConvertsBothWays)
{
    const DateCase& c = GetParam();
    EXPECT_DOUBLE_EQ(OleDate::fromDateTime(c.dateTime), c.days);
    EXPECT_EQ(OleDate::toDateTime(c.days), c.dateTime);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OleDateTest,
    ::testing::Values(
        DateCase{QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0},
        DateCase{QDateTime(QDate(1899, 12, 31), QTime(12, 0)), 1.5},
        DateCase{QDateTime(QDate(1900, 1, 1), QTime(18, 0)), 2.75},
        // before day zero the fraction is still the time of the day
        DateCase{QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
        DateCase{QDateTime(QDate(2014, 3, 31), QTime(0, 0)), 41729.0},
        DateCase{QDateTime(QDate(2026, 1, 5), QTime(6, 0)), 46027.25}));

TEST(OleDate, EverySecondOfADayReadsBackExactly)
{
    const QDate day(2014, 10, 26);
    for (int s = 0; s < 86400; ++s) {
        const QDateTime moment(day, QTime(0, 0).addSecs(s));
        ASSERT_EQ(OleDate::toDateTime(OleDate::fromDateTime(moment)), moment) << s;
    }
}

TEST(OleDate, ReadingRoundsToTheNearestMillisecond)
{
    const double almost = 41729.0 + (15 * 3600 + 45 * 60 + 10) / 86400.0 - 1e-9;
    EXPECT_EQ(OleDate::toDateTime(almost), QDateTime(QDate(2014, 3, 31), QTime(15, 45, 10)));
    // a hair below midnight is the next day
    EXPECT_EQ(OleDate::toDateTime(41729.0 - 1e-10), QDateTime(QDate(2014, 3, 31), QTime(0, 0)));
    EXPECT_EQ(OleDate::toDate(41728.9999999999), QDate(2014, 3, 31));
}

TEST(OleDate, AThousandthOfADayIsUnderAMinuteAndAHalf)
{
    const double stamp = OleDate::fromDateTime(QDateTime(QDate(2014, 4, 2), QTime(10, 0)));
    EXPECT_EQ(OleDate::toDateTime(stamp - 0.001),
              QDateTime(QDate(2014, 4, 2), QTime(9, 58, 33, 600)));
}

TEST(OleDate, TimeOfDayAlone)
{
    EXPECT_DOUBLE_EQ(OleDate::fromTime(QTime(12, 0)), 0.5);
    EXPECT_EQ(OleDate::toTime(OleDate::fromTime(QTime(15, 45, 10))), QTime(15, 45, 10));
    EXPECT_EQ(OleDate::toTime(41729.75), QTime(18, 0));
}

}  // namespace
