#pragma once

#include <QDateTime>
#include <QString>

// Reads the text of a typed edit by its display format: the format (tokens DD, DDD, DDDD, MM,
// MMM, MMMM, YY, YYYY, HH, NN, SS, ZZ, ZZZ, AP, AM, AMP, AMPM in any case) is walked from the
// left, each token consuming its characters of the text and every other format character one
// character. Day, month and year not in the format are 1; a number that cannot be read counts
// as 0, and an impossible date or time gives day zero (30.12.1899 00:00) instead of an error.
namespace DateTextParser {

QDateTime parse(const QString& displayFormat, const QString& text);

// Day zero of the system's dates, the value 0.
QDateTime dayZero();

}  // namespace DateTextParser
