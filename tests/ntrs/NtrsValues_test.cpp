#include "ntrs/NtrsValues.h"

#include <gtest/gtest.h>

namespace {

// Dates and times of the report are the texts of the formats "yyyy-MM-dd" and "hh:mm:ss", at
// the ends of their ranges too.
TEST(NtrsValues, DatesAndTimesAsTheirFormatsWriteThem)
{
    for (const QDate& date : {QDate(2026, 3, 2), QDate(1899, 12, 30), QDate(1, 1, 1), QDate(50, 7, 9),
                              QDate(999, 12, 31), QDate(9999, 12, 31), QDate(10000, 1, 1), QDate(-44, 3, 15),
                              QDate()}) {
        EXPECT_EQ(reportDate(date), date.toString(QStringLiteral("yyyy-MM-dd"))) << date.toJulianDay();
    }
    EXPECT_EQ(reportDate(QDate(2026, 3, 2)), QStringLiteral("2026-03-02"));
    for (const QTime& time : {QTime(0, 0), QTime(9, 5, 7), QTime(23, 59, 59, 999), QTime(12, 30, 0, 500), QTime()}) {
        EXPECT_EQ(reportTime(time), time.toString(QStringLiteral("hh:mm:ss"))) << time.msecsSinceStartOfDay();
    }
    EXPECT_EQ(reportTime(QTime(9, 5, 7)), QStringLiteral("09:05:07"));
}

}  // namespace
