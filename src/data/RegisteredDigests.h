#pragma once

#include <QString>
#include <QStringList>

class Connection;

// The SHA-256 of every registered report file (table DPATVPXML, one row per register row of
// DPATVP, keyed like it by DPATVPID and ZAPST). It is written in the step that inserts the
// register row and removed in the step that deletes it, so that a desk can tell whether the
// file it is about to send is the one the register holds. Every call runs inside the caller's
// transaction; failures raise DatabaseError.
namespace RegisteredDigests {

// Replaces whatever a former register row of that key left.
void record(Connection& connection, qint64 reportId, qint64 serial, const QString& sha256);
void remove(Connection& connection, qint64 reportId, qint64 serial);
// Whether the register row of that key carries a digest other than sha256 (a row without one
// does not differ).
bool differs(Connection& connection, qint64 reportId, qint64 serial, const QString& sha256);
// One entry per unsent register row of the file name: its digest, or an empty text for a row
// registered without one (before the table was there).
QStringList ofUnsentFile(Connection& connection, const QString& file);

}  // namespace RegisteredDigests
