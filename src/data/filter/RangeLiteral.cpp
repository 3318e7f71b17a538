#include "data/filter/RangeLiteral.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "data/dataset/Field.h"

#include <QLocale>

#include <cmath>

QString rangeLiteral(const Field& field, const QVariant& value, const QString& componentName,
                     const QString& tableName)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("NULL");
    switch (field.type()) {
    case FieldType::String: {
        QString text = value.toString();
        if (value.metaType().id() == QMetaType::Double)
            text = Formats::numberText(value.toDouble());
        return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("''"))
               + QLatin1Char('\'');
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Word:
    case FieldType::AutoInc:
    case FieldType::Float:
    case FieldType::Currency: {
        const int id = value.metaType().id();
        const bool decimal = id == QMetaType::Double || id == QMetaType::Float
                             || (id == QMetaType::QString && value.toString().contains(u','));
        if (!decimal)
            return QString::number(Field::convert(FieldType::Integer, value).toLongLong());
        const double number = Field::convert(FieldType::Float, value).toDouble();
        if (number == std::trunc(number) && std::fabs(number) < 1e15)
            return QString::number(qint64(number));
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    case FieldType::Date:
        return QLatin1Char('\'') + Formats::dateText(Field::convert(FieldType::Date, value).toDate())
               + QLatin1Char('\'');
    case FieldType::Time:
        return QLatin1Char('\'') + Formats::timeText(Field::convert(FieldType::Time, value).toTime())
               + QLatin1Char('\'');
    case FieldType::DateTime:
        return QLatin1Char('\'')
               + Formats::dateTimeText(Field::convert(FieldType::DateTime, value).toDateTime())
               + QLatin1Char('\'');
    default:
        break;
    }
    throw ZtfiError(QStringLiteral("SQLSetRange : Unknown field type: ") + fieldTypeName(field.type())
                    + QStringLiteral(" (") + componentName + QLatin1Char('.') + tableName
                    + QLatin1Char(')'));
}
