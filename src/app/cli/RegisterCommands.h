#pragma once

#include "app/cli/CliCommand.h"

// The register of the reports and their signing: the list, the regulator's answers, the
// regeneration of a rejected report, signing and delivery.
QList<CliCommand> registerCommands();
