#pragma once

#include "exchange/Cell.h"

#include <QString>

// What a cell's number format shows its number as: a number, a date, a time of day or both.
// id is the format's number (the built-in formats of both workbook formats share them), code its
// format code when the workbook defines it.
Cell::Kind kindOfNumberFormat(int id, const QString& code);
