#include "exchange/DataImportStructure.h"

TDataImportStructureItem& TDataImportStructure::Add()
{
    return items_.emplace_back();
}

int TDataImportStructure::IndexOf(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[size_t(i)].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
