#pragma once

#include "exchange/CellBlock.h"

#include <QString>

#include <vector>

// A worksheet to write: its name and its values from A1, written at once. Empty cells are not
// written; texts are written as texts, numbers as numbers, dates and times as numbers in the
// spreadsheet's built-in date, time or date-and-time format, booleans and errors as their text.
struct SheetContent {
    QString name;
    CellBlock values;
};

// Writes the sheets as a workbook: an .xlsx when the file name ends in ".xlsx" (in any case),
// else a legacy .xls (BIFF8). The limits of the format (rows, columns, text length, sheet names)
// are checked before anything is written. The file is written under a temporary name beside
// the chosen one and renamed into place when complete, replacing a file of that name; a failure
// throws ZtfiError "Napaka pri pisanju datoteke <path>: <reason>" and leaves any earlier file
// of that name as it was.
void writeWorkbook(const QString& path, const std::vector<SheetContent>& sheets);

// Whether writeWorkbook writes the name as an .xlsx.
bool isXlsxName(const QString& path);
