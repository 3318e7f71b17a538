#include "signing/FileLists.h"

#include <QDir>

namespace FileLists {

QStringList LoadFilesByMask(const QString& folder, const QString& mask)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    return dir.entryList({mask}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

}  // namespace FileLists
