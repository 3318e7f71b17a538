#include "ntrs/NtrsSchema.h"

#include "core/Error.h"
#include "ntrs/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The resources of a static library are registered only when something refers to them.
static void registerNtrsResources()
{
    Q_INIT_RESOURCE(ntrs);
}

namespace NtrsSchema {

QString fileName()
{
    return QStringLiteral("NTRS.xsd");
}

QByteArray content()
{
    registerNtrsResources();
    QFile resource(QStringLiteral(":/schema/NTRS.xsd"));
    if (!resource.open(QIODevice::ReadOnly))
        throw ZtfiError(QStringLiteral("Shema NTRS.xsd manjka v programu!"));
    return resource.readAll();
}

QString ensureInFolder(const QString& folder)
{
    const QString path = QDir(folder).filePath(fileName());
    if (!QFileInfo::exists(path))
        writeFileAtomically(path, content());
    return path;
}

}  // namespace NtrsSchema
