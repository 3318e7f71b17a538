#include "app/cli/DailyCommands.h"

#include "app/cli/CliArguments.h"
#include "app/cli/CliOutput.h"
#include "app/cli/ConsoleInteraction.h"
#include "app/cli/ListOut.h"
#include "data/engine/DeskLock.h"
#include "instruments/CodeList.h"
#include "instruments/InstrumentChoice.h"
#include "ntrs/ReportWriter.h"
#include "ntrs/check/FindingList.h"
#include "ntrs/check/IsoCodes.h"
#include "ntrs/check/PeriodCheck.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"

#include <QDateTime>
#include <QTextStream>

namespace {

int select(CliRun& run, bool andGenerate)
{
    const QDate first = run.args.date(0);
    const QDate last = run.args.date(1);
    // The day's selection and its report are one unit: no other desk selects in between.
    const DeskLock desk(run.app.connection());
    const SelectionOutcome outcome = Selection(run.app).bbNaborClick(first, last);
    if (outcome.stop) {
        printPendingIsins(run.app.connection(), run.out);
        return CliStatus::ChoicePending;
    }
    if (!andGenerate && !run.args.out.isEmpty())
        return writeListOut(run, sharedReportRows(run.app).query(), QStringLiteral("Transakcije"));
    if (!andGenerate) {
        printDataset(sharedReportRows(run.app).query(), run.out);
        run.out << '\n';
        printDataset(sharedCodeList(run.app).query(), run.out);
        return CliStatus::Done;
    }
    if (!outcome.generationEnabled) {
        // The window leaves "Generiranje XML poročila" disabled (its message, if any, is shown).
        if (sharedReportRows(run.app).query().isEmpty())
            run.ui.error(QStringLiteral("ztfi-cli: no transactions to report in %1 - %2")
                             .arg(run.args.args.at(0), run.args.args.at(1)));
        return CliStatus::Failed;
    }
    return generateReport(run, first, last);
}

// The reporting instrument of an ISIN's pending row (else of its current row), as the edit
// dialog of the override list chooses it; the ISINs still pending are printed after it.
int choose(CliRun& run)
{
    ZtfiApp& app = run.app;
    InstrumentChoice choice(app.connection(), app.dialect(), app.auditTrail(), app.params().auditUser);
    const std::optional<OverrideRow> row = choice.rowOfIsin(run.args.args.at(0));
    if (!row) {
        run.ui.error(QStringLiteral("ztfi-cli: no instrument override of the ISIN %1").arg(run.args.args.at(0)));
        return CliStatus::Failed;
    }
    // Without the tab "Nabor" the instrument data are those of today.
    choice.choose(*row, run.args.number(1), QDate::currentDate());
    printPendingIsins(app.connection(), run.out);
    return CliStatus::Done;
}

// The check of the period: its findings (errors first) as a list; nothing is written.
int check(CliRun& run)
{
    const PeriodCheckResult result =
        PeriodCheck(run.app, IsoCodes::debianFolder()).run(run.args.date(0), run.args.date(1));
    for (const QString& notice : result.notices)
        run.ui.warn(notice);
    if (!result.pendingIsins.isEmpty()) {
        for (const QString& isin : result.pendingIsins)
            run.out << isin << '\n';
        run.out.flush();
        return CliStatus::ChoicePending;
    }
    FindingList list(run.app.connection());
    list.show(result.findings);
    if (!run.args.out.isEmpty()) {
        const int written = writeListOut(run, list, QStringLiteral("Preverjanje nabora"));
        if (written != CliStatus::Done)
            return written;
    } else {
        printDataset(list, run.out);
    }
    return result.hasErrors() ? CliStatus::Failed : CliStatus::Done;
}

int deleteSelection(CliRun& run)
{
    Selection(run.app).BitBtn3Click(run.args.date(0), run.args.date(1));
    return CliStatus::Done;
}

}  // namespace

int generateReport(CliRun& run, const QDate& firstDay, const QDate& lastDay)
{
    ZtfiApp& app = run.app;
    ReportWriter writer(app.connection(), app.config(), app.errorLog(), app.auditTrail(),
                        app.programFolder());
    writer.reportProgressTo(run.ui);
    const ReportOutcome outcome =
        writer.bbGenXMLClick(sharedReportRows(app), sharedCodeList(app), app.regeneration,
                             {firstDay, lastDay, QDateTime::currentDateTime()});
    if (!outcome.valid) {
        run.ui.error(outcome.errorLine);
        run.ui.error(outcome.badFilePath.isEmpty() ? outcome.filePath : outcome.badFilePath);
        return CliStatus::Failed;
    }
    run.out << outcome.filePath << '\n';
    run.out.flush();
    return CliStatus::Done;
}

QList<CliCommand> dailyCommands()
{
    using A = CliArg;
    return {
        {QStringLiteral("select"), {A::Date, A::Date}, QStringLiteral("FROM TO"),
         QStringLiteral("the selection; prints the report rows and the code list"), false,
         [](CliRun& run) { return select(run, false); }, true},
        {QStringLiteral("generate"), {A::Date, A::Date}, QStringLiteral("FROM TO"),
         QStringLiteral("the selection and the report; prints the report's path last"), false,
         [](CliRun& run) { return select(run, true); }},
        {QStringLiteral("check"), {A::Date, A::Date}, QStringLiteral("FROM TO"),
         QStringLiteral("checks the period's selection as the report would; prints the findings, errors first"),
         false, check, true},
        {QStringLiteral("choose"), {A::Text, A::Number}, QStringLiteral("ISIN SFVP"),
         QStringLiteral("the reporting instrument of the ISIN's current row"), false, choose},
        {QStringLiteral("delete-selection"), {A::Date, A::Date}, QStringLiteral("FROM TO"),
         QStringLiteral("removes the pending selection and unsent reports"), false,
         deleteSelection},
    };
}
