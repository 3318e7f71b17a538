#pragma once

#include <QString>
#include <QStringList>

// The file lists of the signing tabs.
namespace FileLists {

// The names (without folder) of the files of the folder that match the mask ("*.xml"),
// compared without regard to case, sorted by name. A missing folder lists nothing.
QStringList LoadFilesByMask(const QString& folder, const QString& mask);

}  // namespace FileLists
