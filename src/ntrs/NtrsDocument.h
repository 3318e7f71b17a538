#pragma once

#include "ntrs/NtrsBinding.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>

class AtomicFile;
class QTemporaryFile;

// An NTRS report document: version "1.0", encoding "utf-8", serialised with two-space
// indentation, written into its file while it is built. The libxml2 tree holds the root with
// its attributes, its lists and the items not settled yet; a settled item is written out and
// leaves the tree, so a report of many transactions never stands in memory as a whole. The
// text is the one the whole tree would give.
//
// A settled item goes straight into the file when its list is the one being written there, or
// when none is (the lists before it are then written out whole and take no more items); an item
// of a list that comes later waits in a spill file of its list beside the report, which is
// copied in when that list's turn comes. The root's attributes are written with the first
// settled item: they are set before it.
class NtrsDocument {
public:
    // Every byte written into the file is also given to copy, when there is one, in the order of
    // the file.
    using Copy = std::function<void(const char* data, qsizetype size)>;

    explicit NtrsDocument(AtomicFile& file, Copy copy = {});
    ~NtrsDocument();
    NtrsDocument(const NtrsDocument&) = delete;
    NtrsDocument& operator=(const NtrsDocument&) = delete;

    // The root binding; creates the root element NTRSRoot when the document has none.
    TXMLNTRSRoot root();

    // The item, a complete record of one of the root's lists, is written out and leaves the
    // tree (the list's operations see the items not settled). Throws std::logic_error for an
    // item of a list that was written out already.
    void settle(const XmlElementWrapper& item);
    // The list takes no more items: when it is the one being written, it ends in the file, so
    // that the next list can follow it there.
    void complete(const XmlListWrapper& list);
    // Writes the rest: the end of the list being written, the later lists with their spilled
    // and their unsettled items, the end of the root. A failure is left in the file (its
    // close() reports it).
    void finish();

private:
    struct Spill;

    void start();
    bool isWrittenOut(xmlNodePtr list) const;
    void openList(xmlNodePtr list);
    void copySpill(xmlNodePtr list);
    void closeList(xmlNodePtr list);
    void writeWhole(xmlNodePtr list);
    void writeItem(xmlOutputBufferPtr out, xmlNodePtr item);
    void write(const char* text);
    void write(const QByteArray& text);

    // The output of out_: gathered in pending_, written into the file (and given to copy_) in
    // larger pieces.
    static int writeToFile(void* document, const char* data, int size);
    void writePending();

    xmlDocPtr doc_;
    AtomicFile& file_;
    Copy copy_;
    QByteArray pending_;
    xmlOutputBufferPtr out_;
    bool started_ = false;
    bool finished_ = false;
    // The list being written into the file, and the last list written out there (whole or
    // ended): no item can join it or any list before it.
    xmlNodePtr current_ = nullptr;
    xmlNodePtr lastWritten_ = nullptr;
    std::map<xmlNodePtr, std::unique_ptr<Spill>> spills_;
};
