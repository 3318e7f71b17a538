#include "exchange/StringListDataImport.h"

#include "exchange/DataImportError.h"

#include <QStringList>

void TStringListDataImport::SetData(const QVariantList* rows)
{
    rows_ = rows;
    row_ = 0;
}

bool TStringListDataImport::Eof()
{
    return !rows_ || row_ >= rows_->size();
}

void TStringListDataImport::Next()
{
    if (!rows_)
        throw EDataImportError(className() + QStringLiteral(".Next: FList = nil!"));
    if (row_ < rows_->size())
        ++row_;
}

QStringList TStringListDataImport::checkRecord() const
{
    const int count = rows_ ? int(rows_->size()) : 0;
    if (row_ < 0 || row_ >= count)
        throw EDataImportError(className()
                               + QStringLiteral(".CheckRecord: neveljavna lokacija zapisa, lokacija: %1, število zapisov: %2")
                                     .arg(row_)
                                     .arg(count));
    const QVariant& entry = rows_->at(row_);
    if (entry.isNull())
        throw EDataImportError(className() + QStringLiteral(".CheckRecord: ni podatkov za zapis št. %1").arg(row_));
    if (entry.metaType() != QMetaType::fromType<QStringList>())
        throw EDataImportError(className()
                               + QStringLiteral(".CheckRecord: neveljaven tip objekta za zapis št. %1").arg(row_));
    return entry.toStringList();
}

Cell TStringListDataImport::GetValue(int index)
{
    const QStringList values = checkRecord();
    if (index < 0 || index >= values.size())
        throw EDataImportError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return Cell::text(values.at(index));
}
