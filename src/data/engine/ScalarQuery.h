#pragma once

#include <QString>
#include <QVariant>

class Connection;

// Runs a reading statement on the connection (made fit for its engine first) and returns the
// named column of its first row. A failing statement, a missing column or an empty result
// raise DatabaseError.
QVariant selectValue(Connection& connection, const QString& sql, const QString& column);
