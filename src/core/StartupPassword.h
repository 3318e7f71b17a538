#pragma once

#include <QString>

#include <optional>

class QIODevice;

// The password of the start-up parameters kept off the command line (and out of the process
// list and the crontab): PASSWORD given as "-".
namespace StartupPassword {

// Whether the PASSWORD parameter asks for the password elsewhere.
bool isAsked(const QString& parameter);
// The environment variable read first: "ZTFI_PASSWORD".
QString variableName();
// The asked password: the variable's value when it is set, else, when the program reads nothing
// else from it (inputFree), the first line of input without its line break; nothing when
// neither serves.
std::optional<QString> read(bool inputFree, QIODevice& input);
// Why it is missing, as the programs say it.
QString missingMessage(bool inputFree);

}  // namespace StartupPassword
