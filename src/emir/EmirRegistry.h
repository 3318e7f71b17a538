#pragma once

#include "data/dataset/Queries.h"
#include "data/engine/Dialect.h"
#include "emir/EmirReportRow.h"

#include <QDate>

#include <optional>

class Connection;
class Interaction;

// The register of EMIR reports and their disputes: the report list of a period (filtered on the
// first day of each report's period), the dispute list of the current report, the actions open
// for them, and the deletion and cancellation of reports and the deletion of disputes. Every
// change runs in one transaction that is rolled back when it fails.
class EmirRegistry {
public:
    EmirRegistry(Connection& connection, SqlDialect dialect);

    // qEMIRRpt and qEMIRPsl, with the labels of the lists.
    TQueryDM& reports() { return reports_; }
    TQueryDM& disputes() { return disputes_; }

    // The bounds of the report list ("Datum od", "Datum do"); a null date is no bound. Changing
    // them closes both lists until the next reload.
    void setPeriod(const QDate& from, const QDate& to);
    const QDate& from() const { return from_; }
    const QDate& to() const { return to_; }

    // Reloads the report list and selects the report (without one the current report stays
    // selected), then reloads the dispute list.
    void reloadReports(std::optional<qint64> select = std::nullopt);
    // Reloads the disputes of the current report and selects the dispute (else the current one
    // stays selected).
    void reloadDisputes(std::optional<qint64> select = std::nullopt);
    // After the current report moved: reloads the dispute list when it shows another report's.
    void followCurrentReport();

    std::optional<EmirReportRow> currentReport() const;
    // The report that holds the dispute; none when there is no such dispute.
    static std::optional<qint64> reportOfDispute(Connection& connection, qint64 disputeId);
    // EMIRPoselId of the current dispute.
    std::optional<qint64> currentDispute() const;
    EmirActions actions() const;

    // Deletes the current report after the user's answer (a cancelled one is refused), returns
    // the report it cancelled to "not cancelled", and reloads the list. False when nothing was
    // deleted.
    bool deleteReport(Interaction& ui);
    // Cancels the current report after the user's answer: it becomes cancelled and a new report
    // refers to it; the list is reloaded selecting the new report, whose identifier is returned.
    std::optional<qint64> cancelReport(Interaction& ui);
    // Deletes the current dispute after the user's answer and reloads the report list.
    bool deleteDispute(Interaction& ui);

private:
    void declareFields();

    Connection& connection_;
    SqlDialect dialect_;
    TQueryDM reports_;
    TQueryDM disputes_;
    QDate from_;
    QDate to_;
    qint64 disputesOf_ = 0;  // the report whose disputes the dispute list holds
};
