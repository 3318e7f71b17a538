#pragma once

#include "core/Error.h"

// A workbook that cannot be read or written: the message names the file and the reason.
class WorkbookError : public ZtfiError {
public:
    explicit WorkbookError(const QString& message) : ZtfiError(message, QStringLiteral("EWorkbookError")) {}
};
