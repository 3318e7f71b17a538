#include "core/Formats.h"

#include <QLocale>

namespace Formats {

QString dateText(const QDate& date)
{
    return date.toString(QString::fromLatin1(kDateFormat));
}

QString timeText(const QTime& time)
{
    return time.toString(QString::fromLatin1(kTimeFormat));
}

QString dateTimeText(const QDateTime& dateTime)
{
    const QTime t = dateTime.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0 && t.msec() == 0)
        return dateText(dateTime.date());
    return dateText(dateTime.date()) + QLatin1Char(' ') + timeText(t);
}

QDate parseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    QDate d = QDate::fromString(trimmed, QString::fromLatin1(kDateFormat));
    if (!d.isValid())
        d = QDate::fromString(trimmed, QStringLiteral("d.M.yyyy"));
    return d;
}

QString monthDayYearText(const QDate& date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

QString numberText(double value)
{
    QString s = QString::number(value, 'g', 15);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString groupedNumberText(double value, int decimals)
{
    static const QLocale slovenian(QLocale::Slovenian, QLocale::Slovenia);
    return slovenian.toString(value, 'f', decimals);
}

}  // namespace Formats
