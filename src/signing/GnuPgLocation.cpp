#include "signing/GnuPgLocation.h"

#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kExecutable = QStringLiteral("gpg");

}  // namespace

GnuPgLocation GnuPgLocation::resolve(const QString& configuredPath, const QString& programFolder)
{
    GnuPgLocation location;
    if (configuredPath.isEmpty())
        return location;
    QString path = configuredPath;
    const bool carriedOver = path.startsWith(QLatin1Char('\\')) && !path.startsWith(QLatin1String("\\\\"));
    if (carriedOver)
        path = path.mid(1).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (carriedOver || QDir::isRelativePath(path))
        path = ProgramFolder::join(programFolder, path);
    location.folder_ = ProgramFolder::join(path, QString());
    return location;
}

QString GnuPgLocation::executable() const
{
    if (folder_.isEmpty())
        return QStandardPaths::findExecutable(kExecutable);
    const QFileInfo file(folder_ + kExecutable);
    return file.isFile() && file.isExecutable() ? file.filePath() : QString();
}

QString GnuPgLocation::logFile() const
{
    return folder_.isEmpty() ? QString() : folder_ + QStringLiteral("gnupg.log");
}
