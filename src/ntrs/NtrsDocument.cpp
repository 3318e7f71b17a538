#include "ntrs/NtrsDocument.h"

#include "core/AtomicFile.h"
#include "ntrs/XmlChars.h"

#include <QFileInfo>
#include <QTemporaryFile>

#include <sys/file.h>

#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <stdexcept>

namespace {

// The declaration as libxml2 writes it for a document of version 1.0 saved in UTF-8.
const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
// Indentation of the root's children and of their items.
const char* const kListIndent = "  ";
const char* const kItemIndent = "    ";
// What the output gathers before it writes it into the file: a few writes of the disk's size
// instead of one for every few thousand bytes.
constexpr qsizetype kPendingBytes = 1 << 18;

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

int writeToSpill(void* file, const char* data, int size)
{
    return static_cast<QTemporaryFile*>(file)->write(data, size) == size ? size : -1;
}

xmlOutputBufferPtr outputTo(xmlOutputWriteCallback write, void* target)
{
    return xmlOutputBufferCreateIO(write, nullptr, target, nullptr);
}

// The start tag of an element, with its namespace declarations and attributes as the
// serialiser writes them: the element copied without its children and written as an empty
// element, "/>" replaced by ">".
QByteArray startTag(xmlDocPtr doc, xmlNodePtr element)
{
    xmlNodePtr bare = xmlDocCopyNode(element, doc, 2);
    xmlOutputBufferPtr text = xmlAllocOutputBuffer(nullptr);
    xmlNodeDumpOutput(text, doc, bare, 0, 1, "utf-8");
    xmlOutputBufferFlush(text);
    QByteArray tag(reinterpret_cast<const char*>(xmlOutputBufferGetContent(text)), int(xmlOutputBufferGetSize(text)));
    xmlOutputBufferClose(text);
    xmlFreeNode(bare);
    if (tag.endsWith("/>"))
        tag.chop(2);
    return tag + '>';
}

QByteArray endTag(xmlNodePtr element)
{
    return QByteArray("</") + reinterpret_cast<const char*>(element->name) + '>';
}

}  // namespace

// The items of a list that comes after the one being written, until that list's turn. When the
// file cannot be made, out stays null and the report fails. It is named and locked as a
// temporary file of the report, so that what a killed generation left is removed by the next.
struct NtrsDocument::Spill {
    explicit Spill(const QString& reportPath) : file(reportPath + QStringLiteral(".XXXXXX.part"))
    {
        if (file.open()) {
            ::flock(file.handle(), LOCK_EX | LOCK_NB);
            out = outputTo(&writeToSpill, &file);
        }
    }
    ~Spill()
    {
        if (out)
            xmlOutputBufferClose(out);
    }

    QTemporaryFile file;
    xmlOutputBufferPtr out = nullptr;
};

int NtrsDocument::writeToFile(void* document, const char* data, int size)
{
    auto* self = static_cast<NtrsDocument*>(document);
    if (self->file_.failed())
        return -1;
    self->pending_.append(data, size);
    if (self->pending_.size() >= kPendingBytes)
        self->writePending();
    return size;
}

void NtrsDocument::writePending()
{
    if (pending_.isEmpty())
        return;
    if (file_.write(pending_.constData(), pending_.size()) && copy_)
        copy_(pending_.constData(), pending_.size());
    pending_.resize(0);
}

NtrsDocument::NtrsDocument(AtomicFile& file, Copy copy)
    : doc_(xmlNewDoc(xml("1.0"))), file_(file), copy_(std::move(copy)), out_(outputTo(&NtrsDocument::writeToFile, this))
{
    // As while the whole document is saved in UTF-8: text outside ASCII in attributes is
    // written as it is, not as character references.
    doc_->encoding = xmlStrdup(xml("utf-8"));
    pending_.reserve(kPendingBytes * 2);
}

NtrsDocument::~NtrsDocument()
{
    SaveErrors quiet;
    spills_.clear();
    if (out_)
        xmlOutputBufferClose(out_);
    xmlFreeDoc(doc_);
}

TXMLNTRSRoot NtrsDocument::root()
{
    xmlNodePtr r = xmlDocGetRootElement(doc_);
    if (!r) {
        r = xmlNewDocNode(doc_, nullptr, xml("NTRSRoot"), nullptr);
        xmlDocSetRootElement(doc_, r);
    }
    return TXMLNTRSRoot(r);
}

void NtrsDocument::write(const char* text)
{
    xmlOutputBufferWriteString(out_, text);
}

void NtrsDocument::write(const QByteArray& text)
{
    xmlOutputBufferWrite(out_, int(text.size()), text.constData());
}

void NtrsDocument::start()
{
    if (started_)
        return;
    started_ = true;
    write(kDeclaration);
    write(startTag(doc_, root().node()));
    write("\n");
}

bool NtrsDocument::isWrittenOut(xmlNodePtr list) const
{
    if (!lastWritten_)
        return false;
    for (xmlNodePtr n = lastWritten_->parent->children; n; n = n->next) {
        if (n == list)
            return true;
        if (n == lastWritten_)
            break;
    }
    return false;
}

void NtrsDocument::writeItem(xmlOutputBufferPtr out, xmlNodePtr item)
{
    xmlOutputBufferWriteString(out, kItemIndent);
    xmlNodeDumpOutput(out, doc_, item, 2, 1, "utf-8");
    xmlOutputBufferWriteString(out, "\n");
}

void NtrsDocument::openList(xmlNodePtr list)
{
    write(kListIndent);
    write(startTag(doc_, list));
    write("\n");
    copySpill(list);
}

// The items that waited in the list's spill file, copied into the file; the spill is gone.
void NtrsDocument::copySpill(xmlNodePtr list)
{
    const auto found = spills_.find(list);
    if (found == spills_.end())
        return;
    Spill& spill = *found->second;
    const bool flushed = spill.out && xmlOutputBufferClose(spill.out) >= 0;
    spill.out = nullptr;
    if (!flushed || !spill.file.flush() || !spill.file.seek(0)) {
        file_.fail(spill.file.errorString());
    } else {
        QByteArray chunk(1 << 16, Qt::Uninitialized);
        qint64 n = 0;
        while ((n = spill.file.read(chunk.data(), chunk.size())) > 0)
            xmlOutputBufferWrite(out_, int(n), chunk.constData());
        if (n < 0)
            file_.fail(spill.file.errorString());
    }
    spills_.erase(found);
}

// The items still in the tree and the end of the list.
void NtrsDocument::closeList(xmlNodePtr list)
{
    for (xmlNodePtr item = list->children; item; item = item->next)
        writeItem(out_, item);
    write(kListIndent);
    write(endTag(list));
    write("\n");
    lastWritten_ = list;
}

// A list the file has not taken yet, written whole: as the serialiser writes it, or with the
// items it spilled first.
void NtrsDocument::writeWhole(xmlNodePtr list)
{
    if (spills_.count(list)) {
        openList(list);
        closeList(list);
        return;
    }
    write(kListIndent);
    xmlNodeDumpOutput(out_, doc_, list, 1, 1, "utf-8");
    write("\n");
    lastWritten_ = list;
}

void NtrsDocument::settle(const XmlElementWrapper& item)
{
    SaveErrors errors;
    xmlNodePtr node = item.node();
    xmlNodePtr list = node->parent;
    if (!list || list->parent != root().node())
        throw std::logic_error("NtrsDocument::settle: not an item of a list of the root");
    if (isWrittenOut(list))
        throw std::logic_error("NtrsDocument::settle: its list is written out already");

    if (!current_) {
        start();
        for (xmlNodePtr n = lastWritten_ ? lastWritten_->next : list->parent->children; n != list; n = n->next)
            writeWhole(n);
        openList(list);
        current_ = list;
    }

    if (list == current_) {
        writeItem(out_, node);
    } else {
        std::unique_ptr<Spill>& spill = spills_[list];
        if (!spill)
            spill = std::make_unique<Spill>(file_.path());
        if (spill->out)
            writeItem(spill->out, node);
        else
            file_.fail(spill->file.errorString());
    }
    xmlUnlinkNode(node);
    xmlFreeNode(node);
}

void NtrsDocument::complete(const XmlListWrapper& list)
{
    SaveErrors errors;
    if (current_ && list.node() == current_) {
        closeList(current_);
        current_ = nullptr;
    }
}

void NtrsDocument::finish()
{
    if (finished_)
        return;
    finished_ = true;
    SaveErrors errors;
    xmlNodePtr rootNode = root().node();
    if (!started_ && !rootNode->children) {
        write(kDeclaration);
        xmlNodeDumpOutput(out_, doc_, rootNode, 0, 1, "utf-8");
        write("\n");
    } else {
        start();
        if (current_) {
            closeList(current_);
            current_ = nullptr;
        }
        for (xmlNodePtr n = lastWritten_ ? lastWritten_->next : rootNode->children; n; n = n->next)
            writeWhole(n);
        write(endTag(rootNode));
        write("\n");
    }
    const bool closed = xmlOutputBufferClose(out_) >= 0;
    out_ = nullptr;
    writePending();
    if (!closed)
        file_.fail(errors.first().isEmpty() ? QStringLiteral("XML ni zapisan") : errors.first());
}
