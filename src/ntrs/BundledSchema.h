#pragma once

#include <QByteArray>
#include <QString>

// A schema the program carries as the resource ":/schema/<name>", for the files it writes to
// name beside them. The caller registers the resource file that holds it first.
namespace BundledSchema {

// The schema as the program carries it; ZtfiError "Shema <name> manjka v programu!" without it.
QByteArray content(const QString& name);
// Writes the schema into folder when no file of that name is there (an existing file is kept
// as it is) and returns its full path. A folder that cannot take the file throws ZtfiError.
QString ensureInFolder(const QString& folder, const QString& name);

}  // namespace BundledSchema
