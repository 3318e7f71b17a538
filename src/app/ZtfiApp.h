#pragma once

#include "app/Config.h"
#include "app/ErrorLog.h"
#include "app/TDMLB.h"
#include "data/Dialect.h"

#include <QDate>
#include <QString>

#include <memory>

class AuditTrail;
class CodeList;
class Connection;
class Interaction;
class OverrideList;
class ReportRows;

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
    // The start-up preparation of the report-row statement and the instrument code list for
    // the configured dialect; the prepared texts are kept for the whole run.
    void prepareSavedStatements();

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
    ReportRows& reportRows();       // qDPATVPPSL, "Transakcije"
    CodeList& codeList();           // qSifrantFinInstr, "Šifrant finančnih instrumentov"
    OverrideList& overrideList();   // qDPATVP_SFVP, tab "Fin. instr."
    // Closes the report rows and the code list when they exist (the grids of "Nabor" empty).
    void closeSelectionLists();

    SelectionContext selection;
    RegenerationState regeneration;

private:
    TDMLB dm_;
    Config config_;
    Interaction& ui_;
    PreparedStatements saved_;
    ErrorLog errorLog_;
    // Declared after the connection so that they end before it.
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<AuditTrail> auditTrail_;
    std::unique_ptr<ReportRows> reportRows_;
    std::unique_ptr<CodeList> codeList_;
    std::unique_ptr<OverrideList> overrideList_;
};
