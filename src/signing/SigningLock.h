#pragma once

#include <QLockFile>
#include <QString>

// One signing of a file at a time, across every window and tool started on the program folder:
// a lock file beside the file (its name followed by ".lock") held while the file is signed and
// delivered. A lock left by a program that ended without releasing it is taken over.
class SigningLock {
public:
    // Takes the lock, or throws ZtfiError busyMessage(file) when another signing holds it.
    SigningLock(const QString& folder, const QString& file);
    ~SigningLock();
    SigningLock(const SigningLock&) = delete;
    SigningLock& operator=(const SigningLock&) = delete;

    // "Datoteka " + file + " se že podpisuje!"
    static QString busyMessage(const QString& file);

private:
    QLockFile lock_;
};
