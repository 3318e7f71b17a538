#pragma once

#include <QString>
#include <QVariant>

class Connection;
class QSqlQuery;
class SqlParams;

// Statements with bound values on the one connection. The text is made fit for the engine
// first (Connection::prepareSql); every placeholder becomes a positional one, so names match
// without regard to case and a name may occur several times. Dates, times and date-times are
// bound as the engine stores them. Failures raise DatabaseError with the engine's text.
namespace SqlStatement {

// ":Name" placeholders bound from the parameters; a parameter without a value raises
// "No value for parameter 'X'".
void prepare(QSqlQuery& query, const Connection& connection, const QString& sql,
             const SqlParams& params);
// "?" placeholders bound in order.
void prepare(QSqlQuery& query, const Connection& connection, const QString& sql,
             const QVariantList& values);
void exec(QSqlQuery& query);

}  // namespace SqlStatement
