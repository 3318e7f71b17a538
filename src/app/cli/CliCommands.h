#pragma once

#include "app/cli/CliCommand.h"

// The table of the tool's commands, family by family (the daily run, the register and signing).
// A new command is one entry in its family's list.
const QList<CliCommand>& cliCommands();
const CliCommand* findCliCommand(const QString& name);

// The usage text, one line per command of the table.
QString cliUsage();

// Runs the parsed command; an error that escapes a service is shown as the window shows it and
// yields CliStatus::Failed.
int runCliCommand(CliRun& run);
