#include "reporting/Selection.h"

#include "core/CancellableAction.h"
#include "core/Error.h"
#include "core/ErrorLog.h"
#include "core/Formats.h"
#include "core/Interaction.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/engine/Connection.h"
#include "data/engine/DeskLock.h"
#include "data/filter/TFilter.h"
#include "data/Identifiers.h"
#include "data/PendingSets.h"
#include "data/RegisteredDigests.h"
#include "data/Step.h"
#include "instruments/CodeList.h"
#include "reporting/ReportRows.h"
#include "reporting/SelectedRows.h"
#include "reporting/SelectionLists.h"
#include "reporting/SelectionStatements.h"
#include "state/ZtfiApp.h"

#include <iterator>

namespace {

QString stepMessage(const char* text)
{
    return QString::fromUtf8(text);
}

// A statement of the selection, set line by line.
// Runs a plain (not audited) statement without parameters.
void execute(Connection& connection, const QString& sql)
{
    TUniQuery statement(connection, QStringLiteral("qExec"));
    statement.setSql(sql);
    statement.execSQL();
}

}  // namespace

Selection::Selection(ZtfiApp& app) : app_(app)
{
}

Selection::~Selection() = default;

QString Selection::rangeKey(const QDate& firstDay, const QDate& lastDay)
{
    return Formats::dateText(firstDay) + QLatin1Char(';') + Formats::dateText(lastDay);
}

QString Selection::noRegularRowsMessage()
{
    return QStringLiteral("V naboru ni nobenih nestorniranih transakcij!") + QLatin1Char('\n')
        + QStringLiteral("Generiranje xml ni možno. XSD shema tega ne omogoča!");
}

QString Selection::reversedPeriodMessage(const QDate& firstDay, const QDate& lastDay)
{
    return QStringLiteral("Datum do ") + Formats::dateText(lastDay) + QStringLiteral(" je pred datumom od ")
        + Formats::dateText(firstDay) + QLatin1Char('!');
}

namespace {

void refuseReversedPeriod(const QDate& firstDay, const QDate& lastDay)
{
    if (lastDay < firstDay)
        throw ZtfiError(Selection::reversedPeriodMessage(firstDay, lastDay));
}

}  // namespace

namespace {

// The steps of "Nabor" as its progress names them.
const char* const kSelectionSteps[] = {
    "Nabor: brisanje nabora",        "Nabor: nove transakcije",       "Nabor: stornirane transakcije",
    "Nabor: popravljene transakcije", "Nabor: uvožene transakcije",   "Nabor: finančni instrumenti",
    "Nabor: transakcije poročila",    "Nabor: šifrant instrumentov",
};

}  // namespace

void Selection::progress(int step) const
{
    CancellableAction::progressPoint(app_.ui(), QString::fromUtf8(kSelectionSteps[step]), step,
                                     qint64(std::size(kSelectionSteps)));
}

SelectedRowProgress Selection::rowProgress(int step) const
{
    return [this, name = QString::fromUtf8(kSelectionSteps[step]) + QStringLiteral(", vrstice")](qint64 done,
                                                                                              qint64 known) {
        CancellableAction::progressPoint(app_.ui(), name, done, known);
    };
}

void Selection::log(const QString& message) const
{
    app_.errorLog().NapakavLog(message);
}

std::unique_ptr<TFilter> Selection::makeTable(const QString& name, const QString& table,
                                              const QString& indexFields)
{
    auto component = std::make_unique<TFilter>(app_.connection(), name);
    component->setTableName(table);
    component->setIndexFieldNames(indexFields);
    component->loaded();
    app_.auditTrail().attach(*component);
    return component;
}

TFilter& Selection::tDPATVPPSL()
{
    if (!tDPATVPPSL_)
        tDPATVPPSL_ = makeTable(QStringLiteral("tDPATVPPSL"), QStringLiteral("DPATVPPSL"),
                                QStringLiteral("DPATVPID;IDPSL"));
    return *tDPATVPPSL_;
}

TFilter& Selection::tDPATVP()
{
    if (!tDPATVP_)
        tDPATVP_ = makeTable(QStringLiteral("tDPATVP"), QStringLiteral("DPATVP"),
                             QStringLiteral("DPATVPID;ZAPST"));
    return *tDPATVP_;
}

void Selection::tracedStep(int number, const QString& failure, bool appendCause,
                           const std::function<void()>& body)
{
    progress(number);
    log(QStringLiteral("Pre %1 StartTransaction!").arg(number));
    try {
        runStep(app_.connection(), failure, body, appendCause ? StepCause::Appended : StepCause::OnNextLine);
    } catch (...) {
        log(QStringLiteral("po %1 Rollback!").arg(number));
        throw;
    }
    log(QStringLiteral("po %1 Commit!").arg(number));
}

SelectionOutcome Selection::bbNaborClick(const QDate& firstDay, const QDate& lastDay)
{
    refuseReversedPeriod(firstDay, lastDay);
    const DeskLock desk(app_.connection());
    app_.selection.rangeKey = rangeKey(firstDay, lastDay);

    log(QStringLiteral("Pre Delete!"));
    removePending(firstDay, lastDay);
    closeSelectionLists(app_);
    log(QStringLiteral("Po Delete!"));

    const qint64 reportId = Identifiers::nextReportId(app_.connection(), app_.dialect());
    app_.selection.FMaxDpAtvpId = reportId;
    const OverrideSyncResult overrides = selectInto(firstDay, lastDay, reportId);

    SelectionOutcome outcome;
    if (overrides.stopsSelection())
        outcome.stop = OverrideSync::stopSelection(app_.ui());
    else
        outcome.generationEnabled = openLists(firstDay, lastDay);

    app_.regeneration = RegenerationState();
    return outcome;
}

WrittenSelection Selection::writeSteps(const QDate& firstDay, const QDate& lastDay)
{
    refuseReversedPeriod(firstDay, lastDay);
    const DeskLock desk(app_.connection());
    removePending(firstDay, lastDay);
    WrittenSelection written;
    written.reportId = Identifiers::nextReportId(app_.connection(), app_.dialect());
    written.overrides = selectInto(firstDay, lastDay, written.reportId);
    return written;
}

OverrideSyncResult Selection::selectInto(const QDate& firstDay, const QDate& lastDay, qint64 reportId)
{
    insertNewTrades(firstDay, lastDay, reportId);
    insertCancellations(reportId);
    insertReplacements(firstDay, lastDay, reportId);
    assignImports(firstDay, lastDay, reportId);
    return synchroniseOverrides(firstDay, lastDay, reportId);
}

void Selection::insertNewTrades(const QDate& firstDay, const QDate& lastDay, qint64 reportId)
{
    tracedStep(1, stepMessage("Napaka pri insertu v DPATVPPSL (faza 1)!"), true, [&] {
        TUniQuery query(app_.connection(), QStringLiteral("qNabor"));
        query.setSql(SelectionStatements::newTrades(app_.config(), reportId));
        query.paramByName(QStringLiteral("Dan")).setAsDate(firstDay);
        query.paramByName(QStringLiteral("DanDo")).setAsDate(lastDay);
        log(QStringLiteral("Open 1: ") + query.sqlText());
        log(QStringLiteral("Params: ") + Formats::dateText(firstDay));
        log(QStringLiteral("Params: ") + Formats::dateText(lastDay));
        query.open();
        log(QStringLiteral("po Open 1! ") + QString::number(query.recordCount()));
        postSelectedRows(tDPATVPPSL(), query,
                         [this](const Field& id, const Field& trade, const Field& cancelled,
                                const Field& reference) {
                             log(QStringLiteral("INSERT DPATVPPSL: ID:") + id.asString());
                             log(QStringLiteral("INSERT DPATVPPSL: IdPsl:") + trade.asString());
                             log(QStringLiteral("INSERT DPATVPPSL: IsStn:") + cancelled.asString());
                             log(QStringLiteral("INSERT DPATVPPSL: IDREFATVP:") + reference.asString());
                         },
                         rowProgress(1));
    });
}

void Selection::insertCancellations(qint64 reportId)
{
    tracedStep(2, stepMessage("Napaka pri insertu v DPATVPPSL (faza 2)!"), false, [&] {
        TUniQuery query(app_.connection(), QStringLiteral("qNabor"));
        query.setSql(SelectionStatements::cancellations(app_.config(), reportId));
        query.open();
        postSelectedRows(tDPATVPPSL(), query, {}, rowProgress(2));
    });
}

void Selection::insertReplacements(const QDate& firstDay, const QDate& lastDay, qint64 reportId)
{
    tracedStep(3, stepMessage("Napaka pri insertu v DPATVPPSL (faza 3)!"), false, [&] {
        TUniQuery query(app_.connection(), QStringLiteral("qNabor"));
        query.setSql(SelectionStatements::replacements(app_.config(), reportId));
        query.paramByName(QStringLiteral("Dan")).setAsDate(firstDay);
        query.paramByName(QStringLiteral("DanDo")).setAsDate(lastDay);
        query.open();
        postSelectedRows(tDPATVPPSL(), query, {}, rowProgress(3));
    });
}

void Selection::assignImports(const QDate& firstDay, const QDate& lastDay, qint64 reportId)
{
    tracedStep(4, stepMessage("Napaka pri popravku DPATVPID v DPATVPIMP!"), false, [&] {
        TUniQuery imports(app_.connection(), QStringLiteral("qNabor"));
        imports.setSql(SelectionStatements::pendingImports());
        imports.paramByName(QStringLiteral("Datum")).setAsDate(firstDay);
        imports.paramByName(QStringLiteral("DatumDo")).setAsDate(lastDay);
        imports.open();
        TUniQuery update(app_.connection(), QStringLiteral("qUpdate"));
        update.setSql(SelectionStatements::assignImport());
        const Field& importId = imports.fieldByName(QStringLiteral("IDIMP"));
        for (imports.first(); !imports.eof(); imports.next()) {
            update.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId);
            update.paramByName(QStringLiteral("IDIMP")).setAsInteger(importId.asInteger());
            update.execSQL();
        }
    });
}

OverrideSyncResult Selection::synchroniseOverrides(const QDate& firstDay, const QDate& lastDay,
                                                   qint64 reportId)
{
    OverrideSyncResult result;
    progress(5);
    runStep(
        app_.connection(), OverrideSync::failureMessage(),
        [&] {
            log(QStringLiteral("Pre 5 StartTransaction!"));
            OverrideSync sync(app_.connection(), app_.dialect(), app_.params().auditUser);
            result = sync.synchronise({firstDay, lastDay, reportId});
        },
        StepCause::Appended);
    log(QStringLiteral("po 5 Commit!"));
    return result;
}

bool Selection::openLists(const QDate& firstDay, const QDate& lastDay)
{
    const qint64 reportId = app_.selection.FMaxDpAtvpId;
    ReportRows& rows = sharedReportRows(app_);
    app_.selection.hasRegularRows = false;
    progress(6);
    log(QStringLiteral("Pre 6 StartTransaction!"));
    rows.open(app_.savedStatements(), app_.dialect(), firstDay, lastDay, reportId);
    log(QStringLiteral("po 6 .Open!"));
    bool generationEnabled = !rows.query().isEmpty();
    if (generationEnabled && !app_.selection.hasRegularRows) {
        generationEnabled = false;
        app_.ui().inform(noRegularRowsMessage());
    }

    progress(7);
    log(QStringLiteral("Pre 7 StartTransaction!"));
    sharedCodeList(app_).open(app_.savedStatements(), firstDay, lastDay, reportId);
    log(QStringLiteral("po 7 .Open!"));
    return generationEnabled;
}

bool Selection::openReportLists(ZtfiApp& app, const QDate& firstDay, const QDate& lastDay,
                                qint64 reportId)
{
    ReportRows& rows = sharedReportRows(app);
    rows.open(app.savedStatements(), app.dialect(), firstDay, lastDay, reportId, reportId);
    bool generationEnabled = !rows.query().isEmpty();
    if (generationEnabled && !app.selection.hasRegularRows) {
        generationEnabled = false;
        app.ui().inform(noRegularRowsMessage());
    }
    sharedCodeList(app).open(app.savedStatements(), firstDay, lastDay, reportId, reportId);
    return generationEnabled;
}

void Selection::BitBtn3Click(const QDate& firstDay, const QDate& lastDay)
{
    refuseReversedPeriod(firstDay, lastDay);
    const DeskLock desk(app_.connection());
    removePending(firstDay, lastDay);
    closeSelectionLists(app_);
}

void Selection::removePending(const QDate& firstDay, const QDate& lastDay)
{
    progress(0);
    Connection& connection = app_.connection();

    runStep(connection, stepMessage("Napaka pri brisanju iz DPATVPPSL!"), [&] {
        TUniQuery pending(connection, QStringLiteral("qBrisi"));
        pending.setSql(PendingSets::narrowed(SelectionStatements::pendingRows(), PendingSets::ids(connection)));
        pending.open();
        const Field& reportId = pending.fieldByName(QStringLiteral("DPATVPID"));
        const Field& tradeId = pending.fieldByName(QStringLiteral("IDPSL"));
        for (pending.first(); !pending.eof(); pending.next())
            execute(connection, SelectionStatements::deletePendingRow(reportId.asInteger(), tradeId.asInteger()));
    });

    runStep(connection, stepMessage("Napaka pri popravku DPATVPID v DPATVPIMP!"), [&] {
        TUniQuery orphaned(connection, QStringLiteral("qBrisi"));
        orphaned.setSql(SelectionStatements::orphanedImports());
        orphaned.open();
        TUniQuery release(connection, QStringLiteral("qUpdate"));
        release.setSql(SelectionStatements::releaseImport());
        const Field& importId = orphaned.fieldByName(QStringLiteral("IDIMP"));
        for (orphaned.first(); !orphaned.eof(); orphaned.next()) {
            release.paramByName(QStringLiteral("IDIMP")).setAsInteger(importId.asInteger());
            release.execSQL();
        }
    });

    runStep(connection, stepMessage("Napaka pri brisanju iz DPATVP!"), [&] {
        TUniQuery unsent(connection, QStringLiteral("qBrisi"));
        unsent.setSql(SelectionStatements::unsentReports());
        unsent.paramByName(QStringLiteral("Datum")).setAsDate(firstDay);
        unsent.paramByName(QStringLiteral("DatumDo")).setAsDate(lastDay);
        unsent.open();
        TFilter& reports = tDPATVP();
        if (!reports.isActive())
            reports.open();
        TUniQuery sent(connection, QStringLiteral("qPoslano"));
        sent.setSql(SelectionStatements::sentReportOfSet());
        const Field& reportId = unsent.fieldByName(QStringLiteral("DPATVPID"));
        const Field& serial = unsent.fieldByName(QStringLiteral("ZAPST"));
        for (unsent.first(); !unsent.eof(); unsent.next()) {
            // An unsent regeneration shares its set with the sent report it replaces: the set's
            // rows are what that report was made of.
            sent.close();
            sent.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId.asInteger());
            sent.open();
            if (sent.isEmpty())
                execute(connection, SelectionStatements::deleteReportRows(reportId.asInteger()));
            if (reports.SQLSetRange({reportId.asInteger(), serial.asInteger()}))
                reports.deleteRecord();
            RegisteredDigests::remove(connection, reportId.asInteger(), serial.asInteger());
        }
    });
}

bool Selection::dtpDanExit(const QDate& firstDay, const QDate& lastDay)
{
    if (rangeKey(firstDay, lastDay) == app_.selection.rangeKey)
        return false;
    closeSelectionLists(app_);
    return true;
}
