#include "instruments/InstrumentChoice.h"

#include "core/Error.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/engine/Connection.h"
#include "data/engine/OleDate.h"
#include "data/filter/TFilter.h"
#include "data/Step.h"
#include "instruments/InstrumentChoiceStatements.h"
#include "instruments/InstrumentHostData.h"
#include "instruments/OverrideList.h"
#include "instruments/VersionStamps.h"

#include <QRegularExpression>

namespace {

const QString kAnnounced = QStringLiteral("D");

QVariant columnAt(const Dataset& rows, int row, const char* name)
{
    const QVariant value = rows.valueAt(row, rows.fieldByName(QLatin1String(name)));
    return value.isNull() ? QVariant() : value;
}

// The ISIN's latest row with a reporting instrument (L).
struct LatestChosen {
    QString isin;
    qint64 hostInstrument = 0;  // SFVP_OXU
    qint64 reporting = 0;       // SFVP_POROCANJE
    qint64 replaced = 0;        // SFVP_OLD, 0 when empty
    bool announced = false;     // XML "D"
};

}  // namespace

OverrideRow OverrideRow::of(const Dataset& rows, int row)
{
    OverrideRow result;
    result.isin = columnAt(rows, row, "ISIN").toString();
    result.reporting = columnAt(rows, row, "SFVP_POROCANJE");
    result.hostInstrument = columnAt(rows, row, "SFVP_OXU").toLongLong();
    result.changeDay =
        Field::convert(FieldType::DateTime, columnAt(rows, row, "DANSPR_SFVP")).toDateTime();
    return result;
}

qint64 OverrideRow::reportingCode() const
{
    return reporting.isValid() ? reporting.toLongLong() : 0;
}

InstrumentChoice::InstrumentChoice(Connection& connection, SqlDialect dialect,
                                   const AuditTrail& audit, const QString& auditUser)
    : connection_(connection), dialect_(dialect), audit_(audit), auditUser_(auditUser)
{
}

InstrumentChoice::~InstrumentChoice() = default;

QString InstrumentChoice::item(qint64 sfvp, const QString& shortName)
{
    return QString::number(sfvp) + QLatin1Char('-') + shortName;
}

qint64 InstrumentChoice::chosenCode(const QString& comboText)
{
    static const QRegularExpression code(QStringLiteral("^\\s*(\\d+)-"));
    const QRegularExpressionMatch match = code.match(comboText);
    bool ok = false;
    const qint64 value = match.hasMatch() ? match.captured(1).toLongLong(&ok) : 0;
    if (!ok)
        throw ZtfiError(QStringLiteral("'%1' does not start with an instrument code followed by \"-\"")
                            .arg(comboText),
                        QStringLiteral("EConvertError"));
    return value;
}

QList<InstrumentChoice::Candidate> InstrumentChoice::candidates(const QString& isin)
{
    TUniQuery query(connection_, QStringLiteral("qSFVP"));
    query.setSql(InstrumentChoiceStatements::candidates(dialect_));
    query.paramByName(QStringLiteral("ISIN")).setAsString(isin.toUpper());
    query.open();
    QList<Candidate> result;
    const Field& sfvp = query.fieldByName(QStringLiteral("SFVP"));
    const Field& shortName = query.fieldByName(QStringLiteral("KRT"));
    for (query.first(); !query.eof(); query.next())
        result.append({sfvp.asInteger(), shortName.asString()});
    return result;
}

InstrumentOffer InstrumentChoice::offer(const OverrideRow& row)
{
    InstrumentOffer offer;
    offer.isin = row.isin.toUpper();
    const QString reported = row.reporting.isValid() ? row.reporting.toString() : QString();
    for (const Candidate& candidate : candidates(offer.isin)) {
        if (!reported.isEmpty() && reported == QString::number(candidate.sfvp))
            offer.current = int(offer.items.size());
        offer.items.append(item(candidate.sfvp, candidate.shortName));
    }
    offer.newIdentification = row.reportingCode() != 0;
    return offer;
}

QString InstrumentChoice::notOfferedMessage(qint64 chosen, const QString& isin)
{
    return QStringLiteral("Finančni instrument %1 ni med ponujenimi za ISIN %2!").arg(chosen).arg(isin.toUpper());
}

bool InstrumentChoice::chooseText(const OverrideRow& row, const QString& comboText,
                                  const QDate& lastDay)
{
    if (comboText.isEmpty())
        return false;
    return choose(row, chosenCode(comboText), lastDay);
}

bool InstrumentChoice::choose(const OverrideRow& row, qint64 chosen, const QDate& lastDay)
{
    if (row.reportingCode() == chosen)
        return false;
    bool offered = false;
    for (const Candidate& candidate : candidates(row.isin))
        offered = offered || candidate.sfvp == chosen;
    if (!offered)
        throw ZtfiError(notOfferedMessage(chosen, row.isin));
    // The error of the database reaches the user as the data layer words it.
    runStep(connection_, QString(), [&] { write(row, chosen, lastDay); }, StepCause::Appended);
    return true;
}

TFilter& InstrumentChoice::table()
{
    if (!table_) {
        table_ = std::make_unique<TFilter>(connection_, QStringLiteral("tDPATVP_SFVP"));
        table_->setTableName(QStringLiteral("DPATVP_SFVP"));
        for (const FieldDef& def : OverrideList::fields())
            table_->addField(def);
        // The key of the table (ISIN, SFVP_POROCANJE) names every pending row of an ISIN at
        // once: a row is addressed by its host instrument as well, and a write that would
        // reach more than one row is refused.
        table_->setIndexFieldNames(QStringLiteral("ISIN;SFVP_OXU;SFVP_POROCANJE"));
        table_->loaded();
        // Inserts and changes of DPATVP_SFVP are audited, its deletes are not.
        audit_.attach(*table_, false);
    }
    return *table_;
}

void InstrumentChoice::write(const OverrideRow& row, qint64 chosen, const QDate& lastDay)
{
    const bool hadChoice = row.reporting.isValid();
    const QString isin = row.isin.toUpper();
    qint64 replaced = row.reportingCode();
    bool announce = true;

    if (replaced == 0 && !isin.isEmpty() && isin != QLatin1String("N")) {
        TUniQuery latest(connection_, QStringLiteral("qDPATVP_SFVPbyISIN"));
        latest.setSql(InstrumentChoiceStatements::latestChosen());
        latest.paramByName(QStringLiteral("ISIN")).setAsString(isin);
        latest.open();
        if (!latest.isEmpty()) {
            LatestChosen l;
            l.isin = latest.fieldByName(QStringLiteral("ISIN")).asString();
            l.hostInstrument = latest.fieldByName(QStringLiteral("SFVP_OXU")).asInteger();
            l.reporting = latest.fieldByName(QStringLiteral("SFVP_POROCANJE")).asInteger();
            l.replaced = latest.fieldByName(QStringLiteral("SFVP_OLD")).asInteger();
            l.announced = latest.fieldByName(QStringLiteral("XML")).asString() == kAnnounced;
            latest.close();
            if (l.announced && l.reporting == chosen) {
                // The replacement by the chosen instrument is still to be announced: this row
                // takes the announcement over and becomes current.
                replaced = l.replaced;
                if (l.hostInstrument == l.reporting) {
                    announce = false;
                } else {
                    TUniQuery ageing(connection_, QStringLiteral("qDPATVP_SFVPbyISINinSFVP_OLD"));
                    ageing.setSql(InstrumentChoiceStatements::ageing());
                    ageing.paramByName(QStringLiteral("SFVP_OXU")).setAsInteger(l.hostInstrument);
                    ageing.paramByName(QStringLiteral("ISIN")).setAsString(l.isin);
                    ageing.execSQL();
                }
            } else if (l.reporting >= 1) {
                replaced = l.reporting;
            }
        }
    }

    TFilter& t = table();
    if (!t.isActive())
        t.open();
    const auto field = [&t](const char* name) -> Field& { return t.fieldByName(QLatin1String(name)); };
    if (hadChoice) {
        t.insert();
    } else {
        if (!t.SQLSetRange({row.isin, row.hostInstrument, QVariant()}))
            throw DatabaseError(t.name() + QStringLiteral(": Record not found or changed by another user"));
        t.edit();
    }
    try {
        if (hadChoice) {
            field("ISIN").setValue(isin);
            field("SFVP_OLD").setValue(replaced);
            field("SFVP_POROCANJE").setValue(chosen);
            field("XML").setValue(kAnnounced);
            // A new version is an identity row of the chosen instrument.
            field("SFVP_OXU").setValue(chosen);
        } else {
            if (replaced > 0 && replaced != chosen)
                field("SFVP_OLD").setValue(replaced);
            field("SFVP_POROCANJE").setValue(chosen);
            const bool replacement = chosen != row.hostInstrument;
            if (announce && (replacement || !field("SFVP_OLD").isNull()))
                field("XML").setValue(kAnnounced);
        }

        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime changed = OleDate::isAfterEpoch(row.changeDay) ? row.changeDay : now;
        field("DANSPR_SFVP").setValue(dialect_ == SqlDialect::Db2 ? QDateTime(changed.date(), QTime(0, 0)) : changed);
        field("DANSPR").setValue(VersionStamps(connection_).next(field("ISIN").asString()));
        field("USRSPR").setValue(auditUser_);

        const InstrumentHostData host = InstrumentHostData::read(connection_, chosen, lastDay);
        field("AII_MIC").setValue(host.Trg_MIC);
        field("AII_PRODUCT").setValue(host.productColumn());
        field("AII_CFI").setValue(host.TipInstr);
        if (host.DatumPrenehanja.isValid())
            field("AII_EXPIRY").setValue(dialect_ == SqlDialect::Db2
                                             ? QDateTime(host.DatumPrenehanja.date(), QTime(0, 0))
                                             : host.DatumPrenehanja);
        field("AII_STRIKEPRICE").setValue(host.IzvCen);
        field("IZD").setValue(host.ImeIzdajatelja);
        field("DRZ_IZD").setValue(host.ISOKODA);
        field("GLVNMN").setValue(host.NomVredEnote);
        field("VLT").setValue(host.Valuta);
        field("LOTEMS").setValue(host.LotEms);
        field("INSTRUMENTNAME").setValue(host.instrumentNameColumn());
        t.post();
    } catch (...) {
        t.cancel();
        throw;
    }
}

std::optional<OverrideRow> InstrumentChoice::rowOfIsin(const QString& isin)
{
    for (const QStringList& statement :
         {InstrumentChoiceStatements::pendingRows(), InstrumentChoiceStatements::currentRow()}) {
        TUniQuery rows(connection_, QStringLiteral("qDPATVP_SFVPzaISIN"));
        for (const FieldDef& def : OverrideList::fields())
            rows.addField(def);
        rows.setSql(statement);
        rows.paramByName(QStringLiteral("ISIN")).setAsString(isin.toUpper());
        rows.open();
        if (!rows.isEmpty())
            return OverrideRow::of(rows, 0);
    }
    return std::nullopt;
}
