#pragma once

#include <QString>
#include <QStringList>

struct Config;

// The gathering statements of a regenerated report: the statements of the daily selection for
// the report's period, differing where the report's own set is gathered again (a trade or
// cancellation that already belongs to some set is not excluded by that alone).
namespace RegenerationStatements {

// Step 1: the period's trades that carry no reference number yet (Dan, DanDo).
QStringList newTrades(const Config& config, qint64 reportId);
// Step 2: cancellations of the period (Dan, DanDo) of trades that were selected, with the
// reference number of the cancelled trade's row.
QStringList cancellations(const Config& config, qint64 reportId);
// Step 3: replacement trades of corrected cancellations, of the period (Dan, DanDo).
QStringList replacements(const Config& config, qint64 reportId);

}  // namespace RegenerationStatements
