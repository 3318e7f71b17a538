#pragma once

#include "data/dataset/Queries.h"
#include "data/engine/Dialect.h"
#include "data/filter/TFilter.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

class AuditTrail;
class Connection;
class Interaction;

// One row of the report register (DPATVP) as the list shows it.
struct RegisterRow {
    qint64 id = 0;          // DPATVPID: the report set
    int serial = 0;         // ZAPST
    QDate reportDay;        // DANPOROCANJA: last day of the report's period
    QDateTime sentAt;       // DAN: invalid while the report is not sent
    QDate firstDay;         // DANOD: invalid when empty
    QString file;           // XML_FILE
    int status = 0;         // STATUS (an empty status reads as 0)

    // DAN holds a date after day zero.
    bool isSent() const;
    // The first day of the period: DANOD, or DANPOROCANJA when DANOD is empty.
    QDate periodStart() const;
};

// Which actions of the register tab are open for the current row.
struct RegisterActions {
    bool regenerate = false;    // "Ponovno generiraj": sent, rejected, latest serial of its set
    bool setStatus = false;     // "Potrjeno" and "Zavrnjeno": sent and neither confirmed nor rejected
    bool deleteReport = false;  // "Brisanje poročila": not sent
};

// The register of generated reports (tab "Poročila"): the list of a range of reporting days,
// the regulator's answer recorded as the status, and the deletion of a report not yet sent.
// Register rows are written through the audited table component; the set's contents, the links
// of its imported rows and the overrides' flags with plain statements. Every change runs in its
// own transaction; a failing one rolls back and raises its message.
class ReportRegister {
public:
    ReportRegister(Connection& connection, SqlDialect dialect, const AuditTrail& audit,
                   const QString& auditUser, const QString& programFolder);

    // qDPATVP: DPATVPID, DANPOROCANJA, DAN, ZAPST, XML_File, Status, StatusLKP, DanOd.
    TQueryDM& query() { return query_; }
    const TQueryDM& query() const { return query_; }

    // The list statement: newest year first, highest serial first.
    static QString listSql(SqlDialect dialect);
    // The text of StatusLKP: "" for 0, "Potrjeno", "Zavrnjeno", "Ponovno generirano" for 3 and
    // above, "" for anything else.
    static QString statusText(const QVariant& status);

    // bbRefreshClick: re-reads the rows whose reporting day lies in [from, to].
    void refresh(const QDate& from, const QDate& to);
    // The current row of the list; none while the list is closed or empty.
    std::optional<RegisterRow> currentRow() const;
    // dsDPATVPDataChange: the actions open for the current row.
    RegisterActions actions();

    // pmPotrjenoClick: status 1 in one step, then the override flags of the report's
    // instruments cleared in a second, independent step. The list is not re-read.
    void confirm();
    // pmZavrnjenoClick: status 2, then the list is re-read.
    void reject();
    // BitBtn4Click: after the user's confirmation deletes an unsent report (a first report with
    // its set's contents, the links of its imported rows and its file; a regeneration with its
    // register row only) and re-reads the list. False when nothing was deleted.
    bool deleteReport(Interaction& ui);

private:
    void declareFields();
    // Opens the register table restricted to the row with these key values; throws when the
    // row is gone (the list showed an older state).
    void locate(const QVariantList& key, const QString& indexFieldNames);
    void setStatus(const RegisterRow& row, int status, bool byStatus);
    void clearOverrideFlags(qint64 reportId);
    void deleteContents(qint64 reportId);
    void releaseImports(qint64 reportId);
    void deleteFile(const QString& fileName) const;
    void deleteRegisterRow(const RegisterRow& row);
    void reread();

    Connection& connection_;
    SqlDialect dialect_;
    QString auditUser_;
    QString programFolder_;
    TQueryDM query_;
    TFilter table_;
    QDate from_;
    QDate to_;
};
