#pragma once

#include "app/cli/CliCommand.h"

// The EMIR registry: the report list, reports and disputes added, changed, cancelled and
// deleted, the import of disputes and the EMIR file.
QList<CliCommand> emirCommands();
