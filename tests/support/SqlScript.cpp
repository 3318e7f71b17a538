#include "support/SqlScript.h"

QString sourcePath(const QString& relativePath)
{
    return QStringLiteral(ZTFI_SOURCE_DIR "/") + relativePath;
}
