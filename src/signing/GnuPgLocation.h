#pragma once

#include <QString>

// Where the GnuPG program is: the configured folder (key "Path" of section "GnuPG") resolved
// against the program folder, or gpg from the search path when no folder is configured.
class GnuPgLocation {
public:
    // A relative folder, or one carried over from older files that begins with a single
    // backslash, is taken relative to the program folder; an empty one means gpg on the PATH.
    static GnuPgLocation resolve(const QString& configuredPath, const QString& programFolder);

    // The resolved folder with a trailing "/", empty when gpg is taken from the PATH.
    const QString& folder() const { return folder_; }
    // The full path of the executable; empty when it cannot be found.
    QString executable() const;
    // The log file that is removed before each run; empty when no folder is configured.
    QString logFile() const;

private:
    QString folder_;
};
