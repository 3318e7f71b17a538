#include "ntrs/NtrsDocument.h"

#include "ntrs/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The text of the document as it is written into a file.
std::string written(const NtrsDocument& doc)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("report.xml"));
    AtomicFile file(path);
    doc.writeTo(file);
    file.putInPlace();
    QFile result(path);
    if (!result.open(QIODevice::ReadOnly))
        return std::string();
    return result.readAll().toStdString();
}

TEST(NtrsDocument, EmptyCodeListStaysFirstChildAndOptionalListsAreAbsent)
{
    NtrsDocument doc;
    TXMLNTRSRoot root = doc.root();
    root.setAttribute("xmlns:xsi", QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
    root.setAttribute("xsi:noNamespaceSchemaLocation", QStringLiteral("NTRS.xsd"));
    root.setVersion(QStringLiteral("1.0"));
    root.Sifrant();
    TXMLTransactionRecordInfoCompleteDescriptionType t = root.TransactionReporting().add();
    t.setReportingFirmIdentification(QStringLiteral("1234567000"));
    t.setTransactionReferenceNumber(4294967298LL);

    EXPECT_EQ(written(doc),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<NTRSRoot xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
              "xsi:noNamespaceSchemaLocation=\"NTRS.xsd\" Version=\"1.0\">\n"
              "  <Sifrant/>\n"
              "  <TransactionReporting>\n"
              "    <TransactionRecordInfo>\n"
              "      <ReportingFirmIdentification>1234567000</ReportingFirmIdentification>\n"
              "      <TransactionReferenceNumber>4294967298</TransactionReferenceNumber>\n"
              "    </TransactionRecordInfo>\n"
              "  </TransactionReporting>\n"
              "</NTRSRoot>\n");
}

// Letters outside ASCII are written as UTF-8 bytes, not as character references.
TEST(NtrsDocument, TextIsWrittenInUtf8)
{
    NtrsDocument doc;
    doc.root().Sifrant().add().setInstrumentName(QStringLiteral("Žito Čokolešnik"));

    EXPECT_EQ(written(doc),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<NTRSRoot>\n"
              "  <Sifrant>\n"
              "    <SifrantRecordInfo>\n"
              "      <InstrumentName>\xC5\xBDito \xC4\x8Cokole\xC5\xA1nik</InstrumentName>\n"
              "    </SifrantRecordInfo>\n"
              "  </Sifrant>\n"
              "</NTRSRoot>\n");
}

TEST(NtrsDocument, ElementOrderIsOrderOfFirstAccessAndRewritesReplace)
{
    NtrsDocument doc;
    TXMLNTRSRoot root = doc.root();
    root.Sifrant();
    root.CancelledTransactions().add().setCancelledTransactionFlag(QStringLiteral("C"));
    TXMLSifrantRecordInfoCompleteDescriptionType withIsin = root.Sifrant().add();
    withIsin.setInstrumentISINCode(QStringLiteral("SI0031102120"));
    withIsin.setInstrumentInternalCode(7);
    withIsin.setInstrumentInternalCode(8);
    TXMLSifrantRecordInfoCompleteDescriptionType option = root.Sifrant().add();
    option.setInstrumentISINCode(QString());
    option.AIICode().setAIIPutCallIdentifier(QStringLiteral("P&C <x>"));
    option.setInstrumentInternalCode(9);
    root.TransactionReporting().add().setTradingDay(QStringLiteral("2026-03-02"));

    EXPECT_EQ(written(doc),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<NTRSRoot>\n"
              "  <Sifrant>\n"
              "    <SifrantRecordInfo>\n"
              "      <InstrumentISINCode>SI0031102120</InstrumentISINCode>\n"
              "      <InstrumentInternalCode>8</InstrumentInternalCode>\n"
              "    </SifrantRecordInfo>\n"
              "    <SifrantRecordInfo>\n"
              "      <InstrumentISINCode/>\n"
              "      <AIICode>\n"
              "        <AIIPutCallIdentifier>P&amp;C &lt;x&gt;</AIIPutCallIdentifier>\n"
              "      </AIICode>\n"
              "      <InstrumentInternalCode>9</InstrumentInternalCode>\n"
              "    </SifrantRecordInfo>\n"
              "  </Sifrant>\n"
              "  <CancelledTransactions>\n"
              "    <CancellationRecordInfo>\n"
              "      <CancelledTransactionFlag>C</CancelledTransactionFlag>\n"
              "    </CancellationRecordInfo>\n"
              "  </CancelledTransactions>\n"
              "  <TransactionReporting>\n"
              "    <TransactionRecordInfo>\n"
              "      <TradingDay>2026-03-02</TradingDay>\n"
              "    </TransactionRecordInfo>\n"
              "  </TransactionReporting>\n"
              "</NTRSRoot>\n");
    EXPECT_EQ(option.AIICode().AIIPutCallIdentifier(), QStringLiteral("P&C <x>"));
    EXPECT_EQ(withIsin.InstrumentInternalCode(), 8);
}

TEST(NtrsDocument, ListOperations)
{
    NtrsDocument doc;
    TXMLCancelledTransactions list = doc.root().CancelledTransactions();
    list.add().setCancelledTransactionReferenceNumber(1);
    list.add().setCancelledTransactionReferenceNumber(3);
    list.insert(1).setCancelledTransactionReferenceNumber(2);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(1).CancelledTransactionReferenceNumber(), 2);
    list.remove(list.item(0));
    list.deleteAt(5);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0).CancelledTransactionReferenceNumber(), 2);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_FALSE(doc.root().attribute("Version").has_value());
}

}  // namespace
