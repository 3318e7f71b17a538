#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Texts and numbers of the NTRS report, independent of the user's locale.

// "yyyy-mm-dd" and "hh:mm:ss".
QString reportDate(const QDate& date);
QString reportTime(const QTime& time);

// A text read as a signed decimal integer of 32 or 64 bits (leading blanks allowed); any other
// text, or a value out of range, throws the conversion error ("EConvertError").
qint32 toInt32(const QString& text);
qint64 toInt64(const QString& text);

// The quantity of a quote in per cent: lot times the nominal value, with two decimals and "."
// ("0.00"; halves round away from zero).
QString percentQuantity(double lot, double nominal);
