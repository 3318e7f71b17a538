#pragma once

#include <QDateTime>
#include <QString>

// Display formats of fields, written as the system writes them, with the Slovenian
// separators (decimal comma, thousands point, date separator ".").
namespace DisplayFormat {

// A number by a format such as "0", "0.00", ",0.00" or "#,##0.###": "0" is a digit always
// shown, "#" a digit shown when significant, "." the place of the decimal separator, a ","
// before it groups thousands; other characters are copied. Only the first ";"-section counts.
QString formatNumber(const QString& format, double value);

// A date-time by a format of the tokens d, dd, m, mm, mmm, mmmm, yy, yyyy, h, hh, n, nn, s,
// ss, z, zzz (letters in any case; "m" right after an hour means minutes), "/" the date
// separator, ":" the time separator, text in quotes copied; other characters are copied.
QString formatDateTime(const QString& format, const QDateTime& value);

}  // namespace DisplayFormat
