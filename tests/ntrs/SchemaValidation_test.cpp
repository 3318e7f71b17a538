#include "ntrs/SchemaValidation.h"

#include "core/Error.h"
#include "ntrs/ReportDigest.h"
#include "ntrs/StreamingValidation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

namespace {

// A small schema in the shape of the report: attributes on the root, a list of records with an
// enumeration, a pattern and an optional element.
const char* const kSchema =
    "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
    "  <xs:element name=\"NTRSRoot\">\n"
    "    <xs:complexType>\n"
    "      <xs:sequence>\n"
    "        <xs:element name=\"Record\" maxOccurs=\"unbounded\">\n"
    "          <xs:complexType>\n"
    "            <xs:sequence>\n"
    "              <xs:element name=\"Side\">\n"
    "                <xs:simpleType><xs:restriction base=\"xs:string\">\n"
    "                  <xs:enumeration value=\"B\"/><xs:enumeration value=\"S\"/>\n"
    "                </xs:restriction></xs:simpleType>\n"
    "              </xs:element>\n"
    "              <xs:element name=\"Reference\" type=\"xs:long\"/>\n"
    "              <xs:element name=\"Client\" type=\"xs:string\" minOccurs=\"0\"/>\n"
    "            </xs:sequence>\n"
    "          </xs:complexType>\n"
    "        </xs:element>\n"
    "      </xs:sequence>\n"
    "      <xs:attribute name=\"Version\" type=\"xs:string\" use=\"required\"/>\n"
    "    </xs:complexType>\n"
    "  </xs:element>\n"
    "</xs:schema>\n";

std::string document(const std::string& records, const std::string& location = "Report.xsd",
                     const std::string& version = " Version=\"2.0\"")
{
    std::string root = "<NTRSRoot xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";
    if (!location.empty())
        root += " xsi:noNamespaceSchemaLocation=\"" + location + "\"";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + root + version + ">\n" + records + "</NTRSRoot>\n";
}

std::string record(const std::string& side, const std::string& reference = "12", const std::string& rest = "")
{
    return "  <Record>\n    <Side>" + side + "</Side>\n    <Reference>" + reference + "</Reference>\n" + rest
        + "  </Record>\n";
}

// The validation as it was done before the document streamed through the parser: the whole
// document parsed into a tree, then the schema it names loaded and applied to the tree.
std::optional<ValidationFault> treeValidation(const QString& path, const QString& folder)
{
    struct Collector {
        std::optional<ValidationFault> first;
        QString resource;
        static void handle(void* self, xmlErrorPtr error)
        {
            auto* c = static_cast<Collector*>(self);
            if (c->first || !error || error->level == XML_ERR_WARNING)
                return;
            c->first = ValidationFault{error->file ? QString::fromUtf8(error->file) : c->resource,
                                       QString::fromUtf8(error->message ? error->message : "").trimmed()};
        }
    } collector;
    const xmlStructuredErrorFunc previous = xmlStructuredError;
    void* previousContext = xmlStructuredErrorContext;
    xmlSetStructuredErrorFunc(&collector, &Collector::handle);
    const auto result = [&]() -> std::optional<ValidationFault> {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return ValidationFault{QString(), QStringLiteral("Dokument ni berljiv XML!")};
        const QByteArray bytes = file.readAll();
        xmlDocPtr doc = xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr, XML_PARSE_NONET);
        if (!doc || collector.first) {
            xmlFreeDoc(doc);
            return collector.first ? collector.first : ValidationFault{QString(), QStringLiteral("Dokument ni berljiv XML!")};
        }
        xmlChar* value = xmlGetNsProp(xmlDocGetRootElement(doc), reinterpret_cast<const xmlChar*>("noNamespaceSchemaLocation"),
                                      reinterpret_cast<const xmlChar*>("http://www.w3.org/2001/XMLSchema-instance"));
        const QString location = value ? QString::fromUtf8(reinterpret_cast<const char*>(value)) : QString();
        xmlFree(value);
        if (location.isEmpty()) {
            xmlFreeDoc(doc);
            return ValidationFault{QString(), QStringLiteral("Dokument ne navaja XSD sheme!")};
        }
        collector.resource = QDir(folder).filePath(location);
        xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(QFile::encodeName(collector.resource).constData());
        xmlSchemaSetParserStructuredErrors(parser, &Collector::handle, &collector);
        xmlSchemaPtr schema = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
        std::optional<ValidationFault> fault = collector.first;
        if (!schema && !fault)
            fault = ValidationFault{collector.resource, QStringLiteral("XSD shema ni berljiva!")};
        if (!fault) {
            collector.resource.clear();
            xmlSchemaValidCtxtPtr validation = xmlSchemaNewValidCtxt(schema);
            xmlSchemaSetValidStructuredErrors(validation, &Collector::handle, &collector);
            const int invalid = xmlSchemaValidateDoc(validation, doc);
            xmlSchemaFreeValidCtxt(validation);
            fault = collector.first;
            if (invalid != 0 && !fault)
                fault = ValidationFault{QString(), QStringLiteral("Dokument ne ustreza XSD shemi!")};
        }
        xmlSchemaFree(schema);
        xmlFreeDoc(doc);
        return fault;
    }();
    xmlSetStructuredErrorFunc(previousContext, previous);
    return result;
}

std::string describe(const std::optional<ValidationFault>& fault)
{
    return fault ? fault->line().toStdString() : std::string("valid");
}

class SchemaValidationTest : public testing::Test {
public:
    SchemaValidationTest() { write("Report.xsd", kSchema); }

    QString path(const char* name) const { return QDir(folder.path()).filePath(QLatin1String(name)); }

    void write(const char* name, const std::string& text) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), qint64(text.size()));
    }

    QTemporaryDir folder;
};

struct Case {
    const char* name;
    std::string text;
    const char* expected;  // the fault line, or "valid"
    bool wellFormed = true;
};

// Documents valid and faulty in every way the validation tells apart; Broken.xsd is a schema
// that does not load.
std::vector<Case> documents()
{
    const std::string valid = record("B") + record("S", "4294967298", "    <Client>X</Client>\n");
    return {
        {"valid", document(valid), "valid"},
        {"enumeration", document(record("B") + record("")),
         ",Element 'Side': [facet 'enumeration'] The value '' is not an element of the set {'B', 'S'}."},
        {"missing element", document("  <Record>\n    <Side>B</Side>\n  </Record>\n"),
         ",Element 'Record': Missing child element(s). Expected is ( Reference )."},
        {"order", document("  <Record>\n    <Reference>1</Reference>\n    <Side>B</Side>\n  </Record>\n"),
         ",Element 'Reference': This element is not expected. Expected is ( Side )."},
        {"unknown element with text", document("  <Record>\n    <Side>B</Side>\n    <Bogus>1</Bogus>\n  </Record>\n"),
         ",Element 'Bogus': This element is not expected. Expected is ( Reference )."},
        {"type", document(record("B", "x1")), nullptr},
        {"missing attribute", document(valid, "Report.xsd", ""), nullptr},
        {"empty root", document(""), nullptr},
        {"syntax after a validity fault", document(record("") + "  <Record>\n"), nullptr, false},
        {"syntax at the start", "<NTRSRoot", nullptr, false},
        {"not xml", "", nullptr, false},
        {"undeclared prefix", "<NTRSRoot xsi:noNamespaceSchemaLocation=\"Report.xsd\" Version=\"1\"/>", nullptr},
        {"no schema named", document(valid, ""), ",Dokument ne navaja XSD sheme!"},
        {"no schema named and a syntax fault", document(valid, "") + "<x>", nullptr, false},
        {"schema missing", document(valid, "Missing.xsd"), nullptr},
        {"schema broken", document(valid, "Broken.xsd"), nullptr},
        {"schema broken and a syntax fault", document(valid, "Broken.xsd") + "</NTRSRoot>", nullptr, false},
    };
}

const char* const kBrokenSchema = "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">"
                                  "<xs:element name=\"NTRSRoot\" type=\"Unknown\"/></xs:schema>";

// The document streams through the parser with the schema attached: it accepts what the tree
// validation accepted and rejects what it rejected, with the same first fault, and writes
// nothing of its own on standard error. Only the wording of some syntax faults differs (the
// reader parses in pieces), so for a document that is no well-formed XML only the rejection is
// compared.
TEST_F(SchemaValidationTest, StreamingRejectsExactlyWhatTheTreeRejected)
{
    write("Broken.xsd", kBrokenSchema);
    for (const Case& c : documents()) {
        write("report.xml", c.text);
        testing::internal::CaptureStderr();
        const std::optional<ValidationFault> streamed = validateFileAgainstNamedSchema(path("report.xml"), folder.path());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.name;
        const std::optional<ValidationFault> tree = treeValidation(path("report.xml"), folder.path());
        EXPECT_EQ(streamed.has_value(), tree.has_value()) << c.name;
        if (c.wellFormed) {
            EXPECT_EQ(describe(streamed), describe(tree)) << c.name;
        }
        if (c.expected) {
            EXPECT_EQ(describe(streamed), c.expected) << c.name;
        } else {
            EXPECT_TRUE(streamed.has_value()) << c.name;
        }
    }
}

// The records of a document larger than the bytes that may wait for the validation's thread.
std::string manyRecords(const std::string& last)
{
    std::string records;
    for (int i = 0; i < 100000; ++i)
        records += record("B", std::to_string(i));
    return records + last;
}

// Validated while it is written, in pieces of any size, a document gets the verdict and the
// digest of its file.
TEST_F(SchemaValidationTest, ValidatedWhileWrittenAsItsFile)
{
    write("Broken.xsd", kBrokenSchema);
    std::vector<Case> cases = documents();
    cases.push_back({"large", document(manyRecords(record("S"))), "valid"});
    cases.push_back({"large with a fault at its end", document(manyRecords(record("X"))), nullptr});
    cases.push_back({"large with a syntax fault at its end", document(manyRecords("<Record>")), nullptr, false});
    for (const Case& c : cases) {
        write("report.xml", c.text);
        const std::string ofFile = describe(validateFileAgainstNamedSchema(path("report.xml"), folder.path()));
        for (const size_t piece : {size_t(1), size_t(4000), size_t(1) << 24}) {
            if (piece == 1 && c.text.size() > 100000)
                continue;
            StreamingValidation validation(folder.path(), {});
            for (size_t at = 0; at < c.text.size(); at += piece)
                validation.write(c.text.data() + at, qsizetype(std::min(piece, c.text.size() - at)));
            const StreamingValidation::Result result = validation.finish();
            EXPECT_EQ(describe(result.fault), ofFile) << c.name << ", pieces of " << piece;
            EXPECT_EQ(result.digest, ReportDigest::ofFile(path("report.xml"))) << c.name << ", pieces of " << piece;
        }
    }
}

// The preparation runs on the validation's thread before the schema is read; what it throws
// comes with the verdict, once every byte is written. A validation left unfinished ends with
// its writer.
TEST_F(SchemaValidationTest, PreparationAndAbandonedValidation)
{
    const std::string text = document(manyRecords(""), "Prepared.xsd");
    {
        StreamingValidation validation(folder.path(), [this] { write("Prepared.xsd", kSchema); });
        validation.write(text.data(), qsizetype(text.size()));
        EXPECT_EQ(describe(validation.finish().fault), "valid");
    }
    {
        StreamingValidation validation(folder.path(), [] { throw ZtfiError(QStringLiteral("no schema")); });
        validation.write(text.data(), qsizetype(text.size()));
        try {
            validation.finish();
            ADD_FAILURE() << "finished";
        } catch (const ZtfiError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("no schema"));
        }
    }
    {
        StreamingValidation validation(folder.path(), {});
        validation.write(text.data(), qsizetype(text.size() - 20));
    }
}

TEST_F(SchemaValidationTest, MissingFileIsUnreadable)
{
    EXPECT_EQ(describe(validateFileAgainstNamedSchema(path("none.xml"), folder.path())), ",Dokument ni berljiv XML!");
}

}  // namespace
