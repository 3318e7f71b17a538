#pragma once

#include <QString>

// The NTRS schema that every report names ("NTRS.xsd"). The program carries it as a resource
// and writes it into the program folder, beside the reports, when it is missing there, so a
// report never fails its validation for want of the schema file.
namespace NtrsSchema {

// "NTRS.xsd": the name the reports give as xsi:noNamespaceSchemaLocation.
QString fileName();
// The schema as the program carries it.
QByteArray content();
// Writes the schema into folder when no file of that name is there (an existing file is
// kept as it is) and returns its full path. A folder that cannot take the file throws
// ZtfiError.
QString ensureInFolder(const QString& folder);

}  // namespace NtrsSchema
