#include "app/cli/ExchangeCommands.h"

#include "app/cli/CliArguments.h"
#include "app/cli/CliOutput.h"
#include "app/cli/ConsoleInteraction.h"
#include "exchange/SelectionExport.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

// The selection of the period, then its report rows written to the file as "Izvoz nabora"
// writes them; the file's full path is printed last.
int exportSelection(CliRun& run)
{
    const SelectionOutcome outcome = Selection(run.app).bbNaborClick(run.args.date(0), run.args.date(1));
    if (outcome.stop) {
        printPendingIsins(run.app.connection(), run.out);
        return CliStatus::ChoicePending;
    }
    SelectionExport selectionExport(sharedReportRows(run.app));
    selectionExport.requireRows();
    const QString path = QFileInfo(run.args.args.at(2)).absoluteFilePath();
    selectionExport.write(SelectionExport::sheetTitle(), path);
    run.out << path << '\n';
    run.out.flush();
    return CliStatus::Done;
}

}  // namespace

QList<CliCommand> exchangeCommands()
{
    using A = CliArg;
    return {
        {QStringLiteral("export"), {A::Date, A::Date, A::Text}, QStringLiteral("FROM TO FILE"),
         QStringLiteral("the selection written to a workbook; prints its path last"), false, exportSelection},
    };
}
