#include "ntrs/NtrsValues.h"

#include "core/Error.h"

#include <QRegularExpression>

#include <cmath>
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

}  // namespace

QString reportDate(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString reportTime(const QTime& time)
{
    return time.toString(QStringLiteral("hh:mm:ss"));
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
