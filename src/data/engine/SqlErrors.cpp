#include "data/engine/SqlErrors.h"

#include <QSqlError>

QString sqlErrorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}
