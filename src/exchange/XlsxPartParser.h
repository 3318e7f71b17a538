#pragma once

#include "exchange/XlsxPackage.h"

#include <QString>

#include <string_view>

// One XML part of an .xlsx read in a single pass with libxml2's SAX2 push parser, for the large
// parts (worksheets): no node is built, names and values reach the handler as the parser's own
// UTF-8 bytes. A part that is not well-formed or declares a document type is refused as
// XlsxPackage::Part refuses it.
class XlsxPartParser {
public:
    // The attributes of an element: namespace declarations first ("xmlns:r" by "r"), then the
    // attributes, each by its local name whatever its prefix.
    class Attributes {
    public:
        Attributes(int namespaces, const unsigned char** namespacePairs, int attributes,
                   const unsigned char** attributeFives)
            : namespaces_(namespaces), namespacePairs_(namespacePairs), attributes_(attributes),
              attributeFives_(attributeFives)
        {
        }
        // The value of the first one by that local name; empty when there is none.
        std::string_view value(std::string_view localName) const;

    private:
        int namespaces_;
        const unsigned char** namespacePairs_;
        int attributes_;
        const unsigned char** attributeFives_;
    };

    // What the part holds, in document order. A handler may throw: the parsing stops and the
    // exception reaches the caller of parse().
    class Handler {
    public:
        virtual ~Handler() = default;
        // isEmpty: the element is written as <name .../>.
        virtual void startElement(std::string_view localName, const Attributes& attributes, bool isEmpty) = 0;
        virtual void endElement(std::string_view localName) = 0;
        // Character data (text, CDATA, references resolved), possibly in several pieces.
        virtual void characters(std::string_view text) = 0;
    };

    // Parses the part of the package to its end; throws WorkbookError.
    static void parse(const XlsxPackage& package, const QString& name, Handler& handler);
};
