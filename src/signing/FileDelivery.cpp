#include "signing/FileDelivery.h"

#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace FileDelivery {

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
