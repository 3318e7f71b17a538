#pragma once

#include "data/engine/Dialect.h"
#include "emir/EmirReportEditor.h"

#include <QDate>
#include <QString>

#include <optional>

class Connection;

// The values of the dispute dialog "EMIR spor".
struct EmirDisputeValues {
    QString party{};         // "Stranka"
    QString counterparty{};  // "Nasprotna stranka"
    QDate firstDay{};        // "Dat.začetka"
    QDate lastDay{};         // "Dat.zaključka": null while the dispute is open
    // Text was given for the last day that is not a date.
    bool lastDayUnreadable = false;
    double amount = 0;     // "Vrednost"
    QString notes{};         // "Opomba"
};

// Reads, checks and writes a dispute of one report as the dispute dialog does; adding a dispute
// without the dialog (the import of disputes) runs the same checks and statement.
class EmirDisputeEditor {
public:
    enum class FieldId { Party, Counterparty, FirstDay, LastDay, Notes };
    using Failure = EmirCheckFailure<FieldId>;

    // A report identifier of 0 or less throws "Neveljaven ID poročila.".
    EmirDisputeEditor(Connection& connection, SqlDialect dialect, qint64 reportId);

    // The stored dispute; throws "Ne najdem posla v tabeli, ID = <id>" when there is none.
    EmirDisputeValues load(qint64 id);
    // The checks of "Zapiši", in their order, then the texts against their columns (at most 250
    // characters, no control characters); the first that fails.
    static std::optional<Failure> check(const EmirDisputeValues& values);
    // Checks (a failure throws its message) and writes the dispute: a new one (id 0) with a new
    // identifier into the report, else the dispute id. Texts are written as given. Returns the
    // identifier. Inside a transaction the caller holds open it writes within that transaction.
    qint64 save(const EmirDisputeValues& values, qint64 id);

private:
    Connection& connection_;
    SqlDialect dialect_;
    qint64 reportId_;
};
