#pragma once

#include <QSqlDatabase>

// Brings an embedded database made by an earlier version of the workstation up to the own
// tables of this one: creates those that are missing (the digest table DPATVPXML of the report
// register). A database that has them is not written. Throws DatabaseError.
namespace EmbeddedUpgrade {

void apply(const QSqlDatabase& db);

}  // namespace EmbeddedUpgrade
