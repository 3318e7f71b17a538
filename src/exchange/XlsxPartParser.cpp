#include "exchange/XlsxPartParser.h"

#include "exchange/WorkbookReadError.h"

#include <libxml/parser.h>

#include <exception>
#include <memory>
#include <vector>

namespace {

// The part goes to the parser in pieces of this size, as libzip inflates it.
constexpr qint64 kChunk = 256 * 1024;

std::string_view parserBytes(const xmlChar* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

struct ParseState {
    XlsxPartParser::Handler& handler;
    xmlParserCtxtPtr context = nullptr;
    QString error;  // libxml2's first error
    bool documentType = false;
    std::exception_ptr failure;  // the handler's, carried past libxml2
};

ParseState& stateOf(void* user)
{
    return *static_cast<ParseState*>(user);
}

// An exception must not unwind through libxml2: the first one stops the parser and is thrown
// again once xmlParseChunk has returned.
template <typename Call>
void deliver(void* user, Call call)
{
    ParseState& state = stateOf(user);
    if (state.failure)
        return;
    try {
        call(state.handler);
    } catch (...) {
        state.failure = std::current_exception();
        xmlStopParser(state.context);
    }
}

void onStartElement(void* user, const xmlChar* localName, const xmlChar*, const xmlChar*, int namespaces,
                  const xmlChar** namespacePairs, int attributes, int, const xmlChar** attributeFives)
{
    // The parser calls this with its input at the end of the start tag: at "/>" for an empty element.
    const bool isEmpty = stateOf(user).context->input->cur[0] == '/';
    deliver(user, [&](XlsxPartParser::Handler& handler) {
        handler.startElement(parserBytes(localName),
                             XlsxPartParser::Attributes(namespaces, namespacePairs, attributes, attributeFives), isEmpty);
    });
}

void onEndElement(void* user, const xmlChar* localName, const xmlChar*, const xmlChar*)
{
    deliver(user, [&](XlsxPartParser::Handler& handler) { handler.endElement(parserBytes(localName)); });
}

void onCharacters(void* user, const xmlChar* text, int length)
{
    deliver(user, [&](XlsxPartParser::Handler& handler) {
        handler.characters(std::string_view(reinterpret_cast<const char*>(text), size_t(length)));
    });
}

// Refused before anything it declares is read.
void onDocumentType(void* user, const xmlChar*, const xmlChar*, const xmlChar*)
{
    ParseState& state = stateOf(user);
    state.documentType = true;
    xmlStopParser(state.context);
}

void onError(void* user, xmlErrorPtr error)
{
    ParseState& state = stateOf(user);
    if (error->level < XML_ERR_ERROR || !state.error.isEmpty())
        return;
    state.error = QString::fromUtf8(error->message).trimmed();
    xmlStopParser(state.context);
}

struct FreeContext {
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

}  // namespace

std::string_view XlsxPartParser::Attributes::value(std::string_view localName) const
{
    for (int i = 0; i < namespaces_; ++i) {
        const xmlChar* prefix = namespacePairs_[2 * i];
        if ((prefix ? parserBytes(prefix) : std::string_view("xmlns")) == localName)
            return parserBytes(namespacePairs_[2 * i + 1]);
    }
    for (int i = 0; i < attributes_; ++i) {
        const xmlChar* const* attribute = attributeFives_ + 5 * i;
        if (parserBytes(attribute[0]) == localName)
            return std::string_view(reinterpret_cast<const char*>(attribute[3]), size_t(attribute[4] - attribute[3]));
    }
    return {};
}

void XlsxPartParser::parse(const XlsxPackage& package, const QString& name, Handler& handler)
{
    XlsxPackage::PartFile file(package, name);
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = onStartElement;
    sax.endElementNs = onEndElement;
    sax.characters = onCharacters;
    sax.ignorableWhitespace = onCharacters;
    sax.cdataBlock = onCharacters;
    sax.internalSubset = onDocumentType;
    sax.serror = onError;
    ParseState state{handler, nullptr, QString(), false, nullptr};
    const std::unique_ptr<xmlParserCtxt, FreeContext> context(xmlCreatePushParserCtxt(&sax, &state, nullptr, 0, nullptr));
    if (!context)
        package.failUnreadable(name, QString());
    state.context = context.get();
    // Without a document type (refused above) the only entities are the predefined ones; replacing
    // them gives an attribute's "&amp;" as "&", as a tree would hold it.
    xmlCtxtUseOptions(context.get(), XML_PARSE_NONET | XML_PARSE_NOENT);
    std::vector<char> buffer(static_cast<size_t>(kChunk));
    for (;;) {
        const qint64 length = file.read(buffer.data(), kChunk);
        if (length < 0)
            package.failUnreadable(name, QString());
        xmlParseChunk(context.get(), buffer.data(), int(length), length == 0);
        if (state.failure)
            std::rethrow_exception(state.failure);
        if (!state.error.isEmpty())
            package.failUnreadable(name, state.error);
        if (state.documentType)
            package.failDocumentType(name);
        if (length == 0)
            return;
    }
}
