#pragma once

#include "core/Interaction.h"

#include <QString>

// The signing user and pass phrase that "ZTFI.ini" remembers in section "GnuPG".
namespace RememberedCredentials {

// Writes PassPhrase (hex-encoded when it is to be remembered, else empty) and User (when it is
// to be remembered, else empty) into the file, keeping every other line and its encoding.
// Throws ZtfiError when the file cannot be written.
void write(const QString& iniPath, const Interaction::SigningCredentials& credentials);

}  // namespace RememberedCredentials
