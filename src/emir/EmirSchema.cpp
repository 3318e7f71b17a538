#include "emir/EmirSchema.h"

#include "core/Error.h"
#include "ntrs/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The resources of a static library are registered only when something refers to them.
static void registerEmirResources()
{
    Q_INIT_RESOURCE(emir);
}

namespace EmirSchema {

QString fileName()
{
    return QStringLiteral("EMIR.xsd");
}

QByteArray content()
{
    registerEmirResources();
    QFile resource(QStringLiteral(":/schema/EMIR.xsd"));
    if (!resource.open(QIODevice::ReadOnly))
        throw ZtfiError(QStringLiteral("Shema EMIR.xsd manjka v programu!"));
    return resource.readAll();
}

QString ensureInFolder(const QString& folder)
{
    const QString path = QDir(folder).filePath(fileName());
    if (!QFileInfo::exists(path))
        writeFileAtomically(path, content());
    return path;
}

}  // namespace EmirSchema
