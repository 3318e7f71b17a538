#include "ntrs/ReportWriterFixture.h"

#include "core/Error.h"

using namespace fixture;
using namespace ntrsreport;

namespace {

// The transaction record of the default exchange trade 1 (own account, 100 DELA at 10).
const std::string kExchangeTrade =
    "    <TransactionRecordInfo>\n"
    "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
    "      <TradingDay>2026-03-02</TradingDay>\n"
    "      <TradingTime>10:00:00</TradingTime>\n"
    "      <TradingTimeZone>+01</TradingTimeZone>\n"
    "      <BuySellIndicator>B</BuySellIndicator>\n"
    "      <TradingCapacity>P</TradingCapacity>\n"
    "      <InstrumentISINCode>SI0000000011</InstrumentISINCode>\n"
    "      <InstrumentInternalCode>1</InstrumentInternalCode>\n"
    "      <UnitPriceValue>10</UnitPriceValue>\n"
    "      <UnitPriceType>C</UnitPriceType>\n"
    "      <PriceNotation>EUR</PriceNotation>\n"
    "      <Quantity>100</Quantity>\n"
    "      <Counterparty>XLJU</Counterparty>\n"
    "      <CounterpartyType>MIC</CounterpartyType>\n"
    "      <TradingVenue>XLJU</TradingVenue>\n"
    "      <TradingVenueType>MIC</TradingVenueType>\n"
    "      <TransactionReferenceNumber>1</TransactionReferenceNumber>\n"
    "    </TransactionRecordInfo>\n";

TEST_F(ReportWriterTest, OnlyTransactionsHaveNoCancellationList)
{
    exchangeTrade();

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(fileText(outcome.fileName),
              head() + "  <Sifrant>\n" + defaultInstrument() + "  </Sifrant>\n"
                  "  <TransactionReporting>\n" + kExchangeTrade + "  </TransactionReporting>\n"
                  "</NTRSRoot>\n");
    EXPECT_EQ(faultAgainstSourceSchema(outcome.filePath), "");
}

// A cancelled trade is no instrument of the code list, so the list stays empty; the reference
// number lies above the 32-bit range.
TEST_F(ReportWriterTest, OnlyCancellationsHaveNoTransactionList)
{
    db.cancellation({.trade = {.id = 4294967298LL}})
        .selected({.report = kReport, .trade = 4294967298LL, .cancellation = QStringLiteral("D"), .reference = 3});

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(fileText(outcome.fileName),
              head() + "  <Sifrant/>\n"
                  "  <CancelledTransactions>\n"
                  "    <CancellationRecordInfo>\n"
                  "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
                  "      <CancelledTransactionReferenceNumber>4294967298</CancelledTransactionReferenceNumber>\n"
                  "      <CancelledTransactionFlag>C</CancelledTransactionFlag>\n"
                  "    </CancellationRecordInfo>\n"
                  "  </CancelledTransactions>\n"
                  "</NTRSRoot>\n");
    EXPECT_EQ(faultAgainstSourceSchema(outcome.filePath), "");
}

// Host rows come before imported ones, so a host cancellation precedes an imported
// transaction and its list comes first. The imported row reports its parties as imported and
// its 12-digit reference exactly.
TEST_F(ReportWriterTest, CancellationFirstPutsItsListFirst)
{
    db.cancellation({.trade = {.id = 7}})
        .selected({.report = kReport, .trade = 7, .cancellation = QStringLiteral("D"), .reference = 7});
    importedTransaction(1, 123456789012LL, QStringLiteral("123"), QStringLiteral("Internal"),
                        QStringLiteral("cptysi22"), QStringLiteral("BIC"));

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(fileText(outcome.fileName),
              head() + "  <Sifrant>\n" + defaultInstrument() + "  </Sifrant>\n"
                  "  <CancelledTransactions>\n"
                  "    <CancellationRecordInfo>\n"
                  "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
                  "      <CancelledTransactionReferenceNumber>7</CancelledTransactionReferenceNumber>\n"
                  "      <CancelledTransactionFlag>C</CancelledTransactionFlag>\n"
                  "    </CancellationRecordInfo>\n"
                  "  </CancelledTransactions>\n"
                  "  <TransactionReporting>\n"
                  "    <TransactionRecordInfo>\n"
                  "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
                  "      <TradingDay>2026-03-02</TradingDay>\n"
                  "      <TradingTime>09:30:00</TradingTime>\n"
                  "      <TradingTimeZone>+01</TradingTimeZone>\n"
                  "      <BuySellIndicator>S</BuySellIndicator>\n"
                  "      <TradingCapacity>A</TradingCapacity>\n"
                  "      <InstrumentISINCode>SI0000000011</InstrumentISINCode>\n"
                  "      <InstrumentInternalCode>1</InstrumentInternalCode>\n"
                  "      <UnitPriceValue>12.5</UnitPriceValue>\n"
                  "      <UnitPriceType>C</UnitPriceType>\n"
                  "      <PriceNotation>EUR</PriceNotation>\n"
                  "      <Quantity>3</Quantity>\n"
                  "      <Counterparty>CPTYSI22</Counterparty>\n"
                  "      <CounterpartyType>BIC</CounterpartyType>\n"
                  "      <Client>0000000123</Client>\n"
                  "      <ClientType>Internal</ClientType>\n"
                  "      <TradingVenue>OTC</TradingVenue>\n"
                  "      <TradingVenueType>XOFF</TradingVenueType>\n"
                  "      <TransactionReferenceNumber>123456789012</TransactionReferenceNumber>\n"
                  "    </TransactionRecordInfo>\n"
                  "  </TransactionReporting>\n"
                  "</NTRSRoot>\n");
    EXPECT_EQ(faultAgainstSourceSchema(outcome.filePath), "");
}

// A put option without ISIN: the AII group stands right after the ISIN in both records.
TEST_F(ReportWriterTest, OptionWithoutIsinCarriesTheAiiGroup)
{
    db.instrument({.id = 2, .isin = QString(), .shortName = QStringLiteral("OPT1"), .name = QStringLiteral("Opcija"),
                   .cfi = QStringLiteral("OPASPS"), .strikePrice = 25.5, .maturity = QDate(2026, 6, 19)})
        .listing({.id = 2, .instrument = 2})
        .trade({.id = 2, .instrument = 2})
        .selected({.report = kReport, .trade = 2, .reference = 2});

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    const std::string aii = "      <AIICode>\n"
                            "        <AIIExchangeCode>XLJU</AIIExchangeCode>\n"
                            "        <AIIProductCode>OPT1</AIIProductCode>\n"
                            "        <AIIDerivativeType>O</AIIDerivativeType>\n"
                            "        <AIIPutCallIdentifier>P</AIIPutCallIdentifier>\n"
                            "        <AIIExpiryDate>2026-06-19</AIIExpiryDate>\n"
                            "        <AIIStrikePrice>25.5</AIIStrikePrice>\n"
                            "      </AIICode>\n";
    EXPECT_EQ(fileText(outcome.fileName),
              head() + "  <Sifrant>\n"
                  "    <SifrantRecordInfo>\n"
                  "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
                  "      <InstrumentISINCode>N</InstrumentISINCode>\n" + aii +
                  "      <InstrumentInternalCode>2</InstrumentInternalCode>\n"
                  "      <InstrumentName>Opcija</InstrumentName>\n"
                  "      <IssuerName>Borzni posrednik d.d.</IssuerName>\n"
                  "      <IssuerCountry>SI</IssuerCountry>\n"
                  "      <InstrumentClassification>OPASPS</InstrumentClassification>\n"
                  "      <LastChangeDate>2000-01-01</LastChangeDate>\n"
                  "      <NominalValue>0</NominalValue>\n"
                  "      <Currency>N</Currency>\n"
                  "      <ExpireDate>2026-06-19</ExpireDate>\n"
                  "    </SifrantRecordInfo>\n"
                  "  </Sifrant>\n"
                  "  <TransactionReporting>\n"
                  "    <TransactionRecordInfo>\n"
                  "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
                  "      <TradingDay>2026-03-02</TradingDay>\n"
                  "      <TradingTime>10:00:00</TradingTime>\n"
                  "      <TradingTimeZone>+01</TradingTimeZone>\n"
                  "      <BuySellIndicator>B</BuySellIndicator>\n"
                  "      <TradingCapacity>P</TradingCapacity>\n"
                  "      <InstrumentISINCode>N</InstrumentISINCode>\n" + aii +
                  "      <InstrumentInternalCode>2</InstrumentInternalCode>\n"
                  "      <UnitPriceValue>10</UnitPriceValue>\n"
                  "      <UnitPriceType>C</UnitPriceType>\n"
                  "      <PriceNotation>EUR</PriceNotation>\n"
                  "      <Quantity>100</Quantity>\n"
                  "      <Counterparty>XLJU</Counterparty>\n"
                  "      <CounterpartyType>MIC</CounterpartyType>\n"
                  "      <TradingVenue>XLJU</TradingVenue>\n"
                  "      <TradingVenueType>MIC</TradingVenueType>\n"
                  "      <TransactionReferenceNumber>2</TransactionReferenceNumber>\n"
                  "    </TransactionRecordInfo>\n"
                  "  </TransactionReporting>\n"
                  "</NTRSRoot>\n");
    EXPECT_EQ(faultAgainstSourceSchema(outcome.filePath), "");
}

// An instrument without ISIN, traded on the exchange; the AII group of its code-list record, or
// the error that stops the report.
struct DerivativeCase {
    const char* name;
    QString cfi;
    std::optional<double> strike;
    QDate expiry;
    std::string aii;    // the group as written; empty for none
    QString error;      // the message that stops the report; empty when it is written
};

void PrintTo(const DerivativeCase& c, std::ostream* os)
{
    *os << c.name;
}

class DerivativeTest : public ReportWriterTest, public testing::WithParamInterface<DerivativeCase> {};

TEST_P(DerivativeTest, AiiGroupOrError)
{
    const DerivativeCase& c = GetParam();
    db.instrument({.id = 2, .isin = QString(), .shortName = QStringLiteral("FI2"), .cfi = c.cfi,
                   .strikePrice = c.strike, .maturity = c.expiry})
        .listing({.id = 2, .instrument = 2})
        .trade({.id = 2, .instrument = 2})
        .selected({.report = kReport, .trade = 2, .reference = 2});
    openSelection();

    if (!c.error.isEmpty()) {
        try {
            press();
            FAIL() << "no error";
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.message(), c.error);
        }
        EXPECT_EQ(reportFiles(), QStringList());
        EXPECT_EQ(registerRows(), 0);
        return;
    }
    const ReportOutcome outcome = press();
    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    const std::string text = fileText(outcome.fileName);
    EXPECT_EQ(element(element(text, "Sifrant"), "AIICode"), c.aii);
    EXPECT_EQ(element(element(text, "TransactionReporting"), "AIICode"), c.aii);
}

std::string aiiGroup(const std::string& kind, const std::string& putCall, const std::string& expiry,
                     const std::string& strike)
{
    return "      <AIICode>\n"
           "        <AIIExchangeCode>XLJU</AIIExchangeCode>\n"
           "        <AIIProductCode>FI2</AIIProductCode>\n"
           "        <AIIDerivativeType>" + kind + "</AIIDerivativeType>\n"
           "        <AIIPutCallIdentifier>" + putCall + "</AIIPutCallIdentifier>\n"
           "        <AIIExpiryDate>" + expiry + "</AIIExpiryDate>\n"
           "        <AIIStrikePrice>" + strike + "</AIIStrikePrice>\n"
           "      </AIICode>\n";
}

const QDate kExpiry(2026, 12, 18);

INSTANTIATE_TEST_SUITE_P(
    ReportWriter, DerivativeTest,
    testing::Values(
        DerivativeCase{"CallOption", QStringLiteral("OCASPS"), 0.125, kExpiry, aiiGroup("O", "C", "2026-12-18", "0.125"), {}},
        // A future: "F" whatever the second letter; it has no strike price.
        DerivativeCase{"Future", QStringLiteral("FPICSX"), std::nullopt, kExpiry, aiiGroup("F", "F", "2026-12-18", "0"), {}},
        // Another kind of instrument without ISIN: no group and no expiry or strike checks.
        DerivativeCase{"ShareWithoutIsin", QStringLiteral("ESVUFR"), -1.0, QDate(), "", {}},
        DerivativeCase{"WrongCfiLetter", QStringLiteral("OXASPS"), 1.0, kExpiry, "",
                       QStringLiteral("Napaka pri CFI kodi \"OXASPS\" za FI FI2")},
        DerivativeCase{"CfiOfOneLetter", QStringLiteral("O"), 1.0, kExpiry, "",
                       QStringLiteral("Napaka pri CFI kodi \"O\" za FI FI2")},
        DerivativeCase{"MissingExpiry", QStringLiteral("FFICSX"), std::nullopt, QDate(), "",
                       QStringLiteral("Napaka za FI FI2 manjka datum prenehanja")},
        DerivativeCase{"NegativeStrike", QStringLiteral("OPASPS"), -0.5, kExpiry, "",
                       QStringLiteral("Manjka izvršilna cena za FI FI2 .")}),
    [](const testing::TestParamInfo<DerivativeCase>& info) { return std::string(info.param.name); });

// One instrument of the code list; the rest of the report as usual.
struct InstrumentCase {
    const char* name;
    fixture::Instrument instrument;
    std::string record;  // the SifrantRecordInfo as written
};

void PrintTo(const InstrumentCase& c, std::ostream* os)
{
    *os << c.name;
}

class InstrumentRecordTest : public ReportWriterTest, public testing::WithParamInterface<InstrumentCase> {};

TEST_P(InstrumentRecordTest, CodeListRecord)
{
    db.instrument(GetParam().instrument)
        .listing({.id = 2, .instrument = 2})
        .trade({.id = 2, .instrument = 2})
        .selected({.report = kReport, .trade = 2, .reference = 2});

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(element(fileText(outcome.fileName), "SifrantRecordInfo"), GetParam().record);
    EXPECT_EQ(faultAgainstSourceSchema(outcome.filePath), "");
}

std::string instrumentRecord(const std::string& isin, const std::string& classification,
                             const std::string& changed, const std::string& valueLines)
{
    return "    <SifrantRecordInfo>\n"
           "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
           "      <InstrumentISINCode>" + isin + "</InstrumentISINCode>\n"
           "      <InstrumentInternalCode>2</InstrumentInternalCode>\n"
           "      <InstrumentName>Instrument 2</InstrumentName>\n"
           "      <IssuerName>Borzni posrednik d.d.</IssuerName>\n"
           "      <IssuerCountry>SI</IssuerCountry>\n"
           "      <InstrumentClassification>" + classification + "</InstrumentClassification>\n"
           "      <LastChangeDate>" + changed + "</LastChangeDate>\n" + valueLines +
           "    </SifrantRecordInfo>\n";
}

INSTANTIATE_TEST_SUITE_P(
    ReportWriter, InstrumentRecordTest,
    testing::Values(
        // Counted in pieces: nominal value 1 and currency K whatever the nominal value is.
        InstrumentCase{"ShareInPieces",
                       {.id = 2, .isin = QStringLiteral("SI0000000029"), .name = QStringLiteral("Instrument 2"),
                        .nominal = 5.0, .pieces = QStringLiteral("D")},
                       instrumentRecord("SI0000000029", "ESVUFR", "2000-01-01",
                                        "      <NominalValue>1</NominalValue>\n"
                                        "      <Currency>K</Currency>\n")},
        InstrumentCase{"BondWithNominalIssueAndMaturity",
                       {.id = 2, .isin = QStringLiteral(" si0022103111 "), .name = QStringLiteral("Instrument 2"),
                        .cfi = QStringLiteral("DBFTFR"), .maturity = QDate(2030, 5, 31),
                        .changed = QDateTime(QDate(2025, 6, 1), QTime(15, 45, 10)), .nominal = 1000.5,
                        .issued = 20000.0},
                       instrumentRecord("SI0022103111", "DBFTFR", "2025-06-01",
                                        "      <NominalValue>1000.5</NominalValue>\n"
                                        "      <Currency>EUR</Currency>\n"
                                        "      <IssuedVolume>20000</IssuedVolume>\n"
                                        "      <ExpireDate>2030-05-31</ExpireDate>\n")},
        // A short classification is filled with X to six letters.
        InstrumentCase{"ShortClassification",
                       {.id = 2, .isin = QStringLiteral("SI0000000029"), .name = QStringLiteral("Instrument 2"),
                        .cfi = QStringLiteral("DB")},
                       instrumentRecord("SI0000000029", "DBXXXX", "2000-01-01",
                                        "      <NominalValue>0</NominalValue>\n"
                                        "      <Currency>N</Currency>\n")}),
    [](const testing::TestParamInfo<InstrumentCase>& info) { return std::string(info.param.name); });

// An identity override row and a replacement row of one ISIN give the code list two rows of the
// same instrument: it is reported once.
TEST_F(ReportWriterTest, TwoCodeListRowsOfOneInstrumentGiveOneRecord)
{
    exchangeTrade();
    const QString columns = QStringLiteral(
        "INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU, SFVP_OLD, XML, DANSPR, DANSPR_SFVP, "
        "INSTRUMENTNAME, IZD, DRZ_IZD, AII_CFI, GLVNMN, VLT) VALUES ('SI0000000011', 1, %1, %2, %3, "
        "TO_DATE('%4','dd.mm.yyyy'), TO_DATE('01.01.2000','dd.mm.yyyy'), 'Delnica A d.d.', "
        "'Borzni posrednik d.d.', 'SI', 'ESVUFR', 0, 'EUR')");
    db.exec(columns.arg(QStringLiteral("1"), QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("01.02.2026")));
    db.exec(columns.arg(QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("'D'"), QStringLiteral("01.01.2026")));
    openSelection();
    int listed = 0;
    TQueryDM& list = codeList.query();
    for (list.first(); !list.eof(); list.next())
        listed += list.fieldByName(QStringLiteral("IntIdent")).asInteger() == 1 ? 1 : 0;
    ASSERT_EQ(listed, 2);

    const ReportOutcome outcome = press();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    const std::string text = fileText(outcome.fileName);
    EXPECT_EQ(occurrences(text, "<SifrantRecordInfo>"), 1);
    EXPECT_EQ(occurrences(element(text, "Sifrant"), "<InstrumentInternalCode>1</InstrumentInternalCode>"), 1);
    EXPECT_EQ(occurrences(text, "<TransactionRecordInfo>"), 1);
}

// A bond quoted in per cent: the quantity is the lot times the nominal value, two decimals.
TEST_F(ReportWriterTest, BondInPerCentReportsLotTimesNominal)
{
    db.valuation({.id = 5, .value = 1000})
        .trade({.id = 1, .quantity = 10, .price = 99.75, .priceUnit = QStringLiteral("%"), .valuation = 5})
        .selected({.report = kReport, .trade = 1, .reference = 1});

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    const std::string record = element(fileText(outcome.fileName), "TransactionRecordInfo");
    EXPECT_NE(record.find("      <UnitPriceValue>99.75</UnitPriceValue>\n"
                          "      <UnitPriceType>P</UnitPriceType>\n"
                          "      <PriceNotation>EUR</PriceNotation>\n"
                          "      <Quantity>10000.00</Quantity>\n"),
              std::string::npos)
        << record;
}

}  // namespace
