#pragma once

#include "exchange/DataImportStructure.h"

#include <QString>
#include <QTime>

// The type test of a value read by the data import component, in the system's formats: whole
// numbers, numbers with a decimal comma (thousands points removed first: "1.234,50" gives
// "1234,50"), dates "dd.mm.yyyy", times "hh:mm[:ss]", and dates with a time. Returns the text
// that passed; a text that is not of the type throws ZtfiError ("EConvertError") quoting it.
QString checkedImportText(const QString& text, TDataImportDataType type);

// Header names read a time of day written without separators: ":" goes after the second
// character and, when the text is then longer than five, after the fifth ("1530" is 15:30,
// "153045" is 15:30:45). Throws the conversion error when that is not a time.
QTime separatedTime(const QString& text);
