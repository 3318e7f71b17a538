#include "ntrs/Register.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/Field.h"
#include "data/engine/Connection.h"
#include "data/engine/OleDate.h"
#include "data/RegisteredDigests.h"
#include "data/Step.h"
#include "instruments/VersionStamps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kConfirmed = 1;
constexpr int kRejected = 2;
constexpr int kRegenerated = 3;

const QString kUpdateFailed = QStringLiteral("Napaka pri popravku v DPATVP!");

FieldDef fieldDef(const char* name, FieldType type, const QString& label = QString(),
                  int width = 0)
{
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.type = type;
    def.displayLabel = label;
    def.displayWidth = width;
    return def;
}

QString overridesOfReportSql()
{
    return QStringLiteral(" SELECT DISTINCT upper(ISIN) as ISIN, SFVP_POROCANJE, DANSPR, SFVP_OXU FROM DPATVP_SFVP DP ")
        + QStringLiteral(" WHERE upper(ISIN) IN (select DISTINCT upper(ISIN) FROM DPATVPIMP ")
        + QStringLiteral(" WHERE DPATVPID=:DPATVPID ")
        + QStringLiteral(" UNION ")
        + QStringLiteral(" SELECT DISTINCT upper(S.ISIN) as ISIN FROM PSL P, SFVP S, POG PG ")
        + QStringLiteral(" WHERE IDPSL IN (select IDPSL FROM DPATVPPSL WHERE DPATVPID=:DPATVPID) ")
        + QStringLiteral(" AND P.IDPOG=PG.IDPOG ")
        + QStringLiteral(" AND (((P.SFTYPE='P') AND ((PG.REMOTECLAN IS NOT NULL) OR (PG.REMOTECLAN<>''))) OR ((P.SFTYPE<>'P') OR (P.SFTYPE is NULL)))")
        + QStringLiteral(" AND P.SFVP=S.SFVP) AND DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=DP.ISIN) ");
}

QString clearOverrideFlagSql()
{
    return QStringLiteral(" UPDATE DPATVP_SFVP SET XML=null, DanSpr = :DanSpr, UsrSpr = :UsrSpr ")
        + QStringLiteral(" WHERE ISIN = :ISIN AND SFVP_POROCANJE = :SFVP_POROCANJE AND SFVP_OXU=:SFVP_OXU ");
}

// An integer parameter that is NULL when the column was.
void setInteger(SqlParam& param, const Field& field)
{
    param.setAsInteger(field.asInteger());
    if (field.isNull())
        param.setNull();
}

}  // namespace

bool RegisterRow::isSent() const
{
    return sentAt.isValid() && sentAt > QDateTime(OleDate::epoch(), QTime(0, 0));
}

QDate RegisterRow::periodStart() const
{
    return firstDay.isValid() ? firstDay : reportDay;
}

ReportRegister::ReportRegister(Connection& connection, SqlDialect dialect, const AuditTrail& audit,
                               const QString& auditUser, const QString& programFolder)
    : connection_(connection),
      dialect_(dialect),
      auditUser_(auditUser),
      programFolder_(programFolder),
      query_(connection, QStringLiteral("qDPATVP")),
      table_(connection, QStringLiteral("tDPATVP"))
{
    declareFields();
    query_.onCalcFields = [](Dataset& rows) {
        rows.fieldByName(QStringLiteral("StatusLKP"))
            .setValue(statusText(rows.fieldByName(QStringLiteral("Status")).value()));
    };
    table_.setTableName(QStringLiteral("DPATVP"));
    table_.loaded();
    audit.attach(table_);
}

void ReportRegister::declareFields()
{
    query_.addField(fieldDef("DPATVPID", FieldType::Integer, QStringLiteral("ID za DPATVP")));
    query_.addField(fieldDef("DANPOROCANJA", FieldType::DateTime, QStringLiteral("Dan kreiranja poročila")));
    query_.addField(fieldDef("DAN", FieldType::DateTime, QStringLiteral("Datum pošiljanja")));
    query_.addField(fieldDef("ZAPST", FieldType::Integer, QStringLiteral("Zaporedna številka")));
    FieldDef file = fieldDef("XML_File", FieldType::String, QStringLiteral("XML"), 50);
    file.size = 30;
    query_.addField(file);
    query_.addField(fieldDef("Status", FieldType::Integer));
    FieldDef status = fieldDef("StatusLKP", FieldType::String);
    status.size = 20;
    status.kind = FieldDef::Kind::Calculated;
    query_.addField(status);
    query_.addField(fieldDef("DanOd", FieldType::DateTime));
}

QString ReportRegister::listSql(SqlDialect dialect)
{
    return QStringLiteral(" select * from DPATVP ") + QStringLiteral(" where DanPorocanja>=:DanOd ")
        + QStringLiteral(" AND DanPorocanja<=:DanDo ") + registerListOrder(dialect);
}

QString ReportRegister::statusText(const QVariant& status)
{
    if (!status.isValid() || status.isNull())
        return QString();
    bool ok = false;
    const qint64 value = status.toLongLong(&ok);
    if (!ok)
        return QString();
    if (value == kConfirmed)
        return QStringLiteral("Potrjeno");
    if (value == kRejected)
        return QStringLiteral("Zavrnjeno");
    if (value >= kRegenerated)
        return QStringLiteral("Ponovno generirano");
    return QString();
}

void ReportRegister::refresh(const QDate& from, const QDate& to)
{
    from_ = from;
    to_ = to;
    query_.close();
    query_.setSql(listSql(dialect_));
    query_.paramByName(QStringLiteral("DanOd")).setAsDate(from);
    query_.paramByName(QStringLiteral("DanDo")).setAsDate(to);
    query_.open();
}

void ReportRegister::reread()
{
    refresh(from_, to_);
}

std::optional<RegisterRow> ReportRegister::currentRow() const
{
    if (!query_.isActive() || query_.isEmpty())
        return std::nullopt;
    auto field = [this](const char* name) -> const Field& {
        return query_.fieldByName(QString::fromLatin1(name));
    };
    RegisterRow row;
    row.id = field("DPATVPID").asInteger();
    row.serial = int(field("ZAPST").asInteger());
    row.reportDay = field("DANPOROCANJA").asDate();
    if (!field("DAN").isNull())
        row.sentAt = field("DAN").asDateTime();
    if (!field("DanOd").isNull())
        row.firstDay = field("DanOd").asDate();
    row.file = field("XML_File").asString();
    row.status = int(field("Status").asInteger());
    return row;
}

RegisterActions ReportRegister::actions()
{
    RegisterActions open;
    const std::optional<RegisterRow> row = currentRow();
    if (!row)
        return open;

    TDMQuery latest(connection_, QStringLiteral("qMaxZapSt"));
    latest.setSql(QStringLiteral(" SELECT max(ZAPST) as ZAPST FROM DPATVP ")
                  + QStringLiteral(" WHERE DPATVPID=:DPATVPID"));
    latest.paramByName(QStringLiteral("DPATVPID")).setAsInteger(row->id);
    latest.open();
    const bool isLatest = !latest.fieldByName(QStringLiteral("ZAPST")).isNull()
        && latest.fieldByName(QStringLiteral("ZAPST")).asInteger() == row->serial;

    open.regenerate = row->isSent() && row->status == kRejected && isLatest;
    open.setStatus = row->isSent() && row->status != kConfirmed && row->status != kRejected;
    open.deleteReport = !row->isSent();
    return open;
}

void ReportRegister::locate(const QVariantList& key, const QString& indexFieldNames)
{
    if (!table_.isActive())
        table_.open();
    table_.setIndexFieldNames(indexFieldNames);
    // The list may show a row that changed since it was read; no other row is ever written.
    if (!table_.SQLSetRange(key))
        throw ZtfiError(kUpdateFailed);
}

void ReportRegister::setStatus(const RegisterRow& row, int status, bool byStatus)
{
    if (byStatus)
        locate({row.id, row.serial, row.status}, QStringLiteral("DPATVPID;ZAPST;STATUS"));
    else
        locate({row.id, row.serial}, QStringLiteral("DPATVPID;ZAPST"));
    table_.edit();
    table_.fieldByName(QStringLiteral("STATUS")).setValue(status);
    try {
        table_.post();
    } catch (...) {
        table_.cancel();
        throw;
    }
}

void ReportRegister::confirm()
{
    const std::optional<RegisterRow> row = currentRow();
    if (!row)
        return;
    runStep(connection_, kUpdateFailed, [&] {
        TDMQuery found(connection_, QStringLiteral("qDPATVPPotrjeno"));
        found.setSql(QStringLiteral(" SELECT DPATVPID, ZAPST FROM DPATVP ")
                     + QStringLiteral(" WHERE DPATVPID=:DPATVPID AND ZAPST=:ZAPST "));
        found.paramByName(QStringLiteral("DPATVPID")).setAsInteger(row->id);
        found.paramByName(QStringLiteral("ZAPST")).setAsInteger(row->serial);
        found.open();
        for (found.first(); !found.eof(); found.next()) {
            RegisterRow target = *row;
            target.id = found.fieldByName(QStringLiteral("DPATVPID")).asInteger();
            target.serial = int(found.fieldByName(QStringLiteral("ZAPST")).asInteger());
            setStatus(target, kConfirmed, false);
        }
    });
    runStep(connection_, QStringLiteral("Napaka pri insertu v DPATVP_SFVP!"),
            [&] { clearOverrideFlags(row->id); });
}

void ReportRegister::clearOverrideFlags(qint64 reportId)
{
    TDMQuery overrides(connection_, QStringLiteral("qDPATVP_SFVPPotrjeno"));
    overrides.setSql(overridesOfReportSql());
    overrides.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId);
    overrides.open();

    // Every row written gets its own version stamp of its ISIN, so the current row of the ISIN
    // stays the only one with the greatest stamp.
    VersionStamps stamps(connection_);
    TDMQuery update(connection_, QStringLiteral("qDPATVP_SFVPXml"));
    update.setSql(clearOverrideFlagSql());
    for (overrides.first(); !overrides.eof(); overrides.next()) {
        const QString isin = overrides.fieldByName(QStringLiteral("ISIN")).asString();
        update.paramByName(QStringLiteral("DanSpr")).setAsDateTime(stamps.next(isin));
        update.paramByName(QStringLiteral("UsrSpr")).setAsString(auditUser_);
        update.paramByName(QStringLiteral("ISIN")).setAsString(isin);
        setInteger(update.paramByName(QStringLiteral("SFVP_POROCANJE")),
                   overrides.fieldByName(QStringLiteral("SFVP_POROCANJE")));
        setInteger(update.paramByName(QStringLiteral("SFVP_OXU")),
                   overrides.fieldByName(QStringLiteral("SFVP_OXU")));
        update.execSQL();
    }
}

void ReportRegister::reject()
{
    const std::optional<RegisterRow> row = currentRow();
    if (!row)
        return;
    runStep(connection_, kUpdateFailed, [&] { setStatus(*row, kRejected, true); });
    reread();
}

bool ReportRegister::deleteReport(Interaction& ui)
{
    const std::optional<RegisterRow> row = currentRow();
    if (!row || row->isSent())
        return false;
    if (!ui.confirmOkCancel(QStringLiteral("Prosim potrdi brisanje vseh pripadajočih podatkov !")))
        return false;

    // A first report owns its set's contents; a regeneration shares them with the rejected report.
    if (row->status == 0) {
        runStep(connection_, QStringLiteral("Napaka pri brisanju iz DPATVPPSL!"),
                [&] { deleteContents(row->id); });
        runStep(connection_, QStringLiteral("Napaka pri popravku DPATVPID v DPATVPIMP!"),
                [&] { releaseImports(row->id); });
        deleteFile(row->file);
    }
    bool deleted = false;
    if (row->status == 0 || row->status >= kRegenerated) {
        runStep(connection_, QStringLiteral("Napaka pri brisanju iz DPATVP!"),
                [&] { deleteRegisterRow(*row); });
        deleted = true;
    }
    reread();
    return deleted;
}

void ReportRegister::deleteContents(qint64 reportId)
{
    TDMQuery rows(connection_, QStringLiteral("qDPATVPPSLBrisi"));
    rows.setSql(QStringLiteral(" SELECT DPATVPID, IDPSL FROM DPATVPPSL ")
                + QStringLiteral(" WHERE DPATVPID = :DPATVPID "));
    rows.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId);
    rows.open();
    TDMQuery remove(connection_, QStringLiteral("qDPATVPPSLDelete"));
    for (rows.first(); !rows.eof(); rows.next()) {
        // Both values are whole numbers read from the table.
        remove.setSql(QStringLiteral("DELETE FROM DPATVPPSL WHERE DPATVPID=")
                      + QString::number(rows.fieldByName(QStringLiteral("DPATVPID")).asInteger())
                      + QStringLiteral(" AND IDPSL=")
                      + QString::number(rows.fieldByName(QStringLiteral("IDPSL")).asInteger()));
        remove.execSQL();
    }
}

void ReportRegister::releaseImports(qint64 reportId)
{
    TDMQuery imports(connection_, QStringLiteral("qDPATVPIMPBrisi"));
    imports.setSql(QStringLiteral(" select IDIMP from dpatvpimp ")
                   + QStringLiteral(" where DPATVPID = :DPATVPID "));
    imports.paramByName(QStringLiteral("DPATVPID")).setAsInteger(reportId);
    imports.open();
    TDMQuery release(connection_, QStringLiteral("qDPATVPIMPSprosti"));
    release.setSql(QStringLiteral(" UPDATE DPATVPIMP SET DPATVPID=NULL WHERE IDIMP=:IDIMP "));
    for (imports.first(); !imports.eof(); imports.next()) {
        release.paramByName(QStringLiteral("IDIMP"))
            .setAsInteger(imports.fieldByName(QStringLiteral("IDIMP")).asInteger());
        release.execSQL();
    }
}

void ReportRegister::deleteFile(const QString& fileName) const
{
    // The register holds a bare file name; only a file of the program's folder is removed.
    const QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty())
        return;
    const QString path = QDir(programFolder_).filePath(name);
    if (QFileInfo::exists(path))
        QFile::remove(path);
}

void ReportRegister::deleteRegisterRow(const RegisterRow& row)
{
    locate({row.id, row.serial, row.status}, QStringLiteral("DPATVPID;ZAPST;STATUS"));
    table_.deleteRecord();
    RegisteredDigests::remove(connection_, row.id, row.serial);
}
