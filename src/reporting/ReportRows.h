#pragma once

#include "data/dataset/Queries.h"
#include "data/engine/Dialect.h"
#include "reporting/ReportRowColour.h"
#include "reporting/SelectedSetStamp.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class Connection;
class Field;
struct CheckedField;
struct Config;
struct SelectionContext;

// A value that does not fit its format, as a check that goes on collects it.
struct FormatFault {
    QString reference;  // RefStTransaC of the current report row
    QString field;      // the field's display label (its name when it has none), "TRG.OFFSET" for the offset
    QString value;      // the value as tested
    QString format;     // the format it breaks
};

// The report rows of a selection (qDPATVPPSL): one row per transaction, with every value the
// transaction report needs, and the calculated columns MTS_BPHCalc and RefStTransaC. Reading a
// row that is not a cancellation sets the selection's flag of regular rows.
class ReportRows {
public:
    ReportRows(Connection& connection, const Config& config, SelectionContext& selection);

    TQueryDM& query() { return query_; }
    const TQueryDM& query() const { return query_; }

    // Opens the rows of the pending selection for the period and report identifier: clears the
    // flag of regular rows, restores the saved statement, under DB2 applies the DB2 rewriting.
    // With regeneratedReport the rows of that report are opened instead of the pending ones.
    void open(const PreparedStatements& saved, SqlDialect dialect, const QDate& firstDay,
              const QDate& lastDay, qint64 reportId, std::optional<qint64> regeneratedReport = std::nullopt);
    void close() { query_.close(); }

    // Whether the selected rows of the sets the rows were opened on are still those they were
    // then (SelectedSetStamp); the report of rows that no longer describe their set is refused
    // with changedSetMessage().
    bool setsUnchanged() const;
    static QString changedSetMessage();

    // RefStTransaC of the current row: the reference that the format errors name.
    QString currentReference() const;

    // The field-format check of a field of any query (or of prefix + suffix when field is
    // null), naming the current report row's reference in its errors.
    QString ProveraFormata(const Field* field, const QString& format, const QString& suffix = QString(),
                           const QString& prefix = QString()) const;

    // With a sink, ProveraFormata does not stop at a value that does not fit: the fault goes to
    // the sink and the value is used as it is (a check that collects every fault).
    void collectFormatFaults(std::function<void(const FormatFault&)> sink) { faultSink_ = std::move(sink); }

    // The colour of a row of the grid "Transakcije" for the first day of the tab.
    ReportRowColour rowColour(int row, const QDate& firstDay) const;

private:
    void calculate();
    // ProveraFormata with the fault sink set.
    QString checkedValue(const CheckedField* field, const QString& format, const QString& suffix,
                         const QString& prefix) const;

    const Config& config_;
    SelectionContext& selection_;
    TQueryDM query_;
    // The sets whose rows were opened, and what they were just before.
    QList<qint64> sets_;
    SelectedSetStamp stamp_;
    // The declared fields the calculation of every row reads and sets (they live as long as
    // the query).
    struct CalculationFields {
        Field* MTS_BPHCalc;
        Field* MTS_BPH;
        Field* RefStTransaC;
        Field* VRSTA;
        Field* RefStTransa;
        Field* ISSTN;
    };
    CalculationFields calc_{};
    std::function<void(const FormatFault&)> faultSink_;
};

// The statement of a regenerated report: the saved statement restricted to that report's rows.
QString regeneratedReportRows(const QString& savedStatement, qint64 reportId);

class ZtfiApp;
// The report rows of the selection (qDPATVPPSL, "Transakcije"), shared for the whole run.
ReportRows& sharedReportRows(ZtfiApp& app);
