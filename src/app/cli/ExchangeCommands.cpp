#include "app/cli/ExchangeCommands.h"

#include "app/cli/CliArguments.h"
#include "app/cli/CliOutput.h"
#include "app/cli/ConsoleInteraction.h"
#include "app/cli/ListOut.h"
#include "exchange/ImportList.h"
#include "exchange/SelectionExport.h"
#include "exchange/TransactionImport.h"
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
    selectionExport.reportProgressTo(run.ui);
    const QString path = QFileInfo(run.args.args.at(2)).absoluteFilePath();
    selectionExport.write(SelectionExport::sheetTitle(), path);
    run.out << path << '\n';
    run.out.flush();
    return CliStatus::Done;
}

// The import of manual transactions for the day; running the command is the confirmation. The
// messages, the error list and what was done go to standard error; anything refused, listed or
// left unread fails.
int importTransactions(CliRun& run)
{
    if (run.args.hasFlag(QStringLiteral("--ignore-unknown")))
        run.ui.setAbortIgnoreAnswer(Interaction::AbortIgnore::Ignore);
    ZtfiApp& app = run.app;
    TransactionImport import(app.connection(), app.dialect(), app.auditTrail(), run.ui);
    qint64 nextId = import.firstIdentifier();
    const ImportOutcome outcome = import.read(QFileInfo(run.args.args.at(1)).absoluteFilePath(), run.args.date(0), nextId);
    for (const QString& entry : outcome.errors.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        run.ui.error(entry);
    run.ui.inform(TransactionImport::summary(outcome));
    return outcome.complete && outcome.errors.isEmpty() ? CliStatus::Done : CliStatus::Failed;
}

int listImports(CliRun& run)
{
    ImportList& list = sharedImportList(run.app);
    list.nabor(run.args.date(0));
    if (!run.args.out.isEmpty())
        return writeListOut(run, list.table(), QStringLiteral("Transakcije"));
    printDataset(list.table(), run.out);
    return CliStatus::Done;
}

int deleteImports(CliRun& run)
{
    ImportList& list = sharedImportList(run.app);
    list.nabor(run.args.date(0));
    list.brisanjeNabora(run.ui, run.args.date(0));
    return CliStatus::Done;
}

}  // namespace

QList<CliCommand> exchangeCommands()
{
    using A = CliArg;
    return {
        {QStringLiteral("export"), {A::Date, A::Date, A::Text}, QStringLiteral("FROM TO FILE"),
         QStringLiteral("the selection written to a workbook; prints its path last"), false, exportSelection},
        {QStringLiteral("import"), {A::Date, A::Text}, QStringLiteral("DAY FILE [--ignore-unknown]"),
         QStringLiteral("manual transactions of the day imported from a workbook"), false, importTransactions},
        {QStringLiteral("imports"), {A::Date}, QStringLiteral("DAY"),
         QStringLiteral("the manual transactions of the day"), false, listImports, true},
        {QStringLiteral("delete-imports"), {A::Date}, QStringLiteral("DAY"),
         QStringLiteral("removes the day's manual transactions that no report took"), false, deleteImports},
    };
}
