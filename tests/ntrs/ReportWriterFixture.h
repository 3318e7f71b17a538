#pragma once

#include "core/Config.h"
#include "core/ErrorLog.h"
#include "data/dataset/AuditTrail.h"
#include "instruments/CodeList.h"
#include "ntrs/ReportWriter.h"
#include "reporting/ReportRows.h"
#include "reporting/ReportRowsStatement.h"
#include "state/ZtfiApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "support/SqlScript.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

// A report set of a fixture database (with the default share, instrument 1, listed on market 8), generated into a temporary program folder. The selection
// covers 2.3.2026 under report identifier 1; the report is made on 3.3.2026 at 09:15:30
// (winter time: offset +01). The firm is person 2 (MTS 1234567, SWIFT BRKRSI2X).
namespace ntrsreport {

inline const QDate kDay(2026, 3, 2);
inline const QDateTime kNow(QDate(2026, 3, 3), QTime(9, 15, 30));
inline constexpr qint64 kReport = 1;

// The document up to its code list: the declaration and the root with its attributes.
inline std::string head(const std::string& offset = "+01")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<NTRSRoot xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xsi:noNamespaceSchemaLocation=\"NTRS.xsd\" MaticnaStevilkaZavezanca=\"1234567000\" "
           "CreationDate=\"2026-03-03\" CreationTime=\"09:15:30\" CreationTimeOffset=\"" + offset + "\" "
           "Version=\"2.0\">\n";
}

// The code-list record of the default instrument 1 (share DELA, issued by the firm).
inline std::string defaultInstrument()
{
    return "    <SifrantRecordInfo>\n"
           "      <ReportingFirmIdentification>BRKRSI2XXXX</ReportingFirmIdentification>\n"
           "      <InstrumentISINCode>SI0000000011</InstrumentISINCode>\n"
           "      <InstrumentInternalCode>1</InstrumentInternalCode>\n"
           "      <InstrumentName>Delnica A d.d.</InstrumentName>\n"
           "      <IssuerName>Borzni posrednik d.d.</IssuerName>\n"
           "      <IssuerCountry>SI</IssuerCountry>\n"
           "      <InstrumentClassification>ESVUFR</InstrumentClassification>\n"
           "      <LastChangeDate>2000-01-01</LastChangeDate>\n"
           "      <NominalValue>0</NominalValue>\n"
           "      <Currency>N</Currency>\n"
           "    </SifrantRecordInfo>\n";
}

// The first part of text from the line that opens element tag to the line that closes it
// (both included); empty when the element is not there.
inline std::string element(const std::string& text, const std::string& tag)
{
    const std::size_t open = text.find("<" + tag + ">");
    if (open == std::string::npos)
        return std::string();
    const std::size_t lineStart = text.rfind('\n', open) + 1;
    const std::string close = "</" + tag + ">\n";
    const std::size_t end = text.find(close, open);
    return end == std::string::npos ? std::string() : text.substr(lineStart, end + close.size() - lineStart);
}

// How often a text occurs in another.
inline int occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Validates a file against schema/NTRS.xsd of the source tree; the first fault, empty when valid.
inline std::string faultAgainstSourceSchema(const QString& file)
{
    std::string fault;
    auto collect = [](void* target, xmlErrorPtr error) {
        auto* text = static_cast<std::string*>(target);
        if (text->empty() && error && error->message)
            *text = error->message;
    };
    const QByteArray schemaPath = QFile::encodeName(sourcePath(QStringLiteral("schema/NTRS.xsd")));
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(schemaPath.constData());
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (!schema)
        return "schema/NTRS.xsd does not load";
    xmlDocPtr doc = xmlReadFile(QFile::encodeName(file).constData(), nullptr, XML_PARSE_NONET);
    if (!doc) {
        xmlSchemaFree(schema);
        return "not well-formed";
    }
    xmlSchemaValidCtxtPtr validation = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(validation, collect, &fault);
    const int result = xmlSchemaValidateDoc(validation, doc);
    xmlSchemaFreeValidCtxt(validation);
    xmlFreeDoc(doc);
    xmlSchemaFree(schema);
    if (result != 0 && fault.empty())
        fault = "invalid";
    return fault;
}

class ReportWriterFixture : public testing::Test {
public:
    explicit ReportWriterFixture(Connection::Engine engine = Connection::Engine::Sqlite)
        : db(engine), log(programFolder(), true), audit(db.connection(), SqlDialect::Oracle, QStringLiteral("TESTER"))
    {
        db.basics().instrument({}).listing({});
    }

    QString programFolder() const { return folder.path() + QLatin1Char('/'); }

    // The default share traded on the exchange on own account, as the selection took it.
    void exchangeTrade(qint64 id = 1)
    {
        db.trade({.id = id}).selected({.report = kReport, .trade = id, .reference = id});
    }

    // A manual transaction of DPATVPIMP on 2.3.2026.
    void importedTransaction(int id, qint64 reference, const QString& client, const QString& clientKind,
                             const QString& counterparty, const QString& counterpartyKind)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CAS, CASPAS, INDNAKPRO, TRGZMO, ISIN, KRTVP, "
                               "CENA, ZAPCENE, VAL, KOL, NASSTR, OZNNASSTR, KLIENT, OZNKLIENTA, IDENTMESTA, "
                               "OZNMESTA, RAZTRANSA, REFSTTRANSA, INTINDINSTR, DPATVPID) VALUES (%1, "
                               "TO_DATE('02.03.2026','dd.mm.yyyy'), TO_DATE('02.03.2026 09:30:00',"
                               "'dd.mm.yyyy hh24:mi:ss'), '+01', 'S', 'A', 'si0000000011', 'DELA', 12.5, 'C', "
                               "'eur', 3, '%3', '%4', '%5', '%6', 'XLJU', 'MIC', NULL, %2, 1, %7)")
                    .arg(id)
                    .arg(reference)
                    .arg(counterparty, counterpartyKind, client, clientKind)
                    .arg(kReport));
    }

    // Opens the report rows and the code list of the selection, as the selection leaves them.
    void openSelection()
    {
        const PreparedStatements saved =
            prepareStatements(reportRowsTemplate(), CodeList::statementTemplate(), config);
        rows.open(saved, SqlDialect::Oracle, kDay, kDay, kReport);
        codeList.open(saved, kDay, kDay, kReport);
    }

    // "Generiranje XML poročila" on the open selection.
    ReportOutcome press(const QDateTime& now = kNow)
    {
        ReportWriter writer(db.connection(), config, log, audit, programFolder());
        return writer.bbGenXMLClick(rows, codeList, regeneration, ReportRequest{kDay, kDay, now});
    }

    ReportOutcome generate()
    {
        openSelection();
        return press();
    }

    // The text of a file of the program folder; empty when it is missing.
    std::string fileText(const QString& name) const
    {
        QFile file(QDir(folder.path()).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return std::string();
        return file.readAll().toStdString();
    }

    // The files of the program folder besides the schema and the trace log.
    QStringList reportFiles() const
    {
        QStringList names = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.removeAll(QStringLiteral("NTRS.xsd"));
        names.removeAll(QStringLiteral("Log.txt"));
        return names;
    }

    int registerRows() { return db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVP")).toInt(); }

    QTemporaryDir folder;
    FixtureDb db;
    Config config;
    SelectionContext selection;
    RegenerationState regeneration;
    ErrorLog log;
    AuditTrail audit;
    ReportRows rows{db.connection(), config, selection};
    CodeList codeList{db.connection()};
};

class ReportWriterTest : public ReportWriterFixture {};

}  // namespace ntrsreport
