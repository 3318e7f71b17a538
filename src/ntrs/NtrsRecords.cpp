#include "ntrs/NtrsRecords.h"

#include "core/Error.h"
#include "data/dataset/Dataset.h"
#include "data/dataset/Field.h"
#include "data/engine/OleDate.h"
#include "ntrs/InstrumentRowIndex.h"
#include "ntrs/NtrsValues.h"
#include "reporting/ReportCodes.h"
#include "reporting/ReportRows.h"

namespace {

QString text(const Dataset& data, const char* column)
{
    return data.fieldByName(QLatin1String(column)).asString();
}

QString repeated(QChar c, qsizetype count)
{
    return QString(qMax<qsizetype>(0, count), c);
}

// A date after day zero (30 December 1899, 00:00).
bool isPositiveDate(const Field& field)
{
    return !field.isNull() && field.asDateTime() > QDateTime(OleDate::epoch(), QTime(0, 0));
}

}  // namespace

NtrsRecords::NtrsRecords(const ReportRows& rows, const QString& instrumentPrefix)
    : rows_(rows), instrumentPrefix_(instrumentPrefix)
{
}

QString NtrsRecords::check(const Dataset& data, const char* column, const char* format, const QString& suffix,
                           const QString& prefix) const
{
    return rows_.ProveraFormata(&field(data, column), this->format(format), suffix, prefix);
}

const QString& NtrsRecords::format(const char* text) const
{
    auto found = formats_.find(text);
    if (found == formats_.end())
        found = formats_.insert(text, QLatin1String(text));
    return found.value();
}

const Field& NtrsRecords::field(const Dataset& data, const char* column) const
{
    const FieldKey key{&data, column};
    const auto found = fields_.constFind(key);
    if (found != fields_.constEnd())
        return *found.value();
    const Field& named = data.fieldByName(QLatin1String(column));
    fields_.insert(key, &named);
    return named;
}

QString NtrsRecords::firmIdentification(const Dataset& data) const
{
    return FormatToLength(check(data, "Swift_BPH", "11(x)"), 11, false, QStringLiteral("X"));
}

const Field& NtrsRecords::rowField(const char* column) const
{
    return field(rows_.query(), column);
}

QString NtrsRecords::rowText(const char* column) const
{
    return rowField(column).asString();
}

bool NtrsRecords::skipsCurrentRow() const
{
    return rowField("IDPSLTRP").asInteger() != 0 && rowText("SFDJV") != QLatin1String("L")
        && rowText("NS_SFDJV") == QLatin1String("L");
}

bool NtrsRecords::currentRowIsCancellation() const
{
    return rowText("ISSTN") == QLatin1String("D");
}

bool NtrsRecords::hasAiiGroup(const Dataset& instrument)
{
    if (text(instrument, "ISIN") != QLatin1String("N"))
        return false;
    const QString cfi = text(instrument, "TipInstr");
    if (cfi.isEmpty())
        return false;
    const QChar kind = cfi.at(0).toUpper();
    return kind == QLatin1Char('O') || kind == QLatin1Char('F');
}

void NtrsRecords::fillAii(TXMLAIIType group, const Dataset& instrument) const
{
    const QString product = text(instrument, "KRT");
    const QString cfi = text(instrument, "TipInstr");
    const QChar kind = cfi.at(0).toUpper();
    group.setAIIExchangeCode(text(instrument, "TRG_MIC"));
    group.setAIIProductCode(product);
    group.setAIIDerivativeType(QString(kind));
    if (kind == QLatin1Char('F')) {
        group.setAIIPutCallIdentifier(QStringLiteral("F"));
    } else {
        const QChar putCall = cfi.size() > 1 ? cfi.at(1).toUpper() : QChar();
        if (putCall != QLatin1Char('P') && putCall != QLatin1Char('C'))
            throw ZtfiError(QStringLiteral("Napaka pri CFI kodi \"") + cfi + QStringLiteral("\" za FI ") + product);
        group.setAIIPutCallIdentifier(QString(putCall));
    }
    const Field& expiry = instrument.fieldByName(QStringLiteral("DatumPrenehanja"));
    if (!isPositiveDate(expiry))
        throw ZtfiError(QStringLiteral("Napaka za FI ") + product + QStringLiteral(" manjka datum prenehanja"));
    group.setAIIExpiryDate(reportDate(expiry.asDate()));
    const Field& strike = instrument.fieldByName(QStringLiteral("IZVCEN"));
    if (strike.asFloat() < 0)
        throw ZtfiError(QStringLiteral("Manjka izvršilna cena za FI ") + product + QStringLiteral(" ."));
    // A future has no strike price: an empty one is reported as 0.
    group.setAIIStrikePrice(strike.isNull() ? QStringLiteral("0") : check(instrument, "IZVCEN", "1(d)"));
}

void NtrsRecords::fillInstrument(TXMLSifrantRecordInfoCompleteDescriptionType record, const Dataset& instrument) const
{
    record.setReportingFirmIdentification(firmIdentification(instrument));
    record.setInstrumentISINCode(check(instrument, "ISIN", "2(a)9(x)1(n)"));
    if (hasAiiGroup(instrument))
        fillAii(record.AIICode(), instrument);
    record.setInstrumentInternalCode(toInt32(check(instrument, "IntIdent", "10(n)", QString(), instrumentPrefix_)));
    record.setInstrumentName(check(instrument, "ImeInstrumenta", "40(x)"));
    record.setIssuerName(check(instrument, "ImeIzdajatelja", "205(x)"));
    record.setIssuerCountry(check(instrument, "ISOKODA", "2(x)"));
    record.setInstrumentClassification(
        check(instrument, "TipInstr", "6(a)", repeated(QLatin1Char('X'), 6 - text(instrument, "TipInstr").size())));
    // An empty date reads as day zero.
    record.setLastChangeDate(reportDate(instrument.fieldByName(QStringLiteral("DanSpr")).asDate()));
    if (text(instrument, "KOS") == QLatin1String("D")) {
        record.setNominalValue(QStringLiteral("1"));
        record.setCurrency(QStringLiteral("K"));
    } else if (instrument.fieldByName(QStringLiteral("GlvNmn")).asFloat() != 0) {
        record.setNominalValue(check(instrument, "GlvNmn", "1(d)"));
        record.setCurrency(check(instrument, "VLT", "3(a)"));
    } else {
        record.setNominalValue(QStringLiteral("0"));
        record.setCurrency(QStringLiteral("N"));
    }
    if (instrument.fieldByName(QStringLiteral("LOTEMS")).asFloat() != 0)
        record.setIssuedVolume(check(instrument, "LOTEMS", "1(d)"));
    const Field& expiry = instrument.fieldByName(QStringLiteral("DatumPrenehanja"));
    if (!expiry.isNull())
        record.setExpireDate(reportDate(expiry.asDate()));
    const Field& reference = instrument.fieldByName(QStringLiteral("Referenca"));
    if (!reference.isNull() && reference.asInteger() > 0)
        record.setReferenca(toInt32(QString::number(reference.asInteger())));
}

void NtrsRecords::fillTransaction(TXMLTransactionRecordInfoCompleteDescriptionType record,
                                  InstrumentRowIndex& instruments) const
{
    const Dataset& row = rows_.query();
    Dataset& codeList = instruments.codeList();
    record.setReportingFirmIdentification(firmIdentification(row));
    record.setTradingDay(reportDate(rowField("Dan").asDate()));
    record.setTradingTime(reportTime(Field::convert(FieldType::Time, rowField("Cas").value()).toTime()));
    record.setTradingTimeZone(
        rows_.ProveraFormata(nullptr, QStringLiteral("1(S)2(n)"), QString(), rowText("Offset").trimmed()));
    record.setBuySellIndicator(check(row, "INDNAKPROD", "1(a)"));
    record.setTradingCapacity(rowText("TrgZmog"));
    record.setInstrumentISINCode(check(row, "ISIN", "2(a)9(x)1(n)"));
    if (codeList.isActive()
        && instruments.locate(rowField("INTINDINSTR").asInteger())
        && hasAiiGroup(codeList))
        fillAii(record.AIICode(), codeList);
    record.setInstrumentInternalCode(toInt32(check(row, "INTINDINSTR", "10(n)", QString(), instrumentPrefix_)));
    record.setUnitPriceValue(check(row, "CENAENOTE", "1(d)"));
    record.setUnitPriceType(check(row, "ZAPISCENE", "1(a)"));
    record.setPriceNotation(check(row, "VALUTA", "3(a)"));
    if (rowText("ZapisCene") != QLatin1String("P"))
        record.setQuantity(check(row, "LOT", "1(d)").replace(QLatin1Char(','), QLatin1Char('.')));
    else
        record.setQuantity(percentQuantity(rowField("LOT").asFloat(), rowField("KPN_GLV").asFloat()));
    fillParties(record);
    if (rowText("SFTRZ") == QLatin1String("2")) {
        record.setTradingVenue(check(row, "IDENTMESTA", "20(x)"));
        record.setTradingVenueType(check(row, "OZNAKAIDENTMESTA", "4(a)"));
    } else {
        record.setTradingVenue(QStringLiteral("OTC"));
        record.setTradingVenueType(QStringLiteral("XOFF"));
    }
    record.setTransactionReferenceNumber(toInt64(rowText("RefStTransaC")));
}

// Counterparty and client by the kind of the row: imported, exchange trade, internal match
// (both sides are the firm's clients or its own account) or a trade with an outside party.
void NtrsRecords::fillParties(TXMLTransactionRecordInfoCompleteDescriptionType& record) const
{
    const QString market = rowText("SFTRZ");
    const bool ownAccount = rowText("SFDJV") == QLatin1String("L");
    if (rowText("VRSTA") == QLatin1String("I")) {
        record.setCounterparty(rowText("NS_KRTBNK"));
        record.setCounterpartyType(rowText("NS_OznakaKlijenta"));
        const QString bank = rowText("KRTBNK");
        if (!bank.isEmpty()) {
            record.setClient(FormatToLength(bank, 10, true, QStringLiteral("0")));
            record.setClientType(rowText("OznakaKlijenta"));
        }
    } else if (market == QLatin1String("2")) {
        record.setCounterparty(check(rows_.query(), "MIC", "4(x)"));
        record.setCounterpartyType(QStringLiteral("MIC"));
        if (!ownAccount)
            clientRule(record);
    } else if (market == QLatin1String("3") && rowField("IDPSLTRP").asInteger() != 0) {
        // Both sides on own account: nothing to report about either.
        if (rowText("NS_SFDJV") != QLatin1String("L")) {
            counterpartyByBic(record, "NS_SWIFT");
            if (!ownAccount)
                clientRule(record);
        }
    } else if (market == QLatin1String("3")) {
        counterpartyByBic(record, "TRP_SWIFT");
        if (!ownAccount)
            clientRule(record);
    }
}

void NtrsRecords::counterpartyByBic(TXMLTransactionRecordInfoCompleteDescriptionType& record,
                                    const char* column) const
{
    if (rowText(column).trimmed().isEmpty()) {
        record.setCounterparty(QStringLiteral("CC"));
        record.setCounterpartyType(QStringLiteral("CC"));
        return;
    }
    record.setCounterparty(FormatToLength(check(rows_.query(), column, "11(x)"), 11, false, QStringLiteral("X")));
    record.setCounterpartyType(QStringLiteral("BIC"));
}

void NtrsRecords::clientRule(TXMLTransactionRecordInfoCompleteDescriptionType& record) const
{
    if (!rowText("SWIFT").trimmed().isEmpty()) {
        record.setClient(FormatToLength(check(rows_.query(), "SWIFT", "11(x)"), 11, false, QStringLiteral("X")));
        record.setClientType(QStringLiteral("BIC"));
        return;
    }
    const QString bank = rowText("KRTBNK");
    record.setClient(check(rows_.query(), "KRTBNK", "10(x)", QString(), repeated(QLatin1Char('0'), 10 - bank.size())));
    record.setClientType(QStringLiteral("Internal"));
}

void NtrsRecords::fillCancellation(TXMLCancellationRecordInfoType record) const
{
    record.setReportingFirmIdentification(firmIdentification(rows_.query()));
    record.setCancelledTransactionReferenceNumber(toInt64(rowText("RefStTransaC")));
    record.setCancelledTransactionFlag(QStringLiteral("C"));
}
