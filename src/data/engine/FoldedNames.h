#pragma once

#include <QString>

// PostgreSQL folds unquoted names to lower case, so a result column of "SELECT DpAtvpId ..."
// comes back as "dpatvpid". The name the program declared is the statement's own spelling of
// that word when the statement writes it (a column or an alias, as the embedded engine reports
// it), else the upper-cased name (a column of SELECT *, as Oracle reports it).
QString unfoldedColumnName(const QString& foldedName, const QString& statement);
