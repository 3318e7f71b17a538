#pragma once

#include <QString>
#include <QStringList>

struct Config;

// The statements of the daily selection, built line by line from the configuration: which
// trades count is configured by market lists (DMC_2, DMC_3, Tuj_2, Tuj_3) and trade kinds
// (TipPosla). Configured codes reach the SQL text only through codeList (quotes doubled).
namespace SelectionStatements {

// Every character of the value as an SQL string literal, joined by ",": KL gives 'K','L'.
QString codeList(const QString& value);

// Activity codes of trades on domestic (SfDrzTrg 'S') resp. foreign markets, by market type;
// empty when neither key of the pair is set.
QString domesticCondition(const Config& config);
QString foreignCondition(const Config& config);
// The line appended to the statements of new trades (with "P.SfDjv") when a market key is
// set; empty otherwise. Cancellations and replacement trades use it with "D.SfDjv".
QString marketCondition(const Config& config);
// A trade of type 'P' counts only when its contract names a remote member.
QString remoteMemberCondition(const QString& tradeAlias, const QString& contractAlias);

// Step 1: new trades of the period (parameters Dan, DanDo); columns DpAtvpId, IdPsl, IsStn,
// IDREFATVP with a new reference number from DPATVPPSL_SEQ.
QStringList newTrades(const Config& config, qint64 reportId);
// Step 2: cancellations of trades selected before, whatever their date; the reference number
// is that of the cancelled trade's row.
QStringList cancellations(const Config& config, qint64 reportId);
// Step 3: replacement trades of corrected cancellations, of the period (Dan, DanDo).
QStringList replacements(const Config& config, qint64 reportId);
// Step 4: the imported transactions of the period without a report (Datum, DatumDo), and the
// update that gives one of them the report identifier (DPATVPID, IDIMP).
QStringList pendingImports();
QString assignImport();

// The deletion of the pending selection: its rows, the identifiers of imported transactions
// of reports that do not exist, and the generated reports of the period that were never sent
// (Datum, DatumDo). A report is one row of DPATVPID and ZAPST; its set's rows go only when no
// sent report of the register shares the set (DPATVPID).
QStringList pendingRows();
QString deletePendingRow(qint64 reportId, qint64 tradeId);
QStringList orphanedImports();
QString releaseImport();
QStringList unsentReports();
QString sentReportOfSet();
QString deleteReportRows(qint64 reportId);

}  // namespace SelectionStatements
