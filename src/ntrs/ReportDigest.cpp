#include "ntrs/ReportDigest.h"

#include "core/Error.h"
#include "data/RegisteredDigests.h"
#include "ntrs/Sha256.h"

#include <QFile>

namespace ReportDigest {

QString ofFile(const QString& path)
{
    QFile file(path);
    Sha256 hash;
    qint64 read = -1;
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        while ((read = file.read(chunk.data(), chunk.size())) > 0)
            hash.add(chunk.constData(), read);
    }
    if (read < 0 || file.error() != QFile::NoError)
        throw ZtfiError(QStringLiteral("Napaka pri branju datoteke ") + path + QStringLiteral(": ")
                        + file.errorString());
    return hash.hex();
}

void check(Connection& connection, const QString& file, const QString& sha256)
{
    const QStringList registered = RegisteredDigests::ofUnsentFile(connection, file);
    if (registered.isEmpty() || registered.contains(QString()))
        return;
    if (!registered.contains(sha256))
        throw ZtfiError(replacedMessage(file));
}

QString replacedMessage(const QString& file)
{
    return QStringLiteral("Poročilo ") + file
        + QStringLiteral(" je bilo medtem zamenjano z novejšim poročilom na drugi delovni postaji. "
                         "Poročilo ponovno generiraj!");
}

}  // namespace ReportDigest
