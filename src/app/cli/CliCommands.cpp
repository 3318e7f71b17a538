#include "app/cli/CliCommands.h"

#include "app/cli/CliArguments.h"
#include "app/cli/ConsoleInteraction.h"
#include "app/cli/DailyCommands.h"
#include "app/cli/EmirCommands.h"
#include "app/cli/ExchangeCommands.h"
#include "app/cli/ListOut.h"
#include "app/cli/RegisterCommands.h"
#include "core/Error.h"

#include <new>

const QList<CliCommand>& cliCommands()
{
    static const QList<CliCommand> table = dailyCommands() + registerCommands() + exchangeCommands() + emirCommands();
    return table;
}

const CliCommand* findCliCommand(const QString& name)
{
    for (const CliCommand& command : cliCommands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QString cliUsage()
{
    QString usage = QStringLiteral("usage: ztfi-cli ALIAS USER PASSWORD AUDITUSER COMMAND [ARGS]\n");
    for (const CliCommand& command : cliCommands()) {
        const QString call = command.name + QLatin1Char(' ') + command.synopsis +
                             (command.listing ? QStringLiteral(" [--out FILE]") : QString());
        usage += QStringLiteral("  ") + (call.size() < 26 ? call.leftJustified(26) : call + QLatin1Char(' '))
            + command.summary + QLatin1Char('\n');
    }
    usage += QStringLiteral(
        "Dates are dd.mm.yyyy. Exit status: 0 done, 1 error, 2 wrong usage, 3 the selection\n"
        "stopped for an instrument choice (the pending ISINs printed).\n"
        "--progress (among or after the arguments): progress lines on standard error, as on a terminal.\n"
        "PASSWORD -: the password from ZTFI_PASSWORD, else the first line of standard input.\n");
    return usage;
}

int runCliCommand(CliRun& run)
{
    const CliCommand* command = findCliCommand(run.args.command);
    if (!command) {
        run.ui.error(QStringLiteral("ztfi-cli: the command %1 is not available in this version")
                         .arg(run.args.command));
        return CliStatus::Failed;
    }
    if (!listOutAccepted(run))
        return CliStatus::Failed;
    try {
        return command->run(run);
    } catch (const ZtfiError& e) {
        run.ui.error(e.message());
        return CliStatus::Failed;
    } catch (const std::bad_alloc&) {
        run.ui.error(QStringLiteral("Za to dejanje ni dovolj pomnilnika."));
        return CliStatus::Failed;
    }
}
