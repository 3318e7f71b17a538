#include "ntrs/check/PeriodCheck.h"

#include "core/AtomicFile.h"
#include "core/CancellableAction.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "data/engine/TrialTransaction.h"
#include "instruments/CodeList.h"
#include "instruments/PendingChoices.h"
#include "ntrs/NtrsDocument.h"
#include "ntrs/NtrsRecords.h"
#include "ntrs/NtrsSchema.h"
#include "ntrs/ReportWriter.h"
#include "ntrs/SchemaValidation.h"
#include "ntrs/check/IsoCodes.h"
#include "ntrs/check/ValueWarnings.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

namespace {

// Takes the records whose values all passed: the errors of the others are listed, and a
// record the document does not take raises no schema faults of its own.
class FindingGuard : public RecordGuard {
public:
    FindingGuard(ReportRows& rows, QList<CheckFinding>& errors) : rows_(rows), errors_(errors)
    {
        rows_.collectFormatFaults([this](const FormatFault& fault) {
            add(fault.field, fault.value, QStringLiteral("ni formata ") + fault.format);
        });
    }
    ~FindingGuard() override { rows_.collectFormatFaults({}); }
    FindingGuard(const FindingGuard&) = delete;
    FindingGuard& operator=(const FindingGuard&) = delete;

    void begin(Kind kind) override
    {
        kind_ = kind;
        before_ = errors_.size();
    }

    bool keep(const ZtfiError* error) override
    {
        if (error)
            add(QString(), QString(), error->message());
        return errors_.size() == before_;
    }

private:
    void add(const QString& field, const QString& value, const QString& rule)
    {
        // An instrument of the code list is no report row: its value names it.
        const QString reference = kind_ == Kind::ReportRow ? rows_.currentReference() : QString();
        errors_.append({CheckFinding::Level::Error, reference, field, value, rule});
    }

    ReportRows& rows_;
    QList<CheckFinding>& errors_;
    Kind kind_ = Kind::ReportRow;
    qsizetype before_ = 0;
};

// The schema the generation validates against: the program folder's, else the one the program
// carries (written into the check's own folder).
QString schemaFor(const QString& programFolder, const QString& ownFolder)
{
    const QString path = QDir(programFolder).filePath(NtrsSchema::fileName());
    return QFile::exists(path) ? path : NtrsSchema::ensureInFolder(ownFolder);
}

}  // namespace

bool PeriodCheckResult::hasErrors() const
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const CheckFinding& f) { return f.level == CheckFinding::Level::Error; });
}

PeriodCheck::PeriodCheck(ZtfiApp& app, const QString& isoCodesFolder)
    : app_(app), isoCodesFolder_(isoCodesFolder)
{
}

QString PeriodCheck::cancelledMessage()
{
    return QStringLiteral("Preverjanje nabora je prekinjeno! V bazi ni nič spremenjeno.");
}

QString PeriodCheck::missingCodesNotice(const QString& folder)
{
    return QStringLiteral("Šifranta držav in valut (iso-codes) ni v %1: opozorila o državah BIC in valutah "
                          "so izklopljena.")
        .arg(folder);
}

PeriodCheckResult PeriodCheck::run(const QDate& firstDay, const QDate& lastDay)
{
    PeriodCheckResult result;
    const std::optional<IsoCodes> codes = IsoCodes::load(isoCodesFolder_);
    if (!codes)
        result.notices << missingCodesNotice(isoCodesFolder_);

    // Everything the check does goes with the trial transaction or its own folder: it can stop
    // anywhere.
    const CancellableAction cancellable(app_.ui(), cancelledMessage());
    Connection& connection = app_.connection();
    const TrialTransaction trial(connection);
    const WrittenSelection written = Selection(app_).writeSteps(firstDay, lastDay);
    if (written.overrides.stopsSelection()) {
        result.pendingIsins = isinsAwaitingChoice(connection);
        return result;
    }

    SelectionContext context;
    ReportRows rows(connection, app_.config(), context);
    CodeList codeList(connection);
    rows.open(app_.savedStatements(), app_.dialect(), firstDay, lastDay, written.reportId);
    codeList.open(app_.savedStatements(), firstDay, lastDay, written.reportId);
    if (rows.query().isEmpty())
        return result;
    QList<CheckFinding> errors;
    if (!context.hasRegularRows)
        errors.append({CheckFinding::Level::Error, QString(), QString(), QString(), Selection::noRegularRowsMessage()});

    // The report as the generation would write it, into a folder of the check's own.
    QTemporaryDir folder;
    if (!folder.isValid())
        throw ZtfiError(QStringLiteral("Začasne mape za preverjanje ni mogoče narediti: ") + folder.errorString());
    AtomicFile file(folder.filePath(QStringLiteral("check.xml")));
    {
        NtrsDocument document(file);
        FindingGuard guard(rows, errors);
        ReportWriter writer(connection, app_.config(), app_.errorLog(), app_.auditTrail(), app_.programFolder());
        writer.reportProgressTo(app_.ui());
        writer.writeContent(document, rows, codeList, QDateTime::currentDateTime(), &guard);
        document.finish();
    }
    file.close();
    CancellableAction::progressPoint(app_.ui(), QStringLiteral("Preverjanje: XSD shema"), 0, 0);
    for (const RecordFault& fault : recordFaults(file.temporaryPath(), schemaFor(app_.programFolder(), folder.path())))
        errors.append({CheckFinding::Level::Error, fault.reference, fault.element, fault.value, fault.reason});

    // The warnings are about the rows the report carries, and about values without an error.
    QSet<QString> faulty;
    for (const CheckFinding& error : errors)
        faulty.insert(error.reference + QLatin1Char('\t') + error.field);
    QList<CheckFinding> warnings;
    const NtrsRecords records(rows, app_.config().VP_OXU_Prefiks);
    TQueryDM& reportRows = rows.query();
    for (reportRows.first(); !reportRows.eof(); reportRows.next()) {
        if (records.skipsCurrentRow())
            continue;
        for (const CheckFinding& warning : valueWarnings(reportRows, rows.currentReference(), codes ? &*codes : nullptr)) {
            if (!faulty.contains(warning.reference + QLatin1Char('\t') + warning.field))
                warnings.append(warning);
        }
    }

    result.findings = errors + warnings;
    return result;
}
