#include "signing/FileDelivery.h"

#include "core/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace FileDelivery {

bool copyReplacing(const QString& from, const QString& to, QString& errorText)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        errorText = source.errorString();
        return false;
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        errorText = target.errorString();
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) {
            errorText = source.errorString();
            target.cancelWriting();
            return false;
        }
        if (target.write(chunk) != chunk.size())
            break;
    }
    if (!target.commit()) {
        errorText = target.errorString();
        return false;
    }
    return true;
}

QString copyFailedMessage(const QString& from, const QString& to, const QString& errorText)
{
    return QStringLiteral("Napaka pri kopiranju ") + from + QStringLiteral(" file-a na ") + to
           + QStringLiteral(" !") + QLatin1Char('\n') + errorText;
}

bool sameFolder(const QString& first, const QString& second)
{
    const auto normal = [](const QString& folder) {
        const QFileInfo info(QDir::cleanPath(ProgramFolder::join(folder, QString())));
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
    };
    return normal(first) == normal(second);
}

}  // namespace FileDelivery
