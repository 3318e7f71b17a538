#include "app/cli/EmirCommands.h"

#include "app/cli/CliArguments.h"
#include "app/cli/CliOutput.h"
#include "app/cli/ConsoleInteraction.h"
#include "app/cli/ListOut.h"
#include "core/Error.h"
#include "core/Formats.h"
#include "emir/EmirAmount.h"
#include "emir/EmirDisputeEditor.h"
#include "emir/EmirDisputeImport.h"
#include "emir/EmirRegistry.h"
#include "emir/EmirReportEditor.h"
#include "emir/EmirXmlFile.h"
#include "state/ZtfiApp.h"

#include <QFileInfo>
#include <QTextStream>

#include <memory>

namespace {

// A date argument: "" is no date, and so is a text that is not a date (the checks name it).
QDate dateArg(const CliRun& run, int index)
{
    return Formats::parseDate(run.args.args.at(index));
}

std::unique_ptr<EmirRegistry> registry(CliRun& run)
{
    return std::make_unique<EmirRegistry>(run.app.connection(), run.app.dialect());
}

// The registry's list holding every report, on the report of the argument; throws the dialog's
// message when there is no such report.
std::unique_ptr<EmirRegistry> onReport(CliRun& run, qint64 id)
{
    std::unique_ptr<EmirRegistry> reg = registry(run);
    reg->setPeriod(QDate(1900, 1, 1), QDate(9999, 12, 31));
    reg->reloadReports(id);
    const std::optional<EmirReportRow> report = reg->currentReport();
    if (!report || report->id != id)
        throw ZtfiError(QStringLiteral("Ne najdem poročila v tabeli, ID = ") + QString::number(id));
    return reg;
}

// Refuses what the tab would not enable for a cancelled report.
bool refuseCancelled(CliRun& run, const EmirRegistry& reg, const QString& what)
{
    if (!reg.currentReport()->cancelled)
        return false;
    run.ui.error(QStringLiteral("ztfi-cli: the EMIR report %1 is cancelled: %2 is not allowed")
                     .arg(run.args.args.at(0), what));
    return true;
}

int printLast(CliRun& run, const QString& line)
{
    run.out << line << '\n';
    run.out.flush();
    return CliStatus::Done;
}

int listReports(CliRun& run)
{
    const QDate from = dateArg(run, 0);
    const QDate to = dateArg(run, 1);
    for (int i : {0, 1}) {
        if (!run.args.args.at(i).isEmpty() && !(i == 0 ? from : to).isValid()) {
            run.ui.error(QStringLiteral("ztfi-cli: not a date: ") + run.args.args.at(i));
            return CliStatus::WrongUsage;
        }
    }
    const std::unique_ptr<EmirRegistry> reg = registry(run);
    reg->setPeriod(from, to);
    reg->reloadReports();
    if (!run.args.out.isEmpty())
        return writeListOut(run, reg->reports(), QStringLiteral("Poročila"));
    printDataset(reg->reports(), run.out);
    return CliStatus::Done;
}

// DANOD DANDO NEPOTRJENIH DANPOROCILA from the argument at first.
EmirReportValues reportValues(const CliRun& run, int first)
{
    EmirReportValues values;
    values.firstDay = dateArg(run, first);
    values.lastDay = dateArg(run, first + 1);
    // An empty count is none (0); a text that is not a number fails the check.
    const QString count = run.args.args.at(first + 2).trimmed();
    bool ok = count.isEmpty();
    const int unconfirmed = ok ? 0 : count.toInt(&ok);
    if (ok)
        values.unconfirmed = unconfirmed;
    values.reportDay = dateArg(run, first + 3);
    return values;
}

int addReport(CliRun& run)
{
    EmirReportEditor editor(run.app.connection(), run.app.dialect());
    return printLast(run, QString::number(editor.save(reportValues(run, 0), 0)));
}

int editReport(CliRun& run)
{
    const qint64 id = run.args.number(0);
    const std::unique_ptr<EmirRegistry> reg = onReport(run, id);
    if (refuseCancelled(run, *reg, QStringLiteral("editing it")))
        return CliStatus::Failed;
    EmirReportEditor(run.app.connection(), run.app.dialect()).save(reportValues(run, 1), id);
    return CliStatus::Done;
}

int deleteReport(CliRun& run)
{
    const std::unique_ptr<EmirRegistry> reg = onReport(run, run.args.number(0));
    return reg->deleteReport(run.ui) ? CliStatus::Done : CliStatus::Failed;
}

int cancelReport(CliRun& run)
{
    const std::unique_ptr<EmirRegistry> reg = onReport(run, run.args.number(0));
    if (refuseCancelled(run, *reg, QStringLiteral("cancelling it again")))
        return CliStatus::Failed;
    const std::optional<qint64> created = reg->cancelReport(run.ui);
    return created ? printLast(run, QString::number(*created)) : CliStatus::Failed;
}

int listDisputes(CliRun& run)
{
    const std::unique_ptr<EmirRegistry> reg = onReport(run, run.args.number(0));
    if (!run.args.out.isEmpty())
        return writeListOut(run, reg->disputes(), QStringLiteral("Spori"));
    printDataset(reg->disputes(), run.out);
    return CliStatus::Done;
}

int addDispute(CliRun& run)
{
    const qint64 id = run.args.number(0);
    EmirDisputeEditor editor(run.app.connection(), run.app.dialect(), id);
    const std::unique_ptr<EmirRegistry> reg = onReport(run, id);
    if (refuseCancelled(run, *reg, QStringLiteral("adding a dispute")))
        return CliStatus::Failed;
    const QStringList& a = run.args.args;
    EmirDisputeValues values;
    values.party = a.at(1);
    values.counterparty = a.at(2);
    values.firstDay = dateArg(run, 3);
    values.lastDay = dateArg(run, 4);
    values.lastDayUnreadable = !a.at(4).isEmpty() && !values.lastDay.isValid();
    if (!a.at(5).trimmed().isEmpty()) {
        const std::optional<double> amount = parseEmirAmount(a.at(5));
        if (!amount) {
            run.ui.error(QStringLiteral("ztfi-cli: not an amount: ") + a.at(5));
            return CliStatus::WrongUsage;
        }
        values.amount = *amount;
    }
    values.notes = a.at(6);
    return printLast(run, QString::number(editor.save(values, 0)));
}

int deleteDispute(CliRun& run)
{
    const qint64 dispute = run.args.number(0);
    const std::optional<qint64> report = EmirRegistry::reportOfDispute(run.app.connection(), dispute);
    if (!report)
        throw ZtfiError(QStringLiteral("Ne najdem posla v tabeli, ID = ") + QString::number(dispute));
    const std::unique_ptr<EmirRegistry> reg = onReport(run, *report);
    if (refuseCancelled(run, *reg, QStringLiteral("deleting its dispute")))
        return CliStatus::Failed;
    reg->reloadDisputes(dispute);
    return reg->deleteDispute(run.ui) ? CliStatus::Done : CliStatus::Failed;
}

int importDisputes(CliRun& run)
{
    const std::unique_ptr<EmirRegistry> reg = onReport(run, run.args.number(0));
    if (refuseCancelled(run, *reg, QStringLiteral("importing disputes")))
        return CliStatus::Failed;
    const QString file = QFileInfo(run.args.args.at(1)).absoluteFilePath();
    EmirDisputeImport(run.app.connection(), run.app.dialect(), run.ui).importFile(file, reg->currentReport()->id);
    run.ui.inform(EmirDisputeImport::finishedMessage(file));
    return CliStatus::Done;
}

int writeXml(CliRun& run)
{
    const std::unique_ptr<EmirRegistry> reg = onReport(run, run.args.number(0));
    EmirXmlFile file(run.app.connection(), run.app.config().MatStev, run.app.programFolder());
    const QString path = file.filePath(file.firmCode(), reg->currentReport()->serial, QDate::currentDate());
    if (QFileInfo::exists(path) && !run.args.flags.contains(QStringLiteral("--replace"))) {
        run.ui.error(EmirXmlFile::overwriteQuestion(path));
        return CliStatus::Failed;
    }
    const QString written = file.generate(*reg, run.ui);
    return written.isEmpty() ? CliStatus::Failed : printLast(run, written);
}

}  // namespace

QList<CliCommand> emirCommands()
{
    using A = CliArg;
    const QString report = QStringLiteral("DANOD DANDO NEPOTRJENIH DANPOROCILA");
    return {
        {QStringLiteral("emir-reports"), {A::Field, A::Field}, QStringLiteral("FROM TO"),
         QStringLiteral("the EMIR reports whose period starts within FROM..TO (\"\" no bound)"), false, listReports,
         true},
        {QStringLiteral("emir-add-report"), {A::Field, A::Field, A::Field, A::Field}, report,
         QStringLiteral("a new EMIR report; prints its identifier"), false, addReport},
        {QStringLiteral("emir-edit-report"), {A::Number, A::Field, A::Field, A::Field, A::Field},
         QStringLiteral("ID ") + report, QStringLiteral("changes an EMIR report"), false, editReport},
        {QStringLiteral("emir-delete-report"), {A::Number}, QStringLiteral("ID"),
         QStringLiteral("deletes an EMIR report with its disputes"), false, deleteReport},
        {QStringLiteral("emir-cancel"), {A::Number}, QStringLiteral("ID"),
         QStringLiteral("cancels an EMIR report; prints the new report's identifier"), false, cancelReport},
        {QStringLiteral("emir-disputes"), {A::Number}, QStringLiteral("ID"),
         QStringLiteral("the disputes of an EMIR report"), false, listDisputes, true},
        {QStringLiteral("emir-add-dispute"), {A::Number, A::Field, A::Field, A::Field, A::Field, A::Field, A::Field},
         QStringLiteral("ID STRANKA NASSTRANKA DATZACETKA DATZAKLJUCKA VREDNOST OPOMBE"),
         QStringLiteral("a new dispute of an EMIR report; prints its identifier"), false, addDispute},
        {QStringLiteral("emir-delete-dispute"), {A::Number}, QStringLiteral("DISPUTEID"),
         QStringLiteral("deletes a dispute"), false, deleteDispute},
        {QStringLiteral("emir-import"), {A::Number, A::Text}, QStringLiteral("ID FILE"),
         QStringLiteral("adds the disputes of a workbook to an EMIR report, all or none"), false, importDisputes},
        {QStringLiteral("emir-xml"), {A::Number}, QStringLiteral("ID [--replace]"),
         QStringLiteral("writes the EMIR file; prints its full path"), false, writeXml},
    };
}
