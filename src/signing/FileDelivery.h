#pragma once

#include <QString>

// What the deliveries into the server folders share (the copies themselves: FileCopy).
namespace FileDelivery {

// "Napaka pri kopiranju " + from + " file-a na " + to + " !", a line break, the error text.
QString copyFailedMessage(const QString& from, const QString& to, const QString& errorText);

// Whether two folder paths name the same folder (spelling, trailing separator and links aside).
bool sameFolder(const QString& first, const QString& second);

}  // namespace FileDelivery
