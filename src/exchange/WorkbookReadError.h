#pragma once

#include "exchange/WorkbookError.h"

// "Napaka pri branju datoteke <path>: <reason>"
inline WorkbookError workbookReadError(const QString& path, const QString& reason)
{
    return WorkbookError(QStringLiteral("Napaka pri branju datoteke ") + path + QStringLiteral(": ") + reason);
}
