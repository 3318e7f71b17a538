#pragma once

#include "support/PostgresServer.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class Interaction;
class ZtfiApp;

// A day of the benchmarks on the throwaway PostgreSQL server: an embedded database file (the
// day as it stood before the embedded run) loaded into a fresh database of the server as the
// server tests load the demo, and a program folder whose alias BENCH leads to it.
class ServerDay {
public:
    // Loads the file and prints how long that took; loaded() tells whether it was loaded.
    explicit ServerDay(const QString& dayFile);
    bool loaded() const { return loaded_; }
    // The application on the server's database, its configuration read and its statements
    // prepared (ZTFI_HOME is set to the program folder).
    std::unique_ptr<ZtfiApp> start(Interaction& ui) const;

private:
    PostgresDatabase database_;
    QTemporaryDir home_;
    bool loaded_ = false;
};
