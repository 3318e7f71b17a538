#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The statements of an SQL script file such as schema/sqlite/own.sql: split at the semicolons
// outside quotes, with "--" comments removed.
QStringList sqlScriptStatements(const QString& scriptText);

// Runs every statement of the script file (a path or a resource ":/...") on the database in one
// transaction; throws DatabaseError naming the file and the failing statement.
void applySqlScript(QSqlDatabase& db, const QString& path);
