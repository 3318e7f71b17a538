// ztfi-cli ALIAS USER PASSWORD AUDITUSER COMMAND [ARGS]: the daily job without a window, for
// unattended runs. The program folder is ZTFI_HOME, as for ztfi.
#include "app/cli/CliArguments.h"
#include "app/cli/CliCommands.h"
#include "app/cli/CliInterrupt.h"
#include "app/cli/ConsoleInteraction.h"
#include "core/Error.h"
#include "core/LocalZone.h"
#include "core/StartupParameters.h"
#include "core/StartupPassword.h"
#include "reporting/SelectionLists.h"
#include "state/ZtfiApp.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

#include <unistd.h>

int main(int argc, char** argv)
{
    readLocalZoneOnce();
    const QStringList parameters = commandLineParameters(argc, argv);
    // A list written to a file (--out) may need fonts and a painter, never a screen.
    std::unique_ptr<QCoreApplication> application;
    if (parameters.contains(QLatin1String("--out"))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString usageError;
    auto arguments = CliArguments::parse(parameters, usageError);
    if (!arguments) {
        err << "ztfi-cli: " << usageError << '\n' << CliArguments::usage();
        return CliStatus::WrongUsage;
    }
    // The pass phrase of a signing comes on standard input: the password then only from the
    // environment.
    const bool readsInput = findCliCommand(arguments->command)->needsPassPhrase;
    if (StartupPassword::isAsked(arguments->startup.at(2))) {
        QFile input;
        input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered);
        const std::optional<QString> password = StartupPassword::read(!readsInput, input);
        if (!password) {
            err << "ztfi-cli: " << StartupPassword::missingMessage(!readsInput) << '\n';
            return CliStatus::WrongUsage;
        }
        arguments->startup[2] = *password;
    }
    QString passPhrase;
    if (readsInput)
        passPhrase = QTextStream(stdin).readLine();

    ConsoleInteraction ui(err);
    // Progress lines for a person watching, or when asked for; a script reading standard error
    // gets none.
    ui.setProgressShown(arguments->progress || ::isatty(STDERR_FILENO) == 1);
    CliInterrupt::install();
    const int status = [&] {
        try {
            ZtfiApp app(arguments->startup, ui);
            app.resetRunState();
            app.readConfiguration();
            // The window goes on after a message about ZTFI.ini; unattended, the values that made
            // it would give a wrong result, so nothing is done.
            if (ui.showedMessage())
                return int(CliStatus::Failed);
            prepareSavedStatements(app);
            CliRun run{app, ui, out, *arguments, passPhrase};
            return runCliCommand(run);
        } catch (const ZtfiError& e) {
            ui.error(e.message());
            return int(CliStatus::Failed);
        }
    }();
    // A command that a signal cancelled ends by the signal, once it has cleaned up.
    out.flush();
    err.flush();
    CliInterrupt::endByReceivedSignal();
    return status;
}
