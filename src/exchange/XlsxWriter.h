#pragma once

#include "exchange/WorkbookWriter.h"

// Writes the sheets to the file as an .xlsx through libxlsxwriter; returns the reason of a
// failure, empty when the file was written.
QString writeXlsxFile(const QString& path, const std::vector<SheetContent>& sheets);
