#pragma once

#include "support/FixtureDb.h"
#include "support/ScriptedInteraction.h"

#include <QByteArray>
#include <QString>

#include <memory>

class ZtfiApp;

// An application object over a fixture database, as the program runs on it: the database's
// folder is the program folder (ZTFI_HOME, restored when the object ends), the alias is the
// fixture's, the audit user "ana", and ZTFI.ini holds the settings the test writes.
class FixtureApp {
public:
    explicit FixtureApp(FixtureDb& db);
    ~FixtureApp();
    FixtureApp(const FixtureApp&) = delete;
    FixtureApp& operator=(const FixtureApp&) = delete;

    // Writes ZTFI.ini: ATVP_Uporabnik=ATVP in [Splošno], then the given lines (with their own
    // section headers, "[Trzisce]\nDMC_2=KL").
    void writeIni(const QString& lines = QString()) const;
    // The application object, created by the first call (ZTFI.ini is read by the caller).
    ZtfiApp& app();
    // The application with its configuration read and its statements prepared, as the window's
    // creation leaves it.
    ZtfiApp& started();
    ScriptedInteraction& ui() { return ui_; }
    // The lines of Log.txt without their time stamps.
    QStringList logLines() const;

private:
    FixtureDb& db_;
    ScriptedInteraction ui_;
    std::unique_ptr<ZtfiApp> app_;
    bool hadHome_ = false;
    QByteArray savedHome_;
};
