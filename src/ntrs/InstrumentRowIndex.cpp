#include "ntrs/InstrumentRowIndex.h"

#include "core/Error.h"
#include "core/NullValue.h"
#include "data/dataset/Dataset.h"
#include "data/dataset/Field.h"

void InstrumentRowIndex::build()
{
    key_ = &codeList_.fieldByName(QStringLiteral("IntIdent"));
    // Numbers compare as the locate compares them: by their value as a double.
    const int count = codeList_.recordCount();
    rows_.reserve(count);
    for (int row = 0; row < count; ++row) {
        const QVariant stored = codeList_.valueAt(row, *key_);
        if (isNullValue(stored))
            continue;
        const double code = stored.toDouble();
        if (!rows_.contains(code))
            rows_.insert(code, row);
    }
}

bool InstrumentRowIndex::locate(qint64 internalCode)
{
    if (!key_)
        build();
    if (!isNumericType(key_->type()))
        return codeList_.locate(QStringLiteral("IntIdent"), QVariantList{internalCode});
    QVariant wanted;
    try {
        wanted = Field::convert(key_->type(), internalCode);
    } catch (const ZtfiError&) {
        return false;  // a code the field cannot hold matches no row
    }
    if (isNullValue(wanted))
        return codeList_.locate(QStringLiteral("IntIdent"), QVariantList{internalCode});
    const auto found = rows_.constFind(wanted.toDouble());
    if (found == rows_.constEnd())
        return false;
    codeList_.setRecNo(found.value());
    return true;
}
