#pragma once

#include <QStringList>

class Connection;

// The plan the embedded engine makes for a statement (made fit for the engine first), one
// line per step as EXPLAIN QUERY PLAN details it ("SEARCH F1 USING INDEX ..."); parameters
// stay unbound. Fails the test when the statement cannot be planned.
QStringList queryPlan(Connection& connection, const QString& sql);
