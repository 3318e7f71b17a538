#pragma once

#include "core/Config.h"
#include "core/DriverMessages.h"
#include "core/ErrorLog.h"
#include "data/engine/Dialect.h"
#include "data/engine/TDMLB.h"
#include "state/SharedDatasets.h"

#include <QDate>
#include <QString>

#include <memory>

class AuditTrail;
class Connection;
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
    // The first day of the rejected report's period: the regenerated report covers the same days.
    QDate firstDay;
};

// Everything that lives for the whole run, owned by the main window (or by the headless tool),
// so the workflow can be driven without any window.
class ZtfiApp {
public:
    ZtfiApp(const QStringList& arguments, Interaction& ui);
    ~ZtfiApp();
    ZtfiApp(const ZtfiApp&) = delete;
    ZtfiApp& operator=(const ZtfiApp&) = delete;

    const TDMLB& dataModule() const { return dm_; }
    const StartupParameters& params() const { return dm_.params(); }
    const Config& config() const { return config_; }
    Interaction& ui() const { return ui_; }
    const QString& programFolder() const { return dm_.programFolder(); }

    // Creation steps that do not need a window, in the order the window runs them.
    void resetRunState();        // selection context and regeneration state cleared
    void readConfiguration();    // "ZTFI.ini"; also switches the error log by Debug
    // The statements prepared at start-up for the configured dialect (the report rows and the
    // instrument code list); the prepared texts are kept for the whole run.
    void setSavedStatements(PreparedStatements saved) { saved_ = std::move(saved); }

    SqlDialect dialect() const { return dialectOf(config_); }
    const PreparedStatements& savedStatements() const { return saved_; }
    // The trace "Log.txt" in the program folder, written only when Debug is on.
    const ErrorLog& errorLog() const { return errorLog_; }

    // The one database connection, opened from the data module by its first use; stays open
    // until the application object ends. Opening failures are thrown (DatabaseError).
    Connection& connection();
    // The audit trail on the connection: the audit user of the start-up parameters, the
    // dialect of the configuration (fixed when first used).
    const AuditTrail& auditTrail();

    // The datasets of the tabs, on the connection, created by their first use.
    SharedDatasets& datasets() { return datasets_; }

    SelectionContext selection;
    RegenerationState regeneration;

private:
    TDMLB dm_;
    Config config_;
    Interaction& ui_;
    PreparedStatements saved_;
    ErrorLog errorLog_;
    // Lines of Qt's database drivers go to the error log, not to standard error.
    DriverMessages driverMessages_{errorLog_};
    // Declared after the connection so that they end before it.
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<AuditTrail> auditTrail_;
    SharedDatasets datasets_;
};
