#pragma once

#include <QByteArray>
#include <QString>

// The schema that every EMIR file names ("EMIR.xsd"). The program carries it as a resource and
// writes it into the program folder, beside the files, when it is missing there.
namespace EmirSchema {

QString fileName();
QByteArray content();
// Writes the schema into folder when no file of that name is there and returns its path.
QString ensureInFolder(const QString& folder);

}  // namespace EmirSchema
