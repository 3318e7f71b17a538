#include "exchange/Cell.h"

#include "core/Formats.h"
#include "data/engine/OleDate.h"

Cell Cell::text(const QString& value)
{
    Cell cell;
    cell.kind_ = Kind::Text;
    cell.text_ = value;
    return cell;
}

Cell Cell::number(double value)
{
    Cell cell;
    cell.kind_ = Kind::Number;
    cell.number_ = value;
    return cell;
}

Cell Cell::date(const QDate& value)
{
    return serial(Kind::Date, OleDate::fromDate(value));
}

Cell Cell::dateTime(const QDateTime& value)
{
    return serial(Kind::DateTime, OleDate::fromDateTime(value));
}

Cell Cell::serial(Kind kind, double days)
{
    Cell cell;
    cell.kind_ = kind;
    cell.number_ = days;
    return cell;
}

Cell Cell::boolean(bool value)
{
    Cell cell;
    cell.kind_ = Kind::Boolean;
    cell.number_ = value ? 1 : 0;
    return cell;
}

Cell Cell::error(const QString& name)
{
    Cell cell;
    cell.kind_ = Kind::Error;
    cell.text_ = name;
    return cell;
}

bool Cell::isEmpty() const
{
    return kind_ == Kind::Empty || (kind_ == Kind::Text && text_.isEmpty());
}

QDateTime Cell::dateTimeValue() const
{
    return isDateOrTime() ? OleDate::toDateTime(number_) : QDateTime();
}

QString Cell::toText() const
{
    switch (kind_) {
    case Kind::Empty:
        return QString();
    case Kind::Text:
    case Kind::Error:
        return text_;
    case Kind::Number:
        return Formats::numberText(number_);
    case Kind::Date:
        return Formats::dateText(OleDate::toDate(number_));
    case Kind::Time:
        return Formats::timeText(OleDate::toTime(number_));
    case Kind::DateTime:
        return Formats::dateTimeText(OleDate::toDateTime(number_));
    case Kind::Boolean:
        return number_ != 0 ? QStringLiteral("True") : QStringLiteral("False");
    }
    return QString();
}

bool Cell::operator==(const Cell& other) const
{
    return kind_ == other.kind_ && number_ == other.number_ && text_ == other.text_;
}
