#pragma once

#include "data/engine/Dialect.h"

#include <QDate>
#include <QString>

#include <optional>

class Connection;

// The values of the report dialog "EMIR poročilo".
struct EmirReportValues {
    int serial = 0;                  // "Zap.št.": 0 while the report is new
    QDate firstDay{};                  // "Obdobje od"
    QDate lastDay{};                   // "Obdobje do"
    std::optional<int> unconfirmed{};  // "Št.nepotrjenih transakcij": none when not a number
    QDate reportDay{};                 // "Datum poročila"
    bool cancelled = false;          // "Poročilo je preklicano"
};

// A check of a dialog that failed: the field to focus and the message.
template <class FieldId>
struct EmirCheckFailure {
    FieldId field;
    QString message{};
};

// Reads, checks and writes an EMIR report as the report dialog does.
class EmirReportEditor {
public:
    enum class FieldId { ReportDay, FirstDay, LastDay, Unconfirmed };
    using Failure = EmirCheckFailure<FieldId>;

    EmirReportEditor(Connection& connection, SqlDialect dialect);

    // A new report: the report day today, the period the month of today, 0 unconfirmed.
    static EmirReportValues newReport(const QDate& today);
    // The stored report; throws "Ne najdem poročila v tabeli, ID = <id>" when there is none.
    EmirReportValues load(qint64 id);
    // The checks of "Zapiši", in their order; the first that fails.
    static std::optional<Failure> check(const EmirReportValues& values);
    // Checks (a failure throws its message) and writes the report: a new one (id 0) with a new
    // identifier and the next serial number, else the report id. Returns the identifier.
    qint64 save(const EmirReportValues& values, qint64 id);

private:
    Connection& connection_;
    SqlDialect dialect_;
};
