#include "ntrs/SchemaValidation.h"

#include "core/Error.h"
#include "ntrs/XmlChars.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>

#include <algorithm>
#include <memory>
#include <utility>

#include <cerrno>

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
    explicit DocumentReader(const QString& path, int options = XML_PARSE_NONET)
        : descriptor_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
        if (descriptor_ >= 0)
            reader_ = xmlReaderForFd(descriptor_, nullptr, nullptr, options);
    }
    // A reader of the bytes from their start, without a name either.
    explicit DocumentReader(DocumentBytes& bytes, int options = XML_PARSE_NONET) : descriptor_(-1)
    {
        bytes.rewind();
        reader_ = xmlReaderForIO(&DocumentReader::readBytes, nullptr, &bytes, nullptr, nullptr, options);
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
    static int readBytes(void* bytes, char* data, int size) { return static_cast<DocumentBytes*>(bytes)->read(data, size); }

    int descriptor_;
    xmlTextReaderPtr reader_ = nullptr;
};

// The document as the input of a parser, without a name either, for a validation plugged into
// the parser. The validation that is given the input frees it; the descriptor stays here.
class DocumentInput {
public:
    explicit DocumentInput(const QString& path)
        : descriptor_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
        if (descriptor_ >= 0)
            input_ = xmlParserInputBufferCreateIO(&DocumentInput::readDescriptor, nullptr, &descriptor_,
                                                  XML_CHAR_ENCODING_NONE);
    }
    explicit DocumentInput(DocumentBytes& bytes) : descriptor_(-1)
    {
        bytes.rewind();
        input_ = xmlParserInputBufferCreateIO(&DocumentInput::readBytes, nullptr, &bytes, XML_CHAR_ENCODING_NONE);
    }
    ~DocumentInput()
    {
        if (input_)
            xmlFreeParserInputBuffer(input_);
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    DocumentInput(const DocumentInput&) = delete;
    DocumentInput& operator=(const DocumentInput&) = delete;

    xmlParserInputBufferPtr release() { return std::exchange(input_, nullptr); }

private:
    static int readDescriptor(void* descriptor, char* data, int size)
    {
        ssize_t n = 0;
        do {
            n = ::read(*static_cast<int*>(descriptor), data, size_t(size));
        } while (n < 0 && errno == EINTR);
        return n < 0 ? -1 : int(n);
    }
    static int readBytes(void* bytes, char* data, int size) { return static_cast<DocumentBytes*>(bytes)->read(data, size); }

    int descriptor_;
    xmlParserInputBufferPtr input_ = nullptr;
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

// The validation of a document that source opens, each time from its start.
template <class Source>
std::optional<ValidationFault> validateNamedSchema(Source& source, const QString& folder)
{
    FaultCollector collector;
    StructuredErrors route(collector);

    // The schema is named by the root: the document is read up to it first.
    QString location;
    {
        DocumentReader head(source);
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

    if (schema) {
        // The whole document through the parser with the validation plugged into it, which
        // builds no nodes.
        std::unique_ptr<xmlSchemaValidCtxt, ValidFree> validation(xmlSchemaNewValidCtxt(schema.get()));
        xmlSchemaSetValidStructuredErrors(validation.get(), &FaultCollector::handle, &collector);
        DocumentInput input(source);
        xmlParserInputBufferPtr buffer = input.release();
        const int result =
            buffer ? xmlSchemaValidateStream(validation.get(), buffer, XML_CHAR_ENCODING_NONE, nullptr, nullptr) : -1;
        if (collector.syntax)
            return collector.syntax;
        if (result < 0)
            return unreadable();
        if (collector.validity)
            return collector.validity;
        if (result != 0)
            return ValidationFault{QString(), QStringLiteral("Dokument ne ustreza XSD shemi!")};
        return std::nullopt;
    }

    // Without a schema to apply, the whole document's syntax is checked still.
    DocumentReader document(source);
    const bool complete = document.readToEnd();
    if (collector.syntax)
        return collector.syntax;
    if (!complete)
        return unreadable();
    return collector.schema;
}

}  // namespace

std::optional<ValidationFault> validateFileAgainstNamedSchema(const QString& path, const QString& folder)
{
    return validateNamedSchema(path, folder);
}

std::optional<ValidationFault> validateAgainstNamedSchema(DocumentBytes& document, const QString& folder)
{
    return validateNamedSchema(document, folder);
}

namespace {

// Collects the faults of a validation with the document's line each was found on. The
// validation runs as the parser reads, ahead of the reader: the line tells the record.
struct RecordFaultCollector {
    std::optional<ValidationFault> fatal;  // of the syntax or of the schema
    QList<std::pair<int, RecordFault>> found;

    static void handle(void* self, xmlErrorPtr error)
    {
        auto* collector = static_cast<RecordFaultCollector*>(self);
        if (!error || error->level == XML_ERR_WARNING)
            return;
        const QString reason = QString::fromUtf8(error->message ? error->message : "").trimmed();
        if (error->domain != XML_FROM_SCHEMASV) {
            if (!collector->fatal)
                collector->fatal = ValidationFault{QString::fromUtf8(error->file ? error->file : ""), reason};
            return;
        }
        static const QRegularExpression element(QStringLiteral("^Element '([^']*)'"));
        static const QRegularExpression value(QStringLiteral("[Tt]he value '([^']*)'"));
        RecordFault fault;
        fault.element = element.match(reason).captured(1);
        fault.value = value.match(reason).captured(1);
        fault.reason = reason;
        collector->found.append({error->line, fault});
    }
};

bool isReferenceElement(xmlTextReaderPtr reader)
{
    const char* name = reinterpret_cast<const char*>(xmlTextReaderConstLocalName(reader));
    return name && (qstrcmp(name, "TransactionReferenceNumber") == 0
                    || qstrcmp(name, "CancelledTransactionReferenceNumber") == 0);
}

// Where records and lists begin (a node knows the line of its start tag only): from its line
// on, a line belongs to the record of the last boundary at or before it (none: outside every
// record). A fault of a list's or the root's end falls to the list's last record.
struct RecordBoundary {
    long line;
    int record;  // index into the references; -1 outside every record
};

}  // namespace

QList<RecordFault> recordFaults(const QString& path, const QString& schemaPath)
{
    RecordFaultCollector collector;
    const QByteArray schemaFile = QFile::encodeName(schemaPath);
    std::unique_ptr<xmlSchemaParserCtxt, ParserFree> parser(xmlSchemaNewParserCtxt(schemaFile.constData()));
    xmlSchemaSetParserStructuredErrors(parser.get(), &RecordFaultCollector::handle, &collector);
    std::unique_ptr<xmlSchema, SchemaFree> schema(xmlSchemaParse(parser.get()));
    if (!schema)
        throw ZtfiError(schemaPath + QLatin1Char(',')
                        + (collector.fatal ? collector.fatal->reason : QStringLiteral("XSD shema ni berljiva!")));

    QList<RecordBoundary> boundaries;
    QStringList references;
    bool inReference = false;
    std::unique_ptr<xmlSchemaValidCtxt, ValidFree> validation(xmlSchemaNewValidCtxt(schema.get()));
    xmlSchemaSetValidStructuredErrors(validation.get(), &RecordFaultCollector::handle, &collector);
    DocumentReader document(path, XML_PARSE_NONET | XML_PARSE_BIG_LINES);
    xmlTextReaderPtr reader = document.get();
    if (!reader || xmlTextReaderSchemaValidateCtxt(reader, validation.get(), 0) != 0)
        throw ZtfiError(unreadable().reason);
    int result = 0;
    while ((result = xmlTextReaderRead(reader)) == 1) {
        const int type = xmlTextReaderNodeType(reader);
        const int depth = xmlTextReaderDepth(reader);
        const long line = xmlGetLineNo(xmlTextReaderCurrentNode(reader));
        if (type == XML_READER_TYPE_ELEMENT && depth == 2) {
            boundaries.append({line, int(references.size())});
            references.append(QString());
        } else if (type == XML_READER_TYPE_ELEMENT && depth < 2) {
            boundaries.append({line, -1});
        } else if (type == XML_READER_TYPE_ELEMENT && depth == 3) {
            inReference = isReferenceElement(reader) && !xmlTextReaderIsEmptyElement(reader);
        } else if (type == XML_READER_TYPE_END_ELEMENT && depth == 3) {
            inReference = false;
        } else if (type == XML_READER_TYPE_TEXT && inReference && !references.isEmpty()) {
            references.last() = QString::fromUtf8(reinterpret_cast<const char*>(xmlTextReaderConstValue(reader)));
        }
    }
    if (result != 0 || collector.fatal)
        throw ZtfiError(collector.fatal ? collector.fatal->reason : unreadable().reason);

    QList<RecordFault> faults;
    for (auto& [line, fault] : collector.found) {
        const auto after = std::upper_bound(boundaries.begin(), boundaries.end(), long(line),
                                            [](long l, const RecordBoundary& b) { return l < b.line; });
        if (after != boundaries.begin() && std::prev(after)->record >= 0)
            fault.reference = references.at(std::prev(after)->record);
        faults.append(fault);
    }
    return faults;
}
