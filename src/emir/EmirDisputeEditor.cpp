#include "emir/EmirDisputeEditor.h"

#include "core/EnteredText.h"
#include "core/Error.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "emir/EmirFieldValues.h"
#include "emir/EmirNumbers.h"
#include "emir/EmirStatements.h"
#include "emir/EmirTransaction.h"

namespace {

// The characters of the text columns of EMIRPOSEL.
constexpr int kTextColumn = 250;

}  // namespace

EmirDisputeEditor::EmirDisputeEditor(Connection& connection, SqlDialect dialect, qint64 reportId)
    : connection_(connection), dialect_(dialect), reportId_(reportId)
{
    if (reportId <= 0)
        throw ZtfiError(QStringLiteral("Neveljaven ID poročila."));
}

EmirDisputeValues EmirDisputeEditor::load(qint64 id)
{
    TUniQuery query(connection_, QStringLiteral("qEMIRPslDlg"));
    query.setSql(EmirStatements::selectDispute());
    query.paramByName(QStringLiteral("Id")).setAsInteger(id);
    query.open();
    if (query.isEmpty())
        throw ZtfiError(QStringLiteral("Ne najdem posla v tabeli, ID = ") + QString::number(id));
    EmirDisputeValues values;
    values.party = query.fieldByName(QStringLiteral("Stranka")).asString();
    values.counterparty = query.fieldByName(QStringLiteral("NasStranka")).asString();
    values.firstDay = dateOrNull(query.fieldByName(QStringLiteral("DatZacetka")));
    values.lastDay = dateOrNull(query.fieldByName(QStringLiteral("DatZakljucka")));
    values.amount = query.fieldByName(QStringLiteral("Vrednost")).asFloat();
    values.notes = query.fieldByName(QStringLiteral("Opombe")).asString();
    return values;
}

std::optional<EmirDisputeEditor::Failure> EmirDisputeEditor::check(const EmirDisputeValues& values)
{
    if (values.party.trimmed().isEmpty())
        return Failure{FieldId::Party, QStringLiteral("Neveljavna stranka.")};
    if (values.counterparty.trimmed().isEmpty())
        return Failure{FieldId::Counterparty, QStringLiteral("Neveljavna nasprotna stranka.")};
    if (!values.firstDay.isValid())
        return Failure{FieldId::FirstDay, QStringLiteral("Neveljaven datum začetka spora.")};
    if (values.lastDayUnreadable)
        return Failure{FieldId::LastDay, QStringLiteral("Neveljaven datum zaključka spora.")};
    if (values.lastDay.isValid() && values.firstDay > values.lastDay)
        return Failure{FieldId::FirstDay,
                       QStringLiteral("Datum začetka spora mora biti pred datumom zaključka spora.")};
    struct Text {
        FieldId field;
        const char* label;
        const QString& value;
    };
    for (const Text& text : {Text{FieldId::Party, "Stranka", values.party},
                             Text{FieldId::Counterparty, "Nasprotna stranka", values.counterparty},
                             Text{FieldId::Notes, "Opomba", values.notes}}) {
        const QString fault = EnteredText::fault(QString::fromUtf8(text.label), text.value, kTextColumn);
        if (!fault.isEmpty())
            return Failure{text.field, fault};
    }
    return std::nullopt;
}

qint64 EmirDisputeEditor::save(const EmirDisputeValues& values, qint64 id)
{
    if (const std::optional<Failure> failure = check(values))
        throw ZtfiError(failure->message);
    qint64 written = id;
    runInTransaction(connection_, [&] {
        TUniQuery statement(connection_, QStringLiteral("uEMIRPosel"));
        if (id != 0) {
            statement.setSql(EmirStatements::updateDispute());
        } else {
            written = EmirNumbers::nextDisputeId(connection_, dialect_);
            statement.setSql(EmirStatements::insertDispute());
            statement.paramByName(QStringLiteral("EMIRPorociloId")).setAsInteger(reportId_);
        }
        statement.paramByName(QStringLiteral("EMIRPoselId")).setAsInteger(written);
        statement.paramByName(QStringLiteral("Stranka")).setAsString(values.party);
        statement.paramByName(QStringLiteral("NasStranka")).setAsString(values.counterparty);
        statement.paramByName(QStringLiteral("DatZacetka")).setAsDate(values.firstDay);
        statement.paramByName(QStringLiteral("DatZakljucka")).setAsDate(values.lastDay);
        statement.paramByName(QStringLiteral("Vrednost")).setAsFloat(values.amount);
        statement.paramByName(QStringLiteral("Opombe")).setAsString(values.notes);
        statement.execSQL();
    });
    return written;
}
