#include "reporting/ReportRows.h"

#include "core/Config.h"
#include "core/Error.h"
#include "data/PendingSets.h"
#include "data/dataset/Field.h"
#include "reporting/FieldFormat.h"
#include "reporting/ReportCodes.h"
#include "reporting/ReportRowsStatement.h"
#include "state/ZtfiApp.h"

namespace {

FieldType fieldType(ReportRowColumn::Kind kind)
{
    switch (kind) {
    case ReportRowColumn::Kind::Integer:
        return FieldType::Integer;
    case ReportRowColumn::Kind::Number:
        return FieldType::Float;
    case ReportRowColumn::Kind::Date:
        return FieldType::Date;
    case ReportRowColumn::Kind::Time:
        return FieldType::Time;
    case ReportRowColumn::Kind::Text:
        break;
    }
    return FieldType::String;
}

void declareFields(TQueryDM& query)
{
    for (const ReportRowColumn& column : reportRowColumns()) {
        FieldDef def;
        def.name = column.name;
        def.type = fieldType(column.kind);
        def.size = column.size;
        def.displayLabel = column.label;
        def.visible = column.visible;
        def.kind = column.calculated ? FieldDef::Kind::Calculated : FieldDef::Kind::Data;
        query.addField(def);
    }
}

}  // namespace

ReportRows::ReportRows(Connection& connection, const Config& config, SelectionContext& selection)
    : config_(config), selection_(selection), query_(connection, QStringLiteral("qDPATVPPSL"))
{
    declareFields(query_);
    const auto field = [this](const char* name) { return &query_.fieldByName(QLatin1String(name)); };
    calc_ = {field("MTS_BPHCalc"), field("MTS_BPH"), field("RefStTransaC"),
             field("VRSTA"),       field("RefStTransa"), field("ISSTN")};
    query_.onCalcFields = [this](Dataset&) { calculate(); };
}

void ReportRows::calculate()
{
    calc_.MTS_BPHCalc->setValue(firmRegistration(config_.MatStev, calc_.MTS_BPH->asString()));
    calc_.RefStTransaC->setValue(transactionReference(calc_.VRSTA->asString(), calc_.RefStTransa->asString(),
                                                      config_.Posli_OXU_Prefiks,
                                                      config_.Posli_Import_Prefiks));
    if (calc_.ISSTN->asString() != QLatin1String("D"))
        selection_.hasRegularRows = true;
}

void ReportRows::open(const PreparedStatements& saved, SqlDialect dialect, const QDate& firstDay,
                      const QDate& lastDay, qint64 reportId, std::optional<qint64> regeneratedReport)
{
    selection_.hasRegularRows = false;
    query_.close();
    QString sql = saved.reportRows;
    if (regeneratedReport) {
        sets_ = {*regeneratedReport};
        sql = regeneratedReportRows(sql, *regeneratedReport);
    } else {
        sets_ = PendingSets::ids(query_.connection());
        sql = PendingSets::narrowed(sql, sets_);
    }
    // Read before the rows: a change in between then refuses the report rather than passing.
    stamp_ = SelectedSetStamp::read(query_.connection(), sets_);
    if (dialect == SqlDialect::Db2)
        sql = db2Rewrite(sql);
    query_.setSql(sql);
    query_.paramByName(QStringLiteral("Datum")).setAsDate(firstDay);
    query_.paramByName(QStringLiteral("DatumDo")).setAsDate(lastDay);
    query_.paramByName(QStringLiteral("FMaxDpAtvpId")).setAsInteger(reportId);
    query_.open();
}

bool ReportRows::setsUnchanged() const
{
    return SelectedSetStamp::read(query_.connection(), sets_) == stamp_;
}

QString ReportRows::changedSetMessage()
{
    return QStringLiteral("Nabor se je medtem spremenil (nov nabor na drugi delovni postaji?). Ponovi nabor!");
}

QString ReportRows::currentReference() const
{
    if (!query_.isActive())
        return QString();
    return query_.fieldByName(QStringLiteral("RefStTransaC")).asString();
}

QString ReportRows::ProveraFormata(const Field* field, const QString& format, const QString& suffix,
                                   const QString& prefix) const
{
    // Every field of every row is checked; the row's reference only names a value that does not
    // fit, so it is looked up for the message alone (the check runs again to raise it).
    CheckedField checked;
    if (field)
        checked = {field->name(), field->displayLabel(), field->asString()};
    const CheckedField* checkedField = field ? &checked : nullptr;
    if (faultSink_)
        return checkedValue(checkedField, format, suffix, prefix);
    try {
        return ::ProveraFormata(QString(), checkedField, format, suffix, prefix);
    } catch (const ZtfiError&) {
        return ::ProveraFormata(currentReference(), checkedField, format, suffix, prefix);
    }
}

QString ReportRows::checkedValue(const CheckedField* field, const QString& format, const QString& suffix,
                                 const QString& prefix) const
{
    FormatFault fault;
    fault.format = format;
    try {
        const FormatCheck checked = checkFormat(field, format, suffix, prefix);
        if (checked.fits)
            return checked.value;
        fault.value = checked.value;
    } catch (const ZtfiError&) {
        // A value that is not a number at all.
        fault.value = assembledValue(field, suffix, prefix);
    }
    fault.reference = currentReference();
    if (field)
        fault.field = field->displayLabel.isEmpty() ? field->name : field->displayLabel;
    else if (format == QLatin1String("1(S)2(n)"))
        fault.field = QStringLiteral("TRG.OFFSET");
    faultSink_(fault);
    return fault.value;
}

ReportRowColour ReportRows::rowColour(int row, const QDate& firstDay) const
{
    auto value = [&](const char* name) { return query_.valueAt(row, query_.fieldByName(QLatin1String(name))); };
    const Field& dan = query_.fieldByName(QStringLiteral("Dan"));
    ReportRowColourInput input;
    input.ISSTN = value("ISSTN").toString();
    input.Dan = query_.valueAt(row, dan).toDate();
    input.IDPSLTRP = value("IDPSLTRP").toLongLong();
    input.SfDjv = value("SfDjv").toString();
    input.NS_SFDJV = value("NS_SFDJV").toString();
    return reportRowColour(input, firstDay);
}

QString regeneratedReportRows(const QString& savedStatement, qint64 reportId)
{
    QString sql = savedStatement;
    sql.replace(QStringLiteral("where D.dpatvpid not in (select DPATVPID from DPATVP)"),
                QStringLiteral("where D.dpatvpid = ") + QString::number(reportId) + QLatin1Char(' '),
                Qt::CaseInsensitive);
    return sql;
}

ReportRows& sharedReportRows(ZtfiApp& app)
{
    return app.datasets().get<ReportRows>([&app] { return std::make_unique<ReportRows>(app.connection(), app.config(), app.selection); });
}
