#pragma once

#include "exchange/WorkbookWriter.h"

#include <QByteArray>

// The sheets as the bytes of a legacy .xls file: a BIFF8 workbook stream in an OLE2 compound
// file made with libgsf. The limits of the format are the caller's to check.
QByteArray xlsBytes(const std::vector<SheetContent>& sheets);
