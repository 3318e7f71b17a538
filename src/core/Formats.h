#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The one place that holds the system's formats: dates "dd.mm.yyyy", times "hh:mm:ss",
// Slovenian numbers (decimal comma, thousands point).
namespace Formats {

inline constexpr const char* kDateFormat = "dd.MM.yyyy";
inline constexpr const char* kTimeFormat = "hh:mm:ss";

QString dateText(const QDate& date);                 // 05.01.2026
QString timeText(const QTime& time);                 // 15:45:10
// Date alone at midnight, else date, a blank and the time.
QString dateTimeText(const QDateTime& dateTime);
// Parses "d.m.yyyy" / "dd.mm.yyyy"; invalid date when the text is not a date.
QDate parseDate(const QString& text);
// Month/day/year with "/" and a four-digit year, as generated SQL writes dates: 01/05/2026.
QString monthDayYearText(const QDate& date);
// Shortest decimal form with a decimal comma and no thousands separator: 1234,5 / 7.
QString numberText(double value);
// Number with thousands points and the given decimals: 1.234,50.
QString groupedNumberText(double value, int decimals);

}  // namespace Formats
