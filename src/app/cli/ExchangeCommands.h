#pragma once

#include "app/cli/CliCommand.h"

// The spreadsheet exchange: the export of a selection and the import of manual transactions.
QList<CliCommand> exchangeCommands();
