#pragma once

// The typed binding of the NTRS transaction report: one class per element, one accessor pair
// per child element or attribute. Reading a child creates it (auto-create), so the order of
// elements in a record is the order in which the writer first touches them.

#include "ntrs/XmlWrapper.h"

class TXMLAIIType : public XmlElementWrapper {
public:
    using XmlElementWrapper::XmlElementWrapper;

    QString AIIExchangeCode() const { return text("AIIExchangeCode"); }
    QString AIIProductCode() const { return text("AIIProductCode"); }
    QString AIIDerivativeType() const { return text("AIIDerivativeType"); }
    QString AIIPutCallIdentifier() const { return text("AIIPutCallIdentifier"); }
    QString AIIExpiryDate() const { return text("AIIExpiryDate"); }
    QString AIIStrikePrice() const { return text("AIIStrikePrice"); }

    void setAIIExchangeCode(const QString& value) { setText("AIIExchangeCode", value); }
    void setAIIProductCode(const QString& value) { setText("AIIProductCode", value); }
    void setAIIDerivativeType(const QString& value) { setText("AIIDerivativeType", value); }
    void setAIIPutCallIdentifier(const QString& value) { setText("AIIPutCallIdentifier", value); }
    void setAIIExpiryDate(const QString& value) { setText("AIIExpiryDate", value); }
    void setAIIStrikePrice(const QString& value) { setText("AIIStrikePrice", value); }
};

class TXMLSifrantRecordInfoCompleteDescriptionType : public XmlElementWrapper {
public:
    using XmlElementWrapper::XmlElementWrapper;

    QString ReportingFirmIdentification() const { return text("ReportingFirmIdentification"); }
    QString InstrumentISINCode() const { return text("InstrumentISINCode"); }
    TXMLAIIType AIICode() const { return TXMLAIIType(child("AIICode")); }
    qint32 InstrumentInternalCode() const { return int32Value("InstrumentInternalCode"); }
    QString InstrumentName() const { return text("InstrumentName"); }
    QString IssuerName() const { return text("IssuerName"); }
    QString IssuerCountry() const { return text("IssuerCountry"); }
    QString InstrumentClassification() const { return text("InstrumentClassification"); }
    QString LastChangeDate() const { return text("LastChangeDate"); }
    QString NominalValue() const { return text("NominalValue"); }
    QString Currency() const { return text("Currency"); }
    QString IssuedVolume() const { return text("IssuedVolume"); }
    QString IssueDate() const { return text("IssueDate"); }
    QString ExpireDate() const { return text("ExpireDate"); }
    qint32 Referenca() const { return int32Value("Referenca"); }

    void setReportingFirmIdentification(const QString& value) { setText("ReportingFirmIdentification", value); }
    void setInstrumentISINCode(const QString& value) { setText("InstrumentISINCode", value); }
    void setInstrumentInternalCode(qint32 value) { setInt32("InstrumentInternalCode", value); }
    void setInstrumentName(const QString& value) { setText("InstrumentName", value); }
    void setIssuerName(const QString& value) { setText("IssuerName", value); }
    void setIssuerCountry(const QString& value) { setText("IssuerCountry", value); }
    void setInstrumentClassification(const QString& value) { setText("InstrumentClassification", value); }
    void setLastChangeDate(const QString& value) { setText("LastChangeDate", value); }
    void setNominalValue(const QString& value) { setText("NominalValue", value); }
    void setCurrency(const QString& value) { setText("Currency", value); }
    void setIssuedVolume(const QString& value) { setText("IssuedVolume", value); }
    void setIssueDate(const QString& value) { setText("IssueDate", value); }
    void setExpireDate(const QString& value) { setText("ExpireDate", value); }
    void setReferenca(qint32 value) { setInt32("Referenca", value); }
};

class TXMLTransactionRecordInfoCompleteDescriptionType : public XmlElementWrapper {
public:
    using XmlElementWrapper::XmlElementWrapper;

    QString ReportingFirmIdentification() const { return text("ReportingFirmIdentification"); }
    QString TradingDay() const { return text("TradingDay"); }
    QString TradingTime() const { return text("TradingTime"); }
    QString TradingTimeZone() const { return text("TradingTimeZone"); }
    QString BuySellIndicator() const { return text("BuySellIndicator"); }
    QString TradingCapacity() const { return text("TradingCapacity"); }
    QString InstrumentISINCode() const { return text("InstrumentISINCode"); }
    TXMLAIIType AIICode() const { return TXMLAIIType(child("AIICode")); }
    qint32 InstrumentInternalCode() const { return int32Value("InstrumentInternalCode"); }
    QString UnitPriceValue() const { return text("UnitPriceValue"); }
    QString UnitPriceType() const { return text("UnitPriceType"); }
    QString PriceNotation() const { return text("PriceNotation"); }
    QString Quantity() const { return text("Quantity"); }
    QString Counterparty() const { return text("Counterparty"); }
    QString CounterpartyType() const { return text("CounterpartyType"); }
    QString Client() const { return text("Client"); }
    QString ClientType() const { return text("ClientType"); }
    QString TradingVenue() const { return text("TradingVenue"); }
    QString TradingVenueType() const { return text("TradingVenueType"); }
    qint64 TransactionReferenceNumber() const { return int64Value("TransactionReferenceNumber"); }

    void setReportingFirmIdentification(const QString& value) { setText("ReportingFirmIdentification", value); }
    void setTradingDay(const QString& value) { setText("TradingDay", value); }
    void setTradingTime(const QString& value) { setText("TradingTime", value); }
    void setTradingTimeZone(const QString& value) { setText("TradingTimeZone", value); }
    void setBuySellIndicator(const QString& value) { setText("BuySellIndicator", value); }
    void setTradingCapacity(const QString& value) { setText("TradingCapacity", value); }
    void setInstrumentISINCode(const QString& value) { setText("InstrumentISINCode", value); }
    void setInstrumentInternalCode(qint32 value) { setInt32("InstrumentInternalCode", value); }
    void setUnitPriceValue(const QString& value) { setText("UnitPriceValue", value); }
    void setUnitPriceType(const QString& value) { setText("UnitPriceType", value); }
    void setPriceNotation(const QString& value) { setText("PriceNotation", value); }
    void setQuantity(const QString& value) { setText("Quantity", value); }
    void setCounterparty(const QString& value) { setText("Counterparty", value); }
    void setCounterpartyType(const QString& value) { setText("CounterpartyType", value); }
    void setClient(const QString& value) { setText("Client", value); }
    void setClientType(const QString& value) { setText("ClientType", value); }
    void setTradingVenue(const QString& value) { setText("TradingVenue", value); }
    void setTradingVenueType(const QString& value) { setText("TradingVenueType", value); }
    void setTransactionReferenceNumber(qint64 value) { setInt64("TransactionReferenceNumber", value); }
};

class TXMLCancellationRecordInfoType : public XmlElementWrapper {
public:
    using XmlElementWrapper::XmlElementWrapper;

    QString ReportingFirmIdentification() const { return text("ReportingFirmIdentification"); }
    qint64 CancelledTransactionReferenceNumber() const { return int64Value("CancelledTransactionReferenceNumber"); }
    QString CancelledTransactionFlag() const { return text("CancelledTransactionFlag"); }

    void setReportingFirmIdentification(const QString& value) { setText("ReportingFirmIdentification", value); }
    void setCancelledTransactionReferenceNumber(qint64 value) { setInt64("CancelledTransactionReferenceNumber", value); }
    void setCancelledTransactionFlag(const QString& value) { setText("CancelledTransactionFlag", value); }
};

class TXMLSifrant : public XmlListWrapper {
public:
    explicit TXMLSifrant(xmlNodePtr node) : XmlListWrapper(node, "SifrantRecordInfo") {}

    TXMLSifrantRecordInfoCompleteDescriptionType item(int index) const { return TXMLSifrantRecordInfoCompleteDescriptionType(itemNode(index)); }
    TXMLSifrantRecordInfoCompleteDescriptionType add() { return TXMLSifrantRecordInfoCompleteDescriptionType(addItemNode()); }
    TXMLSifrantRecordInfoCompleteDescriptionType insert(int index) { return TXMLSifrantRecordInfoCompleteDescriptionType(insertItemNode(index)); }
    void remove(const TXMLSifrantRecordInfoCompleteDescriptionType& item) { removeNode(item.node()); }
};

class TXMLTransactionReporting : public XmlListWrapper {
public:
    explicit TXMLTransactionReporting(xmlNodePtr node) : XmlListWrapper(node, "TransactionRecordInfo") {}

    TXMLTransactionRecordInfoCompleteDescriptionType item(int index) const { return TXMLTransactionRecordInfoCompleteDescriptionType(itemNode(index)); }
    TXMLTransactionRecordInfoCompleteDescriptionType add() { return TXMLTransactionRecordInfoCompleteDescriptionType(addItemNode()); }
    TXMLTransactionRecordInfoCompleteDescriptionType insert(int index) { return TXMLTransactionRecordInfoCompleteDescriptionType(insertItemNode(index)); }
    void remove(const TXMLTransactionRecordInfoCompleteDescriptionType& item) { removeNode(item.node()); }
};

class TXMLCancelledTransactions : public XmlListWrapper {
public:
    explicit TXMLCancelledTransactions(xmlNodePtr node) : XmlListWrapper(node, "CancellationRecordInfo") {}

    TXMLCancellationRecordInfoType item(int index) const { return TXMLCancellationRecordInfoType(itemNode(index)); }
    TXMLCancellationRecordInfoType add() { return TXMLCancellationRecordInfoType(addItemNode()); }
    TXMLCancellationRecordInfoType insert(int index) { return TXMLCancellationRecordInfoType(insertItemNode(index)); }
    void remove(const TXMLCancellationRecordInfoType& item) { removeNode(item.node()); }
};

class TXMLNTRSRoot : public XmlElementWrapper {
public:
    using XmlElementWrapper::XmlElementWrapper;

    QString Version() const { return attribute("Version").value_or(QString()); }
    QString CreationDate() const { return attribute("CreationDate").value_or(QString()); }
    QString CreationTime() const { return attribute("CreationTime").value_or(QString()); }
    QString CreationTimeOffset() const { return attribute("CreationTimeOffset").value_or(QString()); }
    QString MaticnaStevilkaZavezanca() const { return attribute("MaticnaStevilkaZavezanca").value_or(QString()); }
    TXMLSifrant Sifrant() const { return TXMLSifrant(child("Sifrant")); }
    TXMLTransactionReporting TransactionReporting() const { return TXMLTransactionReporting(child("TransactionReporting")); }
    TXMLCancelledTransactions CancelledTransactions() const { return TXMLCancelledTransactions(child("CancelledTransactions")); }

    void setVersion(const QString& value) { setAttribute("Version", value); }
    void setCreationDate(const QString& value) { setAttribute("CreationDate", value); }
    void setCreationTime(const QString& value) { setAttribute("CreationTime", value); }
    void setCreationTimeOffset(const QString& value) { setAttribute("CreationTimeOffset", value); }
    void setMaticnaStevilkaZavezanca(const QString& value) { setAttribute("MaticnaStevilkaZavezanca", value); }
};
