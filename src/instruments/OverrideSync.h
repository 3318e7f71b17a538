#pragma once

#include "data/engine/Dialect.h"
#include "instruments/InstrumentHostData.h"
#include "instruments/LatestOverrides.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class Connection;
class Interaction;
class VersionStamps;
class WriteBatch;

// The selection the overrides are brought up to date for.
struct OverrideSyncInput {
    QDate firstDay;         // Datum
    QDate lastDay;          // DatumDo
    qint64 reportId = 0;    // FMaxDpAtvpId: the identifier of the pending selection
    // Set when a rejected report is regenerated: the instruments of its rows are synchronised,
    // and a refresh that replaces a matured instrument does not announce it again (XML stays).
    std::optional<qint64> regeneratedReport = std::nullopt;
};

struct OverrideSyncResult {
    int pendingCount = 0;   // classified rows that need a choice of reporting instrument
    int inserted = 0;       // rows written
    int refreshed = 0;      // refresh statements run
    bool stopsSelection() const { return pendingCount > 0; }
};

// What the window does when the synchronisation stops the selection: the tab "Fin. instr."
// becomes active, the tabs of the selection are hidden, the override list is reopened with its
// filter off and "Nazaj na nabor" stays hidden until every listed row has a reporting instrument.
struct SelectionStop {
    QString activeTab;        // object name of the tab to show
    QStringList hiddenTabs;   // object names of the tabs to hide
    bool reopenOverrideList = true;
    bool returnButtonVisible = false;
};

// The instrument override synchronisation of a selection: writes the override rows that the
// host instruments of the pending selection lack (pending rows where an ISIN is carried by
// several live instruments, identity rows otherwise, a row taking over a matured instrument)
// and refreshes the rows whose frozen data differ from the host data. Rows are written with
// plain statements (not audited), each with its own version stamp (VersionStamps). What the
// rows look up (their latest override rows, the stamps of their ISINs, the host data) is read
// for all of them first, in sets; on the engines that write in sets (WriteBatch) the new rows
// go out in multi-row inserts, in their order, before anything reads or updates what they touch.
class OverrideSync {
public:
    OverrideSync(Connection& connection, SqlDialect dialect, const QString& auditUser);

    // Receives the trace lines of the run (the classification statement, and every statement
    // written with its parameters); none by default.
    void setTrace(std::function<void(const QString&)> trace) { trace_ = std::move(trace); }

    // Runs inside the caller's open transaction. Database errors pass unchanged; the caller's
    // step rolls back and raises failureMessage() followed by the error's message.
    OverrideSyncResult synchronise(const OverrideSyncInput& input);

    // "Napaka pri insertu v DPATVP_SFVP! "
    static QString failureMessage();
    // "Izberi ustrezen finančni instrument za poročanje!"
    static QString stopMessage();
    // After the step has committed a result that stops the selection: shows stopMessage() and
    // returns what the window changes.
    static SelectionStop stopSelection(Interaction& ui);

private:
    struct ClassifiedRow;
    using ExistingRow = LatestOverride;

    // The rows to synchronise: those with an ISIN.
    QList<ClassifiedRow> classify(const OverrideSyncInput& input);
    void trace(const QString& line) const;
    // Reads what the rows look up, in sets.
    void readAhead(const QList<ClassifiedRow>& rows, const QDate& lastDay, VersionStamps& stamps);
    // The latest of the ISIN's rows of that host instrument; false when it has none.
    bool findExisting(const ClassifiedRow& row, ExistingRow& existing);
    InstrumentHostData hostData(qint64 sfvp, const QDate& lastDay);
    // Writes the rows collected for multi-row inserts.
    void flush();
    void insertPending(const ClassifiedRow& row, VersionStamps& stamps);
    void insertReporting(const ClassifiedRow& row, const QDate& lastDay, VersionStamps& stamps);
    // Writes the host data of the row's reporting instrument into the rows of its ISIN and host
    // instrument; false (nothing written) when the row is pending and stays so.
    bool refresh(const ClassifiedRow& row, const ExistingRow& existing,
                 const OverrideSyncInput& input, VersionStamps& stamps);
    // The value of DANSPR_SFVP in the dialect's form (DB2: the day only).
    QVariant changeDay(const QDateTime& value) const;

    Connection& connection_;
    SqlDialect dialect_;
    QString auditUser_;
    std::function<void(const QString&)> trace_;
    // Read ahead for the run of synchronise().
    LatestOverrides latest_;
    QHash<qint64, InstrumentHostData> hostData_;
    QSet<qint64> hostDataRead_;
    // The batch the inserts go into; nullptr where each is a statement of its own.
    WriteBatch* batch_ = nullptr;
};
