#include "emir/EmirReportEditor.h"

#include "core/Error.h"
#include "data/dataset/DatasetUtils.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "emir/EmirFieldValues.h"
#include "emir/EmirNumbers.h"
#include "emir/EmirStatements.h"
#include "emir/EmirTransaction.h"

EmirReportEditor::EmirReportEditor(Connection& connection, SqlDialect dialect)
    : connection_(connection), dialect_(dialect)
{
}

EmirReportValues EmirReportEditor::newReport(const QDate& today)
{
    EmirReportValues values;
    values.reportDay = today;
    values.firstDay = FirstDayOfMonth(today);
    values.lastDay = values.firstDay.addDays(DaysInMonth(today) - 1);
    values.unconfirmed = 0;
    return values;
}

EmirReportValues EmirReportEditor::load(qint64 id)
{
    TUniQuery query(connection_, QStringLiteral("qEMIRRptDlg"));
    query.setSql(EmirStatements::selectReport());
    query.paramByName(QStringLiteral("Id")).setAsInteger(id);
    query.open();
    if (query.isEmpty())
        throw ZtfiError(QStringLiteral("Ne najdem poročila v tabeli, ID = ") + QString::number(id));
    EmirReportValues values;
    values.serial = int(query.fieldByName(QStringLiteral("ZapSt")).asInteger());
    values.firstDay = dateOrNull(query.fieldByName(QStringLiteral("DanOd")));
    values.lastDay = dateOrNull(query.fieldByName(QStringLiteral("DanDo")));
    values.unconfirmed = int(query.fieldByName(QStringLiteral("StNepotrjenih")).asInteger());
    values.reportDay = dateOrNull(query.fieldByName(QStringLiteral("DanPorocila")));
    values.cancelled = query.fieldByName(QStringLiteral("Preklicano")).asString() == QLatin1String("D");
    return values;
}

std::optional<EmirReportEditor::Failure> EmirReportEditor::check(const EmirReportValues& values)
{
    if (!values.reportDay.isValid())
        return Failure{FieldId::ReportDay, QStringLiteral("Neveljaven datum poročila.")};
    if (!values.firstDay.isValid())
        return Failure{FieldId::FirstDay, QStringLiteral("Neveljaven datum od.")};
    if (!values.lastDay.isValid())
        return Failure{FieldId::LastDay, QStringLiteral("Neveljaven datum do.")};
    if (!values.unconfirmed || *values.unconfirmed < 0)
        return Failure{FieldId::Unconfirmed, QStringLiteral("Neveljavno število nepotrjenih transakcij.")};
    return std::nullopt;
}

qint64 EmirReportEditor::save(const EmirReportValues& values, qint64 id)
{
    if (const std::optional<Failure> failure = check(values))
        throw ZtfiError(failure->message);
    qint64 written = id;
    runInTransaction(connection_, [&] {
        TUniQuery statement(connection_, QStringLiteral("uEMIRPorocilo"));
        if (id != 0) {
            statement.setSql(EmirStatements::updateReport());
        } else {
            written = EmirNumbers::nextReportId(connection_, dialect_);
            statement.setSql(EmirStatements::insertReport());
            statement.paramByName(QStringLiteral("ZapSt")).setAsInteger(EmirNumbers::nextSerial(connection_));
        }
        statement.paramByName(QStringLiteral("EMIRPorociloId")).setAsInteger(written);
        statement.paramByName(QStringLiteral("DanOd")).setAsDate(values.firstDay);
        statement.paramByName(QStringLiteral("DanDo")).setAsDate(values.lastDay);
        statement.paramByName(QStringLiteral("StNepotrjenih")).setAsInteger(*values.unconfirmed);
        statement.paramByName(QStringLiteral("DanPorocila")).setAsDate(values.reportDay);
        statement.paramByName(QStringLiteral("Preklicano")).setAsString(QStringLiteral("N"));
        statement.execSQL();
    });
    return written;
}
