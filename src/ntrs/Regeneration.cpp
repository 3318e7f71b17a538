#include "ntrs/Regeneration.h"

#include "core/ErrorLog.h"
#include "core/Interaction.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/engine/Connection.h"
#include "data/engine/DeskLock.h"
#include "data/filter/TFilter.h"
#include "data/Identifiers.h"
#include "data/Step.h"
#include "ntrs/RegenerationStatements.h"
#include "ntrs/Register.h"
#include "reporting/SelectedRows.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"

Regeneration::Regeneration(ZtfiApp& app) : app_(app)
{
}

Regeneration::~Regeneration() = default;

void Regeneration::log(const QString& message) const
{
    app_.errorLog().NapakavLog(message);
}

TFilter& Regeneration::table(std::unique_ptr<TFilter>& component, const char* name,
                             const char* table, const char* indexFields)
{
    if (!component) {
        component = std::make_unique<TFilter>(app_.connection(), QString::fromLatin1(name));
        component->setTableName(QString::fromLatin1(table));
        component->setIndexFieldNames(QString::fromLatin1(indexFields));
        component->loaded();
        app_.auditTrail().attach(*component);
    }
    return *component;
}

RegenerationOutcome Regeneration::bbReGenerirajClick(const RegisterRow& row)
{
    const DeskLock desk(app_.connection());
    const qint64 reportId = row.id;
    const QDate firstDay = row.periodStart();
    const QDate lastDay = row.reportDay;

    app_.selection.FMaxDpAtvpId = reportId;
    log(QStringLiteral("MaxDPAAtvpId:") + QString::number(reportId));
    prepareSerial(row);

    const Config& config = app_.config();
    gather(RegenerationStatements::newTrades(config, reportId),
           QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 1)!"), firstDay, lastDay);
    gather(RegenerationStatements::cancellations(config, reportId),
           QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 2)!"), firstDay, lastDay);
    gather(RegenerationStatements::replacements(config, reportId),
           QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 3)!"), firstDay, lastDay);
    assignImports(firstDay, lastDay, reportId);

    RegenerationOutcome outcome;
    const OverrideSyncResult overrides = synchroniseOverrides(firstDay, lastDay, reportId);
    if (overrides.stopsSelection()) {
        outcome.stop = OverrideSync::stopSelection(app_.ui());
        outcome.stop->returnButtonVisible = true;
    } else {
        outcome.generationEnabled = Selection::openReportLists(app_, firstDay, lastDay, reportId);
        outcome.listsOpened = true;
    }

    // The regenerated period is the period the lists of "Nabor" now belong to.
    outcome.selectionDay = row.reportDay;
    app_.selection.rangeKey = Selection::rangeKey(row.reportDay, row.reportDay);
    app_.regeneration.firstDay = firstDay;
    app_.regeneration.active = true;
    return outcome;
}

void Regeneration::prepareSerial(const RegisterRow& row)
{
    if (row.status <= 0)
        return;
    // The serial of the year in which the rejected report was sent: that report counts, so the
    // new serial is above its own.
    const QDate sentDay = row.sentAt.date();
    app_.regeneration.previousStatus = row.status;
    app_.regeneration.previousSerial =
        Identifiers::nextSerialNumber(app_.connection(), app_.dialect(), sentDay);
    app_.regeneration.previousDate = sentDay;
}

void Regeneration::gather(const QStringList& statement, const QString& failure,
                          const QDate& firstDay, const QDate& lastDay)
{
    runStep(
        app_.connection(), failure,
        [&] {
            TUniQuery query(app_.connection(), QStringLiteral("uDPATVPPSL"));
            query.setSql(statement);
            query.paramByName(QStringLiteral("Dan")).setAsDate(firstDay);
            query.paramByName(QStringLiteral("DanDo")).setAsDate(lastDay);
            log(QStringLiteral("uDPATVPPSL:") + query.sqlText());
            query.open();
            log(QStringLiteral("uDPATVPPSL.RecCount:") + QString::number(query.recordCount()));
            postSelectedRows(table(tDPATVPPSL_, "tDPATVPPSL", "DPATVPPSL", "DPATVPID;IDPSL"), query,
                             [this](const Field& id, const Field& trade, const Field& cancelled,
                                    const Field& reference) {
                                 log(QStringLiteral("uDPATVPPSL.DpAtvpId:") + id.asString());
                                 log(QStringLiteral("uDPATVPPSL.IdPsl:") + trade.asString());
                                 log(QStringLiteral("uDPATVPPSL.IsStn:") + cancelled.asString());
                                 log(QStringLiteral("uDPATVPPSL.IDREFATVP:") + reference.asString());
                             });
        },
        StepCause::WithKind);
}

void Regeneration::assignImports(const QDate& firstDay, const QDate& lastDay, qint64 reportId)
{
    runStep(app_.connection(), QStringLiteral("Napaka pri popravku DPATVPID v DPATVPIMP!"), [&] {
        TUniQuery imports(app_.connection(), QStringLiteral("qDPATVPIMP"));
        imports.setSql({QStringLiteral(" select IDIMP from dpatvpimp "),
                        QStringLiteral(" WHERE Datum >= :Datum AND Datum <= :DatumDo "),
                        QStringLiteral(" AND DpAtvpId is null ")});
        imports.paramByName(QStringLiteral("Datum")).setAsDate(firstDay);
        imports.paramByName(QStringLiteral("DatumDo")).setAsDate(lastDay);
        imports.open();
        if (imports.isEmpty())
            return;
        TFilter& component = table(tDPATVPIMP_, "tDPATVPIMP", "DPATVPIMP", "IDIMP");
        if (!component.isActive())
            component.open();
        const Field& importId = imports.fieldByName(QStringLiteral("IDIMP"));
        for (imports.first(); !imports.eof(); imports.next()) {
            if (!component.SQLSetRange({importId.asInteger()}))
                continue;
            component.edit();
            try {
                component.fieldByName(QStringLiteral("DPATVPID")).setValue(reportId);
                component.post();
            } catch (...) {
                component.cancel();
                throw;
            }
        }
    });
}

OverrideSyncResult Regeneration::synchroniseOverrides(const QDate& firstDay, const QDate& lastDay,
                                                      qint64 reportId)
{
    OverrideSyncResult result;
    runStep(
        app_.connection(), OverrideSync::failureMessage(),
        [&] {
            OverrideSync sync(app_.connection(), app_.dialect(), app_.params().auditUser);
            sync.setTrace([this](const QString& line) { log(line); });
            OverrideSyncInput input;
            input.firstDay = firstDay;
            input.lastDay = lastDay;
            input.reportId = reportId;
            input.regeneratedReport = reportId;
            result = sync.synchronise(input);
        },
        StepCause::Appended);
    return result;
}
