#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Summer time of the markets: the period runs between the last Sundays of March and October.
// Day of March (resp. October) of year Y: 31 - (trunc(5*Y/4 + 4) mod 7) (resp. + 1); the rule
// holds for the years 1900 to 2099.
QDate marchSwitchDay(int year);
QDate octoberSwitchDay(int year);

// The offset that applies at a moment for a market whose standard offset is given as a sign and
// two digits ("+01"). Markets of the fixed-zone list (compared without regard to case) keep the
// given offset. Strictly between 02:00 of the March and of the October switch day the offset is
// moved one hour east (+01 -> +02, -05 -> -04); otherwise it is returned unchanged. An offset
// that is not a signed integer throws the conversion error during summer time.
QString GetTimeZoneInfo(const QStringList& fixedZoneMarkets, const QString& offset,
                        const QString& market, const QDateTime& moment);

// The text that "Preveri časovni pas" shows for the reporting market at a moment.
QString timeZoneInfoMessage(const QStringList& fixedZoneMarkets, const QString& reportingMarket,
                            const QDateTime& moment);
