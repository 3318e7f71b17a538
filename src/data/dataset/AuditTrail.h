#pragma once

#include "data/engine/Dialect.h"
#include "data/engine/LocalClock.h"
#include "data/SequenceReader.h"

#include <QString>

#include <memory>

class Connection;
class QSqlQuery;
class TDMTable;

// The audit trail: one row of the back-office table ACT for every insert, change and delete
// made through the table components of the workstation's own tables. Each row holds the whole
// content of the written row, the user, the computer and the time.
class AuditTrail {
public:
    AuditTrail(Connection& connection, SqlDialect dialect, const QString& auditUser);
    ~AuditTrail();
    AuditTrail(const AuditTrail&) = delete;
    AuditTrail& operator=(const AuditTrail&) = delete;

    // Writes one audit row inside whatever transaction the caller has open. kind is "+"
    // (insert), "^" (change) or "-" (delete). A failure to take the next identifier raises the
    // sequence reader's error and writes nothing. Within a WriteBatch the row is written with
    // its set, and takes its identifier then.
    void LogAct(const QString& table, const QString& kind, const QString& content) const;

    // Audits the writes of a table component: before a post "+" when inserting, else "^";
    // before a delete "-" unless auditDeletes is false. An audit failure aborts the write.
    void attach(TDMTable& table, bool auditDeletes = true) const;

private:
    Connection& connection_;
    SqlDialect dialect_;
    QString auditUser_;
    // On the embedded engine the identifier's and the row's statements stay prepared: a
    // selection writes an audit row for every selected trade.
    SequenceReader ids_;
    mutable std::unique_ptr<QSqlQuery> insert_;
    // The time of the rows written to the embedded engine (see LocalClock).
    mutable LocalClock clock_;
};
