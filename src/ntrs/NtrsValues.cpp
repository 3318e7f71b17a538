#include "ntrs/NtrsValues.h"

#include "core/Error.h"

#include <QRegularExpression>

#include <cmath>
#include <initializer_list>
#include <utility>
#include <limits>

namespace {

qint64 readInteger(const QString& text)
{
    static const QRegularExpression integer(QStringLiteral("^\\s*[+-]?\\d+$"));
    bool ok = false;
    const qint64 value = integer.match(text).hasMatch() ? text.trimmed().toLongLong(&ok) : 0;
    if (!ok)
        throw ZtfiError(QLatin1Char('\'') + text + QStringLiteral("' is not a valid integer value"),
                        QStringLiteral("EConvertError"));
    return value;
}

// Numbers of fixed width, each with its zeros in front, and a separator between them: as the
// formats "yyyy-MM-dd" and "hh:mm:ss" write them, without reading a format for every value.
QString digits(std::initializer_list<std::pair<int, int>> numbers, char separator)
{
    QString text;
    text.reserve(10);
    for (const auto& [value, width] : numbers) {
        if (!text.isEmpty())
            text += QLatin1Char(separator);
        for (int unit = width == 4 ? 1000 : 10; unit > 0; unit /= 10)
            text += QLatin1Char(char('0' + value / unit % 10));
    }
    return text;
}

}  // namespace

QString reportDate(const QDate& date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    return digits({{date.year(), 4}, {date.month(), 2}, {date.day(), 2}}, '-');
}

QString reportTime(const QTime& time)
{
    if (!time.isValid())
        return time.toString(QStringLiteral("hh:mm:ss"));
    return digits({{time.hour(), 2}, {time.minute(), 2}, {time.second(), 2}}, ':');
}

qint32 toInt32(const QString& text)
{
    const qint64 value = readInteger(text);
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw ZtfiError(QLatin1Char('\'') + text + QStringLiteral("' is not a valid integer value"),
                        QStringLiteral("EConvertError"));
    return qint32(value);
}

qint64 toInt64(const QString& text)
{
    return readInteger(text);
}

QString percentQuantity(double lot, double nominal)
{
    const double value = lot * nominal;
    const double rounded = std::round(std::fabs(value) * 100.0) / 100.0;
    return (value < 0 && rounded > 0 ? QStringLiteral("-") : QString()) + QString::number(rounded, 'f', 2);
}
