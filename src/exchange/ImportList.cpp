#include "exchange/ImportList.h"

#include "core/Formats.h"
#include "core/Interaction.h"
#include "data/Step.h"
#include "data/engine/Connection.h"
#include "exchange/ImportColumns.h"
#include "exchange/ReusedStatement.h"
#include "state/ZtfiApp.h"

namespace {

FieldType fieldType(ImportColumn::Kind kind)
{
    switch (kind) {
    case ImportColumn::Kind::Integer:
        return FieldType::Integer;
    case ImportColumn::Kind::Date:
        return FieldType::Date;
    case ImportColumn::Kind::DateTime:
        return FieldType::DateTime;
    case ImportColumn::Kind::Number:
        return FieldType::Float;
    case ImportColumn::Kind::Text:
        break;
    }
    return FieldType::String;
}

// The computed columns and the result columns of qSFVPDodPodaci that fill them.
const char* const kComputed[] = {"Trg_MIC", "IZVCEN", "ZPDVP", "CFI", "KPN_GLV"};

}  // namespace

ImportList::ImportList(Connection& connection)
    : connection_(connection), table_(connection, QStringLiteral("fDPATVPIMP"))
{
    table_.setTableName(QStringLiteral("DPATVPIMP"));
    for (const ImportColumn& column : importColumns()) {
        FieldDef def;
        def.name = QLatin1String(column.name);
        def.type = fieldType(column.kind);
        def.displayLabel = QString::fromUtf8(column.label);
        def.kind = column.stored ? FieldDef::Kind::Data : FieldDef::Kind::Calculated;
        table_.addField(def);
    }
    table_.loaded();
    table_.onCalcFields = [this](Dataset&) { calculate(); };
}

ImportList::~ImportList() = default;

QString ImportList::dodPodaciStatement()
{
    return QStringLiteral(
        "select S.ISIN, S.SFGLVENT, "
        "(select MIC from trg where sftrg=(select sftrg from ktc where sfktc=(select max(sfktc) from ktc "
        "where sfvp=S.SFVP and (danprk is null or danprk>:DatumDo))))"
        " as Trg_MIC, S.IZVCEN, S.ZPDVP, S.CFI, "
        "(select NVL(GLV, 0) from kpn where sfvp=S.SFVP"
        " AND ((prvdan<:DatumDo) OR ((prvdan=:DatumDo) AND (sfobm IN ('>','='))))"
        " AND ((zdnDan>:DatumDo) OR ((zdnDan=:DatumDo) AND (sfobm IN ('<','=')))))"
        " as KPN_GLV "
        "from SFVP S where S.SFVP = :sfvp");
}

void ImportList::nabor(const QDate& day)
{
    day_ = day;
    table_.close();
    table_.setIndexFieldNames(QStringLiteral("Datum"));
    table_.open();
    table_.SQLSetRange({day});
}

void ImportList::calculate()
{
    for (const char* name : kComputed)
        table_.fieldByName(QLatin1String(name)).clear();
    const Field& instrument = table_.fieldByName(QStringLiteral("INTINDINSTR"));
    if (instrument.isNull())
        return;
    if (!dodPodaci_)
        dodPodaci_ = std::make_unique<ReusedStatement>(connection_, dodPodaciStatement());
    dodPodaci_->bind(QStringLiteral("DatumDo"), day_);
    dodPodaci_->bind(QStringLiteral("sfvp"), instrument.asInteger());
    dodPodaci_->exec();
    if (!dodPodaci_->next())
        return;
    const QString isin = dodPodaci_->value(QStringLiteral("ISIN")).toString();
    const QString cfi = dodPodaci_->value(QStringLiteral("CFI")).toString();
    const bool derivative = cfi.startsWith(QLatin1Char('O')) || cfi.startsWith(QLatin1Char('F'));
    if ((isin.isEmpty() || isin == QLatin1String("N")) && derivative) {
        for (const char* name : kComputed) {
            const QVariant value = dodPodaci_->value(QLatin1String(name));
            if (!value.isNull())
                table_.fieldByName(QLatin1String(name)).setValue(value);
        }
    }
    while (dodPodaci_->next()) {
    }
}

void ImportList::deleteUnreported(Connection& connection, const QDate& day)
{
    runStep(connection, QStringLiteral("Napaka pri brisanju iz DPATVPIMP!"), [&connection, &day] {
        ReusedStatement statement(
            connection, QStringLiteral(" DELETE FROM DPATVPIMP WHERE Datum = :Datum AND DPATVPID IS NULL "));
        statement.bind(QStringLiteral("Datum"), day);
        statement.exec();
    });
}

bool ImportList::brisanjeNabora(Interaction& ui, const QDate& day)
{
    if (!table_.isActive() || table_.isEmpty())
        return false;
    if (!ui.confirmOkCancel(QStringLiteral("Prosim potrdi brisanje vseh importiranih na dan ") + Formats::dateText(day)
                            + QStringLiteral("!")))
        return false;
    deleteUnreported(connection_, day);
    nabor(day);
    return true;
}

ImportList& sharedImportList(ZtfiApp& app)
{
    return app.datasets().get<ImportList>([&app] { return std::make_unique<ImportList>(app.connection()); });
}
