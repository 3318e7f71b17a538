#include "data/dataset/FieldDef.h"

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Unknown: return QStringLiteral("ftUnknown");
    case FieldType::String: return QStringLiteral("ftString");
    case FieldType::SmallInt: return QStringLiteral("ftSmallint");
    case FieldType::Integer: return QStringLiteral("ftInteger");
    case FieldType::Word: return QStringLiteral("ftWord");
    case FieldType::Boolean: return QStringLiteral("ftBoolean");
    case FieldType::Float: return QStringLiteral("ftFloat");
    case FieldType::Currency: return QStringLiteral("ftCurrency");
    case FieldType::BCD: return QStringLiteral("ftBCD");
    case FieldType::Date: return QStringLiteral("ftDate");
    case FieldType::Time: return QStringLiteral("ftTime");
    case FieldType::DateTime: return QStringLiteral("ftDateTime");
    case FieldType::Blob: return QStringLiteral("ftBlob");
    case FieldType::Memo: return QStringLiteral("ftMemo");
    case FieldType::AutoInc: return QStringLiteral("ftAutoInc");
    case FieldType::FixedChar: return QStringLiteral("ftFixedChar");
    case FieldType::WideString: return QStringLiteral("ftWideString");
    }
    return QStringLiteral("ftUnknown");
}

bool isIntegerType(FieldType type)
{
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::Word
        || type == FieldType::AutoInc;
}

bool isNumericType(FieldType type)
{
    return isIntegerType(type) || type == FieldType::Float || type == FieldType::Currency
        || type == FieldType::BCD;
}

bool isDateTimeType(FieldType type)
{
    return type == FieldType::Date || type == FieldType::Time || type == FieldType::DateTime;
}

bool isTextType(FieldType type)
{
    return type == FieldType::String || type == FieldType::FixedChar
        || type == FieldType::WideString || type == FieldType::Memo;
}
