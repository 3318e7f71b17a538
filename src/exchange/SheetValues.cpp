#include "exchange/SheetValues.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "data/engine/OleDate.h"

#include <QRegularExpression>

#include <cmath>

namespace {

ZtfiError conversionError(const QString& text, const QString& kind)
{
    return ZtfiError(QStringLiteral("\"%1\" ni %2.").arg(text, kind), QStringLiteral("EConvertError"));
}

}  // namespace

namespace SheetValues {

QString text(const Cell& cell)
{
    QString value = cell.toText();
    if (cell.kind() == Cell::Kind::Text && value.startsWith(QLatin1Char('\'')))
        value.remove(0, 1);
    return value;
}

QDate date(const Cell& cell)
{
    if (cell.isDateOrTime())
        return cell.dateTimeValue().date();
    if (cell.kind() == Cell::Kind::Number)
        return OleDate::toDate(cell.numberValue());
    const QString value = text(cell).trimmed();
    const QDate day = Formats::parseDate(value.section(QLatin1Char(' '), 0, 0));
    if (!day.isValid())
        throw conversionError(value, QStringLiteral("datum"));
    return day;
}

QTime time(const Cell& cell)
{
    if (cell.isDateOrTime())
        return cell.dateTimeValue().time();
    if (cell.kind() == Cell::Kind::Number) {
        if (!(cell.numberValue() >= 0))
            throw conversionError(cell.toText(), QStringLiteral("čas"));
        return OleDate::toTime(cell.numberValue() - std::floor(cell.numberValue()));
    }
    const QString value = text(cell).trimmed();
    QTime result = QTime::fromString(value, QStringLiteral("H:mm:ss"));
    if (!result.isValid())
        result = QTime::fromString(value, QStringLiteral("H:mm"));
    if (!result.isValid())
        throw conversionError(value, QStringLiteral("čas"));
    return result;
}

QVariant number(const Cell& cell)
{
    if (cell.isEmpty())
        return QVariant();
    if (cell.kind() == Cell::Kind::Number)
        return cell.numberValue();
    QString value = text(cell).trimmed();
    static const QRegularExpression grouped(QStringLiteral(R"(^[+-]?\d{1,3}(\.\d{3})+(,\d*)?$)"));
    if (value.contains(QLatin1Char(',')) || grouped.match(value).hasMatch())
        value.remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double result = value.toDouble(&ok);
    if (!ok)
        throw conversionError(text(cell), QStringLiteral("število"));
    return result;
}

QVariant integer(const Cell& cell)
{
    if (cell.isEmpty())
        return QVariant();
    if (cell.kind() == Cell::Kind::Number && cell.numberValue() == std::floor(cell.numberValue())
        && std::fabs(cell.numberValue()) < 9.0e15)
        return qint64(cell.numberValue());
    bool ok = false;
    const qint64 result = text(cell).trimmed().toLongLong(&ok);
    if (!ok)
        throw conversionError(cell.toText(), QStringLiteral("celo število"));
    return result;
}

}  // namespace SheetValues
