#pragma once

#include "exchange/Workbook.h"

#include <QString>

#include <vector>

// The worksheets of an .xlsx workbook: its XML parts read from the archive (libzip) with
// libxml2's streaming reader. Throws WorkbookError.
std::vector<WorkbookSheet> readXlsxSheets(const QString& path);
