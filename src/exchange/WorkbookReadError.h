#pragma once

#include "exchange/WorkbookError.h"

// Reasons shared by the readers of both workbook formats.
inline const QString kNotWorkbook = QStringLiteral("datoteka ni Excelov delovni zvezek (.xls ali .xlsx)");
inline const QString kDamaged = QStringLiteral("datoteka je poškodovana ali nepopolna");
inline const QString kTextTooLong = QStringLiteral("besedilo celice je daljše od 32767 znakov");

// Days between the 1904 date system's day zero and the 1900 system's.
inline constexpr double k1904Offset = 1462;

// "Napaka pri branju datoteke <path>: <reason>"
inline WorkbookError workbookReadError(const QString& path, const QString& reason)
{
    return WorkbookError(QStringLiteral("Napaka pri branju datoteke ") + path + QStringLiteral(": ") + reason);
}
