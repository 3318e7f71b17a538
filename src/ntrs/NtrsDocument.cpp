#include "ntrs/NtrsDocument.h"

#include "ntrs/AtomicFile.h"

#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

namespace {

// Keeps the first message libxml2 reports while it lives, instead of printing it.
class SaveErrors {
public:
    SaveErrors() : previous_(xmlStructuredError), previousContext_(xmlStructuredErrorContext)
    {
        xmlSetStructuredErrorFunc(this, &SaveErrors::handle);
    }
    ~SaveErrors() { xmlSetStructuredErrorFunc(previousContext_, previous_); }
    SaveErrors(const SaveErrors&) = delete;
    SaveErrors& operator=(const SaveErrors&) = delete;

    const QString& first() const { return first_; }

private:
    static void handle(void* self, xmlErrorPtr error)
    {
        auto* errors = static_cast<SaveErrors*>(self);
        if (errors->first_.isEmpty() && error && error->message)
            errors->first_ = QString::fromUtf8(error->message).trimmed();
    }

    xmlStructuredErrorFunc previous_;
    void* previousContext_;
    QString first_;
};

int writePiece(void* file, const char* data, int size)
{
    return static_cast<AtomicFile*>(file)->write(data, size) ? size : -1;
}

}  // namespace

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

void NtrsDocument::writeTo(AtomicFile& file) const
{
    SaveErrors errors;
    xmlSaveCtxtPtr context = xmlSaveToIO(&writePiece, nullptr, &file, "utf-8", XML_SAVE_FORMAT);
    const bool saved = context && xmlSaveDoc(context, doc_) >= 0;
    const bool closed = context && xmlSaveClose(context) >= 0;
    if (!saved || !closed)
        file.fail(errors.first().isEmpty() ? QStringLiteral("XML ni zapisan") : errors.first());
}
