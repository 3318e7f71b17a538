#pragma once

#include <QDate>
#include <QString>

class Interaction;
class TUniQuery;

// Small helpers of the reporting code around datasets.

// Each character of the text as an SQL string literal (a quote doubled), joined by the
// separator: "ABC" with "," gives 'A','B','C'; an empty text gives an empty result.
QString QuotedCharList(const QString& text, const QString& separator);

// Set the parameter when the query has one of that name (any case); whether it had.
bool SetIntParamIfPresent(TUniQuery& query, const QString& name, qint64 value);
bool SetDateParamIfPresent(TUniQuery& query, const QString& name, const QDate& value);

// Waits the given time while the user interface keeps processing its events.
void PauseWithMessages(Interaction& ui, int milliseconds);

// Day 1 of the date's month.
QDate FirstDayOfMonth(const QDate& date);
// Days of the date's month (February by the Gregorian leap-year rule).
int DaysInMonth(const QDate& date);
