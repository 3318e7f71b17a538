#pragma once

#include "app/Config.h"
#include "app/TDMLB.h"

#include <QDate>
#include <QString>

class Interaction;

// The range of the last selection and the identifier that the next report will carry.
struct SelectionContext {
    QString rangeKey;          // empty until a selection ran
    qint64 FMaxDpAtvpId = 0;   // identifier of the report the pending selection becomes
    bool hasRegularRows = false;
};

// The state of a regeneration of a rejected report.
struct RegenerationState {
    bool active = false;
    int previousStatus = 0;
    int previousSerial = 0;
    QDate previousDate;
};

// Everything that lives for the whole run, owned by the main window (or by the headless tool),
// so the workflow can be driven without any window.
class ZtfiApp {
public:
    ZtfiApp(const QStringList& arguments, Interaction& ui);

    const TDMLB& dataModule() const { return dm_; }
    const StartupParameters& params() const { return dm_.params(); }
    const Config& config() const { return config_; }
    Interaction& ui() const { return ui_; }
    const QString& programFolder() const { return dm_.programFolder(); }

    // Creation steps that do not need a window, in the order the window runs them.
    void resetRunState();        // selection context and regeneration state cleared
    void readConfiguration();    // "ZTFI.ini"

    SelectionContext selection;
    RegenerationState regeneration;

private:
    TDMLB dm_;
    Config config_;
    Interaction& ui_;
};
