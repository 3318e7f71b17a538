#pragma once

#include <QString>

class Connection;

// A report is delivered only as the exact file that was registered: the SHA-256 of the file
// is recorded with its register row (RegisteredDigests), and a file of the same name that
// differs from it (a desk's report that another desk's newer report replaced in the register)
// is refused. A report registered without a digest is taken as it is.
namespace ReportDigest {

// The SHA-256 of a file in lower-case hexadecimal. Throws ZtfiError when it cannot be read.
QString ofFile(const QString& path);

// Throws ZtfiError(replacedMessage(file)) when the unsent register rows of the file name all
// carry a digest and none is sha256, the digest of the file about to be sent. Nothing is
// checked when the register holds no unsent row of that name.
void check(Connection& connection, const QString& file, const QString& sha256);

QString replacedMessage(const QString& file);

}  // namespace ReportDigest
