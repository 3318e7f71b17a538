#include "data/filter/TDMFilter.h"

#include "data/dataset/HiddenCardFields.h"

void TDMFilter::loaded()
{
    if (tableName().toUpper() != QLatin1String("POG"))
        addHiddenCardFields(*this);
    TFilter::loaded();
}
