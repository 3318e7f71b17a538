#include "reporting/TimeZones.h"

#include "core/Error.h"

#include <QRegularExpression>
#include <QTime>

namespace {

int switchDay(int year, int shift)
{
    // 5*Y/4 with fractions, then truncated: integer division for the positive years used.
    return 31 - ((5 * year / 4 + shift) % 7);
}

// Moments compared by their calendar fields, as the wall clock of the market shows them.
bool before(const QDate& d1, const QTime& t1, const QDate& d2, const QTime& t2)
{
    return d1 < d2 || (d1 == d2 && t1 < t2);
}

int readSignedInteger(const QString& text)
{
    static const QRegularExpression integer(QStringLiteral("^\\s*[+-]?\\d+$"));
    bool ok = false;
    const int n = integer.match(text).hasMatch() ? text.trimmed().toInt(&ok) : 0;
    if (!ok)
        throw ZtfiError(QLatin1Char('\'') + text + QStringLiteral("' is not a valid integer value"),
                        QStringLiteral("EConvertError"));
    return n;
}

}  // namespace

QDate marchSwitchDay(int year)
{
    return QDate(year, 3, switchDay(year, 4));
}

QDate octoberSwitchDay(int year)
{
    return QDate(year, 10, switchDay(year, 1));
}

QString GetTimeZoneInfo(const QStringList& fixedZoneMarkets, const QString& offset,
                        const QString& market, const QDateTime& moment)
{
    if (fixedZoneMarkets.contains(market, Qt::CaseInsensitive))
        return offset;
    const int year = moment.date().year();
    const QTime two(2, 0);
    const QDate day = moment.date();
    const QTime time = moment.time();
    if (!(before(marchSwitchDay(year), two, day, time) && before(day, time, octoberSwitchDay(year), two)))
        return offset;
    const int n = readSignedInteger(offset) + 1;
    if (n < 0)
        return QLatin1Char('-') + QString::number(-n).rightJustified(2, QLatin1Char('0'));
    return QLatin1Char('+') + QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QString timeZoneInfoMessage(const QStringList& fixedZoneMarkets, const QString& reportingMarket,
                            const QDateTime& moment)
{
    return QStringLiteral("Časovni pas : ")
        + GetTimeZoneInfo(fixedZoneMarkets, QStringLiteral("+01"), reportingMarket, moment);
}
