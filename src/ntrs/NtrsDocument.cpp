#include "ntrs/NtrsDocument.h"

#include <libxml/xmlsave.h>

NtrsDocument::NtrsDocument()
    : doc_(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")))
{
}

NtrsDocument::~NtrsDocument()
{
    xmlFreeDoc(doc_);
}

TXMLNTRSRoot NtrsDocument::root()
{
    xmlNodePtr r = xmlDocGetRootElement(doc_);
    if (!r) {
        r = xmlNewDocNode(doc_, nullptr, reinterpret_cast<const xmlChar*>("NTRSRoot"), nullptr);
        xmlDocSetRootElement(doc_, r);
    }
    return TXMLNTRSRoot(r);
}

QByteArray NtrsDocument::xml() const
{
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc_, &buffer, &size, "utf-8", 1);
    QByteArray text(reinterpret_cast<const char*>(buffer), size);
    xmlFree(buffer);
    return text;
}
