#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace ProgramFolder {

QString path()
{
    QString folder = qEnvironmentVariable("ZTFI_HOME");
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString join(const QString& folder, const QString& fileName)
{
    if (folder.isEmpty())
        return fileName;
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder.left(folder.size() - 1) + QLatin1Char('/') + fileName;
    return folder + QLatin1Char('/') + fileName;
}

}  // namespace ProgramFolder
