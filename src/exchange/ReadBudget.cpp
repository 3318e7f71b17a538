#include "exchange/ReadBudget.h"

#include "exchange/WorkbookReadError.h"

void ReadBudget::take(qsizetype characters)
{
    ++values_;
    characters_ += characters;
    if (values_ > kValues || characters_ > kCharacters)
        throw workbookReadError(path_, QStringLiteral("delovni zvezek je prevelik za uvoz (več kot 2.000.000 vrednosti "
                                                      "ali 50.000.000 znakov besedila)"));
}
