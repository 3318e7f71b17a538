#include "app/cli/ListOut.h"

#include "app/cli/CliArguments.h"
#include "app/cli/CliCommand.h"
#include "app/cli/ConsoleInteraction.h"
#include "core/Error.h"
#include "listing/ListFile.h"

bool listOutAccepted(CliRun& run)
{
    if (run.args.out.isEmpty() || ListFile::typeOf(run.args.out))
        return true;
    run.ui.error(QStringLiteral("ztfi-cli: unknown list file type: %1 (use .pdf, .dbf, .db or .txt)").arg(run.args.out));
    return false;
}

int writeListOut(CliRun& run, const Dataset& dataset, const QString& title)
{
    try {
        const QString step = (ListFile::typeOf(run.args.out) == ListFile::Type::Pdf ? QStringLiteral("Izpis seznama: ")
                                                                                    : QStringLiteral("Izvoz seznama: "))
                             + title;
        ListFile::write(dataset, title, run.args.out, ListFile::defaultFont(),
                        [&run, &step](int done, int total) { run.ui.progress(step, done - 1, total); });
    } catch (const ZtfiError& e) {
        run.ui.error(QStringLiteral("ztfi-cli: cannot write %1: %2").arg(run.args.out, e.message()));
        return CliStatus::Failed;
    }
    return CliStatus::Done;
}
