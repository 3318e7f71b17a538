#pragma once

#include <QVariant>

class QSqlQuery;
struct sqlite3_stmt;

// A prepared statement of the embedded engine used straight, beside the driver that prepared
// it (and finalizes it): what the driver would do, without its copy of every value.
namespace SqliteStatement {

// The statement behind a query of the embedded engine; nullptr for any other engine.
sqlite3_stmt* of(const QSqlQuery& query);

// Binds a value to parameter `index` (from 1) as the driver binds it: a null value (a NULL
// variant, a null text or byte array, an invalid date or time) as NULL, whole numbers and
// doubles as numbers, a byte array as a blob, a date and time and a time of day as text in the
// driver's form, anything else as its text. Texts and byte arrays are not copied: the value
// must live until the statement has run. Returns the engine's result code.
int bind(sqlite3_stmt* statement, int index, const QVariant& value);

// Runs a statement that gives no rows with the values bound from 1 on, as the driver's exec()
// does, and leaves it reset. A failure raises DatabaseError with the text that sqlErrorText
// gives for the driver's error.
void run(sqlite3_stmt* statement, const QVariantList& values);

// Raises the driver's error of a statement whose step returned `code`, and resets the statement.
[[noreturn]] void fail(sqlite3_stmt* statement, int code);

}  // namespace SqliteStatement
