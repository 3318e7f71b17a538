#include "ntrs/ReportWriter.h"

#include "core/CancellableAction.h"
#include "core/Config.h"
#include "core/Error.h"
#include "core/ErrorLog.h"
#include "core/Interaction.h"
#include "core/ProgramFolder.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/dataset/TDMTable.h"
#include "data/engine/DeskLock.h"
#include "data/Identifiers.h"
#include "data/RegisteredDigests.h"
#include "data/Step.h"
#include "instruments/CodeList.h"
#include "core/AtomicFile.h"
#include "ntrs/InstrumentRowIndex.h"
#include "ntrs/NtrsDocument.h"
#include "ntrs/NtrsRecords.h"
#include "ntrs/NtrsSchema.h"
#include "ntrs/NtrsValues.h"
#include "ntrs/ReportFileName.h"
#include "ntrs/SchemaValidation.h"
#include "ntrs/StreamingValidation.h"
#include "reporting/ReportCodes.h"
#include "reporting/ReportRows.h"
#include "reporting/TimeZones.h"
#include "state/ZtfiApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <memory>
#include <optional>

namespace {

// Attached views are not told of every row the generation walks through.
class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset& data) : data_(data) { data_.disableControls(); }
    ~ControlsDisabled() { data_.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    Dataset& data_;
};

FieldDef registerField(const char* name, FieldType type, int size = 0)
{
    FieldDef def;
    def.name = QLatin1String(name);
    def.type = type;
    def.size = size;
    return def;
}

// Fills one record; without a guard the first error passes on, with one the record is settled
// only when the guard keeps it (else it leaves the list again).
template <class List, class Record, class Fill>
void writeRecord(NtrsDocument& document, List list, Record record, RecordGuard* guard, RecordGuard::Kind kind,
                 const Fill& fill)
{
    if (!guard) {
        fill(record);
        document.settle(record);
        return;
    }
    guard->begin(kind);
    std::optional<ZtfiError> failure;
    try {
        fill(record);
    } catch (const ZtfiError& error) {
        failure = error;
    }
    if (guard->keep(failure ? &*failure : nullptr))
        document.settle(record);
    else
        list.deleteAt(list.count() - 1);
}

// Each record is settled as soon as it is filled: the document is written out as it grows.
void writeInstruments(NtrsDocument& document, Dataset& codeList, const NtrsRecords& records, const ErrorLog& log,
                      RecordGuard* guard, Interaction* ui)
{
    TXMLSifrant list = document.root().Sifrant();
    if (codeList.isActive()) {
        QSet<QString> written;
        for (codeList.first(); !codeList.eof(); codeList.next()) {
            if (ui)
                CancellableAction::progressPoint(*ui, QStringLiteral("XML poročilo: šifrant instrumentov"),
                                                 codeList.recNo(), codeList.recordCount());
            const QString id = codeList.fieldByName(QStringLiteral("IntIdent")).asString();
            if (written.contains(id))
                continue;
            log.NapakavLog(QStringLiteral("qSifrantFinInstrISIN:")
                           + codeList.fieldByName(QStringLiteral("ISIN")).asString());
            writeRecord(document, list, list.add(), guard, RecordGuard::Kind::Instrument,
                        [&](TXMLSifrantRecordInfoCompleteDescriptionType record) {
                            records.fillInstrument(record, codeList);
                        });
            written.insert(id);
        }
    }
    document.complete(list);
}

void writeTransactions(NtrsDocument& document, TQueryDM& rows, Dataset& codeList, const NtrsRecords& records,
                       const ErrorLog& log, RecordGuard* guard, Interaction* ui)
{
    TXMLNTRSRoot root = document.root();
    InstrumentRowIndex instruments(codeList);
    const Field& reference = rows.fieldByName(QStringLiteral("RefStTransaC"));
    for (rows.first(); !rows.eof(); rows.next()) {
        if (ui)
            CancellableAction::progressPoint(*ui, QStringLiteral("XML poročilo: transakcije"), rows.recNo(),
                                             rows.recordCount());
        if (log.enabled())
            log.NapakavLog(QStringLiteral("qDPATVPPSL_RefStTransaC:") + reference.asString());
        if (records.skipsCurrentRow())
            continue;
        if (records.currentRowIsCancellation()) {
            TXMLCancelledTransactions list = root.CancelledTransactions();
            writeRecord(document, list, list.add(), guard, RecordGuard::Kind::ReportRow,
                        [&](TXMLCancellationRecordInfoType record) { records.fillCancellation(record); });
        } else {
            TXMLTransactionReporting list = root.TransactionReporting();
            writeRecord(document, list, list.add(), guard, RecordGuard::Kind::ReportRow,
                        [&](TXMLTransactionRecordInfoCompleteDescriptionType record) {
                            records.fillTransaction(record, instruments);
                        });
        }
    }
}

}  // namespace

ReportWriter::ReportWriter(Connection& connection, const Config& config, const ErrorLog& log,
                           const AuditTrail& audit, const QString& programFolder)
    : connection_(connection),
      config_(config),
      dialect_(dialectOf(config)),
      log_(log),
      audit_(audit),
      programFolder_(programFolder)
{
}

void ReportWriter::trace(const QString& message) const
{
    log_.NapakavLog(message);
}

QString ReportWriter::cancelledMessage()
{
    return QStringLiteral("Generiranje XML poročila je prekinjeno! Datoteka poročila ni zapisana.");
}

QString ReportWriter::unsentNamesakeMessage(const QString& fileName)
{
    return QStringLiteral("Poročilo ") + fileName
        + QStringLiteral(" je že v registru poročil in še ni poslano! Novo poročilo bi dobilo isto "
                         "zaporedno številko in ga prepisalo.\nGeneriranje XML ni možno, dokler "
                         "poročilo ni poslano ali izbrisano.");
}

QString ReportWriter::sentNamesakeMessage(const QString& fileName)
{
    return QStringLiteral("Poročilo ") + fileName
        + QStringLiteral(" je že poslano (v registru poročil ali na strežniku)! Novo poročilo bi "
                         "dobilo isto ime in ga prepisalo.\nGeneriranje XML ni možno.");
}

bool ReportWriter::deliveredUnder(const QString& fileName) const
{
    // A server folder that is the program folder holds the reports still to be signed: those
    // with a name the register holds are refused by the register.
    const auto delivered = [this](const QString& folder, const QString& name) {
        if (folder.isEmpty())
            return false;
        const QString path = ProgramFolder::join(folder, name);
        const QFileInfo file(path);
        return file.exists() && file.absoluteDir() != QDir(programFolder_);
    };
    return delivered(config_.XMLPath_Server, fileName)
        || delivered(config_.SIGPath_Server, QFileInfo(fileName).completeBaseName() + QStringLiteral(".sig"));
}

void ReportWriter::refuseTakenName(const QString& fileName) const
{
    TDMQuery query(connection_, QStringLiteral("qIstoImePorocila"));
    query.setSql(QStringLiteral("SELECT DAN FROM DPATVP WHERE XML_FILE=:XML_FILE"));
    query.paramByName(QStringLiteral("XML_FILE")).setAsString(fileName);
    query.open();
    bool sent = false;
    for (query.first(); !query.eof(); query.next()) {
        if (query.fieldByName(QStringLiteral("DAN")).isNull())
            throw ZtfiError(unsentNamesakeMessage(fileName));
        sent = true;
    }
    if (sent || deliveredUnder(fileName))
        throw ZtfiError(sentNamesakeMessage(fileName));
}

QString ReportWriter::creationTimeOffset(const QDateTime& now) const
{
    TDMQuery query(connection_, QStringLiteral("qTimeZone"));
    query.setSql(QStringLiteral("SELECT TIMEZONE FROM TRG where sftrg=:SfTrg"));
    query.paramByName(QStringLiteral("SfTrg")).setAsString(config_.Sf_Trga_Porocevalca);
    query.open();
    const QString zone = query.isEmpty() ? QString() : query.fieldByName(QStringLiteral("TIMEZONE")).asString().trimmed();
    if (!zone.isEmpty())
        return GetTimeZoneInfo(config_.fixedZoneMarkets, zone, config_.Sf_Trga_Porocevalca, now);
    return GetTimeZoneInfo(config_.fixedZoneMarkets, QStringLiteral("+01"), QStringLiteral("8"), now);
}

void ReportWriter::registerReport(qint64 reportId, const ReportRequest& request, int serial, int status,
                                  const QString& fileName, const QString& digest) const
{
    runStep(connection_, QStringLiteral("Napaka pri insertu v DPATVP!"), [&] {
        TDMTable table(connection_, QStringLiteral("tDPATVP"));
        table.setTableName(QStringLiteral("DPATVP"));
        table.addField(registerField("DPATVPID", FieldType::Integer));
        table.addField(registerField("DANPOROCANJA", FieldType::DateTime));
        table.addField(registerField("DAN", FieldType::DateTime));
        table.addField(registerField("ZAPST", FieldType::Integer));
        table.addField(registerField("XML_FILE", FieldType::String, 30));
        table.addField(registerField("STATUS", FieldType::Integer));
        table.addField(registerField("DANOD", FieldType::DateTime));
        audit_.attach(table);
        // Only the rows of the report's set are read.
        table.setFilter(QStringLiteral("DPATVPID = ") + QString::number(reportId));
        table.setFiltered(true);
        table.open();
        table.insert();
        table.fieldByName(QStringLiteral("DPATVPID")).setValue(reportId);
        table.fieldByName(QStringLiteral("DANPOROCANJA")).setValue(QDateTime(request.lastDay, QTime(0, 0)));
        table.fieldByName(QStringLiteral("DAN")).clear();
        table.fieldByName(QStringLiteral("ZAPST")).setValue(serial);
        table.fieldByName(QStringLiteral("STATUS")).setValue(status);
        table.fieldByName(QStringLiteral("XML_FILE")).setValue(fileName);
        table.fieldByName(QStringLiteral("DANOD")).setValue(QDateTime(request.firstDay, QTime(0, 0)));
        table.post();
        RegisteredDigests::record(connection_, reportId, serial, digest);
    });
}

void ReportWriter::writeContent(NtrsDocument& document, ReportRows& rows, CodeList& codeList, const QDateTime& now,
                                RecordGuard* guard) const
{
    TQueryDM& reportRows = rows.query();
    reportRows.first();
    const QString registration = reportRows.fieldByName(QStringLiteral("MTS_BPHCalc")).asString();
    trace(QStringLiteral("pre xmlZTFI.GetDocBinding(!"));
    TXMLNTRSRoot root = document.root();
    root.setAttribute("xmlns:xsi", QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
    root.setAttribute("xsi:noNamespaceSchemaLocation", NtrsSchema::fileName());
    root.setMaticnaStevilkaZavezanca(firmIdentifier(registration));
    root.setCreationDate(reportDate(now.date()));
    root.setCreationTime(reportTime(now.time()));
    root.setCreationTimeOffset(creationTimeOffset(now));
    trace(QStringLiteral("nafilal ZTFI_Root!"));
    root.setVersion(QStringLiteral("2.0"));
    trace(QStringLiteral("nafilal ZTFI_Root 2.0!"));

    const NtrsRecords records(rows, config_.VP_OXU_Prefiks);
    writeInstruments(document, codeList.query(), records, log_, guard, progress_);
    writeTransactions(document, reportRows, codeList.query(), records, log_, guard, progress_);
}

ReportOutcome ReportWriter::bbGenXMLClick(ReportRows& rows, CodeList& codeList, RegenerationState& regeneration,
                                          const ReportRequest& request)
{
    const DeskLock desk(connection_);
    trace(QStringLiteral("Generiranje xml-ja!"));
    TQueryDM& reportRows = rows.query();
    if (!reportRows.isActive() || reportRows.isEmpty())
        throw ZtfiError(QStringLiteral("Nabor je prazen! Generiranje XML ni možno!"));
    if (!rows.setsUnchanged())
        throw ZtfiError(ReportRows::changedSetMessage());
    ControlsDisabled quietRows(reportRows);
    ControlsDisabled quietCodeList(codeList.query());

    const int maxZapSt = Identifiers::nextSerialNumber(connection_, dialect_, request.now.date());
    ReportOutcome outcome;
    outcome.serial = regeneration.active ? regeneration.previousSerial : maxZapSt;
    outcome.status = regeneration.active ? regeneration.previousStatus + 1 : 0;
    const QDate yearDay = regeneration.active ? regeneration.previousDate : request.now.date();

    reportRows.first();
    const QString registration = reportRows.fieldByName(QStringLiteral("MTS_BPHCalc")).asString();
    outcome.fileName = reportFileName(registration, outcome.serial, yearDay);
    refuseTakenName(outcome.fileName);

    // What a generation that was killed left of its report is of no use.
    AtomicFile::removeAbandoned(programFolder_, reportFileNamePattern());

    // The report is written into its temporary file as it is built: until it is put in place the
    // user may cancel, and the file goes with the unwinding.
    const QString filePath = QDir(programFolder_).filePath(outcome.fileName);
    AtomicFile file(filePath);
    std::optional<CancellableAction> cancellable;
    if (progress_)
        cancellable.emplace(*progress_, cancelledMessage());
    // The bytes written into the file are validated, and their digest taken, on a second thread
    // as they are written: the bytes the validation passes are the bytes put in place (the file
    // is complete only when its close succeeds), and the bytes the register's digest names.
    StreamingValidation validation(programFolder_, [this] { NtrsSchema::ensureInFolder(programFolder_); });
    trace(QStringLiteral("pre TXMLDocument.Create!"));
    auto document = std::make_unique<NtrsDocument>(
        file, [&validation](const char* data, qsizetype size) { validation.write(data, size); });
    writeContent(*document, rows, codeList, request.now);

    trace(QStringLiteral("pre XML FileName"));
    outcome.filePath = filePath;
    trace(QStringLiteral("XML FileName:") + outcome.filePath);
    document->finish();
    document.reset();
    file.close();

    if (progress_)
        CancellableAction::progressPoint(*progress_, QStringLiteral("XML poročilo: preverjanje po XSD shemi"), 0, 0);
    const StreamingValidation::Result checked = validation.finish();
    const std::optional<ValidationFault>& fault = checked.fault;
    const QString& digest = checked.digest;
    if (progress_)
        CancellableAction::checkpoint(*progress_);
    // From here on the report is put in place and registered: no more cancelling.
    cancellable.reset();
    if (fault) {
        // The report lies under ".bad"; no report of its name stays for sending.
        outcome.badFilePath = badReportFileName(outcome.filePath);
        outcome.errorLine = fault->line();
        file.putInPlace(outcome.badFilePath);
        QFile::remove(outcome.filePath);
    } else {
        file.putInPlace();
        // The register row names the report set of the rows (the current row after the walk). A
        // regenerated report covers the period of the report it replaces, whatever "Datum od" shows.
        ReportRequest period = request;
        if (regeneration.active && regeneration.firstDay.isValid())
            period.firstDay = regeneration.firstDay;
        registerReport(reportRows.fieldByName(QStringLiteral("DPATVPID")).asInteger(), period, outcome.serial,
                       outcome.status, outcome.fileName, digest);
        outcome.valid = true;
    }

    regeneration = RegenerationState();
    trace(QStringLiteral("Generiranje xml-ja končano!"));
    return outcome;
}
