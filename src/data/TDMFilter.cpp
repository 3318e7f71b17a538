#include "data/TDMFilter.h"

#include "data/HiddenCardFields.h"

void TDMFilter::loaded()
{
    if (tableName().toUpper() != QLatin1String("POG"))
        addHiddenCardFields(*this);
    TFilter::loaded();
}
