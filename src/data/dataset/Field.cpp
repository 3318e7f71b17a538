#include "data/dataset/Field.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "core/NullValue.h"
#include "data/dataset/Dataset.h"
#include "data/dataset/DisplayFormat.h"
#include "data/engine/OleDate.h"

#include <QRegularExpression>

#include <cmath>

namespace {

bool isFloatValue(const QVariant& value)
{
    const int id = value.metaType().id();
    return id == QMetaType::Double || id == QMetaType::Float;
}

ZtfiError conversionError(const QString& text, const char* what)
{
    return ZtfiError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
}

// "dd.mm.yyyy", optionally followed by "hh:mm[:ss]"; also the ISO form that text columns hold.
QDateTime parseDateTimeText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QString trimmed = text.trimmed();
    if (const QRegularExpressionMatch m = pattern.match(trimmed); m.hasMatch()) {
        const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
        const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (date.isValid() && time.isValid())
            return QDateTime(date, time);
        return {};
    }
    QDateTime iso = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    if (!iso.isValid())
        iso = QDateTime::fromString(trimmed, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!iso.isValid()) {
        const QDate day = QDate::fromString(trimmed, Qt::ISODate);
        if (day.isValid())
            iso = QDateTime(day, QTime(0, 0));
    }
    return iso;
}

QTime parseTimeText(const QString& text)
{
    const QString trimmed = text.trimmed();
    QTime time = QTime::fromString(trimmed, QStringLiteral("h:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(trimmed, QStringLiteral("h:mm"));
    if (!time.isValid())
        time = QTime::fromString(trimmed, QStringLiteral("h:mm:ss.zzz"));
    return time;
}

// The day of a stored day number, rounded to the millisecond as OleDate::toDateTime rounds,
// without building a local date-time (which consults the time zone on every call).
QDate dayOf(double days)
{
    const double day = std::trunc(days);
    const qint64 ms = std::llround(std::fabs(days - day) * 86400000.0);
    return OleDate::epoch().addDays(qint64(day) + (ms >= 86400000 ? 1 : 0));
}

QDateTime toDateTimeValue(const QVariant& value);

QDate toDateValue(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
    case QMetaType::QString:
    case QMetaType::QTime:
        return toDateTimeValue(value).date();
    default: {
        bool ok = false;
        const double days = value.toDouble(&ok);
        if (!ok)
            throw conversionError(value.toString(), "date");
        return dayOf(days);
    }
    }
}

QDateTime toDateTimeValue(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QTime:
        return QDateTime(OleDate::epoch(), value.toTime());
    case QMetaType::QString: {
        const QDateTime parsed = parseDateTimeText(value.toString());
        if (!parsed.isValid())
            throw conversionError(value.toString(), "date");
        return parsed;
    }
    default: {
        bool ok = false;
        const double days = value.toDouble(&ok);
        if (!ok)
            throw conversionError(value.toString(), "date");
        return OleDate::toDateTime(days);
    }
    }
}

double parseFloatText(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double result = 0;
    if (!trimmed.contains(u'.'))
        result = QString(trimmed).replace(u',', u'.').toDouble(&ok);
    if (!ok)
        throw conversionError(text, "floating point value");
    return result;
}

}  // namespace

Field::Field(Dataset& dataset, const FieldDef& def, bool declared)
    : dataset_(&dataset), def_(def), declared_(declared)
{
}

int Field::index() const
{
    const QList<Field*> all = dataset_->fields();
    return int(all.indexOf(const_cast<Field*>(this)));
}

int Field::displayWidth() const
{
    if (def_.displayWidth > 0)
        return def_.displayWidth;
    if (isTextType(def_.type) && def_.type != FieldType::Memo && def_.size > 0)
        return def_.size;
    switch (def_.type) {
    case FieldType::DateTime: return 18;
    case FieldType::Boolean: return 5;
    case FieldType::SmallInt:
    case FieldType::Word: return 6;
    default: return 10;
    }
}

Qt::Alignment Field::alignment() const
{
    if (def_.alignment != Qt::Alignment())
        return def_.alignment;
    return isNumericType(def_.type) ? Qt::AlignRight : Qt::AlignLeft;
}

void Field::setLookup(Dataset* dataset, const QString& keyFields, const QString& lookupKeyFields,
                      const QString& resultField)
{
    def_.lookupDataset = dataset;
    def_.keyFields = keyFields;
    def_.lookupKeyFields = lookupKeyFields;
    def_.lookupResultField = resultField;
}

QVariant Field::value() const
{
    return dataset_->currentValue(*this);
}

bool Field::isNull() const
{
    return isNullValue(value());
}

QString Field::asString() const
{
    return textOf(value());
}

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return 0;
    if (v.metaType().id() == QMetaType::QString)
        return convert(FieldType::Integer, v).toLongLong();
    if (isFloatValue(v))
        return std::llround(v.toDouble());
    return v.toLongLong();
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return 0;
    if (v.metaType().id() == QMetaType::QString)
        return convert(FieldType::Float, v).toDouble();
    return v.toDouble();
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return QDateTime(OleDate::epoch(), QTime(0, 0));
    return toDateTimeValue(v);
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return OleDate::epoch();
    return toDateValue(v);
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (isNullValue(v))
        return false;
    return convert(FieldType::Boolean, v).toBool();
}

QString Field::displayText() const
{
    return displayTextOf(value());
}

QVariant Field::oldValue() const
{
    if (dataset_->state() == Dataset::State::Insert)
        return QVariant();
    const int row = dataset_->recNo();
    return row >= 0 ? dataset_->valueAt(row, *this) : QVariant();
}

void Field::setValue(const QVariant& value)
{
    dataset_->setFieldValue(*this, convert(def_.type, value));
}

QVariant Field::convert(FieldType type, const QVariant& value)
{
    if (isNullValue(value))
        return QVariant();
    const bool isText = value.metaType().id() == QMetaType::QString;
    if (isText && value.toString().trimmed().isEmpty() && !isTextType(type))
        return QVariant();

    switch (type) {
    case FieldType::String:
    case FieldType::FixedChar:
    case FieldType::WideString:
    case FieldType::Memo:
        if (isFloatValue(value))
            return Formats::numberText(value.toDouble());
        if (value.metaType().id() == QMetaType::QDateTime)
            return Formats::dateTimeText(value.toDateTime());
        if (value.metaType().id() == QMetaType::QDate)
            return Formats::dateText(value.toDate());
        return value.toString();
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Word:
    case FieldType::AutoInc: {
        if (isText) {
            bool ok = false;
            const qint64 n = value.toString().trimmed().toLongLong(&ok);
            if (!ok)
                throw conversionError(value.toString(), "integer value");
            return n;
        }
        if (isFloatValue(value))
            return qint64(std::llround(value.toDouble()));
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok)
            throw conversionError(value.toString(), "integer value");
        return n;
    }
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::BCD: {
        if (isText)
            return parseFloatText(value.toString());
        // A date in a number field is its day number, as the embedded engine stores dates.
        switch (value.metaType().id()) {
        case QMetaType::QDate: return OleDate::fromDate(value.toDate());
        case QMetaType::QDateTime: return OleDate::fromDateTime(value.toDateTime());
        case QMetaType::QTime: return OleDate::fromTime(value.toTime());
        default: break;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            throw conversionError(value.toString(), "floating point value");
        return d;
    }
    case FieldType::Date:
        return toDateValue(value);
    case FieldType::DateTime:
        return toDateTimeValue(value);
    case FieldType::Time: {
        if (isText) {
            const QTime t = parseTimeText(value.toString());
            if (t.isValid())
                return t;
        }
        return toDateTimeValue(value).time();
    }
    case FieldType::Boolean:
        if (isText) {
            const QString t = value.toString().trimmed();
            if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
                return true;
            if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
                return false;
            throw conversionError(t, "boolean value");
        }
        return value.toBool();
    case FieldType::Blob:
        return value.toByteArray();
    case FieldType::Unknown:
        return value;
    }
    return value;
}

QString Field::textOf(const QVariant& v) const
{
    if (isNullValue(v))
        return QString();
    switch (def_.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Word:
    case FieldType::AutoInc:
        if (isFloatValue(v))
            return Formats::numberText(v.toDouble());
        return v.metaType().id() == QMetaType::QString ? v.toString() : QString::number(v.toLongLong());
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::BCD:
        return v.metaType().id() == QMetaType::QString ? v.toString()
                                                        : Formats::numberText(v.toDouble());
    case FieldType::Date:
        return Formats::dateText(toDateValue(v));
    case FieldType::DateTime:
        return Formats::dateTimeText(toDateTimeValue(v));
    case FieldType::Time:
        return Formats::timeText(convert(FieldType::Time, v).toTime());
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Blob:
        return QString::fromUtf8(v.toByteArray());
    default:
        if (isFloatValue(v))
            return Formats::numberText(v.toDouble());
        return v.toString();
    }
}

QString Field::displayTextOf(const QVariant& v) const
{
    if (def_.displayFormat.isEmpty() || isNullValue(v))
        return textOf(v);
    if (isNumericType(def_.type))
        return DisplayFormat::formatNumber(def_.displayFormat, convert(FieldType::Float, v).toDouble());
    if (isDateTimeType(def_.type))
        return DisplayFormat::formatDateTime(def_.displayFormat, toDateTimeValue(v));
    return textOf(v);
}
