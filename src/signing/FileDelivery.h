#pragma once

#include <QString>

// Copies of delivered files into the server folders.
namespace FileDelivery {

// Copies a file over an existing one. The copy is written beside the target and renamed into
// place, so the target is either the old file or the whole new one. On failure returns false
// and sets errorText to the system's text of the error.
bool copyReplacing(const QString& from, const QString& to, QString& errorText);

// "Napaka pri kopiranju " + from + " file-a na " + to + " !", a line break, the error text.
QString copyFailedMessage(const QString& from, const QString& to, const QString& errorText);

// Whether two folder paths name the same folder (spelling, trailing separator and links aside).
bool sameFolder(const QString& first, const QString& second);

}  // namespace FileDelivery
