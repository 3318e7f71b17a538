#include "ntrs/SchemaValidation.h"

#include "ntrs/XmlChars.h"

#include <QDir>
#include <QFile>

#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>

#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Keeps the first fault of each kind reported to it: of the document's syntax (the parser's
// own faults), of loading the schema, and of the validation. resource names the file a fault
// without a location lies in (the schema while it is loaded; empty for the document).
struct FaultCollector {
    std::optional<ValidationFault> syntax;
    std::optional<ValidationFault> schema;
    std::optional<ValidationFault> validity;
    QString resource;
    bool loadingSchema = false;

    static void handle(void* self, xmlErrorPtr error)
    {
        auto* collector = static_cast<FaultCollector*>(self);
        if (!error || error->level == XML_ERR_WARNING)
            return;
        std::optional<ValidationFault>& first = collector->loadingSchema    ? collector->schema
                                              : error->domain == XML_FROM_SCHEMASV ? collector->validity
                                                                                 : collector->syntax;
        if (first)
            return;
        ValidationFault fault;
        fault.location = error->file ? QString::fromUtf8(error->file) : collector->resource;
        fault.reason = QString::fromUtf8(error->message ? error->message : "").trimmed();
        first = fault;
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

struct ParserFree { void operator()(xmlSchemaParserCtxtPtr c) const { xmlSchemaFreeParserCtxt(c); } };
struct SchemaFree { void operator()(xmlSchemaPtr s) const { xmlSchemaFree(s); } };
struct ValidFree { void operator()(xmlSchemaValidCtxtPtr c) const { xmlSchemaFreeValidCtxt(c); } };

// A text reader over the file, read through a descriptor without a name: a fault of the
// document carries no location. The descriptor is closed with the reader.
class DocumentReader {
public:
    explicit DocumentReader(const QString& path)
        : descriptor_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
        if (descriptor_ >= 0)
            reader_ = xmlReaderForFd(descriptor_, nullptr, nullptr, XML_PARSE_NONET);
    }
    ~DocumentReader()
    {
        if (reader_)
            xmlFreeTextReader(reader_);
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    DocumentReader(const DocumentReader&) = delete;
    DocumentReader& operator=(const DocumentReader&) = delete;

    xmlTextReaderPtr get() const { return reader_; }

    // Reads up to the root element; false when the document ends or breaks before it.
    bool readToRoot()
    {
        if (!reader_)
            return false;
        int result = 0;
        while ((result = xmlTextReaderRead(reader_)) == 1) {
            if (xmlTextReaderNodeType(reader_) == XML_READER_TYPE_ELEMENT)
                return true;
        }
        return false;
    }
    // Reads to the end; false when the document breaks on the way.
    bool readToEnd()
    {
        if (!reader_)
            return false;
        int result = 0;
        while ((result = xmlTextReaderRead(reader_)) == 1) {
        }
        return result == 0;
    }

private:
    int descriptor_;
    xmlTextReaderPtr reader_ = nullptr;
};

// xsi:noNamespaceSchemaLocation of the root element the reader stands on.
QString schemaLocation(xmlTextReaderPtr reader)
{
    xmlChar* value = xmlTextReaderGetAttributeNs(reader, xml("noNamespaceSchemaLocation"),
                                                 xml("http://www.w3.org/2001/XMLSchema-instance"));
    if (!value)
        return QString();
    const QString location = QString::fromUtf8(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return location;
}

ValidationFault unreadable()
{
    return ValidationFault{QString(), QStringLiteral("Dokument ni berljiv XML!")};
}

}  // namespace

std::optional<ValidationFault> validateFileAgainstNamedSchema(const QString& path, const QString& folder)
{
    FaultCollector collector;
    StructuredErrors route(collector);

    // The schema is named by the root: the document is read up to it first.
    QString location;
    {
        DocumentReader head(path);
        if (!head.readToRoot())
            return collector.syntax ? *collector.syntax : unreadable();
        location = schemaLocation(head.get());
    }

    std::unique_ptr<xmlSchema, SchemaFree> schema;
    if (location.isEmpty()) {
        collector.schema = ValidationFault{QString(), QStringLiteral("Dokument ne navaja XSD sheme!")};
    } else {
        const QString schemaPath = QDir::isRelativePath(location) ? QDir(folder).filePath(location) : location;
        collector.resource = schemaPath;
        collector.loadingSchema = true;
        const QByteArray schemaFile = QFile::encodeName(schemaPath);
        std::unique_ptr<xmlSchemaParserCtxt, ParserFree> parser(xmlSchemaNewParserCtxt(schemaFile.constData()));
        xmlSchemaSetParserStructuredErrors(parser.get(), &FaultCollector::handle, &collector);
        schema.reset(xmlSchemaParse(parser.get()));
        collector.loadingSchema = false;
        collector.resource.clear();
        if (!schema && !collector.schema)
            collector.schema = ValidationFault{schemaPath, QStringLiteral("XSD shema ni berljiva!")};
        if (collector.schema)
            schema.reset();
    }

    // The whole document: its syntax is checked also when there is no schema to apply. The
    // reader is freed before the validation it was given.
    std::unique_ptr<xmlSchemaValidCtxt, ValidFree> validation;
    DocumentReader document(path);
    if (schema) {
        validation.reset(xmlSchemaNewValidCtxt(schema.get()));
        xmlSchemaSetValidStructuredErrors(validation.get(), &FaultCollector::handle, &collector);
        if (!document.get() || xmlTextReaderSchemaValidateCtxt(document.get(), validation.get(), 0) != 0)
            return collector.syntax ? *collector.syntax : unreadable();
    }
    const bool complete = document.readToEnd();
    if (collector.syntax)
        return collector.syntax;
    if (!complete)
        return unreadable();
    if (collector.schema)
        return collector.schema;
    if (collector.validity)
        return collector.validity;
    if (xmlTextReaderIsValid(document.get()) != 1)
        return ValidationFault{QString(), QStringLiteral("Dokument ne ustreza XSD shemi!")};
    return std::nullopt;
}
