// ztfi-cli ALIAS USER PASSWORD AUDITUSER COMMAND [ARGS]: the daily job without a window, for
// unattended runs. The program folder is ZTFI_HOME, as for ztfi.
#include "app/CliArguments.h"
#include "app/CliCommands.h"
#include "app/ConsoleInteraction.h"
#include "app/Error.h"
#include "app/ZtfiApp.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString usageError;
    const auto arguments = CliArguments::parse(application.arguments().mid(1), usageError);
    if (!arguments) {
        err << "ztfi-cli: " << usageError << '\n' << CliArguments::usage();
        return CliCommands::WrongUsage;
    }
    QString passPhrase;
    if (arguments->command == QLatin1String("sign"))
        passPhrase = QTextStream(stdin).readLine();

    ConsoleInteraction ui(err);
    try {
        ZtfiApp app(arguments->startup, ui);
        app.resetRunState();
        app.readConfiguration();
        app.prepareSavedStatements();
        return CliCommands(app, ui, out).run(*arguments, passPhrase);
    } catch (const ZtfiError& e) {
        ui.error(e.message());
        return CliCommands::Failed;
    }
}
