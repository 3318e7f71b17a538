#pragma once

#include "app/cli/CliCommand.h"

class QDate;

// The daily run: the selection, the report, the instrument choice and the deletion of a
// pending selection.
QList<CliCommand> dailyCommands();

// The report of the selected rows of the period (the window's "Generiranje XML poročila"); the
// report's full path is printed as the last line.
int generateReport(CliRun& run, const QDate& firstDay, const QDate& lastDay);
