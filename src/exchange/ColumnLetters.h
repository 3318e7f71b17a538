#pragma once

#include <QString>

// The letters of a worksheet column of a legacy workbook: "A" for 1, "Z" for 26, "AA" for 27,
// "IV" for 256. Other indexes throw EDataImportError "Column index must be between 1 and 256
// inclusive.".
QString columnLetters(int index);
