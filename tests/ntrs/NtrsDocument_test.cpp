#include "ntrs/NtrsDocument.h"

#include "core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <libxml/parser.h>

#include <stdexcept>

namespace {

// A document written into a file of a temporary folder.
struct WrittenDocument {
    WrittenDocument() : file(QDir(folder.path()).filePath(QStringLiteral("report.xml"))), doc(file) {}

    // Finishes the document; the text the file holds.
    std::string text()
    {
        doc.finish();
        file.close();
        file.putInPlace();
        QFile result(QDir(folder.path()).filePath(QStringLiteral("report.xml")));
        if (!result.open(QIODevice::ReadOnly))
            return std::string();
        return result.readAll().toStdString();
    }
    // Whatever the folder holds besides the report and its temporary file.
    QStringList others() const
    {
        QStringList names = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("report.xml"));
        names.removeAll(QFileInfo(file.temporaryPath()).fileName());
        return names;
    }

    QTemporaryDir folder;
    AtomicFile file;
    NtrsDocument doc;
};

// The text libxml2 writes for the whole tree of a document: parsed and saved again, indented.
std::string savedWhole(const std::string& text)
{
    xmlDocPtr parsed = xmlReadMemory(text.data(), int(text.size()), nullptr, nullptr, XML_PARSE_NOBLANKS);
    if (!parsed)
        return "not well-formed";
    xmlChar* saved = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(parsed, &saved, &size, "utf-8", 1);
    std::string result(reinterpret_cast<const char*>(saved), size_t(size));
    xmlFree(saved);
    xmlFreeDoc(parsed);
    return result;
}

TEST(NtrsDocument, EmptyCodeListStaysFirstChildAndOptionalListsAreAbsent)
{
    WrittenDocument report;
    NtrsDocument& doc = report.doc;
    TXMLNTRSRoot root = doc.root();
    root.setAttribute("xmlns:xsi", QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
    root.setAttribute("xsi:noNamespaceSchemaLocation", QStringLiteral("NTRS.xsd"));
    root.setVersion(QStringLiteral("1.0"));
    root.Sifrant();
    TXMLTransactionRecordInfoCompleteDescriptionType t = root.TransactionReporting().add();
    t.setReportingFirmIdentification(QStringLiteral("1234567000"));
    t.setTransactionReferenceNumber(4294967298LL);

    EXPECT_EQ(report.text(),
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
    WrittenDocument report;
    NtrsDocument& doc = report.doc;
    doc.root().Sifrant().add().setInstrumentName(QStringLiteral("Žito Čokolešnik"));

    EXPECT_EQ(report.text(),
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
    WrittenDocument report;
    NtrsDocument& doc = report.doc;
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

    EXPECT_EQ(report.text(),
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

// A text is kept as it is and written escaped: as when the element's content was set to the
// escaped text, which the tree parsed again. An empty text leaves the element empty.
TEST(NtrsDocument, TextsAsTheirEscapedContent)
{
    for (const char* value : {"", "plain", "P&C <x> >", "a\r\nb\tc", "\"quoted\" 'single'", "&amp; &#65; ]]>",
                              "\xC5\xBD" "ito"}) {
        SCOPED_TRACE(value);
        WrittenDocument report;
        TXMLSifrantRecordInfoCompleteDescriptionType record = report.doc.root().Sifrant().add();
        record.setInstrumentName(QStringLiteral("before"));
        record.setInstrumentName(QString::fromUtf8(value));

        xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
        xmlNodePtr element = xmlNewDocNode(doc, nullptr, reinterpret_cast<const xmlChar*>("InstrumentName"), nullptr);
        xmlDocSetRootElement(doc, element);
        xmlChar* escaped = xmlEncodeSpecialChars(doc, reinterpret_cast<const xmlChar*>(value));
        xmlNodeSetContent(element, escaped);
        xmlFree(escaped);
        xmlBufferPtr text = xmlBufferCreate();
        xmlNodeDump(text, doc, element, 3, 1);
        const std::string expected(reinterpret_cast<const char*>(xmlBufferContent(text)), size_t(xmlBufferLength(text)));
        xmlBufferFree(text);
        xmlFreeDoc(doc);

        EXPECT_NE(report.text().find("      " + expected + "\n"), std::string::npos) << expected;
        EXPECT_EQ(record.InstrumentName(), QString::fromUtf8(value));
    }
}

TEST(NtrsDocument, ListOperations)
{
    WrittenDocument report;
    NtrsDocument& doc = report.doc;
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

// Records settled as they are filled leave the tree and go out in the order of the document:
// the lists stand in the order of first access, a list that comes later waits in a spill file
// beside the report. The text is the one of the whole tree.
TEST(NtrsDocument, SettledRecordsGiveTheTextOfTheWholeTree)
{
    const auto build = [](NtrsDocument& doc, bool settle, bool completeCodeList) {
        TXMLNTRSRoot root = doc.root();
        root.setAttribute("xmlns:xsi", QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
        root.setAttribute("xsi:noNamespaceSchemaLocation", QStringLiteral("NTRS.xsd"));
        root.setMaticnaStevilkaZavezanca(QStringLiteral("Žalec & \"1\""));
        TXMLSifrant codeList = root.Sifrant();
        for (int i = 1; i <= 2; ++i) {
            TXMLSifrantRecordInfoCompleteDescriptionType instrument = codeList.add();
            instrument.setInstrumentISINCode(i == 1 ? QStringLiteral("N") : QStringLiteral("SI0031102120"));
            if (i == 1)
                instrument.AIICode().setAIIProductCode(QStringLiteral("Čok <&>"));
            instrument.setInstrumentInternalCode(i);
            if (settle)
                doc.settle(instrument);
        }
        if (completeCodeList)
            doc.complete(codeList);
        for (int i = 1; i <= 5; ++i) {
            if (i % 2 == 0) {
                TXMLCancellationRecordInfoType cancellation = root.CancelledTransactions().add();
                cancellation.setCancelledTransactionReferenceNumber(i);
                if (settle)
                    doc.settle(cancellation);
            } else {
                TXMLTransactionRecordInfoCompleteDescriptionType transaction = root.TransactionReporting().add();
                transaction.setBuySellIndicator(QString());
                transaction.setTransactionReferenceNumber(4294967296LL + i);
                if (settle)
                    doc.settle(transaction);
            }
        }
    };
    WrittenDocument tree;
    build(tree.doc, false, false);
    const std::string whole = tree.text();
    EXPECT_EQ(whole, savedWhole(whole));
    EXPECT_NE(whole.find("MaticnaStevilkaZavezanca=\"\xC5\xBD" "alec &amp; &quot;1&quot;\""), std::string::npos);
    EXPECT_NE(whole.find("<TransactionReporting>\n    <TransactionRecordInfo>\n      <BuySellIndicator/>"),
              std::string::npos);

    for (const bool completeCodeList : {true, false}) {
        SCOPED_TRACE(completeCodeList ? "code list completed" : "code list left open");
        WrittenDocument streamed;
        build(streamed.doc, true, completeCodeList);
        EXPECT_EQ(streamed.text(), whole);
        EXPECT_EQ(streamed.others(), QStringList());
    }
}

// A list written out into the file takes no more records.
TEST(NtrsDocument, ListWrittenOutTakesNoMoreRecords)
{
    WrittenDocument report;
    TXMLNTRSRoot root = report.doc.root();
    TXMLSifrant codeList = root.Sifrant();
    report.doc.complete(codeList);
    report.doc.settle(root.TransactionReporting().add());
    TXMLSifrantRecordInfoCompleteDescriptionType late = codeList.add();

    EXPECT_THROW(report.doc.settle(late), std::logic_error);
}

}  // namespace
