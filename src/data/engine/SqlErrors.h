#pragma once

#include <QString>

class QSqlError;

// The engine's own text of an error (the driver's wrapper text when the engine gave none).
QString sqlErrorText(const QSqlError& error);
