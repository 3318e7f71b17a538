#include "signing/SigningLock.h"

#include "core/Error.h"
#include "core/ProgramFolder.h"

SigningLock::SigningLock(const QString& folder, const QString& file)
    : lock_(ProgramFolder::join(folder, file + QStringLiteral(".lock")))
{
    // A signing may take long; only a lock whose program has ended is stale.
    lock_.setStaleLockTime(0);
    if (lock_.tryLock(0))
        return;
    if (lock_.error() == QLockFile::LockFailedError)
        throw ZtfiError(busyMessage(file));
    throw ZtfiError(QStringLiteral("Napaka pri zaklepanju datoteke ") + lock_.fileName() + QStringLiteral(" !"));
}

SigningLock::~SigningLock()
{
    lock_.unlock();
}

QString SigningLock::busyMessage(const QString& file)
{
    return QStringLiteral("Datoteka ") + file + QStringLiteral(" se že podpisuje!");
}
