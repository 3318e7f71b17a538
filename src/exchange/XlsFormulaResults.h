#pragma once

#include "exchange/Cell.h"

#include <QHash>
#include <QString>

#include <vector>

class ReadBudget;

// The value of a formula cell as the spreadsheet program that saved the workbook calculated it.
struct FormulaResult {
    int row;     // from 1
    int column;  // from 1
    Cell value;  // a number (a date or time by the cell's format), a text, a boolean or an error
};

// The results stored with the formula cells of a legacy .xls workbook (BIFF8), by worksheet name
// (FreeXL gives these cells no value). Read from the FORMULA records and the STRING records that
// follow those of a text result, in the workbook's own record stream. A workbook of an older
// format (BIFF5 and before) gives none. Every result is counted in the budget. Throws
// WorkbookError when the stream breaks off or the budget is spent.
QHash<QString, std::vector<FormulaResult>> readXlsFormulaResults(const QString& path, ReadBudget& budget);

// The cells that the worksheets of a legacy .xls workbook declare (their DIMENSIONS records: last
// row times last column), for which FreeXL takes memory whatever they hold; 0 for a file whose
// stream cannot be read (its reading names the fault).
qint64 declaredXlsCells(const QString& path);
