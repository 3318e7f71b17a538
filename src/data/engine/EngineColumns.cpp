#include "data/engine/EngineColumns.h"

#include "data/engine/FoldedNames.h"
#include "data/engine/SqliteStatement.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

namespace {

FieldType fieldTypeOfMetaType(int id)
{
    switch (id) {
    case QMetaType::Short:
    case QMetaType::SChar:
        return FieldType::SmallInt;
    case QMetaType::UShort:
    case QMetaType::UChar:
        return FieldType::Word;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return FieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Float;
    case QMetaType::Bool:
        return FieldType::Boolean;
    case QMetaType::QDate:
        return FieldType::Date;
    case QMetaType::QTime:
        return FieldType::Time;
    case QMetaType::QDateTime:
        return FieldType::DateTime;
    case QMetaType::QByteArray:
        return FieldType::Blob;
    case QMetaType::QString:
        return FieldType::String;
    default:
        return FieldType::Unknown;
    }
}

}  // namespace

FieldType fieldTypeOfDeclaredType(const QString& declaredType, int* size)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([A-Z0-9_ ]*?)\\s*(?:\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\))?\\s*$"));
    const QString upper = declaredType.toUpper();
    const QRegularExpressionMatch match = pattern.match(upper);
    const QString base = match.hasMatch() ? match.captured(1) : upper.trimmed();
    const int length = match.captured(2).toInt();
    const bool hasLength = !match.captured(2).isEmpty();
    const int scale = match.captured(3).toInt();
    if (size)
        *size = 0;

    if (base.isEmpty())
        return FieldType::Unknown;
    if (base.contains(QLatin1String("TIMESTAMP")) || base.contains(QLatin1String("DATETIME"))
        || base == QLatin1String("DATE"))
        return FieldType::DateTime;
    if (base.startsWith(QLatin1String("TIME")))
        return FieldType::Time;
    if (base.contains(QLatin1String("BOOL")))
        return FieldType::Boolean;
    if (base == QLatin1String("SMALLINT"))
        return FieldType::SmallInt;
    if (base.contains(QLatin1String("INT")))
        return FieldType::Integer;
    if (base == QLatin1String("NUMBER") || base == QLatin1String("NUMERIC")
        || base == QLatin1String("DECIMAL"))
        return hasLength && scale == 0 ? FieldType::Integer : FieldType::Float;
    if (base.contains(QLatin1String("CLOB")) || base == QLatin1String("TEXT"))
        return FieldType::Memo;
    if (base.contains(QLatin1String("CHAR"))) {
        if (size)
            *size = length;
        return FieldType::String;
    }
    if (base.contains(QLatin1String("BLOB")))
        return FieldType::Blob;
    if (base.contains(QLatin1String("REAL")) || base.contains(QLatin1String("FLOA"))
        || base.contains(QLatin1String("DOUB")))
        return FieldType::Float;
    return FieldType::String;
}

QList<EngineColumn> engineColumns(const QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    sqlite3_stmt* statement = SqliteStatement::of(query);
    const bool postgres = query.driver() && query.driver()->dbmsType() == QSqlDriver::PostgreSQL;
    QList<EngineColumn> columns;
    columns.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        EngineColumn column;
        column.name = field.name();
        if (postgres && column.name == column.name.toLower())
            column.name = unfoldedColumnName(column.name, query.lastQuery());
        if (statement) {
            const char* declared = sqlite3_column_decltype(statement, i);
            if (declared) {
                column.type = fieldTypeOfDeclaredType(QString::fromUtf8(declared), &column.size);
            } else {
                column.type = fieldTypeOfMetaType(field.metaType().id());
                column.declaredType = false;
            }
        } else {
            column.type = fieldTypeOfMetaType(field.metaType().id());
            if (column.type == FieldType::String)
                column.size = qMax(0, field.length());
            // orafce's DATE holds days, date-times and times of day alike: the declared field
            // says which of them a column is (the time of a trade stays a time).
            if (postgres && isDateTimeType(column.type))
                column.declaredType = false;
        }
        columns.append(column);
    }
    return columns;
}
