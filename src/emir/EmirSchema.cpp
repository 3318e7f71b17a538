#include "emir/EmirSchema.h"

#include "ntrs/BundledSchema.h"

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
    return BundledSchema::content(fileName());
}

QString ensureInFolder(const QString& folder)
{
    registerEmirResources();
    return BundledSchema::ensureInFolder(folder, fileName());
}

}  // namespace EmirSchema
