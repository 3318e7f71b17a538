#include "data/engine/OleDate.h"

#include <cmath>

namespace OleDate {

namespace {

constexpr qint64 kMsPerDay = 86400000;

double dayFraction(const QTime& time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / double(kMsPerDay) : 0.0;
}

}  // namespace

QDate epoch()
{
    return QDate(1899, 12, 30);
}

bool isAfterEpoch(const QDateTime& value)
{
    return value.isValid() && value > QDateTime(epoch(), QTime(0, 0));
}

double fromDate(const QDate& date)
{
    return double(epoch().daysTo(date));
}

double fromDateTime(const QDateTime& dateTime)
{
    return fromDateAndTime(dateTime.date(), dateTime.time());
}

double fromDateAndTime(const QDate& date, const QTime& time)
{
    const double day = fromDate(date);
    const double fraction = dayFraction(time);
    return day < 0 ? day - fraction : day + fraction;
}

double fromTime(const QTime& time)
{
    return dayFraction(time);
}

namespace {

// The day and the millisecond of the day, rounded to the nearest millisecond.
struct Split {
    QDate date;
    int msOfDay;
};

Split split(double days)
{
    const double day = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - day) * double(kMsPerDay));
    QDate date = epoch().addDays(qint64(day));
    if (ms >= kMsPerDay) {
        date = date.addDays(1);
        ms -= kMsPerDay;
    }
    return {date, int(ms)};
}

}  // namespace

QDateTime toDateTime(double days)
{
    const Split s = split(days);
    return QDateTime(s.date, QTime::fromMSecsSinceStartOfDay(s.msOfDay));
}

QDate toDate(double days)
{
    return split(days).date;
}

QTime toTime(double days)
{
    return QTime::fromMSecsSinceStartOfDay(split(days).msOfDay);
}

}  // namespace OleDate
