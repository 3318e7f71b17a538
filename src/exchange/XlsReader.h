#pragma once

#include "exchange/Workbook.h"

#include <QString>

#include <vector>

// The worksheets of a legacy .xls workbook, read through FreeXL, with the stored results of
// its formula cells. Throws WorkbookError.
std::vector<WorkbookSheet> readXlsSheets(const QString& path);
