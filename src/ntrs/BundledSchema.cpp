#include "ntrs/BundledSchema.h"

#include "core/Error.h"
#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace BundledSchema {

QByteArray content(const QString& name)
{
    QFile resource(QStringLiteral(":/schema/") + name);
    if (!resource.open(QIODevice::ReadOnly))
        throw ZtfiError(QStringLiteral("Shema %1 manjka v programu!").arg(name));
    return resource.readAll();
}

QString ensureInFolder(const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name);
    if (!QFileInfo::exists(path))
        writeFileAtomically(path, content(name));
    return path;
}

}  // namespace BundledSchema
