#include "app/CliCommands.h"

#include "app/CliArguments.h"
#include "app/ConsoleInteraction.h"
#include "app/Error.h"
#include "app/ZtfiApp.h"
#include "data/Connection.h"
#include "data/Dataset.h"
#include "data/Field.h"
#include "data/TDMTable.h"
#include "instruments/CodeList.h"
#include "instruments/InstrumentChoice.h"
#include "ntrs/Regeneration.h"
#include "ntrs/Register.h"
#include "ntrs/ReportWriter.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "signing/RegisterTable.h"
#include "signing/ReportSigner.h"
#include "app/AuditTrail.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace {

QString cell(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

}  // namespace

CliCommands::CliCommands(ZtfiApp& app, ConsoleInteraction& ui, QTextStream& out)
    : app_(app), ui_(ui), out_(out)
{
}

void CliCommands::printDataset(Dataset& dataset, QTextStream& out)
{
    QStringList header;
    const QList<Field*> fields = dataset.fields();
    for (const Field* f : fields)
        header << f->name();
    out << header.join(QLatin1Char('\t')) << '\n';
    if (!dataset.isActive())
        return;
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        QStringList line;
        for (const Field* f : fields)
            line << cell(f->displayText());
        out << line.join(QLatin1Char('\t')) << '\n';
    }
    out.flush();
}

CliCommands::Status CliCommands::run(const CliArguments& a, const QString& passPhrase)
{
    try {
        if (a.command == QLatin1String("select"))
            return select(a, false);
        if (a.command == QLatin1String("generate"))
            return select(a, true);
        if (a.command == QLatin1String("choose"))
            return choose(a);
        if (a.command == QLatin1String("sign"))
            return sign(a, passPhrase);
        if (a.command == QLatin1String("register"))
            return listRegister(a);
        if (a.command == QLatin1String("confirm") || a.command == QLatin1String("reject"))
            return answer(a);
        if (a.command == QLatin1String("regenerate"))
            return regenerate(a);
        if (a.command == QLatin1String("delete-selection"))
            return deleteSelection(a);
        ui_.error(QStringLiteral("ztfi-cli: the command %1 is not available in this version").arg(a.command));
        return Failed;
    } catch (const ZtfiError& e) {
        ui_.error(e.message());
        return Failed;
    }
}

CliCommands::Status CliCommands::select(const CliArguments& a, bool andGenerate)
{
    const QDate first = a.date(0);
    const QDate last = a.date(1);
    const SelectionOutcome outcome = Selection(app_).bbNaborClick(first, last);
    if (outcome.stop) {
        printPendingIsins();
        return ChoicePending;
    }
    if (!andGenerate) {
        printDataset(app_.reportRows().query(), out_);
        out_ << '\n';
        printDataset(app_.codeList().query(), out_);
        return Done;
    }
    if (!outcome.generationEnabled) {
        // The window leaves "Generiranje XML poročila" disabled (its message, if any, is shown).
        if (app_.reportRows().query().isEmpty())
            ui_.error(QStringLiteral("ztfi-cli: no transactions to report in %1 - %2")
                          .arg(a.args.at(0), a.args.at(1)));
        return Failed;
    }
    return generate(first, last);
}

CliCommands::Status CliCommands::generate(const QDate& firstDay, const QDate& lastDay)
{
    ReportWriter writer(app_.connection(), app_.config(), app_.errorLog(), app_.auditTrail(),
                        app_.programFolder());
    const ReportOutcome outcome = writer.bbGenXMLClick(app_.reportRows(), app_.codeList(), app_.regeneration,
                                                       {firstDay, lastDay, QDateTime::currentDateTime()});
    if (!outcome.valid) {
        ui_.error(outcome.errorLine);
        ui_.error(outcome.badFilePath.isEmpty() ? outcome.filePath : outcome.badFilePath);
        return Failed;
    }
    out_ << outcome.filePath << '\n';
    out_.flush();
    return Done;
}

CliCommands::Status CliCommands::choose(const CliArguments& a)
{
    InstrumentChoice choice(app_.connection(), app_.dialect(), app_.auditTrail(), app_.params().auditUser);
    const std::optional<OverrideRow> row = choice.rowOfIsin(a.args.at(0));
    if (!row) {
        ui_.error(QStringLiteral("ztfi-cli: no instrument override of the ISIN %1").arg(a.args.at(0)));
        return Failed;
    }
    // Without the tab "Nabor" the instrument data are those of today.
    choice.choose(*row, a.number(1), QDate::currentDate());
    printPendingIsins();
    return Done;
}

CliCommands::Status CliCommands::sign(const CliArguments& a, const QString& passPhrase)
{
    const QString file = QFileInfo(a.args.at(0)).fileName();
    const QString signature = QDir(app_.programFolder()).filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".sig"));
    auto registerTable = RegisterTable::create(app_.connection());
    app_.auditTrail().attach(*registerTable);
    ReportSigner signer(app_.config(), app_.programFolder(), ui_, app_.connection(), *registerTable);
    signer.SignAndSend(file, a.args.at(1), passPhrase, app_.config().ATVP_Uporabnik,
                       ReportSigner::isDelivered(file));
    // Delivery moves the signature into SIGPath_Server when one is configured.
    const QString delivered = app_.config().SIGPath_Server.isEmpty()
        ? signature
        : QDir(app_.config().SIGPath_Server).filePath(QFileInfo(signature).fileName());
    const QString result = QFileInfo::exists(signature) ? signature : delivered;
    if (!QFileInfo::exists(result) || ui_.reportedProblem())
        return Failed;
    out_ << result << '\n';
    out_.flush();
    return Done;
}

CliCommands::Status CliCommands::listRegister(const CliArguments& a)
{
    const std::unique_ptr<ReportRegister> reg = reportRegister();
    reg->refresh(a.date(0), a.date(1));
    printDataset(reg->query(), out_);
    return Done;
}

std::unique_ptr<ReportRegister> CliCommands::reportRegister()
{
    return std::make_unique<ReportRegister>(app_.connection(), app_.dialect(), app_.auditTrail(),
                                            app_.params().auditUser, app_.programFolder());
}

std::unique_ptr<ReportRegister> CliCommands::locateReport(const CliArguments& a)
{
    std::unique_ptr<ReportRegister> reg = reportRegister();
    reg->refresh(QDate(1900, 1, 1), QDate(9999, 12, 31));
    if (reg->query().locate(QStringLiteral("DPATVPID;ZAPST"), {a.number(0), a.number(1)}))
        return reg;
    ui_.error(QStringLiteral("ztfi-cli: no report %1 with serial %2").arg(a.args.at(0), a.args.at(1)));
    return nullptr;
}

CliCommands::Status CliCommands::answer(const CliArguments& a)
{
    const std::unique_ptr<ReportRegister> reg = locateReport(a);
    if (!reg)
        return Failed;
    if (!reg->actions().setStatus) {
        ui_.error(QStringLiteral("ztfi-cli: the report %1/%2 is not sent or already answered")
                      .arg(a.args.at(0), a.args.at(1)));
        return Failed;
    }
    if (a.command == QLatin1String("confirm"))
        reg->confirm();
    else
        reg->reject();
    return Done;
}

CliCommands::Status CliCommands::regenerate(const CliArguments& a)
{
    const std::unique_ptr<ReportRegister> reg = locateReport(a);
    if (!reg)
        return Failed;
    if (!reg->actions().regenerate) {
        ui_.error(QStringLiteral("ztfi-cli: the report %1/%2 cannot be regenerated (not the latest rejected one)")
                      .arg(a.args.at(0), a.args.at(1)));
        return Failed;
    }
    const RegisterRow row = *reg->currentRow();
    const RegenerationOutcome outcome = Regeneration(app_).bbReGenerirajClick(row);
    if (outcome.stop) {
        printPendingIsins();
        return ChoicePending;
    }
    if (!outcome.generationEnabled)
        return Failed;
    return generate(outcome.selectionDay, outcome.selectionDay);
}

CliCommands::Status CliCommands::deleteSelection(const CliArguments& a)
{
    Selection(app_).BitBtn3Click(a.date(0), a.date(1));
    return Done;
}

void CliCommands::printPendingIsins()
{
    QSqlQuery q(app_.connection().database());
    q.exec(QStringLiteral("SELECT DISTINCT ISIN FROM DPATVP_SFVP WHERE SFVP_POROCANJE IS NULL ORDER BY ISIN"));
    while (q.next())
        out_ << q.value(0).toString() << '\n';
    out_.flush();
}
