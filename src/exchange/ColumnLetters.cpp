#include "exchange/ColumnLetters.h"

#include "exchange/DataImportError.h"

QString columnLetters(int index)
{
    if (index < 1 || index > 256)
        throw EDataImportError(QStringLiteral("Column index must be between 1 and 256 inclusive."));
    auto letter = [](int n) { return QChar(char16_t(u'A' + n)); };
    if (index <= 26)
        return QString(letter(index - 1));
    return QString(letter((index - 1) / 26 - 1)) + letter((index - 1) % 26);
}
