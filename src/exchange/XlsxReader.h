#pragma once

#include "exchange/Workbook.h"

#include <QString>

#include <vector>

// The worksheets of an .xlsx workbook: its XML parts read from the archive (libzip) with
// libxml2: the worksheets in one pass of its SAX2 parser, the small parts with its streaming
// reader. Throws WorkbookError.
std::vector<WorkbookSheet> readXlsxSheets(const QString& path);
