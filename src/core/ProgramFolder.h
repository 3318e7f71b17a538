#pragma once

#include <QString>

// The program folder: the folder named by ZTFI_HOME when it is set, else the folder of the
// executable. ZTFI.ini, Log.txt, aliases.ini, the schemas and the report files live there.
namespace ProgramFolder {

// The folder with a trailing "/".
QString path();
// Joins a configured folder and a file name: the folder may end with either separator.
QString join(const QString& folder, const QString& fileName);

}  // namespace ProgramFolder
