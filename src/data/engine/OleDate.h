#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The date type of the embedded engine: a REAL number of days since 30 December 1899, with
// the time of day as the fraction (12:00 is 0.5). Before that day the integral part counts the
// days back and the fraction is still the time of that day (-1.25 is 29.12.1899 06:00), so
// truncating toward zero always gives the day.
namespace OleDate {

// Day zero, 30 December 1899.
QDate epoch();
// A date and time later than the start of day zero (not empty, not the "no date" of day zero).
bool isAfterEpoch(const QDateTime& value);

double fromDate(const QDate& date);
double fromDateTime(const QDateTime& dateTime);
double fromDateAndTime(const QDate& date, const QTime& time);
// A time of day alone: the fraction of day zero.
double fromTime(const QTime& time);

// A REAL cannot hold every second exactly (15:45:10 may come back as 15:45:09.9999999), so
// reading rounds to the nearest millisecond; the rounding may carry into the next day.
QDateTime toDateTime(double days);
QDate toDate(double days);
QTime toTime(double days);

}  // namespace OleDate
