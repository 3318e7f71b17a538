#include "reporting/TimeZones.h"

#include "core/Error.h"

#include <QTimeZone>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The years the rule of the last Sundays is checked for.
constexpr int kFirstCheckedYear = 1996;
constexpr int kLastCheckedYear = 2099;

struct SummerTimeSwitch {
    QDate march;
    QDate october;
};

// The days on which the system's time-zone database switches Ljubljana to and from summer time.
SummerTimeSwitch ljubljanaSwitch(int year)
{
    const QTimeZone zone(QByteArrayLiteral("Europe/Ljubljana"));
    const QTimeZone::OffsetDataList transitions =
        zone.transitions(QDateTime(QDate(year, 1, 1), QTime(0, 0), zone), QDateTime(QDate(year, 12, 31), QTime(0, 0), zone));
    SummerTimeSwitch result;
    for (const QTimeZone::OffsetData& t : transitions) {
        const QDate day = t.atUtc.toTimeZone(zone).date();
        if (t.daylightTimeOffset > 0)
            result.march = day;
        else
            result.october = day;
    }
    return result;
}

const QStringList kNoFixedMarkets;

QDateTime at(int y, int m, int d, int h, int min)
{
    return QDateTime(QDate(y, m, d), QTime(h, min));
}

TEST(TimeZones, SwitchDaysAreThoseOfTheTimeZoneDatabase)
{
    for (int year = kFirstCheckedYear; year <= kLastCheckedYear; ++year) {
        const SummerTimeSwitch expected = ljubljanaSwitch(year);
        ASSERT_EQ(marchSwitchDay(year), expected.march) << year;
        ASSERT_EQ(octoberSwitchDay(year), expected.october) << year;
    }
}

TEST(TimeZones, OffsetAtEveryNoonMatchesTheTimeZoneDatabase)
{
    const QTimeZone zone(QByteArrayLiteral("Europe/Ljubljana"));
    ASSERT_TRUE(zone.isValid());
    for (QDate day(kFirstCheckedYear, 1, 1); day.year() <= kLastCheckedYear; day = day.addDays(1)) {
        const QDateTime noon(day, QTime(12, 0));
        const int hours = zone.offsetFromUtc(QDateTime(day, QTime(12, 0), zone)) / 3600;
        ASSERT_EQ(GetTimeZoneInfo(kNoFixedMarkets, QStringLiteral("+01"), QStringLiteral("8"), noon),
                  QStringLiteral("+0%1").arg(hours))
            << day.toString(Qt::ISODate).toStdString();
    }
}

TEST(TimeZones, SummerStartsAndEndsAtTwoOClockExclusive)
{
    struct Case {
        QDateTime moment;
        const char* expected;
    };
    const Case cases[] = {
        {at(2014, 3, 30, 1, 59), "+01"}, {at(2014, 3, 30, 2, 0), "+01"},  {at(2014, 3, 30, 2, 1), "+02"},
        {at(2014, 3, 31, 0, 0), "+02"},  {at(2014, 10, 26, 1, 59), "+02"}, {at(2014, 10, 26, 2, 0), "+01"},
        {at(2014, 12, 31, 23, 59), "+01"}, {at(2014, 1, 1, 0, 0), "+01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetTimeZoneInfo(kNoFixedMarkets, QStringLiteral("+01"), QStringLiteral("8"), c.moment),
                  QLatin1String(c.expected))
            << c.moment.toString(Qt::ISODate).toStdString();
}

TEST(TimeZones, OffsetsMoveOneHourEastWithTwoDigits)
{
    const QDateTime summer = at(2014, 7, 1, 12, 0);
    const struct {
        const char* offset;
        const char* expected;
    } cases[] = {{"+01", "+02"}, {"-05", "-04"}, {"-01", "+00"}, {"+09", "+10"}, {"-12", "-11"}, {"+1", "+02"}};
    for (const auto& c : cases)
        EXPECT_EQ(GetTimeZoneInfo(kNoFixedMarkets, QLatin1String(c.offset), QStringLiteral("8"), summer),
                  QLatin1String(c.expected))
            << c.offset;
}

TEST(TimeZones, FixedZoneMarketKeepsItsOffsetAllYear)
{
    const QStringList fixed = {QStringLiteral("12"), QStringLiteral("xetr")};
    EXPECT_EQ(GetTimeZoneInfo(fixed, QStringLiteral("+01"), QStringLiteral("12"), at(2014, 7, 1, 12, 0)),
              QStringLiteral("+01"));
    EXPECT_EQ(GetTimeZoneInfo(fixed, QStringLiteral("+03"), QStringLiteral("XETR"), at(2014, 7, 1, 12, 0)),
              QStringLiteral("+03"));
    EXPECT_EQ(GetTimeZoneInfo(fixed, QStringLiteral("+01"), QStringLiteral("8"), at(2014, 7, 1, 12, 0)),
              QStringLiteral("+02"));
}

TEST(TimeZones, OffsetThatIsNoNumberFailsOnlyInSummer)
{
    EXPECT_EQ(GetTimeZoneInfo(kNoFixedMarkets, QStringLiteral("CET"), QStringLiteral("8"), at(2014, 1, 10, 9, 0)),
              QStringLiteral("CET"));
    try {
        GetTimeZoneInfo(kNoFixedMarkets, QStringLiteral("CET"), QStringLiteral("8"), at(2014, 7, 1, 9, 0));
        FAIL() << "no conversion error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.className(), QStringLiteral("EConvertError"));
    }
}

TEST(TimeZones, ButtonMessage)
{
    EXPECT_EQ(timeZoneInfoMessage(kNoFixedMarkets, QStringLiteral("8"), at(2014, 7, 1, 9, 0)),
              QStringLiteral("Časovni pas : +02"));
    EXPECT_EQ(timeZoneInfoMessage(kNoFixedMarkets, QStringLiteral("8"), at(2014, 1, 10, 9, 0)),
              QStringLiteral("Časovni pas : +01"));
    EXPECT_EQ(timeZoneInfoMessage({QStringLiteral("8")}, QStringLiteral("8"), at(2014, 7, 1, 9, 0)),
              QStringLiteral("Časovni pas : +01"));
}

}  // namespace
