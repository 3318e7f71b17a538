#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The program is started only from the back-office menu, which always hands over the
// connection parameters. Returns the message shown when the command line (without the program
// name) holds no parameter at all, and nothing when the program may start.
std::optional<QString> startupRefusal(const QStringList& arguments);
