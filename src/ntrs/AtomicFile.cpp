#include "ntrs/AtomicFile.h"

#include "app/Error.h"

#include <QSaveFile>

namespace {

ZtfiError writeError(const QString& path, const QString& reason)
{
    return ZtfiError(QStringLiteral("Napaka pri pisanju datoteke ") + path + QStringLiteral(": ") + reason,
                     QStringLiteral("EInOutError"));
}

}  // namespace

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw writeError(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw writeError(path, reason);
    }
    if (!file.commit())
        throw writeError(path, file.errorString());
}
