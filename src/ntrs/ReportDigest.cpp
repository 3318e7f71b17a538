#include "ntrs/ReportDigest.h"

#include "core/Error.h"
#include "data/RegisteredDigests.h"

#include <QCryptographicHash>
#include <QFile>

namespace ReportDigest {

QString ofFile(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file) || file.error() != QFile::NoError)
        throw ZtfiError(QStringLiteral("Napaka pri branju datoteke ") + path + QStringLiteral(": ")
                        + file.errorString());
    return QString::fromLatin1(hash.result().toHex());
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
