#pragma once

#include <QString>

class Connection;

// One writing action of the selection and its report at a time on one server: desks that share
// a PostgreSQL back-office database take this lock for the whole action (the selection, the
// generation, the regeneration), since the pending selection is one per database and its
// identifier is the largest report identifier plus one. A desk that finds the lock taken waits
// for it up to `waitMs`, then the action fails with DatabaseError and writes nothing. The
// embedded engine serves one desk and needs none; the lock is reentrant within a connection
// and released when the object ends.
class DeskLock {
public:
    explicit DeskLock(Connection& connection, int waitMs = 120000);
    ~DeskLock();
    DeskLock(const DeskLock&) = delete;
    DeskLock& operator=(const DeskLock&) = delete;

    static QString busyMessage();

private:
    Connection* connection_ = nullptr;  // null when the engine needs no lock
};
