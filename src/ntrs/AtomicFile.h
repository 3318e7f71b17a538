#pragma once

#include <QByteArray>
#include <QString>

// Writes a file under a temporary name in its own folder and renames it into place only when
// it is complete, replacing a file of that name: no half-written file ever carries the final
// name, and the temporary file is removed when writing fails. A failure throws ZtfiError
// ("EInOutError") naming the file.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
