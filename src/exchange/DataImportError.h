#pragma once

#include "core/Error.h"

// The errors of the data import component.
class EDataImportError : public ZtfiError {
public:
    explicit EDataImportError(const QString& message) : ZtfiError(message, QStringLiteral("EDataImportError")) {}
};
