#include "ntrs/SchemaValidation.h"

#include <QDir>
#include <QFile>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

const xmlChar* xml(const char* s)
{
    return reinterpret_cast<const xmlChar*>(s);
}

// Keeps the first fault reported to it. resource names the file a fault without a location
// lies in (the schema while it is loaded; empty for the document).
struct FaultCollector {
    std::optional<ValidationFault> first;
    QString resource;

    static void handle(void* self, xmlErrorPtr error)
    {
        auto* collector = static_cast<FaultCollector*>(self);
        if (collector->first || !error || error->level == XML_ERR_WARNING)
            return;
        ValidationFault fault;
        fault.location = error->file ? QString::fromUtf8(error->file) : collector->resource;
        fault.reason = QString::fromUtf8(error->message ? error->message : "").trimmed();
        collector->first = fault;
    }
};

// Routes the parser's own errors to a collector while it lives.
class StructuredErrors {
public:
    explicit StructuredErrors(FaultCollector& collector)
        : previous_(xmlStructuredError), previousContext_(xmlStructuredErrorContext)
    {
        xmlSetStructuredErrorFunc(&collector, &FaultCollector::handle);
    }
    ~StructuredErrors() { xmlSetStructuredErrorFunc(previousContext_, previous_); }
    StructuredErrors(const StructuredErrors&) = delete;
    StructuredErrors& operator=(const StructuredErrors&) = delete;

private:
    xmlStructuredErrorFunc previous_;
    void* previousContext_;
};

struct DocFree { void operator()(xmlDocPtr d) const { xmlFreeDoc(d); } };
struct ParserFree { void operator()(xmlSchemaParserCtxtPtr c) const { xmlSchemaFreeParserCtxt(c); } };
struct SchemaFree { void operator()(xmlSchemaPtr s) const { xmlSchemaFree(s); } };
struct ValidFree { void operator()(xmlSchemaValidCtxtPtr c) const { xmlSchemaFreeValidCtxt(c); } };

QString schemaLocation(xmlDocPtr doc)
{
    xmlNodePtr root = xmlDocGetRootElement(doc);
    if (!root)
        return QString();
    xmlChar* value = xmlGetNsProp(root, xml("noNamespaceSchemaLocation"),
                                  xml("http://www.w3.org/2001/XMLSchema-instance"));
    if (!value)
        return QString();
    const QString location = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return location;
}

// Parses a document with parse while the parser's faults go to the collector, and validates it.
template <typename Parse>
std::optional<ValidationFault> validate(const Parse& parse, const QString& folder)
{
    FaultCollector collector;
    StructuredErrors route(collector);

    std::unique_ptr<xmlDoc, DocFree> doc(parse());
    if (!doc || collector.first) {
        if (!collector.first)
            collector.first = ValidationFault{QString(), QStringLiteral("Dokument ni berljiv XML!")};
        return collector.first;
    }

    const QString location = schemaLocation(doc.get());
    if (location.isEmpty())
        return ValidationFault{QString(), QStringLiteral("Dokument ne navaja XSD sheme!")};
    const QString schemaPath = QDir::isRelativePath(location) ? QDir(folder).filePath(location) : location;

    collector.resource = schemaPath;
    const QByteArray schemaFile = QFile::encodeName(schemaPath);
    std::unique_ptr<xmlSchemaParserCtxt, ParserFree> parser(xmlSchemaNewParserCtxt(schemaFile.constData()));
    xmlSchemaSetParserStructuredErrors(parser.get(), &FaultCollector::handle, &collector);
    std::unique_ptr<xmlSchema, SchemaFree> schema(xmlSchemaParse(parser.get()));
    if (!schema || collector.first) {
        if (!collector.first)
            collector.first = ValidationFault{schemaPath, QStringLiteral("XSD shema ni berljiva!")};
        return collector.first;
    }

    collector.resource.clear();
    std::unique_ptr<xmlSchemaValidCtxt, ValidFree> validation(xmlSchemaNewValidCtxt(schema.get()));
    xmlSchemaSetValidStructuredErrors(validation.get(), &FaultCollector::handle, &collector);
    const int result = xmlSchemaValidateDoc(validation.get(), doc.get());
    if (result != 0 && !collector.first)
        collector.first = ValidationFault{QString(), QStringLiteral("Dokument ne ustreza XSD shemi!")};
    return collector.first;
}

}  // namespace

std::optional<ValidationFault> validateAgainstNamedSchema(const QByteArray& document, const QString& folder)
{
    return validate([&] { return xmlReadMemory(document.constData(), int(document.size()), nullptr, nullptr,
                                               XML_PARSE_NONET); },
                    folder);
}

std::optional<ValidationFault> validateFileAgainstNamedSchema(const QString& path, const QString& folder)
{
    return validate(
        [&]() -> xmlDocPtr {
            // Read through a descriptor, without a name: a fault of the document carries no
            // location, as for a document in memory.
            const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
            if (descriptor < 0)
                return nullptr;
            xmlDocPtr doc = xmlReadFd(descriptor, nullptr, nullptr, XML_PARSE_NONET);
            ::close(descriptor);
            return doc;
        },
        folder);
}
