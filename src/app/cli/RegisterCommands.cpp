#include "app/cli/RegisterCommands.h"

#include "app/cli/CliArguments.h"
#include "app/cli/CliOutput.h"
#include "app/cli/ConsoleInteraction.h"
#include "app/cli/DailyCommands.h"
#include "app/cli/ListOut.h"
#include "data/dataset/AuditTrail.h"
#include "ntrs/Regeneration.h"
#include "ntrs/Register.h"
#include "signing/RegisterTable.h"
#include "signing/ReportSigner.h"
#include "signing/SigningPrompt.h"
#include "state/ZtfiApp.h"

#include <QFileInfo>
#include <QTextStream>

#include <memory>

namespace {

int sign(CliRun& run)
{
    ZtfiApp& app = run.app;
    const QString file = QFileInfo(run.args.args.at(0)).fileName();
    Interaction::SigningCredentials credentials;
    credentials.user = run.args.args.at(1);
    credentials.passPhrase = run.passPhrase;
    if (!SigningPrompt::complete(credentials, run.ui))
        return CliStatus::Failed;
    auto registerTable = RegisterTable::create(app.connection());
    app.auditTrail().attach(*registerTable);
    ReportSigner signer(app.config(), app.programFolder(), run.ui, app.connection(), *registerTable);
    run.out << signer.SignAndSend(file, credentials.user, credentials.passPhrase, app.config().ATVP_Uporabnik,
                                  ReportSigner::isDelivered(file))
            << '\n';
    run.out.flush();
    return CliStatus::Done;
}

std::unique_ptr<ReportRegister> reportRegister(ZtfiApp& app)
{
    return std::make_unique<ReportRegister>(app.connection(), app.dialect(), app.auditTrail(),
                                            app.params().auditUser, app.programFolder());
}

int listRegister(CliRun& run)
{
    const std::unique_ptr<ReportRegister> reg = reportRegister(run.app);
    reg->refresh(run.args.date(0), run.args.date(1));
    if (!run.args.out.isEmpty())
        return writeListOut(run, reg->query(), QStringLiteral("Poročila"));
    printDataset(reg->query(), run.out);
    return CliStatus::Done;
}

// The register list positioned on the report ID SERIAL of the arguments; null (with the message
// shown) when the register has no such row.
std::unique_ptr<ReportRegister> locateReport(CliRun& run)
{
    std::unique_ptr<ReportRegister> reg = reportRegister(run.app);
    reg->refresh(QDate(1900, 1, 1), QDate(9999, 12, 31));
    if (reg->query().locate(QStringLiteral("DPATVPID;ZAPST"), {run.args.number(0), run.args.number(1)}))
        return reg;
    run.ui.error(QStringLiteral("ztfi-cli: no report %1 with serial %2").arg(run.args.args.at(0), run.args.args.at(1)));
    return nullptr;
}

int answer(CliRun& run)
{
    const std::unique_ptr<ReportRegister> reg = locateReport(run);
    if (!reg)
        return CliStatus::Failed;
    if (!reg->actions().setStatus) {
        run.ui.error(QStringLiteral("ztfi-cli: the report %1/%2 is not sent or already answered")
                         .arg(run.args.args.at(0), run.args.args.at(1)));
        return CliStatus::Failed;
    }
    if (run.args.command == QLatin1String("confirm"))
        reg->confirm();
    else
        reg->reject();
    return CliStatus::Done;
}

int regenerate(CliRun& run)
{
    const std::unique_ptr<ReportRegister> reg = locateReport(run);
    if (!reg)
        return CliStatus::Failed;
    if (!reg->actions().regenerate) {
        run.ui.error(QStringLiteral("ztfi-cli: the report %1/%2 cannot be regenerated (not the latest rejected one)")
                         .arg(run.args.args.at(0), run.args.args.at(1)));
        return CliStatus::Failed;
    }
    const RegisterRow row = *reg->currentRow();
    const RegenerationOutcome outcome = Regeneration(run.app).bbReGenerirajClick(row);
    if (outcome.stop) {
        printPendingIsins(run.app.connection(), run.out);
        return CliStatus::ChoicePending;
    }
    if (!outcome.generationEnabled)
        return CliStatus::Failed;
    return generateReport(run, outcome.selectionDay, outcome.selectionDay);
}

}  // namespace

QList<CliCommand> registerCommands()
{
    using A = CliArg;
    return {
        {QStringLiteral("sign"), {A::Text, A::Text}, QStringLiteral("FILE SIGNER"),
         QStringLiteral("signs, encrypts and delivers a report (pass phrase on stdin)"), true, sign},
        {QStringLiteral("register"), {A::Date, A::Date}, QStringLiteral("FROM TO"),
         QStringLiteral("the register of the reporting days"), false, listRegister, true},
        {QStringLiteral("confirm"), {A::Number, A::Number}, QStringLiteral("ID SERIAL"),
         QStringLiteral("the regulator confirmed the report"), false, answer},
        {QStringLiteral("reject"), {A::Number, A::Number}, QStringLiteral("ID SERIAL"),
         QStringLiteral("the regulator rejected the report"), false, answer},
        {QStringLiteral("regenerate"), {A::Number, A::Number}, QStringLiteral("ID SERIAL"),
         QStringLiteral("a rejected report generated anew"), false, regenerate},
    };
}
