#pragma once

#include "data/engine/Dialect.h"

#include <QString>
#include <QStringList>

class Connection;

// The signatures of the reports that the register records as sent.
namespace SentReports {

// The register in its list order (newest year first, highest serial first) in the dialect's form.
QString sql(SqlDialect dialect);

// For every register row with a send date, in the register's list order: its report file name
// with the extension changed to ".sig".
QStringList signatureNames(Connection& connection, SqlDialect dialect);

}  // namespace SentReports
