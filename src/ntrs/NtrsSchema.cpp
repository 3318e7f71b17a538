#include "ntrs/NtrsSchema.h"

#include "ntrs/BundledSchema.h"

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
    return BundledSchema::content(fileName());
}

QString ensureInFolder(const QString& folder)
{
    registerNtrsResources();
    return BundledSchema::ensureInFolder(folder, fileName());
}

}  // namespace NtrsSchema
