#include "emir/EmirRegistry.h"

#include "core/Interaction.h"
#include "data/dataset/Field.h"
#include "emir/EmirFieldValues.h"
#include "emir/EmirNumbers.h"
#include "emir/EmirStatements.h"
#include "emir/EmirTransaction.h"

#include <QDateTime>

namespace {

const QString kCancelled = QStringLiteral("D");
const QString kOpen = QStringLiteral("N");

FieldDef fieldDef(const char* name, FieldType type, const QString& label, bool visible = true)
{
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.type = type;
    def.displayLabel = label;
    def.visible = visible;
    if (type == FieldType::Date)
        def.displayFormat = QStringLiteral("dd.mm.yyyy");
    else if (type == FieldType::DateTime)
        def.displayFormat = QStringLiteral("dd.mm.yyyy hh:nn:ss");
    return def;
}

FieldDef textDef(const char* name, int size, const QString& label, int width, bool visible = true)
{
    FieldDef def = fieldDef(name, FieldType::String, label, visible);
    def.size = size;
    def.displayWidth = width;
    return def;
}

}  // namespace

EmirActions EmirActions::forSelection(bool hasReport, bool reportCancelled, bool hasDispute)
{
    EmirActions open;
    const bool openReport = hasReport && !reportCancelled;
    open.editRpt = openReport;
    open.deleteRpt = openReport;
    open.cancel = openReport;
    open.emirXml = hasReport;
    open.importXls = openReport;
    open.addPsl = openReport;
    open.editPsl = openReport && hasDispute;
    open.deletePsl = openReport && hasDispute;
    return open;
}

EmirRegistry::EmirRegistry(Connection& connection, SqlDialect dialect)
    : connection_(connection),
      dialect_(dialect),
      reports_(connection, QStringLiteral("qEMIRRpt")),
      disputes_(connection, QStringLiteral("qEMIRPsl"))
{
    declareFields();
    reports_.onCalcFields = [](Dataset& rows) {
        rows.fieldByName(QStringLiteral("PreklicanoLKP"))
            .setValue(rows.fieldByName(QStringLiteral("Preklicano")).asString() == kCancelled ? QStringLiteral("Da")
                                                                                              : QStringLiteral("Ne"));
    };
    disputes_.onCalcFields = [](Dataset& rows) {
        rows.fieldByName(QStringLiteral("Porocilo"))
            .setValue(rows.fieldByName(QStringLiteral("EMIRPorociloId")).asInteger() != 0);
    };
}

void EmirRegistry::declareFields()
{
    reports_.addField(fieldDef("EMIRPorociloId", FieldType::Integer, QString(), false));
    reports_.addField(fieldDef("ZapSt", FieldType::Integer, QStringLiteral("Zap.št.")));
    reports_.addField(fieldDef("DanOd", FieldType::Date, QStringLiteral("Dan od")));
    reports_.addField(fieldDef("DanDo", FieldType::Date, QStringLiteral("Dan do")));
    reports_.addField(fieldDef("StNepotrjenih", FieldType::Integer, QStringLiteral("Št.nepotrjenih trans.")));
    reports_.addField(fieldDef("DanPorocila", FieldType::Date, QStringLiteral("Datum poročila")));
    reports_.addField(fieldDef("DanCasKreiranja", FieldType::DateTime, QStringLiteral("Dat.in čas priprave")));
    reports_.addField(textDef("Preklicano", 1, QStringLiteral("Preklicano"), 10, false));
    FieldDef shown = textDef("PreklicanoLKP", 2, QStringLiteral("Preklicano"), 10);
    shown.kind = FieldDef::Kind::Calculated;
    reports_.addField(shown);
    reports_.addField(fieldDef("DanCasPreklica", FieldType::DateTime, QStringLiteral("Dat.in čas preklica")));
    reports_.addField(fieldDef("EMIRPorociloStnId", FieldType::Integer, QString(), false));
    reports_.addField(fieldDef("ZapStPreklicano", FieldType::Integer, QStringLiteral("Zap.št.preklic.poročila")));
    reports_.loaded();

    disputes_.addField(fieldDef("EMIRPoselId", FieldType::Integer, QString(), false));
    disputes_.addField(textDef("Stranka", 250, QStringLiteral("Stranka"), 30));
    disputes_.addField(textDef("NasStranka", 250, QStringLiteral("Nasprotna stranka"), 30));
    disputes_.addField(fieldDef("DatZacetka", FieldType::Date, QStringLiteral("Dat.začetka")));
    disputes_.addField(fieldDef("DatZakljucka", FieldType::Date, QStringLiteral("Dat.zaključka")));
    FieldDef amount = fieldDef("Vrednost", FieldType::Float, QStringLiteral("Vrednost"));
    amount.displayFormat = QStringLiteral(",0.00");
    disputes_.addField(amount);
    disputes_.addField(textDef("Opombe", 250, QStringLiteral("Opombe"), 40));
    disputes_.addField(fieldDef("EMIRPorociloId", FieldType::Integer, QStringLiteral("ID poročila"), false));
    FieldDef inReport = fieldDef("Porocilo", FieldType::Boolean, QString(), false);
    inReport.kind = FieldDef::Kind::Calculated;
    disputes_.addField(inReport);
    disputes_.loaded();
}

void EmirRegistry::setPeriod(const QDate& from, const QDate& to)
{
    if (from == from_ && to == to_)
        return;
    from_ = from;
    to_ = to;
    disputes_.close();
    reports_.close();
    disputesOf_ = 0;
}

void EmirRegistry::reloadReports(std::optional<qint64> select)
{
    if (!select) {
        if (const std::optional<EmirReportRow> current = currentReport())
            select = current->id;
    }
    const bool hasFrom = from_.isValid();
    const bool hasTo = to_.isValid();
    reports_.close();
    reports_.setSql(EmirStatements::reportList(hasFrom, hasTo));
    if (hasFrom)
        reports_.paramByName(QStringLiteral("DanOd")).setAsDate(from_);
    if (hasTo)
        reports_.paramByName(QStringLiteral("DanDo")).setAsDate(to_);
    reports_.open();
    if (select)
        reports_.locate(QStringLiteral("EMIRPorociloId"), {*select});
    reloadDisputes();
}

void EmirRegistry::reloadDisputes(std::optional<qint64> select)
{
    if (!select) {
        if (const std::optional<qint64> current = currentDispute())
            select = *current;
    }
    const std::optional<EmirReportRow> report = currentReport();
    disputesOf_ = report ? report->id : 0;
    disputes_.close();
    disputes_.setSql(EmirStatements::disputeList());
    disputes_.paramByName(QStringLiteral("EMIRPorociloId")).setAsInteger(disputesOf_);
    disputes_.open();
    if (select)
        disputes_.locate(QStringLiteral("EMIRPoselId"), {*select});
}

void EmirRegistry::followCurrentReport()
{
    const std::optional<EmirReportRow> report = currentReport();
    if (report && report->id != disputesOf_)
        reloadDisputes();
}

std::optional<EmirReportRow> EmirRegistry::currentReport() const
{
    if (!reports_.isActive() || reports_.isEmpty() || reports_.recNo() < 0)
        return std::nullopt;
    const auto field = [this](const char* name) -> Field& { return reports_.fieldByName(QLatin1String(name)); };
    EmirReportRow row;
    row.id = field("EMIRPorociloId").asInteger();
    row.serial = int(field("ZapSt").asInteger());
    row.firstDay = dateOrNull(field("DanOd"));
    row.lastDay = dateOrNull(field("DanDo"));
    row.unconfirmed = int(field("StNepotrjenih").asInteger());
    row.reportDay = dateOrNull(field("DanPorocila"));
    row.preparedAt = dateTimeOrNull(field("DanCasKreiranja"));
    row.cancelled = field("Preklicano").asString() == kCancelled;
    row.cancelledAt = dateTimeOrNull(field("DanCasPreklica"));
    row.cancelsId = field("EMIRPorociloStnId").asInteger();
    row.cancelsSerial = int(field("ZapStPreklicano").asInteger());
    return row;
}

std::optional<qint64> EmirRegistry::reportOfDispute(Connection& connection, qint64 disputeId)
{
    TUniQuery query(connection, QStringLiteral("qEMIRPslDlg"));
    query.setSql(EmirStatements::selectDispute());
    query.paramByName(QStringLiteral("Id")).setAsInteger(disputeId);
    query.open();
    if (query.isEmpty())
        return std::nullopt;
    return query.fieldByName(QStringLiteral("EMIRPorociloId")).asInteger();
}

std::optional<qint64> EmirRegistry::currentDispute() const
{
    if (!disputes_.isActive() || disputes_.isEmpty() || disputes_.recNo() < 0)
        return std::nullopt;
    return disputes_.fieldByName(QStringLiteral("EMIRPoselId")).asInteger();
}

EmirActions EmirRegistry::actions() const
{
    const std::optional<EmirReportRow> report = currentReport();
    return EmirActions::forSelection(report.has_value(), report && report->cancelled, currentDispute().has_value());
}

bool EmirRegistry::deleteReport(Interaction& ui)
{
    const std::optional<EmirReportRow> report = currentReport();
    if (!report)
        return false;
    if (report->cancelled) {
        ui.inform(QStringLiteral("Brisanje preklicanega poročila ni dovoljeno."));
        return false;
    }
    const QString question = report->preparedAt.isValid()
        ? QStringLiteral("POZOR. Za poročilo je že generirana XML datoteka. Želite vseeno ") + QStringLiteral("brisati izbrano poročilo ?")
        : QStringLiteral("Želite ") + QStringLiteral("brisati izbrano poročilo ?");
    if (!ui.confirmYesNo(question))
        return false;
    runInTransaction(connection_, [&] {
        TUniQuery statement(connection_, QStringLiteral("uEMIRPorocilo"));
        if (report->cancelsId != 0) {
            statement.setSql(EmirStatements::setCancelled());
            statement.paramByName(QStringLiteral("Preklicano")).setAsString(kOpen);
            statement.paramByName(QStringLiteral("Id")).setAsInteger(report->cancelsId);
            statement.execSQL();
        }
        for (const QString& sql : {EmirStatements::deleteReportDisputes(), EmirStatements::deleteReport()}) {
            statement.setSql(sql);
            statement.paramByName(QStringLiteral("Id")).setAsInteger(report->id);
            statement.execSQL();
        }
    });
    reloadReports();
    return true;
}

std::optional<qint64> EmirRegistry::cancelReport(Interaction& ui)
{
    const std::optional<EmirReportRow> report = currentReport();
    if (!report)
        return std::nullopt;
    if (!ui.confirmYesNo(QStringLiteral(
            "Preklic poročila prekliče trenutno poročilo in generira novo poročilo za preklic. Želite nadaljevati ?")))
        return std::nullopt;
    qint64 newId = 0;
    runInTransaction(connection_, [&] {
        TUniQuery statement(connection_, QStringLiteral("uEMIRPorocilo"));
        statement.setSql(EmirStatements::cancelReport());
        statement.paramByName(QStringLiteral("Preklicano")).setAsString(kCancelled);
        statement.paramByName(QStringLiteral("DanCas")).setAsDateTime(QDateTime::currentDateTime());
        statement.paramByName(QStringLiteral("Id")).setAsInteger(report->id);
        statement.execSQL();

        newId = EmirNumbers::nextReportId(connection_, dialect_);
        statement.setSql(EmirStatements::insertCancellingReport());
        statement.paramByName(QStringLiteral("EMIRPorociloId")).setAsInteger(newId);
        statement.paramByName(QStringLiteral("ZapSt")).setAsInteger(EmirNumbers::nextSerial(connection_));
        statement.paramByName(QStringLiteral("DanOd")).setAsDate(report->firstDay);
        statement.paramByName(QStringLiteral("DanDo")).setAsDate(report->lastDay);
        statement.paramByName(QStringLiteral("StNepotrjenih")).setAsInteger(0);
        statement.paramByName(QStringLiteral("DanPorocila")).setAsDate(report->reportDay);
        statement.paramByName(QStringLiteral("Preklicano")).setAsString(kOpen);
        statement.paramByName(QStringLiteral("EMIRPorociloStnId")).setAsInteger(report->id);
        statement.execSQL();
    });
    reloadReports(newId);
    return newId;
}

bool EmirRegistry::deleteDispute(Interaction& ui)
{
    const std::optional<qint64> dispute = currentDispute();
    if (!dispute)
        return false;
    if (!ui.confirmYesNo(QStringLiteral("Želite brisati izbran spor ?")))
        return false;
    runInTransaction(connection_, [&] {
        TUniQuery statement(connection_, QStringLiteral("delEMIRPosel"));
        statement.setSql(EmirStatements::deleteDispute());
        statement.paramByName(QStringLiteral("Id")).setAsInteger(*dispute);
        statement.execSQL();
    });
    reloadReports();
    return true;
}
