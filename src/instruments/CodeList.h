#pragma once

#include "data/dataset/FieldDef.h"
#include "data/dataset/Queries.h"
#include "data/engine/Dialect.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

class Connection;

// The instrument code list of the pending selection (qSifrantFinInstr): one row per host
// instrument of the selection, with the values of its applicable override in place of the host
// values. Parameters Datum, DatumDo (dates) and FMaxDpAtvpId (integer).
class CodeList {
public:
    explicit CodeList(Connection& connection);

    TQueryDM& query() { return query_; }
    const TQueryDM& query() const { return query_; }

    // The statement with the dialect placeholder %null_int%; the start-up preparation replaces
    // it (prepareStatements) and the prepared text is saved for every later use.
    static QString statementTemplate();
    // The declared fields of the list, in the order of its columns.
    static const QList<FieldDef>& fields();

    // Opens the list from the saved statement for the period and report identifier; with
    // regeneratedReport the instruments of that report's rows are listed instead of the
    // pending ones.
    void open(const PreparedStatements& saved, const QDate& firstDay, const QDate& lastDay,
              qint64 reportId, std::optional<qint64> regeneratedReport = std::nullopt);
    void close() { query_.close(); }

private:
    TQueryDM query_;
};

// The saved statement restricted to the rows of a generated report (every occurrence).
QString regeneratedCodeList(const QString& savedStatement, qint64 reportId);

class ZtfiApp;
// The instrument code list of the selection (qSifrantFinInstr), shared for the whole run.
CodeList& sharedCodeList(ZtfiApp& app);
